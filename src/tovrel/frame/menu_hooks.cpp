#include "tovrel/frame/menu_hooks.h"

namespace tovrel {

HHOOK MenuBarNavigationHookHandle = nullptr;
HHOOK MenuMessageFilterHookHandle = nullptr;
HHOOK MenuOutsideClickHookHandle = nullptr;
HHOOK MenuClickProbeHookHandle = nullptr;

LRESULT CALLBACK MenuBarNavigationHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(MenuBarNavigationHookHandle, code, wParam, lParam);
}
LRESULT CALLBACK MenuMessageFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(MenuMessageFilterHookHandle, code, wParam, lParam);
}
LRESULT CALLBACK MenuOutsideClickHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(MenuOutsideClickHookHandle, code, wParam, lParam);
}
LRESULT CALLBACK MenuClickProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(MenuClickProbeHookHandle, code, wParam, lParam);
}
void MenuSelectionChanged(HMENU, int, UINT) {}

}  // namespace tovrel
