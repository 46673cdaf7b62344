// The frame and background of a popup window in its menu's look: the system's frame with
// a themed inner ring (plain), a two-pixel ring in a one-pixel border (WHIDBEY), or the
// toolkit's own thin frame (Office); in the styled looks a title's drop-down stays open
// where it meets the title.
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_placement_rules.h"
#include "tovrel/frame/popup_window_parts.h"

namespace tovrel {

namespace {

constexpr int kImageMarginPart = 13;
constexpr int kBorderColour = 12;
constexpr int kBarColour = 13;
constexpr int kBackgroundColour = 30;
constexpr int kCacheFitFlags = 0x100;

struct FrameContext {
  HWND window;
  const Menu* menu;
  int style;
  PopupLook look;
  int w, h;
  int g;  // width of the image margin
};

HBRUSH StyleBrush(const FrameContext& c, int index) {
  return reinterpret_cast<HBRUSH>(c.look == PopupLook::kWhidbey ? LookupWhidbeyColour(c.style, index)
                                                                : LookupUIColour(c.style, index, 0));
}

void Fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  const RECT r = {left, top, right, bottom};
  if (brush && right > left && bottom > top) FillRect(dc, &r, brush);
}

void Frame(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  const RECT r = {left, top, right, bottom};
  if (brush) FrameRect(dc, &r, brush);
}

bool CacheUsable(const Menu* menu) {
  return menu && menu->backgroundDC && menu->backgroundWidth != 0 && menu->backgroundWidth == menu->shownWidth &&
         menu->backgroundHeight == menu->shownHeight;
}

// The item images' width of the popup's own items.
int ImageWidthOf(const Menu* menu) {
  for (const MenuItem& item : MenuItemList)
    if (item.menu == menu && item.imageWidth > 0) return item.imageWidth;
  return MenuImageWidth;
}

FrameContext ContextOf(HWND window, const PopupWindow* record) {
  FrameContext c = {};
  c.window = window;
  c.menu = PopupMenuOf(record);
  c.style = c.menu ? c.menu->uiStyle : -1;
  c.look = c.menu ? PopupLookOf(c.style) : PopupLook::kOther;
  RECT r = {};
  GetWindowRect(window, &r);
  c.w = r.right - r.left;
  c.h = r.bottom - r.top;
  c.g = ImageWidthOf(c.menu) + MenuTextGap + (c.style == UISTYLE_OFFICE2007 ? 2 : 0);
  return c;
}

void PaintTitleJoint(HDC dc, const FrameContext& c, bool print) {
  if (!FirstPopupWindow) FirstPopupWindow = c.window;
  if (c.window != FirstPopupWindow) return;
  const RECT row = TitleJointRow(c.look, TitleWidth, DropDownShiftX, DropDownTop == -1, c.h, print);
  HBRUSH brush = c.look == PopupLook::kWhidbey ? StyleBrush(c, kBarColour) : StyleBrush(c, kBackgroundColour);
  Fill(dc, row.left, row.top, row.right, row.bottom, brush);
}

void EraseBackground(HDC dc, const FrameContext& c) {
  if (CacheUsable(c.menu)) {
    BitBlt(dc, 0, 0, c.menu->backgroundWidth, c.menu->backgroundHeight, c.menu->backgroundDC, 0, 0, SRCCOPY);
    return;
  }
  switch (c.look) {
    case PopupLook::kWhidbey:
      Fill(dc, c.g + 1, 0, c.w, c.h, StyleBrush(c, kBackgroundColour));
      Fill(dc, 0, 0, c.g + 1, c.h, StyleBrush(c, kBarColour));
      return;
    case PopupLook::kOffice: {
      const RECT margin = {0, 0, c.g + 2, c.h - 4};
      PaintStyleBackground(dc, c.style, kImageMarginPart, &margin, kCacheFitFlags);
      Fill(dc, c.g + 2, 0, c.w - 2, c.h - 4, StyleBrush(c, kBackgroundColour));
      return;
    }
    default:
      Fill(dc, 0, 0, c.w, c.h, GetSysColorBrush(COLOR_MENU));
  }
}

// The ring inside the system's frame in the theme's popup colour, where the common
// controls draw themed popups. A theme without that colour leaves the menu colour.
void PaintPlainRing(HDC dc, const FrameContext& c) {
  const bool modern = ComctlVersion.major > 6 || (ComctlVersion.major == 6 && ComctlVersion.minor >= 1);
  if (ThemesActive != 1 || !modern) return;
  COLORREF colour = GetSysColor(COLOR_MENU);
  HTHEME theme = ThemeHandles[THEME_MENU];
  COLORREF themed = 0;
  if (theme && UxThemeApi.getThemeColor &&
      SUCCEEDED(UxThemeApi.getThemeColor(theme, MENU_POPUPBACKGROUND, 1, TMT_FILLCOLORHINT, &themed)))
    colour = themed;
  HBRUSH brush = CreateSolidBrush(colour);
  Fill(dc, 1, 1, c.w - 1, 3, brush);
  Fill(dc, 1, c.h - 3, c.w - 1, c.h - 1, brush);
  Fill(dc, 1, 3, 3, c.h - 3, brush);
  Fill(dc, c.w - 3, 3, c.w - 1, c.h - 3, brush);
  DeleteObject(brush);
}

void PaintWhidbeyFrame(HDC dc, const FrameContext& c, bool print) {
  Frame(dc, 1, 1, c.w - 1, c.h - 1, StyleBrush(c, kBackgroundColour));
  BitBlt(dc, 0, 2, c.w, 1, dc, 0, 1, SRCCOPY);
  BitBlt(dc, 2, 0, 1, c.h, dc, 1, 0, SRCCOPY);
  BitBlt(dc, 0, c.h - 3, c.w, 1, dc, 0, c.h - 2, SRCCOPY);
  BitBlt(dc, c.w - 3, 0, 1, c.h, dc, c.w - 2, 0, SRCCOPY);
  HBRUSH border = StyleBrush(c, kBorderColour);
  HBRUSH own = nullptr;
  if (print && ToolbarDropDownOpen == 1 && MenuBarWindow && IsWindow(MenuBarWindow)) {
    // A tool bar's drop-down takes its border from the bar's own pixels under the button.
    POINT at = {TitleScreenLeft, TitleScreenBottom - 5};
    ScreenToClient(MenuBarWindow, &at);
    HDC barDc = GetDC(MenuBarWindow);
    own = CreateSolidBrush(GetPixel(barDc, at.x, at.y));
    ReleaseDC(MenuBarWindow, barDc);
    border = own;
  }
  Frame(dc, 0, 0, c.w, c.h, border);
  if (own) DeleteObject(own);
  PaintTitleJoint(dc, c, print);
}

void PaintOfficeNonClient(HDC dc, const FrameContext& c) {
  HBRUSH background = StyleBrush(c, kBackgroundColour);
  Frame(dc, 1, 1, c.w - 1, 2, background);
  Frame(dc, 1, c.h - 2, c.w - 1, c.h - 1, background);
  Frame(dc, 0, 0, c.w, c.h, StyleBrush(c, kBorderColour));
  PaintTitleJoint(dc, c, false);
}

void PrintOfficeFrame(HDC dc, const FrameContext& c) {
  const RECT marginRow = {1, 2, c.g + 3, 3};
  PaintStyleBackground(dc, c.style, kImageMarginPart, &marginRow, kCacheFitFlags);
  if (CacheUsable(c.menu)) {
    BitBlt(dc, 1, 3, 2, c.menu->backgroundHeight, c.menu->backgroundDC, 0, 0, SRCCOPY);
  } else {
    const RECT marginEdge = {1, 3, 3, c.h - 3};
    PaintStyleBackground(dc, c.style, kImageMarginPart, &marginEdge, 0);
  }
  HBRUSH background = StyleBrush(c, kBackgroundColour);
  Fill(dc, c.g + 3, 2, c.w, 3, background);
  Frame(dc, 0, 1, c.w - 1, c.h - 1, background);
  BitBlt(dc, 0, c.h - 3, c.w, 1, dc, 0, 2, SRCCOPY);
  BitBlt(dc, c.w - 3, 0, 2, c.h, dc, c.w - 5, 0, SRCCOPY);
  HBRUSH border =
      ToolbarDropDownOpen == 1 && ToolbarDropDownBorder ? ToolbarDropDownBorder : StyleBrush(c, kBorderColour);
  Frame(dc, 0, 0, c.w, c.h, border);
  PaintTitleJoint(dc, c, true);
}

// The frame over what the system painted first (WM_NCPAINT and WM_PRINT of the plain and
// WHIDBEY looks, WM_PRINT of the Office looks).
LRESULT PaintOverSystemFrame(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT previous = PassPopupMessage(window, message, wParam, lParam);
  const bool print = message == WM_PRINT;
  HDC dc = print ? reinterpret_cast<HDC>(wParam) : GetWindowDC(window);
  if (!dc) return previous;
  {
    MenuMutexScope lock;
    const FrameContext c = ContextOf(window, PopupRecordOf(window));
    if (c.look == PopupLook::kPlain) PaintPlainRing(dc, c);
    if (c.look == PopupLook::kWhidbey) PaintWhidbeyFrame(dc, c, print);
    if (c.look == PopupLook::kOffice) PrintOfficeFrame(dc, c);
  }
  if (!print) ReleaseDC(window, dc);
  return previous;
}

// The Office looks draw no system frame: 1 pixel left and right, 2 top and bottom.
void ReserveOfficeBorder(RECT& r) {
  r.left += 1;
  r.top += 2;
  r.right -= 1;
  r.bottom -= 2;
}

}  // namespace

