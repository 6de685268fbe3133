// Reading, writing and drawing one quadrant of a metatile: each write changes
// exactly the byte the level view reads for it, and the quadrant picture
// equals the level view's decoding of that quadrant.
#include "../fixtures/LevelFixture.h"
#include "../fixtures/ReferenceDecode.h"
#include "editors/MetatileEdits.h"
#include "gfx/clsNesTiles.h"
#include "demo/DemoCartridge.h"

#include <QtTest>

namespace {
// Tile positions of each quadrant within the 4 x 4 metatile, written out.
constexpr int Positions[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 12, 13}, {10, 11, 14, 15}};

// Offsets where `after` differs from `before`.
QList<qint64> ChangedOffsets(const RomBytes& before, const RomBytes& after)
{
    QList<qint64> changed;
    for (qint64 i = 0; i < before.size(); ++i)
        if (before.read(i) != after.read(i))
            changed << i;
    return changed;
}

enum Image { Demo, Fixture };
RomBytes MakeImage(int which)
{
    return which == Demo ? MakeDemoCartridge() : fixture::MakeLevelImage(11);
}
}

class TestMetatileEdits : public QObject {
    Q_OBJECT
private slots:
    void tileWriteChangesOnlyItsByte_data()
    {
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("q");
        QTest::addColumn<int>("k");
        for (int q = 0; q < 4; ++q)
            for (int k = 0; k < 4; ++k) {
                QTest::addRow("demo zone 3 m 37 q%d k%d", q, k) << int(Demo) << 2 << 37 << q << k;
                QTest::addRow("fixture zone 7 m 255 q%d k%d", q, k) << int(Fixture) << 6 << 255 << q << k;
            }
    }
    void tileWriteChangesOnlyItsByte()
    {
        QFETCH(int, image);
        QFETCH(int, zone);
        QFETCH(int, m);
        QFETCH(int, q);
        QFETCH(int, k);
        RomBytes rom = MakeImage(image);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const qint64 expectedAt = zones[zone].MetatileTiles + 16 * m + Positions[q][k];
        const int old = rom.read(expectedAt);
        QVERIFY(old >= 0);
        QCOMPARE(ReadQuadrantTile(LevelContext{rom, zones, zone}, m, q, k), old);

        const RomBytes before = rom;
        const std::uint8_t value = std::uint8_t(old ^ 0xA5);
        QVERIFY(WriteQuadrantTile(rom, zones, zone, m, q, k, value));
        QCOMPARE(ChangedOffsets(before, rom), QList<qint64>{expectedAt});
        QCOMPARE(rom.read(expectedAt), int(value));
        QCOMPARE(ReadQuadrantTile(LevelContext{rom, zones, zone}, m, q, k), int(value));
    }

    void paletteWriteChangesOnlyTheQuadrantBits_data()
    {
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("q");
        QTest::addColumn<int>("palette");
        for (int q = 0; q < 4; ++q)
            for (int p = 0; p < 4; ++p) {
                QTest::addRow("demo zone 1 m 5 q%d p%d", q, p) << int(Demo) << 0 << 5 << q << p;
                QTest::addRow("fixture zone 5 m 200 q%d p%d", q, p) << int(Fixture) << 4 << 200 << q << p;
            }
    }
    void paletteWriteChangesOnlyTheQuadrantBits()
    {
        QFETCH(int, image);
        QFETCH(int, zone);
        QFETCH(int, m);
        QFETCH(int, q);
        QFETCH(int, palette);
        RomBytes rom = MakeImage(image);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const qint64 at = zones[zone].MetatileAttrs + m;
        // Start from the other palette values in every quadrant so the write
        // is always a change and the other bits are a mix.
        int startBits = 0;
        for (int j = 0; j < 4; ++j)
            startBits |= ((palette + 1 + j % 3) % 4) << (2 * j);
        const std::uint8_t start = std::uint8_t(startBits);
        QVERIFY(rom.write(at, start));
        const RomBytes before = rom;

        QVERIFY(WriteQuadrantPalette(rom, zones, zone, m, q, palette));
        QCOMPARE(ChangedOffsets(before, rom), QList<qint64>{at});
        const int expected = (start & ~(3 << (2 * q))) | (palette << (2 * q));
        QCOMPARE(rom.read(at), expected);
        const LevelContext level{rom, zones, zone};
        for (int other = 0; other < 4; ++other)
            QCOMPARE(ReadQuadrantPalette(level, m, other), other == q ? palette : (start >> (2 * other)) & 3);
    }

