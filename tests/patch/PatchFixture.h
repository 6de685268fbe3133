#pragma once
// Images for the patch tests: byte vectors built from the demo cartridge or
// from a recognisable pattern, and a plain reading of IPS records that does
// not share code with the reader under test.
#include "patch/Patch.h"
#include "demo/DemoCartridge.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

inline ByteVector DemoBytes()
{
    return MakeDemoCartridge().bytes();
}

// Bytes that repeat rarely, so that a writer cannot find false copies.
inline ByteVector Noise(std::size_t size, std::uint32_t seed)
{
    ByteVector out(size);
    std::uint32_t x = seed * 2654435761u + 12345u;
    for (std::uint8_t& b : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = std::uint8_t(x >> 24);
    }
    return out;
}

inline QByteArray ToQByteArray(const ByteVector& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

inline ByteVector ToBytes(const QByteArray& a)
{
    return ByteVector(a.begin(), a.end());
}

// The offsets at which the records of a well-formed IPS patch start.
inline QList<std::int64_t> IpsRecordOffsets(const ByteVector& patch)
{
    QList<std::int64_t> offsets;
    std::size_t pos = 5;
    while (pos + 3 <= patch.size() && !(patch[pos] == 'E' && patch[pos + 1] == 'O' && patch[pos + 2] == 'F')) {
        const std::int64_t offset = std::int64_t(patch[pos]) << 16 | std::int64_t(patch[pos + 1]) << 8 | patch[pos + 2];
        const std::size_t size = std::size_t(patch[pos + 3]) << 8 | patch[pos + 4];
        offsets << offset;
        pos += 5 + (size == 0 ? 3 : size);
    }
    return offsets;
}
