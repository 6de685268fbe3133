// Metatile, room and selector drawing as the main window does it.
#include "BenchFixture.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "level/RoomView.h"

#include <benchmark/benchmark.h>

// One metatile into the 64 x 64 preview: Init, 16 tiles, one render.
static void BM_DrawMetatile(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel();
    Canvas preview(64, 64);
    std::uint8_t m = 0;
    for (auto _ : state) {
        DrawMetatile(level, preview, m, ViewScale);
        m = static_cast<std::uint8_t>(m + 1);
        benchmark::DoNotOptimize(preview.image().constBits());
    }
}
BENCHMARK(BM_DrawMetatile)->Unit(benchmark::kMicrosecond);

// A full room into the 512 x 384 level view through the 64 x 64 scratch
// picture, stepping through the zone's rooms.
static void BM_DrawLevel(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel();
    Canvas scratch(64, 64), view(512, 384);
    const int rooms = level.zoneInfo()->LastRoom + 1;
    int room = 0;
    for (auto _ : state) {
        DrawRoom(level, room, scratch, view);
        room = (room + 1) % rooms;
        benchmark::DoNotOptimize(view.image().constBits());
    }
}
BENCHMARK(BM_DrawLevel)->Unit(benchmark::kMicrosecond);

// One selector page (four metatiles) into the 64 x 256 strip, stepping
// through the pages as a thumb drag does.
static void BM_DrawTable(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel();
    Canvas scratch(64, 64), selector(64, 256);
    int page = 0;
    for (auto _ : state) {
        DrawSelectorPage(level, page, scratch, selector);
        page = (page + 1) % (SelectorLastPage + 1);
        benchmark::DoNotOptimize(selector.image().constBits());
    }
}
BENCHMARK(BM_DrawTable)->Unit(benchmark::kMicrosecond);
