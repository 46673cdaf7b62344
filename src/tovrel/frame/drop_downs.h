// Menu-bar titles and tool-bar buttons that drop a toolkit menu down, the switch between
// open drop-downs, the rebar chevron's menu, and popups shown at a point.
#ifndef ZK_TOVREL_FRAME_DROP_DOWNS_H
#define ZK_TOVREL_FRAME_DROP_DOWNS_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

namespace tovrel {

// Shows the menu (number or handle) at the screen point until it closes; the command
// reaches `owner` as WM_COMMAND. -> 1 after it closed, 0 for an unknown or empty menu.
int ShowPopupMenu(intptr_t menu, HWND owner, int x, int y);

// The parent window procedure's answers. -> the result to return.
LRESULT OnToolbarDropDown(HWND window, const NMTOOLBARA& press, LRESULT previous);
LRESULT OnToolbarHotItemChange(HWND window, const NMTBHOTITEM& change);
void OnRebarChevronPushed(HWND window, const NMREBARCHEVRON& chevron);

// Posted to a menu bar's parent (lParam: the bar) when the keyboard asks for the hot
// title's drop-down, which the tool bar itself does not open from the keyboard.
constexpr UINT WM_TOVREL_OPENHOTTITLE = 0x8954;
void OnOpenHotTitle(HWND window, HWND bar);

}  // namespace tovrel

#endif
