#include "CliCommands.h"

#include "DemoCommand.h"
#include "InfoCommand.h"
#include "PasswordCommand.h"
#include "PatchCommand.h"
#include "PlaceCommand.h"
#include "RenderCommand.h"
#include "TilesCommand.h"

#include <array>

namespace {

const std::array<const CliCommand*, 7> Commands{{
    &DemoCommand,
    &InfoCommand,
    &RenderCommand,
    &PlaceCommand,
    &PasswordCommand,
    &PatchCommand,
    &TilesCommand,
}};

void PrintUsageLines(QTextStream& to, const CliCommand& c)
{
    const QStringList forms = QString::fromUtf8(c.usage).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < forms.size(); ++i)
        to << (i == 0 ? "usage: vorned-cli " : "       vorned-cli ") << forms.at(i) << "\n";
}

void PrintUsage(QTextStream& to)
{
    to << "usage: vorned-cli COMMAND [ARGUMENTS]\n"
          "       vorned-cli COMMAND --help\n"
          "       vorned-cli --help\n"
          "\n"
          "commands:\n";
    for (const CliCommand* c : Commands) {
        for (const QString& form : QString::fromUtf8(c->usage).split(QLatin1Char('\n')))
            to << "  " << form << "\n";
        to << "      " << c->summary << "\n";
    }
    to << "\nExit status: 0 done, 1 a file could not be read or written (or the data\n"
          "was refused), 2 bad arguments, 3 password decode was given a password that\n"
          "is not valid. Nothing is written but the named output.\n";
    to.flush();
}

void PrintCommandHelp(QTextStream& to, const CliCommand& c)
{
    PrintUsageLines(to, c);
    to << "\n" << c.summary << "\n\n" << c.help;
    to.flush();
}

bool AsksForHelp(const QStringList& args)
{
    for (const QString& a : args)
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return true;
    return false;
}

} // namespace

int UsageError(QTextStream& err, const QString& reason, const CliCommand* command)
{
    if (command) {
        err << "vorned-cli: " << command->name << ": " << reason << "\n";
        PrintUsageLines(err, *command);
        err << "Run \"vorned-cli " << command->name << " --help\" for details.\n";
        err.flush();
    } else {
        err << "vorned-cli: " << reason << "\n";
        PrintUsage(err);
    }
    return ExitUsage;
}

int Failure(QTextStream& err, const QString& reason)
{
    err << "vorned-cli: " << reason << "\n";
    err.flush();
    return ExitFailure;
}

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty())
        return UsageError(err, QStringLiteral("no command given"));
    const QString& name = args.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        if (args.size() > 1)
            return UsageError(err, QStringLiteral("--help takes no arguments"));
        PrintUsage(out);
        return ExitOk;
    }
    for (const CliCommand* c : Commands) {
        if (name != QLatin1String(c->name))
            continue;
        if (AsksForHelp(args.mid(1))) {
            PrintCommandHelp(out, *c);
            return ExitOk;
        }
        return c->run(args.mid(1), out, err);
    }
    if (name.startsWith(QLatin1Char('-')))
        return UsageError(err, QStringLiteral("unknown option \"%1\"").arg(name));
    return UsageError(err, QStringLiteral("unknown command \"%1\"").arg(name));
}
