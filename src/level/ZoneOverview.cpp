#include "level/ZoneOverview.h"

#include "gfx/Metatile.h"
#include "rom/ZoneTable.h"

#include <algorithm>
#include <array>

namespace {
constexpr int CellWidth = OverviewThumbWidth + 2 * OverviewThumbX;
constexpr int CellHeight = OverviewThumbY + OverviewThumbHeight + 4;
constexpr int ThumbCell = OverviewThumbWidth / RoomColumns;   // a metatile's 16 x 16 pixels
constexpr int FrameWidth = 3;

int MostRooms()
{
    int rooms = 0;
    for (const ZoneConstants& c : ZoneConstantsTable)
        rooms = std::max(rooms, c.LastRoom + 1);
    return rooms;
}

// Each pixel of the 16 x 16 block at (x, y) of `sheet` becomes the average of
// the 2 x 2 pixels of the 32 x 32 metatile in `scratch` it covers. The
// averages go back into the scratch picture's top left, from where they are
// copied as one block.
void HalveInto(Canvas& scratch, Canvas& sheet, int x, int y)
{
    if (scratch.width() != 2 * ThumbCell || scratch.height() < 2 * ThumbCell)
        return;
    std::array<std::uint32_t, 2 * ThumbCell * ThumbCell> half{};
    const QImage& from = scratch.image();
    for (int row = 0; row < ThumbCell; ++row) {
        const auto* a = reinterpret_cast<const QRgb*>(from.constScanLine(2 * row));
        const auto* b = reinterpret_cast<const QRgb*>(from.constScanLine(2 * row + 1));
        for (int column = 0; column < ThumbCell; ++column) {
            const QRgb p[4] = {a[2 * column], a[2 * column + 1], b[2 * column], b[2 * column + 1]};
            int red = 2, green = 2, blue = 2;
            for (QRgb q : p) {
                red += qRed(q);
                green += qGreen(q);
                blue += qBlue(q);
            }
            half[std::size_t(row * 2 * ThumbCell + column)] =
                std::uint32_t(red / 4) << 16 | std::uint32_t(green / 4) << 8 | std::uint32_t(blue / 4);
        }
    }
    scratch.setPixels(half.data(), std::int64_t(half.size()), ThumbCell);
    sheet.blit(x, y, ThumbCell, ThumbCell, scratch);
}
}

SheetLayout ZoneOverviewLayout()
{
    return SheetLayout{OverviewColumns, (MostRooms() + OverviewColumns - 1) / OverviewColumns, CellWidth,
                       CellHeight};
}

