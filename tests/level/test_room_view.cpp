// Rooms, the selector page, the grid, the room text and click geometry: the
// core routines the main window draws and edits with.
#include "../fixtures/LevelFixture.h"
#include "../fixtures/ReferenceDecode.h"
#include "gfx/Grid.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "gfx/clsNesTiles.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "demo/DemoCartridge.h"

#include <QtTest>

namespace {
QString RoomMismatch(const Canvas& view, const std::vector<std::uint8_t>& img, int s, int room)
{
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 512; ++x) {
            const std::uint32_t want = reference::roomPixel(img, s, room, x, y);
            const std::uint32_t got = view.pixel(x, y) & 0xFFFFFFu;
            if (got != want)
                return QStringLiteral("zone %1 room %2 at (%3, %4): %5, expected %6")
                    .arg(s + 1).arg(room).arg(x).arg(y).arg(got, 6, 16, QLatin1Char('0'))
                    .arg(want, 6, 16, QLatin1Char('0'));
        }
    return {};
}

bool IsNoDataCell(const Canvas& view, int column, int row)
{
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((view.pixel(column * 64 + x, row * 64 + y) & 0xFFFFFFu) != reference::noData(x / 2, y / 2))
                return false;
    return true;
}
}

class TestRoomView : public QObject {
    Q_OBJECT
private slots:
    void wholeRoomsMatchTheReference_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::newRow("fixture zone 1 room 0") << false << 0 << 0;
        QTest::newRow("fixture zone 1 room 32") << false << 0 << 32;
        QTest::newRow("fixture zone 3 room 5") << false << 2 << 5;
        QTest::newRow("fixture zone 4 room 17") << false << 3 << 17;
        QTest::newRow("fixture zone 6 room 33") << false << 5 << 33;
        QTest::newRow("fixture zone 7 room 27") << false << 6 << 27;
        for (int s = 0; s < ZoneCount; ++s)
            for (int room : {0, 5, int(ZoneConstantsTable[std::size_t(s)].LastRoom)})
                QTest::addRow("demo zone %d room %d", s + 1, room) << true << s << room;
    }
    void wholeRoomsMatchTheReference()
    {
        QFETCH(bool, demo);
        QFETCH(int, zone);
        QFETCH(int, room);
        const RomBytes rom = demo ? MakeDemoCartridge() : fixture::MakeLevelImage(2024);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas scratch(64, 64), view(512, 384);
        DrawRoom(LevelContext{rom, zones, zone}, room, scratch, view);
        const QString mismatch = RoomMismatch(view, rom.bytes(), zone, room);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        if (demo) {
            // The demo's rooms are drawn from real data: no cell is "no data"
            // and the room is not one flat colour.
            for (int i = 0; i < 48; ++i)
                QVERIFY(!IsNoDataCell(view, i % 8, i / 8));
            const QImage image = view.image();
            QVERIFY(image.copy(0, 0, 64, 64) != image.copy(448, 320, 64, 64) ||
                    image.pixel(0, 0) != image.pixel(100, 100));
        }
    }

    void roomBytesMapToCells_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("byte 0") << 0 << 0 << 0;
        QTest::newRow("byte 7") << 7 << 7 << 0;
        QTest::newRow("byte 8") << 8 << 0 << 1;
        QTest::newRow("byte 10") << 10 << 2 << 1;
        QTest::newRow("byte 47") << 47 << 7 << 5;
    }
    void roomBytesMapToCells()
    {
        QFETCH(int, byte);
        QFETCH(int, column);
        QFETCH(int, row);
        QCOMPARE(RoomCellIndex({column, row}), byte);
        // A room of metatile 0 with one cell of metatile 1: only that cell
        // shows metatile 1, at (64 column, 64 row).
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(11);
        const int s = 2, room = 4;
        for (int i = 0; i < 48; ++i)
            b.put(fixture::RoomAt(s, room) + i, i == byte ? 1 : 0);
        const RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, s};
        Canvas scratch(64, 64), view(512, 384), zero(64, 64), one(64, 64);
        DrawMetatile(level, zero, 0, 2);
        DrawMetatile(level, one, 1, 2);
        QVERIFY(zero.image() != one.image());
        DrawRoom(level, room, scratch, view);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 8; ++c) {
                const QImage cell = view.image().copy(c * 64, r * 64, 64, 64);
                QCOMPARE(cell, (c == column && r == row ? one : zero).image());
            }
    }

    void roomsCutShortDrawNoData()
    {
        std::vector<std::uint8_t> img = fixture::MakeLevelImageBuilder(8).bytes();
        const int s = 6, room = 27;
        // The image ends inside room 27's layout (after byte 20): the
        // missing cells, and their metatiles' tile bank, show the pattern.
        img.resize(std::size_t(fixture::RoomAt(s, room) + 21));
        const RomBytes rom(img);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas scratch(64, 64), view(512, 384);
        DrawRoom(LevelContext{rom, zones, s}, room, scratch, view);
        const QString mismatch = RoomMismatch(view, img, s, room);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        for (int i = 21; i < 48; ++i)
            QVERIFY(IsNoDataCell(view, i % 8, i / 8));
    }

    void roomPointerOutsideTheImage_data()
    {
        QTest::addColumn<int>("room");
        QTest::newRow("pointer beyond the end") << 5;
        QTest::newRow("room number past the table and image") << 100000;
        QTest::newRow("negative room") << -1;
    }
    void roomPointerOutsideTheImage()
    {
        QFETCH(int, room);
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(8);
        const int s = 6;
        // Room 5's pointer leads to 0x17F00 + ... : make it point past a cut.
        b.putPointer(fixture::RoomTableAt(s), 5, 0x13000);
        std::vector<std::uint8_t> img = b.bytes();
        img.resize(0x12000);
        const RomBytes rom(img);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas scratch(64, 64), view(512, 384);
        DrawRoom(LevelContext{rom, zones, s}, room, scratch, view);
        for (int i = 0; i < 48; ++i)
            QVERIFY(IsNoDataCell(view, i % 8, i / 8));
    }

    void tinyImagesDrawOnlyNoData_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one byte") << 1;
        QTest::newRow("up to zone 1's header") << 0x4011;
    }
    void tinyImagesDrawOnlyNoData()
    {
        QFETCH(int, size);
        std::vector<std::uint8_t> img = fixture::MakeLevelImageBuilder(8).bytes();
        img.resize(std::size_t(size));
        const RomBytes rom(img);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        Canvas scratch(64, 64), view(512, 384), selector(64, 256);
        for (int s = 0; s < ZoneCount; ++s) {
            DrawRoom(LevelContext{rom, zones, s}, 0, scratch, view);
            DrawSelectorPage(LevelContext{rom, zones, s}, 63, scratch, selector);
            for (int i = 0; i < 48; ++i)
                QVERIFY(IsNoDataCell(view, i % 8, i / 8));
            for (int k = 0; k < 4; ++k)
                QVERIFY(IsNoDataCell(selector, 0, k));
        }
    }

    void sharedLayoutBytes()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(31);
        RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const int s = fixture::SharedRoomZone;
        const LevelContext level{rom, zones, s};
        QCOMPARE(RoomLayoutOffset(level, fixture::SharedRoomA), RoomLayoutOffset(level, fixture::SharedRoomB));
        const RoomCell cell{3, 4};
        const int old = rom.read(fixture::RoomAt(s, fixture::SharedRoomA) + RoomCellIndex(cell));
        const std::uint8_t m = std::uint8_t(old ^ 0x81);
        QCOMPARE(PlaceMetatile(rom, zones, s, fixture::SharedRoomB, cell, m), PlaceResult::Written);
        QCOMPARE(rom.read(fixture::RoomAt(s, fixture::SharedRoomA) + 8 * 4 + 3), int(m));
        Canvas scratch(64, 64), viewA(512, 384), viewB(512, 384);
        DrawRoom(level, fixture::SharedRoomA, scratch, viewA);
        DrawRoom(level, fixture::SharedRoomB, scratch, viewB);
        QCOMPARE(viewA.image(), viewB.image());
        const QString mismatch = RoomMismatch(viewA, rom.bytes(), s, fixture::SharedRoomA);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    void placeMetatileWritesOneByte()
    {
        const RomBytes original = fixture::MakeLevelImage(4);
        RomBytes rom = original;
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        QCOMPARE(PlaceMetatile(rom, zones, 2, 5, RoomCell{2, 1}, 0x2A), PlaceResult::Written);
        const std::int64_t at = fixture::RoomAt(2, 5) + 10;
        QCOMPARE(rom.read(at), 0x2A);
        for (std::int64_t i = 0; i < rom.size(); ++i)
            if (i != at && rom.read(i) != original.read(i))
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i)));
    }

    void placeMetatileOutsideTheImage()
    {
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(4);
        b.putPointer(fixture::RoomTableAt(6), 2, 0x13000);
        std::vector<std::uint8_t> img = b.bytes();
        img.resize(0x13000 + 10);   // room 2's first 10 bytes exist
        RomBytes rom(img);
        const RomBytes original = rom;
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        QCOMPARE(PlaceMetatile(rom, zones, 6, 2, RoomCell{2, 1}, 7), PlaceResult::OutsideImage);
        QCOMPARE(rom, original);
        QCOMPARE(PlaceMetatile(rom, zones, 6, 2, RoomCell{1, 1}, 7), PlaceResult::Written);
        QCOMPARE(rom.read(0x13000 + 9), 7);
        QCOMPARE(PlaceMetatile(rom, zones, 6, 9999, RoomCell{0, 0}, 7), PlaceResult::OutsideImage);
        QCOMPARE(PlaceMetatile(rom, zones, 70, 0, RoomCell{0, 0}, 7), PlaceResult::OutsideImage);
    }

    void roomText_data()
    {
        QTest::addColumn<int>("room");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "Room: 00";
        QTest::newRow("5") << 5 << "Room: 05";
        QTest::newRow("10") << 10 << "Room: 0A";
        QTest::newRow("15") << 15 << "Room: 0F";
        QTest::newRow("16") << 16 << "Room: 10";
        QTest::newRow("31") << 31 << "Room: 1F";
        QTest::newRow("33") << 33 << "Room: 21";
        QTest::newRow("255") << 255 << "Room: FF";
        QTest::newRow("256") << 256 << "Room: 100";
    }
    void roomText()
    {
        QFETCH(int, room);
        QFETCH(QString, text);
        QCOMPARE(RoomText(room), text);
    }

    void roomCellAt_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("(130, 70)") << 130.0 << 70.0 << 2 << 1;
        QTest::newRow("x 63") << 63.0 << 0.0 << 0 << 0;
        QTest::newRow("x 64") << 64.0 << 0.0 << 1 << 0;
        QTest::newRow("x 63.5 rounds to 64") << 63.5 << 0.0 << 1 << 0;
        QTest::newRow("x 64.5 rounds to 64") << 64.5 << 0.0 << 1 << 0;
        QTest::newRow("x 127.5 rounds to 128") << 127.5 << 0.0 << 2 << 0;
        QTest::newRow("x 62.5 rounds to 62") << 62.5 << 0.0 << 0 << 0;
        QTest::newRow("y 383") << 0.0 << 383.0 << 0 << 5;
        QTest::newRow("y 63.5") << 0.0 << 63.5 << 0 << 1;
        QTest::newRow("y 64.5") << 0.0 << 64.5 << 0 << 1;
        QTest::newRow("x 511.5 stays in column 7") << 511.5 << 383.5 << 7 << 5;
        QTest::newRow("negative stays in column 0") << -0.4 << -3.0 << 0 << 0;
    }
    void roomCellAt()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, column);
        QFETCH(int, row);
        QCOMPARE(RoomCellAt(x, y), (RoomCell{column, row}));
    }

    void selectorPages_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("page 0") << 0;
        QTest::newRow("page 1") << 1;
        QTest::newRow("page 63") << 63;
    }
    void selectorPages()
    {
        QFETCH(int, page);
        const RomBytes rom = fixture::MakeLevelImage(12);
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, 4};
        Canvas scratch(64, 64), selector(64, 256);
        DrawSelectorPage(level, page, scratch, selector);
        for (int k = 0; k < 4; ++k)
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const std::uint32_t want = reference::metatilePixel(rom.bytes(), 4, 4 * page + k, x / 2, y / 2);
                    if ((selector.pixel(x, 64 * k + y) & 0xFFFFFFu) != want)
                        QFAIL(qPrintable(QStringLiteral("cell %1 at (%2, %3)").arg(k).arg(x).arg(y)));
                }
    }

    void selectorClicks_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("metatile");
        QTest::newRow("page 0 (10, 70)") << 0 << 10.0 << 70.0 << 1;
        QTest::newRow("page 0 top") << 0 << 0.0 << 0.0 << 0;
        QTest::newRow("page 63 bottom cell") << 63 << 30.0 << 192.0 << 255;
        QTest::newRow("page 63 last pixel") << 63 << 63.0 << 255.0 << 255;
        QTest::newRow("page 63 y 255.5 stays in the strip") << 63 << 63.5 << 255.5 << 255;
        QTest::newRow("page 5 y 127.5 rounds to 128") << 5 << 0.0 << 127.5 << 22;
        QTest::newRow("x 63.5 is still the one column") << 2 << 63.5 << 64.0 << 9;
    }
    void selectorClicks()
    {
        QFETCH(int, page);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, metatile);
        QCOMPARE(SelectorMetatileAt(page, x, y), metatile);
    }

    void gridLines_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("level view") << 512 << 384;
        QTest::newRow("selector") << 64 << 256;
    }
    void gridLines()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        Canvas picture(width, height);
        DrawGrid(picture);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool onLine = x % 64 == 0 || y % 64 == 0;
                QCOMPARE(picture.pixel(x, y) & 0xFFFFFFu, onLine ? 0xFFFFFFu : 0u);
            }
    }
};

QTEST_GUILESS_MAIN(TestRoomView)
#include "test_room_view.moc"
