// The main window's painting tools, beside the controls it was built with:
// drag strokes, picking from the map, the metatile sheet and the zone
// overview, what the pointer is over, room keys and the wheel, copying and
// pasting a room, and the keyboard shortcuts of the menus.
#include "shell/frmVornEd.h"

#include "gfx/Grid.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "level/HoverText.h"
#include "level/PaintStroke.h"
#include "level/RoomCopy.h"
#include "level/StrokePath.h"
#include "rom/ProgramState.h"
#include "sheets/frmMetatileSheet.h"
#include "sheets/frmZoneOverview.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>

namespace {
LevelContext ShownLevel()
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}

QString TwoDigitHex(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

bool InLevelView(double x, double y)
{
    return x >= 0 && y >= 0 && x < LevelViewWidth && y < LevelViewHeight;
}

QString OutsideImageText(int room, const QString& what)
{
    return QStringLiteral("The layout of room %1 lies outside the cartridge image; %2.").arg(TwoDigitHex(room), what);
}
}

void frmVornEd::buildPaintingControls()
{
    // Panel 4: what the pointer is over. It keeps the room of its longest
    // text, so the panels do not move while the pointer does.
    m_panels[3] = new QLabel(SB1);
    m_panels[3]->setObjectName(QStringLiteral("HoverPanel"));
    m_panels[3]->setFrameShape(QFrame::Panel);
    m_panels[3]->setFrameShadow(QFrame::Sunken);
    m_panels[3]->setFixedWidth(
        m_panels[3]->fontMetrics().horizontalAdvance(QStringLiteral("Col 7 Row 5 \u00B7 no data \u00B7 0x3FFFF")) + 12);
    SB1->addWidget(m_panels[3]);

    // The selected number, in the free space left of the preview.
    lblSelectedTile = new QLabel(centralWidget());
    lblSelectedTile->setObjectName(QStringLiteral("lblSelectedTile"));
    lblSelectedTile->setGeometry(530, 344, 34, 16);
    lblSelectedTile->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSelectedTile->setToolTip(QStringLiteral("Selected metatile"));

    // A click on the room bar's track moves one room, as its arrows do.
    hLevel_Frames->setPageStep(1);

    connect(picEditor, &PictureBox::mouseMove, this, &frmVornEd::picEditor_MouseMove);
    connect(picEditor, &PictureBox::mouseUp, this, &frmVornEd::picEditor_MouseUp);
    connect(picEditor, &PictureBox::mouseLeft, this, &frmVornEd::picEditor_MouseLeave);
    connect(picEditor, &PictureBox::mouseWheel, this, [this](int notches, Qt::KeyboardModifiers) {
        picEditor_MouseWheel(notches);
    });
    connect(picTile, &PictureBox::mouseMove, this, &frmVornEd::picTile_MouseMove);
    connect(picTile, &PictureBox::mouseLeft, this, &frmVornEd::picTile_MouseLeave);
    connect(hLevel_Frames, &QScrollBar::valueChanged, this, &frmVornEd::RoomChanged);
    connect(&RomHistory(), &EditHistory::imageChanged, this, [this](const ImageChange& change) {
        // An undo or redo in the middle of a stroke ends it.
        if (change.Origin != ChangeOrigin::Edit)
            EndStroke();
        ShowPointerInfo();
    });
}

