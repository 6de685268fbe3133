#include "editors/PaletteSlots.h"

#include "gfx/ZonePalette.h"
#include "gfx/clsNesTiles.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr QRgb Black = 0x000000;

void FillRect(Canvas& picture, int x, int y, int w, int h, QRgb colour)
{
    for (int row = y; row < y + h; ++row)
        picture.line(x, row, x + w, row, colour);
}

int RoundedCell(double v, int count)
{
    if (!std::isfinite(v))
        return 0;
    const double r = std::nearbyint(std::clamp(v, -1.0, double(count * GridCell)));
    return std::clamp(int(r) / GridCell, 0, count - 1);
}
}

int SwatchSlot(int swatch)
{
    if (swatch < 0 || swatch >= SwatchCount)
        return -1;
    return swatch % 4 == 0 ? 0 : 3 * (swatch / 4) + swatch % 4;
}

std::int64_t PaletteSlotOffset(const LevelContext& level, int slot)
{
    if (slot <= 0 || slot >= PaletteSlotCount)
        return NoOffset;
    const int p = (slot - 1) / 3, c = (slot - 1) % 3 + 1;
    const std::int32_t first = ZonePaletteOffset(level, p);
    return first == NoOffset ? NoOffset : std::int64_t(first) + c - 1;
}

int ReadPaletteSlot(const LevelContext& level, int slot)
{
    if (slot == 0)
        return PaletteBackColour;
    const std::int64_t at = PaletteSlotOffset(level, slot);
    return at == NoOffset ? -1 : level.rom.read(at);
}

SlotWrite PaletteSlotWrite(const LevelContext& level, int slot, std::uint8_t colour, ByteWrite& out)
{
    if (slot == 0)
        return SlotWrite::FixedColour;
    const std::int64_t at = PaletteSlotOffset(level, slot);
    if (at == NoOffset || !level.rom.contains(at))
        return SlotWrite::OutsideImage;
    out = ByteWrite{at, colour};
    return SlotWrite::Written;
}

SlotWrite WritePaletteSlot(RomBytes& rom, const ZoneTableArray& zones, int zone, int slot,
                           std::uint8_t colour)
{
    ByteWrite write{};
    const SlotWrite result = PaletteSlotWrite(LevelContext{rom, zones, zone}, slot, colour, write);
    if (result == SlotWrite::Written)
        rom.write(write.Offset, write.Value);
    return result;
}

std::uint32_t ShownColour(int colourByte)
{
    TileRenderer();   // fills NesColourTable
    return NesColourTable[static_cast<std::size_t>(colourByte & 0x3F)];
}

QString ColourTooltip(int colourByte)
{
    if (colourByte < 0)
        return QStringLiteral("No data");
    return QString::number(colourByte, 16).toUpper();
}

std::uint8_t GridColourAt(double x, double y)
{
    return static_cast<std::uint8_t>(GridColumns * RoundedCell(y, GridRows) + RoundedCell(x, GridColumns));
}

void PaintSwatch(Canvas& picture, int colourByte)
{
    if (colourByte >= 0) {
        FillRect(picture, 0, 0, picture.width(), picture.height(), ShownColour(colourByte));
        return;
    }
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.line(x, y, x + 1, y, ((x / 4 + y / 4) & 1) ? NoDataColourB : NoDataColourA);
}

void FillPaletteGrid(Canvas& grid)
{
    for (int column = 0; column < GridColumns; ++column)
        for (int row = 0; row < GridRows; ++row)
            FillRect(grid, GridCell * column, GridCell * row, GridCell, GridCell,
                     ShownColour(GridColumns * row + column));
}

void DrawPaletteGrid(Canvas& grid, int x, int y)
{
    FillPaletteGrid(grid);
    for (int d = 0; d < 16; ++d) {
        grid.line(0, GridCell * d, grid.width(), GridCell * d, Black);
        grid.line(GridCell * d, 0, GridCell * d, grid.height(), Black);
    }
    DrawSelectionFrame(grid, x, y, GridCell, GridCell);
}

int GridCellX(int colourByte) { return ((colourByte & 0x3F) % GridColumns) * GridCell; }
int GridCellY(int colourByte) { return ((colourByte & 0x3F) / GridColumns) * GridCell; }
