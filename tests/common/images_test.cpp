#include <gtest/gtest.h>

#include <windows.h>

#include <setjmp.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// After windows.h, as in the decoder (INT32 and boolean come from the system headers).
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include "common/images.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Pixels as the DIBs hold them: 0xAARRGGBB.
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void SetBig16(Bytes& b, size_t at, unsigned v) {
  b[at] = uint8_t(v >> 8);
  b[at + 1] = uint8_t(v);
}
void SetBig32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}

// ---------------------------------------------------------------------------------------
// Fixture writers

struct BmpFixture {
  int width = 2;
  int height = 2;  // negative: top-down
  int bpp = 24;
  uint32_t compression = BI_RGB;
  std::vector<uint32_t> masks;    // written after the header (BI_BITFIELDS)
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  uint32_t colorsUsed = 0;
  bool coreHeader = false;  // the 12-byte OS/2 header with 3-byte palette entries
  std::vector<Bytes> rows;  // in file order, unpadded
};

Bytes Bmp(const BmpFixture& s) {
  size_t stride = (size_t(s.width) * s.bpp + 31) / 32 * 4;
  size_t headerSize = s.coreHeader ? 12 : 40;
  size_t entry = s.coreHeader ? 3 : 4;
  size_t colours = s.palette.empty() ? 0 : s.colorsUsed ? s.palette.size() : size_t(1) << s.bpp;
  size_t offset = 14 + headerSize + s.masks.size() * 4 + colours * entry;
  Bytes b{'B', 'M'};
  Put32(b, uint32_t(offset + stride * s.rows.size()));
  Put32(b, 0);
  Put32(b, uint32_t(offset));
  Put32(b, uint32_t(headerSize));
  if (s.coreHeader) {
    Put16(b, s.width);
    Put16(b, s.height);
    Put16(b, 1);
    Put16(b, s.bpp);
  } else {
    Put32(b, uint32_t(s.width));
    Put32(b, uint32_t(s.height));
    Put16(b, 1);
    Put16(b, s.bpp);
    Put32(b, s.compression);
    Put32(b, 0);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, s.colorsUsed);
    Put32(b, 0);
  }
  for (uint32_t m : s.masks) Put32(b, m);
  // Without a colour count the table has all 2^bpp entries.
  std::vector<uint32_t> palette = s.palette;
  if (!palette.empty() && !s.colorsUsed) palette.resize(size_t(1) << s.bpp, 0);
  for (uint32_t c : palette) {
    b.push_back(uint8_t(c));
    b.push_back(uint8_t(c >> 8));
    b.push_back(uint8_t(c >> 16));
    if (!s.coreHeader) b.push_back(0);
  }
  for (const Bytes& row : s.rows) {
    Bytes padded = row;
    padded.resize(stride, 0);
    b.insert(b.end(), padded.begin(), padded.end());
  }
  return b;
}

// A 2x2 24-bit bottom-up BMP: red, green on top; blue, white below.
Bytes Bmp24() {
  BmpFixture s;
  s.rows = {{0xFF, 0, 0, 0xFF, 0xFF, 0xFF}, {0, 0, 0xFF, 0, 0xFF, 0}};
  return Bmp(s);
}

struct PngFixture {
  int width = 2;
  int height = 2;
  int colorType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  std::vector<Bytes> rows;  // packed, as the format stores them
  std::vector<png_color> palette;
  Bytes trans;               // palette alpha
  bool transColour = false;  // colour key for RGB
  png_color_16 transRgb{};
  bool interlace = false;
};

void PngWriteData(png_structp png, png_bytep data, size_t n) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void PngFlush(png_structp) {}

// No C++ objects in this frame: libpng leaves it through longjmp on an error.
bool WritePng(const PngFixture& s, png_bytep* rows, Bytes* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, PngWriteData, PngFlush);
  png_set_IHDR(png, info, s.width, s.height, s.depth, s.colorType,
               s.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), int(s.palette.size()));
  if (!s.trans.empty()) png_set_tRNS(png, info, s.trans.data(), int(s.trans.size()), nullptr);
  if (s.transColour) png_set_tRNS(png, info, nullptr, 0, &s.transRgb);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

Bytes Png(const PngFixture& s) {
  std::vector<png_bytep> rows;
  std::vector<Bytes> copy = s.rows;
  for (Bytes& r : copy) rows.push_back(r.data());
  Bytes out;
  EXPECT_TRUE(WritePng(s, rows.data(), &out));
  return out;
}

Bytes PngRgba2x2() {
  PngFixture s;
  s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  s.rows = {{255, 0, 0, 255, 0, 255, 0, 128}, {0, 0, 255, 0, 255, 255, 255, 255}};
  return Png(s);
}

// Rewrites the IHDR size of a PNG and its checksum, so that only the size is wrong.
Bytes PngWithSize(Bytes png, uint32_t width, uint32_t height) {
  SetBig32(png, 16, width);
  SetBig32(png, 20, height);
  SetBig32(png, 29, uint32_t(crc32(0, png.data() + 12, 17)));
  return png;
}

// pixels: width * height * components bytes, top row first.
Bytes Jpeg(int width, int height, J_COLOR_SPACE space, int components, const Bytes& pixels, bool progressive = false) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + size_t(c.next_scanline) * width * components);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  free(buffer);
  return out;
}

// 16x16: the top half red, the bottom half blue.
Bytes JpegRedOverBlue(bool progressive = false) {
  Bytes px;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      px.push_back(y < 8 ? 255 : 0);
      px.push_back(0);
      px.push_back(y < 8 ? 0 : 255);
    }
  return Jpeg(16, 16, JCS_RGB, 3, px, progressive);
}