void frmVornEd::buildPaintingMenus()
{
    mnuOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    mnuSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    mnuSaveAS->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    mnuExit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    mnuGrid[0]->setShortcut(QKeySequence(QStringLiteral("Ctrl+G")));
    mnuGrid[1]->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+G")));

    auto entry = [](QMenu* menu, const char* caption, const char* name, const char* keys) {
        QAction* a = menu->addAction(QLatin1String(caption));
        a->setObjectName(QLatin1String(name));
        if (keys)
            a->setShortcut(QKeySequence(QLatin1String(keys)));
        return a;
    };

    EditFiller2 = mnuEdit->addSeparator();
    EditFiller2->setObjectName(QStringLiteral("EditFiller2"));
    mnuCopyRoom = entry(mnuEdit, "&Copy Room", "mnuCopyRoom", "Ctrl+C");
    mnuPasteRoom = entry(mnuEdit, "Pa&ste Room", "mnuPasteRoom", "Ctrl+V");
    mnuCopyRoom->setEnabled(false);
    mnuPasteRoom->setEnabled(false);

    ViewFiller1 = mnuView->addSeparator();
    ViewFiller1->setObjectName(QStringLiteral("ViewFiller1"));
    mnuMetatileSheet = entry(mnuView, "&Metatile Sheet", "mnuMetatileSheet", nullptr);
    mnuZoneOverview = entry(mnuView, "&Zone Overview", "mnuZoneOverview", nullptr);
    ViewFiller2 = mnuView->addSeparator();
    ViewFiller2->setObjectName(QStringLiteral("ViewFiller2"));
    mnuNextRoom = entry(mnuView, "&Next Room", "mnuNextRoom", "PgDown");
    mnuPreviousRoom = entry(mnuView, "&Previous Room", "mnuPreviousRoom", "PgUp");
    mnuFirstRoom = entry(mnuView, "&First Room", "mnuFirstRoom", "Home");
    mnuLastRoom = entry(mnuView, "&Last Room", "mnuLastRoom", "End");
    keyPickMetatile = new QAction(QStringLiteral("Pick Metatile"), this);
    keyPickMetatile->setObjectName(QStringLiteral("keyPickMetatile"));
    keyPickMetatile->setShortcut(QKeySequence(Qt::Key_I));
    // Keys without Ctrl act only while this window (or one of its sheets)
    // has the focus: in the editor windows they belong to their controls.
    for (QAction* a : {mnuNextRoom, mnuPreviousRoom, mnuFirstRoom, mnuLastRoom, keyPickMetatile}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }

    connect(mnuCopyRoom, &QAction::triggered, this, &frmVornEd::mnuCopyRoom_Click);
    connect(mnuPasteRoom, &QAction::triggered, this, &frmVornEd::mnuPasteRoom_Click);
    connect(mnuMetatileSheet, &QAction::triggered, this, &frmVornEd::mnuMetatileSheet_Click);
    connect(mnuZoneOverview, &QAction::triggered, this, &frmVornEd::mnuZoneOverview_Click);
    connect(mnuNextRoom, &QAction::triggered, this, &frmVornEd::mnuNextRoom_Click);
    connect(mnuPreviousRoom, &QAction::triggered, this, &frmVornEd::mnuPreviousRoom_Click);
    connect(mnuFirstRoom, &QAction::triggered, this, &frmVornEd::mnuFirstRoom_Click);
    connect(mnuLastRoom, &QAction::triggered, this, &frmVornEd::mnuLastRoom_Click);
    connect(keyPickMetatile, &QAction::triggered, this, &frmVornEd::PickMetatile);
}

void frmVornEd::EnableZoneKeys()
{
    // Given at Open, when the zone entries can first be reached.
    for (int i = 0; i < int(mnuStageSelect.size()); ++i)
        mnuStageSelect[std::size_t(i)]->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(i + 1)));
}

// ---- Strokes ----

void frmVornEd::EndStroke()
{
    if (!m_stroke)
        return;
    const bool changed = m_stroke->changedCells() > 0;
    m_stroke.reset();
    if (changed)
        RomHistory().endStep();
}

bool frmVornEd::PaintStrokeCell(const RoomCell& cell)
{
    const int room = m_stroke->room();
    const std::uint8_t m = m_stroke->metatile();
    const auto write = PlaceMetatileWrite(ShownLevel(), room, cell, m);
    if (!write) {
        EndStroke();
        ShowAppMessage(this, OutsideImageText(room, QStringLiteral("the metatile was not placed")));
        return false;
    }
    // A cell that holds the metatile already is left as it is.
    if (RomImage.read(write->Offset) == m)
        return true;
    RomHistory().apply(m_stroke->stepName(m_stroke->changedCells() + 1), {*write}, m_stroke->mergeKey());
    m_stroke->cellChanged();
    PaintCellFromPreview(cell);
    return true;
}

void frmVornEd::picEditor_MouseMove(int Button, Qt::KeyboardModifiers, double X, double Y)
{
    if (InLevelView(X, Y)) {
        m_pointer = std::make_pair(X, Y);
    } else if (m_pointer) {
        m_pointer.reset();
        SetPointerText(QString());
    }
    if (m_stroke) {
        // A release that never came (another window took the pointer) or a
        // room that changed under the stroke ends it.
        if (!(Button & 1) || !ZoneShown() || m_stroke->room() != hLevel_Frames->value()) {
            EndStroke();
        } else {
            for (const RoomCell& cell : m_stroke->moveTo(X, Y))
                if (!PaintStrokeCell(cell))
                    break;
        }
    }
    ShowPointerInfo();
}

