#pragma once
// Facts about zones and files that the commands check their arguments with.
#include <QString>

// The last room number of zone 1..7 (as the editor numbers rooms, from 0).
int ZoneLastRoom(int zone);

// True when both paths lead to the same existing file (also through a
// symbolic or hard link).
bool SameFile(const QString& a, const QString& b);
