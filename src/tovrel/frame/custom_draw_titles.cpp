// Menu-bar titles in every menu style, the line that joins a pressed title to its open
// drop-down, and the shadows the pair casts.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <string>

#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/custom_draw_parts.h"
#include "tovrel/frame/drop_shadows.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

constexpr int kTitleText = 0;
constexpr int kTitleHotText = 1;
constexpr int kTitleHeldText = 2;
constexpr int kTitleInactiveText = 3;
constexpr int kMenuHotColour = 5;
constexpr int kMenuHotGradient = 6;
constexpr int kMenuHotBorder = 8;
constexpr int kMenuHeldColour = 9;
constexpr int kMenuHeldGradient = 10;
constexpr int kMenuHeldGradientEnd = 11;
constexpr int kMenuHeldBorder = 12;
constexpr int kMenuDropShadow = 20;
constexpr int kShadow = 5;  // thickness of every shadow strip
constexpr UINT kTitleFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

bool IsStyle6Or2007(int style) { return style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2007; }

// The table painters and lookups read for a menu style: menus keep OFFICE2003 as 6.
int PaintStyleOf(int style) { return style == UISTYLE_OFFICE2003_MENU ? UISTYLE_OFFICE2003 : style; }

// A colour of the style's table as a GDI colour.
COLORREF TitleColour(int style, int index) {
  if (style == UISTYLE_WHIDBEY) return static_cast<COLORREF>(LookupWhidbeyColour(style, index));
  return static_cast<COLORREF>(LookupUIColour(style, index, 2));
}

HBRUSH TitleBrush(int style, int index) {
  if (style == UISTYLE_WHIDBEY) return reinterpret_cast<HBRUSH>(LookupWhidbeyColour(style, index));
  return reinterpret_cast<HBRUSH>(LookupUIColour(style, index, 0));
}

// The row where the title meets its drop-down, as far as the two overlap.
RECT JoinLine(const RECT& rc) {
  RECT line = rc;
  if (DropDownTop == -1) {
    line.bottom = rc.top + 1;
  } else {
    line.top = rc.bottom - 1;
  }
  if (DropDownLeft > TitleScreenLeft) {
    line.left = rc.left + DropDownLeft - TitleScreenLeft;
    line.right = line.left + TitleWidth + TitleScreenLeft - DropDownLeft - 1;
  } else if (DropDownLeft + DropDownWidth < TitleScreenLeft + TitleWidth) {
    line.left = rc.left + 1;
    line.right = rc.left + DropDownLeft + DropDownWidth - TitleScreenLeft;
  } else {
    line.left = rc.left + 1;
    line.right = rc.right - 1;
  }
  return line;
}

void FillJoinLine(HDC dc, const RECT& rc, HBRUSH brush) {
  const RECT line = JoinLine(rc);
  if (brush && line.right > line.left) FillRect(dc, &line, brush);
}

void DrawTitleText(HDC dc, const std::string& text, RECT rect, COLORREF colour) {
  SetTextColor(dc, colour);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, kTitleFormat);
}

}  // namespace

