// Graphics editing in the tile editor as a user does it: the pen chosen on
// the swatches, strokes in the preview (bytes, one undo step, the level view
// at once, no gaps on fast moves), the right button, the tile sheet and its
// clicks, the labels that say what is edited and where it is used, and the
// palette options that write on a press only.
#include "../fixtures/LevelFixture.h"
#include "../uses/UsesFixture.h"
#include "EditorSession.h"
#include "editors/MetatileEdits.h"
#include "gfx/Metatile.h"
#include "gfx/TilePixels.h"
#include "gfx/TileSheet.h"
#include "level/RoomView.h"
#include "demo/DemoCartridge.h"
#include "uses/MetatileUses.h"
#include "widgets/SheetWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int Positions[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 12, 13}, {10, 11, 14, 15}};

// Opens the image, chooses the zone and opens the editor on metatile m, quadrant q.
frmTileEdit* OpenEditor(EditorSession& s, const std::vector<std::uint8_t>& image, int zone, int m, int q = 0)
{
    if (!s.open(image))
        return nullptr;
    s.chooseZone(zone);
    s.select(m);
    s.Main.cmdEditTile->click();
    frmTileEdit* e = LoadedTileEdit();
    e->optQuadrant[q]->click();
    return e;
}

int Tile(int zone, int m, int q, int part)
{
    return RomImage.read(ZoneTable[std::size_t(zone)].MetatileTiles + 16 * m + Positions[q][part]);
}

// Where tile pixel (x, y) of the 16 x 16 quadrant lies in the preview.
QPointF At(int x, int y) { return QPointF(8 * x + 4, 8 * y + 4); }

QImage LevelView(int room)
{
    Canvas scratch(CellSize, CellSize);
    Canvas view(512, 384);
    DrawRoom(LevelContext{RomImage, ZoneTable, CurrentZone}, room, scratch, view);
    return view.image();
}

bool Framed(const Canvas& swatch)
{
    return Rgb(swatch.pixel(0, 8)) == 0 && Rgb(swatch.pixel(1, 8)) == 0xFFFFFF && Rgb(swatch.pixel(2, 8)) == 0;
}
}

