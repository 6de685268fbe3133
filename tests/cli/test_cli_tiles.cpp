// vorned-cli tiles export / import: the PNG against the tile bank, the
// round trip that leaves the image as it was, an import that changes exactly
// the tile bank and saves, refused pictures and bad command lines that leave
// the image byte for byte as it was.
#include "CliRun.h"
#include "gfx/TilePixels.h"
#include "gfx/TilePng.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Files {
    QTemporaryDir dir;
    QString image = dir.filePath(QStringLiteral("image.nes"));
    QString png = dir.filePath(QStringLiteral("tiles.png"));
};

QStringList Args(std::initializer_list<QString> args) { return QStringList(args); }

std::int64_t Bank(int zone) { return ZoneConstantsTable[std::size_t(zone - 1)].TileBank; }
}

class TestCliTiles : public QObject {
    Q_OBJECT
private slots:
    void exportIsTheZonesPicture_data()
    {
        QTest::addColumn<int>("zone");
        for (int z = 1; z <= ZoneCount; ++z)
            QTest::addRow("zone %d", z) << z;
    }
    void exportIsTheZonesPicture()
    {
        QFETCH(int, zone);
        Files f;
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteImageFile(f.image, demo));
        const CliRunResult run = RunVornedCli(Args({"tiles", "export", f.image, "--zone", QString::number(zone), "-o", f.png}));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QStringLiteral("wrote the 256 tiles of zone %1 (128 x 128 pixels, 4 colours, indexed) to %2\n")
                              .arg(zone).arg(f.png));
        ZoneTableArray zones;
        BuildZoneTable(demo, zones);
        QString reason;
        const QImage expected = ZoneTilesPicture(LevelContext{demo, zones, zone - 1}, reason);
        const QImage written(f.png);
        QCOMPARE(written.format(), QImage::Format_Indexed8);
        QCOMPARE(written.colorTable(), expected.colorTable());
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                if (written.pixelIndex(x, y) != expected.pixelIndex(x, y))
                    QFAIL("the picture differs from the tile bank");
        QCOMPARE(ReadFile(f.image), QByteArray(reinterpret_cast<const char*>(demo.data()), int(demo.size())));

        // Imported back as it is: the image is not even written.
        const CliRunResult back = RunVornedCli(Args({"tiles", "import", f.image, "--zone", QString::number(zone), f.png}));
        QCOMPARE(back.exitCode, 0);
        QVERIFY2(back.out.contains(QLatin1String("as they are")), qPrintable(back.out));
        QCOMPARE(ReadFile(f.image), QByteArray(reinterpret_cast<const char*>(demo.data()), int(demo.size())));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{QStringLiteral("image.nes"), QStringLiteral("tiles.png")}));
    }

    // A picture changed in an image editor: exactly the tile bank's bytes
    // change, and the image is saved.
    void importChangesTheTileBank()
    {
        Files f;
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteImageFile(f.image, demo));
        QCOMPARE(RunVornedCli(Args({"tiles", "export", f.image, "--zone", "5", "-o", f.png})).exitCode, 0);
        QImage picture(f.png);
        for (int y = 0; y < 128; ++y)
            picture.setPixel(77, y, uint((y / 8) % 4));   // column 5 of tiles 4, 20, ..., 244
        QVERIFY(picture.save(f.png, "PNG"));
        const CliRunResult run = RunVornedCli(Args({"tiles", "import", f.image, "--zone", "5", f.png}));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(QLatin1String("imported the 256 tiles of zone 5 from ")), qPrintable(run.out));
        QVERIFY(run.out.contains(QLatin1String("at 0x3D010 changed")));
        QFile file(f.image);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const RomBytes after(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        QCOMPARE(after.size(), demo.size());
        for (std::int64_t i = 0; i < demo.size(); ++i)
            if (i < Bank(5) || i >= Bank(5) + 4096)
                QCOMPARE(after.read(i), demo.read(i));
        for (int y = 0; y < 128; ++y) {
            const int t = (y / 8) * 16 + 77 / 8;
            QCOMPARE(ReadTilePixel(after, Bank(5) + 16 * t, y % 8, 77 % 8), (y / 8) % 4);
        }
        // Only the image and the picture are there: the save left nothing behind.
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{QStringLiteral("image.nes"), QStringLiteral("tiles.png")}));
    }

    void refusedRunsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("args");   // IMAGE, PNG and OUT stand for the files
        QTest::addColumn<QByteArray>("picture"); // written as PNG before the run; empty: none
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QImage small(64, 32, QImage::Format_Indexed8);
        small.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6)});
        small.fill(0);
        QByteArray smallPng;
        {
            QBuffer b(&smallPng);
            b.open(QIODevice::WriteOnly);
            small.save(&b, "PNG");
        }
        QTest::newRow("wrong size") << Args({"import", "IMAGE", "--zone", "1", "PNG"}) << smallPng << 1
                                    << "is 64 x 32 pixels; a picture of the zone's tiles is exactly 128 x 128";
        QTest::newRow("not a PNG") << Args({"import", "IMAGE", "--zone", "1", "PNG"}) << QByteArray("GIF89a....") << 1
                                   << "it is not a PNG file; \"IMAGE\" was not changed";
        QTest::newRow("missing PNG") << Args({"import", "IMAGE", "--zone", "1", "PNG"}) << QByteArray() << 1
                                     << "No such file or directory";
        QTest::newRow("no action") << Args({"IMAGE", "--zone", "1"}) << QByteArray() << 2 << "unknown action";
        QTest::newRow("nothing") << Args({}) << QByteArray() << 2 << "say export or import";
        QTest::newRow("zone 8") << Args({"export", "IMAGE", "--zone", "8", "-o", "OUT"}) << QByteArray() << 2 << "--zone";
        QTest::newRow("no zone") << Args({"export", "IMAGE", "-o", "OUT"}) << QByteArray() << 2 << "--zone";
        QTest::newRow("export without -o") << Args({"export", "IMAGE", "--zone", "2"}) << QByteArray() << 2
                                           << "-o OUT.png is missing";
        QTest::newRow("export over the image") << Args({"export", "IMAGE", "--zone", "2", "-o", "IMAGE"}) << QByteArray()
                                               << 2 << "-o names the image itself";
        QTest::newRow("import without a picture") << Args({"import", "IMAGE", "--zone", "2"}) << QByteArray() << 2
                                                  << "needs the image to change and the PNG file";
        QTest::newRow("import of the image itself") << Args({"import", "IMAGE", "--zone", "2", "IMAGE"}) << QByteArray()
                                                    << 2 << "the PNG file is the image itself";
        QTest::newRow("import with -o") << Args({"import", "IMAGE", "--zone", "2", "PNG", "-o", "OUT"}) << QByteArray()
                                        << 2 << "-o does not apply";
    }
    void refusedRunsChangeNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, picture);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        Files f;
        const QString out = f.dir.filePath(QStringLiteral("out.png"));
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteImageFile(f.image, demo));
        if (!picture.isEmpty())
            QVERIFY(WriteFile(f.png, picture));
        QStringList real{QStringLiteral("tiles")};
        for (const QString& a : args)
            real << (a == QLatin1String("IMAGE") ? f.image : a == QLatin1String("PNG") ? f.png
                                                  : a == QLatin1String("OUT") ? out : a);
        const CliRunResult run = RunVornedCli(real);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(QString(message).replace(QLatin1String("IMAGE"), f.image)), qPrintable(run.err));
        QCOMPARE(ReadFile(f.image), QByteArray(reinterpret_cast<const char*>(demo.data()), int(demo.size())));
        QVERIFY(!QFileInfo::exists(out));
    }

    // The command line reads the picture from standard input too ("-").
    void importFromStandardInput()
    {
        Files f;
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteImageFile(f.image, demo));
        QCOMPARE(RunVornedCli(Args({"tiles", "export", f.image, "--zone", "2", "-o", f.png})).exitCode, 0);
        QImage picture(f.png);
        picture.setPixel(0, 0, uint(picture.pixelIndex(0, 0) ^ 3));
        QByteArray png;
        {
            QBuffer b(&png);
            b.open(QIODevice::WriteOnly);
            picture.save(&b, "PNG");
        }
        QProcess process;
        process.start(QStringLiteral(VORNED_CLI_PATH), Args({"tiles", "import", f.image, "--zone", "2", "-"}));
        QVERIFY(process.waitForStarted(60000));
        process.write(png);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(process.readAllStandardOutput())
                    .startsWith(QLatin1String("imported the 256 tiles of zone 2 from ")));
        // Pixel (0, 0) went from value v to v ^ 3: bit 7 of both plane bytes of tile 0's row 0.
        const QByteArray after = ReadFile(f.image);
        QCOMPARE(after.size(), qsizetype(demo.size()));
        for (std::int64_t i = 0; i < demo.size(); ++i) {
            const int flipped = (i == Bank(2) || i == Bank(2) + 8) ? 0x80 : 0;
            if ((std::uint8_t(after[qsizetype(i)]) ^ demo.read(i)) != flipped)
                QFAIL(qPrintable(QStringLiteral("byte 0x%1").arg(i, 0, 16)));
        }
    }

    void missingImageExitsOne()
    {
        Files f;
        const CliRunResult run = RunVornedCli(Args({"tiles", "export", f.image, "--zone", "1", "-o", f.png}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(f.image));
        QVERIFY(!QFileInfo::exists(f.png));
    }

    void helpNamesBothForms()
    {
        const CliRunResult run = RunVornedCli(Args({"tiles", "--help"}));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(QLatin1String("usage: vorned-cli tiles export IMAGE --zone N -o TILES.png\n"
                                                 "       vorned-cli tiles import IMAGE --zone N TILES.png\n")));
        QVERIFY(RunVornedCli(Args({"--help"})).out.contains(QLatin1String("tiles export IMAGE")));
    }
};

QTEST_MAIN(TestCliTiles)
#include "test_cli_tiles.moc"
