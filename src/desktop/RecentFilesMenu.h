#pragma once
// File > Recent Files: a submenu appended to the File menu (after a
// separator) listing the images opened or saved last, newest first, with
// "Clear List" at its end. Choosing an entry hands its path to the window's
// opening routine; a file that no longer exists is taken off the list and
// the user is told.
#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    using OpenFile = std::function<void(const QString& path)>;

    // Appends the submenu to `fileMenu`; `window` owns it and parents the
    // messages; `open` opens a chosen file.
    RecentFilesMenu(QMenu* fileMenu, QWidget* window, OpenFile open);

    QMenu* menu() const { return m_menu; }

    // Puts the file at the top of the list (after it was opened or saved).
    void Remember(const QString& path);

    // Rebuilds the entries from the stored list.
    void Refresh();

    // Caption of the entry for the path at `index` (0 first): "&1 " and the
    // path, shortened in the middle when long, with "&" shown as itself.
    static QString EntryCaption(int index, const QString& path);

private:
    void Choose(QString path);

    QMenu* m_menu = nullptr;
    QWidget* m_window = nullptr;
    OpenFile m_open;
};