    void badArgumentsWriteNothing()
    {
        RomBytes rom = MakeDemoCartridge();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const RomBytes before = rom;
        QVERIFY(!WriteQuadrantPalette(rom, zones, 0, 5, 0, 4));
        QVERIFY(!WriteQuadrantPalette(rom, zones, 0, 5, 4, 1));
        QVERIFY(!WriteQuadrantPalette(rom, zones, 0, 256, 0, 1));
        QVERIFY(!WriteQuadrantTile(rom, zones, 0, 5, 0, 4, 1));
        QVERIFY(!WriteQuadrantTile(rom, zones, 0, -1, 0, 0, 1));
        QVERIFY(!WriteQuadrantTile(rom, zones, 60, 5, 0, 0, 1));
        QCOMPARE(rom, before);
    }

    // The tables of zone 1 run past the end of a cut image: nothing is read
    // or written there, and the quadrant is drawn as "no data".
    void shortImageWritesNothingAndDrawsNoData()
    {
        fixture::ImageBuilder full = fixture::MakeLevelImageBuilder(3);
        std::vector<std::uint8_t> bytes = full.bytes();
        bytes.resize(std::size_t(fixture::AttrsAt(0)) + 0x80);   // attributes of m < 128 only
        RomBytes rom{bytes};
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const RomBytes before = rom;
        const LevelContext level{rom, zones, 0};

        QCOMPARE(ReadQuadrantTile(level, 3, 0, 0), -1);
        QCOMPARE(ReadQuadrantPalette(level, 200, 1), -1);
        QVERIFY(ReadQuadrantPalette(level, 3, 1) >= 0);
        QVERIFY(!WriteQuadrantTile(rom, zones, 0, 3, 1, 2, 9));
        QVERIFY(!WriteQuadrantPalette(rom, zones, 0, 200, 1, 2));
        QCOMPARE(rom, before);

        Canvas picture(QuadrantPictureSide, QuadrantPictureSide);
        DrawTileBlock(level, picture, 3, 0, EditorScale);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(picture.pixel(8 * x + 4, 8 * y + 4) & 0xFFFFFFu, reference::noData(x, y));
    }

    // The quadrant at scale 8 equals the level view's decoding of the
    // metatile's quadrant, pixel block by pixel block.
    void quadrantPictureEqualsLevelView_data()
    {
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("m");
        for (int m : {0, 17, 130, 255}) {
            QTest::addRow("demo zone 2 m %d", m) << int(Demo) << 1 << m;
            QTest::addRow("fixture zone 6 m %d", m) << int(Fixture) << 5 << m;
        }
        QTest::addRow("fixture zone 1 m 64") << int(Fixture) << 0 << 64;
    }
    void quadrantPictureEqualsLevelView()
    {
        QFETCH(int, image);
        QFETCH(int, zone);
        QFETCH(int, m);
        const RomBytes rom = MakeImage(image);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, zone};
        for (int q = 0; q < 4; ++q) {
            Canvas picture(QuadrantPictureSide, QuadrantPictureSide);
            DrawTileBlock(level, picture, m, q, EditorScale);
            const int qx = (q % 2) * 16, qy = (q / 2) * 16;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const std::uint32_t expected = reference::metatilePixel(rom.bytes(), zone, m, qx + x, qy + y);
                    for (int dy = 0; dy < 8; ++dy)
                        for (int dx = 0; dx < 8; ++dx)
                            if ((picture.pixel(8 * x + dx, 8 * y + dy) & 0xFFFFFFu) != expected)
                                QFAIL(qPrintable(QStringLiteral("q %1 pixel (%2, %3)").arg(q).arg(x).arg(y)));
                }
        }
    }

    void gridOverlayLines()
    {
        Canvas picture(QuadrantPictureSide, QuadrantPictureSide);
        DrawTileBlockGrid(picture);
        for (int x = 0; x < 128; ++x)
            for (int y = 0; y < 128; ++y) {
                const bool line = x % 8 == 0 || y % 8 == 0 || (x >= 63 && x <= 65) || (y >= 63 && y <= 65);
                QCOMPARE(picture.pixel(x, y) & 0xFFFFFFu, line ? 0xFFFFFFu : 0u);
            }
    }
};

QTEST_APPLESS_MAIN(TestMetatileEdits)
#include "test_metatile_edits.moc"
