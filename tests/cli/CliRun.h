#pragma once
// Running the built vorned-cli as a user would and collecting what it did.
#include "../fixtures/FileFixture.h"
#include "rom/RomBytes.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRunResult {
    int exitCode = -1; // -1: did not finish normally
    QString out;
    QString err;
};

inline CliRunResult RunVornedCli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(VORNED_CLI_PATH), args);
    CliRunResult run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// Lines of a program's output without the empty one after the last newline.
inline QStringList OutputLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Writes the image's bytes as a file.
inline bool WriteImageFile(const QString& path, const RomBytes& rom)
{
    return WriteFile(path, QByteArray(reinterpret_cast<const char*>(rom.data()), static_cast<qsizetype>(rom.size())));
}
