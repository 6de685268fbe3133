// Dropping a file on the main window opens it as File > Open does; drags
// that carry no single local file are refused before they are dropped.
#include "desktop/FileDrop.h"
#include "history/EditHistory.h"
#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "../fixtures/FileFixture.h"
#include "WindowState.h"

namespace {

QByteArray DemoBytes()
{
    const RomBytes demo = MakeDemoCartridge();
    return QByteArray(reinterpret_cast<const char*>(demo.data()), qsizetype(demo.size()));
}

QMimeData* Urls(const QList<QUrl>& urls)
{
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

struct DragResult {
    bool EnterAccepted = false;
    bool DropAccepted = false;
};

// A drag entering `target`, moving over it and dropped there, through the
// application as the window system hands such events on; then the work the
// drop left for the event loop.
DragResult DragAndDrop(QWidget* target, QMimeData* data)
{
    const QPointF at(20, 20);
    DragResult r;
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, data, Qt::NoButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    r.EnterAccepted = enter.isAccepted();
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    r.DropAccepted = drop.isAccepted();
    QCoreApplication::sendPostedEvents();
    return r;
}

} // namespace

class TestFileDrop : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<MessageRequest> m_messages;
    QMessageBox::StandardButton m_unsavedAnswer = QMessageBox::Cancel;
    QString m_good, m_other;

private slots:
    void initTestCase()
    {
        m_good = m_dir.filePath(QStringLiteral("dropped.nes"));
        m_other = m_dir.filePath(QStringLiteral("other & more.nes"));
        QVERIFY(WriteFile(m_good, DemoBytes()));
        QVERIFY(WriteFile(m_other, Pattern(50000)));
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return m.Buttons.testFlag(QMessageBox::Discard) ? m_unsavedAnswer : QMessageBox::Ok;
        });
    }
    void init()
    {
        ResetProgramState();
        m_messages.clear();
    }

    void droppedFile_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("file");
        QTest::newRow("one local file") << QList<QUrl>{QUrl::fromLocalFile("/tmp/a.nes")} << "/tmp/a.nes";
        QTest::newRow("two files") << QList<QUrl>{QUrl::fromLocalFile("/tmp/a.nes"), QUrl::fromLocalFile("/tmp/b.nes")}
                                   << "";
        QTest::newRow("a web address") << QList<QUrl>{QUrl("https://www.example.org/a.nes")} << "";
        QTest::newRow("no urls") << QList<QUrl>{} << "";
    }
    void droppedFile()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, file);
        QMimeData data;
        data.setUrls(urls);
        QCOMPARE(DroppedFile(&data), file);
        QMimeData text;
        text.setText(QStringLiteral("/tmp/a.nes"));
        QCOMPARE(DroppedFile(&text), QString());
    }

    // Dropped on the window itself or on a picture in it: the drop goes up
    // to the window, which opens the file as File > Open does.
    void dropOpensTheFile_data()
    {
        QTest::addColumn<QString>("on");
        QTest::newRow("the window") << "window";
        QTest::newRow("the level view") << "picEditor";
        QTest::newRow("the status bar") << "SB1";
    }
    void dropOpensTheFile()
    {
        QFETCH(QString, on);
        frmVornEd w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget* target = on == "window" ? static_cast<QWidget*>(&w) : w.findChild<QWidget*>(on);
        QVERIFY(target);
        std::unique_ptr<QMimeData> data(Urls({QUrl::fromLocalFile(m_good)}));
        const DragResult r = DragAndDrop(target, data.get());
        QVERIFY(r.EnterAccepted);
        QVERIFY(r.DropAccepted);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(RomFileName, m_good);
        QCOMPARE(StateOf(w).Image, DemoBytes());
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - dropped.nes"));
        QCOMPARE(w.PanelText(1), m_good);
        QVERIFY(w.mnuSave->isEnabled() && w.mnuEdit->menuAction()->isEnabled());
    }

    void dropReplacesTheOpenImage()
    {
        frmVornEd w;
        w.show();
        QVERIFY(w.OpenRomPath(m_good));
        w.mnuStageSelect[1]->trigger();
        std::unique_ptr<QMimeData> data(Urls({QUrl::fromLocalFile(m_other)}));
        DragAndDrop(&w, data.get());
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(RomFileName, m_other);
        QCOMPARE(StateOf(w).Image, Pattern(50000));
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - other & more.nes"));
    }

    // With unsaved changes the drop asks what File > Open asks first;
    // Cancel keeps everything, Discard opens the dropped file.
    void dropAsksAboutUnsavedChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
        QTest::newRow("Discard") << int(QMessageBox::Discard) << true;
    }
    void dropAsksAboutUnsavedChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, opened);
        m_unsavedAnswer = QMessageBox::StandardButton(answer);
        frmVornEd w;
        w.show();
        QVERIFY(w.OpenRomPath(m_good));
        w.mnuStageSelect[1]->trigger();
        w.picTile_MouseDown(1, {}, 10, 70);
        w.picEditor_MouseDown(1, {}, 130, 70);
        QVERIFY(RomHistory().isModified());
        const WindowState edited = StateOf(w);
        QVERIFY(edited.Image != DemoBytes());
        std::unique_ptr<QMimeData> data(Urls({QUrl::fromLocalFile(m_other)}));
        DragAndDrop(&w, data.get());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QVERIFY(m_messages[0].Text.contains(m_good));
        if (opened) {
            QCOMPARE(RomFileName, m_other);
            QCOMPARE(StateOf(w).Image, Pattern(50000));
        } else {
            QCOMPARE(StateOf(w), edited);
            QVERIFY(RomHistory().isModified());
        }
        QCOMPARE(ReadFile(m_good), DemoBytes());
        m_unsavedAnswer = QMessageBox::Cancel;
    }

    // A file File > Open refuses is refused with the same message, and the
    // window stays as it was.
    void refusedDropChangesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty file") << "empty";
        QTest::newRow("vanished") << "missing";
        QTest::newRow("a folder") << "folder";
    }
    void refusedDropChangesNothing()
    {
        QFETCH(QString, kind);
        const QString bad = m_dir.filePath(QStringLiteral("bad-") + kind);
        if (kind == "empty")
            QVERIFY(WriteFile(bad, {}));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(bad));
        frmVornEd w;
        w.show();
        QVERIFY(w.OpenRomPath(m_good));
        const WindowState before = StateOf(w);
        std::unique_ptr<QMimeData> data(Urls({QUrl::fromLocalFile(bad)}));
        DragAndDrop(&w, data.get());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY2(m_messages[0].Text.contains(bad), qPrintable(m_messages[0].Text));
        QCOMPARE(StateOf(w), before);
    }

    // Drags that carry no single local file are not taken: the pointer
    // shows that, and a drop changes nothing.
    void dragsWithoutOneFileAreRefused_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::newRow("two files") << QList<QUrl>{QUrl::fromLocalFile(m_good), QUrl::fromLocalFile(m_other)} << "";
        QTest::newRow("a web address") << QList<QUrl>{QUrl("https://www.example.org/dropped.nes")} << "";
        QTest::newRow("text naming a file") << QList<QUrl>{} << m_good;
    }
    void dragsWithoutOneFileAreRefused()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        frmVornEd w;
        w.show();
        const WindowState before = StateOf(w);
        std::unique_ptr<QMimeData> data(new QMimeData);
        if (!urls.isEmpty())
            data->setUrls(urls);
        if (!text.isEmpty())
            data->setText(text);
        const DragResult r = DragAndDrop(&w, data.get());
        QVERIFY(!r.EnterAccepted);
        QVERIFY(!r.DropAccepted);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(StateOf(w), before);
    }
};

QTEST_MAIN(TestFileDrop)
#include "test_file_drop.moc"
