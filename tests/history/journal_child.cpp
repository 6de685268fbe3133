// Edits an image through the history with a journal, as the editor does,
// and reports each edit on standard output after it returned; then waits to
// be killed. usage: journal_child JOURNAL_FOLDER IMAGE_PATH EDITS
// Edit i writes value ChildValue(i) at offset ChildOffset(i, size) as its
// own step; every fourth edit is an undo of the one before instead.
#include "history/EditHistory.h"
#include "rom/RomFile.h"

#include "JournalChildEdits.h"

#include <QCoreApplication>
#include <cstdio>
#include <thread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]), path = QString::fromLocal8Bit(argv[2]);
    RomBytes image;
    QString error;
    if (!LoadRomFile(path, image, error))
        return 1;
    EditHistory history(image);
    history.reset(path);
    history.setJournalFolder(folder);
    const int edits = QString::fromLocal8Bit(argv[3]).toInt();
    for (int i = 0; i < edits; ++i) {
        RunChildEdit(history, image, i);
        std::printf("edit %d\n", i);
        std::fflush(stdout);
    }
    std::printf("done\n");
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
