// Copying a room's layout and writing it into another, the rooms that change
// with a write because their layouts share bytes, and the texts that tell
// what the pointer is over.
#include "../fixtures/LevelFixture.h"
#include "level/HoverText.h"
#include "level/RoomCopy.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<RoomRef>)

namespace {
struct Image {
    RomBytes rom;
    ZoneTableArray zones{};
    explicit Image(RomBytes image) : rom(std::move(image)) { BuildZoneTable(rom, zones); }
    LevelContext level(int zone) const { return LevelContext{rom, zones, zone}; }
};

// The fixture with more sharing: zone 1's room 4 starts 8 bytes into its own
// layout (so it overlaps room 5), and zone 2's room 0 shows zone 1's room 7.
RomBytes SharingImage()
{
    fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(21);
    b.putPointer(fixture::RoomTableAt(0), 4, fixture::RoomAt(0, 4) + 8);
    b.putPointer(fixture::RoomTableAt(1), 0, fixture::RoomAt(0, 7));
    return b.rom();
}
}

class TestRoomCopy : public QObject {
    Q_OBJECT

private slots:
    void roomsSharingLayout_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::addColumn<std::vector<RoomRef>>("shared");
        QTest::addColumn<QString>("text");
        QTest::newRow("same bytes") << 0 << 2 << std::vector<RoomRef>{{0, 3}} << QStringLiteral("Room 03");
        QTest::newRow("same bytes, the other way") << 0 << 3 << std::vector<RoomRef>{{0, 2}} << QStringLiteral("Room 02");
        QTest::newRow("overlapping bytes") << 0 << 4 << std::vector<RoomRef>{{0, 5}} << QStringLiteral("Room 05");
        QTest::newRow("overlapped bytes") << 0 << 5 << std::vector<RoomRef>{{0, 4}} << QStringLiteral("Room 04");
        QTest::newRow("another zone's room") << 0 << 7 << std::vector<RoomRef>{{1, 0}}
                                             << QStringLiteral("Room 00 of Zone 2");
        QTest::newRow("seen from that zone") << 1 << 0 << std::vector<RoomRef>{{0, 7}}
                                             << QStringLiteral("Room 07 of Zone 1");
        QTest::newRow("a room of its own") << 0 << 6 << std::vector<RoomRef>{} << QString();
        QTest::newRow("its neighbour before") << 0 << 8 << std::vector<RoomRef>{} << QString();
    }
    void roomsSharingLayout()
    {
        QFETCH(int, zone);
        QFETCH(int, room);
        QFETCH(std::vector<RoomRef>, shared);
        QFETCH(QString, text);
        const Image image(SharingImage());
        const std::vector<RoomRef> found = RoomsSharingLayout(image.level(zone), room);
        QCOMPARE(found.size(), shared.size());
        for (std::size_t i = 0; i < found.size(); ++i)
            QVERIFY(found[i] == shared[i]);
        QCOMPARE(RoomListText(found, zone), text);
    }

    void roomListTexts()
    {
        QCOMPARE(RoomListText({{2, 3}, {2, 7}}, 2), QStringLiteral("Room 03 and Room 07"));
        QCOMPARE(RoomListText({{2, 3}, {2, 0x1F}, {3, 5}}, 2), QStringLiteral("Room 03, Room 1F and Room 05 of Zone 4"));
    }

    void copyAndWriteALayout()
    {
        const Image image(fixture::MakeLevelImage(22));
        const LevelContext level = image.level(3);
        const auto data = ReadRoomLayout(level, 6);
        QVERIFY(data);
        for (int i = 0; i < 48; ++i)
            QCOMPARE(int((*data)[std::size_t(i)]), image.rom.read(fixture::RoomAt(3, 6) + i));
        const auto writes = RoomLayoutWrites(level, 9, *data);
        QVERIFY(writes);
        QCOMPARE(writes->size(), std::size_t(48));
        for (int i = 0; i < 48; ++i) {
            QCOMPARE((*writes)[std::size_t(i)].Offset, std::int64_t(fixture::RoomAt(3, 9) + i));
            QCOMPARE((*writes)[std::size_t(i)].Value, (*data)[std::size_t(i)]);
        }
    }

    void layoutsOutsideTheImage()
    {
        // Cut 20 bytes into room 5 of zone 1: room 4 is whole, room 5 is not,
        // room 6 is gone.
        auto bytes = fixture::MakeLevelImageBuilder(23).bytes();
        bytes.resize(std::size_t(fixture::RoomAt(0, 5) + 20));
        const Image image{RomBytes(bytes)};
        const LevelContext level = image.level(0);
        const auto whole = ReadRoomLayout(level, 4);
        QVERIFY(whole);
        QVERIFY(RoomLayoutWrites(level, 4, *whole));
        QVERIFY(!ReadRoomLayout(level, 5));
        QVERIFY(!RoomLayoutWrites(level, 5, *whole));
        QVERIFY(!ReadRoomLayout(level, 6));
        QVERIFY(!RoomLayoutWrites(level, 6, *whole));
        // Cut before zone 1's room table: no room pointer at all.
        auto cut = bytes;
        cut.resize(std::size_t(fixture::RoomTableAt(0)));
        const Image noTable{RomBytes(cut)};
        QVERIFY(!ReadRoomLayout(noTable.level(0), 0));
        QVERIFY(!RoomLayoutWrites(noTable.level(0), 0, *whole));
    }

    void cellHoverTexts_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("metatile");
        QTest::addColumn<QString>("text");
        // Zone 3's room 5 lies at 0x9370, zone 7's room 27 at 0x10790.
        QTest::newRow("col 2 row 1") << 2 << 5 << 2 << 1 << 0x2A << QStringLiteral("Col 2 Row 1 \u00B7 2A \u00B7 0x0937A");
        QTest::newRow("first cell") << 2 << 5 << 0 << 0 << 0 << QStringLiteral("Col 0 Row 0 \u00B7 00 \u00B7 0x09370");
        QTest::newRow("above 64 KB") << 6 << 27 << 7 << 5 << 0xF5 << QStringLiteral("Col 7 Row 5 \u00B7 F5 \u00B7 0x107BF");
    }
    void cellHoverTexts()
    {
        QFETCH(int, zone);
        QFETCH(int, room);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, metatile);
        QFETCH(QString, text);
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(24);
        b.put(fixture::RoomAt(zone, room) + 8 * row + column, std::uint8_t(metatile));
        const Image image(b.rom());
        QCOMPARE(CellHoverText(image.level(zone), room, {column, row}), text);
    }

    void hoverTextsOfMissingBytes()
    {
        auto bytes = fixture::MakeLevelImageBuilder(25).bytes();
        bytes.resize(std::size_t(fixture::RoomAt(0, 5) + 20));
        const Image image{RomBytes(bytes)};
        const LevelContext level = image.level(0);
        // Byte 20 of room 5 is the first beyond the end.
        // Zone 1's room 5 lies at 0x05370.
        QCOMPARE(CellHoverText(level, 5, {4, 2}), QStringLiteral("Col 4 Row 2 \u00B7 no data \u00B7 0x05384"));
        QCOMPARE(CellHoverText(level, 5, {3, 2}).section(QStringLiteral(" \u00B7 "), 2), QStringLiteral("0x05383"));
        // Cut before zone 1's room table: no room pointer at all.
        bytes.resize(std::size_t(fixture::RoomTableAt(0)));
        const Image noTable{RomBytes(bytes)};
        QCOMPARE(CellHoverText(noTable.level(0), 0, {1, 1}), QStringLiteral("Col 1 Row 1 \u00B7 no data"));
    }

    void metatileTexts()
    {
        QCOMPARE(MetatileNumberText(-1), QString());
        QCOMPARE(MetatileNumberText(0), QStringLiteral("00"));
        QCOMPARE(MetatileNumberText(0x2A), QStringLiteral("2A"));
        QCOMPARE(MetatileNumberText(255), QStringLiteral("FF"));
        QCOMPARE(MetatileHoverText(0x2A), QStringLiteral("Metatile 2A"));
        QCOMPARE(MetatileHoverText(7), QStringLiteral("Metatile 07"));
    }
};

QTEST_GUILESS_MAIN(TestRoomCopy)
#include "test_room_copy.moc"
