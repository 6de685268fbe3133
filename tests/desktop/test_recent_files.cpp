// File > Recent Files: the images opened or saved last, newest first, at
// most eight, kept in the settings; choosing one opens it, a file that has
// gone is taken off the list with a message.
#include "desktop/RecentFileList.h"
#include "desktop/RecentFilesMenu.h"
#include "history/EditHistory.h"
#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
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

QMenu* RecentMenu(const frmVornEd& w)
{
    return w.findChild<QMenu*>(QStringLiteral("mnuRecentFiles"));
}

// The file entries of the submenu: their paths, top first.
QStringList Entries(const frmVornEd& w)
{
    QStringList paths;
    for (QAction* a : RecentMenu(w)->actions())
        if (a->data().isValid())
            paths << a->data().toString();
    return paths;
}

QAction* Entry(const frmVornEd& w, int index)
{
    for (QAction* a : RecentMenu(w)->actions())
        if (a->objectName() == QStringLiteral("mnuRecentFile%1").arg(index))
            return a;
    return nullptr;
}

} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<MessageRequest> m_messages;
    QMessageBox::StandardButton m_unsavedAnswer = QMessageBox::Cancel;
    QString m_nextChoice;

    QString file(int n) { return m_dir.filePath(QStringLiteral("image %1.nes").arg(n)); }

