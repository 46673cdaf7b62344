#include "tovrel/foundation/style_backgrounds.h"

#include <stdint.h>
#include <string>

#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/gdiplus_api.h"
#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

namespace {

// Tiles flipped at each end; within the filled rectangles it is a plain linear gradient.
constexpr int kWrapModeTileFlipX = 1;

// Orders cache uses, for the least-recently-used choice of a full size list.
uint64_t gUseClock = 0;

GpArgb TableColour(int tableStyle, int index) { return static_cast<GpArgb>(LookupUIColour(tableStyle, index, 1)); }

// A graphics object on the cache DC; everything drawn through it is deleted with it.
class GradientPainter {
 public:
  explicit GradientPainter(HDC dc) {
    if (LoadGdiPlus() && GdiPlusApi.gdipCreateFromHDC && GdiPlusApi.gdipCreateLineBrushI &&
        GdiPlusApi.gdipFillRectangleI && GdiPlusApi.gdipDeleteBrush && GdiPlusApi.gdipDeleteGraphics)
      GdiPlusApi.gdipCreateFromHDC(dc, &graphics_);
  }
  ~GradientPainter() {
    if (graphics_) GdiPlusApi.gdipDeleteGraphics(graphics_);
  }
  GradientPainter(const GradientPainter&) = delete;
  GradientPainter& operator=(const GradientPainter&) = delete;

  // From `from` at (x1, y1) to `to` at (x2, y2), filled into (x, y, width, height). Two
  // equal points (a rectangle one pixel high) make no brush, and then nothing is drawn.
  void Linear(int x1, int y1, GpArgb from, int x2, int y2, GpArgb to, int x, int y, int width, int height) {
    if (!graphics_ || width <= 0 || height <= 0) return;
    GpPoint p1{x1, y1}, p2{x2, y2};
    GpBrush* brush = nullptr;
    if (GdiPlusApi.gdipCreateLineBrushI(&p1, &p2, from, to, kWrapModeTileFlipX, &brush) != 0 || !brush) return;
    GdiPlusApi.gdipFillRectangleI(graphics_, brush, x, y, width, height);
    GdiPlusApi.gdipDeleteBrush(brush);
  }

  void Solid(GpArgb colour, int x, int y, int width, int height) {
    if (!graphics_ || !GdiPlusApi.gdipCreateSolidFill || width <= 0 || height <= 0) return;
    GpBrush* brush = nullptr;
    if (GdiPlusApi.gdipCreateSolidFill(colour, &brush) != 0 || !brush) return;
    GdiPlusApi.gdipFillRectangleI(graphics_, brush, x, y, width, height);
    GdiPlusApi.gdipDeleteBrush(brush);
  }

