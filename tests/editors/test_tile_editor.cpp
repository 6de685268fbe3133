// The tile editor as a user reaches it from the main window: "Edit Tile" on
// the selected metatile, quadrant choice, tile and palette edits that change
// exactly the level view's byte and show in the level view after "Refresh
// Editor", zone changes, closing and reopening, images too short.
#include "../fixtures/LevelFixture.h"
#include "EditorSession.h"
#include "editors/MetatileEdits.h"
#include "gfx/Metatile.h"
#include "demo/DemoCartridge.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int Positions[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 12, 13}, {10, 11, 14, 15}};

// The editor's preview equals cell (column, row) of the level view's
// quadrant q, tile pixel by tile pixel (8 x 8 blocks against 2 x 2 blocks),
// and its four swatches show the colours the level view uses there.
void CompareWithLevelView(const frmTileEdit& editor, const frmVornEd& main, int column, int row, int q)
{
    const QImage preview = editor.picTile->canvas().image();
    const QImage level = main.picEditor->canvas().image();
    const int cx = column * 64 + (q % 2) * 32, cy = row * 64 + (q / 2) * 32;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t expected = Rgb(level.pixel(cx + 2 * x, cy + 2 * y));
            for (int d = 0; d < 4; ++d)
                QCOMPARE(Rgb(level.pixel(cx + 2 * x + d % 2, cy + 2 * y + d / 2)), expected);
            // Inside each 8 x 8 block, away from the grid lines.
            for (int dy = 1; dy < 8; ++dy)
                for (int dx = 1; dx < 8; ++dx) {
                    const int px = 8 * x + dx, py = 8 * y + dy;
                    if (px >= 63 && px <= 65) continue;
                    if (py >= 63 && py <= 65) continue;
                    if (Rgb(preview.pixel(px, py)) != expected)
                        QFAIL(qPrintable(QStringLiteral("quadrant %1 tile pixel (%2, %3)").arg(q).arg(x).arg(y)));
                }
        }
    // Grid overlay.
    QCOMPARE(Rgb(preview.pixel(64, 5)), 0xFFFFFFu);
    QCOMPARE(Rgb(preview.pixel(5, 8)), 0xFFFFFFu);
}

void CompareSwatches(const frmTileEdit& editor, int zone, int m, int q)
{
    const std::optional<ZonePalette> colours = QuadrantColours(LevelContext{RomImage, ZoneTable, zone}, m, q);
    QVERIFY(colours.has_value());
    QCOMPARE((*colours)[0], std::uint8_t(0x0F));
    for (int c = 0; c < 4; ++c) {
        const int byte = (*colours)[std::size_t(c)];
        QCOMPARE(Rgb(editor.picPal[c]->canvas().pixel(8, 8)), PackRgb(NesColourRgb[std::size_t(byte & 0x3F)]));
        QCOMPARE(editor.picPal[c]->toolTip(), QString::number(byte, 16).toUpper());
    }
}

QImage ExpectedBlock(int zone, int m, int q)
{
    Canvas picture(128, 128);
    DrawTileBlock(LevelContext{RomImage, ZoneTable, zone}, picture, m, q, 8);
    DrawTileBlockGrid(picture);
    return picture.image();
}
}

