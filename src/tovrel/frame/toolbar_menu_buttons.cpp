#include "tovrel/frame/toolbar_menu_buttons.h"

#include <commctrl.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/object_numbers.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_insert.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

// What a menu button drops down: the menu the argument names by handle or number, or,
// for a menu the toolkit does not know, nothing.
struct ButtonMenu {
  HMENU handle;
  int32_t uiStyle;
  Menu* link;
};

ButtonMenu LookUpButtonMenu(intptr_t menu) {
  const Menu* found = MenuList.Find(
      [menu](const Menu& m) { return reinterpret_cast<intptr_t>(m.menuHandle) == menu || m.number == menu; });
  if (!found) return {reinterpret_cast<HMENU>(menu), 0, MenuLinkNone()};
  return {found->menuHandle, found->uiStyle, const_cast<Menu*>(found)};
}

intptr_t UnusedMenuNumber() {
  intptr_t number = 0;
  do number = AllocateObjectNumber();
  while (MenuList.Find([number](const Menu& m) { return m.number == number; }));
  return number;
}

}  // namespace

int AddToolbarMenuButton(int commandId, intptr_t menu, const std::string& text, HANDLE image, HANDLE hotImage,
                         HANDLE disabledImage, int style) {
  if (!(style & (BTNS_WHOLEDROPDOWN | BTNS_DROPDOWN))) style |= BTNS_DROPDOWN;
  // The button is added without the mutex: the tool bar notifies its parent, whose
  // procedure may be the program's.
  const int id = AddToolbarButton(commandId, text, image, hotImage, disabledImage, style);
  if (!id) return 0;
  const Toolbar* toolbar = CurrentToolbarRecord();
  if (!toolbar) return 0;
  const HWND window = toolbar->window;
  const HWND parent = toolbar->parentWindow;

  {
    MenuMutexScope lock;
    const ButtonMenu target = LookUpButtonMenu(menu);
    const intptr_t number = UnusedMenuNumber();
    Menu& record = AddMenuRecord();
    record.number = number;
    record.barWindow = window;
    record.menuHandle = target.handle;
    record.titleCommand = id;
    record.popupFlag = -1;
    record.linkedDropDown = target.link;
    record.uiStyle = target.uiStyle;
  }
  SubclassParentWindow(parent);
  return id;
}

int InsertToolbarMenuButton(intptr_t toolbar, int position, intptr_t menu, int commandId, const std::string& text,
                            HANDLE image, HANDLE hotImage, HANDLE disabledImage, int style) {
  return AddAtPosition(toolbar, position, [&] {
    return AddToolbarMenuButton(commandId, menu, text, image, hotImage, disabledImage, style);
  });
}

int SetToolbarButtonMenu(intptr_t toolbar, int commandId, intptr_t menu) {
  const Toolbar* t = FindToolbar(toolbar);
  if (!t || !FindToolbarButton(*t, commandId)) return 0;
  const HWND window = t->window;
  MenuMutexScope lock;
  const ButtonMenu target = LookUpButtonMenu(menu);
  Menu* record = MenuList.Find([window, commandId](const Menu& m) {
    return m.popupFlag == -1 && m.barWindow == window && m.titleCommand == commandId;
  });
  if (!record) return 0;
  record->menuHandle = target.handle;
  record->linkedDropDown = target.link;
  return 1;
}

}  // namespace tovrel
