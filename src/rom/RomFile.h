#pragma once
// Moving the cartridge image between disk and memory, whole, through the
// file layer's one reader and one writer (src/files).
#include "files/FileReader.h"
#include "rom/RomBytes.h"

#include <QString>

// Largest file the editor will take as an image.
constexpr qint64 MaxRomFileSize = 16 * 1024 * 1024;

// Reads the whole file. On failure returns false, leaves `out` untouched and
// sets `error` to a sentence for the user that names the path and the
// reason (not a file but a named pipe, empty, too large, the system's
// reason). The editor takes regular files only; the command line also
// named pipes and standard input ("-", "/dev/stdin"), read to their end.
bool LoadRomFile(const QString& path, RomBytes& out, QString& error,
                 FileAccess access = FileAccess::FilesOnly);

// The sentence LoadRomFile gives for a failed read.
QString LoadFailureText(const QString& path, const ReadOutcome& outcome);

// Writes all bytes of the image to `path` so that a failure leaves the old
// file as it was (see files/FileWriter.h): owner, group, permission bits and
// hard links are kept, and what is not a regular file is never replaced.
// The editor refuses devices and named pipes; the command line writes
// through them. The result has exactly rom.size() bytes.
bool SaveRomFile(const QString& path, const RomBytes& rom, QString& error,
                 FileAccess access = FileAccess::FilesOnly);

// A seam around the file layer for failure-injection tests: when set, it is
// called with the number of bytes about to be written into the new file or
// over the old one (by rename or in place) and may return an error text to
// make the write fail at that point. files/FileFaults.h reaches every step.
using RomWriteFault = QString (*)(qint64 bytesToWrite);
void SetRomWriteFault(RomWriteFault fault);
