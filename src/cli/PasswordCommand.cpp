#include "PasswordCommand.h"

#include "CliArguments.h"
#include "password/PasswordCodec.h"

namespace {

int RunEncode(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {{"--sector", true}, {"--rations", true}, {"--expert", false},
                          {"--progress", true}, {"--gained", true}});
    if (a.ok() && !a.plain().isEmpty())
        a.fail(QStringLiteral("encode takes no plain arguments, got \"%1\"").arg(a.plain().first()));
    const std::optional<int> sector = a.number("--sector", 1, 7);
    const std::optional<int> rations = a.number("--rations", 0, 4);
    const auto progress = a.numberList("--progress", 6, 0, 2);
    const auto gained = a.numberList("--gained", 6, 0, 1);
    if (!a.ok())
        return UsageError(err, a.reason(), &PasswordCommand);

    PasswordSettings s;
    s.Sector = static_cast<std::int16_t>(*sector - 1);
    s.Rations = static_cast<std::int16_t>(*rations);
    s.Expert = a.has("--expert");
    for (std::size_t i = 0; i < 6; ++i) {
        s.Progress[i] = static_cast<std::int16_t>((*progress)[i]);
        s.RationGained[i] = (*gained)[i] != 0;
    }
    out << MakePassword(s) << "\n";
    return ExitOk;
}

int RunDecode(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliArguments a(args, {});
    if (!a.ok())
        return UsageError(err, a.reason(), &PasswordCommand);
    if (a.plain().size() != 1)
        return UsageError(err, QStringLiteral("decode needs exactly one argument, the password (got %1)").arg(a.plain().size()),
                          &PasswordCommand);
    // Typed as in the password window: lower case counts as upper case.
    const std::optional<PasswordSettings> s = DecodeTypedPassword(a.plain().first());
    if (!s) {
        err << "Bad Password\n";
        return ExitBadPassword;
    }
    out << SettingsToFlags(*s) << "\n";
    return ExitOk;
}

int RunPassword(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty())
        return UsageError(err, QStringLiteral("say encode or decode"), &PasswordCommand);
    if (args.first() == QLatin1String("encode"))
        return RunEncode(args.mid(1), out, err);
    if (args.first() == QLatin1String("decode"))
        return RunDecode(args.mid(1), out, err);
    return UsageError(err, QStringLiteral("unknown password command \"%1\"").arg(args.first()), &PasswordCommand);
}

QString JoinNumbers(const auto& values)
{
    QStringList parts;
    for (const auto v : values)
        parts << QString::number(static_cast<int>(v));
    return parts.join(QLatin1Char(','));
}

} // namespace

QString SettingsToFlags(const PasswordSettings& s)
{
    QString flags = QStringLiteral("--sector %1 --rations %2").arg(s.Sector + 1).arg(s.Rations);
    if (s.Expert)
        flags += QStringLiteral(" --expert");
    flags += QStringLiteral(" --progress ") + JoinNumbers(s.Progress);
    flags += QStringLiteral(" --gained ") + JoinNumbers(s.RationGained);
    return flags;
}

const CliCommand PasswordCommand{
    "password",
    "password encode --sector S --rations R [--expert] [--progress P,P,P,P,P,P] [--gained G,G,G,G,G,G]\n"
    "password decode PASSWORD",
    "Makes the game's eight-character password, or reads one back.",
    "encode prints the password of a game state:\n"
    "  --sector S     the sector, 1 to 7\n"
    "  --rations R    rations, 0 to 4\n"
    "  --expert       skill Expert (else Normal)\n"
    "  --progress     six states, sector 1 first: 0 Active, 1 ID Aquired, 2 Disarmed\n"
    "  --gained       six flags, sector 1 first: 1 when the sector's ration was gained\n"
    "Omitted lists are all 0. Numbers are decimal.\n"
    "\n"
    "decode prints the state a password carries in exactly the form encode takes,\n"
    "for example: --sector 3 --rations 1 --expert --progress 0,0,0,0,0,0 --gained 0,0,0,0,0,0\n"
    "(lower-case letters count as upper case). A password that is not valid prints\n"
    "\"Bad Password\" to standard error and exits with status 3.\n",
    RunPassword};
