#include "files/FileReader.h"

#include "files/FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr long long Chunk = 64 * 1024;

// Reads `fd` to its end, keeping at most maxBytes + 1 bytes: one byte more
// than allowed is enough to tell that the input is too large.
void ReadToEnd(int fd, long long maxBytes, long long expected, ReadOutcome& outcome)
{
    std::vector<std::uint8_t>& bytes = outcome.Bytes;
    const long long limit = maxBytes + 1;
    bytes.reserve(static_cast<std::size_t>(expected > 0 && expected <= limit ? expected : Chunk));
    long long have = 0;
    // A file that reports its size is read in one piece (and one more read
    // that finds its end); the rest in pieces.
    long long piece = expected > 0 ? expected + 1 : Chunk;
    while (have < limit) {
        const long long want = std::min(piece, limit - have);
        piece = Chunk;
        bytes.resize(static_cast<std::size_t>(have + want));
        const ssize_t got = ::read(fd, bytes.data() + have, static_cast<std::size_t>(want));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            outcome.Status = ReadStatus::CannotRead;
            outcome.Error = errno;
            bytes.clear();
            return;
        }
        if (got == 0)
            break;
        have += got;
    }
    bytes.resize(static_cast<std::size_t>(have));
    if (have > maxBytes) {
        outcome.Status = ReadStatus::TooLarge;
        bytes.clear();
        bytes.shrink_to_fit();
    } else if (have == 0) {
        outcome.Status = ReadStatus::Empty;
    }
}

} // namespace

QString QuotedName(const QString& path)
{
    if (IsStandardInputName(path))
        return QStringLiteral("standard input");
    return QStringLiteral("\"%1\"").arg(DisplayName(path));
}

ReadOutcome ReadWholeFile(const QString& path, long long maxBytes, FileAccess access)
{
    ReadOutcome outcome;
    const bool streams = access == FileAccess::FilesAndStreams;
    if (streams && IsStandardInputName(path)) {
        // Descriptor 0 as it is, whatever the shell connected to it.
        outcome.StandardInput = true;
        outcome.Stream = true;
        struct stat st {};
        if (::fstat(STDIN_FILENO, &st) != 0) {
            outcome.Status = ReadStatus::CannotRead;
            outcome.Error = errno;
            return outcome;
        }
        // A descriptor that was closed when the program started holds a
        // placeholder that can be neither read nor written.
        const int flags = ::fcntl(STDIN_FILENO, F_GETFL);
        if (flags < 0 || (flags & O_PATH)) {
            outcome.Status = ReadStatus::CannotRead;
            outcome.Error = flags < 0 ? errno : EBADF;
            return outcome;
        }
        outcome.Facts.Kind = KindOf(st.st_mode);
        outcome.Facts.Stat = st;
        if (outcome.Facts.Kind == FileKind::Directory) {
            outcome.Status = ReadStatus::NotAFile;
            return outcome;
        }
        ReadToEnd(STDIN_FILENO, maxBytes, -1, outcome);
        return outcome;
    }

    const std::optional<QByteArray> native = EncodeFileName(path);
    if (!native) {
        outcome.Status = ReadStatus::BadName;
        return outcome;
    }
    outcome.Facts = InspectPath(*native);
    const PathFacts& facts = outcome.Facts;
    if (facts.Kind == FileKind::Missing) {
        outcome.Status = ReadStatus::CannotOpen;
        outcome.Error = facts.Error;
        return outcome;
    }
    const bool pipe = facts.Kind == FileKind::NamedPipe && streams;
    if (facts.Kind != FileKind::Regular && !pipe) {
        outcome.Status = ReadStatus::NotAFile;
        return outcome;
    }
    if (!pipe && facts.Stat.st_size > maxBytes) {
        outcome.Status = ReadStatus::TooLarge;
        outcome.Size = facts.Stat.st_size;
        return outcome;
    }

    // A regular file is opened without blocking, so that a name swapped for
    // a pipe since the look above cannot hang the program; a pipe the
    // command line reads waits for its writer, as any command-line reader does.
    const int flags = O_RDONLY | O_NOCTTY | O_CLOEXEC | (pipe ? 0 : O_NONBLOCK);
    int fd;
    do
        fd = ::open(native->constData(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        outcome.Status = ReadStatus::CannotOpen;
        outcome.Error = errno;
        return outcome;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || KindOf(opened.st_mode) != facts.Kind) {
        outcome.Status = ReadStatus::NotAFile;
        outcome.Facts.Kind = KindOf(opened.st_mode);
        ::close(fd);
        return outcome;
    }
    outcome.Stream = pipe;
    // The size is only a hint: files under /proc report 0 and have content.
    ReadToEnd(fd, maxBytes, pipe ? -1 : opened.st_size, outcome);
    ::close(fd);
    return outcome;
}
