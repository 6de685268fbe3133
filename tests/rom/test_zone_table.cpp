// Pointer reading and the zone table built from an image's zone headers.
#include "rom/ZoneTable.h"

#include <QtTest>

namespace {

RomBytes ImageOfSize(std::int64_t size)
{
    return RomBytes(std::vector<std::uint8_t>(static_cast<std::size_t>(size), 0));
}

void Put16(RomBytes& rom, std::int64_t at, int value)
{
    QVERIFY(rom.write(at, static_cast<std::uint8_t>(value & 0xFF)));
    QVERIFY(rom.write(at + 1, static_cast<std::uint8_t>(value >> 8)));
}

// A full-size image whose zone headers hold the given pointers.
RomBytes ImageWithHeaders(int attrs, int tiles, int rooms)
{
    RomBytes rom = ImageOfSize(0x40010);
    for (const ZoneConstants& z : ZoneConstantsTable) {
        Put16(rom, z.HeaderOffset + 0, attrs);
        Put16(rom, z.HeaderOffset + 2, tiles);
        Put16(rom, z.HeaderOffset + 6, rooms);
    }
    return rom;
}

} // namespace

class TestZoneTable : public QObject {
    Q_OBJECT
private slots:
    void readRomPointer_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("pointer");
        QTest::addColumn<int>("expected");
        QTest::newRow("window start in table's bank") << 0x4010 << 0 << 0x9234 << 0x5244;
        QTest::newRow("0xC000 lands in the next bank") << 0x4010 << 0 << 0xC000 << 0x8010;
        QTest::newRow("0x8000 is the bank's first byte") << 0x4010 << 0 << 0x8000 << 0x4010;
        QTest::newRow("below 0x8000 taken as is") << 0x4010 << 0 << 0x1234 << 0x5244;
        QTest::newRow("0xFFFF from bank 1") << 0x4010 << 0 << 0xFFFF << 0xC00F;
        QTest::newRow("later entry") << 0x4010 << 3 << 0x8100 << 0x4110;
        QTest::newRow("table in bank 0") << 0x1EDA << 1 << 0x9F10 << 0x1F20;
        QTest::newRow("table inside header counts as bank 0") << 0x0004 << 0 << 0x8020 << 0x0030;
        QTest::newRow("zone 7 header in bank 3") << 0xC013 << 0 << 0xC000 << 0x10010;
        QTest::newRow("last bank of the window") << 0x3C010 << 0 << 0xBFFF << 0x3C010 + 0x3FFF;
    }
    void readRomPointer()
    {
        QFETCH(int, table);
        QFETCH(int, index);
        QFETCH(int, pointer);
        QFETCH(int, expected);
        RomBytes rom = ImageOfSize(0x40010);
        Put16(rom, table + 2 * index, pointer);
        QCOMPARE(ReadRomPointer(rom, table, index), expected);
    }

    void readRomPointerOutsideImage_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("index");
        QTest::newRow("empty image") << 0 << 0x4010 << 0;
        QTest::newRow("second byte missing") << 0x4011 << 0x4010 << 0;
        QTest::newRow("past the end") << 0x100 << 0x4010 << 3;
        QTest::newRow("negative table") << 0x100 << -1 << 0;
        QTest::newRow("negative index") << 0x100 << 0x10 << -9;
        QTest::newRow("huge index") << 0x100 << 0x10 << 0x7FFFFFFF;
    }
    void readRomPointerOutsideImage()
    {
        QFETCH(int, size);
        QFETCH(int, table);
        QFETCH(int, index);
        QCOMPARE(ReadRomPointer(ImageOfSize(size), table, index), NoOffset);
    }

    void buildFillsSevenSlotsFromHeaders()
    {
        const RomBytes rom = ImageWithHeaders(0x8100, 0x8200, 0xC300);
        ZoneTableArray table{};
        table[20].TileBank = 5; // stale data must not survive
        std::vector<ZoneProblem> problems;
        BuildZoneTable(rom, table, &problems);
        QVERIFY(problems.empty());
        for (int s = 0; s < ZoneCount; ++s) {
            const ZoneConstants& c = ZoneConstantsTable[s];
            const std::int32_t bankStart = (c.HeaderOffset - 16) / 0x4000 * 0x4000 + 16;
            QCOMPARE(table[s].MetatileAttrs, bankStart + 0x100);
            QCOMPARE(table[s].MetatileTiles, bankStart + 0x200);
            QCOMPARE(table[s].RoomTable, bankStart + 0x4300);
            QCOMPARE(table[s].PaletteTable, c.PaletteTable);
            QCOMPARE(table[s].TileBank, c.TileBank);
            QCOMPARE(table[s].LastRoom, c.LastRoom);
        }
        for (int s = ZoneCount; s < ZoneSlotCount; ++s)
            QCOMPARE(table[s], ZoneInfo{});
    }

    void buildKnownConstants()
    {
        const RomBytes rom = ImageWithHeaders(0x8000, 0x8000, 0x8000);
        ZoneTableArray table{};
        BuildZoneTable(rom, table);
        const int lastRooms[] = {32, 32, 31, 30, 32, 33, 27};
        const int tileBanks[] = {233488, 237584, 241680, 245776, 249872, 253968, 258064};
        const int palettes[] = {0x1EDA, 0x1EE2, 0x1EE8, 0x1EEE, 0x1EF4, 0x1EFA, 0x1F00};
        for (int s = 0; s < ZoneCount; ++s) {
            QCOMPARE(int(table[s].LastRoom), lastRooms[s]);
            QCOMPARE(table[s].TileBank, tileBanks[s]);
            QCOMPARE(table[s].PaletteTable, palettes[s]);
        }
    }

    void rebuildReplacesEverySlot()
    {
        ZoneTableArray table{};
        BuildZoneTable(ImageWithHeaders(0x8100, 0x8200, 0x8300), table);
        const ZoneTableArray first = table;
        BuildZoneTable(ImageWithHeaders(0x9000, 0xA000, 0xB000), table);
        for (int s = 0; s < ZoneCount; ++s) {
            QVERIFY(table[s].RoomTable != first[s].RoomTable);
            QVERIFY(table[s].MetatileTiles != first[s].MetatileTiles);
            QVERIFY(table[s].MetatileAttrs != first[s].MetatileAttrs);
        }
    }

    void shortImageRecordsWhatIsMissing()
    {
        // Long enough for the headers of zones 1-3 only.
        const RomBytes rom = ImageOfSize(0x4028);
        ZoneTableArray table{};
        std::vector<ZoneProblem> problems;
        BuildZoneTable(rom, table, &problems);
        for (int s = 0; s < 3; ++s)
            QVERIFY(table[s].RoomTable != NoOffset);
        for (int s = 3; s < ZoneCount; ++s) {
            QCOMPARE(table[s].RoomTable, NoOffset);
            QCOMPARE(table[s].MetatileTiles, NoOffset);
            QCOMPARE(table[s].MetatileAttrs, NoOffset);
            QCOMPARE(table[s].TileBank, ZoneConstantsTable[s].TileBank);
        }
        QCOMPARE(problems.size(), std::size_t(12));
        QCOMPARE(problems.front().Zone, 4);
        QCOMPARE(problems.front().Offset, std::int64_t(0x8010));
    }
};

QTEST_APPLESS_MAIN(TestZoneTable)
#include "test_zone_table.moc"
