#pragma once
// Where each metatile and tile of a zone is used: the rooms and cells that
// hold a metatile, how many metatiles have a tile among their 16, and so
// which cells change when a metatile or a tile is edited.
#include "gfx/LevelContext.h"
#include "level/RoomLayout.h"

#include <QString>

#include <array>
#include <vector>

// The cells of one room that hold a metatile. SameLayoutAs is the first
// earlier room whose pointer leads to the same layout bytes (-1 for none):
// both rooms show these cells, and a change of one is a change of the other.
struct RoomUses {
    int Room = 0;
    std::vector<RoomCell> Cells;
    int SameLayoutAs = -1;
};

struct UseCount {
    int Cells = 0;
    int Rooms = 0;
    friend bool operator==(const UseCount&, const UseCount&) = default;
};

// The cells of room `room` that hold metatile m, in layout order. Bytes that
// lie outside the image hold nothing.
std::vector<RoomCell> CellsHolding(const LevelContext& level, int room, int m);

// Every room 0 .. LastRoom of the zone that holds m, in room order.
std::vector<RoomUses> MetatileRoomUses(const LevelContext& level, int m);

// Cells and rooms of the zone that hold m (a room counted once, its cells all).
UseCount CountMetatileUses(const LevelContext& level, int m);

// For every tile number, how many of the zone's 256 metatiles have it among
// their 16 tiles (a metatile counted once however often it uses the tile).
std::array<int, 256> TileMetatileCounts(const LevelContext& level);

// The metatiles of the zone that use tile t, in ascending order.
std::vector<int> MetatilesUsingTile(const LevelContext& level, int t);

// Cells and rooms of the zone that hold a metatile using tile t.
UseCount CountTileUses(const LevelContext& level, int t);

// "used in 14 cells of 6 rooms", "used in 1 cell of 1 room", "not used in any room".
QString UseCountText(const UseCount& count);

// "Room 05: 3 cells (Col 2 Row 1, Col 3 Row 1, Col 7 Row 5)", with
// ", the layout of Room 02" when the room shares its layout bytes.
QString RoomUsesText(const RoomUses& uses);
