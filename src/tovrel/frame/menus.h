// The toolkit's menus: a menu bar is a flat tool bar whose buttons are the titles, each
// title owns a drop-down, and every item of a drop-down or popup is owner-drawn from its
// MenuItem record. Records live in MenuList and MenuItemList under MenuMutex. A `menu`
// argument is a menu number, a menu handle or a bar window (MenuMatchesReference); the
// first record that matches is used.
#ifndef ZK_TOVREL_FRAME_MENUS_H
#define ZK_TOVREL_FRAME_MENUS_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// A menu bar on `window` in `uiStyle`. -> the new number for -1, else the bar window; 0
// when the number is taken or no bar was made. The bar becomes the current menu.
intptr_t CreateMenuBar(int number, HWND window, int uiStyle);
// -> the popup's menu handle (also for -1); 0 when the number is taken. It becomes the
// current menu.
HMENU CreatePopup(int number, int uiStyle);
// A title on the current menu bar; later items go into its drop-down. -> 0
int AddMenuTitle(const std::string& text);
// Appends an item to the current menu. Images are icons or bitmaps the caller keeps;
// `submenu` is 0, a menu handle or a menu number. -> the new command id for -1, else 1;
// 0 on failure, which leaves no record, images or shortcut behind.
int AddMenuItem(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                intptr_t submenu);
// As AddMenuItem into `menu` at `position` (-1 or less appends); a negative
// `submenuOrKind` is the item's kind (scroll arrows and filler) and opens no submenu.
int InsertMenuItemAt(intptr_t menu, int position, int commandId, const std::string& text, HANDLE image, HANDLE hotImage,
                     HANDLE disabledImage, intptr_t submenuOrKind);
// An owner-drawn separator: never selected, never a command. -> 0
int AddMenuSeparator();
// `state` non-zero disables the item and unbinds its shortcut; 0 restores both. -> 1 or 0
int SetMenuItemDisabled(intptr_t menu, int commandId, int state);
int GetMenuItemChecked(intptr_t menu, int commandId);       // 1, 0, -1 unknown
std::string GetMenuItemText(intptr_t menu, int commandId);  // "" when unknown
int GetMenuBarHeight(intptr_t menu);                        // client height of the bar, 0 when unknown
// A popup's menu handle or a menu bar's bar window; 0 when unknown.
intptr_t GetMenuHandle(intptr_t number);
HFONT GetMenuFont();
int DisableItemShortcuts(int state);
int DisableF10MenuKey(int state);
// Frees the first record the argument names, or every menu for -1. -> 1 or 0
int FreeMenu(intptr_t menu);

// The first record `menu` names, made current; nullptr when none. MenuMutex held.
Menu* FindMenu(intptr_t menu);

}  // namespace tovrel

#endif
