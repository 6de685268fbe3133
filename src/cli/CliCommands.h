#pragma once
// The commands of vorned-cli and their dispatch. A new command is one
// CliCommand object in its own file plus an entry in the table of
// CliCommands.cpp.
#include <QStringList>
#include <QTextStream>

// 3: a password given to "password decode" is not a valid password.
enum CliExit : int { ExitOk = 0, ExitFailure = 1, ExitUsage = 2, ExitBadPassword = 3 };

struct CliCommand {
    const char* name;
    // The command's forms as shown after "usage: vorned-cli ", one a line.
    const char* usage;
    const char* summary;
    // What "vorned-cli NAME --help" prints after the usage lines.
    const char* help;
    // Runs the command with the arguments after its name.
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
};

// Runs the program with its arguments (without the program name); returns
// the exit status.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

// Reports a bad command line: one line with the reason, then the usage (of
// the program, or of `command` when given), on `err`; returns ExitUsage.
int UsageError(QTextStream& err, const QString& reason, const CliCommand* command = nullptr);

// Reports a failure to read or write a file (or another failure that is not
// the command line's fault): one line on `err`; returns ExitFailure.
int Failure(QTextStream& err, const QString& reason);
