// vorned-cli against the editor window itself: render gives what the level
// view shows, and place gives the same file as a left click and File > Save.
#include "CliRun.h"
#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

class TestCliEditorView : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_openPath; // what the file dialog answers

private slots:
    void init()
    {
        ResetProgramState();
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            return FileDialogAnswer{true, m_openPath, r.FilterIndex, r.Flags};
        });
        SetMessageResponder([](const MessageRequest&) { return QMessageBox::Ok; });
    }
    void cleanup()
    {
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
    }

    void renderIsTheLevelView_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::newRow("zone 1 room 0") << 1 << 0;
        QTest::newRow("zone 2 room 17") << 2 << 17;
        QTest::newRow("zone 5 room 32") << 5 << 32;
        QTest::newRow("zone 7 room 9") << 7 << 9;
    }
    void renderIsTheLevelView()
    {
        QFETCH(int, zone);
        QFETCH(int, room);
        m_openPath = m_dir.filePath(QStringLiteral("view.nes"));
        QVERIFY(WriteImageFile(m_openPath, MakeDemoCartridge()));
        frmVornEd w;
        w.mnuOpen->trigger();
        QCOMPARE(RomFileName, m_openPath);
        w.mnuStageSelect[std::size_t(zone - 1)]->trigger();
        w.hLevel_Frames->setValue(room);
        QCOMPARE(w.hLevel_Frames->value(), room);

        const QString png = m_dir.filePath(QStringLiteral("view.png"));
        const CliRunResult run = RunVornedCli({"render", m_openPath, "--zone", QString::number(zone), "--room",
                                               QString::number(room), "-o", png});
        QCOMPARE(run.exitCode, 0);
        const QImage picture = QImage(png).convertToFormat(QImage::Format_RGB32);
        const QImage view = w.picEditor->canvas().image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), view.size());
        QVERIFY(picture == view);
    }

    void placeIsALeftClickAndSave_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("metatile");
        QTest::newRow("zone 3 room 5 cell (2, 1)") << 3 << 5 << 2 << 1 << 0x2A;
        QTest::newRow("zone 6 room 30 cell (7, 5)") << 6 << 30 << 7 << 5 << 201;
    }
    void placeIsALeftClickAndSave()
    {
        QFETCH(int, zone);
        QFETCH(int, room);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, metatile);
        const QString byEditor = m_dir.filePath(QStringLiteral("editor.nes"));
        const QString byCli = m_dir.filePath(QStringLiteral("cli.nes"));
        QVERIFY(WriteImageFile(byEditor, MakeDemoCartridge()));
        QVERIFY(WriteImageFile(byCli, MakeDemoCartridge()));

        m_openPath = byEditor;
        frmVornEd w;
        w.mnuOpen->trigger();
        w.mnuStageSelect[std::size_t(zone - 1)]->trigger();
        w.hsTable->setValue(metatile / 4);
        w.picTile_MouseDown(1, {}, 32, 64 * (metatile % 4) + 32);
        QCOMPARE(w.SelectedMetatile(), metatile);
        w.hLevel_Frames->setValue(room);
        w.picEditor_MouseDown(1, {}, 64 * column + 10, 64 * row + 50);
        w.mnuSave->trigger();

        const CliRunResult run = RunVornedCli({"place", byCli, "--zone", QString::number(zone), "--room",
                                               QString::number(room), "--col", QString::number(column), "--row",
                                               QString::number(row), "--metatile", QString::number(metatile)});
        QCOMPARE(run.exitCode, 0);
        const QByteArray cli = ReadFile(byCli);
        QCOMPARE(cli.size(), qsizetype(DemoCartridgeSize));
        QVERIFY(cli == ReadFile(byEditor));
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(!std::equal(cli.begin(), cli.end(), demo.bytes().begin(),
                            [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    }
};

QTEST_MAIN(TestCliEditorView)
#include "test_cli_editor_view.moc"
