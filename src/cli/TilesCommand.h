#pragma once
// vorned-cli tiles export IMAGE --zone N -o tiles.png
// vorned-cli tiles import IMAGE --zone N tiles.png
#include "CliCommands.h"

extern const CliCommand TilesCommand;
