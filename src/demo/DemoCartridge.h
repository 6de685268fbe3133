#pragma once
// A complete cartridge image made by our own code, laid out as the editor
// expects the game's image: seven zones with their headers, metatiles,
// rooms, palettes and tiles, and a program that shows the rooms on a
// console or in an emulator (DemoProgram.h). Used for trying the editor and
// by the tests.
#include "rom/RomBytes.h"

#include <cstdint>

// 16-byte header plus sixteen 16 KB program banks.
constexpr std::int64_t DemoCartridgeSize = 16 + 16 * 0x4000;

// The same bytes on every call.
RomBytes MakeDemoCartridge();
