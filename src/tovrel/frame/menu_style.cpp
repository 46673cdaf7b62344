#include "tovrel/frame/menu_style.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/fonts.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/toolbar_insert.h"
#include "tovrel/frame/title_buttons.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

int ButtonHeight(HWND bar) { return static_cast<short>(HIWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0))); }

// The band hosting the bar keeps the margin it had over the buttons.
void RefitHostingBand(HWND bar, int oldButtonHeight) {
  const HWND parent = GetParent(bar);
  SavedCurrent<Rebar> saved(RebarList);
  const Rebar* rebar = RebarList.Find([parent](const Rebar& r) { return r.window == parent; });
  if (!rebar || !parent) return;
  const int count = static_cast<int>(SendMessageA(rebar->window, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
    if (!SendMessageA(rebar->window, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info))) return;
    if (info.hwndChild != bar) continue;
    const int margin = static_cast<int>(info.cyMinChild) - oldButtonHeight;
    info.fMask = RBBIM_CHILDSIZE;
    info.cyMinChild = static_cast<UINT>(ButtonHeight(bar) + margin);
    SendMessageA(rebar->window, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    return;
  }
}

// One title sized to its text as at its creation, and the band after it.
void RefitTitle(const Menu& title) {
  // The placeholder of a bar without titles has no button to size.
  if (title.titleCommand == -1 || !IsToolbarWindow(title.barWindow)) return;
  const int oldHeight = ButtonHeight(title.barWindow);
  SizeTitleButton(title.barWindow, title.titleCommand, title.uiStyle);
  RefitHostingBand(title.barWindow, oldHeight);
}

HFONT FontHandleOf(intptr_t font) {
  if (font > 0 && font <= 0x7FFFFFFF && IsRuntimeFont(static_cast<int>(font)))
    return RuntimeFontHandle(static_cast<int>(font));
  return reinterpret_cast<HFONT>(font);
}

}  // namespace

void RefitMenuBarTitles(HWND bar) {
  for (const Menu& m : MenuList) {
    if (m.popupFlag == 0 && m.barWindow == bar) RefitTitle(m);
  }
}

void RefitAllMenuBarTitles() {
  for (const Menu& m : MenuList) {
    if (m.popupFlag == 0) RefitTitle(m);
  }
}

int SetMenuStyle(intptr_t menu, int uiStyle) {
  uiStyle = StoredMenuStyle(uiStyle);
  MenuMutexScope lock;
  Menu* found = MenuList.Find([menu](const Menu& m) { return MenuMatchesReference(m, menu); });
  if (!found) return 0;
  const bool bar = found->popupFlag == 0;
  const HWND barWindow = found->barWindow;
  const HMENU handle = found->menuHandle;
  std::vector<HMENU> restyled;
  for (Menu& m : MenuList) {
    if (bar ? m.barWindow != barWindow : m.menuHandle != handle) continue;
    m.uiStyle = uiStyle;
    m.backgroundWidth = m.backgroundHeight = 0;
    restyled.push_back(m.menuHandle);
  }
  // UpdateMenuItems lets the mutex go: the records are not walked meanwhile.
  for (HMENU h : restyled) UpdateMenuItems(h);
  if (bar) RefitMenuBarTitles(barWindow);
  return 1;
}

int SetMenuFont(intptr_t font) {
  const HFONT given = FontHandleOf(font);
  if (!given || GetObjectType(given) != OBJ_FONT) return 0;
  LOGFONTA logFont = {};
  if (GetObjectA(given, sizeof(logFont), &logFont) != sizeof(logFont)) return 0;
  // The caller keeps its font; the toolkit's copy is its own to replace.
  HFONT copy = CreateFontIndirectA(&logFont);
  if (!copy) return 0;
  if (MenuFont) DeleteObject(MenuFont);
  MenuFont = copy;

  MenuMutexScope lock;
  std::vector<HMENU> menus;
  for (Menu& m : MenuList) {
    m.backgroundWidth = m.backgroundHeight = 0;
    if (m.popupFlag == 0) RefitTitle(m);
    if (IsMenu(m.menuHandle)) menus.push_back(m.menuHandle);
  }
  {
    MenuMutexReleased unlocked;
    for (HMENU h : menus) RemeasureMenuItems(h);
  }
  return 1;
}

}  // namespace tovrel
