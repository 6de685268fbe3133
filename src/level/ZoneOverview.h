#pragma once
// The zone overview: every room of a zone as a thumbnail under its label
// ("Room 0F"), seven to a row in room order, the current room framed. A
// thumbnail is the room at half the game's size (128 x 96): each of its
// pixels is the average of the 2 x 2 game pixels it covers.
#include "gfx/Canvas.h"
#include "gfx/Grid.h"
#include "gfx/LevelContext.h"
#include "level/RoomLayout.h"

#include <QString>

constexpr int OverviewColumns = 7;
constexpr int OverviewThumbWidth = 128;
constexpr int OverviewThumbHeight = 96;
constexpr int OverviewThumbX = 4;    // the thumbnail's place within its cell
constexpr int OverviewThumbY = 16;
constexpr int OverviewLabelHeight = 13;
constexpr QRgb OverviewBackground = 0x202020;
constexpr QRgb OverviewLabelColour = 0xFFFFFF;

// Cells of 136 x 116 pixels, seven a row, rows enough for the zone with
// the most rooms.
SheetLayout ZoneOverviewLayout();

// "Room 0F".
QString OverviewRoomLabel(int room);

// Draws rooms 0 .. lastRoom of the level's zone into `sheet` (the layout's
// size), the cells past lastRoom empty, and frames `current`. Each metatile
// the rooms show is decoded by DrawMetatile into `scratch` (32 x 32) at the
// game's size once in the drawing, and its half-size picture copied to every
// cell that shows it.
void DrawZoneOverview(const LevelContext& level, int lastRoom, int current, Canvas& scratch, Canvas& sheet);

// Draws room `room`'s cell again: label, thumbnail, and the frame when `current`.
void DrawOverviewRoom(const LevelContext& level, int room, bool current, Canvas& scratch, Canvas& sheet);

// Draws one cell of room `room`'s thumbnail again (16 x 16 pixels).
void DrawOverviewCell(const LevelContext& level, int room, RoomCell cell, Canvas& scratch, Canvas& sheet);

// Draws or removes the frame around room `room`'s thumbnail.
void DrawOverviewFrame(Canvas& sheet, int room, bool current);
