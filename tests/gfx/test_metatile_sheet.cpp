// The metatile sheet: every metatile of a zone at the game's size, in its
// cell and nowhere else, the same pixels the level view shows at twice the
// size; the frame of the selected one around it, never over it.
#include "../fixtures/LevelFixture.h"
#include "gfx/Metatile.h"
#include "gfx/MetatileSheet.h"

#include <QtTest>

namespace {
constexpr int Cell = 38;
constexpr QRgb Background = 0xFF000000u | MetatileSheetBackground;
constexpr QRgb Dark = 0xFF000000u, Light = 0xFFFFFFFFu;

// The colour of border pixel (x, y) of a cell (0..37): the three rings of
// the frame when selected, else the background.
QRgb BorderPixel(int x, int y, bool selected)
{
    if (!selected)
        return Background;
    const int ring = std::min({x, y, Cell - 1 - x, Cell - 1 - y});
    return ring == 1 ? Light : Dark;
}
}

class TestMetatileSheet : public QObject {
    Q_OBJECT

private slots:
    void layout()
    {
        const SheetLayout sheet = MetatileSheetLayout();
        QCOMPARE(sheet.Columns, 16);
        QCOMPARE(sheet.Rows, 16);
        QCOMPARE(sheet.width(), 16 * Cell);
        QCOMPARE(sheet.height(), 16 * Cell);
        // A press anywhere in a cell, its border included, is that metatile.
        QCOMPARE(sheet.cellAt(0, 0), 0);
        QCOMPARE(sheet.cellAt(37, 37), 0);
        QCOMPARE(sheet.cellAt(38, 0), 1);
        QCOMPARE(sheet.cellAt(15 * Cell + 20, 2 * Cell + 1), 47);
        QCOMPARE(sheet.cellAt(607, 607), 255);
        QCOMPARE(sheet.cellAt(608, 10), -1);
    }

    void everyMetatileAsTheLevelViewShowsIt_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("selected");
        QTest::newRow("zone 1, none selected") << 0 << -1;
        QTest::newRow("zone 3, 0x2A selected") << 2 << 0x2A;
        QTest::newRow("zone 7, 255 selected") << 6 << 255;
    }
    void everyMetatileAsTheLevelViewShowsIt()
    {
        QFETCH(int, zone);
        QFETCH(int, selected);
        const RomBytes rom = fixture::MakeLevelImage(31);
        ZoneTableArray zones{};
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, zone};
        const SheetLayout layout = MetatileSheetLayout();
        Canvas scratch(32, 32), sheet(layout.width(), layout.height());
        DrawMetatileSheet(level, selected, scratch, sheet);

        Canvas big(64, 64);
        for (int m = 0; m < 256; ++m) {
            // Scale 2 doubles every pixel: its even pixels are the game's.
            DrawMetatile(level, big, std::uint8_t(m), 2);
            const int cx = (m % 16) * Cell, cy = (m / 16) * Cell;
            for (int y = 0; y < Cell; ++y)
                for (int x = 0; x < Cell; ++x) {
                    const bool inner = x >= 3 && x < 35 && y >= 3 && y < 35;
                    const QRgb expected = inner ? big.pixel(2 * (x - 3), 2 * (y - 3)) : BorderPixel(x, y, m == selected);
                    if (sheet.pixel(cx + x, cy + y) != expected)
                        QFAIL(qPrintable(QStringLiteral("metatile %1, pixel (%2, %3)").arg(m).arg(x).arg(y)));
                }
        }
    }

    void theFrameMovesWithTheSelection()
    {
        const RomBytes rom = fixture::MakeLevelImage(5);
        ZoneTableArray zones{};
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, 1};
        const SheetLayout layout = MetatileSheetLayout();
        Canvas scratch(32, 32), moved(layout.width(), layout.height()), fresh(layout.width(), layout.height());
        DrawMetatileSheet(level, 17, scratch, moved);
        DrawMetatileSheetCell(level, 17, false, scratch, moved);
        DrawMetatileSheetCell(level, 200, true, scratch, moved);
        DrawMetatileSheet(level, 200, scratch, fresh);
        QCOMPARE(moved.image(), fresh.image());
    }

    void metatilesBeyondTheImageShowNoData()
    {
        // An image cut inside zone 1's tile table: the metatiles whose tile
        // numbers are gone draw the "no data" pattern, as in the level view.
        auto bytes = fixture::MakeLevelImageBuilder(3).bytes();
        bytes.resize(std::size_t(fixture::TilesAt(0) + 16 * 100));
        const RomBytes rom(bytes);
        ZoneTableArray zones{};
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, 0};
        const SheetLayout layout = MetatileSheetLayout();
        Canvas scratch(32, 32), sheet(layout.width(), layout.height()), big(64, 64);
        DrawMetatileSheet(level, -1, scratch, sheet);
        for (int m : {0, 99, 100, 255}) {
            DrawMetatile(level, big, std::uint8_t(m), 2);
            const int cx = (m % 16) * Cell + 3, cy = (m / 16) * Cell + 3;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    QCOMPARE(sheet.pixel(cx + x, cy + y), big.pixel(2 * x, 2 * y));
        }
    }
};

QTEST_GUILESS_MAIN(TestMetatileSheet)
#include "test_metatile_sheet.moc"
