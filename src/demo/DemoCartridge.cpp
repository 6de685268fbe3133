#include "demo/DemoCartridge.h"

#include "demo/DemoArt.h"
#include "demo/DemoProgram.h"
#include "demo/DemoRooms.h"
#include "rom/ZoneTable.h"

#include <array>
#include <cassert>
#include <vector>

namespace {

constexpr std::int64_t HeaderSize = 16;
constexpr std::int64_t BankSize = 0x4000;
constexpr int BankCount = 16;

constexpr std::int64_t BankStart(int bank) { return HeaderSize + bank * BankSize; }
constexpr int BankOf(std::int64_t offset) { return static_cast<int>((offset - HeaderSize) / BankSize); }

// The image under construction: bytes plus a cursor of free space per bank.
class Builder {
public:
    Builder() : m_bytes(static_cast<std::size_t>(DemoCartridgeSize), 0)
    {
        for (int b = 0; b < BankCount; ++b)
            m_free[b] = BankStart(b);
    }

    // Marks [offset, offset + length) as taken by a fixed structure; the
    // cursor of its bank moves past it.
    void reserve(std::int64_t offset, std::int64_t length)
    {
        const int bank = BankOf(offset);
        assert(offset >= m_free[bank] && BankOf(offset + length - 1) == bank);
        m_free[bank] = offset + length;
    }

    // Free space of `length` bytes in `bank`; returns its file offset.
    std::int64_t place(int bank, std::int64_t length)
    {
        const std::int64_t at = m_free[bank];
        assert(at + length <= BankStart(bank + 1));
        m_free[bank] = at + length;
        return at;
    }

    void put(std::int64_t offset, std::uint8_t value) { m_bytes[static_cast<std::size_t>(offset)] = value; }
    template <typename Bytes>
    void putAll(std::int64_t offset, const Bytes& bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            put(offset + static_cast<std::int64_t>(i), bytes[i]);
    }

    // Stores at `at` the CPU pointer that a table in the bank of `table`
    // needs to reach `target`: the 32 KB window starts at the table's bank.
    void putPointer(std::int64_t at, std::int64_t table, std::int64_t target)
    {
        const std::int64_t inWindow = target - BankStart(BankOf(table));
        assert(inWindow >= 0 && inWindow < 2 * BankSize);
        const std::int64_t pointer = 0x8000 + inWindow;
        put(at, static_cast<std::uint8_t>(pointer & 0xFF));
        put(at + 1, static_cast<std::uint8_t>(pointer >> 8));
    }

