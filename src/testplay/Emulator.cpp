#include "testplay/Emulator.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace {

const char* const SettingsKey = "TestPlay/EmulatorCommand";

QSettings EditorSettings()
{
    return QSettings(QStringLiteral("VornEd"), QStringLiteral("VornEd"));
}

bool IsExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

const QStringList& KnownEmulators()
{
    static const QStringList names{QStringLiteral("fceux"), QStringLiteral("nestopia"), QStringLiteral("mednafen")};
    return names;
}

QString FindOnPath(const QString& name, const QString& pathVariable)
{
    if (name.isEmpty())
        return QString();
    if (name.contains(QLatin1Char('/')))
        return IsExecutableFile(name) ? QFileInfo(name).absoluteFilePath() : QString();
    for (const QString& folder : pathVariable.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString candidate = QDir(folder).filePath(name);
        if (IsExecutableFile(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QString();
}

std::optional<EmulatorLaunch> LaunchFromCommand(const QString& command, const QString& file,
                                                const QString& pathVariable, QString& error)
{
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty()) {
        error = QStringLiteral("The emulator command is empty.");
        return std::nullopt;
    }
    const QString name = words.takeFirst();
    EmulatorLaunch launch;
    launch.program = FindOnPath(name, pathVariable);
    if (launch.program.isEmpty()) {
        const QFileInfo info(name);
        if (name.contains(QLatin1Char('/')) && info.exists())
            error = QStringLiteral("The emulator \"%1\" cannot be started: it is not an executable file.").arg(name);
        else if (name.contains(QLatin1Char('/')))
            error = QStringLiteral("The emulator \"%1\" cannot be started: there is no such file.").arg(name);
        else
            error = QStringLiteral("The emulator \"%1\" cannot be started: no program of that name is on PATH.")
                        .arg(name);
        return std::nullopt;
    }
    bool placed = false;
    for (QString& word : words) {
        if (word.contains(QLatin1String("%f"))) {
            word.replace(QLatin1String("%f"), file);
            placed = true;
        }
    }
    if (!placed)
        words << file;
    launch.arguments = words;
    return launch;
}

QString FirstKnownEmulator(const QString& pathVariable)
{
    for (const QString& name : KnownEmulators())
        if (!FindOnPath(name, pathVariable).isEmpty())
            return name;
    return QString();
}

std::optional<EmulatorLaunch> ChooseEmulator(const QString& storedCommand, const QString& file,
                                             const QString& pathVariable, QString& error)
{
    if (!storedCommand.trimmed().isEmpty())
        return LaunchFromCommand(storedCommand, file, pathVariable, error);
    const QString name = FirstKnownEmulator(pathVariable);
    if (name.isEmpty()) {
        error = QStringLiteral("No NES emulator was found. Install one of the Debian packages %1, %2 or %3 "
                               "(for example: sudo apt install %1), or give the command that starts your "
                               "emulator in Tools › Emulator…")
                    .arg(KnownEmulators().at(0), KnownEmulators().at(1), KnownEmulators().at(2));
        return std::nullopt;
    }
    return EmulatorLaunch{FindOnPath(name, pathVariable), {file}};
}

QString StoredEmulatorCommand()
{
    return EditorSettings().value(QLatin1String(SettingsKey)).toString();
}

void StoreEmulatorCommand(const QString& command)
{
    QSettings settings = EditorSettings();
    if (command.trimmed().isEmpty())
        settings.remove(QLatin1String(SettingsKey));
    else
        settings.setValue(QLatin1String(SettingsKey), command.trimmed());
}
