// The palette editor's slots on the level view's palette bytes: where each
// slot's byte is, that a write changes that byte only, the fixed background,
// colour display and tooltips, grid geometry and frames.
#include "../fixtures/LevelFixture.h"
#include "../fixtures/ReferenceDecode.h"
#include "editors/PaletteSlots.h"
#include "gfx/NesColours.h"
#include "demo/DemoCartridge.h"

#include <QtTest>

#include <cmath>

namespace {
QList<qint64> ChangedOffsets(const RomBytes& before, const RomBytes& after)
{
    QList<qint64> changed;
    for (qint64 i = 0; i < before.size(); ++i)
        if (before.read(i) != after.read(i))
            changed << i;
    return changed;
}
}

class TestPaletteSlots : public QObject {
    Q_OBJECT
private slots:
    void swatchSlots()
    {
        const int expected[16] = {0, 1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12};
        for (int i = 0; i < 16; ++i)
            QCOMPARE(SwatchSlot(i), expected[i]);
        QCOMPARE(SwatchSlot(-1), -1);
        QCOMPARE(SwatchSlot(16), -1);
    }

    void slotWriteChangesOnlyItsByte_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("slot");
        for (int slot = 1; slot <= 12; ++slot) {
            QTest::addRow("demo zone 4 slot %d", slot) << true << 3 << slot;
            QTest::addRow("fixture zone 1 slot %d", slot) << false << 0 << slot;
            QTest::addRow("fixture zone 7 slot %d", slot) << false << 6 << slot;
        }
    }
    void slotWriteChangesOnlyItsByte()
    {
        QFETCH(bool, demo);
        QFETCH(int, zone);
        QFETCH(int, slot);
        RomBytes rom = demo ? MakeDemoCartridge() : fixture::MakeLevelImage(5);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        // The byte the level view reads for colour c of palette p; palette 3
        // through the first zone's table.
        const int p = (slot - 1) / 3, c = (slot - 1) % 3 + 1;
        const int owner = p == 3 ? 0 : zone;
        const qint64 expectedAt =
            reference::pointer(rom.bytes(), ZoneConstantsTable[owner].PaletteTable, p) + c - 1;
        const LevelContext level{rom, zones, zone};
        QCOMPARE(PaletteSlotOffset(level, slot), expectedAt);
        QCOMPARE(ReadPaletteSlot(level, slot), rom.read(expectedAt));

        const RomBytes before = rom;
        const std::uint8_t colour = std::uint8_t((rom.read(expectedAt) + 0x11) & 0x3F);
        QCOMPARE(WritePaletteSlot(rom, zones, zone, slot, colour), SlotWrite::Written);
        QCOMPARE(ChangedOffsets(before, rom), QList<qint64>{expectedAt});
        QCOMPARE(rom.read(expectedAt), int(colour));
    }

    void backgroundSlotIsFixed()
    {
        RomBytes rom = MakeDemoCartridge();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const RomBytes before = rom;
        QCOMPARE(PaletteSlotOffset(LevelContext{rom, zones, 2}, 0), qint64(NoOffset));
        QCOMPARE(ReadPaletteSlot(LevelContext{rom, zones, 2}, 0), 0x0F);
        QCOMPARE(WritePaletteSlot(rom, zones, 2, 0, 0x30), SlotWrite::FixedColour);
        QCOMPARE(rom, before);
    }

    // A palette table whose colour bytes lie past the end of the image.
    void shortImageWritesNothing()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(5);
        b.putPointer(ZoneConstantsTable[1].PaletteTable, 2, 0x7FFE);   // colours at 0x7FFE..0x8000
        std::vector<std::uint8_t> bytes = b.bytes();
        bytes.resize(0x7FFF);
        RomBytes rom{bytes};
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, 1};
        QVERIFY(ReadPaletteSlot(level, 7) >= 0);
        QCOMPARE(ReadPaletteSlot(level, 8), -1);
        QCOMPARE(ReadPaletteSlot(level, 9), -1);
        const RomBytes before = rom;
        QCOMPARE(WritePaletteSlot(rom, zones, 1, 9, 0x21), SlotWrite::OutsideImage);
        QCOMPARE(WritePaletteSlot(rom, zones, 60, 1, 0x21), SlotWrite::OutsideImage);
        QCOMPARE(rom, before);
    }

    void tooltipsAndShownColours_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<int>("shownAs");
        QTest::newRow("0x0F") << 0x0F << "F" << 0x0F;
        QTest::newRow("0x30") << 0x30 << "30" << 0x30;
        QTest::newRow("0x00") << 0x00 << "0" << 0x00;
        QTest::newRow("0x2A") << 0x2A << "2A" << 0x2A;
        QTest::newRow("0x4F") << 0x4F << "4F" << 0x0F;
        QTest::newRow("0xE1") << 0xE1 << "E1" << 0x21;
        QTest::newRow("no data") << -1 << "No data" << -1;
    }
    void tooltipsAndShownColours()
    {
        QFETCH(int, byte);
        QFETCH(QString, tooltip);
        QFETCH(int, shownAs);
        QCOMPARE(ColourTooltip(byte), tooltip);
        Canvas swatch(SwatchSide, SwatchSide);
        PaintSwatch(swatch, byte);
        if (shownAs < 0) {
            QCOMPARE(swatch.pixel(0, 0) & 0xFFFFFFu, 0xFF00FFu);
            QCOMPARE(swatch.pixel(4, 0) & 0xFFFFFFu, 0u);
            return;
        }
        const std::uint32_t colour = PackRgb(NesColourRgb[std::size_t(shownAs)]);
        QCOMPARE(ShownColour(byte), colour);
        for (int y = 0; y < SwatchSide; ++y)
            for (int x = 0; x < SwatchSide; ++x)
                QCOMPARE(swatch.pixel(x, y) & 0xFFFFFFu, colour);
        QCOMPARE(GridCellX(byte), (shownAs % 16) * 32);
        QCOMPARE(GridCellY(byte), (shownAs / 16) * 32);
    }

    void gridCellUnderClick_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("colour");
        QTest::newRow("origin") << 0.0 << 0.0 << 0x00;
        QTest::newRow("(100, 40)") << 100.0 << 40.0 << 0x13;
        QTest::newRow("last cell") << 511.0 << 127.0 << 0x3F;
        QTest::newRow("31.5 rounds to 32") << 31.5 << 0.0 << 0x01;
        QTest::newRow("30.5 rounds to 30") << 30.5 << 0.0 << 0x00;
        QTest::newRow("past the right edge") << 700.0 << 10.0 << 0x0F;
        QTest::newRow("past the bottom") << 10.0 << 300.0 << 0x30;
        QTest::newRow("negative") << -5.0 << -5.0 << 0x00;
        QTest::newRow("not a number") << std::nan("") << 40.0 << 0x10;
    }
    void gridCellUnderClick()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, colour);
        QCOMPARE(int(GridColourAt(x, y)), colour);
    }

    void gridDrawing()
    {
        Canvas grid(512, 128);
        DrawPaletteGrid(grid, 96, 32);
        for (int n = 0; n < 64; ++n) {
            const int x = (n % 16) * 32 + 16, y = (n / 16) * 32 + 16;
            QCOMPARE(grid.pixel(x, y) & 0xFFFFFFu, PackRgb(NesColourRgb[std::size_t(n)]));
        }
        // Black lines between the cells.
        QCOMPARE(grid.pixel(64, 10) & 0xFFFFFFu, 0u);
        QCOMPARE(grid.pixel(10, 96) & 0xFFFFFFu, 0u);
        // The frame on cell 0x13 at (96, 32): black, white, black on every side.
        for (auto [x, y] : {std::pair{96, 48}, std::pair{127, 48}, std::pair{110, 32}, std::pair{110, 63}})
            QCOMPARE(grid.pixel(x, y) & 0xFFFFFFu, 0u);
        for (auto [x, y] : {std::pair{97, 48}, std::pair{126, 48}, std::pair{110, 33}, std::pair{110, 62}})
            QCOMPARE(grid.pixel(x, y) & 0xFFFFFFu, 0xFFFFFFu);
        for (auto [x, y] : {std::pair{98, 48}, std::pair{125, 48}, std::pair{110, 34}, std::pair{110, 61}})
            QCOMPARE(grid.pixel(x, y) & 0xFFFFFFu, 0u);
        QCOMPARE(grid.pixel(99, 48) & 0xFFFFFFu, PackRgb(NesColourRgb[0x13]));

        FillPaletteGrid(grid);
        QCOMPARE(grid.pixel(96, 48) & 0xFFFFFFu, PackRgb(NesColourRgb[0x13]));
        QCOMPARE(grid.pixel(64, 10) & 0xFFFFFFu, PackRgb(NesColourRgb[0x02]));
    }
};

QTEST_APPLESS_MAIN(TestPaletteSlots)
#include "test_palette_slots.moc"
