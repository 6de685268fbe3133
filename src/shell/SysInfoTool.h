#pragma once
// Finding and starting the desktop's system-information program for the
// About box. On Windows its place is read from the registry; elsewhere a
// short list of known programs is looked up on the program search path.
// Every outside access goes through SysInfoSystem so tests can replace it.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

// Registry roots as the registry numbers them.
enum RegistryRoot : std::uint32_t {
    HKeyClassesRoot = 0x80000000u,
    HKeyCurrentUser = 0x80000001u,
    HKeyLocalMachine = 0x80000002u,
    HKeyUsers = 0x80000003u,
};

// Reads the string value `SubKeyRef` of `KeyRoot`\`KeyName` into `KeyVal`.
// False, with `KeyVal` empty, when the key or value is missing, the value is
// not a string, or the platform has no registry. Reads only, so no
// administrator rights are needed.
bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

struct SysInfoSystem {
    // A string value under HKEY_LOCAL_MACHINE (GetKeyValue by default).
    std::function<bool(const QString& keyName, const QString& valueName, QString& value)> ReadMachineKey;
    std::function<bool(const QString& path)> FileExists;
    // Full path of the program `name` on the search path; "" when absent.
    std::function<QString(const QString& name)> FindProgram;
    // Starts `program` in a process of its own; false when it cannot start.
    std::function<bool(const QString& program)> StartProgram;
};

// The real registry, file system, search path and process start.
SysInfoSystem DefaultSysInfoSystem();
// What StartSysInfo uses; tests install their own and restore with Reset.
const SysInfoSystem& CurrentSysInfoSystem();
void SetSysInfoSystem(SysInfoSystem system);
void ResetSysInfoSystem();

// The registry route: "PATH" under Shared Tools\MSINFO is the full path;
// otherwise "MSINFO" under Shared Tools Location is a folder that must hold
// MSINFO32.EXE. "" when neither leads to a file.
QString LocateRegisteredSysInfo(const SysInfoSystem& system);

// Programs tried on the search path, in order.
QStringList SysInfoProgramNames();
// The first of SysInfoProgramNames found by FindProgram; "" when none.
QString LocateSysInfoOnPath(const SysInfoSystem& system);

// The route of this platform.
QString LocateSysInfoTool(const SysInfoSystem& system);

// Locates and starts the tool; false when it is not found or does not start.
bool LaunchSysInfoTool(const SysInfoSystem& system);
