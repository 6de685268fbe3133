// The main window's Help entries, its drawn menus and their pictures, and
// their removal when the program ends.
#include "shell/MenuImages.h"
#include "shell/ODMenuStyle.h"
#include "shell/WebLinks.h"
#include "shell/frmAbout.h"
#include "shell/frmVornEd.h"
#include "shell/modODMenus.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

class TestHelpMenu : public QObject {
    Q_OBJECT

    QStringList m_links;
    int m_ended = 0;

private slots:
    void init()
    {
        m_links.clear();
        m_ended = 0;
        SetLinkOpener([this](const QString& link, LinkWindow) { m_links << link; });
        frmAbout::Beep() = [] {};
        frmVornEd::EndProgram() = [this] { ++m_ended; };
    }

    void cleanup()
    {
        SetLinkOpener({});
        SetMessageResponder({});
    }

    void internetEntries()
    {
        frmVornEd w;
        w.mnuGantrow->trigger();
        w.mnuEmal->trigger();
        QCOMPARE(m_links, (QStringList{QStringLiteral("https://www.example.org/vorned/"),
                                       QStringLiteral("mailto:author@example.org?subject=VornEd V0.3")}));
    }

    void aboutEntryShowsTheBoxModally()
    {
        frmVornEd w;
        QString caption;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (!box)
                return;
            caption = box->windowTitle();
            owner = box->parentWidget();
            box->cmdOK->click();
        });
        w.mnuAbout->trigger();
        QCOMPARE(caption, QStringLiteral("About VornEd"));
        QCOMPARE(owner, &w);
    }

    void loadInstallsMenusAndPictures()
    {
        frmVornEd w;
        QVERIFY(MenusInstalled(&w));
        QCOMPARE(LastBarItemId, 665 + 5);
        QVERIFY(qobject_cast<ODMenuStyle*>(w.menuBar()->style()));
        QVERIFY(qobject_cast<ODMenuStyle*>(w.mnuLevel->style()));
        const QMap<QString, MenuImagePair>& store = MenuImageStore();
        QCOMPARE(store.value(QStringLiteral("&Open")), (MenuImagePair{101, 102}));
        QCOMPARE(store.value(QStringLiteral("&Save")), (MenuImagePair{103, 104}));
        QCOMPARE(store.value(QStringLiteral("S&ave As")), (MenuImagePair{105, 106}));
        QCOMPARE(store.value(QStringLiteral("E&xit")), (MenuImagePair{107, 108}));
        for (int zone = 1; zone <= 7; ++zone) {
            QCOMPARE(store.value(QStringLiteral("Zone %1").arg(zone)), (MenuImagePair{996, 997}));
            QCOMPARE(store.value(QStringLiteral("one %1").arg(zone)), (MenuImagePair{996, 997}));
        }
        QCOMPARE(store.value(QStringLiteral("Editor Grid")), (MenuImagePair{996, 997}));
        QCOMPARE(store.value(QStringLiteral("Tile Selector Grid")), (MenuImagePair{996, 997}));
        QCOMPARE(store.size(), 4 + 14 + 2);
    }

    void closingWithYesRemovesTheMenus()
    {
        auto* w = new frmVornEd;
        SetMessageResponder([](const MessageRequest&) { return QMessageBox::No; });
        w->close();
        QVERIFY(MenusInstalled(w));
        SetMessageResponder([](const MessageRequest&) { return QMessageBox::Yes; });
        w->close();
        QCOMPARE(m_ended, 1);
        QVERIFY(!MenusInstalled(w));
        QVERIFY(!qobject_cast<ODMenuStyle*>(w->menuBar()->style()));
        QVERIFY(MenuImageStore().isEmpty());
        delete w;
    }
};

QTEST_MAIN(TestHelpMenu)
#include "test_help_menu.moc"
