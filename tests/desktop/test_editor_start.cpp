// Starting the editor: its command line (vorned [FILE], --help, --version),
// and a file named there opened exactly as File > Open opens it.
#include "desktop/EditorArguments.h"
#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "shell/EditorStart.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "../fixtures/FileFixture.h"
#include "WindowState.h"

namespace {

QByteArray DemoBytes()
{
    const RomBytes demo = MakeDemoCartridge();
    return QByteArray(reinterpret_cast<const char*>(demo.data()), qsizetype(demo.size()));
}

struct EditorRun {
    int exitCode = -1;   // -1: did not end normally
    QString out, err;
};

// The built editor, started as a user would start it.
EditorRun RunEditor(const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A private runtime folder, as a desktop session gives one.
    const QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VORNED_EDITOR_PATH), args);
    EditorRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestEditorStart : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<MessageRequest> m_messages;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("VornEd"));
        QCoreApplication::setApplicationVersion(QStringLiteral("0.3"));
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return QMessageBox::Ok;
        });
    }
    void init()
    {
        ResetProgramState();
        m_messages.clear();
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");     // Run: the file
        QTest::addColumn<QString>("text");     // Help, Version, Error: part of the text
        using A = EditorArguments::Action;
        QTest::newRow("nothing") << QStringList{} << int(A::Run) << "" << "";
        QTest::newRow("a file") << QStringList{"game.nes"} << int(A::Run) << "game.nes" << "";
        QTest::newRow("a path with blanks") << QStringList{"/tmp/my games/a b.nes"} << int(A::Run)
                                            << "/tmp/my games/a b.nes" << "";
        QTest::newRow("a file after --") << QStringList{"--", "-odd.nes"} << int(A::Run) << "-odd.nes" << "";
        QTest::newRow("--help") << QStringList{"--help"} << int(A::Help) << "" << "Usage: vorned [options] [FILE]\n";
        QTest::newRow("-h") << QStringList{"-h"} << int(A::Help) << "" << "--version";
        QTest::newRow("--help wins over a bad option") << QStringList{"--frob", "--help"} << int(A::Help) << ""
                                                       << "Usage:";
        QTest::newRow("--version") << QStringList{"--version"} << int(A::Version) << "" << "VornEd 0.3\n";
        QTest::newRow("unknown option") << QStringList{"--frob"} << int(A::Error) << "" << "frob";
        QTest::newRow("two files") << QStringList{"a.nes", "b.nes"} << int(A::Error) << ""
                                   << "only one file can be opened at start (got 2)";
        QTest::newRow("empty name") << QStringList{""} << int(A::Error) << "" << "the file name is empty";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, file);
        QFETCH(QString, text);
        const EditorArguments parsed = ParseEditorArguments(QStringList{QStringLiteral("vorned")} + args);
        QCOMPARE(int(parsed.What), action);
        QCOMPARE(parsed.File, file);
        if (text.isEmpty())
            QCOMPARE(parsed.Text, QString());
        else
            QVERIFY2(parsed.Text.contains(text), qPrintable(parsed.Text));
    }

    void startsOnAGoodFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("start.nes"));
        QVERIFY(WriteFile(path, DemoBytes()));
        frmVornEd w;
        w.show();
        OpenAtStart(w, path);
        QVERIFY(m_messages.isEmpty());
        // As File > Open leaves it.
        QCOMPARE(RomFileName, path);
        QCOMPARE(ReadFile(path), StateOf(w).Image);
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - start.nes"));
        QCOMPARE(w.PanelText(1), path);
        QVERIFY(w.mnuSave->isEnabled() && w.mnuSaveAS->isEnabled());
        QVERIFY(w.mnuEdit->menuAction()->isEnabled() && w.mnuLevel->menuAction()->isEnabled());
        QVERIFY(!w.mnuView->menuAction()->isEnabled());
        QVERIFY(ZoneTable[0].TileBank != 0);
    }

    void relativeNameIsTakenFromTheCurrentFolder()
    {
        QVERIFY(WriteFile(m_dir.filePath(QStringLiteral("here.nes")), DemoBytes()));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        frmVornEd w;
        OpenAtStart(w, QStringLiteral("here.nes"));
        QDir::setCurrent(before);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(RomFileName, QDir(m_dir.path()).absoluteFilePath(QStringLiteral("here.nes")));
        QCOMPARE(w.PanelText(1), RomFileName);
    }

    void refusedOrMissingFileLeavesTheStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("over 16 MiB") << "huge";
    }
    void refusedOrMissingFileLeavesTheStart()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + QStringLiteral(".nes"));
        if (kind == "empty")
            QVERIFY(WriteFile(path, {}));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(16 * 1024 * 1024 + 1));
        }
        const frmVornEd fresh;
        const WindowState atStart = StateOf(fresh);
        frmVornEd w;
        w.show();
        OpenAtStart(w, path);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY2(m_messages[0].Text.contains(path), qPrintable(m_messages[0].Text));
        QCOMPARE(StateOf(w), atStart);
        QVERIFY(RomFileName.isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3"));
    }

    // The program itself: help and version on standard output without a
    // window, a bad command line refused with status 2 before any window.
    void programCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: vorned [options] [FILE]\n" << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "VornEd 0.3\n" << "";
        QTest::newRow("Qt's own option and --version") << QStringList{"-platform", "offscreen", "--version"} << 0
                                                       << "VornEd 0.3\n" << "";
        QTest::newRow("unknown option") << QStringList{"--frob"} << 2 << ""
                                        << "vorned: Unknown option 'frob'.\nRun \"vorned --help\" for the usage.\n";
        QTest::newRow("two files") << QStringList{"a.nes", "b.nes"} << 2 << ""
                                   << "vorned: only one file can be opened at start (got 2)\n";
    }
    void programCommandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const EditorRun run = RunEditor(args);
        QCOMPARE(run.exitCode, status);
        if (out.isEmpty())
            QCOMPARE(run.out, QString());
        else
            QVERIFY2(run.out.startsWith(out), qPrintable(run.out));
        if (err.isEmpty())
            QCOMPARE(run.err, QString());
        else
            QVERIFY2(run.err.contains(err), qPrintable(run.err));
    }
};

QTEST_MAIN(TestEditorStart)
#include "test_editor_start.moc"
