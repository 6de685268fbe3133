// The main window's level view and tile selector as a user drives them:
// choosing zones, paging, selecting, placing metatiles, grids, the room bar
// and saving the result.
#include "../fixtures/ExpectedPictures.h"
#include "../fixtures/LevelFixture.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "rom/ProgramState.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {
using fixture::ExpectedRoom;
using fixture::ExpectedPage;

QImage ExpectedMetatile(int zone, int m)
{
    Canvas picture(64, 64);
    DrawMetatile(LevelContext{RomImage, ZoneTable, zone}, picture, std::uint8_t(m), 2);
    return picture.image();
}

// The picture with white lines at every multiple of 64.
QImage WithGrid(QImage image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (x % 64 == 0 || y % 64 == 0)
                image.setPixel(x, y, 0xFFFFFFFFu);
    return image;
}

QImage Blank(int w, int h) { return Canvas(w, h).image(); }

QImage Cell(const frmVornEd& w, int column, int row)
{
    return w.picEditor->canvas().image().copy(column * 64, row * 64, 64, 64);
}
}

class TestLevelEditing : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    QList<MessageRequest> m_messages;

    // Writes `bytes` to a file and opens it through File > Open.
    void open(frmVornEd& w, const std::vector<std::uint8_t>& bytes)
    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())), qint64(bytes.size()));
        f.close();
        w.mnuOpen->trigger();
        QCOMPARE(RomFileName, m_path);
    }
    void openFixture(frmVornEd& w) { open(w, fixture::MakeLevelImageBuilder(77).bytes()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("level.nes"));
    }
    void init()
    {
        ResetProgramState();
        m_messages.clear();
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            return FileDialogAnswer{true, m_path, r.FilterIndex, r.Flags};
        });
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
    }

    void choosingAnotherZoneResetsTheView()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[0]->trigger();
        w.hLevel_Frames->setValue(12);
        w.hsTable->setValue(9);
        w.picTile_MouseDown(1, {}, 10, 70);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("37"));
        w.mnuGrid[1]->trigger();

        w.mnuStageSelect[2]->trigger();
        for (int j = 0; j < 7; ++j)
            QCOMPARE(w.mnuStageSelect[std::size_t(j)]->isChecked(), j == 2);
        QCOMPARE(CurrentZone, std::int16_t(2));
        QCOMPARE(w.hLevel_Frames->value(), 0);
        QCOMPARE(w.hLevel_Frames->maximum(), 31);
        QCOMPARE(w.hsTable->value(), 0);
        QCOMPARE(w.hsTable->maximum(), 63);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("-1"));
        QCOMPARE(w.picSelectedTile->canvas().image(), Blank(64, 64));
        QCOMPARE(w.PanelText(2), QStringLiteral("Room: 00"));
        QVERIFY(w.mnuView->menuAction()->isEnabled());
        QVERIFY(w.mnuGrid[0]->isEnabled() && w.mnuGrid[1]->isEnabled());
        // The selector grid stays on across zones.
        QVERIFY(w.mnuGrid[1]->isChecked());
        QCOMPARE(w.picEditor->canvas().image(), ExpectedRoom(2, 0));
        QCOMPARE(w.picTile->canvas().image(), WithGrid(ExpectedPage(2, 0)));
    }

    void choosingTheSameZoneAgain()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[1]->trigger();
        w.hLevel_Frames->setValue(5);
        w.picTile_MouseDown(1, {}, 3, 3);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("0"));
        // A second click on the checked entry: Qt unchecks it, the handler
        // checks it again.
        w.mnuStageSelect[1]->trigger();
        QVERIFY(w.mnuStageSelect[1]->isChecked());
        QCOMPARE(w.hLevel_Frames->value(), 0);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("-1"));
        QCOMPARE(w.picEditor->canvas().image(), ExpectedRoom(1, 0));
    }

    void roomBarStopsAtTheLastRoom_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("last");
        QTest::newRow("Zone 7") << 6 << 27;
        QTest::newRow("Zone 6") << 5 << 33;
        QTest::newRow("Zone 1") << 0 << 32;
    }
    void roomBarStopsAtTheLastRoom()
    {
        QFETCH(int, zone);
        QFETCH(int, last);
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[std::size_t(zone)]->trigger();
        QCOMPARE(w.hLevel_Frames->maximum(), last);
        w.hLevel_Frames->setValue(last + 5);
        QCOMPARE(w.hLevel_Frames->value(), last);
        QCOMPARE(w.picEditor->canvas().image(), ExpectedRoom(zone, last));
        QCOMPARE(w.PanelText(2), RoomText(last));
    }

    void scrollBarsBeforeAZoneDrawNothing()
    {
        frmVornEd w;
        w.hsTable->setValue(5);
        w.hsTable->setSliderDown(true);
        w.hsTable->setSliderPosition(9);
        w.hsTable->setSliderDown(false);
        QCOMPARE(w.picTile->canvas().image(), Blank(64, 256));
        openFixture(w);
        w.hsTable->setValue(20);
        w.hLevel_Frames->setValue(1);   // range is 0..0 before a zone
        QCOMPARE(w.hLevel_Frames->value(), 0);
        w.DrawLevel();
        w.DrawTable();
        QCOMPARE(w.picTile->canvas().image(), Blank(64, 256));
        QCOMPARE(w.picEditor->canvas().image(), Blank(512, 384));
        QCOMPARE(w.picSelectedTile->canvas().image(), Blank(64, 64));
        QCOMPARE(w.PanelText(2), QString());
    }

    void selectorPagingAndSelection()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[4]->trigger();
        QCOMPARE(w.picTile->canvas().image(), ExpectedPage(4, 0));
        w.picTile_MouseDown(1, {}, 10, 70);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("1"));
        QCOMPARE(w.picSelectedTile->canvas().image(), ExpectedMetatile(4, 1));

        w.hsTable->setValue(63);
        QCOMPARE(w.picTile->canvas().image(), ExpectedPage(4, 63));
        // The preview keeps the selection after the selector redraw.
        QCOMPARE(w.picSelectedTile->canvas().image(), ExpectedMetatile(4, 1));
        QTest::mouseClick(w.picTile, Qt::LeftButton, {}, QPoint(30, 200));
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("255"));
        QCOMPARE(w.picSelectedTile->canvas().image(), ExpectedMetatile(4, 255));

        // Other buttons change neither the selection nor the preview.
        QTest::mouseClick(w.picTile, Qt::RightButton, {}, QPoint(30, 10));
        w.picTile_MouseDown(4, {}, 30, 70);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("255"));
        QCOMPARE(w.picSelectedTile->canvas().image(), ExpectedMetatile(4, 255));
    }

    void selectorRedrawsWhileTheThumbIsDragged()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[3]->trigger();
        w.hsTable->setSliderDown(true);
        for (int page : {1, 2, 7}) {
            w.hsTable->setSliderPosition(page);
            QCOMPARE(w.picTile->canvas().image(), ExpectedPage(3, page));
        }
        w.hsTable->setSliderDown(false);
        QCOMPARE(w.hsTable->value(), 7);
        QCOMPARE(w.picTile->canvas().image(), ExpectedPage(3, 7));
    }

    void selectorClicksBeforeAFileOrZone()
    {
        frmVornEd w;
        w.picTile_MouseDown(1, {}, 10, 10);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("-1"));
        openFixture(w);
        w.picTile_MouseDown(1, {}, 10, 10);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("-1"));
        QCOMPARE(w.picSelectedTile->canvas().image(), Blank(64, 64));
    }

    void editTileWithoutSelectionDoesNothing()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[0]->trigger();
        const auto windows = QApplication::topLevelWidgets().size();
        const RomBytes before = RomImage;
        w.cmdEditTile->click();
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QCOMPARE(RomImage, before);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("-1"));
        QVERIFY(m_messages.isEmpty());
    }

    void clickGeometry_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("(130, 70)") << 130.0 << 70.0 << 2 << 1;
        QTest::newRow("x 63") << 63.0 << 10.0 << 0 << 0;
        QTest::newRow("x 64") << 64.0 << 10.0 << 1 << 0;
        QTest::newRow("y 383") << 500.0 << 383.0 << 7 << 5;
        QTest::newRow("63.5 rounds to 64") << 63.5 << 63.5 << 1 << 1;
        QTest::newRow("64.5 rounds to 64") << 64.5 << 64.5 << 1 << 1;
        QTest::newRow("62.5 rounds to 62") << 62.5 << 62.5 << 0 << 0;
    }
    void clickGeometry()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, column);
        QFETCH(int, row);
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[2]->trigger();
        w.hLevel_Frames->setValue(5);
        w.hsTable->setValue(10);
        w.picTile_MouseDown(1, {}, 0, 130);   // metatile 42 = 0x2A
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("42"));
        const RomBytes before = RomImage;
        const QImage viewBefore = w.picEditor->canvas().image();
        const std::int64_t at = fixture::RoomAt(2, 5) + 8 * row + column;

        w.picEditor_MouseDown(1, {}, x, y);
        QCOMPARE(RomImage.read(at), 0x2A);
        for (std::int64_t i = 0; i < RomImage.size(); ++i)
            if (i != at && RomImage.read(i) != before.read(i))
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i)));
        // Only the clicked cell is repainted, with the preview.
        QCOMPARE(Cell(w, column, row), ExpectedMetatile(2, 0x2A));
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 8; ++c)
                if (c != column || r != row)
                    QCOMPARE(Cell(w, c, r), viewBefore.copy(c * 64, r * 64, 64, 64));
        QCOMPARE(w.picEditor->canvas().image(), ExpectedRoom(2, 5));
    }

    void otherButtonsAndNoSelectionChangeNothing()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[0]->trigger();
        const RomBytes before = RomImage;
        const QImage view = w.picEditor->canvas().image();
        // Zone chosen, nothing selected yet.
        w.picEditor_MouseDown(1, {}, 100, 100);
        QTest::mouseClick(w.picEditor, Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(RomImage, before);
        w.picTile_MouseDown(1, {}, 10, 10);
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("0"));
        QTest::mouseClick(w.picEditor, Qt::RightButton, {}, QPoint(100, 100));
        QTest::mouseClick(w.picEditor, Qt::MiddleButton, {}, QPoint(300, 300));
        w.picEditor_MouseDown(2, {}, 10, 10);
        QCOMPARE(RomImage, before);
        QCOMPARE(w.picEditor->canvas().image(), view);
        QVERIFY(m_messages.isEmpty());
        // A real left click goes through.
        QTest::mouseClick(w.picEditor, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(RomImage.read(fixture::RoomAt(0, 0) + 9), 0);
    }

    void roomsSharingLayoutBytesChangeTogether()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[fixture::SharedRoomZone]->trigger();
        w.hsTable->setValue(20);
        w.picTile_MouseDown(1, {}, 0, 200);   // metatile 83
        w.hLevel_Frames->setValue(fixture::SharedRoomB);
        w.picEditor_MouseDown(1, {}, 300, 140);   // cell (4, 2)
        w.hLevel_Frames->setValue(fixture::SharedRoomA);
        QCOMPARE(Cell(w, 4, 2), ExpectedMetatile(fixture::SharedRoomZone, 83));
        w.hLevel_Frames->setValue(fixture::SharedRoomB);
        QCOMPARE(Cell(w, 4, 2), ExpectedMetatile(fixture::SharedRoomZone, 83));
    }

    void gridOnThenOffRestoresThePicture_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("Editor Grid") << 0;
        QTest::newRow("Tile Selector Grid") << 1;
    }
    void gridOnThenOffRestoresThePicture()
    {
        QFETCH(int, index);
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[5]->trigger();
        w.hLevel_Frames->setValue(3);
        PictureBox* picture = index == 0 ? w.picEditor : w.picTile;
        const QImage before = picture->canvas().image();
        w.mnuGrid[std::size_t(index)]->trigger();
        QVERIFY(w.mnuGrid[std::size_t(index)]->isChecked());
        const Canvas& c = picture->canvas();
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x)
                QCOMPARE(c.pixel(x, y) & 0xFFFFFFu,
                         x % 64 == 0 || y % 64 == 0 ? 0xFFFFFFu : before.pixel(x, y) & 0xFFFFFFu);
        w.mnuGrid[std::size_t(index)]->trigger();
        QVERIFY(!w.mnuGrid[std::size_t(index)]->isChecked());
        QCOMPARE(picture->canvas().image(), before);
    }

    void placingWithTheGridOnRedrawsIt()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[1]->trigger();
        w.mnuGrid[0]->trigger();
        w.picTile_MouseDown(1, {}, 0, 0);
        w.picEditor_MouseDown(1, {}, 64 * 3 + 5, 64 * 2 + 5);
        const Canvas& c = w.picEditor->canvas();
        for (int i = 0; i < 64; ++i) {
            QCOMPARE(c.pixel(192 + i, 128) & 0xFFFFFFu, 0xFFFFFFu);
            QCOMPARE(c.pixel(192, 128 + i) & 0xFFFFFFu, 0xFFFFFFu);
        }
        QCOMPARE(c.image().copy(193, 129, 63, 63), ExpectedMetatile(1, 0).copy(1, 1, 63, 63));
    }

    void editsAndSaveChangeOnlyTheLayoutBytes()
    {
        frmVornEd w;
        openFixture(w);
        const RomBytes original = RomImage;
        std::set<std::int64_t> changed;
        struct Edit { int zone, room, page, cellInPage; double x, y; };
        const Edit edits[] = {
            {2, 0, 3, 1, 10, 10},  {2, 0, 3, 2, 10, 10},  {2, 7, 0, 0, 511, 383},
            {6, 27, 63, 3, 200, 100}, {6, 1, 12, 0, 64, 64},
        };
        for (const Edit& e : edits) {
            if (CurrentZone != e.zone || !w.mnuStageSelect[std::size_t(e.zone)]->isChecked())
                w.mnuStageSelect[std::size_t(e.zone)]->trigger();
            w.hLevel_Frames->setValue(e.room);
            w.hsTable->setValue(e.page);
            w.picTile_MouseDown(1, {}, 5, 64 * e.cellInPage + 5);
            const RoomCell cell = RoomCellAt(e.x, e.y);
            const std::int64_t at = fixture::RoomAt(e.zone, e.room) + RoomCellIndex(cell);
            w.picEditor_MouseDown(1, {}, e.x, e.y);
            QCOMPARE(RomImage.read(at), 4 * e.page + e.cellInPage);
            if (RomImage.read(at) != original.read(at))
                changed.insert(at);
            else
                changed.erase(at);
        }
        // Writing the value a cell already holds changes no byte.
        const std::int64_t same = fixture::RoomAt(6, 3) + 12;
        w.hLevel_Frames->setValue(3);
        w.hsTable->setValue(original.read(same) / 4);
        w.picTile_MouseDown(1, {}, 5, 64 * (original.read(same) % 4) + 5);
        w.picEditor_MouseDown(1, {}, 4 * 64 + 1, 64 + 1);
        QVERIFY(!changed.empty());

        w.mnuSave->trigger();
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray saved = f.readAll();
        QCOMPARE(qint64(saved.size()), original.size());
        std::set<std::int64_t> differing;
        for (std::int64_t i = 0; i < original.size(); ++i)
            if (std::uint8_t(saved[qsizetype(i)]) != original.read(i))
                differing.insert(i);
        QCOMPARE(differing, changed);
    }

    void roomTextFollowsTheThumbDrag()
    {
        frmVornEd w;
        openFixture(w);
        w.mnuStageSelect[0]->trigger();
        w.hLevel_Frames->setValue(13);
        const QImage room13 = w.picEditor->canvas().image();
        QCOMPARE(room13, ExpectedRoom(0, 13));
        w.hLevel_Frames->setSliderDown(true);
        const std::pair<int, const char*> steps[] = {{14, "Room: 0E"}, {15, "Room: 0F"}, {16, "Room: 10"}};
        for (const auto& [room, text] : steps) {
            w.hLevel_Frames->setSliderPosition(room);
            QCOMPARE(w.PanelText(2), QString::fromLatin1(text));
            QCOMPARE(w.hLevel_Frames->value(), 13);
            QCOMPARE(w.picEditor->canvas().image(), room13);
        }
        w.hLevel_Frames->setSliderDown(false);
        QCOMPARE(w.hLevel_Frames->value(), 16);
        QCOMPARE(w.picEditor->canvas().image(), ExpectedRoom(0, 16));
        QCOMPARE(w.PanelText(2), QStringLiteral("Room: 10"));
    }

    void placingOutsideTheImageTellsTheUser()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(77);
        b.putPointer(fixture::RoomTableAt(6), 4, 0x13000);
        std::vector<std::uint8_t> bytes = b.bytes();
        bytes.resize(0x13000 + 8);   // room 4's first row only
        frmVornEd w;
        open(w, bytes);
        w.mnuStageSelect[6]->trigger();
        w.hLevel_Frames->setValue(4);
        w.picTile_MouseDown(1, {}, 5, 5);
        const RomBytes before = RomImage;
        const QImage view = w.picEditor->canvas().image();
        w.picEditor_MouseDown(1, {}, 100, 100);
        QCOMPARE(RomImage, before);
        QCOMPARE(w.picEditor->canvas().image(), view);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY(m_messages[0].Text.contains(QStringLiteral("04")));
        // The first row exists and takes the metatile.
        w.picEditor_MouseDown(1, {}, 100, 10);
        QCOMPARE(RomImage.read(0x13000 + 1), 0);
        QCOMPARE(m_messages.size(), 1);
    }
};

QTEST_MAIN(TestLevelEditing)
#include "test_level_editing.moc"
