#include "level/HoverText.h"

namespace {
const QString Separator = QStringLiteral(" \u00B7 ");

QString FileOffsetText(std::int64_t offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper().rightJustified(5, QLatin1Char('0'));
}
}

QString MetatileNumberText(int m)
{
    if (m < 0)
        return QString();
    return QString::number(m, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString CellHoverText(const LevelContext& level, int room, RoomCell cell)
{
    QString text = QStringLiteral("Col %1 Row %2").arg(cell.Column).arg(cell.Row);
    const std::int32_t start = RoomLayoutOffset(level, room);
    if (start == NoOffset)
        return text + Separator + QStringLiteral("no data");
    const std::int64_t at = std::int64_t(start) + RoomCellIndex(cell);
    const int m = level.rom.read(at);
    return text + Separator + (m < 0 ? QStringLiteral("no data") : MetatileNumberText(m)) + Separator +
           FileOffsetText(at);
}

QString MetatileHoverText(int m)
{
    return QStringLiteral("Metatile ") + MetatileNumberText(m);
}
