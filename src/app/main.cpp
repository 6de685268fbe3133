// The editor program: one main window, driven by the user's events.
#include "shell/frmVornEd.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VornEd"));
    QApplication::setApplicationVersion(QStringLiteral("0.3"));
    // Closing the main window asks first and then ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);

    frmVornEd window;
    window.show();
    return QApplication::exec();
}
