// The About box, the two web links and the system-information button: texts,
// buttons, the mail address, and every way the tool can fail to appear.
#include "shell/SysInfoTool.h"
#include "shell/WebLinks.h"
#include "shell/frmAbout.h"
#include "widgets/CrLineLabel.h"
#include "widgets/MessageBox.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct OpenedLink {
    QString Link;
    LinkWindow Window;
};

bool WriteExecutable(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        return false;
    f.close();
    return f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}
} // namespace

class TestAbout : public QObject {
    Q_OBJECT

    QList<MessageRequest> m_messages;
    QList<OpenedLink> m_links;
    QStringList m_started;
    int m_beeps = 0;

private slots:
    void init()
    {
        m_messages.clear();
        m_links.clear();
        m_started.clear();
        m_beeps = 0;
        SetMessageResponder([this](const MessageRequest& r) {
            m_messages.append(r);
            return QMessageBox::Ok;
        });
        SetLinkOpener([this](const QString& link, LinkWindow w) { m_links.append({link, w}); });
        frmAbout::Beep() = [this] { ++m_beeps; };
        ResetSysInfoSystem();
    }

    void cleanup()
    {
        SetMessageResponder({});
        SetLinkOpener({});
        ResetSysInfoSystem();
    }

    void loadSetsTextsAndBeepsOnce()
    {
        frmAbout box;
        QCOMPARE(m_beeps, 1);
        QCOMPARE(box.windowTitle(), QStringLiteral("About VornEd"));
        QCOMPARE(box.lblVersion->text(), QStringLiteral("Version 0.3"));
        QCOMPARE(box.lblTitle->text(), QStringLiteral("VornEd"));
        QCOMPARE(box.lblDisclaimer->text(), QStringLiteral("I Am Not Responsible For Any Damaged Vorn Roms."));
        QCOMPARE(box.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(box.cmdSysInfo->text(), QStringLiteral("&System Info..."));
        QVERIFY(!box.picIcon->pixmap().isNull());
        for (QFrame* line : box.Line1) {
            QVERIFY(line);
            QCOMPARE(line->frameShape(), QFrame::HLine);
            QCOMPARE(line->frameShadow(), QFrame::Sunken);
        }
    }

    void descriptionIsFourLinesJoinedByCarriageReturn()
    {
        frmAbout box;
        const QString text = box.lblDescription->text();
        QVERIFY(!text.contains(QLatin1Char('\n')));
        const QStringList lines = text.split(QLatin1Char('\r'));
        QCOMPARE(lines.size(), 4);
        for (const QString& line : lines)
            QVERIFY(!line.trimmed().isEmpty());
        QVERIFY(lines[0].contains(QStringLiteral("Gantrow")));
        QCOMPARE(lines[2], QString::fromLatin1(MakerWebAddress));
        QVERIFY(lines[3].endsWith(QString::fromLatin1(AuthorEmailAddress)));
        // Drawn as four lines: the label asks for four lines' height.
        QCOMPARE(CrLineLabel::DisplayText(text).split(QLatin1Char('\n')).size(), 4);
        QVERIFY(box.lblDescription->sizeHint().height() >= 4 * box.lblDescription->fontMetrics().height());
        QVERIFY(box.lblDescription->sizeHint().height() <= box.lblDescription->height());
    }

    void fixedDialogOfTheGivenSize()
    {
        frmAbout box;
        QCOMPARE(box.size(), QSize(5730 / 15, 3555 / 15));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
        // Every control lies inside the client area.
        for (QWidget* child : box.findChildren<QWidget*>())
            QVERIFY2(box.rect().contains(child->geometry()), qPrintable(child->objectName()));
    }

    void okIsDefaultAndCancel_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }

    void okIsDefaultAndCancel()
    {
        QFETCH(int, key);
        frmAbout box;
        QVERIFY(box.cmdOK->isDefault());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClick(&box, Qt::Key(key));
        QVERIFY(!box.isVisible());
        QVERIFY(m_messages.isEmpty());
    }

