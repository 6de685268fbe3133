#include "level/PaintStroke.h"

#include "level/StrokePath.h"

namespace {
QString TwoDigitHex(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
}

PaintStroke::PaintStroke(std::uint64_t mergeKey, int room, std::uint8_t metatile, double x, double y)
    : m_key(mergeKey), m_room(room), m_metatile(metatile), m_x(x), m_y(y)
{
    m_met.set(std::size_t(RoomCellIndex(RoomCellAt(x, y))));
}

std::vector<RoomCell> PaintStroke::moveTo(double x, double y)
{
    std::vector<RoomCell> fresh;
    for (const RoomCell& cell : StrokeSegmentCells(m_x, m_y, x, y)) {
        const auto index = std::size_t(RoomCellIndex(cell));
        if (!m_met.test(index)) {
            m_met.set(index);
            fresh.push_back(cell);
        }
    }
    m_x = x;
    m_y = y;
    return fresh;
}

QString PaintStroke::stepName(int changed) const
{
    if (changed <= 1)
        return QStringLiteral("Place Metatile %1 in Room %2").arg(TwoDigitHex(m_metatile), TwoDigitHex(m_room));
    return QStringLiteral("Paint %1 Cells in Room %2").arg(changed).arg(TwoDigitHex(m_room));
}
