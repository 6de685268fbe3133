#pragma once
// An image whose zone 1 uses metatiles and tiles in known places: every room
// is filled with metatile 00 (whose tiles are all 00), except these cells;
// rooms 2 and 3 share their layout bytes (the level fixture's pointers).
//   metatile 2A: room 00 at (0, 0) and (3, 1); room 02 (and so 03) at (7, 5);
//                room 05 at (1, 2), (2, 2) and (6, 4)
//   metatile 10: tile 33 at three of its positions;  room 01 at (0, 0)
//   metatile 11: tile 33 at one position;            room 02 (and 03) at (1, 1)
//   metatile 2A: tile 34 at every position
// Every other metatile of zone 1 has tile 01 at all 16 positions.
#include "../fixtures/LevelFixture.h"

namespace uses_fixture {

constexpr int Zone = 0;
constexpr int Shared = 0x2A, UsesTileA = 0x10, UsesTileB = 0x11;
constexpr int TileA = 0x33, TileB = 0x34;

inline void Place(fixture::ImageBuilder& b, int room, int column, int row, int m)
{
    b.put(fixture::RoomAt(Zone, room) + 8 * row + column, std::uint8_t(m));
}

inline fixture::ImageBuilder MakeBuilder()
{
    fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(17);
    const int lastRoom = ZoneConstantsTable[Zone].LastRoom;
    for (int i = 0; i < 48 * (lastRoom + 1); ++i)
        b.put(fixture::RoomAt(Zone, 0) + i, 0);
    for (int m = 0; m < 256; ++m)
        for (int k = 0; k < 16; ++k)
            b.put(fixture::TilesAt(Zone) + 16 * m + k, m == 0 ? 0x00 : 0x01);
    for (int k = 0; k < 16; ++k)
        b.put(fixture::TilesAt(Zone) + 16 * Shared + k, TileB);
    for (int k : {0, 5, 15})
        b.put(fixture::TilesAt(Zone) + 16 * UsesTileA + k, TileA);
    b.put(fixture::TilesAt(Zone) + 16 * UsesTileB + 9, TileA);
    Place(b, 0, 0, 0, Shared);
    Place(b, 0, 3, 1, Shared);
    Place(b, 2, 7, 5, Shared);
    Place(b, 5, 1, 2, Shared);
    Place(b, 5, 2, 2, Shared);
    Place(b, 5, 6, 4, Shared);
    Place(b, 1, 0, 0, UsesTileA);
    Place(b, 2, 1, 1, UsesTileB);
    return b;
}

} // namespace uses_fixture
