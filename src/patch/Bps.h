#pragma once
// BPS: "BPS1", the source size, target size and metadata size as variable-
// length numbers, the metadata, then actions (length - 1 shifted left by 2,
// kind in the low two bits; the copies carry a signed relative offset, sign
// in bit 0), then the CRC-32 of the source, of the target and of the patch
// before its own checksum, little-endian.
#include "patch/Patch.h"

enum BpsAction : int { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Appends `value` as a variable-length number: 7 bits a byte, low bits
// first, the high bit ending the number, each continuation adding one.
void AppendBpsNumber(ByteVector& out, std::uint64_t value);

std::optional<ByteVector> CreateBps(ByteView source, ByteView target, QString& error);

// Reads the header, metadata and checksums into `info` (BPS fields, patch
// CRC included) and sets `actionsStart` to the first action's byte. False
// with `error` when the patch is not BPS or its header is cut or malformed.
bool ReadBpsHeader(ByteView patch, PatchInfo& info, std::int64_t& actionsStart, QString& error);

// Walks every action after the header read by ReadBpsHeader, counting them
// into `info`, and checks each against the sizes the header gives. With
// `source` and `target` set the actions also run: `target` becomes the
// target (sized as the header says) and everything read from `source` must
// lie inside it. False with `error` at the first action that does not fit.
bool RunBps(ByteView patch, std::int64_t actionsStart, PatchInfo& info, const ByteView* source,
            ByteVector* target, QString& error);
