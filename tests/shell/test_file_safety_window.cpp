// The main window with paths a user should not be able to hurt it with:
// Open and Save As of pipes, sockets, folders, devices and links to them
// (refused at once with what the thing is, nothing changed), Save of
// hard-linked and other owners' files, paths too long for the status bar,
// names with control characters, and message boxes that fit the screen.
#include "rom/ProgramState.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/ElidedLabel.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QWindow>
#include <QtTest>

#include "../fixtures/FileFixture.h"
#include "../fixtures/SpecialFiles.h"

namespace {

QByteArray ImageBytes()
{
    return QByteArray(reinterpret_cast<const char*>(RomImage.data()), int(RomImage.size()));
}

// The plain text a rich-text tooltip shows, without its break opportunities.
QString ToolTipText(const QString& tip)
{
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText().remove(QChar(0x200B));
}

} // namespace

class TestFileSafetyWindow : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QByteArray m_folder;
    QString m_nextChoice;
    QList<MessageRequest> m_messages;

    QByteArray at(const QByteArray& name) const { return m_folder + '/' + name; }

    bool make(const QString& kind, const QByteArray& path, QString& skip)
    {
        if (kind.contains(QLatin1String("null device")) && !RunningAsRoot()) {
            skip = QStringLiteral("making a device node needs root");
            return false;
        }
        if (kind == "named pipe") return MakeFifo(path);
        if (kind == "socket") return MakeSocketFile(path);
        if (kind == "folder") return ::mkdir(path.constData(), 0755) == 0;
        if (kind == "null device") return MakeCharDevice(path, 3);
        if (kind == "missing") return true;
        if (kind.startsWith(QLatin1String("link to ")))
            return make(kind.mid(8), at("thing"), skip) && MakeSymlink("thing", path);
        return false;
    }

