#pragma once
// The pictures "vorned-cli render" writes, all drawn by the editor's own
// drawing core: one room as the level view shows it, a sheet of all rooms
// of a zone, and the zone's 256 metatiles.
#include "gfx/LevelContext.h"

#include <QImage>
#include <QPoint>
#include <QSize>

constexpr int RoomViewWidth = 512;
constexpr int RoomViewHeight = 384;
constexpr int MetatileSheetColumns = 16;
constexpr int MetatileSheetCell = 64; // scale 2
constexpr QRgb SheetBackground = 0xFF202020;
constexpr QRgb SheetLabelColour = 0xFFFFFFFF;

// Room `room` of the level's zone exactly as the level view shows it
// without grids (512 x 384).
QImage RoomPicture(const LevelContext& level, int room);

// Metatile m at column m % 16, row m / 16, each drawn at scale 2 (1024 x 1024).
// With `numbers` each cell carries its metatile number in hexadecimal in a
// small dark box at its top-left corner (MetatileNumberBox pixels).
QImage MetatileSheet(const LevelContext& level, bool numbers = false);
constexpr int MetatileNumberBoxWidth = 2 * 6 + 1;
constexpr int MetatileNumberBoxHeight = 7 + 2;

// Sheet of rooms 0..lastRoom, four a row in order. Each room sits below a
// label band with its room text ("Room: 0A"); scale 2 shows rooms at the
// level view's size, scale 1 at half of it (every other pixel).
struct RoomSheetLayout {
    int scale; // 1 or 2

    static constexpr int Columns = 4;
    int roomWidth() const { return RoomViewWidth * scale / 2; }
    int roomHeight() const { return RoomViewHeight * scale / 2; }
    int gap() const { return 8 * scale; }        // around and between rooms
    int labelBand() const { return 12 * scale; } // above each room
    int labelMagnify() const { return scale; }

    QSize sheetSize(int rooms) const;
    // Top-left of room i's label band and of its picture.
    QPoint labelAt(int i) const;
    QPoint roomAt(int i) const;
};

QImage RoomSheet(const LevelContext& level, int lastRoom, int scale);
