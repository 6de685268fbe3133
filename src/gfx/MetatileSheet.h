#pragma once
// The metatile sheet: all 256 metatiles of a zone in 16 rows of 16, at the
// game's own size (scale 1), metatile m in column m mod 16 and row m div 16.
// Each metatile sits in a cell with a border of MetatileSheetInset pixels
// around it; the selected metatile's border carries the selection frame, so
// no metatile is ever covered.
#include "gfx/Canvas.h"
#include "gfx/Grid.h"
#include "gfx/LevelContext.h"

constexpr int MetatileSheetScale = 1;
constexpr int MetatileSheetInset = 3;
constexpr QRgb MetatileSheetBackground = 0x202020;

// 16 x 16 cells of 38 x 38 pixels (608 x 608).
SheetLayout MetatileSheetLayout();

// Draws every metatile of the level's zone into `sheet` (the layout's size),
// each decoded by DrawMetatile into `scratch` (32 x 32 or larger) and copied
// to its cell, and frames `selected` (-1: none).
void DrawMetatileSheet(const LevelContext& level, int selected, Canvas& scratch, Canvas& sheet);

// Draws cell m again: its metatile, and the frame when `selected`.
void DrawMetatileSheetCell(const LevelContext& level, int m, bool selected, Canvas& scratch, Canvas& sheet);
