// Pointer reading and the zone table built from an image's zone headers.
#include "rom/ZoneCheck.h"
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
        BuildZoneTable(rom, table);
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

    void shortImageMarksUnreadablePointers()
    {
        // Long enough for the headers of zones 1-3 only.
        const RomBytes rom = ImageOfSize(0x4028);
        ZoneTableArray table{};
        BuildZoneTable(rom, table);
        for (int s = 0; s < 3; ++s)
            QVERIFY(table[s].RoomTable != NoOffset);
        for (int s = 3; s < ZoneCount; ++s) {
            QCOMPARE(table[s].RoomTable, NoOffset);
            QCOMPARE(table[s].MetatileTiles, NoOffset);
            QCOMPARE(table[s].MetatileAttrs, NoOffset);
            QCOMPARE(table[s].TileBank, ZoneConstantsTable[s].TileBank);
        }
    }

    void checkZonesNamesWhatLiesOutside()
    {
        // Headers of zones 1-3 only; their pointers lead into the image's
        // first bank, but room layouts, tables and tiles lie beyond its end.
        RomBytes rom = ImageOfSize(0x4100);
        Put16(rom, 0x4010 + 0, 0x8050);   // zone 1 attributes at 0x4060: 256 bytes, beyond the end
        Put16(rom, 0x4010 + 2, 0x8000);   // zone 1 tiles at 0x4010: 4096 bytes, beyond
        Put16(rom, 0x4010 + 6, 0x80C0);   // zone 1 room table at 0x40D0: 33 pointers, some beyond
        Put16(rom, 0x40D2, 0x80E0);       // room 1's layout at 0x40F0: 48 bytes, past the end
        ZoneTableArray table{};
        BuildZoneTable(rom, table);
        const std::vector<ZoneProblem> problems = CheckZones(rom, table);
        auto has = [&](int zone, const std::string& what, std::int64_t offset) {
            for (const ZoneProblem& p : problems)
                if (p == ZoneProblem{zone, what, offset})
                    return true;
            return false;
        };
        QVERIFY(has(1, "metatile attribute table", 0x4060));
        QVERIFY(has(1, "metatile tile table", 0x4010));
        QVERIFY(!has(1, "room 0 layout", 0x4010));      // pointer 0x0000: inside
        QVERIFY(has(1, "room 1 layout", 0x40F0));
        QVERIFY(has(1, "room pointer 24", 0x40D0 + 48));  // first entry past the end
        QVERIFY(has(1, "tile block", 0x39010));
        QVERIFY(has(4, "header", 0x8010));
        QVERIFY(has(4, "room table pointer", 0x8016));
        QVERIFY(has(7, "tile block", 0x3F010));
        // Palettes: zone 1's table at 0x1EDA is inside; its pointers read
        // zero, so its colours lie at 0x10, inside too.
        for (const ZoneProblem& p : problems)
            QVERIFY2(p.What.rfind("palette", 0) != 0, p.What.c_str());
    }

    void checkZonesOnAFullImageWithValidData()
    {
        RomBytes rom = ImageWithHeaders(0x8100, 0x8200, 0x8300);
        ZoneTableArray table{};
        BuildZoneTable(rom, table);
        QVERIFY(CheckZones(rom, table).empty());
    }
};

QTEST_APPLESS_MAIN(TestZoneTable)
#include "test_zone_table.moc"
