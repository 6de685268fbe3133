#pragma once
// The white grid of the View menu over the level view or the selector.
#include "gfx/Canvas.h"

constexpr QRgb GridColour = 0xFFFFFF;

// White lines at every i x 64 pixels, i = 0..15, across the picture's full
// width and height; lines beyond the picture are not seen.
void DrawGrid(Canvas& picture);

// The three outlines of a selection (black, white, black) inside the
// rectangle of w x h pixels at (x, y), so that every side shows.
void DrawSelectionFrame(Canvas& picture, int x, int y, int w, int h);

// Cells of equal size in rows, numbered row by row from the top left: the
// geometry of the sheets of metatiles, tiles and rooms.
struct SheetLayout {
    int Columns;
    int Rows;
    int CellWidth;
    int CellHeight;

    int width() const { return Columns * CellWidth; }
    int height() const { return Rows * CellHeight; }
    int cellX(int index) const { return (index % Columns) * CellWidth; }
    int cellY(int index) const { return (index / Columns) * CellHeight; }
    // The cell under (x, y): each coordinate rounded half to even, then
    // divided by the cell size; a rounding past the last pixel stays in the
    // edge cell. -1 outside the sheet.
    int cellAt(double x, double y) const;
};
