// Finding the emulator, building its command line, and a test-play session
// that writes the image privately and starts a stub emulator on it.
#include "../fixtures/FileFixture.h"
#include "../fixtures/StubEmulator.h"
#include "demo/DemoCartridge.h"
#include "testplay/Emulator.h"
#include "testplay/TestPlaySession.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void MakeExecutable(const QString& path, bool executable = true)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        p |= QFile::ExeOwner;
    QVERIFY(f.setPermissions(p));
}

QByteArray Bytes(const RomBytes& rom)
{
    return QByteArray(reinterpret_cast<const char*>(rom.data()), qsizetype(rom.size()));
}

} // namespace

class TestEmulator : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void firstKnownEmulatorOnPath_data()
    {
        QTest::addColumn<QStringList>("installed"); // "folder/name", "!" before a non-executable one
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("fceux only") << QStringList{"a/fceux"} << "fceux";
        QTest::newRow("nestopia when fceux is missing") << QStringList{"a/nestopia", "b/mednafen"} << "nestopia";
        QTest::newRow("mednafen alone") << QStringList{"b/mednafen"} << "mednafen";
        QTest::newRow("fceux first, wherever it lies") << QStringList{"a/mednafen", "a/nestopia", "b/fceux"} << "fceux";
        QTest::newRow("a file that is not executable is not a program") << QStringList{"!a/fceux", "b/nestopia"}
                                                                         << "nestopia";
        QTest::newRow("a folder is not a program") << QStringList{"a/fceux/", "b/mednafen"} << "mednafen";
        QTest::newRow("other programs do not count") << QStringList{"a/fceux-qt", "a/snes9x"} << QString();
    }
    void firstKnownEmulatorOnPath()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        QTemporaryDir root;
        for (QString entry : installed) {
            const bool executable = !entry.startsWith(QLatin1Char('!'));
            entry.remove(QLatin1Char('!'));
            if (entry.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir().mkpath(root.filePath(entry)));
                continue;
            }
            QVERIFY(QDir().mkpath(QFileInfo(root.filePath(entry)).path()));
            MakeExecutable(root.filePath(entry), executable);
        }
        const QString path = root.filePath(QStringLiteral("a")) + QStringLiteral("::") + root.filePath(QStringLiteral("b"));
        QCOMPARE(FirstKnownEmulator(path), expected);
        QString error;
        const std::optional<EmulatorLaunch> launch =
            ChooseEmulator(QString(), QStringLiteral("/tmp/x y.nes"), path, error);
        if (expected.isEmpty()) {
            QVERIFY(!launch);
            for (const char* package : {"fceux", "nestopia", "mednafen", "apt install"})
                QVERIFY2(error.contains(QLatin1String(package)), qPrintable(error));
        } else {
            QVERIFY2(launch, qPrintable(error));
            QCOMPARE(QFileInfo(launch->program).fileName(), expected);
            QVERIFY(QFileInfo(launch->program).isAbsolute());
            QCOMPARE(launch->arguments, QStringList{QStringLiteral("/tmp/x y.nes")});
        }
    }

    void commandLines_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("arguments");
        const QString file = QStringLiteral("/tmp/dir with blanks/Vorn.nes");
        QTest::newRow("program alone: the file is appended") << "emu" << QStringList{file};
        QTest::newRow("options, no %f") << "emu --fullscreen -v 2" << QStringList{"--fullscreen", "-v", "2", file};
        QTest::newRow("%f as a word") << "emu %f --fullscreen" << QStringList{file, "--fullscreen"};
        QTest::newRow("%f inside a word") << "emu --rom=%f" << QStringList{"--rom=" + file};
        QTest::newRow("%f twice") << "emu %f --also %f" << QStringList{file, "--also", file};
        QTest::newRow("quoted words") << "\"emu\" \"a b\" 'c'" << QStringList{"a b", "'c'", file};
        QTest::newRow("blanks around") << "   emu    -x   " << QStringList{"-x", file};
    }
    void commandLines()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, arguments);
        MakeExecutable(m_dir.filePath(QStringLiteral("emu")));
        QString error;
        const std::optional<EmulatorLaunch> launch =
            LaunchFromCommand(command, QStringLiteral("/tmp/dir with blanks/Vorn.nes"), m_dir.path(), error);
        QVERIFY2(launch, qPrintable(error));
        QCOMPARE(launch->program, m_dir.filePath(QStringLiteral("emu")));
        QCOMPARE(launch->arguments, arguments);
    }

    void commandsThatCannotStart_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << "   " << "empty";
        QTest::newRow("not on PATH") << "no-such-emulator %f" << "no program of that name is on PATH";
        QTest::newRow("missing file") << "/no/such/folder/emu" << "there is no such file";
        QTest::newRow("not executable") << "@plain" << "not an executable file";
        QTest::newRow("a folder") << "@" << "not an executable file";
    }
    void commandsThatCannotStart()
    {
        QFETCH(QString, command);
        QFETCH(QString, reason);
        QVERIFY(WriteFile(m_dir.filePath(QStringLiteral("plain")), "data"));
        command.replace(QLatin1Char('@'), m_dir.path() + QLatin1Char('/'));
        QString error;
        QVERIFY(!LaunchFromCommand(command, QStringLiteral("/tmp/a.nes"), m_dir.path(), error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        // Stored, it is used as it stands: no fallback to another emulator.
        MakeExecutable(m_dir.filePath(QStringLiteral("fceux")));
        error.clear();
        if (!command.trimmed().isEmpty()) {
            QVERIFY(!ChooseEmulator(command, QStringLiteral("/tmp/a.nes"), m_dir.path(), error));
            QVERIFY(error.contains(reason));
        }
    }

    void storedCommandWins()
    {
        MakeExecutable(m_dir.filePath(QStringLiteral("fceux")));
        MakeExecutable(m_dir.filePath(QStringLiteral("mine")));
        QString error;
        const std::optional<EmulatorLaunch> launch =
            ChooseEmulator(QStringLiteral("mine -f %f"), QStringLiteral("/tmp/a.nes"), m_dir.path(), error);
        QVERIFY(launch);
        QCOMPARE(launch->program, m_dir.filePath(QStringLiteral("mine")));
        QCOMPARE(launch->arguments, (QStringList{"-f", "/tmp/a.nes"}));
    }

    void commandIsStoredInSettings()
    {
        StoreEmulatorCommand(QStringLiteral("  nestopia --fullscreen %f "));
        QCOMPARE(StoredEmulatorCommand(), QStringLiteral("nestopia --fullscreen %f"));
        StoreEmulatorCommand(QStringLiteral("   "));
        QCOMPARE(StoredEmulatorCommand(), QString());
    }

    void sessionStartsTheEmulatorOnACopy()
    {
        QTemporaryDir work;
        const QString bin = work.filePath(QStringLiteral("bin"));
        const QString out = work.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        QVERIFY(WriteStubEmulator(bin, QStringLiteral("nestopia"), out));
        RomBytes image = MakeDemoCartridge();
        image.write(0x7146, 0x2A);

        QString folder;
        {
            TestPlaySession session;
            QString error;
            QVERIFY2(session.Start(image, QStringLiteral("/home/someone/Vorn (edited).nes"), QString(), bin, error),
                     qPrintable(error));
            folder = session.Folder();
            QCOMPARE(session.LastFile(), QDir(folder).filePath(QStringLiteral("Vorn (edited).nes")));
            QCOMPARE(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup |
                                                   QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther),
                     QFile::Permissions());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(out).filePath(QStringLiteral("args"))), 20000);
            QCOMPARE(ReadFile(QDir(out).filePath(QStringLiteral("args"))), (session.LastFile() + "\n").toUtf8());
            QCOMPARE(ReadFile(QDir(out).filePath(QStringLiteral("image"))), Bytes(image));

            // A second start writes the image as it is then.
            QFile::remove(QDir(out).filePath(QStringLiteral("args")));
            image.write(0x10, 0x77);
            QVERIFY2(session.Start(image, QString(), QStringLiteral("nestopia -x %f"), bin, error), qPrintable(error));
            QCOMPARE(session.LastFile(), QDir(folder).filePath(QStringLiteral("testplay.nes")));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(out).filePath(QStringLiteral("args"))), 20000);
            QCOMPARE(ReadFile(QDir(out).filePath(QStringLiteral("args"))), ("-x\n" + session.LastFile() + "\n").toUtf8());
            QCOMPARE(ReadFile(QDir(out).filePath(QStringLiteral("image"))), Bytes(image));
        }
        // The session's end removes its folder and the copies in it.
        QVERIFY(!QFileInfo::exists(folder));
    }

    void sessionRefusalsWriteNothing()
    {
        QTemporaryDir work;
        TestPlaySession session;
        QString error;
        QVERIFY(!session.Start(MakeDemoCartridge(), QStringLiteral("a.nes"), QString(), work.path(), error));
        QVERIFY(error.contains(QStringLiteral("fceux")));
        QVERIFY(session.LastFile().isEmpty());
        if (!session.Folder().isEmpty())
            QVERIFY(QDir(session.Folder()).isEmpty());
        QVERIFY(!session.Start(RomBytes(), QStringLiteral("a.nes"), QString(), work.path(), error));
        QVERIFY(error.contains(QStringLiteral("open one first")));
    }

    void programTheSystemCannotRun()
    {
        // Executable, but neither a script with an interpreter nor a binary.
        QTemporaryDir work;
        const QString bogus = work.filePath(QStringLiteral("bogus"));
        QVERIFY(WriteFile(bogus, QByteArray("\x7F" "ELF garbage", 12)));
        QVERIFY(QFile::setPermissions(bogus, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        TestPlaySession session;
        QString error;
        QVERIFY(!session.Start(MakeDemoCartridge(), QStringLiteral("a.nes"), bogus + QStringLiteral(" %f"), QString(), error));
        QVERIFY2(error.contains(QStringLiteral("could not be started")) && error.contains(bogus), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestEmulator)
#include "test_emulator.moc"
