#include "PatchCommand.h"

#include "CliArguments.h"
#include "ZoneArguments.h"
#include "patch/PatchFile.h"
#include "rom/Crc32.h"
#include "rom/RomFile.h"

#include <QFileInfo>

namespace {

QString Crc(std::uint32_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

QString Hex(std::int64_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

// Only a regular file (or a new one) is replaced by the output.
bool RefuseSpecialOutput(const QString& output, QString& error)
{
    const QFileInfo info(output);
    if (!info.exists() || info.isFile())
        return false;
    error = QStringLiteral("\"%1\" is not a regular file; it was left as it is.").arg(output);
    return true;
}

int RunCreate(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {{"-o", true}, {"--format", true}});
    if (a.ok() && a.plain().size() != 2)
        a.fail(QStringLiteral("create needs the original and the modified image (got %1 files)").arg(a.plain().size()));
    if (a.ok() && !a.has("-o"))
        a.fail(QStringLiteral("-o OUT is missing"));
    const QString output = a.value("-o");
    if (a.ok() && output.isEmpty())
        a.fail(QStringLiteral("the output file name is empty"));
    std::optional<PatchFormat> format;
    if (a.ok() && a.has("--format")) {
        format = PatchFormatFromName(a.value("--format"));
        if (!format)
            a.fail(QStringLiteral("--format must be ips or bps, not \"%1\"").arg(a.value("--format")));
    }
    const std::optional<PatchFormat> named = PatchFormatFromPath(output);
    if (a.ok() && format && named && *format != *named)
        a.fail(QStringLiteral("--format %1 does not match the extension of %2").arg(a.value("--format"), output));
    if (a.ok() && !format && !named)
        a.fail(QStringLiteral("say the format: OUT must end in .ips or .bps, or give --format ips|bps"));
    if (a.ok() && (SameFile(output, a.plain().at(0)) || SameFile(output, a.plain().at(1))))
        a.fail(QStringLiteral("-o names one of the images"));
    if (!a.ok())
        return UsageError(err, a.reason(), &PatchCommand);

    const PatchFormat chosen = format ? *format : *named;
    RomBytes original, modified;
    QString error;
    if (RefuseSpecialOutput(output, error))
        return Failure(err, error);
    if (!LoadRomFile(a.plain().at(0), original, error) || !LoadRomFile(a.plain().at(1), modified, error))
        return Failure(err, error);
    const std::optional<ByteVector> patch = CreatePatch(chosen, original.bytes(), modified.bytes(), error);
    if (!patch)
        return Failure(err, error);
    if (!SaveRomFile(output, RomBytes(*patch), error))
        return Failure(err, error);
    out << "wrote " << PatchFormatName(chosen) << " patch of " << patch->size() << " bytes to " << output << "\n";
    return ExitOk;
}

int RunApply(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {{"-o", true}, {"--force", false}});
    if (a.ok() && a.plain().size() != 2)
        a.fail(QStringLiteral("apply needs the patch and the image (got %1 files)").arg(a.plain().size()));
    if (a.ok() && a.has("-o") && a.value("-o").isEmpty())
        a.fail(QStringLiteral("the output file name is empty"));
    if (a.ok() && a.has("-o") && SameFile(a.value("-o"), a.plain().at(0)))
        a.fail(QStringLiteral("-o names the patch itself"));
    if (!a.ok())
        return UsageError(err, a.reason(), &PatchCommand);

    const QString& patchPath = a.plain().at(0);
    const QString& imagePath = a.plain().at(1);
    const QString output = a.has("-o") ? a.value("-o") : imagePath;
    ByteVector patch;
    RomBytes image;
    QString error;
    if (RefuseSpecialOutput(output, error))
        return Failure(err, error);
    if (!LoadPatchFile(patchPath, patch, error) || !LoadRomFile(imagePath, image, error))
        return Failure(err, error);
    PatchApplyOptions options;
    options.ignoreSourceMismatch = a.has("--force");
    const PatchApplyResult result = ApplyPatch(patch, image.bytes(), options, error);
    if (!result.image) {
        if (result.sourceMismatch)
            error += QStringLiteral(" --force applies it all the same.");
        return Failure(err, QStringLiteral("\"%1\": %2 \"%3\" was not changed.").arg(patchPath, error, imagePath));
    }
    if (result.sourceMismatch) {
        err << "vorned-cli: warning: this patch was made for another image; applied because of --force.\n";
        if (result.targetMismatch)
            err << "vorned-cli: warning: the result is not the image the patch was made to give (its CRC-32 differs).\n";
        err.flush();
    }
    const std::int64_t newSize = std::int64_t(result.image->size());
    if (!SaveRomFile(output, RomBytes(*result.image), error))
        return Failure(err, error);
    out << "applied " << PatchFormatName(*DetectPatchFormat(patch)) << " patch to " << imagePath;
    if (output != imagePath)
        out << ", wrote " << output;
    out << " (" << image.size() << " -> " << newSize << " bytes)\n";
    return ExitOk;
}

void PrintInfo(const PatchInfo& info, QTextStream& out)
{
    out << "format: " << PatchFormatName(info.format) << "\n";
    out << "patch size: " << info.patchSize << " bytes\n";
    if (info.format == PatchFormat::Ips) {
        out << "records: " << info.records << " (" << info.runRecords << " runs)\n";
        if (info.writeEnd > 0)
            out << "writes up to: " << Hex(info.writeEnd - 1) << "\n";
        if (info.truncateTo)
            out << "truncates to: " << *info.truncateTo << " bytes\n";
        out << "checksums: none (IPS carries none)\n";
    } else {
        out << "source size: " << info.sourceSize << " bytes\n";
        out << "target size: " << info.targetSize << " bytes\n";
        out << "metadata: " << info.metadata.size() << " bytes\n";
        out << "actions: " << info.records << " (SourceRead " << info.actionCounts[0] << ", TargetRead "
            << info.actionCounts[1] << ", SourceCopy " << info.actionCounts[2] << ", TargetCopy "
            << info.actionCounts[3] << ")\n";
        out << "source CRC-32: " << Crc(info.sourceCrc) << "\n";
        out << "target CRC-32: " << Crc(info.targetCrc) << "\n";
        out << "patch CRC-32: " << Crc(info.patchCrc)
            << (info.patchCrcHolds() ? QStringLiteral(" (holds)")
                                     : QStringLiteral(" (does not hold: the patch's bytes give %1)").arg(Crc(info.patchCrcActual)))
            << "\n";
    }
    if (info.withImage) {
        out << "image: " << info.imageSize << " bytes, CRC-32 " << Crc(info.imageCrc) << "\n";
        if (info.format == PatchFormat::Bps)
            out << "source: " << (info.sourceMatches ? "the image matches" : "the patch was made for another image")
                << "\n";
        if (info.applies)
            out << "result: " << info.resultSize << " bytes, CRC-32 " << Crc(info.resultCrc) << "\n";
        else
            out << "result: the patch does not apply to this image\n";
    }
}

int RunInfo(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {});
    if (a.ok() && (a.plain().isEmpty() || a.plain().size() > 2))
        a.fail(QStringLiteral("info needs the patch, and may take an image (got %1 files)").arg(a.plain().size()));
    if (!a.ok())
        return UsageError(err, a.reason(), &PatchCommand);

