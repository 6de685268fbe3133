#include "CliCommands.h"

#include "DemoCommand.h"

#include <array>

namespace {

constexpr std::array<CliCommand, 1> Commands{{
    {"demo", "OUT.nes", "write the demo cartridge image to OUT.nes", RunDemoCommand},
}};

void PrintUsage(QTextStream& to)
{
    to << "usage: vorned-cli COMMAND [ARGUMENTS]\n"
          "       vorned-cli --help\n"
          "\n"
          "commands:\n";
    for (const CliCommand& c : Commands)
        to << "  " << QString(QStringLiteral("%1 %2")).arg(QLatin1String(c.name), QLatin1String(c.arguments)).leftJustified(18)
           << " " << c.summary << "\n";
    to.flush();
}

} // namespace

int UsageError(QTextStream& err, const QString& reason)
{
    err << "vorned-cli: " << reason << "\n";
    PrintUsage(err);
    return ExitUsage;
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
    for (const CliCommand& c : Commands)
        if (name == QLatin1String(c.name))
            return c.run(args.mid(1), out, err);
    if (name.startsWith(QLatin1Char('-')))
        return UsageError(err, QStringLiteral("unknown option \"%1\"").arg(name));
    return UsageError(err, QStringLiteral("unknown command \"%1\"").arg(name));
}
