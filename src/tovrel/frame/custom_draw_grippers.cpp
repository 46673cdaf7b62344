// The gripper of an OFFICE rebar band: the tool strip of the band's tool bar continued
// behind it, and a column of dots.
#include <windows.h>
#include <commctrl.h>

#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/frame/custom_draw_parts.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

constexpr int kGripperSolid = 42;
constexpr int kGripperShadow = 43;
constexpr int kDotSize = 2;
// A menu bar's band is low: its three dots sit one pixel lower than in a tool-bar band.
constexpr int kLowMenuBarBand = 26;

HWND BandChildAt(HWND rebar, POINT point) {
  RBHITTESTINFO hit = {};
  hit.pt = point;
  SendMessageA(rebar, RB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iBand < 0) return nullptr;
  REBARBANDINFOA band;
  return ReadRebarBand(rebar, hit.iBand, RBBIM_CHILD, &band) ? band.hwndChild : nullptr;
}

const Toolbar* ToolbarRecord(HWND window) {
  if (!window || !IsToolbarWindow(window)) return nullptr;
  for (const Toolbar& t : ToolbarList) {
    if (t.window == window) return &t;
  }
  return nullptr;
}

// The strip behind the gripper, as high as the tool bar's buttons and centred on the band;
// its left corners are rounded like the right end of the tool bar's own strip.
void PaintGripperStrip(HDC dc, const Toolbar& toolbar, RECT& rc) {
  SIZE size = {};
  SendMessageA(toolbar.window, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  const int h = size.cy;
  rc.top = rc.top + (rc.bottom - rc.top) / 2 - h / 2;
  rc.bottom = rc.top + h;
  rc.left += 2;
  const COLORREF oldTop = GetPixel(dc, rc.left, rc.top);
  const COLORREF oldBottom = GetPixel(dc, rc.left, rc.bottom - 1);
  PaintStyleBackground(dc, toolbar.uiStyle, 33, &rc, kBlitSeveralSizes | kBlitFitSameHeight);
  RoundStripCorner(dc, rc.left, rc.top, 1, 1, oldTop);
  // At the bottom the pixel above the corner is a shade of the strip instead of a mix.
  const COLORREF above = GetPixel(dc, rc.left, rc.bottom - 2);
  RoundStripCorner(dc, rc.left, rc.bottom - 1, 1, -1, oldBottom);
  if (above != CLR_INVALID) SetPixel(dc, rc.left, rc.bottom - 2, DarkenColour(7, above));
}

}  // namespace

LRESULT PaintGripper(const CustomDrawItem& item) {
  HDC dc = item.draw.hdc;
  RECT rc = item.draw.rc;
  HWND child = BandChildAt(item.window, POINT{rc.left + 1, rc.top + 1});
  const Toolbar* toolbar = ToolbarRecord(child);
  if (toolbar && IsOfficeStyle(toolbar->uiStyle)) PaintGripperStrip(dc, *toolbar, rc);

  bool menuBar = false;
  if (child) {
    MenuLock lock;
    menuBar = IsMenuBarWindow(child) || (toolbar && toolbar->menuBarFlag);
  }
  const int height = rc.bottom - rc.top;
  int n = height / 8;
  if (n > 3) n = 3;
  int y0 = rc.top + height / 2 - n * 2 * kDotSize / 2;
  if (menuBar && height <= kLowMenuBarBand) {
    n = 2;
    y0 += 1;
  }
  HBRUSH solid = reinterpret_cast<HBRUSH>(LookupUIColour(item.style, kGripperSolid, 0));
  HBRUSH shadow = reinterpret_cast<HBRUSH>(LookupUIColour(item.style, kGripperShadow, 0));
  const int x = rc.left + (rc.right - rc.left) / 2 - kDotSize / 2 + 1;
  for (int i = 0; i <= n; ++i) {
    const int y = y0 + i * 2 * kDotSize - 2;
    RECT dot = {x, y, x + kDotSize, y + kDotSize};
    RECT shade = {x + 1, y + 1, x + 1 + kDotSize, y + 1 + kDotSize};
    if (shadow) FillRect(dc, &shade, shadow);
    if (solid) FillRect(dc, &dot, solid);
  }
  return CDRF_SKIPDEFAULT;
}

}  // namespace tovrel
