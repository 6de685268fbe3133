#pragma once
// Starting the editor on a file named on the command line.
#include <QString>

class frmVornEd;

// Opens `file` in the shown window as File > Open does once its dialog has
// given a path: the same refusals and messages, and a refused file leaves
// the window as it started. A relative name is taken from the current
// folder; empty text opens nothing.
void OpenAtStart(frmVornEd& window, const QString& file);
