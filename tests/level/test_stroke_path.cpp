// The cells a drag passes through between two pointer positions, and the
// stroke that collects them: a table of segments against the cells expected,
// in order, plus properties every segment must have.
#include "level/PaintStroke.h"
#include "level/StrokePath.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(std::vector<RoomCell>)

namespace {
// "0,0 1,0 2,1" -> the cells.
std::vector<RoomCell> Cells(const char* text)
{
    std::vector<RoomCell> cells;
    for (const QString& pair : QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList p = pair.split(QLatin1Char(','));
        cells.push_back({p[0].toInt(), p[1].toInt()});
    }
    return cells;
}

QString Text(const std::vector<RoomCell>& cells)
{
    QStringList parts;
    for (const RoomCell& c : cells)
        parts << QStringLiteral("%1,%2").arg(c.Column).arg(c.Row);
    return parts.join(QLatin1Char(' '));
}

struct Lcg {
    std::uint32_t state;
    double next(double range)
    {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24) * range;
    }
};
}

class TestStrokePath : public QObject {
    Q_OBJECT

private slots:
    void segmentCells_data()
    {
        QTest::addColumn<double>("x0");
        QTest::addColumn<double>("y0");
        QTest::addColumn<double>("x1");
        QTest::addColumn<double>("y1");
        QTest::addColumn<std::vector<RoomCell>>("expected");

        // Slow moves: within one cell, into the next.
        QTest::newRow("within a cell") << 10.0 << 10.0 << 20.0 << 30.0 << Cells("0,0");
        QTest::newRow("no move") << 300.0 << 200.0 << 300.0 << 200.0 << Cells("4,3");
        QTest::newRow("into the next column") << 60.0 << 10.0 << 70.0 << 10.0 << Cells("0,0 1,0");
        QTest::newRow("into the row above") << 100.0 << 66.0 << 100.0 << 60.0 << Cells("1,1 1,0");
        // Fast moves skip no cell.
        QTest::newRow("fast across a row") << 5.0 << 100.0 << 505.0 << 100.0 << Cells("0,1 1,1 2,1 3,1 4,1 5,1 6,1 7,1");
        QTest::newRow("fast back across a row") << 505.0 << 100.0 << 5.0 << 100.0
                                                << Cells("7,1 6,1 5,1 4,1 3,1 2,1 1,1 0,1");
        QTest::newRow("fast down a column") << 200.0 << 5.0 << 200.0 << 380.0 << Cells("3,0 3,1 3,2 3,3 3,4 3,5");
        // Diagonals: a shallow one steps along, one through the corners goes
        // corner to corner, one just beside a corner takes the side cell.
        QTest::newRow("shallow diagonal") << 10.0 << 10.0 << 250.0 << 100.0 << Cells("0,0 1,0 2,0 2,1 3,1");
        QTest::newRow("shallow diagonal back") << 250.0 << 100.0 << 10.0 << 10.0 << Cells("3,1 2,1 2,0 1,0 0,0");
        QTest::newRow("45 degrees through corners") << 0.0 << 0.0 << 383.0 << 383.0 << Cells("0,0 1,1 2,2 3,3 4,4 5,5");
        QTest::newRow("through a corner, steep") << 31.5 << 0.0 << 95.5 << 127.0 << Cells("0,0 1,1");
        QTest::newRow("through a corner, back") << 95.5 << 127.0 << 31.5 << 0.0 << Cells("1,1 0,0");
        QTest::newRow("beside a corner") << 60.0 << 60.0 << 70.0 << 68.0 << Cells("0,0 1,0 1,1");
        QTest::newRow("up and right") << 10.0 << 370.0 << 140.0 << 250.0 << Cells("0,5 1,5 1,4 2,4 2,3");
        // Cell boundaries lie where rounding half to even changes the cell:
        // 63.5 is column 1, 63.4 column 0.
        QTest::newRow("onto a boundary") << 10.0 << 10.0 << 63.5 << 10.0 << Cells("0,0 1,0");
        QTest::newRow("just short of a boundary") << 10.0 << 10.0 << 63.4 << 10.0 << Cells("0,0");
        QTest::newRow("back onto a boundary") << 100.0 << 10.0 << 63.5 << 10.0 << Cells("1,0");
        QTest::newRow("back past a boundary") << 63.5 << 10.0 << 63.4 << 10.0 << Cells("1,0 0,0");
        // Leaving and re-entering the view.
        QTest::newRow("leaving to the right") << 480.0 << 200.0 << 700.0 << 200.0 << Cells("7,3");
        QTest::newRow("coming back from the right") << 700.0 << 300.0 << 420.0 << 300.0 << Cells("7,4 6,4");
        QTest::newRow("leaving at the top") << 100.0 << 100.0 << 100.0 << -50.0 << Cells("1,1 1,0");
        QTest::newRow("starting outside, above") << 100.0 << -50.0 << 100.0 << 100.0 << Cells("1,0 1,1");
        QTest::newRow("starting outside, left") << -300.0 << 330.0 << 70.0 << 330.0 << Cells("0,5 1,5");
        QTest::newRow("crossing from outside to outside") << -100.0 << 32.0 << 600.0 << 32.0
                                                           << Cells("0,0 1,0 2,0 3,0 4,0 5,0 6,0 7,0");
        QTest::newRow("cutting the top-left corner") << -10.0 << 20.0 << 20.0 << -10.0 << Cells("0,0");
        QTest::newRow("entirely outside") << 600.0 << 10.0 << 700.0 << 300.0 << Cells("");
        QTest::newRow("outside, below") << 0.0 << 384.0 << 511.0 << 500.0 << Cells("");
        // Along the edges and into the corners.
        QTest::newRow("along the top edge") << 0.0 << 0.0 << 511.0 << 0.0 << Cells("0,0 1,0 2,0 3,0 4,0 5,0 6,0 7,0");
        QTest::newRow("along the right edge") << 511.0 << 0.0 << 511.0 << 383.0 << Cells("7,0 7,1 7,2 7,3 7,4 7,5");
        QTest::newRow("along the bottom edge") << 511.0 << 383.0 << 0.0 << 383.0
                                               << Cells("7,5 6,5 5,5 4,5 3,5 2,5 1,5 0,5");
        QTest::newRow("along the left edge") << 0.0 << 383.0 << 0.0 << 0.0 << Cells("0,5 0,4 0,3 0,2 0,1 0,0");
        QTest::newRow("last pixel rounds past the view") << 511.7 << 383.7 << 511.9 << 383.9 << Cells("7,5");
        QTest::newRow("just past the right edge") << 512.0 << 0.0 << 512.0 << 383.0 << Cells("");
        QTest::newRow("touching the right edge from outside") << 600.0 << 10.0 << 512.0 << 10.0 << Cells("");
        QTest::newRow("into the bottom-right corner") << 300.0 << 200.0 << 900.0 << 600.0 << Cells("4,3 5,3 5,4 6,4 7,4 7,5");
        // Positions that are no numbers paint nothing.
        QTest::newRow("not a number") << std::nan("") << 10.0 << 20.0 << 20.0 << Cells("");
        QTest::newRow("infinite") << 10.0 << 10.0 << std::numeric_limits<double>::infinity() << 10.0 << Cells("");
    }
    void segmentCells()
    {
        QFETCH(double, x0);
        QFETCH(double, y0);
        QFETCH(double, x1);
        QFETCH(double, y1);
        QFETCH(std::vector<RoomCell>, expected);
        QCOMPARE(Text(StrokeSegmentCells(x0, y0, x1, y1)), Text(expected));
    }

