#pragma once
// The cells a drag over the level view passes through. The pointer is
// sampled now and then; between two samples it is taken to move in a straight
// line, so a fast move still paints every cell it crosses.
#include "gfx/Metatile.h"
#include "level/RoomLayout.h"

#include <vector>

// Size of the level view in pixels.
constexpr int LevelViewWidth = RoomColumns * CellSize;
constexpr int LevelViewHeight = RoomRows * CellSize;

// The cells of the level view that the segment from (x0, y0) to (x1, y1)
// passes through, in the order the pointer meets them, each once; the cell
// under each end that lies in the view is included. Only the part of the
// segment inside the view (0 <= x < 512, 0 <= y < 384) counts, so a segment
// from outside starts where it enters and one that leaves stops at the edge.
// A point in the view lies in the cell RoomCellAt gives (a coordinate
// rounded half to even, then divided by 64). Where the segment runs exactly
// through the corner of four cells it goes on diagonally, into the cell
// beyond the corner, without the two beside it.
std::vector<RoomCell> StrokeSegmentCells(double x0, double y0, double x1, double y1);
