#include "gfx/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

Canvas::Canvas(int width, int height)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32)
{
    clear();
}

void Canvas::clear()
{
    m_image.fill(QColor(0, 0, 0));
}

void Canvas::blit(int dx, int dy, int w, int h, const Canvas& source, int sx, int sy)
{
    // Clip against the source and the destination.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, source.width() - sx, width() - dx});
    h = std::min({h, source.height() - sy, height() - dy});
    if (w <= 0 || h <= 0)
        return;
    for (int row = 0; row < h; ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(source.m_image.constScanLine(sy + row)) + sx;
        auto* to = reinterpret_cast<QRgb*>(m_image.scanLine(dy + row)) + dx;
        std::memmove(to, from, static_cast<std::size_t>(w) * sizeof(QRgb));
    }
}

void Canvas::line(int x1, int y1, int x2, int y2, QRgb colour)
{
    // Bresenham; the last point is not drawn, as with the platform's LineTo.
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    const QRgb c = colour | 0xFF000000u;
    while (x != x2 || y != y2) {
        if (x >= 0 && y >= 0 && x < width() && y < height())
            reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = c;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

int Canvas::setPixels(const std::uint32_t* pixels, std::int64_t count, int lines)
{
    const int w = width();
    lines = std::min(lines, height());
    int copied = 0;
    for (int row = 0; row < lines; ++row) {
        const std::int64_t first = static_cast<std::int64_t>(row) * w;
        if (first + w > count)
            break;
        auto* to = reinterpret_cast<QRgb*>(m_image.scanLine(row));
        for (int x = 0; x < w; ++x)
            to[x] = pixels[first + x] | 0xFF000000u;
        ++copied;
    }
    return copied;
}

void Canvas::refresh() const
{
    if (m_onRefresh)
        m_onRefresh();
}
