// Tool-bar buttons drawn by the toolkit: separators of unstyled bars, themed buttons,
// gradient buttons of the OFFICE styles and the buttons of image-only bars.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <string>

#include "common/scoped.h"
#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/gdiplus_api.h"
#include "tovrel/foundation/image_effects.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/custom_draw_parts.h"
#include "tovrel/frame/drop_shadows.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

constexpr int kArrowPart = 13;  // width of a split button's arrow part
constexpr int kSeparatorBar = 25;
constexpr int kMenuHotBorder = 8;
constexpr int kMenuHeldBorder = 12;
constexpr int kStickyBorder = 48;
constexpr int kButtonText = 49;
constexpr int kButtonHotText = 50;
constexpr int kButtonDisabledText = 51;
constexpr int kToolbarSeparator = 54;
constexpr int kToolbarSeparatorShadow = 55;
constexpr int kWrapModeTileFlipX = 1;

// The button behind an item and its record; the record is nullptr for a button that is
// none of ours.
struct ItemButton {
  int index = -1;
  TBBUTTON button = {};
  const ToolbarButton* record = nullptr;
};

ItemButton ButtonOf(const CustomDrawItem& item) {
  ItemButton b;
  b.index = static_cast<int>(SendMessageA(item.window, TB_COMMANDTOINDEX, item.draw.dwItemSpec, 0));
  if (b.index < 0 || !SendMessageA(item.window, TB_GETBUTTON, b.index, reinterpret_cast<LPARAM>(&b.button))) {
    b.index = -1;
    return b;
  }
  const ToolbarButton* record = reinterpret_cast<const ToolbarButton*>(b.button.dwData);
  if (record && ToolbarButtonList.Contains(record)) b.record = record;
  return b;
}

ButtonKind KindOf(const TBBUTTON& button) {
  if (button.fsStyle & BTNS_WHOLEDROPDOWN) return ButtonKind::kWholeDropDown;
  if (button.fsStyle & BTNS_DROPDOWN) return ButtonKind::kSplitDropDown;
  return ButtonKind::kPlain;
}

bool IsSeparator(const ItemButton& b) { return b.record && b.record->separator == 1; }

bool ToolbarThemeReady() { return ThemesActive && ThemeHandles[THEME_TOOLBAR] && UxThemeApi.drawThemeBackground; }

void DrawThemePart(HDC dc, int part, int state, const RECT& rc) {
  UxThemeApi.drawThemeBackground(ThemeHandles[THEME_TOOLBAR], dc, part, state, &rc, nullptr);
}

HFONT MakeMenuFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
  return CreateFontIndirectA(&metrics.lfMenuFont);
}

// Where a button's image and text go, the same for themed and gradient buttons.
struct ButtonFace {
  int imageWidth = 0;
  int imageHeight = 0;
  POINT image = {};
  std::string controlText;  // what the control shows: the plain text
  int textWidth = 0;
  int textHeight = 0;
  RECT text = {};
};

