#pragma once
// Moving the cartridge image between disk and memory, whole.
#include "rom/RomBytes.h"

#include <QString>

// Largest file the editor will take as an image.
constexpr qint64 MaxRomFileSize = 16 * 1024 * 1024;

// Reads the whole file. On failure returns false, leaves `out` untouched and
// sets `error` to a sentence for the user (empty file, too large, system reason).
bool LoadRomFile(const QString& path, RomBytes& out, QString& error);

// Writes all bytes of the image to `path` atomically: a temporary file beside
// the target is written, flushed and renamed over it, so a failure leaves the
// old file as it was. The result has exactly rom.size() bytes.
bool SaveRomFile(const QString& path, const RomBytes& rom, QString& error);

// A seam around the file layer for failure-injection tests: when set, it is
// called with the number of bytes about to be written and may return an error
// text to make the write fail at that point.
using RomWriteFault = QString (*)(qint64 bytesToWrite);
void SetRomWriteFault(RomWriteFault fault);
