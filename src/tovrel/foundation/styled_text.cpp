#include "tovrel/foundation/styled_text.h"

#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "common/fonts.h"
#include "tovrel/foundation/alpha_text.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/styled_markup.h"
#include "tovrel/foundation/toolkit_lock.h"

namespace tovrel {

int TextLineSpacing = 0;
int AlphaTextGuard = 0;

namespace {

constexpr UINT kMeasureFormat = DT_CALCRECT | DT_EXPANDTABS;

UINT FormatFor(int flags) {
  UINT format = DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP;
  if (!(flags & kStyledTopAligned)) {
    format |= DT_VCENTER;
    if ((flags & kStyledCentreH) && (flags & kStyledCentreV)) format |= DT_CENTER;
  }
  if (flags & kStyledEndEllipsis) format |= DT_END_ELLIPSIS;
  if (flags & kStyledPathEllipsis) format |= DT_PATH_ELLIPSIS;
  return format;
}

SIZE Measure(HDC dc, const std::string& text) {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, kMeasureFormat);
  return {r.right, r.bottom};
}

void ClearLinks() {
  ToolkitLock(TextControlMutex);
  if (TextControlRecord* control = TextControlList.Current()) control->links.Clear();
  ToolkitUnlock(TextControlMutex);
}

void RecordLink(const TextLinkRect& link) {
  ToolkitLock(TextControlMutex);
  if (TextControlRecord* control = TextControlList.Current()) control->links.Add() = link;
  ToolkitUnlock(TextControlMutex);
}

// One walk over a text's runs and codes: the fonts it made, the pen position and the
// extent so far.
class MarkupPainter {
 public:
  MarkupPainter(HDC dc, const RECT& rect, HFONT startFont, int flags, UINT format)
      : dc_(dc), rect_(rect), startFont_(startFont), flags_(flags), format_(format) {
    GetTextFaceA(dc_, LF_FACESIZE, face_);
    GetTextMetricsA(dc_, &metrics_);
    if (!GetObjectA(startFont_, sizeof(startLogFont_), &startLogFont_)) {
      startLogFont_ = LOGFONTA{};
      startLogFont_.lfHeight = metrics_.tmHeight;
      startLogFont_.lfCharSet = metrics_.tmCharSet;
      lstrcpynA(startLogFont_.lfFaceName, face_, LF_FACESIZE);
    }
    startColour_ = GetTextColor(dc_);
    startMetrics_ = metrics_;
  }
  MarkupPainter(const MarkupPainter&) = delete;
  MarkupPainter& operator=(const MarkupPainter&) = delete;
  // A walk that was not finished still gives the start font back before the made one goes.
  ~MarkupPainter() {
    if (made_) Finish(startFont_);
  }

  void Walk(const std::vector<MarkupToken>& tokens) {
    extraSpacing_ = HasLineBreak(tokens) ? TextLineSpacing : 0;
    for (const MarkupToken& token : tokens) Apply(token);
  }

