// Graphics editing: one pixel drawn in the tile editor's preview with every
// view redrawn from the change (with and without the tile sheet open), the
// where-used counts the editor shows after every change, and a zone's tiles
// through a PNG and back.
#include "BenchFixture.h"
#include "DemoZone.h"

#include "editors/frmTileEdit.h"
#include "gfx/TilePng.h"
#include "uses/MetatileUses.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QPushButton>

namespace {
// Draws one pixel a round, the pen alternating so that every press writes.
void DrawPixels(benchmark::State& state, bool withSheet)
{
    bench::DemoWindow demo;
    frmVornEd* window = bench::ShowDemoZone(state, demo);
    if (!window)
        return;
    frmVornEd& w = *window;
    w.picTile_MouseDown(1, {}, 10, 10);   // metatile 0 of page 0
    w.cmdEditTile->click();
    frmTileEdit* editor = LoadedTileEdit();
    if (withSheet)
        editor->cmdTileSheet->click();
    int round = 0;
    for (auto _ : state) {
        editor->picPal_MouseDown(1 + round % 2);
        editor->picTile_MouseDown(1, {}, 20, 20);
        editor->picTile_MouseUp(1, {}, 20, 20);
        bench::HandleQueuedEvents();
        ++round;
    }
}
}

static void BM_DrawTilePixel(benchmark::State& state)
{
    DrawPixels(state, false);
}
BENCHMARK(BM_DrawTilePixel)->Unit(benchmark::kMicrosecond);

static void BM_DrawTilePixelWithSheet(benchmark::State& state)
{
    DrawPixels(state, true);
}
BENCHMARK(BM_DrawTilePixelWithSheet)->Unit(benchmark::kMicrosecond);

// What the tile editor's panel counts after every change: the metatile's
// rooms and cells, the metatiles and cells of one tile.
static void BM_MetatileUses(benchmark::State& state)
{
    const LevelContext level{bench::Demo().rom, bench::Demo().zones, 0};
    int m = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MetatileRoomUses(level, m));
        benchmark::DoNotOptimize(MetatilesUsingTile(level, m));
        benchmark::DoNotOptimize(CountTileUses(level, m));
        m = (m + 1) % 256;
    }
}
BENCHMARK(BM_MetatileUses)->Unit(benchmark::kMicrosecond);

// Export and import of one zone's tiles, without the files.
static void BM_TilesPngRoundTrip(benchmark::State& state)
{
    const LevelContext level{bench::Demo().rom, bench::Demo().zones, 2};
    QString reason;
    for (auto _ : state) {
        const QByteArray png = EncodePng(ZoneTilesPicture(level, reason));
        benchmark::DoNotOptimize(TileImportWrites(level, png, reason));
    }
}
BENCHMARK(BM_TilesPngRoundTrip)->Unit(benchmark::kMicrosecond);
