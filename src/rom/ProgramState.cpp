#include "rom/ProgramState.h"

RomBytes RomImage;
QString RomFileName;
ZoneTableArray ZoneTable{};
std::int16_t CurrentZone = 0;
std::vector<ZoneProblem> ZoneTableProblems;

void ResetProgramState()
{
    RomImage = RomBytes();
    RomFileName.clear();
    ZoneTable = ZoneTableArray{};
    CurrentZone = 0;
    ZoneTableProblems.clear();
}
