#pragma once
// The demo cartridge's graphics: per zone, 256 background tiles, 256
// metatiles (16 tile numbers and one attribute byte each) and the colours of
// its palettes, all drawn by code. Part of the demo cartridge generator.
#include <array>
#include <cstdint>

namespace demo {

// The base kinds of metatile every zone has. Metatile number k (k < KindCount)
// is kind k as the rooms use it; the numbers above repeat the kinds with other
// palettes and mirrored.
enum Kind : int {
    Sky, Cloud, GrassTop, Earth, EarthStones, Brick, StoneBlock, StoneTop,
    LadderSky, LadderWall, WaterTop, WaterDeep, Platform, Bridge, PipeTop, PipeBody,
    ColumnTop, ColumnBody, ColumnBase, DoorTop, DoorBottom, Window, Spikes, Bush,
    TreeTrunk, TreeLeaves, Crate, WallDark, GrassEdgeLeft, GrassEdgeRight, Torch, ItemBlock,
    KindCount
};

// Three NES colour indices (pixel values 1, 2, 3) of one palette.
using ColourGroup = std::array<std::uint8_t, 3>;

struct ZoneArt {
    std::array<std::uint8_t, 256 * 16> Tiles{};          // 256 tiles, 2-bitplane format
    std::array<std::uint8_t, 256 * 16> MetatileTiles{};  // 16 tile numbers per metatile
    std::array<std::uint8_t, 256> MetatileAttrs{};       // 2-bit palette per quadrant
};

// Palettes 0..2 of a zone (0..6). Palette 3 is shared by every zone and is
// only stored with zone 0: SharedPalette().
ColourGroup ZonePalette(int zone, int palette);
ColourGroup SharedPalette();

// The last six bytes of the image are the program's vectors: bytes 10-15
// (plane 1, rows 2-7) of Zone 7's (slot 6) tile FF. The art leaves them 0
// for the cartridge to fill; tile FF is shown by none of that zone's rooms.
constexpr int VectorsZone = 6;
constexpr int VectorsTile = 0xFF;
constexpr int VectorsFirstByte = 10;

// Draws zone's (0..6) tiles and metatiles.
ZoneArt MakeZoneArt(int zone);

} // namespace demo
