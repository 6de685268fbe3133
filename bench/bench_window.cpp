// The main window's DrawLevel and DrawTable, offscreen: the core drawing plus
// the preview, the room text and the repaint requests of the controls.
#include "DemoZone.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QScrollBar>

static void BM_WindowDrawLevel(benchmark::State& state)
{
    bench::DemoWindow demo;
    frmVornEd* window = bench::ShowDemoZone(state, demo);
    if (!window)
        return;
    frmVornEd& w = *window;
    const int rooms = w.hLevel_Frames->maximum() + 1;
    int room = 0;
    for (auto _ : state) {
        room = (room + 1) % rooms;
        w.hLevel_Frames->setValue(room);   // the change handler draws the room
    }
}
BENCHMARK(BM_WindowDrawLevel)->Unit(benchmark::kMicrosecond);

static void BM_WindowDrawTable(benchmark::State& state)
{
    bench::DemoWindow demo;
    frmVornEd* window = bench::ShowDemoZone(state, demo);
    if (!window)
        return;
    frmVornEd& w = *window;
    int page = 0;
    for (auto _ : state) {
        page = (page + 1) % (w.hsTable->maximum() + 1);
        w.hsTable->setValue(page);   // the change handler draws the page
    }
}
BENCHMARK(BM_WindowDrawTable)->Unit(benchmark::kMicrosecond);
