#pragma once
// What a path names, found without opening it: stat() follows symbolic
// links, lstat() tells whether the name itself is one. Opening a named pipe
// for reading blocks until someone writes, so this is always asked first.
#include <QByteArray>
#include <QString>

#include <sys/stat.h>

enum class FileKind { Missing, Regular, Directory, NamedPipe, Socket, CharDevice, BlockDevice, Other };

struct PathFacts {
    FileKind Kind = FileKind::Missing;
    int Error = 0;          // errno of stat() when Kind is Missing (ENOENT, EACCES, ELOOP ...)
    bool Link = false;      // the name itself is a symbolic link
    struct stat Stat {};    // of what the name leads to, when it exists
};

PathFacts InspectPath(const QByteArray& nativePath);
FileKind KindOf(mode_t mode);

// "a folder", "a named pipe", "a socket", "a character device", ...
QString KindName(FileKind kind);

// "is a named pipe, not a file" or "is a symbolic link to a named pipe, not a file".
QString NotAFileReason(const PathFacts& facts);

// True when both stat results name the same file.
inline bool SameInode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
