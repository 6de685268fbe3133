#include "rom/Crc32.h"

#include <array>

namespace {
// Slice-by-4 tables: table[0] is the classic byte table, table[k] advances
// a byte k more places, so four bytes are folded in one step.
using Tables = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr Tables MakeTables()
{
    Tables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n)
        for (std::size_t k = 1; k < 4; ++k)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

constexpr Tables CrcTables = MakeTables();
}

std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* data, std::size_t length)
{
    std::uint32_t c = ~crc;
    std::size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        c ^= std::uint32_t(data[i]) | std::uint32_t(data[i + 1]) << 8 | std::uint32_t(data[i + 2]) << 16 |
             std::uint32_t(data[i + 3]) << 24;
        c = CrcTables[3][c & 0xFF] ^ CrcTables[2][(c >> 8) & 0xFF] ^ CrcTables[1][(c >> 16) & 0xFF] ^
            CrcTables[0][c >> 24];
    }
    for (; i < length; ++i)
        c = CrcTables[0][(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}
