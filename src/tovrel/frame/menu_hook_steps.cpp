#include "tovrel/frame/menu_hook_steps.h"

#include <commctrl.h>

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

HookMemory BarNavigationMemory = {{-1, -1}, 0, nullptr};
HookMemory MessageFilterMemory = {{-1, -1}, 0, nullptr};

bool SelectionOpensSubmenu(const HookMemory& memory) {
  // Every toolkit item is owner-drawn, so the flags are MF_OWNERDRAW | MF_HILITE | MF_POPUP;
  // the owner-drawn bit says nothing about the submenu.
  constexpr UINT kOpens = MF_HILITE | MF_POPUP;
  return memory.selectFlags != 0xFFFF && (memory.selectFlags & kOpens) == kOpens;
}

bool BarTakesKeys(HWND bar) {
  if (!bar || !IsWindow(bar)) return false;
  HWND keys = GetFocus();
  if (!keys) keys = GetActiveWindow();
  if (!keys) return false;
  HWND root = GetAncestor(keys, GA_ROOT);
  return root && root == GetAncestor(bar, GA_ROOT) && IsWindowEnabled(root);
}

void RestoreSavedFocus(HWND bar) {
  if (SavedFocusWindow && IsWindow(SavedFocusWindow)) {
    SetFocus(SavedFocusWindow);
  } else if (bar && IsWindow(bar)) {
    // Focusing nothing would leave every later key without a window.
    SetFocus(GetAncestor(bar, GA_ROOT));
  }
}

void LeaveBarKeyboardMode(HWND bar, bool endMenu) {
  MenuKeyboardOpen = 0;
  MenuBarKeyState = 0;
  OpenTitleIndex = -1;
  KeyboardTitleIndex = -1;
  BarHotItem = -1;
  if (endMenu) EndMenu();
  RestoreSavedFocus(bar);
  if (bar && IsWindow(bar)) {
    SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    UpdateWindow(bar);
  }
}

void PostKeyPress(HWND window, UINT key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM extended = (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) ? (LPARAM{1} << 24) : 0;
  PostMessageA(window, WM_KEYDOWN, key, 1 | scan | extended);
  PostMessageA(window, WM_KEYUP, key, 1 | scan | extended | (LPARAM{3} << 30));
}

}  // namespace tovrel
