// A menu's UI style and the menu font, changed after the menus were built: the items are
// measured again and the title buttons and their band refitted.
#ifndef ZK_TOVREL_FRAME_MENU_STYLE_H
#define ZK_TOVREL_FRAME_MENU_STYLE_H

#include <windows.h>

#include <stdint.h>

namespace tovrel {

int SetMenuStyle(intptr_t menu, int uiStyle);  // -> 1, 0 when no menu matches
// A font handle (the caller keeps it). -> 1, 0 when it is no font; MenuFont then stays.
int SetMenuFont(intptr_t font);
// Sizes every title of the bar to its text in MenuFont and keeps the hosting band's margin.
// MenuMutex held.
void RefitMenuBarTitles(HWND bar);
// The same for the titles of every menu bar. MenuMutex held.
void RefitAllMenuBarTitles();

}  // namespace tovrel

#endif
