// MN_SELECTITEM: the item under the pointer keeps its selection, a submenu already open
// elsewhere loses its own, and the one selection routine hears of the change.
#include <windows.h>

#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_placement_rules.h"
#include "tovrel/frame/popup_window_parts.h"

namespace tovrel {

namespace {

constexpr UINT kSelectItem = 0x1E5;  // MN_SELECTITEM

int KeptHover(HWND window, HMENU menu) {
  POINT pointer = {};
  RECT frame = {};
  if (!GetCursorPos(&pointer) || !GetWindowRect(window, &frame)) return -1;
  std::vector<HoverItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HoverItem item = {};
    if (!GetMenuItemRect(window, menu, static_cast<UINT>(i), &item.rect)) SetRectEmpty(&item.rect);
    item.submenu = GetSubMenu(menu, i) != nullptr;
    items.push_back(item);
  }
  return KeptHoverPosition(items, frame, pointer);
}

// What WM_MENUSELECT would carry for the item: its type and state, and the highlight it
// is about to get.
UINT SelectionFlags(HMENU menu, int position) {
  if (position < 0) return 0;
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
  if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return MF_HILITE;
  UINT flags = (info.fType | info.fState | MF_HILITE) & 0xFFFF;
  if (info.hSubMenu) flags |= MF_POPUP;
  return flags;
}

}  // namespace

LRESULT OnPopupSelectItem(HWND window, WPARAM wParam, LPARAM lParam) {
  int position = static_cast<int>(wParam);
  HMENU menu = nullptr;
  HWND staleSubmenuWindow = nullptr;
  {
    MenuMutexScope lock;
    menu = PopupMenuHandle(PopupRecordOf(window));
    if (position < 0 && menu) position = KeptHover(window, menu);
    HMENU sub = position >= 0 && menu ? GetSubMenu(menu, position) : nullptr;
    if (sub) {
      for (const PopupWindow& other : PopupWindowList) {
        if (other.menuHandle == sub && other.window != window) {
          staleSubmenuWindow = other.window;
          break;
        }
      }
    }
  }
  // Selecting an item again whose submenu is open: that submenu's own selection goes.
  if (staleSubmenuWindow) SendMessageA(staleSubmenuWindow, kSelectItem, static_cast<WPARAM>(-1), 0);
  MenuSelectionChanged(menu, position, SelectionFlags(menu, position));
  // While the scrolling copy changes or has reached its end, nothing is selected.
  if (ScrollBusy == 1 || ScrollAtEnd == 1) position = -1;
  return PassPopupMessage(window, kSelectItem, static_cast<WPARAM>(static_cast<INT_PTR>(position)), lParam);
}

}  // namespace tovrel
