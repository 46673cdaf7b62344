#include <windows.h>

#include <string>

#include "tovrel/foundation/styled_text.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_scroll_model.h"
#include "tovrel/frame/menu_scrolling.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/scroll_copy_items.h"

namespace tovrel {

namespace {

// Room that the filler (7) and the down arrow take below the copied items.
int ScrollItemsExtent() { return ScrollItemHeight + 7; }

bool IsSeparatorAt(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

void AddMnemonic(const MenuItem& item, int commandId) {
  char letter = ItemMnemonic(SplitItemText(item.text).label);
  if (!letter) return;
  char upper[2] = {letter, 0};
  CharUpperBuffA(upper, 1);
  Mnemonic& m = MnemonicList.Add();
  m.character = upper[0];
  m.commandId = commandId;
}

int CommandAt(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID;
  return GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) ? static_cast<int>(info.wID) : 0;
}

void ClearScrollState() {
  ScrollPopupMenu = nullptr;
  ScrollSourceMenu = nullptr;
  ScrollPopupWindow = nullptr;
  ScrollBusy = 0;
  ScrollHover = 0;
  ScrollAtEnd = 0;
  ScrollFirstIndex = ScrollLastIndex = -1;
  ScrollCopy() = ScrollCopyState();
  MnemonicList.Clear();
}

}  // namespace

Menu* BuildScrollingCopy(Menu& title, const RECT& r, const RECT& work, int a, int width) {
  MenuMutexScope lock;
  ShortcutsSuspended quiet;
  HMENU source = title.menuHandle;
  if (!HasSystemMenu(title) || GetMenuItemCount(source) <= 0) return nullptr;
  HMENU copy = CreatePopup(-1, title.uiStyle);
  Menu* record = copy ? MenuList.Find([copy](const Menu& m) { return m.menuHandle == copy; }) : nullptr;
  if (!record) return nullptr;
  title.openFlag = -1;
  record->barWindow = title.barWindow;
  record->titleCommand = title.titleCommand;
  record->ownerWindow = title.ownerWindow;
  StopScrollLoop();
  ClearScrollState();
  ScrollSourceMenu = source;
  ScrollPopupMenu = copy;
  ScrollItemHeight = 0;

  const int count = GetMenuItemCount(source);
  for (int i = 0; i < count; ++i) {
    const MenuItem* item = CopySourceItem(copy, -1, source, i);
    if (!item) continue;
    if (ScrollItemHeight == 0 && !item->text.empty() && item->kind == 0) {
      HDC dc = CreateCompatibleDC(nullptr);
      ScrollItemHeight = GetMenuItemHeight(dc, *item);
      DeleteDC(dc);
      MenuTextGap = GetFontSizeStep(MenuFontPointSize()) - 2;
    }
    AddMnemonic(*item, CommandAt(copy, GetMenuItemCount(copy) - 1));
  }
  if (GetMenuItemCount(copy) <= 0) {
    FreeMenu(reinterpret_cast<intptr_t>(copy));
    title.openFlag = 0;
    ClearScrollState();
    return nullptr;
  }

  // Items leave from the end until the rest, the filler and the arrow fit below or above
  // the title. The last item stays even when nothing fits: the copy then opens on the
  // roomier side and the system keeps it on the screen.
  DropDownTop = work.bottom - r.bottom >= r.top - work.top ? 0 : -1;
  while (GetMenuItemCount(copy) > 1) {
    RemoveMenuItem(reinterpret_cast<intptr_t>(copy), GetMenuItemCount(copy) - 1, 1);
    const int h = GetMenuHeight(copy);
    if (r.bottom + h + ScrollItemsExtent() < work.bottom - 2) {
      DropDownTop = 0;
      break;
    }
    if (r.top + a - (h + ScrollItemsExtent()) > work.top) {
      DropDownTop = -1;
      break;
    }
  }
  // A separator never ends the shown range while items lie beyond it.
  while (GetMenuItemCount(copy) > 1 && IsSeparatorAt(copy, GetMenuItemCount(copy) - 1))
    RemoveMenuItem(reinterpret_cast<intptr_t>(copy), GetMenuItemCount(copy) - 1, 1);

  const int shown = GetMenuItemCount(copy);
  ScrollFillerHeight = 7;
  InsertScrollItem(copy, -1, kScrollFiller);
  InsertScrollItem(copy, -1, kScrollDownArrow);
  ScrollPopupWidth = width - GetSystemMetrics(SM_CXMENUCHECK);
  ScrollPopupHeight = GetMenuHeight(copy);

  ScrollCopyState& state = ScrollCopy();
  state.layout.clear();
  for (int i = 0; i < shown; ++i) state.layout.push_back(i);
  state.layout.push_back(kScrollFiller);
  state.layout.push_back(kScrollDownArrow);
  state.popupHeight = ScrollPopupHeight;
  state.itemHeight = ScrollItemHeight;
  state.fillerHeight = ScrollFillerHeight;
  state.firstIndex = ScrollFirstIndex = 0;
  state.lastIndex = ScrollLastIndex = shown - 1;
  MenuList.Find([record](const Menu& m) { return &m == record; });
  return record;
}

void ReleaseScrollingCopy() {
  MenuMutexScope lock;
  StopScrollLoop();
  if (HMENU copy = ScrollPopupMenu) {
    // Borrowed bar window first: with it the record would pass for a menu button's, whose
    // menu a free leaves alone.
    for (Menu& m : MenuList) {
      if (m.menuHandle == copy) m.barWindow = MenuNoBar();
    }
    ShortcutsSuspended quiet;
    FreeMenu(reinterpret_cast<intptr_t>(copy));
  }
  for (Menu& m : MenuList) {
    if (ScrollSourceMenu && m.menuHandle == ScrollSourceMenu && m.openFlag == -1) m.openFlag = 0;
  }
  ClearScrollState();
}

}  // namespace tovrel