    // For any two points in the view: the ends are the cells a click there
    // hits, each step goes to a neighbouring cell (sides or corners) in the
    // direction of the move, no cell comes twice, and the path is as short
    // as the cells allow.
    void segmentsBetweenPointsInTheView()
    {
        Lcg random{12345};
        for (int i = 0; i < 20000; ++i) {
            const double x0 = random.next(512), y0 = random.next(384);
            // Short moves and long ones.
            const double reach = i % 2 ? 512 : 80;
            const double x1 = std::clamp(x0 + random.next(2 * reach) - reach, 0.0, 511.9);
            const double y1 = std::clamp(y0 + random.next(2 * reach) - reach, 0.0, 383.9);
            const std::vector<RoomCell> cells = StrokeSegmentCells(x0, y0, x1, y1);
            const QString what = QStringLiteral("(%1, %2) -> (%3, %4): %5").arg(x0).arg(y0).arg(x1).arg(y1).arg(Text(cells));
            QVERIFY2(!cells.empty(), qPrintable(what));
            const RoomCell first = RoomCellAt(x0, y0), last = RoomCellAt(x1, y1);
            QVERIFY2(cells.front() == first, qPrintable(what));
            QVERIFY2(cells.back() == last, qPrintable(what));
            const int dc = last.Column - first.Column, dr = last.Row - first.Row;
            QVERIFY2(int(cells.size()) <= std::abs(dc) + std::abs(dr) + 1, qPrintable(what));
            QVERIFY2(int(cells.size()) >= std::max(std::abs(dc), std::abs(dr)) + 1, qPrintable(what));
            for (std::size_t k = 1; k < cells.size(); ++k) {
                const int sc = cells[k].Column - cells[k - 1].Column, sr = cells[k].Row - cells[k - 1].Row;
                QVERIFY2(std::abs(sc) <= 1 && std::abs(sr) <= 1 && (sc || sr), qPrintable(what));
                QVERIFY2(sc == 0 || (sc > 0) == (dc > 0), qPrintable(what));
                QVERIFY2(sr == 0 || (sr > 0) == (dr > 0), qPrintable(what));
            }
        }
    }

