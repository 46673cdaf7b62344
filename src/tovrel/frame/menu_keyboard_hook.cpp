#include "tovrel/frame/menu_keyboard_hook.h"

#include <commctrl.h>

#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_hook_steps.h"
#include "tovrel/frame/menu_key_rules.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

bool IsMenuBarRecord(const Menu& m) {
  return m.popupFlag == 0 && m.barWindow && m.barWindow != MenuNoBar() && IsWindow(m.barWindow);
}

// The menu bar of the window that takes the keys now; nullptr when that window has none.
// A dialog in front of the bar's window has a root of its own and keeps its keys.
HWND BarForKeys() {
  MenuMutexScope lock;
  for (const Menu& m : MenuList) {
    if (IsMenuBarRecord(m) && BarTakesKeys(m.barWindow)) return m.barWindow;
  }
  return nullptr;
}

// The window whose parent window procedure opens the bar's titles.
HWND BarOwner(HWND bar) {
  MenuMutexScope lock;
  for (const Menu& m : MenuList) {
    if (m.barWindow == bar && m.ownerWindow && IsWindow(m.ownerWindow)) return m.ownerWindow;
  }
  return GetParent(bar);
}

void EnterBarKeyboardMode(HWND bar) {
  MenuKeyboardOpen = 1;
  MenuBarKeyState = 1;
  MenuBarWindow = bar;
  SavedFocusWindow = SetFocus(bar);
  SendMessageA(bar, TB_SETHOTITEM, 0, 0);
}

// A letter of the scrolling copy chooses the first enabled item with that mnemonic, as
// the menu loop would for a menu it built itself. -> true when a command was chosen.
bool ChooseMnemonic(WPARAM key, LPARAM flags) {
  // Only the press counts: the release and the repeats of the same key choose nothing more.
  if (static_cast<DWORD>(flags) & 0xC0000000u) return false;
  // A submenu open below the copy has its own items.
  if (InnermostPopup && InnermostPopup->parent) return false;
  const char character = static_cast<char>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0xFFFF);
  if (!character) return false;
  int command = 0;
  bool found = false;
  HWND owner = nullptr;
  {
    MenuMutexScope lock;
    for (const Mnemonic& m : MnemonicList) {
      if (m.character != character) continue;
      MENUITEMINFOA info = {};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_STATE | MIIM_SUBMENU;
      if (!GetMenuItemInfoA(ScrollSourceMenu, static_cast<UINT>(m.commandId), FALSE, &info)) continue;
      if (info.hSubMenu || (info.fState & MFS_DISABLED)) continue;
      command = m.commandId;
      found = true;
      break;
    }
    if (!found) return false;
    SavedCurrent<Menu> keep(MenuList);
    if (Menu* copy = MenuList.Find([](const Menu& m) { return m.menuHandle == ScrollPopupMenu; })) {
      owner = copy->ownerWindow;
      copy->openFlag = 0;
    }
  }
  HWND bar = MenuBarWindow;
  LeaveBarKeyboardMode(bar, true);
  // Posted after the menu was told to end: sent from here, the command would run inside the
  // menu loop, and a dialog it opens would sit in that loop.
  if (owner) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command & 0xFFFF, 0), 0);
  return true;
}

// -> true when the key is swallowed.
bool OnMenuKey(WPARAM key, LPARAM flags) {
  const MenuKey kind = ClassifyMenuKey(key, flags);
  const bool menuKey = kind == MenuKey::AltPress || (kind == MenuKey::F10Press && !F10MenuKeyDisabled);
  if (menuKey) {
    if (MenuKeyboardOpen == 0) {
      // With a menu tracked, Alt is the navigation hook's: it ends that menu.
      if (OpenDropDownMenu) return false;
      HWND bar = BarForKeys();
      if (!bar) return false;
      EnterBarKeyboardMode(bar);
      return true;
    }
    if (!BarTakesKeys(MenuBarWindow)) return false;
    LeaveBarKeyboardMode(MenuBarWindow, true);
    return true;
  }
  if (kind == MenuKey::AltRelease && BarHotItem == -2) {
    if (!BarTakesKeys(MenuBarWindow)) return false;
    {
      MenuMutexScope lock;
      if (Menu* current = MenuList.Current()) current->openFlag = 0;
    }
    LeaveBarKeyboardMode(MenuBarWindow, true);
    return true;
  }
  if (kind == MenuKey::Escape && MenuBarKeyState == 1 && BarTakesKeys(MenuBarWindow)) {
    WriteDebugLog("escape");
    LeaveBarKeyboardMode(MenuBarWindow, false);
    return false;
  }
  if (MenuBarKeyState == 1 && (kind == MenuKey::Down || kind == MenuKey::Enter || kind == MenuKey::Other) &&
      BarTakesKeys(MenuBarWindow))
    MenuBarKeyState = -2;
  // The tool bar itself never opens a title from the keyboard (Down moves its hot item,
  // Enter sends the title's command), so the bar's window is asked to open the hot title.
  if (MenuKeyboardOpen == 1 && !OpenDropDownMenu && (kind == MenuKey::Down || kind == MenuKey::Enter) &&
      BarTakesKeys(MenuBarWindow)) {
    PostMessageA(BarOwner(MenuBarWindow), WM_TOVREL_OPENHOTTITLE, 0, reinterpret_cast<LPARAM>(MenuBarWindow));
    return true;
  }
  if (ScrollPopupMenu && ChooseMnemonic(key, flags)) return true;
  return false;
}

}  // namespace

LRESULT CALLBACK MenuKeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT next = CallNextHookEx(MenuKeyboardHookHandle, code, wParam, lParam);
  if (code != HC_ACTION) return next;
  return OnMenuKey(wParam, lParam) ? 1 : next;
}

void InstallMenuKeyboardHook(HWND window) {
  if (MenuKeyboardHookHandle) return;
  MenuKeyboardHookHandle =
      SetWindowsHookExA(WH_KEYBOARD, &MenuKeyboardHook, nullptr, GetWindowThreadProcessId(window, nullptr));
}

}  // namespace tovrel
