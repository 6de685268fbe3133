// The painting tools: the metatile sheet and the zone overview drawn through
// the level drawing core, and a stroke over a whole room through the main
// window's handlers (offscreen), with and without the sheets open.
#include "BenchFixture.h"
#include "DemoZone.h"
#include "gfx/MetatileSheet.h"
#include "level/StrokePath.h"
#include "level/ZoneOverview.h"
#include "rom/ProgramState.h"
#include "sheets/frmMetatileSheet.h"
#include "sheets/frmZoneOverview.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QScrollBar>

#include <vector>

// All 256 metatiles of a zone into the 608 x 608 sheet, one framed.
static void BM_DrawMetatileSheet(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel();
    const SheetLayout layout = MetatileSheetLayout();
    Canvas scratch(32, 32), sheet(layout.width(), layout.height());
    for (auto _ : state) {
        DrawMetatileSheet(level, 42, scratch, sheet);
        benchmark::DoNotOptimize(sheet.image().constBits());
    }
}
BENCHMARK(BM_DrawMetatileSheet)->Unit(benchmark::kMicrosecond);

// Every room of Zone 6 (34 rooms, 1632 metatiles) as labelled thumbnails.
static void BM_DrawZoneOverview(benchmark::State& state)
{
    const LevelContext level = bench::DemoLevel(5);
    const SheetLayout layout = ZoneOverviewLayout();
    Canvas scratch(32, 32), sheet(layout.width(), layout.height());
    for (auto _ : state) {
        DrawZoneOverview(level, level.zoneInfo()->LastRoom, 7, scratch, sheet);
        benchmark::DoNotOptimize(sheet.image().constBits());
    }
}
BENCHMARK(BM_DrawZoneOverview)->Unit(benchmark::kMicrosecond);

// The cells of one long diagonal segment.
static void BM_StrokeSegmentCells(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(StrokeSegmentCells(3.5, 2.0, 509.0, 381.5));
}
BENCHMARK(BM_StrokeSegmentCells);

// A stroke that paints all 48 cells of a room: the press, a move along each
// row (a fast move of 448 pixels, so every cell comes from segment
// following), and the release, as the level view's handlers receive them.
// Each stroke paints the other of two metatiles, so every cell changes.
// Arg 1: the metatile sheet and the zone overview are open and follow it.
static void BM_WindowStroke48Cells(benchmark::State& state)
{
    bench::DemoWindow demo;
    frmVornEd* window = bench::ShowDemoZone(state, demo);
    if (!window)
        return;
    frmVornEd& w = *window;
    w.hLevel_Frames->setValue(3);
    if (state.range(0)) {
        w.mnuMetatileSheet->trigger();
        w.mnuZoneOverview->trigger();
    }
    std::vector<std::pair<double, double>> path;
    for (int row = 0; row < 6; ++row) {
        const double y = 32 + 64 * row;
        path.push_back(row % 2 ? std::make_pair(480.0, y) : std::make_pair(32.0, y));
        path.push_back(row % 2 ? std::make_pair(32.0, y) : std::make_pair(480.0, y));
    }
    const std::int32_t room = ReadRomPointer(RomImage, ZoneTable[0].RoomTable, 3);
    int metatile = 0x11;
    std::int64_t cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        metatile = metatile == 0x11 ? 0x12 : 0x11;
        w.SelectMetatile(metatile);
        state.ResumeTiming();
        w.picEditor_MouseDown(1, {}, path[0].first, path[0].second);
        bench::HandleQueuedEvents();
        for (std::size_t i = 1; i < path.size(); ++i) {
            w.picEditor_MouseMove(1, {}, path[i].first, path[i].second);
            bench::HandleQueuedEvents();
        }
        w.picEditor_MouseUp(1, {}, path.back().first, path.back().second);
        bench::HandleQueuedEvents();
        state.PauseTiming();
        for (int i = 0; i < 48; ++i)
            cells += RomImage.read(std::int64_t(room) + i) == metatile;
        state.ResumeTiming();
    }
    state.counters["cells"] = benchmark::Counter(double(cells), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WindowStroke48Cells)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
