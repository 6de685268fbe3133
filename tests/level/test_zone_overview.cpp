// The zone overview: each room's thumbnail is the room as the level view
// draws it at half the game's size (each pixel the average of the 2 x 2 game
// pixels it covers), under its label, the current room framed around it.
#include "../fixtures/LevelFixture.h"
#include "gfx/Metatile.h"
#include "level/RoomView.h"
#include "level/ZoneOverview.h"

#include <QtTest>

namespace {
constexpr QRgb Background = 0xFF000000u | OverviewBackground;

// Thumbnail pixel (x, y) from the level view's picture of the room (scale
// 2: game pixel (u, v) is view pixel (2u, 2v)).
QRgb ThumbPixel(const QImage& view, int x, int y)
{
    int r = 2, g = 2, b = 2;
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            const QRgb p = view.pixel(4 * x + 2 * dx, 4 * y + 2 * dy);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
        }
    return qRgb(r / 4, g / 4, b / 4);
}

QImage LevelView(const LevelContext& level, int room)
{
    Canvas scratch(64, 64), view(512, 384);
    DrawRoom(level, room, scratch, view);
    return view.image();
}

struct Zone {
    RomBytes rom;
    ZoneTableArray zones{};
    explicit Zone(RomBytes image) : rom(std::move(image)) { BuildZoneTable(rom, zones); }
    LevelContext level(int zone) const { return LevelContext{rom, zones, zone}; }
};

// Compares room `room`'s thumbnail in `sheet` with the level view's picture,
// and its frame ring with the frame (current) or the background.
void CheckRoom(const Canvas& sheet, const LevelContext& level, int room, bool current)
{
    const SheetLayout layout = ZoneOverviewLayout();
    const QImage view = LevelView(level, room);
    const int tx = layout.cellX(room) + OverviewThumbX, ty = layout.cellY(room) + OverviewThumbY;
    for (int y = 0; y < OverviewThumbHeight; ++y)
        for (int x = 0; x < OverviewThumbWidth; ++x)
            if (sheet.pixel(tx + x, ty + y) != ThumbPixel(view, x, y))
                QFAIL(qPrintable(QStringLiteral("room %1, thumbnail pixel (%2, %3)").arg(room).arg(x).arg(y)));
    for (int y = -3; y < OverviewThumbHeight + 3; ++y)
        for (int x = -3; x < OverviewThumbWidth + 3; ++x) {
            const int ring = std::min({x + 3, y + 3, OverviewThumbWidth + 2 - x, OverviewThumbHeight + 2 - y});
            if (ring >= 3)
                continue;
            const QRgb expected = !current ? Background : ring == 1 ? 0xFFFFFFFFu : 0xFF000000u;
            if (sheet.pixel(tx + x, ty + y) != expected)
                QFAIL(qPrintable(QStringLiteral("room %1, frame pixel (%2, %3)").arg(room).arg(x).arg(y)));
        }
}

// True when the label band of cell `index` holds anything but background.
bool LabelDrawn(const Canvas& sheet, int index)
{
    const SheetLayout layout = ZoneOverviewLayout();
    for (int y = 0; y < OverviewThumbY - 3; ++y)
        for (int x = 0; x < layout.CellWidth; ++x)
            if (sheet.pixel(layout.cellX(index) + x, layout.cellY(index) + y) != Background)
                return true;
    return false;
}
}

class TestZoneOverview : public QObject {
    Q_OBJECT

private slots:
    void layoutHoldsTheLargestZone()
    {
        const SheetLayout layout = ZoneOverviewLayout();
        QCOMPARE(layout.Columns, 7);
        // Zone 6 has rooms 0..33.
        QVERIFY(layout.Columns * layout.Rows >= 34);
        QVERIFY(layout.Columns * (layout.Rows - 1) < 34);
        QVERIFY(layout.CellWidth >= OverviewThumbX + OverviewThumbWidth + 3);
        QVERIFY(layout.CellHeight >= OverviewThumbY + OverviewThumbHeight + 3);
        // A click on room 15's thumbnail is room 15.
        QCOMPARE(layout.cellAt(layout.cellX(15) + 70, layout.cellY(15) + 50), 15);
    }

