#pragma once
// The list of images opened or saved last, newest first, kept in the user's
// settings of the program so that it outlives the run.
#include <QString>
#include <QStringList>

constexpr int RecentFileLimit = 8;

// The stored list: absolute paths, newest first, no path twice, at most
// RecentFileLimit. Whatever else the settings hold there is ignored.
QStringList RecentFiles();

// Puts `path` (made absolute) at the front of the list, dropping an older
// entry of the same path and whatever falls past the limit.
void RememberRecentFile(const QString& path);

// Takes `path` out of the list.
void ForgetRecentFile(const QString& path);

// Empties the list.
void ClearRecentFiles();

// The settings file the list lives in (for the tests and the manual).
QString RecentFilesSettingsPath();
