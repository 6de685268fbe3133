#include "files/FileKind.h"

#include <cerrno>

FileKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Directory;
    if (S_ISFIFO(mode))
        return FileKind::NamedPipe;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    if (S_ISCHR(mode))
        return FileKind::CharDevice;
    if (S_ISBLK(mode))
        return FileKind::BlockDevice;
    return FileKind::Other;
}

PathFacts InspectPath(const QByteArray& nativePath)
{
    PathFacts facts;
    struct stat own {};
    facts.Link = ::lstat(nativePath.constData(), &own) == 0 && S_ISLNK(own.st_mode);
    if (::stat(nativePath.constData(), &facts.Stat) != 0) {
        facts.Error = errno;
        facts.Kind = FileKind::Missing;
        return facts;
    }
    facts.Kind = KindOf(facts.Stat.st_mode);
    return facts;
}

QString KindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Missing: return QStringLiteral("missing");
    case FileKind::Regular: return QStringLiteral("a file");
    case FileKind::Directory: return QStringLiteral("a folder");
    case FileKind::NamedPipe: return QStringLiteral("a named pipe");
    case FileKind::Socket: return QStringLiteral("a socket");
    case FileKind::CharDevice: return QStringLiteral("a character device");
    case FileKind::BlockDevice: return QStringLiteral("a block device");
    case FileKind::Other: break;
    }
    return QStringLiteral("a special file");
}

QString NotAFileReason(const PathFacts& facts)
{
    if (facts.Link)
        return QStringLiteral("is a symbolic link to %1, not a file").arg(KindName(facts.Kind));
    return QStringLiteral("is %1, not a file").arg(KindName(facts.Kind));
}