ButtonFace LayOutFace(const CustomDrawItem& item, const RECT& rc, ButtonKind kind) {
  ButtonFace face;
  if (HIMAGELIST list = item.toolbar->normalImages) {
    int w = 0, h = 0;
    ImageList_GetIconSize(list, &w, &h);
    face.imageWidth = w;
    face.imageHeight = h;
  }
  char text[512] = {};
  LRESULT length = SendMessageA(item.window, TB_GETBUTTONTEXTA, item.draw.dwItemSpec, reinterpret_cast<LPARAM>(text));
  if (length > 0) face.controlText.assign(text, std::min<size_t>(static_cast<size_t>(length), sizeof(text) - 1));
  if (!face.controlText.empty()) {
    RECT measured = {0, 0, 0, 0};
    DrawTextA(item.draw.hdc, face.controlText.c_str(), static_cast<int>(face.controlText.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE);
    face.textWidth = measured.right - measured.left;
    face.textHeight = measured.bottom - measured.top;
  }
  const bool hasText = face.textWidth > 0;
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  // The control's own style word: Wine's tool bar keeps TBSTYLE_LIST there and lays its
  // buttons out by it, while the window style does not show it.
  if (SendMessageA(item.window, TB_GETSTYLE, 0, 0) & TBSTYLE_LIST) {
    face.image = {rc.left + 3, rc.top + 3 + (hasText ? 0 : 1)};
    const int top = rc.top + height / 2 - (face.textHeight + 2) / 2;
    face.text = {rc.left + face.imageWidth, top, rc.right, top + face.textHeight + 2};
  } else {
    face.image.x = rc.left + width / 2 - face.imageWidth / 2;
    // Rounded up: the image sits one pixel lower when image and text leave an odd pixel.
    const int stack = face.imageHeight + face.textHeight + 2;
    face.image.y = rc.top + (height - stack + 1) / 2 + 1;
    if (height - stack + 1 < 0) face.image.y = rc.top + (height - stack) / 2 + 1;
    const int top = face.image.y + face.imageHeight + 2 - 1;
    face.text = {rc.left, top, rc.right, top + face.textHeight + 2};
  }
  if (kind == ButtonKind::kWholeDropDown) {
    face.image.x -= hasText ? 4 : 3;
  } else if (kind == ButtonKind::kSplitDropDown) {
    if (hasText) {
      face.image.x = rc.left + (width - 11) / 2 - face.imageWidth / 2;
      face.text.right -= 11;
    } else {
      face.image.x -= 5;
    }
  }
  return face;
}

// The image by state, and the text of the record (with its markup) centred in the text
// rectangle. `textColour` is a GDI colour.
void DrawFace(const CustomDrawItem& item, const ItemButton& b, const ButtonFace& face, COLORREF textColour,
              HFONT font) {
  HDC dc = item.draw.hdc;
  const bool disabled = IsDisabledItem(item.draw.uItemState);
  const ButtonState state = ButtonStateOf(item.draw.uItemState);
  HIMAGELIST list = item.toolbar->normalImages;
  int x = face.image.x;
  if (disabled) {
    list = item.toolbar->disabledImages;
  } else if (state == ButtonState::kPressed || state == ButtonState::kChecked || state == ButtonState::kHotChecked ||
             state == ButtonState::kPressedChecked) {
    x += 1;
  } else if (state == ButtonState::kHot) {
    list = item.toolbar->hotImages;
  }
  if (list && b.index >= 0 && b.index < ImageList_GetImageCount(list))
    ImageList_Draw(list, b.index, dc, x, face.image.y, ILD_TRANSPARENT);

  if (face.textWidth <= 0) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColour);
  RECT text = face.text;
  text.left += std::max(0, static_cast<int>(face.text.right - face.text.left) - face.textWidth) / 2;
  text.right = text.left + face.textWidth;
  const std::string& shown = b.record ? b.record->text : face.controlText;
  DrawStyledText(dc, shown, &text, font,
                 kStyledCentreV | (disabled ? kStyledKeepColour : 0) | (b.record ? 0 : kStyledNoMarkup));
}

void FrameWith(HDC dc, const RECT& rc, int style, int index) {
  if (HBRUSH brush = reinterpret_cast<HBRUSH>(LookupUIColour(style, index, 0))) FrameRect(dc, &rc, brush);
}

GpArgb GradientColour(int style, int index) {
  const uint32_t stored = static_cast<uint32_t>(LookupUIColour(style, index, 1));
  return IsAColour(stored) ? stored : ColourCToA(stored);
}

// Fills the button's gradient; the brush runs over the button's own rows, so a button in
// a second row is filled like one in the first.
void FillGradient(HDC dc, const RECT& rc, GpArgb from, GpArgb to) {
  const int top = rc.top + 1;
  const int height = rc.bottom - rc.top - 2;
  if (height <= 0 || !LoadGdiPlus() || !GdiPlusApi.gdipCreateFromHDC || !GdiPlusApi.gdipCreateLineBrushI ||
      !GdiPlusApi.gdipFillRectangleI || !GdiPlusApi.gdipDeleteBrush || !GdiPlusApi.gdipDeleteGraphics)
    return;
  GpGraphics* graphics = nullptr;
  if (GdiPlusApi.gdipCreateFromHDC(dc, &graphics) != 0 || !graphics) return;
  GpPoint p1{0, top}, p2{0, rc.bottom - 2};
  if (p2.y == p1.y) p2.y = p1.y + 1;
  GpBrush* brush = nullptr;
  if (GdiPlusApi.gdipCreateLineBrushI(&p1, &p2, from, to, kWrapModeTileFlipX, &brush) == 0 && brush) {
    GdiPlusApi.gdipFillRectangleI(graphics, brush, rc.left, top, rc.right - rc.left, height);
    GdiPlusApi.gdipDeleteBrush(brush);
  }
  GdiPlusApi.gdipDeleteGraphics(graphics);
}