QString OverviewRoomLabel(int room)
{
    return QStringLiteral("Room ") + QString::number(room, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

namespace {
// The metatile in a cell of the room, -1 when its byte cannot be read.
int CellMetatile(const LevelContext& level, std::int32_t start, RoomCell cell)
{
    return start == NoOffset ? -1 : level.rom.read(std::int64_t(start) + RoomCellIndex(cell));
}

// Draws metatile m (-1: the "no data" pattern) at the game's size into
// `scratch` and its half-size picture to (x, y) of `sheet`.
void DrawHalfMetatile(const LevelContext& level, int m, Canvas& scratch, Canvas& sheet, int x, int y)
{
    if (m < 0)
        DrawNoDataMetatile(scratch, 1);
    else
        DrawMetatile(level, scratch, static_cast<std::uint8_t>(m), 1);
    HalveInto(scratch, sheet, x, y);
}

// The half-size pictures one drawing of rooms needs: each metatile is
// decoded the first time a cell shows it and copied for every other cell.
// They live only as long as the drawing, so every drawing reads the image
// afresh.
class HalfMetatiles {
public:
    explicit HalfMetatiles(const LevelContext& level)
        : m_level(level), m_pictures(16 * ThumbCell, 17 * ThumbCell)
    {
    }

    void copy(int m, Canvas& scratch, Canvas& sheet, int x, int y)
    {
        const int slot = m < 0 ? 256 : m;   // the last slot: "no data"
        const int px = (slot % 16) * ThumbCell, py = (slot / 16) * ThumbCell;
        if (!m_drawn[std::size_t(slot)]) {
            DrawHalfMetatile(m_level, m, scratch, m_pictures, px, py);
            m_drawn[std::size_t(slot)] = true;
        }
        sheet.blit(x, y, ThumbCell, ThumbCell, m_pictures, px, py);
    }

private:
    const LevelContext& m_level;
    Canvas m_pictures;
    std::array<bool, 257> m_drawn{};
};

void DrawRoomCells(const LevelContext& level, int room, HalfMetatiles& halves, Canvas& scratch, Canvas& sheet)
{
    const SheetLayout layout = ZoneOverviewLayout();
    const std::int32_t start = RoomLayoutOffset(level, room);
    const int x = layout.cellX(room) + OverviewThumbX, y = layout.cellY(room) + OverviewThumbY;
    for (int row = 0; row < RoomRows; ++row)
        for (int column = 0; column < RoomColumns; ++column)
            halves.copy(CellMetatile(level, start, {column, row}), scratch, sheet, x + column * ThumbCell,
                        y + row * ThumbCell);
}

void DrawRoomCell(const LevelContext& level, int room, bool current, HalfMetatiles& halves, Canvas& scratch,
                  Canvas& sheet)
{
    const SheetLayout layout = ZoneOverviewLayout();
    const int x = layout.cellX(room), y = layout.cellY(room);
    sheet.fill(x, y, CellWidth, CellHeight, OverviewBackground);
    sheet.text(x, y + 1, CellWidth, OverviewLabelHeight, OverviewRoomLabel(room), OverviewLabelColour, 11);
    DrawRoomCells(level, room, halves, scratch, sheet);
    DrawOverviewFrame(sheet, room, current);
}
}

void DrawOverviewCell(const LevelContext& level, int room, RoomCell cell, Canvas& scratch, Canvas& sheet)
{
    const SheetLayout layout = ZoneOverviewLayout();
    if (room < 0 || room >= layout.Columns * layout.Rows)
        return;
    DrawHalfMetatile(level, CellMetatile(level, RoomLayoutOffset(level, room), cell), scratch, sheet,
                     layout.cellX(room) + OverviewThumbX + cell.Column * ThumbCell,
                     layout.cellY(room) + OverviewThumbY + cell.Row * ThumbCell);
}

void DrawOverviewFrame(Canvas& sheet, int room, bool current)
{
    const SheetLayout layout = ZoneOverviewLayout();
    const int x = layout.cellX(room) + OverviewThumbX - FrameWidth;
    const int y = layout.cellY(room) + OverviewThumbY - FrameWidth;
    const int w = OverviewThumbWidth + 2 * FrameWidth, h = OverviewThumbHeight + 2 * FrameWidth;
    if (current) {
        DrawSelectionFrame(sheet, x, y, w, h);
        return;
    }
    sheet.fill(x, y, w, FrameWidth, OverviewBackground);
    sheet.fill(x, y + h - FrameWidth, w, FrameWidth, OverviewBackground);
    sheet.fill(x, y, FrameWidth, h, OverviewBackground);
    sheet.fill(x + w - FrameWidth, y, FrameWidth, h, OverviewBackground);
}

void DrawOverviewRoom(const LevelContext& level, int room, bool current, Canvas& scratch, Canvas& sheet)
{
    const SheetLayout layout = ZoneOverviewLayout();
    if (room < 0 || room >= layout.Columns * layout.Rows)
        return;
    HalfMetatiles halves(level);
    DrawRoomCell(level, room, current, halves, scratch, sheet);
}

void DrawZoneOverview(const LevelContext& level, int lastRoom, int current, Canvas& scratch, Canvas& sheet)
{
    sheet.fill(0, 0, sheet.width(), sheet.height(), OverviewBackground);
    const SheetLayout layout = ZoneOverviewLayout();
    const int rooms = std::min(lastRoom + 1, layout.Columns * layout.Rows);
    HalfMetatiles halves(level);
    for (int room = 0; room < rooms; ++room)
        DrawRoomCell(level, room, room == current, halves, scratch, sheet);
}
