#pragma once
// What the main window shows, gathered in one record, so a test can say
// "exactly as at a start without a file" or "nothing changed" in one compare.
#include "rom/ProgramState.h"
#include "shell/frmVornEd.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QStringList>

struct WindowState {
    QString Caption, Panel1, Panel2, FileName, Tag;
    bool Save = false, SaveAs = false, Edit = false, Level = false, View = false;
    int RoomMaximum = 0;
    QByteArray Image;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

inline WindowState StateOf(const frmVornEd& w)
{
    WindowState s;
    s.Caption = w.windowTitle();
    s.Panel1 = w.PanelText(1);
    s.Panel2 = w.PanelText(2);
    s.FileName = RomFileName;
    s.Tag = w.picSelectedTile->Tag;
    s.Save = w.mnuSave->isEnabled();
    s.SaveAs = w.mnuSaveAS->isEnabled();
    s.Edit = w.mnuEdit->menuAction()->isEnabled();
    s.Level = w.mnuLevel->menuAction()->isEnabled();
    s.View = w.mnuView->menuAction()->isEnabled();
    s.RoomMaximum = w.hLevel_Frames->maximum();
    s.Image = QByteArray(reinterpret_cast<const char*>(RomImage.data()), qsizetype(RomImage.size()));
    return s;
}

inline char* toString(const WindowState& s)
{
    return qstrdup(qPrintable(QStringLiteral("caption \"%1\", panels \"%2\" \"%3\", file \"%4\", %5 image bytes, "
                                             "Save %6, Save As %7, Edit %8, Level %9, View %10")
                                  .arg(s.Caption, s.Panel1, s.Panel2, s.FileName)
                                  .arg(s.Image.size())
                                  .arg(s.Save).arg(s.SaveAs).arg(s.Edit).arg(s.Level).arg(s.View)));
}
