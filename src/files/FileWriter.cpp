#include "files/FileWriter.h"

#include "files/FileFaults.h"
#include "files/FileNames.h"
#include "files/SystemReason.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <sys/xattr.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr long long CopyChunk = 1024 * 1024;
constexpr int MaxLinkHops = 40;
constexpr int Attempts = 3;

// Writing into a pipe whose reader has gone raises SIGPIPE, which would end
// the program; while this guard lives the signal is held back, so the write
// fails with EPIPE instead, and a SIGPIPE it caused is taken away again.
class PipeSignalGuard {
public:
    PipeSignalGuard()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
    }
    ~PipeSignalGuard()
    {
        if (!m_wasPending) {
            sigset_t pending;
            sigpending(&pending);
            if (sigismember(&pending, SIGPIPE) == 1) {
                const timespec now{};
                sigtimedwait(&m_pipe, nullptr, &now);
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    PipeSignalGuard(const PipeSignalGuard&) = delete;
    PipeSignalGuard& operator=(const PipeSignalGuard&) = delete;

private:
    sigset_t m_pipe{};
    sigset_t m_old{};
    bool m_wasPending = false;
};

// Writes `size` bytes; at `offset` when it is 0 or more, else at the
// descriptor's position. Returns 0 or errno.
int WriteRaw(int fd, const std::uint8_t* data, long long size, long long offset)
{
    long long done = 0;
    while (done < size) {
        const std::size_t piece = static_cast<std::size_t>(std::min<long long>(size - done, 1 << 30));
        const ssize_t n = offset < 0 ? ::write(fd, data + done, piece) : ::pwrite(fd, data + done, piece, offset + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += n;
    }
    return 0;
}

// One step that moves data, with the failure-injection seam asked first.
QString WriteStep(int fd, const std::uint8_t* data, long long size, long long offset, FileStep step)
{
    const QString fault = AskFileFault(step, size);
    if (const int e = WriteRaw(fd, data, fault.isEmpty() ? size : size / 2, offset))
        return SystemReason(e);
    return fault;
}

// Copies everything of `from` into `to`, both from their first byte; sets
// `copied` to the number of bytes.
QString CopyContent(int from, int to, FileStep step, long long& copied)
{
    copied = 0;
    struct stat st {};
    if (::fstat(from, &st) != 0)
        return SystemReason(errno);
    const QString fault = AskFileFault(step, st.st_size);
    const long long limit = fault.isEmpty() ? LLONG_MAX : st.st_size / 2;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(CopyChunk));
    while (copied < limit) {
        const ssize_t n = ::pread(from, buffer.data(), static_cast<std::size_t>(std::min(CopyChunk, limit - copied)), copied);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return SystemReason(errno);
        }
        if (n == 0)
            break;
        if (const int e = WriteRaw(to, buffer.data(), n, copied))
            return SystemReason(e);
        copied += n;
    }
    return fault;
}

QString SyncReason(int fd)
{
    return ::fsync(fd) == 0 ? QString() : SystemReason(errno);
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // Closes now; returns 0 or errno.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// A file made beside the target (temporary content or backup copy). It is
// removed again unless kept.
class SiblingFile {
public:
    SiblingFile(int folder) : m_folder(folder) {}
    ~SiblingFile() { discard(); }
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;

    // Creates ".NAME.vorned-ROLE-XXXXXX", or ".vorned-ROLE-XXXXXX" when that
    // would be longer than the folder allows. Returns 0 or errno.
    int create(const QByteArray& target, const char* role, int access, mode_t mode)
    {
        long nameMax = ::fpathconf(m_folder, _PC_NAME_MAX);
        if (nameMax <= 0)
            nameMax = NAME_MAX;
        thread_local std::mt19937_64 random{std::random_device{}()};
        static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray suffix;
            for (int i = 0; i < 6; ++i)
                suffix += letters[random() % (sizeof letters - 1)];
            const QByteArray tail = QByteArray(".vorned-") + role + '-' + suffix;
            QByteArray name = '.' + target + tail;
            if (name.size() > nameMax)
                name = tail;
            const int fd = ::openat(m_folder, name.constData(), access | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0) {
                m_name = name;
                m_fd.reset(fd);
                return 0;
            }
            if (errno != EEXIST && errno != EINTR)
                return errno;
        }
        return EEXIST;
    }
    int fd() const { return m_fd.get(); }
    const QByteArray& name() const { return m_name; }
    int close() { return m_fd.close(); }
    // Removes the file (done at the latest when the object ends).
    void discard()
    {
        m_fd.reset();
        if (!m_name.isEmpty())
            ::unlinkat(m_folder, m_name.constData(), 0);
        m_name.clear();
    }
    // The file has taken the target's place or must stay: it is not removed.
    void keep()
    {
        m_fd.reset();
        m_name.clear();
    }

private:
    int m_folder;
    Descriptor m_fd;
    QByteArray m_name;
};

WriteOutcome Fail(const QString& reason)
{
    WriteOutcome outcome;
    outcome.Reason = reason;
    return outcome;
}

WriteOutcome Done(WriteMethod method)
{
    WriteOutcome outcome;
    outcome.Ok = true;
    outcome.Method = method;
    return outcome;
}

// Nothing: the target changed between looking and writing; look again.
using Attempt = std::optional<WriteOutcome>;

// Follows symbolic links of the last component of `path` to the name a
// write goes to, and splits that into its folder and its own name.
int ResolveTarget(QByteArray path, QByteArray& folder, QByteArray& name)
{
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            if (errno == ENOENT)
                break;
            return errno;
        }
        if (!S_ISLNK(st.st_mode))
            break;
        if (hops == MaxLinkHops)
            return ELOOP;
        QByteArray target(PATH_MAX + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), target.size());
        if (n < 0)
            return errno;
        if (n > PATH_MAX)
            return ENAMETOOLONG;
        target.truncate(n);
        if (target.startsWith('/')) {
            path = target;
        } else {
            const qsizetype slash = path.lastIndexOf('/');
            path = slash < 0 ? target : path.left(slash + 1) + target;
        }
    }
    const qsizetype slash = path.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    name = path.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return EISDIR;
    return 0;
}

