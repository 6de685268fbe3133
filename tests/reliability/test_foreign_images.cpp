// Images of other shapes than the game's, walked as the fuzzer walks its
// inputs: every zone, every room and selector page, placements, save and
// reload. Nothing may crash or touch bytes outside the image, and what is
// missing must show as the "no data" pattern.
#include "ImageWalk.h"

#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"
#include "gfx/clsNesTiles.h"
#include "level/RoomView.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

std::vector<std::uint8_t> InesHeader(int prgBanks, int chrBanks, bool trainer)
{
    std::vector<std::uint8_t> h = {'N', 'E', 'S', 0x1A, std::uint8_t(prgBanks), std::uint8_t(chrBanks),
                                   std::uint8_t(trainer ? 0x04 : 0x00), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    return h;
}

std::vector<std::uint8_t> Noise(std::size_t size, std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = std::uint8_t(seed >> 16);
    }
    return bytes;
}

RomBytes Image(const QString& kind)
{
    if (kind == "40 KB, 8 KB character ROM") {
        auto bytes = InesHeader(2, 1, false);
        const auto body = Noise(32768 + 8192, 7);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return RomBytes(bytes);
    }
    if (kind == "512-byte trainer") {
        const RomBytes demo = MakeDemoCartridge();
        auto bytes = InesHeader(16, 0, true);
        const auto trainer = Noise(512, 3);
        bytes.insert(bytes.end(), trainer.begin(), trainer.end());
        bytes.insert(bytes.end(), demo.bytes().begin() + 16, demo.bytes().end());
        return RomBytes(bytes);
    }
    if (kind == "1 MB") {
        auto bytes = InesHeader(64, 0, false);
        const auto body = Noise(64 * 16384, 11);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return RomBytes(bytes);
    }
    if (kind == "demo cartridge")
        return MakeDemoCartridge();
    return {};
}

bool IsNoData(QRgb pixel)
{
    const QRgb p = pixel & 0xFFFFFFu;
    return p == (NoDataColourA & 0xFFFFFFu) || p == (NoDataColourB & 0xFFFFFFu);
}

} // namespace

class TestForeignImages : public QObject {
    Q_OBJECT
private slots:
    void walkWholeImage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("40 KB, 8 KB character ROM") << "40 KB, 8 KB character ROM";
        QTest::newRow("512-byte trainer") << "512-byte trainer";
        QTest::newRow("1 MB") << "1 MB";
        QTest::newRow("demo cartridge") << "demo cartridge";
    }
    void walkWholeImage()
    {
        QFETCH(QString, kind);
        RomBytes rom = Image(kind);
        const std::int64_t size = rom.size();
        QTemporaryDir dir;
        WalkOptions options;
        options.SavePath = dir.filePath(QStringLiteral("walk.nes"));
        const WalkResult result = WalkImage(rom, 99, options);
        int rooms = 0;
        for (int z = 0; z < ZoneCount; ++z)
            rooms += ZoneConstantsTable[z].LastRoom + 1;
        QCOMPARE(result.RoomsDrawn, rooms);
        QCOMPARE(result.PagesDrawn, ZoneCount * 64);
        QCOMPARE(result.Placed + result.PlaceRefused, ZoneCount * 4);
        QVERIFY(result.SavedIdentical);
        QCOMPARE(rom.size(), size);
    }

    void missingDataShowsAsNoData()
    {
        // The 40 KB image ends at 0xA010: zone 7 has no header, and no zone
        // has its tile block.
        const RomBytes rom = Image("40 KB, 8 KB character ROM");
        ZoneTableArray zones{};
        BuildZoneTable(rom, zones);
        QCOMPARE(zones[6].RoomTable, NoOffset);
        Canvas scratch(64, 64), view(512, 384);
        DrawRoom(LevelContext{rom, zones, 6}, 0, scratch, view);
        for (int y = 0; y < 384; y += 7)
            for (int x = 0; x < 512; x += 7)
                QVERIFY2(IsNoData(view.pixel(x, y)), qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        // Zone 1 has a header and rooms in the image, but its tiles lie
        // beyond the end: every tile drawn is the pattern as well.
        DrawRoom(LevelContext{rom, zones, 0}, 0, scratch, view);
        int noData = 0;
        for (int y = 0; y < 384; ++y)
            for (int x = 0; x < 512; ++x)
                noData += IsNoData(view.pixel(x, y));
        QCOMPARE(noData, 512 * 384);
    }

    void trainerShiftsButStaysInside()
    {
        // With a trainer every fixed offset reads 512 bytes early: other
        // bytes are drawn, but everything the table names lies inside.
        const RomBytes rom = Image("512-byte trainer");
        ZoneTableArray zones{};
        BuildZoneTable(rom, zones);
        for (int z = 0; z < ZoneCount; ++z) {
            QVERIFY(zones[z].RoomTable != NoOffset);
            QVERIFY(rom.contains(zones[z].TileBank, 4096));
        }
    }
};

QTEST_GUILESS_MAIN(TestForeignImages)
#include "test_foreign_images.moc"
