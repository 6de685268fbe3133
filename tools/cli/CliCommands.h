#pragma once
// The commands of vorned-cli and their dispatch. A new command is one entry
// in the table of CliCommands.cpp plus its run function.
#include <QStringList>
#include <QTextStream>

enum CliExit : int { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

struct CliCommand {
    const char* name;
    const char* arguments; // as shown in the usage text
    const char* summary;
    // Runs the command with the arguments after its name.
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
};

// Runs the program with its arguments (without the program name); returns
// the exit status.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

// Reports a bad command line: one line with the reason, then the usage, on
// `err`; returns ExitUsage.
int UsageError(QTextStream& err, const QString& reason);
