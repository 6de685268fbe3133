#pragma once
// vorned-cli password encode ... / password decode PASSWORD: the game's
// passwords through the editor's codec.
#include "CliCommands.h"

#include "password/PasswordSettings.h"

#include <QString>

extern const CliCommand PasswordCommand;

// The settings in the flag form that "password encode" takes:
// "--sector 3 --rations 1 --expert --progress 0,0,0,0,0,0 --gained 0,0,0,0,0,0"
// (--expert only when set; sector counted from 1).
QString SettingsToFlags(const PasswordSettings& settings);
