// Painting and moving about as a user does in the main window: drag strokes
// (the cells written against the pointer's path, one undo step each), the
// pick key, the metatile sheet and the zone overview (pixel-exact against the
// drawing core, their clicks, kept up to date), hover texts that redraw
// nothing, room keys and the wheel through the room bar, zone keys, copying
// and pasting rooms over shared layouts, and the menus' shortcuts.
#include "../editors/EditorSession.h"
#include "../fixtures/LevelFixture.h"
#include "gfx/Metatile.h"
#include "gfx/MetatileSheet.h"
#include "gfx/TileSelector.h"
#include "history/EditHistory.h"
#include "level/RoomView.h"
#include "level/ZoneOverview.h"
#include "shell/modODMenus.h"
#include "sheets/frmMetatileSheet.h"
#include "sheets/frmZoneOverview.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QWheelEvent>

#include <algorithm>
#include <set>

namespace {
constexpr int Zone3 = 2;

LevelContext Level(int zone) { return LevelContext{RomImage, ZoneTable, zone}; }

QImage ExpectedRoom(int zone, int room)
{
    Canvas scratch(64, 64), view(512, 384);
    DrawRoom(Level(zone), room, scratch, view);
    return view.image();
}

QImage ExpectedPage(int zone, int page)
{
    Canvas scratch(64, 64), selector(64, 256);
    DrawSelectorPage(Level(zone), page, scratch, selector);
    return selector.image();
}

QImage ExpectedMetatile(int zone, int m)
{
    Canvas picture(64, 64);
    DrawMetatile(Level(zone), picture, std::uint8_t(m), 2);
    return picture.image();
}

QImage ExpectedSheet(int zone, int selected)
{
    const SheetLayout layout = MetatileSheetLayout();
    Canvas scratch(32, 32), sheet(layout.width(), layout.height());
    DrawMetatileSheet(Level(zone), selected, scratch, sheet);
    return sheet.image();
}

QImage ExpectedOverview(int zone, int current)
{
    const SheetLayout layout = ZoneOverviewLayout();
    Canvas scratch(32, 32), sheet(layout.width(), layout.height());
    DrawZoneOverview(Level(zone), ZoneTable[std::size_t(zone)].LastRoom, current, scratch, sheet);
    return sheet.image();
}

std::int64_t CellOffset(int zone, int room, int column, int row)
{
    return fixture::RoomAt(zone, room) + 8 * row + column;
}

// A metatile that no cell of the rooms holds.
int AbsentMetatile(int zone, int room, int other = -1)
{
    std::set<int> present;
    for (int r : {room, other})
        for (int i = 0; r >= 0 && i < 48; ++i)
            present.insert(RomImage.read(fixture::RoomAt(zone, r) + i));
    for (int m = 0; m < 256; ++m)
        if (!present.count(m))
            return m;
    return -1;
}

// "0,0 1,0" as a sorted set of cell indices.
std::set<int> CellSet(const QString& text)
{
    std::set<int> cells;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList p = pair.split(QLatin1Char(','));
        cells.insert(p[1].toInt() * 8 + p[0].toInt());
    }
    return cells;
}

QString CellText(const std::set<int>& cells)
{
    QStringList parts;
    for (int c : cells)
        parts << QStringLiteral("%1,%2").arg(c % 8).arg(c / 8);
    return parts.join(QLatin1Char(' '));
}

