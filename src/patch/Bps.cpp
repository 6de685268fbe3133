#include "patch/Bps.h"

#include "rom/Crc32.h"
#include "rom/RomFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t Magic[4] = {'B', 'P', 'S', '1'};
constexpr std::int64_t FooterSize = 12;
// Numbers above this are refused while reading: no size, length or offset
// of an image of at most 16 MiB comes near it, and it keeps sums in range.
constexpr std::uint64_t LargestNumber = std::uint64_t(1) << 40;

// Copies shorter than this cost about as much as the bytes themselves.
constexpr std::int64_t MinCopy = 6;
constexpr int HashBits = 18;
constexpr std::size_t MatchKey = 4; // bytes hashed to find a match

std::uint32_t Load32(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void AppendLe32(ByteVector& out, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(std::uint8_t(v >> (8 * k)));
}

std::uint32_t HashAt(const std::uint8_t* p)
{
    return (Load32(p) * 2654435761u) >> (32 - HashBits);
}

// Length of the common run of a[0..] and b[0..], at most `limit` bytes.
std::int64_t MatchLength(const std::uint8_t* a, const std::uint8_t* b, std::int64_t limit)
{
    std::int64_t n = 0;
    while (n + 8 <= limit && std::memcmp(a + n, b + n, 8) == 0)
        n += 8;
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// Target copies read what they have just written, so a copy may overlap
// its own output: compare byte by byte in that case.
std::int64_t OverlapMatchLength(const std::uint8_t* data, std::int64_t from, std::int64_t at, std::int64_t limit)
{
    if (at - from >= 8)
        return MatchLength(data + from, data + at, limit);
    std::int64_t n = 0;
    while (n < limit && data[from + n] == data[at + n])
        ++n;
    return n;
}

class BpsWriter {
public:
    BpsWriter(ByteView source, ByteView target) : m_source(source), m_target(target) {}

    ByteVector write()
    {
        const std::int64_t n = std::int64_t(m_target.size());
        const std::int64_t s = std::int64_t(m_source.size());
        m_out.assign(std::begin(Magic), std::end(Magic));
        m_out.reserve(std::size_t(64 + n / 8));
        AppendBpsNumber(m_out, std::uint64_t(s));
        AppendBpsNumber(m_out, std::uint64_t(n));
        AppendBpsNumber(m_out, 0); // no metadata

        m_sourceIndex.assign(std::size_t(1) << HashBits, -1);
        m_targetIndex.assign(std::size_t(1) << HashBits, -1);
        for (std::int64_t p = 0; p + std::int64_t(MatchKey) <= s; ++p)
            m_sourceIndex[HashAt(m_source.data() + p)] = std::int32_t(p);

        const std::uint8_t* src = m_source.data();
        const std::uint8_t* tgt = m_target.data();
        std::int64_t i = 0;
        while (i < n) {
            // Unchanged bytes in place: one SourceRead, however long. A
            // single one inside new bytes is cheaper as part of them.
            if (i < s && src[i] == tgt[i]) {
                const std::int64_t length = MatchLength(src + i, tgt + i, std::min(n, s) - i);
                if (length >= 2 || m_literalStart < 0) {
                    flushLiteral(i);
                    action(SourceRead, length);
                    index(i, i + length);
                    i += length;
                    continue;
                }
            }
            Copy best = bestCopy(i);
            if (best.length >= MinCopy) {
                flushLiteral(i);
                if (best.kind == SourceCopy) {
                    copy(SourceCopy, m_sourceCursor, best.from, best.length);
                    m_lastShift = best.from - i;
                } else {
                    copy(TargetCopy, m_targetCursor, best.from, best.length);
                }
                index(i, i + best.length);
                i += best.length;
                continue;
            }
            if (m_literalStart < 0)
                m_literalStart = i;
            index(i, i + 1);
            ++i;
        }
        flushLiteral(n);

        AppendLe32(m_out, Crc32(src, std::size_t(s)));
        AppendLe32(m_out, Crc32(tgt, std::size_t(n)));
        AppendLe32(m_out, Crc32(m_out.data(), m_out.size()));
        return std::move(m_out);
    }

private:
    struct Copy {
        BpsAction kind = SourceRead;
        std::int64_t from = 0;
        std::int64_t length = 0;
    };

    // The longest of: a repeat of the byte before (a TargetCopy one back),
    // the source where the last SourceCopy would continue, the source and
    // the target output where the next bytes were seen last.
    Copy bestCopy(std::int64_t i) const
    {
        const std::int64_t n = std::int64_t(m_target.size());
        const std::int64_t s = std::int64_t(m_source.size());
        const std::uint8_t* src = m_source.data();
        const std::uint8_t* tgt = m_target.data();
        Copy best;
        auto trySource = [&](std::int64_t from) {
            if (from < 0 || from >= s)
                return;
            const std::int64_t length = MatchLength(src + from, tgt + i, std::min(n - i, s - from));
            if (length > best.length)
                best = {SourceCopy, from, length};
        };
        auto tryTarget = [&](std::int64_t from) {
            if (from < 0 || from >= i)
                return;
            const std::int64_t length = OverlapMatchLength(tgt, from, i, n - i);
            if (length > best.length)
                best = {TargetCopy, from, length};
        };
        tryTarget(i - 1);
        if (m_lastShift != 0)
            trySource(i + m_lastShift);
        if (i + std::int64_t(MatchKey) <= n) {
            const std::uint32_t h = HashAt(tgt + i);
            trySource(m_sourceIndex[h]);
            tryTarget(m_targetIndex[h]);
        }
        return best;
    }

    // Remembers where each key of the target output lies, for TargetCopy.
    void index(std::int64_t from, std::int64_t to)
    {
        const std::int64_t last = std::min(to, std::int64_t(m_target.size()) - std::int64_t(MatchKey) + 1);
        for (std::int64_t p = from; p < last; ++p)
            m_targetIndex[HashAt(m_target.data() + p)] = std::int32_t(p);
    }

    void action(BpsAction kind, std::int64_t length)
    {
        AppendBpsNumber(m_out, (std::uint64_t(length - 1) << 2) | std::uint64_t(kind));
    }

    void copy(BpsAction kind, std::int64_t& cursor, std::int64_t from, std::int64_t length)
    {
        action(kind, length);
        const std::int64_t delta = from - cursor;
        AppendBpsNumber(m_out, (std::uint64_t(delta < 0 ? -delta : delta) << 1) | (delta < 0 ? 1u : 0u));
        cursor = from + length;
    }

    void flushLiteral(std::int64_t end)
    {
        if (m_literalStart < 0)
            return;
        action(TargetRead, end - m_literalStart);
        m_out.insert(m_out.end(), m_target.begin() + m_literalStart, m_target.begin() + end);
        m_literalStart = -1;
    }

    ByteView m_source;
    ByteView m_target;
    ByteVector m_out;
    std::vector<std::int32_t> m_sourceIndex;
    std::vector<std::int32_t> m_targetIndex;
    std::int64_t m_literalStart = -1;
    std::int64_t m_sourceCursor = 0;
    std::int64_t m_targetCursor = 0;
    std::int64_t m_lastShift = 0;
};

// Reads one variable-length number at `pos`, which must stay before `end`.
bool ReadNumber(const std::uint8_t* p, std::int64_t& pos, std::int64_t end, std::uint64_t& value)
{
    std::uint64_t data = 0;
    std::uint64_t shift = 1;
    for (;;) {
        if (pos >= end)
            return false;
        const std::uint8_t x = p[pos++];
        data += std::uint64_t(x & 0x7F) * shift;
        if (data > LargestNumber)
            return false;
        if (x & 0x80)
            break;
        shift <<= 7;
        data += shift;
        if (data > LargestNumber)
            return false;
    }
    value = data;
    return true;
}

const char* ActionName(int kind)
{
    static const char* const names[4] = {"SourceRead", "TargetRead", "SourceCopy", "TargetCopy"};
    return names[kind & 3];
}

} // namespace

void AppendBpsNumber(ByteVector& out, std::uint64_t value)
{
    for (;;) {
        const std::uint8_t x = value & 0x7F;
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | x);
            return;
        }
        out.push_back(x);
        --value;
    }
}

