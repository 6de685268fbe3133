#pragma once
// The editor's program-wide state: the image in memory, where it came from,
// where each zone's data lies, and the zone chosen last. These live for the
// whole run; the core routines take them as parameters, the windows use these.
#include "rom/RomBytes.h"
#include "rom/ZoneTable.h"

#include <QString>
#include <cstdint>
#include <vector>

extern RomBytes RomImage;
extern QString RomFileName;
extern ZoneTableArray ZoneTable;
extern std::int16_t CurrentZone;
// What of the open image's zone data lies outside it (CheckZones).
extern std::vector<ZoneProblem> ZoneTableProblems;

// Puts every program-wide value back to its start state (used by tests).
void ResetProgramState();