class TestTileEditor : public QObject {
    Q_OBJECT
private slots:
    void layoutAndNames()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(0);
        frmTileEdit* e = LoadedTileEdit();
        QVERIFY(e);
        QVERIFY(!e->isVisible());
        QCOMPARE(e->windowTitle(), QStringLiteral("Tile Editor"));
        // The specified 176 x 306 stay at the left; the panel of explanations
        // lies to their right.
        QCOMPARE(e->height(), 306);
        QVERIFY(e->width() > 176);
        QVERIFY(e->windowFlags() & Qt::Tool);
        QCOMPARE(e->parentWidget(), &s.Main);
        const char* props[6] = {"Solid", "Solid (Can Fall Through)", "Shootable", "Damage Tile", "?", "Hide Behind"};
        for (int b = 0; b < 6; ++b) {
            // The flag's name first, then why the box is greyed.
            QVERIFY(e->chkTileProp[b]->toolTip().startsWith(QLatin1String(props[b]) + QLatin1String(" (not stored")));
            QVERIFY(e->chkTileProp[b]->toolTip().contains(QLatin1String("attribute byte holds the four quadrant palettes")));
            QVERIFY(!e->chkTileProp[b]->isEnabled());
            QCOMPARE(e->chkTileProp[b]->geometry(), QRect(32 + 16 * (5 - b), 224, 17, 17));
        }
        const char* quads[4] = {"Top Left", "Top Right", "Bottom Left", "Bottom Right"};
        for (int q = 0; q < 4; ++q) {
            QCOMPARE(e->optQuadrant[q]->text(), QLatin1String(quads[q]));
            QVERIFY(e->optQuadrant[q]->geometry().left() >= 176);
        }
        QVERIFY(e->optQuadrant[0]->geometry().top() == e->optQuadrant[1]->geometry().top());
        QVERIFY(e->optQuadrant[0]->geometry().left() == e->optQuadrant[2]->geometry().left());
        QCOMPARE(e->picTile->geometry(), QRect(16, 56, 128, 128));
        QCOMPARE(e->vsTile->geometry(), QRect(144, 56, 17, 128));
        QCOMPARE(e->cmdRefresh->text(), QStringLiteral("Refresh Editor"));
        QCOMPARE(e->cmdRefresh->geometry(), QRect(40, 256, 81, 25));
        const int columns[4] = {24, 56, 88, 120};
        const QPoint bars[4] = {{16, 40}, {80, 40}, {16, 184}, {80, 184}};
        QList<QWidget*> specified{e->picTile, e->vsTile, e->cmdRefresh};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(e->picPal[i]->geometry(), QRect(columns[i], 16, 16, 16));
            QCOMPARE(e->optPal[i]->geometry(), QRect(columns[i], 208, 17, 13));
            QCOMPARE(e->hsTile[i]->geometry(), QRect(bars[i], QSize(64, 17)));
            specified << e->picPal[i] << e->optPal[i] << e->hsTile[i];
        }
        for (QCheckBox* box : e->chkTileProp)
            specified << box;
        // Everything added lies beside the specified controls, over none of them.
        for (QWidget* child : e->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (specified.contains(child))
                continue;
            for (QWidget* control : specified)
                QVERIFY2(!child->geometry().intersects(control->geometry()),
                         qPrintable(child->objectName() + QLatin1String(" covers ") + control->objectName()));
        }
        // The labels say what the choosers are, and which metatile is edited.
        QVERIFY(e->lblQuadrant->text().contains(QLatin1String("Quadrant")));
        QVERIFY(e->lblPalette->text().contains(QLatin1String("Palette")));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(e->lblPalNumber[i]->text(), QString::number(i));
        QCOMPARE(e->lblMetatile->text(), QStringLiteral("Metatile 00 of Zone 1"));
        QVERIFY(!s.Main.mnuTileEditor->isEnabled());
        QVERIFY(!s.Main.mnuPalette->isEnabled());
    }

    void editTileOpensOnTheSelectedMetatile()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(2);
        // Nothing selected: nothing opens.
        s.Main.cmdEditTile->click();
        QVERIFY(!LoadedTileEdit()->isVisible());

        s.select(77);
        s.Main.cmdEditTile->click();
        frmTileEdit* e = LoadedTileEdit();
        QVERIFY(e->isVisible());
        QVERIFY(!e->isModal());
        QCOMPARE(e->Metatile(), 77);
        QCOMPARE(e->Quadrant(), 0);
        QVERIFY(e->optQuadrant[0]->isChecked());
        for (int k = 0; k < 4; ++k)
            QCOMPARE(e->hsTile[k]->value(), RomImage.read(ZoneTable[2].MetatileTiles + 16 * 77 + Positions[0][k]));
        QCOMPARE(e->picTile->canvas().image(), ExpectedBlock(2, 77, 0));

        // The menu handler opens on metatile 0.
        s.Main.mnuTileEditor_Click();
        QCOMPARE(e->Metatile(), 0);
    }

    void menuTileEditorNeedsAZone()
    {
        EditorSession s;
        s.Main.mnuTileEditor_Click();
        QVERIFY(!LoadedTileEdit());
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.Main.mnuTileEditor_Click();
        QVERIFY(!LoadedTileEdit());
    }

    // Every kind of edit, in every quadrant: only the level view's byte
    // changes, and after "Refresh Editor" the level view shows what the
    // editor shows.
    void editsChangeOnlyTheirByteAndShowInTheLevelView_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("q");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("index");
        for (int q = 0; q < 4; ++q) {
            for (int k = 0; k < 4; ++k)
                QTest::addRow("zone %d q%d tile %d", 1 + (q + k) % 7, q, k) << (q + k) % 7 << q << "tile" << k;
            for (int p = 0; p < 4; ++p)
                QTest::addRow("zone %d q%d palette %d", 1 + (q * 2 + p) % 7, q, p) << (q * 2 + p) % 7 << q << "palette" << p;
        }
    }
    void editsChangeOnlyTheirByteAndShowInTheLevelView()
    {
        QFETCH(int, zone);
        QFETCH(int, q);
        QFETCH(QString, kind);
        QFETCH(int, index);
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(zone);
        const int m = s.roomMetatile(0, 0);
        QVERIFY(m >= 0);
        s.select(m);
        s.Main.cmdEditTile->click();
        frmTileEdit* e = LoadedTileEdit();
        e->optQuadrant[q]->click();
        QCOMPARE(e->Quadrant(), q);

        const qint64 attrAt = ZoneTable[zone].MetatileAttrs + m;
        if (kind == QLatin1String("palette") && e->optPal[index]->isChecked()) {
            // Start from another palette so that the press is a change.
            QTest::mouseClick(e->optPal[(index + 1) % 4], Qt::LeftButton);
            QCOMPARE((RomImage.read(attrAt) >> (2 * q)) & 3, (index + 1) % 4);
        }
        const RomBytes before = RomImage;
        qint64 expectedAt;
        int expectedValue;
        if (kind == QLatin1String("tile")) {
            expectedAt = ZoneTable[zone].MetatileTiles + 16 * m + Positions[q][index];
            expectedValue = RomImage.read(expectedAt) ^ 0x5A;
            e->hsTile[index]->setValue(expectedValue);
            QCOMPARE(e->hsTile[index]->value(), expectedValue);
        } else {
            expectedAt = attrAt;
            const int old = RomImage.read(attrAt);
            expectedValue = (old & ~(3 << (2 * q))) | (index << (2 * q));
            QTest::mouseClick(e->optPal[index], Qt::LeftButton);
            QVERIFY(e->optPal[index]->isChecked());
        }
        QCOMPARE(ChangedOffsets(before, RomImage), QList<qint64>{expectedAt});
        QCOMPARE(RomImage.read(expectedAt), expectedValue);
        QCOMPARE(e->picTile->canvas().image(), ExpectedBlock(zone, m, q));

        e->cmdRefresh->click();
        CompareWithLevelView(*e, s.Main, 0, 0, q);
        CompareSwatches(*e, zone, m, q);
        // The selector's preview of the selected metatile shows it too.
        QCOMPARE(s.Main.picSelectedTile->canvas().image().copy((q % 2) * 32, (q / 2) * 32, 32, 32),
                 s.Main.picEditor->canvas().image().copy((q % 2) * 32, (q / 2) * 32, 32, 32));
        QVERIFY(s.Messages.isEmpty());
    }

    void zoneChoiceRefreshesForTheSameMetatileAndQuadrant()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImageBuilder(21).bytes()));
        s.chooseZone(1);
        s.select(150);
        s.Main.cmdEditTile->click();
        frmTileEdit* e = LoadedTileEdit();
        e->optQuadrant[2]->click();
        const RomBytes before = RomImage;

        s.chooseZone(5);
        QCOMPARE(RomImage, before);
        QCOMPARE(e->Metatile(), 150);
        QCOMPARE(e->Quadrant(), 2);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(e->hsTile[k]->value(), RomImage.read(ZoneTable[5].MetatileTiles + 16 * 150 + Positions[2][k]));
        QVERIFY(e->optPal[(RomImage.read(ZoneTable[5].MetatileAttrs + 150) >> 4) & 3]->isChecked());
        QCOMPARE(e->picTile->canvas().image(), ExpectedBlock(5, 150, 2));
        CompareSwatches(*e, 5, 150, 2);
        // The palette editor follows the same zone.
        frmPaletteEditor* p = LoadedPaletteEditor();
        QVERIFY(p);
        const int byte = RomImage.read(ReadRomPointer(RomImage, ZoneTable[5].PaletteTable, 1) + 2);
        QCOMPARE(p->picLoadedPal[7]->toolTip(), QString::number(byte, 16).toUpper());
    }

    void closingReloadsWithDefaults()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(3);
        s.select(9);
        s.Main.cmdEditTile->click();
        frmTileEdit* e = LoadedTileEdit();
        e->optQuadrant[3]->click();
        const RomBytes before = RomImage;
        QVERIFY(e->close() == false);   // the close request is turned into a reload
        QVERIFY(!e->isVisible());
        QCOMPARE(RomImage, before);
        QCOMPARE(LoadedTileEdit(), e);
        QCOMPARE(e->Metatile(), 0);
        QCOMPARE(e->Quadrant(), 0);
        QCOMPARE(e->picTile->canvas().image(), ExpectedBlock(3, 0, 0));

        s.select(200);
        s.Main.cmdEditTile->click();
        QVERIFY(e->isVisible());
        QCOMPARE(e->Metatile(), 200);
        QCOMPARE(e->Quadrant(), 0);
    }

    // The zone's tile table runs past the end of the image: the preview shows
    // "no data", writes change nothing and the user is told once.
    void shortImage()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(4);
        std::vector<std::uint8_t> bytes = b.bytes();
        bytes.resize(std::size_t(fixture::TilesAt(0)) + 16 * 3);   // tiles of m 0..2 only
        EditorSession s;
        QVERIFY(s.open(bytes));
        s.chooseZone(0);
        s.select(5);
        s.Main.cmdEditTile->click();
        frmTileEdit* e = LoadedTileEdit();
        QCOMPARE(Rgb(e->picTile->canvas().pixel(4, 4)), 0xFF00FFu);
        const RomBytes before = RomImage;
        e->hsTile[1]->setValue(40);
        e->hsTile[2]->setValue(41);
        QCOMPARE(RomImage, before);
        QCOMPARE(s.Messages.size(), 1);
        QCOMPARE(s.Messages[0].Title, AppTitle());
        QCOMPARE(e->hsTile[1]->value(), 0);
        // The attribute byte is there: the palette still changes.
        QTest::mouseClick(e->optPal[(RomImage.read(fixture::AttrsAt(0) + 5) & 3) ^ 1], Qt::LeftButton);
        QCOMPARE(ChangedOffsets(before, RomImage), QList<qint64>{fixture::AttrsAt(0) + 5});
        QCOMPARE(s.Messages.size(), 1);
    }
};

QTEST_MAIN(TestTileEditor)
#include "test_tile_editor.moc"
