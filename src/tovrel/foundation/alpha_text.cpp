#include "tovrel/foundation/alpha_text.h"

#include <stdint.h>

#include <algorithm>
#include <vector>

#include "common/image_pixels.h"
#include "common/images.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_lock.h"

namespace tovrel {

int AlphaScratchImage = 0;
int AlphaLimitRight = 0;
int AlphaLimitBottom = 0;
HRGN AlphaClipRegion = nullptr;
int LastBackgroundAlpha = 0;
int SavedAlphaImage = 0;

namespace {

// The mask reaches this many pixels left of the text rectangle, for glyphs that overhang
// their start (italics).
constexpr int kMaskLeftMargin = 2;

// The rectangles of AlphaClipRegion, read once per hand-over, so that the filter tests a
// pixel without a GDI call for each one; the answer is PtInRegion's. Only valid while
// `region` is the current AlphaClipRegion: a region set by anyone else is asked directly.
struct ClipRects {
  HRGN region = nullptr;
  std::vector<RECT> rects;
};
ClipRects clipRects;

void ReadClipRects(HRGN region) {
  clipRects.region = nullptr;
  clipRects.rects.clear();
  DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return;
  std::vector<char> data(size);
  RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
  if (GetRegionData(region, size, rgn) != size) return;
  size_t count = std::min<size_t>(rgn->rdh.nCount, (size - rgn->rdh.dwSize) / sizeof(RECT));
  const RECT* first = reinterpret_cast<const RECT*>(data.data() + rgn->rdh.dwSize);
  clipRects.rects.assign(first, first + count);
  clipRects.region = region;
}

bool InClipRegion(int x, int y) {
  if (!AlphaClipRegion) return false;
  if (clipRects.region != AlphaClipRegion) return PtInRegion(AlphaClipRegion, x, y) != 0;
  for (const RECT& r : clipRects.rects) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

// The PanelEx paint buffer the DC draws into, or 0.
int FindPaintBuffer(HDC dc) {
  HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  if (!bitmap) return 0;
  int buffer = 0;
  ToolkitLock(PanelExMutex);
  if (!PanelExList.Empty() && !PanelExPageList.Empty()) {
    SavedCurrent<PanelExRecord> keepPanel(PanelExList);
    SavedCurrent<PanelExPageRecord> keepPage(PanelExPageList);
    PanelExRecord* record = PanelExList.Find(
        [bitmap](const PanelExRecord& r) { return r.bufferImage != 0 && RuntimeImageHandle(r.bufferImage) == bitmap; });
    if (record) buffer = record->bufferImage;
  }
  ToolkitUnlock(PanelExMutex);
  return buffer;
}

// The rectangle in the buffer's pixels: logical coordinates less the DC's window origin.
RECT DeviceRect(HDC dc, const RECT& rect) {
  POINT origin = {0, 0};
  GetWindowOrgEx(dc, &origin);
  RECT r = rect;
  OffsetRect(&r, -origin.x, -origin.y);
  return r;
}

// The mask's DC lives as long as the mask: making a DC costs more than the rest of a
// hand-over together.
HDC gMaskDc = nullptr;

// A mask at least width x height with its DC in *dc, or 0 when none can be made.
int ScratchImage(int width, int height, HDC* dc) {
  if (!AlphaScratchImage || RuntimeImageWidth(AlphaScratchImage) < width ||
      RuntimeImageHeight(AlphaScratchImage) < height) {
    StopRuntimeImageDrawing(gMaskDc);
    gMaskDc = nullptr;
    if (AlphaScratchImage) FreeRuntimeImage(AlphaScratchImage);
    AlphaScratchImage = int(CreateRuntimeImage(kAnyNumber, width, height, 0));
  }
  if (AlphaScratchImage && !gMaskDc) gMaskDc = StartRuntimeImageDrawing(AlphaScratchImage);
  *dc = gMaskDc;
  return gMaskDc ? AlphaScratchImage : 0;
}

}  // namespace

int DrawTextOnAlphaSurface(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags) {
  if (!dc || !rect) return 0;
  int buffer = FindPaintBuffer(dc);
  if (!buffer) return 0;
  // In 64 bits: the sides of a rectangle spanning most of the coordinate range do not fit
  // an int, and no mask could be made for them anyway.
  int64_t w64 = int64_t(rect->right) - rect->left, h64 = int64_t(rect->bottom) - rect->top;
  if (w64 <= 0 || h64 <= 0 || w64 > INT32_MAX - kMaskLeftMargin || h64 > INT32_MAX) return 0;
  int w = int(w64), h = int(h64);
  RECT r = DeviceRect(dc, *rect);
  r.left -= kMaskLeftMargin;

  // The mask's text rectangle has the caller's size, so that alignment, wrapping and
  // ellipses put every glyph where the caller's call put it; the margin lies left of it.
  int maskWidth = w + kMaskLeftMargin;
  HDC maskDc = nullptr;
  int mask = ScratchImage(maskWidth, h, &maskDc);
  if (!mask) return 0;
  FillRuntimeImage(mask, 0, 0, maskWidth, h, 0xFF000000);
  SetTextColor(maskDc, RGB(255, 255, 255));
  SetBkMode(maskDc, TRANSPARENT);
  RECT maskRect = {kMaskLeftMargin, 0, maskWidth, h};
  // Without a font of its own the text is drawn in the caller's DC's font, so that the
  // mask gets the same glyphs; the caller's font is not left in the mask's DC, where it
  // could not be deleted.
  DrawStyledText(maskDc, text, &maskRect, font ? font : static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)),
                 flags | 0x100);
  GdiFlush();

