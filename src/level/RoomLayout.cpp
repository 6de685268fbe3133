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

std::optional<ByteWrite> PlaceMetatileWrite(const LevelContext& level, int room, RoomCell cell,
                                            std::uint8_t m)
{
    const std::int32_t start = RoomLayoutOffset(level, room);
    if (start == NoOffset)
        return std::nullopt;
    const std::int64_t at = std::int64_t(start) + RoomCellIndex(cell);
    if (!level.rom.contains(at))
        return std::nullopt;
    return ByteWrite{at, m};
}

PlaceResult PlaceMetatile(RomBytes& rom, const ZoneTableArray& zones, int zone, int room,
                          RoomCell cell, std::uint8_t m)
{
    const auto write = PlaceMetatileWrite(LevelContext{rom, zones, zone}, room, cell, m);
    return write && rom.write(write->Offset, write->Value) ? PlaceResult::Written : PlaceResult::OutsideImage;
}
