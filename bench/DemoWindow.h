#pragma once
// The main window with the demo cartridge open, built offscreen: the demo is
// written to a temporary file and opened through File > Open with the file
// dialog answered by code; message boxes are answered OK.
#include "shell/frmVornEd.h"

#include <QTemporaryDir>

#include <memory>

namespace bench {

class DemoWindow {
public:
    DemoWindow();
    ~DemoWindow();

    // False when the demo could not be written or opened.
    bool isOpen() const { return m_open; }
    frmVornEd& window() { return *m_window; }

    // Zone slots that hold a zone, in menu order.
    static constexpr int ZoneEntries = 7;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmVornEd> m_window;
    bool m_open = false;
};

}