 private:
  GpGraphics* graphics_ = nullptr;
};

void PaintVertical(HDC dc, int tableStyle, int top, int bottom, int w, int h) {
  GradientPainter(dc).Linear(0, 0, TableColour(tableStyle, top), 0, h - 1, TableColour(tableStyle, bottom), 0, 0, w, h);
}

// The check-box frames take their brushes from the style of the call: the menu that is
// current while a tool bar paints may be of another style, or there may be none.
void PaintFrame(HDC dc, int tableStyle, int frame, int inside, int w, int h) {
  RECT whole = {0, 0, w, h};
  FrameRect(dc, &whole, reinterpret_cast<HBRUSH>(LookupUIColour(tableStyle, frame, 0)));
  RECT inner = {1, 1, w - 1, h - 1};
  if (inner.right > inner.left && inner.bottom > inner.top)
    FillRect(dc, &inner, reinterpret_cast<HBRUSH>(LookupUIColour(tableStyle, inside, 0)));
}

// Paints the background of an index into the top-left w x h of a DC. Gradients need the
// graphics library: without it only the frames (indexes 15 and 17) are painted.
void PaintBackground(HDC dc, int tableStyle, int index, int w, int h) {
  auto c = [tableStyle](int i) { return TableColour(tableStyle, i); };
  switch (index) {
    case 6:
      PaintVertical(dc, tableStyle, 6, 7, w, h);
      break;
    case 10:
      PaintVertical(dc, tableStyle, 10, 11, w, h);
      break;
    case 13: {
      GradientPainter painter(dc);
      painter.Linear(0, 0, c(21), w / 2 - 1, 0, c(22), 0, 0, w / 2, h);
      painter.Linear(w / 2, 0, c(23), w - 1, 0, c(24), w / 2, 0, w / 2 + 1, h);
      break;
    }
    case 15:
      PaintFrame(dc, tableStyle, 15, 14, w, h);
      break;
    case 17:
      PaintFrame(dc, tableStyle, 17, 16, w, h);
      break;
    case 33: {
      GradientPainter painter(dc);
      painter.Linear(0, 0, c(33), 0, h / 2, c(34), 0, 0, w, h / 2 + 1);
      painter.Linear(0, h / 2 + 1, c(35), 0, h - 2, c(36), 0, h / 2 + 1, w, h / 2 - 1);
      painter.Solid(c(41), 0, h - 1, w, 1);
      break;
    }
    case 44:
      PaintVertical(dc, tableStyle, 44, 45, w, h);
      break;
    case 52:
      PaintVertical(dc, tableStyle, 52, 53, w, h);
      break;
    default:
      break;
  }
}

const char* StyleName(int tableStyle) {
  return tableStyle == UISTYLE_OFFICE2007 ? "#UISTYLE_OFFICE2007" : "#UISTYLE_OFFICE2003";
}

// Builds the cache at w x h and paints it. A cache whose creation failed stays empty, so
// the next request tries again; nothing is logged for it.
bool Rebuild(BlitCache& cache, HDC target, int tableStyle, int index, int w, int h) {
  if (!BuildBlitCache(cache, target, w, h)) return false;
  PaintBackground(cache.dc, tableStyle, index, w, h);
  WriteDebugLog(std::string("Created new ") + StyleName(tableStyle) + " blitCache: " + std::to_string(index) +
                " Width: " + std::to_string(w) + " Height: " + std::to_string(h));
  return true;
}

BlitCache* SingleCache(StyleBlitCaches& caches, HDC target, int tableStyle, int index, int fit, int w, int h) {
  BlitCache& cache = caches.first;
  if (cache.dc && BlitCacheServes(fit, false, cache.width, cache.height, w, h)) return &cache;
  return Rebuild(cache, target, tableStyle, index, w, h) ? &cache : nullptr;
}

BlitCache* SizeCache(StyleBlitCaches& caches, HDC target, int tableStyle, int index, int fit, int w, int h) {
  BlitEntryChoice choice = ChooseBlitEntry(caches.sizes, fit, w, h);
  if (choice.entry == caches.sizes.size()) caches.sizes.emplace_back();
  BlitCache& cache = caches.sizes[choice.entry];
  cache.lastUse = ++gUseClock;
  if (!choice.rebuild) return &cache;
  return Rebuild(cache, target, tableStyle, index, w, h) ? &cache : nullptr;
}

}  // namespace

int PaintStyleBackground(HDC dc, int style, int index, const RECT* rect, int flags) {
  int tableStyle = 0;
  StyleBlitCaches* table = nullptr;
  if (style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2003) {
    tableStyle = UISTYLE_OFFICE2003_MENU;
    table = Office2003BlitCaches;
  } else if (style == UISTYLE_OFFICE2007) {
    tableStyle = UISTYLE_OFFICE2007;
    table = Office2007BlitCaches;
  }
  if (!table || !rect || index < 0 || index >= kUIColourIndexCount) return 0;
  const int w = rect->right - rect->left;
  const int h = rect->bottom - rect->top;
  if (w <= 0 || h <= 0) return 0;

  const int fit = flags & kBlitFitMask;
  BlitCache* cache = (flags & kBlitSeveralSizes) ? SizeCache(table[index], dc, tableStyle, index, fit, w, h)
                                                 : SingleCache(table[index], dc, tableStyle, index, fit, w, h);
  // Only the top-left w x h of a larger cache is copied.
  if (cache) BitBlt(dc, rect->left, rect->top, w, h, cache->dc, 0, 0, SRCCOPY);
  return 0;
}

}  // namespace tovrel
