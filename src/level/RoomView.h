#pragma once
// The level view of one room: 8 x 6 metatile cells of 64 x 64 pixels.
#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"

#include <QString>

// Draws room `room` of the level's zone into `view` (512 x 384): each
// metatile is decoded into `scratch` (64 x 64) and copied to its cell. A room
// pointer or layout byte outside the image gives that cell the "no data"
// pattern.
void DrawRoom(const LevelContext& level, int room, Canvas& scratch, Canvas& view);

// "Room: " and the room number in upper-case hexadecimal, at least two digits.
QString RoomText(int room);