    void labels_data()
    {
        QTest::addColumn<int>("room");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << QStringLiteral("Room 00");
        QTest::newRow("15") << 15 << QStringLiteral("Room 0F");
        QTest::newRow("33") << 33 << QStringLiteral("Room 21");
    }
    void labels()
    {
        QFETCH(int, room);
        QFETCH(QString, label);
        QCOMPARE(OverviewRoomLabel(room), label);
    }

    void everyRoomAsTheLevelViewDrawsIt_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("current");
        QTest::newRow("zone 1, room 0") << 0 << 0;
        QTest::newRow("zone 6, room 33") << 5 << 33;
        QTest::newRow("zone 7, room 12") << 6 << 12;
    }
    void everyRoomAsTheLevelViewDrawsIt()
    {
        QFETCH(int, zone);
        QFETCH(int, current);
        const Zone image(fixture::MakeLevelImage(11));
        const LevelContext level = image.level(zone);
        const int last = image.zones[std::size_t(zone)].LastRoom;
        const SheetLayout layout = ZoneOverviewLayout();
        Canvas scratch(32, 32), sheet(layout.width(), layout.height());
        DrawZoneOverview(level, last, current, scratch, sheet);
        for (int room = 0; room <= last; ++room) {
            CheckRoom(sheet, level, room, room == current);
            QVERIFY(LabelDrawn(sheet, room));
        }
        // Cells past the last room stay empty.
        for (int index = last + 1; index < layout.Columns * layout.Rows; ++index)
            for (int y = 0; y < layout.CellHeight; ++y)
                for (int x = 0; x < layout.CellWidth; ++x)
                    QCOMPARE(sheet.pixel(layout.cellX(index) + x, layout.cellY(index) + y), Background);
    }

    void oneCellAndTheFrameDrawnAgain()
    {
        Zone image(fixture::MakeLevelImage(12));
        const LevelContext level = image.level(2);
        const int last = image.zones[2].LastRoom;
        const SheetLayout layout = ZoneOverviewLayout();
        Canvas scratch(32, 32), sheet(layout.width(), layout.height()), fresh(layout.width(), layout.height());
        DrawZoneOverview(level, last, 4, scratch, sheet);
        // A new metatile in room 9's cell (3, 2), the frame moved to room 9.
        const std::int64_t at = fixture::RoomAt(2, 9) + 8 * 2 + 3;
        image.rom.write(at, std::uint8_t(image.rom.read(at) + 1));
        DrawOverviewCell(level, 9, {3, 2}, scratch, sheet);
        DrawOverviewFrame(sheet, 4, false);
        DrawOverviewFrame(sheet, 9, true);
        DrawZoneOverview(level, last, 9, scratch, fresh);
        QCOMPARE(sheet.image(), fresh.image());
    }

    void roomsBeyondTheImageShowNoData()
    {
        // Cut inside zone 1's rooms: room 5 is cut, the rooms after it gone.
        auto bytes = fixture::MakeLevelImageBuilder(13).bytes();
        bytes.resize(std::size_t(fixture::RoomAt(0, 5) + 20));
        const Zone image{RomBytes(bytes)};
        const LevelContext level = image.level(0);
        const SheetLayout layout = ZoneOverviewLayout();
        Canvas scratch(32, 32), sheet(layout.width(), layout.height());
        DrawZoneOverview(level, 32, 0, scratch, sheet);
        for (int room : {4, 5, 6, 32})
            CheckRoom(sheet, level, room, room == 0);
    }
};

QTEST_MAIN(TestZoneOverview)
#include "test_zone_overview.moc"
