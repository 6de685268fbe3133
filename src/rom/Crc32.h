#pragma once
// CRC-32 as zip, PNG and patch formats use it (reflected polynomial
// 0xEDB88320, initial value and final xor 0xFFFFFFFF). Crc32Update lets a
// caller checksum data that arrives in pieces.
#include <cstddef>
#include <cstdint>

std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* data, std::size_t length);

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t length)
{
    return Crc32Update(0, data, length);
}
