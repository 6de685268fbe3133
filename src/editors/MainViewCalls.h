#pragma once
// What an editor window asks of the main window: redrawing its level view
// and its tile selector. The main window hands these in, so the editors do
// not depend on it.
#include <functional>

struct MainViewCalls {
    std::function<void()> DrawLevel;
    std::function<void()> DrawTable;
};