  AlphaLimitRight = r.left + maskWidth;
  AlphaLimitBottom = r.top + h;
  AlphaClipRegion = CreateRectRgnIndirect(&r);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  if (AlphaClipRegion && clip && GetClipRgn(dc, clip) == 1) {
    DeleteObject(AlphaClipRegion);
    AlphaClipRegion = clip;
    clip = nullptr;
  }
  if (clip) DeleteObject(clip);
  if (AlphaClipRegion) {
    ReadClipRects(AlphaClipRegion);
    DrawRuntimeImage(mask, buffer, r.left, r.top, ImageDrawMode::kFilter, AlphaInRegionFilter);
    clipRects.region = nullptr;
    DeleteObject(AlphaClipRegion);
    AlphaClipRegion = nullptr;
  }
  return 0;
}

uint32_t AlphaInRegionFilter(int x, int y, uint32_t source, uint32_t target) {
  uint32_t a = target >> 24;
  if (x < AlphaLimitRight && y < AlphaLimitBottom && InClipRegion(x, y)) {
    uint32_t sa = source >> 24;
    if (sa == 255) LastBackgroundAlpha = int(a);
    uint32_t t = source & 0xFF;
    uint32_t last = uint32_t(LastBackgroundAlpha);
    a = ((255 - t) * last + t * 255) / 255;
    // Text over a transparent background stays a little see-through.
    if (sa == 0 && last == 0) a = t * 255 / 355;
  }
  return (target & 0x00FFFFFF) | (a << 24);
}

int RestoreSurfaceAlpha(HDC dc, RECT* rect) {
  if (!dc || !rect) return 0;
  int buffer = FindPaintBuffer(dc);
  if (!buffer) return 0;
  RECT r = DeviceRect(dc, *rect);
  if (!SavedAlphaImage) {
    // A new image is opaque black: its alpha is what the second call writes. An empty or
    // impossible size makes none, and the second call then finds nothing to write.
    int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return 0;
    SavedAlphaImage = int(CreateRuntimeImage(kAnyNumber, int(w), int(h), RGB(0, 0, 0)));
    return 0;
  }
  DrawRuntimeImage(SavedAlphaImage, buffer, r.left, r.top, ImageDrawMode::kAlphaOnly);
  FreeRuntimeImage(SavedAlphaImage);
  SavedAlphaImage = 0;
  return 0;
}

}  // namespace tovrel
