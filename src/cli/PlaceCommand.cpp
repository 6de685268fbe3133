#include "PlaceCommand.h"

#include "CliArguments.h"
#include "ZoneArguments.h"
#include "files/FileNames.h"
#include "level/RoomLayout.h"
#include "rom/RomFile.h"

namespace {

int RunPlace(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {{"--zone", true}, {"--room", true}, {"--col", true}, {"--row", true}, {"--metatile", true}});
    if (a.ok() && a.plain().size() != 1)
        a.fail(QStringLiteral("needs exactly one image to change (got %1)").arg(a.plain().size()));
    const std::optional<int> zone = a.number("--zone", 1, ZoneCount);
    const std::optional<int> room = a.roomNumber("--room", 0, zone ? ZoneLastRoom(*zone) : 0);
    const std::optional<int> column = a.number("--col", 0, RoomColumns - 1);
    const std::optional<int> row = a.number("--row", 0, RoomRows - 1);
    const std::optional<int> metatile = a.number("--metatile", 0, 255);
    if (!a.ok())
        return UsageError(err, a.reason(), &PlaceCommand);

    const QString& path = a.plain().first();
    RomBytes rom;
    QString error;
    if (!LoadRomFile(path, rom, error))
        return Failure(err, error);
    ZoneTableArray zones;
    BuildZoneTable(rom, zones);
    const RoomCell cell{*column, *row};
    const std::int32_t layout = RoomLayoutOffset(LevelContext{rom, zones, *zone - 1}, *room);
    // The same write a left click in the level view makes.
    if (PlaceMetatile(rom, zones, *zone - 1, *room, cell, static_cast<std::uint8_t>(*metatile)) != PlaceResult::Written) {
        const QString where = layout == NoOffset
                                  ? QStringLiteral("its pointer cannot be read")
                                  : QStringLiteral("the cell's byte would be at 0x%1")
                                        .arg(QString::number(std::int64_t(layout) + RoomCellIndex(cell), 16).toUpper());
        return Failure(err, QStringLiteral("room %1 of zone %2 lies outside the image (%3); \"%4\" was not changed")
                                .arg(*room).arg(*zone).arg(where, DisplayName(path)));
    }
    if (!SaveRomFile(path, rom, error))
        return Failure(err, error);
    out << "placed metatile " << *metatile << " at column " << *column << ", row " << *row << " of room " << *room
        << " in zone " << *zone << " (offset 0x"
        << QString::number(std::int64_t(layout) + RoomCellIndex(cell), 16).toUpper().rightJustified(5, QLatin1Char('0'))
        << ")\n";
    return ExitOk;
}

} // namespace

const CliCommand PlaceCommand{
    "place",
    "place IMAGE --zone N --room R --col C --row W --metatile M",
    "Places metatile M in one cell of a room and saves IMAGE.",
    "  --zone N       the zone, 1 to 7\n"
    "  --room R       the room, 0 to the zone's last room; decimal, or hexadecimal\n"
    "                 as the editor's status bar shows it, with 0x: 0x1F is room 31\n"
    "  --col C        the cell's column, 0 to 7 (left to right)\n"
    "  --row W        the cell's row, 0 to 5 (top to bottom)\n"
    "  --metatile M   the metatile number, 0 to 255\n"
    "The other numbers are decimal. The byte written is the one a left click on that\n"
    "cell of the editor's level view writes: 8 x W + C bytes into the room's\n"
    "layout. IMAGE must be a regular file (or a link to one); it is saved\n"
    "atomically (a temporary file renamed over it) and keeps its owner, mode and\n"
    "hard links (a file with several links is written in place, with a backup\n"
    "copy beside it until the write is complete).\n"
    "\n"
    "Exit status: 0 placed and saved, 1 IMAGE could not be read or written or the\n"
    "room's layout lies outside it (IMAGE is then left as it was), 2 bad arguments.\n",
    RunPlace};
