#include "history/RecoveryJournal.h"

#include "rom/Crc32.h"
#include "rom/RomFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char FileMagic[8] = {'V', 'O', 'R', 'N', 'J', 'R', 'N', '1'};
constexpr std::uint32_t RecordMagic = 0x3152'4A56;   // "VJR1" little-endian
// A record never holds more than two copies of the largest image plus its
// run headers; anything longer is damage, not a record.
constexpr std::uint64_t MaxRecordPayload = 12 + 5 * std::uint64_t(MaxRomFileSize);
constexpr std::uint32_t MaxHeaderPayload = 64 * 1024;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put64(std::vector<std::uint8_t>& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}
std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint64_t Get64(const std::uint8_t* p)
{
    return std::uint64_t(Get32(p)) | std::uint64_t(Get32(p + 4)) << 32;
}

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, int& error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// Frames a payload: its length, the payload and its checksum, after
// `prefix` (the record magic, or nothing for the header).
std::vector<std::uint8_t> Framed(std::vector<std::uint8_t> prefix, const std::vector<std::uint8_t>& payload)
{
    std::vector<std::uint8_t> out = std::move(prefix);
    out.reserve(out.size() + payload.size() + 8);
    Put32(out, std::uint32_t(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    Put32(out, Crc32(payload.data(), payload.size()));
    return out;
}
}

std::uint32_t JournalChecksum(const RomBytes& bytes)
{
    return Crc32(bytes.data(), std::size_t(bytes.size()));
}

RecoveryJournal::~RecoveryJournal()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString RecoveryJournal::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

namespace {
constexpr int MaxJournalsPerImage = 9;

int OpenJournalFile(const QString& path, int flags)
{
    return ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC | O_NOFOLLOW, 0600);
}
}

QString RecoveryJournal::PathFor(const QString& folder, const QString& imagePath, int number)
{
    const QByteArray key = QFileInfo(imagePath).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    const QString suffix = number > 1 ? QStringLiteral("-%1").arg(number) : QString();
    return folder + QLatin1Char('/') + QString::fromLatin1(hash) + suffix + QStringLiteral(".journal");
}

