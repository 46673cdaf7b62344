#include "tovrel/foundation/blit_cache.h"

#include <stdint.h>

#include "common/image_pixels.h"

namespace tovrel {

StyleBlitCaches Office2003BlitCaches[kUIColourIndexCount];
StyleBlitCaches Office2007BlitCaches[kUIColourIndexCount];

bool BlitCacheServes(int fit, bool severalSizes, int cw, int ch, int w, int h) {
  switch (fit & kBlitFitMask) {
    case kBlitFitSameWidth:
      return cw == w && ch >= h;
    case kBlitFitSameHeight:
      return ch == h && cw >= w;
    case kBlitFitMask:
      return cw == w && ch == h;
    default:
      return severalSizes ? cw == w && ch == h : cw >= w && ch >= h;
  }
}

BlitEntryChoice ChooseBlitEntry(const std::vector<BlitCache>& entries, int fit, int w, int h) {
  fit &= kBlitFitMask;
  for (size_t i = 0; i < entries.size(); ++i) {
    const BlitCache& e = entries[i];
    if (e.dc && BlitCacheServes(fit, true, e.width, e.height, w, h)) return {i, false};
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const BlitCache& e = entries[i];
    if (!e.dc) continue;
    if ((fit == kBlitFitSameWidth && e.width == w && e.height < h) ||
        (fit == kBlitFitSameHeight && e.height == h && e.width < w))
      return {i, true};
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].dc) return {i, true};
  }
  if (entries.size() < static_cast<size_t>(kMaxBlitSizeEntries)) return {entries.size(), true};
  size_t oldest = 0;
  for (size_t i = 1; i < entries.size(); ++i) {
    if (entries[i].lastUse < entries[oldest].lastUse) oldest = i;
  }
  return {oldest, true};
}

void FreeBlitCache(BlitCache& cache) {
  // The DC goes first: GDI does not delete a bitmap that is still selected.
  if (cache.dc) DeleteDC(cache.dc);
  if (cache.bitmap) DeleteObject(cache.bitmap);
  cache.dc = nullptr;
  cache.bitmap = nullptr;
  cache.width = 0;
  cache.height = 0;
}

bool BuildBlitCache(BlitCache& cache, HDC target, int w, int h) {
  FreeBlitCache(cache);
  if (w <= 0 || h <= 0) return false;
  HDC dc = CreateCompatibleDC(target);
  if (!dc) return false;
  // A DIB section rather than a bitmap compatible with the DC: a fresh memory DC holds a
  // 1 x 1 monochrome bitmap, and a target DC may itself be monochrome.
  uint32_t* bits = nullptr;
  HBITMAP bitmap = CreatePixelBitmap(w, h, &bits);
  if (!bitmap || !SelectObject(dc, bitmap)) {
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    return false;
  }
  cache.dc = dc;
  cache.bitmap = bitmap;
  cache.width = w;
  cache.height = h;
  return true;
}

int FreeBlitCaches() {
  for (StyleBlitCaches* table : {Office2003BlitCaches, Office2007BlitCaches}) {
    for (int i = 0; i < kUIColourIndexCount; ++i) {
      FreeBlitCache(table[i].first);
      for (BlitCache& entry : table[i].sizes) FreeBlitCache(entry);
    }
  }
  return 0;
}

}  // namespace tovrel
