#pragma once
// The start of every window benchmark: the demo cartridge open in the main
// window and Zone 1 chosen, or the benchmark told why not.
#include "DemoWindow.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>

namespace bench {

inline frmVornEd* ShowDemoZone(benchmark::State& state, DemoWindow& demo)
{
    if (!demo.isOpen()) {
        state.SkipWithError("the demo cartridge did not open");
        return nullptr;
    }
    demo.window().mnuStageSelect[0]->trigger();
    return &demo.window();
}

// What the event loop does between two user actions: the work the windows
// queued for later (use counts, lists) is part of an action's cost.
inline void HandleQueuedEvents()
{
    QCoreApplication::processEvents();
}

}