QStringList RecoveryJournal::LeftBehind(const QString& folder, const QString& imagePath)
{
    QStringList found;
    for (int n = 1; n <= MaxJournalsPerImage; ++n) {
        const QString path = PathFor(folder, imagePath, n);
        const QFileInfo info(path);
        if (!info.exists() || info.isSymLink() || !info.isFile())
            continue;
        // A running editor keeps its journal locked; only free ones are left behind.
        const int fd = OpenJournalFile(path, O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            found << path;
        ::close(fd);
    }
    return found;
}

std::unique_ptr<RecoveryJournal> RecoveryJournal::Create(const QString& folder, const QString& imagePath,
                                                         const RomBytes& base, QString& error)
{
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("Could not create the folder \"%1\".").arg(folder);
        return nullptr;
    }
    // The first name no other editor holds locked; the lock lasts as long as
    // this journal is open, and a killed editor's lock goes with it.
    QString path;
    int fd = -1;
    for (int n = 1; n <= MaxJournalsPerImage && fd < 0; ++n) {
        path = PathFor(folder, imagePath, n);
        fd = OpenJournalFile(path, O_WRONLY | O_CREAT | O_APPEND);
        if (fd < 0) {
            error = QStringLiteral("Could not create \"%1\": %2").arg(path, SystemReason(errno));
            return nullptr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        error = QStringLiteral("Every recovery file name for \"%1\" is in use by another editor.").arg(imagePath);
        return nullptr;
    }
    std::unique_ptr<RecoveryJournal> journal(new RecoveryJournal(fd, path));
    if (::ftruncate(fd, 0) != 0) {
        error = QStringLiteral("Could not write \"%1\": %2").arg(path, SystemReason(errno));
        journal->remove();
        return nullptr;
    }

    std::vector<std::uint8_t> header;
    Put64(header, std::uint64_t(base.size()));
    Put32(header, JournalChecksum(base));
    Put64(header, std::uint64_t(QDateTime::currentMSecsSinceEpoch()));
    const QByteArray name = QFileInfo(imagePath).absoluteFilePath().toUtf8();
    Put32(header, std::uint32_t(name.size()));
    header.insert(header.end(), name.begin(), name.end());
    const std::vector<std::uint8_t> out =
        Framed(std::vector<std::uint8_t>(FileMagic, FileMagic + sizeof FileMagic), header);
    int failure = 0;
    if (!WriteAll(fd, out.data(), out.size(), failure) || ::fdatasync(fd) != 0) {
        error = QStringLiteral("Could not write \"%1\": %2").arg(path, SystemReason(failure ? failure : errno));
        journal->remove();
        return nullptr;
    }
    return journal;
}

bool RecoveryJournal::append(const JournalRecord& record, QString& error)
{
    if (m_fd < 0) {
        error = QStringLiteral("The journal \"%1\" is closed.").arg(m_path);
        return false;
    }
    std::vector<std::uint8_t> payload;
    payload.reserve(12 + record.Runs.encodedSize() + record.Added.size());
    Put32(payload, record.OldSize);
    Put32(payload, record.NewSize);
    Put32(payload, record.Runs.encodedSize());
    payload.insert(payload.end(), record.Runs.bytes(), record.Runs.bytes() + record.Runs.encodedSize());
    payload.insert(payload.end(), record.Added.begin(), record.Added.end());
    std::vector<std::uint8_t> magic;
    Put32(magic, RecordMagic);
    const std::vector<std::uint8_t> out = Framed(std::move(magic), payload);
    int failure = 0;
    if (!WriteAll(m_fd, out.data(), out.size(), failure)) {
        error = QStringLiteral("Could not write \"%1\": %2").arg(m_path, SystemReason(failure));
        return false;
    }
    return true;
}

bool RecoveryJournal::sync(QString& error)
{
    if (m_fd < 0)
        return true;
    if (::fdatasync(m_fd) != 0) {
        error = QStringLiteral("Could not write \"%1\" to disk: %2").arg(m_path, SystemReason(errno));
        return false;
    }
    return true;
}

void RecoveryJournal::remove()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

std::optional<JournalContents> ReadJournal(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("\"%1\" does not exist.").arg(path);
        return std::nullopt;
    }
    // Only a journal this program wrote: a regular file, never a link, pipe or device.
    if (info.isSymLink() || !info.isFile()) {
        error = QStringLiteral("\"%1\" is not a regular file.").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Could not read \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    auto readExactly = [&file](std::vector<std::uint8_t>& buffer, std::uint64_t size) {
        buffer.resize(std::size_t(size));
        return size == 0 || file.read(reinterpret_cast<char*>(buffer.data()), qint64(size)) == qint64(size);
    };

    std::vector<std::uint8_t> buffer;
    if (!readExactly(buffer, sizeof FileMagic + 4) || std::memcmp(buffer.data(), FileMagic, sizeof FileMagic) != 0) {
        error = QStringLiteral("\"%1\" is not a recovery journal.").arg(path);
        return std::nullopt;
    }
    const std::uint32_t headerSize = Get32(buffer.data() + sizeof FileMagic);
    std::vector<std::uint8_t> header, check;
    if (headerSize < 24 || headerSize > MaxHeaderPayload || !readExactly(header, headerSize) ||
        !readExactly(check, 4) || Get32(check.data()) != Crc32(header.data(), header.size()) ||
        Get32(header.data() + 20) != headerSize - 24) {
        error = QStringLiteral("The header of \"%1\" is damaged.").arg(path);
        return std::nullopt;
    }
    JournalContents contents;
    contents.BaseSize = std::int64_t(Get64(header.data()));
    contents.BaseCrc = Get32(header.data() + 8);
    contents.Created = QDateTime::fromMSecsSinceEpoch(qint64(Get64(header.data() + 12)));
    contents.ImagePath = QString::fromUtf8(reinterpret_cast<const char*>(header.data() + 24), int(headerSize - 24));

    for (int n = 1;; ++n) {
        std::vector<std::uint8_t> frame(8);
        const qint64 got = file.read(reinterpret_cast<char*>(frame.data()), 8);
        if (got == 0)
            break;   // the end, between records
        auto damaged = [&](const QString& what) {
            contents.Damage = QStringLiteral("record %1 %2").arg(n).arg(what);
        };
        if (got != 8) {
            damaged(QStringLiteral("is cut short"));
            break;
        }
        if (Get32(frame.data()) != RecordMagic) {
            damaged(QStringLiteral("does not start as a record should"));
            break;
        }
        const std::uint64_t size = Get32(frame.data() + 4);
        std::vector<std::uint8_t> payload;
        if (size < 12 || size > MaxRecordPayload) {
            damaged(QStringLiteral("has an impossible length"));
            break;
        }
        if (!readExactly(payload, size) || !readExactly(check, 4)) {
            damaged(QStringLiteral("is cut short"));
            break;
        }
        if (Get32(check.data()) != Crc32(payload.data(), payload.size())) {
            damaged(QStringLiteral("fails its checksum"));
            break;
        }
        JournalRecord record;
        record.OldSize = Get32(payload.data());
        record.NewSize = Get32(payload.data() + 4);
        const std::uint64_t runs = Get32(payload.data() + 8);
        const std::uint64_t added = record.NewSize > record.OldSize ? record.NewSize - record.OldSize : 0;
        if (12 + runs + added != size || !ChangeList::Decode(payload.data() + 12, std::size_t(runs), record.Runs)) {
            damaged(QStringLiteral("is not laid out as a record"));
            break;
        }
        record.Added.assign(payload.begin() + std::ptrdiff_t(12 + runs), payload.end());
        contents.Records.push_back(std::move(record));
    }
    return contents;
}

JournalReplay ReplayJournal(const JournalContents& journal, RomBytes base)
{
    JournalReplay replay;
    replay.Image = std::move(base);
    RomBytes& image = replay.Image;
    for (const JournalRecord& record : journal.Records) {
        const int n = replay.Applied + 1;
        if (record.OldSize != image.size() || record.NewSize > std::uint64_t(MaxRomFileSize) ||
            record.Added.size() != (record.NewSize > record.OldSize ? record.NewSize - record.OldSize : 0)) {
            replay.Damage = QStringLiteral("record %1 does not fit the size of the image").arg(n);
            break;
        }
        const std::int64_t common = std::min<std::int64_t>(record.OldSize, record.NewSize);
        bool fits = true;
        record.Runs.forEachRun([&](const ChangeRun& run) {
            if (!fits)
                return;
            if (std::int64_t(run.Offset) + run.Length > common ||
                std::memcmp(image.data() + run.Offset, run.Old, run.Length) != 0)
                fits = false;
        });
        if (!fits) {
            replay.Damage = QStringLiteral("record %1 does not fit the bytes of the image").arg(n);
            break;
        }
        record.Runs.forEachRun([&](const ChangeRun& run) {
            std::memcpy(image.writableData() + run.Offset, run.New, run.Length);
        });
        image.resize(record.NewSize);
        if (!record.Added.empty())
            std::memcpy(image.writableData() + record.OldSize, record.Added.data(), record.Added.size());
        ++replay.Applied;
    }
    return replay;
}
