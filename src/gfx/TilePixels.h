#pragma once
// Single pixels of the zone's tiles: reading a pixel's value 0..3 and the two
// plane bytes that store a new value (bit 7 - column of row byte r in plane
// 0 at tile + r and in plane 1 at tile + 8 + r).
#include "gfx/LevelContext.h"

#include <array>
#include <cstdint>
#include <optional>

constexpr int TileSide = 8;
constexpr int TilesPerBank = 256;

// File offset of tile t of the level's zone tile bank, or NoOffset when the
// slot holds no zone or t is not 0..255. The bytes may still lie outside the image.
std::int64_t ZoneTileOffset(const LevelContext& level, int t);

// Value 0..3 of pixel (row, column) of the tile whose 16 bytes start at
// `tileAt`; -1 when a plane byte lies outside the image or row/column is not 0..7.
int ReadTilePixel(const RomBytes& rom, std::int64_t tileAt, int row, int column);

// The two plane bytes (plane 0 first, then plane 1) that give pixel (row,
// column) of the tile at `tileAt` the value `value`, every other pixel of the
// row as it is; nothing when a plane byte lies outside the image or an
// argument is out of range.
std::optional<std::array<ByteWrite, 2>> TilePixelWrites(const RomBytes& rom, std::int64_t tileAt, int row,
                                                        int column, int value);
