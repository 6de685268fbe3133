#include "gfx/MetatileSheet.h"

#include "gfx/Metatile.h"

namespace {
constexpr int MetatilePixels = 32 * MetatileSheetScale;
constexpr int CellPixels = MetatilePixels + 2 * MetatileSheetInset;
}

SheetLayout MetatileSheetLayout()
{
    return SheetLayout{16, 16, CellPixels, CellPixels};
}

void DrawMetatileSheetCell(const LevelContext& level, int m, bool selected, Canvas& scratch, Canvas& sheet)
{
    if (m < 0 || m > 255)
        return;
    const SheetLayout layout = MetatileSheetLayout();
    const int x = layout.cellX(m), y = layout.cellY(m);
    DrawMetatile(level, scratch, static_cast<std::uint8_t>(m), MetatileSheetScale);
    sheet.blit(x + MetatileSheetInset, y + MetatileSheetInset, MetatilePixels, MetatilePixels, scratch);
    if (selected) {
        DrawSelectionFrame(sheet, x, y, CellPixels, CellPixels);
    } else {
        // The border without a frame: the background all round.
        sheet.fill(x, y, CellPixels, MetatileSheetInset, MetatileSheetBackground);
        sheet.fill(x, y + CellPixels - MetatileSheetInset, CellPixels, MetatileSheetInset, MetatileSheetBackground);
        sheet.fill(x, y, MetatileSheetInset, CellPixels, MetatileSheetBackground);
        sheet.fill(x + CellPixels - MetatileSheetInset, y, MetatileSheetInset, CellPixels, MetatileSheetBackground);
    }
}

void DrawMetatileSheet(const LevelContext& level, int selected, Canvas& scratch, Canvas& sheet)
{
    for (int m = 0; m < 256; ++m)
        DrawMetatileSheetCell(level, m, m == selected, scratch, sheet);
}