// Offset of the frame header (FF C0 or FF C2) of a JPEG.
size_t JpegFrameAt(const Bytes& j) {
  for (size_t i = 2; i + 9 < j.size(); ++i)
    if (j[i] == 0xFF && (j[i + 1] == 0xC0 || j[i + 1] == 0xC2)) return i;
  ADD_FAILURE() << "no frame header";
  return 0;
}

// One 32-bit bitmap image of an icon file: a colour with full alpha, and an empty mask.
Bytes IconBitmap(int size, uint32_t argb, int bpp = 32) {
  Bytes b;
  Put32(b, 40);
  Put32(b, uint32_t(size));
  Put32(b, uint32_t(size * 2));
  Put16(b, 1);
  Put16(b, bpp);
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  for (int i = 0; i < size * size; ++i) Put32(b, argb);
  size_t maskStride = (size_t(size) + 31) / 32 * 4;
  b.resize(b.size() + maskStride * size, 0);
  return b;
}

struct IconPart {
  int size;
  Bytes image;
};

Bytes Ico(const std::vector<IconPart>& parts, int type = 1) {
  Bytes b;
  Put16(b, 0);
  Put16(b, type);
  Put16(b, uint16_t(parts.size()));
  size_t offset = 6 + 16 * parts.size();
  for (const IconPart& p : parts) {
    b.push_back(uint8_t(p.size >= 256 ? 0 : p.size));
    b.push_back(uint8_t(p.size >= 256 ? 0 : p.size));
    b.push_back(0);
    b.push_back(0);
    Put16(b, type == 2 ? 3 : 1);   // planes, or the hot spot's x for a cursor
    Put16(b, type == 2 ? 5 : 32);  // bit count, or the hot spot's y
    Put32(b, uint32_t(p.image.size()));
    Put32(b, uint32_t(offset));
    offset += p.image.size();
  }
  for (const IconPart& p : parts) b.insert(b.end(), p.image.begin(), p.image.end());
  return b;
}

// 16x16 red and 32x32 blue.
Bytes IcoTwoSizes() { return Ico({{16, IconBitmap(16, kRed)}, {32, IconBitmap(32, kBlue)}}); }

// ---------------------------------------------------------------------------------------
// Reading results

uint32_t PixelAt(HANDLE bitmap, int x, int y) {
  DIBSECTION ds{};
  if (GetObjectW(bitmap, sizeof(ds), &ds) != int(sizeof(ds)) || !ds.dsBm.bmBits) {
    ADD_FAILURE() << "not a DIB section";
    return 0;
  }
  return static_cast<const uint32_t*>(ds.dsBm.bmBits)[size_t(y) * ds.dsBm.bmWidth + x];
}

uint32_t PixelAt(int image, int x, int y) { return PixelAt(RuntimeImageHandle(image), x, y); }

// Every channel (alpha too) within tolerance.
::testing::AssertionResult Near(uint32_t got, uint32_t want, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int g = int(got >> shift) & 0xFF, w = int(want >> shift) & 0xFF;
    if (abs(g - w) > tolerance) {
      char text[64];
      snprintf(text, sizeof(text), "got %08X, want %08X", unsigned(got), unsigned(want));
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

// The icon drawn at its own size onto black; RGB of one pixel.
uint32_t IconPixel(HICON icon, int x, int y) {
  ICONINFO ii{};
  if (!GetIconInfo(icon, &ii)) return 0xDEADBEEF;
  BITMAP bm{};
  GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
  int w = bm.bmWidth, h = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, target);
  DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  uint32_t v = static_cast<const uint32_t*>(bits)[size_t(y) * w + x] & 0xFFFFFF;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(target);
  return v;
}

SIZE IconSize(HICON icon) {
  ICONINFO ii{};
  SIZE s{0, 0};
  if (!GetIconInfo(icon, &ii)) return s;
  BITMAP bm{};
  GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
  s.cx = bm.bmWidth;
  s.cy = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  return s;
}

int Catch(const Bytes& b, int number = kAnyNumber) {
  return static_cast<int>(CatchRuntimeImage(number, b.data(), b.size()));
}

class ImagesTest : public ::testing::Test {
 protected:
  // Every number a test takes is freed, so tests do not see each other's images.
  int Take(int number) {
    taken_.push_back(number);
    return number;
  }
  void TearDown() override {
    for (int n : taken_) FreeRuntimeImage(n);
  }
  std::vector<int> taken_;
};

// ---------------------------------------------------------------------------------------
// BMP

struct BmpCase {
  const char* name;
  BmpFixture fixture;
  uint32_t expected[4];  // top left, top right, bottom left, bottom right
};

BmpFixture BmpOf(int bpp, std::vector<Bytes> rows, int height = 2) {
  BmpFixture s;
  s.bpp = bpp;
  s.height = height;
  s.rows = std::move(rows);
  return s;
}

std::vector<BmpCase> BmpCases() {
  std::vector<BmpCase> cases;
  const std::vector<uint32_t> rgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  cases.push_back({"24BitBottomUp",
                   BmpOf(24, {{0xFF, 0, 0, 0xFF, 0xFF, 0xFF}, {0, 0, 0xFF, 0, 0xFF, 0}}),
                   {kRed, kGreen, kBlue, kWhite}});
  cases.push_back({"24BitTopDown",
                   BmpOf(24, {{0, 0, 0xFF, 0, 0xFF, 0}, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF}}, -2),
                   {kRed, kGreen, kBlue, kWhite}});
  // The fourth byte of a plain 32-bit BMP is no alpha: the picture stays opaque.
  cases.push_back({"32BitIgnoresFourthByte",
                   BmpOf(32, {{0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0}}),
                   {kRed, kGreen, kBlue, kWhite}});
  BmpFixture p8 = BmpOf(8, {{2, 3}, {0, 1}});
  p8.palette = rgbw;
  cases.push_back({"8BitPalette", p8, {kRed, kGreen, kBlue, kWhite}});
  BmpFixture p4 = BmpOf(4, {{0x23}, {0x01}});
  p4.palette = rgbw;
  cases.push_back({"4BitPalette", p4, {kRed, kGreen, kBlue, kWhite}});
  BmpFixture p1 = BmpOf(1, {{0x80}, {0x40}});
  p1.palette = {0xFF0000, 0x0000FF};
  cases.push_back({"1BitPalette", p1, {kRed, kBlue, kBlue, kRed}});
  BmpFixture core = BmpOf(8, {{2, 3}, {0, 1}});
  core.palette = rgbw;
  core.coreHeader = true;
  cases.push_back({"CoreHeader", core, {kRed, kGreen, kBlue, kWhite}});
  // Two palette entries; index 5 lies beyond them.
  BmpFixture shortPalette = BmpOf(8, {{5, 1}, {0, 1}});
  shortPalette.palette = {0xFF0000, 0x00FF00};
  shortPalette.colorsUsed = 2;
  cases.push_back({"IndexBeyondPaletteIsBlack", shortPalette, {kRed, kGreen, kBlack, kGreen}});
  cases.push_back(
      {"16Bit555", BmpOf(16, {{0x1F, 0, 0xFF, 0x7F}, {0, 0x7C, 0xE0, 0x03}}), {kRed, kGreen, kBlue, kWhite}});
  BmpFixture b565 = BmpOf(16, {{0x1F, 0, 0xFF, 0xFF}, {0, 0xF8, 0xE0, 0x07}});
  b565.compression = BI_BITFIELDS;
  b565.masks = {0xF800, 0x07E0, 0x001F};
  cases.push_back({"16BitFields565", b565, {kRed, kGreen, kBlue, kWhite}});
  // Red in the low byte, blue in the third.
  BmpFixture rgbx = BmpOf(32, {{0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0}, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0}});
  rgbx.compression = BI_BITFIELDS;
  rgbx.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  cases.push_back({"32BitFieldsSwapped", rgbx, {kRed, kGreen, kBlue, kWhite}});
  return cases;
}

