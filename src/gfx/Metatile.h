#pragma once
// Drawing one metatile (4 x 4 tiles) of a zone into a picture, the way every
// cell of the level view, the selector and the preview is made.
#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"

#include <array>
#include <cstdint>
#include <vector>

constexpr int MetatileTileCount = 16;
constexpr int MetatileSide = 4;      // tiles per row and column
constexpr int TileBytes = 16;
constexpr int ViewScale = 2;         // the main window's magnification
constexpr int CellSize = 32 * ViewScale;

// Tile positions k in drawing order: quadrants top-left, top-right,
// bottom-left, bottom-right, each quadrant's tiles row by row.
constexpr std::array<int, MetatileTileCount> MetatileDrawOrder{0, 1, 4, 5, 2, 3, 6, 7,
                                                               8, 9, 12, 13, 10, 11, 14, 15};

// The quadrant (0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right)
// that holds tile position k.
constexpr int QuadrantOfTile(int k)
{
    return (k / 8) * 2 + (k % 4) / 2;
}

// Palette number of quadrant q in an attribute byte: bits 1-0, 3-2, 5-4, 7-6.
constexpr int QuadrantPalette(std::uint8_t attribute, int q)
{
    return (attribute >> (2 * q)) & 3;
}

// File offsets of metatile m's attribute byte and of its first tile number;
// NoOffset when the zone or its table is unknown.
std::int64_t MetatileAttrOffset(const LevelContext& level, int m);
std::int64_t MetatileTilesOffset(const LevelContext& level, int m);

// Every byte that drawing a metatile of the level's zone may read: the tile
// number and attribute tables, the tile block, the palette pointers (the
// zone's and, for palette 3, the first zone's) and the colours they lead to.
// A change elsewhere leaves every metatile picture of the zone as it is.
std::vector<ByteRange> ZoneGraphicsRanges(const LevelContext& level);

// Draws metatile m of the level's zone into the top-left 32 x scale pixels of
// `picture` through the shared tile decoder and shows it. Bytes that lie
// outside the image make the affected tiles the "no data" pattern (a missing
// attribute byte or palette: the whole quadrant).
void DrawMetatile(const LevelContext& level, Canvas& picture, std::uint8_t metatile,
                  std::uint8_t scale);

// Draws the "no data" pattern over the whole metatile area of `picture`.
void DrawNoDataMetatile(Canvas& picture, std::uint8_t scale);

// Puts the selected metatile back into the preview, or clears the preview
// when nothing is selected (selected = -1) or the number is not a metatile.
void DrawPreview(const LevelContext& level, Canvas& preview, int selected);
