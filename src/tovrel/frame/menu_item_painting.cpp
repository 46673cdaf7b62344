#include "tovrel/frame/menu_item_painting.h"

#include <windows.h>
#include <commctrl.h>

#include "common/scoped.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_item_looks.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

bool CacheMatchesShownSize(const Menu& menu) {
  return menu.backgroundWidth != 0 && menu.backgroundWidth == menu.shownWidth &&
         menu.backgroundHeight == menu.shownHeight;
}

// Keeps a copy of the whole drop-down as drawn, for the popup to repaint from.
void CaptureBackground(Menu& menu, HDC source) {
  if (menu.shownWidth <= 0 || menu.shownHeight <= 0) return;
  if (menu.backgroundDC) DeleteDC(menu.backgroundDC);
  if (menu.backgroundBitmap) DeleteObject(menu.backgroundBitmap);
  menu.backgroundDC = nullptr;
  menu.backgroundBitmap = nullptr;
  menu.backgroundWidth = menu.shownWidth;
  menu.backgroundHeight = menu.shownHeight;
  HDC dc = CreateCompatibleDC(source);
  HBITMAP bitmap = dc ? CreateCompatibleBitmap(source, menu.shownWidth, menu.shownHeight) : nullptr;
  if (!bitmap) {
    if (dc) DeleteDC(dc);
    menu.backgroundWidth = menu.backgroundHeight = 0;
    return;
  }
  SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, menu.shownWidth, menu.shownHeight, source, 0, 0, SRCCOPY);
  menu.backgroundDC = dc;
  menu.backgroundBitmap = bitmap;
}

// Moves the menu's selection on past a separator the keyboard landed on, in the direction
// it came from. Posted rather than typed, so that only this thread's menu loop sees it.
void StepOverSeparator(HDC menuDc, int top) {
  const WPARAM key = top >= LastHotItemTop ? VK_DOWN : VK_UP;
  HWND target = GetFocus();
  if (!target) target = WindowFromDC(menuDc);
  if (!target) return;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
  const LPARAM extended = LPARAM{1} << 24;
  PostMessageA(target, WM_KEYDOWN, key, 1 | scan | extended);
  PostMessageA(target, WM_KEYUP, key, 1 | scan | extended | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

}  // namespace

void MeasureMenuItem(MEASUREITEMSTRUCT& measure) {
  ToolkitLock(MenuMutex);
  MenuItem* item = ItemRecordOf(measure.itemData);
  if (!item) {
    ToolkitUnlock(MenuMutex);
    return;
  }
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  if (dc) measure.itemHeight = GetMenuItemHeight(dc.get(), *item);
  if (ScrollPopupMenu) {
    measure.itemWidth = ScrollPopupWidth;
  } else {
    MenuTextGap = GetFontSizeStep(MenuFontPointSize()) - 2;
    measure.itemWidth = GetMenuItemWidth(*item);
  }
  ToolkitUnlock(MenuMutex);
}

bool DrawMenuItem(const DRAWITEMSTRUCT& draw) {
  ToolkitLock(MenuMutex);
  MenuItem* item = ItemRecordOf(draw.itemData);
  if (!item) {
    ToolkitUnlock(MenuMutex);
    return true;
  }
  if (ScrollBusy == 1 || TitleDropDownState == 1) {
    ToolkitUnlock(MenuMutex);
    return false;
  }
  MenuItemList.Find([item](const MenuItem& m) { return &m == item; });
  Menu* menu = item->menu && MenuList.Contains(item->menu) ? item->menu : nullptr;
  if (menu) MenuList.Find([menu](const Menu& m) { return &m == menu; });
  const int style = menu ? menu->uiStyle : item->uiStyle;

  if (MenuItemBuffering == -1)
    MenuItemBuffering = 1;
  else if (MenuItemBuffering == 0 && item->position == GetMenuItemCount(item->menuHandle) - 1)
    MenuItemBuffering = -1;

  const bool hot = draw.itemState & ODS_SELECTED;
  if (MenuBackgroundCacheEnabled == 1) {
    if (item->position == 0) MenuCacheBlocked = hot ? 1 : 0;
    if (menu && CacheMatchesShownSize(*menu) && !hot && MenuItemBuffering != 1 && menu->backgroundDC) {
      if (MenuItemBuffering == -1) MenuItemBuffering = 1;
      const RECT& r = draw.rcItem;
      ExcludeClipRect(draw.hDC, r.right - GetSystemMetrics(SM_CXMENUCHECK) - 2, r.top, r.right, r.bottom - 1);
      ToolkitUnlock(MenuMutex);
      return false;
    }
  }

  int g = item->imageWidth + MenuTextGap;
  if (style < UISTYLE_WHIDBEY) g += 5;
  if (style == UISTYLE_OFFICE2007) g += 2;
  RECT rc = draw.rcItem;
  if (menu && menu->contextFlag == 1 && menu->shownWidth > 0)
    rc.right = menu->shownWidth - (IsOfficeMenuStyle(style) ? 4 : 6);

  const bool disabled = draw.itemState & (ODS_DISABLED | ODS_GRAYED);
  const bool selected = hot && !disabled && draw.itemState != 7;

  if (hot) {
    const bool separator = item->kind == 0 && item->text.empty();
    if (separator && DropDownKeyNavigation == 1) StepOverSeparator(draw.hDC, draw.rcItem.top);
    LastHotItemTop = draw.rcItem.top;
    if (separator) {
      ToolkitUnlock(MenuMutex);
      return true;
    }
  }

  ItemPaint paint = {};
  paint.item = item;
  paint.style = style;
  paint.g = g;
  paint.selected = selected;
  paint.hot = hot;
  paint.disabled = disabled;
  paint.checked = draw.itemState & ODS_CHECKED;
  paint.themed = style < UISTYLE_WHIDBEY && MenuThemeUsable();

  RECT arrow = {0, 0, 0, 0};
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  ScopedMemoryDc bufferDc;
  ScopedBitmap buffer;
  if (MenuItemBuffering == 1 && width > 0 && height > 0) {
    bufferDc.reset(CreateCompatibleDC(draw.hDC));
    if (bufferDc) buffer.reset(CreateCompatibleBitmap(draw.hDC, width, height));
  }
  if (buffer) {
    ScopedSelect selectedBuffer(bufferDc.get(), buffer.get());
    paint.dc = bufferDc.get();
    paint.rc = {0, 0, width, height};
    arrow = PaintItem(paint);
    BitBlt(draw.hDC, rc.left, rc.top, width, height, bufferDc.get(), 0, 0, SRCCOPY);
    OffsetRect(&arrow, rc.left, rc.top);
  } else {
    const int saved = SaveDC(draw.hDC);
    paint.dc = draw.hDC;
    paint.rc = rc;
    arrow = PaintItem(paint);
    RestoreDC(draw.hDC, saved);
  }
  // The system would draw its own arrow over ours.
  if (!IsRectEmpty(&arrow)) ExcludeClipRect(draw.hDC, arrow.left, arrow.top, arrow.right, arrow.bottom);

  if (MenuBackgroundCacheEnabled == 1 && MenuCacheBlocked == 0 && MenuItemBuffering == -1 && menu &&
      menu->openFlag == -1 && menu->popupFlag == 0 && !ScrollPopupMenu &&
      (!menu->backgroundDC || !CacheMatchesShownSize(*menu)))
    CaptureBackground(*menu, draw.hDC);
  ToolkitUnlock(MenuMutex);
  return true;
}

}  // namespace tovrel
