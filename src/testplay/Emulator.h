#pragma once
// Which NES emulator test play starts, and with what arguments. Emulators are
// the user's choice at run time: the first known one found on PATH, or a
// command the user stored.
#include <QString>
#include <QStringList>

#include <optional>

// The emulators looked for on PATH, in this order; each is also the name of
// the Debian package that installs it.
const QStringList& KnownEmulators();

// A program and its arguments, ready to start.
struct EmulatorLaunch {
    QString program; // full path
    QStringList arguments;
};

// The executable file `name` in one of the folders of `pathVariable` (a
// PATH value, folders separated by ':'), or empty. A name with a '/' is
// taken as a path of its own.
QString FindOnPath(const QString& name, const QString& pathVariable);

// The launch for a command line: words split as a shell splits a simple
// command (blanks between words, double quotes around a word with blanks);
// "%f" in an argument is replaced by `file`, and without any "%f" the path
// is added as the last argument. The program is looked up on
// `pathVariable`. Nothing and `error` set when the command is empty or the
// program cannot be found or is not executable.
std::optional<EmulatorLaunch> LaunchFromCommand(const QString& command, const QString& file,
                                                const QString& pathVariable, QString& error);

// The launch test play uses: the stored command when there is one,
// otherwise the first of KnownEmulators() on `pathVariable` with the file as
// its argument. When none is found, `error` names the packages to install.
std::optional<EmulatorLaunch> ChooseEmulator(const QString& storedCommand, const QString& file,
                                             const QString& pathVariable, QString& error);

// The first known emulator on `pathVariable` (its name), or empty.
QString FirstKnownEmulator(const QString& pathVariable);

// The command stored with Tools > Emulator (empty: choose automatically).
QString StoredEmulatorCommand();
void StoreEmulatorCommand(const QString& command);
