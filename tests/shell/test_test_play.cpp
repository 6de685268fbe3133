// Tools › Test Play and Tools › Emulator… in the main window: their place in
// the menu, F5 handing the image with unsaved edits to a stub emulator on
// PATH, the stored command, the messages when nothing can be started, and
// the copies gone with the window.
#include "../fixtures/FileFixture.h"
#include "../fixtures/StubEmulator.h"
#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "shell/TestPlayMenu.h"
#include "shell/frmEmulator.h"
#include "shell/frmVornEd.h"
#include "testplay/Emulator.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestTestPlay : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    QList<MessageRequest> m_messages;

    QString bin() const { return m_dir.filePath(QStringLiteral("bin")); }
    QString out() const { return m_dir.filePath(QStringLiteral("out")); }
    QString outFile(const char* name) const { return QDir(out()).filePath(QLatin1String(name)); }

    static TestPlayMenu* Menu(frmVornEd& w) { return w.findChild<TestPlayMenu*>(); }

    void openDemo(frmVornEd& w)
    {
        const RomBytes demo = MakeDemoCartridge();
        const QString path = m_dir.filePath(QStringLiteral("Vorn.nes"));
        QVERIFY(WriteFile(path, QByteArray(reinterpret_cast<const char*>(demo.data()), qsizetype(demo.size()))));
        QVERIFY(w.OpenRomPath(path));
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_oldPath = qgetenv("PATH");
        QVERIFY(QDir().mkpath(out()));
        QVERIFY(WriteStubEmulator(bin(), QStringLiteral("fceux"), out()));
    }
    void init()
    {
        ResetProgramState();
        StoreEmulatorCommand(QString());
        m_messages.clear();
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return QMessageBox::Ok;
        });
        // The stub first; system folders only for what the stub itself runs.
        qputenv("PATH", (bin() + QStringLiteral(":/usr/bin:/bin")).toLocal8Bit());
        QFile::remove(outFile("args"));
        QFile::remove(outFile("image"));
        frmVornEd::EndProgram() = [] {};
    }
    void cleanup()
    {
        SetMessageResponder({});
        frmEmulator::Runner() = {};
        qputenv("PATH", m_oldPath);
    }

    void entriesFollowTheToolsMenu()
    {
        frmVornEd w;
        QStringList tools;
        for (QAction* a : w.mnuTools->actions())
            tools << (a->isSeparator() ? QStringLiteral("-") : a->text());
        // Entries added later (the graphics tools) follow these.
        QCOMPARE(tools.mid(0, 4), (QStringList{"&Password Generator", "-", "&Test Play", "&Emulator…"}));
        TestPlayMenu* menu = Menu(w);
        QVERIFY(menu);
        QCOMPARE(menu->mnuTestPlay->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY(!menu->mnuTestPlay->isEnabled());
        QVERIFY(menu->mnuEmulator->isEnabled());
        openDemo(w);
        QVERIFY(menu->mnuTestPlay->isEnabled());
    }

    void f5HandsTheImageWithUnsavedEditsToTheEmulator()
    {
        QString folder;
        {
            frmVornEd w;
            openDemo(w);
            const QByteArray onDisk = ReadFile(RomFileName);
            RomImage.write(0x7146, 0x2A); // an edit not saved
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTest::keyClick(&w, Qt::Key_F5);
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(outFile("args")), 20000);
            QVERIFY(m_messages.isEmpty());
            const QString copy = Menu(w)->Session().LastFile();
            QCOMPARE(QFileInfo(copy).fileName(), QStringLiteral("Vorn.nes"));
            QVERIFY(copy != RomFileName);
            QCOMPARE(ReadFile(outFile("args")), (copy + "\n").toUtf8());
            const QByteArray played = ReadFile(outFile("image"));
            QCOMPARE(played, QByteArray(reinterpret_cast<const char*>(RomImage.data()), qsizetype(RomImage.size())));
            QVERIFY(played != onDisk);
            QCOMPARE(ReadFile(RomFileName), onDisk); // the file itself is left alone
            folder = Menu(w)->Session().Folder();
            QVERIFY(QFileInfo::exists(copy));
        }
        // The editor's end takes the copies with it.
        QVERIFY(!folder.isEmpty());
        QVERIFY(!QFileInfo::exists(folder));
    }

    void emulatorCommandIsAskedStoredAndUsed()
    {
        frmVornEd w;
        openDemo(w);
        QString offered = QStringLiteral("(not asked)");
        frmEmulator::Runner() = [&](const QString& current) -> std::optional<QString> {
            offered = current;
            return QStringLiteral("  fceux --fullscreen %f --sound 0 ");
        };
        Menu(w)->mnuEmulator->trigger();
        QCOMPARE(offered, QString());
        QCOMPARE(StoredEmulatorCommand(), QStringLiteral("fceux --fullscreen %f --sound 0"));

        Menu(w)->mnuTestPlay->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(outFile("args")), 20000);
        const QString copy = Menu(w)->Session().LastFile();
        QCOMPARE(ReadFile(outFile("args")), ("--fullscreen\n" + copy + "\n--sound\n0\n").toUtf8());

        // Cancelling keeps what was stored.
        frmEmulator::Runner() = [&](const QString& current) -> std::optional<QString> {
            offered = current;
            return std::nullopt;
        };
        Menu(w)->mnuEmulator->trigger();
        QCOMPARE(offered, QStringLiteral("fceux --fullscreen %f --sound 0"));
        QCOMPARE(StoredEmulatorCommand(), QStringLiteral("fceux --fullscreen %f --sound 0"));
    }

    void nothingToStartIsTold_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("mentions");
        QTest::newRow("no emulator on PATH") << QString()
                                             << QStringList{"fceux", "nestopia", "mednafen", "apt install", "Emulator…"};
        QTest::newRow("stored program missing") << QStringLiteral("/no/such/emulator %f")
                                                << QStringList{"/no/such/emulator", "there is no such file"};
        QTest::newRow("stored program not on PATH") << QStringLiteral("snes9x %f")
                                                    << QStringList{"snes9x", "no program of that name is on PATH"};
    }
    void nothingToStartIsTold()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, mentions);
        QTemporaryDir empty;
        qputenv("PATH", empty.path().toLocal8Bit());
        StoreEmulatorCommand(stored);
        frmVornEd w;
        openDemo(w);
        Menu(w)->mnuTestPlay->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().Title, QStringLiteral("VornEd"));
        for (const QString& text : mentions)
            QVERIFY2(m_messages.first().Text.contains(text), qPrintable(m_messages.first().Text));
        QVERIFY(Menu(w)->Session().LastFile().isEmpty());
    }

    void emulatorDialog()
    {
        frmEmulator found(nullptr, QStringLiteral("nestopia %f"), bin());
        QCOMPARE(found.windowTitle(), QStringLiteral("Emulator"));
        QCOMPARE(found.txtCommand->text(), QStringLiteral("nestopia %f"));
        QVERIFY(found.lblFound->text().contains(QStringLiteral("fceux")));
        found.txtCommand->setText(QStringLiteral("  mednafen  "));
        QCOMPARE(found.Command(), QStringLiteral("mednafen"));
        QTemporaryDir empty;
        frmEmulator none(nullptr, QString(), empty.path());
        QVERIFY(none.lblFound->text().contains(QStringLiteral("None of them")));
    }
};

QTEST_MAIN(TestTestPlay)
#include "test_test_play.moc"