Attempt WriteThrough(const QByteArray& native, const std::uint8_t* data, long long size)
{
    PipeSignalGuard guard;
    // A named pipe's open waits for its reader, as a shell's "> pipe" does.
    int fd;
    do
        fd = ::open(native.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Fail(SystemReason(errno));
    Descriptor file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return Fail(SystemReason(errno));
    const FileKind kind = KindOf(st.st_mode);
    if (kind != FileKind::NamedPipe && kind != FileKind::CharDevice)
        return std::nullopt;
    const QString reason = WriteStep(fd, data, size, -1, FileStep::WriteThrough);
    const int closed = file.close();
    if (!reason.isEmpty())
        return Fail(reason);
    if (closed != 0)
        return Fail(SystemReason(closed));
    return Done(WriteMethod::Through);
}

Attempt CreateNew(int folder, const QByteArray& name, const std::uint8_t* data, long long size)
{
    SiblingFile temp(folder);
    // As any new file: read and write for all, less the umask.
    if (const int e = temp.create(name, "save", O_WRONLY, 0666))
        return Fail(SystemReason(e));
    QString reason = WriteStep(temp.fd(), data, size, -1, FileStep::WriteTemporary);
    if (reason.isEmpty())
        reason = SyncReason(temp.fd());
    if (reason.isEmpty())
        if (const int e = temp.close())
            reason = SystemReason(e);
    if (reason.isEmpty())
        reason = AskFileFault(FileStep::ReplaceTarget, size);
    if (!reason.isEmpty())
        return Fail(reason);
    // Never over something that appeared meanwhile.
    if (::renameat2(folder, temp.name().constData(), folder, name.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST)
            return std::nullopt;
        if (errno != EINVAL && errno != ENOSYS)
            return Fail(SystemReason(errno));
        if (::linkat(folder, temp.name().constData(), folder, name.constData(), 0) != 0)
            return errno == EEXIST ? Attempt() : Attempt(Fail(SystemReason(errno)));
        // The temporary name is removed when `temp` ends.
    } else {
        temp.keep();
    }
    ::fsync(folder);
    return Done(WriteMethod::Created);
}

// A write by a program without the right to keep them clears a file's
// set-ID bits; the owner may put them back (anyone else cannot, and the
// kernel means it that way).
void KeepModeBits(int fd, const struct stat& before)
{
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_mode & 07777) != (before.st_mode & 07777))
        ::fchmod(fd, before.st_mode & 07777);
}

