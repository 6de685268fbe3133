// vorned-cli: the editor's core operations from the command line.
#include "CliCommands.h"
#include "CliOutput.h"
#include "files/FileNames.h"

#include <QStringList>
#include <QTextStream>

int main(int argc, char** argv)
{
    HoldStandardDescriptors();
    // Arguments keep their bytes: a file name that is not valid UTF-8 still
    // names exactly that file.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << DecodeFileName(QByteArray(argv[i]));
    QString outText;
    QString errText;
    QTextStream out(&outText);
    QTextStream err(&errText);
    const int status = RunCli(args, out, err);
    out.flush();
    err.flush();
    return DeliverOutput(status, outText, errText);
}
