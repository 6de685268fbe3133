#pragma once
// The colour scheme of the menus drawn by the program, looked up by name.
#include <QColor>
#include <QString>

// Colour named `name`, compared without regard to case. "menubg" is the
// platform's menu colour; a name not in the scheme gives black.
QColor SchemeColour(const QString& name);
