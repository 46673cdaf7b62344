#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/window_tracking.h"
#include "tovrel/frame/drop_down_placement.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_keyboard_hook.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/parent_window.h"

namespace tovrel {

namespace {

// The first record named by number or menu handle that has items of its own. MenuMutex held.
Menu* ShownMenu(intptr_t menu) {
  Menu* record = MenuList.Find([menu](const Menu& m) {
    return HasSystemMenu(m) && (m.number == menu || reinterpret_cast<intptr_t>(m.menuHandle) == menu);
  });
  if (!record) return nullptr;
  for (const MenuItem& item : MenuItemList) {
    if (item.menu == record) return record;
  }
  return nullptr;
}

}  // namespace

int ShowPopupMenu(intptr_t menu, HWND owner, int x, int y) {
  // Without an owner the system tracks nothing, and the menu would be reported as shown.
  if (!IsWindow(owner)) return 0;
  SubclassParentWindow(owner);
  InstallWindowCreationHook();
  InstallMenuKeyboardHook(owner);
  EnsureMenuFont();

  HMENU handle = nullptr;
  {
    MenuMutexScope lock;
    Menu* record = MenuItemList.Empty() ? nullptr : ShownMenu(menu);
    if (!record) return 0;
    handle = record->menuHandle;
    DropDownShiftX = 0;
    DropDownTop = 0;
    TitleWidth = 0;
    SubmenuOpening = 0;
    OpeningSubmenu = nullptr;
    MenuSelectParent = nullptr;
    FirstPopupWindow = nullptr;
    SavedFocusWindow = GetFocus();
    DropDownWidth = GetMenuWidth(handle);
    record->shownWidth = DropDownWidth;
    record->shownHeight = GetMenuHeight(handle);
    OpenDropDownMenu = handle;
    OpenTitleRecord = record;
    record->contextFlag = 1;
    DropDownLeft = x;
    DropDownOverhang = 0;

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    const RECT at = {x, y, x, y};
    GetMonitorInfoA(MonitorFromRect(&at, MONITOR_DEFAULTTONEAREST), &monitor);
    const PopupShift shift = ShiftPopupIntoWork(x, DropDownWidth, monitor.rcWork.right);
    if (shift.overhang) {
      DropDownLeft = shift.x;
      DropDownOverhang = shift.overhang;
      x = shift.x;
    }

    MenuMessageFilterHookHandle =
        SetWindowsHookExA(WH_MSGFILTER, &MenuMessageFilterHook, nullptr, GetWindowThreadProcessId(owner, nullptr));
    MenuOutsideClickHookHandle = SetWindowsHookExA(WH_MOUSE_LL, &MenuOutsideClickHook, GetModuleHandleA(nullptr), 0);
  }

  TrackPopupMenuEx(handle, TPM_VERTICAL, x, y, owner, nullptr);

  if (MenuOutsideClickHookHandle) UnhookWindowsHookEx(MenuOutsideClickHookHandle);
  MenuOutsideClickHookHandle = nullptr;
  if (MenuMessageFilterHookHandle) UnhookWindowsHookEx(MenuMessageFilterHookHandle);
  MenuMessageFilterHookHandle = nullptr;

  HWND focus = nullptr;
  {
    MenuMutexScope lock;
    OpenDropDownMenu = nullptr;
    OpenTitleRecord = nullptr;
    // The program may have freed the menu from one of its commands' handlers.
    for (Menu& m : MenuList) {
      if (m.menuHandle != handle) continue;
      m.openFlag = 0;
      m.contextFlag = 0;
    }
    TitleDropDownState = 0;
    ToolbarDropDownOpen = 0;
    MenuItemBuffering = 0;
    MenuKeyboardOpen = 0;
    focus = SavedFocusWindow;
    SavedFocusWindow = nullptr;
  }
  // Focus changes reach the program's own window procedures, so without the lock.
  if (focus && IsWindow(focus)) SetFocus(focus);
  return 1;
}

}  // namespace tovrel
