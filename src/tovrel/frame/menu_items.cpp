#include "tovrel/frame/menu_items.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/menu_item_images.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

MENUITEMINFOA ItemInfo(UINT mask) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  return info;
}

// The position of the command among the menu's own items (submenus are not searched).
int PositionOfCommand(HMENU menu, int commandId) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = ItemInfo(MIIM_ID);
    if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == static_cast<UINT>(commandId)) return i;
  }
  return -1;
}

void InvalidateCachesOf(HMENU menu) {
  for (Menu& m : MenuList) {
    if (m.menuHandle == menu) m.backgroundWidth = m.backgroundHeight = 0;
  }
}

// Every record of the menu learns its item's position from the system menu.
void RenumberItems(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = ItemInfo(MIIM_DATA);
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (MenuItem* record = MenuItemOfData(info.dwItemData)) record->position = i;
  }
}

// Shortcuts were registered for the owner of the item's own menu.
HWND ShortcutWindowOf(const MenuItem& item, HWND fallback) {
  return MenuList.Contains(item.menu) ? item.menu->ownerWindow : fallback;
}

bool WriteState(HMENU menu, UINT item, BOOL byPosition, UINT state) {
  MENUITEMINFOA info = ItemInfo(MIIM_STATE);
  info.fState = state;
  MenuMutexReleased unlocked;
  return SetMenuItemInfoA(menu, item, byPosition, &info) != 0;
}

// What SetMenuItemState and SetMenuItem act on: the first record of the argument whose
// menu holds the command, and the item's state and record.
struct FoundItem {
  Menu* menu = nullptr;
  MenuItem* item = nullptr;
  UINT state = 0;
};

bool FindItem(intptr_t menu, int commandId, FoundItem* found) {
  found->menu = FindMenuHolding(menu, commandId);
  if (!found->menu) return false;
  MENUITEMINFOA info = ItemInfo(MIIM_STATE | MIIM_DATA);
  if (!GetMenuItemInfoA(found->menu->menuHandle, static_cast<UINT>(commandId), FALSE, &info)) return false;
  found->state = info.fState;
  found->item = MenuItemOfData(info.dwItemData);
  return found->item != nullptr;
}

}  // namespace

void RemeasureMenuItems(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    // An empty bitmap change is enough for the system to measure the owner-drawn item
    // again and to draw it anew.
    MENUITEMINFOA info = ItemInfo(MIIM_BITMAP);
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
  }
}

int RemoveMenuItem(intptr_t menu, int item, int byPosition) {
  MenuMutexScope lock;
  Menu* found = nullptr;
  int position = -1;
  for (Menu& m : MenuList) {
    if (!MenuMatchesReference(m, menu) || !HasSystemMenu(m)) continue;
    if (byPosition)
      position = item >= 0 && item < GetMenuItemCount(m.menuHandle) ? item : -1;
    else
      position = PositionOfCommand(m.menuHandle, item);
    if (position >= 0) {
      found = &m;
      break;
    }
  }
  if (!found) return 0;
  MenuList.Find([found](const Menu& m) { return &m == found; });

  MENUITEMINFOA info = ItemInfo(MIIM_DATA);
  if (!GetMenuItemInfoA(found->menuHandle, static_cast<UINT>(position), TRUE, &info)) return 0;
  const HMENU handle = found->menuHandle;
  const HWND owner = found->ownerWindow;
  BOOL removed = FALSE;
  {
    MenuMutexReleased unlocked;
    removed = RemoveMenu(handle, static_cast<UINT>(position), MF_BYPOSITION);
  }
  // Only now: an item the system still shows is drawn from its record and images.
  if (!removed) return 0;
  if (MenuItem* record = MenuItemOfData(info.dwItemData)) {
    RegisterItemShortcut(ShortcutWindowOf(*record, owner), -1, record->text);
    if (record->imageList) ImageList_Destroy(record->imageList);
    MenuItemList.Delete(record);
  }
  RenumberItems(handle);
  InvalidateCachesOf(handle);
  return removed;
}

int UpdateMenuItems(HMENU menu) {
  if (!IsMenu(menu)) return 0;
  if (GetMenuItemCount(menu) == -1) return 1;
  {
    MenuMutexReleased unlocked;
    RemeasureMenuItems(menu);
  }
  RecolourImageList(menu, 2);
  return 1;
}

int SetMenuImageSize(int width, int height) {
  MenuImageWidth = width;
  MenuImageHeight = height;
  return 0;
}

int RecolourImageList(HMENU menu, int mode) {
  if (mode != 2) return 0;
  SavedCurrent<Menu> savedMenu(MenuList);
  SavedCurrent<MenuItem> savedItem(MenuItemList);
  for (MenuItem& item : MenuItemList) {
    if (item.menuHandle != menu || !item.imageList || item.normalImageGiven != -1 || item.disabledImageGiven == -1)
      continue;
    if (!MenuList.Contains(item.menu) || item.uiStyle == item.menu->uiStyle) continue;
    const int style = item.menu->uiStyle;
    HICON normal = ImageList_GetIcon(item.imageList, 0, ILD_TRANSPARENT);
    if (!normal) continue;
    if (HICON recoloured = RecolourImageForStyle(normal, style)) {
      if (ImageList_ReplaceIcon(item.imageList, 2, recoloured) != -1) item.uiStyle = style;
      DestroyIcon(recoloured);
    }
    DestroyIcon(normal);
  }
  return 0;
}

