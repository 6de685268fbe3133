// The drawing surface's two block copies: the buffer copy (whole rows only,
// as many as the buffer, the lines asked for and the surface allow; every
// pixel opaque) and the block transfer between surfaces (clipped at every
// edge of either surface); the area each drawing reports as changed, which a
// picture on screen shows again.
#include "gfx/Canvas.h"

#include <QtTest>

#include <cstdint>
#include <vector>

namespace {
// A surface whose every pixel differs.
Canvas Numbered(int w, int h, std::uint32_t base)
{
    Canvas c(w, h);
    std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = base + std::uint32_t(i);
    c.setPixels(pixels.data(), std::int64_t(pixels.size()), h);
    return c;
}
}

class TestCanvas : public QObject {
    Q_OBJECT

private slots:
    void setPixelsCopiesWholeRows_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("copied");
        QTest::newRow("all of a 64 x 64 picture") << 64 << 11907 << 64 << 64;
        QTest::newRow("odd width") << 37 << 37 * 20 << 20 << 20;
        QTest::newRow("fewer lines asked") << 64 << 11907 << 10 << 10;
        QTest::newRow("more lines than the surface") << 64 << 11907 << 500 << 64;
        QTest::newRow("buffer ends inside a row") << 64 << 64 * 5 + 63 << 64 << 5;
        QTest::newRow("buffer shorter than a row") << 64 << 63 << 64 << 0;
        QTest::newRow("no lines") << 64 << 11907 << 0 << 0;
        QTest::newRow("negative lines") << 64 << 11907 << -3 << 0;
        QTest::newRow("negative count") << 64 << -1 << 64 << 0;
    }
    void setPixelsCopiesWholeRows()
    {
        QFETCH(int, width);
        QFETCH(int, count);
        QFETCH(int, lines);
        QFETCH(int, copied);
        const int height = 64;
        std::vector<std::uint32_t> pixels(std::size_t(std::max(count, 0)));
        // The top byte is not part of the colour: every copied pixel is opaque.
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = (i % 3 == 0 ? 0xAB000000u : 0u) | std::uint32_t(i * 2654435761u & 0xFFFFFFu);
        Canvas c(width, height);
        QCOMPARE(c.setPixels(pixels.data(), count, lines), copied);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb expected = y < copied ? (pixels[std::size_t(y * width + x)] | 0xFF000000u) : 0xFF000000u;
                if (c.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
    }

    void blitClipsAtEveryEdge_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        QTest::newRow("a cell of the level view") << 128 << 64 << 64 << 64 << 0 << 0;
        QTest::newRow("the last cell") << 448 << 320 << 64 << 64 << 0 << 0;
        QTest::newRow("past the right and bottom") << 480 << 360 << 64 << 64 << 0 << 0;
        QTest::newRow("left of and above the target") << -10 << -20 << 64 << 64 << 0 << 0;
        QTest::newRow("from inside the source") << 5 << 7 << 30 << 20 << 20 << 30;
        QTest::newRow("source offset negative") << 50 << 50 << 64 << 64 << -8 << -4;
        QTest::newRow("past the source") << 0 << 0 << 100 << 100 << 40 << 40;
        QTest::newRow("nothing left") << 600 << 0 << 64 << 64 << 0 << 0;
        QTest::newRow("zero size") << 10 << 10 << 0 << 5 << 0 << 0;
    }
    void blitClipsAtEveryEdge()
    {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, sx);
        QFETCH(int, sy);
        const Canvas source = Numbered(64, 64, 0x100000);
        Canvas target = Numbered(512, 384, 0x800000);
        const QImage before = target.image();
        target.blit(dx, dy, w, h, source, sx, sy);
        // Pixel by pixel: a target pixel takes the source pixel at the same
        // place of the block when both lie inside their surfaces.
        for (int y = 0; y < 384; ++y)
            for (int x = 0; x < 512; ++x) {
                const int bx = x - dx, by = y - dy;
                const int px = sx + bx, py = sy + by;
                const bool inBlock = bx >= 0 && by >= 0 && bx < w && by < h;
                const bool inSource = px >= 0 && py >= 0 && px < 64 && py < 64;
                const QRgb expected = inBlock && inSource ? source.pixel(px, py) : before.pixel(x, y);
                if (target.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
    }

    void blitLeavesACopyOfTheImageAlone()
    {
        const Canvas source = Numbered(64, 64, 0x100000);
        Canvas target(64, 64);
        const QImage kept = target.image();   // shares the pixels until written
        target.blit(0, 0, 64, 64, source);
        QCOMPARE(target.image(), source.image());
        QCOMPARE(kept, Canvas(64, 64).image());
    }

    // Every drawing reports an area that holds every pixel it changed, and
    // not much more: a picture shows only that area again.
    void drawingsReportTheAreaTheyChanged_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("blit of one cell") << 0 << QRect(64, 128, 64, 64);
        QTest::newRow("blit clipped at the right edge") << 1 << QRect(480, 0, 32, 64);
        QTest::newRow("blit wholly outside") << 2 << QRect();
        QTest::newRow("fill") << 3 << QRect(10, 20, 30, 40);
        QTest::newRow("line across") << 4 << QRect(0, 63, 513, 1);
        QTest::newRow("text in a box") << 5 << QRect(100, 100, 60, 20);
        QTest::newRow("two rows of pixels") << 6 << QRect(0, 0, 512, 2);
        QTest::newRow("clear") << 7 << QRect(0, 0, 512, 384);
    }

    void drawingsReportTheAreaTheyChanged()
    {
        QFETCH(int, kind);
        QFETCH(QRect, expected);
        Canvas view = Numbered(512, 384, 0x100000);
        const Canvas cell = Numbered(64, 64, 0x800000);
        const std::vector<std::uint32_t> rows(1024, 0x00FF00u);
        view.takeChangedArea();
        const QImage before = view.image();
        switch (kind) {
        case 0: view.blit(64, 128, 64, 64, cell); break;
        case 1: view.blit(480, 0, 64, 64, cell); break;
        case 2: view.blit(600, 0, 64, 64, cell); break;
        case 3: view.fill(10, 20, 30, 40, 0xFFFFFF); break;
        case 4: view.line(0, 63, 512, 63, 0xFFFFFF); break;
        case 5: view.text(100, 100, 60, 20, QStringLiteral("Room 0F"), 0xFFFFFF, 12); break;
        case 6: view.setPixels(rows.data(), std::int64_t(rows.size()), 2); break;
        case 7: view.clear(); break;
        }
        const QRect area = view.takeChangedArea();
        QVERIFY2(expected.isEmpty() ? area.isEmpty() : expected.contains(area),
                 qPrintable(QStringLiteral("reported %1,%2 %3x%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())));
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                if (view.pixel(x, y) != before.pixel(x, y))
                    QVERIFY2(area.contains(x, y), qPrintable(QStringLiteral("pixel %1,%2 changed outside").arg(x).arg(y)));
        // Taken once: the next call reports nothing until something is drawn.
        QVERIFY(view.takeChangedArea().isEmpty());
    }
};

QTEST_MAIN(TestCanvas)
#include "test_canvas.moc"