private slots:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        ResetProgramState();
        m_dir = new QTemporaryDir;
        m_folder = QFile::encodeName(m_dir->path());
        m_messages.clear();
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            FileDialogAnswer a;
            a.Confirmed = !m_nextChoice.isEmpty();
            a.FileName = m_nextChoice;
            a.FilterIndex = r.FilterIndex;
            return a;
        });
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
        RemoveContents(m_folder);
        delete m_dir;
    }

    void openRefusesWhatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("named pipe, nobody writing") << "named pipe" << "\"%1\" is a named pipe, not a file.";
        QTest::newRow("link to named pipe") << "link to named pipe" << "\"%1\" is a symbolic link to a named pipe, not a file.";
        QTest::newRow("socket") << "socket" << "\"%1\" is a socket, not a file.";
        QTest::newRow("folder") << "folder" << "\"%1\" is a folder, not a file.";
        QTest::newRow("link to folder") << "link to folder" << "\"%1\" is a symbolic link to a folder, not a file.";
        QTest::newRow("null device") << "null device" << "\"%1\" is a character device, not a file.";
        QTest::newRow("link to null device") << "link to null device" << "\"%1\" is a symbolic link to a character device, not a file.";
        QTest::newRow("missing") << "missing" << "Could not open \"%1\": No such file or directory";
    }
    void openRefusesWhatIsNotAFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QByteArray bad = at("bad.nes");
        QString skip;
        if (!make(kind, bad, skip))
            QSKIP(qPrintable(skip));
        const QString good = QFile::decodeName(at("good.nes"));
        QVERIFY(WriteFile(good, Pattern(30000)));
        frmVornEd w;
        m_nextChoice = good;
        w.mnuOpen->trigger();
        const QString caption = w.windowTitle();
        const DiskState before = StateOf(bad);

        m_nextChoice = QFile::decodeName(bad);
        {
            // A pipe must be refused before it is opened: an open for
            // reading would wait for a writer for ever.
            HangGuard guard(kind.contains(QLatin1String("link")) ? at("thing") : bad, true);
            w.mnuOpen->trigger();
            QVERIFY2(!guard.release(), "Open hung on a named pipe");
        }
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QCOMPARE(m_messages[0].Text, message.arg(m_nextChoice));
        QCOMPARE(RomFileName, good);
        QCOMPARE(ImageBytes(), Pattern(30000));
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(w.PanelText(1), good);
        QCOMPARE(StateOf(bad).describe(), before.describe());
    }

    void procFileOpensWithItsContent()
    {
        // Files under /proc report size 0 and have content: read to the end.
        frmVornEd w;
        QVERIFY(w.OpenRomPath(QStringLiteral("/proc/self/status")));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(RomImage.size() > 0);
        QVERIFY(ImageBytes().startsWith("Name:"));
    }

    void saveAsRefusesWhatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("named pipe, nobody reading") << "named pipe" << "Could not save \"%1\": it is a named pipe, not a file";
        QTest::newRow("link to named pipe") << "link to named pipe" << "Could not save \"%1\": it is a symbolic link to a named pipe, not a file";
        QTest::newRow("socket") << "socket" << "Could not save \"%1\": it is a socket, not a file";
        QTest::newRow("null device") << "null device" << "Could not save \"%1\": it is a character device, not a file";
        QTest::newRow("link to null device") << "link to null device" << "Could not save \"%1\": it is a symbolic link to a character device, not a file";
        QTest::newRow("link to folder") << "link to folder" << "Could not save \"%1\": it is a symbolic link to a folder, not a file";
    }
    void saveAsRefusesWhatIsNotAFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QByteArray bad = at("bad.nes");
        QString skip;
        if (!make(kind, bad, skip))
            QSKIP(qPrintable(skip));
        const QString good = QFile::decodeName(at("good.nes"));
        QVERIFY(WriteFile(good, Pattern(30000)));
        frmVornEd w;
        m_nextChoice = good;
        w.mnuOpen->trigger();
        QVERIFY(RomImage.write(7, 0x42));
        const QList<QByteArray> entries = EntriesOf(m_folder);
        const DiskState before = StateOf(bad);

        m_nextChoice = QFile::decodeName(bad);
        {
            HangGuard guard(kind.contains(QLatin1String("link")) ? at("thing") : bad, false);
            w.mnuSaveAS->trigger();
            QVERIFY2(!guard.release(), "Save As hung on a named pipe");
        }
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QCOMPARE(m_messages[0].Text, message.arg(m_nextChoice));
        QCOMPARE(StateOf(bad).describe(), before.describe());
        QCOMPARE(EntriesOf(m_folder), entries);
        QCOMPARE(RomFileName, good);
        QCOMPARE(w.PanelText(1), good);
        QCOMPARE(ReadFile(good), Pattern(30000));
    }

    void saveKeepsLinksAndOwner_data()
    {
        QTest::addColumn<bool>("otherOwner");
        QTest::newRow("hard-linked") << false;
        QTest::newRow("hard-linked, another owner's") << true;
    }
    void saveKeepsLinksAndOwner()
    {
        QFETCH(bool, otherOwner);
        if (otherOwner && !RunningAsRoot())
            QSKIP("giving a file to another owner needs root");
        const QByteArray file = at("game.nes");
        QVERIFY(WriteBytes(file, Pattern(30000), 0640));
        QVERIFY(::link(file.constData(), at("backup-of-game.nes").constData()) == 0);
        if (otherOwner)
            QVERIFY(::chown(file.constData(), 65534, 65534) == 0);
        frmVornEd w;
        m_nextChoice = QFile::decodeName(file);
        w.mnuOpen->trigger();
        QVERIFY(RomImage.write(100, 0x99));
        w.mnuSave->trigger();
        QVERIFY(m_messages.isEmpty());
        const DiskState state = StateOf(file);
        QCOMPARE(state.Bytes, ImageBytes());
        QCOMPARE(ReadBytes(at("backup-of-game.nes")), ImageBytes());
        QCOMPARE(state.Links, 2);
        QCOMPARE(state.Mode, 0640);
        QCOMPARE(state.Owner, otherOwner ? uid_t(65534) : ::geteuid());
        QCOMPARE(EntriesOf(m_folder), (QList<QByteArray>{"backup-of-game.nes", "game.nes"}));
    }

    void longPathKeepsTheWindowsSize()
    {
        // 300 characters and more: longer than the status bar is wide.
        QByteArray folder = m_folder;
        for (int i = 0; i < 3; ++i) {
            folder += '/' + QByteArray(90, char('a' + i));
            QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        }
        const QString path = QFile::decodeName(folder + "/game.nes");
        QVERIFY(path.size() > 300);
        QVERIFY(WriteFile(path, Pattern(20000)));

        frmVornEd w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize before = w.size();
        QVERIFY(w.OpenRomPath(path));
        QCoreApplication::processEvents();
        QCOMPARE(w.size(), before);
        QCOMPARE(w.centralWidget()->width(), 649);
        QCOMPARE(w.centralWidget()->height() + w.SB1->height(), 447);
        QCOMPARE(w.SB1->width(), 649);
        // The panel keeps the whole path, shows it elided, and tells all of it as its tooltip.
        QCOMPARE(w.PanelText(1), path);
        auto* panel = qobject_cast<ElidedLabel*>(w.SB1->findChildren<QLabel*>().value(0));
        QVERIFY(panel);
        QVERIFY2(panel->shownText().contains(QChar(0x2026)), qPrintable(panel->shownText()));
        QVERIFY(panel->shownText().endsWith(QStringLiteral("game.nes")));
        QVERIFY(panel->fontMetrics().horizontalAdvance(panel->shownText()) <= panel->width());
        QCOMPARE(ToolTipText(panel->toolTip()), path);
    }

    void controlCharactersShowAsQuestionMarks_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("newline") << QByteArray("two\nlines.nes") << "two?lines.nes";
        QTest::newRow("escape sequence") << QByteArray("\x1b[2Jx.nes") << "?[2Jx.nes";
        QTest::newRow("right-to-left override") << QByteArray("a\xe2\x80\xaegpj.nes") << "a?gpj.nes";
        QTest::newRow("markup") << QByteArray("<img src=x><b>bold.nes") << "<img src=x><b>bold.nes";
        QTest::newRow("modified placeholder") << QByteArray("a[*].nes") << "a[*].nes";
    }
    void controlCharactersShowAsQuestionMarks()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);
        const QString path = QFile::decodeName(at(name));
        QVERIFY(WriteFile(path, Pattern(20000)));
        frmVornEd w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize before = w.size();
        QVERIFY(w.OpenRomPath(path));
        QCoreApplication::processEvents();
        // What the window system is given as the title.
        QCOMPARE(w.windowHandle()->title(), QStringLiteral("VornEd V0.3 - ") + shown);
        auto* panel = qobject_cast<ElidedLabel*>(w.SB1->findChildren<QLabel*>().value(0));
        QVERIFY(panel);
        QVERIFY2(panel->shownText().endsWith(shown), qPrintable(panel->shownText()));
        QCOMPARE(ToolTipText(panel->toolTip()), QFile::decodeName(m_folder) + QLatin1Char('/') + shown);
        QCOMPARE(w.PanelText(1), path);
        QCOMPARE(w.size(), before);
    }

    void messageBoxesFitTheScreen_data()
    {
        QTest::addColumn<QString>("text");
        const QString deep = QStringLiteral("/tmp/") + QString(QStringLiteral("folder-with-a-long-name/")).repeated(160) + QStringLiteral("game.nes");
        QTest::newRow("4000-character path") << QStringLiteral("Could not save \"%1\": No space left on device").arg(deep);
        QTest::newRow("one word of 3000 characters") << QString(3000, QLatin1Char('x'));
        QTest::newRow("markup is text") << QStringLiteral("Could not open \"/tmp/<b>x</b><img src=/etc/passwd>.nes\": No such file or directory");
        QTest::newRow("short") << QStringLiteral("Bad Password");
    }
    void messageBoxesFitTheScreen()
    {
        QFETCH(QString, text);
        MessageRequest request;
        request.Title = AppTitle();
        request.Text = text;
        request.Icon = QMessageBox::Warning;
        const auto box = MakeMessageBox(nullptr, request);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        const QRect screen = box->screen()->availableGeometry();
        QVERIFY2(box->frameGeometry().width() <= screen.width(), qPrintable(QString::number(box->width())));
        QVERIFY2(box->frameGeometry().height() <= screen.height(), qPrintable(QString::number(box->height())));
        // Every character is in the box or, when the text had to be cut,
        // under its details.
        QString shown = box->text();
        if (shown.contains(QChar(0x2026)))
            QCOMPARE(box->detailedText(), text);
        else
            QCOMPARE(shown.remove(QLatin1Char('\n')).remove(QLatin1Char(' ')), QString(text).remove(QLatin1Char(' ')));
        if (text == "Bad Password")
            QCOMPARE(box->text(), text);
        box->close();
    }

    void fittedTextBreaksAtSpacesThenSlashes()
    {
        const QFontMetrics metrics(QGuiApplication::font());
        const int width = metrics.horizontalAdvance(QLatin1Char('x')) * 30;
        const QString text = QStringLiteral("Could not open \"/home/user/games/vorn/levels/edited/copy-of-game.nes\": Permission denied");
        const QString fitted = FitMessageText(text, metrics, width, 50);
        for (const QString& line : fitted.split(QLatin1Char('\n')))
            QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
        // Only line breaks were added, in place of spaces or after a "/".
        QString joined = fitted;
        QCOMPARE(joined.remove(QLatin1Char('\n')).remove(QLatin1Char(' ')), QString(text).remove(QLatin1Char(' ')));
        QVERIFY(fitted.contains(QStringLiteral("/\n")));
        // Too many lines: the middle gives way, the ends stay.
        const QString cut = FitMessageText(text.repeated(20), metrics, width, 9);
        QCOMPARE(cut.count(QLatin1Char('\n')) + 1, 9);
        QVERIFY(cut.startsWith(QStringLiteral("Could not open")));
        QVERIFY(cut.endsWith(QStringLiteral("denied")));
    }
};

QTEST_MAIN(TestFileSafetyWindow)
#include "test_file_safety_window.moc"
