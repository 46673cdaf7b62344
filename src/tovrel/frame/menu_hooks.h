// The hooks that make the toolkit's menu bar behave like a system menu bar while its
// drop-downs and popups are tracked: title switching by pointer and arrow keys, closing,
// keyboard stepping of a scrolling copy, outside clicks and the chevron's own click.
#ifndef ZK_TOVREL_FRAME_MENU_HOOKS_H
#define ZK_TOVREL_FRAME_MENU_HOOKS_H

#include <windows.h>

namespace tovrel {

// WH_MSGFILTER while a title's drop-down is tracked.
LRESULT CALLBACK MenuBarNavigationHook(int code, WPARAM wParam, LPARAM lParam);
// WH_MSGFILTER while a popup of ShowPopupMenu is tracked.
LRESULT CALLBACK MenuMessageFilterHook(int code, WPARAM wParam, LPARAM lParam);
// WH_MOUSE_LL while a popup of ShowPopupMenu is tracked.
LRESULT CALLBACK MenuOutsideClickHook(int code, WPARAM wParam, LPARAM lParam);
// WH_MSGFILTER while the chevron's menu is shown.
LRESULT CALLBACK MenuClickProbeHook(int code, WPARAM wParam, LPARAM lParam);

// Each installer keeps its hook here for the time of one menu; nullptr when not installed.
extern HHOOK MenuBarNavigationHookHandle;
extern HHOOK MenuMessageFilterHookHandle;
extern HHOOK MenuOutsideClickHookHandle;
extern HHOOK MenuClickProbeHookHandle;

// The one routine every change of a popup's selection goes through, whether the popup
// window saw MN_SELECTITEM or the thread's sent-message hook saw WM_MENUSELECT (the menu
// loop sends the latter to the menu's owner): `menu` is the menu whose item at `position`
// is now selected (-1: none), `flags` the WM_MENUSELECT flags (MF_POPUP, MF_HILITE, ...).
// Acts once when both report the same selection.
void MenuSelectionChanged(HMENU menu, int position, UINT flags);

}  // namespace tovrel

#endif
