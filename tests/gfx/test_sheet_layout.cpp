// The cell under a pointer position on a sheet and the frame of a selected
// cell: every side of the frame inside its cell, nothing outside it.
#include "gfx/Grid.h"

#include <QtTest>

class TestSheetLayout : public QObject {
    Q_OBJECT
private slots:
    void cellAt_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("cell");
        QTest::newRow("first pixel") << 0.0 << 0.0 << 0;
        QTest::newRow("last pixel of cell 0") << 31.0 << 31.0 << 0;
        QTest::newRow("next column") << 32.0 << 0.0 << 1;
        QTest::newRow("half rounds to even, down") << 32.5 << 0.0 << 1;
        QTest::newRow("half rounds to even, up") << 31.5 << 0.0 << 1;
        QTest::newRow("second row") << 0.0 << 32.0 << 16;
        QTest::newRow("last cell") << 511.0 << 511.0 << 255;
        QTest::newRow("rounding past the edge stays in it") << 511.6 << 511.6 << 255;
        QTest::newRow("left of the sheet") << -0.5 << 4.0 << -1;
        QTest::newRow("below the sheet") << 4.0 << 512.0 << -1;
        QTest::newRow("not a number") << qQNaN() << 4.0 << -1;
    }
    void cellAt()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, cell);
        const SheetLayout sheet{16, 16, 32, 32};
        QCOMPARE(sheet.cellAt(x, y), cell);
    }

    void unevenCells()
    {
        const SheetLayout rooms{6, 6, 132, 110};
        QCOMPARE(rooms.width(), 792);
        QCOMPARE(rooms.cellAt(131, 109), 0);
        QCOMPARE(rooms.cellAt(132, 109), 1);
        QCOMPARE(rooms.cellAt(131, 110), 6);
        QCOMPARE(rooms.cellX(13), 132);
        QCOMPARE(rooms.cellY(13), 220);
    }

    void frameStaysInsideItsCell()
    {
        Canvas picture(96, 96);
        picture.clear();
        DrawSelectionFrame(picture, 32, 32, 32, 32);
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x) {
                const bool inside = x >= 32 && x < 64 && y >= 32 && y < 64;
                const bool ring = inside && (x < 35 || x > 60 || y < 35 || y > 60);
                const QRgb expected = !ring ? 0xFF000000u
                                    : (x == 33 || x == 62 || y == 33 || y == 62) && x >= 33 && x <= 62 && y >= 33 && y <= 62
                                        ? 0xFFFFFFFFu
                                        : 0xFF000000u;
                QCOMPARE(picture.pixel(x, y), expected);
            }
    }
};

QTEST_APPLESS_MAIN(TestSheetLayout)
#include "test_sheet_layout.moc"
