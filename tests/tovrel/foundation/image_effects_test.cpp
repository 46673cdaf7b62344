// Image effects: the colour-space and channel arithmetic as tables, then the adjusters on
// tiny DIBs of every bit depth and on icons, read back at known pixels; the disabled look
// per UI style; named image files loaded once for several holders.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_spaces.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/image_effects.h"
#include "tovrel/foundation/image_loading.h"
#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/ui_styles.h"

using namespace tovrel;

namespace {

// Pixels of a DIB as 0xAARRGGBB, top row first.
using Pixels = std::vector<uint32_t>;

// A bitmap of the given depth holding `pixels` (0xAARRGGBB, top row first), stored
// bottom-up as files and most programs keep them. Paletted depths get a colour table of
// the picture's colours; 16 bits is 5-5-5.
HBITMAP MakeSource(int bitCount, int width, int height, const Pixels& pixels) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info = {};
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  info.header.biCompression = BI_RGB;
  std::vector<uint32_t> palette;
  if (bitCount <= 8) {
    for (uint32_t p : pixels) {
      bool known = false;
      for (uint32_t c : palette) known = known || c == (p & 0xFFFFFF);
      if (!known) palette.push_back(p & 0xFFFFFF);
    }
    info.header.biClrUsed = static_cast<DWORD>(palette.size());
    for (size_t i = 0; i < palette.size(); ++i) {
      info.colours[i].rgbRed = palette[i] >> 16 & 0xFF;
      info.colours[i].rgbGreen = palette[i] >> 8 & 0xFF;
      info.colours[i].rgbBlue = palette[i] & 0xFF;
    }
  }
  void* memory = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &memory, nullptr, 0);
  if (!bitmap) return nullptr;
  uint8_t* bits = static_cast<uint8_t*>(memory);
  size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bits + stride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t p = pixels[y * width + x];
      uint32_t index = 0;
      for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == (p & 0xFFFFFF)) index = static_cast<uint32_t>(i);
      switch (bitCount) {
        case 1:
          row[x / 8] |= static_cast<uint8_t>(index << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = static_cast<uint8_t>(index);
          break;
        case 16: {
          uint16_t v = static_cast<uint16_t>((p >> 19 & 0x1F) << 10 | (p >> 11 & 0x1F) << 5 | (p >> 3 & 0x1F));
          row[2 * x] = v & 0xFF;
          row[2 * x + 1] = v >> 8;
          break;
        }
        case 24:
          row[3 * x] = p & 0xFF;
          row[3 * x + 1] = p >> 8 & 0xFF;
          row[3 * x + 2] = p >> 16 & 0xFF;
          break;
        case 32:
          memcpy(row + 4 * x, &p, 4);
          break;
      }
    }
  }
  GdiFlush();
  return bitmap;
}

