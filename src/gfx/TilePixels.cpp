#include "gfx/TilePixels.h"

#include "gfx/Metatile.h"

namespace {
bool ValidPixel(int row, int column)
{
    return row >= 0 && row < TileSide && column >= 0 && column < TileSide;
}
}

std::int64_t ZoneTileOffset(const LevelContext& level, int t)
{
    const ZoneInfo* zone = level.zoneInfo();
    // TileBank 0: the slot holds no zone.
    if (!zone || zone->TileBank == 0 || t < 0 || t >= TilesPerBank)
        return NoOffset;
    return std::int64_t(zone->TileBank) + std::int64_t(t) * TileBytes;
}

int ReadTilePixel(const RomBytes& rom, std::int64_t tileAt, int row, int column)
{
    if (!ValidPixel(row, column) || tileAt < 0)
        return -1;
    const int plane0 = rom.read(tileAt + row), plane1 = rom.read(tileAt + TileSide + row);
    if (plane0 < 0 || plane1 < 0)
        return -1;
    const int bit = 7 - column;
    return ((plane0 >> bit) & 1) | (((plane1 >> bit) & 1) << 1);
}

std::optional<std::array<ByteWrite, 2>> TilePixelWrites(const RomBytes& rom, std::int64_t tileAt, int row,
                                                        int column, int value)
{
    if (!ValidPixel(row, column) || value < 0 || value > 3 || tileAt < 0)
        return std::nullopt;
    const std::int64_t at0 = tileAt + row, at1 = tileAt + TileSide + row;
    const int plane0 = rom.read(at0), plane1 = rom.read(at1);
    if (plane0 < 0 || plane1 < 0)
        return std::nullopt;
    const int mask = 1 << (7 - column);
    const auto withBit = [mask](int byte, bool set) {
        return static_cast<std::uint8_t>(set ? (byte | mask) : (byte & ~mask));
    };
    return std::array<ByteWrite, 2>{ByteWrite{at0, withBit(plane0, value & 1)},
                                    ByteWrite{at1, withBit(plane1, value & 2)}};
}
