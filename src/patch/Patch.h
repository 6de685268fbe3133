#pragma once
// Patches: the difference between two cartridge images as a small file that
// anyone applies to their own copy, in one of two formats, IPS and BPS.
// Nothing here changes its inputs: creating returns the patch bytes, applying
// returns the new image bytes, and either refuses with a reason for the user.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

using ByteView = std::span<const std::uint8_t>;
using ByteVector = std::vector<std::uint8_t>;

enum class PatchFormat { Ips, Bps };

// "IPS" or "BPS".
QString PatchFormatName(PatchFormat format);

// The format named by a file's extension (".ips", ".bps", any case).
std::optional<PatchFormat> PatchFormatFromPath(const QString& path);
// The format named by a word ("ips", "bps", any case).
std::optional<PatchFormat> PatchFormatFromName(const QString& name);

// The format a patch's first bytes announce ("PATCH" or "BPS1").
std::optional<PatchFormat> DetectPatchFormat(ByteView patch);

// The patch that turns `original` into `modified`. Both must be at most
// MaxRomFileSize bytes and `modified` not empty.
std::optional<ByteVector> CreatePatch(PatchFormat format, ByteView original, ByteView modified, QString& error);

struct PatchApplyOptions {
    // BPS: apply a patch made for another image (its source size or CRC-32
    // differs from the image's). The patch's own checksum must still hold and
    // everything it reads must lie inside the image.
    bool ignoreSourceMismatch = false;
};

struct PatchApplyResult {
    // The patched image; empty when the patch was refused.
    std::optional<ByteVector> image;
    // BPS: the patch was made for another image. Without ignoreSourceMismatch
    // it was refused for that reason (and `image` is empty).
    bool sourceMismatch = false;
    // BPS applied despite a source mismatch: the result is not the image the
    // patch was made to give (its CRC-32 differs from the patch's).
    bool targetMismatch = false;
};

// Applies `patch` (IPS or BPS, told by its first bytes) to a copy of `image`.
// Every check runs before a result is given: a damaged, cut or foreign patch,
// one that would write past 16 MiB or leave an empty image, and a BPS patch
// whose checksums do not hold are refused with `error` set.
PatchApplyResult ApplyPatch(ByteView patch, ByteView image, const PatchApplyOptions& options, QString& error);

// What a patch holds, as far as it can be told without applying it, and,
// when an image was given, how it fits that image.
struct PatchInfo {
    PatchFormat format = PatchFormat::Ips;
    std::int64_t patchSize = 0;
    // IPS: records (runs included); BPS: actions.
    std::int64_t records = 0;

    // IPS: records that are runs of one value; the end of the highest byte
    // written (0 when none); the truncation length, when the patch has one.
    std::int64_t runRecords = 0;
    std::int64_t writeEnd = 0;
    std::optional<std::int64_t> truncateTo;

    // BPS: the sizes in its header, its metadata, its actions by kind
    // (SourceRead, TargetRead, SourceCopy, TargetCopy) and its checksums;
    // `patchCrcActual` is the CRC-32 of the patch's own bytes.
    std::int64_t sourceSize = 0;
    std::int64_t targetSize = 0;
    ByteVector metadata;
    std::array<std::int64_t, 4> actionCounts{};
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
    std::uint32_t patchCrc = 0;
    std::uint32_t patchCrcActual = 0;

    // With an image: its size and CRC-32, whether it is the patch's source
    // (BPS), and what applying the patch to it gives.
    bool withImage = false;
    std::int64_t imageSize = 0;
    std::uint32_t imageCrc = 0;
    bool sourceMatches = false;
    bool applies = false;          // the patch can be applied (without forcing)
    std::int64_t resultSize = 0;   // when it can be applied, even if forced
    std::uint32_t resultCrc = 0;

    bool patchCrcHolds() const { return patchCrc == patchCrcActual; }
};

// Reads the patch's structure and checksums. A patch that is not IPS or BPS,
// or whose records or actions are malformed, gives nothing and sets `error`;
// a BPS patch whose checksum does not hold is described (patchCrcHolds()).
std::optional<PatchInfo> InspectPatch(ByteView patch, std::optional<ByteView> image, QString& error);
