#include "patch/Ips.h"

#include "rom/RomFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t Magic[5] = {'P', 'A', 'T', 'C', 'H'};
constexpr std::uint8_t EofMark[3] = {'E', 'O', 'F'};
constexpr std::int64_t RecordHeader = 5; // offset and size
constexpr std::int64_t RunRecordSize = 8; // header, count, value
// Unchanged bytes between two changed ones that are cheaper to repeat than a
// new record header.
constexpr std::int64_t MergeGap = RecordHeader - 1;
// Shortest run worth a record of its own: inside a stretch of changes it also
// costs the header of the literal record after it.
constexpr std::int64_t RunInsideMin = RunRecordSize + RecordHeader + 1;
constexpr std::int64_t RunAtEdgeMin = RunRecordSize + 1;
constexpr std::int64_t RunAloneMin = RunRecordSize - RecordHeader + 1;

QString Hex6(std::int64_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

class IpsWriter {
public:
    explicit IpsWriter(ByteView target) : m_target(target)
    {
        m_out.insert(m_out.end(), std::begin(Magic), std::end(Magic));
    }

    // Writes target bytes [offset, offset + length) as literal records.
    void literal(std::int64_t offset, std::int64_t length)
    {
        while (length > 0) {
            if (offset == IpsEofOffset) { // rewrite the byte before instead
                --offset;
                ++length;
            }
            const std::int64_t chunk = std::min(length, IpsMaxRecordSize);
            header(offset, chunk);
            m_out.insert(m_out.end(), m_target.begin() + offset, m_target.begin() + offset + chunk);
            offset += chunk;
            length -= chunk;
        }
    }

    // Writes target bytes [offset, offset + count), all `value`, as runs.
    void run(std::int64_t offset, std::int64_t count, std::uint8_t value)
    {
        while (count > 0) {
            if (offset == IpsEofOffset) {
                if (m_target[std::size_t(offset - 1)] == value) {
                    --offset;
                    ++count;
                } else {
                    literal(offset - 1, 2);
                    offset += 1;
                    count -= 1;
                    continue;
                }
            }
            const std::int64_t chunk = std::min(count, IpsMaxRecordSize);
            if (chunk < RunAloneMin) {
                literal(offset, chunk);
            } else {
                header(offset, 0);
                put16(chunk);
                m_out.push_back(value);
            }
            offset += chunk;
            count -= chunk;
        }
    }

    ByteVector finish(std::optional<std::int64_t> truncateTo)
    {
        m_out.insert(m_out.end(), std::begin(EofMark), std::end(EofMark));
        if (truncateTo)
            put24(*truncateTo);
        return std::move(m_out);
    }

private:
    void header(std::int64_t offset, std::int64_t size)
    {
        put24(offset);
        put16(size);
    }
    void put24(std::int64_t v)
    {
        m_out.push_back(std::uint8_t(v >> 16));
        m_out.push_back(std::uint8_t(v >> 8));
        m_out.push_back(std::uint8_t(v));
    }
    void put16(std::int64_t v)
    {
        m_out.push_back(std::uint8_t(v >> 8));
        m_out.push_back(std::uint8_t(v));
    }

    ByteView m_target;
    ByteVector m_out;
};

// Records for one stretch [start, end) of bytes to write: runs of one value
// where they make the patch smaller, literal records for the rest.
void WriteStretch(IpsWriter& writer, ByteView target, std::int64_t start, std::int64_t end)
{
    std::int64_t literalStart = start;
    std::int64_t p = start;
    while (p < end) {
        const std::uint8_t value = target[std::size_t(p)];
        std::int64_t r = p + 1;
        while (r < end && target[std::size_t(r)] == value)
            ++r;
        const std::int64_t length = r - p;
        const bool atStart = p == literalStart;
        const bool atEnd = r == end;
        const std::int64_t needed = atStart && atEnd ? RunAloneMin : (atStart || atEnd ? RunAtEdgeMin : RunInsideMin);
        if (length >= needed) {
            writer.literal(literalStart, p - literalStart);
            writer.run(p, length, value);
            literalStart = r;
        }
        p = r;
    }
    writer.literal(literalStart, end - literalStart);
}

// True when target bytes [last, next] all hold one value: the unchanged
// bytes between two changed ones then join a run across them.
bool SameValueGap(ByteView target, std::int64_t last, std::int64_t next)
{
    const std::uint8_t value = target[std::size_t(last)];
    for (std::int64_t k = last + 1; k <= next; ++k)
        if (target[std::size_t(k)] != value)
            return false;
    return true;
}

std::int64_t Read24(const std::uint8_t* p)
{
    return std::int64_t(p[0]) << 16 | std::int64_t(p[1]) << 8 | p[2];
}

std::int64_t Read16(const std::uint8_t* p)
{
    return std::int64_t(p[0]) << 8 | p[1];
}

} // namespace

