#pragma once
// The sheet of a zone's 256 tiles, 16 x 16, tile t at column t mod 16, row
// t div 16: what the tile editor picks tiles from, and the picture tiles are
// exported as.
#include "gfx/Canvas.h"
#include "gfx/Grid.h"
#include "gfx/LevelContext.h"
#include "gfx/ZonePalette.h"

constexpr int TileSheetColumns = 16;

// The sheet's cells at `scale` (8 x scale pixels a side).
SheetLayout TileSheetLayout(int scale);

// The colour indices the sheet shows tiles in: palette p of the zone, or
// when it cannot be read (or p is not 0..3) four greys (0x0F, 0x00, 0x10,
// 0x30), so that the tiles stay visible.
ZonePalette TileSheetPalette(const LevelContext& level, int p);

// Draws the zone's 256 tiles into `sheet` at `scale` in palette p's colours
// (TileSheetPalette); tiles whose bytes lie outside the image show "no
// data". A tile number 0..255 in `framed` gets the selection frame.
void DrawTileSheet(const LevelContext& level, Canvas& sheet, int p, int scale, int framed = -1);
