#include <commctrl.h>

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/foundation/window_tracking.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_keyboard_hook.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/object_numbers.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/toolbar.h"

namespace tovrel {

namespace {

// List, flat, wrapable, no divider, no resizing by the parent.
constexpr int kMenuBarFlags = 0x1A54;

// The title's text measured in the menu font.
SIZE MeasureTitleText(const std::string& text) {
  SIZE size = {0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = MenuFont ? SelectObject(dc, MenuFont) : nullptr;
  RECT r = {0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  if (old) SelectObject(dc, old);
  DeleteDC(dc);
  size.cx = r.right - r.left;
  size.cy = r.bottom - r.top;
  return size;
}

void SizeTitleButton(HWND bar, int commandId, int style, const std::string& text) {
  const SIZE t = MeasureTitleText(text);
  const SIZE button = TitleButtonSize(style, t.cx, t.cy);
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, button.cy));
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_SIZE;
  info.cx = static_cast<WORD>(button.cx);
  SendMessageA(bar, TB_SETBUTTONINFOA, static_cast<WPARAM>(commandId), reinterpret_cast<LPARAM>(&info));
}

}  // namespace

intptr_t CreateMenuBar(int number, HWND window, int uiStyle) {
  ToolkitLock(MenuMutex);
  if (number != -1 && MenuList.Find([number](const Menu& m) { return m.number == number; })) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  const intptr_t used = number == -1 ? AllocateObjectNumber() : number;
  const intptr_t toolbarNumber = CreateToolbar(-1, window, 0, 0, kMenuBarFlags);
  HWND bar = toolbarNumber ? GetToolbarWindow(toolbarNumber) : nullptr;
  if (!bar) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  MenuBarWindow = bar;

  ToolkitLock(ToolbarMutex);
  if (Toolbar* t = ToolbarList.Find([bar](const Toolbar& r) { return r.window == bar; })) t->menuBarFlag = true;

  SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, 0);
  // Titles draw in the menu's own style, never in the visual style's.
  if (UxThemeApi.library && UxThemeApi.setWindowTheme) UxThemeApi.setWindowTheme(bar, L"", L"");
  SendMessageA(bar, TB_SETPADDING, 0, MAKELPARAM(0, 0));

  Menu& placeholder = AddMenuRecord();
  placeholder.number = used;
  placeholder.ownerWindow = window;
  placeholder.barWindow = bar;
  placeholder.menuHandle = MenuPlaceholderHandle();
  placeholder.titleCommand = -1;
  placeholder.uiStyle = StoredMenuStyle(uiStyle);
  CurrentMenuNumber = used;

  SubclassParentWindow(window);
  InstallWindowCreationHook();
  InstallMenuKeyboardHook(window);
  EnsureMenuFont();

  ToolkitUnlock(MenuMutex);
  ToolkitUnlock(ToolbarMutex);
  return number == -1 ? used : reinterpret_cast<intptr_t>(bar);
}

int AddMenuTitle(const std::string& text) {
  ToolkitLock(MenuMutex);
  const intptr_t number = CurrentMenuNumber;
  Menu* bar = number == -1 ? nullptr : MenuList.Find([number](const Menu& m) { return m.number == number; });
  // A popup made current since the bar has no title buttons to add to.
  if (!bar || bar->popupFlag != 0 || !IsWindow(bar->barWindow)) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  const bool placeholder = bar->menuHandle == MenuPlaceholderHandle() && bar->titleCommand == -1;
  HMENU dropDown = CreatePopupMenu();
  if (!dropDown) {
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  // Into this bar even when another tool bar was made current since.
  const int commandId =
      InsertToolbarTextButton(reinterpret_cast<intptr_t>(bar->barWindow), -1, -1, text, BTNS_DROPDOWN);
  if (!commandId) {
    DestroyMenu(dropDown);
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  Menu& title = MenuList.InsertAfter(bar);
  title.number = number;
  title.ownerWindow = bar->ownerWindow;
  title.barWindow = bar->barWindow;
  title.menuHandle = dropDown;
  title.titleCommand = commandId;
  title.linkedDropDown = MenuLinkOwn();
  title.uiStyle = bar->uiStyle;
  if (placeholder) MenuList.Delete(bar);
  CurrentMenuHandle = reinterpret_cast<intptr_t>(dropDown);
  const HWND barWindow = title.barWindow;
  const int style = title.uiStyle;
  ToolkitUnlock(MenuMutex);

  SizeTitleButton(barWindow, commandId, style, text);
  return 0;
}

int GetMenuBarHeight(intptr_t menu) {
  ToolkitLock(MenuMutex);
  Menu* record = FindMenu(menu);
  HWND bar = record && record->barWindow != MenuNoBar() ? record->barWindow : nullptr;
  ToolkitUnlock(MenuMutex);
  RECT r = {};
  if (!bar || !GetClientRect(bar, &r)) return 0;
  return r.bottom - r.top;
}

}  // namespace tovrel
