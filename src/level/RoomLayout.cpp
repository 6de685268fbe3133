#include "level/RoomLayout.h"

#include "gfx/Metatile.h"

#include <algorithm>
#include <cmath>

std::int32_t RoomLayoutOffset(const LevelContext& level, int room)
{
    const ZoneInfo* zone = level.zoneInfo();
    if (!zone || room < 0)   // rooms are numbered from 0
        return NoOffset;
    return ReadRomPointer(level.rom, zone->RoomTable, room);
}

RoomCell RoomCellAt(double x, double y)
{
    const long column = std::lrint(std::nearbyint(x)) / CellSize;
    const long row = std::lrint(std::nearbyint(y)) / CellSize;
    return {static_cast<int>(std::clamp(column, 0L, long(RoomColumns - 1))),
            static_cast<int>(std::clamp(row, 0L, long(RoomRows - 1)))};
}

PlaceResult PlaceMetatile(RomBytes& rom, const ZoneTableArray& zones, int zone, int room,
                          RoomCell cell, std::uint8_t m)
{
    const std::int32_t start = RoomLayoutOffset(LevelContext{rom, zones, zone}, room);
    if (start == NoOffset || !rom.write(std::int64_t(start) + RoomCellIndex(cell), m))
        return PlaceResult::OutsideImage;
    return PlaceResult::Written;
}