  // Leaves `font` selected (the caller's own or the start font) and deletes the font made
  // last. Fonts are selected only when they change: under Wine each selection costs more
  // than drawing a short run.
  void Finish(HGDIOBJ font) {
    Select(font);
    if (made_) DeleteObject(made_);
    made_ = nullptr;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& Plain() const { return plain_; }

 private:
  void Apply(const MarkupToken& token) {
    switch (token.kind) {
      case MarkupKind::Run:
        DrawRun(token.text);
        break;
      case MarkupKind::Bold:
        metrics_.tmWeight = metrics_.tmWeight == FW_BOLD ? FW_NORMAL : FW_BOLD;
        MakeFont();
        break;
      case MarkupKind::Italic:
        metrics_.tmItalic = !metrics_.tmItalic;
        MakeFont();
        break;
      case MarkupKind::Underline:
        metrics_.tmUnderlined = !metrics_.tmUnderlined;
        MakeFont();
        break;
      case MarkupKind::StrikeOut:
        metrics_.tmStruckOut = !metrics_.tmStruckOut;
        MakeFont();
        break;
      case MarkupKind::Normal:
        metrics_ = startMetrics_;
        UseFont(startFont_);
        SetTextColor(dc_, startColour_);
        break;
      case MarkupKind::Colour:
        if (!(flags_ & kStyledKeepColour)) SetTextColor(dc_, token.value);
        break;
      case MarkupKind::LinkStart:
        linkOpen_ = true;
        linkId_ = static_cast<int32_t>(token.value);
        linkX_ = rect_.left + x_;
        linkY_ = rect_.top + y_;
        linkText_.clear();
        break;
      case MarkupKind::LinkEnd:
        EndLink();
        break;
      case MarkupKind::LineBreak:
        x_ = 0;
        y_ += lineHeight_;
        break;
    }
  }

  void Select(HGDIOBJ font) {
    if (font == current_) return;
    SelectObject(dc_, font);
    current_ = font;
  }

  // Selects `font` and deletes the font made before it, once it is no longer selected.
  void UseFont(HFONT font) {
    HFONT old = made_;
    Select(font);
    made_ = font == startFont_ ? nullptr : font;
    if (old && old != font) DeleteObject(old);
  }

  // The start font with the toggled styles; the start font itself when the toggles are
  // back where they began. Made from its own description, not from its metrics: a width
  // forced to the average character width draws bold letters spread apart, and a cell
  // height gives a smaller font than the one the text started in.
  void MakeFont() {
    if (metrics_.tmWeight == startMetrics_.tmWeight && metrics_.tmItalic == startMetrics_.tmItalic &&
        metrics_.tmUnderlined == startMetrics_.tmUnderlined && metrics_.tmStruckOut == startMetrics_.tmStruckOut) {
      UseFont(startFont_);
      return;
    }
    LOGFONTA logFont = startLogFont_;
    logFont.lfWeight = metrics_.tmWeight;
    logFont.lfItalic = metrics_.tmItalic;
    logFont.lfUnderline = metrics_.tmUnderlined;
    logFont.lfStrikeOut = metrics_.tmStruckOut;
    HFONT font = CreateFontIndirectA(&logFont);
    if (font) UseFont(font);
  }

  // A link without an opening "\l" number, or a second end, records nothing.
  void EndLink() {
    if (!linkOpen_) return;
    linkOpen_ = false;
    if (!(flags_ & kStyledRecordLinks)) return;
    SIZE size = Measure(dc_, linkText_);
    RecordLink({linkId_, linkX_, linkY_, linkX_ + size.cx, linkY_ + size.cy});
  }

  void DrawRun(const std::string& run) {
    SIZE size = Measure(dc_, run.empty() ? std::string(" ") : run);
    const int runWidth = run.empty() ? 0 : size.cx;
    lineHeight_ = size.cy + extraSpacing_;
    if (!(flags_ & kStyledMeasure) && !run.empty()) {
      RECT box{rect_.left + x_, rect_.top + y_, rect_.left + x_ + runWidth, rect_.bottom};
      std::string shown = run;
      if (box.right > rect_.right) {
        // From the first run that overflows, the rest of the call draws clipped.
        box.right = rect_.right;
        format_ &= ~DT_NOCLIP;
        if (shown.size() == 1 && (format_ & DT_END_ELLIPSIS)) shown = "...";
      }
      if (flags_ & kStyledTopAligned) box.bottom = box.top + size.cy;
      if (box.bottom > rect_.bottom) {
        box.bottom = rect_.bottom;
        format_ &= ~DT_NOCLIP;
      }
      DrawTextA(dc_, shown.c_str(), static_cast<int>(shown.size()), &box, format_);
    }
    if (flags_ & kStyledPlainText) plain_ += run;
    if (linkOpen_) linkText_ += run;
    width_ = std::max(width_, x_ + runWidth);
    height_ = std::max(height_, y_ + lineHeight_);
    x_ += runWidth;
  }

  HDC dc_;
  RECT rect_;
  HFONT startFont_;
  HFONT made_ = nullptr;
  HGDIOBJ current_ = startFont_;
  int flags_;
  UINT format_;
  char face_[LF_FACESIZE] = {};
  TEXTMETRICA metrics_{};
  TEXTMETRICA startMetrics_{};
  LOGFONTA startLogFont_{};
  COLORREF startColour_;
  int extraSpacing_ = 0;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0, lineHeight_ = 0;
  std::string plain_;
  bool linkOpen_ = false;
  int32_t linkId_ = 0, linkX_ = 0, linkY_ = 0;
  std::string linkText_;
};

void HandOverToAlphaSurface(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags) {
  if (AlphaTextGuard) return;
  AlphaTextGuard = 1;
  DrawTextOnAlphaSurface(dc, text, rect, font, flags);
  AlphaTextGuard = 0;
}

HFONT FontOf(intptr_t font) {
  if (font > 0 && font <= 0x7FFFFFFF && IsRuntimeFont(static_cast<int>(font))) {
    return RuntimeFontHandle(static_cast<int>(font));
  }
  return reinterpret_cast<HFONT>(font);
}

bool ReadLogFont(intptr_t font, LOGFONTA* logFont) {
  HFONT handle = FontOf(font);
  return handle && GetObjectType(handle) == OBJ_FONT && GetObjectA(handle, sizeof(*logFont), logFont) > 0;
}

}  // namespace

std::string DrawStyledText(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags) {
  RECT none{0, 0, 0, 0};
  if (!rect) rect = &none;
  if (flags & kStyledRecordLinks) ClearLinks();
  const UINT format = FormatFor(flags);
  HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
  HFONT startFont = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
  SetBkMode(dc, TRANSPARENT);
  const bool measure = flags & kStyledMeasure;

  if ((flags & kStyledNoMarkup) || text.find('\\') == std::string::npos) {
    UINT plainFormat = measure ? kMeasureFormat : format;
    // Clipped like a marked-up run when it overflows: text painted past the rectangle
    // would cover its neighbours and lie outside what the alpha repair covers.
    if (!measure && (plainFormat & DT_NOCLIP)) {
      SIZE size = Measure(dc, text);
      const bool tooTall = (flags & kStyledTopAligned) && rect->top + size.cy > rect->bottom;
      if (rect->left + size.cx > rect->right || tooTall) plainFormat &= ~DT_NOCLIP;
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), rect, plainFormat);
    if (previous) SelectObject(dc, previous);
    if (!measure) HandOverToAlphaSurface(dc, text, rect, font, flags);
    return (flags & kStyledPlainText) ? text : std::string();
  }

  std::string plain;
  {
    MarkupPainter painter(dc, *rect, startFont, flags, format);
    painter.Walk(ReadStyledMarkup(text));
    painter.Finish(previous ? previous : startFont);
    if (measure) *rect = {0, 0, painter.Width(), painter.Height()};
    plain = painter.Plain();
  }
  if (!measure) HandOverToAlphaSurface(dc, text, rect, font, flags);
  return plain;
}

int GetFontSizeStep(int size) {
  if (size < 10) return 8;
  const int t = size / 5;
  return 10 + 2 * (size - 5 * t) + 8 * (t - 2);
}

std::string GetFontFaceName(intptr_t font) {
  LOGFONTA logFont{};
  return ReadLogFont(font, &logFont) ? std::string(logFont.lfFaceName) : std::string();
}

int GetFontPointSize(intptr_t font) {
  LOGFONTA logFont{};
  if (!ReadLogFont(font, &logFont)) return 0;
  return MulDiv(abs(logFont.lfHeight), 72, GetScreenDpi(0));
}

int GetScreenDpi(int horizontal) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace tovrel
