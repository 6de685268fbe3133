#include "rom/ZoneTable.h"

std::int32_t ReadRomPointer(const RomBytes& rom, std::int32_t tableOffset, std::int32_t index)
{
    const std::int64_t at = static_cast<std::int64_t>(tableOffset) + 2 * static_cast<std::int64_t>(index);
    if (tableOffset < 0 || !rom.contains(at, 2))
        return NoOffset;
    std::int64_t p = rom.read(at) + 256 * rom.read(at + 1);
    if (p >= 0x8000)
        p -= 0x8000;
    // Integer division truncating toward zero, as the bank arithmetic is
    // defined; offsets 0..15 (inside the header) count as bank 0.
    const std::int64_t bank = (static_cast<std::int64_t>(tableOffset) - 16) / 0x4000;
    return static_cast<std::int32_t>(bank * 0x4000 + 16 + p);
}

void BuildZoneTable(const RomBytes& rom, ZoneTableArray& table)
{
    table = ZoneTableArray{};
    for (int s = 0; s < ZoneCount; ++s) {
        const ZoneConstants& c = ZoneConstantsTable[s];
        ZoneInfo& z = table[s];
        z.PaletteTable = c.PaletteTable;
        z.TileBank = c.TileBank;
        z.LastRoom = c.LastRoom;
        z.RoomTable = ReadRomPointer(rom, c.HeaderOffset, HeaderRooms);
        z.MetatileTiles = ReadRomPointer(rom, c.HeaderOffset, HeaderTiles);
        z.MetatileAttrs = ReadRomPointer(rom, c.HeaderOffset, HeaderAttrs);
    }
}

std::vector<ByteRange> ZoneStructureRanges(const ZoneTableArray& table)
{
    std::vector<ByteRange> ranges;
    for (int s = 0; s < ZoneCount; ++s) {
        ranges.push_back({ZoneConstantsTable[s].HeaderOffset, 8});
        const ZoneInfo& z = table[s];
        if (z.RoomTable != NoOffset)
            ranges.push_back({z.RoomTable, 2 * (std::int64_t(z.LastRoom) + 1)});
    }
    return ranges;
}
