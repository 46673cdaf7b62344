#include "tovrel/foundation/shared_images.h"

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>
#include <string.h>

namespace tovrel {

const char* const kCheckMarkRows[7] = {
    "......#",  //
    ".....##",  //
    "#...##.",  //
    "##.##..",  //
    ".###...",  //
    "..#....",  //
    ".......",  //
};

const char* const kRadioMarkRows[7] = {
    ".......",  //
    "..###..",  //
    ".#####.",  //
    ".#####.",  //
    ".#####.",  //
    "..###..",  //
    ".......",  //
};

namespace {

// A monochrome mask: a set bit leaves the screen as it is. Rows are padded to 16 bits.
HBITMAP MakeMask(int width, int height, bool (*transparent)(int x, int y, const void* data), const void* data) {
  uint8_t bits[16 * 2] = {};
  if (width > 16 || height > 16) return nullptr;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (transparent(x, y, data)) bits[y * 2 + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  return CreateBitmap(width, height, 1, 1, bits);
}

// A black DIB section of the given depth.
HBITMAP MakeBlackBitmap(int width, int height, int bitsPerPixel) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap && pixels) {
    const int stride = ((width * bitsPerPixel + 31) / 32) * 4;
    memset(pixels, 0, static_cast<size_t>(stride) * height);
  }
  return bitmap;
}

HICON MakeIcon(HBITMAP colour, HBITMAP mask) {
  HICON icon = nullptr;
  if (colour && mask) {
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    icon = CreateIconIndirect(&info);
  }
  // The icon holds copies of both bitmaps.
  if (colour) DeleteObject(colour);
  if (mask) DeleteObject(mask);
  return icon;
}

bool Everywhere(int, int, const void*) { return true; }

bool OutsideThePattern(int x, int y, const void* data) {
  const char* const* rows = static_cast<const char* const*>(data);
  return rows[y][x] != '#';
}

}  // namespace

HICON MakeEmptyIcon() { return MakeIcon(MakeBlackBitmap(1, 1, 32), MakeMask(1, 1, Everywhere, nullptr)); }

HICON MakeGlyphIcon(const char* const rows[7]) {
  for (int y = 0; y < 7; ++y)
    if (!rows[y] || strlen(rows[y]) != 7) return nullptr;
  return MakeIcon(MakeBlackBitmap(7, 7, 24), MakeMask(7, 7, OutsideThePattern, rows));
}

HIMAGELIST MakeGlyphImageList(const char* const rows[7]) {
  HIMAGELIST list = ImageList_Create(7, 7, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (!list) return nullptr;
  HICON glyph = MakeGlyphIcon(rows);
  if (glyph) {
    ImageList_AddIcon(list, glyph);
    DestroyIcon(glyph);
  }
  return list;
}

}  // namespace tovrel
