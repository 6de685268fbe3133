// The generated demo cartridge: that the editor's way of finding a zone's
// data (zone headers, pointer tables, fixed offsets) leads to sound data
// inside the image, that no two pieces of data share bytes, that every
// metatile and room has something to show, and that the program lies in
// bytes the zone data does not use (tests/demo runs it).
#include "demo/DemoArt.h"
#include "demo/DemoCartridge.h"
#include "demo/DemoProgram.h"
#include "rom/ZoneCheck.h"
#include "rom/ZoneTable.h"

#include <QtTest>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

struct Block {
    std::string name;
    std::int64_t offset;
    std::int64_t length;
};

struct PointerUse {
    std::int32_t table;
    int entry;
    int value;    // the 16-bit pointer as stored
    std::int32_t target;
};

int Read16(const RomBytes& rom, std::int64_t at)
{
    return rom.read(at) + 256 * rom.read(at + 1);
}

int PaletteCount(int zone)
{
    return zone == 0 ? 4 : 3;
}

// Follows every pointer the editor follows and lists the data it reaches.
class ImageMap {
public:
    explicit ImageMap(const RomBytes& rom) : m_rom(rom) { BuildZoneTable(rom, zones); }

    ZoneTableArray zones;
    std::vector<Block> blocks;
    std::vector<PointerUse> pointers;

    std::int32_t follow(std::int32_t table, int entry)
    {
        const std::int32_t target = ReadRomPointer(m_rom, table, entry);
        pointers.push_back({table, entry, Read16(m_rom, table + 2 * entry), target});
        return target;
    }

    void collect()
    {
        blocks.push_back({"iNES header", 0, 16});
        for (int z = 0; z < ZoneCount; ++z) {
            const ZoneConstants& c = ZoneConstantsTable[z];
            const ZoneInfo& info = zones[z];
            const std::string zone = "zone " + std::to_string(z + 1) + " ";
            blocks.push_back({zone + "header", c.HeaderOffset, 8});
            for (int entry : {HeaderAttrs, HeaderTiles, HeaderRooms})
                follow(c.HeaderOffset, entry);
            blocks.push_back({zone + "metatile attributes", info.MetatileAttrs, 256});
            blocks.push_back({zone + "metatile tiles", info.MetatileTiles, 256 * 16});
            blocks.push_back({zone + "room table", info.RoomTable, 2 * (info.LastRoom + 1)});
            for (int r = 0; r <= info.LastRoom; ++r)
                blocks.push_back({zone + "room " + std::to_string(r), follow(info.RoomTable, r), 48});
            blocks.push_back({zone + "palette table", info.PaletteTable, 2 * PaletteCount(z)});
            for (int p = 0; p < PaletteCount(z); ++p)
                blocks.push_back({zone + "palette " + std::to_string(p), follow(info.PaletteTable, p), 3});
            blocks.push_back({zone + "tile block", info.TileBank, 256 * 16});
        }
    }

private:
    const RomBytes& m_rom;
};

int BankOf(std::int64_t offset)
{
    return static_cast<int>((offset - 16) / 0x4000);
}

// Colour indices a metatile's pixels are drawn in: 0x0F for pixel value 0,
// otherwise the quadrant palette's bytes (palette 3 from zone 1).
std::set<int> MetatileColours(const RomBytes& rom, const ZoneTableArray& zones, int z, int m)
{
    std::set<int> colours;
    const ZoneInfo& info = zones[z];
    const int attr = rom.read(info.MetatileAttrs + m);
    for (int k = 0; k < 16; ++k) {
        const int quadrant = (k / 8) * 2 + (k % 4) / 2;
        const int p = (attr >> (2 * quadrant)) & 3;
        const std::int32_t group = ReadRomPointer(rom, zones[p == 3 ? 0 : z].PaletteTable, p);
        const std::int64_t tile = info.TileBank + 16 * rom.read(info.MetatileTiles + 16 * m + k);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const int v = ((rom.read(tile + r) >> (7 - c)) & 1) + 2 * ((rom.read(tile + 8 + r) >> (7 - c)) & 1);
                colours.insert(v == 0 ? 0x0F : rom.read(group + v - 1));
            }
    }
    return colours;
}

} // namespace

