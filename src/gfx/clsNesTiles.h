#pragma once
// Decodes NES background tiles (8 x 8 pixels, two bit planes in 16 bytes)
// into a 32-bit pixel buffer at any integer scale and position, and shows the
// whole buffer in a picture with one copy. Callers: Init with the target
// picture, any number of DrawTile calls, one RenderPic.
#include "gfx/Canvas.h"
#include "gfx/NesColours.h"
#include "rom/RomBytes.h"

#include <array>
#include <cstdint>
#include <vector>

// The bitmap header that describes the pixel buffer (the fields of the
// platform's 40-byte device-independent bitmap header, in their order).
struct BitmapInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;

    friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// The two colours of the pattern drawn where tile data is missing.
constexpr std::uint32_t NoDataColourA = 0xFF00FF;   // magenta
constexpr std::uint32_t NoDataColourB = 0x000000;   // black

class clsNesTiles {
public:
    clsNesTiles();

    // Decodes the 16 bytes at Loc of Tiledata into BitMapBuffer with its
    // top-left corner at (x, y), each tile pixel a Mulitply x Mulitply block.
    // A tile whose bytes are not all inside Tiledata is drawn as the "no
    // data" pattern. Colour indices of 64 and more are taken modulo 64.
    // Always returns false.
    bool DrawTile(std::vector<std::uint32_t>& BitMapBuffer, const RomBytes& Tiledata,
                  std::int64_t Loc, std::int32_t BackColour, std::uint8_t Colour1,
                  std::uint8_t Colour2, std::uint8_t Colour3, std::int32_t x, std::int32_t y,
                  std::uint8_t Mulitply);

    // Draws the "no data" pattern in the place of one tile.
    bool DrawNoDataTile(std::vector<std::uint32_t>& BitMapBuffer, std::int32_t x,
                        std::int32_t y, std::uint8_t Mulitply);

    // Copies the buffer into the picture bound by Init and refreshes it;
    // returns the number of lines copied (0 when not ready).
    std::int32_t RenderPic(const BitmapInfoHeader& pbmi, const std::vector<std::uint32_t>& bits);

    // Binds the picture, writes the header and resizes the buffer to
    // 3 x (W - 1) x (H - 1) zeroed elements. Returns false on success and
    // true on failure (a buffer of 0 elements or fewer, or too large).
    bool Init(Canvas& Tilebox, BitmapInfoHeader& pBih, std::vector<std::uint32_t>& bits);

    bool IsReady() const { return m_isReady; }
    const std::array<std::uint32_t, NesColourCount>& ColourTable() const { return m_colourTable; }

private:
    friend class TestNesTiles;

    void BuildColourTable();
    bool PlotTile(std::vector<std::uint32_t>& BitMapBuffer, const RomBytes& Tiledata,
                  std::int64_t Loc, std::int32_t BackColour, std::uint8_t Colour1,
                  std::uint8_t Colour2, std::uint8_t Colour3, std::int32_t x, std::int32_t y,
                  std::int32_t W, std::uint8_t Mulitply);
    // Writes each tile pixel's block in order; colourAt(r, c) gives the packed
    // colour. Stops with false at the first element past the buffer's end.
    template <typename ColourAt>
    bool PlotPixels(std::vector<std::uint32_t>& BitMapBuffer, ColourAt colourAt, std::int32_t x,
                    std::int32_t y, std::int32_t W, std::uint8_t Mulitply) const;

    Canvas* m_tilebox = nullptr;
    std::array<std::uint32_t, NesColourCount> m_colourTable{};
    bool m_isReady = false;
};

// The shared decoder, created at its first use and kept for the whole run.
clsNesTiles& TileRenderer();
// Its pixel buffer and the header that describes it.
extern std::vector<std::uint32_t> TileBits;
extern BitmapInfoHeader TileBitmapInfo;
