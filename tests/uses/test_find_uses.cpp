// Tools › Find Uses and View › Highlight Uses on the uses fixture: the rooms
// and cells listed, a click going to the room through the room bar, the list
// and the frames following placements, undo, the selection, the zone and Open.
#include "../editors/EditorSession.h"
#include "UsesFixture.h"
#include "gfx/Grid.h"
#include "gfx/Metatile.h"
#include "level/RoomView.h"
#include "uses/frmFindUses.h"

#include <QLabel>
#include <QListWidget>

namespace {
using namespace uses_fixture;

QStringList Rows(const frmFindUses& w)
{
    QStringList rows;
    for (int i = 0; i < w.lstRooms->count(); ++i)
        rows << w.lstRooms->item(i)->text();
    return rows;
}

// The shown room as the level view draws it, with frames on `framed` cells.
QImage ExpectedRoom(int room, const QList<QPoint>& framed)
{
    Canvas scratch(CellSize, CellSize);
    Canvas view(512, 384);
    DrawRoom(LevelContext{RomImage, ZoneTable, CurrentZone}, room, scratch, view);
    for (const QPoint& cell : framed)
        DrawSelectionFrame(view, cell.x() * CellSize, cell.y() * CellSize, CellSize, CellSize);
    return view.image();
}
}

class TestFindUses : public QObject {
    Q_OBJECT
private slots:
    void listsRoomsAndGoesThere()
    {
        EditorSession s;
        QVERIFY(s.open(MakeBuilder().bytes()));
        QVERIFY(!s.Main.mnuFindUses->isEnabled());
        s.chooseZone(Zone);
        QVERIFY(s.Main.mnuFindUses->isEnabled());
        s.select(Shared);
        s.Main.mnuFindUses->trigger();
        frmFindUses* w = LoadedFindUses();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Find Uses"));
        QCOMPARE(w->parentWidget(), &s.Main);
        QCOMPARE(w->lblSummary->text(),
                 QStringLiteral("Metatile 2A of Zone 1 is used in 7 cells of 4 rooms. Click a room to show it."));
        QCOMPARE(Rows(*w), (QStringList{QStringLiteral("Room 00: 2 cells (Col 0 Row 0, Col 3 Row 1)"),
                                        QStringLiteral("Room 02: 1 cell (Col 7 Row 5)"),
                                        QStringLiteral("Room 03: 1 cell (Col 7 Row 5), the layout of Room 02"),
                                        QStringLiteral("Room 05: 3 cells (Col 1 Row 2, Col 2 Row 2, Col 6 Row 4)")}));

        // A click on a row shows that room, as the room bar would.
        const QRect row3 = w->lstRooms->visualItemRect(w->lstRooms->item(3));
        QTest::mouseClick(w->lstRooms->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(s.Main.hLevel_Frames->value(), 5);
        QCOMPARE(s.Main.PanelText(2), QStringLiteral("Room: 05"));
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, {}));
        w->lstRooms_Click(1);
        QCOMPARE(s.Main.hLevel_Frames->value(), 2);

        // A placement adds a room; its undo takes it away again.
        s.Main.hLevel_Frames->setValue(7);
        s.Main.picEditor_MouseDown(1, {}, 70, 10);
        s.Main.picEditor_MouseUp(1, {}, 70, 10);
        QTRY_COMPARE(w->lblSummary->text(),
                 QStringLiteral("Metatile 2A of Zone 1 is used in 8 cells of 5 rooms. Click a room to show it."));
        QCOMPARE(Rows(*w).at(4), QStringLiteral("Room 07: 1 cell (Col 1 Row 0)"));
        QCOMPARE(w->Rooms(), (std::vector<int>{0, 2, 3, 5, 7}));
        RomHistory().undo();
        QTRY_COMPARE(Rows(*w).size(), 4);

        // Another selection, another zone, a new Open.
        s.select(UsesTileA);
        QCOMPARE(w->lblSummary->text(),
                 QStringLiteral("Metatile 10 of Zone 1 is used in 1 cell of 1 room. Click a room to show it."));
        s.select(0x99);
        QCOMPARE(w->lblSummary->text(), QStringLiteral("Metatile 99 of Zone 1 is not used in any room."));
        QCOMPARE(w->lstRooms->count(), 0);
        s.chooseZone(3);
        QCOMPARE(w->lblSummary->text(), QStringLiteral("No metatile is selected: click one in the tile selector."));
        s.chooseZone(Zone);
        s.select(Shared);
        fixture::ImageBuilder moved = MakeBuilder();
        Place(moved, 0, 3, 1, 0);
        QVERIFY(s.open(moved.bytes()));
        QCOMPARE(Rows(*w).first(), QStringLiteral("Room 00: 1 cell (Col 0 Row 0)"));
        QVERIFY(s.Messages.isEmpty());
    }

    void highlightFramesTheCells()
    {
        EditorSession s;
        QVERIFY(s.open(MakeBuilder().bytes()));
        QVERIFY(!s.Main.mnuHighlightUses->isEnabled());
        s.chooseZone(Zone);
        QVERIFY(s.Main.mnuHighlightUses->isEnabled());
        QVERIFY(!s.Main.mnuHighlightUses->isChecked());
        s.Main.hLevel_Frames->setValue(5);
        s.select(Shared);
        const QList<QPoint> room5{{1, 2}, {2, 2}, {6, 4}};
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, {}));

        s.Main.mnuHighlightUses->trigger();
        QVERIFY(s.Main.mnuHighlightUses->isChecked());
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, room5));
        // With the grid on, the frames lie over it.
        s.Main.mnuGrid[0]->trigger();
        Canvas withGrid(512, 384);
        {
            Canvas scratch(CellSize, CellSize);
            DrawRoom(LevelContext{RomImage, ZoneTable, CurrentZone}, 5, scratch, withGrid);
            DrawGrid(withGrid);
            for (const QPoint& cell : room5)
                DrawSelectionFrame(withGrid, cell.x() * CellSize, cell.y() * CellSize, CellSize, CellSize);
        }
        QCOMPARE(s.Main.picEditor->canvas().image(), withGrid.image());
        s.Main.mnuGrid[0]->trigger();

        // A placed cell is framed at once; its undo takes the frame away.
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, room5 + QList<QPoint>{{0, 0}}));
        s.Main.picEditor_MouseUp(1, {}, 10, 10);
        RomHistory().undo();
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, room5));
        // So are the cells a drag paints.
        s.Main.picEditor_MouseDown(1, {}, 10, 330);
        s.Main.picEditor_MouseMove(1, {}, 140, 330);
        s.Main.picEditor_MouseUp(1, {}, 140, 330);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, room5 + QList<QPoint>{{0, 5}, {1, 5}, {2, 5}}));
        RomHistory().undo();
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, room5));

        // The frames follow the selection and the room.
        s.select(0);
        QList<QPoint> zeros;
        for (int i = 0; i < 48; ++i)
            if (!room5.contains(QPoint(i % 8, i / 8)))
                zeros << QPoint(i % 8, i / 8);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(5, zeros));
        s.select(Shared);
        s.Main.hLevel_Frames->setValue(2);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, {{7, 5}}));

        // Off again: the plain room.
        s.Main.mnuHighlightUses->trigger();
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, {}));
    }
};

QTEST_MAIN(TestFindUses)
#include "test_find_uses.moc"