private slots:
    void initTestCase()
    {
        // Never the settings of the person running the tests.
        QStandardPaths::setTestModeEnabled(true);
        const QString realConfig = qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
        QVERIFY2(!RecentFilesSettingsPath().startsWith(realConfig), qPrintable(RecentFilesSettingsPath()));
        QVERIFY2(RecentFilesSettingsPath().startsWith(QDir::tempPath()), qPrintable(RecentFilesSettingsPath()));
        for (int n = 0; n < 10; ++n)
            QVERIFY(WriteFile(file(n), DemoBytes()));
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return m.Buttons.testFlag(QMessageBox::Discard) ? m_unsavedAnswer : QMessageBox::Ok;
        });
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            return FileDialogAnswer{!m_nextChoice.isEmpty(), m_nextChoice, r.FilterIndex, r.Flags};
        });
    }
    void init()
    {
        ResetProgramState();
        ClearRecentFiles();
        m_messages.clear();
    }
    void cleanupTestCase()
    {
        ClearRecentFiles();
        clsDialog::SetFileDialogRunner({});
    }

    // The submenu comes after every specified entry of File, behind its own
    // separator; it is disabled while the list is empty.
    void placeInTheFileMenu()
    {
        frmVornEd w;
        const QList<QAction*> items = w.mnuFIle->actions();
        QStringList names;
        for (QAction* a : items)
            names << (a->objectName().isEmpty() && a->menu() ? a->menu()->objectName() : a->objectName());
        // The specified entries keep their places; the submenu follows them
        // (after other appended entries), its separator right before it.
        QCOMPARE(names.mid(0, 6), (QStringList{"mnuOpen", "FileFiller1", "mnuSave", "mnuSaveAS", "FileFiller2", "mnuExit"}));
        const qsizetype at = names.indexOf(QStringLiteral("mnuRecentFiles"));
        QVERIFY(at > 6);
        QCOMPARE(names[at - 1], QStringLiteral("FileFillerRecent"));
        QVERIFY(items[at - 1]->isSeparator());
        QCOMPARE(items[at]->text(), QStringLiteral("&Recent Files"));
        QVERIFY(!items[at]->isEnabled());
        QVERIFY(Entries(w).isEmpty());
    }

    void openingAndSavingPutTheFileOnTop()
    {
        frmVornEd w;
        m_nextChoice = file(0);
        w.mnuOpen->trigger();
        QVERIFY(w.OpenRomPath(file(1)));
        QCOMPARE(Entries(w), (QStringList{file(1), file(0)}));
        QVERIFY(RecentMenu(w)->menuAction()->isEnabled());
        // Opening a listed file again moves it up; it is not listed twice.
        QVERIFY(w.OpenRomPath(file(0)));
        QCOMPARE(Entries(w), (QStringList{file(0), file(1)}));
        // Save As lists the new name, Save the file saved.
        m_nextChoice = file(2);
        w.mnuSaveAS->trigger();
        QCOMPARE(Entries(w), (QStringList{file(2), file(0), file(1)}));
        QVERIFY(w.OpenRomPath(file(1)));
        w.mnuSave->trigger();
        QCOMPARE(Entries(w), (QStringList{file(1), file(2), file(0)}));
        QCOMPARE(RecentFiles(), Entries(w));
        QVERIFY(m_messages.isEmpty());
    }

    void onlyTheLastEightAreKept()
    {
        frmVornEd w;
        for (int n = 0; n < 10; ++n)
            QVERIFY(w.OpenRomPath(file(n)));
        QStringList expected;
        for (int n = 9; n >= 2; --n)
            expected << file(n);
        QCOMPARE(Entries(w), expected);
        QCOMPARE(Entry(w, 0)->text(), RecentFilesMenu::EntryCaption(0, file(9)));
        QCOMPARE(Entry(w, 7)->text(), QStringLiteral("&8 ") + file(2));
    }

    void refusedOpenIsNotListed()
    {
        const QString empty = m_dir.filePath(QStringLiteral("empty.nes"));
        QVERIFY(WriteFile(empty, {}));
        frmVornEd w;
        QVERIFY(w.OpenRomPath(file(3)));
        QVERIFY(!w.OpenRomPath(empty));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(Entries(w), QStringList{file(3)});
    }

    void choosingAnEntryOpensIt()
    {
        {
            frmVornEd first;
            QVERIFY(first.OpenRomPath(file(4)));
            QVERIFY(first.OpenRomPath(file(5)));
        }
        // A window of a later run finds the list in the settings.
        ResetProgramState();
        frmVornEd w;
        QCOMPARE(Entries(w), (QStringList{file(5), file(4)}));
        Entry(w, 1)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(RomFileName, file(4));
        QCOMPARE(w.windowTitle(), QStringLiteral("VornEd V0.3 - image 4.nes"));
        QCOMPARE(w.PanelText(1), file(4));
        QVERIFY(w.mnuSave->isEnabled());
        QCOMPARE(Entries(w), (QStringList{file(4), file(5)}));
    }

    // With unsaved changes choosing an entry asks what File > Open asks.
    void choosingAsksAboutUnsavedChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
        QTest::newRow("Discard") << int(QMessageBox::Discard) << true;
    }
    void choosingAsksAboutUnsavedChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, opened);
        m_unsavedAnswer = QMessageBox::StandardButton(answer);
        frmVornEd w;
        QVERIFY(w.OpenRomPath(file(1)));
        QVERIFY(w.OpenRomPath(file(0)));
        w.mnuStageSelect[0]->trigger();
        w.picTile_MouseDown(1, {}, 10, 70);
        w.picEditor_MouseDown(1, {}, 130, 70);
        QVERIFY(RomHistory().isModified());
        const WindowState edited = StateOf(w);
        Entry(w, 1)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (opened) {
            QCOMPARE(RomFileName, file(1));
            QCOMPARE(Entries(w), (QStringList{file(1), file(0)}));
        } else {
            QCOMPARE(StateOf(w), edited);
            QCOMPARE(Entries(w), (QStringList{file(0), file(1)}));
        }
        QCOMPARE(ReadFile(file(0)), DemoBytes());
        m_unsavedAnswer = QMessageBox::Cancel;
    }

    void vanishedFileIsTakenOffWithAMessage()
    {
        const QString gone = m_dir.filePath(QStringLiteral("gone.nes"));
        QVERIFY(WriteFile(gone, DemoBytes()));
        frmVornEd w;
        QVERIFY(w.OpenRomPath(gone));
        QVERIFY(w.OpenRomPath(file(6)));
        QVERIFY(QFile::remove(gone));
        const WindowState before = StateOf(w);
        Entry(w, 1)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QVERIFY2(m_messages[0].Text.contains(gone), qPrintable(m_messages[0].Text));
        QCOMPARE(StateOf(w), before);
        QCOMPARE(Entries(w), QStringList{file(6)});
        QCOMPARE(RecentFiles(), QStringList{file(6)});
    }

    void clearListEmptiesIt()
    {
        frmVornEd w;
        QVERIFY(w.OpenRomPath(file(7)));
        QAction* clear = RecentMenu(w)->findChild<QAction*>(QStringLiteral("mnuClearRecentFiles"));
        QVERIFY(clear);
        clear->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Entries(w).isEmpty());
        QVERIFY(RecentFiles().isEmpty());
        QVERIFY(!RecentMenu(w)->menuAction()->isEnabled());
    }

    // The list as another running editor left it is shown when File opens.
    void fileMenuShowsTheStoredList()
    {
        frmVornEd w;
        RememberRecentFile(file(8));
        QCOMPARE(Entries(w), QStringList{});
        QMetaObject::invokeMethod(w.mnuFIle, "aboutToShow");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Entries(w), QStringList{file(8)});
    }

    // Whatever a hand-edited settings file holds, the list shows only
    // absolute paths, each once, at most eight.
    void storedListIsTidied()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VornEd"), QStringLiteral("VornEd"));
        QStringList stored{file(0), QString(), QStringLiteral("relative.nes"), file(0), QStringLiteral("/a/../b.nes")};
        for (int n = 1; n < 10; ++n)
            stored << file(n);
        settings.setValue(QStringLiteral("RecentFiles"), stored);
        settings.sync();
        QStringList expected{file(0), QStringLiteral("/b.nes")};
        for (int n = 1; n <= 6; ++n)
            expected << file(n);
        QCOMPARE(RecentFiles(), expected);
        settings.setValue(QStringLiteral("RecentFiles"), 42);
        settings.sync();
        QCOMPARE(RecentFiles(), QStringList{});
    }

    void entryCaptions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::newRow("plain") << 0 << "/home/me/vorn.nes" << "&1 /home/me/vorn.nes";
        QTest::newRow("ampersand shown as itself") << 2 << "/tmp/A & B.nes" << "&3 /tmp/A && B.nes";
        QTest::newRow("tab") << 1 << "/tmp/a\tb.nes" << "&2 /tmp/a b.nes";
        const QString longPath = QStringLiteral("/") + QString(40, QLatin1Char('x')) + QStringLiteral("/")
                               + QString(40, QLatin1Char('y')) + QStringLiteral(".nes");
        QTest::newRow("long path shortened in the middle")
            << 7 << longPath << "&8 " + longPath.left(34) + "..." + longPath.right(35);
    }
    void entryCaptions()
    {
        QFETCH(int, index);
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QCOMPARE(RecentFilesMenu::EntryCaption(index, path), caption);
    }
};

QTEST_MAIN(TestRecentFiles)
#include "test_recent_files.moc"