class TestTilePainting : public QObject {
    Q_OBJECT
private slots:
    void penIsChosenOnTheSwatches()
    {
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, MakeDemoCartridge().bytes(), 0, 17);
        QVERIFY(e);
        QCOMPARE(e->Pen(), 1);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(Framed(e->picPal[c]->canvas()), c == 1);
        for (int pen : {3, 0, 2}) {
            QTest::mouseClick(e->picPal[pen], Qt::LeftButton, {}, QPoint(8, 8));
            QCOMPARE(e->Pen(), pen);
            for (int c = 0; c < 4; ++c)
                QCOMPARE(Framed(e->picPal[c]->canvas()), c == pen);
            // The swatch still shows its colour inside the frame.
            const auto colours = QuadrantColours(LevelContext{RomImage, ZoneTable, 0}, 17, 0);
            QCOMPARE(Rgb(e->picPal[pen]->canvas().pixel(8, 8)), PackRgb(NesColourRgb[(*colours)[std::size_t(pen)] & 0x3F]));
        }
        QVERIFY(s.Messages.isEmpty());
    }

    // A stroke: the plane bytes of exactly the pixels passed, one undo step,
    // the level view and the preview at once.
    void strokeIsOneStep_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("q");
        QTest::addColumn<int>("pen");
        for (int q = 0; q < 4; ++q)
            QTest::addRow("zone %d quadrant %d pen %d", q + 2, q, q) << q + 1 << q << q;
    }
    void strokeIsOneStep()
    {
        QFETCH(int, zone);
        QFETCH(int, q);
        QFETCH(int, pen);
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(zone);
        const int m = s.roomMetatile(2, 3);
        s.select(m);
        s.Main.cmdEditTile->click();
        frmTileEdit* e = LoadedTileEdit();
        e->optQuadrant[q]->click();
        e->picPal_MouseDown(pen);

        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();
        // From tile pixel (2, 3) right along row 3 to (9, 3), into the next part.
        e->picTile_MouseDown(1, {}, At(2, 3).x(), At(2, 3).y());
        for (int x = 3; x <= 9; ++x)
            e->picTile_MouseMove(1, {}, At(x, 3).x(), At(x, 3).y());
        e->picTile_MouseUp(1, {}, At(9, 3).x(), At(9, 3).y());

        // Expected: the pixels' values in the tile format, whatever else.
        RomBytes expected = before;
        const std::int64_t bank = ZoneTable[std::size_t(zone)].TileBank;
        for (int x = 2; x <= 9; ++x) {
            const int part = x / 8, t = before.read(ZoneTable[std::size_t(zone)].MetatileTiles + 16 * m + Positions[q][part]);
            const auto writes = TilePixelWrites(expected, bank + 16 * t, 3, x % 8, pen);
            QVERIFY(writes.has_value());
            for (const ByteWrite& w : *writes)
                expected.write(w.Offset, w.Value);
        }
        QCOMPARE(RomImage, expected);
        QCOMPARE(RomHistory().stack().count(), steps + (expected == before ? 0 : 1));
        for (qint64 at : ChangedOffsets(before, RomImage)) {
            QVERIFY(at >= bank && at < bank + 4096);
            QCOMPARE((at - bank) % 16 % 8, qint64(3));   // row 3 of plane 0 or 1
        }
        Canvas picture(128, 128);
        DrawTileBlock(LevelContext{RomImage, ZoneTable, zone}, picture, m, q, 8);
        DrawTileBlockGrid(picture);
        QCOMPARE(e->picTile->canvas().image(), picture.image());
        // Grid and cross stay.
        QCOMPARE(Rgb(e->picTile->canvas().pixel(64, 27)), 0xFFFFFFu);
        QCOMPARE(Rgb(e->picTile->canvas().pixel(20, 24)), 0xFFFFFFu);
        // The level view shows it without "Refresh Editor".
        QCOMPARE(s.Main.picEditor->canvas().image(), LevelView(s.Main.hLevel_Frames->value()));

        if (ChangedOffsets(before, RomImage).isEmpty())
            return;   // the row already had the pen's value
        RomHistory().undo();
        QCOMPARE(RomImage, before);
        QCOMPARE(s.Main.picEditor->canvas().image(), LevelView(s.Main.hLevel_Frames->value()));
        RomHistory().redo();
        QCOMPARE(RomImage, expected);
        QVERIFY(s.Messages.isEmpty());
    }

    // A fast move draws every tile pixel on the way; leaving the picture
    // draws nothing outside and starts afresh where the pointer comes back.
    void fastMovesLeaveNoGaps()
    {
        EditorSession s;
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(3);
        // Metatile 5 of zone 1: its top-left quadrant shows tiles 0..3, all clear.
        const int parts[4] = {0, 1, 2, 3};
        for (int k = 0; k < 4; ++k)
            b.put(fixture::TilesAt(0) + 16 * 5 + Positions[0][k], std::uint8_t(parts[k]));
        for (int i = 0; i < 64; ++i)
            b.put(ZoneConstantsTable[0].TileBank + i, 0);
        frmTileEdit* e = OpenEditor(s, b.bytes(), 0, 5);
        QVERIFY(e);
        e->picPal_MouseDown(3);
        e->picTile_MouseDown(1, {}, At(0, 0).x(), At(0, 0).y());
        e->picTile_MouseMove(1, {}, At(15, 15).x(), At(15, 15).y());      // the whole diagonal at once
        e->picTile_MouseMove(1, {}, 200, 60);                               // out of the picture
        e->picTile_MouseMove(1, {}, At(15, 4).x(), At(15, 4).y());          // back in on the right
        e->picTile_MouseMove(1, {}, At(12, 4).x(), At(12, 4).y());
        e->picTile_MouseUp(1, {}, 0, 0);
        const LevelContext level{RomImage, ZoneTable, 0};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int t = (y / 8) * 2 + x / 8;
                const bool drawn = x == y || (y == 4 && x >= 12);
                QCOMPARE(ReadTilePixel(RomImage, ZoneTileOffset(level, t), y % 8, x % 8), drawn ? 3 : 0);
            }
        QCOMPARE(RomHistory().stack().undoText(), QStringLiteral("Draw on 3 Tiles"));
        RomHistory().undo();
        for (int i = 0; i < 64; ++i)
            QCOMPARE(RomImage.read(ZoneConstantsTable[0].TileBank + i), 0);
        // Moves without a press, and with another button, draw nothing.
        const RomBytes before = RomImage;
        e->picTile_MouseMove(1, {}, At(3, 3).x(), At(3, 3).y());
        e->picTile_MouseDown(4, {}, At(3, 3).x(), At(3, 3).y());
        e->picTile_MouseMove(4, {}, At(5, 3).x(), At(5, 3).y());
        QCOMPARE(RomImage, before);
    }

    // Two strokes are two steps; the step names the tile.
    void strokesAreSeparateSteps()
    {
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, fixture::MakeLevelImageBuilder(9).bytes(), 2, 40, 1);
        QVERIFY(e);
        const int steps = RomHistory().stack().count();
        const int tile = Tile(2, 40, 1, 3);
        const std::int64_t at = ZoneTable[2].TileBank + 16 * tile;
        const int old = ReadTilePixel(RomImage, at, 1, 1);
        e->picPal_MouseDown(old ^ 1);
        e->picTile_MouseDown(1, {}, At(9, 9).x(), At(9, 9).y());
        e->picTile_MouseUp(1, {}, At(9, 9).x(), At(9, 9).y());
        e->picPal_MouseDown(old ^ 2);
        e->picTile_MouseDown(1, {}, At(9, 9).x(), At(9, 9).y());
        e->picTile_MouseUp(1, {}, At(9, 9).x(), At(9, 9).y());
        QCOMPARE(RomHistory().stack().count(), steps + 2);
        QCOMPARE(RomHistory().stack().undoText(),
                 QStringLiteral("Draw on Tile %1").arg(QString::number(tile, 16).toUpper().rightJustified(2, QLatin1Char('0'))));
        QCOMPARE(ReadTilePixel(RomImage, at, 1, 1), old ^ 2);
        RomHistory().undo();
        QCOMPARE(ReadTilePixel(RomImage, at, 1, 1), old ^ 1);
        RomHistory().undo();
        QCOMPARE(ReadTilePixel(RomImage, at, 1, 1), old);
    }

    // The right button takes the pixel's value as the pen and chooses its
    // part; it writes nothing.
    void rightButtonPicksColourAndPart()
    {
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, fixture::MakeLevelImageBuilder(13).bytes(), 4, 99, 2);
        QVERIFY(e);
        const RomBytes before = RomImage;
        const LevelContext level{RomImage, ZoneTable, 4};
        for (int part = 3; part >= 0; --part) {
            const int x = (part % 2) * 8 + 6, y = (part / 2) * 8 + 1;
            const int value = ReadTilePixel(RomImage, ZoneTileOffset(level, Tile(4, 99, 2, part)), 1, 6);
            e->picTile_MouseDown(2, {}, At(x, y).x(), At(x, y).y());
            QCOMPARE(e->Pen(), value);
            QCOMPARE(e->ChosenPart(), part);
            for (int k = 0; k < 4; ++k)
                QCOMPARE(e->lblTile[k]->frameShape(), k == part ? QFrame::Box : QFrame::NoFrame);
        }
        QCOMPARE(RomImage, before);
    }

    // The zone's tile bank is cut short: drawing on a tile outside the image
    // writes nothing and says so once.
    void drawingOutsideTheImage()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(4);
        for (int k = 0; k < 4; ++k)
            b.put(fixture::TilesAt(6) + 16 * 8 + Positions[0][k], std::uint8_t(250));
        std::vector<std::uint8_t> bytes = b.bytes();
        bytes.resize(std::size_t(ZoneConstantsTable[6].TileBank + 16 * 200));
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, bytes, 6, 8);
        QVERIFY(e);
        const RomBytes before = RomImage;
        e->picTile_MouseDown(1, {}, 10, 10);
        e->picTile_MouseMove(1, {}, 30, 10);
        e->picTile_MouseUp(1, {}, 30, 10);
        QCOMPARE(RomImage, before);
        QCOMPARE(s.Messages.size(), 1);
        QCOMPARE(s.Messages[0].Title, AppTitle());
    }

    void tileSheetSetsTheChosenPart()
    {
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, MakeDemoCartridge().bytes(), 2, 77, 3);
        QVERIFY(e);
        QVERIFY(!e->TileSheet());
        e->cmdTileSheet->click();
        SheetWindow* sheet = e->TileSheet();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Tile Sheet"));
        QCOMPARE(sheet->parentWidget(), &s.Main);
        // The zone's tiles in the quadrant's palette, the chosen part's tile framed.
        const LevelContext level{RomImage, ZoneTable, 2};
        const int palette = ReadQuadrantPalette(level, 77, 3);
        const auto expectSheet = [&](int framed) {
            const QImage image = sheet->canvas().image();
            const ZonePalette colours = TileSheetPalette(level, palette);
            const SheetLayout layout = TileSheetLayout(3);
            QCOMPARE(image.size(), QSize(layout.width(), layout.height()));
            for (int t = 0; t < 256; ++t) {
                const int inset = t == framed ? 3 : 0;
                for (int r = 0; r < 8; ++r)
                    for (int c = 0; c < 8; ++c) {
                        const int x = layout.cellX(t) + 3 * c + 1, y = layout.cellY(t) + 3 * r + 1;
                        if (x - layout.cellX(t) < inset || y - layout.cellY(t) < inset ||
                            x - layout.cellX(t) >= 24 - inset || y - layout.cellY(t) >= 24 - inset)
                            continue;
                        const int v = TilePixelValue(RomImage, ZoneTable[2].TileBank, t, r, c);
                        if (Rgb(image.pixel(x, y)) != PackRgb(NesColourRgb[colours[std::size_t(v)] & 0x3F]))
                            QFAIL(qPrintable(QStringLiteral("tile %1 pixel (%2, %3)").arg(t).arg(c).arg(r)));
                    }
            }
            QCOMPARE(Rgb(image.pixel(layout.cellX(framed), layout.cellY(framed) + 10)), 0u);
            QCOMPARE(Rgb(image.pixel(layout.cellX(framed) + 1, layout.cellY(framed) + 10)), 0xFFFFFFu);
        };
        QCOMPARE(e->ChosenPart(), 0);
        expectSheet(Tile(2, 77, 3, 0));

        // A press on part 2's bar chooses it; a left click on tile 41 gives it that tile.
        QTest::mousePress(e->hsTile[2], Qt::RightButton, {}, QPoint(32, 8));
        QTest::mouseRelease(e->hsTile[2], Qt::RightButton, {}, QPoint(32, 8));
        QCOMPARE(e->ChosenPart(), 2);
        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();
        emit sheet->cellPressed(0x41, 1);
        const qint64 at = ZoneTable[2].MetatileTiles + 16 * 77 + Positions[3][2];
        QCOMPARE(ChangedOffsets(before, RomImage), QList<qint64>{at});
        QCOMPARE(RomImage.read(at), 0x41);
        QCOMPARE(e->hsTile[2]->value(), 0x41);
        QCOMPARE(e->lblTile[2]->text(), QStringLiteral("41"));
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        expectSheet(0x41);
        // Each click is its own step; the right button does nothing.
        emit sheet->cellPressed(0x42, 1);
        QCOMPARE(RomHistory().stack().count(), steps + 2);
        emit sheet->cellPressed(0x43, 2);
        QCOMPARE(RomImage.read(at), 0x42);
        RomHistory().undo();
        QCOMPARE(RomImage.read(at), 0x41);

        // Hovering names the tile and how many metatiles use it.
        const int users = TileMetatileCounts(level)[0x2C];
        emit sheet->cellHovered(0x2C);
        QCOMPARE(sheet->info(), QStringLiteral("Tile 2C: in %1 metatile%2 of Zone 3").arg(users).arg(users == 1 ? "" : "s"));
        emit sheet->cellHovered(-1);
        QVERIFY(sheet->info().contains(QLatin1String("bottom-left part of metatile 4D")));

        // Drawing on the tile shows in the sheet at once.
        e->picPal_MouseDown(ReadTilePixel(RomImage, ZoneTileOffset(level, 0x41), 0, 0) ^ 3);
        e->picTile_MouseDown(1, {}, At(0, 8).x(), At(0, 8).y());
        e->picTile_MouseUp(1, {}, 0, 0);
        expectSheet(0x41);
        // Another zone: the sheet shows its tiles.
        s.chooseZone(5);
        Canvas expected(sheet->canvas().width(), sheet->canvas().height());
        const LevelContext other{RomImage, ZoneTable, 5};
        DrawTileSheet(other, expected, std::max(0, ReadQuadrantPalette(other, 77, 3)), 3,
                      ReadQuadrantTile(other, 77, 3, 2));
        QCOMPARE(sheet->canvas().image(), expected.image());
        QVERIFY(s.Messages.isEmpty());
    }

    void labelsSayWhatIsEditedAndWhereItIsUsed()
    {
        using namespace uses_fixture;
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, MakeBuilder().bytes(), Zone, Shared);
        QVERIFY(e);
        QCOMPARE(e->lblMetatile->text(), QStringLiteral("Metatile 2A of Zone 1"));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(e->lblTile[k]->text(), QStringLiteral("34"));
        QVERIFY2(e->lblUses->text().startsWith(QLatin1String(
                     "Metatile 2A is used in 7 cells of 4 rooms (rooms 00, 02, 03, 05). An edit changes all of them.")),
                 qPrintable(e->lblUses->text()));
        QVERIFY(e->lblTileUses->text().startsWith(
            QLatin1String("Tile 34 (top-left part) is in 1 metatile (2A), used in 7 cells of 4 rooms.")));

        // Metatile 10, bottom-right quadrant: tile 33 in part 3 (position 15).
        e->vsTile->setValue(UsesTileA);
        e->optQuadrant[3]->click();
        QCOMPARE(e->lblMetatile->text(), QStringLiteral("Metatile 10 of Zone 1"));
        QCOMPARE(e->lblTile[3]->text(), QStringLiteral("33"));
        QCOMPARE(e->lblTile[0]->text(), QStringLiteral("01"));
        QVERIFY(e->lblUses->text().startsWith(QLatin1String("Metatile 10 is used in 1 cell of 1 room (room 01).")));
        e->picTile_MouseDown(2, {}, At(12, 12).x(), At(12, 12).y());
        QCOMPARE(e->ChosenPart(), 3);
        QCOMPARE(e->lblTileUses->text(),
                 QStringLiteral("Tile 33 (bottom-right part) is in 2 metatiles (10, 11), used in 3 cells of 3 rooms."));

        // Placing the metatile elsewhere is counted as soon as the events
        // queued with it are handled.
        s.select(UsesTileA);
        s.Main.hLevel_Frames->setValue(9);
        s.Main.picEditor_MouseDown(1, {}, 10, 10);
        s.Main.picEditor_MouseUp(1, {}, 10, 10);
        QTRY_VERIFY(e->lblUses->text().startsWith(QLatin1String("Metatile 10 is used in 2 cells of 2 rooms (rooms 01, 09).")));
        QVERIFY(e->lblUses->text().contains(QLatin1String("An edit changes all of them.")));
    }

    // The palette options write on a press with any button; keys, releases
    // and toggles made from code write nothing and show the stored palette.
    void paletteOptionsWriteOnAPress()
    {
        EditorSession s;
        frmTileEdit* e = OpenEditor(s, fixture::MakeLevelImageBuilder(23).bytes(), 1, 60, 2);
        QVERIFY(e);
        e->show();
        const qint64 at = ZoneTable[1].MetatileAttrs + 60;
        const auto stored = [&] { return (RomImage.read(at) >> 4) & 3; };
        const int start = stored();
        const int other = (start + 1) % 4, third = (start + 2) % 4;

        // The right button writes on the press.
        QTest::mousePress(e->optPal[other], Qt::RightButton, {}, QPoint(6, 6));
        QCOMPARE(stored(), other);
        QVERIFY(e->optPal[other]->isChecked());
        QTest::mouseRelease(e->optPal[other], Qt::RightButton, {}, QPoint(6, 6));
        QCOMPARE(stored(), other);

        // A left press writes before the release; released elsewhere it stays written.
        QTest::mousePress(e->optPal[third], Qt::LeftButton, {}, QPoint(6, 6));
        QCOMPARE(stored(), third);
        QTest::mouseRelease(e->optPal[third], Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(stored(), third);

        // A release alone, the keyboard and toggles from code write nothing.
        const RomBytes before = RomImage;
        QTest::mouseRelease(e->optPal[start], Qt::LeftButton, {}, QPoint(6, 6));
        e->optPal[third]->setFocus();
        QTest::keyClick(e->optPal[third], Qt::Key_Right);
        QTest::keyClick(e->optPal[start], Qt::Key_Space);
        e->optPal[start]->click();
        e->optPal[other]->setChecked(true);
        QCOMPARE(RomImage, before);
        QVERIFY(e->optPal[third]->isChecked());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(e->optPal[i]->isChecked(), i == third);
        QVERIFY(s.Messages.isEmpty());
    }
};

QTEST_MAIN(TestTilePainting)
#include "test_tile_painting.moc"
