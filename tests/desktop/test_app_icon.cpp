// The program's icon: the same picture at every installed size, with crisp
// squares, and a scalable version that shows exactly the same squares.
#include "desktop/AppIcon.h"

#include <QColor>
#include <QImage>
#include <QXmlStreamReader>
#include <QtTest>

class TestAppIcon : public QObject {
    Q_OBJECT
private slots:
    void everySizeIsTheGridScaledUp_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : AppIconSizes())
            QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
    }
    void everySizeIsTheGridScaledUp()
    {
        QFETCH(int, size);
        const QImage grid = DrawAppIcon(AppIconGrid);
        const QImage icon = DrawAppIcon(size);
        QCOMPARE(icon.size(), QSize(size, size));
        QCOMPARE(size % AppIconGrid, 0);
        const int square = size / AppIconGrid;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (icon.pixel(x, y) != grid.pixel(x / square, y / square))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is not its square's colour").arg(x).arg(y)));
    }

    void pictureHasTransparentCornersAndAnOpaqueBody()
    {
        const QImage grid = DrawAppIcon(AppIconGrid);
        QCOMPARE(qAlpha(grid.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(grid.pixel(15, 15)), 0);
        int opaque = 0;
        for (int y = 0; y < AppIconGrid; ++y)
            for (int x = 0; x < AppIconGrid; ++x)
                opaque += qAlpha(grid.pixel(x, y)) == 255;
        QCOMPARE(opaque, AppIconGrid * AppIconGrid - 4);
    }

    void scalableIconShowsTheSameSquares()
    {
        QXmlStreamReader svg(AppIconSvg());
        QImage drawn(AppIconGrid, AppIconGrid, QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        int rects = 0;
        bool root = false;
        while (!svg.atEnd()) {
            if (svg.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes a = svg.attributes();
            if (svg.name() == QLatin1String("svg")) {
                root = true;
                QCOMPARE(a.value(QLatin1String("viewBox")).toString(), QStringLiteral("0 0 16 16"));
            } else if (svg.name() == QLatin1String("rect")) {
                ++rects;
                const int x = a.value(QLatin1String("x")).toInt(), y = a.value(QLatin1String("y")).toInt();
                const int w = a.value(QLatin1String("width")).toInt(), h = a.value(QLatin1String("height")).toInt();
                const QColor colour(a.value(QLatin1String("fill")).toString());
                QVERIFY(colour.isValid());
                for (int dy = 0; dy < h; ++dy)
                    for (int dx = 0; dx < w; ++dx)
                        drawn.setPixel(x + dx, y + dy, colour.rgba());
            }
        }
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QVERIFY(root);
        QVERIFY(rects > 0);
        QCOMPARE(drawn, DrawAppIcon(AppIconGrid));
    }
};

QTEST_GUILESS_MAIN(TestAppIcon)
#include "test_app_icon.moc"
