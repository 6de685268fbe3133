#include "sheets/frmZoneOverview.h"

#include "gfx/Metatile.h"
#include "history/EditHistory.h"
#include "level/ZoneOverview.h"
#include "rom/ProgramState.h"
#include "widgets/PictureBox.h"

namespace {
LevelContext CurrentLevel()
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}
}

frmZoneOverview::frmZoneOverview(QWidget* owner)
    : SheetWindow(owner, QStringLiteral("Zone Overview"), ZoneOverviewLayout()), m_scratch(32, 32)
{
    setObjectName(QStringLiteral("frmZoneOverview"));
    connect(this, &SheetWindow::cellPressed, this, [this](int index, int button) {
        if (button == 1 && m_drawn && index <= m_lastRoom)
            emit roomChosen(index);
    });
    connect(this, &SheetWindow::cellHovered, this, [this](int index) {
        setInfo(index < 0 || !m_drawn || index > m_lastRoom ? QString() : OverviewRoomLabel(index));
    });
    connect(&RomHistory(), &EditHistory::imageChanged, this, &frmZoneOverview::OnImageChanged);
}

void frmZoneOverview::Redraw(int lastRoom, int current)
{
    m_lastRoom = lastRoom;
    m_current = current;
    m_drawn = true;
    setWindowTitle(QStringLiteral("Zone Overview - Zone %1").arg(CurrentZone + 1));
    if (!isVisible())
        return;   // drawn when shown
    DrawZoneOverview(CurrentLevel(), m_lastRoom, m_current, m_scratch, canvas());
    canvas().refresh();
}

void frmZoneOverview::SetCurrentRoom(int current)
{
    if (current == m_current)
        return;
    const int old = m_current;
    m_current = current;
    if (!m_drawn || !isVisible())
        return;
    if (old >= 0 && old <= m_lastRoom)
        DrawOverviewFrame(canvas(), old, false);
    if (current >= 0 && current <= m_lastRoom)
        DrawOverviewFrame(canvas(), current, true);
    canvas().refresh();
}

void frmZoneOverview::showEvent(QShowEvent* event)
{
    SheetWindow::showEvent(event);
    if (m_drawn)
        Redraw(m_lastRoom, m_current);
}

void frmZoneOverview::OnImageChanged(const ImageChange& change)
{
    if (!m_drawn || !isVisible() || RomFileName.isEmpty())
        return;
    const LevelContext level = CurrentLevel();
    if (change.Resized || change.touchesAny(ZoneStructureRanges(ZoneTable)) ||
        change.touchesAny(ZoneGraphicsRanges(level))) {
        Redraw(m_lastRoom, m_current);
        return;
    }
    // Only layout bytes: the cells of every room that shows them (rooms
    // sharing bytes change together).
    bool drawn = false;
    for (int room = 0; room <= m_lastRoom; ++room) {
        const std::int32_t start = RoomLayoutOffset(level, room);
        if (start == NoOffset || !change.touches(start, RoomLayoutBytes))
            continue;
        for (int index = 0; index < RoomLayoutBytes; ++index) {
            if (!change.touches(std::int64_t(start) + index, 1))
                continue;
            DrawOverviewCell(level, room, {index % RoomColumns, index / RoomColumns}, m_scratch, canvas());
            drawn = true;
        }
    }
    if (drawn)
        canvas().refresh();
}
