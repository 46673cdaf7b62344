// The state the menu code shares: the menu bar made last, the settings of item shortcuts
// and images, the geometry of the open drop-down that titles and items are drawn against,
// and the painter's buffering of single items. All of it is GUI-thread state; the menu
// records themselves are guarded by MenuMutex.
#ifndef ZK_TOVREL_FRAME_MENU_STATE_H
#define ZK_TOVREL_FRAME_MENU_STATE_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/shortcuts.h"  // ItemShortcutsDisabled

namespace tovrel {

// Menus and items.
extern HWND MenuBarWindow;      // the bar window of the menu bar made last
extern int F10MenuKeyDisabled;  // DisableF10MenuKey
extern int RadioGroupNumber;    // the current radio group; 0 at start
extern HMENU RadioGroupMenu;    // menu of the radio item set last; nullptr: none

// The drop-down being tracked and where it was placed against its title.
extern HMENU OpenDropDownMenu;  // nullptr: none
extern Menu* OpenTitleRecord;
extern int TitleScreenLeft;  // screen position and width of the pressed title
extern int TitleScreenBottom;
extern int TitleWidth;
extern int DropDownLeft;  // screen x and width of the drop-down
extern int DropDownWidth;
extern int DropDownTop;  // -1 when the drop-down opens above its title
extern int DropDownShiftX;
extern int DropDownOverhang;     // how far it had to move left, plus 1; 0 when it fits
extern int ToolbarDropDownOpen;  // 1 while a tool-bar button's drop-down is open
extern HWND SavedFocusWindow;
extern int TitleDropDownState;     // 1 while a title's drop-down is being switched
extern int MenuKeyboardOpen;       // 1 while the keyboard drives the menu bar
extern int DropDownKeyNavigation;  // 1 while keys move the selection in a drop-down
extern int MenuKeyNavigation;      // 1 while keys drive the menu; disabled items get a frame

// The owner-drawn item painter.
// 0 during a drop-down's first paint, -1 once its last item was drawn, 1 from then on:
// single items are drawn off screen and copied in one blit.
extern int MenuItemBuffering;
extern int MenuCacheBlocked;  // 1 while the first item was drawn selected during caching
extern int LastHotItemTop;    // top of the item last drawn selected
extern int MenuTextGap;       // the font's size step less 2, set when items are measured

// The scrolling copy of a drop-down taller than the screen.
extern HMENU ScrollPopupMenu;  // nullptr: none
extern int ScrollPopupWidth;
extern int ScrollBusy;          // 1 while a scroll step rebuilds the copy
extern int ScrollHover;         // 1 while hovering an arrow scrolls
extern int ScrollItemHeight;    // height of the copy's arrow items
extern int ScrollFillerHeight;  // height of the copy's filler item; 7 after every reset

}  // namespace tovrel

#endif