QString Hex(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

// Message answers: Discard where the question offers it (unsaved changes
// before another image is opened), else OK.
void DiscardUnsavedChanges()
{
    SetMessageResponder([](const MessageRequest& m) {
        return (m.Buttons & QMessageBox::Discard) ? QMessageBox::Discard : QMessageBox::Ok;
    });
}

void Wheel(QWidget* target, int angle)
{
    QWheelEvent event(QPointF(100, 100), target->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// Counts the redraws of a picture (its refresh requests).
struct RefreshCounter {
    int Count = 0;
    void watch(Canvas& canvas) { canvas.setRefreshHandler([this] { ++Count; }); }
};
}

class TestPainting : public QObject {
    Q_OBJECT

    // Opens the fixture and shows room `room` of zone 3 with metatile m selected.
    static void Start(EditorSession& s, int room, int m, std::uint32_t seed = 41)
    {
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(seed).bytes()));
        s.chooseZone(Zone3);
        s.Main.hLevel_Frames->setValue(room);
        if (m >= 0)
            s.select(m);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // ---- Strokes ----

    void strokePaintsTheCellsOnItsPath_data()
    {
        QTest::addColumn<QList<QPointF>>("points");   // the press, then the moves
        QTest::addColumn<QString>("cells");
        using P = QPointF;
        QTest::newRow("a click") << QList<P>{{130, 70}} << "2,1";
        QTest::newRow("slow move") << QList<P>{{10, 10}, {20, 12}, {40, 14}, {60, 16}, {70, 18}, {90, 20},
                                               {120, 22}, {130, 24}, {150, 26}}
                                   << "0,0 1,0 2,0";
        QTest::newRow("fast move across the row") << QList<P>{{10, 10}, {500, 10}} << "0,0 1,0 2,0 3,0 4,0 5,0 6,0 7,0";
        QTest::newRow("fast move down a column") << QList<P>{{300, 5}, {300, 380}} << "4,0 4,1 4,2 4,3 4,4 4,5";
        QTest::newRow("diagonal through the corners") << QList<P>{{0, 0}, {383, 383}} << "0,0 1,1 2,2 3,3 4,4 5,5";
        QTest::newRow("shallow diagonal in two moves") << QList<P>{{10, 10}, {130, 55}, {250, 100}}
                                                       << "0,0 1,0 2,0 2,1 3,1";
        QTest::newRow("there and back") << QList<P>{{10, 200}, {200, 200}, {10, 200}} << "0,3 1,3 2,3 3,3";
        QTest::newRow("leaving and re-entering at the right") << QList<P>{{480, 200}, {700, 200}, {700, 330}, {420, 330}}
                                                              << "7,3 7,5 6,5";
        QTest::newRow("out at the top, back in elsewhere") << QList<P>{{100, 30}, {100, -40}, {300, -40}, {300, 30}}
                                                           << "1,0 4,0";
        QTest::newRow("along the edges into the corners")
            << QList<P>{{0, 0}, {511, 0}, {511, 383}, {0, 383}}
            << "0,0 1,0 2,0 3,0 4,0 5,0 6,0 7,0 7,1 7,2 7,3 7,4 7,5 0,5 1,5 2,5 3,5 4,5 5,5 6,5";
        QTest::newRow("a sweep outside the view") << QList<P>{{5, 5}, {-50, 500}, {600, 500}, {600, -20}} << "0,0";
        QTest::newRow("across the view from outside to outside")
            << QList<P>{{300, 370}, {300, 600}, {-100, 340}, {700, 340}} << "4,5 0,5 1,5 2,5 3,5 5,5 6,5 7,5";
    }
    void strokePaintsTheCellsOnItsPath()
    {
        QFETCH(QList<QPointF>, points);
        QFETCH(QString, cells);
        EditorSession s;
        Start(s, 5, -1);
        const int m = AbsentMetatile(Zone3, 5);
        s.select(m);
        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();

        s.Main.picEditor_MouseDown(1, {}, points[0].x(), points[0].y());
        for (int i = 1; i < points.size(); ++i)
            s.Main.picEditor_MouseMove(1, {}, points[i].x(), points[i].y());
        s.Main.picEditor_MouseUp(1, {}, points.last().x(), points.last().y());

        // Exactly the cells on the path were given the metatile.
        std::set<int> changed;
        for (qint64 at : ChangedOffsets(before, RomImage)) {
            const qint64 index = at - fixture::RoomAt(Zone3, 5);
            QVERIFY2(index >= 0 && index < 48, "a byte outside the room changed");
            QCOMPARE(RomImage.read(at), m);
            changed.insert(int(index));
        }
        QCOMPARE(CellText(changed), CellText(CellSet(cells)));
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, 5));

        // The stroke is one step, named after it; undoing it gives back the room.
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        const QString name = changed.size() == 1
                                 ? QStringLiteral("Place Metatile %1 in Room 05").arg(Hex(m))
                                 : QStringLiteral("Paint %1 Cells in Room 05").arg(changed.size());
        QCOMPARE(RomHistory().stack().undoText(), name);
        QCOMPARE(s.Main.mnuUndo->text(), QStringLiteral("&Undo ") + name);
        s.Main.mnuUndo->trigger();
        QVERIFY(RomImage == before);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, 5));
        s.Main.mnuRedo->trigger();
        QCOMPARE(ChangedOffsets(before, RomImage).size(), qsizetype(changed.size()));
    }

    void cellsThatHoldTheMetatileAreLeftAlone()
    {
        EditorSession s;
        Start(s, 5, -1);
        const int m = AbsentMetatile(Zone3, 5);
        s.select(m);
        // A click puts it into cell (3, 0) first: a step of its own.
        s.Main.picEditor_MouseDown(1, {}, 200, 10);
        s.Main.picEditor_MouseUp(1, {}, 200, 10);
        const int steps = RomHistory().stack().count();
        const RomBytes before = RomImage;
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseMove(1, {}, 500, 10);
        s.Main.picEditor_MouseUp(1, {}, 500, 10);
        QCOMPARE(ChangedOffsets(before, RomImage).size(), qsizetype(7));
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        QCOMPARE(RomHistory().stack().undoText(), QStringLiteral("Paint 7 Cells in Room 05"));
        s.Main.mnuUndo->trigger();
        QCOMPARE(RomImage.read(CellOffset(Zone3, 5, 3, 0)), m);
        QVERIFY(RomImage == before);

        // A stroke over cells that all hold it already makes no step.
        s.Main.mnuRedo->trigger();
        const int now = RomHistory().stack().count();
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseMove(1, {}, 500, 10);
        s.Main.picEditor_MouseUp(1, {}, 500, 10);
        QCOMPARE(RomHistory().stack().count(), now);
    }

    void eachStrokeIsAStepOfItsOwn()
    {
        EditorSession s;
        Start(s, 5, -1);
        s.select(AbsentMetatile(Zone3, 5));
        const int steps = RomHistory().stack().count();
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseMove(1, {}, 150, 10);
        s.Main.picEditor_MouseUp(1, {}, 150, 10);
        s.Main.picEditor_MouseDown(1, {}, 10, 100);
        s.Main.picEditor_MouseMove(1, {}, 150, 100);
        s.Main.picEditor_MouseUp(1, {}, 150, 100);
        QCOMPARE(RomHistory().stack().count(), steps + 2);
        s.Main.mnuUndo->trigger();
        QCOMPARE(s.roomMetatile(0, 0), s.Main.SelectedMetatile());
        QVERIFY(s.roomMetatile(0, 1) != s.Main.SelectedMetatile());
    }

    void otherButtonsAndMovesWithoutAPressPaintNothing()
    {
        EditorSession s;
        Start(s, 5, -1);
        s.select(AbsentMetatile(Zone3, 5));
        const RomBytes before = RomImage;
        // The right and middle buttons.
        for (int button : {2, 4}) {
            s.Main.picEditor_MouseDown(button, {}, 10, 10);
            s.Main.picEditor_MouseMove(button, {}, 500, 300);
            s.Main.picEditor_MouseUp(button, {}, 500, 300);
        }
        // A drag that started outside the view (the press went elsewhere).
        s.Main.picEditor_MouseMove(1, {}, -20, 10);
        s.Main.picEditor_MouseMove(1, {}, 500, 10);
        s.Main.picEditor_MouseMove(1, {}, 500, 300);
        QVERIFY(RomImage == before);
        // Moves after the release paint nothing either.
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseUp(1, {}, 10, 10);
        s.Main.picEditor_MouseMove(1, {}, 500, 10);
        QCOMPARE(ChangedOffsets(before, RomImage).size(), qsizetype(1));
    }

    void aStrokeEndsWhenTheRoomChangesOrTheReleaseIsLost()
    {
        EditorSession s;
        Start(s, 5, -1);
        s.select(AbsentMetatile(Zone3, 5, 6));
        const RomBytes before = RomImage;
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        Wheel(s.Main.picEditor, -120);   // to room 6
        QCOMPARE(s.Main.hLevel_Frames->value(), 6);
        s.Main.picEditor_MouseMove(1, {}, 500, 10);
        QCOMPARE(ChangedOffsets(before, RomImage), QList<qint64>{CellOffset(Zone3, 5, 0, 0)});
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, 6));

        // A move without the button (the release went to another window)
        // ends the stroke: the next press starts a new step.
        const int steps = RomHistory().stack().count();
        s.Main.picEditor_MouseDown(1, {}, 10, 100);
        s.Main.picEditor_MouseMove(0, {}, 200, 100);
        s.Main.picEditor_MouseMove(1, {}, 400, 100);
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        QCOMPARE(RomHistory().stack().undoText().left(14), QStringLiteral("Place Metatile"));
    }

    void strokeWithTheGridShowsTheGrid()
    {
        EditorSession s;
        Start(s, 5, -1);
        s.select(AbsentMetatile(Zone3, 5));
        s.Main.mnuGrid[0]->trigger();
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseMove(1, {}, 300, 250);
        s.Main.picEditor_MouseUp(1, {}, 300, 250);
        QImage expected = ExpectedRoom(Zone3, 5);
        for (int y = 0; y < 384; ++y)
            for (int x = 0; x < 512; ++x)
                if (x % 64 == 0 || y % 64 == 0)
                    expected.setPixel(x, y, 0xFFFFFFFFu);
        QCOMPARE(s.Main.picEditor->canvas().image(), expected);
    }

    // ---- Picking ----

    void theIKeyPicksTheMetatileUnderThePointer()
    {
        EditorSession s;
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(43);
        b.put(CellOffset(Zone3, 5, 2, 1), 0x2A);
        QVERIFY(s.open(b.bytes()));
        s.chooseZone(Zone3);
        s.Main.hLevel_Frames->setValue(5);
        s.select(3);

        s.Main.picEditor_MouseMove(0, {}, 130, 70);
        s.Main.keyPickMetatile->trigger();
        QCOMPARE(s.Main.picSelectedTile->Tag, QStringLiteral("42"));
        QCOMPARE(s.Main.picSelectedTile->canvas().image(), ExpectedMetatile(Zone3, 0x2A));
        QCOMPARE(s.Main.hsTable->value(), 0x2A / 4);
        QCOMPARE(s.Main.picTile->canvas().image(), ExpectedPage(Zone3, 0x2A / 4));
        QCOMPARE(s.Main.lblSelectedTile->text(), QStringLiteral("2A"));
        // It paints as a selector click would have chosen it.
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseUp(1, {}, 10, 10);
        QCOMPARE(s.roomMetatile(0, 0), 0x2A);

        // With the pointer elsewhere the key does nothing.
        s.select(7);
        s.Main.picEditor_MouseLeave();
        s.Main.keyPickMetatile->trigger();
        QCOMPARE(s.Main.SelectedMetatile(), 7);
        s.Main.picEditor_MouseMove(0, {}, 600, 70);
        s.Main.keyPickMetatile->trigger();
        QCOMPARE(s.Main.SelectedMetatile(), 7);

        // Nor while a stroke is painted: its metatile stays.
        s.Main.picEditor_MouseDown(1, {}, 200, 200);
        s.Main.picEditor_MouseMove(1, {}, 130, 70);
        s.Main.keyPickMetatile->trigger();
        QCOMPARE(s.Main.SelectedMetatile(), 7);
        s.Main.picEditor_MouseUp(1, {}, 130, 70);
    }

    void pickingBeforeAZoneDoesNothing()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(44).bytes()));
        s.Main.picEditor_MouseMove(0, {}, 130, 70);
        s.Main.keyPickMetatile->trigger();
        QCOMPARE(s.Main.SelectedMetatile(), -1);
        QCOMPARE(s.Main.PanelText(4), QString());
    }

    // ---- Metatile sheet ----

    void metatileSheetShowsTheZoneAndSelects()
    {
        EditorSession s;
        Start(s, 0, 0x2A);
        QVERIFY(s.Main.mnuMetatileSheet->isEnabled());
        s.Main.mnuMetatileSheet->trigger();
        frmMetatileSheet* sheet = s.Main.MetatileSheet();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->parentWidget(), &s.Main);
        QVERIFY(sheet->windowFlags() & Qt::Tool);
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(Zone3, 0x2A));

        // A left click on metatile 0x93 (column 3, row 9) selects it as the
        // selector would and pages the strip there.
        const SheetLayout layout = MetatileSheetLayout();
        QTest::mouseClick(sheet->picture(), Qt::LeftButton, {}, QPoint(3 * layout.CellWidth + 20, 9 * layout.CellHeight + 5));
        QCOMPARE(s.Main.SelectedMetatile(), 0x93);
        QCOMPARE(s.Main.picSelectedTile->canvas().image(), ExpectedMetatile(Zone3, 0x93));
        QCOMPARE(s.Main.hsTable->value(), 0x93 / 4);
        QCOMPARE(s.Main.picTile->canvas().image(), ExpectedPage(Zone3, 0x93 / 4));
        QCOMPARE(s.Main.lblSelectedTile->text(), QStringLiteral("93"));
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(Zone3, 0x93));
        // Other buttons choose nothing.
        QTest::mouseClick(sheet->picture(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(s.Main.SelectedMetatile(), 0x93);
        // A click in the strip moves the sheet's frame.
        s.select(0x11);
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(Zone3, 0x11));
    }

    void metatileSheetFollowsTheImage()
    {
        EditorSession s;
        Start(s, 0, 5);
        s.Main.mnuMetatileSheet->trigger();
        frmMetatileSheet* sheet = s.Main.MetatileSheet();
        // A tile number of metatile 5 changes, then is undone.
        const std::int64_t tile = fixture::TilesAt(Zone3) + 16 * 5 + 3;
        RomHistory().apply(QStringLiteral("Tile"), {{tile, std::uint8_t(RomImage.read(tile) + 1)}});
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(Zone3, 5));
        s.Main.mnuUndo->trigger();
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(Zone3, 5));
        // Layout bytes draw nothing in it.
        RefreshCounter redraws;
        redraws.watch(sheet->canvas());
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseUp(1, {}, 10, 10);
        QCOMPARE(redraws.Count, 0);
        // Another zone: its metatiles, nothing selected.
        s.chooseZone(4);
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(4, -1));
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Metatile Sheet - Zone 5"));
        // Another image opened.
        s.select(9);
        DiscardUnsavedChanges();
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(45).bytes()));
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(4, 9));
        // Closed and opened again: drawn afresh.
        sheet->close();
        s.Main.mnuStageSelect[1]->trigger();
        s.Main.mnuMetatileSheet->trigger();
        QCOMPARE(s.Main.MetatileSheet(), sheet);
        QCOMPARE(sheet->canvas().image(), ExpectedSheet(1, -1));
    }

    // ---- Zone overview ----

    void zoneOverviewShowsEveryRoomAndGoesToOne()
    {
        EditorSession s;
        Start(s, 4, -1);
        s.Main.mnuZoneOverview->trigger();
        frmZoneOverview* overview = s.Main.ZoneOverview();
        QVERIFY(overview && overview->isVisible());
        QVERIFY(overview->windowFlags() & Qt::Tool);
        QCOMPARE(overview->canvas().image(), ExpectedOverview(Zone3, 4));

        const SheetLayout layout = ZoneOverviewLayout();
        QTest::mouseClick(overview->picture(), Qt::LeftButton, {}, QPoint(layout.cellX(19) + 60, layout.cellY(19) + 60));
        QCOMPARE(s.Main.hLevel_Frames->value(), 19);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, 19));
        QCOMPARE(s.Main.PanelText(2), QStringLiteral("Room: 13"));
        QCOMPARE(overview->canvas().image(), ExpectedOverview(Zone3, 19));
        // Cells past the last room (31) lead nowhere.
        QTest::mouseClick(overview->picture(), Qt::LeftButton, {}, QPoint(layout.cellX(33) + 60, layout.cellY(33) + 60));
        QCOMPARE(s.Main.hLevel_Frames->value(), 19);
        // The frame follows the room bar.
        s.Main.hLevel_Frames->setValue(2);
        QCOMPARE(overview->canvas().image(), ExpectedOverview(Zone3, 2));
        // Its info line names the room under the pointer.
        QTest::mouseMove(overview->picture(), QPoint(layout.cellX(15) + 50, layout.cellY(15) + 50));
        QCOMPARE(overview->info(), QStringLiteral("Room 0F"));
    }

    void zoneOverviewFollowsEditsUndoAndOpen()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(46).bytes()));
        s.chooseZone(fixture::SharedRoomZone);
        s.Main.hLevel_Frames->setValue(fixture::SharedRoomA);
        s.select(AbsentMetatile(0, 2));
        s.Main.mnuZoneOverview->trigger();
        frmZoneOverview* overview = s.Main.ZoneOverview();
        // A stroke in room 2 shows in room 3 too: they share the bytes.
        const QImage room3Before = overview->canvas().image().copy(ZoneOverviewLayout().cellX(3), ZoneOverviewLayout().cellY(3),
                                                                   ZoneOverviewLayout().CellWidth, ZoneOverviewLayout().CellHeight);
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseMove(1, {}, 500, 300);
        s.Main.picEditor_MouseUp(1, {}, 500, 300);
        QCOMPARE(overview->canvas().image(), ExpectedOverview(0, 2));
        QVERIFY(overview->canvas().image().copy(ZoneOverviewLayout().cellX(3), ZoneOverviewLayout().cellY(3),
                                                ZoneOverviewLayout().CellWidth, ZoneOverviewLayout().CellHeight) != room3Before);
        s.Main.mnuUndo->trigger();
        QCOMPARE(overview->canvas().image(), ExpectedOverview(0, 2));
        // A metatile's graphics change: every thumbnail showing it.
        const std::int64_t attr = fixture::AttrsAt(0) + s.roomMetatile(0, 0);
        RomHistory().apply(QStringLiteral("Palette"), {{attr, std::uint8_t(RomImage.read(attr) ^ 0x55)}});
        QCOMPARE(overview->canvas().image(), ExpectedOverview(0, 2));
        // Another zone, another image.
        s.chooseZone(5);
        QCOMPARE(overview->canvas().image(), ExpectedOverview(5, 0));
        QCOMPARE(overview->windowTitle(), QStringLiteral("Zone Overview - Zone 6"));
        DiscardUnsavedChanges();
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(47).bytes()));
        QCOMPARE(overview->canvas().image(), ExpectedOverview(5, 0));
    }

    // ---- Hover ----

    void hoverTexts()
    {
        EditorSession s;
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(48);
        b.put(CellOffset(Zone3, 5, 2, 1), 0x2A);
        QVERIFY(s.open(b.bytes()));
        s.chooseZone(Zone3);
        s.Main.hLevel_Frames->setValue(5);
        QCOMPARE(s.Main.lblSelectedTile->text(), QString());
        s.select(0xE7);
        QCOMPARE(s.Main.lblSelectedTile->text(), QStringLiteral("E7"));

        // Over the level view: cell, metatile, offset of its layout byte.
        s.Main.picEditor_MouseMove(0, {}, 130, 70);
        QCOMPARE(s.Main.PanelText(4), QStringLiteral("Col 2 Row 1 \u00B7 2A \u00B7 0x0937A"));
        // The text follows an edit of the cell under the pointer, and the room.
        s.Main.picEditor_MouseDown(1, {}, 130, 70);
        s.Main.picEditor_MouseUp(1, {}, 130, 70);
        QCOMPARE(s.Main.PanelText(4), QStringLiteral("Col 2 Row 1 \u00B7 E7 \u00B7 0x0937A"));
        s.Main.mnuPreviousRoom->trigger();
        QCOMPARE(s.Main.PanelText(4).section(QStringLiteral(" \u00B7 "), 2), QStringLiteral("0x0934A"));
        s.Main.picEditor_MouseLeave();
        QCOMPARE(s.Main.PanelText(4), QString());

        // Over the strip: the metatile number.
        s.Main.hsTable->setValue(3);
        s.Main.picTile_MouseMove(0, {}, 10, 70);
        QCOMPARE(s.Main.PanelText(4), QStringLiteral("Metatile 0D"));
        s.Main.picTile_MouseLeave();
        QCOMPARE(s.Main.PanelText(4), QString());

        // Over the sheet: its own line and the panel.
        s.Main.mnuMetatileSheet->trigger();
        frmMetatileSheet* sheet = s.Main.MetatileSheet();
        QVERIFY(QTest::qWaitForWindowExposed(sheet));
        const SheetLayout layout = MetatileSheetLayout();
        QTest::mouseMove(sheet->picture(), QPoint(10 * layout.CellWidth + 4, 2 * layout.CellHeight + 30));
        QCOMPARE(sheet->info(), QStringLiteral("Metatile 2A"));
        QCOMPARE(s.Main.PanelText(4), QStringLiteral("Metatile 2A"));

        // A new zone clears the selection and its number.
        s.chooseZone(1);
        QCOMPARE(s.Main.lblSelectedTile->text(), QString());
    }

    void hoveringRedrawsNothing()
    {
        EditorSession s;
        Start(s, 5, 0x33);
        s.Main.mnuMetatileSheet->trigger();
        s.Main.mnuZoneOverview->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(s.Main.MetatileSheet()));
        QVERIFY(QTest::qWaitForWindowExposed(s.Main.ZoneOverview()));
        RefreshCounter redraws;
        Canvas* canvases[] = {&s.Main.picEditor->canvas(), &s.Main.picTile->canvas(), &s.Main.picSelectedTile->canvas(),
                              &s.Main.MetatileSheet()->canvas(), &s.Main.ZoneOverview()->canvas()};
        QList<QImage> before;
        for (Canvas* c : canvases) {
            redraws.watch(*c);
            before << c->image();
        }
        for (int x = 0; x < 600; x += 7)
            s.Main.picEditor_MouseMove(0, {}, x, x * 0.6);
        s.Main.picEditor_MouseLeave();
        for (int y = 0; y < 256; y += 5)
            s.Main.picTile_MouseMove(0, {}, 20, y);
        // The moves arrive: each sheet tells what is under the pointer.
        for (int i = 0; i < 600; i += 13)
            QTest::mouseMove(s.Main.MetatileSheet()->picture(), QPoint(i, i));
        QCOMPARE(s.Main.MetatileSheet()->info(), QStringLiteral("Metatile FF"));
        QCOMPARE(s.Main.PanelText(4), QStringLiteral("Metatile FF"));
        for (int i = 0; i < 600; i += 13)
            QTest::mouseMove(s.Main.ZoneOverview()->picture(), QPoint(i, i / 2));
        QCOMPARE(s.Main.ZoneOverview()->info(), QStringLiteral("Room 12"));
        QCOMPARE(redraws.Count, 0);
        for (int i = 0; i < int(std::size(canvases)); ++i)
            QCOMPARE(canvases[i]->image(), before[i]);
    }

    // ---- Rooms and zones from the keyboard and the wheel ----

    void roomKeysWheelAndTrack()
    {
        EditorSession s;
        Start(s, 0, -1);
        s.Main.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.Main));
        QScrollBar* bar = s.Main.hLevel_Frames;
        struct Step {
            std::function<void()> act;
            int room;
        };
        const QList<Step> steps{
            {[&] { QTest::keyClick(&s.Main, Qt::Key_PageDown); }, 1},
            {[&] { QTest::keyClick(&s.Main, Qt::Key_PageDown); }, 2},
            {[&] { QTest::keyClick(&s.Main, Qt::Key_PageUp); }, 1},
            {[&] { QTest::keyClick(&s.Main, Qt::Key_End); }, 31},
            {[&] { QTest::keyClick(&s.Main, Qt::Key_PageDown); }, 31},
            {[&] { QTest::keyClick(&s.Main, Qt::Key_Home); }, 0},
            {[&] { QTest::keyClick(&s.Main, Qt::Key_PageUp); }, 0},
            // The wheel: towards the user is the next room, a notch a room;
            // half notches add up.
            {[&] { Wheel(s.Main.picEditor, -120); }, 1},
            {[&] { Wheel(s.Main.picEditor, -240); }, 3},
            {[&] { Wheel(s.Main.picEditor, 120); }, 2},
            {[&] { Wheel(s.Main.picEditor, -60); }, 2},
            {[&] { Wheel(s.Main.picEditor, -60); }, 3},
            {[&] { Wheel(s.Main.picEditor, 120 * 10); }, 0},
            // A click on the bar's track: one room, as the arrows.
            {[&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); }, 1},
            {[&] { bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); }, 2},
            {[&] { bar->triggerAction(QAbstractSlider::SliderPageStepSub); }, 1},
            // The menu entries.
            {[&] { s.Main.mnuLastRoom->trigger(); }, 31},
            {[&] { s.Main.mnuPreviousRoom->trigger(); }, 30},
            {[&] { s.Main.mnuFirstRoom->trigger(); }, 0},
            {[&] { s.Main.mnuNextRoom->trigger(); }, 1},
        };
        for (int i = 0; i < steps.size(); ++i) {
            steps[i].act();
            QVERIFY2(bar->value() == steps[i].room, qPrintable(QStringLiteral("step %1: room %2").arg(i).arg(bar->value())));
            // Through the bar's value: its change handler drew the room.
            QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, steps[i].room));
            QCOMPARE(s.Main.PanelText(2), RoomText(steps[i].room));
        }
        // The menus show the keys.
        QCOMPARE(s.Main.mnuNextRoom->shortcut(), QKeySequence(Qt::Key_PageDown));
        QCOMPARE(s.Main.mnuPreviousRoom->shortcut(), QKeySequence(Qt::Key_PageUp));
        QCOMPARE(s.Main.mnuFirstRoom->shortcut(), QKeySequence(Qt::Key_Home));
        QCOMPARE(s.Main.mnuLastRoom->shortcut(), QKeySequence(Qt::Key_End));
    }

    void roomKeysFromTheSheetsButNotTheEditors()
    {
        EditorSession s;
        Start(s, 3, 5);
        s.Main.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.Main));
        // The I key over the level view, from the keyboard.
        s.Main.picEditor_MouseMove(0, {}, 10, 10);
        QTest::keyClick(&s.Main, Qt::Key_I);
        QCOMPARE(s.Main.SelectedMetatile(), s.roomMetatile(0, 0));

        s.Main.mnuZoneOverview->trigger();
        frmZoneOverview* overview = s.Main.ZoneOverview();
        // Tool windows report themselves active with their owner, so the
        // window the user clicked is made the active one outright.
        QApplication::setActiveWindow(overview);
        QVERIFY(overview->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(overview, Qt::Key_PageDown);
        QCOMPARE(s.Main.hLevel_Frames->value(), 4);

        // In the tile editor Page Down belongs to its own bars.
        s.Main.cmdEditTile->click();
        frmTileEdit* editor = LoadedTileEdit();
        QVERIFY(editor && editor->isVisible());
        QApplication::setActiveWindow(editor);
        editor->vsTile->setFocus();
        QCOMPARE(QApplication::focusWidget(), editor->vsTile);
        const int tile = editor->vsTile->value();
        QTest::keyClick(editor->vsTile, tile < 128 ? Qt::Key_PageDown : Qt::Key_PageUp);
        QCOMPARE(s.Main.hLevel_Frames->value(), 4);
        QVERIFY(editor->vsTile->value() != tile);
    }

    void zoneKeys()
    {
        EditorSession s;
        s.Main.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.Main));
        // Before an image is open there is no zone to choose.
        QTest::keyClick(&s.Main, Qt::Key_1, Qt::ControlModifier);
        for (QAction* zone : s.Main.mnuStageSelect)
            QVERIFY(!zone->isChecked());
        QVERIFY(!s.Main.mnuView->menuAction()->isEnabled());

        QVERIFY(s.open(fixture::MakeLevelImageBuilder(49).bytes()));
        for (int i = 0; i < 7; ++i) {
            s.Main.hLevel_Frames->setValue(3);
            QTest::keyClick(&s.Main, Qt::Key(Qt::Key_1 + i), Qt::ControlModifier);
            QCOMPARE(CurrentZone, std::int16_t(i));
            for (int j = 0; j < 7; ++j)
                QCOMPARE(s.Main.mnuStageSelect[std::size_t(j)]->isChecked(), i == j);
            QCOMPARE(s.Main.hLevel_Frames->value(), 0);
            QCOMPARE(s.Main.hLevel_Frames->maximum(), int(ZoneTable[std::size_t(i)].LastRoom));
            QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(i, 0));
            QCOMPARE(s.Main.mnuStageSelect[std::size_t(i)]->shortcut(),
                     QKeySequence(QStringLiteral("Ctrl+%1").arg(i + 1)));
        }
    }

    // ---- Copy and paste a room ----

    void copyAndPasteARoom()
    {
        EditorSession s;
        Start(s, 5, -1);
        QVERIFY(s.Main.mnuCopyRoom->isEnabled());
        QVERIFY(!s.Main.mnuPasteRoom->isEnabled());
        s.Main.mnuCopyRoom->trigger();
        QVERIFY(s.Main.mnuPasteRoom->isEnabled());
        QByteArray room5;
        for (int i = 0; i < 48; ++i)
            room5.append(char(RomImage.read(fixture::RoomAt(Zone3, 5) + i)));
        s.Main.hLevel_Frames->setValue(7);
        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();
        s.Main.mnuPasteRoom->trigger();
        for (int i = 0; i < 48; ++i)
            QCOMPARE(char(RomImage.read(fixture::RoomAt(Zone3, 7) + i)), room5[i]);
        for (qint64 at : ChangedOffsets(before, RomImage))
            QVERIFY(at >= fixture::RoomAt(Zone3, 7) && at < fixture::RoomAt(Zone3, 7) + 48);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, 7));
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        QCOMPARE(RomHistory().stack().undoText(), QStringLiteral("Paste Room 05 into Room 07"));
        QVERIFY(s.Messages.isEmpty());
        s.Main.mnuUndo->trigger();
        QVERIFY(RomImage == before);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(Zone3, 7));

        // Into another zone's room.
        s.chooseZone(4);
        QVERIFY(s.Main.mnuPasteRoom->isEnabled());
        s.Main.mnuPasteRoom->trigger();
        QCOMPARE(RomHistory().stack().undoText(), QStringLiteral("Paste Room 05 of Zone 3 into Room 00"));
        for (int i = 0; i < 48; ++i)
            QCOMPARE(char(RomImage.read(fixture::RoomAt(4, 0) + i)), room5[i]);
    }

    void pasteOverASharedLayoutSaysWhichRoomsChange_data()
    {
        QTest::addColumn<bool>("paste");
        QTest::newRow("cancelled") << false;
        QTest::newRow("pasted") << true;
    }
    void pasteOverASharedLayoutSaysWhichRoomsChange()
    {
        QFETCH(bool, paste);
        EditorSession s;
        QList<MessageRequest> asked;
        SetMessageResponder([&](const MessageRequest& m) {
            asked << m;
            return paste ? QMessageBox::Yes : QMessageBox::Cancel;
        });
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(50).bytes()));
        s.chooseZone(fixture::SharedRoomZone);
        s.Main.hLevel_Frames->setValue(9);
        s.Main.mnuCopyRoom->trigger();
        s.Main.hLevel_Frames->setValue(fixture::SharedRoomA);
        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();
        s.Main.mnuPasteRoom->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].Title, QStringLiteral("VornEd"));
        QCOMPARE(asked[0].Text, QStringLiteral("Room 02 shares its layout bytes with Room 03. Pasting into Room 02 "
                                               "changes Room 03 as well.\n\nPaste the room?"));
        QCOMPARE(asked[0].Buttons, QMessageBox::Yes | QMessageBox::Cancel);
        if (!paste) {
            QVERIFY(RomImage == before);
            QCOMPARE(RomHistory().stack().count(), steps);
            return;
        }
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        for (int i = 0; i < 48; ++i) {
            const std::int32_t room3 = ReadRomPointer(RomImage, ZoneTable[0].RoomTable, fixture::SharedRoomB);
            QCOMPARE(RomImage.read(room3 + i), RomImage.read(fixture::RoomAt(0, 9) + i));
        }
        s.Main.hLevel_Frames->setValue(fixture::SharedRoomB);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(0, 9));
        // Undo goes back to the room it changed.
        s.Main.mnuUndo->trigger();
        QVERIFY(RomImage == before);
        // A room of its own is pasted without a question.
        s.Main.hLevel_Frames->setValue(12);
        s.Main.mnuPasteRoom->trigger();
        QCOMPARE(asked.size(), 1);
        SetMessageResponder({});
    }

    void copyAndPasteOutsideTheImage()
    {
        // Cut 20 bytes into room 5 of zone 1.
        auto bytes = fixture::MakeLevelImageBuilder(51).bytes();
        bytes.resize(std::size_t(fixture::RoomAt(0, 5) + 20));
        EditorSession s;
        QVERIFY(s.open(bytes));
        s.chooseZone(0);
        s.Main.hLevel_Frames->setValue(5);
        s.Messages.clear();
        s.Main.mnuCopyRoom->trigger();
        QCOMPARE(s.Messages.size(), 1);
        QVERIFY(s.Messages[0].Text.contains(QStringLiteral("room 05 lies outside the cartridge image; nothing was copied")));
        QVERIFY(!s.Main.mnuPasteRoom->isEnabled());
        s.Main.hLevel_Frames->setValue(1);
        s.Main.mnuCopyRoom->trigger();
        s.Main.hLevel_Frames->setValue(5);
        const RomBytes before = RomImage;
        s.Main.mnuPasteRoom->trigger();
        QCOMPARE(s.Messages.size(), 2);
        QVERIFY(s.Messages[1].Text.contains(QStringLiteral("nothing was pasted")));
        QVERIFY(RomImage == before);
        // A stroke that runs into the missing bytes stops there and says so once.
        s.select(3);
        s.Main.picEditor_MouseDown(1, {}, 10, 150);
        s.Main.picEditor_MouseMove(1, {}, 500, 150);
        s.Main.picEditor_MouseMove(1, {}, 10, 10);
        QCOMPARE(s.Messages.size(), 3);
        QVERIFY(s.Messages[2].Text.contains(QStringLiteral("the metatile was not placed")));
        // Bytes 16..19 (row 2, columns 0..3) were painted, nothing beyond.
        QCOMPARE(ChangedOffsets(before, RomImage).size(),
                 qsizetype(std::count_if(before.data() + fixture::RoomAt(0, 5) + 16, before.data() + fixture::RoomAt(0, 5) + 20,
                                         [](std::uint8_t b) { return b != 3; })));
    }

    // ---- Shortcuts ----

    void menusShowTheirShortcuts_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("keys");
        QTest::newRow("Open") << "mnuOpen" << "Ctrl+O";
        QTest::newRow("Save") << "mnuSave" << "Ctrl+S";
        QTest::newRow("Save As") << "mnuSaveAS" << "Ctrl+Shift+S";
        QTest::newRow("Exit") << "mnuExit" << "Ctrl+Q";
        QTest::newRow("Undo") << "mnuUndo" << "Ctrl+Z";
        QTest::newRow("Copy Room") << "mnuCopyRoom" << "Ctrl+C";
        QTest::newRow("Paste Room") << "mnuPasteRoom" << "Ctrl+V";
        QTest::newRow("Zone 4") << "mnuStageSelect3" << "Ctrl+4";
        QTest::newRow("Editor Grid") << "mnuGrid0" << "Ctrl+G";
        QTest::newRow("Tile Selector Grid") << "mnuGrid1" << "Ctrl+Shift+G";
        QTest::newRow("Next Room") << "mnuNextRoom" << "PgDown";
        QTest::newRow("Last Room") << "mnuLastRoom" << "End";
    }
    void menusShowTheirShortcuts()
    {
        QFETCH(QString, entry);
        QFETCH(QString, keys);
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(52).bytes()));
        s.chooseZone(0);
        auto* action = s.Main.findChild<QAction*>(entry);
        QVERIFY(action);
        QCOMPARE(action->shortcut(), QKeySequence(keys));
        // The program's own menus draw the caption with the keys after a tab.
        s.Main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.Main));
        QMenu* popup = nullptr;
        for (QMenu* menu : s.Main.findChildren<QMenu*>())
            if (menu->actions().contains(action))
                popup = menu;
        QVERIFY(popup);
        popup->popup(s.Main.mapToGlobal(QPoint(10, 30)));
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        bool known = false;
        const int id = action->property("ODMenuItemId").toInt(&known);
        QVERIFY(known);
        const QString caption = MenuCaptionStore().value(MenuCaptionKey(&s.Main, id));
        QCOMPARE(caption.section(QLatin1Char('\t'), 1), QKeySequence(keys).toString(QKeySequence::NativeText));
        popup->hide();
    }

    void fileKeys()
    {
        EditorSession s;
        int ended = 0;
        frmVornEd::EndProgram() = [&ended] { ++ended; };
        QList<MessageRequest> asked;
        QMessageBox::StandardButton answer = QMessageBox::No;
        SetMessageResponder([&](const MessageRequest& m) {
            asked << m;
            return answer;
        });
        s.Main.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.Main));
        // Ctrl+O opens through the file dialog.
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(53).bytes()));
        const QString file = RomFileName;
        int dialogs = 0;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            ++dialogs;
            return FileDialogAnswer{true, file, r.FilterIndex, r.Flags};
        });
        QTest::keyClick(&s.Main, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs, 1);
        QCOMPARE(RomFileName, file);
        // Ctrl+S saves.
        s.chooseZone(0);
        s.select(AbsentMetatile(0, 0));
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseUp(1, {}, 10, 10);
        QCOMPARE(s.Main.PanelText(3), QStringLiteral("Modified"));
        QTest::keyClick(&s.Main, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(s.Main.PanelText(3), QString());
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray(reinterpret_cast<const char*>(RomImage.data()), int(RomImage.size())));
        // Ctrl+Q asks the close question; No keeps the program.
        asked.clear();
        QTest::keyClick(&s.Main, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].Text, QStringLiteral("Are You Sure You Want To Exit?"));
        QCOMPARE(ended, 0);
        QVERIFY(s.Main.isVisible());
        answer = QMessageBox::Yes;
        QTest::keyClick(&s.Main, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(ended, 1);
        frmVornEd::EndProgram() = [] { QCoreApplication::exit(0); };
        SetMessageResponder({});
    }

    void windowKeepsItsSize()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QString(120, QLatin1Char('f')) + QStringLiteral("/") + QString(90, QLatin1Char('g')));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/image.nes");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const auto bytes = fixture::MakeLevelImageBuilder(54).bytes();
            f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        }
        EditorSession s;
        s.Main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.Main));
        QCOMPARE(s.Main.width(), 649);
        QVERIFY(s.Main.OpenRomPath(path));
        s.chooseZone(0);
        s.Main.picEditor_MouseMove(0, {}, 500, 380);
        QCoreApplication::processEvents();
        QCOMPARE(s.Main.PanelText(1), path);
        QCOMPARE(s.Main.findChild<QLabel*>(QStringLiteral("HoverPanel"))->text(), s.Main.PanelText(4));
        QCOMPARE(s.Main.width(), 649);
        QCOMPARE(s.Main.centralWidget()->width(), 649);
        QCOMPARE(s.Main.centralWidget()->height() + s.Main.SB1->height(), 447);
        // The specified controls keep their places; the number sits left of the preview.
        QCOMPARE(s.Main.picSelectedTile->geometry(), QRect(568, 320, 64, 64));
        QVERIFY(s.Main.lblSelectedTile->geometry().right() < 568);
        QVERIFY(s.Main.lblSelectedTile->geometry().left() >= 528);
    }
};

QTEST_MAIN(TestPainting)
#include "test_painting.moc"