int SetMenuItemState(intptr_t menu, int commandId, int flags) {
  MenuMutexScope lock;
  FoundItem found;
  const bool known = FindItem(menu, commandId, &found);
  if (!known && found.menu) return 0;  // the menu holds the command, but it cannot be read

  if (known) {
    MenuItem* item = found.item;
    const HMENU handle = found.menu->menuHandle;
    const HMENU itemMenu = item->menuHandle;
    const UINT command = static_cast<UINT>(commandId);
    item->imageCheckMark = (flags & 0x1000) ? 1 : 0;
    if (flags & 1) {
      if (!WriteState(handle, command, FALSE, found.state | MFS_CHECKED)) return 0;
    } else if (flags & 2) {
      if (!WriteState(handle, command, FALSE, found.state | MFS_CHECKED)) return 0;
      if (!MenuItemList.Contains(item)) return 0;
      if (!item->radioFlag) {
        if (RadioGroupMenu && RadioGroupMenu != itemMenu) ++RadioGroupNumber;
        item->radioFlag = 1;
        item->radioGroup = RadioGroupNumber;
        RadioGroupMenu = itemMenu;
      }
      // Peers by record: positions of items in different menus are the same numbers.
      std::vector<std::pair<HMENU, int>> peers;
      for (const MenuItem& peer : MenuItemList) {
        if (&peer != item && peer.radioFlag && peer.radioGroup == item->radioGroup)
          peers.emplace_back(peer.menuHandle, peer.position);
      }
      for (const auto& peer : peers) {
        MENUITEMINFOA info = ItemInfo(MIIM_STATE);
        if (!GetMenuItemInfoA(peer.first, static_cast<UINT>(peer.second), TRUE, &info)) continue;
        WriteState(peer.first, static_cast<UINT>(peer.second), TRUE, info.fState & ~static_cast<UINT>(MFS_CHECKED));
      }
    } else if (flags == 0) {
      if (!WriteState(handle, command, FALSE, found.state & ~static_cast<UINT>(MFS_CHECKED))) return 0;
    }
  }

  if (flags & 0x10000) {
    ++RadioGroupNumber;
    RadioGroupMenu = nullptr;
  }
  if (!known) return (flags & 0x10000) ? 1 : 0;
  if (MenuList.Contains(found.menu)) found.menu->backgroundWidth = found.menu->backgroundHeight = 0;
  return 1;
}

int SetMenuItem(intptr_t menu, int commandId, const std::string& text, HANDLE image, HANDLE hotImage,
                HANDLE disabledImage, intptr_t submenu) {
  MenuMutexScope lock;
  FoundItem found;
  if (!FindItem(menu, commandId, &found)) return 0;

  HMENU newSubmenu = nullptr;
  if (submenu) {
    newSubmenu = reinterpret_cast<HMENU>(submenu);
    if (!IsMenu(newSubmenu)) {
      // A number that names no menu would hand the system a handle that is none.
      const Menu* numbered = MenuList.Find([submenu](const Menu& m) { return m.number == submenu; });
      if (!numbered || !IsMenu(numbered->menuHandle)) return 0;
      newSubmenu = numbered->menuHandle;
    }
  }
  MenuList.Find([&found](const Menu& m) { return &m == found.menu; });
  Menu& record = *found.menu;
  MenuItem& item = *found.item;

  const HWND shortcutWindow = ShortcutWindowOf(item, record.ownerWindow);
  RegisterItemShortcut(shortcutWindow, -1, item.text);
  // A disabled item has no shortcut until it is enabled again.
  if (!(found.state & (MFS_DISABLED | MFS_GRAYED))) RegisterItemShortcut(shortcutWindow, commandId, text);
  item.text = text;

  if (image) {
    item.imageWidth = MenuImageWidth;
    item.imageHeight = MenuImageHeight;
    if (item.imageList) ImageList_Destroy(item.imageList);
    item.imageList =
        MakeMenuItemImages(item, image, hotImage, disabledImage, record.uiStyle, item.imageWidth, item.imageHeight);
    item.uiStyle = record.uiStyle;
  }

  std::string buffer = text;
  const HMENU itemMenu = item.menuHandle;
  const int position = item.position;
  const UINT command = static_cast<UINT>(commandId);
  if (newSubmenu && GetSubMenu(itemMenu, position)) {
    // The new item goes in before the old one leaves, so that a refused insertion
    // leaves the item as it was. Removing keeps the old submenu alive for its owner.
    MENUITEMINFOA info = ItemInfo(MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING | MIIM_FTYPE | MIIM_STATE);
    info.fType = MFT_OWNERDRAW;
    info.fState = found.state;
    info.wID = command;
    info.hSubMenu = newSubmenu;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    info.dwTypeData = &buffer[0];
    info.cch = static_cast<UINT>(buffer.size());
    MenuMutexReleased unlocked;
    if (!InsertMenuItemA(itemMenu, static_cast<UINT>(position), TRUE, &info)) return 0;
    RemoveMenu(itemMenu, static_cast<UINT>(position + 1), MF_BYPOSITION);
  } else {
    MENUITEMINFOA info = ItemInfo(MIIM_STRING | MIIM_BITMAP | (newSubmenu ? MIIM_SUBMENU : 0));
    info.dwTypeData = &buffer[0];
    info.cch = static_cast<UINT>(buffer.size());
    info.hSubMenu = newSubmenu;
    MenuMutexReleased unlocked;
    SetMenuItemInfoA(record.menuHandle, command, FALSE, &info);
  }
  InvalidateCachesOf(itemMenu);
  if (MenuList.Contains(&record)) record.backgroundWidth = record.backgroundHeight = 0;
  return 1;
}

}  // namespace tovrel
