#include "TilesCommand.h"

#include "CliArguments.h"
#include "PngOutput.h"
#include "ZoneArguments.h"
#include "files/FileNames.h"
#include "gfx/TilePng.h"
#include "rom/RomFile.h"

namespace {

int RunExport(CliArguments& a, QTextStream& out, QTextStream& err)
{
    const std::optional<int> zone = a.number("--zone", 1, ZoneCount);
    if (a.ok() && a.plain().size() != 2)
        a.fail(QStringLiteral("export needs exactly one image to read (got %1)").arg(a.plain().size() - 1));
    if (a.ok() && !a.has("-o"))
        a.fail(QStringLiteral("-o OUT.png is missing"));
    const QString output = a.value("-o");
    if (a.ok() && output.isEmpty())
        a.fail(QStringLiteral("the output file name is empty"));
    if (a.ok() && SameFile(output, a.plain().at(1)))
        a.fail(QStringLiteral("-o names the image itself"));
    if (!a.ok())
        return UsageError(err, a.reason(), &TilesCommand);

    const QString& path = a.plain().at(1);
    RomBytes rom;
    QString error;
    // As render reads it: a named pipe or standard input will do.
    if (!LoadRomFile(path, rom, error, FileAccess::FilesAndStreams))
        return Failure(err, error);
    ZoneTableArray zones;
    BuildZoneTable(rom, zones);
    QString reason;
    const QImage picture = ZoneTilesPicture(LevelContext{rom, zones, *zone - 1}, reason);
    if (picture.isNull())
        return Failure(err, QStringLiteral("the tiles of zone %1 of \"%2\" cannot be exported: %3")
                                .arg(*zone).arg(DisplayName(path), reason));
    if (!SavePng(output, picture, error))
        return Failure(err, error);
    out << "wrote the 256 tiles of zone " << *zone << " (128 x 128 pixels, 4 colours, indexed) to "
        << DisplayName(output) << "\n";
    return ExitOk;
}

int RunImport(CliArguments& a, QTextStream& out, QTextStream& err)
{
    const std::optional<int> zone = a.number("--zone", 1, ZoneCount);
    if (a.ok() && a.plain().size() != 3)
        a.fail(QStringLiteral("import needs the image to change and the PNG file to read (got %1 names)")
                   .arg(a.plain().size() - 1));
    if (a.ok() && a.has("-o"))
        a.fail(QStringLiteral("import writes the image itself; -o does not apply"));
    if (a.ok() && SameFile(a.plain().at(1), a.plain().at(2)))
        a.fail(QStringLiteral("the PNG file is the image itself"));
    if (!a.ok())
        return UsageError(err, a.reason(), &TilesCommand);

    const QString& path = a.plain().at(1);
    const QString& pngPath = a.plain().at(2);
    RomBytes rom;
    QString error;
    if (!LoadRomFile(path, rom, error))
        return Failure(err, error);
    QByteArray png;
    if (!ReadTilesPngFile(pngPath, png, error, FileAccess::FilesAndStreams))
        return Failure(err, error);
    ZoneTableArray zones;
    BuildZoneTable(rom, zones);
    QString reason;
    const auto writes = TileImportWrites(LevelContext{rom, zones, *zone - 1}, png, reason);
    if (!writes)
        return Failure(err, QStringLiteral("\"%1\" was not imported into zone %2: %3; \"%4\" was not changed")
                                .arg(DisplayName(pngPath)).arg(*zone).arg(reason, DisplayName(path)));
    int changed = 0;
    for (const ByteWrite& w : *writes) {
        changed += rom.read(w.Offset) != w.Value;
        rom.write(w.Offset, w.Value);
    }
    if (changed == 0) {
        out << "\"" << DisplayName(pngPath) << "\" holds the tiles of zone " << *zone << " as they are; \""
            << DisplayName(path) << "\" was not written\n";
        return ExitOk;
    }
    if (!SaveRomFile(path, rom, error))
        return Failure(err, error);
    const std::int64_t bank = writes->front().Offset;
    out << "imported the 256 tiles of zone " << *zone << " from " << DisplayName(pngPath) << ": " << changed
        << " bytes of the tile bank at 0x" << QString::number(bank, 16).toUpper() << " changed, "
        << DisplayName(path) << " saved\n";
    return ExitOk;
}

int RunTiles(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {{"--zone", true}, {"-o", true}});
    if (!a.ok())
        return UsageError(err, a.reason(), &TilesCommand);
    const QString action = a.plain().isEmpty() ? QString() : a.plain().first();
    if (action == QLatin1String("export"))
        return RunExport(a, out, err);
    if (action == QLatin1String("import"))
        return RunImport(a, out, err);
    return UsageError(err,
                      action.isEmpty() ? QStringLiteral("say export or import")
                                       : QStringLiteral("unknown action \"%1\" (export or import)").arg(action),
                      &TilesCommand);
}

} // namespace

const CliCommand TilesCommand{
    "tiles",
    "tiles export IMAGE --zone N -o TILES.png\n"
    "tiles import IMAGE --zone N TILES.png",
    "Writes the 256 tiles of a zone as a PNG file, or reads them back into IMAGE.",
    "  --zone N       the zone, 1 to 7\n"
    "  -o TILES.png   (export) the PNG file to write; written atomically, a device\n"
    "                 or named pipe is written through (-o /dev/stdout)\n"
    "\n"
    "The picture is 128 x 128 pixels, indexed: tile t (0 to 255) at column\n"
    "t mod 16, row t div 16, 8 x 8 pixels each; each pixel's palette index is its\n"
    "value 0 to 3, and the four palette entries are the colours of the zone's\n"
    "palette 0, so the tiles look right in an image editor.\n"
    "\n"
    "import takes exactly such a picture: an indexed PNG of 128 x 128 pixels\n"
    "whose indices are 0 to 3 (their colours do not matter), or a PNG without a\n"
    "palette whose every pixel has one of the four colours of the zone's palette 0.\n"
    "Any other size, index or colour is refused with the reason, and IMAGE is left\n"
    "as it was. Otherwise the tile bank's 4096 bytes are written and IMAGE is saved\n"
    "atomically (a temporary file renamed over it); when no byte changes, IMAGE is\n"
    "not written. For export, IMAGE may be a named pipe or - (standard input); for\n"
    "import, TILES.png may be.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written or the picture was\n"
    "refused, 2 bad arguments.\n",
    RunTiles};
