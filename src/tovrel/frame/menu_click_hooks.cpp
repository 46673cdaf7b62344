#include <windows.h>
#include <windowsx.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

// Edges count as inside.
bool InWindow(HWND window, POINT point) {
  RECT r = {};
  if (!window || !IsWindow(window) || !IsWindowVisible(window) || !GetWindowRect(window, &r)) return false;
  return point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom;
}

// Any popup of the open menu counts, the one it opened from as much as its newest submenu.
bool InOpenPopup(POINT point) {
  if (InWindow(OpenPopupWindow, point)) return true;
  MenuMutexScope lock;
  for (const PopupWindow& popup : PopupWindowList) {
    if (InWindow(popup.window, point)) return true;
  }
  return false;
}

}  // namespace

LRESULT CALLBACK MenuOutsideClickHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && lParam && (wParam == WM_LBUTTONUP || wParam == WM_RBUTTONUP)) {
    const auto& mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    if (!InOpenPopup(mouse.pt)) EndMenu();
  }
  return CallNextHookEx(MenuOutsideClickHookHandle, code, wParam, lParam);
}

LRESULT CALLBACK MenuClickProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && lParam) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    if (msg.message == WM_LBUTTONDOWN) {
      // Signed: a monitor left of or above the primary one has negative coordinates.
      const POINT point = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      const RECT& r = ChevronRect;
      ChevronClickSeen = 0;
      if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom) ChevronClickSeen = -1;
    }
  }
  CallNextHookEx(MenuClickProbeHookHandle, code, wParam, lParam);
  return 0;
}

}  // namespace tovrel
