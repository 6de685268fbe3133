#pragma once
// The system's own sentence for an error number ("No space left on device").
#include <QString>

QString SystemReason(int errorNumber);
