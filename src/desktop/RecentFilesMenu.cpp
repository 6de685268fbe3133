#include "desktop/RecentFilesMenu.h"

#include "desktop/RecentFileList.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
// Longest path shown whole in an entry.
constexpr int ShownPathLength = 72;
}

RecentFilesMenu::RecentFilesMenu(QMenu* fileMenu, QWidget* window, OpenFile open)
    : QObject(window), m_window(window), m_open(std::move(open))
{
    QAction* separator = fileMenu->addSeparator();
    separator->setObjectName(QStringLiteral("FileFillerRecent"));
    m_menu = fileMenu->addMenu(QStringLiteral("&Recent Files"));
    m_menu->setObjectName(QStringLiteral("mnuRecentFiles"));
    // Another running editor may have changed the list meanwhile.
    connect(fileMenu, &QMenu::aboutToShow, this, &RecentFilesMenu::Refresh);
    Refresh();
}

QString RecentFilesMenu::EntryCaption(int index, const QString& path)
{
    QString shown = path;
    if (shown.size() > ShownPathLength) {
        const int keep = (ShownPathLength - 3) / 2;
        shown = shown.left(keep) + QStringLiteral("...") + shown.right(ShownPathLength - 3 - keep);
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    // A tab would split the caption into text and shortcut.
    shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

void RecentFilesMenu::Refresh()
{
    // The entry being chosen may be the one that asks for this; it is
    // deleted once its signal has returned.
    for (QAction* old : m_menu->actions()) {
        m_menu->removeAction(old);
        old->deleteLater();
    }
    const QStringList paths = RecentFiles();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* entry = m_menu->addAction(EntryCaption(i, path));
        entry->setObjectName(QStringLiteral("mnuRecentFile%1").arg(i));
        entry->setData(path);
        entry->setStatusTip(path);
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { Choose(path); });
    }
    if (!paths.isEmpty()) {
        m_menu->addSeparator();
        QAction* clear = m_menu->addAction(QStringLiteral("&Clear List"));
        clear->setObjectName(QStringLiteral("mnuClearRecentFiles"));
        connect(clear, &QAction::triggered, this, [this] {
            ClearRecentFiles();
            Refresh();
        });
    }
    m_menu->menuAction()->setEnabled(!paths.isEmpty());
}

void RecentFilesMenu::Remember(const QString& path)
{
    RememberRecentFile(path);
    Refresh();
}

void RecentFilesMenu::Choose(QString path)
{
    if (!QFileInfo(path).exists()) {
        ForgetRecentFile(path);
        Refresh();
        ShowAppMessage(m_window, QStringLiteral("\"%1\" no longer exists; it was taken off the list of recent files.")
                                     .arg(path));
        return;
    }
    if (m_open)
        m_open(path);
}
