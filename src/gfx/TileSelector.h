#pragma once
// The tile selector: a column of four metatiles, page n showing 4n .. 4n + 3.
#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"

constexpr int SelectorCells = 4;
constexpr int SelectorLastPage = 63;

// Draws page `page` into `selector` (64 x 256), each metatile decoded into
// `scratch` (64 x 64) and copied to its cell.
void DrawSelectorPage(const LevelContext& level, int page, Canvas& scratch, Canvas& selector);

// The metatile under a click at (x, y) in the selector on page `page`:
// 4 x page + the cell from the top. The position is rounded half to even
// before the division by 64; the strip has one column and four cells, so a
// rounding past its edge stays in the edge cell.
int SelectorMetatileAt(int page, double x, double y);
