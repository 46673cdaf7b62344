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
extern int TitleDropDownState;     // -1 while a title's drop-down is open
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

// Opening drop-downs, switching titles and the chevron (set by the drop-down code).
extern int BarHotItem;                // the bar's hot item when the drop-down opened; -2: Alt closed it
extern int TitleHeight;               // height of the pressed button
extern HBRUSH ToolbarDropDownBorder;  // held-border brush of a tool-bar button's style
extern RECT ChevronRect;              // screen rectangle of the chevron whose menu is open
extern int ChevronClickSeen;          // -1: the click that closed the chevron menu hit the chevron
// VK_LEFT or VK_RIGHT while the keyboard switches from the closing drop-down to its
// neighbour; pressed on the bar, with Down, once the closing drop-down's loop has ended.
extern UINT PendingTitleSwitchKey;

// The menu hooks' keyboard and selection state.
extern int MenuBarKeyState;     // 1 after Alt or F10 and no other key; -2 after another key
extern int LastArrowKey;        // VK_UP or VK_DOWN while a drop-down is tracked; 0: used
extern int SubmenuDepth;        // submenus opened from the keyboard below the drop-down
extern HMENU MenuSelectParent;  // the menu a WM_MENUSELECT's item is looked up in
extern HMENU OpeningSubmenu;    // the submenu of the item selected last
extern int SubmenuOpening;      // 1 while the selected item has a submenu
extern int PopupItemSelected;   // 1 while the pointer is over an item of a popup

// The popup windows of the open menu.
extern PopupWindow* InnermostPopup;  // the popup registered last and still open
extern HWND OpenPopupWindow;         // the "#32768" window created last
extern HWND FirstPopupWindow;        // the first popup painted after a drop-down opened
extern int OpenPopupCount;
extern int TopPopupStyle;            // UI style of the top-level popup's menu
extern int SelectionFadeSuspended;   // 1 while the toolkit switched the selection fade off
extern int PopupPlacementSuspended;  // 1 after a popup closed, until the next one registers
extern int PopupMoveRedrawPending;
extern RECT LastPopupRect;  // left, top, width, height; width 0: none
extern int LastPopupX;
extern int LastPopupExtent;          // bottom of the popup placed last
extern int MenuBackingStoreEnabled;  // 0: uncovered areas are always repainted

// The scrolling copy, beyond what the painter reads.
extern HMENU ScrollSourceMenu;
extern HWND ScrollPopupWindow;
extern int ScrollPopupHeight;
extern int ScrollAtEnd;
extern int ScrollFirstIndex;
extern int ScrollLastIndex;
constexpr int MenuScrollUpId = -13374;
constexpr int MenuScrollDownId = -13373;
constexpr int MenuScrollFillerId = -13370;

}  // namespace tovrel

#endif
