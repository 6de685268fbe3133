#include "InfoCommand.h"

#include "CliArguments.h"
#include "rom/RomFile.h"
#include "rom/ZoneCheck.h"

namespace {

// Upper-case hexadecimal with "0x" and at least `digits` digits; -1 for an
// offset that could not be read, so that every value stays a number.
QString Hex(std::int64_t value, int digits)
{
    if (value == NoOffset)
        return QStringLiteral("-1");
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

int RunInfo(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {});
    if (!a.ok())
        return UsageError(err, a.reason(), &InfoCommand);
    if (a.plain().size() != 1)
        return UsageError(err, QStringLiteral("needs exactly one argument, the image to read (got %1)").arg(a.plain().size()),
                          &InfoCommand);

    RomBytes rom;
    QString error;
    if (!LoadRomFile(a.plain().first(), rom, error, FileAccess::FilesAndStreams))
        return Failure(err, error);
    ZoneTableArray table;
    BuildZoneTable(rom, table);
    for (int s = 0; s < ZoneCount; ++s)
        out << ZoneLine(s, table[static_cast<std::size_t>(s)]) << "\n";
    for (const ZoneProblem& p : CheckZones(rom, table))
        out << ProblemLine(p) << "\n";
    const demo::ViewerMatch program = demo::MatchViewer(rom);
    if (2 * program.Equal >= program.Total)
        out << ProgramLine(program) << "\n";
    return ExitOk;
}

} // namespace

QString ZoneLine(int slot, const ZoneInfo& z)
{
    return QStringLiteral("Zone %1: RoomTable=%2 MetatileTiles=%3 MetatileAttrs=%4 PaletteTable=%5 TileBank=%6 LastRoom=%7")
        .arg(slot + 1)
        .arg(Hex(z.RoomTable, 5), Hex(z.MetatileTiles, 5), Hex(z.MetatileAttrs, 5), Hex(z.PaletteTable, 4),
             Hex(z.TileBank, 5))
        .arg(z.LastRoom);
}

QString ProblemLine(const ZoneProblem& p)
{
    return QStringLiteral("Problem: Zone %1: %2 at %3 lies outside the image")
        .arg(p.Zone)
        .arg(QString::fromStdString(p.What), Hex(p.Offset, 5));
}

QString ProgramLine(const demo::ViewerMatch& match)
{
    const std::array<ByteRange, 2> ranges = demo::ViewerRanges();
    const ByteRange& code = ranges[0];
    const ByteRange& vectors = ranges[1];
    const auto cpu = [](std::int64_t address) {
        return QStringLiteral("$") + QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    };
    const std::int64_t codeAddress = demo::ViewerCodeAddress + (code.Offset - demo::ViewerCodeOffset);
    QString line = QStringLiteral("Program: the demo's room viewer, code at %1-%2 (bank 0, CPU %3-%4), "
                                  "vectors at %5-%6 (CPU $FFFA-$FFFF, the last %7 bytes of Zone 7's tile FF)")
                       .arg(Hex(code.Offset, 5), Hex(code.Offset + code.Length - 1, 5), cpu(codeAddress),
                            cpu(codeAddress + code.Length - 1), Hex(vectors.Offset, 5),
                            Hex(vectors.Offset + vectors.Length - 1, 5))
                       .arg(vectors.Length);
    if (match.Equal != match.Total)
        line += QStringLiteral("; %1 of its %2 bytes differ").arg(match.Total - match.Equal).arg(match.Total);
    return line;
}

const CliCommand InfoCommand{
    "info", "info IMAGE", "Prints the zone table of IMAGE and the problems found in it.",
    "One line a zone, offsets in the file as upper-case hexadecimal:\n"
    "  Zone N: RoomTable=0x%05X MetatileTiles=0x%05X MetatileAttrs=0x%05X PaletteTable=0x%04X TileBank=0x%05X LastRoom=%d\n"
    "A pointer whose two bytes lie outside the image cannot be read; its offset\n"
    "prints as -1 (for example RoomTable=-1), so every value parses as a number.\n"
    "\n"
    "Then one line for each header, pointer, room, table or tile block that lies\n"
    "outside the image:\n"
    "  Problem: Zone N: WHAT at 0xOFFSET lies outside the image\n"
    "\n"
    "Last, when the image holds the demo cartridge's program (vorned-cli demo),\n"
    "the bytes it occupies: its code in bank 0 before the palette tables and its\n"
    "vectors, which are the last 6 bytes of Zone 7's tile FF, so an edit there\n"
    "stops the program. When some of its bytes differ from the demo's, the line\n"
    "ends with how many:\n"
    "  Program: the demo's room viewer, code at 0x%05X-0x%05X (bank 0, CPU $8000-$%04X), vectors at 0x4000A-0x4000F (...)[; N of its M bytes differ]\n"
    "\n"
    "IMAGE may be a named pipe, or - (or /dev/stdin) for standard input; it is\n"
    "read to its end, at most 16 MiB.\n"
    "\n"
    "Exit status: 0 when the file was read, with or without problems; 1 when it\n"
    "could not be read; 2 for bad arguments.\n",
    RunInfo};
