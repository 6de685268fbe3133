#pragma once
// Where each of the game's seven zones keeps its data in the image, and the
// reading of the 16-bit CPU pointers that lead there.
#include "rom/RomBytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ZoneInfo {
    std::int32_t RoomTable = 0;
    std::int32_t MetatileTiles = 0;
    std::int32_t MetatileAttrs = 0;
    std::int32_t PaletteTable = 0;
    std::int32_t TileBank = 0;   // 0: the slot holds no zone
    std::int16_t LastRoom = 0;

    friend bool operator==(const ZoneInfo&, const ZoneInfo&) = default;
};

constexpr int ZoneSlotCount = 60;
constexpr int ZoneCount = 7;
using ZoneTableArray = std::array<ZoneInfo, ZoneSlotCount>;

// The fixed facts the editor knows of each zone.
struct ZoneConstants {
    std::int32_t HeaderOffset;
    std::int32_t PaletteTable;
    std::int32_t TileBank;
    std::int16_t LastRoom;
};

constexpr std::array<ZoneConstants, ZoneCount> ZoneConstantsTable{{
    {0x4010, 0x1EDA, 0x39010, 32},
    {0x4018, 0x1EE2, 0x3A010, 32},
    {0x4020, 0x1EE8, 0x3B010, 31},
    {0x8010, 0x1EEE, 0x3C010, 30},
    {0x8018, 0x1EF4, 0x3D010, 32},
    {0x8020, 0x1EFA, 0x3E010, 33},
    {0xC013, 0x1F00, 0x3F010, 27},
}};

// Zone header entries (16-bit pointers at the header offset).
enum ZoneHeaderEntry : int { HeaderAttrs = 0, HeaderTiles = 1, HeaderUnused = 2, HeaderRooms = 3 };

// Offset returned for a pointer whose two bytes lie outside the image.
constexpr std::int32_t NoOffset = -1;

// Entry `index` of the pointer table at `tableOffset`, as a file offset.
// The pointer is a CPU address in the 32 KB window that starts at the bank
// holding the table. Returns NoOffset when the pointer cannot be read.
std::int32_t ReadRomPointer(const RomBytes& rom, std::int32_t tableOffset, std::int32_t index);

// Something of a zone that lies outside the image (see ZoneCheck.h).
struct ZoneProblem {
    int Zone;            // 1..7
    std::string What;    // "header", "room pointer 3", "tile block" ...
    std::int64_t Offset;
    friend bool operator==(const ZoneProblem&, const ZoneProblem&) = default;
};

// The bytes the zone table is built from and the room pointer tables it
// leads to: a change there moves where the zones' data lies.
std::vector<ByteRange> ZoneStructureRanges(const ZoneTableArray& table);

// Fills slots 0..6 from the image's zone headers and clears the others.
// Header entries that cannot be read become NoOffset.
void BuildZoneTable(const RomBytes& rom, ZoneTableArray& table);
