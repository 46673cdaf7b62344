#include "tovrel/gallery/gallery_images.h"

#include <math.h>
#include <stdint.h>

#include "common/image_pixels.h"

namespace tovrel_gallery {

namespace {

// Coverage of the pixel centred at (x, y) by the shape, 0 to 1.
double Coverage(Shape shape, int size, double x, double y) {
  const double c = size / 2.0, r = size / 2.0 - 1.5;
  switch (shape) {
    case Shape::kSquare:
      return (x >= 2 && x < size - 2 && y >= 2 && y < size - 2) ? 1.0 : 0.0;
    case Shape::kCircle: {
      const double d = sqrt((x - c) * (x - c) + (y - c) * (y - c));
      return d <= r - 0.5 ? 1.0 : d >= r + 0.5 ? 0.0 : r + 0.5 - d;
    }
    case Shape::kTriangle:
      return (y >= 2 && y < size - 2 && fabs(x - c) <= (y - 2) / 2.0 + 0.5) ? 1.0 : 0.0;
    case Shape::kBar:
      return (x >= 2 && x < size - 2 && y >= size / 2 - 2 && y < size / 2 + 2) ? 1.0 : 0.0;
  }
  return 0.0;
}

}  // namespace

HICON MakeGalleryIcon(int size, Shape shape, COLORREF rgb) {
  uint32_t* bits = nullptr;
  HBITMAP colour = CreatePixelBitmap(size, size, &bits);
  if (!colour) return nullptr;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double a = Coverage(shape, size, x + 0.5, y + 0.5);
      const uint32_t alpha = static_cast<uint32_t>(a * 255 + 0.5);
      // Premultiplied, as 32-bit icons are drawn.
      const uint32_t red = ((rgb >> 16) & 0xFF) * alpha / 255, green = ((rgb >> 8) & 0xFF) * alpha / 255,
                     blue = (rgb & 0xFF) * alpha / 255;
      bits[y * size + x] = (alpha << 24) | (red << 16) | (green << 8) | blue;
    }
  }
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

}  // namespace tovrel_gallery
