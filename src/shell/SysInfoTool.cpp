#include "shell/SysInfoTool.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <optional>

namespace {
const char* const MsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const MsInfoValue = "PATH";
const char* const LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const LocationValue = "MSINFO";
const char* const ToolFileName = "\\MSINFO32.EXE";

std::optional<SysInfoSystem>& installed()
{
    static std::optional<SysInfoSystem> s;
    return s;
}

[[maybe_unused]] QString rootName(std::uint32_t root)
{
    switch (root) {
    case HKeyClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKeyCurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case HKeyLocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKeyUsers: return QStringLiteral("HKEY_USERS");
    default: return QString();
    }
}
}

bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    KeyVal.clear();
#ifdef Q_OS_WIN
    const QString root = rootName(KeyRoot);
    if (root.isEmpty())
        return false;
    QSettings key(root + QLatin1Char('\\') + KeyName, QSettings::NativeFormat);
    if (key.status() != QSettings::NoError || !key.contains(SubKeyRef))
        return false;
    const QVariant value = key.value(SubKeyRef);
    // Only string values are read; numbers, lists and binary data are not a path.
    if (value.typeId() != QMetaType::QString)
        return false;
    KeyVal = value.toString();
    // A value stored with its terminating NUL keeps it; drop it.
    if (KeyVal.endsWith(QChar(0)))
        KeyVal.chop(1);
    return true;
#else
    Q_UNUSED(KeyRoot);
    Q_UNUSED(KeyName);
    Q_UNUSED(SubKeyRef);
    return false;
#endif
}

SysInfoSystem DefaultSysInfoSystem()
{
    SysInfoSystem s;
    s.ReadMachineKey = [](const QString& keyName, const QString& valueName, QString& value) {
        return GetKeyValue(HKeyLocalMachine, keyName, valueName, value);
    };
    s.FileExists = [](const QString& path) { return QFileInfo(path).isFile(); };
    s.FindProgram = [](const QString& name) { return QStandardPaths::findExecutable(name); };
    s.StartProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };
    return s;
}

const SysInfoSystem& CurrentSysInfoSystem()
{
    if (!installed())
        installed() = DefaultSysInfoSystem();
    return *installed();
}

void SetSysInfoSystem(SysInfoSystem system)
{
    installed() = std::move(system);
}

void ResetSysInfoSystem()
{
    installed().reset();
}

QString LocateRegisteredSysInfo(const SysInfoSystem& system)
{
    QString path;
    if (system.ReadMachineKey(QLatin1String(MsInfoKey), QLatin1String(MsInfoValue), path) && !path.isEmpty())
        return path;
    QString folder;
    if (!system.ReadMachineKey(QLatin1String(LocationKey), QLatin1String(LocationValue), folder))
        return QString();
    path = folder + QLatin1String(ToolFileName);
    return system.FileExists(path) ? path : QString();
}

QStringList SysInfoProgramNames()
{
#if defined(Q_OS_MACOS)
    // An absolute path is taken as it is when the program is there.
    return {QStringLiteral("/System/Applications/Utilities/System Information.app/Contents/MacOS/System Information"),
            QStringLiteral("/Applications/Utilities/System Information.app/Contents/MacOS/System Information")};
#else
    // The desktops' own information centres first, then stand-alone tools.
    return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
            QStringLiteral("lshw-gtk")};
#endif
}

QString LocateSysInfoOnPath(const SysInfoSystem& system)
{
    for (const QString& name : SysInfoProgramNames()) {
        const QString path = system.FindProgram(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

QString LocateSysInfoTool(const SysInfoSystem& system)
{
#ifdef Q_OS_WIN
    return LocateRegisteredSysInfo(system);
#else
    return LocateSysInfoOnPath(system);
#endif
}

bool LaunchSysInfoTool(const SysInfoSystem& system)
{
    const QString program = LocateSysInfoTool(system);
    if (program.isEmpty())
        return false;
    return system.StartProgram(program);
}