std::optional<ByteVector> CreateIps(ByteView original, ByteView modified, QString& error)
{
    const std::int64_t n = std::int64_t(modified.size());
    const std::int64_t o = std::int64_t(original.size());
    if (n == 0) {
        error = QStringLiteral("The modified image is empty; there is nothing to make a patch of.");
        return std::nullopt;
    }
    if (n > MaxRomFileSize || o > MaxRomFileSize) {
        error = QStringLiteral("An IPS patch reaches 16 MiB (%1 bytes) at most; the %2 image has %3 bytes.")
                    .arg(MaxRomFileSize)
                    .arg(n > MaxRomFileSize ? QStringLiteral("modified") : QStringLiteral("original"))
                    .arg(std::max(n, o));
        return std::nullopt;
    }
    // A byte past the original's end must be written unless it is zero (a
    // gap reads as zeros); the last byte always, so that the image grows.
    auto differs = [&](std::int64_t i) {
        if (i >= o)
            return modified[std::size_t(i)] != 0 || i == n - 1;
        return original[std::size_t(i)] != modified[std::size_t(i)];
    };
    IpsWriter writer(modified);
    std::int64_t stretchStart = -1;
    std::int64_t stretchEnd = -1;
    const std::int64_t common = std::min(n, o);
    std::int64_t i = 0;
    while (i < n) {
        if (i < common && original[std::size_t(i)] == modified[std::size_t(i)]) {
            // Skip unchanged bytes quickly, a machine word at a time.
            while (i + 8 <= common && std::memcmp(&original[std::size_t(i)], &modified[std::size_t(i)], 8) == 0)
                i += 8;
            while (i < common && original[std::size_t(i)] == modified[std::size_t(i)])
                ++i;
            continue;
        }
        if (!differs(i)) {
            ++i;
            continue;
        }
        std::int64_t end = i + 1;
        while (end < n && differs(end))
            ++end;
        if (stretchEnd >= 0 && (i - stretchEnd <= MergeGap || SameValueGap(modified, stretchEnd - 1, i))) {
            stretchEnd = end;
        } else {
            if (stretchEnd >= 0)
                WriteStretch(writer, modified, stretchStart, stretchEnd);
            stretchStart = i;
            stretchEnd = end;
        }
        i = end;
    }
    if (stretchEnd >= 0)
        WriteStretch(writer, modified, stretchStart, stretchEnd);
    return writer.finish(n < o ? std::optional<std::int64_t>(n) : std::nullopt);
}

bool ReadIps(ByteView patch, ByteVector* image, PatchInfo& info, QString& error)
{
    const std::int64_t size = std::int64_t(patch.size());
    const std::uint8_t* p = patch.data();
    info.format = PatchFormat::Ips;
    info.patchSize = size;
    if (size < 5 || std::memcmp(p, Magic, 5) != 0) {
        error = QStringLiteral("This is not an IPS patch: it does not start with \"PATCH\".");
        return false;
    }
    std::int64_t pos = 5;
    std::int64_t record = 0;
    for (;;) {
        if (pos + 3 > size) {
            error = QStringLiteral("The IPS patch is cut short: it ends without its \"EOF\" marker "
                                   "(after %1 records).").arg(record);
            return false;
        }
        if (std::memcmp(p + pos, EofMark, 3) == 0) {
            pos += 3;
            break;
        }
        ++record;
        const std::int64_t recordAt = pos;
        const std::int64_t offset = Read24(p + pos);
        if (pos + RecordHeader > size) {
            error = QStringLiteral("The IPS patch is cut short in the header of record %1 (at byte %2 of the patch).")
                        .arg(record).arg(recordAt);
            return false;
        }
        std::int64_t length = Read16(p + pos + 3);
        pos += RecordHeader;
        const bool isRun = length == 0;
        std::uint8_t value = 0;
        if (isRun) {
            if (pos + 3 > size) {
                error = QStringLiteral("The IPS patch is cut short in run record %1 (at byte %2 of the patch).")
                            .arg(record).arg(recordAt);
                return false;
            }
            length = Read16(p + pos);
            value = p[pos + 2];
            pos += 3;
            ++info.runRecords;
        } else if (pos + length > size) {
            error = QStringLiteral("The IPS patch is cut short: record %1 (at byte %2 of the patch) holds %3 bytes, "
                                   "but only %4 follow.")
                        .arg(record).arg(recordAt).arg(length).arg(size - pos);
            return false;
        }
        const std::int64_t end = offset + length;
        if (end > MaxRomFileSize) {
            error = QStringLiteral("Record %1 of the IPS patch writes up to offset %2, past the 16 MiB "
                                   "(%3 bytes) an image may have.")
                        .arg(record).arg(Hex6(end - 1)).arg(MaxRomFileSize);
            return false;
        }
        if (length > 0)
            info.writeEnd = std::max(info.writeEnd, end);
        if (image && length > 0) {
            if (std::int64_t(image->size()) < end)
                image->resize(std::size_t(end), 0);
            std::uint8_t* to = image->data() + offset;
            if (isRun)
                std::memset(to, value, std::size_t(length));
            else
                std::memcpy(to, p + pos, std::size_t(length));
        }
        if (!isRun)
            pos += length;
    }
    info.records = record;
    const std::int64_t rest = size - pos;
    if (rest == 3) {
        info.truncateTo = Read24(p + pos);
        if (image && *info.truncateTo < std::int64_t(image->size()))
            image->resize(std::size_t(*info.truncateTo));
    } else if (rest != 0) {
        error = QStringLiteral("The IPS patch has %1 bytes after its \"EOF\" marker; only a 3-byte truncation "
                               "length may follow it.").arg(rest);
        return false;
    }
    return true;
}
