// The task pane: records, operations, painting and pointer handling.
#include "app/exbar/exbar.h"

#include <windows.h>
#include <commctrl.h>

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "app/exbar/theme.h"
#include "common/dpi.h"
#include "common/gui.h"
#include "common/images.h"
#include "common/scoped.h"

namespace {

const COLORREF kBackground = RGB(119, 156, 229);
const COLORREF kTopLine = RGB(160, 160, 160);
const COLORREF kHeader = RGB(23, 84, 196);
const COLORREF kTitle = RGB(255, 255, 255);
const COLORREF kBody = RGB(239, 243, 255);
const COLORREF kItemText = RGB(37, 92, 195);
const COLORREF kImageKey = RGB(0, 0, 0);

LinkedListElement* g_panes = nullptr;  // of ExBar
// One flag for all panes: a layout change asks the next paint to paint once more, with
// the scroll-bar state that the first paint settled.
bool g_layoutPending = false;
ExBarClickInfo g_clickRecord;
HFONT g_fontRegular = nullptr;
HFONT g_fontBold = nullptr;
HFONT g_fontUnderlined = nullptr;

HFONT MakeFont(int height, int weight, bool underline) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
}

char* CopyText(const std::string& text) {
  char* copy = static_cast<char*>(malloc(text.size() + 1));
  if (copy) memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

void FreeGroupData(ExBarGroup* g) {
  for (LinkedListElement* e = GetFirstLinkedListElement(g->items); e; e = e->next)
    free(LinkedListRecord<ExBarItem>(e)->text);
  FreeLinkedList(g->items);
  g->items = nullptr;
  free(g->title);
  g->title = nullptr;
}

// The pane's measures are 96-DPI pixels, like the runtime's layouts; its fonts follow
// the screen's DPI, so its measures do too.
int Px(int layout) { return LayoutToScreen(layout); }

bool IsDrawnKind(const ExBarGroup* g) { return g->kind == 1 || g->kind == 2; }

HWND ScrollHandle(const ExBar* bar) { return ControlHandle(bar->scrollNumber); }

// The offset between window and content coordinates.
int ScrollOffset(const ExBar* bar) { return bar->scrollVisible ? GetScrollPos(ScrollHandle(bar), SB_CTL) : 0; }

int ScrollMaximum(const ExBar* bar) {
  SCROLLINFO si = {};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE;
  return GetScrollInfo(ScrollHandle(bar), SB_CTL, &si) ? si.nMax : 0;
}

// W': the width that is drawn, the pane less the scroll bar while that is shown.
int DrawingWidth(const ExBar* bar) { return bar->width - (bar->scrollVisible ? GetSystemMetrics(SM_CXVSCROLL) : 0); }

// A runtime image number (which is always a small positive int), or 0.
int RuntimeImageOf(intptr_t image) {
  if (image <= 0 || image > INT_MAX) return 0;
  return IsRuntimeImage(static_cast<int>(image)) ? static_cast<int>(image) : 0;
}

// Draws runtime image `number` at its own size limits: icons through DrawIconEx, bitmaps
// with black as transparent.
void DrawRuntimeImage(HDC dc, int number, int x, int y, int size) {
  HANDLE h = RuntimeImageHandle(number);
  if (!h) return;
  if (RuntimeImageIsIcon(number))
    DrawIconEx(dc, x, y, static_cast<HICON>(h), size, size, 0, nullptr, DI_NORMAL);
  else
    DrawExBarMaskedBitmap(dc, static_cast<HBITMAP>(h), x, y, size, size, kImageKey);
}

void DrawExBarBackground(const ExBar* bar, HDC dc) {
  const int width = DrawingWidth(bar);
  const int bottom = bar->height + (bar->scrollVisible ? ScrollMaximum(bar) : 0);
  RECT r = {0, 0, width, bottom};
  ScopedBrush brush(CreateSolidBrush(kBackground));
  FillRect(dc, &r, brush.get());
  ScopedPen pen(CreatePen(PS_SOLID, 1, kTopLine));
  ScopedSelect selectPen(dc, pen.get());
  ScopedSelect selectBrush(dc, brush.get());
  RoundRect(dc, 0, 0, width, 1, 0, 0);
}

void DrawExBarChevron(HDC dc, int x, int y, bool expanded) {
  // Two strokes per arm give the arrows their 2-pixel weight.
  static const int kDown[4][4] = {{9, 8, 13, 12}, {10, 8, 13, 11}, {15, 8, 11, 12}, {14, 8, 11, 11}};
  static const int kUp[4][4] = {{9, 11, 13, 7}, {10, 11, 13, 8}, {15, 11, 11, 7}, {14, 11, 11, 8}};
  const int(*segments)[4] = expanded ? kDown : kUp;
  ScopedPen pen(CreatePen(PS_SOLID, Px(1), RGB(255, 255, 255)));
  ScopedSelect select(dc, pen.get());
  for (int shift = 0; shift <= 4; shift += 4) {
    for (int i = 0; i < 4; ++i) {
      MoveToEx(dc, x + Px(segments[i][0]), y + Px(segments[i][1] + shift), nullptr);
      LineTo(dc, x + Px(segments[i][2]), y + Px(segments[i][3] + shift));
    }
  }
}

int DrawExBarGroupHeader(const ExBar* bar, HDC dc, int y, ExBarGroup* g) {
  const int width = DrawingWidth(bar);
  g->header = RECT{Px(8), y, width - Px(8), y + Px(25)};

  {
    ScopedPen pen(CreatePen(PS_SOLID, 1, kHeader));
    ScopedBrush brush(CreateSolidBrush(kHeader));
    ScopedSelect selectPen(dc, pen.get());
    ScopedSelect selectBrush(dc, brush.get());
    // Four rows taller than the band: the body covers them, so only a collapsed group
    // shows rounded lower corners.
    RoundRect(dc, Px(8), y, width - Px(8), y + Px(29), Px(10), Px(10));
  }

  SetBkMode(dc, TRANSPARENT);
  {
    ScopedSelect selectFont(dc, g_fontBold);
    // Other kinds keep whatever text colour the context last had.
    if (IsDrawnKind(g)) SetTextColor(dc, kTitle);
    RECT text = {g->header.left + Px(g->image > 0 ? 34 : 12), g->header.top + Px(6), width - Px(32), g->header.bottom};
    DrawTextA(dc, g->title ? g->title : "", -1, &text, DT_WORD_ELLIPSIS);
  }

  if (g->image > 0) {
    // The icon rises 6 pixels above the band.
    if (int number = RuntimeImageOf(g->image))
      DrawRuntimeImage(dc, number, Px(8), y - Px(6), Px(32));
    else
      DrawIconEx(dc, Px(8), y - Px(6), reinterpret_cast<HICON>(g->image), Px(32), Px(32), 0, nullptr, DI_NORMAL);
  }

  if (IsDrawnKind(g)) DrawExBarChevron(dc, width - Px(36), y + Px(1), g->collapsed == 0);
  return y + Px(25);
}

void DrawExBarItemImage(HDC dc, intptr_t image, int x, int y) {
  if (image <= 0) return;
  if (int number = RuntimeImageOf(image)) {
    // Scaled on a copy, so the caller's image keeps its size.
    intptr_t copy = CopyRuntimeImage(number, kAnyNumber);
    if (!copy) return;
    int copyNumber = static_cast<int>(copy);
    if (ResizeRuntimeImage(copyNumber, Px(16), Px(16))) DrawRuntimeImage(dc, copyNumber, x, y, Px(16));
    FreeRuntimeImage(copyNumber);
    return;
  }
  DrawIconEx(dc, x, y, reinterpret_cast<HICON>(image), Px(16), Px(16), 0, nullptr, DI_NORMAL);
}

int DrawExBarGroupItems(const ExBar* bar, HDC dc, int y, ExBarGroup* g) {
  const int width = DrawingWidth(bar);
  const int n = CountLinkedListElements(g->items);
  if (n == 0) return y;
  if (IsDrawnKind(g)) {
    RECT body = {Px(8), y, width - Px(8), y + Px(20 * n + 6)};
    ScopedBrush brush(CreateSolidBrush(kBody));
    FillRect(dc, &body, brush.get());
  }
  SetBkMode(dc, TRANSPARENT);
  int t = y;
  int k = 0;
  for (LinkedListElement* e = GetFirstLinkedListElement(g->items); e; e = e->next, ++k) {
    ExBarItem* item = LinkedListRecord<ExBarItem>(e);
    t = y + Px(6 + 20 * k);
    DrawExBarItemImage(dc, item->image, Px(16), t);
    {
      ScopedSelect selectFont(dc, item->hover == kExBarHoverHot ? g_fontUnderlined : g_fontRegular);
      SetTextColor(dc, kItemText);
      RECT text = {Px(40), t, width - Px(24), t + Px(25)};
      DrawTextA(dc, item->text ? item->text : "", -1, &text, DT_WORD_ELLIPSIS);
    }
    // The hit area reaches to the full pane width less 32, scroll bar or not.
    item->rect = RECT{Px(16), t, bar->width - Px(32), t + Px(16)};
  }
  return t + Px(25);
}

int DrawExBarGroups(const ExBar* bar, HDC dc) {
  int y = Px(8);
  for (LinkedListElement* e = GetFirstLinkedListElement(bar->groups); e; e = e->next) {
    ExBarGroup* g = LinkedListRecord<ExBarGroup>(e);
    y = DrawExBarGroupHeader(bar, dc, y, g);
    y = g->collapsed ? y + Px(5) : DrawExBarGroupItems(bar, dc, y, g);
    y += Px(10);
  }
  return y + ScrollOffset(bar);
}

void PaintExBar(HWND w) {
  ExBar* bar = FindExBar(w);
  if (!bar) return;
  ScopedWindowDc dc(w);
  ScopedMemoryDc mem(CreateCompatibleDC(dc.get()));
  const int offset = ScrollOffset(bar);
  const int width = DrawingWidth(bar);
  ScopedBitmap bitmap(CreateCompatibleBitmap(dc.get(), width, bar->height + offset));
  ScopedSelect select(mem.get(), bitmap.get());
  LayoutExBar(w, mem.get());
  BitBlt(dc.get(), 0, 0, width, bar->height, mem.get(), 0, offset, SRCCOPY);
}

// Makes an element hot or normal by whether the point is over it. True when its state
// changed: one change per pointer move, so the scan stops there.
bool UpdateHover(uint8_t* hover, RECT r, POINT pt, int offset, bool* over) {
  OffsetRect(&r, 0, -offset);
  if (PtInRect(&r, pt)) {
    *over = true;
    if (*hover == kExBarHoverHot) return false;
    *hover = kExBarHoverHot;
    return true;
  }
  if (*hover == kExBarHoverNormal) return false;
  *hover = kExBarHoverNormal;
  return true;
}

void OnMouseMove(HWND w, ExBar* bar, LPARAM lp) {
  const POINT pt = {static_cast<LONG>(LOWORD(lp)), static_cast<LONG>(HIWORD(lp))};
  const int offset = ScrollOffset(bar);
  bool over = false;
  bool changed = false;
  for (LinkedListElement* e = GetFirstLinkedListElement(bar->groups); e && !changed; e = e->next) {
    ExBarGroup* g = LinkedListRecord<ExBarGroup>(e);
    changed = UpdateHover(&g->hover, g->header, pt, offset, &over);
    if (changed || g->collapsed) continue;
    for (LinkedListElement* i = GetFirstLinkedListElement(g->items); i && !changed; i = i->next) {
      ExBarItem* item = LinkedListRecord<ExBarItem>(i);
      changed = UpdateHover(&item->hover, item->rect, pt, offset, &over);
    }
  }
  if (changed) InvalidateRect(w, nullptr, FALSE);
  // The cursor belongs to this pane only (answered on WM_SETCURSOR), not to the static
  // control class that every label of the program shares.
  bar->cursor = LoadCursor(nullptr, over ? IDC_HAND : IDC_ARROW);
  SetCursor(bar->cursor);
}

void OnClick(HWND w, ExBar* bar, LPARAM lp) {
  const POINT pt = {static_cast<LONG>(LOWORD(lp)), static_cast<LONG>(HIWORD(lp))};
  const int offset = ScrollOffset(bar);
  bool changed = false;
  int groupPos = 0;
  for (LinkedListElement* e = GetFirstLinkedListElement(bar->groups); e && !changed; e = e->next, ++groupPos) {
    ExBarGroup* g = LinkedListRecord<ExBarGroup>(e);
    RECT header = g->header;
    OffsetRect(&header, 0, -offset);
    if (PtInRect(&header, pt)) {
      g->collapsed = g->collapsed ? 0 : 1;
      changed = true;
      break;
    }
    if (g->collapsed) continue;
    int itemPos = 0;
    for (LinkedListElement* i = GetFirstLinkedListElement(g->items); i; i = i->next, ++itemPos) {
      ExBarItem* item = LinkedListRecord<ExBarItem>(i);
      RECT r = item->rect;
      OffsetRect(&r, 0, -offset);
      // Only an item the pointer made hot reports a click, so a second click without
      // moving reports nothing.
      if (!PtInRect(&r, pt) || item->hover == kExBarHoverNormal) continue;
      item->hover = kExBarHoverNormal;
      changed = true;
      g_clickRecord.group = static_cast<int16_t>(groupPos + 1);
      g_clickRecord.item = static_cast<int16_t>(itemPos + 1);
      g_clickRecord.text = item->text ? item->text : "";
      PostMessageW(w, WM_EXBAR_CLICK, static_cast<WPARAM>(groupPos + 1), reinterpret_cast<LPARAM>(&g_clickRecord));
      break;
    }
  }
  g_layoutPending = changed;
  if (changed) InvalidateRect(w, nullptr, FALSE);
}

// Drops the record of a pane whose surface is going away, with its groups.
void ForgetExBar(HWND w) {
  int pos = 0;
  for (LinkedListElement* e = GetFirstLinkedListElement(g_panes); e; e = e->next, ++pos) {
    ExBar* bar = LinkedListRecord<ExBar>(e);
    if (bar->surface != w) continue;
    for (LinkedListElement* g = GetFirstLinkedListElement(bar->groups); g; g = g->next)
      FreeGroupData(LinkedListRecord<ExBarGroup>(g));
    FreeLinkedList(bar->groups);
    DeleteLinkedListElement(g_panes, pos);
    return;
  }
}

LRESULT CALLBACK ExBarWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  switch (m) {
    case WM_PAINT:
      PaintExBar(w);
      ValidateRect(w, nullptr);
      return 0;
    case WM_MOUSEMOVE:
      if (ExBar* bar = FindExBar(w)) OnMouseMove(w, bar, lp);
      break;
    case WM_LBUTTONUP:
      if (ExBar* bar = FindExBar(w)) OnClick(w, bar, lp);
      break;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        ExBar* bar = FindExBar(w);
        if (bar && bar->cursor) {
          SetCursor(bar->cursor);
          return TRUE;
        }
      }
      break;
    case WM_NCDESTROY: {
      LRESULT r = DefSubclassProc(w, m, wp, lp);
      ForgetExBar(w);
      RemoveWindowSubclass(w, ExBarWindowProc, id);
      return r;
    }
  }
  return DefSubclassProc(w, m, wp, lp);
}