std::optional<ByteVector> CreateBps(ByteView source, ByteView target, QString& error)
{
    if (target.empty()) {
        error = QStringLiteral("The modified image is empty; there is nothing to make a patch of.");
        return std::nullopt;
    }
    if (std::int64_t(target.size()) > MaxRomFileSize || std::int64_t(source.size()) > MaxRomFileSize) {
        error = QStringLiteral("Images of more than 16 MiB (%1 bytes) are not patched; the %2 image has %3 bytes.")
                    .arg(MaxRomFileSize)
                    .arg(std::int64_t(target.size()) > MaxRomFileSize ? QStringLiteral("modified")
                                                                      : QStringLiteral("original"))
                    .arg(std::max(target.size(), source.size()));
        return std::nullopt;
    }
    return BpsWriter(source, target).write();
}

bool ReadBpsHeader(ByteView patch, PatchInfo& info, std::int64_t& actionsStart, QString& error)
{
    const std::int64_t size = std::int64_t(patch.size());
    const std::uint8_t* p = patch.data();
    info.format = PatchFormat::Bps;
    info.patchSize = size;
    if (size < 4 || std::memcmp(p, Magic, 4) != 0) {
        error = QStringLiteral("This is not a BPS patch: it does not start with \"BPS1\".");
        return false;
    }
    if (size < 4 + 3 + FooterSize) {
        error = QStringLiteral("The BPS patch is cut short: %1 bytes cannot hold its header and checksums.").arg(size);
        return false;
    }
    const std::int64_t footer = size - FooterSize;
    info.sourceCrc = ReadLe32(p + footer);
    info.targetCrc = ReadLe32(p + footer + 4);
    info.patchCrc = ReadLe32(p + footer + 8);
    info.patchCrcActual = Crc32(p, std::size_t(size - 4));

    std::int64_t pos = 4;
    std::uint64_t sourceSize = 0, targetSize = 0, metadataSize = 0;
    if (!ReadNumber(p, pos, footer, sourceSize) || !ReadNumber(p, pos, footer, targetSize) ||
        !ReadNumber(p, pos, footer, metadataSize)) {
        error = QStringLiteral("The header of the BPS patch is cut short or malformed.");
        return false;
    }
    info.sourceSize = std::int64_t(sourceSize);
    info.targetSize = std::int64_t(targetSize);
    if (std::int64_t(metadataSize) > footer - pos) {
        error = QStringLiteral("The BPS patch is cut short: its metadata of %1 bytes does not fit in it.")
                    .arg(metadataSize);
        return false;
    }
    info.metadata.assign(p + pos, p + pos + metadataSize);
    actionsStart = pos + std::int64_t(metadataSize);
    return true;
}

