#include "patch/Patch.h"

#include "patch/Bps.h"
#include "patch/Ips.h"
#include "rom/Crc32.h"
#include "rom/RomFile.h"

#include <QFileInfo>

#include <cstring>

namespace {

QString Crc(std::uint32_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

std::uint32_t CrcOf(ByteView bytes)
{
    return Crc32(bytes.data(), bytes.size());
}

QString NotAPatch(ByteView patch)
{
    if (patch.empty())
        return QStringLiteral("The patch is empty.");
    return QStringLiteral("This is not an IPS or BPS patch: it starts neither with \"PATCH\" nor with \"BPS1\".");
}

bool RefuseEmptyResult(const ByteVector& image, QString& error)
{
    if (!image.empty())
        return false;
    error = QStringLiteral("The patch would leave an empty image; nothing was applied.");
    return true;
}

// A BPS patch whose own checksum fails is told as damaged first, whatever
// else is wrong with it.
void TellDamage(const PatchInfo& info, QString& error)
{
    if (!info.patchCrcHolds())
        error = QStringLiteral("The BPS patch is damaged: its checksum is %1, but its bytes give %2. %3")
                    .arg(Crc(info.patchCrc), Crc(info.patchCrcActual), error);
}

PatchApplyResult ApplyIpsPatch(ByteView patch, ByteView image, QString& error)
{
    PatchApplyResult result;
    PatchInfo info;
    ByteVector out(image.begin(), image.end());
    if (!ReadIps(patch, &out, info, error) || RefuseEmptyResult(out, error))
        return result;
    result.image = std::move(out);
    return result;
}

QString SourceMismatchText(const PatchInfo& info, ByteView image)
{
    return QStringLiteral("This patch was made for another image: it expects %1 bytes with CRC-32 %2, "
                          "the image has %3 bytes with CRC-32 %4.")
        .arg(info.sourceSize)
        .arg(Crc(info.sourceCrc))
        .arg(image.size())
        .arg(Crc(CrcOf(image)));
}

PatchApplyResult ApplyBpsPatch(ByteView patch, ByteView image, const PatchApplyOptions& options, QString& error)
{
    PatchApplyResult result;
    PatchInfo info;
    std::int64_t actionsStart = 0;
    if (!ReadBpsHeader(patch, info, actionsStart, error)) {
        TellDamage(info, error);
        return result;
    }
    if (!info.patchCrcHolds()) {
        error = QStringLiteral("The BPS patch is damaged: its checksum is %1, but its bytes give %2.")
                    .arg(Crc(info.patchCrc), Crc(info.patchCrcActual));
        return result;
    }
    if (info.targetSize > MaxRomFileSize) {
        error = QStringLiteral("The BPS patch makes an image of %1 bytes, more than the 16 MiB (%2 bytes) an image "
                               "may have.").arg(info.targetSize).arg(MaxRomFileSize);
        return result;
    }
    if (info.targetSize == 0) {
        RefuseEmptyResult(ByteVector(), error);
        return result;
    }
    result.sourceMismatch = info.sourceSize != std::int64_t(image.size()) || info.sourceCrc != CrcOf(image);
    if (result.sourceMismatch && !options.ignoreSourceMismatch) {
        // A malformed patch is told as such, before the question of the image.
        PatchInfo walked = info;
        if (!RunBps(patch, actionsStart, walked, nullptr, nullptr, error))
            return result;
        error = SourceMismatchText(info, image);
        return result;
    }
    ByteVector out;
    if (!RunBps(patch, actionsStart, info, &image, &out, error))
        return result;
    if (CrcOf(out) != info.targetCrc) {
        if (!result.sourceMismatch) {
            error = QStringLiteral("The BPS patch is damaged: the image it makes has CRC-32 %1, not the %2 it "
                                   "gives; nothing was applied.").arg(Crc(CrcOf(out)), Crc(info.targetCrc));
            return result;
        }
        result.targetMismatch = true;
    }
    result.image = std::move(out);
    return result;
}

} // namespace

QString PatchFormatName(PatchFormat format)
{
    return format == PatchFormat::Ips ? QStringLiteral("IPS") : QStringLiteral("BPS");
}

std::optional<PatchFormat> PatchFormatFromName(const QString& name)
{
    if (name.compare(QLatin1String("ips"), Qt::CaseInsensitive) == 0)
        return PatchFormat::Ips;
    if (name.compare(QLatin1String("bps"), Qt::CaseInsensitive) == 0)
        return PatchFormat::Bps;
    return std::nullopt;
}

std::optional<PatchFormat> PatchFormatFromPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? std::nullopt : PatchFormatFromName(suffix);
}

std::optional<PatchFormat> DetectPatchFormat(ByteView patch)
{
    if (patch.size() >= 5 && std::memcmp(patch.data(), "PATCH", 5) == 0)
        return PatchFormat::Ips;
    if (patch.size() >= 4 && std::memcmp(patch.data(), "BPS1", 4) == 0)
        return PatchFormat::Bps;
    return std::nullopt;
}

std::optional<ByteVector> CreatePatch(PatchFormat format, ByteView original, ByteView modified, QString& error)
{
    return format == PatchFormat::Ips ? CreateIps(original, modified, error) : CreateBps(original, modified, error);
}

PatchApplyResult ApplyPatch(ByteView patch, ByteView image, const PatchApplyOptions& options, QString& error)
{
    if (std::int64_t(image.size()) > MaxRomFileSize) {
        error = QStringLiteral("The image has %1 bytes, more than the 16 MiB (%2 bytes) an image may have.")
                    .arg(image.size()).arg(MaxRomFileSize);
        return {};
    }
    switch (DetectPatchFormat(patch).value_or(PatchFormat(-1))) {
    case PatchFormat::Ips:
        return ApplyIpsPatch(patch, image, error);
    case PatchFormat::Bps:
        return ApplyBpsPatch(patch, image, options, error);
    }
    error = NotAPatch(patch);
    return {};
}

std::optional<PatchInfo> InspectPatch(ByteView patch, std::optional<ByteView> image, QString& error)
{
    const std::optional<PatchFormat> format = DetectPatchFormat(patch);
    if (!format) {
        error = NotAPatch(patch);
        return std::nullopt;
    }
    PatchInfo info;
    if (*format == PatchFormat::Ips) {
        if (!ReadIps(patch, nullptr, info, error))
            return std::nullopt;
    } else {
        std::int64_t actionsStart = 0;
        if (!ReadBpsHeader(patch, info, actionsStart, error) ||
            !RunBps(patch, actionsStart, info, nullptr, nullptr, error)) {
            TellDamage(info, error);
            return std::nullopt;
        }
    }
    if (image) {
        info.withImage = true;
        info.imageSize = std::int64_t(image->size());
        info.imageCrc = CrcOf(*image);
        info.sourceMatches = *format == PatchFormat::Ips ||
                             (info.sourceSize == info.imageSize && info.sourceCrc == info.imageCrc);
        QString why;
        PatchApplyResult applied = ApplyPatch(patch, *image, PatchApplyOptions{}, why);
        if (!applied.image && applied.sourceMismatch)
            applied = ApplyPatch(patch, *image, PatchApplyOptions{true}, why);
        else
            info.applies = applied.image.has_value();
        if (applied.image) {
            info.resultSize = std::int64_t(applied.image->size());
            info.resultCrc = CrcOf(*applied.image);
        }
    }
    return info;
}
