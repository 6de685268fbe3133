#include "gfx/Grid.h"

#include "gfx/Metatile.h"

void DrawGrid(Canvas& picture)
{
    for (int i = 0; i <= 15; ++i) {
        picture.line(0, i * CellSize, picture.width(), i * CellSize, GridColour);
        picture.line(i * CellSize, 0, i * CellSize, picture.height(), GridColour);
    }
}
