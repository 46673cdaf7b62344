#include <string>

#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menus.h"

namespace tovrel {

int SetMenuItemDisabled(intptr_t menu, int commandId, int state) {
  ToolkitLock(MenuMutex);
  Menu* record = FindMenuHolding(menu, commandId);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_DATA;
  if (!record || !GetMenuItemInfoA(record->menuHandle, static_cast<UINT>(commandId), FALSE, &info)) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  const bool disable = state != 0;
  if (disable)
    info.fState |= MFS_DISABLED | MFS_GRAYED;
  else
    info.fState &= ~static_cast<UINT>(MFS_DISABLED | MFS_GRAYED);
  // A disabled item's shortcut must not send its command either.
  const MenuItem* item = MenuItemOfData(info.dwItemData);
  const std::string text = item ? item->text : std::string();
  const HWND owner = record->ownerWindow;
  info.fMask = MIIM_STATE;
  const BOOL written = SetMenuItemInfoA(record->menuHandle, static_cast<UINT>(commandId), FALSE, &info);
  if (written) InvalidateMenuBackground(*record);
  ToolkitUnlock(MenuMutex);
  if (!written) return 0;
  if (!text.empty()) RegisterItemShortcut(owner, disable ? -1 : commandId, text);
  return 1;
}

int GetMenuItemChecked(intptr_t menu, int commandId) {
  ToolkitLock(MenuMutex);
  Menu* record = FindMenuHolding(menu, commandId);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  const BOOL read = record && GetMenuItemInfoA(record->menuHandle, static_cast<UINT>(commandId), FALSE, &info);
  ToolkitUnlock(MenuMutex);
  if (!read) return -1;
  return (info.fState & MFS_CHECKED) ? 1 : 0;
}

std::string GetMenuItemText(intptr_t menu, int commandId) {
  ToolkitLock(MenuMutex);
  std::string text;
  bool found = false;
  for (const Menu& record : MenuList) {
    if (!MenuMatchesReference(record, menu) || !HasSystemMenu(record)) continue;
    for (const MenuItem& item : MenuItemList) {
      if (item.menuHandle != record.menuHandle) continue;
      MENUITEMINFOA info = {};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_ID;
      if (GetMenuItemInfoA(record.menuHandle, static_cast<UINT>(item.position), TRUE, &info) &&
          info.wID == static_cast<UINT>(commandId)) {
        text = item.text;
        found = true;
        break;
      }
    }
    if (found) break;
  }
  ToolkitUnlock(MenuMutex);
  if (found) WriteDebugLog(text);
  return text;
}

}  // namespace tovrel
