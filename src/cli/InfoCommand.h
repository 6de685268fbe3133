#pragma once
// vorned-cli info IMAGE: the zone table, every zone block that lies
// outside the image, and the bytes the demo cartridge's program occupies.
#include "CliCommands.h"

#include "demo/DemoProgram.h"
#include "rom/ZoneTable.h"

#include <QString>

extern const CliCommand InfoCommand;

// The line of zone slot `slot` (0..6) as info prints it. Offsets that
// could not be read (NoOffset) print as -1.
QString ZoneLine(int slot, const ZoneInfo& zone);

// The line info prints for one problem.
QString ProblemLine(const ZoneProblem& problem);

// The line info prints when the image holds the demo cartridge's program
// (at least half of its bytes as the demo has them): where its code and
// vectors lie, and how many of its bytes differ when some do.
QString ProgramLine(const demo::ViewerMatch& match);