void PrintTo(const BmpCase& c, std::ostream* os) { *os << c.name; }

class BmpDecodeTest : public ImagesTest, public ::testing::WithParamInterface<BmpCase> {};

TEST_P(BmpDecodeTest, DecodesEveryPixel) {
  const BmpCase& c = GetParam();
  int n = Take(Catch(Bmp(c.fixture)));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageWidth(n), 2);
  EXPECT_EQ(RuntimeImageHeight(n), 2);
  EXPECT_EQ(RuntimeImageIsIcon(n), 0);
  EXPECT_EQ(PixelAt(n, 0, 0), c.expected[0]);
  EXPECT_EQ(PixelAt(n, 1, 0), c.expected[1]);
  EXPECT_EQ(PixelAt(n, 0, 1), c.expected[2]);
  EXPECT_EQ(PixelAt(n, 1, 1), c.expected[3]);
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpDecodeTest, ::testing::ValuesIn(BmpCases()),
                         [](const ::testing::TestParamInfo<BmpCase>& i) { return std::string(i.param.name); });

TEST_F(ImagesTest, BitmapsAre32BitTopDownDibSections) {
  int n = Take(Catch(Bmp24()));
  ASSERT_NE(n, 0);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectW(RuntimeImageHandle(n), sizeof(ds), &ds), int(sizeof(ds)));
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
  // The first pixel in memory is the one GDI shows at the top left.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, RuntimeImageHandle(n));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(static_cast<const uint32_t*>(ds.dsBm.bmBits)[0], kRed);
}

TEST_F(ImagesTest, BmpOfOddWidthKeepsRowPadding) {
  // 3 pixels of 3 bytes: each row is padded to 12 bytes; a decoder ignoring the padding
  // would shift the second row.
  BmpFixture s;
  s.width = 3;
  s.rows = {{0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0}, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF}};
  int n = Take(Catch(Bmp(s)));
  ASSERT_NE(n, 0);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(PixelAt(n, x, 0), kRed) << x;
    EXPECT_EQ(PixelAt(n, x, 1), kBlue) << x;
  }
}

// ---------------------------------------------------------------------------------------
// PNG

struct PngCase {
  const char* name;
  PngFixture fixture;
  uint32_t expected[4];
};

PngFixture PngOf(int colorType, int depth, std::vector<Bytes> rows) {
  PngFixture s;
  s.colorType = colorType;
  s.depth = depth;
  s.rows = std::move(rows);
  return s;
}

