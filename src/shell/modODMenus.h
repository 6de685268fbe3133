#pragma once
// Menus drawn by the program, installed on a window with one call.
//
// How the menu mechanism of the classic desktop maps onto Qt's menus:
// - Subclassing the window (the "ODMenuOrigProc" property) becomes a hook
//   object kept in the window's property "ODMenuOrigProc": it gives the
//   window's menu bar, its popups and tool bars the ODMenuStyle and filters
//   their events. RemoveMenus reads the property, gives every menu its
//   earlier style back and clears the property.
// - Owner-drawn items and the measuring and drawing messages become the
//   style's sizeFromContents (CT_MenuItem, CT_MenuBarItem) and drawControl
//   (CE_MenuItem, CE_MenuBarItem) for every item; the menu bar's background
//   to the right edge is CE_MenuBarEmptyArea, the tool-bar background
//   erase PE_PanelToolBar.
// - Qt hands the style each item's text (accelerator after a tab), so the
//   drawing reads the caption from there. MenuCaptionStore is still kept as
//   described: window "handle" (the window's address in decimal), "-", the
//   item's identifier, "M". Bar items get identifiers 666, 667, ... and item
//   data 2 as the action properties "ODMenuItemId" / "ODMenuItemData"; popup
//   items are numbered from 1 when their popup first opens (Qt's actions
//   have no identifiers of their own).
// - Popup preparation is the popup's Show event. A caption starting with "|"
//   is stored and drawn without it; Qt's menus cannot start a column at a
//   chosen item, so no column break follows.
// - The menu font is the one Qt gives the menu (the platform's menu font).
// - On platforms whose menu bar is native (outside the window), converting
//   the bar makes it a bar inside the window so it can be drawn.
#include "shell/MenuImages.h"

#include <QMap>
#include <QString>

class QWidget;

// Identifier of the last menu-bar item after conversion: bar items + 665.
extern int LastBarItemId;

// Identifier of the first bar item.
constexpr int FirstBarItemId = 666;
// Item data marking a bar item.
constexpr int BarItemData = 2;

// Key of MenuCaptionStore for item `itemId` of `window`.
QString MenuCaptionKey(const QWidget* window, int itemId);
QMap<QString, QString>& MenuCaptionStore();

// Installs the drawn menus on `window` (once; a second call does nothing);
// with `convertBar` its menu bar is converted first.
void InstallMenus(QWidget* window, bool convertBar);

// Removes them again. When no other window has them installed, both stores
// are emptied.
void RemoveMenus(QWidget* window);

// True while `window` has the drawn menus.
bool MenusInstalled(const QWidget* window);
