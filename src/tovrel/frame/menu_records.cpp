#include "tovrel/frame/menu_records.h"

#include "tovrel/foundation/component_frees.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/window_tracking.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/popup_window.h"

namespace tovrel {

Menu& AddMenuRecord() {
  if (MenuList.Empty()) {
    SetComponentFree(COMPONENT_MENU, &FreeMenu);
    // From the first menu on, the popup windows the menu loop makes are the toolkit's.
    SetSentMessageObserver(&ObserveSentMessage);
  }
  Menu& record = MenuList.InsertAfterFirst();
  record.linkedDropDown = MenuLinkOwn();
  return record;
}

int32_t StoredMenuStyle(int uiStyle) { return uiStyle == UISTYLE_OFFICE2003 ? UISTYLE_OFFICE2003_MENU : uiStyle; }

void InvalidateMenuBackground(Menu& menu) {
  menu.backgroundWidth = 0;
  menu.backgroundHeight = 0;
}

bool HasSystemMenu(const Menu& menu) {
  return menu.menuHandle && menu.menuHandle != MenuPlaceholderHandle() && IsMenu(menu.menuHandle);
}

MenuItem* MenuItemOfData(ULONG_PTR data) {
  auto* item = reinterpret_cast<MenuItem*>(data);
  return item && MenuItemList.Contains(item) ? item : nullptr;
}

namespace {

bool HoldsCommand(const Menu& menu, int commandId) {
  if (!HasSystemMenu(menu)) return false;
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID;
  return GetMenuItemInfoA(menu.menuHandle, static_cast<UINT>(commandId), FALSE, &info) != 0;
}

}  // namespace

Menu* FindMenuHolding(intptr_t menu, int commandId) {
  for (Menu& record : MenuList) {
    if (MenuMatchesReference(record, menu) && HoldsCommand(record, commandId)) return &record;
  }
  return nullptr;
}

bool AnyMenuHoldsCommand(int commandId) {
  for (const Menu& record : MenuList) {
    if (HoldsCommand(record, commandId)) return true;
  }
  return false;
}

}  // namespace tovrel
