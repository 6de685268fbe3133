#include "gfx/Metatile.h"

#include "gfx/ZonePalette.h"
#include "gfx/clsNesTiles.h"

#include <optional>

namespace {
constexpr std::int64_t NoByte = -1;

int TileX(int k, int scale) { return (k % MetatileSide) * 8 * scale; }
int TileY(int k, int scale) { return (k / MetatileSide) * 8 * scale; }
}

std::int64_t MetatileAttrOffset(const LevelContext& level, int m)
{
    const ZoneInfo* zone = level.zoneInfo();
    if (!zone || zone->MetatileAttrs == NoOffset)
        return NoOffset;
    return std::int64_t(zone->MetatileAttrs) + m;
}

std::int64_t MetatileTilesOffset(const LevelContext& level, int m)
{
    const ZoneInfo* zone = level.zoneInfo();
    if (!zone || zone->MetatileTiles == NoOffset)
        return NoOffset;
    return std::int64_t(zone->MetatileTiles) + std::int64_t(m) * MetatileTileCount;
}

std::vector<ByteRange> ZoneGraphicsRanges(const LevelContext& level)
{
    std::vector<ByteRange> ranges;
    const ZoneInfo* zone = level.zoneInfo();
    if (!zone)
        return ranges;
    if (zone->MetatileTiles != NoOffset)
        ranges.push_back({zone->MetatileTiles, MetatileTileCount * 256});
    if (zone->MetatileAttrs != NoOffset)
        ranges.push_back({zone->MetatileAttrs, 256});
    ranges.push_back({zone->TileBank, 256 * TileBytes});
    ranges.push_back({zone->PaletteTable, 2 * SharedPaletteNumber});
    ranges.push_back({level.zones[0].PaletteTable + 2 * SharedPaletteNumber, 2});
    for (int p = 0; p <= SharedPaletteNumber; ++p) {
        const std::int32_t colours = ZonePaletteOffset(level, p);
        if (colours != NoOffset)
            ranges.push_back({colours, 3});
    }
    return ranges;
}

void DrawMetatile(const LevelContext& level, Canvas& picture, std::uint8_t metatile,
                  std::uint8_t scale)
{
    // Everything is read afresh; a byte that cannot be read stays -1.
    const std::int64_t attrAt = MetatileAttrOffset(level, metatile);
    const int attribute = attrAt == NoOffset ? -1 : level.rom.read(attrAt);
    const std::int64_t tilesAt = MetatileTilesOffset(level, metatile);
    std::array<int, MetatileTileCount> tiles;
    for (int k = 0; k < MetatileTileCount; ++k)
        tiles[static_cast<std::size_t>(k)] = tilesAt == NoOffset ? -1 : level.rom.read(tilesAt + k);

    clsNesTiles& renderer = TileRenderer();
    renderer.Init(picture, TileBitmapInfo, TileBits);

    const ZoneInfo* zone = level.zoneInfo();
    const std::int64_t bank = zone ? zone->TileBank : NoByte;

    for (int q = 0; q < 4; ++q) {
        std::optional<ZonePalette> palette;
        if (attribute >= 0)
            palette = LookupZonePalette(level, QuadrantPalette(static_cast<std::uint8_t>(attribute), q));
        for (int n = 0; n < 4; ++n) {
            const int k = MetatileDrawOrder[static_cast<std::size_t>(q * 4 + n)];
            const int x = TileX(k, scale), y = TileY(k, scale);
            const int tile = tiles[static_cast<std::size_t>(k)];
            if (!palette || tile < 0 || bank == NoByte) {
                renderer.DrawNoDataTile(TileBits, x, y, scale);
                continue;
            }
            const ZonePalette& c = *palette;
            renderer.DrawTile(TileBits, level.rom, bank + std::int64_t(tile) * TileBytes, c[0], c[1],
                              c[2], c[3], x, y, scale);
        }
    }
    renderer.RenderPic(TileBitmapInfo, TileBits);
}

void DrawNoDataMetatile(Canvas& picture, std::uint8_t scale)
{
    clsNesTiles& renderer = TileRenderer();
    renderer.Init(picture, TileBitmapInfo, TileBits);
    for (int k = 0; k < MetatileTileCount; ++k)
        renderer.DrawNoDataTile(TileBits, TileX(k, scale), TileY(k, scale), scale);
    renderer.RenderPic(TileBitmapInfo, TileBits);
}

void DrawPreview(const LevelContext& level, Canvas& preview, int selected)
{
    if (selected >= 0 && selected <= 255) {
        DrawMetatile(level, preview, static_cast<std::uint8_t>(selected), ViewScale);
    } else {
        preview.clear();
        preview.refresh();
    }
}
