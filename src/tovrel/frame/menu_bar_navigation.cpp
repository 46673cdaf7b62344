#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <string.h>

#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/menu_hook_steps.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

void FlushComposition() {
  if (DwmCompositionEnabled && DwmApi.dwmFlush) DwmApi.dwmFlush();
}

bool IsPopupMenuWindow(HWND window) {
  char name[16] = {};
  return window && GetClassNameA(window, name, sizeof(name)) && strcmp(name, "#32768") == 0;
}

// The scroll steps of the copy run from the scroll popup's timer while either is set.
bool ScrollLoopRuns() { return ScrollHover || ScrollBusy; }

// A submenu of the tracked drop-down is shown when one of its items has a place on screen.
bool SubmenuShown() {
  if (!OpenDropDownMenu) return false;
  const int count = GetMenuItemCount(OpenDropDownMenu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(OpenDropDownMenu, i);
    RECT r = {};
    if (sub && GetMenuItemRect(nullptr, sub, 0, &r)) return true;
  }
  return false;
}

// The pointer moved over the bar: a title other than the open one is opened next, once
// the menu has ended (the tool bar's hot-item change does it).
void OnPointerMove(const MSG& msg) {
  const POINT point = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  HookMemory& memory = BarNavigationMemory;
  if (point.x == memory.lastPoint.x && point.y == memory.lastPoint.y) return;
  MenuKeyNavigation = 0;
  HWND bar = MenuBarWindow;
  if (!PopupItemSelected && !IsPopupMenuWindow(WindowFromPoint(point)) && bar && IsWindow(bar)) {
    POINT local = point;
    ScreenToClient(bar, &local);
    const int hit = static_cast<int>(SendMessageA(bar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&local)));
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    const bool title = hit >= 0 && hit < count;
    OpenTitleIndex = hit;
    KeyboardTitleIndex = title ? hit : -1;
    if (title && hit != BarHotItem) {
      SubmenuOpening = 0;
      SubmenuDepth = 0;
      if (ScrollLoopRuns()) {
        // The loop stops at its next step; the switch waits for the next move.
        ScrollAtEnd = 1;
        return;
      }
      EndMenu();
      FlushComposition();
    } else {
      OpenTitleIndex = -1;
    }
  }
  memory.lastPoint = point;
  DropDownKeyNavigation = 0;
}

// Left or Right at the drop-down's edge: the drop-down ends and the neighbouring title opens
// from the keys pressed on the bar once it has (the tool bar moves its hot item, wrapping at
// the ends). Posted now, the keys would be read by the closing drop-down's own loop.
void SwitchTitle(int direction) {
  HWND bar = MenuBarWindow;
  if (!bar || !IsWindow(bar)) return;
  const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  if (count <= 0) return;
  SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(BarHotItem), 0);
  OpenTitleIndex = ((BarHotItem + direction) % count + count) % count;
  SubmenuOpening = 0;
  SubmenuDepth = 0;
  ScrollHover = 0;
  EndMenu();
  SetFocus(bar);
  PendingTitleSwitchKey = direction < 0 ? VK_LEFT : VK_RIGHT;
  MenuKeyboardOpen = -2;
  if (DwmCompositionEnabled) {
    Sleep(5);
    FlushComposition();
  }
}

// Esc, Enter or Alt closed the drop-down: the bar shows no title hot and gives the focus back.
void ResetBar(bool endMenu) {
  HWND bar = MenuBarWindow;
  if (bar && IsWindow(bar)) {
    SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_NOERASE | RDW_UPDATENOW);
    UpdateWindow(bar);
  }
  RestoreSavedFocus(bar);
  MenuKeyboardOpen = 0;
  OpenTitleIndex = -1;
  KeyboardTitleIndex = -1;
  BarHotItem = -1;
  ScrollHover = 0;
  // Enter is left to the menu, which runs the chosen command only when it ends by itself.
  if (endMenu) EndMenu();
}

// -> true when the menu is to handle the key itself at once (the hook returns 0).
bool OnKeyDown(const MSG& msg) {
  switch (msg.wParam) {
    case VK_UP:
    case VK_DOWN:
      MenuKeyboardOpen = 1;
      MenuKeyNavigation = 1;
      LastArrowKey = static_cast<int>(msg.wParam);
      break;
    case VK_LEFT:
      if (MenuKeyboardOpen == -2) break;
      MenuKeyboardOpen = 1;
      if (SubmenuShown()) {
        if (SubmenuDepth > 0) --SubmenuDepth;
      } else {
        SwitchTitle(-1);
      }
      break;
    case VK_RIGHT:
      if (MenuKeyboardOpen == -2) break;
      MenuKeyboardOpen = 1;
      if (SelectionOpensSubmenu(BarNavigationMemory)) {
        SubmenuOpening = 1;
        ++SubmenuDepth;
        OpeningSubmenu = BarNavigationMemory.selectedSubmenu;
      } else {
        SwitchTitle(1);
      }
      break;
    case VK_ESCAPE:
      if (SubmenuDepth > 0) {
        --SubmenuDepth;
        return true;
      }
      ResetBar(true);
      break;
    case VK_RETURN:
      ResetBar(false);
      break;
    default:
      break;
  }
  DropDownKeyNavigation = 1;
  return false;
}

}  // namespace

LRESULT CALLBACK MenuBarNavigationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && lParam && ScrollAtEnd != 1) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    switch (msg.message) {
      case WM_MOUSEMOVE:
        OnPointerMove(msg);
        break;
      case WM_KEYDOWN:
        if (OnKeyDown(msg)) return 0;
        break;
      case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) {
          ResetBar(true);
          // The Alt release that follows is the keyboard hook's to swallow.
          BarHotItem = -2;
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        RestoreSavedFocus(MenuBarWindow);
        MenuKeyboardOpen = 0;
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(MenuBarNavigationHookHandle, code, wParam, lParam);
}

}  // namespace tovrel