class TestDemoCartridge : public QObject {
    Q_OBJECT
private:
    RomBytes m_rom = MakeDemoCartridge();

private slots:
    void sizeAndHeader()
    {
        QCOMPARE(m_rom.size(), qint64(262160));
        QCOMPARE(DemoCartridgeSize, m_rom.size());
        const int expected[16] = {'N', 'E', 'S', 0x1A, 16, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        for (int i = 0; i < 16; ++i)
            QCOMPARE(m_rom.read(i), expected[i]);
    }

    void sameBytesEveryCall()
    {
        QVERIFY(MakeDemoCartridge() == m_rom);
    }

    void zoneTableLeadsInsideTheImage()
    {
        ZoneTableArray zones;
        BuildZoneTable(m_rom, zones);
        const std::vector<ZoneProblem> problems = CheckZones(m_rom, zones);
        QVERIFY2(problems.empty(), problems.empty() ? "" : problems.front().What.c_str());
        for (int z = 0; z < ZoneCount; ++z) {
            const ZoneInfo& info = zones[z];
            QVERIFY2(m_rom.contains(info.MetatileAttrs, 256), qPrintable(QString::number(z)));
            QVERIFY(m_rom.contains(info.MetatileTiles, 256 * 16));
            QVERIFY(m_rom.contains(info.RoomTable, 2 * (info.LastRoom + 1)));
            QVERIFY(m_rom.contains(info.TileBank, 256 * 16));
        }
        // Zone 7's tile block ends with the image.
        QCOMPARE(zones[6].TileBank + 256 * 16, m_rom.size());
    }

    void blocksLieInsideAndDoNotOverlap()
    {
        ImageMap map(m_rom);
        map.collect();
        for (const Block& b : map.blocks)
            QVERIFY2(m_rom.contains(b.offset, b.length), b.name.c_str());
        std::vector<Block> sorted = map.blocks;
        std::sort(sorted.begin(), sorted.end(), [](const Block& a, const Block& b) { return a.offset < b.offset; });
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            const Block& a = sorted[i - 1];
            const Block& b = sorted[i];
            QVERIFY2(a.offset + a.length <= b.offset, (a.name + " overlaps " + b.name).c_str());
        }
    }

    void bothHalvesOfThePointerWindowAreUsed()
    {
        ImageMap map(m_rom);
        map.collect();
        int high = 0, low = 0;
        std::set<std::int32_t> highTables;
        for (const PointerUse& p : map.pointers) {
            QVERIFY(p.value >= 0x8000);
            const int bankStep = BankOf(p.target) - BankOf(p.table);
            if (p.value >= 0xC000) {
                ++high;
                highTables.insert(p.table);
                QCOMPARE(bankStep, 1);
            } else {
                ++low;
                QCOMPARE(bankStep, 0);
            }
        }
        QVERIFY(low > 0);
        QVERIFY(high > 0);
        // Both a zone header and a room table reach into the following bank.
        bool header = false, roomTable = false;
        for (std::int32_t t : highTables) {
            for (int z = 0; z < ZoneCount; ++z) {
                header = header || t == ZoneConstantsTable[z].HeaderOffset;
                roomTable = roomTable || t == map.zones[z].RoomTable;
            }
        }
        QVERIFY(header);
        QVERIFY(roomTable);
    }

    void colourBytesAreNesColours()
    {
        ImageMap map(m_rom);
        map.collect();
        int groups = 0;
        for (const Block& b : map.blocks) {
            if (b.name.find("palette ") == std::string::npos || b.name.find("table") != std::string::npos)
                continue;
            ++groups;
            for (int i = 0; i < 3; ++i)
                QVERIFY2(m_rom.read(b.offset + i) < 64, b.name.c_str());
        }
        QCOMPARE(groups, 4 + 6 * 3);
    }

