#pragma once
// The palette editor's 13 slots as the level view reads them: slot 0 is the
// fixed background colour 0x0F, slot 3p + c is colour c of palette p at
// ReadRomPointer(PaletteTable, p) + c - 1 (palette 3 from the first zone's
// table). Also the swatch and grid geometry and their drawing.
#include "gfx/Canvas.h"
#include "gfx/Grid.h"
#include "gfx/LevelContext.h"

#include <QString>
#include <cstdint>

constexpr int PaletteSlotCount = 13;
constexpr int SwatchCount = 16;
constexpr int SwatchSide = 32;
constexpr int GridCell = 32;
constexpr int GridColumns = 16;
constexpr int GridRows = 4;

// Slot shown by swatch i (0..15): 0 for i mod 4 = 0, else 3 (i div 4) + i mod 4;
// -1 for an i outside 0..15.
int SwatchSlot(int swatch);

// File offset of slot s's byte; NoOffset for slot 0 (it has no byte), an
// unknown slot, or a pointer that cannot be read.
std::int64_t PaletteSlotOffset(const LevelContext& level, int slot);

// The colour byte of slot s: 0x0F for slot 0; -1 when it cannot be read.
int ReadPaletteSlot(const LevelContext& level, int slot);

enum class SlotWrite { Written, FixedColour, OutsideImage };

// Where storing `colour` in slot s would write: Written with the write in
// `out`, or why nothing would be written.
SlotWrite PaletteSlotWrite(const LevelContext& level, int slot, std::uint8_t colour, ByteWrite& out);

// Stores `colour` in slot s of zone slot `zone`. Slot 0 stores nothing
// (FixedColour); a byte outside the image stores nothing (OutsideImage).
SlotWrite WritePaletteSlot(RomBytes& rom, const ZoneTableArray& zones, int zone, int slot,
                           std::uint8_t colour);

// The screen colour (packed 0x00RRGGBB) a colour byte is shown in: bytes of
// 64 and more are shown as byte AND 0x3F, as the console reads them.
std::uint32_t ShownColour(int colourByte);

// Tooltip of a colour byte: upper-case hexadecimal without leading zeros of
// the true byte ("F", "30", "4F"); "No data" for -1.
QString ColourTooltip(int colourByte);

// Colour index of the grid cell under (x, y): each coordinate rounded half to
// even, divided by 32 and kept inside the 16 x 4 grid.
std::uint8_t GridColourAt(double x, double y);

// Fills `picture` with colour byte `colourByte` (the "no data" checker for -1).
void PaintSwatch(Canvas& picture, int colourByte);

// The 64 colour cells, 32 x 32 pixels each, colour 16 row + column.
void FillPaletteGrid(Canvas& grid);

// The cells, black lines between them and the selection frame on the cell
// whose top-left corner is (x, y).
void DrawPaletteGrid(Canvas& grid, int x, int y);

// Top-left corner of the grid cell that shows colour byte b (b AND 0x3F).
int GridCellX(int colourByte);
int GridCellY(int colourByte);