void frmVornEd::picEditor_MouseUp(int Button, Qt::KeyboardModifiers, double, double)
{
    if (Button == 1)
        EndStroke();
}

void frmVornEd::picEditor_MouseLeave()
{
    // The stroke goes on: the pointer may come back while the button is held.
    m_pointer.reset();
    SetPointerText(QString());
}

// ---- Picking and selecting ----

void frmVornEd::SelectMetatile(int m)
{
    if (!ZoneShown() || m < 0 || m > 255)
        return;
    DrawMetatile(ShownLevel(), picSelectedTile->canvas(), std::uint8_t(m), ViewScale);
    picSelectedTile->Tag = QString::number(m);
    hsTable->setValue(m / SelectorCells);
    SelectionChanged();
}

void frmVornEd::PickMetatile()
{
    if (!ZoneShown() || !m_pointer || m_stroke)
        return;
    const std::int32_t start = RoomLayoutOffset(ShownLevel(), hLevel_Frames->value());
    if (start == NoOffset)
        return;
    const RoomCell cell = RoomCellAt(m_pointer->first, m_pointer->second);
    const int m = RomImage.read(std::int64_t(start) + RoomCellIndex(cell));
    if (m >= 0)
        SelectMetatile(m);
}

void frmVornEd::SelectionChanged()
{
    const int selected = SelectedMetatile();
    lblSelectedTile->setText(MetatileNumberText(selected));
    if (m_metatileSheet)
        m_metatileSheet->SetSelected(selected);
    UsesSelectionChanged();
}

// ---- What the pointer is over ----

void frmVornEd::ShowPointerInfo()
{
    if (!m_pointer || !ZoneShown())
        return;
    const LevelContext level = ShownLevel();
    const int room = hLevel_Frames->value();
    const RoomCell cell = RoomCellAt(m_pointer->first, m_pointer->second);
    const std::int32_t start = RoomLayoutOffset(level, room);
    const int m = start == NoOffset ? -2 : RomImage.read(std::int64_t(start) + RoomCellIndex(cell));
    const std::array<std::int64_t, 5> shown{CurrentZone, room, RoomCellIndex(cell), start, m};
    if (shown == m_pointerShown)
        return;
    SetPanelText(4, CellHoverText(level, room, cell));
    m_pointerShown = shown;
}

void frmVornEd::SetPointerText(const QString& text)
{
    SetPanelText(4, text);
    m_pointerShown.fill(-1);
}

void frmVornEd::picTile_MouseMove(int, Qt::KeyboardModifiers, double, double Y)
{
    SetPointerText(ZoneShown() ? MetatileHoverText(SelectorMetatileAt(hsTable->value(), 0, Y)) : QString());
}

void frmVornEd::picTile_MouseLeave()
{
    SetPointerText(QString());
}

// ---- Rooms and zones ----

void frmVornEd::RoomChanged()
{
    EndStroke();
    if (m_zoneOverview)
        m_zoneOverview->SetCurrentRoom(hLevel_Frames->value());
    ShowPointerInfo();
}

void frmVornEd::ZoneViewsChanged()
{
    EndStroke();
    SelectionChanged();
    const bool shown = ZoneShown();
    mnuCopyRoom->setEnabled(shown);
    mnuPasteRoom->setEnabled(shown && m_roomClipboard);
    if (shown) {
        if (m_metatileSheet)
            m_metatileSheet->Redraw(SelectedMetatile());
        if (m_zoneOverview)
            m_zoneOverview->Redraw(ZoneTable[std::size_t(CurrentZone)].LastRoom, hLevel_Frames->value());
    }
    ShowPointerInfo();
}

void frmVornEd::picEditor_MouseWheel(int Steps)
{
    if (ZoneShown())
        hLevel_Frames->setValue(hLevel_Frames->value() - Steps);
}

void frmVornEd::mnuNextRoom_Click()
{
    if (ZoneShown())
        hLevel_Frames->setValue(hLevel_Frames->value() + 1);
}

void frmVornEd::mnuPreviousRoom_Click()
{
    if (ZoneShown())
        hLevel_Frames->setValue(hLevel_Frames->value() - 1);
}

void frmVornEd::mnuFirstRoom_Click()
{
    if (ZoneShown())
        hLevel_Frames->setValue(hLevel_Frames->minimum());
}

void frmVornEd::mnuLastRoom_Click()
{
    if (ZoneShown())
        hLevel_Frames->setValue(hLevel_Frames->maximum());
}

