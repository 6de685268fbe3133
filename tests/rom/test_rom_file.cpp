// Loading and saving whole images: what is refused, and that a save never
// leaves a damaged file behind.
#include "rom/RomFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "../fixtures/FileFixture.h"

namespace {

RomBytes FromBytes(const QByteArray& bytes)
{
    return RomBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

QString FailHalfWay(qint64)
{
    return QStringLiteral("No space left on device");
}

} // namespace

class TestRomFile : public QObject {
    Q_OBJECT
private slots:
    void loadThenSaveIsByteIdentical()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("game.nes"));
        const QByteArray original = Pattern(262160);
        QVERIFY(WriteFile(path, original));
        RomBytes rom;
        QString error;
        QVERIFY(LoadRomFile(path, rom, error));
        QCOMPARE(rom.size(), qint64(original.size()));
        QVERIFY(SaveRomFile(path, rom, error));
        QCOMPARE(ReadFile(path), original);
    }

    void refusedFilesLeaveTheImage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing" << "Could not open";
        QTest::newRow("empty") << "empty" << "is empty";
        QTest::newRow("directory") << "directory" << "";
        QTest::newRow("over 16 MiB") << "huge" << "more than any cartridge image";
        QTest::newRow("unreadable") << "unreadable" << "Could not open";
    }
    void refusedFilesLeaveTheImage()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("bad.nes"));
        if (kind == "empty") {
            QVERIFY(WriteFile(path, {}));
        } else if (kind == "directory") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("bad.nes")));
        } else if (kind == "huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(MaxRomFileSize + 1));
        } else if (kind == "unreadable") {
            QVERIFY(WriteFile(path, Pattern(100)));
            QFile::setPermissions(path, QFileDevice::WriteOwner);
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("running with rights that read any file");
        }
        const RomBytes before = FromBytes(Pattern(64));
        RomBytes rom = before;
        QString error;
        QVERIFY(!LoadRomFile(path, rom, error));
        QCOMPARE(rom, before);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void oneByteFileLoads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tiny.nes"));
        QVERIFY(WriteFile(path, QByteArray(1, 'x')));
        RomBytes rom;
        QString error;
        QVERIFY(LoadRomFile(path, rom, error));
        QCOMPARE(rom.size(), qint64(1));
    }

    void saveTruncatesALongerTarget()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.nes"));
        QVERIFY(WriteFile(path, Pattern(5000)));
        const RomBytes rom = FromBytes(Pattern(3000));
        QString error;
        QVERIFY(SaveRomFile(path, rom, error));
        QCOMPARE(ReadFile(path), Pattern(3000));
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("write fails part way") << "fault";
        QTest::newRow("target is a directory") << "directory";
        QTest::newRow("folder is gone") << "gone";
        QTest::newRow("read-only folder") << "readonly";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("game.nes"));
        const QByteArray old = Pattern(4000);
        QVERIFY(WriteFile(path, old));
        if (kind == "fault") {
            SetRomWriteFault(&FailHalfWay);
        } else if (kind == "directory") {
            path = dir.filePath(QStringLiteral("folder.nes"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.nes")));
        } else if (kind == "gone") {
            path = dir.filePath(QStringLiteral("vanished/game.nes"));
        } else if (kind == "readonly") {
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (QFile f(dir.filePath(QStringLiteral("probe"))); f.open(QIODevice::WriteOnly)) {
                f.remove();
                QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                QSKIP("running with rights that write into any folder");
            }
        }
        const RomBytes rom = FromBytes(Pattern(262160));
        const RomBytes copy = rom;
        QString error;
        const bool saved = SaveRomFile(path, rom, error);
        SetRomWriteFault(nullptr);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!saved);
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(rom, copy);
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("game.nes"))), old);
        // No temporary file is left beside the target.
        const QStringList left = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("game.nes")});
    }
};

QTEST_GUILESS_MAIN(TestRomFile)
#include "test_rom_file.moc"
