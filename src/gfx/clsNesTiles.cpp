#include "gfx/clsNesTiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

std::vector<std::uint32_t> TileBits;
BitmapInfoHeader TileBitmapInfo;

namespace {
// A checker of 2 x 2 tile pixels, magenta and black: unmistakable in any of
// the zones' colours.
std::uint32_t NoDataColourAt(int r, int c)
{
    return ((r / 2 + c / 2) & 1) ? NoDataColourB : NoDataColourA;
}
}

clsNesTiles& TileRenderer()
{
    static clsNesTiles renderer;
    return renderer;
}

clsNesTiles::clsNesTiles()
{
    BuildColourTable();
}

void clsNesTiles::BuildColourTable()
{
    for (int n = 0; n < NesColourCount; ++n) {
        const std::uint32_t packed = PackRgb(NesColourRgb[static_cast<std::size_t>(n)]);
        m_colourTable[static_cast<std::size_t>(n)] = packed;
        NesColourTable[static_cast<std::size_t>(n)] = packed;
    }
}

bool clsNesTiles::Init(Canvas& Tilebox, BitmapInfoHeader& pBih, std::vector<std::uint32_t>& bits)
{
    m_tilebox = &Tilebox;
    // The picture measures in whole pixels, so its size needs no rounding.
    const std::int64_t W = Tilebox.width();
    const std::int64_t H = Tilebox.height();
    const std::int64_t size = 3 * (W - 1) * (H - 1);

    BitmapInfoHeader header;
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = static_cast<std::int32_t>(W);
    header.biHeight = static_cast<std::int32_t>(-H);
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = 0;
    header.biSizeImage = static_cast<std::uint32_t>(size);
    pBih = header;

    if (size <= 0 || size > std::numeric_limits<std::int32_t>::max()) {
        m_isReady = false;
        return true;
    }
    bits.assign(static_cast<std::size_t>(size), 0u);
    m_isReady = true;
    return false;
}

template <typename ColourAt>
bool clsNesTiles::PlotPixels(std::vector<std::uint32_t>& BitMapBuffer, ColourAt colourAt,
                             std::int32_t x, std::int32_t y, std::int32_t W,
                             std::uint8_t Mulitply) const
{
    const std::int64_t last = static_cast<std::int64_t>(BitMapBuffer.size()) - 1;
    const std::int64_t m = Mulitply;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const std::uint32_t colour = colourAt(r, c);
            for (std::int64_t j = 0; j < m; ++j) {
                for (std::int64_t k = 0; k < m; ++k) {
                    const std::int64_t i = (y + r * m + j) * W + (x + c * m + k);
                    if (i > last)
                        return false;
                    // An element before the buffer's start has no place in
                    // the picture either; stop the same way.
                    if (i < 0)
                        return false;
                    BitMapBuffer[static_cast<std::size_t>(i)] = colour;
                }
            }
        }
    }
    return true;
}

bool clsNesTiles::PlotTile(std::vector<std::uint32_t>& BitMapBuffer, const RomBytes& Tiledata,
                           std::int64_t Loc, std::int32_t BackColour, std::uint8_t Colour1,
                           std::uint8_t Colour2, std::uint8_t Colour3, std::int32_t x,
                           std::int32_t y, std::int32_t W, std::uint8_t Mulitply)
{
    if (!m_isReady)
        return false;
    if (!Tiledata.contains(Loc, 16))
        return PlotPixels(BitMapBuffer, NoDataColourAt, x, y, W, Mulitply);
    // The console ignores the top two bits of a colour index.
    const std::uint32_t colours[4] = {
        m_colourTable[static_cast<std::size_t>(BackColour & 0x3F)],
        m_colourTable[Colour1 & 0x3Fu],
        m_colourTable[Colour2 & 0x3Fu],
        m_colourTable[Colour3 & 0x3Fu],
    };
    auto colourAt = [&](int r, int c) {
        const int bit = 7 - c;
        const int hi = (Tiledata.read(Loc + r + 8) >> bit) & 1 ? 2 : 0;
        const int lo = (Tiledata.read(Loc + r) >> bit) & 1 ? 1 : 0;
        return colours[hi + lo];
    };
    return PlotPixels(BitMapBuffer, colourAt, x, y, W, Mulitply);
}

bool clsNesTiles::DrawTile(std::vector<std::uint32_t>& BitMapBuffer, const RomBytes& Tiledata,
                           std::int64_t Loc, std::int32_t BackColour, std::uint8_t Colour1,
                           std::uint8_t Colour2, std::uint8_t Colour3, std::int32_t x,
                           std::int32_t y, std::uint8_t Mulitply)
{
    if (!m_isReady)
        return false;
    const std::int32_t W = m_tilebox->width();
    PlotTile(BitMapBuffer, Tiledata, Loc, BackColour, Colour1, Colour2, Colour3, x, y, W, Mulitply);
    return false;
}

bool clsNesTiles::DrawNoDataTile(std::vector<std::uint32_t>& BitMapBuffer, std::int32_t x,
                                 std::int32_t y, std::uint8_t Mulitply)
{
    if (!m_isReady)
        return false;
    return PlotPixels(BitMapBuffer, NoDataColourAt, x, y, m_tilebox->width(), Mulitply);
}

std::int32_t clsNesTiles::RenderPic(const BitmapInfoHeader& pbmi,
                                    const std::vector<std::uint32_t>& bits)
{
    if (!m_isReady)
        return 0;
    // The header must describe the bound picture; anything else has no
    // meaningful copy.
    if (pbmi.biWidth != m_tilebox->width() || pbmi.biBitCount != 32)
        return 0;
    const std::int32_t lines = std::min(m_tilebox->height(), std::abs(pbmi.biHeight));
    const std::int32_t copied = m_tilebox->setPixels(bits.data(), static_cast<std::int64_t>(bits.size()), lines);
    m_tilebox->refresh();
    return copied;
}
