#include "RenderPictures.h"

#include "LabelFont.h"
#include "gfx/Canvas.h"
#include "gfx/Metatile.h"
#include "level/HoverText.h"
#include "level/RoomView.h"

namespace {

// Copies `picture` into `sheet` at `at`, keeping every `step`-th pixel.
void CopyInto(QImage& sheet, QPoint at, const QImage& picture, int step)
{
    for (int y = 0; y < picture.height() / step; ++y)
        for (int x = 0; x < picture.width() / step; ++x)
            sheet.setPixel(at.x() + x, at.y() + y, picture.pixel(step * x, step * y));
}

} // namespace

QImage RoomPicture(const LevelContext& level, int room)
{
    Canvas scratch(CellSize, CellSize);
    Canvas view(RoomViewWidth, RoomViewHeight);
    DrawRoom(level, room, scratch, view);
    return view.image();
}

QImage MetatileSheet(const LevelContext& level, bool numbers)
{
    Canvas scratch(MetatileSheetCell, MetatileSheetCell);
    Canvas sheet(MetatileSheetColumns * MetatileSheetCell, MetatileSheetColumns * MetatileSheetCell);
    for (int m = 0; m < 256; ++m) {
        DrawMetatile(level, scratch, static_cast<std::uint8_t>(m), 2);
        sheet.blit((m % MetatileSheetColumns) * MetatileSheetCell, (m / MetatileSheetColumns) * MetatileSheetCell,
                   MetatileSheetCell, MetatileSheetCell, scratch);
    }
    QImage picture = sheet.image();
    if (numbers) {
        for (int m = 0; m < 256; ++m) {
            const int x = (m % MetatileSheetColumns) * MetatileSheetCell, y = (m / MetatileSheetColumns) * MetatileSheetCell;
            for (int dy = 0; dy < MetatileNumberBoxHeight; ++dy)
                for (int dx = 0; dx < MetatileNumberBoxWidth; ++dx)
                    picture.setPixel(x + dx, y + dy, SheetBackground);
            // The number as the editor's metatile sheet and status bar write it.
            DrawLabel(picture, x + 1, y + 1, MetatileNumberText(m), SheetLabelColour, 1);
        }
    }
    return picture;
}

QSize RoomSheetLayout::sheetSize(int rooms) const
{
    const int rows = (rooms + Columns - 1) / Columns;
    return {gap() + Columns * (roomWidth() + gap()), gap() + rows * (labelBand() + roomHeight() + gap())};
}

QPoint RoomSheetLayout::labelAt(int i) const
{
    return {gap() + (i % Columns) * (roomWidth() + gap()), gap() + (i / Columns) * (labelBand() + roomHeight() + gap())};
}

QPoint RoomSheetLayout::roomAt(int i) const
{
    return labelAt(i) + QPoint(0, labelBand());
}

QImage RoomSheet(const LevelContext& level, int lastRoom, int scale)
{
    const RoomSheetLayout layout{scale};
    const int rooms = lastRoom + 1;
    QImage sheet(layout.sheetSize(rooms), QImage::Format_RGB32);
    sheet.fill(SheetBackground);
    // The level view doubles every pixel, so at scale 1 every other pixel
    // is the room at the game's own size.
    for (int room = 0; room < rooms; ++room)
        CopyInto(sheet, layout.roomAt(room), RoomPicture(level, room), 2 / scale);
    for (int room = 0; room < rooms; ++room) {
        const QPoint at = layout.labelAt(room);
        DrawLabel(sheet, at.x(), at.y() + 2 * scale, RoomText(room), SheetLabelColour, layout.labelMagnify());
    }
    return sheet;
}
