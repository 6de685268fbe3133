// Menus drawn by the program: the colour scheme, picture registration,
// measuring, the bar conversion and its stores, and what a drawn popup and
// bar look like.
#include "shell/MenuImages.h"
#include "shell/MenuScheme.h"
#include "shell/ODMenuStyle.h"
#include "shell/modODMenus.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionMenuItem>
#include <QtTest>

namespace {
QFont KnownFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    return f;
}

// Share of the pixels of `area` in `image` that have colour `c`.
double Share(const QImage& image, const QRect& area, const QColor& c)
{
    int hits = 0;
    int all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            ++all;
            if (QColor(image.pixel(x, y)).rgb() == c.rgb())
                ++hits;
        }
    return all ? double(hits) / all : 0.0;
}

// First pixel of the 16 x 16 picture that is opaque (or clear).
QPoint PicturePixel(const QImage& picture, bool opaque)
{
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((qAlpha(picture.pixel(x, y)) == 255) == opaque)
                return {x, y};
    return {-1, -1};
}

// Where picture pixel `p` lands in a drawn popup item.
QPoint OnItem(const QRect& item, QPoint p)
{
    return {item.left() + 2 + p.x(), item.top() + (item.height() - 16) / 2 + p.y()};
}

struct MenuWindow {
    QMainWindow window;
    QMenu* file = nullptr;
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* exit = nullptr;
    QAction* zone = nullptr;
    QAction* plain = nullptr;

    explicit MenuWindow(int barItems = 5)
    {
        QStringList captions{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&View"),
                             QStringLiteral("&Tools"), QStringLiteral("&Help")};
        for (int i = 0; i < barItems; ++i) {
            QMenu* m = window.menuBar()->addMenu(captions.value(i, QStringLiteral("Menu")));
            if (i == 0)
                file = m;
        }
        if (file) {
            open = file->addAction(QStringLiteral("&Open"));
            save = file->addAction(QStringLiteral("&Save"));
            save->setEnabled(false);
            file->addSeparator();
            zone = file->addAction(QStringLiteral("Zone 1"));
            zone->setCheckable(true);
            zone->setChecked(true);
            plain = file->addAction(QStringLiteral("Plain Item"));
            exit = file->addAction(QStringLiteral("E&xit"));
        }
        window.setCentralWidget(new QWidget);
        window.resize(300, 200);
    }
};
} // namespace

