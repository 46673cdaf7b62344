#include <commctrl.h>

#include <string>
#include <vector>

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/drop_down_placement.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"

namespace tovrel {

namespace {

// How far past a button's right edge the band must reach for the button to count as shown.
constexpr int kHiddenButtonSlack = 21;

std::string ButtonText(HWND toolbar, int command) {
  const LRESULT length = SendMessageA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), 0);
  if (length <= 0) return std::string();
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text.data()));
  return std::string(text.data());
}

// The toolkit draws its own separators as narrow disabled buttons; the button's data
// names its record, which knows.
bool IsToolkitSeparator(const TBBUTTON& button) {
  ToolkitLock(ToolbarMutex);
  bool separator = false;
  for (const ToolbarButton& b : ToolbarButtonList) {
    if (reinterpret_cast<DWORD_PTR>(&b) == button.dwData) {
      separator = b.separator == 1;
      break;
    }
  }
  ToolkitUnlock(ToolbarMutex);
  return separator;
}

// The menu a drop-down button opens, lent to the chevron's menu as a submenu.
HMENU DropDownOfButton(HWND toolbar, int command) {
  MenuMutexScope lock;
  for (const Menu& m : MenuList) {
    if (m.barWindow != toolbar || m.titleCommand != command) continue;
    if (m.linkedDropDown == MenuLinkNone()) return nullptr;
    const Menu* shown = m.linkedDropDown == MenuLinkOwn() ? &m : m.linkedDropDown;
    return MenuList.Contains(shown) && IsMenu(shown->menuHandle) ? shown->menuHandle : nullptr;
  }
  return nullptr;
}

void AddButtonItem(HMENU menu, HWND toolbar, HIMAGELIST images, const TBBUTTON& button) {
  if ((button.fsStyle & BTNS_SEP) || IsToolkitSeparator(button)) {
    AddMenuSeparator();
    return;
  }
  std::string text = ButtonText(toolbar, button.idCommand);
  HICON icon = nullptr;
  if (button.iBitmap == I_IMAGENONE || !images) {
    SetMenuImageSize(16, 16);
  } else {
    // An item with an image and no text would be taken for a separator.
    if (text.empty()) text = " ";
    icon = ImageList_GetIcon(images, button.iBitmap, ILD_TRANSPARENT);
    int cx = 16, cy = 16;
    ImageList_GetIconSize(images, &cx, &cy);
    SetMenuImageSize(cx, cy);
  }
  HMENU submenu = nullptr;
  if (button.fsStyle & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN)) submenu = DropDownOfButton(toolbar, button.idCommand);
  AddMenuItem(button.idCommand, text, icon, nullptr, nullptr, reinterpret_cast<intptr_t>(submenu));
  if (icon) DestroyIcon(icon);
  if (!(button.fsState & TBSTATE_ENABLED)) SetMenuItemDisabled(reinterpret_cast<intptr_t>(menu), button.idCommand, 1);
}

// A popup of the band's buttons that lie beyond its right edge.
HMENU BuildChevronMenu(HWND toolbar, const RECT& band) {
  HMENU menu = CreatePopup(-1, 0);
  if (!menu) return nullptr;
  const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    RECT item = {};
    if (!SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
    if (button.fsState & TBSTATE_HIDDEN) continue;
    if (!SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    item.right += kHiddenButtonSlack;
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&item), 2);
    if (item.right <= band.right) continue;
    AddButtonItem(menu, toolbar, images, button);
  }
  return menu;
}

// The buttons' own menus stay with their buttons: only the chevron's items go.
void FreeChevronMenu(HMENU menu) {
  for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
    if (GetSubMenu(menu, position)) RemoveMenuItem(reinterpret_cast<intptr_t>(menu), position, 1);
  }
  FreeMenu(reinterpret_cast<intptr_t>(menu));
}

}  // namespace

void OnRebarChevronPushed(HWND window, const NMREBARCHEVRON& chevron) {
  // The click that closed the chevron's menu landed on the chevron: it stays closed.
  if (ChevronClickSeen != 0) {
    ChevronClickSeen = 0;
    return;
  }
  const HWND rebar = chevron.hdr.hwndFrom;
  RECT band = {};
  SendMessageA(rebar, RB_GETRECT, chevron.uBand, reinterpret_cast<LPARAM>(&band));
  MapWindowPoints(rebar, nullptr, reinterpret_cast<POINT*>(&band), 2);
  RECT rc = chevron.rc;
  MapWindowPoints(rebar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  ChevronRect = rc;
  REBARBANDINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_CHILD;
  if (!SendMessageA(rebar, RB_GETBANDINFOA, chevron.uBand, reinterpret_cast<LPARAM>(&info))) return;
  const HWND toolbar = info.hwndChild;
  if (!toolbar) return;
  MenuBarWindow = toolbar;

  // The chevron's menu picks its own image sizes; later items of the program keep theirs.
  const int imageWidth = MenuImageWidth;
  const int imageHeight = MenuImageHeight;
  HMENU menu = BuildChevronMenu(toolbar, band);
  MenuImageWidth = imageWidth;
  MenuImageHeight = imageHeight;
  if (!menu) return;

  MenuClickProbeHookHandle =
      SetWindowsHookExA(WH_MSGFILTER, &MenuClickProbeHook, nullptr, GetWindowThreadProcessId(toolbar, nullptr));
  ChevronClickSeen = 0;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &monitor);
  const int x = ChevronMenuX(rc.left, GetMenuWidth(menu), monitor.rcWork);
  // Owned by the rebar's parent, whose procedure draws the items, so that each is drawn once.
  ShowPopupMenu(reinterpret_cast<intptr_t>(menu), window, x, rc.bottom);
  if (MenuClickProbeHookHandle) UnhookWindowsHookEx(MenuClickProbeHookHandle);
  MenuClickProbeHookHandle = nullptr;
  FreeChevronMenu(menu);
}

}  // namespace tovrel