LRESULT CALLBACK ExBarScrollProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (m == SBM_SETSCROLLINFO) {
    if (ExBar* bar = FindExBarByScrollBar(w)) InvalidateRect(bar->surface, nullptr, FALSE);
  } else if (m == WM_NCDESTROY) {
    RemoveWindowSubclass(w, ExBarScrollProc, id);
  }
  return DefSubclassProc(w, m, wp, lp);
}

// One subclass of each kind per window: the id only tells them apart.
constexpr UINT_PTR kExBarSubclass = 1;

ExBar* FindPane(int pane) {
  HWND w = ControlHandle(pane);
  return w ? FindExBar(w) : nullptr;
}

}  // namespace

void InitExBar() {
  if (g_panes) return;
  LoadThemeLibrary();
  g_panes = CreateLinkedList(sizeof(ExBar));
  int dpi = 0;
  {
    ScopedWindowDc screen(nullptr);
    dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  const int height = -MulDiv(8, dpi, 72);
  g_fontRegular = MakeFont(height, FW_NORMAL, false);
  g_fontBold = MakeFont(height, FW_BOLD, false);
  g_fontUnderlined = MakeFont(height, FW_NORMAL, true);
}

int CreateExBar(int number, int x, int y, int width, int height) {
  if (!g_panes || number < kAnyNumber) return 0;
  // The pane draws in pixels; the runtime places its controls in layout units.
  const int barWidth = ScreenToLayout(GetSystemMetrics(SM_CXVSCROLL));
  intptr_t scroll = CreateScrollBar(kAnyNumber, x + width - barWidth, y, barWidth, height, 0, height, height);
  if (!scroll) return 0;
  const int scrollNumber = static_cast<int>(scroll);
  HideControl(scrollNumber, true);

  intptr_t made = CreateImageControl(number, x, y, width, number == kAnyNumber ? height + 200 : height, nullptr);
  const int surfaceNumber = number == kAnyNumber ? static_cast<int>(made) : number;
  HWND surface = made ? ControlHandle(surfaceNumber) : nullptr;
  ExBar* bar = surface ? LinkedListRecord<ExBar>(AddLinkedListElement(g_panes)) : nullptr;
  LinkedListElement* groups = bar ? CreateLinkedList(sizeof(ExBarGroup)) : nullptr;
  if (!groups) {
    if (bar) DeleteLinkedListElement(g_panes, CountLinkedListElements(g_panes) - 1);
    if (made) FreeControl(surfaceNumber);
    FreeControl(scrollNumber);
    return 0;
  }
  bar->surfaceNumber = surfaceNumber;
  bar->surface = surface;
  bar->width = LayoutToScreen(width);
  bar->height = LayoutToScreen(height);
  bar->scrollNumber = scrollNumber;
  bar->scrollVisible = 0;
  bar->groups = groups;
  bar->cursor = LoadCursor(nullptr, IDC_ARROW);
  SetWindowSubclass(surface, ExBarWindowProc, kExBarSubclass, 0);
  SetWindowSubclass(ControlHandle(scrollNumber), ExBarScrollProc, kExBarSubclass, 0);
  InvalidateRect(surface, nullptr, FALSE);
  return surfaceNumber;
}

int AddExBarGroup(int pane, const std::string& title, int collapsed, intptr_t image, int kind) {
  ExBar* bar = FindPane(pane);
  if (!bar) return 0;
  ExBarGroup* g = LinkedListRecord<ExBarGroup>(AddLinkedListElement(bar->groups));
  if (!g) return 0;
  g->title = CopyText(title);
  g->items = CreateLinkedList(sizeof(ExBarItem));
  if (!g->title || !g->items) {
    FreeGroupData(g);
    DeleteLinkedListElement(bar->groups, CountLinkedListElements(bar->groups) - 1);
    return 0;
  }
  g->kind = static_cast<int8_t>(kind);
  g->collapsed = collapsed ? 1 : 0;
  g->hover = kExBarHoverNormal;
  g->image = image;
  return CountLinkedListElements(bar->groups);
}

int AddExBarItem(int pane, int group, const std::string& text, intptr_t image) {
  ExBar* bar = FindPane(pane);
  ExBarGroup* g = bar ? FindExBarGroup(bar->surface, group) : nullptr;
  if (!g) return 0;
  ExBarItem* item = LinkedListRecord<ExBarItem>(AddLinkedListElement(g->items));
  if (!item) return 0;
  item->text = CopyText(text);
  if (!item->text) {
    DeleteLinkedListElement(g->items, CountLinkedListElements(g->items) - 1);
    return 0;
  }
  item->image = image;
  item->hover = kExBarHoverNormal;
  return 1;
}

int DeleteExBarGroup(int pane, int group) {
  ExBar* bar = FindPane(pane);
  ExBarGroup* g = bar ? FindExBarGroup(bar->surface, group) : nullptr;
  if (!g) return 0;
  FreeGroupData(g);
  return DeleteLinkedListElement(bar->groups, group);
}

int ResizeExBar(int pane, int y, int height) {
  ExBar* bar = FindPane(pane);
  if (!bar) return 0;
  if (LayoutToScreen(height) == bar->height) return 1;
  bar->height = LayoutToScreen(height);
  ResizeControl(bar->surfaceNumber, kKeepValue, y, kKeepValue, height);
  ResizeControl(bar->scrollNumber, kKeepValue, y, kKeepValue, height);
  g_layoutPending = true;
  InvalidateRect(bar->surface, nullptr, FALSE);
  return 1;
}

int16_t GetExBarWheelSteps() {
  const short delta = static_cast<short>(HIWORD(EventWParam()));
  return static_cast<int16_t>(-(delta / WHEEL_DELTA));
}

ExBar* FindExBar(HWND surface) {
  if (!surface) return nullptr;
  for (LinkedListElement* e = GetFirstLinkedListElement(g_panes); e; e = e->next) {
    ExBar* bar = LinkedListRecord<ExBar>(e);
    if (bar->surface == surface) return bar;
  }
  return nullptr;
}

ExBarGroup* FindExBarGroup(HWND surface, int group) {
  ExBar* bar = FindExBar(surface);
  return bar ? LinkedListRecord<ExBarGroup>(GetLinkedListElement(bar->groups, group)) : nullptr;
}

ExBar* FindExBarByScrollBar(HWND scrollBar) {
  if (!scrollBar) return nullptr;
  for (LinkedListElement* e = GetFirstLinkedListElement(g_panes); e; e = e->next) {
    ExBar* bar = LinkedListRecord<ExBar>(e);
    if (ScrollHandle(bar) == scrollBar) return bar;
  }
  return nullptr;
}

const ExBarClickInfo& ExBarClickRecord() { return g_clickRecord; }

int LayoutExBar(HWND surface, HDC dc) {
  ExBar* bar = FindExBar(surface);
  if (!bar) return 0;
  DrawExBarBackground(bar, dc);
  const int content = DrawExBarGroups(bar, dc);
  const uint8_t wasVisible = bar->scrollVisible;
  if (content > bar->height) {
    HideControl(bar->scrollNumber, false);
    bar->scrollVisible = 1;
    // The position is kept: the pane stays where the user scrolled it.
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = content - GetScrollPos(ScrollHandle(bar), SB_CTL);
    si.nPage = static_cast<UINT>(bar->height);
    SetScrollInfo(ScrollHandle(bar), SB_CTL, &si, TRUE);
  } else {
    HideControl(bar->scrollNumber, true);
    bar->scrollVisible = 0;
  }
  // This paint was drawn with the old scroll-bar state; when that state changed, the
  // follow-up paint draws the pane with the new width and offset.
  if (g_layoutPending || wasVisible != bar->scrollVisible) {
    g_layoutPending = false;
    PostMessageW(surface, WM_PAINT, 0, 0);
  }
  return content;
}

void DrawExBarMaskedBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, COLORREF key) {
  // The key colour must be matched on colour alone, but a 32-bit bitmap's alpha byte
  // takes part in the comparison with the background colour. A 24-bit copy leaves it out
  // (and reads as key colour wherever the bitmap is smaller than w x h).
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ScopedBitmap plain(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!plain) return;
  ScopedMemoryDc sourceOwner(CreateCompatibleDC(dc));
  HDC source = sourceOwner.get();
  ScopedSelect selectSource(source, plain.get());
  {
    ScopedMemoryDc original(CreateCompatibleDC(dc));
    ScopedSelect selectOriginal(original.get(), bitmap);
    BitBlt(source, 0, 0, w, h, original.get(), 0, 0, SRCCOPY);
  }

  ScopedMemoryDc maskOwner(CreateCompatibleDC(dc));
  ScopedMemoryDc colourOwner(CreateCompatibleDC(dc));
  HDC maskDc = maskOwner.get();
  HDC colourDc = colourOwner.get();
  ScopedBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  ScopedBitmap colour(CreateCompatibleBitmap(dc, w, h));
  ScopedSelect selectMask(maskDc, mask.get());
  ScopedSelect selectColour(colourDc, colour.get());

  // Mask: white where the bitmap has the key colour.
  COLORREF oldBack = SetBkColor(source, key);
  BitBlt(maskDc, 0, 0, w, h, source, 0, 0, SRCCOPY);
  SetBkColor(source, oldBack);
  // Destination turns white where the bitmap has its own pixels...
  BitBlt(colourDc, 0, 0, w, h, maskDc, 0, 0, SRCCOPY);
  BitBlt(dc, x, y, w, h, colourDc, 0, 0, MERGEPAINT);
  // ...the bitmap turns white where it has the key colour...
  BitBlt(maskDc, 0, 0, w, h, maskDc, 0, 0, NOTSRCCOPY);
  BitBlt(colourDc, 0, 0, w, h, source, 0, 0, SRCCOPY);
  BitBlt(colourDc, 0, 0, w, h, maskDc, 0, 0, MERGEPAINT);
  // ...and AND-ing the two leaves the destination where the key was, the bitmap elsewhere.
  BitBlt(dc, x, y, w, h, colourDc, 0, 0, SRCAND);
}
