#include "tovrel/frame/menus.h"

#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/object_numbers.h"

namespace tovrel {

HMENU CreatePopup(int number, int uiStyle) {
  ToolkitLock(MenuMutex);
  if (number != -1 && MenuList.Find([number](const Menu& m) { return m.number == number; })) {
    ToolkitUnlock(MenuMutex);
    return nullptr;
  }
  HMENU handle = CreatePopupMenu();
  if (!handle) {
    ToolkitUnlock(MenuMutex);
    return nullptr;
  }
  const intptr_t used = number == -1 ? AllocateObjectNumber() : number;
  Menu& record = AddMenuRecord();
  record.number = used;
  record.barWindow = MenuNoBar();
  record.menuHandle = handle;
  record.titleCommand = -1;
  record.popupFlag = -1;
  record.uiStyle = StoredMenuStyle(uiStyle);
  CurrentMenuHandle = reinterpret_cast<intptr_t>(handle);
  CurrentMenuNumber = used;
  ToolkitUnlock(MenuMutex);
  return handle;
}

Menu* FindMenu(intptr_t menu) {
  return MenuList.Find([menu](const Menu& m) { return MenuMatchesReference(m, menu); });
}

intptr_t GetMenuHandle(intptr_t number) {
  ToolkitLock(MenuMutex);
  intptr_t result = 0;
  if (Menu* m = MenuList.Find([number](const Menu& r) { return r.number == number; })) {
    result = m->popupFlag != 0 ? reinterpret_cast<intptr_t>(m->menuHandle) : reinterpret_cast<intptr_t>(m->barWindow);
  }
  ToolkitUnlock(MenuMutex);
  return result;
}

HFONT GetMenuFont() { return MenuFont; }

int DisableItemShortcuts(int state) {
  ItemShortcutsDisabled = static_cast<uint8_t>(state);
  return 0;
}

int DisableF10MenuKey(int state) {
  F10MenuKeyDisabled = static_cast<uint8_t>(state);
  return 0;
}

}  // namespace tovrel
