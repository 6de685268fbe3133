// The editor program: one main window, driven by the user's events.
// usage: vorned [FILE] | --help | --version
#include "desktop/AppIcon.h"
#include "desktop/EditorArguments.h"
#include "history/EditHistory.h"
#include "history/RecoveryJournal.h"
#include "shell/EditorStart.h"
#include "shell/frmVornEd.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("VornEd"));
    QApplication::setApplicationVersion(QStringLiteral("0.3"));

    // --help and --version are answered before any window system is needed.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const EditorArguments early = ParseEditorArguments(raw);
    if (early.What == EditorArguments::Action::Help || early.What == EditorArguments::Action::Version) {
        std::fputs(early.Text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QLatin1String(AppId));
    QApplication::setWindowIcon(AppIcon());
    // Read again without the options Qt took for itself (-platform, -style ...).
    const EditorArguments arguments = ParseEditorArguments(QApplication::arguments());
    if (arguments.What == EditorArguments::Action::Error) {
        std::fprintf(stderr, "vorned: %s\nRun \"vorned --help\" for the usage.\n",
                     arguments.Text.toLocal8Bit().constData());
        return EditorUsageExit;
    }
    // Closing the main window asks first and then ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    // Unsaved edits are journaled in the user's data folder.
    RomHistory().setJournalFolder(RecoveryJournal::DefaultFolder());

    frmVornEd window;
    window.show();
    OpenAtStart(window, arguments.File);
    return QApplication::exec();
}