Attempt WriteInPlace(int folder, const QByteArray& name, const struct stat& before, const std::uint8_t* data,
                     long long size)
{
    int fd = ::openat(folder, name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Fail(SystemReason(errno));
    Descriptor target(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return Fail(SystemReason(errno));
    if (!S_ISREG(st.st_mode) || !SameInode(st, before))
        return std::nullopt;

    SiblingFile backup(folder);
    if (const int e = backup.create(name, "backup", O_RDWR, 0600))
        return Fail(QStringLiteral("a backup copy could not be made beside it (%1)").arg(SystemReason(e)));
    long long oldSize = 0;
    QString reason = CopyContent(fd, backup.fd(), FileStep::WriteBackup, oldSize);
    if (reason.isEmpty())
        reason = SyncReason(backup.fd());
    if (!reason.isEmpty())
        return Fail(QStringLiteral("a backup copy could not be made beside it (%1)").arg(reason));

    reason = WriteStep(fd, data, size, 0, FileStep::WriteInPlace);
    if (reason.isEmpty() && ::ftruncate(fd, size) != 0)
        reason = SystemReason(errno);
    KeepModeBits(fd, st);
    if (reason.isEmpty())
        reason = SyncReason(fd);
    if (reason.isEmpty()) {
        backup.discard();
        ::fsync(folder);
        return Done(WriteMethod::InPlace);
    }

    // Put the old bytes back from the backup.
    long long restored = 0;
    QString restoreReason = CopyContent(backup.fd(), fd, FileStep::RestoreFromBackup, restored);
    if (restoreReason.isEmpty() && restored != oldSize)
        restoreReason = QStringLiteral("the backup copy ended early");
    if (restoreReason.isEmpty() && ::ftruncate(fd, oldSize) != 0)
        restoreReason = SystemReason(errno);
    KeepModeBits(fd, st);
    if (restoreReason.isEmpty())
        restoreReason = SyncReason(fd);
    if (restoreReason.isEmpty()) {
        backup.discard();
        return Fail(reason + QStringLiteral("; the file was restored to its old content"));
    }
    // The only copy of the old content is the backup: it stays.
    const QString kept = DecodeFileName(backup.name());
    backup.keep();
    return Fail(reason + QStringLiteral("; putting the old content back failed too (%1), it is kept in \"%2\" beside it")
                             .arg(restoreReason, DisplayName(kept)));
}

// Gives the new file the extended attributes of the old one (access
// control lists are stored as such). 0 when all were copied or the old file
// has none; otherwise the error of the first that could not be: the caller
// then keeps the old file and writes into it.
int CopyExtendedAttributes(int folder, const QByteArray& name, int to)
{
    const int from = ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (from < 0)
        return errno == EACCES ? 0 : errno;   // unreadable: nothing we could copy either way
    Descriptor old(from);
    ssize_t listed = ::flistxattr(from, nullptr, 0);
    if (listed < 0)
        return errno == ENOTSUP ? 0 : errno;
    std::vector<char> names(static_cast<std::size_t>(listed) + 1);
    listed = ::flistxattr(from, names.data(), names.size());
    if (listed < 0)
        return errno;
    std::vector<char> value;
    for (ssize_t i = 0; i < listed;) {
        const char* attribute = names.data() + i;
        i += static_cast<ssize_t>(std::strlen(attribute)) + 1;
        ssize_t length = ::fgetxattr(from, attribute, nullptr, 0);
        if (length < 0)
            return errno;
        value.resize(static_cast<std::size_t>(length) + 1);
        length = ::fgetxattr(from, attribute, value.data(), value.size());
        if (length < 0)
            return errno;
        if (::fsetxattr(to, attribute, value.data(), static_cast<std::size_t>(length), 0) != 0)
            return errno;
    }
    return 0;
}

Attempt ReplaceByRename(int folder, const QByteArray& name, const struct stat& before, const std::uint8_t* data,
                        long long size)
{
    SiblingFile temp(folder);
    if (const int e = temp.create(name, "save", O_WRONLY, 0600))
        return Fail(SystemReason(e));
    struct stat made {};
    if (::fstat(temp.fd(), &made) != 0)
        return Fail(SystemReason(errno));
    if (made.st_uid != before.st_uid || made.st_gid != before.st_gid) {
        if (::fchown(temp.fd(), before.st_uid, before.st_gid) != 0) {
            if (errno != EPERM)
                return Fail(SystemReason(errno));
            // A new file cannot have the old one's owner: keep the old file
            // itself and write into it.
            temp.discard();
            return WriteInPlace(folder, name, before, data, size);
        }
    }
    if (CopyExtendedAttributes(folder, name, temp.fd()) != 0) {
        // The new file could not carry every attribute of the old one.
        temp.discard();
        return WriteInPlace(folder, name, before, data, size);
    }
    QString reason = WriteStep(temp.fd(), data, size, -1, FileStep::WriteTemporary);
    // After the owner and the content: changing the owner, and a write by a
    // program without the right to keep them, clear the set-ID bits.
    if (reason.isEmpty() && ::fchmod(temp.fd(), before.st_mode & 07777) != 0)
        reason = SystemReason(errno);
    if (reason.isEmpty())
        reason = SyncReason(temp.fd());
    if (reason.isEmpty())
        if (const int e = temp.close())
            reason = SystemReason(e);
    if (!reason.isEmpty())
        return Fail(reason);
    struct stat now {};
    if (::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(now.st_mode)
        || !SameInode(now, before))
        return std::nullopt;
    reason = AskFileFault(FileStep::ReplaceTarget, size);
    if (!reason.isEmpty())
        return Fail(reason);
    if (::renameat(folder, temp.name().constData(), folder, name.constData()) != 0)
        return Fail(SystemReason(errno));
    temp.keep();
    ::fsync(folder);
    return Done(WriteMethod::Replaced);
}

Attempt TryWrite(const QByteArray& native, const std::uint8_t* data, long long size, FileAccess access)
{
    const PathFacts facts = InspectPath(native);
    if (facts.Kind == FileKind::Missing && facts.Error != ENOENT)
        return Fail(SystemReason(facts.Error));
    const bool through = facts.Kind == FileKind::NamedPipe || facts.Kind == FileKind::CharDevice;
    if (through && access == FileAccess::FilesAndStreams)
        return WriteThrough(native, data, size);
    if (facts.Kind != FileKind::Missing && facts.Kind != FileKind::Regular)
        return Fail(QStringLiteral("it ") + NotAFileReason(facts));

    QByteArray folderPath, name;
    if (const int e = ResolveTarget(native, folderPath, name))
        return Fail(SystemReason(e));
    const int folderFd = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return Fail(SystemReason(errno));
    Descriptor folder(folderFd);
    struct stat now {};
    const bool exists = ::fstatat(folderFd, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (facts.Kind == FileKind::Missing)
        return exists ? Attempt() : CreateNew(folderFd, name, data, size);
    if (!exists || !S_ISREG(now.st_mode) || !SameInode(now, facts.Stat))
        return std::nullopt;
    if (now.st_nlink > 1)
        return WriteInPlace(folderFd, name, now, data, size);
    return ReplaceByRename(folderFd, name, now, data, size);
}

} // namespace

WriteOutcome WriteWholeFile(const QString& path, const std::uint8_t* data, long long size, FileAccess access)
{
    const std::optional<QByteArray> native = EncodeFileName(path);
    if (!native)
        return Fail(QStringLiteral("no file can have this name"));
    for (int attempt = 0; attempt < Attempts; ++attempt)
        if (Attempt outcome = TryWrite(*native, data, size, access))
            return *outcome;
    return Fail(QStringLiteral("it kept changing while it was being saved"));
}

int WriteToDescriptor(int fd, const char* data, long long size)
{
    PipeSignalGuard guard;
    return WriteRaw(fd, reinterpret_cast<const std::uint8_t*>(data), size, -1);
}

bool SameExistingFile(const QString& a, const QString& b)
{
    const std::optional<QByteArray> first = EncodeFileName(a);
    const std::optional<QByteArray> second = EncodeFileName(b);
    if (!first || !second)
        return false;
    struct stat x {}, y {};
    return ::stat(first->constData(), &x) == 0 && ::stat(second->constData(), &y) == 0 && SameInode(x, y);
}
