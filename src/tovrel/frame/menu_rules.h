// Menu decisions that need no window: how a title button is sized, and which record a
// menu argument names.
#ifndef ZK_TOVREL_FRAME_MENU_RULES_H
#define ZK_TOVREL_FRAME_MENU_RULES_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// The size of a menu-bar title button whose text measures tw x th in the menu font, in
// the menu's UI style (6 is OFFICE2003 as menus store it). Every sizing of a title, at
// creation and at every refit, uses this one rule.
SIZE TitleButtonSize(int style, int tw, int th);

// A menu argument names a record by its number, its menu handle or its bar window.
// Popups carry MenuNoBar() as bar window, so -1 names every popup.
bool MenuMatchesReference(const Menu& menu, intptr_t reference);

}  // namespace tovrel

#endif
