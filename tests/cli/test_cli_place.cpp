// vorned-cli place: one byte of the image changes, the one a left click on
// that cell writes, and render shows it; refused writes change nothing.
#include "CliRun.h"
#include "gfx/Canvas.h"
#include "gfx/Metatile.h"
#include "level/RoomView.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

RomBytes FromFile(const QString& path)
{
    const QByteArray bytes = ReadFile(path);
    return RomBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

QStringList PlaceArgs(const QString& image, int zone, int room, int column, int row, int metatile)
{
    return {"place", image, "--zone", QString::number(zone), "--room", QString::number(room),
            "--col", QString::number(column), "--row", QString::number(row), "--metatile", QString::number(metatile)};
}

} // namespace

class TestCliPlace : public QObject {
    Q_OBJECT
private slots:
    void placeChangesOneByteAndRenderShowsIt_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("zone 3 room 5 cell (2, 1)") << 3 << 5 << 2 << 1;
        QTest::newRow("zone 1 room 0 first cell") << 1 << 0 << 0 << 0;
        QTest::newRow("zone 6 last room last cell") << 6 << 33 << 7 << 5;
        QTest::newRow("zone 7 room 20 cell (7, 0)") << 7 << 20 << 7 << 0;
    }
    void placeChangesOneByteAndRenderShowsIt()
    {
        QFETCH(int, zone);
        QFETCH(int, room);
        QFETCH(int, column);
        QFETCH(int, row);
        const RomBytes before = MakeDemoCartridge();
        ZoneTableArray zones;
        BuildZoneTable(before, zones);
        const std::int64_t at = std::int64_t(ReadRomPointer(before, zones[std::size_t(zone - 1)].RoomTable, room)) +
                                8 * row + column;
        QVERIFY(before.contains(at));
        const int metatile = (before.read(at) + 0x35) % 256; // surely another one

        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("image.nes"));
        QVERIFY(WriteImageFile(image, before));
        const CliRunResult run = RunVornedCli(PlaceArgs(image, zone, room, column, row, metatile));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());

        const RomBytes after = FromFile(image);
        QCOMPARE(after.size(), before.size());
        std::vector<std::int64_t> changed;
        for (std::int64_t i = 0; i < before.size(); ++i)
            if (before.read(i) != after.read(i))
                changed.push_back(i);
        QCOMPARE(changed, std::vector<std::int64_t>{at});
        QCOMPARE(after.read(at), metatile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("image.nes")});

        // render shows the new metatile in that cell and the rest unchanged.
        const QString png = dir.filePath(QStringLiteral("room.png"));
        const CliRunResult rendered = RunVornedCli({"render", image, "--zone", QString::number(zone), "--room",
                                                    QString::number(room), "-o", png});
        QCOMPARE(rendered.exitCode, 0);
        const QImage picture(png);
        QCOMPARE(picture.size(), QSize(512, 384));
        Canvas scratch(CellSize, CellSize), view(512, 384);
        DrawRoom(LevelContext{before, zones, zone - 1}, room, scratch, view);
        Canvas placed(CellSize, CellSize);
        DrawMetatile(LevelContext{after, zones, zone - 1}, placed, std::uint8_t(metatile), ViewScale);
        const QRect cell(64 * column, 64 * row, 64, 64);
        QVERIFY(view.image().copy(cell) != placed.image()); // the change is visible
        for (int y = 0; y < 384; ++y)
            for (int x = 0; x < 512; ++x) {
                const QRgb expected = cell.contains(x, y) ? placed.pixel(x - cell.x(), y - cell.y()) : view.pixel(x, y);
                if (picture.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) differs").arg(x).arg(y)));
            }
    }

    void refusedPlacesChangeNothing_data()
    {
        QTest::addColumn<bool>("cutInsideLayout"); // else: zone 7's room table pointer cut off
        QTest::addColumn<QString>("reason");
        QTest::newRow("room table pointer unreadable") << false << "its pointer cannot be read";
        QTest::newRow("layout partly outside") << true << "the cell's byte would be at 0x";
    }
    void refusedPlacesChangeNothing()
    {
        QFETCH(bool, cutInsideLayout);
        QFETCH(QString, reason);
        const RomBytes demo = MakeDemoCartridge();
        ZoneTableArray zones;
        BuildZoneTable(demo, zones);
        int zone = 7, room = 0;
        std::int64_t length = 0xC013 + 4;
        if (cutInsideLayout) {
            // A room whose layout lies after its zone's room table: cut the
            // image ten bytes into that layout.
            length = 0;
            for (int z = 0; z < ZoneCount && !length; ++z)
                for (int r = 0; r <= zones[std::size_t(z)].LastRoom && !length; ++r) {
                    const std::int32_t layout = ReadRomPointer(demo, zones[std::size_t(z)].RoomTable, r);
                    if (layout > zones[std::size_t(z)].RoomTable + 2 * (zones[std::size_t(z)].LastRoom + 1)) {
                        zone = z + 1;
                        room = r;
                        length = layout + 10;
                    }
                }
            QVERIFY(length > 0);
        }
        const RomBytes cut(std::vector<std::uint8_t>(demo.bytes().begin(), demo.bytes().begin() + length));
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("cut.nes"));
        QVERIFY(WriteImageFile(image, cut));
        const QDateTime modified = QFileInfo(image).lastModified();

        const CliRunResult run = RunVornedCli(PlaceArgs(image, zone, room, 7, 5, 1));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.startsWith(QStringLiteral("vorned-cli: room %1 of zone %2 lies outside the image").arg(room).arg(zone)),
                 qPrintable(run.err));
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        QCOMPARE(FromFile(image), cut);
        QCOMPARE(QFileInfo(image).lastModified(), modified);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("cut.nes")});

        if (cutInsideLayout) {
            // The first cell still lies inside and can be placed.
            const CliRunResult first = RunVornedCli(PlaceArgs(image, zone, room, 0, 0, 1));
            QCOMPARE(first.exitCode, 0);
            QCOMPARE(FromFile(image).read(length - 10), 1);
        }
    }

    // A room given in hexadecimal, as the status bar shows it, is the same
    // room as in decimal.
    void hexRoomIsTheSameRoom_data()
    {
        QTest::addColumn<QString>("room");
        QTest::addColumn<int>("decimal");
        QTest::newRow("0x1F") << "0x1F" << 31;
        QTest::newRow("0X1f") << "0X1f" << 31;
        QTest::newRow("0x0A") << "0x0A" << 10;
        QTest::newRow("0x0") << "0x0" << 0;
        QTest::newRow("leading zeros") << "0x0000005" << 5;
    }
    void hexRoomIsTheSameRoom()
    {
        QFETCH(QString, room);
        QFETCH(int, decimal);
        QTemporaryDir dir;
        const QString byHex = dir.filePath(QStringLiteral("hex.nes"));
        const QString byDecimal = dir.filePath(QStringLiteral("decimal.nes"));
        QVERIFY(WriteImageFile(byHex, MakeDemoCartridge()));
        QVERIFY(WriteImageFile(byDecimal, MakeDemoCartridge()));
        QStringList hexArgs = PlaceArgs(byHex, 3, 0, 6, 4, 0xC3);
        hexArgs[5] = room;
        const CliRunResult hex = RunVornedCli(hexArgs);
        QCOMPARE(hex.exitCode, 0);
        const CliRunResult dec = RunVornedCli(PlaceArgs(byDecimal, 3, decimal, 6, 4, 0xC3));
        QCOMPARE(dec.exitCode, 0);
        QCOMPARE(hex.out, dec.out);
        QVERIFY(hex.out.contains(QStringLiteral("of room %1 ").arg(decimal)));
        QCOMPARE(ReadFile(byHex), ReadFile(byDecimal));
        QVERIFY(ReadFile(byHex) != QByteArray(reinterpret_cast<const char*>(MakeDemoCartridge().data()),
                                               qsizetype(DemoCartridgeSize)));
    }

    void missingImageExitsOne()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("none.nes"));
        const CliRunResult run = RunVornedCli(PlaceArgs(image, 1, 0, 0, 0, 1));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("No such file or directory")), qPrintable(run.err));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliPlace)
#include "test_cli_place.moc"
