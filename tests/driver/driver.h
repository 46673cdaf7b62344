// A small driver for whole-program tests: starts programs under test, finds their windows
// and controls and works them through window messages, the way a person would with mouse
// and keyboard. Everything crosses process boundaries (the programs share one wineserver
// with the test), so every send has a time limit and every wait ends by itself: a test
// fails on a stuck program instead of hanging.
//
// Texts are UTF-8; the wide window APIs are used underneath, so ANSI and Unicode programs
// are driven alike. Failures are return values (false, nullptr, -1), never exceptions.
#ifndef ZK_TESTS_DRIVER_DRIVER_H
#define ZK_TESTS_DRIVER_DRIVER_H

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "support/waits.h"

// How long one message to another process may take before the driver gives up on it.
constexpr DWORD kDriverSendTimeoutMs = 5000;
// How often waits look again.
constexpr DWORD kDriverPollMs = kWaitPollMs;

// Calls `done` until it answers true (true) or `timeoutMs` has passed (false), every
// `pollMs`. With `watched` given, the wait ends early (false) once that window is gone.
bool DriverPoll(const std::function<bool()>& done, DWORD timeoutMs, HWND watched = nullptr,
                DWORD pollMs = kDriverPollMs);

// A started program. `handle` is owned by the record: release it with DriverRelease.
struct DriverProcess {
  HANDLE handle = nullptr;
  DWORD id = 0;
};

// Starts `path` (relative to the current folder or absolute) with `args` as its command
// line arguments, in `folder` (empty: the current folder).
bool DriverStart(const std::string& path, const std::string& args, const std::string& folder, DriverProcess* out);
// Waits up to `timeoutMs` for the program to end; `exitCode` may be null.
bool DriverWaitExit(const DriverProcess& p, DWORD timeoutMs, DWORD* exitCode);
// Whether the program is still running.
bool DriverRunning(const DriverProcess& p);
// Ends the program at once (exit code `code`) and waits briefly for it to be gone.
bool DriverKill(const DriverProcess& p, UINT code = 1);
// Closes the record's handle; the program itself is not touched.
void DriverRelease(DriverProcess* p);

// A shown top-level window whose title is exactly `title`, of process `pid` (0: any
// process); polls until `timeoutMs` has passed. nullptr when none appeared. Hidden windows
// are passed over: they may still be half built.
HWND DriverWaitWindow(const std::string& title, DWORD pid, DWORD timeoutMs);
// The same for a title that starts with `prefix`.
HWND DriverWaitWindowPrefix(const std::string& prefix, DWORD pid, DWORD timeoutMs);
// A top-level window of class `cls` titled `title` of process `pid` (0: any), polled.
HWND DriverWaitWindowClass(const std::string& cls, const std::string& title, DWORD pid, DWORD timeoutMs);
// The first shown top-level window of process `pid` that `match` accepts, polled.
HWND DriverWaitWindowWhere(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs);

// The control with ID `id` anywhere below `parent` (children of children too).
HWND DriverFindControl(HWND parent, int id);
// The same, polled until `timeoutMs` has passed, for controls a program makes later.
HWND DriverWaitControl(HWND parent, int id, DWORD timeoutMs);
// The first window below `parent` whose class is `cls` and whose text is `text`; a null
// argument matches anything. Class names compare without regard to case, as Win32 does.
HWND DriverFindChild(HWND parent, const char* cls, const char* text);

// Replaces a control's text and tells its parent EN_CHANGE, as typing into an edit would.
bool DriverSetText(HWND control, const std::string& text);
// The control's text (WM_GETTEXT); false when the program did not answer in time.
bool DriverGetText(HWND control, std::string* text);
// The control's text, or "" when it could not be read. For comparisons in tests.
std::string DriverText(HWND control);
// Polls until the control's text is `expected`.
bool DriverWaitText(HWND control, const std::string& expected, DWORD timeoutMs);

// Clicks a button without waiting for what the click does (a click may open a modal box).
// False for a missing, hidden or disabled button: a person could not click it either.
bool DriverClick(HWND button);
// Chooses menu item `id` of top-level window `window` (posted WM_COMMAND, as a menu does).
bool DriverMenuCommand(HWND window, int id);

// BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE; -1 when it could not be read.
int DriverCheckState(HWND button);
bool DriverEnabled(HWND control);
bool DriverVisible(HWND control);

// Combo box: selected index (-1: none or unreadable), item count (-1: unreadable), item text.
int DriverComboSelection(HWND combo);
int DriverComboCount(HWND combo);
bool DriverComboItem(HWND combo, int index, std::string* text);
// Selects item `index` and tells the parent CBN_SELCHANGE, as a person choosing it would.
bool DriverComboSelect(HWND combo, int index);

