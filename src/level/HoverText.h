#pragma once
// What the status bar says about the thing under the pointer, and how the
// editor writes metatile numbers.
#include "gfx/LevelContext.h"
#include "level/RoomLayout.h"

#include <QString>

// A metatile number as the editor shows it: two upper-case hex digits;
// empty for -1 (nothing selected).
QString MetatileNumberText(int m);

// Over a cell of the level view: "Col 2 Row 1 · 2A · 0x0D54C" (column and
// row from 0, the metatile in the cell, the file offset of its layout byte).
// A byte beyond the image reads "no data" in place of the number; without a
// room pointer the offset is left out too.
QString CellHoverText(const LevelContext& level, int room, RoomCell cell);

// Over the selector strip or the metatile sheet: "Metatile 2A".
QString MetatileHoverText(int m);
