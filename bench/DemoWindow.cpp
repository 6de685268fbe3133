#include "DemoWindow.h"

#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "rom/RomFile.h"
#include "shell/clsDialog.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QStandardPaths>

namespace bench {

DemoWindow::DemoWindow()
{
    // Opening a file puts it on the recent-files list: keep that list out
    // of the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    const QString path = m_dir.filePath(QStringLiteral("demo.nes"));
    QString error;
    if (!m_dir.isValid() || !SaveRomFile(path, MakeDemoCartridge(), error))
        return;
    clsDialog::SetFileDialogRunner([path](const FileDialogRequest& r) {
        return FileDialogAnswer{true, path, r.FilterIndex, r.Flags};
    });
    SetMessageResponder([](const MessageRequest&) { return QMessageBox::Ok; });
    m_window = std::make_unique<frmVornEd>();
    m_window->mnuOpen->trigger();
    m_open = RomFileName == path;
}

DemoWindow::~DemoWindow()
{
    m_window.reset();
    clsDialog::SetFileDialogRunner({});
    SetMessageResponder({});
}

}