class TestMenus : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        MenuImageStore().clear();
        MenuCaptionStore().clear();
    }

    void schemeColour_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("body") << "body" << QColor(58, 110, 165);
        QTest::newRow("Selected") << "Selected" << QColor(255, 255, 0);
        QTest::newRow("SELECTED") << "SELECTED" << QColor(255, 255, 0);
        QTest::newRow("SelectedText") << "SelectedText" << QColor(0, 0, 0);
        QTest::newRow("GeneralText") << "GeneralText" << QColor(0, 0, 0);
        QTest::newRow("BorderColor") << "BorderColor" << QColor(85, 85, 118);
        QTest::newRow("Table1BG") << "Table1BG" << QColor(223, 223, 223);
        QTest::newRow("table2bg") << "table2bg" << QColor(241, 241, 241);
        QTest::newRow("HeadingBg") << "HeadingBg" << QColor(128, 128, 166);
        QTest::newRow("headingTEXT") << "headingTEXT" << QColor(231, 231, 255);
        QTest::newRow("MenuText") << "MenuText" << QColor(0, 0, 0);
        QTest::newRow("unknown") << "bodies" << QColor(0, 0, 0);
        QTest::newRow("empty") << "" << QColor(0, 0, 0);
        QTest::newRow("British spelling is not listed") << "bordercolour" << QColor(0, 0, 0);
    }

    void schemeColour()
    {
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        QCOMPARE(SchemeColour(name), colour);
    }

    void menuBackgroundIsThePlatformMenuColour()
    {
        const QColor expected = QApplication::palette("QMenu").color(QPalette::Active, QPalette::Window);
        QCOMPARE(SchemeColour(QStringLiteral("menubg")), expected);
        QCOMPARE(SchemeColour(QStringLiteral("MenuBG")), expected);
    }

    void registrationKeepsTheFirstPair()
    {
        QVERIFY(RegisterMenuImage(QStringLiteral("&Open"), ImgOpen, ImgOpenMask));
        QVERIFY(!RegisterMenuImage(QStringLiteral("&Open"), ImgExit, ImgExitMask));
        QVERIFY(!RegisterMenuImage(QString(), ImgExit, ImgExitMask));
        QCOMPARE(MenuImageStore().size(), 1);
        QCOMPARE(MenuImageStore().value(QStringLiteral("&Open")), (MenuImagePair{ImgOpen, ImgOpenMask}));
        // The caption is taken exactly, mnemonic marker included.
        QVERIFY(MenuImageFor(QStringLiteral("Open")).isNull());
        QVERIFY(!MenuImageFor(QStringLiteral("&Open")).isNull());
    }

    void arrayRegistration()
    {
        QAction zone1(QStringLiteral("Zone 1"));
        QAction zone3(QStringLiteral("|Zone 3"));
        QAction grid(QStringLiteral("Editor Grid"));
        // Element 1 does not exist; elements past the end are tried and skipped.
        RegisterMenuArrayImages({&zone1, nullptr, &zone3}, ImgZone, ImgZoneMask, true);
        RegisterMenuArrayImages({&grid}, ImgZone, ImgZoneMask, false);
        const QStringList expected{QStringLiteral("Editor Grid"), QStringLiteral("Zone 1"), QStringLiteral("Zone 3"),
                                   QStringLiteral("one 1"), QStringLiteral("|Zone 3")};
        QCOMPARE(MenuImageStore().keys(), expected);
        for (const QString& key : expected)
            QCOMPARE(MenuImageStore().value(key), (MenuImagePair{ImgZone, ImgZoneMask}));
        // Registering the same array again changes nothing.
        RegisterMenuArrayImages({&zone1, nullptr, &zone3}, ImgOpen, ImgOpenMask, true);
        QCOMPARE(MenuImageStore().keys(), expected);
        QCOMPARE(MenuImageStore().value(QStringLiteral("Zone 1")), (MenuImagePair{ImgZone, ImgZoneMask}));
    }

    void picturesLoadWithTheirMasks_data()
    {
        QTest::addColumn<int>("image");
        for (int id : {ImgOpen, ImgSave, ImgSaveAs, ImgExit, ImgZone, ImgCheck})
            QTest::addRow("%d", id) << id;
    }

    void picturesLoadWithTheirMasks()
    {
        QFETCH(int, image);
        const QImage picture = LoadMenuImage(image, image + 1);
        QCOMPARE(picture.size(), QSize(16, 16));
        QVERIFY(PicturePixel(picture, true).x() >= 0);
        QVERIFY(PicturePixel(picture, false).x() >= 0);
        // A picture with a mask that does not exist is no picture.
        QVERIFY(LoadMenuImage(image, 500).isNull());
    }

    void measuring_data()
    {
        QTest::addColumn<bool>("popup");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("measured"); // text whose width counts
        QTest::addColumn<int>("imageHeight");
        QTest::addColumn<int>("extra"); // beyond text + 26 / + 6
        QTest::newRow("popup with picture") << true << "&Open" << "Open" << 16 << 0;
        QTest::newRow("popup without picture") << true << "&Palette" << "Palette" << 0 << 0;
        QTest::newRow("accelerator joined by a blank") << true << "E&xit\tCtrl+Q" << "Exit Ctrl+Q" << 16 << 0;
        QTest::newRow("new column marker not measured") << true << "|Zone 8" << "Zone 8" << 16 << 0;
        QTest::newRow("bar item") << false << "&File" << "File" << 0 << 0;
        QTest::newRow("bar item with picture caption") << false << "&Open" << "Open" << 16 << 0;
    }

    void measuring()
    {
        QFETCH(bool, popup);
        QFETCH(QString, caption);
        QFETCH(QString, measured);
        QFETCH(int, imageHeight);
        QFETCH(int, extra);
        RegisterMenuImage(QStringLiteral("&Open"), ImgOpen, ImgOpenMask);
        RegisterMenuImage(QStringLiteral("E&xit"), ImgExit, ImgExitMask);
        RegisterMenuImage(QStringLiteral("Zone 8"), ImgZone, ImgZoneMask);

        ODMenuStyle style;
        QStyleOptionMenuItem item;
        item.font = KnownFont();
        item.fontMetrics = QFontMetrics(item.font);
        item.text = caption;
        item.menuItemType = QStyleOptionMenuItem::Normal;
        const QSize size = style.sizeFromContents(popup ? QStyle::CT_MenuItem : QStyle::CT_MenuBarItem, &item,
                                                  QSize(1, 1), nullptr);
        const QFontMetrics fm(item.font);
        QCOMPARE(size.width(), fm.horizontalAdvance(measured) + (popup ? 26 : 6) + extra);
        QCOMPARE(size.height(), qMax(fm.height(), imageHeight) + 6);
        QVERIFY(fm.height() != 16); // the two heights differ, so the maximum is tested
    }

    void measuringSubMenuAndSeparator()
    {
        ODMenuStyle style;
        QStyleOptionMenuItem item;
        item.font = KnownFont();
        item.fontMetrics = QFontMetrics(item.font);
        item.text = QStringLiteral("&Level");
        item.menuItemType = QStyleOptionMenuItem::SubMenu;
        const QFontMetrics fm(item.font);
        QCOMPARE(style.sizeFromContents(QStyle::CT_MenuItem, &item, QSize(), nullptr).width(),
                 fm.horizontalAdvance(QStringLiteral("Level")) + 26 + ODMenuStyle::SubMenuArrowRoom);
        item.text.clear();
        item.menuItemType = QStyleOptionMenuItem::Separator;
        QCOMPARE(style.sizeFromContents(QStyle::CT_MenuItem, &item, QSize(), nullptr).height(),
                 ODMenuStyle::SeparatorHeight);
    }

    void lastBarItemId_data()
    {
        QTest::addColumn<int>("barItems");
        QTest::newRow("five") << 5;
        QTest::newRow("one") << 1;
        QTest::newRow("none") << 0;
    }

    void lastBarItemId()
    {
        QFETCH(int, barItems);
        MenuWindow w(barItems);
        LastBarItemId = 0;
        InstallMenus(&w.window, true);
        QCOMPARE(LastBarItemId, 665 + barItems);
        const QList<QAction*> bar = w.window.menuBar()->actions();
        QCOMPARE(bar.size(), barItems);
        for (int p = 0; p < barItems; ++p) {
            QCOMPARE(bar[p]->property("ODMenuItemId").toInt(), 666 + p);
            QCOMPARE(bar[p]->property("ODMenuItemData").toInt(), 2);
            QCOMPARE(MenuCaptionStore().value(MenuCaptionKey(&w.window, 666 + p)), bar[p]->text());
        }
        QCOMPARE(MenuCaptionStore().size(), barItems);
        RemoveMenus(&w.window);
    }

    void windowWithoutMenuBar()
    {
        QWidget plain;
        LastBarItemId = 0;
        InstallMenus(&plain, true);
        QCOMPARE(LastBarItemId, 665);
        QVERIFY(MenusInstalled(&plain));
        RemoveMenus(&plain);
        QVERIFY(!MenusInstalled(&plain));
    }

    void installStylesEveryMenuAndRemoveRestores()
    {
        MenuWindow w;
        QMenu* sub = w.file->addMenu(QStringLiteral("&More"));
        InstallMenus(&w.window, true);
        QVERIFY(MenusInstalled(&w.window));
        QVERIFY(qobject_cast<ODMenuStyle*>(w.window.menuBar()->style()));
        QVERIFY(qobject_cast<ODMenuStyle*>(w.file->style()));
        QVERIFY(qobject_cast<ODMenuStyle*>(sub->style()));
        // A menu added later is drawn the same way.
        QMenu* later = w.window.menuBar()->addMenu(QStringLiteral("&Later"));
        QVERIFY(qobject_cast<ODMenuStyle*>(later->style()));
        // A second installation changes nothing.
        InstallMenus(&w.window, true);
        QCOMPARE(LastBarItemId, 665 + 5);

        RemoveMenus(&w.window);
        QVERIFY(!MenusInstalled(&w.window));
        QVERIFY(!qobject_cast<ODMenuStyle*>(w.window.menuBar()->style()));
        QVERIFY(!qobject_cast<ODMenuStyle*>(w.file->style()));
        QVERIFY(!qobject_cast<ODMenuStyle*>(sub->style()));
        QVERIFY(!qobject_cast<ODMenuStyle*>(later->style()));
    }

    void storesLiveUntilTheLastWindowRemovesThem()
    {
        MenuWindow first;
        MenuWindow second(2);
        InstallMenus(&first.window, true);
        InstallMenus(&second.window, true);
        RegisterMenuImage(QStringLiteral("&Open"), ImgOpen, ImgOpenMask);
        QCOMPARE(MenuCaptionStore().size(), 5 + 2);

        RemoveMenus(&first.window);
        QCOMPARE(MenuImageStore().size(), 1);
        QCOMPARE(MenuCaptionStore().size(), 7);
        QVERIFY(qobject_cast<ODMenuStyle*>(second.file->style()));

        RemoveMenus(&second.window);
        QVERIFY(MenuImageStore().isEmpty());
        QVERIFY(MenuCaptionStore().isEmpty());
    }

    void openingAPopupStoresItsCaptions()
    {
        MenuWindow w;
        QAction* column = w.file->addAction(QStringLiteral("|Zone 2"));
        w.exit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
        InstallMenus(&w.window, true);
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.file->popup(w.window.mapToGlobal(QPoint(10, 30)));
        QVERIFY(QTest::qWaitForWindowExposed(w.file));

        const auto stored = [&](QAction* a) {
            bool ok = false;
            const int id = a->property("ODMenuItemId").toInt(&ok);
            return ok ? MenuCaptionStore().value(MenuCaptionKey(&w.window, id)) : QStringLiteral("<no id>");
        };
        QCOMPARE(stored(w.open), QStringLiteral("&Open"));
        QCOMPARE(stored(column), QStringLiteral("Zone 2"));
        QCOMPARE(stored(w.exit), QStringLiteral("E&xit\t") + QKeySequence(QStringLiteral("Ctrl+Q")).toString(QKeySequence::NativeText));
        // Identifiers of popup items differ from each other and from the bar's.
        QSet<int> ids;
        for (QAction* a : w.file->actions())
            ids.insert(a->property("ODMenuItemId").toInt());
        QCOMPARE(ids.size(), w.file->actions().size());
        for (int id : ids)
            QVERIFY(id < 666 || id > LastBarItemId);
        w.file->hide();
        RemoveMenus(&w.window);
    }

    void drawnPopup()
    {
        MenuWindow w;
        RegisterMenuImage(QStringLiteral("&Open"), ImgOpen, ImgOpenMask);
        RegisterMenuImage(QStringLiteral("&Save"), ImgSave, ImgSaveMask);
        RegisterMenuImage(QStringLiteral("E&xit"), ImgExit, ImgExitMask);
        RegisterMenuImage(QStringLiteral("Zone 1"), ImgZone, ImgZoneMask);
        InstallMenus(&w.window, true);
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.file->popup(w.window.mapToGlobal(QPoint(10, 30)));
        QVERIFY(QTest::qWaitForWindowExposed(w.file));
        w.file->setActiveAction(w.open);
        QCOMPARE(w.file->activeAction(), w.open);
        const QImage shot = w.file->grab().toImage();
        const QColor selected(255, 255, 0);
        const QColor menubg = SchemeColour(QStringLiteral("menubg"));
        QVERIFY(selected != menubg);

        // The selected item: "Selected" behind its text, picture column apart.
        const QRect open = w.file->actionGeometry(w.open);
        const QRect openText(open.left() + ODMenuStyle::ImageColumn + 2, open.top() + 1,
                             open.width() - ODMenuStyle::ImageColumn - 4, open.height() - 2);
        QVERIFY2(Share(shot, openText, selected) > 0.6, "selected item not filled with the Selected colour");
        QCOMPARE(Share(shot, openText, menubg), 0.0);
        // Some of the text is drawn on it in "SelectedText" (black).
        QVERIFY(Share(shot, openText, QColor(0, 0, 0)) > 0.0);

        // Other items stay on the menu background.
        const QRect plain = w.file->actionGeometry(w.plain);
        QVERIFY(Share(shot, plain.adjusted(1, 1, -1, -1), menubg) > 0.6);
        QCOMPARE(Share(shot, plain, selected), 0.0);
        QVERIFY(Share(shot, plain, QColor(0, 0, 0)) > 0.0);
        const QRect exit = w.file->actionGeometry(w.exit);
        QCOMPARE(Share(shot, exit, selected), 0.0);

        // Pictures: opaque pixels shown, masked pixels show the background.
        const QImage exitPicture = LoadMenuImage(ImgExit, ImgExitMask);
        const QPoint opaque = PicturePixel(exitPicture, true);
        const QPoint clear = PicturePixel(exitPicture, false);
        QCOMPARE(QColor(shot.pixel(OnItem(exit, opaque))), QColor(exitPicture.pixel(opaque)));
        QCOMPARE(QColor(shot.pixel(OnItem(exit, clear))), menubg);

        // A disabled item's picture is greyed.
        const QImage savePicture = LoadMenuImage(ImgSave, ImgSaveMask);
        QPoint blue(-1, -1);
        for (int y = 0; y < 16 && blue.x() < 0; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(savePicture.pixel(x, y)) == 255 && qBlue(savePicture.pixel(x, y)) > 2 * qRed(savePicture.pixel(x, y))) {
                    blue = {x, y};
                    break;
                }
        QVERIFY(blue.x() >= 0);
        const QColor greyed(shot.pixel(OnItem(w.file->actionGeometry(w.save), blue)));
        QVERIFY2(greyed != QColor(savePicture.pixel(blue)), "disabled picture drawn as enabled");
        QVERIFY(qAbs(greyed.red() - greyed.blue()) < 40);

        // A checked item shows the check mark in its picture column.
        const QImage check = LoadMenuImage(ImgCheck, ImgCheckMask);
        const QImage zonePicture = LoadMenuImage(ImgZone, ImgZoneMask);
        const QRect zone = w.file->actionGeometry(w.zone);
        const QPoint mark = PicturePixel(check, true);
        QCOMPARE(QColor(shot.pixel(OnItem(zone, mark))), QColor(check.pixel(mark)));
        QVERIFY(QColor(check.pixel(mark)) != QColor(zonePicture.pixel(mark)));

        w.file->hide();
        RemoveMenus(&w.window);
    }

    void drawnBarItemWhenOpen()
    {
        MenuWindow w;
        InstallMenus(&w.window, true);
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QMenuBar* bar = w.window.menuBar();
        const QRect fileItem = bar->actionGeometry(w.file->menuAction());
        const QRect viewItem = bar->actionGeometry(bar->actions().at(2));

        bar->setActiveAction(w.file->menuAction());
        QTRY_VERIFY(w.file->isVisible());
        const QImage shot = bar->grab().toImage();
        const QColor border = SchemeColour(QStringLiteral("BorderColor"));
        const QColor selected = SchemeColour(QStringLiteral("Selected"));
        QCOMPARE(QColor(shot.pixel(fileItem.topLeft())), border);
        QCOMPARE(QColor(shot.pixel(fileItem.bottomRight())), border);
        QVERIFY(Share(shot, fileItem.adjusted(1, 1, -1, -1), selected) > 0.6);
        // Other bar items and the rest of the bar keep the menu background.
        const QColor menubg = SchemeColour(QStringLiteral("menubg"));
        QVERIFY(Share(shot, viewItem, menubg) > 0.6);
        QCOMPARE(QColor(shot.pixel(bar->width() - 2, bar->height() / 2)), menubg);
        w.file->hide();
        RemoveMenus(&w.window);
    }

    void drawnBarItemWhenHot()
    {
        MenuWindow w;
        InstallMenus(&w.window, true);
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QMenuBar* bar = w.window.menuBar();
        const QRect help = bar->actionGeometry(bar->actions().at(4));
        const QColor light = bar->palette().color(QPalette::Light);
        const QColor dark = bar->palette().color(QPalette::Dark);
        const QColor menubg = SchemeColour(QStringLiteral("menubg"));
        QVERIFY(light != menubg && dark != menubg);
        QCOMPARE(QColor(bar->grab().toImage().pixel(help.topLeft())), menubg);

        // The pointer over an item raises its edge without opening it.
        QMouseEvent move(QEvent::MouseMove, QPointF(help.center()), QPointF(bar->mapToGlobal(help.center())),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QTRY_COMPARE(QColor(bar->grab().toImage().pixel(help.topLeft())).rgb(), light.rgb());
        const QImage shot = bar->grab().toImage();
        QCOMPARE(QColor(shot.pixel(help.bottomRight())).rgb(), dark.rgb());
        QCOMPARE(Share(shot, help, SchemeColour(QStringLiteral("Selected"))), 0.0);
        QVERIFY(!bar->actions().at(4)->menu<QMenu*>()->isVisible());
        RemoveMenus(&w.window);
    }
};

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
