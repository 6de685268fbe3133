#pragma once
// Program title and version as the windows show them (VornEd, 0.3).
#include <QString>

constexpr int AppVersionMajor = 0;
constexpr int AppVersionMinor = 3;

// "VornEd"
inline QString AppProgramTitle() { return QStringLiteral("VornEd"); }

// "0.3": major, ".", minor, in plain decimal.
inline QString AppVersionText()
{
    return QString::number(AppVersionMajor) + QLatin1Char('.') + QString::number(AppVersionMinor);
}
