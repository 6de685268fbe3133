// Opens the demo cartridge in the main window (offscreen, not shown), chooses
// every zone and draws every room of it; the process's peak memory is what
// the editor needs for that session. Prints the number of rooms drawn.
#include "DemoWindow.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::DemoWindow demo;
    if (!demo.isOpen()) {
        std::fprintf(stderr, "the demo cartridge did not open\n");
        return 1;
    }
    frmVornEd& w = demo.window();
    int drawn = 0;
    for (int zone = 0; zone < bench::DemoWindow::ZoneEntries; ++zone) {
        QAction* entry = w.mnuStageSelect[std::size_t(zone)];
        if (!entry || !entry->isEnabled())
            continue;
        entry->trigger();            // draws room 0 and page 0
        ++drawn;
        for (int room = 1; room <= w.hLevel_Frames->maximum(); ++room) {
            w.hLevel_Frames->setValue(room);
            ++drawn;
        }
    }
    std::printf("rooms drawn: %d\n", drawn);
    return drawn > 0 ? 0 : 1;
}
