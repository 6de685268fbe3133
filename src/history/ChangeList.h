#pragma once
// The bytes one edit step changes, kept as runs of consecutive offsets: each
// run is its first offset, its length, the bytes before and the bytes after.
// A small step (a cell, a tile number) is held inside the object itself, so
// a long history of clicks costs little memory.
#include <cstddef>
#include <cstdint>
#include <vector>

struct ByteChange {
    std::int64_t Offset;
    std::uint8_t Old;
    std::uint8_t New;
    friend bool operator==(const ByteChange&, const ByteChange&) = default;
};

struct ChangeRun {
    std::uint32_t Offset;
    std::uint32_t Length;
    const std::uint8_t* Old;   // Length bytes
    const std::uint8_t* New;   // Length bytes
};

class ChangeList {
public:
    ChangeList() = default;
    // From changes sorted by offset, each offset once, each offset below 2^32.
    explicit ChangeList(const std::vector<ByteChange>& sorted);
    // The bytes where `before` and `after` (both `length` bytes) differ.
    static ChangeList Difference(const std::uint8_t* before, const std::uint8_t* after, std::size_t length);
    ChangeList(const ChangeList& other);
    ChangeList(ChangeList&& other) noexcept;
    ChangeList& operator=(ChangeList other) noexcept;
    ~ChangeList();

    bool empty() const { return m_size == 0; }
    // Number of changed bytes.
    std::size_t byteCount() const;

    // Calls f(const ChangeRun&) for every run, lowest offset first.
    template <class F>
    void forEachRun(F f) const
    {
        const std::uint8_t* p = bytes();
        const std::uint8_t* end = p + m_size;
        while (p < end) {
            const std::uint32_t offset = Read32(p), length = Read32(p + 4);
            f(ChangeRun{offset, length, p + 8, p + 8 + length});
            p += 8 + 2 * std::size_t(length);
        }
    }

    std::vector<ByteChange> toChanges() const;
    // The same runs with before and after swapped (what an undo writes).
    ChangeList inverted() const;

    // The encoded runs: per run a 32-bit little-endian offset and length,
    // then the old bytes, then the new bytes.
    const std::uint8_t* bytes() const { return m_size <= InlineBytes ? m_inline : m_heap; }
    std::uint32_t encodedSize() const { return m_size; }
    // Takes encoded runs as they come from a file: false (and `out` left
    // alone) unless every run is whole, non-empty and lies in ascending order.
    static bool Decode(const std::uint8_t* data, std::size_t size, ChangeList& out);

    friend bool operator==(const ChangeList& a, const ChangeList& b);

private:
    static constexpr std::uint32_t InlineBytes = 16;
    static std::uint32_t Read32(const std::uint8_t* p)
    {
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::uint8_t* allocate(std::uint32_t size);

    union {
        std::uint8_t m_inline[InlineBytes];
        std::uint8_t* m_heap;
    };
    std::uint32_t m_size = 0;
};
