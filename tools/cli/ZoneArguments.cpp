#include "ZoneArguments.h"

#include "rom/ZoneTable.h"

#include <QFileInfo>

int ZoneLastRoom(int zone)
{
    return ZoneConstantsTable[static_cast<std::size_t>(zone - 1)].LastRoom;
}

bool SameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}
