#pragma once
// The level view of one room: 8 x 6 metatile cells of 64 x 64 pixels.
#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"

#include <QString>

#include <cstdint>

// Draws room `room` of the level's zone into `view` (512 x 384): each
// metatile is decoded into `scratch` (64 x 64) and copied to its cell. A room
// pointer or layout byte outside the image gives that cell the "no data"
// pattern.
void DrawRoom(const LevelContext& level, int room, Canvas& scratch, Canvas& view);

// The same at any scale: cells of 32 x scale pixels, `scratch` at least that
// size and `view` 8 x 6 cells. Scale 1 is the console's own size (256 x 192),
// the room as the demo cartridge's program shows it on screen.
void DrawRoom(const LevelContext& level, int room, std::uint8_t scale, Canvas& scratch, Canvas& view);

// "Room: " and the room number in upper-case hexadecimal, at least two digits.
QString RoomText(int room);
