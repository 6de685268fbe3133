// The main window as a user drives it: menus, Open, Save, Save As, the close
// question, and what a refused file leaves behind.
#include "rom/ProgramState.h"
#include "rom/RomFile.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "../fixtures/FileFixture.h"

namespace {

QByteArray ImageBytes()
{
    return QByteArray(reinterpret_cast<const char*>(RomImage.data()), int(RomImage.size()));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_nextChoice;           // what the file dialog answers; empty = cancel
    FileDialogRequest m_lastRequest;
    QList<MessageRequest> m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::No;
    int m_ended = 0;

    void openVia(frmVornEd& w, const QString& path)
    {
        m_nextChoice = path;
        w.mnuOpen->trigger();
    }

private slots:
    void init()
    {
        ResetProgramState();
        m_messages.clear();
        m_ended = 0;
        m_answer = QMessageBox::No;
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            m_lastRequest = r;
            FileDialogAnswer a;
            a.Confirmed = !m_nextChoice.isEmpty();
            a.FileName = m_nextChoice;
            a.FilterIndex = r.FilterIndex;
            a.Flags = r.Flags;
            return a;
        });
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return m.Buttons.testFlag(QMessageBox::Yes) ? m_answer : QMessageBox::Ok;
        });
        frmVornEd::EndProgram() = [this] { ++m_ended; };
    }
    void cleanup()
    {
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
    }

    void startState()
    {
        frmVornEd w;
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3"));
        QVERIFY(w.mnuOpen->isEnabled());
        QVERIFY(w.mnuExit->isEnabled());
        QVERIFY(!w.mnuSave->isEnabled());
        QVERIFY(!w.mnuSaveAS->isEnabled());
        QVERIFY(!w.mnuEdit->menuAction()->isEnabled());
        QVERIFY(!w.mnuLevel->menuAction()->isEnabled());
        QVERIFY(!w.mnuView->menuAction()->isEnabled());
        QVERIFY(!w.mnuGrid[0]->isEnabled() && !w.mnuGrid[1]->isEnabled());
        QVERIFY(!w.mnuGrid[0]->isChecked() && !w.mnuGrid[1]->isChecked());
        QVERIFY(w.mnuTools->menuAction()->isEnabled() && w.mnuGenerator->isEnabled());
        QVERIFY(w.mnuHelp->menuAction()->isEnabled() && w.mnuAbout->isEnabled());
        QCOMPARE(w.picSelectedTile->Tag, QStringLiteral("-1"));
        QCOMPARE(w.hLevel_Frames->maximum(), 0);
        // Menu bar order and captions.
        QStringList bar;
        for (QAction* a : w.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"&File", "&Edit", "&View", "&Tools", "&Help"}));
        QStringList zones;
        for (QAction* a : w.mnuLevel->actions())
            zones << a->text() + (a->isEnabled() ? "" : " (disabled)") + (a->isChecked() ? " (checked)" : "");
        QCOMPARE(zones, (QStringList{"Zone 1", "Zone 2", "Zone 3", "Zone 4", "Zone 5", "Zone 6", "Zone 7"}));
    }

    void layoutMatchesTheWindowDescription()
    {
        frmVornEd w;
        QCOMPARE(w.picEditor->geometry(), QRect(16, 8, 512, 384));
        QCOMPARE(w.hLevel_Frames->geometry(), QRect(16, 392, 512, 13));
        QCOMPARE(w.picTile->geometry(), QRect(568, 40, 64, 256));
        QCOMPARE(w.hsTable->geometry(), QRect(568, 296, 64, 13));
        QCOMPARE(w.picSelectedTile->geometry(), QRect(568, 320, 64, 64));
        QCOMPARE(w.cmdEditTile->geometry(), QRect(576, 392, 49, 17));
        QCOMPARE(w.cmdEditTile->text(), QStringLiteral("Edit Tile"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.centralWidget()->width(), 649);
        QCOMPARE(w.centralWidget()->height() + w.SB1->height(), 447);
    }

    void openEnablesMenusAndSaveWritesBack()
    {
        const QString path = m_dir.filePath(QStringLiteral("Vorn test.nes"));
        const QByteArray original = Pattern(262160);
        QVERIFY(WriteFile(path, original));
        frmVornEd w;
        openVia(w, path);
        QCOMPARE(m_lastRequest.Flags, std::uint32_t(0x1000));
        QCOMPARE(m_lastRequest.FilterIndex, 1);
        QCOMPARE(m_lastRequest.DefaultExt, QStringLiteral("NES"));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(RomFileName, path);
        QCOMPARE(ImageBytes(), original);
        QCOMPARE(w.PanelText(1), path);
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - Vorn test.nes"));
        QVERIFY(w.mnuSave->isEnabled() && w.mnuSaveAS->isEnabled());
        QVERIFY(w.mnuEdit->menuAction()->isEnabled() && w.mnuLevel->menuAction()->isEnabled());
        QVERIFY(!w.mnuPalette->isEnabled() && !w.mnuTileEditor->isEnabled());
        QVERIFY(!w.mnuView->menuAction()->isEnabled());
        QVERIFY(ZoneTable[0].TileBank != 0 && ZoneTable[6].TileBank != 0 && ZoneTable[7].TileBank == 0);

        // Save writes the same bytes back, whole.
        QVERIFY(WriteFile(path, Pattern(300000, 5)));
        w.mnuSave->trigger();
        QCOMPARE(ReadFile(path), original);
    }

    void cancelledOpenKeepsEverything()
    {
        const QString path = m_dir.filePath(QStringLiteral("keep.nes"));
        QVERIFY(WriteFile(path, Pattern(70000)));
        frmVornEd w;
        openVia(w, path);
        const QString caption = w.windowTitle();
        openVia(w, QString());
        QCOMPARE(m_lastRequest.FileName, path);   // the dialog starts at the open file
        QCOMPARE(RomFileName, path);
        QCOMPARE(ImageBytes(), Pattern(70000));
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(w.PanelText(1), path);
        QVERIFY(w.mnuSave->isEnabled());
    }

    void saveAsMovesTheEditing()
    {
        const QString first = m_dir.filePath(QStringLiteral("first.nes"));
        const QString second = m_dir.filePath(QStringLiteral("second.nes"));
        QVERIFY(WriteFile(first, Pattern(50000)));
        QVERIFY(WriteFile(second, Pattern(90000, 3)));   // longer: no tail may survive
        frmVornEd w;
        openVia(w, first);
        m_nextChoice = second;
        w.mnuSaveAS->trigger();
        QCOMPARE(m_lastRequest.Flags, std::uint32_t(0x280806));
        QCOMPARE(m_lastRequest.Title, QStringLiteral("Choose Location to Save Document to"));
        QCOMPARE(m_lastRequest.FileName, first);
        QCOMPARE(ReadFile(second), Pattern(50000));
        QCOMPARE(RomFileName, second);
        QCOMPARE(w.PanelText(1), second);
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - second.nes"));
        // Later saves go to the new file.
        RomImage.write(100, 0xAB);
        w.mnuSave->trigger();
        QCOMPARE(ReadFile(second).at(100), char(0xAB));
        QCOMPARE(ReadFile(first), Pattern(50000));
    }

    void cancelledSaveAsKeepsEverything()
    {
        const QString path = m_dir.filePath(QStringLiteral("stay.nes"));
        QVERIFY(WriteFile(path, Pattern(40000)));
        frmVornEd w;
        openVia(w, path);
        m_nextChoice.clear();
        w.mnuSaveAS->trigger();
        QCOMPARE(RomFileName, path);
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - stay.nes"));
        QCOMPARE(w.PanelText(1), path);
        QVERIFY(m_messages.isEmpty());
    }

    void failedSaveAsKeepsTheName()
    {
        const QString path = m_dir.filePath(QStringLiteral("name.nes"));
        QVERIFY(WriteFile(path, Pattern(40000)));
        frmVornEd w;
        openVia(w, path);
        m_nextChoice = m_dir.filePath(QStringLiteral("no/such/folder/x.nes"));
        w.mnuSaveAS->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY(m_messages[0].Text.contains(QStringLiteral("x.nes")));
        QCOMPARE(RomFileName, path);
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - name.nes"));
        QCOMPARE(w.PanelText(1), path);
    }

    void refusedOpenKeepsEverything_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty file") << "empty";
        QTest::newRow("over 16 MiB") << "huge";
        QTest::newRow("vanished") << "missing";
    }
    void refusedOpenKeepsEverything()
    {
        QFETCH(QString, kind);
        const QString good = m_dir.filePath(QStringLiteral("good.nes"));
        QVERIFY(WriteFile(good, Pattern(30000)));
        const QString bad = m_dir.filePath(kind + QStringLiteral(".nes"));
        if (kind == "empty")
            QVERIFY(WriteFile(bad, {}));
        else if (kind == "huge") {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(16 * 1024 * 1024 + 1));
        }
        frmVornEd w;
        openVia(w, good);
        const ZoneTableArray zones = ZoneTable;
        openVia(w, bad);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY(!m_messages[0].Text.isEmpty());
        QCOMPARE(RomFileName, good);
        QCOMPARE(ImageBytes(), Pattern(30000));
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - good.nes"));
        QCOMPARE(w.PanelText(1), good);
        QVERIFY(ZoneTable == zones);
    }

    void refusedFirstOpenLeavesMenusDisabled()
    {
        const QString bad = m_dir.filePath(QStringLiteral("empty-first.nes"));
        QVERIFY(WriteFile(bad, {}));
        frmVornEd w;
        openVia(w, bad);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(RomFileName.isEmpty());
        QVERIFY(!w.mnuSave->isEnabled());
        QVERIFY(!w.mnuEdit->menuAction()->isEnabled());
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3"));
    }

    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("Save: write fails part way") << "fault";
        QTest::newRow("Save As: target is a folder") << "directory";
        QTest::newRow("Save As: folder removed after the dialog") << "vanished";
        QTest::newRow("Save As: read-only folder") << "readonly";
    }
    void failedSaveChangesNothing()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("game.nes"));
        QVERIFY(WriteFile(path, Pattern(60000)));
        frmVornEd w;
        openVia(w, path);
        QVERIFY(RomImage.write(10, 0x5A));   // an unsaved edit
        const QByteArray inMemory = ImageBytes();

        QString target;
        if (kind == "fault") {
            SetRomWriteFault([](qint64) { return QStringLiteral("No space left on device"); });
            w.mnuSave->trigger();
            SetRomWriteFault(nullptr);
            target = path;
        } else {
            const QString sub = dir.filePath(QStringLiteral("sub"));
            QVERIFY(QDir().mkdir(sub));
            target = sub + QStringLiteral("/copy.nes");
            if (kind == "directory") {
                QVERIFY(QDir().mkdir(target));
            } else if (kind == "readonly") {
                QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
                QFile probe(sub + QStringLiteral("/probe"));
                if (probe.open(QIODevice::WriteOnly)) {
                    probe.remove();
                    QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                    QSKIP("running with rights that write into a read-only folder");
                }
            }
            clsDialog::SetFileDialogRunner([&](const FileDialogRequest&) {
                if (kind == "vanished")
                    QDir(sub).removeRecursively();
                return FileDialogAnswer{true, target, 1, 0};
            });
            w.mnuSaveAS->trigger();
            QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY2(m_messages[0].Text.contains(target), qPrintable(m_messages[0].Text));
        QCOMPARE(ReadFile(path), Pattern(60000));
        QCOMPARE(ImageBytes(), inMemory);
        QCOMPARE(RomFileName, path);
        QCOMPARE(w.PanelText(1), path);
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - game.nes"));
    }

    void passwordGeneratorOpensOnceOwnedByTheWindow()
    {
        frmVornEd w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.mnuGenerator->trigger();
        QList<QWidget*> windows;
        for (QWidget* child : w.findChildren<QWidget*>())
            if (child->isWindow() && child->windowTitle() == QStringLiteral("VornGen"))
                windows << child;
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->parentWidget(), static_cast<QWidget*>(&w));
        w.mnuGenerator->trigger();
        int count = 0;
        for (QWidget* child : w.findChildren<QWidget*>())
            count += child->isWindow() && child->windowTitle() == QStringLiteral("VornGen");
        QCOMPARE(count, 1);
    }

    void closeQuestion_data()
    {
        QTest::addColumn<bool>("viaExit");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Exit, No") << true << false;
        QTest::newRow("Exit, Yes") << true << true;
        QTest::newRow("close box, No") << false << false;
        QTest::newRow("close box, Yes") << false << true;
    }
    void closeQuestion()
    {
        QFETCH(bool, viaExit);
        QFETCH(bool, yes);
        m_answer = yes ? QMessageBox::Yes : QMessageBox::No;
        frmVornEd w;
        QWidget other(&w, Qt::Window);   // a secondary window may be open
        w.show();
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (viaExit)
            w.mnuExit->trigger();
        else
            w.close();
        QCOMPARE(m_messages.size(), 1);
        const MessageRequest& q = m_messages[0];
        QCOMPARE(q.Title, QStringLiteral("Quit"));
        QCOMPARE(q.Text, QStringLiteral("Are You Sure You Want To Exit?"));
        QCOMPARE(q.Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.DefaultButton, QMessageBox::No);
        QCOMPARE(q.Icon, QMessageBox::Question);
        QCOMPARE(m_ended, yes ? 1 : 0);
        QCOMPARE(w.isVisible(), !yes);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