void CastTitleShadows(HWND bar, const RECT& rc, int style) {
  // One pair per title: a repaint of the open title replaces the pair it cast before.
  DestroyMenuTitleShadow(bar, rc.left, rc.top);
  if (SystemDropShadow != 1) return;
  const uint32_t stored = style == UISTYLE_WHIDBEY ? static_cast<uint32_t>(LookupWhidbeyColour(style, kMenuDropShadow))
                                                   : static_cast<uint32_t>(LookupUIColour(style, kMenuDropShadow, 1));
  const uint32_t colour = ColourAToC(stored);
  const int intensity = static_cast<int>(stored >> 24);
  POINT topLeft = {rc.left, rc.top};
  POINT bottomRight = {rc.right, rc.bottom};
  ClientToScreen(bar, &topLeft);
  ClientToScreen(bar, &bottomRight);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  HWND right = nullptr;
  HWND bottom = nullptr;
  if (DropDownTop == -1) {
    right = CreateDropShadow(bottomRight.x, topLeft.y - 1, kShadow, height + 1, colour, intensity, 0x1001);
    bottom = CreateDropShadow(topLeft.x + 4, bottomRight.y, width, kShadow, colour, intensity, 0);
  } else {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromPoint(POINT{DropDownLeft, topLeft.y + 4}, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int extra = 0;
    if (bottomRight.x > work.right) {
      bottom =
          CreateDropShadow(work.right, bottomRight.y, bottomRight.x - work.right + 4, kShadow, colour, intensity, 2);
      extra = 1;
    } else if (topLeft.x < DropDownLeft) {
      bottom =
          CreateDropShadow(topLeft.x + 4, bottomRight.y, DropDownLeft - topLeft.x - 4, kShadow, colour, intensity, 1);
    }
    right =
        CreateDropShadow(bottomRight.x, topLeft.y + 4, kShadow, height - kShadow + extra, colour, intensity, 0x1001);
  }
  if (!right && !bottom) return;
  MenuTitleShadow& shadow = MenuTitleShadowList.Add();
  shadow.rightShadow = right;
  shadow.bottomShadow = bottom;
  shadow.barWindow = bar;
  shadow.titleLeft = rc.left;
  shadow.titleTop = rc.top;
}

LRESULT PaintMenuTitle(const CustomDrawItem& item, const Menu& title) {
  HDC dc = item.draw.hdc;
  RECT rc = item.draw.rc;
  const int style = title.uiStyle;
  const bool hot = (item.draw.uItemState & CDIS_HOT) != 0;
  const bool open = title.openFlag != 0;

  char buffer[512] = {};
  LRESULT length = SendMessageA(item.window, TB_GETBUTTONTEXTA, item.draw.dwItemSpec, reinterpret_cast<LPARAM>(buffer));
  const std::string text(buffer, length > 0 && length < static_cast<LRESULT>(sizeof(buffer)) ? length : 0);
  HGDIOBJ oldFont = MenuFont ? SelectObject(dc, MenuFont) : nullptr;
  SetBkMode(dc, TRANSPARENT);

  RECT textRect = rc;
  if (style >= 0 && style <= 4 && IsToolbarWindow(item.window)) {
    // A control that reports no text rectangle leaves the whole button to the text.
    const NMTBCUSTOMDRAW& toolbarDraw = reinterpret_cast<const NMTBCUSTOMDRAW&>(item.draw);
    if (toolbarDraw.rcText.right > 0) textRect.right = rc.left + toolbarDraw.rcText.right;
  }

  if (!hot) {
    DestroyMenuTitleShadow(item.window, rc.left, rc.top);
    const bool inactive = title.inactiveFlag != 0;
    COLORREF colour = GetSysColor(COLOR_MENUTEXT);
    if (style == 0 || style == 1) {
      if (inactive) colour = GetSysColor(COLOR_GRAYTEXT);
    } else if (style == UISTYLE_WHIDBEY || IsStyle6Or2007(style)) {
      colour = TitleColour(style, inactive ? kTitleInactiveText : kTitleText);
      if (style == UISTYLE_WHIDBEY) textRect.right -= 4;
    }
    DrawTitleText(dc, text, textRect, colour);
  } else if (style == 0 || style == 2) {
    rc.bottom -= 1;
    textRect.bottom = rc.bottom;
    if (style == 0 && ThemesActive && ThemeHandles[THEME_TOOLBAR] && UxThemeApi.drawThemeBackground) {
      UxThemeApi.drawThemeBackground(ThemeHandles[THEME_TOOLBAR], dc, TP_BUTTON, open ? 3 : 2, &rc, nullptr);
    } else {
      FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(dc, &rc, open ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      if (open) OffsetRect(&textRect, 1, 1);
    }
    DrawTitleText(dc, text, textRect, GetSysColor(COLOR_MENUTEXT));
  } else if (style == 1) {
    rc.bottom -= 1;
    textRect.bottom = rc.bottom;
    FillRect(dc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
    DrawTitleText(dc, text, textRect, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else if (style == 3 || style == 4) {
    rc.bottom -= 1;
    textRect.bottom = rc.bottom;
    const bool sunken = style == 4 && open;
    DrawEdge(dc, &rc, sunken ? EDGE_SUNKEN : EDGE_ETCHED, BF_RECT);
    if (sunken) OffsetRect(&textRect, 1, 1);
    DrawTitleText(dc, text, textRect, GetSysColor(COLOR_MENUTEXT));
  } else if (style == UISTYLE_WHIDBEY) {
    rc.bottom -= 1;
    rc.right -= 4;
    FillRect(dc, &rc, TitleBrush(style, open ? kMenuHeldColour : kMenuHotColour));
    FrameRect(dc, &rc, TitleBrush(style, open ? kMenuHeldBorder : kMenuHotBorder));
    if (open) {
      FillJoinLine(dc, rc, TitleBrush(style, kMenuHeldColour));
      CastTitleShadows(item.window, rc, style);
    }
    RECT whidbeyText = rc;
    whidbeyText.bottom += 1;
    DrawTitleText(dc, text, whidbeyText, TitleColour(style, open ? kTitleHeldText : kTitleHotText));
  } else if (IsStyle6Or2007(style)) {
    RECT inside = {rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    if (open) {
      FrameRect(dc, &rc, TitleBrush(style, kMenuHeldBorder));
      FillJoinLine(dc, rc, TitleBrush(style, kMenuHeldGradientEnd));
      PaintStyleBackground(dc, PaintStyleOf(style), kMenuHeldGradient, &inside, 0x1000);
      CastTitleShadows(item.window, rc, style);
    } else {
      PaintStyleBackground(dc, PaintStyleOf(style), kMenuHotGradient, &inside, 0x1000);
      FrameRect(dc, &rc, TitleBrush(style, kMenuHotBorder));
    }
    DrawTitleText(dc, text, textRect, TitleColour(style, open ? kTitleHeldText : kTitleHotText));
  } else {
    DrawTitleText(dc, text, textRect, GetSysColor(COLOR_MENUTEXT));
  }

  if (oldFont) SelectObject(dc, oldFont);
  return CDRF_SKIPDEFAULT;
}

}  // namespace tovrel
