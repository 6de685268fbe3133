#include "shell/EditorStart.h"

#include "shell/frmVornEd.h"

#include <QFileInfo>

void OpenAtStart(frmVornEd& window, const QString& file)
{
    if (file.isEmpty())
        return;
    // The status bar and the recent files show full paths.
    window.OpenRomPath(QFileInfo(file).absoluteFilePath());
}
