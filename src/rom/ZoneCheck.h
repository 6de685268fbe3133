#pragma once
// Finds every part of the zones' data that lies outside the image: headers,
// pointers, room layouts, metatile tables, palettes and tile blocks.
#include "rom/ZoneTable.h"

#include <vector>

// Sizes of the blocks a zone's records lead to.
constexpr int RoomLayoutBytes = 48;
constexpr int MetatileCount = 256;
constexpr int MetatileTileTableBytes = 16 * MetatileCount;
constexpr int MetatileAttrTableBytes = MetatileCount;
constexpr int TileBankBytes = 16 * 256;
constexpr int PaletteColourBytes = 3;

// Problems of the image whose zone table is `table` (built by BuildZoneTable
// from the same image), zone by zone, in the order header, room table, rooms,
// metatile tables, palettes, tile block.
std::vector<ZoneProblem> CheckZones(const RomBytes& rom, const ZoneTableArray& table);
