// The tile decoder: plane bits, colours, scale, buffer sizing and indexing,
// the early stop, failures of Init and the "no data" pattern.
#include "gfx/clsNesTiles.h"

#include <QtTest>

#include <algorithm>

namespace {
constexpr std::uint8_t Back = 0x0F, C1 = 0x16, C2 = 0x2A, C3 = 0x30;

// A 16-byte tile at offset 0 of a small image (plus `extra` bytes after it).
RomBytes TileImage(const std::array<std::uint8_t, 16>& tile, int extra = 0)
{
    std::vector<std::uint8_t> bytes(tile.begin(), tile.end());
    bytes.resize(bytes.size() + std::size_t(extra), 0);
    return RomBytes(bytes);
}

std::uint32_t Packed(int index) { return NesColourTable[std::size_t(index)]; }
}

class TestNesTiles : public QObject {
    Q_OBJECT

    // Access to the private worker, whose result the public call hides.
    static bool PlotTile(clsNesTiles& t, std::vector<std::uint32_t>& bits, const RomBytes& rom,
                         std::int64_t loc, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::uint8_t scale)
    {
        return t.PlotTile(bits, rom, loc, Back, C1, C2, C3, x, y, w, scale);
    }

private slots:
    void planeBitsExample()
    {
        std::array<std::uint8_t, 16> tile{};
        tile[0] = 0x80;   // plane 0, row 0
        tile[8] = 0x01;   // plane 1, row 0
        const RomBytes rom = TileImage(tile);
        Canvas picture(16, 16);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        t.DrawTile(bits, rom, 0, Back, C1, C2, C3, 0, 0, 1);
        QCOMPARE(bits[0], Packed(C1));
        QCOMPARE(bits[7], Packed(C2));
        for (int c = 1; c < 7; ++c)
            QCOMPARE(bits[std::size_t(c)], Packed(Back));
        for (int r = 1; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                QCOMPARE(bits[std::size_t(r * 16 + c)], Packed(Back));
        // Outside the tile nothing was written.
        QCOMPARE(bits[8], 0u);
        QCOMPARE(bits[8 * 16], 0u);
    }

    void solidTiles_data()
    {
        QTest::addColumn<int>("fill");
        QTest::addColumn<int>("colour");
        QTest::newRow("all 0x00 is the back colour") << 0x00 << int(Back);
        QTest::newRow("all 0xFF is colour 3") << 0xFF << int(C3);
    }
    void solidTiles()
    {
        QFETCH(int, fill);
        QFETCH(int, colour);
        std::array<std::uint8_t, 16> tile;
        tile.fill(std::uint8_t(fill));
        const RomBytes rom = TileImage(tile);
        Canvas picture(8, 8);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        t.DrawTile(bits, rom, 0, Back, C1, C2, C3, 0, 0, 1);
        for (int i = 0; i < 64; ++i)
            QCOMPARE(bits[std::size_t(i)], Packed(colour));
        QCOMPARE(t.RenderPic(header, bits), 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                QCOMPARE(picture.pixel(x, y) & 0xFFFFFFu, Packed(colour));
    }

    void scaleTwoElementIndices()
    {
        std::array<std::uint8_t, 16> tile{};
        tile[0] = 0x80;   // only pixel (0, 0) has value 1
        const RomBytes rom = TileImage(tile);
        Canvas picture(64, 64);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        t.DrawTile(bits, rom, 0, Back, C1, C2, C3, 16, 8, 2);
        for (int i : {8 * 64 + 16, 8 * 64 + 17, 9 * 64 + 16, 9 * 64 + 17})
            QCOMPARE(bits[std::size_t(i)], Packed(C1));
        QCOMPARE(bits[8 * 64 + 18], Packed(Back));
        QCOMPARE(bits[10 * 64 + 16], Packed(Back));
        // The tile covers 16 x 16 pixels from (16, 8), nothing else.
        QCOMPARE(bits[8 * 64 + 15], 0u);
        QCOMPARE(bits[8 * 64 + 32], 0u);
        QCOMPARE(bits[23 * 64 + 31], Packed(Back));
        QCOMPARE(bits[24 * 64 + 16], 0u);
        QCOMPARE(std::count(bits.begin(), bits.end(), 0u), std::ptrdiff_t(bits.size() - 256));
    }

    void scaleZeroWritesNothing()
    {
        std::array<std::uint8_t, 16> tile;
        tile.fill(0xFF);
        const RomBytes rom = TileImage(tile);
        Canvas picture(64, 64);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        QVERIFY(PlotTile(t, bits, rom, 0, 0, 0, 64, 0));
        QVERIFY(std::all_of(bits.begin(), bits.end(), [](std::uint32_t v) { return v == 0; }));
    }

    void plotTileStopsPastTheBufferEnd()
    {
        std::array<std::uint8_t, 16> tile;
        tile.fill(0xFF);
        const RomBytes rom = TileImage(tile);
        Canvas picture(64, 64);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        QVERIFY(PlotTile(t, bits, rom, 0, 0, 0, 64, 2));
        // 11907 elements: row 186 holds elements 11904..11967, so a tile at
        // y = 186 writes 11904..11906 of its first row and stops at 11907.
        const std::uint32_t mark = 0x123456;
        std::fill(bits.begin(), bits.end(), mark);
        QVERIFY(!PlotTile(t, bits, rom, 0, 0, 186, 64, 1));
        QCOMPARE(bits[11904], Packed(C3));
        QCOMPARE(bits[11906], Packed(C3));
        QCOMPARE(bits[11903], mark);
        QCOMPARE(bits.size(), std::size_t(11907));
        // A tile past the right edge continues at the left of the next row.
        std::fill(bits.begin(), bits.end(), 0u);
        QVERIFY(PlotTile(t, bits, rom, 0, 60, 0, 64, 1));
        QCOMPARE(bits[63], Packed(C3));
        QCOMPARE(bits[64], Packed(C3));
        QCOMPARE(bits[67], Packed(C3));
        QCOMPARE(bits[68], 0u);
    }

    void initOnSixtyFourSquare()
    {
        Canvas picture(64, 64);
        clsNesTiles t;
        std::vector<std::uint32_t> bits(5, 0xABCDEF);
        BitmapInfoHeader header;
        QVERIFY(!t.IsReady());
        QCOMPARE(t.Init(picture, header, bits), false);
        QVERIFY(t.IsReady());
        QCOMPARE(header.biSize, 40u);
        QCOMPARE(header.biWidth, 64);
        QCOMPARE(header.biHeight, -64);
        QCOMPARE(header.biPlanes, std::uint16_t(1));
        QCOMPARE(header.biBitCount, std::uint16_t(32));
        QCOMPARE(header.biCompression, 0u);
        QCOMPARE(header.biSizeImage, 11907u);
        QCOMPARE(header.biXPelsPerMeter, 0);
        QCOMPARE(header.biYPelsPerMeter, 0);
        QCOMPARE(header.biClrUsed, 0u);
        QCOMPARE(header.biClrImportant, 0u);
        QCOMPARE(bits.size(), std::size_t(11907));
        QVERIFY(std::all_of(bits.begin(), bits.end(), [](std::uint32_t v) { return v == 0; }));
    }

    void initFailsOnOnePixelPicture_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("1 pixel wide") << 1 << 64;
        QTest::newRow("1 pixel high") << 64 << 1;
    }
    void initFailsOnOnePixelPicture()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        std::array<std::uint8_t, 16> tile;
        tile.fill(0xFF);
        const RomBytes rom = TileImage(tile);
        clsNesTiles t;
        Canvas good(64, 64);
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(good, header, bits));
        QVERIFY(t.IsReady());

