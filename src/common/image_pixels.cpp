#include "common/image_pixels.h"

#include <windows.h>

#include <string.h>

#include <algorithm>
#include <vector>

#include "common/image_decoders.h"
#include "common/images.h"

namespace {

struct Pixels {
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
};

// The pixels of a bitmap image; false for an icon or an unknown number. GDI may still be
// holding drawing back in a batch, so it is flushed first: pixels read or written here
// then come after whatever GDI drew.
bool ImagePixels(int number, Pixels* p) {
  HANDLE handle = RuntimeImageHandle(number);
  if (!handle || RuntimeImageIsIcon(number)) return false;
  GdiFlush();
  return image_detail::DibPixels(static_cast<HBITMAP>(handle), &p->bits, &p->width, &p->height);
}

// The part of a w x h source placed at (x, y) that lies on a tw x th target, in target
// coordinates: [x0, x1) x [y0, y1), empty when x0 >= x1 or y0 >= y1. Computed in 64 bits,
// so that offsets far outside cannot overflow.
struct Span {
  int x0, y0, x1, y1;
};

Span Clip(int64_t x, int64_t y, int64_t w, int64_t h, int64_t tw, int64_t th) {
  Span s;
  s.x0 = int(std::max<int64_t>(0, x));
  s.y0 = int(std::max<int64_t>(0, y));
  s.x1 = int(std::max<int64_t>(s.x0, std::min<int64_t>(tw, x + w)));
  s.y1 = int(std::max<int64_t>(s.y0, std::min<int64_t>(th, y + h)));
  return s;
}

}  // namespace

int ReadRuntimeImagePixel(int number, int x, int y, uint32_t* argb) {
  Pixels p;
  if (!ImagePixels(number, &p) || x < 0 || y < 0 || x >= p.width || y >= p.height) return 0;
  if (argb) *argb = p.bits[size_t(y) * p.width + x];
  return 1;
}

int WriteRuntimeImagePixel(int number, int x, int y, uint32_t argb) {
  Pixels p;
  if (!ImagePixels(number, &p) || x < 0 || y < 0 || x >= p.width || y >= p.height) return 0;
  p.bits[size_t(y) * p.width + x] = argb;
  return 1;
}

int FillRuntimeImage(int number, int x, int y, int width, int height, uint32_t argb) {
  Pixels p;
  if (!ImagePixels(number, &p)) return 0;
  if (width <= 0 || height <= 0) return 1;
  Span s = Clip(x, y, width, height, p.width, p.height);
  for (int row = s.y0; row < s.y1; ++row) {
    uint32_t* line = p.bits + size_t(row) * p.width;
    std::fill(line + s.x0, line + s.x1, argb);
  }
  return 1;
}

int DrawRuntimeImage(int source, int target, int x, int y, ImageDrawMode mode, PixelFilter filter) {
  if (mode == ImageDrawMode::kFilter && !filter) return 0;
  Pixels from, to;
  if (!ImagePixels(source, &from) || !ImagePixels(target, &to)) return 0;
  Span s = Clip(x, y, from.width, from.height, to.width, to.height);
  if (s.x0 >= s.x1 || s.y0 >= s.y1) return 1;
  // Drawn onto itself, a pixel written early would be read again as source further on:
  // the source is read from a copy instead.
  std::vector<uint32_t> copy;
  if (from.bits == to.bits) {
    copy.assign(from.bits, from.bits + size_t(from.width) * from.height);
    from.bits = copy.data();
  }
  for (int row = s.y0; row < s.y1; ++row) {
    const uint32_t* in = from.bits + size_t(row - y) * from.width + (s.x0 - x);
    uint32_t* out = to.bits + size_t(row) * to.width + s.x0;
    int n = s.x1 - s.x0;
    switch (mode) {
      case ImageDrawMode::kAllChannels:
        memcpy(out, in, size_t(n) * sizeof(uint32_t));
        break;
      case ImageDrawMode::kAlphaOnly:
        for (int i = 0; i < n; ++i) out[i] = (out[i] & 0x00FFFFFFu) | (in[i] & 0xFF000000u);
        break;
      case ImageDrawMode::kFilter:
        for (int i = 0; i < n; ++i) out[i] = filter(s.x0 + i, row, in[i], out[i]);
        break;
    }
  }
  return 1;
}

HDC StartRuntimeImageDrawing(int number) {
  HANDLE handle = RuntimeImageHandle(number);
  if (!handle || RuntimeImageIsIcon(number)) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return nullptr;
  // A bitmap can be selected into one DC at a time: a second start on the same image fails.
  HGDIOBJ old = SelectObject(dc, handle);
  if (!old || old == HGDI_ERROR) {
    DeleteDC(dc);
    return nullptr;
  }
  return dc;
}

void StopRuntimeImageDrawing(HDC dc) {
  if (!dc) return;
  GdiFlush();
  DeleteDC(dc);
}

HBITMAP CreatePixelBitmap(int width, int height, uint32_t** bits) { return image_detail::NewDib(width, height, bits); }
