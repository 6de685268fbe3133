// Metatile drawing: quadrant palettes, tile placement against an independent
// decoder, the "no data" pattern for bytes beyond the image, the preview.
#include "../fixtures/LevelFixture.h"
#include "../fixtures/ReferenceDecode.h"
#include "gfx/Metatile.h"
#include "gfx/clsNesTiles.h"

#include <QtTest>

namespace {
// First pixel of the 64 x 64 metatile picture that differs from the
// reference decoder, as text; empty when all agree.
QString MetatileMismatch(const Canvas& picture, const std::vector<std::uint8_t>& img, int s, int m)
{
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t want = reference::metatilePixel(img, s, m, x / 2, y / 2);
            const std::uint32_t got = picture.pixel(x, y) & 0xFFFFFFu;
            if (got != want)
                return QStringLiteral("metatile %1 at (%2, %3): %4, expected %5")
                    .arg(m).arg(x).arg(y).arg(got, 6, 16, QLatin1Char('0')).arg(want, 6, 16, QLatin1Char('0'));
        }
    return {};
}

std::uint32_t Colour(int index) { return NesColourTable[std::size_t(index)]; }
}

class TestMetatile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TileRenderer(); }

    void quadrantPalettes_data()
    {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<QList<int>>("colours");   // colour 1 of TL, TR, BL, BR
        // Zone 5 palettes 0..2 have colour 1 = 0x16, 0x2A, 0x11; the first
        // zone's palette 3 has 0x30. Zone 5's own table has no entry 3.
        QTest::newRow("0xE4") << 0xE4 << QList<int>{0x16, 0x2A, 0x11, 0x30};
        QTest::newRow("0x00") << 0x00 << QList<int>{0x16, 0x16, 0x16, 0x16};
        QTest::newRow("0x1B") << 0x1B << QList<int>{0x30, 0x11, 0x2A, 0x16};
    }
    void quadrantPalettes()
    {
        QFETCH(int, attribute);
        QFETCH(QList<int>, colours);
        const int s = 4, m = 7;
        fixture::ImageBuilder b;
        b.putZoneHeaders(0);
        b.putZoneHeaders(s);
        b.put(fixture::AttrsAt(s) + m, std::uint8_t(attribute));
        for (int k = 0; k < 16; ++k)
            b.put(fixture::TilesAt(s) + 16 * m + k, 1);
        const std::int32_t bank = ZoneConstantsTable[s].TileBank;
        for (int r = 0; r < 8; ++r)
            b.put(bank + 16 + r, 0xFF);   // tile 1: every pixel value 1
        b.put(fixture::PaletteAt(s, 0), 0x16);
        b.put(fixture::PaletteAt(s, 1), 0x2A);
        b.put(fixture::PaletteAt(s, 2), 0x11);
        b.put(fixture::PaletteAt(0, 3), 0x30);
        b.put(fixture::PaletteAt(s, 3), 0x05);   // must not be used
        const RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas picture(64, 64);
        DrawMetatile(LevelContext{rom, zones, s}, picture, m, 2);
        const QPoint corners[4] = {{0, 0}, {32, 0}, {0, 32}, {32, 32}};
        for (int q = 0; q < 4; ++q)
            for (int dy = 0; dy < 32; dy += 7)
                for (int dx = 0; dx < 32; dx += 5)
                    QCOMPARE(picture.pixel(corners[q].x() + dx, corners[q].y() + dy) & 0xFFFFFFu,
                             Colour(colours[q]));
    }

    void quadrantOfTilePositions()
    {
        const int expected[16] = {0, 0, 1, 1, 0, 0, 1, 1, 2, 2, 3, 3, 2, 2, 3, 3};
        for (int k = 0; k < 16; ++k)
            QCOMPARE(QuadrantOfTile(k), expected[k]);
        for (int n = 0; n < 16; ++n)
            QCOMPARE(QuadrantOfTile(MetatileDrawOrder[std::size_t(n)]), n / 4);
        QCOMPARE(QuadrantPalette(0xE4, 0), 0);
        QCOMPARE(QuadrantPalette(0xE4, 1), 1);
        QCOMPARE(QuadrantPalette(0xE4, 2), 2);
        QCOMPARE(QuadrantPalette(0xE4, 3), 3);
    }

    void everyMetatileMatchesTheReference_data()
    {
        QTest::addColumn<int>("zone");
        for (int s = 0; s < ZoneCount; ++s)
            QTest::addRow("zone %d", s + 1) << s;
    }
    void everyMetatileMatchesTheReference()
    {
        QFETCH(int, zone);
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(1234);
        const RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas picture(64, 64);
        for (int m = 0; m < 256; ++m) {
            DrawMetatile(LevelContext{rom, zones, zone}, picture, std::uint8_t(m), 2);
            const QString mismatch = MetatileMismatch(picture, b.bytes(), zone, m);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        }
    }

    // Images cut short at several places: every byte beyond the end shows as
    // the "no data" checker in the tiles it affects, the rest as usual.
    void truncatedImages_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("metatile");
        QTest::addColumn<bool>("someNoData");
        const int s = 6;
        const std::int32_t bank = ZoneConstantsTable[s].TileBank;
        QTest::newRow("inside the tile bank") << s << bank + 0x800 + 5 << 0 << false;
        QTest::newRow("tile bank cut in a tile") << s << bank + 0x10 * 0x80 + 9 << 0 << false;
        QTest::newRow("tile bank missing") << s << bank << 3 << true;
        QTest::newRow("tile numbers cut") << 2 << fixture::TilesAt(2) + 16 * 9 + 6 << 9 << true;
        QTest::newRow("attribute byte missing") << 2 << fixture::AttrsAt(2) + 200 << 200 << true;
        QTest::newRow("image ends before the zone headers") << 6 << fixture::PaletteAt(6, 1) << 17 << true;
    }
    void truncatedImages()
    {
        QFETCH(int, zone);
        QFETCH(int, size);
        QFETCH(int, metatile);
        QFETCH(bool, someNoData);
        std::vector<std::uint8_t> img = fixture::MakeLevelImageBuilder(99).bytes();
        img.resize(std::size_t(size));
        const RomBytes rom(img);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas picture(64, 64);
        int noDataPixels = 0;
        for (int m : {metatile, 0, 1, 255}) {
            DrawMetatile(LevelContext{rom, zones, zone}, picture, std::uint8_t(m), 2);
            const QString mismatch = MetatileMismatch(picture, img, zone, m);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    noDataPixels += (picture.pixel(x, y) & 0xFFFFFFu) == reference::NoDataMagenta;
        }
        if (someNoData)
            QVERIFY(noDataPixels > 0);
    }

    void missingPaletteMarksItsQuadrants()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(3);
        b.put(fixture::AttrsAt(6) + 17, 0x44);   // palettes 0, 1, 0, 1
        const RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        // Entry 0 is the image's last two bytes; entry 1 lies beyond.
        zones[6].PaletteTable = std::int32_t(rom.size() - 2);
        Canvas picture(64, 64);
        DrawMetatile(LevelContext{rom, zones, 6}, picture, 17, 2);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const std::uint32_t got = picture.pixel(x, y) & 0xFFFFFFu;
                if (x >= 32)
                    QCOMPARE(got, reference::noData(x / 2, y / 2));
                else
                    QVERIFY(got != reference::NoDataMagenta);   // no NES colour is magenta
            }
    }

    void unreadableZoneRecordDrawsNoData()
    {
        const RomBytes rom = fixture::MakeLevelImage();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        zones[1].MetatileAttrs = NoOffset;
        Canvas picture(64, 64);
        DrawMetatile(LevelContext{rom, zones, 1}, picture, 5, 2);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                QCOMPARE(picture.pixel(x, y) & 0xFFFFFFu, reference::noData(x / 2, y / 2));
        DrawMetatile(LevelContext{rom, zones, 77}, picture, 5, 2);
        QCOMPARE(picture.pixel(0, 0) & 0xFFFFFFu, reference::NoDataMagenta);
        QCOMPARE(picture.pixel(4, 0) & 0xFFFFFFu, reference::NoDataBlack);
    }

    void drawingReadsTheImageAfresh()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(5);
        RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, 2};
        Canvas picture(64, 64);
        DrawMetatile(level, picture, 40, 2);
        const QImage before = picture.image();
        // A new tile number for position 0 changes the top-left 16 x 16 only.
        const int old = rom.read(fixture::TilesAt(2) + 16 * 40);
        rom.write(fixture::TilesAt(2) + 16 * 40, std::uint8_t(old ^ 0x55));
        DrawMetatile(level, picture, 40, 2);
        QVERIFY(picture.image() != before);
        QCOMPARE(picture.image().copy(16, 0, 48, 64), before.copy(16, 0, 48, 64));
        const QString mismatch = MetatileMismatch(picture, rom.bytes(), 2, 40);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    void previewFollowsTheSelection()
    {
        const RomBytes rom = fixture::MakeLevelImage();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, 3};
        Canvas preview(64, 64);
        DrawPreview(level, preview, 17);
        QVERIFY2(MetatileMismatch(preview, rom.bytes(), 3, 17).isEmpty(), "metatile 17 in the preview");
        DrawPreview(level, preview, -1);
        Canvas blank(64, 64);
        QCOMPARE(preview.image(), blank.image());
    }
};

QTEST_GUILESS_MAIN(TestMetatile)
#include "test_metatile.moc"
