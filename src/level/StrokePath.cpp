#include "level/StrokePath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// A coordinate rounded half to even lands in cell c when it lies in
// [64c - 0.5, 64c + 63.5): 64c - 0.5 rounds to the even 64c. The edge cells
// reach to the view's edges.
int CellOf(double v, int cells)
{
    const int c = int(std::floor((v + 0.5) / CellSize));
    return std::clamp(c, 0, cells - 1);
}

// Where the boundary between cells c - 1 and c lies.
double Boundary(int c)
{
    return double(c) * CellSize - 0.5;
}

// Clips the segment p0 + t (p1 - p0), t in [0, 1], to the closed rectangle
// of the view (Liang-Barsky); false when it misses it.
bool Clip(double x0, double y0, double dx, double dy, double& t0, double& t1)
{
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, LevelViewWidth - x0, y0, LevelViewHeight - y0};
    t0 = 0;
    t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}
}

std::vector<RoomCell> StrokeSegmentCells(double x0, double y0, double x1, double y1)
{
    std::vector<RoomCell> cells;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return cells;
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0, t1 = 1;
    if (!Clip(x0, y0, dx, dy, t0, t1))
        return cells;
    // The right and bottom edges are the first pixels past the view: a
    // segment that only touches them misses it.
    const double ax = t0 == 0 ? x0 : x0 + t0 * dx, ay = t0 == 0 ? y0 : y0 + t0 * dy;
    const double bx = t1 == 1 ? x1 : x0 + t1 * dx, by = t1 == 1 ? y1 : y0 + t1 * dy;
    if ((ax >= LevelViewWidth && bx >= LevelViewWidth) || (ay >= LevelViewHeight && by >= LevelViewHeight))
        return cells;

    int column = CellOf(ax, RoomColumns), row = CellOf(ay, RoomRows);
    const int stepX = dx > 0 ? 1 : dx < 0 ? -1 : 0;
    const int stepY = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    constexpr double Never = std::numeric_limits<double>::infinity();
    for (;;) {
        cells.push_back({column, row});
        // The parameter at which the segment crosses into the next column
        // and the next row; the crossings are computed from the segment's own
        // start, so equal crossings (a corner) come out exactly equal.
        double tx = Never, ty = Never;
        if (stepX > 0 && column < RoomColumns - 1)
            tx = (Boundary(column + 1) - x0) / dx;
        else if (stepX < 0 && column > 0)
            tx = (Boundary(column) - x0) / dx;
        if (stepY > 0 && row < RoomRows - 1)
            ty = (Boundary(row + 1) - y0) / dy;
        else if (stepY < 0 && row > 0)
            ty = (Boundary(row) - y0) / dy;
        // A boundary belongs to the cell after it (right, below): moving
        // right or down the segment is in the next cell on reaching it,
        // moving left or up only once past it.
        const bool crossX = stepX > 0 ? tx <= t1 : tx < t1;
        const bool crossY = stepY > 0 ? ty <= t1 : ty < t1;
        if (!crossX && !crossY)
            break;
        const double t = std::min(crossX ? tx : Never, crossY ? ty : Never);
        if (crossX && tx == t)
            column += stepX;
        if (crossY && ty == t)
            row += stepY;
    }
    return cells;
}
