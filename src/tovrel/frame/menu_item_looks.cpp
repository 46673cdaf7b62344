#include "tovrel/frame/menu_item_looks.h"

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <cmath>
#include <string>

#include "common/scoped.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

// The brushes and text colours of the WHIDBEY and Office looks. The brushes belong to the
// colour lookups, which keep one per style and index.
struct StyledColours {
  HBRUSH textArea;
  HBRUSH column;  // nullptr: the Office styles paint the column as a style background
  HBRUSH separator;
  HBRUSH frame;
  HBRUSH fill;
  COLORREF text;
  COLORREF selectedText;
  COLORREF disabledText;
};

StyledColours ColoursOf(int style) {
  // WHIDBEY has a table of its own; the Office looks take the style's colour column.
  const bool whidbey = style == UISTYLE_WHIDBEY;
  auto brush = [style, whidbey](int index) {
    return reinterpret_cast<HBRUSH>(whidbey ? LookupWhidbeyColour(style, index) : LookupUIColour(style, index, 0));
  };
  auto colour = [style, whidbey](int index) {
    return static_cast<COLORREF>(whidbey ? LookupWhidbeyColour(style, index) : LookupUIColour(style, index, 2));
  };
  StyledColours c = {};
  if (whidbey) c.column = brush(13);
  c.textArea = brush(30);
  c.separator = brush(25);
  c.frame = brush(28);
  c.fill = brush(26);
  c.text = colour(4);
  c.selectedText = colour(27);
  c.disabledText = colour(29);
  return c;
}

void Fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  if (!brush || right <= left || bottom <= top) return;
  RECT r = {left, top, right, bottom};
  FillRect(dc, &r, brush);
}

int Height(const RECT& r) { return r.bottom - r.top; }

RECT ColumnOf(const ItemPaint& p) {
  // A checked item's column is one pixel wider, so the check box has room on both sides.
  return {p.rc.left - 1, p.rc.top, p.rc.left + p.g + 1 + (p.checked ? 1 : 0), p.rc.bottom};
}

void DrawStyledBackground(const ItemPaint& p, const StyledColours& c) {
  const RECT column = ColumnOf(p);
  Fill(p.dc, column.right, p.rc.top, p.rc.right, p.rc.bottom, c.textArea);
  if (c.column)
    FillRect(p.dc, &column, c.column);
  else
    PaintStyleBackground(p.dc, p.style, 13, &column, 0x100);
}

void DrawBackground(const ItemPaint& p, const StyledColours& c) {
  if (p.style == UISTYLE_WHIDBEY || IsOfficeMenuStyle(p.style))
    DrawStyledBackground(p, c);
  else
    FillRect(p.dc, &p.rc, GetSysColorBrush(COLOR_MENU));
}