bool PopupFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  PopupLook look = PopupLook::kOther;
  {
    MenuMutexScope lock;
    look = PopupLookOf(PopupStyleOf(PopupRecordOf(window)));
  }
  if (look == PopupLook::kOther) return false;
  const bool office = look == PopupLook::kOffice;
  switch (message) {
    case WM_CREATE:
      if (!office) return false;
      // The class procedure must see WM_CREATE, or the popup neither knows its menu nor
      // draws its items; the frame styles go afterwards.
      result = PassPopupMessage(window, message, wParam, lParam);
      SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) & ~(WS_BORDER | WS_DLGFRAME));
      SetWindowLongPtrA(window, GWL_EXSTYLE,
                        GetWindowLongPtrA(window, GWL_EXSTYLE) & ~(WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
      return true;
    case WM_NCCALCSIZE:
      if (!office) return false;
      result = 0;
      if (!lParam) return true;
      if (wParam) {
        ReserveOfficeBorder(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]);
        result = WVR_HREDRAW | WVR_VREDRAW;
      } else {
        ReserveOfficeBorder(*reinterpret_cast<RECT*>(lParam));
      }
      return true;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      MenuMutexScope lock;
      if (dc) EraseBackground(dc, ContextOf(window, PopupRecordOf(window)));
      result = 0;
      return true;
    }
    case WM_NCPAINT:
      if (office) {
        HDC dc = GetWindowDC(window);
        if (dc) {
          MenuMutexScope lock;
          PaintOfficeNonClient(dc, ContextOf(window, PopupRecordOf(window)));
        }
        if (dc) ReleaseDC(window, dc);
        result = 0;
        return true;
      }
      result = PaintOverSystemFrame(window, message, wParam, lParam);
      return true;
    case WM_PRINT:
      result = PaintOverSystemFrame(window, message, wParam, lParam);
      return true;
  }
  return false;
}

}  // namespace tovrel
