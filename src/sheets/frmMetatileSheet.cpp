#include "sheets/frmMetatileSheet.h"

#include "gfx/Metatile.h"
#include "gfx/MetatileSheet.h"
#include "history/EditHistory.h"
#include "level/HoverText.h"
#include "rom/ProgramState.h"
#include "widgets/PictureBox.h"

namespace {
LevelContext CurrentLevel()
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}
}

frmMetatileSheet::frmMetatileSheet(QWidget* owner)
    : SheetWindow(owner, QStringLiteral("Metatile Sheet"), MetatileSheetLayout()), m_scratch(32, 32)
{
    setObjectName(QStringLiteral("frmMetatileSheet"));
    connect(this, &SheetWindow::cellPressed, this, [this](int index, int button) {
        if (button == 1 && m_drawn)
            emit metatileChosen(index);
    });
    connect(this, &SheetWindow::cellHovered, this, [this](int index) {
        setInfo(index < 0 || !m_drawn ? QString() : MetatileHoverText(index));
        emit metatileHovered(m_drawn ? index : -1);
    });
    connect(&RomHistory(), &EditHistory::imageChanged, this, &frmMetatileSheet::OnImageChanged);
}

void frmMetatileSheet::Redraw(int selected)
{
    m_selected = selected;
    m_drawn = true;
    setWindowTitle(QStringLiteral("Metatile Sheet - Zone %1").arg(CurrentZone + 1));
    if (!isVisible())
        return;   // drawn when shown
    DrawMetatileSheet(CurrentLevel(), m_selected, m_scratch, canvas());
    canvas().refresh();
}

void frmMetatileSheet::SetSelected(int selected)
{
    if (selected == m_selected)
        return;
    const int old = m_selected;
    m_selected = selected;
    if (!m_drawn || !isVisible())
        return;
    const LevelContext level = CurrentLevel();
    DrawMetatileSheetCell(level, old, false, m_scratch, canvas());
    DrawMetatileSheetCell(level, m_selected, true, m_scratch, canvas());
    canvas().refresh();
}

void frmMetatileSheet::showEvent(QShowEvent* event)
{
    SheetWindow::showEvent(event);
    if (m_drawn)
        Redraw(m_selected);
}

void frmMetatileSheet::OnImageChanged(const ImageChange& change)
{
    if (!m_drawn || !isVisible() || RomFileName.isEmpty())
        return;
    // Metatile pictures change with the zone's graphics bytes, or with the
    // zone records when the data moved.
    if (change.Resized || change.touchesAny(ZoneStructureRanges(ZoneTable)) ||
        change.touchesAny(ZoneGraphicsRanges(CurrentLevel())))
        Redraw(m_selected);
}
