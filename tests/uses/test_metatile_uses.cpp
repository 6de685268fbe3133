// Where metatiles and tiles are used, on a fixture with known places, a
// shared room layout and shared tiles (UsesFixture.h); rooms and tables that
// lie outside the image hold nothing.
#include "UsesFixture.h"
#include "uses/MetatileUses.h"

#include <QtTest>

#include <numeric>

namespace {
struct Zones {
    RomBytes rom;
    ZoneTableArray table;
    explicit Zones(RomBytes image) : rom(std::move(image)) { BuildZoneTable(rom, table); }
    LevelContext level(int zone = uses_fixture::Zone) const { return LevelContext{rom, table, zone}; }
};

QList<RoomCell> Cells(std::initializer_list<RoomCell> cells) { return QList<RoomCell>(cells); }
QList<RoomCell> Cells(const std::vector<RoomCell>& cells) { return QList<RoomCell>(cells.begin(), cells.end()); }
}

class TestMetatileUses : public QObject {
    Q_OBJECT
private slots:
    void roomsAndCellsOfAMetatile()
    {
        using namespace uses_fixture;
        const Zones z(MakeBuilder().rom());
        const std::vector<RoomUses> uses = MetatileRoomUses(z.level(), Shared);
        QCOMPARE(uses.size(), std::size_t(4));
        QCOMPARE(uses[0].Room, 0);
        QCOMPARE(Cells(uses[0].Cells), Cells({{0, 0}, {3, 1}}));
        QCOMPARE(uses[0].SameLayoutAs, -1);
        QCOMPARE(uses[1].Room, 2);
        QCOMPARE(Cells(uses[1].Cells), Cells({{7, 5}}));
        // Room 3's pointer leads to room 2's layout bytes: it shows the same cells.
        QCOMPARE(uses[2].Room, 3);
        QCOMPARE(Cells(uses[2].Cells), Cells({{7, 5}}));
        QCOMPARE(uses[2].SameLayoutAs, 2);
        QCOMPARE(uses[3].Room, 5);
        QCOMPARE(Cells(uses[3].Cells), Cells({{1, 2}, {2, 2}, {6, 4}}));
        QCOMPARE(CountMetatileUses(z.level(), Shared), (UseCount{7, 4}));
        QCOMPARE(UseCountText(CountMetatileUses(z.level(), Shared)), QStringLiteral("used in 7 cells of 4 rooms"));
        QCOMPARE(RoomUsesText(uses[3]), QStringLiteral("Room 05: 3 cells (Col 1 Row 2, Col 2 Row 2, Col 6 Row 4)"));
        QCOMPARE(RoomUsesText(uses[2]), QStringLiteral("Room 03: 1 cell (Col 7 Row 5), the layout of Room 02"));
        QCOMPARE(Cells(CellsHolding(z.level(), 5, Shared)), Cells(uses[3].Cells));

        // Metatile 10 once, in room 1; a metatile in no room.
        QCOMPARE(CountMetatileUses(z.level(), UsesTileA), (UseCount{1, 1}));
        QCOMPARE(UseCountText(CountMetatileUses(z.level(), UsesTileA)), QStringLiteral("used in 1 cell of 1 room"));
        QVERIFY(MetatileRoomUses(z.level(), 0x99).empty());
        QCOMPARE(UseCountText(CountMetatileUses(z.level(), 0x99)), QStringLiteral("not used in any room"));
        // Every cell of every room (room 3 showing room 2's bytes) holds one metatile.
        int total = 0;
        for (int m = 0; m < 256; ++m)
            total += CountMetatileUses(z.level(), m).Cells;
        QCOMPARE(total, 48 * (ZoneConstantsTable[Zone].LastRoom + 1));
    }

    // A tile counts once per metatile that has it, however often.
    void metatilesOfATile()
    {
        using namespace uses_fixture;
        const Zones z(MakeBuilder().rom());
        const std::array<int, 256> counts = TileMetatileCounts(z.level());
        QCOMPARE(counts[TileA], 2);
        QCOMPARE(counts[TileB], 1);
        QCOMPARE(counts[0x00], 1);
        QCOMPARE(counts[0x01], 254);
        QCOMPARE(counts[0x02], 0);
        QCOMPARE(MetatilesUsingTile(z.level(), TileA), (std::vector<int>{UsesTileA, UsesTileB}));
        QCOMPARE(MetatilesUsingTile(z.level(), TileB), (std::vector<int>{Shared}));
        QVERIFY(MetatilesUsingTile(z.level(), 0x02).empty());
        // Cells showing the tile: metatile 10 in room 1, 11 in rooms 2 and 3.
        QCOMPARE(CountTileUses(z.level(), TileA), (UseCount{3, 3}));
        QCOMPARE(CountTileUses(z.level(), TileB), CountMetatileUses(z.level(), Shared));
        QCOMPARE(CountTileUses(z.level(), 0x01), (UseCount{3, 3}));
        QCOMPARE(CountTileUses(z.level(), 0x02), (UseCount{0, 0}));
        // Other zones have their own tables.
        QVERIFY(TileMetatileCounts(z.level(1))[TileA] != 2 || TileMetatileCounts(z.level(1))[0x01] != 254);
    }

    // A room whose pointer or layout lies outside the image, a metatile
    // table cut short, a slot without a zone: nothing is counted there.
    void outsideTheImage()
    {
        using namespace uses_fixture;
        fixture::ImageBuilder b = MakeBuilder();
        // Room 5's pointer leads past the end of the (cut) image.
        b.putPointer(fixture::RoomTableAt(Zone), 5, 0x7FF0);
        std::vector<std::uint8_t> bytes = b.bytes();
        bytes.resize(0x7FF8);   // room 5's layout: 8 of its 48 bytes are left
        const Zones z{RomBytes(bytes)};
        const std::vector<RoomUses> uses = MetatileRoomUses(z.level(), Shared);
        QCOMPARE(uses.size(), std::size_t(3));
        QCOMPARE(CountMetatileUses(z.level(), Shared), (UseCount{4, 3}));
        QVERIFY(CellsHolding(z.level(), 40, Shared).empty());
        QVERIFY(CellsHolding(z.level(), -1, Shared).empty());
        QVERIFY(CellsHolding(z.level(), 0, 256).empty());
        // Zone 1's metatile tiles table is whole (it lies before the cut);
        // zone 7's lies past it.
        QCOMPARE(TileMetatileCounts(z.level())[TileA], 2);
        const std::array<int, 256> none = TileMetatileCounts(z.level(6));
        QCOMPARE(std::accumulate(none.begin(), none.end(), 0), 0);
        QCOMPARE(CountTileUses(z.level(60), TileA), (UseCount{0, 0}));
        QVERIFY(MetatileRoomUses(z.level(60), Shared).empty());
    }
};

QTEST_MAIN(TestMetatileUses)
#include "test_metatile_uses.moc"
