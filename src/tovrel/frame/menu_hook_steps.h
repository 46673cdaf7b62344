// What the menu hooks share: each hook's memory of the pointer and of the selection last
// reported, the ways the bar leaves keyboard mode, and key presses made up for the menu
// loop and the tool bar.
#ifndef ZK_TOVREL_FRAME_MENU_HOOK_STEPS_H
#define ZK_TOVREL_FRAME_MENU_HOOK_STEPS_H

#include <windows.h>

namespace tovrel {

struct HookMemory {
  POINT lastPoint;
  UINT selectFlags;       // the flags of the selection reported last (MF_POPUP, MF_HILITE, ...)
  HMENU selectedSubmenu;  // the submenu of the item selected last; nullptr: none
};
extern HookMemory BarNavigationMemory;  // MenuBarNavigationHook's
extern HookMemory MessageFilterMemory;  // MenuMessageFilterHook's

// True when the selection reported last is an item whose submenu Right opens.
bool SelectionOpensSubmenu(const HookMemory& memory);

// The window whose root is `bar`'s and which is enabled takes keys for the bar: the
// focus window's root, or the active window when nothing has the focus.
bool BarTakesKeys(HWND bar);

// Gives the focus back to the window that had it before the bar took it; to the bar's
// root window when that one is gone.
void RestoreSavedFocus(HWND bar);

// The bar leaves keyboard mode: no title hot or chosen. `endMenu` also ends a tracked menu.
void LeaveBarKeyboardMode(HWND bar, bool endMenu);

// A press and release of `key`, posted: the menu loop and the tool bar read posted keys,
// while the keyboard hook does not see them.
void PostKeyPress(HWND window, UINT key);

}  // namespace tovrel

#endif
