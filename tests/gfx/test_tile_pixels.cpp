// Drawing one tile pixel: the two plane bytes it writes, byte for byte
// against the tile format (plane 0 at tile + row, plane 1 at tile + 8 + row,
// bit 7 - column), the pixel under a point of the tile editor's preview and
// the tile of the quadrant that point lands in.
#include "../fixtures/LevelFixture.h"
#include "editors/MetatileEdits.h"
#include "gfx/Metatile.h"
#include "gfx/TilePixels.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {
// A 16-byte tile at offset 32 of a 64-byte image, bytes 0xA5 around it.
RomBytes TileImage(std::uint8_t plane0, std::uint8_t plane1, int row)
{
    std::vector<std::uint8_t> bytes(64, 0xA5);
    for (int i = 0; i < 16; ++i)
        bytes[std::size_t(32 + i)] = std::uint8_t(0x11 * i);
    bytes[std::size_t(32 + row)] = plane0;
    bytes[std::size_t(32 + 8 + row)] = plane1;
    return RomBytes(bytes);
}
}

class TestTilePixels : public QObject {
    Q_OBJECT
private slots:
    // pen, pixel and the row's plane bytes before, against the bytes after.
    void pixelWritesAreThePlaneBytes_data()
    {
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("plane0");
        QTest::addColumn<int>("plane1");
        QTest::addColumn<int>("expected0");
        QTest::addColumn<int>("expected1");
        QTest::newRow("pen 1, column 0 of a clear row") << 1 << 0 << 0 << 0x00 << 0x00 << 0x80 << 0x00;
        QTest::newRow("pen 2, column 7 of a clear row") << 2 << 0 << 7 << 0x00 << 0x00 << 0x00 << 0x01;
        QTest::newRow("pen 3, column 3 of a clear row") << 3 << 4 << 3 << 0x00 << 0x00 << 0x10 << 0x10;
        QTest::newRow("pen 0, column 0 of a full row") << 0 << 7 << 0 << 0xFF << 0xFF << 0x7F << 0x7F;
        QTest::newRow("pen 1 over value 3") << 1 << 2 << 5 << 0xFF << 0xFF << 0xFF << 0xFB;
        QTest::newRow("pen 2 over value 3") << 2 << 2 << 5 << 0xFF << 0xFF << 0xFB << 0xFF;
        QTest::newRow("pen 2 over value 1") << 2 << 3 << 1 << 0x40 << 0x00 << 0x00 << 0x40;
        QTest::newRow("pen 1 over value 2") << 1 << 3 << 1 << 0x00 << 0x40 << 0x40 << 0x00;
        QTest::newRow("pen 3 keeps the rest of a mixed row") << 3 << 5 << 6 << 0xA5 << 0x5A << 0xA7 << 0x5A;
        QTest::newRow("pen 0 keeps the rest of a mixed row") << 0 << 6 << 2 << 0xA5 << 0x3C << 0x85 << 0x1C;
        QTest::newRow("pen equal to the pixel changes nothing") << 2 << 1 << 4 << 0x00 << 0x08 << 0x00 << 0x08;
    }
    void pixelWritesAreThePlaneBytes()
    {
        QFETCH(int, pen);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, plane0);
        QFETCH(int, plane1);
        QFETCH(int, expected0);
        QFETCH(int, expected1);
        RomBytes rom = TileImage(std::uint8_t(plane0), std::uint8_t(plane1), row);
        const RomBytes before = rom;
        const auto writes = TilePixelWrites(rom, 32, row, column, pen);
        QVERIFY(writes.has_value());
        QCOMPARE((*writes)[0], (ByteWrite{32 + row, std::uint8_t(expected0)}));
        QCOMPARE((*writes)[1], (ByteWrite{32 + 8 + row, std::uint8_t(expected1)}));
        // Computing the writes changes nothing; applying them changes only the pixel.
        QCOMPARE(rom, before);
        for (const ByteWrite& w : *writes)
            rom.write(w.Offset, w.Value);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                QCOMPARE(ReadTilePixel(rom, 32, r, c),
                         r == row && c == column ? pen : ReadTilePixel(before, 32, r, c));
    }

    void refusedPixels_data()
    {
        QTest::addColumn<qint64>("tileAt");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("pen");
        QTest::newRow("row 8") << qint64(32) << 8 << 0 << 1;
        QTest::newRow("column -1") << qint64(32) << 0 << -1 << 1;
        QTest::newRow("pen 4") << qint64(32) << 0 << 0 << 4;
        QTest::newRow("pen -1") << qint64(32) << 0 << 0 << -1;
        QTest::newRow("no tile") << qint64(-1) << 0 << 0 << 1;
        // Plane 0 of row 7 is the image's last byte; plane 1 lies past it.
        QTest::newRow("plane 1 outside") << qint64(56) << 7 << 0 << 1;
        QTest::newRow("both planes outside") << qint64(64) << 0 << 0 << 1;
    }
    void refusedPixels()
    {
        QFETCH(qint64, tileAt);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, pen);
        const RomBytes rom = TileImage(0, 0, 0);
        QVERIFY(!TilePixelWrites(rom, tileAt, row, column, pen).has_value());
    }

    void previewPixelUnderAPoint_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("top-left corner") << 0.0 << 0.0 << 0 << 0 << 0;
        QTest::newRow("last pixel of the first tile pixel") << 7.0 << 7.4 << 0 << 0 << 0;
        QTest::newRow("half pixels round to even: 6.5 to 6") << 6.5 << 0.0 << 0 << 0 << 0;
        QTest::newRow("7.5 to 8") << 7.5 << 0.0 << 0 << 0 << 1;
        QTest::newRow("8.5 to 8") << 8.5 << 0.0 << 0 << 0 << 1;
        QTest::newRow("top-right part") << 70.0 << 10.0 << 1 << 1 << 0;
        QTest::newRow("bottom-left part") << 20.0 << 100.0 << 2 << 4 << 2;
        QTest::newRow("bottom-right corner") << 127.0 << 127.0 << 3 << 7 << 7;
        QTest::newRow("a rounding past the edge stays in it") << 127.9 << 127.9 << 3 << 7 << 7;
        QTest::newRow("outside left") << -0.5 << 10.0 << -1 << 0 << 0;
        QTest::newRow("outside right") << 128.0 << 10.0 << -1 << 0 << 0;
        QTest::newRow("outside below") << 10.0 << 300.0 << -1 << 0 << 0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1.0 << -1 << 0 << 0;
        QTest::newRow("infinite") << 1.0 << std::numeric_limits<double>::infinity() << -1 << 0 << 0;
    }
    void previewPixelUnderAPoint()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, part);
        QFETCH(int, row);
        QFETCH(int, column);
        const std::optional<PreviewPixel> pixel = PreviewPixelAt(x, y);
        if (part < 0) {
            QVERIFY(!pixel.has_value());
            return;
        }
        QVERIFY(pixel.has_value());
        QCOMPARE(*pixel, (PreviewPixel{part, row, column}));
    }

    // The pixel of a quadrant's part is a pixel of the tile the level view
    // draws there, in the zone's own tile bank.
    void quadrantPixelsWriteTheZonesTile_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("q");
        QTest::addColumn<int>("part");
        for (int q = 0; q < 4; ++q)
            for (int k = 0; k < 4; ++k)
                QTest::addRow("zone %d metatile %d q%d part %d", 1 + (q + k) % 7, 17 * (q + k), q, k)
                    << (q + k) % 7 << 17 * (q + k) << q << k;
    }
    void quadrantPixelsWriteTheZonesTile()
    {
        QFETCH(int, zone);
        QFETCH(int, m);
        QFETCH(int, q);
        QFETCH(int, part);
        const int positions[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 12, 13}, {10, 11, 14, 15}};
        const RomBytes rom = fixture::MakeLevelImage(11);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, zone};
        const int tile = rom.read(fixture::TilesAt(zone) + 16 * m + positions[q][part]);
        const std::int64_t at = ZoneConstantsTable[std::size_t(zone)].TileBank + 16 * tile;
        QCOMPARE(ZoneTileOffset(level, tile), at);
        const int pen = ReadTilePixel(rom, at, 3, 5) ^ 3;   // not the pixel's value
        const auto writes = QuadrantPixelWrites(level, m, q, PreviewPixel{part, 3, 5}, pen);
        QVERIFY(writes.has_value());
        QCOMPARE((*writes)[0].Offset, at + 3);
        QCOMPARE((*writes)[1].Offset, at + 11);
        QCOMPARE(*writes, *TilePixelWrites(rom, at, 3, 5, pen));
    }

    void quadrantPixelsOutsideTheImage()
    {
        const RomBytes full = fixture::MakeLevelImage(12);
        ZoneTableArray zones;
        BuildZoneTable(full, zones);
        // Zone 7's bank is the last 4096 bytes: its last tiles are cut away.
        std::vector<std::uint8_t> cut = full.bytes();
        cut.resize(std::size_t(ZoneConstantsTable[6].TileBank + 16 * 200));
        const RomBytes rom(cut);
        const LevelContext level{rom, zones, 6};
        bool sawInside = false, sawOutside = false;
        for (int m = 0; m < 256; ++m) {
            const int tile = ReadQuadrantTile(level, m, 0, 0);
            const bool inside = tile < 200;
            QCOMPARE(QuadrantPixelWrites(level, m, 0, PreviewPixel{0, 0, 0}, 1).has_value(), inside);
            (inside ? sawInside : sawOutside) = true;
        }
        QVERIFY(sawInside && sawOutside);
        // A slot that holds no zone, and one outside the table.
        QVERIFY(!QuadrantPixelWrites(LevelContext{rom, zones, 40}, 0, 0, PreviewPixel{0, 0, 0}, 1).has_value());
        QVERIFY(!QuadrantPixelWrites(LevelContext{rom, zones, 60}, 0, 0, PreviewPixel{0, 0, 0}, 1).has_value());
        QCOMPARE(ZoneTileOffset(level, 256), std::int64_t(NoOffset));
        QCOMPARE(ZoneTileOffset(level, -1), std::int64_t(NoOffset));
    }
};

QTEST_MAIN(TestTilePixels)
#include "test_tile_pixels.moc"
