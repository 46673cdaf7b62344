// Shadow windows: each shows one strip cut from a cached strip image, so that the many
// strips of one colour and intensity are rendered once.
#include "tovrel/frame/drop_shadows.h"

#include <algorithm>
#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_lock.h"

namespace tovrel {

ShadowStripCache ShadowStripCaches[2];

namespace {

const char kDropShadowClassName[] = "Tovrel_DropShadow";

constexpr int kFadeStartOnly = 1;
constexpr int kFadeEndOnly = 2;
constexpr int kNoFade = 4;
constexpr int kFreeCaches = 8;
constexpr int kVertical = 0x1000;

bool RegisterShadowClass() {
  static ATOM atom = 0;
  if (atom) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &DropShadowWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kDropShadowClassName;
  atom = RegisterClassExA(&wc);
  // Another module of the process may have registered it first; its windows work the same.
  if (!atom && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kDropShadowClassName, &existing)) return true;
  }
  return atom != 0;
}

// 32-bit pixels in a DIB section, so that the alpha survives whatever the screen's depth.
HBITMAP MakeAlphaBitmap(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void FreeCache(ShadowStripCache& cache) {
  if (cache.dc) DeleteDC(cache.dc);
  if (cache.bitmap) DeleteObject(cache.bitmap);
  cache = ShadowStripCache{};
}

uint32_t PremultipliedPixel(uint32_t colour, int alpha) {
  const uint32_t red = (colour & 0xFF) * alpha / 255;
  const uint32_t green = (colour >> 8 & 0xFF) * alpha / 255;
  const uint32_t blue = (colour >> 16 & 0xFF) * alpha / 255;
  return static_cast<uint32_t>(alpha) << 24 | red << 16 | green << 8 | blue;
}

// Renders the cache at exactly this thickness and length: full intensity along the
// middle, fading over the first and last `thickness` positions, and across the strip from
// darkest next to the popup to nothing at the outer edge.
bool RebuildCache(ShadowStripCache& cache, bool vertical, int thickness, int length, uint32_t colour, int intensity) {
  FreeCache(cache);
  const int width = vertical ? thickness : length;
  const int height = vertical ? length : thickness;
  HBITMAP bitmap = MakeAlphaBitmap(width, height);
  if (!bitmap) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(bitmap);
    return false;
  }
  SelectObject(dc, bitmap);

  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  const int t = thickness;
  for (int i = 0; i < length; ++i) {
    int along = intensity;
    if (i < t) along = std::min(along, intensity * (i + 1) / t);
    if (i >= length - t) along = std::min(along, intensity * (length - i) / t);
    for (int j = 0; j < t; ++j) {
      const uint32_t pixel = PremultipliedPixel(colour, along * (t - j - 1) / t);
      const int x = vertical ? j : i;
      const int y = vertical ? i : j;
      // Rows bottom-up, as the DIB below is described.
      pixels[static_cast<size_t>(height - 1 - y) * width + x] = pixel;
    }
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);

  cache.bitmap = bitmap;
  cache.dc = dc;
  cache.width = width;
  cache.height = height;
  cache.intensity = intensity;
  cache.colour = colour;
  return true;
}

// A cache serves a strip of its own thickness (a thinner cut would not fade out), colour
// and intensity that it is at least as long as.
bool CacheServes(const ShadowStripCache& cache, bool vertical, int thickness, int length, uint32_t colour,
                 int intensity) {
  if (!cache.bitmap) return false;
  const int cachedThickness = vertical ? cache.width : cache.height;
  const int cachedLength = vertical ? cache.height : cache.width;
  return cachedThickness == thickness && cachedLength >= length && cache.colour == colour &&
         cache.intensity == intensity;
}

// Copies `count` positions from `from` of the cached strip to `to` of the shadow.
void CopyAlong(HDC target, const ShadowStripCache& cache, bool vertical, int thickness, int to, int from, int count) {
  if (count <= 0) return;
  if (vertical)
    BitBlt(target, 0, to, thickness, count, cache.dc, 0, from, SRCCOPY);
  else
    BitBlt(target, to, 0, count, thickness, cache.dc, from, 0, SRCCOPY);
}

}  // namespace

HWND CreateDropShadow(int x, int y, int width, int height, uint32_t colour, int intensity, int flags) {
  if (flags & kFreeCaches) {
    const bool freed = ShadowStripCaches[0].bitmap || ShadowStripCaches[1].bitmap;
    FreeCache(ShadowStripCaches[0]);
    FreeCache(ShadowStripCaches[1]);
    return freed ? reinterpret_cast<HWND>(1) : nullptr;
  }
  if (width <= 0 || height <= 0 || intensity <= 0) return nullptr;
  // The alpha is one byte: more than 255 would spill into the colour channels.
  intensity = std::min(intensity, 255);
  if (!RegisterShadowClass()) return nullptr;

  HWND window = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST,
                                kDropShadowClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  HDC windowDc = GetDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  HBITMAP bitmap = MakeAlphaBitmap(width, height);
  if (!memoryDc || !bitmap) {
    if (memoryDc) DeleteDC(memoryDc);
    if (bitmap) DeleteObject(bitmap);
    ReleaseDC(window, windowDc);
    DestroyWindow(window);
    return nullptr;
  }
  SelectObject(memoryDc, bitmap);
  {
    ToolkitLock(MenuMutex);
    DropShadow& record = DropShadowList.Add();
    record.window = window;
    record.memoryDC = memoryDc;
    record.bitmap = bitmap;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    ToolkitUnlock(MenuMutex);
  }

  const bool vertical = (flags & kVertical) != 0;
  const int t = vertical ? width : height;
  const int shown = vertical ? height : width;
  int length = shown;
  if (flags & kFadeStartOnly)
    length += t;
  else if (flags & kFadeEndOnly)
    length += t;
  else if (flags & kNoFade)
    length += 2 * t;

  ShadowStripCache& cache = ShadowStripCaches[vertical ? 1 : 0];
  if (CacheServes(cache, vertical, t, length, colour, intensity) ||
      RebuildCache(cache, vertical, t, length, colour, intensity)) {
    const int cached = vertical ? cache.height : cache.width;
    if (flags & kFadeStartOnly) {
      CopyAlong(memoryDc, cache, vertical, t, 0, 0, shown);
    } else if (flags & kFadeEndOnly) {
      CopyAlong(memoryDc, cache, vertical, t, 0, cached - shown, shown);
    } else if (flags & kNoFade) {
      CopyAlong(memoryDc, cache, vertical, t, 0, t, shown);
    } else if (cached == shown) {
      CopyAlong(memoryDc, cache, vertical, t, 0, 0, shown);
    } else {
      // Both ends must fade: the cache's start, then its faded end.
      const int head = std::max(0, shown - t);
      CopyAlong(memoryDc, cache, vertical, t, 0, 0, head);
      CopyAlong(memoryDc, cache, vertical, t, head, cached - (shown - head), shown - head);
    }
  }

  POINT position = {x, y};
  SIZE size = {width, height};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(window, nullptr, &position, &size, memoryDc, &source, 0, &blend, ULW_ALPHA);
  ShowWindow(window, SW_SHOWNA);
  ReleaseDC(window, windowDc);
  return window;
}

LRESULT CALLBACK DropShadowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ToolkitLock(MenuMutex);
    DropShadow* record = reinterpret_cast<DropShadow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (record && DropShadowList.Contains(record)) {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      if (record->memoryDC) DeleteDC(record->memoryDC);
      if (record->bitmap) DeleteObject(record->bitmap);
      DropShadowList.Delete(record);
    }
    ToolkitUnlock(MenuMutex);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace tovrel
