#include "gfx/Canvas.h"

#include "gfx/CpuFeatures.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
// Copies n packed 0x00RRGGBB pixels as opaque QImage pixels.
void OpaqueCopy(QRgb* to, const std::uint32_t* from, int n)
{
    for (int x = 0; x < n; ++x)
        to[x] = from[x] | 0xFF000000u;
}

#ifdef VORNED_HAVE_AVX2_PATH
// The same loop, vectorised 32 bytes wide.
__attribute__((target("avx2"))) void OpaqueCopyAvx2(QRgb* to, const std::uint32_t* from, int n)
{
    for (int x = 0; x < n; ++x)
        to[x] = from[x] | 0xFF000000u;
}
#endif
}

Canvas::Canvas(int width, int height)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32)
{
    clear();
}

void Canvas::clear()
{
    m_image.fill(QColor(0, 0, 0));
    changed(m_image.rect());
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
    // Both images are 32-bit; their rows are addressed once, not per row
    // (taking a writable row of a QImage checks its sharing every time).
    const qsizetype fromStride = source.m_image.bytesPerLine();
    const uchar* from = source.m_image.constBits() + sy * fromStride + sx * qsizetype(sizeof(QRgb));
    const qsizetype toStride = m_image.bytesPerLine();
    uchar* to = m_image.bits() + dy * toStride + dx * qsizetype(sizeof(QRgb));
    changed(QRect(dx, dy, w, h));
    const std::size_t bytes = static_cast<std::size_t>(w) * sizeof(QRgb);
    for (int row = 0; row < h; ++row, from += fromStride, to += toStride)
        std::memmove(to, from, bytes);
}

void Canvas::line(int x1, int y1, int x2, int y2, QRgb colour)
{
    // Bresenham; the last point is not drawn, as with the platform's LineTo.
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    const QRgb c = colour | 0xFF000000u;
    if (x1 != x2 || y1 != y2)
        changed(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
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
    // Only whole rows that the buffer holds are copied.
    lines = static_cast<int>(std::min<std::int64_t>(lines, std::max<std::int64_t>(count, 0) / w));
    if (lines <= 0)
        return 0;
    changed(QRect(0, 0, w, lines));
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int row = 0; row < lines; ++row) {
        const std::uint32_t* from = pixels + static_cast<std::int64_t>(row) * w;
        auto* to = reinterpret_cast<QRgb*>(bits + row * stride);
#ifdef VORNED_HAVE_AVX2_PATH
        if (CpuHasAvx2()) {
            OpaqueCopyAvx2(to, from, w);
            continue;
        }
#endif
        OpaqueCopy(to, from, w);
    }
    return lines;
}

void Canvas::fill(int x, int y, int w, int h, QRgb colour)
{
    const QRect area = QRect(x, y, w, h).intersected(m_image.rect());
    const QRgb c = colour | 0xFF000000u;
    changed(area);
    for (int row = area.top(); row <= area.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(row));
        std::fill(line + area.left(), line + area.left() + area.width(), c);
    }
}

void Canvas::text(int x, int y, int w, int h, const QString& text, QRgb colour, int pixelSize)
{
    changed(QRect(x, y, w, h));
    QPainter painter(&m_image);
    QFont font = painter.font();
    font.setPixelSize(std::max(pixelSize, 1));
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(colour | 0xFF000000u));
    painter.drawText(QRect(x, y, w, h), Qt::AlignCenter | Qt::TextSingleLine, text);
}

QRect Canvas::takeChangedArea()
{
    return std::exchange(m_changed, QRect());
}

void Canvas::refresh() const
{
    if (m_onRefresh)
        m_onRefresh();
}