    void everyMetatileShowsSomething_data()
    {
        QTest::addColumn<int>("zone");
        for (int z = 0; z < ZoneCount; ++z)
            QTest::addRow("zone %d", z + 1) << z;
    }
    void everyMetatileShowsSomething()
    {
        QFETCH(int, zone);
        ZoneTableArray zones;
        BuildZoneTable(m_rom, zones);
        std::set<std::set<int>> looks;
        for (int m = 0; m < 256; ++m) {
            const std::set<int> colours = MetatileColours(m_rom, zones, zone, m);
            // Never a blank (all black) metatile.
            QVERIFY2(colours != std::set<int>{0x0F}, qPrintable(QStringLiteral("metatile %1").arg(m)));
            looks.insert(colours);
        }
        // The palette variants give the selector pages varied colours.
        QVERIFY(looks.size() >= 8);
    }

    void zonesLookDifferent()
    {
        ZoneTableArray zones;
        BuildZoneTable(m_rom, zones);
        std::set<std::vector<int>> palettes;
        std::set<std::vector<int>> tileBlocks;
        for (int z = 0; z < ZoneCount; ++z) {
            std::vector<int> colours;
            for (int p = 0; p < 3; ++p) {
                const std::int32_t at = ReadRomPointer(m_rom, zones[z].PaletteTable, p);
                for (int i = 0; i < 3; ++i)
                    colours.push_back(m_rom.read(at + i));
            }
            palettes.insert(colours);
            std::vector<int> tiles;
            for (int i = 0; i < 256 * 16; ++i)
                tiles.push_back(m_rom.read(zones[z].TileBank + i));
            tileBlocks.insert(tiles);
        }
        QCOMPARE(int(palettes.size()), ZoneCount);
        QCOMPARE(int(tileBlocks.size()), ZoneCount);
    }

    void roomsDifferAndHaveGround_data()
    {
        QTest::addColumn<int>("zone");
        for (int z = 0; z < ZoneCount; ++z)
            QTest::addRow("zone %d", z + 1) << z;
    }
    void roomsDifferAndHaveGround()
    {
        QFETCH(int, zone);
        ZoneTableArray zones;
        BuildZoneTable(m_rom, zones);
        const ZoneInfo& info = zones[zone];
        std::set<std::vector<int>> layouts;
        for (int r = 0; r <= info.LastRoom; ++r) {
            const std::int32_t at = ReadRomPointer(m_rom, info.RoomTable, r);
            std::vector<int> layout;
            for (int i = 0; i < 48; ++i)
                layout.push_back(m_rom.read(at + i));
            layouts.insert(layout);
            // The bottom row is not the same metatile as the top-left cell
            // everywhere: there is ground (or a pit) under the backdrop.
            int backdrop = 0;
            for (int c = 0; c < 8; ++c)
                backdrop += layout[40 + c] == layout[0] ? 1 : 0;
            QVERIFY2(backdrop < 8, qPrintable(QStringLiteral("room %1").arg(r)));
        }
        QCOMPARE(int(layouts.size()), info.LastRoom + 1);
    }

    void programLiesWhereNoZoneDataIs()
    {
        ImageMap map(m_rom);
        map.collect();
        const std::array<ByteRange, 2> ranges = demo::ViewerRanges();
        const ByteRange code = ranges[0];
        const ByteRange vectors = ranges[1];
        // The code: bank 0 from CPU $8000 (bank 0 is in the window at
        // power-up), before the palette tables, apart from every block the
        // editor reads.
        QCOMPARE(code.Offset, qint64(0x10));
        QVERIFY(code.Length > 0);
        QVERIFY(code.Offset + code.Length <= ZoneConstantsTable[0].PaletteTable);
        for (const Block& b : map.blocks)
            QVERIFY2(b.offset + b.length <= code.Offset || code.Offset + code.Length <= b.offset,
                     ("the program overlaps " + b.name).c_str());
        // The vectors: the last six bytes of the image, CPU $FFFA-$FFFF of the
        // fixed last bank, which are bytes 10-15 of Zone 7's tile FF.
        QCOMPARE(vectors.Offset + vectors.Length, m_rom.size());
        QCOMPARE(vectors.Length, qint64(6));
        QCOMPARE(vectors.Offset, qint64(ZoneConstantsTable[6].TileBank + 0xFF * 16 + 10));

        const std::vector<std::uint8_t> bytes = demo::ViewerCode();
        QCOMPARE(qint64(bytes.size()), code.Length);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            QCOMPARE(m_rom.read(code.Offset + qint64(i)), int(bytes[i]));
        const auto vector = [&](int n) { return Read16(m_rom, vectors.Offset + 2 * n); };
        const demo::ViewerProgram& program = demo::Viewer();
        QCOMPARE(vector(0), int(program.Nmi));
        QCOMPARE(vector(1), int(program.Reset));
        QCOMPARE(vector(2), int(program.Irq));
        // Reset starts the code; NMI and IRQ lead into RAM, where the program
        // keeps what runs while another bank is in the window. The NMI
        // vector's low byte is 0: writing 0 there selects bank 0 without a
        // bus conflict.
        QCOMPARE(vector(1), 0x8000);
        QVERIFY(vector(0) < 0x0800);
        QVERIFY(vector(2) < 0x0800);
        QCOMPARE(m_rom.read(vectors.Offset), 0);
        const demo::ViewerMatch match = demo::MatchViewer(m_rom);
        QCOMPARE(match.Equal, code.Length + vectors.Length);
        QCOMPARE(match.Total, match.Equal);
    }

