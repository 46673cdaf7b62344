// The 32-bit DIBs every decoder makes, and scaling between them.
#include <windows.h>

#include "common/image_decoders.h"
#include "common/scoped.h"

namespace image_detail {

// GDI computes the size of a DIB section in 32-bit arithmetic, so 32768 x 32768 x 4 would
// wrap to 0; one GiB of pixels keeps far below that and below what a 64-bit process can
// reasonably hold several times over.
constexpr int64_t kMaxPixelBytes = int64_t(1) << 30;

bool SizeOk(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height * 4 <= kMaxPixelBytes;
}

// A 32-bit top-down DIB section; *bits gets its first row.
HBITMAP NewDib(int width, int height, uint32_t** bits) {
  *bits = nullptr;
  if (!SizeOk(width, height)) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  ScopedBitmap b(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
  if (!b || !p) return nullptr;
  *bits = static_cast<uint32_t*>(p);
  return b.release();
}

// The pixels of one of our own DIBs. Every bitmap here comes from NewDib, so the rows run
// top-down (GetObject does not tell: the header it reports may carry a positive height).
bool DibPixels(HBITMAP b, uint32_t** bits, int* width, int* height) {
  DIBSECTION ds{};
  if (GetObjectW(b, sizeof(ds), &ds) != int(sizeof(ds))) return false;
  if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits) return false;
  *bits = static_cast<uint32_t*>(ds.dsBm.bmBits);
  *width = ds.dsBm.bmWidth;
  *height = ds.dsBm.bmHeight;
  return true;
}

// Box filter: each target pixel averages the source pixels it covers (at least one, so
// enlarging repeats pixels). Colours are weighted by alpha, so that fully transparent
// pixels do not bleed their (meaningless) colour into the visible ones.
HBITMAP ScaleDib(HBITMAP source, int width, int height) {
  uint32_t* src = nullptr;
  int sw = 0, sh = 0;
  if (!DibPixels(source, &src, &sw, &sh)) return nullptr;
  uint32_t* dst = nullptr;
  HBITMAP result = NewDib(width, height, &dst);
  if (!result) return nullptr;
  for (int y = 0; y < height; ++y) {
    int y0 = int(int64_t(y) * sh / height);
    int y1 = int(int64_t(y + 1) * sh / height);
    if (y1 <= y0) y1 = y0 + 1;
    for (int x = 0; x < width; ++x) {
      int x0 = int(int64_t(x) * sw / width);
      int x1 = int(int64_t(x + 1) * sw / width);
      if (x1 <= x0) x1 = x0 + 1;
      uint64_t n = 0, sa = 0, wr = 0, wg = 0, wb = 0, r = 0, g = 0, b = 0;
      for (int sy = y0; sy < y1; ++sy) {
        const uint32_t* row = src + size_t(sy) * sw;
        for (int sx = x0; sx < x1; ++sx) {
          uint32_t p = row[sx];
          uint64_t a = p >> 24, pr = (p >> 16) & 0xFF, pg = (p >> 8) & 0xFF, pb = p & 0xFF;
          ++n;
          sa += a;
          wr += pr * a;
          wg += pg * a;
          wb += pb * a;
          r += pr;
          g += pg;
          b += pb;
        }
      }
      uint32_t out;
      if (sa > 0)
        out = Pixel(unsigned((wr + sa / 2) / sa), unsigned((wg + sa / 2) / sa), unsigned((wb + sa / 2) / sa),
                    unsigned((sa + n / 2) / n));
      else
        out = Pixel(unsigned((r + n / 2) / n), unsigned((g + n / 2) / n), unsigned((b + n / 2) / n), 0);
      dst[size_t(y) * width + x] = out;
    }
  }
  return result;
}

}  // namespace image_detail
