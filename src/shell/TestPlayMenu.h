#pragma once
// Tools › Test Play (F5) and Tools › Emulator…, appended to the main
// window's Tools menu after a separator. Test Play hands the image as it is
// now, unsaved edits included, to an emulator; the copies it writes are
// removed when the window goes.
#include "testplay/TestPlaySession.h"

#include <QObject>

class QAction;
class frmVornEd;

class TestPlayMenu : public QObject {
    Q_OBJECT
public:
    explicit TestPlayMenu(frmVornEd* window);

    QAction* ToolsFiller1 = nullptr;
    QAction* mnuTestPlay = nullptr;
    QAction* mnuEmulator = nullptr;

    const TestPlaySession& Session() const { return m_session; }

public slots:
    void mnuTestPlay_Click();
    void mnuEmulator_Click();

private:
    frmVornEd* m_window;
    TestPlaySession m_session;
};
