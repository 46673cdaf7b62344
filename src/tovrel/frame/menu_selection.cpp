#include <windows.h>

#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/menu_hook_steps.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_key_rules.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_scrolling.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

constexpr UINT kSelectItem = 0x1E5;  // MN_SELECTITEM

// The selection reported last: the popup window's own report and the owner's
// WM_MENUSELECT both name it, and only the first of the two acts.
HMENU ReportedMenu = nullptr;
int ReportedPosition = -1;

ScrollItem ScrollItemAt(HMENU menu, int position) { return ScrollItemOfId(GetMenuItemID(menu, position)); }

// The toolkit kind of the copy's item: 0 ordinary, -1 down arrow, -2 up arrow, -3 filler.
// -> false when the item cannot be read.
bool CopyItemKind(int position, int& kind) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoA(ScrollPopupMenu, static_cast<UINT>(position), TRUE, &info)) return false;
  MenuMutexScope lock;
  const MenuItem* item = MenuItemOfData(info.dwItemData);
  kind = item ? item->kind : 0;
  return true;
}

// Hovering an arrow scrolls the copy toward it from the scroll popup's timer; any
// ordinary item stops it.
void FollowPointer(int position) {
  if (ScrollAtEnd) return;
  int kind = 0;
  if (!CopyItemKind(position, kind)) {
    ScrollHover = 0;
    return;
  }
  if ((kind == -2 || kind == -1) && !ScrollHover && !ScrollBusy) {
    ScrollHover = 1;
    MenuScrollThread(kind == -2 ? 1 : 0);
  }
  if (kind == 0) ScrollHover = 0;
}

std::vector<StepItem> CopyStepItems(int& hilited) {
  hilited = -1;
  const int count = GetMenuItemCount(ScrollPopupMenu);
  std::vector<StepItem> items;
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(ScrollPopupMenu, static_cast<UINT>(i), MF_BYPOSITION);
    if (state != static_cast<UINT>(-1) && (state & MF_HILITE)) hilited = i;
    if (state != static_cast<UINT>(-1) && (state & MF_SEPARATOR))
      items.push_back(StepItem::Skipped);
    else if (ScrollItemAt(ScrollPopupMenu, i) != ScrollItem::Ordinary)
      items.push_back(StepItem::Scroll);
    else
      items.push_back(StepItem::Selectable);
  }
  return items;
}

// After a keyboard rebuild the copy's selection moves to `target`. The popup window is asked
// first; where that selects nothing, arrow keys posted to the menu loop bring it there.
void SelectCopyItem(int target) {
  if (ScrollPopupWindow) SendMessageA(ScrollPopupWindow, kSelectItem, static_cast<WPARAM>(target), 0);
  const UINT state = GetMenuState(ScrollPopupMenu, static_cast<UINT>(target), MF_BYPOSITION);
  if (state != static_cast<UINT>(-1) && (state & MF_HILITE)) return;
  int hilited = -1;
  const std::vector<StepItem> items = CopyStepItems(hilited);
  const KeyPresses presses = KeysToReach(items, hilited, target);
  HWND keys = GetFocus();
  if (!keys) keys = ScrollPopupWindow;
  for (int i = 0; i < presses.count && keys; ++i) PostKeyPress(keys, presses.key);
}

// An arrow key reached a scroll item of the copy: one step or a rebuild, then the
// selection goes where the keys would have taken it in the whole menu.
void FollowKey(int position, UINT key) {
  const int count = GetMenuItemCount(ScrollPopupMenu);
  if (count <= 0) return;
  const ScrollKeyStep step =
      ScrollStepForKey(key, ScrollItemAt(ScrollPopupMenu, position), ScrollItemAt(ScrollPopupMenu, 0),
                       ScrollItemAt(ScrollPopupMenu, count - 1));
  if (step.mode < 0) return;
  // Exactly one step: the hover loop must not go on after it.
  if (step.mode <= 1) ScrollHover = 0;
  MenuScrollThread(step.mode);
  const int target = ScrollTargetPosition(step.target, GetMenuItemCount(ScrollPopupMenu));
  if (target >= 0) SelectCopyItem(target);
}

}  // namespace

void MenuSelectionChanged(HMENU menu, int position, UINT flags) {
  const bool closed = !menu || flags == 0xFFFF;
  HMENU submenu = !closed && position >= 0 ? GetSubMenu(menu, position) : nullptr;
  for (HookMemory* memory : {&BarNavigationMemory, &MessageFilterMemory}) {
    memory->selectFlags = flags;
    memory->selectedSubmenu = submenu;
  }
  if (!MenuSelectParent) MenuSelectParent = OpenDropDownMenu;
  PopupItemSelected = !closed && position >= 0 ? 1 : 0;
  OpeningSubmenu = submenu;
  // The item's own menu decides, also in a submenu: the popup it opens is placed as a
  // submenu, never as the drop-down.
  SubmenuOpening = submenu ? 1 : 0;
  if (closed) {
    ReportedMenu = nullptr;
    ReportedPosition = -1;
    return;
  }
  if (menu == ReportedMenu && position == ReportedPosition) return;
  ReportedMenu = menu;
  ReportedPosition = position;
  if (!ScrollPopupMenu || menu != ScrollPopupMenu) return;
  if (position < 0) {
    // The pointer left the copy; while a step rebuilds it, the emptied selection is the step's.
    if (!ScrollBusy) ScrollHover = 0;
    return;
  }
  const UINT key = static_cast<UINT>(LastArrowKey);
  LastArrowKey = 0;
  if (key == VK_UP || key == VK_DOWN)
    FollowKey(position, key);
  else
    FollowPointer(position);
}

}  // namespace tovrel
