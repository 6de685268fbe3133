// The editor program: one main window, driven by the user's events.
#include "history/EditHistory.h"
#include "history/RecoveryJournal.h"
#include "shell/frmVornEd.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VornEd"));
    QApplication::setApplicationVersion(QStringLiteral("0.3"));
    // Closing the main window asks first and then ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    // Unsaved edits are journaled in the user's data folder.
    RomHistory().setJournalFolder(RecoveryJournal::DefaultFolder());

    frmVornEd window;
    window.show();
    return QApplication::exec();
}
