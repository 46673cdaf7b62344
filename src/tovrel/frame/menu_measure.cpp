#include "tovrel/frame/menu_measure.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/scoped.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

SIZE MeasureStyled(HDC dc, const std::string& text) {
  if (text.empty()) return {0, 0};
  RECT r = {0, 0, 0, 0};
  DrawStyledText(dc, text, &r, MenuFont, kStyledMeasure);
  return {r.right - r.left, r.bottom - r.top};
}

// The style of the first record of the menu, without moving MenuList's current element,
// which the caller's walk may rely on. -1 when no record has that menu.
int StyleOfMenu(HMENU menu) {
  for (const Menu& m : MenuList) {
    if (m.menuHandle == menu) return m.uiStyle;
  }
  return -1;
}

// The item's type and data; false when the position holds no item.
bool ReadItemType(HMENU menu, int position, UINT* type, ULONG_PTR* data) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return false;
  *type = info.fType;
  *data = info.dwItemData;
  return true;
}

std::string ReadItemText(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoA(menu, position, TRUE, &info) || info.cch == 0) return std::string();
  std::vector<char> buffer(info.cch + 1);
  info.dwTypeData = buffer.data();
  info.cch = static_cast<UINT>(buffer.size());
  if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return std::string();
  return std::string(buffer.data());
}

}  // namespace

ItemTextParts SplitItemText(const std::string& text) {
  ItemTextParts parts;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '$' || i + 1 == text.size()) {
      parts.label += text[i];
    } else if (text[i + 1] == '$') {
      parts.label += '$';
      ++i;
    } else {
      parts.shortcut = text.substr(i + 1);
      parts.hasShortcut = true;
      break;
    }
  }
  return parts;
}

int MenuFontPointSize() {
  LOGFONTA font = {};
  if (!MenuFont || !GetObjectA(MenuFont, sizeof(font), &font)) return 0;
  const int dpi = GetScreenDpi(0);
  if (dpi <= 0) return 0;
  return static_cast<int>(std::lround(std::abs(font.lfHeight) * 72.0 / dpi));
}

MenuItem* ItemRecordOf(ULONG_PTR itemData) {
  auto* item = reinterpret_cast<MenuItem*>(itemData);
  return item && MenuItemList.Contains(item) ? item : nullptr;
}

int GetMenuItemHeight(HDC dc, const MenuItem& item) {
  if (item.kind < 0) return item.kind == -3 ? ScrollFillerHeight : ScrollItemHeight;
  if (item.text.empty()) {
    const int style = item.menu ? item.menu->uiStyle : item.uiStyle;
    return style < UISTYLE_WHIDBEY ? 7 : 2;
  }
  ScopedSelect font(dc, MenuFont);
  int height = MeasureStyled(dc, item.text).cy + 4;
  if (height < item.imageHeight + 4) height = item.imageHeight + 4;
  return height + 3;
}

int GetMenuItemWidth(const MenuItem& item) {
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return 0;
  ScopedSelect font(dc.get(), MenuFont);
  const ItemTextParts parts = SplitItemText(item.text);
  int textWidth = MeasureStyled(dc.get(), parts.label).cx;
  if (parts.hasShortcut) textWidth += MeasureStyled(dc.get(), parts.shortcut).cx;
  const int size = MenuFontPointSize();
  int step = GetFontSizeStep(size);
  if (size <= 9) step -= 2;
  return textWidth + 2 * item.imageWidth + step + GetSystemMetrics(SM_CXMENUCHECK);
}

int GetMenuHeight(HMENU menu) {
  if (!menu || !IsMenu(menu)) return 0;
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return 0;
  ToolkitLock(MenuMutex);
  int height = 0;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    UINT type = 0;
    ULONG_PTR data = 0;
    if (!ReadItemType(menu, position, &type, &data) || !(type & MFT_OWNERDRAW)) continue;
    if (MenuItem* item = ItemRecordOf(data)) height += GetMenuItemHeight(dc.get(), *item);
  }
  const int style = StyleOfMenu(menu);
  ToolkitUnlock(MenuMutex);
  if (style < UISTYLE_WHIDBEY) return height + 6;
  return height + (style == UISTYLE_WHIDBEY ? 5 : 3);
}

int GetMenuWidth(HMENU menu) {
  if (!menu || !IsMenu(menu)) return 0;
  RECT shown = {};
  if (GetMenuItemRect(nullptr, menu, 0, &shown) && shown.right > shown.left && shown.bottom > shown.top)
    return shown.right - shown.left + 6;

  ToolkitLock(MenuMutex);
  const int style = StyleOfMenu(menu);
  int ownerDrawnExtra = GetSystemMetrics(SM_CXMENUSIZE);
  if (style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2003) ownerDrawnExtra -= 2;
  if (style == UISTYLE_OFFICE2007) ownerDrawnExtra += 1;
  const int plainExtra = static_cast<int>(std::lround(2.5 * GetSystemMetrics(SM_CXMENUCHECK) + 12.0));

  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  ScopedSelect font(dc.get(), MenuFont);
  int widest = 0;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    UINT type = 0;
    ULONG_PTR data = 0;
    if (!ReadItemType(menu, position, &type, &data)) continue;
    int width = 0;
    if (type & MFT_OWNERDRAW) {
      // An owner-drawn item of the application's own has no record to measure.
      MenuItem* item = ItemRecordOf(data);
      if (!item) continue;
      width = GetMenuItemWidth(*item) + ownerDrawnExtra;
    } else if (dc) {
      const std::string text = ReadItemText(menu, position);
      RECT r = {0, 0, 0, 0};
      if (!text.empty())
        DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
      width = plainExtra + (r.right - r.left);
    }
    if (width > widest) widest = width;
  }
  ToolkitUnlock(MenuMutex);
  return widest;
}

}  // namespace tovrel