    void programKnowsTheZoneTable()
    {
        // Ten arrays of one byte a zone: header, palette table and tile bank
        // offsets (three bytes each, low first) and the last room.
        const std::int64_t facts = demo::ViewerCodeOffset + (demo::Viewer().ZoneFacts - demo::ViewerCodeAddress);
        const auto fact = [&](int array, int zone) { return m_rom.read(facts + ZoneCount * array + zone); };
        for (int z = 0; z < ZoneCount; ++z) {
            const ZoneConstants& c = ZoneConstantsTable[z];
            const auto offset = [&](int first) { return fact(first, z) | fact(first + 1, z) << 8 | fact(first + 2, z) << 16; };
            QCOMPARE(offset(0), c.HeaderOffset);
            QCOMPARE(offset(3), c.PaletteTable);
            QCOMPARE(offset(6), c.TileBank);
            QCOMPARE(fact(9, z), int(c.LastRoom));
        }
    }

    void artKeepsItsBytesButTheVectors()
    {
        ZoneTableArray zones;
        BuildZoneTable(m_rom, zones);
        const std::int64_t vectors = demo::ViewerRanges()[1].Offset;
        int differing = 0;
        for (int z = 0; z < ZoneCount; ++z) {
            const demo::ZoneArt art = demo::MakeZoneArt(z);
            for (int i = 0; i < 256 * 16; ++i) {
                const std::int64_t at = zones[z].TileBank + i;
                if (at >= vectors) {
                    QCOMPARE(int(art.Tiles[std::size_t(i)]), 0); // left to the vectors
                    continue;
                }
                differing += m_rom.read(at) != art.Tiles[std::size_t(i)] ? 1 : 0;
            }
            for (int i = 0; i < 256 * 16; ++i)
                differing += m_rom.read(zones[z].MetatileTiles + i) != art.MetatileTiles[std::size_t(i)] ? 1 : 0;
            for (int i = 0; i < 256; ++i)
                differing += m_rom.read(zones[z].MetatileAttrs + i) != art.MetatileAttrs[std::size_t(i)] ? 1 : 0;
        }
        QCOMPARE(differing, 0);

        // No room of Zone 7 shows its tile FF, so the vectors never show in a room.
        const ZoneInfo& info = zones[demo::VectorsZone];
        for (int r = 0; r <= info.LastRoom; ++r) {
            const std::int32_t layout = ReadRomPointer(m_rom, info.RoomTable, r);
            for (int cell = 0; cell < 48; ++cell) {
                const int m = m_rom.read(layout + cell);
                for (int k = 0; k < 16; ++k)
                    QVERIFY2(m_rom.read(info.MetatileTiles + 16 * m + k) != demo::VectorsTile,
                             qPrintable(QStringLiteral("room %1, cell %2").arg(r).arg(cell)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDemoCartridge)
#include "test_demo_cartridge.moc"
