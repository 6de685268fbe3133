#include "shell/TestPlayMenu.h"

#include "rom/ProgramState.h"
#include "shell/frmEmulator.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QMenu>

namespace {
QString PathVariable()
{
    return qEnvironmentVariable("PATH");
}
}

TestPlayMenu::TestPlayMenu(frmVornEd* window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("TestPlayMenu"));
    QMenu* tools = window->mnuTools;
    ToolsFiller1 = tools->addSeparator();
    ToolsFiller1->setObjectName(QStringLiteral("ToolsFiller1"));
    mnuTestPlay = tools->addAction(QStringLiteral("&Test Play"));
    mnuTestPlay->setObjectName(QStringLiteral("mnuTestPlay"));
    mnuTestPlay->setShortcut(QKeySequence(Qt::Key_F5));
    mnuEmulator = tools->addAction(QStringLiteral("&Emulator…"));
    mnuEmulator->setObjectName(QStringLiteral("mnuEmulator"));
    // Playable once an image is open, exactly when it can be saved.
    mnuTestPlay->setEnabled(window->mnuSave->isEnabled());
    connect(window->mnuSave, &QAction::changed, this,
            [this] { mnuTestPlay->setEnabled(m_window->mnuSave->isEnabled()); });
    connect(mnuTestPlay, &QAction::triggered, this, &TestPlayMenu::mnuTestPlay_Click);
    connect(mnuEmulator, &QAction::triggered, this, &TestPlayMenu::mnuEmulator_Click);
}

void TestPlayMenu::mnuTestPlay_Click()
{
    if (RomImage.empty())
        return;
    QString error;
    if (!m_session.Start(RomImage, RomFileName, StoredEmulatorCommand(), PathVariable(), error))
        ShowAppMessage(m_window, error);
}

void TestPlayMenu::mnuEmulator_Click()
{
    const std::optional<QString> command = frmEmulator::Ask(m_window, StoredEmulatorCommand(), PathVariable());
    if (command)
        StoreEmulatorCommand(*command);
}
