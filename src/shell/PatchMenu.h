#pragma once
// File › Export Patch… and File › Apply Patch…, appended to the main
// window's File menu after a separator. Export writes the difference between
// the file as it was opened and the image as it is now; Apply changes the
// image in memory as one undo step.
#include <QObject>

class QAction;
class frmVornEd;

class PatchMenu : public QObject {
    Q_OBJECT
public:
    explicit PatchMenu(frmVornEd* window);

    QAction* FileFiller3 = nullptr;
    QAction* mnuExportPatch = nullptr;
    QAction* mnuApplyPatch = nullptr;

public slots:
    void mnuExportPatch_Click();
    void mnuApplyPatch_Click();

private:
    frmVornEd* m_window;
};
