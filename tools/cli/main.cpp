// vorned-cli: the editor's core operations from the command line.
#include "CliCommands.h"

#include <QStringList>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCli(args, out, err);
}
