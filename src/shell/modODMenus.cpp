#include "shell/modODMenus.h"

#include "shell/ODMenuStyle.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

int LastBarItemId = FirstBarItemId - 1;

namespace {
const char* const OrigProcProperty = "ODMenuOrigProc";
const char* const ItemIdProperty = "ODMenuItemId";
const char* const ItemDataProperty = "ODMenuItemData";

QList<QPointer<QWidget>>& installedWindows()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

QPointer<ODMenuStyle>& sharedStyle()
{
    static QPointer<ODMenuStyle> style;
    return style;
}

int nextPopupItemId()
{
    static int next = 1;
    return next++;
}

QMenuBar* menuBarOf(QWidget* window)
{
    if (auto* main = qobject_cast<QMainWindow*>(window))
        return qobject_cast<QMenuBar*>(main->menuWidget());
    return window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

// The hook that stands for the replaced window procedure: it styles the
// window's menus and watches them for new submenus and for popups opening.
class ODMenuHook : public QObject {
public:
    ODMenuHook(QWidget* window, bool convertBar) : QObject(window), m_window(window)
    {
        if (QMenuBar* bar = menuBarOf(window)) {
            if (convertBar) {
                m_nativeBar = bar->isNativeMenuBar();
                bar->setNativeMenuBar(false);
                m_bar = bar;
            }
            adopt(bar);
            for (QAction* action : bar->actions())
                adoptMenuOf(action);
        }
        for (QToolBar* tools : window->findChildren<QToolBar*>())
            adopt(tools);
        for (QMenu* menu : window->findChildren<QMenu*>())
            adopt(menu);
    }

    void restore()
    {
        for (const Styled& s : std::as_const(m_styled)) {
            if (!s.Widget)
                continue;
            s.Widget->removeEventFilter(this);
            s.Widget->setStyle(s.Previous);
        }
        m_styled.clear();
        if (m_bar)
            m_bar->setNativeMenuBar(m_nativeBar);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ActionAdded:
        case QEvent::ActionChanged:
            adoptMenuOf(static_cast<QActionEvent*>(event)->action());
            break;
        case QEvent::Show:
            if (auto* menu = qobject_cast<QMenu*>(watched))
                preparePopup(menu);
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    struct Styled {
        QPointer<QWidget> Widget;
        QPointer<QStyle> Previous;
    };

    void adopt(QWidget* widget)
    {
        for (const Styled& s : std::as_const(m_styled))
            if (s.Widget == widget)
                return;
        QStyle* previous = widget->testAttribute(Qt::WA_SetStyle) ? widget->style() : nullptr;
        m_styled.append({widget, previous});
        widget->setStyle(sharedStyle());
        widget->installEventFilter(this);
    }

    void adoptMenuOf(QAction* action)
    {
        if (!action)
            return;
        if (auto* menu = action->menu<QMenu*>()) {
            adopt(menu);
            for (QAction* sub : menu->actions())
                adoptMenuOf(sub);
        }
    }

    // Records each item's caption under the window and the item's identifier.
    void preparePopup(QMenu* menu)
    {
        for (QAction* action : menu->actions()) {
            adoptMenuOf(action);
            bool known = false;
            int id = action->property(ItemIdProperty).toInt(&known);
            if (!known) {
                id = nextPopupItemId();
                action->setProperty(ItemIdProperty, id);
            }
            QString caption = action->text();
            if (!action->shortcut().isEmpty() && !caption.contains(QLatin1Char('\t')))
                caption += QLatin1Char('\t') + action->shortcut().toString(QKeySequence::NativeText);
            caption = ODMenuStyle::ShownCaption(caption);
            if (!caption.isEmpty())
                MenuCaptionStore().insert(MenuCaptionKey(m_window, id), caption);
        }
    }

    QWidget* m_window;
    QList<Styled> m_styled;
    QPointer<QMenuBar> m_bar;
    bool m_nativeBar = false;
};

void convertMenuBar(QWidget* window)
{
    QMenuBar* bar = menuBarOf(window);
    const QList<QAction*> items = bar ? bar->actions() : QList<QAction*>();
    for (int p = 0; p < items.size(); ++p) {
        const int id = FirstBarItemId + p;
        const QString caption = items[p]->text();
        if (!caption.isEmpty())
            MenuCaptionStore().insert(MenuCaptionKey(window, id), caption);
        items[p]->setProperty(ItemIdProperty, id);
        items[p]->setProperty(ItemDataProperty, BarItemData);
    }
    LastBarItemId = int(items.size()) + FirstBarItemId - 1;
}
}

QString MenuCaptionKey(const QWidget* window, int itemId)
{
    return QString::number(reinterpret_cast<quintptr>(window)) + QLatin1Char('-') + QString::number(itemId)
        + QLatin1Char('M');
}

QMap<QString, QString>& MenuCaptionStore()
{
    static QMap<QString, QString> store;
    return store;
}

bool MenusInstalled(const QWidget* window)
{
    return window && window->property(OrigProcProperty).isValid();
}

void InstallMenus(QWidget* window, bool convertBar)
{
    if (!window || MenusInstalled(window))
        return;
    if (!sharedStyle()) {
        sharedStyle() = new ODMenuStyle;
        sharedStyle()->setParent(qApp);
    }
    if (convertBar)
        convertMenuBar(window);
    installedWindows().removeAll(QPointer<QWidget>());
    auto* hook = new ODMenuHook(window, convertBar);
    window->setProperty(OrigProcProperty, QVariant::fromValue<QObject*>(hook));
    installedWindows().append(window);
}

void RemoveMenus(QWidget* window)
{
    if (!window)
        return;
    installedWindows().removeAll(QPointer<QWidget>(window));
    installedWindows().removeAll(QPointer<QWidget>());
    if (installedWindows().isEmpty()) {
        MenuCaptionStore().clear();
        MenuImageStore().clear();
    }
    auto* hook = dynamic_cast<ODMenuHook*>(window->property(OrigProcProperty).value<QObject*>());
    if (hook) {
        hook->restore();
        delete hook;
    }
    window->setProperty(OrigProcProperty, QVariant());
    if (installedWindows().isEmpty() && sharedStyle())
        delete sharedStyle().data();
}
