#pragma once
// The editor's command line: vorned [FILE], vorned --help, vorned --version.
#include <QString>
#include <QStringList>

struct EditorArguments {
    enum class Action { Run, Help, Version, Error };
    Action What = Action::Run;
    // Run: the file to open at start, as given (empty for none).
    QString File;
    // Help and Version: the text to print; Error: the reason, one line.
    QString Text;
};

// Reads the arguments (the program's name first, as QCoreApplication gives
// them). --help and --version win over any other argument; the version
// text is the application's name and version.
EditorArguments ParseEditorArguments(const QStringList& arguments);

// Exit status of a bad command line.
constexpr int EditorUsageExit = 2;
