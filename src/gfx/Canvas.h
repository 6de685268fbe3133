#pragma once
// A drawing surface with a persistent image: what a picture on a window
// shows. Drawing goes into the image; refresh() tells whoever shows it.
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    // Fills the whole surface with the background colour (black).
    void clear();
    // Copies a w x h block of `source` at (sx, sy) to (dx, dy); parts that fall
    // outside either surface are skipped.
    void blit(int dx, int dy, int w, int h, const Canvas& source, int sx = 0, int sy = 0);
    // A straight line from (x1, y1) to (x2, y2), the end point excluded;
    // pixels outside the surface are not drawn.
    void line(int x1, int y1, int x2, int y2, QRgb colour);
    // Copies `lines` rows of width() packed 0x00RRGGBB pixels, top-down, into
    // the surface; returns the number of rows copied.
    int setPixels(const std::uint32_t* pixels, std::int64_t count, int lines);

    // Fills the w x h rectangle at (x, y) with `colour`; the part outside
    // the surface is skipped.
    void fill(int x, int y, int w, int h, QRgb colour);
    // Draws one line of text in `colour`, `pixelSize` pixels high, in the
    // application's font, centred in the w x h rectangle at (x, y).
    void text(int x, int y, int w, int h, const QString& text, QRgb colour, int pixelSize);

    QRgb pixel(int x, int y) const { return m_image.pixel(x, y); }

    // Shows the image again wherever it is displayed.
    void refresh() const;
    void setRefreshHandler(std::function<void()> handler) { m_onRefresh = std::move(handler); }
    // The part drawn on since the last call (empty when nothing was), so a
    // display can show just that part again.
    QRect takeChangedArea();

private:
    void changed(const QRect& area) { m_changed |= area.intersected(m_image.rect()); }

    QImage m_image;
    QRect m_changed;
    std::function<void()> m_onRefresh;
};
