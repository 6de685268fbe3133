#include "gfx/Grid.h"

#include "gfx/Metatile.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr QRgb FrameDark = 0x000000;
constexpr QRgb FrameLight = 0xFFFFFF;

// Outline of the rectangle from (x1, y1) to (x2, y2), both corners included.
void Outline(Canvas& picture, int x1, int y1, int x2, int y2, QRgb colour)
{
    picture.line(x1, y1, x2 + 1, y1, colour);
    picture.line(x1, y2, x2 + 1, y2, colour);
    picture.line(x1, y1, x1, y2 + 1, colour);
    picture.line(x2, y1, x2, y2 + 1, colour);
}
}

void DrawSelectionFrame(Canvas& picture, int x, int y, int w, int h)
{
    Outline(picture, x, y, x + w - 1, y + h - 1, FrameDark);
    Outline(picture, x + 1, y + 1, x + w - 2, y + h - 2, FrameLight);
    Outline(picture, x + 2, y + 2, x + w - 3, y + h - 3, FrameDark);
}

int SheetLayout::cellAt(double x, double y) const
{
    if (!std::isfinite(x) || !std::isfinite(y) || x < 0 || y < 0 || x >= width() || y >= height())
        return -1;
    const int column = std::min(int(std::nearbyint(x)) / CellWidth, Columns - 1);
    const int row = std::min(int(std::nearbyint(y)) / CellHeight, Rows - 1);
    return row * Columns + column;
}

void DrawGrid(Canvas& picture)
{
    for (int i = 0; i <= 15; ++i) {
        picture.line(0, i * CellSize, picture.width(), i * CellSize, GridColour);
        picture.line(i * CellSize, 0, i * CellSize, picture.height(), GridColour);
    }
}
