#pragma once
// vorned-cli demo OUT.nes: writes the demo cartridge image.
#include <QStringList>
#include <QTextStream>

int RunDemoCommand(const QStringList& args, QTextStream& out, QTextStream& err);