    ByteVector patch;
    RomBytes image;
    QString error;
    if (!LoadPatchFile(a.plain().at(0), patch, error))
        return Failure(err, error);
    const bool withImage = a.plain().size() == 2;
    if (withImage && !LoadRomFile(a.plain().at(1), image, error))
        return Failure(err, error);
    const std::optional<PatchInfo> info =
        InspectPatch(patch, withImage ? std::optional<ByteView>(image.bytes()) : std::nullopt, error);
    if (!info)
        return Failure(err, QStringLiteral("\"%1\": %2").arg(a.plain().at(0), error));
    PrintInfo(*info, out);
    out.flush();
    if (!info->patchCrcHolds())
        return Failure(err, QStringLiteral("\"%1\" is damaged: its checksum does not hold").arg(a.plain().at(0)));
    if (withImage && !info->applies)
        return Failure(err, QStringLiteral("\"%1\" does not apply to \"%2\"").arg(a.plain().at(0), a.plain().at(1)));
    return ExitOk;
}

int RunPatch(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty())
        return UsageError(err, QStringLiteral("say what to do: create, apply or info"), &PatchCommand);
    const QString& action = args.first();
    if (action == QLatin1String("create"))
        return RunCreate(args.mid(1), out, err);
    if (action == QLatin1String("apply"))
        return RunApply(args.mid(1), out, err);
    if (action == QLatin1String("info"))
        return RunInfo(args.mid(1), out, err);
    return UsageError(err, QStringLiteral("unknown patch action \"%1\" (create, apply or info)").arg(action),
                      &PatchCommand);
}

} // namespace

const CliCommand PatchCommand{
    "patch",
    "patch create ORIGINAL MODIFIED -o OUT [--format ips|bps]\n"
    "patch apply PATCH IMAGE [-o OUT] [--force]\n"
    "patch info PATCH [IMAGE]",
    "Makes, applies and describes IPS and BPS patches of images.",
    "  create        writes the patch that turns ORIGINAL into MODIFIED to OUT; the\n"
    "                format is OUT's extension (.ips or .bps) or --format\n"
    "  apply         applies PATCH (IPS or BPS, told by its first bytes) to IMAGE and\n"
    "                saves IMAGE, or writes OUT with -o and leaves IMAGE as it is\n"
    "  --force       apply a BPS patch made for another image (its source size or\n"
    "                CRC-32 differs); the patch's own checksum must still hold\n"
    "  info          prints the format, sizes, records or actions and checksums of\n"
    "                PATCH and whether they hold; with IMAGE also whether the patch\n"
    "                applies to it and what it gives\n"
    "\n"
    "IPS carries no checksums: it applies to any image. BPS names the image it was\n"
    "made for by its size and CRC-32 and refuses any other unless --force is given.\n"
    "Images are at most 16 MiB. Every check runs before anything is written; files\n"
    "are written atomically (a temporary file renamed over the target).\n"
    "\n"
    "Exit status: 0 done; 1 a file could not be read or written, or the patch was\n"
    "refused (malformed, damaged, made for another image), with IMAGE left as it\n"
    "was; for info also when a checksum does not hold; 2 bad arguments.\n",
    RunPatch};
