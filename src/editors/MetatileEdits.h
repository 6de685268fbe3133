#pragma once
// The bytes of one quadrant of a metatile as the level view reads them: its
// four tile numbers among the metatile's 16 and its two palette bits in the
// attribute byte. Reading, writing and drawing a quadrant for the tile editor.
#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"
#include "gfx/ZonePalette.h"

#include <array>
#include <cstdint>
#include <optional>

constexpr int QuadrantCount = 4;
constexpr int QuadrantTiles = 4;
constexpr int EditorScale = 8;
// Side of the editor's preview: one quadrant (2 x 2 tiles) at EditorScale.
constexpr int QuadrantPictureSide = 16 * EditorScale;

// Position (0..15, row-major in the metatile) of tile k (0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right) of quadrant q.
int QuadrantTilePosition(int q, int k);

// File offset of tile k of quadrant q of metatile m, or NoOffset when the
// zone, its table, m, q or k is unknown. The byte may still lie outside the
// image; reads and writes go through RomBytes.
std::int64_t QuadrantTileOffset(const LevelContext& level, int m, int q, int k);

// Tile number of tile k of quadrant q of m; -1 when it cannot be read.
int ReadQuadrantTile(const LevelContext& level, int m, int q, int k);

// Palette number (0..3) of quadrant q of m; -1 when the attribute byte
// cannot be read.
int ReadQuadrantPalette(const LevelContext& level, int m, int q);

// The four colour indices the level view draws quadrant q of m with, or
// nothing when the attribute byte or the palette cannot be read.
std::optional<ZonePalette> QuadrantColours(const LevelContext& level, int m, int q);

// The write that stores `tile` as tile k of quadrant q of metatile m, or
// nothing when the byte lies outside the image.
std::optional<ByteWrite> QuadrantTileWrite(const LevelContext& level, int m, int q, int k, std::uint8_t tile);

// The write that stores palette number `palette` in quadrant q's two bits of
// m's attribute byte (the other six bits as they are), or nothing when the
// byte lies outside the image or an argument is out of range.
std::optional<ByteWrite> QuadrantPaletteWrite(const LevelContext& level, int m, int q, int palette);

// Stores `tile` as tile k of quadrant q of metatile m of zone slot `zone`.
// Returns false, writing nothing, when the byte lies outside the image.
bool WriteQuadrantTile(RomBytes& rom, const ZoneTableArray& zones, int zone, int m, int q, int k,
                       std::uint8_t tile);

// Stores palette number `palette` (0..3) in quadrant q's two bits of m's
// attribute byte; the other six bits stay as they are. Returns false,
// writing nothing, when the byte lies outside the image or an argument is
// out of range.
bool WriteQuadrantPalette(RomBytes& rom, const ZoneTableArray& zones, int zone, int m, int q,
                          int palette);

// Draws quadrant q of metatile m at `scale` into the top-left 16 x scale
// pixels of `picture` through the shared tile decoder, exactly as the level
// view draws that quadrant; unreadable tiles or palette show "no data".
void DrawTileBlock(const LevelContext& level, Canvas& picture, int m, int q, std::uint8_t scale);

// The editor's overlay on a 128 x 128 preview, in white: a three-pixel cross
// between the four tiles and one grid line per tile pixel.
void DrawTileBlockGrid(Canvas& picture);
