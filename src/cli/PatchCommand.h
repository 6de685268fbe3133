#pragma once
// vorned-cli patch create ORIGINAL MODIFIED -o OUT [--format ips|bps]
// vorned-cli patch apply PATCH IMAGE [-o OUT] [--force]
// vorned-cli patch info PATCH [IMAGE]
#include "CliCommands.h"

extern const CliCommand PatchCommand;
