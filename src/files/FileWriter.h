#pragma once
// The one writer of whole files. Whatever fails, the target keeps its old
// content byte for byte and no temporary or backup file is left beside it;
// an existing target that is not a regular file is never replaced.
//
// - A regular file (or a symbolic link to one; the link is followed) gets a
//   temporary file beside it with the file's owner, group and permission
//   bits, which is written, flushed and renamed over it.
// - A file with more than one hard link, or whose owner and group this
//   program cannot give to a new file, is written in place instead: a full
//   backup copy is made beside it first, and if anything fails on the way
//   the old bytes are copied back from it. The backup is removed at the end;
//   only when even the copying back fails does it stay, and the reason names it.
// - A name that does not exist yet is created the same way as a temporary
//   file renamed into place, so it never exists half-written.
// - A named pipe or character device is written through (opened and
//   written, never replaced) when FileAccess::FilesAndStreams allows it, so
//   "-o /dev/null" works; else it is refused, like a folder, socket or block
//   device always is.
// - Temporary and backup names that would exceed the folder's name limit
//   fall back to short ones in the same folder.
#include "files/FileReader.h"

#include <QString>

#include <cstdint>

enum class WriteMethod {
    Refused,  // nothing was written
    Created,  // a new file, renamed into place
    Replaced, // a temporary file renamed over the old one
    InPlace,  // overwritten in place, with a backup copy while it happened
    Through,  // written through a device or named pipe
};

struct WriteOutcome {
    bool Ok = false;
    WriteMethod Method = WriteMethod::Refused;
    // Why it failed, as a clause after "Could not save "P": " ("No space left
    // on device", "it is a named pipe, not a file").
    QString Reason;
};

WriteOutcome WriteWholeFile(const QString& path, const std::uint8_t* data, long long size, FileAccess access);

// Writes all bytes to an open descriptor (standard output, standard
// error); returns 0 or the errno of the write that failed.
int WriteToDescriptor(int fd, const char* data, long long size);

// True when both names lead to one existing file (the same inode).
bool SameExistingFile(const QString& a, const QString& b);
