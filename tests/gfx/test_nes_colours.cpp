// The NES colour table, the two colour forms, ByteToBinary and the zone
// palette lookup.
#include "../fixtures/LevelFixture.h"
#include "gfx/ByteToBinary.h"
#include "gfx/ZonePalette.h"
#include "gfx/clsNesTiles.h"

#include <QtTest>

class TestNesColours : public QObject {
    Q_OBJECT
private slots:
    void colourTable_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<uint>("packed");
        QTest::newRow("0x00 grey") << 0x00 << 0x808080u;
        QTest::newRow("0x01") << 0x01 << 0x003DA6u;
        QTest::newRow("0x0D black") << 0x0D << 0x000000u;
        QTest::newRow("0x0F") << 0x0F << 0x050505u;
        QTest::newRow("0x16") << 0x16 << 0xFF2200u;
        QTest::newRow("0x1C") << 0x1C << 0x0099CCu;
        QTest::newRow("0x20 white") << 0x20 << 0xFFFFFFu;
        QTest::newRow("0x21") << 0x21 << 0x0FD7FFu;
        QTest::newRow("0x2A") << 0x2A << 0x2BF035u;
        QTest::newRow("0x30 white") << 0x30 << 0xFFFFFFu;
        QTest::newRow("0x33") << 0x33 << 0xDAABEBu;
        QTest::newRow("0x3D") << 0x3D << 0xDDDDDDu;
        QTest::newRow("0x3F") << 0x3F << 0x111111u;
    }
    void colourTable()
    {
        QFETCH(int, index);
        QFETCH(uint, packed);
        clsNesTiles tiles;
        QCOMPARE(NesColourTable[std::size_t(index)], packed);
        QCOMPARE(tiles.ColourTable()[std::size_t(index)], packed);
    }

    void pairsOfBlacksAreEqual()
    {
        clsNesTiles tiles;
        for (auto [a, b] : {std::pair{0x0E, 0x0F}, {0x1E, 0x1F}, {0x2E, 0x2F}, {0x3E, 0x3F}, {0x20, 0x30}})
            QCOMPARE(NesColourTable[std::size_t(a)], NesColourTable[std::size_t(b)]);
        QVERIFY(NesColourTable[0x0E] != NesColourTable[0x1E]);
    }

    void controlColour_data()
    {
        QTest::addColumn<uint>("packed");
        QTest::addColumn<uint>("control");
        QTest::newRow("0x21") << 0x0FD7FFu << 0xFFD70Fu;
        QTest::newRow("red") << 0xFF0000u << 0x0000FFu;
        QTest::newRow("blue") << 0x0000FFu << 0xFF0000u;
        QTest::newRow("grey") << 0x808080u << 0x808080u;
        QTest::newRow("top byte dropped") << 0xAA123456u << 0x563412u;
    }
    void controlColour()
    {
        QFETCH(uint, packed);
        QFETCH(uint, control);
        QCOMPARE(PackedToColour(packed), control);
    }

    void controlColourOfTableEntry()
    {
        clsNesTiles tiles;
        QCOMPARE(PackedToColour(NesColourTable[0x21]), 0xFFD70Fu);
    }

    void everyConstructionRewritesTheTable()
    {
        clsNesTiles first;
        const auto expected = NesColourTable;
        NesColourTable.fill(0xDEADBEEF);
        clsNesTiles second;
        QCOMPARE(NesColourTable, expected);
        QCOMPARE(second.ColourTable(), expected);
        for (int n = 0; n < NesColourCount; ++n)
            QCOMPARE(expected[std::size_t(n)] >> 24, 0u);
    }

    void byteToBinary_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("5") << 5 << "00000101";
        QTest::newRow("0") << 0 << "00000000";
        QTest::newRow("255") << 255 << "11111111";
        QTest::newRow("0xC4") << 0xC4 << "11000100";
        QTest::newRow("0x80") << 0x80 << "10000000";
        QTest::newRow("0x01") << 0x01 << "00000001";
        QTest::newRow("0xE4") << 0xE4 << "11100100";
    }
    void byteToBinary()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(ByteToBinary(std::uint8_t(value)), text);
    }

    // Each zone's palettes point at their own bytes; p = 3 always at the
    // first zone's fourth entry.
    void paletteLookup_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("palette");
        QTest::addColumn<int>("tableEntry");   // file offset of the pointer used
        QTest::addColumn<int>("owner");        // zone whose colour bytes it leads to
        for (int s = 0; s < ZoneCount; ++s) {
            const int table = ZoneConstantsTable[std::size_t(s)].PaletteTable;
            for (int p = 0; p < 3; ++p)
                QTest::addRow("zone %d palette %d", s + 1, p) << s << p << table + 2 * p << s;
            QTest::addRow("zone %d palette 3", s + 1) << s << 3 << 0x1EDA + 6 << 0;
        }
    }
    void paletteLookup()
    {
        QFETCH(int, zone);
        QFETCH(int, palette);
        QFETCH(int, tableEntry);
        QFETCH(int, owner);
        fixture::ImageBuilder b = fixture::MakeLevelImageBuilder();
        RomBytes rom = b.rom();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, zone};
        const std::int32_t at = fixture::PaletteAt(owner, palette);
        QCOMPARE(ZonePaletteOffset(level, palette), at);
        const auto colours = LookupZonePalette(level, palette);
        QVERIFY(colours.has_value());
        QCOMPARE(int((*colours)[0]), 0x0F);
        for (int v = 1; v <= 3; ++v)
            QCOMPARE(int((*colours)[std::size_t(v)]), rom.read(at + v - 1));

        // The pointer that is used is the one at tableEntry: move it and the
        // lookup follows it; the colour bytes are read afresh.
        b.putPointer(tableEntry - 2 * palette, palette, 0x3000);
        b.put(0x3000, 0x11);
        b.put(0x3001, 0x22);
        b.put(0x3002, 0x33);
        rom = b.rom();
        const auto moved = LookupZonePalette(level, palette);
        QVERIFY(moved.has_value());
        QCOMPARE(*moved, (ZonePalette{0x0F, 0x11, 0x22, 0x33}));
        rom.write(0x3001, 0x2C);
        QCOMPARE(LookupZonePalette(level, palette)->at(2), std::uint8_t(0x2C));
    }

    void paletteOutsideTheImage_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("palette");
        QTest::newRow("table entry cut off") << 0x1EEF << 1;   // zone 4 entry 1 at 0x1EF0
        QTest::newRow("colour bytes cut off") << fixture::PaletteAt(3, 1) + 2 << 1;
        QTest::newRow("first zone's entry 3 cut off") << 0x1EE0 << 3;
        QTest::newRow("empty image") << 0 << 0;
    }
    void paletteOutsideTheImage()
    {
        QFETCH(int, size);
        QFETCH(int, palette);
        std::vector<std::uint8_t> bytes = fixture::MakeLevelImageBuilder().bytes();
        ZoneTableArray zones;
        BuildZoneTable(RomBytes(bytes), zones);
        bytes.resize(std::size_t(size));
        const RomBytes rom(bytes);
        const LevelContext level{rom, zones, 3};
        QVERIFY(!LookupZonePalette(level, palette).has_value());
    }

    void paletteNumberOrZoneOutOfRange()
    {
        const RomBytes rom = fixture::MakeLevelImage();
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        QVERIFY(!LookupZonePalette(LevelContext{rom, zones, 2}, 4).has_value());
        QVERIFY(!LookupZonePalette(LevelContext{rom, zones, 2}, -1).has_value());
        QVERIFY(!LookupZonePalette(LevelContext{rom, zones, 60}, 0).has_value());
        QVERIFY(!LookupZonePalette(LevelContext{rom, zones, -1}, 1).has_value());
        // Palette 3 needs only the first zone, whatever the current slot.
        QVERIFY(LookupZonePalette(LevelContext{rom, zones, 60}, 3).has_value());
    }
};

QTEST_GUILESS_MAIN(TestNesColours)
#include "test_nes_colours.moc"
