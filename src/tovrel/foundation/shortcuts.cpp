#include "tovrel/foundation/shortcuts.h"

#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"

namespace tovrel {

int ItemShortcutsDisabled = 0;
ShortcutModifierState ShortcutModifiers = {0, 0, 0};

namespace {

const char kAnyWindowKey[] = "0";

HWND RootOf(HWND window) { return window ? GetAncestor(window, GA_ROOT) : nullptr; }

// The root of the thread's active window, or `fallback` when the thread has none.
HWND ActiveRoot(HWND fallback) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !info.hwndActive) return fallback;
  return RootOf(info.hwndActive);
}

// Finds the command for a press in `window`'s own bindings, then in those of every
// window; a command from the latter goes to the active window. The map is read under
// its mutex, which is released before anything is sent.
bool LookUp(HWND window, const ShortcutPress& press, HWND* target, int16_t* commandId) {
  const int32_t character = static_cast<int32_t>(MapVirtualKeyA(press.virtualKey, MAPVK_VK_TO_CHAR));
  bool found = false, anyWindow = false;
  ToolkitLock(ShortcutMutex);
  if (window) {
    if (ToolkitList<ShortcutBinding>* own = ShortcutMap.Find(HandleKey(window))) {
      found = FindShortcutCommand(*own, press, character, commandId);
    }
  }
  if (!found) {
    if (ToolkitList<ShortcutBinding>* all = ShortcutMap.Find(kAnyWindowKey)) {
      found = anyWindow = FindShortcutCommand(*all, press, character, commandId);
    }
  }
  ToolkitUnlock(ShortcutMutex);
  *target = anyWindow ? ActiveRoot(window) : window;
  return found && *target;
}

void HandleKeyMessage(MSG* message) {
  ShortcutPress press = ReadKeyMessage(ShortcutModifiers, message->message, message->wParam, message->lParam);
  if (!press.fires) return;
  HWND target = nullptr;
  int16_t commandId = 0;
  if (!LookUp(RootOf(message->hwnd), press, &target, &commandId)) return;
  SendMessageA(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(commandId), 0), 0);
  message->message = WM_NULL;
}

}  // namespace

int RegisterItemShortcut(HWND window, int commandId, const std::string& itemText) {
  if (ItemShortcutsDisabled) return 0;
  std::string shortcut;
  if (!FindItemShortcut(itemText, &shortcut)) return 0;
  return RegisterShortcut(window, static_cast<int16_t>(commandId), shortcut);
}

int RegisterShortcut(HWND window, int commandId, const std::string& shortcut) {
  if (window && !IsWindow(window)) return 0;
  ShortcutKey key{};
  if (!shortcut.empty() && !ParseShortcut(shortcut, &key)) return 0;
  HWND root = RootOf(window);
  const std::string mapKey = root ? HandleKey(root) : kAnyWindowKey;
  ToolkitLock(ShortcutMutex);
  if (shortcut.empty()) {
    ShortcutMap.Delete(mapKey);
  } else {
    UpdateBindings(ShortcutMap.Add(mapKey), key, static_cast<int16_t>(commandId));
  }
  ToolkitUnlock(ShortcutMutex);
  if (!shortcut.empty() && !ShortcutHookHandle) {
    ShortcutHookHandle = SetWindowsHookExA(WH_GETMESSAGE, ShortcutHook, nullptr, GetCurrentThreadId());
  }
  return 1;
}

LRESULT CALLBACK ShortcutHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code > 0) return 0;
  if (code == HC_ACTION && wParam == PM_REMOVE) HandleKeyMessage(reinterpret_cast<MSG*>(lParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ResetShortcutModifiers() { ShortcutModifiers = {0, 0, 0}; }

void ForgetWindowShortcuts(HWND window) {
  if (!window) return;
  ToolkitLock(ShortcutMutex);
  ShortcutMap.Delete(HandleKey(window));
  ToolkitUnlock(ShortcutMutex);
}

}  // namespace tovrel
