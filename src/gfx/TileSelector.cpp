#include "gfx/TileSelector.h"

#include "gfx/Metatile.h"

#include <algorithm>
#include <cmath>

void DrawSelectorPage(const LevelContext& level, int page, Canvas& scratch, Canvas& selector)
{
    const int first = page * SelectorCells;
    for (int k = 0; k < SelectorCells; ++k) {
        const int m = first + k;
        if (m >= 0 && m <= 255)
            DrawMetatile(level, scratch, static_cast<std::uint8_t>(m), ViewScale);
        else
            DrawNoDataMetatile(scratch, ViewScale);
        selector.blit(0, k * CellSize, CellSize, CellSize, scratch);
    }
}

int SelectorMetatileAt(int page, double x, double y)
{
    (void)x;   // one column: every x is column 0
    const long row = std::lrint(std::nearbyint(y)) / CellSize;
    return page * SelectorCells + static_cast<int>(std::clamp(row, 0L, long(SelectorCells - 1)));
}