// List view: item count (-1: unreadable) and the text of one item or sub-item.
int DriverListCount(HWND list);
bool DriverListItem(HWND list, int item, int subItem, std::string* text);

// List view columns: how many (-1: unreadable), and one column's title and width.
int DriverListColumnCount(HWND list);
bool DriverListColumn(HWND list, int column, std::string* title, int* width);

// Tab control: tab count (-1: unreadable), selected tab (-1: none or unreadable), tab text.
int DriverTabCount(HWND tab);
int DriverTabSelection(HWND tab);
bool DriverTabText(HWND tab, int index, std::string* text);

// Tree view: the item after `item` on the same level, or the first top-level item when
// `item` is null; null at the end or when unreadable. Items belong to the other process:
// only pass them back to the same tree.
HTREEITEM DriverTreeNext(HWND tree, HTREEITEM item);
// An item's text and whether its check box is checked (false for a tree without them).
bool DriverTreeItem(HWND tree, HTREEITEM item, std::string* text, bool* checked);
// Clicks the check box of an item, where the tree's own hit test places it. False when the
// item shows no check box or the tree is hidden or disabled.
bool DriverTreeClickCheckBox(HWND tree, HTREEITEM item);

// The point of an item's check box, in the tree's client coordinates, where the tree's own
// hit test places it. False when the item shows no check box.
bool DriverTreeCheckBoxPoint(HWND tree, HTREEITEM item, POINT* at);

// Input as a person gives it, through the system's input queue (SendInput): it reaches
// the window under the pointer or the one with the keyboard focus, and the key and button
// state goes with it, so a control sees Shift held during an arrow key and the button held
// during a drag. The window that is to receive keys must be in front: DriverBringToFront,
// then a click into the control.
bool DriverBringToFront(HWND window);
// Presses and releases key `vk`, with Shift held around it when `shift`.
bool DriverKey(WORD vk, bool shift = false);
// Presses the left button at `from` and releases it at `to` (client coordinates of `w`),
// moving the pointer in small steps between, as a drag does.
bool DriverMouseDrag(HWND w, POINT from, POINT to);
// A left click at `at`, client coordinates of `w`.
bool DriverMouseClick(HWND w, POINT at);

// Asks window `window` to close (WM_CLOSE) and waits for process `p` to end.
bool DriverCloseAndWait(HWND window, const DriverProcess& p, DWORD timeoutMs, DWORD* exitCode);

// Waits for a message box titled `title` of process `pid`, reads its message into `text`
// (may be null) and presses its button `buttonId` (IDOK, IDYES, ...).
bool DriverAnswerMessageBox(DWORD pid, const std::string& title, int buttonId, DWORD timeoutMs, std::string* text);

// ---- menu bars drawn as tool bars ----------------------------------------------------
// A menu bar made of a tool bar (one drop-down button per title, inside a rebar) opens
// its titles as ordinary popup menus: "#32768" windows of the program's process. Menus of
// another process cannot be read under Wine (GetMenuItemRect and GetMenuState answer
// nothing for them), so the driver finds items where a person sees them: on screen.

// The tool bar below `main` that has a button titled `title`, and that button's rectangle
// in screen coordinates (`rect` may be null). nullptr when there is none.
HWND DriverFindMenuTitle(HWND main, const std::string& title, RECT* rect);
// The shown popup menu window ("#32768") of the process of `main`, polled; nullptr when
// none appeared in `timeoutMs`.
HWND DriverWaitPopupMenu(HWND main, DWORD timeoutMs);
// Brings `main` to the front and clicks menu title `title`; answers the drop-down's
// popup window once it shows, nullptr when it did not.
HWND DriverOpenMenuTitle(HWND main, const std::string& title);
// The screen rectangle of item `position` of the open popup `popup` (0 = the first item;
// separators are not counted, disabled items are): the item is selected with Down keys and
// its rectangle is the band of rows that the selection repaints. False when no band changed.
bool DriverMenuItemRect(HWND popup, int position, RECT* rect);
// Opens title `title` of `main` and clicks the item at `position` (counted as for
// DriverMenuItemRect) with the mouse. True when the click was made; what the item does is
// for the caller to see.
bool DriverChooseMenuItem(HWND main, const std::string& title, int position);
// Brings `main` to the front and presses the keys in order (each pressed and released),
// as a person working the menu bar from the keyboard would.
bool DriverChooseMenuItemByKeys(HWND main, const std::vector<WORD>& keys);
// The pixels of a screen rectangle, row by row, as 0x00RRGGBB values; empty when the
// screen could not be read.
std::vector<DWORD> DriverScreenPixels(const RECT& rect);

#endif