    void strokeMeetsEachCellOnce()
    {
        PaintStroke stroke(7, 5, 0x2A, 10, 10);
        QCOMPARE(stroke.mergeKey(), std::uint64_t(7));
        // The press's cell is met already.
        QCOMPARE(Text(stroke.moveTo(30, 30)), QString());
        QCOMPARE(Text(stroke.moveTo(140, 30)), QStringLiteral("1,0 2,0"));
        // Back over cells met before, on to new ones.
        QCOMPARE(Text(stroke.moveTo(10, 100)), QStringLiteral("1,1 0,1"));
        QCOMPARE(Text(stroke.moveTo(10, 10)), QString());
        // Out of the view and back in elsewhere: the segments count from
        // where the pointer was last, outside or not.
        QCOMPARE(Text(stroke.moveTo(-40, 10)), QString());
        QCOMPARE(Text(stroke.moveTo(-40, 300)), QString());
        QCOMPARE(Text(stroke.moveTo(100, 300)), QStringLiteral("0,4 1,4"));
    }

    void strokeStepNames_data()
    {
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("metatile");
        QTest::addColumn<int>("changed");
        QTest::addColumn<QString>("name");
        QTest::newRow("one cell is a click") << 5 << 0x2A << 1 << QStringLiteral("Place Metatile 2A in Room 05");
        QTest::newRow("none yet") << 5 << 0x2A << 0 << QStringLiteral("Place Metatile 2A in Room 05");
        QTest::newRow("nine cells") << 5 << 0x2A << 9 << QStringLiteral("Paint 9 Cells in Room 05");
        QTest::newRow("a whole room") << 0x21 << 3 << 48 << QStringLiteral("Paint 48 Cells in Room 21");
    }
    void strokeStepNames()
    {
        QFETCH(int, room);
        QFETCH(int, metatile);
        QFETCH(int, changed);
        QFETCH(QString, name);
        QCOMPARE(PaintStroke(1, room, std::uint8_t(metatile), 0, 0).stepName(changed), name);
    }
};

QTEST_GUILESS_MAIN(TestStrokePath)
#include "test_stroke_path.moc"
