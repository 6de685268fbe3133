#include "level/RoomView.h"

#include "gfx/Metatile.h"
#include "level/RoomLayout.h"

void DrawRoom(const LevelContext& level, int room, Canvas& scratch, Canvas& view)
{
    DrawRoom(level, room, ViewScale, scratch, view);
}

void DrawRoom(const LevelContext& level, int room, std::uint8_t scale, Canvas& scratch, Canvas& view)
{
    const int cell = 32 * scale;
    const std::int32_t start = RoomLayoutOffset(level, room);
    for (int row = 0; row < RoomRows; ++row) {
        for (int column = 0; column < RoomColumns; ++column) {
            const int m = start == NoOffset
                              ? -1
                              : level.rom.read(std::int64_t(start) + RoomCellIndex({column, row}));
            if (m < 0)
                DrawNoDataMetatile(scratch, scale);
            else
                DrawMetatile(level, scratch, static_cast<std::uint8_t>(m), scale);
            view.blit(column * cell, row * cell, cell, cell, scratch);
        }
    }
}

QString RoomText(int room)
{
    return QStringLiteral("Room: ") +
           QString::number(room, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
