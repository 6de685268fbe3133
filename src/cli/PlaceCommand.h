#pragma once
// vorned-cli place IMAGE --zone N --room R --col C --row W --metatile M
#include "CliCommands.h"

extern const CliCommand PlaceCommand;
