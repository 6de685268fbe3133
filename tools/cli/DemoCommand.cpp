#include "DemoCommand.h"

#include "CliCommands.h"
#include "rom/DemoCartridge.h"
#include "rom/RomFile.h"

int RunDemoCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1)
        return UsageError(err, QStringLiteral("demo takes one argument, the file to write (got %1)").arg(args.size()));
    const QString& path = args.first();
    if (path.isEmpty())
        return UsageError(err, QStringLiteral("demo: the file name is empty"));
    if (path.startsWith(QLatin1Char('-')))
        return UsageError(err, QStringLiteral("demo: unknown option \"%1\"").arg(path));

    QString error;
    if (!SaveRomFile(path, MakeDemoCartridge(), error)) {
        err << "vorned-cli: " << error << "\n";
        return ExitFailure;
    }
    out << "wrote " << DemoCartridgeSize << " bytes to " << path << "\n";
    return ExitOk;
}
