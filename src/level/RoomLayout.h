#pragma once
// Where a room's 48 layout bytes lie (6 rows of 8 metatile numbers, row by
// row) and which cell of the level view a click lands in.
#include "gfx/LevelContext.h"
#include "rom/ZoneCheck.h"

#include <cstdint>
#include <optional>

constexpr int RoomColumns = 8;
constexpr int RoomRows = 6;
static_assert(RoomColumns * RoomRows == RoomLayoutBytes, "a room is RoomLayoutBytes long");

struct RoomCell {
    int Column;
    int Row;
    friend bool operator==(const RoomCell&, const RoomCell&) = default;
};

// Byte index of a cell within the room's layout.
constexpr int RoomCellIndex(RoomCell cell)
{
    return RoomColumns * cell.Row + cell.Column;
}

// File offset of room `room`'s first layout byte, or NoOffset.
std::int32_t RoomLayoutOffset(const LevelContext& level, int room);

// The cell under (x, y) in the 512 x 384 level view: each coordinate rounded
// half to even, then divided by 64. A rounding past the view's last pixel
// stays in the edge cell.
RoomCell RoomCellAt(double x, double y);

// The write that places metatile m into the cell, or nothing when the
// room's layout byte lies outside the image.
std::optional<ByteWrite> PlaceMetatileWrite(const LevelContext& level, int room, RoomCell cell,
                                            std::uint8_t m);

enum class PlaceResult { Written, OutsideImage };

// Writes metatile m into the cell of the room's layout.
PlaceResult PlaceMetatile(RomBytes& rom, const ZoneTableArray& zones, int zone, int room,
                          RoomCell cell, std::uint8_t m);
