#include "RenderCommand.h"

#include "CliArguments.h"
#include "PngOutput.h"
#include "RenderPictures.h"
#include "ZoneArguments.h"
#include "files/FileNames.h"
#include "rom/RomFile.h"

namespace {

int RunRender(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {{"--zone", true}, {"--room", true}, {"--all", false}, {"--metatiles", false},
                          {"--numbers", false}, {"--scale", true}, {"-o", true}});
    if (a.ok() && a.plain().size() != 1)
        a.fail(QStringLiteral("needs exactly one image to read (got %1)").arg(a.plain().size()));
    const std::optional<int> zone = a.number("--zone", 1, ZoneCount);
    const int picked = int(a.has("--room")) + int(a.has("--all")) + int(a.has("--metatiles"));
    if (a.ok() && picked == 0)
        a.fail(QStringLiteral("say what to draw: --room R, --all or --metatiles"));
    if (a.ok() && picked > 1)
        a.fail(QStringLiteral("--room, --all and --metatiles exclude each other"));
    const std::optional<int> room = zone && a.has("--room") ? a.roomNumber("--room", 0, ZoneLastRoom(*zone)) : std::nullopt;
    if (a.ok() && a.has("--scale") && !a.has("--all"))
        a.fail(QStringLiteral("--scale applies to --all only"));
    const std::optional<int> scale = a.number("--scale", 1, 2, false);
    if (a.ok() && a.has("--numbers") && !a.has("--metatiles"))
        a.fail(QStringLiteral("--numbers applies to --metatiles only"));
    if (a.ok() && !a.has("-o"))
        a.fail(QStringLiteral("-o OUT.png is missing"));
    const QString output = a.value("-o");
    if (a.ok() && output.isEmpty())
        a.fail(QStringLiteral("the output file name is empty"));
    if (a.ok() && SameFile(output, a.plain().first()))
        a.fail(QStringLiteral("-o names the image itself"));
    if (!a.ok())
        return UsageError(err, a.reason(), &RenderCommand);

    const int slot = *zone - 1;
    RomBytes rom;
    QString error;
    if (!LoadRomFile(a.plain().first(), rom, error, FileAccess::FilesAndStreams))
        return Failure(err, error);
    ZoneTableArray zones;
    BuildZoneTable(rom, zones);
    const LevelContext level{rom, zones, slot};

    QImage picture;
    if (room)
        picture = RoomPicture(level, *room);
    else if (a.has("--metatiles"))
        picture = MetatileSheet(level, a.has("--numbers"));
    else
        picture = RoomSheet(level, zones[std::size_t(slot)].LastRoom, scale.value_or(2));
    if (!SavePng(output, picture, error))
        return Failure(err, error);
    out << "wrote " << picture.width() << " x " << picture.height() << " pixels to " << DisplayName(output) << "\n";
    return ExitOk;
}

} // namespace

const CliCommand RenderCommand{
    "render",
    "render IMAGE --zone N --room R -o OUT.png\n"
    "render IMAGE --zone N --all [--scale 1] -o OUT.png\n"
    "render IMAGE --zone N --metatiles [--numbers] -o OUT.png",
    "Draws a room, all rooms or the metatiles of a zone into a PNG file.",
    "  --zone N      the zone, 1 to 7\n"
    "  --room R      one room (0 to the zone's last room): 512 x 384 pixels, exactly\n"
    "                the editor's level view without grids. Decimal, or hexadecimal\n"
    "                as the editor's status bar shows it, with 0x: 0x1F is room 31\n"
    "  --all         every room of the zone in one sheet, four a row in order, each\n"
    "                below its room text (\"Room: 0A\"); rooms at the level view's size\n"
    "  --scale 1     with --all: rooms at half size, the game's own pixels (--scale 2\n"
    "                is the default)\n"
    "  --metatiles   the zone's 256 metatiles at the level view's size, 1024 x 1024:\n"
    "                metatile m at column m mod 16, row m div 16\n"
    "  --numbers     with --metatiles: each cell shows its metatile number in\n"
    "                hexadecimal in a small box at its top-left corner\n"
    "  -o OUT.png    the file to write; it is written atomically and nothing else is;\n"
    "                a device or named pipe is written through (-o /dev/stdout)\n"
    "\n"
    "IMAGE may be a named pipe, or - (or /dev/stdin) for standard input.\n"
    "Data that lies outside the image is drawn as the editor draws it: the \"no data\"\n"
    "pattern. Exit status: 0 written, 1 the image could not be read or OUT.png not\n"
    "written, 2 bad arguments.\n",
    RunRender};
