#include "gfx/clsNesTiles.h"

#include "gfx/CpuFeatures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifdef VORNED_HAVE_AVX2_PATH
#include <immintrin.h>
#endif

std::vector<std::uint32_t> TileBits;
BitmapInfoHeader TileBitmapInfo;

namespace {
// A checker of 2 x 2 tile pixels, magenta and black: unmistakable in any of
// the zones' colours.
std::uint32_t NoDataColourAt(int r, int c)
{
    return ((r / 2 + c / 2) & 1) ? NoDataColourB : NoDataColourA;
}

void NoDataRow(int r, std::uint32_t (&colours)[8])
{
    for (int c = 0; c < 8; ++c)
        colours[c] = NoDataColourAt(r, c);
}

// A plane byte's eight bits spread to every other bit of a 16-bit value, the
// leftmost pixel (bit 7) lowest: Spread[plane 0] | Spread[plane 1] << 1 holds
// the value (0..3) of row pixel c in bits 2c and 2c + 1, so one row of a
// tile is decoded with two look-ups.
constexpr std::array<std::uint16_t, 256> MakeSpreadTable()
{
    std::array<std::uint16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        std::uint16_t spread = 0;
        for (int c = 0; c < 8; ++c)
            if (b & (0x80 >> c))
                spread = static_cast<std::uint16_t>(spread | (1u << (2 * c)));
        table[static_cast<std::size_t>(b)] = spread;
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> Spread = MakeSpreadTable();

#ifdef VORNED_HAVE_AVX2_PATH
// A tile that TileInside accepts, at scale 1 or 2, with AVX2: each tile
// row's eight pixel values come from the two plane bytes by variable shifts,
// and one permutation turns them into colours (and doubles them for scale 2).
__attribute__((target("avx2"))) void PlotInsideAvx2(std::uint32_t* origin, const std::uint8_t (&planes)[16],
                                                   const std::uint32_t (&colours)[4], std::int64_t m,
                                                   std::int64_t W)
{
    const __m256i palette = _mm256_setr_epi32(int(colours[0]), int(colours[1]), int(colours[2]),
                                              int(colours[3]), 0, 0, 0, 0);
    const __m256i shifts = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i left = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const __m256i right = _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7);
    for (int r = 0; r < 8; ++r) {
        const __m256i lo = _mm256_and_si256(_mm256_srlv_epi32(_mm256_set1_epi32(planes[r]), shifts), one);
        const __m256i hi = _mm256_and_si256(_mm256_srlv_epi32(_mm256_set1_epi32(planes[r + 8]), shifts), one);
        const __m256i values = _mm256_add_epi32(lo, _mm256_add_epi32(hi, hi));
        const __m256i row = _mm256_permutevar8x32_epi32(palette, values);
        std::uint32_t* const line = origin + r * m * W;
        if (m == 1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(line), row);
        } else {
            const __m256i a = _mm256_permutevar8x32_epi32(row, left);
            const __m256i b = _mm256_permutevar8x32_epi32(row, right);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(line), a);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + 8), b);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + W), a);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + W + 8), b);
        }
    }
}
#endif

// True when a tile at (x, y) at scale m (1 or more) lies wholly inside the
// buffer and its lines do not overlap (a line is no longer than the row
// stride W): then every element is written exactly once, so writing line by
// line gives the same pixels as pixel by pixel. Lines that reach past the
// right edge still continue on the next row, as the index arithmetic is the
// same.
bool TileInside(const std::vector<std::uint32_t>& bits, std::int32_t x, std::int32_t y, std::int32_t W,
                std::int64_t m)
{
    const std::int64_t side = 8 * m;
    const std::int64_t first = std::int64_t(y) * W + x;
    const std::int64_t lastOfTile = (std::int64_t(y) + side - 1) * W + x + side - 1;
    return side <= W && first >= 0 && lastOfTile < static_cast<std::int64_t>(bits.size());
}

// The m lines (W apart) of one tile row: each of the eight colours repeated
// m times across and down.
inline void FillTileRow(std::uint32_t* line, const std::uint32_t (&colours)[8], std::int64_t m,
                        std::int64_t W)
{
    for (int c = 0; c < 8; ++c)
        std::fill_n(line + c * m, m, colours[c]);
    for (std::int64_t j = 1; j < m; ++j)
        std::copy_n(line, 8 * m, line + j * W);
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
    // Same size as before: no new allocation, the elements are zeroed in place.
    bits.assign(static_cast<std::size_t>(size), 0u);
    m_isReady = true;
    return false;
}

template <typename RowColours>
bool clsNesTiles::PlotPixels(std::vector<std::uint32_t>& BitMapBuffer, RowColours rowColours,
                             std::int32_t x, std::int32_t y, std::int32_t W,
                             std::uint8_t Mulitply) const
{
    const std::int64_t m = Mulitply;
    if (m == 0)
        return true;
    const std::int64_t size = static_cast<std::int64_t>(BitMapBuffer.size());
    std::uint32_t colours[8];

    if (TileInside(BitMapBuffer, x, y, W, Mulitply)) {
        // Line by line (see TileInside).
        std::uint32_t* const origin = BitMapBuffer.data() + std::int64_t(y) * W + x;
        for (int r = 0; r < 8; ++r) {
            rowColours(r, colours);
            FillTileRow(origin + r * m * W, colours, m, W);
        }
        return true;
    }

    // Pixel by pixel, each tile pixel's block before the next pixel, stopping
    // at the first element outside the buffer.
    const std::int64_t last = size - 1;
    for (int r = 0; r < 8; ++r) {
        rowColours(r, colours);
        for (int c = 0; c < 8; ++c) {
            const std::uint32_t colour = colours[c];
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
        return PlotPixels(BitMapBuffer, NoDataRow, x, y, W, Mulitply);
    // The console ignores the top two bits of a colour index.
    const std::uint32_t colours[4] = {
        m_colourTable[static_cast<std::size_t>(BackColour & 0x3F)],
        m_colourTable[Colour1 & 0x3Fu],
        m_colourTable[Colour2 & 0x3Fu],
        m_colourTable[Colour3 & 0x3Fu],
    };
    std::uint8_t planes[16];
    for (int b = 0; b < 16; ++b)
        planes[b] = static_cast<std::uint8_t>(Tiledata.read(Loc + b));
#ifdef VORNED_HAVE_AVX2_PATH
    if ((Mulitply == 1 || Mulitply == 2) && TileInside(BitMapBuffer, x, y, W, Mulitply) && CpuHasAvx2()) {
        PlotInsideAvx2(BitMapBuffer.data() + std::int64_t(y) * W + x, planes, colours, Mulitply, W);
        return true;
    }
#endif
    auto rowColours = [&](int r, std::uint32_t (&out)[8]) {
        const unsigned values = Spread[planes[r]] | (unsigned(Spread[planes[r + 8]]) << 1);
        for (int c = 0; c < 8; ++c)
            out[c] = colours[(values >> (2 * c)) & 3u];
    };
    return PlotPixels(BitMapBuffer, rowColours, x, y, W, Mulitply);
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
    return PlotPixels(BitMapBuffer, NoDataRow, x, y, m_tilebox->width(), Mulitply);
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
