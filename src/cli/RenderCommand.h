#pragma once
// vorned-cli render IMAGE --zone N (--room R | --all [--scale 1] | --metatiles) -o OUT.png
#include "CliCommands.h"

extern const CliCommand RenderCommand;
