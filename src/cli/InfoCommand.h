#pragma once
// vorned-cli info IMAGE: the zone table and every zone block that lies
// outside the image.
#include "CliCommands.h"

#include "rom/ZoneTable.h"

#include <QString>

extern const CliCommand InfoCommand;

// The line of zone slot `slot` (0..6) as info prints it. Offsets that
// could not be read (NoOffset) print as -1.
QString ZoneLine(int slot, const ZoneInfo& zone);

// The line info prints for one problem.
QString ProblemLine(const ZoneProblem& problem);
