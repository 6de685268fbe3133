#pragma once
// Reading a patch file whole.
#include "patch/Patch.h"

// Largest patch file read: room for an image of the largest size in either
// format, with all of its bytes changed.
constexpr std::int64_t MaxPatchFileSize = 32 * 1024 * 1024;

// Reads the whole file. On failure returns false, leaves `out` untouched and
// sets `error` to a sentence for the user (empty file, too large, system reason).
bool LoadPatchFile(const QString& path, ByteVector& out, QString& error);
