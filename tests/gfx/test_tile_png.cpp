// A zone's tiles as a PNG and back: the exported picture against the tile
// format pixel by pixel, export -> import byte-identical on every zone of the
// demo cartridge and of images with random tiles, pictures without indices,
// and every kind of refused file with its reason (the image then unchanged).
#include "../fixtures/FileFixture.h"
#include "../fixtures/LevelFixture.h"
#include "gfx/NesColours.h"
#include "gfx/TilePixels.h"
#include "gfx/TilePng.h"
#include "gfx/TileSheet.h"
#include "gfx/ZonePalette.h"
#include "demo/DemoCartridge.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::vector<std::uint8_t>)

namespace {
struct Zones {
    RomBytes rom;
    ZoneTableArray table;
    explicit Zones(RomBytes image) : rom(std::move(image)) { BuildZoneTable(rom, table); }
    LevelContext level(int zone) const { return LevelContext{rom, table, zone}; }
};

std::int64_t Bank(int zone) { return ZoneConstantsTable[std::size_t(zone)].TileBank; }

QRgb Opaque(int nesColour) { return 0xFF000000u | PackRgb(NesColourRgb[std::size_t(nesColour & 0x3F)]); }

// Applies the import's writes to a copy of the image.
RomBytes Imported(const RomBytes& rom, const std::vector<ByteWrite>& writes)
{
    RomBytes copy = rom;
    for (const ByteWrite& w : writes)
        copy.write(w.Offset, w.Value);
    return copy;
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An indexed 128 x 128 picture of `colours` entries, every pixel index 0
// but pixel (x, y), which gets `index`.
QImage IndexedPicture(int colours, int x = 0, int y = 0, int index = 0, QSize size = {128, 128})
{
    QImage image(size, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table << qRgb(40 * i, 255 - 40 * i, 7 * i);
    image.setColorTable(table);
    image.fill(0);
    if (x < size.width() && y < size.height())
        image.setPixel(x, y, uint(index));
    return image;
}

// The fixture with zone 2's palette 0 set to three distinct colours (and so
// distinct from the background 0x0F), or to given ones.
RomBytes WithPalette0(int zone, std::uint8_t c1, std::uint8_t c2, std::uint8_t c3, std::uint32_t seed = 5)
{
    fixture::ImageBuilder b = fixture::MakeLevelImageBuilder(seed);
    b.put(fixture::PaletteAt(zone, 0), c1);
    b.put(fixture::PaletteAt(zone, 0) + 1, c2);
    b.put(fixture::PaletteAt(zone, 0) + 2, c3);
    return b.rom();
}
}

class TestTilePng : public QObject {
    Q_OBJECT
private slots:
    // Tile t at column t mod 16, row t div 16; each pixel's index its value;
    // the four entries the zone's palette 0.
    void exportedPictureIsTheTileBank_data()
    {
        QTest::addColumn<int>("zone");
        for (int z = 0; z < ZoneCount; ++z)
            QTest::addRow("zone %d", z + 1) << z;
    }
    void exportedPictureIsTheTileBank()
    {
        QFETCH(int, zone);
        const Zones demo(MakeDemoCartridge());
        QString reason;
        const QImage picture = ZoneTilesPicture(demo.level(zone), reason);
        QVERIFY2(!picture.isNull(), qPrintable(reason));
        QCOMPARE(picture.size(), QSize(128, 128));
        QCOMPARE(picture.format(), QImage::Format_Indexed8);
        const std::optional<ZonePalette> palette = LookupZonePalette(demo.level(zone), 0);
        QVERIFY(palette.has_value());
        QCOMPARE(picture.colorTable(), (QList<QRgb>{Opaque(0x0F), Opaque((*palette)[1]), Opaque((*palette)[2]),
                                                    Opaque((*palette)[3])}));
        for (int t = 0; t < 256; ++t)
            for (int r = 0; r < 8; ++r)
                for (int c = 0; c < 8; ++c) {
                    const int lo = demo.rom.read(Bank(zone) + 16 * t + r), hi = demo.rom.read(Bank(zone) + 16 * t + 8 + r);
                    const int value = ((lo >> (7 - c)) & 1) | (((hi >> (7 - c)) & 1) << 1);
                    if (picture.pixelIndex(8 * (t % 16) + c, 8 * (t / 16) + r) != value)
                        QFAIL(qPrintable(QStringLiteral("tile %1 row %2 column %3").arg(t).arg(r).arg(c)));
                }
        // Written as a palette PNG (colour type 3) of that size.
        const QByteArray png = EncodePng(picture);
        QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(int(std::uint8_t(png[25])), 3);
        QCOMPARE(png.mid(16, 8), QByteArray::fromHex("0000008000000080"));
    }

    // Export then import gives the image back byte for byte, on every zone.
    void roundTripIsByteIdentical_data()
    {
        QTest::addColumn<std::vector<std::uint8_t>>("image");
        QTest::addColumn<int>("zone");
        const std::vector<std::uint8_t> demo = MakeDemoCartridge().bytes();
        for (int z = 0; z < ZoneCount; ++z)
            QTest::addRow("demo zone %d", z + 1) << demo << z;
        for (std::uint32_t seed : {1u, 99u, 4242u})
            for (int z = 0; z < ZoneCount; ++z)
                QTest::addRow("random tiles %u zone %d", seed, z + 1) << fixture::MakeLevelImage(seed).bytes() << z;
    }
    void roundTripIsByteIdentical()
    {
        QFETCH(std::vector<std::uint8_t>, image);
        QFETCH(int, zone);
        const Zones z{RomBytes(image)};
        QString reason;
        const QByteArray png = EncodePng(ZoneTilesPicture(z.level(zone), reason));
        QVERIFY2(!png.isEmpty(), qPrintable(reason));
        const auto writes = TileImportWrites(z.level(zone), png, reason);
        QVERIFY2(writes.has_value(), qPrintable(reason));
        QCOMPARE(writes->size(), std::size_t(4096));
        QCOMPARE(writes->front().Offset, Bank(zone));
        QCOMPARE(writes->back().Offset, Bank(zone) + 4095);
        QCOMPARE(Imported(z.rom, *writes), z.rom);
    }

    // The tiles of one zone imported into another: that zone's bank becomes
    // the first zone's bank, and nothing else changes.
    void importIntoAnotherZone()
    {
        const Zones z(fixture::MakeLevelImage(77));
        QString reason;
        const QByteArray png = EncodePng(ZoneTilesPicture(z.level(1), reason));
        const auto writes = TileImportWrites(z.level(4), png, reason);
        QVERIFY2(writes.has_value(), qPrintable(reason));
        const RomBytes after = Imported(z.rom, *writes);
        for (std::int64_t i = 0; i < z.rom.size(); ++i) {
            const bool inBank = i >= Bank(4) && i < Bank(4) + 4096;
            const int expected = inBank ? z.rom.read(Bank(1) + (i - Bank(4))) : z.rom.read(i);
            if (after.read(i) != expected)
                QFAIL(qPrintable(QStringLiteral("byte 0x%1").arg(i, 0, 16)));
        }
    }

    // An image editor may save the picture without its palette: a PNG whose
    // colours are exactly the four gives the same bytes. So does an indexed
    // one whose entries were recoloured, and one saved with fewer entries.
    void picturesAnImageEditorWrites_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("true colour") << "rgb";
        QTest::newRow("true colour with alpha, all opaque") << "argb";
        QTest::newRow("indexed, entries recoloured") << "recoloured";
        QTest::newRow("indexed, 256 entries") << "wide";
    }
    void picturesAnImageEditorWrites()
    {
        QFETCH(QString, kind);
        const Zones z(WithPalette0(2, 0x16, 0x2A, 0x30));
        QString reason;
        QImage picture = ZoneTilesPicture(z.level(2), reason);
        if (kind == QLatin1String("rgb")) {
            picture = picture.convertToFormat(QImage::Format_RGB32);
        } else if (kind == QLatin1String("argb")) {
            picture = picture.convertToFormat(QImage::Format_ARGB32);
        } else if (kind == QLatin1String("recoloured")) {
            picture.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9), qRgb(250, 250, 250)});
        } else {
            QList<QRgb> table = picture.colorTable();
            while (table.size() < 256)
                table << qRgb(table.size(), 0, 0);
            picture.setColorTable(table);
        }
        const auto writes = TileImportWrites(z.level(2), Png(picture), reason);
        QVERIFY2(writes.has_value(), qPrintable(reason));
        QCOMPARE(Imported(z.rom, *writes), z.rom);
    }

    // A picture of only values 0 and 1 (an image editor may store it with
    // one bit a pixel).
    void twoColourPicture()
    {
        const Zones z(fixture::MakeLevelImage(3));
        QImage picture = IndexedPicture(2, 9, 0, 1);
        QString reason;
        const auto writes = TileImportWrites(z.level(0), Png(picture), reason);
        QVERIFY(writes.has_value());
        const RomBytes after = Imported(z.rom, *writes);
        // Pixel (9, 0) is tile 1, row 0, column 1: plane 0 bit 6 of its first byte.
        QCOMPARE(after.read(Bank(0) + 16), 0x40);
        for (int i = 0; i < 4096; ++i)
            if (i != 16)
                QCOMPARE(after.read(Bank(0) + i), 0);
    }

    void refusedPictures_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty file") << QByteArray() << "not a PNG file";
        QTest::newRow("text") << QByteArray("tiles, please\n") << "not a PNG file";
        QTest::newRow("signature only") << QByteArray("\x89PNG\r\n\x1a\n", 8) << "header is missing";
        QImage bmp(128, 128, QImage::Format_RGB32);
        bmp.fill(Qt::black);
        QByteArray bmpBytes;
        QBuffer buffer(&bmpBytes);
        buffer.open(QIODevice::WriteOnly);
        bmp.save(&buffer, "BMP");
        QTest::newRow("a BMP picture") << bmpBytes << "not a PNG file";
        QTest::newRow("64 x 64") << Png(IndexedPicture(4, 0, 0, 0, {64, 64})) << "is 64 x 64 pixels";
        QTest::newRow("128 x 127") << Png(IndexedPicture(4, 0, 0, 0, {128, 127})) << "is 128 x 127 pixels";
        QTest::newRow("256 x 128") << Png(IndexedPicture(4, 0, 0, 0, {256, 128})) << "is 256 x 128 pixels";
        QTest::newRow("index 4") << Png(IndexedPicture(5, 17, 9, 4))
                                 << "pixel (17, 9) (tile 12, row 1, column 1) has palette index 4";
        QTest::newRow("index 255") << Png(IndexedPicture(256, 127, 127, 255))
                                   << "pixel (127, 127) (tile FF, row 7, column 7) has palette index 255";
        QImage other(128, 128, QImage::Format_RGB32);
        other.fill(Opaque(0x0F));
        other.setPixel(40, 3, qRgb(0x12, 0x34, 0x56));
        QTest::newRow("true colour, another colour") << Png(other)
                                                     << "pixel (40, 3) (tile 05, row 3, column 0) has the colour #123456";
        QImage clear(128, 128, QImage::Format_ARGB32);
        clear.fill(Opaque(0x0F));
        clear.setPixel(0, 127, qRgba(5, 5, 5, 128));
        QTest::newRow("transparent pixel") << Png(clear) << "pixel (0, 127) (tile F0, row 7, column 0) is not opaque";
        QByteArray damaged = Png(IndexedPicture(4, 3, 3, 2));
        damaged.truncate(damaged.size() / 2 + 20);
        QTest::newRow("cut short") << damaged << "cannot be read";
    }
    void refusedPictures()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        const Zones z(WithPalette0(0, 0x16, 0x2A, 0x30));
        QString why;
        QVERIFY(!TileImportWrites(z.level(0), file, why).has_value());
        QVERIFY2(why.contains(reason), qPrintable(why));
    }

    // Palette 0 all greys: the picture is still an indexed PNG, not grey
    // levels, and it goes back unchanged.
    void greyPaletteStaysIndexed()
    {
        const Zones z(WithPalette0(4, 0x00, 0x10, 0x30));
        QString reason;
        const QImage picture = ZoneTilesPicture(z.level(4), reason);
        const QByteArray png = EncodePng(picture);
        QCOMPARE(int(std::uint8_t(png[25])), 3);
        QImage read;
        QVERIFY(read.loadFromData(png, "PNG"));
        QCOMPARE(read.format(), QImage::Format_Indexed8);
        QCOMPARE(read.colorTable(), picture.colorTable());
        const auto writes = TileImportWrites(z.level(4), png, reason);
        QVERIFY2(writes.has_value(), qPrintable(reason));
        QCOMPARE(Imported(z.rom, *writes), z.rom);
    }

    // Two values in the same colour: a picture without indices cannot say
    // which one a pixel has.
    void ambiguousColoursNeedIndices()
    {
        // 0x0F is the background colour too, and 0x20 and 0x30 are both white.
        const Zones z(WithPalette0(3, 0x20, 0x0F, 0x30));
        QString reason;
        const QImage picture = ZoneTilesPicture(z.level(3), reason);
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
        QVERIFY(!TileImportWrites(z.level(3), Png(rgb), reason).has_value());
        QVERIFY2(reason.contains(QLatin1String("more than one value")), qPrintable(reason));
        QVERIFY(reason.contains(QLatin1String("indexed PNG")));
        // Indexed, the same picture goes back unchanged.
        const auto writes = TileImportWrites(z.level(3), Png(picture), reason);
        QVERIFY(writes.has_value());
        QCOMPARE(Imported(z.rom, *writes), z.rom);
    }

    // Zone 7's tile bank runs past the end of the image: nothing is
    // exported or imported, and the reason says where it lies.
    void tileBankOutsideTheImage()
    {
        std::vector<std::uint8_t> bytes = fixture::MakeLevelImage(8).bytes();
        bytes.resize(std::size_t(Bank(6) + 4000));
        const Zones z{RomBytes(bytes)};
        QString reason;
        QVERIFY(ZoneTilesPicture(z.level(6), reason).isNull());
        QVERIFY2(reason.contains(QLatin1String("(0x3F010 to 0x4000F) lies outside")), qPrintable(reason));
        const QByteArray png = EncodePng(ZoneTilesPicture(z.level(5), reason));
        reason.clear();
        QVERIFY(!TileImportWrites(z.level(6), png, reason).has_value());
        QVERIFY(reason.contains(QLatin1String("lies outside")));
        // A slot without a zone.
        QVERIFY(ZoneTilesPicture(z.level(30), reason).isNull());
        QVERIFY(ZoneTilesPicture(z.level(60), reason).isNull());
    }

    // Colours that cannot be read are shown as greys, so that the tiles
    // stay visible in the sheet and the picture.
    void unreadablePaletteShowsGreys()
    {
        std::vector<std::uint8_t> bytes = fixture::MakeLevelImage(6).bytes();
        bytes.resize(0x1E00);   // before every zone's palette table
        const Zones z{RomBytes(bytes)};
        QVERIFY(!LookupZonePalette(z.level(1), 0).has_value());
        QCOMPARE(TileSheetPalette(z.level(1), 0), (ZonePalette{0x0F, 0x00, 0x10, 0x30}));
        QCOMPARE(TilePictureColours(z.level(1)), (std::array<QRgb, 4>{Opaque(0x0F), Opaque(0x00), Opaque(0x10), Opaque(0x30)}));
        const Zones full(fixture::MakeLevelImage(6));
        QCOMPARE(TileSheetPalette(full.level(1), 2), *LookupZonePalette(full.level(1), 2));
    }

    // Only a regular file is read; a pipe is refused before it is opened,
    // so the read cannot block.
    void readingTheFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing" << "No such file or directory";
        QTest::newRow("folder") << "folder" << "is a folder, not a file";
        QTest::newRow("named pipe") << "fifo" << "is a named pipe, not a file";
        QTest::newRow("too large") << "large" << "is too large";
        QTest::newRow("unreadable") << "unreadable" << "Permission denied";
        QTest::newRow("a PNG file") << "png" << "";
        QTest::newRow("a link to a PNG file") << "link" << "";
    }
    void readingTheFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tiles.png"));
        const QByteArray png = Png(IndexedPicture(4));
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tiles.png")));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("large")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(MaxTilePngFileSize + 1));
        } else if (kind == QLatin1String("unreadable")) {
            if (geteuid() == 0)
                QSKIP("runs as root, who can read any file");
            QVERIFY(WriteFile(path, png));
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        } else if (kind == QLatin1String("png")) {
            QVERIFY(WriteFile(path, png));
        } else if (kind == QLatin1String("link")) {
            QVERIFY(WriteFile(dir.filePath(QStringLiteral("real.png")), png));
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("real.png")), path));
        }
        // Bounded: a read that blocked would fail here instead of hanging.
        auto read = std::async(std::launch::async, [path] {
            QByteArray bytes;
            QString error;
            const bool ok = ReadTilesPngFile(path, bytes, error);
            return std::make_tuple(ok, bytes, error);
        });
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Let the blocked reader go before failing.
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            QFAIL("reading the file blocked");
        }
        const auto [ok, bytes, error] = read.get();
        if (reason.isEmpty()) {
            QVERIFY2(ok, qPrintable(error));
            QCOMPARE(bytes, png);
        } else {
            QVERIFY(!ok);
            QVERIFY2(error.contains(path), qPrintable(error));
            QVERIFY2(error.contains(reason), qPrintable(error));
        }
    }
};

QTEST_MAIN(TestTilePng)
#include "test_tile_png.moc"
