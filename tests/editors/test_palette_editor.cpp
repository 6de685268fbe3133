// The palette editor as the main window keeps it: swatches on the level
// view's palette bytes, swatch and grid clicks, the fixed background, the
// level view drawing with the stored colours, tooltips and frames.
#include "../fixtures/LevelFixture.h"
#include "EditorSession.h"
#include "editors/PaletteSlots.h"
#include "gfx/Metatile.h"
#include "demo/DemoCartridge.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>

namespace {
std::uint32_t Colour(int byte) { return PackRgb(NesColourRgb[std::size_t(byte & 0x3F)]); }

// Every quadrant of the shown room that uses palette p is drawn, pixel by
// pixel, in the colours of the swatches 4p .. 4p + 3. Returns the number of
// quadrants checked.
int CompareRoomWithSwatches(const frmVornEd& main, const frmPaletteEditor& editor, int p)
{
    const QImage view = main.picEditor->canvas().image();
    const ZoneInfo& zone = ZoneTable[std::size_t(CurrentZone)];
    const std::int32_t room = ReadRomPointer(RomImage, zone.RoomTable, main.hLevel_Frames->value());
    std::uint32_t swatch[4];
    for (int c = 0; c < 4; ++c)
        swatch[c] = Rgb(editor.picLoadedPal[std::size_t(4 * p + c)]->canvas().pixel(16, 16));
    int checked = 0;
    for (int cell = 0; cell < 48; ++cell) {
        const int m = RomImage.read(room + cell);
        const int attr = RomImage.read(zone.MetatileAttrs + m);
        for (int q = 0; q < 4; ++q) {
            if (((attr >> (2 * q)) & 3) != p)
                continue;
            ++checked;
            for (int n = 0; n < 4; ++n) {
                const int k = MetatileDrawOrder[std::size_t(4 * q + n)];
                const int t = RomImage.read(zone.MetatileTiles + 16 * m + k);
                for (int r = 0; r < 8; ++r)
                    for (int c = 0; c < 8; ++c) {
                        const int x = (cell % 8) * 64 + (k % 4) * 16 + 2 * c;
                        const int y = (cell / 8) * 64 + (k / 4) * 16 + 2 * r;
                        const int v = TilePixelValue(RomImage, zone.TileBank, t, r, c);
                        if (Rgb(view.pixel(x, y)) != swatch[v]) {
                            qWarning("cell %d quadrant %d tile pixel (%d, %d)", cell, q, c, r);
                            return -1;
                        }
                    }
            }
        }
    }
    return checked;
}

// The three outlines of a frame at the edge of a w x h area at (x, y).
void VerifyFrame(const QImage& image, int x, int y, int w)
{
    const std::uint32_t ring[3] = {0x000000, 0xFFFFFF, 0x000000};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(Rgb(image.pixel(x + i, y + w / 2)), ring[i]);
        QCOMPARE(Rgb(image.pixel(x + w - 1 - i, y + w / 2)), ring[i]);
        QCOMPARE(Rgb(image.pixel(x + w / 2, y + i)), ring[i]);
        QCOMPARE(Rgb(image.pixel(x + w / 2, y + w - 1 - i)), ring[i]);
    }
}
}

