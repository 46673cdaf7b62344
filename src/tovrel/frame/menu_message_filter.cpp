#include <windows.h>
#include <windowsx.h>

#include "tovrel/frame/menu_hook_steps.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

// The bookkeeping of the bar's navigation hook for popups shown at a point: no titles to
// switch to, no scrolling copy.
LRESULT CALLBACK MenuMessageFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && lParam) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    HookMemory& memory = MessageFilterMemory;
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        const POINT point = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        if (point.x != memory.lastPoint.x || point.y != memory.lastPoint.y) {
          MenuKeyNavigation = 0;
          DropDownKeyNavigation = 0;
          memory.lastPoint = point;
        }
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_UP || msg.wParam == VK_DOWN) {
          MenuKeyboardOpen = 1;
          MenuKeyNavigation = 1;
        } else if ((msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) && MenuKeyboardOpen != -2) {
          MenuKeyboardOpen = 1;
          if (msg.wParam == VK_RIGHT && SelectionOpensSubmenu(memory)) {
            SubmenuOpening = 1;
            OpeningSubmenu = memory.selectedSubmenu;
          }
        }
        DropDownKeyNavigation = 1;
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        RestoreSavedFocus(nullptr);
        MenuKeyboardOpen = 0;
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(MenuMessageFilterHookHandle, code, wParam, lParam);
}

}  // namespace tovrel
