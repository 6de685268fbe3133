#include "files/SystemReason.h"

#include <cstring>

QString SystemReason(int errorNumber)
{
    // The description itself, not the "Unknown error N" of numbers the
    // library does not know (errno is never 0 where this is called).
    if (const char* text = strerrordesc_np(errorNumber))
        return QString::fromLocal8Bit(text);
    return QStringLiteral("system error %1").arg(errorNumber);
}
