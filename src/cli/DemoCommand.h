#pragma once
// vorned-cli demo OUT.nes: writes the demo cartridge image.
#include "CliCommands.h"

extern const CliCommand DemoCommand;
