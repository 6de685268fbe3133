#include "editors/MetatileEdits.h"

#include "gfx/Grid.h"
#include "gfx/Metatile.h"
#include "gfx/clsNesTiles.h"

namespace {
bool ValidQuadrant(int m, int q) { return m >= 0 && m <= 255 && q >= 0 && q < QuadrantCount; }
}

int QuadrantTilePosition(int q, int k)
{
    if (q < 0 || q >= QuadrantCount || k < 0 || k >= QuadrantTiles)
        return -1;
    return MetatileDrawOrder[static_cast<std::size_t>(q * QuadrantTiles + k)];
}

std::int64_t QuadrantTileOffset(const LevelContext& level, int m, int q, int k)
{
    const int position = QuadrantTilePosition(q, k);
    if (position < 0 || m < 0 || m > 255)
        return NoOffset;
    const std::int64_t first = MetatileTilesOffset(level, m);
    return first == NoOffset ? NoOffset : first + position;
}

int ReadQuadrantTile(const LevelContext& level, int m, int q, int k)
{
    const std::int64_t at = QuadrantTileOffset(level, m, q, k);
    return at == NoOffset ? -1 : level.rom.read(at);
}

int ReadQuadrantPalette(const LevelContext& level, int m, int q)
{
    if (!ValidQuadrant(m, q))
        return -1;
    const std::int64_t at = MetatileAttrOffset(level, m);
    const int attribute = at == NoOffset ? -1 : level.rom.read(at);
    return attribute < 0 ? -1 : QuadrantPalette(static_cast<std::uint8_t>(attribute), q);
}

std::optional<ZonePalette> QuadrantColours(const LevelContext& level, int m, int q)
{
    const int palette = ReadQuadrantPalette(level, m, q);
    if (palette < 0)
        return std::nullopt;
    return LookupZonePalette(level, palette);
}

std::optional<ByteWrite> QuadrantTileWrite(const LevelContext& level, int m, int q, int k, std::uint8_t tile)
{
    const std::int64_t at = QuadrantTileOffset(level, m, q, k);
    if (at == NoOffset || !level.rom.contains(at))
        return std::nullopt;
    return ByteWrite{at, tile};
}

std::optional<ByteWrite> QuadrantPaletteWrite(const LevelContext& level, int m, int q, int palette)
{
    if (!ValidQuadrant(m, q) || palette < 0 || palette > 3)
        return std::nullopt;
    const std::int64_t at = MetatileAttrOffset(level, m);
    const int attribute = at == NoOffset ? -1 : level.rom.read(at);
    if (attribute < 0)
        return std::nullopt;
    const int shift = 2 * q;
    const int updated = (attribute & ~(3 << shift)) | (palette << shift);
    return ByteWrite{at, static_cast<std::uint8_t>(updated)};
}

namespace {
bool WriteOne(RomBytes& rom, const std::optional<ByteWrite>& write)
{
    return write && rom.write(write->Offset, write->Value);
}
}

bool WriteQuadrantTile(RomBytes& rom, const ZoneTableArray& zones, int zone, int m, int q, int k,
                       std::uint8_t tile)
{
    return WriteOne(rom, QuadrantTileWrite(LevelContext{rom, zones, zone}, m, q, k, tile));
}

bool WriteQuadrantPalette(RomBytes& rom, const ZoneTableArray& zones, int zone, int m, int q,
                          int palette)
{
    return WriteOne(rom, QuadrantPaletteWrite(LevelContext{rom, zones, zone}, m, q, palette));
}

void DrawTileBlock(const LevelContext& level, Canvas& picture, int m, int q, std::uint8_t scale)
{
    clsNesTiles& renderer = TileRenderer();
    renderer.Init(picture, TileBitmapInfo, TileBits);
    const ZoneInfo* zone = level.zoneInfo();
    const std::optional<ZonePalette> colours = QuadrantColours(level, m, q);
    for (int k = 0; k < QuadrantTiles; ++k) {
        const int x = (k % 2) * 8 * scale, y = (k / 2) * 8 * scale;
        const int tile = ReadQuadrantTile(level, m, q, k);
        if (!colours || tile < 0 || !zone) {
            renderer.DrawNoDataTile(TileBits, x, y, scale);
            continue;
        }
        const ZonePalette& c = *colours;
        renderer.DrawTile(TileBits, level.rom, std::int64_t(zone->TileBank) + std::int64_t(tile) * TileBytes,
                          c[0], c[1], c[2], c[3], x, y, scale);
    }
    renderer.RenderPic(TileBitmapInfo, TileBits);
}

void DrawTileBlockGrid(Canvas& picture)
{
    const int w = picture.width(), h = picture.height();
    for (int d = 63; d <= 65; ++d) {
        picture.line(0, d, w, d, GridColour);
        picture.line(d, 0, d, h, GridColour);
    }
    for (int j = 0; j < 16; ++j) {
        picture.line(0, 8 * j, w, 8 * j, GridColour);
        picture.line(8 * j, 0, 8 * j, h, GridColour);
    }
}
