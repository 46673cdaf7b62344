#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/menu_item_images.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/object_numbers.h"

namespace tovrel {

namespace {

// The counter wraps after 65534 ids; asking more often than that finds none free.
constexpr int kCommandIdAttempts = 65534;

// A new command id that no item of a toolkit menu has. -> 0 when every id is taken.
int FreeCommandId() {
  for (int i = 0; i < kCommandIdAttempts; ++i) {
    const int id = AllocateCommandId();
    if (!AnyMenuHoldsCommand(id)) return id;
  }
  return 0;
}

// A submenu argument names a menu by handle or number. The system takes a small number for
// the handle that has those low bits, so a toolkit menu's number is looked up before the
// system is asked. -> nullptr when it names no menu.
HMENU SubmenuOf(intptr_t submenu) {
  HMENU handle = reinterpret_cast<HMENU>(submenu);
  for (const Menu& m : MenuList) {
    if (m.menuHandle == handle) return HasSystemMenu(m) ? handle : nullptr;
  }
  for (const Menu& m : MenuList) {
    if (m.number == submenu) return HasSystemMenu(m) ? m.menuHandle : nullptr;
  }
  return IsMenu(handle) ? handle : nullptr;
}

struct NewItem {
  UINT commandId;
  std::string text;
  UINT type;  // MFT_OWNERDRAW, with MFT_SEPARATOR for separators
  HANDLE image;
  HANDLE hotImage;
  HANDLE disabledImage;
  HMENU submenu;   // nullptr: none
  int32_t kind;    // 0, or a scroll item's kind
  bool keepStyle;  // the record keeps the menu's style its disabled image was made for
  int position;    // -1: append
};

// Makes the item's record and images, then inserts the item into the system menu with
// MenuMutex released. A refused item takes its record and images with it, so nothing is
// left for the painter or the shortcuts to find. MenuMutex is held on entry and on return.
MenuItem* InsertOwnerDrawnItem(Menu& menu, const NewItem& n) {
  InvalidateMenuBackground(menu);
  HMENU handle = menu.menuHandle;
  MenuItem& item = MenuItemList.InsertAfterFirst();
  item.menu = &menu;
  item.menuHandle = handle;
  item.text = n.text;
  item.position = n.position < 0 ? GetMenuItemCount(handle) : n.position;
  item.imageWidth = MenuImageWidth;
  item.imageHeight = MenuImageHeight;
  item.kind = n.kind;
  if (n.keepStyle) item.uiStyle = menu.uiStyle;
  if (n.type == MFT_OWNERDRAW) {
    item.imageList =
        MakeMenuItemImages(item, n.image, n.hotImage, n.disabledImage, menu.uiStyle, MenuImageWidth, MenuImageHeight);
  }

  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
  info.fType = n.type;
  info.wID = n.commandId;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
  if (n.type == MFT_OWNERDRAW) {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = const_cast<char*>(item.text.c_str());
    info.cch = static_cast<UINT>(item.text.size());
  }
  if (n.submenu) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = n.submenu;
  }
  const UINT at = n.position < 0 ? static_cast<UINT>(-1) : static_cast<UINT>(n.position);
  ToolkitUnlock(MenuMutex);
  const BOOL inserted = InsertMenuItemA(handle, at, TRUE, &info);
  ToolkitLock(MenuMutex);
  if (inserted) return &item;
  WriteDebugLog("failed on: " + n.text);
  if (MenuItemList.Contains(&item)) {
    if (item.imageList) ImageList_Destroy(item.imageList);
    MenuItemList.Delete(&item);
  }
  return nullptr;
}

// The record of the menu items are added to: the current menu number with the current
// menu handle.
Menu* CurrentMenu() {
  const intptr_t number = CurrentMenuNumber;
  HMENU handle = reinterpret_cast<HMENU>(CurrentMenuHandle);
  for (Menu& m : MenuList) {
    if (m.number == number && m.menuHandle == handle) return &m;
  }
  return nullptr;
}

// A placeholder has no menu to add to; any other handle is left to the system to accept.
bool TakesItems(const Menu& menu) { return menu.menuHandle && menu.menuHandle != MenuPlaceholderHandle(); }

}  // namespace

int AddMenuItem(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                intptr_t submenu) {
  ToolkitLock(MenuMutex);
  Menu* menu = CurrentMenu();
  HMENU sub = submenu ? SubmenuOf(submenu) : nullptr;
  const bool known = menu && TakesItems(*menu) && (!submenu || sub);
  const int id = known && commandId == -1 ? FreeCommandId() : commandId;
  if (!known || (commandId == -1 && id == 0)) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  const NewItem n = {static_cast<UINT>(id), text, MFT_OWNERDRAW, image, hotImage, disabledImage, sub, 0, true, -1};
  MenuItem* item = InsertOwnerDrawnItem(*menu, n);
  HWND owner = item ? item->menu->ownerWindow : nullptr;
  ToolkitUnlock(MenuMutex);
  if (!item) return 0;
  RegisterItemShortcut(owner, id, text);
  return commandId == -1 ? id : 1;
}

int InsertMenuItemAt(intptr_t menu, int position, int commandId, const std::string& text, HANDLE image, HANDLE hotImage,
                     HANDLE disabledImage, intptr_t submenuOrKind) {
  ToolkitLock(MenuMutex);
  Menu* record = FindMenu(menu);
  const int32_t kind = submenuOrKind < 0 ? static_cast<int32_t>(submenuOrKind) : 0;
  HMENU sub = submenuOrKind > 0 ? SubmenuOf(submenuOrKind) : nullptr;
  const bool known = record && TakesItems(*record) && (submenuOrKind <= 0 || sub);
  const int id = known && commandId == -1 ? FreeCommandId() : commandId;
  if (!known || (commandId == -1 && id == 0)) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  const int at = position < 0 ? -1 : position;
  const NewItem n = {static_cast<UINT>(id), text, MFT_OWNERDRAW, image, hotImage, disabledImage, sub, kind, false, at};
  MenuItem* item = InsertOwnerDrawnItem(*record, n);
  if (!item) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  HMENU handle = item->menuHandle;
  HWND owner = item->menu->ownerWindow;
  if (at >= 0) {
    // The items after the new one moved down; the system menu says where each one is.
    const int count = GetMenuItemCount(handle);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_DATA;
      if (!GetMenuItemInfoA(handle, static_cast<UINT>(i), TRUE, &info)) continue;
      if (MenuItem* moved = MenuItemOfData(info.dwItemData)) moved->position = i;
    }
    InvalidateMenuBackground(*item->menu);
  }
  ToolkitUnlock(MenuMutex);
  RegisterItemShortcut(owner, id, text);
  return 1;
}

int AddMenuSeparator() {
  ToolkitLock(MenuMutex);
  if (Menu* menu = CurrentMenu(); menu && TakesItems(*menu)) {
    // Owner-drawn so that the painter draws the line in the menu's style; a separator as
    // well, so that the system never selects it or sends a command for it.
    const NewItem n = {0, "", MFT_OWNERDRAW | MFT_SEPARATOR, nullptr, nullptr, nullptr, nullptr, 0, false, -1};
    InsertOwnerDrawnItem(*menu, n);
  }
  ToolkitUnlock(MenuMutex);
  return 0;
}

}  // namespace tovrel