Pixels ReadBitmap(HBITMAP bitmap, int* width = nullptr, int* height = nullptr) {
  BITMAP measured = {};
  if (GetObjectA(bitmap, sizeof(measured), &measured) != sizeof(measured)) return {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = measured.bmWidth;
  info.bmiHeader.biHeight = -measured.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels pixels(static_cast<size_t>(measured.bmWidth) * measured.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, measured.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (width) *width = measured.bmWidth;
  if (height) *height = measured.bmHeight;
  return pixels;
}

// An icon's colour pixels and its mask's first bytes.
struct IconPixels {
  Pixels colour;
  Pixels mask;
};

IconPixels ReadIcon(HICON icon) {
  IconPixels result;
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return result;
  result.colour = ReadBitmap(info.hbmColor);
  result.mask = ReadBitmap(info.hbmMask);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return result;
}

// An icon from 32-bit pixels and a mask of 0 (shown) and 1 (left out) per pixel.
HICON MakeIcon(int width, int height, const Pixels& pixels, const std::vector<int>& mask) {
  HBITMAP colour = MakeSource(32, width, height, pixels);
  size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
  std::vector<uint8_t> bits(stride * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (mask[y * width + x]) bits[y * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, bits.data());
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = maskBitmap;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(maskBitmap);
  return icon;
}

// 0x00RRGGBB of a GDI colour, as a DIB holds it.
uint32_t AsPixel(uint32_t colour) { return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF); }

// ---- arithmetic ----

TEST(ConvertRgbToHsv, Table) {
  struct Row {
    uint32_t colour;
    float h, s, v;
  } rows[] = {
      {RGB(255, 0, 0), 0, 1, 1},     {RGB(0, 255, 0), 120, 1, 1},       {RGB(0, 0, 255), 240, 1, 1},
      {RGB(255, 0, 255), 300, 1, 1}, {RGB(0, 0, 0), 0, 0, 0},           {RGB(128, 128, 128), 0, 0, 128 / 255.0f},
      {RGB(255, 255, 0), 60, 1, 1},  {RGB(255, 0, 128), 329.88f, 1, 1},
  };
  for (const Row& row : rows) {
    float hsv[3] = {-1, -1, -1};
    EXPECT_EQ(0, ConvertRgbToHsv(row.colour, hsv));
    EXPECT_NEAR(row.h, hsv[0], 0.01) << std::hex << row.colour;
    EXPECT_NEAR(row.s, hsv[1], 1e-5) << std::hex << row.colour;
    EXPECT_NEAR(row.v, hsv[2], 1e-5) << std::hex << row.colour;
  }
}

TEST(ConvertHslToRgb, Table) {
  struct Row {
    float h, s, l;
    uint32_t colour;
  } rows[] = {
      {0, 1, 0.5f, RGB(255, 0, 0)},
      {120, 1, 0.5f, RGB(0, 255, 0)},
      {240, 1, 0.25f, RGB(0, 0, 127)},
      {77, 0, 0.5f, RGB(127, 127, 127)},  // 127.5 truncated
      {300, 0, 1, RGB(255, 255, 255)},
      // Out of range: the hue wraps, saturation and lightness are clamped.
      {480, 1, 0.5f, RGB(0, 255, 0)},
      {-120, 1, 0.5f, RGB(0, 0, 255)},
      {0, 2, 0.5f, RGB(255, 0, 0)},
      {0, 1, 1.5f, RGB(255, 255, 255)},
      {0, 1, -1, RGB(0, 0, 0)},
  };
  for (const Row& row : rows) {
    float hsl[3] = {row.h, row.s, row.l};
    EXPECT_EQ(row.colour, ConvertHslToRgb(hsl)) << row.h << " " << row.s << " " << row.l;
  }
}

TEST(AdjustDisabledPixel, Table) {
  struct Row {
    bool greyscale;
    uint32_t tint;
    float amount, contrast, brightness;
    uint32_t in, out;
  } rows[] = {
      // No adjustment keeps every colour.
      {false, 0, 0, 0, 0, RGB(0, 0, 0), RGB(0, 0, 0)},
      {false, 0, 0, 0, 0, RGB(1, 128, 254), RGB(1, 128, 254)},
      {false, RGB(9, 9, 9), 0, 0, 0, RGB(255, 255, 255), RGB(255, 255, 255)},
      // Greyscale weights; the full tint amount is 256 and gives the tint colour.
      {true, 0, 0, 0, 0, RGB(255, 0, 0), RGB(76, 76, 76)},
      {true, 0, 0, 0, 0, RGB(0, 255, 0), RGB(150, 150, 150)},
      {false, RGB(10, 20, 30), 256, 0, 0, RGB(200, 100, 0), RGB(10, 20, 30)},
      {false, RGB(0, 0, 0), 128, 0, 0, RGB(200, 100, 2), RGB(100, 50, 1)},
      // Contrast around 128, brightness added, both clamped; a contrast of 259 (a zero
      // denominator) or more acts as 255.
      {false, 0, 0, 128, 0, RGB(128, 138, 118), RGB(128, 158, 98)},
      {false, 0, 0, 259, 0, RGB(129, 127, 128), RGB(255, 0, 128)},
      {false, 0, 0, 1000, 0, RGB(129, 127, 128), RGB(255, 0, 128)},
      {false, 0, 0, 0, 300, RGB(1, 2, 3), RGB(255, 255, 255)},
      {false, 0, 0, 0, -10, RGB(5, 20, 255), RGB(0, 10, 245)},
      // Amounts beyond 256 stay within a channel instead of spilling into the next one.
      {false, RGB(255, 255, 255), 512, 0, 0, RGB(0, 0, 0), RGB(255, 255, 255)},
  };
  for (const Row& row : rows) {
    DisabledAdjustment a;
    a.greyscale = row.greyscale;
    a.tintColour = row.tint;
    a.tintAmount = row.amount;
    a.contrast = row.contrast;
    a.brightness = row.brightness;
    EXPECT_EQ(row.out, AdjustDisabledPixel(a, row.in)) << std::hex << row.in << " contrast " << row.contrast;
  }
}

TEST(AdjustTintedPixel, Table) {
  struct Row {
    uint32_t hue;
    float saturationChange, lightness;
    uint32_t blend;
    float amount;
    uint32_t in, out;
  } rows[] = {
      // Lightness 0.5 keeps the grey level: white stays white, black stays black.
      {RGB(255, 0, 0), 0, 0.5f, 0, 0, RGB(255, 255, 255), RGB(255, 255, 255)},
      {RGB(255, 0, 0), 0, 0.5f, 0, 0, RGB(0, 0, 0), RGB(0, 0, 0)},
      // Below 0.5 white darkens to the pure hue, above it black lightens to it.
      {RGB(255, 0, 0), 0, 0.25f, 0, 0, RGB(255, 255, 255), RGB(255, 0, 0)},
      {RGB(0, 0, 255), 0, 0.75f, 0, 0, RGB(0, 0, 0), RGB(0, 0, 255)},
      // Saturation taken away gives grey; the blend mixes by amount out of 256.
      {RGB(0, 0, 255), -1, 0.75f, 0, 0, RGB(0, 0, 0), RGB(127, 127, 127)},
      {RGB(255, 0, 0), 0, 0.25f, RGB(0, 0, 255), 256, RGB(255, 255, 255), RGB(0, 0, 255)},
      {RGB(255, 0, 0), 0, 0.25f, RGB(0, 0, 0), 64, RGB(255, 255, 255), RGB(191, 0, 0)},
  };
  for (const Row& row : rows) {
    TintAdjustment a = MakeTintAdjustment(row.hue, row.saturationChange, row.lightness, row.blend, row.amount);
    EXPECT_EQ(row.out, AdjustTintedPixel(a, row.in)) << std::hex << row.hue << " " << row.in;
  }
}

TEST(DerivedAlpha, Table) {
  struct Row {
    bool hasAlpha;
    uint8_t alpha;
    bool hasMask;
    uint8_t mask;
    float opacity;
    int out;
  } rows[] = {
      {true, 255, false, 0, 255, 255},
      {true, 128, false, 0, 255, 128},
      {true, 255, false, 0, 0, 1},
      {true, 255, false, 0, 300, 255},
      {true, 255, false, 0, 80, 80},
      {true, 128, false, 0, 120, 60},
      // A picture with alpha keeps its own, 0 included, whatever the mask says.
      {false, 0, false, 0, 200, 200},
      {true, 0, true, 0, 190, 0},
      {true, 0, true, 0xFF, 190, 0},
      {true, 0, true, 1, 255, 0},
      {true, 77, true, 0xFF, 255, 77},
      {false, 0, true, 0, 255, 255},
      {false, 0, true, 0xFF, 255, 0},
      {true, 0, false, 0, 255, 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(row.out, DerivedAlpha(row.hasAlpha, row.alpha, row.hasMask, row.mask, row.opacity))
        << row.hasAlpha << " " << int(row.alpha) << " " << row.hasMask << " " << int(row.mask) << " " << row.opacity;
}

// ---- adjusters on bitmaps ----

TEST(MakeDisabledImage, Opacity255AndNoAdjustmentCopiesUnaltered) {
  Pixels in = {0xFF102030, 0x80FF0000, 0x00000000, 0x01020304};
  HBITMAP source = MakeSource(32, 2, 2, in);
  HANDLE copy = MakeDisabledImage(source, 255.0f, 0, 0, 0, 0, 0);
  ASSERT_NE(nullptr, copy);
  int width = 0, height = 0;
  EXPECT_EQ(in, ReadBitmap(static_cast<HBITMAP>(copy), &width, &height));
  EXPECT_EQ(2, width);
  EXPECT_EQ(2, height);
  BITMAP measured = {};
  GetObjectA(copy, sizeof(measured), &measured);
  EXPECT_EQ(32, measured.bmBitsPixel);
  EXPECT_NE(nullptr, measured.bmBits) << "a DIB section";
  DeleteObject(copy);
  DeleteObject(source);
}

TEST(MakeDisabledImage, OpacityIsClampedTo1And255) {
  HBITMAP source = MakeSource(32, 2, 1, {0xFF808080, 0x80808080});
  struct Row {
    float opacity;
    uint32_t first, second;
  } rows[] = {{0, 0x01808080, 0x01808080}, {300, 0xFF808080, 0x80808080}, {-5, 0x01808080, 0x01808080}};
  for (const Row& row : rows) {
    HANDLE made = MakeDisabledImage(source, row.opacity, 0, 0, 0, 0, 0);
    Pixels out = ReadBitmap(static_cast<HBITMAP>(made));
    ASSERT_EQ(2u, out.size());
    EXPECT_EQ(row.first, out[0]) << row.opacity;
    EXPECT_EQ(row.second, out[1]) << row.opacity;
    DeleteObject(made);
  }
  DeleteObject(source);
}

// Every depth is read through a 32-bit conversion: 3 pixels in a row leave padding at the
// end of each row of the lower depths, which must not shift or overrun the picture.
TEST(MakeDisabledImage, SourcesOfEveryDepth) {
  const Pixels twoColours = {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000};
  const Pixels colours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF00FF};
  struct Row {
    int bitCount;
    const Pixels* pixels;
  } rows[] = {{1, &twoColours}, {4, &colours}, {8, &colours}, {16, &colours}, {24, &colours}};
  for (const Row& row : rows) {
    HBITMAP source = MakeSource(row.bitCount, 3, 2, *row.pixels);
    ASSERT_NE(nullptr, source) << row.bitCount;
    HANDLE made = MakeDisabledImage(source, 200.0f, 0, 0, 0, 0, 0);
    Pixels out = ReadBitmap(static_cast<HBITMAP>(made));
    ASSERT_EQ(6u, out.size()) << row.bitCount;
    // Without alpha channel every pixel, black ones too, gets the opacity as alpha.
    for (size_t i = 0; i < out.size(); ++i)
      EXPECT_EQ(0xC8000000 | (*row.pixels)[i], out[i]) << row.bitCount << " " << i;
    DeleteObject(made);
    DeleteObject(source);
  }
  HBITMAP source = MakeSource(32, 3, 1, {0xFFFF0000, 0x8000FF00, 0x000000FF});
  HANDLE made = MakeDisabledImage(source, 255.0f, 0, 0, 0, 0, kImageGreyscale);
  EXPECT_EQ((Pixels{0xFF4C4C4C, 0x80969696, 0x001D1D1D}), ReadBitmap(static_cast<HBITMAP>(made)));
  DeleteObject(made);
  DeleteObject(source);
}

TEST(MakeDisabledImage, NoImageGivesZero) {
  EXPECT_EQ(nullptr, MakeDisabledImage(nullptr, 255.0f, 0, 0, 0, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(nullptr, MakeDisabledImage(brush, 255.0f, 0, 0, 0, 0, kImageDeleteSource));
  EXPECT_EQ(OBJ_BRUSH, static_cast<int>(GetObjectType(brush))) << "a failed call leaves its argument alone";
  DeleteObject(brush);
  EXPECT_EQ(nullptr, MakeTintedImage(nullptr, 255.0f, 0, 0, 0.5f, 0, 0, 0));
}

TEST(MakeDisabledImage, DeleteSourceFlag) {
  HBITMAP bitmap = MakeSource(24, 2, 2, {0, 0, 0, 0});
  HANDLE made = MakeDisabledImage(bitmap, 255.0f, 0, 0, 0, 0, kImageDeleteSource);
  EXPECT_NE(nullptr, made);
  EXPECT_EQ(0u, GetObjectType(bitmap));
  DeleteObject(made);

  HICON icon = MakeIcon(2, 1, {0xFF000000, 0xFF000000}, {0, 0});
  made = MakeDisabledImage(icon, 255.0f, 0, 0, 0, 0, kImageDeleteSource | kImageReturnIcon);
  EXPECT_NE(nullptr, made);
  ICONINFO info = {};
  EXPECT_FALSE(GetIconInfo(icon, &info));
  DestroyIcon(static_cast<HICON>(made));
}

// ---- icons ----

// As the system draws icons: a picture without alpha (0 everywhere) is shaped by its
// mask; one with alpha anywhere by its alpha alone, so its clear pixels stay clear even
// where the mask, as many icon makers leave it, is black.
TEST(MakeDisabledImage, AnIconWithoutAlphaTakesItsMaskOneWithAlphaItsOwn) {
  HICON plain = MakeIcon(2, 1, {0x00FF0000, 0x0000FF00}, {0, 1});
  ASSERT_NE(nullptr, plain);
  HANDLE made = MakeDisabledImage(plain, 190.0f, 0, 0, 0, 0, 0);
  EXPECT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(made)));
  EXPECT_EQ((Pixels{0xBEFF0000u, 0x0000FF00u}), ReadBitmap(static_cast<HBITMAP>(made)));
  DeleteObject(made);
  DestroyIcon(plain);

  // Left: clear over a black mask; middle: clear; right: its own alpha.
  HICON icon = MakeIcon(3, 1, {0x00FF0000, 0x0000FF00, 0x400000FF}, {0, 1, 1});
  ASSERT_NE(nullptr, icon);
  made = MakeDisabledImage(icon, 190.0f, 0, 0, 0, 0, 0);
  EXPECT_EQ((Pixels{0x00FF0000u, 0x0000FF00u, 0x300000FFu}), ReadBitmap(static_cast<HBITMAP>(made)))
      << "64 / 255 * 190 = 47.7";
  DeleteObject(made);

  // The icon result keeps colour and alpha, and its mask leaves out what has no alpha.
  made = MakeDisabledImage(icon, 190.0f, 0, 0, 0, 0, kImageReturnIcon);
  IconPixels read = ReadIcon(static_cast<HICON>(made));
  EXPECT_EQ((Pixels{0x00FF0000u, 0x0000FF00u, 0x300000FFu}), read.colour);
  ASSERT_EQ(3u, read.mask.size());
  EXPECT_NE(0u, read.mask[0] & 0xFF);
  EXPECT_NE(0u, read.mask[1] & 0xFF);
  EXPECT_EQ(0u, read.mask[2] & 0xFF);
  DestroyIcon(static_cast<HICON>(made));
  DestroyIcon(icon);
}

TEST(MakeDisabledImage, MonochromeIcon) {
  // 8 x 2: an AND mask above an XOR picture; the left half shown, black and white.
  uint8_t and0[] = {0x0F, 0, 0x0F, 0};
  uint8_t xor0[] = {0xC0, 0, 0x00, 0};
  HICON icon = CreateIcon(nullptr, 8, 2, 1, 1, and0, xor0);
  ASSERT_NE(nullptr, icon);
  int width = 0, height = 0;
  EXPECT_EQ(1, GetImageSize(icon, &width, &height));
  EXPECT_EQ(8, width);
  EXPECT_EQ(2, height);
  HANDLE made = MakeDisabledImage(icon, 255.0f, 0, 0, 0, 0, 0);
  Pixels out = ReadBitmap(static_cast<HBITMAP>(made), &width, &height);
  ASSERT_EQ(16u, out.size());
  EXPECT_EQ(2, height);
  EXPECT_EQ(0xFFFFFFFFu, out[0]);
  EXPECT_EQ(0xFF000000u, out[2]);
  EXPECT_EQ(0u, out[4] >> 24);
  EXPECT_EQ(0xFF000000u, out[8]);
  DeleteObject(made);
  DestroyIcon(icon);
}

TEST(MakeTintedImage, PixelsOfABitmap) {
  HBITMAP source = MakeSource(32, 2, 1, {0xFFFFFFFF, 0x80000000});
  HANDLE made = MakeTintedImage(source, 255.0f, RGB(255, 0, 0), 0, 0.25f, RGB(0, 0, 0), 64, 0);
  // White darkens to red, then a quarter of black; black stays black.
  EXPECT_EQ((Pixels{0xFFBF0000u, 0x80000000u}), ReadBitmap(static_cast<HBITMAP>(made)));
  DeleteObject(made);
  // Greyscale is not a tinting flag: it changes nothing here.
  made = MakeTintedImage(source, 255.0f, RGB(255, 0, 0), 0, 0.25f, RGB(0, 0, 0), 64, kImageGreyscale);
  EXPECT_EQ((Pixels{0xFFBF0000u, 0x80000000u}), ReadBitmap(static_cast<HBITMAP>(made)));
  DeleteObject(made);
  DeleteObject(source);
}

TEST(ConvertBitmapToIcon, OpaqueWithoutAlphaAlphaKeptWithIt) {
  HBITMAP plain = MakeSource(24, 2, 1, {0x000000, 0x123456});
  HICON icon = ConvertBitmapToIcon(plain);
  ASSERT_NE(nullptr, icon);
  IconPixels read = ReadIcon(icon);
  EXPECT_EQ((Pixels{0xFF000000u, 0xFF123456u}), read.colour);
  EXPECT_EQ(0u, read.mask[0] & 0xFF);
  EXPECT_EQ(0u, read.mask[1] & 0xFF);
  EXPECT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(plain))) << "the bitmap stays the caller's";
  DestroyIcon(icon);
  DeleteObject(plain);

  HBITMAP alpha = MakeSource(32, 2, 1, {0x00FFFFFF, 0x80123456});
  icon = ConvertBitmapToIcon(alpha);
  read = ReadIcon(icon);
  EXPECT_EQ((Pixels{0x00FFFFFFu, 0x80123456u}), read.colour);
  EXPECT_NE(0u, read.mask[0] & 0xFF);
  EXPECT_EQ(0u, read.mask[1] & 0xFF);
  DestroyIcon(icon);
  DeleteObject(alpha);
  EXPECT_EQ(nullptr, ConvertBitmapToIcon(nullptr));
}

TEST(GetImageSize, IconsAndBitmaps) {
  HBITMAP bitmap = MakeSource(24, 3, 1, {0, 0, 0});
  HICON icon = MakeIcon(5, 4, Pixels(20, 0xFF000000), std::vector<int>(20, 0));
  HBRUSH brush = CreateSolidBrush(0);
  struct Row {
    HANDLE image;
    int isIcon, width, height;
  } rows[] = {{bitmap, 0, 3, 1}, {icon, 1, 5, 4}, {brush, 0, 0, 0}, {nullptr, 0, 0, 0}};
  for (const Row& row : rows) {
    int width = -1, height = -1;
    EXPECT_EQ(row.isIcon, GetImageSize(row.image, &width, &height)) << row.image;
    EXPECT_EQ(row.width, width);
    EXPECT_EQ(row.height, height);
    EXPECT_EQ(row.width, GetImageWidth(row.image));
    EXPECT_EQ(row.height, GetImageHeight(row.image));
  }
  DeleteObject(brush);
  DestroyIcon(icon);
  DeleteObject(bitmap);
}

TEST(DrawArrowGlyph, TriangleTipDown) {
  HBITMAP target = MakeSource(32, 7, 5, Pixels(35, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, target);
  HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  EXPECT_EQ(0, DrawArrowGlyph(dc, 1, 1, 5, 3, RGB(255, 0, 0)));
  EXPECT_EQ(pen, GetCurrentObject(dc, OBJ_PEN)) << "the previous pen is back";
  SelectObject(dc, old);
  DeleteDC(dc);
  Pixels out = ReadBitmap(target);
  auto red = [&](int x, int y) { return (out[y * 7 + x] & 0xFFFFFF) == 0xFF0000; };
  EXPECT_TRUE(red(1, 1));  // top corners
  EXPECT_TRUE(red(5, 1));
  EXPECT_TRUE(red(3, 3));  // the tip
  EXPECT_TRUE(red(3, 2));
  EXPECT_FALSE(red(1, 3));  // beside the tip
  EXPECT_FALSE(red(5, 3));
  EXPECT_FALSE(red(0, 0));
  EXPECT_FALSE(red(3, 4));
  DeleteObject(target);
}

// ---- per UI style ----

TEST(RecolourImageForStyle, EachStyleFollowsItsParameters) {
  InitColourTables();
  // One opaque orange pixel and one left out by the mask.
  HICON icon = MakeIcon(2, 1, {0x00FF8000, 0x00FF8000}, {0, 1});
  struct Row {
    int style;
    bool tinted;
    int alpha;
    int flags;
  } rows[] = {
      {UISTYLE_WHIDBEY, false, 80, kImageReturnIcon},
      {UISTYLE_OFFICE2003, true, 255, kImageReturnIcon},
      {UISTYLE_OFFICE2003_MENU, true, 255, kImageReturnIcon},
      {UISTYLE_OFFICE2007, true, 190, kImageReturnIcon},
      {0, false, 120, kImageGreyscale | kImageReturnIcon},
      {0x3000000, false, 120, kImageGreyscale | kImageReturnIcon},
  };
  for (const Row& row : rows) {
    RecolourRecipe recipe = RecolourRecipeForStyle(row.style);
    EXPECT_EQ(row.tinted, recipe.tinted) << row.style;
    EXPECT_EQ(row.flags, recipe.flags) << row.style;
    uint32_t expected = 0;
    if (row.style == UISTYLE_OFFICE2003 || row.style == UISTYLE_OFFICE2003_MENU) {
      EXPECT_EQ(static_cast<uint32_t>(LookupUIColour(row.style, 36, 2)), recipe.hueColour);
      EXPECT_EQ(RGB(210, 210, 210), recipe.blendColour);
      TintAdjustment a = MakeTintAdjustment(recipe.hueColour, 0, 0.64f, RGB(210, 210, 210), 110);
      expected = AdjustTintedPixel(a, RGB(255, 128, 0));
    } else if (row.style == UISTYLE_OFFICE2007) {
      EXPECT_EQ(static_cast<uint32_t>(LookupUIColour(row.style, 11, 2)), recipe.hueColour);
      EXPECT_EQ(static_cast<uint32_t>(LookupUIColour(row.style, 10, 2)), recipe.blendColour);
      TintAdjustment a = MakeTintAdjustment(recipe.hueColour, -0.1f, 0.49f, recipe.blendColour, 80);
      expected = AdjustTintedPixel(a, RGB(255, 128, 0));
    } else if (row.style == UISTYLE_WHIDBEY) {
      expected = RGB(255, 128, 0);
    } else {
      expected = RGB(151, 151, 151);  // 255 * 0.2989 + 128 * 0.587
    }
    HICON made = RecolourImageForStyle(icon, row.style);
    ASSERT_NE(nullptr, made) << row.style;
    IconPixels read = ReadIcon(made);
    ASSERT_EQ(2u, read.colour.size());
    EXPECT_EQ(static_cast<uint32_t>(row.alpha) << 24 | AsPixel(expected), read.colour[0]) << std::hex << row.style;
    EXPECT_EQ(0u, read.colour[1] >> 24) << row.style;
    DestroyIcon(made);
  }
  // A tinted pixel really takes the style's hue: the 2007 result is not the orange put in.
  HICON made = RecolourImageForStyle(icon, UISTYLE_OFFICE2007);
  EXPECT_NE(AsPixel(RGB(255, 128, 0)), ReadIcon(made).colour[0] & 0xFFFFFF);
  DestroyIcon(made);
  EXPECT_EQ(nullptr, RecolourImageForStyle(nullptr, UISTYLE_OFFICE2007));
  DestroyIcon(icon);
}

// ---- named files ----

class LoadToolkitImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "zk_image_effects_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    EXPECT_EQ(1, SetImageFolder(folder_));
    EXPECT_EQ(folder_ + "\\", ImageFolder);
    Write("two.bmp", Bmp24(2, 2));
    Write("empty.bmp", "");
    Write("text.bmp", "not a picture at all");
    Write("one.ico", Ico32(16));
  }
  void TearDown() override {
    for (const char* name : {"two.bmp", "empty.bmp", "text.bmp", "one.ico"})
      DeleteFileA((folder_ + "\\" + name).c_str());
    RemoveDirectoryA(folder_.c_str());
    ImageFolder.clear();
  }

  void Write(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA((folder_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  static void Put32(std::string* out, uint32_t v) { out->append(reinterpret_cast<const char*>(&v), 4); }
  static void Put16(std::string* out, uint16_t v) { out->append(reinterpret_cast<const char*>(&v), 2); }

  static std::string Header(int width, int height, int bitCount) {
    std::string h;
    Put32(&h, 40);
    Put32(&h, width);
    Put32(&h, height);
    Put16(&h, 1);
    Put16(&h, static_cast<uint16_t>(bitCount));
    for (int i = 0; i < 6; ++i) Put32(&h, 0);
    return h;
  }

  // A 24-bit BMP file, blue everywhere.
  static std::string Bmp24(int width, int height) {
    int stride = (width * 3 + 3) / 4 * 4;
    std::string pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels += std::string("\xFF\x00\x00", 3);
      pixels.append(stride - width * 3, '\0');
    }
    std::string file = "BM";
    Put32(&file, static_cast<uint32_t>(14 + 40 + pixels.size()));
    Put32(&file, 0);
    Put32(&file, 14 + 40);
    return file + Header(width, height, 24) + pixels;
  }

  // An icon file with one 32-bit entry of opaque green.
  static std::string Ico32(int size) {
    std::string image = Header(size, size * 2, 32);
    for (int i = 0; i < size * size; ++i) Put32(&image, 0xFF00FF00);
    image.append(static_cast<size_t>((size + 31) / 32 * 4) * size, '\0');
    std::string file;
    Put16(&file, 0);
    Put16(&file, 1);
    Put16(&file, 1);
    file += static_cast<char>(size);
    file += static_cast<char>(size);
    file += std::string(2, '\0');
    Put16(&file, 1);
    Put16(&file, 32);
    Put32(&file, static_cast<uint32_t>(image.size()));
    Put32(&file, 6 + 16);
    return file + image;
  }

  std::string folder_;
};

TEST_F(LoadToolkitImageTest, FilesOfEachKind) {
  HANDLE bitmap = LoadToolkitImage("two.bmp", 0, 0, 0);
  int width = 0, height = 0;
  EXPECT_EQ(0, GetImageSize(bitmap, &width, &height));
  EXPECT_EQ(2, width);
  EXPECT_EQ(2, height);
  EXPECT_EQ((Pixels{0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF}), ReadBitmap(static_cast<HBITMAP>(bitmap)));
  DeleteObject(bitmap);

  // A given width with a height of 0 keeps the picture's height.
  HANDLE scaled = LoadToolkitImage("two.bmp", 4, 0, kLoadAsIcon);
  EXPECT_EQ(1, GetImageSize(scaled, &width, &height));
  EXPECT_EQ(4, width);
  EXPECT_EQ(2, height);
  DestroyIcon(static_cast<HICON>(scaled));

  HANDLE icon = LoadToolkitImage("one.ico", 16, 16, 0);
  EXPECT_EQ(1, GetImageSize(icon, &width, &height));
  EXPECT_EQ(16, width);
  DestroyIcon(static_cast<HICON>(icon));

  for (const char* name : {"missing.bmp", "empty.bmp", "text.bmp"})
    EXPECT_EQ(nullptr, LoadToolkitImage(name, 0, 0, kLoadShared)) << name;
  EXPECT_EQ(0u, SharedIconMap.Size());
  EXPECT_EQ(0u, SharedIconNameMap.Size());
}

TEST_F(LoadToolkitImageTest, SharedLoadsAndReleases) {
  for (const char* name : {"one.ico", "two.bmp"}) {
    HANDLE first = LoadToolkitImage(name, 16, 16, kLoadShared);
    ASSERT_NE(nullptr, first) << name;
    HANDLE second = LoadToolkitImage(name, 16, 16, kLoadShared);
    EXPECT_EQ(first, second) << name;
    SharedIcon* record = SharedIconMap.Find(HandleKey(first));
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(1, record->referenceCount);
    EXPECT_EQ(name, record->fileName);
    // The image list a holder attached stays until the last holder goes.
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    HBITMAP picture = MakeSource(24, 16, 16, Pixels(256, 0x123456));
    ImageList_Add(list, picture, nullptr);
    DeleteObject(picture);
    record->imageList = list;

    EXPECT_EQ(TRUE, ReleaseSharedIcon(first));
    EXPECT_EQ(1, GetImageWidth(first) > 0) << "still there for the other holder";
    EXPECT_EQ(1, ImageList_GetImageCount(list));
    EXPECT_NE(nullptr, SharedIconMap.Find(HandleKey(first)));

    EXPECT_EQ(TRUE, ReleaseSharedIcon(first));
    EXPECT_EQ(0, GetImageWidth(first)) << "destroyed with the last holder";
    EXPECT_EQ(nullptr, SharedIconMap.Find(HandleKey(first)));
    EXPECT_EQ(nullptr, SharedIconNameMap.Find(name));
  }
  // An image that was never shared is simply destroyed.
  HANDLE plain = LoadToolkitImage("two.bmp", 0, 0, 0);
  EXPECT_EQ(TRUE, ReleaseSharedIcon(plain));
  EXPECT_EQ(0u, GetObjectType(plain));
}

}  // namespace