std::vector<PngCase> PngCases() {
  std::vector<PngCase> cases;
  // Alpha is kept as stored, colours are not premultiplied.
  cases.push_back(
      {"RgbaKeepsAlpha",
       PngOf(PNG_COLOR_TYPE_RGB_ALPHA, 8, {{255, 0, 0, 255, 0, 255, 0, 128}, {0, 0, 255, 0, 255, 255, 255, 255}}),
       {kRed, 0x8000FF00, 0x000000FF, kWhite}});
  cases.push_back({"RgbIsOpaque",
                   PngOf(PNG_COLOR_TYPE_RGB, 8, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}}),
                   {kRed, kGreen, kBlue, kWhite}});
  PngFixture pal = PngOf(PNG_COLOR_TYPE_PALETTE, 2, {{0x10}, {0xB0}});
  pal.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  pal.trans = {255, 64};
  cases.push_back({"PaletteWithTransparency", pal, {kRed, 0x4000FF00, kBlue, kWhite}});
  cases.push_back({"Gray16Bit",
                   PngOf(PNG_COLOR_TYPE_GRAY, 16, {{0xFF, 0xFF, 0, 0}, {0x80, 0x80, 0x40, 0x40}}),
                   {kWhite, kBlack, 0xFF808080, 0xFF404040}});
  cases.push_back({"Gray1Bit", PngOf(PNG_COLOR_TYPE_GRAY, 1, {{0x80}, {0x40}}), {kWhite, kBlack, kBlack, kWhite}});
  cases.push_back({"GrayAlpha",
                   PngOf(PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{255, 255, 0, 10}, {128, 0, 64, 255}}),
                   {kWhite, 0x0A000000, 0x00808080, 0xFF404040}});
  PngFixture key = PngOf(PNG_COLOR_TYPE_RGB, 8, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}});
  key.transColour = true;
  key.transRgb.red = 255;
  cases.push_back({"ColourKeyBecomesAlpha", key, {0x00FF0000, kGreen, kBlue, kWhite}});
  PngFixture interlaced = PngOf(PNG_COLOR_TYPE_RGB, 8, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}});
  interlaced.interlace = true;
  cases.push_back({"Interlaced", interlaced, {kRed, kGreen, kBlue, kWhite}});
  return cases;
}

void PrintTo(const PngCase& c, std::ostream* os) { *os << c.name; }

class PngDecodeTest : public ImagesTest, public ::testing::WithParamInterface<PngCase> {};

TEST_P(PngDecodeTest, DecodesEveryPixel) {
  const PngCase& c = GetParam();
  int n = Take(Catch(Png(c.fixture)));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageWidth(n), 2);
  EXPECT_EQ(RuntimeImageHeight(n), 2);
  EXPECT_EQ(PixelAt(n, 0, 0), c.expected[0]);
  EXPECT_EQ(PixelAt(n, 1, 0), c.expected[1]);
  EXPECT_EQ(PixelAt(n, 0, 1), c.expected[2]);
  EXPECT_EQ(PixelAt(n, 1, 1), c.expected[3]);
}

INSTANTIATE_TEST_SUITE_P(Formats, PngDecodeTest, ::testing::ValuesIn(PngCases()),
                         [](const ::testing::TestParamInfo<PngCase>& i) { return std::string(i.param.name); });

TEST_F(ImagesTest, SideLimitIs32768) {
  PngFixture s = PngOf(PNG_COLOR_TYPE_GRAY, 1, {Bytes(32768 / 8, 0xFF)});
  s.width = 32768;
  s.height = 1;
  int n = Take(Catch(Png(s)));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageWidth(n), 32768);
  EXPECT_EQ(PixelAt(n, 32767, 0), kWhite);

  s.width = 32769;
  s.rows = {Bytes(32776 / 8, 0xFF)};
  EXPECT_EQ(Catch(Png(s)), 0);
}

// ---------------------------------------------------------------------------------------
// JPEG

struct JpegCase {
  const char* name;
  std::function<Bytes()> make;
  int width;
  int height;
  uint32_t top;     // pixel (1, 1)
  uint32_t bottom;  // pixel (1, height - 2)
};

std::vector<JpegCase> JpegCases() {
  return {
      {"Baseline", [] { return JpegRedOverBlue(); }, 16, 16, kRed, kBlue},
      {"Progressive", [] { return JpegRedOverBlue(true); }, 16, 16, kRed, kBlue},
      {"GrayOddSize",
       [] {
         Bytes px(17 * 9, 0x60);
         return Jpeg(17, 9, JCS_GRAYSCALE, 1, px);
       },
       17, 9, 0xFF606060, 0xFF606060},
      // Adobe's CMYK, stored inverted: C=0 M=255 Y=255 K=0 is red.
      {"AdobeCmyk",
       [] {
         Bytes px;
         for (int i = 0; i < 8 * 8; ++i) px.insert(px.end(), {255, 0, 0, 255});
         return Jpeg(8, 8, JCS_CMYK, 4, px);
       },
       8, 8, kRed, kRed},
  };
}

void PrintTo(const JpegCase& c, std::ostream* os) { *os << c.name; }

class JpegDecodeTest : public ImagesTest, public ::testing::WithParamInterface<JpegCase> {};

TEST_P(JpegDecodeTest, DecodesSizeAndColours) {
  const JpegCase& c = GetParam();
  int n = Take(Catch(c.make()));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageWidth(n), c.width);
  EXPECT_EQ(RuntimeImageHeight(n), c.height);
  EXPECT_TRUE(Near(PixelAt(n, 1, 1), c.top, 12));
  EXPECT_TRUE(Near(PixelAt(n, 1, c.height - 2), c.bottom, 12));
}