void DrawSeparatorLine(const ItemPaint& p, const StyledColours& c) {
  if (p.style == UISTYLE_WHIDBEY || IsOfficeMenuStyle(p.style)) {
    Fill(p.dc, p.rc.left + p.g + 9, p.rc.top, p.rc.right + 1, p.rc.top + 1, c.separator);
    return;
  }
  const int y = p.rc.top + Height(p.rc) / 2 - 1;
  Fill(p.dc, p.rc.left + 1, y, p.rc.right - 1, y + 1, GetSysColorBrush(COLOR_GRAYTEXT));
  Fill(p.dc, p.rc.left + 1, y + 1, p.rc.right - 1, y + 2, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

// The hot look, and the frame a disabled item gets while the keyboard moves over it.
void DrawSelection(const ItemPaint& p, const StyledColours& c) {
  const bool keyboardOnDisabled = p.disabled && p.hot && MenuKeyNavigation == 1;
  if (!p.selected && !keyboardOnDisabled) return;
  if (p.style == UISTYLE_WHIDBEY || IsOfficeMenuStyle(p.style)) {
    RECT frame = {p.rc.left, p.rc.top, p.rc.right, p.rc.bottom - 1};
    FrameRect(p.dc, &frame, c.frame);
    InflateRect(&frame, -1, -1);
    FillRect(p.dc, &frame, p.selected ? c.fill : c.textArea);
    return;
  }
  if (keyboardOnDisabled) {
    FrameRect(p.dc, &p.rc, GetSysColorBrush(COLOR_MENUHILIGHT));
  } else if (p.themed) {
    HTHEME theme = ThemeHandles[THEME_MENU];
    const RECT column = ColumnOf(p);
    UxThemeApi.drawThemeBackground(theme, p.dc, MENU_POPUPBACKGROUND, 1, &p.rc, nullptr);
    UxThemeApi.drawThemeBackground(theme, p.dc, MENU_POPUPGUTTER, 1, &column, nullptr);
    UxThemeApi.drawThemeBackground(theme, p.dc, MENU_POPUPITEM, 2, &p.rc, nullptr);
  } else {
    FillRect(p.dc, &p.rc, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
}

int ImageTop(const ItemPaint& p) { return p.rc.top + (Height(p.rc) - p.item->imageHeight) / 2 + 1; }

void DrawItemImage(const ItemPaint& p) {
  const MenuItem& item = *p.item;
  if (!item.imageList) return;
  int slot = 0;
  if (p.disabled)
    slot = 2;
  else if (p.selected && item.hotImageGiven)
    slot = 1;
  ImageList_Draw(item.imageList, slot, p.dc, p.rc.left + p.g / 2 - item.imageWidth / 2, ImageTop(p), ILD_TRANSPARENT);
}

void DrawCheckBox(const ItemPaint& p, const RECT& box) {
  if (IsOfficeMenuStyle(p.style)) {
    PaintStyleBackground(p.dc, p.style, p.selected ? 17 : 15, &box, 0x1100);
  } else if (p.style == UISTYLE_WHIDBEY) {
    const int background = p.disabled ? 18 : p.selected ? 16 : 14;
    FillRect(p.dc, &box, reinterpret_cast<HBRUSH>(LookupWhidbeyColour(p.style, background)));
    FrameRect(p.dc, &box, reinterpret_cast<HBRUSH>(LookupWhidbeyColour(p.style, background + 1)));
  }
}

// The mark of a checked item, drawn in place of its image: a radio bullet, or a box with
// the item's normal image (an image-check item, whatever its hot image) or the check glyph.
void DrawMark(const ItemPaint& p) {
  const MenuItem& item = *p.item;
  const int middleX = p.rc.left + p.g / 2;
  const int middleY = p.rc.top + Height(p.rc) / 2;
  if (item.radioFlag && !item.imageCheckMark) {
    ImageList_Draw(GlyphImageLists[GLYPH_RADIO], 0, p.dc, middleX - 3, middleY - 3, ILD_TRANSPARENT);
    return;
  }
  const RECT column = ColumnOf(p);
  const int size = item.imageWidth + 4;
  RECT box;
  box.left = column.left + (column.right - column.left - size) / 2;
  box.top = p.rc.top + (Height(p.rc) - size) / 2;
  box.right = box.left + size;
  box.bottom = box.top + size;
  DrawCheckBox(p, box);
  const UINT blend = p.disabled ? ILD_BLEND25 : ILD_NORMAL;
  if (item.imageCheckMark && item.imageList) {
    ImageList_DrawEx(item.imageList, 0, p.dc, middleX - item.imageWidth / 2, ImageTop(p) - 1, 0, 0, CLR_NONE,
                     CLR_DEFAULT, ILD_TRANSPARENT | blend);
  } else {
    ImageList_DrawEx(GlyphImageLists[GLYPH_CHECK], 0, p.dc, middleX - 4, middleY - 4, 0, 0, CLR_NONE, CLR_DEFAULT,
                     ILD_TRANSPARENT | blend);
  }
}

// One text in `rect`; classic disabled text is embossed: a light copy one pixel right and
// down under the grey one.
void DrawItemText(const ItemPaint& p, const std::string& text, RECT rect, COLORREF colour, bool embossed) {
  if (text.empty()) return;
  if (embossed) {
    RECT light = rect;
    OffsetRect(&light, 1, 1);
    SetTextColor(p.dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawStyledText(p.dc, text, &light, MenuFont, 0);
  }
  SetTextColor(p.dc, colour);
  DrawStyledText(p.dc, text, &rect, MenuFont, 0);
}

void DrawTexts(const ItemPaint& p, const StyledColours& c) {
  const bool styled = p.style == UISTYLE_WHIDBEY || IsOfficeMenuStyle(p.style);
  COLORREF colour;
  int left;
  if (styled) {
    colour = p.disabled ? c.disabledText : p.selected ? c.selectedText : c.text;
    left = p.rc.left + p.g + 9;
  } else {
    colour = p.disabled                ? GetSysColor(COLOR_GRAYTEXT)
             : p.selected && !p.themed ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                       : GetSysColor(COLOR_MENUTEXT);
    left = p.themed ? p.rc.left + p.g + 6 : p.rc.left + p.item->imageWidth + 9;
  }
  const bool embossed = !styled && p.disabled;
  // The label stops at the item's own right edge: a label the item was not measured for
  // is cut there rather than drawn over the popup's border.
  const RECT textRect = {left, p.rc.top, p.rc.right, p.rc.bottom - 1};
  const ItemTextParts parts = SplitItemText(p.item->text);
  DrawItemText(p, parts.label, textRect, colour, embossed);
  if (!parts.hasShortcut || parts.shortcut.empty()) return;
  RECT measured = textRect;
  DrawStyledText(p.dc, parts.shortcut, &measured, MenuFont, kStyledMeasure);
  const int width = measured.right - measured.left;
  const int x = p.rc.right - width - GetSystemMetrics(SM_CXMENUCHECK) - 6;
  DrawItemText(p, parts.shortcut, {x, p.rc.top, x + width, p.rc.bottom - 1}, colour, embossed);
}

// The filled black triangle of a scroll arrow item, centred in the item.
void DrawScrollArrow(const ItemPaint& p) {
  const int w = static_cast<int>(std::lround(GetSystemMetrics(SM_CXMENUCHECK) / 4.0)) * 2;
  const int h = (w + 1) / 2;
  const int x0 = p.rc.left + static_cast<int>(std::floor((p.rc.right - p.rc.left) / 2.0 - w / 2.0));
  int y0 = p.rc.top + Height(p.rc) / 2 - h / 2;
  if (IsOfficeMenuStyle(p.style) && !p.selected) --y0;
  POINT points[3];
  if (p.item->kind == -2) {
    y0 += 1;
    points[0] = {x0 + w / 2, y0};
    points[1] = {x0, y0 + h};
    points[2] = {x0 + w, y0 + h};
  } else {
    y0 -= 1;
    points[0] = {x0 + w / 2, y0 + h};
    points[1] = {x0, y0};
    points[2] = {x0 + w, y0};
  }
  ScopedSelect pen(p.dc, GetStockObject(BLACK_PEN));
  ScopedSelect brush(p.dc, GetStockObject(BLACK_BRUSH));
  Polygon(p.dc, points, 3);
}

// The submenu arrow, drawn by the system into a bitmap and copied without its white
// background. -> its rectangle in p.dc, empty when the item opens no submenu.
RECT DrawSubmenuArrow(const ItemPaint& p) {
  RECT none = {0, 0, 0, 0};
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_SUBMENU;
  if (!GetMenuItemInfoA(p.item->menuHandle, p.item->position, TRUE, &info) || !info.hSubMenu) return none;
  const int size = GetSystemMetrics(SM_CXMENUCHECK);
  ScopedMemoryDc glyphDc(CreateCompatibleDC(p.dc));
  ScopedBitmap glyph(CreateCompatibleBitmap(p.dc, size, size));
  if (!glyphDc || !glyph) return none;
  ScopedSelect selected(glyphDc.get(), glyph.get());
  RECT square = {0, 0, size, size};
  DrawFrameControl(glyphDc.get(), &square, DFC_MENU, DFCS_MENUARROW);
  const RECT arrow = {p.rc.right - size, p.rc.top + (Height(p.rc) - size) / 2, p.rc.right,
                      p.rc.top + (Height(p.rc) - size) / 2 + size};
  TransparentBlt(p.dc, arrow.left, arrow.top, size, size, glyphDc.get(), 0, 0, size, size, RGB(255, 255, 255));
  return arrow;
}

}  // namespace

bool IsOfficeMenuStyle(int style) {
  return style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2003 || style == UISTYLE_OFFICE2007;
}

bool MenuThemeUsable() {
  const bool modernControls = ComctlVersion.major > 6 || (ComctlVersion.major == 6 && ComctlVersion.minor >= 1);
  return ThemesActive && modernControls && ThemeHandles[THEME_MENU] && UxThemeApi.drawThemeBackground;
}

RECT PaintItem(const ItemPaint& p) {
  const StyledColours colours =
      IsOfficeMenuStyle(p.style) || p.style == UISTYLE_WHIDBEY ? ColoursOf(p.style) : StyledColours{};
  const MenuItem& item = *p.item;
  if (item.kind == -3) {
    ItemPaint normal = p;
    normal.selected = false;
    DrawBackground(normal, colours);
    return {0, 0, 0, 0};
  }
  DrawBackground(p, colours);
  if (item.kind < 0) {
    DrawSelection(p, colours);
    DrawScrollArrow(p);
    return {0, 0, 0, 0};
  }
  if (item.text.empty()) {
    DrawSeparatorLine(p, colours);
    return {0, 0, 0, 0};
  }
  DrawSelection(p, colours);
  if (p.checked)
    DrawMark(p);
  else
    DrawItemImage(p);
  DrawTexts(p, colours);
  return DrawSubmenuArrow(p);
}

}  // namespace tovrel