    RomBytes finish() { return RomBytes(std::move(m_bytes)); }

private:
    std::vector<std::uint8_t> m_bytes;
    std::array<std::int64_t, BankCount> m_free{};
};

// Where each zone's tables go, by bank. Zones 1-3 have their headers in bank
// 1, zones 4-6 in bank 2 and zone 7 in bank 3; some tables are deliberately
// put in the bank after the header's, reached through pointers of 0xC000 and
// above, and zone 5's rooms lie in the bank after its room table.
struct ZonePlan {
    int attrsBank, tilesBank, roomTableBank, roomsBank;
};
constexpr std::array<ZonePlan, ZoneCount> Plans{{
    {1, 1, 1, 1},
    {1, 1, 1, 1},
    {1, 2, 1, 1},
    {2, 2, 2, 2},
    {2, 2, 2, 3},
    {3, 3, 3, 3},
    {3, 4, 3, 3},
}};

void WriteHeader(Builder& b)
{
    // iNES: 16 program banks of 16 KB, no character banks, mapper 2.
    const std::array<std::uint8_t, 16> header{'N', 'E', 'S', 0x1A, 16, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    b.putAll(0, header);
}

void WritePalettes(Builder& b)
{
    // Pointer tables first (fixed places in bank 0), then the colour groups
    // right after the last table.
    const ZoneConstants& last = ZoneConstantsTable[ZoneCount - 1];
    b.reserve(ZoneConstantsTable[0].PaletteTable, last.PaletteTable + 6 - ZoneConstantsTable[0].PaletteTable);
    for (int z = 0; z < ZoneCount; ++z) {
        const std::int64_t table = ZoneConstantsTable[z].PaletteTable;
        const int count = z == 0 ? 4 : 3;
        for (int p = 0; p < count; ++p) {
            const demo::ColourGroup colours = p < 3 ? demo::ZonePalette(z, p) : demo::SharedPalette();
            const std::int64_t at = b.place(0, 3);
            b.putAll(at, colours);
            b.putPointer(table + 2 * p, table, at);
        }
    }
}

// The room viewer: its code at the start of bank 0 (CPU $8000 when bank 0 is
// in the window, as at power-up), before the palette tables.
void WriteProgram(Builder& b)
{
    const std::vector<std::uint8_t> code = demo::ViewerCode();
    assert(demo::ViewerCodeOffset + static_cast<std::int64_t>(code.size()) <= ZoneConstantsTable[0].PaletteTable);
    b.reserve(demo::ViewerCodeOffset, static_cast<std::int64_t>(code.size()));
    b.putAll(demo::ViewerCodeOffset, code);
}

// The vectors end the last bank; there they are the bytes of Zone 7's tile
// FF that its art leaves to them.
void WriteVectors(Builder& b)
{
    static_assert(demo::ViewerVectorsOffset + demo::ViewerVectorBytes == DemoCartridgeSize);
    static_assert(ZoneConstantsTable[demo::VectorsZone].TileBank + demo::VectorsTile * 16 + demo::VectorsFirstByte ==
                  demo::ViewerVectorsOffset);
    b.putAll(demo::ViewerVectorsOffset, demo::Viewer().Vectors);
}

void WriteZone(Builder& b, int z)
{
    const ZoneConstants& c = ZoneConstantsTable[z];
    const ZonePlan& plan = Plans[z];
    const demo::ZoneArt art = demo::MakeZoneArt(z);
    const int rooms = c.LastRoom + 1;

    const std::int64_t attrs = b.place(plan.attrsBank, 256);
    b.putAll(attrs, art.MetatileAttrs);
    const std::int64_t tiles = b.place(plan.tilesBank, 256 * 16);
    b.putAll(tiles, art.MetatileTiles);
    const std::int64_t roomTable = b.place(plan.roomTableBank, 2 * rooms);
    for (int r = 0; r < rooms; ++r) {
        const std::int64_t layout = b.place(plan.roomsBank, 48);
        b.putAll(layout, demo::MakeRoom(z, r));
        b.putPointer(roomTable + 2 * r, roomTable, layout);
    }

    b.putPointer(c.HeaderOffset + 2 * HeaderAttrs, c.HeaderOffset, attrs);
    b.putPointer(c.HeaderOffset + 2 * HeaderTiles, c.HeaderOffset, tiles);
    b.putPointer(c.HeaderOffset + 2 * HeaderUnused, c.HeaderOffset, attrs);
    b.putPointer(c.HeaderOffset + 2 * HeaderRooms, c.HeaderOffset, roomTable);

    b.putAll(c.TileBank, art.Tiles);
}

} // namespace

RomBytes MakeDemoCartridge()
{
    Builder b;
    WriteHeader(b);
    for (const ZoneConstants& c : ZoneConstantsTable)
        b.reserve(c.HeaderOffset, 8);
    // The tile blocks fill the end of the image (banks 14 and 15).
    b.reserve(ZoneConstantsTable[0].TileBank, BankStart(15) - ZoneConstantsTable[0].TileBank);
    b.reserve(BankStart(15), BankSize);
    WriteProgram(b);
    WritePalettes(b);
    for (int z = 0; z < ZoneCount; ++z)
        WriteZone(b, z);
    WriteVectors(b);
    return b.finish();
}
