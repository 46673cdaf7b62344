#include "tovrel/frame/menu_keyboard_hook.h"

#include "tovrel/foundation/toolkit_globals.h"

namespace tovrel {

LRESULT CALLBACK MenuKeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InstallMenuKeyboardHook(HWND window) {
  if (MenuKeyboardHookHandle) return;
  MenuKeyboardHookHandle =
      SetWindowsHookExA(WH_KEYBOARD, &MenuKeyboardHook, nullptr, GetWindowThreadProcessId(window, nullptr));
}

}  // namespace tovrel
