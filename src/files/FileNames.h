#pragma once
// File names as the bytes they are. A name the system hands over (a
// command-line argument, a folder entry) need not be valid UTF-8; decoding it
// keeps every byte that is not part of a valid sequence as one code unit
// U+DC80..U+DCFF, and encoding gives those bytes back, so the name always
// reaches the system exactly as it came.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// Bytes -> text; valid UTF-8 decodes as usual, other bytes become U+DC80 + byte - 0x80.
QString DecodeFileName(const QByteArray& bytes);

// Text -> the bytes to hand to the system. Nothing for a name that no file
// can have: empty, containing NUL, or holding a lone surrogate that stands
// for no byte.
std::optional<QByteArray> EncodeFileName(QStringView name);

// True when the name holds bytes that are not valid UTF-8 (escaped units).
bool HasRawBytes(QStringView name);

// A name as it may be shown on one line: control and direction-changing
// characters become "?", raw bytes "\xNN".
QString DisplayName(const QString& name);

// "-" and the names of the standard input descriptor ("/dev/stdin",
// "/dev/fd/0", "/proc/self/fd/0").
bool IsStandardInputName(QStringView name);