// ---- Sheets ----

namespace {
// A tool window's first place: to the right of the main window, or below it.
void PlaceBeside(QWidget* tool, const QWidget* main, bool below)
{
    const QRect frame = main->frameGeometry();
    tool->move(below ? QPoint(frame.left(), frame.bottom() + 8) : QPoint(frame.right() + 8, frame.top()));
}
}

void frmVornEd::mnuMetatileSheet_Click()
{
    if (!ZoneShown())
        return;
    if (!m_metatileSheet) {
        m_metatileSheet = new frmMetatileSheet(this);
        connect(m_metatileSheet, &frmMetatileSheet::metatileChosen, this, &frmVornEd::SelectMetatile);
        connect(m_metatileSheet, &frmMetatileSheet::metatileHovered, this,
                [this](int m) { SetPointerText(m < 0 ? QString() : MetatileHoverText(m)); });
        m_metatileSheet->addActions({mnuNextRoom, mnuPreviousRoom, mnuFirstRoom, mnuLastRoom, keyPickMetatile});
        m_metatileSheet->picture()->setFocusPolicy(Qt::StrongFocus);
        PlaceBeside(m_metatileSheet, this, false);
    }
    m_metatileSheet->Redraw(SelectedMetatile());
    m_metatileSheet->show();
    m_metatileSheet->raise();
}

void frmVornEd::mnuZoneOverview_Click()
{
    if (!ZoneShown())
        return;
    if (!m_zoneOverview) {
        m_zoneOverview = new frmZoneOverview(this);
        connect(m_zoneOverview, &frmZoneOverview::roomChosen, this,
                [this](int room) { hLevel_Frames->setValue(room); });
        m_zoneOverview->addActions({mnuNextRoom, mnuPreviousRoom, mnuFirstRoom, mnuLastRoom, keyPickMetatile});
        m_zoneOverview->picture()->setFocusPolicy(Qt::StrongFocus);
        PlaceBeside(m_zoneOverview, this, true);
    }
    m_zoneOverview->Redraw(ZoneTable[std::size_t(CurrentZone)].LastRoom, hLevel_Frames->value());
    m_zoneOverview->show();
    m_zoneOverview->raise();
}

// ---- Copy and paste a room ----

void frmVornEd::mnuCopyRoom_Click()
{
    if (!ZoneShown())
        return;
    const int room = hLevel_Frames->value();
    const auto data = ReadRoomLayout(ShownLevel(), room);
    if (!data) {
        ShowAppMessage(this, OutsideImageText(room, QStringLiteral("nothing was copied")));
        return;
    }
    m_roomClipboard = std::make_unique<RoomClipboard>(RoomClipboard{*data, CurrentZone, room});
    mnuPasteRoom->setEnabled(true);
}

void frmVornEd::mnuPasteRoom_Click()
{
    if (!ZoneShown() || !m_roomClipboard)
        return;
    EndStroke();
    const LevelContext level = ShownLevel();
    const int room = hLevel_Frames->value();
    const auto writes = RoomLayoutWrites(level, room, m_roomClipboard->Data);
    if (!writes) {
        ShowAppMessage(this, OutsideImageText(room, QStringLiteral("nothing was pasted")));
        return;
    }
    const std::vector<RoomRef> shared = RoomsSharingLayout(level, room);
    if (!shared.empty()) {
        const QString others = RoomListText(shared, CurrentZone);
        MessageRequest question;
        question.Title = AppTitle();
        question.Icon = QMessageBox::Question;
        question.Text = QStringLiteral("Room %1 shares its layout bytes with %2. Pasting into Room %1 changes %2 "
                                       "as well.\n\nPaste the room?")
                            .arg(TwoDigitHex(room), others);
        question.Buttons = QMessageBox::Yes | QMessageBox::Cancel;
        question.DefaultButton = QMessageBox::Yes;
        question.ButtonTexts[QMessageBox::Yes] = QStringLiteral("&Paste");
        if (ShowMessage(this, question) != QMessageBox::Yes)
            return;
    }
    const RoomClipboard& from = *m_roomClipboard;
    const QString source = from.Zone == CurrentZone
                               ? QStringLiteral("Room %1").arg(TwoDigitHex(from.Room))
                               : QStringLiteral("Room %1 of Zone %2").arg(TwoDigitHex(from.Room)).arg(from.Zone + 1);
    RomHistory().apply(QStringLiteral("Paste %1 into Room %2").arg(source, TwoDigitHex(room)), *writes);
}
