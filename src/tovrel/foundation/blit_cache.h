// The bitmaps style backgrounds are painted into once and copied from afterwards: one
// cache per colour index of the OFFICE2003 and OFFICE2007 tables, plus a short list of
// caches for callers that alternate between sizes. Used on the GUI thread only.
#ifndef ZK_TOVREL_FOUNDATION_BLIT_CACHE_H
#define ZK_TOVREL_FOUNDATION_BLIT_CACHE_H

#include <windows.h>

#include <stdint.h>
#include <vector>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

// A memory DC with its bitmap selected; dc 0 = empty (never built, freed, or its creation
// failed), and then the other fields are 0 too.
struct BlitCache {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  // When the entry last served a request; the least recently used of a full list is the
  // one rebuilt.
  uint64_t lastUse = 0;
};

struct StyleBlitCaches {
  BlitCache first;
  std::vector<BlitCache> sizes;
};

// Indexed like the colour tables.
extern StyleBlitCaches Office2003BlitCaches[kUIColourIndexCount];
extern StyleBlitCaches Office2007BlitCaches[kUIColourIndexCount];

// How a cache may serve a smaller request, the low part of PaintStyleBackground's flags.
constexpr int kBlitFitSameWidth = 0x100;
constexpr int kBlitFitSameHeight = 0x1000;
constexpr int kBlitFitMask = kBlitFitSameWidth | kBlitFitSameHeight;
// Keeps a list of caches, one per size, instead of the single one.
constexpr int kBlitSeveralSizes = 0x10000;
// Callers alternate between few sizes; a caller that walks through many sizes would
// otherwise grow the list (and the bitmaps it holds) without end.
constexpr int kMaxBlitSizeEntries = 8;

// Whether a cache of cw x ch serves a request of w x h: fit 0 takes any larger cache in
// single mode and only the same size in several-sizes mode; kBlitFitSameWidth needs the
// same width, kBlitFitSameHeight the same height, both together the same size.
bool BlitCacheServes(int fit, bool severalSizes, int cw, int ch, int w, int h);

// Which entry of a several-sizes list serves w x h: the first that serves as it is; else,
// for a same-width (same-height) fit, the first of that width (height) that is too small,
// rebuilt; else the first empty entry; else a new entry while the list is below
// kMaxBlitSizeEntries; else the least recently used, rebuilt. entry == entries.size()
// means "append one".
struct BlitEntryChoice {
  size_t entry;
  bool rebuild;
};
BlitEntryChoice ChooseBlitEntry(const std::vector<BlitCache>& entries, int fit, int w, int h);

// Replaces the cache's bitmap by a w x h 32-bit DIB section in a DC compatible with
// `target` (the target may be a monochrome or palette DC: the cache keeps full colour
// either way). On failure the cache is left empty and false is returned.
bool BuildBlitCache(BlitCache& cache, HDC target, int w, int h);

// Deletes the cache's DC and bitmap and sets its fields to 0.
void FreeBlitCache(BlitCache& cache);

// Frees every cache of both tables. List entries stay, empty, and are built again on
// their next use. Answers 0.
int FreeBlitCaches();

}  // namespace tovrel

#endif
