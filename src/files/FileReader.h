#pragma once
// The one reader of whole files. The path is looked at first (stat, never an
// open that could block); only a regular file is opened, except that a
// command-line program may also take a named pipe or standard input as a
// stream. Whatever it is, the reading stops after maxBytes + 1 bytes.
#include "files/FileKind.h"

#include <QString>

#include <cstdint>
#include <vector>

// Which inputs a reader or writer takes besides regular files.
enum class FileAccess {
    FilesOnly,       // regular files (and symbolic links to them) only: the editor
    FilesAndStreams, // also named pipes, and for reading "-" / "/dev/stdin": the command line
};

enum class ReadStatus {
    Read,       // Bytes holds the whole content
    BadName,    // no file can have this name (empty, NUL, unpaired surrogate)
    CannotOpen, // stat() or open() failed: Error
    NotAFile,   // a folder, pipe, socket or device (Facts tells which)
    Empty,      // no bytes at all
    TooLarge,   // more than maxBytes (Size: the size stat() reported, -1 for a stream)
    CannotRead, // read() failed: Error
};

struct ReadOutcome {
    ReadStatus Status = ReadStatus::Read;
    int Error = 0;
    PathFacts Facts;
    long long Size = -1;
    bool Stream = false;        // read as a stream (standard input or a named pipe)
    bool StandardInput = false; // the name stands for standard input
    std::vector<std::uint8_t> Bytes;
};

ReadOutcome ReadWholeFile(const QString& path, long long maxBytes, FileAccess access);

// "standard input" for the names of standard input, else the name in
// quotes as DisplayName shows it.
QString QuotedName(const QString& path);
