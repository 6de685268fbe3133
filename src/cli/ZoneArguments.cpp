#include "ZoneArguments.h"

#include "files/FileWriter.h"
#include "rom/ZoneTable.h"

int ZoneLastRoom(int zone)
{
    return ZoneConstantsTable[static_cast<std::size_t>(zone - 1)].LastRoom;
}

bool SameFile(const QString& a, const QString& b)
{
    return SameExistingFile(a, b);
}
