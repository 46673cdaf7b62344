#include "tovrel/foundation/image_effects.h"

#include <stddef.h>
#include <string.h>

#include <vector>

#include "common/image_pixels.h"
#include "common/scoped.h"

namespace tovrel {

namespace {

// Pixels as a 32-bit top-down DIB holds them: 0xAARRGGBB.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> values;

  uint32_t At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

// What an adjuster works from: the colour pixels, their bit depth (32 means they carry
// alpha), and an icon's mask.
struct Source {
  bool isIcon = false;
  int bitCount = 0;
  Pixels colour;
  bool hasMask = false;
  Pixels mask;
};

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool MeasureBitmap(HBITMAP bitmap, BITMAP* out) {
  if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP) return false;
  return GetObjectA(bitmap, sizeof(*out), out) == sizeof(*out);
}

// Reads a bitmap of any depth at 32 bits per pixel; GDI converts lower depths (through
// the bitmap's colour table or the DC's), so the buffer is never read past its rows.
bool ReadPixels(HBITMAP bitmap, Pixels* out, int* bitCount) {
  BITMAP measured;
  if (!MeasureBitmap(bitmap, &measured) || measured.bmWidth < 1 || measured.bmHeight < 1) return false;
  out->width = measured.bmWidth;
  out->height = measured.bmHeight;
  out->values.assign(static_cast<size_t>(out->width) * out->height, 0);
  BITMAPINFO info = TopDown32(out->width, out->height);
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  int lines = GetDIBits(dc.get(), bitmap, 0, out->height, out->values.data(), &info, DIB_RGB_COLORS);
  if (lines != out->height) return false;
  if (bitCount) *bitCount = measured.bmBitsPixel;
  return true;
}

// A monochrome icon's mask is twice its height: the AND mask above the XOR picture.
void SplitMonochromeIcon(const Pixels& both, Source* source) {
  int half = both.height / 2;
  source->mask.width = source->colour.width = both.width;
  source->mask.height = source->colour.height = half;
  size_t count = static_cast<size_t>(both.width) * half;
  source->mask.values.assign(both.values.begin(), both.values.begin() + count);
  source->colour.values.assign(both.values.begin() + count, both.values.begin() + 2 * count);
}

bool ReadSource(HANDLE image, Source* source) {
  ICONINFO icon = {};
  if (GetIconInfo(static_cast<HICON>(image), &icon)) {
    // The icon's bitmaps are copies made for this call: they go whatever happens.
    ScopedBitmap colour(icon.hbmColor), mask(icon.hbmMask);
    source->isIcon = true;
    if (!colour) {
      Pixels both;
      if (!ReadPixels(mask.get(), &both, nullptr) || both.height < 2) return false;
      SplitMonochromeIcon(both, source);
      source->bitCount = 1;
      source->hasMask = true;
      return true;
    }
    if (!ReadPixels(colour.get(), &source->colour, &source->bitCount)) return false;
    source->hasMask = ReadPixels(mask.get(), &source->mask, nullptr);
    return true;
  }
  return ReadPixels(static_cast<HBITMAP>(image), &source->colour, &source->bitCount);
}

// An icon of the 32-bit pixels: colour and alpha as they are, and a mask that leaves out
// exactly the pixels of alpha 0, so that the icon looks the same where alpha is ignored.
HICON IconFromPixels(const Pixels& pixels) {
  uint32_t* bits = nullptr;
  ScopedBitmap colour(CreatePixelBitmap(pixels.width, pixels.height, &bits));
  if (!colour) return nullptr;
  memcpy(bits, pixels.values.data(), pixels.values.size() * sizeof(uint32_t));
  // Monochrome rows are padded to 16 bits for CreateBitmap.
  size_t stride = ((static_cast<size_t>(pixels.width) + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(stride * pixels.height, 0);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      if ((pixels.At(x, y) >> 24) == 0) maskBits[y * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  ScopedBitmap mask(CreateBitmap(pixels.width, pixels.height, 1, 1, maskBits.data()));
  if (!mask) return nullptr;
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = colour.get();
  info.hbmMask = mask.get();
  return CreateIconIndirect(&info);
}

uint32_t ToGdiColour(uint32_t pixel) { return (pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16; }

uint32_t ToPixel(uint32_t colour, uint8_t alpha) {
  return (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16 | static_cast<uint32_t>(alpha) << 24;
}

template <typename Adjust>
HANDLE DeriveImage(HANDLE image, float opacity, int flags, Adjust adjust) {
  Source source;
  if (!ReadSource(image, &source)) return nullptr;
  const Pixels& colour = source.colour;
  Pixels result;
  result.width = colour.width;
  result.height = colour.height;
  result.values.resize(colour.values.size());
  // As the system draws icons: a picture whose alpha is 0 everywhere has none, and its
  // mask shapes it; one with any alpha is shaped by its alpha alone.
  bool hasAlpha = false;
  if (source.bitCount == 32)
    for (uint32_t pixel : colour.values) hasAlpha = hasAlpha || (pixel >> 24) != 0;
  for (int y = 0; y < colour.height; ++y) {
    for (int x = 0; x < colour.width; ++x) {
      uint32_t pixel = colour.At(x, y);
      // A mask smaller than the picture leaves the pixels beyond it uncovered.
      bool masked = source.hasMask && x < source.mask.width && y < source.mask.height;
      uint8_t maskByte = masked ? static_cast<uint8_t>(source.mask.At(x, y)) : 0xFF;
      uint8_t alpha = DerivedAlpha(hasAlpha, static_cast<uint8_t>(pixel >> 24), source.hasMask, maskByte, opacity);
      result.values[static_cast<size_t>(y) * colour.width + x] = ToPixel(adjust(ToGdiColour(pixel)), alpha);
    }
  }

  HANDLE made = nullptr;
  if (flags & kImageReturnIcon) {
    made = IconFromPixels(result);
  } else {
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreatePixelBitmap(result.width, result.height, &bits);
    if (bitmap) memcpy(bits, result.values.data(), result.values.size() * sizeof(uint32_t));
    made = bitmap;
  }
  if (flags & kImageDeleteSource) {
    if (source.isIcon)
      DestroyIcon(static_cast<HICON>(image));
    else
      DeleteObject(image);
  }
  return made;
}

}  // namespace

HANDLE MakeDisabledImage(HANDLE image, float opacity, float contrast, float brightness, uint32_t tintColour,
                         float tintAmount, int flags) {
  DisabledAdjustment adjustment;
  adjustment.greyscale = (flags & kImageGreyscale) != 0;
  adjustment.tintColour = tintColour;
  adjustment.tintAmount = tintAmount;
  adjustment.contrast = contrast;
  adjustment.brightness = brightness;
  return DeriveImage(image, opacity, flags,
                     [&adjustment](uint32_t colour) { return AdjustDisabledPixel(adjustment, colour); });
}

HANDLE MakeTintedImage(HANDLE image, float opacity, uint32_t hueColour, float saturationChange, float lightness,
                       uint32_t blendColour, float blendAmount, int flags) {
  TintAdjustment adjustment = MakeTintAdjustment(hueColour, saturationChange, lightness, blendColour, blendAmount);
  return DeriveImage(image, opacity, flags & ~kImageGreyscale,
                     [&adjustment](uint32_t colour) { return AdjustTintedPixel(adjustment, colour); });
}

HICON ConvertBitmapToIcon(HBITMAP bitmap) {
  Pixels pixels;
  int bitCount = 0;
  if (GetObjectType(bitmap) != OBJ_BITMAP || !ReadPixels(bitmap, &pixels, &bitCount)) return nullptr;
  bool anyAlpha = false;
  if (bitCount == 32)
    for (uint32_t pixel : pixels.values) anyAlpha = anyAlpha || (pixel >> 24) != 0;
  if (!anyAlpha)
    for (uint32_t& pixel : pixels.values) pixel |= 0xFF000000u;
  return IconFromPixels(pixels);
}

int GetImageSize(HANDLE image, int* width, int* height) {
  int w = 0, h = 0, isIcon = 0;
  BITMAP measured;
  ICONINFO icon = {};
  if (GetIconInfo(static_cast<HICON>(image), &icon)) {
    ScopedBitmap colour(icon.hbmColor), mask(icon.hbmMask);
    isIcon = 1;
    if (MeasureBitmap(colour ? colour.get() : mask.get(), &measured)) {
      w = measured.bmWidth;
      h = colour ? measured.bmHeight : measured.bmHeight / 2;
    }
  } else if (MeasureBitmap(static_cast<HBITMAP>(image), &measured)) {
    w = measured.bmWidth;
    h = measured.bmHeight;
  }
  if (width) *width = w;
  if (height) *height = h;
  return isIcon;
}

int GetImageWidth(HANDLE image) {
  int width = 0;
  GetImageSize(image, &width, nullptr);
  return width;
}

int GetImageHeight(HANDLE image) {
  int height = 0;
  GetImageSize(image, nullptr, &height);
  return height;
}

int DrawArrowGlyph(HDC dc, int x, int y, int width, int height, uint32_t colour) {
  ScopedPen pen(CreatePen(PS_SOLID, 0, colour));
  ScopedBrush brush(CreateSolidBrush(colour));
  {
    ScopedSelect usePen(dc, pen.get());
    ScopedSelect useBrush(dc, brush.get());
    int w = width - 1, h = height - 1;
    POINT points[3] = {{x + w / 2, y + h}, {x, y}, {x + w, y}};
    Polygon(dc, points, 3);
  }
  return 0;
}

}  // namespace tovrel