    void okButtonCloses()
    {
        frmAbout box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.cmdOK, Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void showAboutBoxIsModal()
    {
        QWidget owner;
        bool wasModal = false;
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (!box)
                return;
            wasModal = box->isModal();
            caption = box->windowTitle();
            box->cmdOK->click();
        });
        ShowAboutBox(&owner);
        QVERIFY(wasModal);
        QCOMPARE(caption, QStringLiteral("About VornEd"));
        QCOMPARE(m_beeps, 1);
    }

    void mailLinkHasUnescapedSubject()
    {
        QCOMPARE(AuthorMailLink(), QStringLiteral("mailto:author@example.org?subject=VornEd V0.3"));
        StartMailToAuthor();
        QCOMPARE(m_links.size(), 1);
        QCOMPARE(m_links[0].Link, QStringLiteral("mailto:author@example.org?subject=VornEd V0.3"));
        QCOMPARE(m_links[0].Window, LinkWindow::Normal);
    }

    void webLinkOpensMakerPageMaximized()
    {
        OpenMakerWebPage();
        QCOMPARE(m_links.size(), 1);
        QCOMPARE(m_links[0].Link, QStringLiteral("https://www.example.org/vorned/"));
        QCOMPARE(m_links[0].Window, LinkWindow::Maximized);
    }

    // The registry route (used on Windows), with the registry replaced.
    void registryRoute_data()
    {
        QTest::addColumn<QString>("msinfoPath");  // "" = value missing
        QTest::addColumn<QString>("toolsFolder"); // "" = value missing
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no registry entry") << QString() << QString() << QStringList() << QString();
        QTest::newRow("folder without the tool") << QString() << QStringLiteral("C:\\Tools")
                                                 << QStringList{QStringLiteral("C:\\Tools\\OTHER.EXE")} << QString();
        QTest::newRow("folder with the tool") << QString() << QStringLiteral("C:\\Tools")
                                              << QStringList{QStringLiteral("C:\\Tools\\MSINFO32.EXE")}
                                              << QStringLiteral("C:\\Tools\\MSINFO32.EXE");
        QTest::newRow("full path wins") << QStringLiteral("D:\\msinfo.exe") << QStringLiteral("C:\\Tools")
                                        << QStringList{QStringLiteral("C:\\Tools\\MSINFO32.EXE")}
                                        << QStringLiteral("D:\\msinfo.exe");
    }

    void registryRoute()
    {
        QFETCH(QString, msinfoPath);
        QFETCH(QString, toolsFolder);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        SysInfoSystem s;
        QStringList keysRead;
        s.ReadMachineKey = [&](const QString& key, const QString& value, QString& out) {
            keysRead << key + QLatin1Char('|') + value;
            out.clear();
            if (key == QLatin1String("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO") && value == QLatin1String("PATH"))
                out = msinfoPath;
            else if (key == QLatin1String("SOFTWARE\\Microsoft\\Shared Tools Location")
                     && value == QLatin1String("MSINFO"))
                out = toolsFolder;
            return !out.isEmpty();
        };
        s.FileExists = [&](const QString& path) { return files.contains(path); };
        QCOMPARE(LocateRegisteredSysInfo(s), expected);
        QVERIFY(keysRead.contains(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH")));
    }

    void registryIsAbsentOffWindows()
    {
#ifndef Q_OS_WIN
        QString value = QStringLiteral("stale");
        QVERIFY(!GetKeyValue(HKeyLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                             QStringLiteral("PATH"), value));
        QVERIFY(value.isEmpty());
#else
        QSKIP("reads the real registry on Windows");
#endif
    }

    void nothingFoundShowsTheMessage()
    {
        SysInfoSystem s = DefaultSysInfoSystem();
        s.ReadMachineKey = [](const QString&, const QString&, QString& out) {
            out.clear();
            return false;
        };
        s.FindProgram = [](const QString&) { return QString(); };
        s.StartProgram = [this](const QString& p) {
            m_started << p;
            return true;
        };
        SetSysInfoSystem(s);
        frmAbout box;
        box.cmdSysInfo->click();
        QVERIFY(m_started.isEmpty());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(m_messages[0].Title, QStringLiteral("VornEd"));
        QCOMPARE(m_messages[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

#ifndef Q_OS_WIN
    // The search path holds only a folder with other programs: the real lookup
    // finds nothing there.
    void folderWithoutTheToolShowsTheMessage()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(WriteExecutable(dir.filePath(QStringLiteral("unrelated-tool")), "#!/bin/sh\nexit 0\n"));
        // A file of the right name that is not a program does not count either.
        QFile plain(dir.filePath(SysInfoProgramNames().constFirst()));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        SysInfoSystem s = DefaultSysInfoSystem();
        s.StartProgram = [this](const QString& p) {
            m_started << p;
            return true;
        };
        SetSysInfoSystem(s);
        StartSysInfo(nullptr);
        qputenv("PATH", oldPath);
        QVERIFY(m_started.isEmpty());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Text, QStringLiteral("System Information Is Unavailable At This Time"));
    }

    // Found on the search path, but the program cannot be started (its
    // interpreter does not exist): the real process start fails.
    void toolThatFailsToStartShowsTheMessage()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString tool = dir.filePath(SysInfoProgramNames().constLast());
        QVERIFY(WriteExecutable(tool, "#!/nonexistent/interpreter/for/vorned\n"));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        SysInfoSystem s = DefaultSysInfoSystem();
        QString tried;
        const auto realStart = s.StartProgram;
        s.StartProgram = [&](const QString& p) {
            tried = p;
            return realStart(p);
        };
        SetSysInfoSystem(s);
        StartSysInfo(nullptr);
        qputenv("PATH", oldPath);
        QCOMPARE(tried, tool);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].Text, QStringLiteral("System Information Is Unavailable At This Time"));
    }

    void firstProgramOnTheListIsStarted()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList names = SysInfoProgramNames();
        QVERIFY(names.size() >= 2);
        for (const QString& name : {names[1], names.last()})
            QVERIFY(WriteExecutable(dir.filePath(name), "#!/bin/sh\nexit 0\n"));
        SysInfoSystem s = DefaultSysInfoSystem();
        s.FindProgram = [&](const QString& name) { return QStandardPaths::findExecutable(name, {dir.path()}); };
        s.StartProgram = [this](const QString& p) {
            m_started << p;
            return true;
        };
        SetSysInfoSystem(s);
        StartSysInfo(nullptr);
        QCOMPARE(m_started, QStringList{dir.filePath(names[1])});
        QVERIFY(m_messages.isEmpty());
    }
#endif
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
