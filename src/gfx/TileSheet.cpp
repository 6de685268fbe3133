#include "gfx/TileSheet.h"

#include "gfx/TilePixels.h"
#include "gfx/clsNesTiles.h"

SheetLayout TileSheetLayout(int scale)
{
    return SheetLayout{TileSheetColumns, TilesPerBank / TileSheetColumns, TileSide * scale, TileSide * scale};
}

ZonePalette TileSheetPalette(const LevelContext& level, int p)
{
    if (const std::optional<ZonePalette> palette = LookupZonePalette(level, p))
        return *palette;
    return ZonePalette{PaletteBackColour, 0x00, 0x10, 0x30};
}

void DrawTileSheet(const LevelContext& level, Canvas& sheet, int p, int scale, int framed)
{
    const SheetLayout layout = TileSheetLayout(scale);
    const ZonePalette c = TileSheetPalette(level, p);
    clsNesTiles& renderer = TileRenderer();
    renderer.Init(sheet, TileBitmapInfo, TileBits);
    for (int t = 0; t < TilesPerBank; ++t) {
        const std::int64_t at = ZoneTileOffset(level, t);
        const std::uint8_t s = static_cast<std::uint8_t>(scale);
        if (at == NoOffset)
            renderer.DrawNoDataTile(TileBits, layout.cellX(t), layout.cellY(t), s);
        else
            renderer.DrawTile(TileBits, level.rom, at, c[0], c[1], c[2], c[3], layout.cellX(t), layout.cellY(t), s);
    }
    renderer.RenderPic(TileBitmapInfo, TileBits);
    if (framed >= 0 && framed < TilesPerBank) {
        DrawSelectionFrame(sheet, layout.cellX(framed), layout.cellY(framed), layout.CellWidth, layout.CellHeight);
        sheet.refresh();
    }
}
