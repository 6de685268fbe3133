#include "history/ChangeList.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
void Write32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
}

std::uint8_t* ChangeList::allocate(std::uint32_t size)
{
    m_size = size;
    if (size <= InlineBytes)
        return m_inline;
    m_heap = new std::uint8_t[size];
    return m_heap;
}

ChangeList::ChangeList(const std::vector<ByteChange>& sorted)
{
    // First count the runs to size the encoding exactly.
    std::size_t runs = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (i == 0 || sorted[i].Offset != sorted[i - 1].Offset + 1)
            ++runs;
    std::uint8_t* out = allocate(std::uint32_t(8 * runs + 2 * sorted.size()));
    std::size_t i = 0;
    while (i < sorted.size()) {
        std::size_t j = i + 1;
        while (j < sorted.size() && sorted[j].Offset == sorted[j - 1].Offset + 1)
            ++j;
        const std::uint32_t length = std::uint32_t(j - i);
        Write32(out, std::uint32_t(sorted[i].Offset));
        Write32(out + 4, length);
        for (std::uint32_t k = 0; k < length; ++k) {
            out[8 + k] = sorted[i + k].Old;
            out[8 + length + k] = sorted[i + k].New;
        }
        out += 8 + 2 * std::size_t(length);
        i = j;
    }
}

namespace {

// Calls run(start, length) for each maximal run of offsets where the two
// buffers differ, in increasing order.
template <typename Run>
void ForEachDifferingRun(const std::uint8_t* before, const std::uint8_t* after, std::size_t length, Run run)
{
    for (std::size_t i = 0; i < length;) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < length && before[j] != after[j])
            ++j;
        run(i, j - i);
        i = j;
    }
}

}

ChangeList ChangeList::Difference(const std::uint8_t* before, const std::uint8_t* after, std::size_t length)
{
    // Two passes over the bytes: the size of the encoding, then the runs.
    std::size_t encoded = 0;
    ForEachDifferingRun(before, after, length, [&](std::size_t, std::size_t run) { encoded += 8 + 2 * run; });
    ChangeList list;
    std::uint8_t* out = list.allocate(std::uint32_t(encoded));
    ForEachDifferingRun(before, after, length, [&](std::size_t start, std::size_t count) {
        const std::uint32_t run = std::uint32_t(count);
        Write32(out, std::uint32_t(start));
        Write32(out + 4, run);
        std::memcpy(out + 8, before + start, run);
        std::memcpy(out + 8 + run, after + start, run);
        out += 8 + 2 * std::size_t(run);
    });
    return list;
}

ChangeList::ChangeList(const ChangeList& other)
{
    std::memcpy(allocate(other.m_size), other.bytes(), other.m_size);
}

ChangeList::ChangeList(ChangeList&& other) noexcept
{
    m_size = other.m_size;
    if (m_size <= InlineBytes)
        std::memcpy(m_inline, other.m_inline, m_size);
    else
        m_heap = other.m_heap;
    other.m_size = 0;
}

ChangeList& ChangeList::operator=(ChangeList other) noexcept
{
    // Takes over the storage of the copy (or of the moved-from list).
    if (m_size > InlineBytes)
        delete[] m_heap;
    m_size = other.m_size;
    if (m_size <= InlineBytes)
        std::memcpy(m_inline, other.m_inline, m_size);
    else
        m_heap = other.m_heap;
    other.m_size = 0;
    return *this;
}

ChangeList::~ChangeList()
{
    if (m_size > InlineBytes)
        delete[] m_heap;
}

std::size_t ChangeList::byteCount() const
{
    std::size_t n = 0;
    forEachRun([&](const ChangeRun& run) { n += run.Length; });
    return n;
}

std::vector<ByteChange> ChangeList::toChanges() const
{
    std::vector<ByteChange> changes;
    forEachRun([&](const ChangeRun& run) {
        for (std::uint32_t k = 0; k < run.Length; ++k)
            changes.push_back({std::int64_t(run.Offset) + k, run.Old[k], run.New[k]});
    });
    return changes;
}

ChangeList ChangeList::inverted() const
{
    ChangeList out(*this);
    std::uint8_t* p = out.m_size <= InlineBytes ? out.m_inline : out.m_heap;
    std::uint8_t* end = p + out.m_size;
    while (p < end) {
        const std::uint32_t length = Read32(p + 4);
        std::swap_ranges(p + 8, p + 8 + length, p + 8 + length);
        p += 8 + 2 * std::size_t(length);
    }
    return out;
}

bool ChangeList::Decode(const std::uint8_t* data, std::size_t size, ChangeList& out)
{
    if (size > 0xFFFFFFFFu)
        return false;
    std::size_t at = 0;
    std::int64_t nextFree = 0;   // runs must not touch or overlap
    while (at < size) {
        if (size - at < 8)
            return false;
        const std::uint32_t offset = Read32(data + at), length = Read32(data + at + 4);
        if (length == 0 || std::int64_t(offset) < nextFree || (size - at - 8) / 2 < length)
            return false;
        nextFree = std::int64_t(offset) + length + 1;
        at += 8 + 2 * std::size_t(length);
    }
    ChangeList decoded;
    std::memcpy(decoded.allocate(std::uint32_t(size)), data, size);
    out = std::move(decoded);
    return true;
}

bool operator==(const ChangeList& a, const ChangeList& b)
{
    return a.m_size == b.m_size && std::memcmp(a.bytes(), b.bytes(), a.m_size) == 0;
}