        Canvas tiny(width, height);
        int refreshes = 0;
        tiny.setRefreshHandler([&] { ++refreshes; });
        const QImage before = tiny.image();
        std::fill(bits.begin(), bits.end(), 0x111111u);
        const std::vector<std::uint32_t> kept = bits;
        QCOMPARE(t.Init(tiny, header, bits), true);
        QVERIFY(!t.IsReady());
        t.DrawTile(bits, rom, 0, Back, C1, C2, C3, 0, 0, 1);
        QCOMPARE(bits, kept);
        QVERIFY(!PlotTile(t, bits, rom, 0, 0, 0, 64, 1));
        QCOMPARE(t.RenderPic(header, bits), 0);
        QCOMPARE(tiny.image(), before);
        QCOMPARE(refreshes, 0);
    }

    void renderPicCopiesOnceAndRefreshes()
    {
        std::array<std::uint8_t, 16> tile{};
        tile[8] = 0xF0;   // row 0: value 2 on the left half
        const RomBytes rom = TileImage(tile);
        Canvas picture(64, 64);
        int refreshes = 0;
        picture.setRefreshHandler([&] { ++refreshes; });
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        t.DrawTile(bits, rom, 0, Back, C1, C2, C3, 8, 4, 1);
        QCOMPARE(refreshes, 0);
        QCOMPARE(t.RenderPic(header, bits), 64);
        QCOMPARE(refreshes, 1);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                QCOMPARE(picture.pixel(x, y) & 0xFFFFFFu, bits[std::size_t(y * 64 + x)]);
        QCOMPARE(picture.pixel(8, 4) & 0xFFFFFFu, Packed(C2));
        QCOMPARE(picture.pixel(12, 4) & 0xFFFFFFu, Packed(Back));
        QCOMPARE(picture.pixel(0, 0) & 0xFFFFFFu, 0u);
    }

    void highColourIndexIsTakenModulo64()
    {
        std::array<std::uint8_t, 16> tile{};
        tile[0] = 0xFF;   // row 0 value 1, the rest value 0
        const RomBytes rom = TileImage(tile);
        Canvas picture(8, 8);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        t.DrawTile(bits, rom, 0, 0x4F, 0xE1, C2, C3, 0, 0, 1);
        QCOMPARE(bits[0], Packed(0x21));
        QCOMPARE(bits[8], Packed(0x0F));
    }

    void missingTileBytesDrawNoData_data()
    {
        QTest::addColumn<qint64>("loc");
        QTest::newRow("last byte beyond the end") << qint64(1);
        QTest::newRow("starting at the end") << qint64(16);
        QTest::newRow("far beyond") << qint64(0x7FFFFFFF);
        QTest::newRow("before the start") << qint64(-8);
    }
    void missingTileBytesDrawNoData()
    {
        QFETCH(qint64, loc);
        std::array<std::uint8_t, 16> tile{};
        const RomBytes rom = TileImage(tile);
        Canvas picture(32, 32);
        clsNesTiles t;
        std::vector<std::uint32_t> bits;
        BitmapInfoHeader header;
        QVERIFY(!t.Init(picture, header, bits));
        QVERIFY(PlotTile(t, bits, rom, loc, 0, 0, 32, 2));
        // A checker of 2 x 2 tile pixels (4 x 4 picture pixels at scale 2).
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool a = ((y / 4 + x / 4) & 1) == 0;
                QCOMPARE(bits[std::size_t(y * 32 + x)], a ? NoDataColourA : NoDataColourB);
            }
        QCOMPARE(bits[16], 0u);
    }

    void sharedRendererIsOneInstance()
    {
        QCOMPARE(&TileRenderer(), &TileRenderer());
    }
};

QTEST_GUILESS_MAIN(TestNesTiles)
#include "test_nes_tiles.moc"
