// The tile decoder on its own: one tile at the scales the editor uses, the
// same work as the tile editor's block (four tiles at scale 8), and the tile
// editor's own block drawing.
#include "BenchFixture.h"
#include "editors/MetatileEdits.h"
#include "gfx/clsNesTiles.h"

#include <benchmark/benchmark.h>

namespace {
// Picture sizes: the level view's scratch cell for scales 1 and 2, the tile
// editor's canvas for scale 8.
int PictureSideFor(int scale) { return scale >= 8 ? 128 : 64; }
}

// One tile through DrawTile at scale state.range(0), at the picture's origin.
static void BM_PlotTile(benchmark::State& state)
{
    const auto scale = static_cast<std::uint8_t>(state.range(0));
    const LevelContext level = bench::DemoLevel();
    const int side = PictureSideFor(scale);
    Canvas picture(side, side);
    clsNesTiles tiles;
    std::vector<std::uint32_t> bits;
    BitmapInfoHeader header;
    tiles.Init(picture, header, bits);
    const std::int64_t loc = bench::TileOffset(level, 5);
    for (auto _ : state) {
        tiles.DrawTile(bits, level.rom, loc, 0x0F, 0x16, 0x2A, 0x30, 0, 0, scale);
        benchmark::DoNotOptimize(bits.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlotTile)->Arg(1)->Arg(2)->Arg(8);

// The tile editor's block: Init on its 128 x 128 canvas, tiles 0, 1, 2 and 3
// of a 2 x 2 block at scale 8, one render.
static void BM_TileEditorBlock(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel();
    Canvas picture(128, 128);
    clsNesTiles& tiles = TileRenderer();
    for (auto _ : state) {
        tiles.Init(picture, TileBitmapInfo, TileBits);
        for (int k = 0; k < 4; ++k)
            tiles.DrawTile(TileBits, level.rom, bench::TileOffset(level, 16 + k), 0x0F, 0x16, 0x2A,
                           0x30, (k % 2) * 64, (k / 2) * 64, 8);
        tiles.RenderPic(TileBitmapInfo, TileBits);
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}
BENCHMARK(BM_TileEditorBlock)->Unit(benchmark::kMicrosecond);

// The tile editor's own drawing: quadrant q of metatile m into its 128 x 128
// preview at scale 8, stepping through metatiles and quadrants.
static void BM_DrawTileBlock(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel();
    Canvas picture(QuadrantPictureSide, QuadrantPictureSide);
    int n = 0;
    for (auto _ : state) {
        DrawTileBlock(level, picture, (n / 4) % 256, n % 4, EditorScale);
        n = (n + 1) % 1024;
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}
BENCHMARK(BM_DrawTileBlock)->Unit(benchmark::kMicrosecond);