INSTANTIATE_TEST_SUITE_P(Formats, JpegDecodeTest, ::testing::ValuesIn(JpegCases()),
                         [](const ::testing::TestParamInfo<JpegCase>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------------------------------
// ICO and CUR

TEST_F(ImagesTest, IconTakesTheLargestEntry) {
  Bytes ico = IcoTwoSizes();
  int n = Take(Catch(ico));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageIsIcon(n), 1);
  EXPECT_EQ(RuntimeImageWidth(n), 32);
  EXPECT_EQ(RuntimeImageHeight(n), 32);
  HICON icon = static_cast<HICON>(RuntimeImageHandle(n));
  EXPECT_EQ(IconSize(icon).cx, 32);
  EXPECT_EQ(IconPixel(icon, 16, 16), kBlue & 0xFFFFFF);
}

struct IconPick {
  int want;
  int size;
  uint32_t colour;
};

TEST_F(ImagesTest, DecodeIconPicksTheClosestEntry) {
  Bytes ico = IcoTwoSizes();
  for (IconPick c : {IconPick{16, 16, kRed}, IconPick{20, 20, kRed}, IconPick{28, 28, kBlue}, IconPick{32, 32, kBlue},
                     IconPick{48, 48, kBlue}, IconPick{0, 32, kBlue}}) {
    HICON icon = DecodeIcon(ico.data(), ico.size(), c.want, c.want);
    ASSERT_NE(icon, nullptr) << c.want;
    EXPECT_EQ(IconSize(icon).cx, c.size) << c.want;
    EXPECT_EQ(IconSize(icon).cy, c.size) << c.want;
    EXPECT_EQ(IconPixel(icon, c.size / 2, c.size / 2), c.colour & 0xFFFFFF) << c.want;
    DestroyIcon(icon);
  }
  Bytes png = PngRgba2x2();
  EXPECT_EQ(DecodeIcon(png.data(), png.size(), 16, 16), nullptr);
}

TEST_F(ImagesTest, IconWithPngEntryKeepsTransparency) {
  // 48x48 green with a transparent top-left corner, beside a 16x16 red bitmap.
  PngFixture s;
  s.width = s.height = 48;
  s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (int y = 0; y < 48; ++y) {
    Bytes row;
    for (int x = 0; x < 48; ++x) row.insert(row.end(), {0, 255, 0, uint8_t(x < 8 && y < 8 ? 0 : 255)});
    s.rows.push_back(row);
  }
  Bytes ico = Ico({{16, IconBitmap(16, kRed)}, {48, Png(s)}});
  int n = Take(Catch(ico));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageWidth(n), 48);
  HICON icon = static_cast<HICON>(RuntimeImageHandle(n));
  EXPECT_EQ(IconPixel(icon, 24, 24), 0x00FF00u);
  EXPECT_EQ(IconPixel(icon, 2, 2), 0u);

  // Nearer to 48 than to 16: the PNG entry, scaled.
  HICON scaled = DecodeIcon(ico.data(), ico.size(), 40, 40);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(IconSize(scaled).cx, 40);
  EXPECT_EQ(IconPixel(scaled, 20, 20), 0x00FF00u);
  EXPECT_EQ(IconPixel(scaled, 1, 1), 0u);
  DestroyIcon(scaled);
}

TEST_F(ImagesTest, CursorFilesLoadAsIcons) {
  int n = Take(Catch(Ico({{32, IconBitmap(32, kGreen)}}, 2)));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageIsIcon(n), 1);
  EXPECT_EQ(RuntimeImageWidth(n), 32);
}

TEST_F(ImagesTest, DecodeImageTellsKindAndSize) {
  struct Case {
    Bytes data;
    bool icon;
    int width;
    int height;
  };
  for (const Case& c : {Case{Bmp24(), false, 2, 2}, Case{PngRgba2x2(), false, 2, 2},
                        Case{JpegRedOverBlue(), false, 16, 16}, Case{IcoTwoSizes(), true, 32, 32}}) {
    bool icon = !c.icon;
    int w = 0, h = 0;
    HANDLE handle = DecodeImage(c.data.data(), c.data.size(), &icon, &w, &h);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(icon, c.icon);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
    if (icon)
      DestroyIcon(static_cast<HICON>(handle));
    else
      DeleteObject(handle);
  }
}

// ---------------------------------------------------------------------------------------
// Damaged data

struct BadCase {
  const char* name;
  std::function<Bytes()> make;
};

Bytes Cut(Bytes b, size_t keep) {
  b.resize(keep < b.size() ? keep : b.size());
  return b;
}