class TestPaletteEditor : public QObject {
    Q_OBJECT
private slots:
    void zoneChoiceLoadsItHidden()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        QVERIFY(!LoadedPaletteEditor());
        s.chooseZone(4);
        frmPaletteEditor* e = LoadedPaletteEditor();
        QVERIFY(e);
        QVERIFY(!e->isVisible());
        QCOMPARE(e->windowTitle(), QStringLiteral("Palette Editor"));
        QCOMPARE(e->size(), QSize(529, 287));
        QCOMPARE(e->parentWidget(), &s.Main);
        QCOMPARE(e->picLoadedPal[5]->geometry(), QRect(336, 40, 32, 32));
        QCOMPARE(e->picLoadedPal[12]->geometry(), QRect(288, 88, 32, 32));
        QCOMPARE(e->picPalGrid->geometry(), QRect(8, 144, 512, 128));
        for (int i = 0; i < 16; ++i) {
            const int byte = ReadPaletteSlot(LevelContext{RomImage, ZoneTable, 4}, SwatchSlot(i));
            QCOMPARE(Rgb(e->picLoadedPal[i]->canvas().pixel(0, 0)), Colour(byte));
        }
        s.Main.mnuPalette_Click();
        QVERIFY(e->isVisible());
        QVERIFY(!s.Main.mnuPalette->isEnabled());
    }

    // Each slot: only the byte the level view reads changes, and the level
    // view draws every quadrant with that palette in the swatches' colours.
    void gridClickStoresInTheSlot_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("swatch");
        for (int i = 0; i < 16; ++i) {
            if (i % 4 == 0)
                continue;
            QTest::addRow("zone 2 swatch %d", i) << 1 << i;
            QTest::addRow("zone 6 swatch %d", i) << 5 << i;
        }
    }
    void gridClickStoresInTheSlot()
    {
        QFETCH(int, zone);
        QFETCH(int, swatch);
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(31).bytes()));
        s.chooseZone(zone);
        s.Main.hLevel_Frames->setValue(3);
        frmPaletteEditor* e = LoadedPaletteEditor();
        e->picLoadedPal_Click(swatch);
        const int p = swatch / 4, c = swatch % 4;
        QCOMPARE(int(e->SelectedSlot), 3 * p + c);
        QCOMPARE(int(e->SelectedSwatch), swatch);

        const int owner = p == 3 ? 0 : zone;
        const qint64 at = fixture::PaletteAt(owner, p) + c - 1;
        const int old = RomImage.read(at);
        VerifyFrame(e->picLoadedPal[swatch]->canvas().image(), 0, 0, 32);
        VerifyFrame(e->picPalGrid->canvas().image(), GridCellX(old), GridCellY(old), 32);
        QCOMPARE(e->picLoadedPal[swatch]->toolTip(), QString::number(old, 16).toUpper());

        const int colour = ((old & 0x3F) + 23) % 64;
        const RomBytes before = RomImage;
        e->picPalGrid_MouseDown(1, {}, (colour % 16) * 32 + 5, (colour / 16) * 32 + 30);
        QCOMPARE(ChangedOffsets(before, RomImage), QList<qint64>{at});
        QCOMPARE(RomImage.read(at), colour);
        QCOMPARE(Rgb(e->picLoadedPal[swatch]->canvas().pixel(16, 16)), Colour(colour));
        QCOMPARE(e->picLoadedPal[swatch]->toolTip(), QString::number(colour, 16).toUpper());
        VerifyFrame(e->picLoadedPal[swatch]->canvas().image(), 0, 0, 32);
        VerifyFrame(e->picPalGrid->canvas().image(), GridCellX(colour), GridCellY(colour), 32);
        // The main window has drawn the level view with the new colour.
        const int quadrants = CompareRoomWithSwatches(s.Main, *e, p);
        QVERIFY2(quadrants > 0, "the room shows no quadrant with this palette");
        QVERIFY(s.Messages.isEmpty());
    }

    void backgroundSwatchesStoreNothing_data()
    {
        QTest::addColumn<int>("swatch");
        for (int i : {0, 4, 8, 12})
            QTest::addRow("swatch %d", i) << i;
    }
    void backgroundSwatchesStoreNothing()
    {
        QFETCH(int, swatch);
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(2);
        frmPaletteEditor* e = LoadedPaletteEditor();
        e->picLoadedPal_Click(swatch);
        QCOMPARE(int(e->SelectedSlot), 0);
        const RomBytes before = RomImage;
        e->picPalGrid_MouseDown(1, {}, 100, 40);
        QCOMPARE(RomImage, before);
        for (int i : {0, 4, 8, 12}) {
            QCOMPARE(e->picLoadedPal[i]->toolTip(), QStringLiteral("F"));
            QCOMPARE(Rgb(e->picLoadedPal[i]->canvas().pixel(16, 16)), Colour(0x0F));
        }
        VerifyFrame(e->picPalGrid->canvas().image(), 15 * 32, 0, 32);
        // Every background pixel of the level view is 0x0F.
        QVERIFY(CompareRoomWithSwatches(s.Main, *e, 0) >= 0);
    }

    void firstGridClickUsesSlotZero()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(0);
        frmPaletteEditor* e = LoadedPaletteEditor();
        // Before any click the grid is blank.
        QCOMPARE(Rgb(e->picPalGrid->canvas().pixel(100, 40)), 0u);
        const RomBytes before = RomImage;
        e->picPalGrid_MouseDown(1, {}, 100, 40);
        QCOMPARE(RomImage, before);
        QCOMPARE(int(e->SelectedSwatch), 0);
        VerifyFrame(e->picLoadedPal[0]->canvas().image(), 0, 0, 32);
        QCOMPARE(Rgb(e->picLoadedPal[4]->canvas().pixel(0, 0)), Colour(0x0F));   // not framed
        VerifyFrame(e->picPalGrid->canvas().image(), 15 * 32, 0, 32);
    }

    void tooltipsAndEdgeCells()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(8);
        b.put(fixture::PaletteAt(2, 1) + 1, 0x30);   // slot 5 of zone 3
        b.put(fixture::PaletteAt(2, 0), 0x4F);       // slot 1
        EditorSession s;
        QVERIFY(s.open(b.bytes()));
        s.chooseZone(2);
        frmPaletteEditor* e = LoadedPaletteEditor();
        QCOMPARE(e->picLoadedPal[0]->toolTip(), QStringLiteral("F"));
        QCOMPARE(e->picLoadedPal[6]->toolTip(), QStringLiteral("30"));
        QCOMPARE(e->picLoadedPal[1]->toolTip(), QStringLiteral("4F"));
        QCOMPARE(Rgb(e->picLoadedPal[1]->canvas().pixel(5, 5)), Colour(0x0F));

        // Swatch 1's byte 0x4F is framed in the grid at 0x0F's cell.
        e->picLoadedPal_Click(1);
        VerifyFrame(e->picPalGrid->canvas().image(), 15 * 32, 0, 32);

        // Swatch 6 is slot 5; (100, 40) is colour 0x13, framed at (96, 32).
        e->picLoadedPal_Click(6);
        QCOMPARE(int(e->SelectedSlot), 5);
        e->picPalGrid_MouseDown(2, {}, 100, 40);
        QCOMPARE(RomImage.read(fixture::PaletteAt(2, 1) + 1), 0x13);
        VerifyFrame(e->picPalGrid->canvas().image(), 96, 32, 32);
        // The last cell stores 0x3F.
        e->picPalGrid_MouseDown(1, {}, 511, 127);
        QCOMPARE(RomImage.read(fixture::PaletteAt(2, 1) + 1), 0x3F);
        VerifyFrame(e->picPalGrid->canvas().image(), 480, 96, 32);
        QCOMPARE(e->picLoadedPal[6]->toolTip(), QStringLiteral("3F"));
    }

    // The palette's colour bytes lie past the end of the image: the swatches
    // show "no data", a grid click stores nothing and the user is told once.
    void shortImage()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(9);
        b.putPointer(ZoneConstantsTable[0].PaletteTable, 3, 0x7FFE);
        std::vector<std::uint8_t> bytes = b.bytes();
        bytes.resize(0x7FFF);
        EditorSession s;
        QVERIFY(s.open(bytes));
        s.chooseZone(0);
        frmPaletteEditor* e = LoadedPaletteEditor();
        QCOMPARE(e->picLoadedPal[13]->toolTip(), QString::number(RomImage.read(0x7FFE), 16).toUpper());
        for (int i : {14, 15})
            QCOMPARE(e->picLoadedPal[i]->toolTip(), QStringLiteral("No data"));
        e->picLoadedPal_Click(14);
        const RomBytes before = RomImage;
        e->picPalGrid_MouseDown(1, {}, 40, 40);
        e->picPalGrid_MouseDown(1, {}, 80, 40);
        QCOMPARE(RomImage, before);
        QCOMPARE(s.Messages.size(), 1);
        QCOMPARE(s.Messages[0].Title, AppTitle());
    }

    // Tools › Palette Editor follows the specified entry, a separator first,
    // and is enabled by a zone choice; Edit › Palette stays disabled. Its
    // edits are undo steps that every view follows.
    void toolsEntryOpensItAndItsEditsUndo()
    {
        EditorSession s;
        const QList<QAction*> tools = s.Main.mnuTools->actions();
        QCOMPARE(tools.at(0), s.Main.mnuGenerator);
        const qsizetype entry = tools.indexOf(s.Main.mnuPaletteEditor);
        QVERIFY(entry >= 2);
        QVERIFY(tools.at(entry - 1)->isSeparator());
        QCOMPARE(tools.at(entry + 1), s.Main.mnuFindUses);
        QCOMPARE(s.Main.mnuPaletteEditor->text(), QStringLiteral("Pa&lette Editor"));
        QVERIFY(!s.Main.mnuPaletteEditor->isEnabled());
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(31).bytes()));
        QVERIFY(!s.Main.mnuPaletteEditor->isEnabled());
        s.chooseZone(1);
        s.Main.hLevel_Frames->setValue(3);
        QVERIFY(s.Main.mnuPaletteEditor->isEnabled());
        QVERIFY(!s.Main.mnuPalette->isEnabled());
        s.Main.mnuPaletteEditor->trigger();
        frmPaletteEditor* e = LoadedPaletteEditor();
        QVERIFY(e && e->isVisible());

        e->picLoadedPal_Click(6);
        const qint64 at = fixture::PaletteAt(1, 1) + 1;
        const int old = RomImage.read(at);
        const int colour = ((old & 0x3F) + 9) % 64;
        const int steps = RomHistory().stack().count();
        e->picPalGrid_MouseDown(1, {}, (colour % 16) * 32 + 3, (colour / 16) * 32 + 3);
        QCOMPARE(RomImage.read(at), colour);
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        QCOMPARE(RomHistory().stack().undoText(), QStringLiteral("Colour 2 of Palette 1"));
        QVERIFY(CompareRoomWithSwatches(s.Main, *e, 1) > 0);

        RomHistory().undo();
        QCOMPARE(RomImage.read(at), old);
        QCOMPARE(e->picLoadedPal[6]->toolTip(), QString::number(old, 16).toUpper());
        QCOMPARE(Rgb(e->picLoadedPal[6]->canvas().pixel(16, 16)), Colour(old));
        QVERIFY(CompareRoomWithSwatches(s.Main, *e, 1) > 0);
        RomHistory().redo();
        QCOMPARE(RomImage.read(at), colour);
        QCOMPARE(Rgb(e->picLoadedPal[6]->canvas().pixel(16, 16)), Colour(colour));
        QVERIFY(s.Messages.isEmpty());
    }

    // The line above the swatches says what the chosen swatch is: the fixed
    // background (and that a grid click changed nothing), the colour and
    // its byte, palette 3 shared by every zone.
    void slotInfoSaysWhatAClickDoes()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(4);
        frmPaletteEditor* e = LoadedPaletteEditor();
        QVERIFY(e->lblSlotInfo->text().startsWith(QLatin1String("Click a swatch")));
        QVERIFY(!e->lblSlotInfo->geometry().intersects(e->picLoadedPal[0]->geometry()));
        QVERIFY(!e->lblSlotInfo->geometry().intersects(e->picLoadedPal[15]->geometry()));
        for (int swatch : {0, 4, 8, 12}) {
            e->picLoadedPal_Click(swatch);
            QVERIFY2(e->lblSlotInfo->text().startsWith(QLatin1String("The background colour is fixed")),
                     qPrintable(e->lblSlotInfo->text()));
            QVERIFY(e->lblSlotInfo->text().contains(QLatin1String("NES colour 0x0F")));
        }
        const RomBytes before = RomImage;
        e->picPalGrid_MouseDown(1, {}, 40, 40);
        QCOMPARE(RomImage, before);
        QVERIFY(e->lblSlotInfo->text().startsWith(QLatin1String("Nothing was changed: the background colour is fixed")));

        e->picLoadedPal_Click(7);
        const int byte = ReadPaletteSlot(LevelContext{RomImage, ZoneTable, 4}, 6);
        QCOMPARE(e->lblSlotInfo->text(),
                 QStringLiteral("Colour 3 of palette 1 (0x%1): click a colour below to store it.")
                     .arg(QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'))));
        for (int swatch : {13, 14, 15}) {
            e->picLoadedPal_Click(swatch);
            QVERIFY2(e->lblSlotInfo->text().contains(QLatin1String("Palette 3 is shared by every zone")),
                     qPrintable(e->lblSlotInfo->text()));
        }
        // The line follows the byte through a grid click and its undo.
        const auto hex = [](int b) {
            return QStringLiteral("(0x%1)").arg(QString::number(b, 16).toUpper().rightJustified(2, QLatin1Char('0')));
        };
        const int old = ReadPaletteSlot(LevelContext{RomImage, ZoneTable, 4}, 12);
        const int colour = old == 3 ? 4 : 3;
        e->picPalGrid_MouseDown(1, {}, colour * 32 + 1, 1);
        QVERIFY(e->lblSlotInfo->text().contains(hex(colour)));
        RomHistory().undo();
        QVERIFY2(e->lblSlotInfo->text().contains(hex(old)), qPrintable(e->lblSlotInfo->text()));
    }
};

QTEST_MAIN(TestPaletteEditor)
#include "test_palette_editor.moc"