bool RunBps(ByteView patch, std::int64_t actionsStart, PatchInfo& info, const ByteView* source,
            ByteVector* target, QString& error)
{
    const std::uint8_t* p = patch.data();
    const std::int64_t footer = std::int64_t(patch.size()) - FooterSize;
    const std::int64_t sourceSize = info.sourceSize;
    const std::int64_t targetSize = info.targetSize;
    const bool run = source && target;
    // What may be read from the source: the header's size, and when the
    // actions run, no more than the image has.
    const std::int64_t readable = run ? std::min(sourceSize, std::int64_t(source->size())) : sourceSize;
    if (run)
        target->assign(std::size_t(targetSize), 0);
    std::uint8_t* out = run ? target->data() : nullptr;
    const std::uint8_t* in = run ? source->data() : nullptr;

    std::int64_t pos = actionsStart;
    std::int64_t output = 0;
    std::int64_t sourceCursor = 0;
    std::int64_t targetCursor = 0;
    std::int64_t count = 0;
    info.actionCounts = {};
    std::int64_t actionAt = pos;
    auto fail = [&](const QString& why) {
        error = QStringLiteral("Action %1 of the BPS patch (at byte %2 of the patch) %3.").arg(count).arg(actionAt).arg(why);
        return false;
    };
    while (pos < footer) {
        ++count;
        actionAt = pos;
        std::uint64_t data = 0;
        if (!ReadNumber(p, pos, footer, data))
            return fail(QStringLiteral("is cut short or malformed"));
        const int kind = int(data & 3);
        const std::int64_t length = std::int64_t(data >> 2) + 1;
        ++info.actionCounts[std::size_t(kind)];
        if (length > targetSize - output)
            return fail(QStringLiteral("(%1 of %2 bytes) writes past the target size of %3 bytes")
                            .arg(QLatin1String(ActionName(kind))).arg(length).arg(targetSize));
        switch (kind) {
        case SourceRead:
            if (output + length > sourceSize)
                return fail(QStringLiteral("reads past the source size of %1 bytes").arg(sourceSize));
            if (output + length > readable)
                return fail(QStringLiteral("reads past the end of the image (%1 bytes)").arg(readable));
            if (run)
                std::memcpy(out + output, in + output, std::size_t(length));
            break;
        case TargetRead:
            if (length > footer - pos)
                return fail(QStringLiteral("holds %1 new bytes, but the patch ends before them").arg(length));
            if (run)
                std::memcpy(out + output, p + pos, std::size_t(length));
            pos += length;
            break;
        case SourceCopy:
        case TargetCopy: {
            std::uint64_t offsetData = 0;
            if (!ReadNumber(p, pos, footer, offsetData))
                return fail(QStringLiteral("is cut short or malformed"));
            const std::int64_t magnitude = std::int64_t(offsetData >> 1);
            const std::int64_t delta = (offsetData & 1) ? -magnitude : magnitude;
            std::int64_t& cursor = kind == SourceCopy ? sourceCursor : targetCursor;
            cursor += delta;
            if (kind == SourceCopy) {
                if (cursor < 0 || cursor > sourceSize - length)
                    return fail(QStringLiteral("copies from outside the source (offset %1)").arg(cursor));
                if (cursor > readable - length)
                    return fail(QStringLiteral("copies from past the end of the image (offset %1)").arg(cursor));
                if (run)
                    std::memcpy(out + output, in + cursor, std::size_t(length));
            } else {
                if (cursor < 0 || cursor >= output)
                    return fail(QStringLiteral("copies from target bytes not yet written (offset %1)").arg(cursor));
                if (run) {
                    // Byte by byte: the copy may read what it has just written.
                    const std::uint8_t* from = out + cursor;
                    std::uint8_t* to = out + output;
                    if (output - cursor >= length)
                        std::memcpy(to, from, std::size_t(length));
                    else
                        for (std::int64_t k = 0; k < length; ++k)
                            to[k] = from[k];
                }
            }
            cursor += length;
            break;
        }
        }
        output += length;
    }
    info.records = count;
    if (output != targetSize) {
        error = QStringLiteral("The actions of the BPS patch make %1 bytes, not the %2 its header gives.")
                    .arg(output).arg(targetSize);
        return false;
    }
    return true;
}
