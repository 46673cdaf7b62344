// Which painter answers a custom-draw notification, and the tool strip painted behind an
// OFFICE tool bar's buttons.
#include "tovrel/frame/custom_draw.h"

#include <algorithm>

#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/gdiplus_api.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/frame/custom_draw_parts.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

constexpr int kToolStripIndex = 33;  // toolstripbackground1: the strip's gradient
constexpr int kStripFlags = kBlitSeveralSizes | kBlitFitSameHeight;

// Walks leave the lists' current elements alone: the painter runs in the middle of other
// operations that rely on them.
Toolbar* ToolbarOfWindow(HWND window) {
  for (Toolbar& t : ToolbarList) {
    if (t.window == window) return IsToolbarWindow(window) ? &t : nullptr;
  }
  return nullptr;
}

Rebar* RebarOfWindow(HWND window) {
  if (!window) return nullptr;
  for (Rebar& r : RebarList) {
    if (r.window == window) return IsRebarWindow(window) ? &r : nullptr;
  }
  return nullptr;
}

uint8_t Mix(int painted, int old) { return static_cast<uint8_t>((painted * 135 + old * 121) / 256); }

// The strip ends where the buttons end; when no button reaches the right edge of the
// drawn area, its right corners are rounded off against what was there before.
void PaintToolStrip(const CustomDrawItem& item) {
  {
    MenuLock lock;
    if (IsMenuBarWindow(item.window)) return;
  }
  if (!item.toolbar || !IsOfficeStyle(item.toolbar->uiStyle) || !LoadGdiPlus()) return;
  const NMCUSTOMDRAW& draw = item.draw;
  HDC dc = draw.hdc;
  SIZE size = {};
  SendMessageA(item.window, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  const int w = std::min(static_cast<int>(size.cx) + 2, static_cast<int>(draw.rc.right));
  const int bottom = draw.rc.bottom - 1;
  const COLORREF oldTop = GetPixel(dc, w - 1, 0);
  const COLORREF oldBottom = GetPixel(dc, w - 1, bottom);
  const int left = std::min(static_cast<int>(draw.rc.left), w);
  RECT strip = {left, 0, std::min(left + w, w), size.cy};
  PaintStyleBackground(dc, item.toolbar->uiStyle, kToolStripIndex, &strip, kStripFlags);
  // Buttons start below the control's top margin: the end is tested halfway down the row,
  // where a button that reaches it is met.
  POINT end = {draw.rc.right - 1, draw.rc.top + size.cy / 2};
  if (SendMessageA(item.window, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&end)) >= 0) return;
  RoundStripCorner(dc, w - 1, 0, -1, 1, oldTop);
  RoundStripCorner(dc, w - 1, bottom, -1, -1, oldBottom);
}

const Menu* TitleOf(HWND bar, DWORD_PTR command) {
  for (const Menu& m : MenuList) {
    if (m.popupFlag == 0 && m.barWindow == bar && static_cast<DWORD_PTR>(static_cast<UINT>(m.titleCommand)) == command)
      return &m;
  }
  return nullptr;
}

LRESULT PaintItem(const CustomDrawItem& item) {
  const NMCUSTOMDRAW& draw = item.draw;
  const int width = draw.rc.right - draw.rc.left;
  // Only a rebar reports its grippers as items; a tool-bar button of that width is a button.
  if (item.rebar && IsOfficeStyle(item.style) && width >= 8 && width <= 11) return PaintGripper(item);

  MenuLock lock;
  const Menu* title = TitleOf(item.window, draw.dwItemSpec);
  if (!title && item.toolbar) {
    LRESULT result = -1;
    if (item.style == 0) result = PaintUnstyledSeparator(item);
    if (result < 0) result = PaintThemedButton(item);
    if (result < 0) result = PaintGradientButton(item);
    if (result < 0) result = PaintImageOnlyButton(item);
    if (result >= 0) return result;
  }
  if (title) return PaintMenuTitle(item, *title);
  // Hot items the system draws get its default look rather than a custom one.
  if (draw.uItemState == CDIS_HOT) return CDRF_DODEFAULT;
  return item.first;
}

}  // namespace

ButtonState ButtonStateOf(UINT itemState) {
  switch (itemState & (CDIS_HOT | CDIS_SELECTED | CDIS_CHECKED)) {
    case CDIS_HOT:
      return ButtonState::kHot;
    case CDIS_HOT | CDIS_SELECTED:
      return ButtonState::kPressed;
    case CDIS_CHECKED:
      return ButtonState::kChecked;
    case CDIS_HOT | CDIS_CHECKED:
      return ButtonState::kHotChecked;
    case CDIS_HOT | CDIS_SELECTED | CDIS_CHECKED:
      return ButtonState::kPressedChecked;
    default:
      return ButtonState::kOther;
  }
}

bool IsMenuBarWindow(HWND window) {
  for (const Menu& m : MenuList) {
    if (m.popupFlag == 0 && m.barWindow == window) return true;
  }
  return false;
}

void RoundStripCorner(HDC dc, int x, int y, int dx, int dy, COLORREF oldCorner) {
  SetPixel(dc, x, y, oldCorner);
  for (POINT p : {POINT{x + dx, y}, POINT{x, y + dy}}) {
    const COLORREF painted = GetPixel(dc, p.x, p.y);
    if (painted == CLR_INVALID) continue;
    SetPixel(dc, p.x, p.y,
             RGB(Mix(GetRValue(painted), GetRValue(oldCorner)), Mix(GetGValue(painted), GetGValue(oldCorner)),
                 Mix(GetBValue(painted), GetBValue(oldCorner))));
  }
}

LRESULT HandleCustomDraw(NMCUSTOMDRAW& draw, LRESULT previous) {
  CustomDrawItem item{draw, draw.hdr.hwndFrom, nullptr, nullptr, 0, previous};
  item.toolbar = ToolbarOfWindow(item.window);
  if (item.toolbar) {
    item.first = CDRF_NOTIFYITEMDRAW;
    if (Rebar* host = RebarOfWindow(GetParent(item.window))) item.style = host->uiStyle;
  } else if ((item.rebar = RebarOfWindow(item.window)) && item.rebar->uiStyle != 0) {
    item.style = item.rebar->uiStyle;
    item.first = CDRF_NOTIFYITEMDRAW;
  }

  // A rebar item of this width is a part the style draws nothing for.
  if ((draw.dwDrawStage & CDDS_ITEM) && item.rebar && IsOfficeStyle(item.style) && draw.rc.right - draw.rc.left == 17)
    return CDRF_SKIPDEFAULT;
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    if (IsOfficeStyle(item.style)) PaintToolStrip(item);
    return item.first;
  }
  if (draw.dwDrawStage == CDDS_ITEMPREPAINT) return PaintItem(item);
  return item.first;
}

}  // namespace tovrel
