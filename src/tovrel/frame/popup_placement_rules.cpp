#include "tovrel/frame/popup_placement_rules.h"

#include <algorithm>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

PopupLook PopupLookOf(int uiStyle) {
  if (uiStyle < UISTYLE_WHIDBEY) return PopupLook::kPlain;
  if (uiStyle == UISTYLE_WHIDBEY) return PopupLook::kWhidbey;
  if (uiStyle == UISTYLE_OFFICE2003_MENU || uiStyle == UISTYLE_OFFICE2007) return PopupLook::kOffice;
  return PopupLook::kOther;
}

int KeptHoverPosition(const std::vector<HoverItem>& items, const RECT& W, POINT pt) {
  for (size_t i = 0; i < items.size(); ++i) {
    const RECT& r = items[i].rect;
    // The row an item shares with the next one belongs to the next.
    if (pt.y < r.top || pt.y >= r.bottom) continue;
    const bool insideRows = W.top + 1 < pt.y && pt.y < W.bottom - 1;
    const bool insideColumns =
        items[i].submenu ? W.left < pt.x && pt.x < W.right : W.left + 1 < pt.x && pt.x < W.right - 2;
    return insideRows && insideColumns ? static_cast<int>(i) : -1;
  }
  return -1;
}

bool IsPlacingChange(UINT flags, bool placedBefore) {
  if (placedBefore || (flags & SWP_HIDEWINDOW)) return false;
  if (flags & SWP_SHOWWINDOW) return true;
  return (flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
}

int PlacementStep(int overhang) { return std::clamp(overhang - 1, 0, 5); }

void ApplySizeRules(PopupPos& p, PopupLook look, bool submenu, int step, int dropDownWidth, int minimumHeight) {
  if (!submenu) {
    p.x += step;
    if (dropDownWidth > 0) p.cx = dropDownWidth;
  } else if (look == PopupLook::kOffice) {
    p.cx -= 2;
  }
  const int cut = look == PopupLook::kOffice ? 3 : look == PopupLook::kWhidbey ? 1 : 0;
  if (cut && p.cy > 0) p.cy = std::max(p.cy - cut, minimumHeight);
}

void OffsetSubmenu(PopupPos& p, const SubmenuAnchor& a) {
  if (p.x > a.lastPopupX) {
    if (a.parentPlaced) {
      p.x = a.dropDownLeft + a.dropDownWidth - 1;
    } else {
      p.x += a.rightOffset;
    }
  } else {
    p.x -= a.leftShift;
  }
  p.y += 2;
}

void FitSubmenu(PopupPos& p, int width, int height, int lastPopupX, const RECT& work) {
  if (p.x + width > work.right) {
    p.x = lastPopupX - width + 1;
  } else if (p.y + height > work.bottom) {
    p.y = work.bottom - height;
  }
}

RECT TitleJointRow(PopupLook look, int titleWidth, int v, bool opensAbove, int height, bool print) {
  RECT row = {};
  if (titleWidth == 0 || (look != PopupLook::kWhidbey && look != PopupLook::kOffice)) return row;
  const bool whidbey = look == PopupLook::kWhidbey;
  const int frame = whidbey ? 2 : 4;
  const int o = v >= frame ? v - frame : v >= 1 ? 0 : v;
  row.left = o + 1;
  row.right = titleWidth + o - (whidbey ? 5 : 1);
  row.top = opensAbove ? height - 1 : 0;
  row.bottom = row.top + 1;
  if (opensAbove && print && !whidbey) row.bottom = height + 1;
  return row;
}

int MenuSelectPosition(const std::vector<SelectableItem>& items, WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) return -1;
  const UINT index = LOWORD(wParam);
  if (flags & MF_POPUP) return index < items.size() ? static_cast<int>(index) : -1;
  int first = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (LOWORD(items[i].id) != index) continue;
    if (items[i].highlighted) return static_cast<int>(i);
    if (first < 0) first = static_cast<int>(i);
  }
  return first;
}

}  // namespace tovrel
