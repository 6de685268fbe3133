#include "rom/ZoneCheck.h"

namespace {

void CheckBlock(const RomBytes& rom, int zone, const std::string& what, std::int64_t offset,
                std::int64_t length, std::vector<ZoneProblem>& out)
{
    if (offset == NoOffset)
        return; // already reported where the pointer could not be read
    if (!rom.contains(offset, length))
        out.push_back({zone, what, offset});
}

} // namespace

std::vector<ZoneProblem> CheckZones(const RomBytes& rom, const ZoneTableArray& table)
{
    std::vector<ZoneProblem> problems;
    for (int s = 0; s < ZoneCount; ++s) {
        const int zone = s + 1;
        const ZoneInfo& z = table[s];
        const ZoneConstants& c = ZoneConstantsTable[s];
        if (!rom.contains(c.HeaderOffset, 8))
            problems.push_back({zone, "header", c.HeaderOffset});

        if (z.RoomTable == NoOffset) {
            problems.push_back({zone, "room table pointer", c.HeaderOffset + 2 * HeaderRooms});
        } else {
            for (int r = 0; r <= z.LastRoom; ++r) {
                const std::int64_t entry = static_cast<std::int64_t>(z.RoomTable) + 2 * r;
                const std::int32_t layout = ReadRomPointer(rom, z.RoomTable, r);
                if (layout == NoOffset)
                    problems.push_back({zone, "room pointer " + std::to_string(r), entry});
                else
                    CheckBlock(rom, zone, "room " + std::to_string(r) + " layout", layout,
                               RoomLayoutBytes, problems);
            }
        }
        if (z.MetatileTiles == NoOffset)
            problems.push_back({zone, "metatile tile table pointer", c.HeaderOffset + 2 * HeaderTiles});
        else
            CheckBlock(rom, zone, "metatile tile table", z.MetatileTiles, MetatileTileTableBytes, problems);
        if (z.MetatileAttrs == NoOffset)
            problems.push_back({zone, "metatile attribute table pointer", c.HeaderOffset + 2 * HeaderAttrs});
        else
            CheckBlock(rom, zone, "metatile attribute table", z.MetatileAttrs, MetatileAttrTableBytes, problems);

        // Palettes 0..2 come from the zone's own table; palette 3 is the
        // first zone's and is checked there.
        const int palettes = s == 0 ? 4 : 3;
        for (int p = 0; p < palettes; ++p) {
            const std::int64_t entry = static_cast<std::int64_t>(z.PaletteTable) + 2 * p;
            const std::int32_t colours = ReadRomPointer(rom, z.PaletteTable, p);
            if (colours == NoOffset)
                problems.push_back({zone, "palette pointer " + std::to_string(p), entry});
            else
                CheckBlock(rom, zone, "palette " + std::to_string(p) + " colours", colours,
                           PaletteColourBytes, problems);
        }
        CheckBlock(rom, zone, "tile block", z.TileBank, TileBankBytes, problems);
    }
    return problems;
}