// The gradient pair by state; false for states without a gradient.
bool GradientPair(ButtonState state, ButtonKind kind, int* first, int* second) {
  switch (state) {
    case ButtonState::kHot:
      if (ToolbarDropDownOpen == 1) {
        *first = 10;
        *second = 11;
      } else {
        *first = 52;
        *second = 53;
      }
      return true;
    case ButtonState::kPressed:
      if (kind == ButtonKind::kWholeDropDown) {
        *first = 10;
        *second = 11;
      } else {
        *first = 44;
        *second = 45;
      }
      return true;
    case ButtonState::kChecked:
      *first = 46;
      *second = 47;
      return true;
    case ButtonState::kHotChecked:
    case ButtonState::kPressedChecked:
      *first = 44;
      *second = 45;
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT PaintUnstyledSeparator(const CustomDrawItem& item) {
  const ItemButton b = ButtonOf(item);
  if (!IsSeparator(b)) return -1;
  HDC dc = item.draw.hdc;
  const RECT& rc = item.draw.rc;
  if (ToolbarThemeReady()) {
    DrawThemePart(dc, TP_SEPARATOR, 1, rc);
    return CDRF_SKIPDEFAULT;
  }
  const int mid = rc.left + (rc.right - rc.left) / 2;
  RECT dark = {mid - 1, rc.top + 3, mid, rc.bottom - 4};
  if (HBRUSH bar = reinterpret_cast<HBRUSH>(LookupWhidbeyColour(UISTYLE_WHIDBEY, kSeparatorBar)))
    FillRect(dc, &dark, bar);
  RECT light = {mid, rc.top + 4, mid + 1, rc.bottom - 3};
  ScopedBrush white(CreateSolidBrush(RGB(255, 255, 255)));
  if (white) FillRect(dc, &light, white.get());
  return CDRF_SKIPDEFAULT;
}

LRESULT PaintThemedButton(const CustomDrawItem& item) {
  if (!ToolbarThemeReady() || item.style >= 6 || item.toolbar->uiStyle == kToolbarImageOnly) return -1;
  const ItemButton b = ButtonOf(item);
  if (b.index < 0) return -1;
  HDC dc = item.draw.hdc;
  const RECT& rc = item.draw.rc;
  const ButtonKind kind = KindOf(b.button);
  const ButtonState state = ButtonStateOf(item.draw.uItemState);
  const bool disabled = IsDisabledItem(item.draw.uItemState);
  if (kind == ButtonKind::kSplitDropDown) {
    int button = 1, arrow = 1;
    if (state == ButtonState::kHot) {
      button = 2;
      arrow = ToolbarDropDownOpen == 1 ? 3 : 2;
    } else if (disabled) {
      button = arrow = 4;
    } else if (state == ButtonState::kPressed) {
      button = arrow = 3;
    }
    RECT left = rc, right = rc;
    left.right -= kArrowPart;
    right.left = left.right;
    DrawThemePart(dc, TP_SPLITBUTTON, button, left);
    DrawThemePart(dc, TP_SPLITBUTTONDROPDOWN, arrow, right);
  } else {
    int part = 0;
    switch (state) {
      case ButtonState::kHot:
        part = 2;
        break;
      case ButtonState::kPressed:
      case ButtonState::kPressedChecked:
        part = 3;
        break;
      case ButtonState::kChecked:
        part = 5;
        break;
      case ButtonState::kHotChecked:
        part = 6;
        break;
      default:
        break;
    }
    if (part) DrawThemePart(dc, TP_BUTTON, part, rc);
  }

  ScopedFont font(MakeMenuFont());
  ScopedSelect selected(dc, font.get());
  const ButtonFace face = LayOutFace(item, rc, kind);
  if (kind == ButtonKind::kWholeDropDown) {
    RECT arrow = {face.image.x + face.imageWidth, rc.top, face.image.x + face.imageWidth + kArrowPart, rc.bottom};
    arrow.right = std::min(arrow.right, rc.right);
    DrawThemePart(dc, TP_SPLITBUTTONDROPDOWN, disabled ? 4 : 1, arrow);
  }
  DrawFace(item, b, face, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT), font.get());
  return CDRF_SKIPDEFAULT;
}

LRESULT PaintGradientButton(const CustomDrawItem& item) {
  if (!IsOfficeStyle(item.style)) return -1;
  const ItemButton b = ButtonOf(item);
  if (b.index < 0) return -1;
  HDC dc = item.draw.hdc;
  RECT rc = item.draw.rc;
  if (IsSeparator(b)) {
    const int mid = rc.left + (rc.right - rc.left) / 2;
    RECT dark = {mid - 1, rc.top + 5, mid, rc.bottom - 6};
    RECT light = {mid, rc.top + 6, mid + 1, rc.bottom - 5};
    FillRect(dc, &dark, reinterpret_cast<HBRUSH>(LookupUIColour(item.style, kToolbarSeparator, 0)));
    FillRect(dc, &light, reinterpret_cast<HBRUSH>(LookupUIColour(item.style, kToolbarSeparatorShadow, 0)));
    return CDRF_SKIPDEFAULT;
  }

  const ButtonKind kind = KindOf(b.button);
  const ButtonState state = ButtonStateOf(item.draw.uItemState);
  const bool disabled = IsDisabledItem(item.draw.uItemState);
  const int ownStyle = item.toolbar->uiStyle;
  if (IsOfficeStyle(ownStyle)) {
    rc.top += 1;
    rc.bottom -= 2;
  }
  int first = 0, second = 0;
  const bool gradient = GradientPair(state, kind, &first, &second);
  const bool dropDown = kind != ButtonKind::kPlain;
  if (gradient) {
    FillGradient(dc, rc, GradientColour(item.style, first), GradientColour(item.style, second));
    int border = kMenuHotBorder;
    if (dropDown && ToolbarDropDownOpen == 1) {
      border = kMenuHeldBorder;
      CastTitleShadows(item.window, rc, item.style);
    } else if (!dropDown && (item.draw.uItemState & CDIS_CHECKED)) {
      border = kStickyBorder;
    }
    FrameWith(dc, rc, item.style, border);
  } else if (dropDown) {
    DestroyMenuTitleShadow(item.window, rc.left, rc.top);
  }

  ScopedFont font(MakeMenuFont());
  ScopedSelect selected(dc, font.get());
  const ButtonFace face = LayOutFace(item, rc, kind);
  const int textIndex = disabled ? kButtonDisabledText : state == ButtonState::kHot ? kButtonHotText : kButtonText;
  DrawFace(item, b, face, static_cast<COLORREF>(LookupUIColour(ownStyle, textIndex, 2)), font.get());

  const COLORREF arrowColour =
      disabled ? static_cast<COLORREF>(LookupUIColour(ownStyle, kButtonDisabledText, 2)) : RGB(0, 0, 0);
  // Arrow heights count from the top of the button's own row.
  const int rowTop = item.draw.rc.top;
  const int half = (rc.bottom - rc.top) / 2;
  if (kind == ButtonKind::kWholeDropDown) {
    if (face.textWidth > 0)
      DrawArrowGlyph(dc, face.image.x + face.imageWidth + 4, rowTop + half - 8, 5, 3, arrowColour);
    else
      DrawArrowGlyph(dc, rc.right - 8, rowTop + half + 1, 5, 3, arrowColour);
  } else if (kind == ButtonKind::kSplitDropDown) {
    const int stack = face.imageHeight + face.textHeight + 2;
    DrawArrowGlyph(dc, rc.right - 9, face.image.y + (stack + 1) / 2 - 2, 5, 3, arrowColour);
    if (gradient && ToolbarDropDownOpen != 1) {
      RECT arrowPart = {rc.right - kArrowPart, rc.top, rc.right, rc.bottom};
      FrameWith(dc, arrowPart, item.style, kMenuHotBorder);
    }
  }
  return CDRF_SKIPDEFAULT;
}

LRESULT PaintImageOnlyButton(const CustomDrawItem& item) {
  if (item.toolbar->uiStyle != kToolbarImageOnly) return -1;
  const ItemButton b = ButtonOf(item);
  HIMAGELIST list = item.toolbar->normalImages;
  switch (ButtonStateOf(item.draw.uItemState)) {
    case ButtonState::kHot:
      list = item.toolbar->hotImages;
      break;
    case ButtonState::kPressed:
    case ButtonState::kChecked:
    case ButtonState::kHotChecked:
    case ButtonState::kPressedChecked:
      list = item.toolbar->disabledImages;
      break;
    default:
      break;
  }
  if (list && b.index >= 0 && b.index < ImageList_GetImageCount(list))
    ImageList_Draw(list, b.index, item.draw.hdc, item.draw.rc.left, item.draw.rc.top, ILD_TRANSPARENT);
  return CDRF_SKIPDEFAULT;
}

}  // namespace tovrel
