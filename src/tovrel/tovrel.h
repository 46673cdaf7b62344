// The control toolkit's operations that the main window calls: start-up, the menu bar,
// the tool bar and the rebar that hosts both.
//
// Menu bars, tool bars and rebars are numbered toolkit objects. A create operation takes
// the number to use or -1: with -1 it answers the new number, with a free number the new
// object's window; it answers 0 when the number is already in use (the existing object
// stays) or the window cannot be made. Add operations act on the object created last
// (the current one). Every menu item and tool-bar button reaches the owner window as
// WM_COMMAND with its command id, which the runtime turns into a menu event.
//
// All of these run on the GUI thread.
#ifndef ZK_TOVREL_TOVREL_H
#define ZK_TOVREL_TOVREL_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "tovrel/foundation/start_up.h"

// UI styles: the menu bar's style argument, and bits of the tool-bar and rebar flags.
constexpr int UISTYLE_WHIDBEY = 5;
constexpr int UISTYLE_OFFICE2003 = 0x1000000;
constexpr int UISTYLE_OFFICE2007 = 0x2000000;

// Start-up: InitToolkit, then StartToolkit, before any window is made.

// Picture size of menu items added from now on (16 x 16 at start). Answers 0.
int SetMenuImageSize(int width, int height);

// A menu bar on `window`; titles and items follow with AddMenuTitle, AddMenuItem and
// AddMenuSeparator. Items go into the drop-down of the title added last.
intptr_t CreateMenuBar(int number, HWND window, int uiStyle);
// Answers 0, also when there is no current menu bar.
int AddMenuTitle(const std::string& text);
// `commandId` -1 takes a new id that no menu holds and answers it; otherwise answers 1.
// The text after the first "$" is the item's shortcut text, shown right-aligned. The
// image (icon or bitmap, may be 0) is the item's picture; the hot and disabled images
// are accepted for the styled menus. `submenu` is 0 or a popup menu handle. 0 on failure.
int AddMenuItem(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                intptr_t submenu);
// Answers 0.
int AddMenuSeparator();
// `menu` is a menu bar's number, its window or the menu handle of one of its titles.
// Client height of the bar in pixels; 0 for an unknown menu.
int GetMenuBarHeight(intptr_t menu);
// Greys (state non-zero) or enables the item with that command id. 1, or 0 when the menu
// or the item is unknown.
int SetMenuItemDisabled(intptr_t menu, int commandId, int state);
// Frees the menu bar (its window, titles and items); -1 frees every one. 1, or 0 when
// `menu` names none.
int FreeMenu(intptr_t menu);

// A tool bar on `parent` with pictures of imageWidth x imageHeight (0 x 0: no pictures).
// The low 16 bits of `flags` are tool-bar window styles (TBSTYLE_*, CCS_*); above them
// UISTYLE_OFFICE2003, UISTYLE_OFFICE2007, 0x4000000 (a style of its own) and 0x800000
// (buttons that do not fit are hidden).
intptr_t CreateToolbar(int number, HWND parent, int imageWidth, int imageHeight, int flags);
// Adds a button to the current tool bar; `style` is the button style (BTNS_*). Answers
// the button's command id (a new one for -1), so a button with id 0 answers 0 too; 0 when
// there is no current tool bar or the id is already one of its buttons.
int AddToolbarButton(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                     int style);

// A rebar across the top of `parent`. The low 16 bits of `flags` are rebar window styles
// (0x200 RBS_VARHEIGHT: rows of their own height); UISTYLE_OFFICE2003/2007 above them.
// `background` (0 for none) is the bitmap of bands that bring none. `option` is kept for
// the styled rebar.
intptr_t CreateRebar(int number, HWND parent, HBITMAP background, int flags, int option);
// Adds a band hosting `child` to the current rebar. A minimum height of 0 takes the
// child's height (a tool bar's button height). `style` is the band style (RBBS_*:
// 1 starts a new row, 0x200 shows a chevron), 0 for the default. Answers the band id
// (0 for the first band); 0 without a current rebar; -1 when the current one is gone,
// `child` is no window or the rebar refuses the band.
int AddRebarBand(HWND child, const std::string& text, int width, int minWidth, int minHeight, HBITMAP background,
                 int style);
// Height of the rebar (`rebar` its number or its window) in pixels; 0 when it is none.
int GetRebarHeight(intptr_t rebar);

#endif