std::vector<BadCase> BadCases() {
  return {
      {"Empty", [] { return Bytes(); }},
      {"UnknownSignature", [] { return Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}; }},
      // BMP
      {"BmpMissingLastBytes",
       [] {
         Bytes b = Bmp24();
         return Cut(b, b.size() - 3);
       }},
      {"BmpHeaderOnly", [] { return Cut(Bmp24(), 30); }},
      {"BmpSevenBitsPerPixel",
       [] {
         Bytes b = Bmp24();
         b[28] = 7;
         return b;
       }},
      {"BmpZeroWidth",
       [] {
         Bytes b = Bmp24();
         Set32(b, 18, 0);
         return b;
       }},
      {"BmpZeroHeight",
       [] {
         Bytes b = Bmp24();
         Set32(b, 22, 0);
         return b;
       }},
      {"BmpHugeWidth",
       [] {
         Bytes b = Bmp24();
         Set32(b, 18, 40000);
         return b;
       }},
      {"BmpMostNegativeHeight",
       [] {
         Bytes b = Bmp24();
         Set32(b, 22, 0x80000000u);
         return b;
       }},
      {"BmpPixelsBeyondTheEnd",
       [] {
         Bytes b = Bmp24();
         Set32(b, 10, 0x7FFFFFF0);
         return b;
       }},
      {"BmpTooManyColours",
       [] {
         BmpFixture s = BmpOf(8, {{0, 0}, {0, 0}});
         s.palette = {0};
         s.colorsUsed = 1000000;
         return Bmp(s);
       }},
      {"BmpRunLengthCompression",
       [] {
         Bytes b = Bmp24();
         Set32(b, 30, BI_RLE8);
         return b;
       }},
      {"BmpFieldsMissingMasks",
       [] {
         Bytes b = Bmp24();
         b[28] = 32;
         Set32(b, 30, BI_BITFIELDS);
         return Cut(b, 60);
       }},
      // PNG
      {"PngSignatureOnly", [] { return Cut(PngRgba2x2(), 8); }},
      {"PngCutInImageData",
       [] {
         Bytes b = PngRgba2x2();
         return Cut(b, b.size() - 20);
       }},
      {"PngWithoutEnd",
       [] {
         Bytes b = PngRgba2x2();
         return Cut(b, b.size() - 12);
       }},
      {"PngHeaderChecksumWrong",
       [] {
         Bytes b = PngRgba2x2();
         b[30] ^= 0x55;
         return b;
       }},
      {"PngZeroWidth", [] { return PngWithSize(PngRgba2x2(), 0, 2); }},
      {"PngHugeWidth", [] { return PngWithSize(PngRgba2x2(), 40000, 2); }},
      {"PngHugeArea", [] { return PngWithSize(PngRgba2x2(), 30000, 30000); }},
      {"PngDataDoesNotMatchSize", [] { return PngWithSize(PngRgba2x2(), 2, 200); }},
      // JPEG
      {"JpegStartOnly", [] { return Cut(JpegRedOverBlue(), 4); }},
      {"JpegCutInHeaders",
       [] {
         Bytes b = JpegRedOverBlue();
         return Cut(b, JpegFrameAt(b) + 6);
       }},
      {"JpegCutInScan",
       [] {
         Bytes b = JpegRedOverBlue();
         return Cut(b, b.size() - 10);
       }},
      {"JpegZeroWidth",
       [] {
         Bytes b = JpegRedOverBlue();
         SetBig16(b, JpegFrameAt(b) + 7, 0);
         return b;
       }},
      {"JpegHugeWidth",
       [] {
         Bytes b = JpegRedOverBlue();
         SetBig16(b, JpegFrameAt(b) + 7, 40000);
         return b;
       }},
      {"JpegGarbageAfterStart",
       [] {
         Bytes b{0xFF, 0xD8, 0xFF};
         for (int i = 0; i < 200; ++i) b.push_back(uint8_t(i * 37));
         return b;
       }},
      // ICO
      {"IcoDirectoryOnly", [] { return Cut(IcoTwoSizes(), 6); }},
      {"IcoNoEntries",
       [] {
         Bytes b = IcoTwoSizes();
         b[4] = 0;
         return b;
       }},
      {"IcoWrongType",
       [] {
         Bytes b = IcoTwoSizes();
         b[2] = 3;
         return b;
       }},
      {"IcoCutInLastEntry",
       [] {
         Bytes b = IcoTwoSizes();
         return Cut(b, b.size() - 100);
       }},
      {"IcoEntryBeyondTheEnd",
       [] {
         Bytes b = IcoTwoSizes();
         Set32(b, 6 + 16 + 12, 0x7FFFFFF0);
         return b;
       }},
      {"IcoEntrySevenBitsPerPixel",
       [] {
         return Ico({{16, IconBitmap(16, kRed, 7)}});
       }},
      {"IcoEntryHugeWidth",
       [] {
         Bytes img = IconBitmap(16, kRed);
         Set32(img, 4, 40000);
         return Ico({{16, img}});
       }},
      {"IcoEntryMaskMissing",
       [] {
         Bytes img = IconBitmap(16, kRed);
         return Ico({{16, Cut(img, img.size() - 10)}});
       }},
      {"IcoPngEntryCut",
       [] {
         PngFixture s = PngOf(PNG_COLOR_TYPE_RGB, 8, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}});
         Bytes png = Png(s);
         return Ico({{2, Cut(png, png.size() - 20)}});
       }},
  };
}

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class DamagedDataTest : public ImagesTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(DamagedDataTest, FailsWithZero) {
  Bytes b = GetParam().make();
  EXPECT_EQ(CatchRuntimeImage(kAnyNumber, b.data(), b.size()), 0);
  bool icon = false;
  int w = 0, h = 0;
  EXPECT_EQ(DecodeImage(b.data(), b.size(), &icon, &w, &h), nullptr);
  EXPECT_EQ(DecodeIcon(b.data(), b.size(), 16, 16), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedDataTest, ::testing::ValuesIn(BadCases()),
                         [](const ::testing::TestParamInfo<BadCase>& i) { return std::string(i.param.name); });

// Every shorter prefix of each format must fail cleanly (never crash, never succeed with
// invented pixels).
TEST_F(ImagesTest, EveryTruncationFails) {
  for (const Bytes& full : {Bmp24(), PngRgba2x2(), JpegRedOverBlue(), IcoTwoSizes()}) {
    for (size_t keep = 0; keep < full.size(); ++keep) {
      Bytes part(full.begin(), full.begin() + keep);
      HANDLE h = DecodeImage(part.data(), part.size(), nullptr, nullptr, nullptr);
      EXPECT_EQ(h, nullptr) << "prefix of " << keep << " of " << full.size() << " bytes";
      if (h) DeleteObject(h);
    }
  }
}

TEST_F(ImagesTest, NullDataFails) {
  EXPECT_EQ(CatchRuntimeImage(kAnyNumber, nullptr, 100), 0);
  EXPECT_EQ(DecodeImage(nullptr, 100, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(DecodeIcon(nullptr, 100, 16, 16), nullptr);
}

// ---------------------------------------------------------------------------------------
// Numbers

TEST_F(ImagesTest, AnyNumberGivesSmallDistinctNumbers) {
  int a = Take(static_cast<int>(CreateRuntimeImage(kAnyNumber, 4, 4, RGB(1, 2, 3))));
  int b = Take(static_cast<int>(CreateRuntimeImage(kAnyNumber, 4, 4, RGB(1, 2, 3))));
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_NE(a, b);
  EXPECT_LT(a, 0x10000);
  EXPECT_LT(b, 0x10000);
  EXPECT_NE(RuntimeImageHandle(a), RuntimeImageHandle(b));
}

TEST_F(ImagesTest, ExplicitNumberReplacesTheOldImage) {
  intptr_t first = CreateRuntimeImage(Take(5), 4, 4, RGB(255, 0, 0));
  ASSERT_NE(first, 0);
  EXPECT_EQ(reinterpret_cast<HANDLE>(first), RuntimeImageHandle(5));
  Bytes ico = IcoTwoSizes();
  intptr_t second = CatchRuntimeImage(5, ico.data(), ico.size());
  ASSERT_NE(second, 0);
  EXPECT_EQ(reinterpret_cast<HANDLE>(second), RuntimeImageHandle(5));
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u);
  EXPECT_EQ(RuntimeImageIsIcon(5), 1);
  EXPECT_EQ(RuntimeImageWidth(5), 32);

  // A failed create has still released the number.
  Bytes bad = Cut(Bmp24(), 30);
  EXPECT_EQ(Catch(bad, 5), 0);
  EXPECT_EQ(IsRuntimeImage(5), 0);
}

TEST_F(ImagesTest, UnknownNumbersGiveZero) {
  const int unknown = 4321;
  EXPECT_EQ(IsRuntimeImage(unknown), 0);
  EXPECT_EQ(RuntimeImageHandle(unknown), nullptr);
  EXPECT_EQ(RuntimeImageIsIcon(unknown), 0);
  EXPECT_EQ(RuntimeImageWidth(unknown), 0);
  EXPECT_EQ(RuntimeImageHeight(unknown), 0);
  EXPECT_EQ(ResizeRuntimeImage(unknown, 8, 8), 0);
  EXPECT_EQ(CopyRuntimeImage(unknown, kAnyNumber), 0);
  EXPECT_EQ(FreeRuntimeImage(unknown), 0);
  EXPECT_EQ(CreateRuntimeImage(-2, 4, 4, 0), 0);
  int n = Take(static_cast<int>(CreateRuntimeImage(kAnyNumber, 4, 4, 0)));
  EXPECT_EQ(FreeRuntimeImage(n), 1);
  EXPECT_EQ(FreeRuntimeImage(n), 0);
  EXPECT_EQ(RuntimeImageWidth(n), 0);
}

TEST_F(ImagesTest, CreateFillsAndChecksTheSize) {
  int n = Take(static_cast<int>(CreateRuntimeImage(kAnyNumber, 3, 5, RGB(10, 20, 30))));
  ASSERT_NE(n, 0);
  EXPECT_EQ(RuntimeImageWidth(n), 3);
  EXPECT_EQ(RuntimeImageHeight(n), 5);
  EXPECT_EQ(PixelAt(n, 0, 0), 0xFF0A141Eu);
  EXPECT_EQ(PixelAt(n, 2, 4), 0xFF0A141Eu);
  for (SIZE s : {SIZE{0, 4}, SIZE{4, 0}, SIZE{-1, 4}, SIZE{32769, 1}, SIZE{1, 32769}, SIZE{30000, 30000}})
    EXPECT_EQ(CreateRuntimeImage(kAnyNumber, s.cx, s.cy, 0), 0) << s.cx << "x" << s.cy;
}

// ---------------------------------------------------------------------------------------
// Copy and resize

// 4x4: the left half red, the right half blue.
int RedBlueHalves() {
  int n = static_cast<int>(CreateRuntimeImage(kAnyNumber, 4, 4, RGB(255, 0, 0)));
  DIBSECTION ds{};
  GetObjectW(RuntimeImageHandle(n), sizeof(ds), &ds);
  uint32_t* px = static_cast<uint32_t*>(ds.dsBm.bmBits);
  for (int y = 0; y < 4; ++y)
    for (int x = 2; x < 4; ++x) px[y * 4 + x] = kBlue;
  return n;
}

TEST_F(ImagesTest, CopyIsIndependentOfTheSource) {
  int src = Take(RedBlueHalves());
  int copy = Take(static_cast<int>(CopyRuntimeImage(src, kAnyNumber)));
  ASSERT_NE(copy, 0);
  ASSERT_NE(copy, src);
  EXPECT_NE(RuntimeImageHandle(copy), RuntimeImageHandle(src));
  EXPECT_EQ(RuntimeImageWidth(copy), 4);
  EXPECT_EQ(PixelAt(copy, 0, 0), kRed);
  EXPECT_EQ(PixelAt(copy, 3, 3), kBlue);
  FreeRuntimeImage(src);
  EXPECT_EQ(PixelAt(copy, 3, 0), kBlue);

  // Explicit numbers answer the handle; copying onto the source's own number keeps it.
  intptr_t h = CopyRuntimeImage(copy, Take(9));
  EXPECT_EQ(reinterpret_cast<HANDLE>(h), RuntimeImageHandle(9));
  ASSERT_NE(CopyRuntimeImage(9, 9), 0);
  EXPECT_EQ(PixelAt(9, 0, 0), kRed);
  EXPECT_EQ(PixelAt(9, 3, 0), kBlue);
}

TEST_F(ImagesTest, CopyOfAnIcon) {
  int src = Take(Catch(IcoTwoSizes()));
  int copy = Take(static_cast<int>(CopyRuntimeImage(src, kAnyNumber)));
  ASSERT_NE(copy, 0);
  EXPECT_EQ(RuntimeImageIsIcon(copy), 1);
  EXPECT_EQ(RuntimeImageWidth(copy), 32);
  EXPECT_NE(RuntimeImageHandle(copy), RuntimeImageHandle(src));
  EXPECT_EQ(IconPixel(static_cast<HICON>(RuntimeImageHandle(copy)), 5, 5), kBlue & 0xFFFFFF);
}

TEST_F(ImagesTest, ResizeKeepsThePicture) {
  int n = Take(RedBlueHalves());
  ASSERT_EQ(ResizeRuntimeImage(n, 2, 2), 1);
  EXPECT_EQ(RuntimeImageWidth(n), 2);
  EXPECT_EQ(RuntimeImageHeight(n), 2);
  EXPECT_EQ(PixelAt(n, 0, 1), kRed);
  EXPECT_EQ(PixelAt(n, 1, 1), kBlue);
  ASSERT_EQ(ResizeRuntimeImage(n, 10, 7), 1);
  EXPECT_EQ(RuntimeImageWidth(n), 10);
  EXPECT_EQ(PixelAt(n, 0, 0), kRed);
  EXPECT_EQ(PixelAt(n, 4, 6), kRed);
  EXPECT_EQ(PixelAt(n, 5, 6), kBlue);
  EXPECT_EQ(PixelAt(n, 9, 3), kBlue);

  // Refused sizes leave the image as it was.
  HANDLE before = RuntimeImageHandle(n);
  EXPECT_EQ(ResizeRuntimeImage(n, 0, 5), 0);
  EXPECT_EQ(ResizeRuntimeImage(n, 40000, 5), 0);
  EXPECT_EQ(RuntimeImageHandle(n), before);
  EXPECT_EQ(RuntimeImageWidth(n), 10);
}

TEST_F(ImagesTest, ShrinkingAveragesAndWeighsByAlpha) {
  int checker = Take(Catch(Png(PngOf(PNG_COLOR_TYPE_GRAY, 8, {{0, 255}, {255, 0}}))));
  ASSERT_EQ(ResizeRuntimeImage(checker, 1, 1), 1);
  EXPECT_TRUE(Near(PixelAt(checker, 0, 0), 0xFF808080, 1));

  // Opaque red beside transparent green: the green must not tint the result.
  PngFixture s = PngOf(PNG_COLOR_TYPE_RGB_ALPHA, 8, {{255, 0, 0, 255, 0, 255, 0, 0}});
  s.height = 1;
  int edge = Take(Catch(Png(s)));
  ASSERT_EQ(ResizeRuntimeImage(edge, 1, 1), 1);
  EXPECT_TRUE(Near(PixelAt(edge, 0, 0), 0x80FF0000, 1));
}

TEST_F(ImagesTest, ResizeRemakesIconsFromTheBestEntry) {
  int n = Take(Catch(IcoTwoSizes()));
  ASSERT_EQ(ResizeRuntimeImage(n, 16, 16), 1);
  EXPECT_EQ(RuntimeImageIsIcon(n), 1);
  EXPECT_EQ(RuntimeImageWidth(n), 16);
  HICON icon = static_cast<HICON>(RuntimeImageHandle(n));
  EXPECT_EQ(IconSize(icon).cx, 16);
  EXPECT_EQ(IconPixel(icon, 8, 8), kRed & 0xFFFFFF);
}

// ---------------------------------------------------------------------------------------
// Files

class ImageFilesTest : public ImagesTest {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = std::wstring(temp) + L"zk_images_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& f : files_) DeleteFileW(f.c_str());
    RemoveDirectoryW(dir_.c_str());
    ImagesTest::TearDown();
  }
  std::wstring Write(const std::wstring& name, const Bytes& data) {
    std::wstring path = dir_ + L"\\" + name;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (f != INVALID_HANDLE_VALUE) {
      WriteFile(f, data.data(), DWORD(data.size()), &written, nullptr);
      CloseHandle(f);
    }
    files_.push_back(path);
    return path;
  }
  std::wstring dir_;
  std::vector<std::wstring> files_;
};

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

TEST_F(ImageFilesTest, LoadsByContentNotByName) {
  // A PNG under a .bmp name is still read as PNG.
  std::wstring path = Write(L"picture.bmp", PngRgba2x2());
  int n = Take(static_cast<int>(LoadRuntimeImage(kAnyNumber, Narrow(path))));
  ASSERT_NE(n, 0);
  EXPECT_EQ(PixelAt(n, 1, 0), 0x8000FF00u);
}

TEST_F(ImageFilesTest, WidePathsWork) {
  std::wstring path = Write(L"Bild \u00e4\u00f6\u4e2d\u6587.jpg", JpegRedOverBlue());
  intptr_t h = LoadRuntimeImageW(Take(20), path);
  ASSERT_NE(h, 0);
  EXPECT_EQ(reinterpret_cast<HANDLE>(h), RuntimeImageHandle(20));
  EXPECT_EQ(RuntimeImageWidth(20), 16);
  EXPECT_TRUE(Near(PixelAt(20, 8, 2), kRed, 12));
}

TEST_F(ImageFilesTest, MissingOrDamagedFilesFail) {
  EXPECT_EQ(LoadRuntimeImageW(kAnyNumber, dir_ + L"\\nothing.png"), 0);
  EXPECT_EQ(LoadRuntimeImage(kAnyNumber, ""), 0);
  EXPECT_EQ(LoadRuntimeImageW(kAnyNumber, dir_), 0);  // a folder
  std::wstring empty = Write(L"empty.ico", Bytes());
  EXPECT_EQ(LoadRuntimeImageW(kAnyNumber, empty), 0);
  std::wstring cut = Write(L"cut.png", Cut(PngRgba2x2(), 40));
  EXPECT_EQ(LoadRuntimeImageW(kAnyNumber, cut), 0);
}

}  // namespace
