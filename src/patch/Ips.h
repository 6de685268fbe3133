#pragma once
// IPS: "PATCH", records of a 3-byte big-endian offset, a 2-byte size and the
// data (size 0: a run, a 2-byte count and one value), "EOF", then a 3-byte
// length when the target is shorter than the source.
#include "patch/Patch.h"

// The offset whose three bytes read as "EOF": no record may start there.
constexpr std::int64_t IpsEofOffset = 0x454F46;
constexpr std::int64_t IpsMaxRecordSize = 0xFFFF;

std::optional<ByteVector> CreateIps(ByteView original, ByteView modified, QString& error);

// Walks every record of `patch`, filling the IPS fields of `info`. With
// `image` set (a copy of the image to patch) the records are applied to it:
// bytes past its end grow it (a gap reads as zeros) and a truncation length
// shorter than it cuts it. On a malformed patch returns false with `error`;
// `image` may then be half-patched, so callers pass a copy they drop.
bool ReadIps(ByteView patch, ByteVector* image, PatchInfo& info, QString& error);
