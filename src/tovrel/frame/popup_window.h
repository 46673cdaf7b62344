// The system's popup menu windows ("#32768") showing toolkit menus: subclassed while a
// toolkit menu is tracked, one PopupWindow record each, framed and placed in the menu's UI
// style.
#ifndef ZK_TOVREL_FRAME_POPUP_WINDOW_H
#define ZK_TOVREL_FRAME_POPUP_WINDOW_H

#include <windows.h>

namespace tovrel {

LRESULT CALLBACK PopupMenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
extern WNDPROC PopupMenuPreviousProc;

// The frame's part of the GUI thread's sent-message hook: subclasses new popup windows of
// toolkit menus, removes the system's own menu shadows, ends a closing popup's shadows,
// and passes WM_MENUSELECT to MenuSelectionChanged.
void ObserveSentMessage(const CWPSTRUCT& sent);

}  // namespace tovrel

#endif
