#pragma once
// The cartridge image held in memory: the whole file as bytes, index = file
// offset. Every access is bounds-checked so that a damaged or foreign image
// can never make the editor read or write outside it.
#include <cstdint>
#include <vector>

// One byte to be written into the image, and a stretch of it.
struct ByteWrite {
    std::int64_t Offset;
    std::uint8_t Value;
    friend bool operator==(const ByteWrite&, const ByteWrite&) = default;
};

struct ByteRange {
    std::int64_t Offset;
    std::int64_t Length;
};

class RomBytes {
public:
    RomBytes() = default;
    explicit RomBytes(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::int64_t size() const { return static_cast<std::int64_t>(m_bytes.size()); }
    bool empty() const { return m_bytes.empty(); }

    // True when every byte of [offset, offset + length) lies inside the image.
    bool contains(std::int64_t offset, std::int64_t length = 1) const
    {
        return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
    }

    // The byte at offset, or -1 when the offset lies outside the image.
    int read(std::int64_t offset) const
    {
        return contains(offset) ? m_bytes[static_cast<std::size_t>(offset)] : -1;
    }

    // Writes one byte; returns false (and writes nothing) outside the image.
    bool write(std::int64_t offset, std::uint8_t value)
    {
        if (!contains(offset))
            return false;
        m_bytes[static_cast<std::size_t>(offset)] = value;
        return true;
    }

    // Bulk access for the edit history, which checks every range itself:
    // the image may grow (new bytes are 0) or shrink.
    void resize(std::int64_t size) { m_bytes.resize(static_cast<std::size_t>(size)); }
    std::uint8_t* writableData() { return m_bytes.data(); }

    const std::uint8_t* data() const { return m_bytes.data(); }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

    friend bool operator==(const RomBytes&, const RomBytes&) = default;

private:
    std::vector<std::uint8_t> m_bytes;
};
