#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/toolbar.h"

namespace tovrel {

namespace {

// Removes the first item of the menu with its image list, its record and its shortcut.
// -> false when the menu has no item left.
bool RemoveFirstItem(const Menu& menu) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoA(menu.menuHandle, 0, TRUE, &info)) return false;
  if (!RemoveMenu(menu.menuHandle, 0, MF_BYPOSITION)) return false;
  if (MenuItem* item = MenuItemOfData(info.dwItemData)) {
    if (item->imageList) ImageList_Destroy(item->imageList);
    if (!item->text.empty()) RegisterItemShortcut(menu.ownerWindow, -1, item->text);
    MenuItemList.Delete(item);
  }
  return true;
}

void FreeRecord(Menu* menu) {
  // Only a menu bar's records own their tool bar; a menu button's tool bar has other
  // buttons and stays.
  if (menu->popupFlag == 0 && menu->barWindow && menu->barWindow != MenuNoBar()) {
    FreeToolbar(reinterpret_cast<intptr_t>(menu->barWindow));
    if (MenuBarWindow == menu->barWindow) MenuBarWindow = nullptr;
  }
  // A placeholder has no menu: as a menu argument its handle would name every popup.
  if (HasSystemMenu(*menu)) {
    while (RemoveFirstItem(*menu)) {
    }
    DestroyMenu(menu->menuHandle);
  }
  std::vector<MenuItem*> left;
  for (MenuItem& item : MenuItemList) {
    if (item.menu == menu) left.push_back(&item);
  }
  for (MenuItem* item : left) {
    if (item->imageList) ImageList_Destroy(item->imageList);
    MenuItemList.Delete(item);
  }
  if (menu->backgroundDC) DeleteDC(menu->backgroundDC);
  if (menu->backgroundBitmap) DeleteObject(menu->backgroundBitmap);
  for (Menu& other : MenuList) {
    if (other.linkedDropDown == menu) other.linkedDropDown = MenuLinkNone();
  }
  if (OpenTitleRecord == menu) OpenTitleRecord = nullptr;
  MenuList.Delete(menu);
}

}  // namespace

int FreeMenu(intptr_t menu) {
  ToolkitLock(MenuMutex);
  std::vector<Menu*> doomed;
  for (Menu& record : MenuList) {
    if (menu == -1) {
      doomed.push_back(&record);
    } else if (MenuMatchesReference(record, menu)) {
      doomed.push_back(&record);
      break;
    }
  }
  for (Menu* record : doomed) FreeRecord(record);
  ToolkitUnlock(MenuMutex);
  return menu == -1 || !doomed.empty() ? 1 : 0;
}

}  // namespace tovrel
