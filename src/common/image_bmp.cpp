// BMP files: 1-, 4-, 8-, 16-, 24- and 32-bit, uncompressed or with bit fields.
#include <windows.h>

#include "common/image_decoders.h"

namespace image_detail {

namespace {

// One colour channel of a 16- or 32-bit BMP, given by its bit mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // the mask shifted down: the channel's full value
};

Channel MakeChannel(uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (!mask) return c;
  while (!((mask >> c.shift) & 1)) ++c.shift;
  c.max = mask >> c.shift;
  return c;
}

unsigned ChannelValue(const Channel& c, uint32_t v) {
  if (!c.max) return 0;
  return unsigned(uint64_t((v & c.mask) >> c.shift) * 255 / c.max);
}

}  // namespace

HBITMAP DecodeBmp(const uint8_t* p, size_t size, int* outWidth, int* outHeight) {
  if (size < 14 + 12 || p[0] != 'B' || p[1] != 'M') return nullptr;
  uint32_t offset = U32(p + 10);
  uint32_t headerSize = U32(p + 14);
  if (headerSize != 12 && headerSize < 40) return nullptr;
  if (uint64_t(14) + headerSize > size) return nullptr;
  const uint8_t* h = p + 14;
  int64_t width, height;
  unsigned bpp;
  uint32_t compression = BI_RGB, colorsUsed = 0;
  size_t paletteEntry = 4;
  if (headerSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
    width = U16(h + 4);
    height = U16(h + 6);
    bpp = U16(h + 10);
    paletteEntry = 3;
  } else {
    width = S32(h + 4);
    height = S32(h + 8);
    bpp = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (!SizeOk(width, height)) return nullptr;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;

  uint64_t tableStart = 14 + uint64_t(headerSize);
  Channel red, green, blue;
  if (compression == BI_BITFIELDS) {
    if (bpp != 16 && bpp != 32) return nullptr;
    // Version 2 and later headers hold the masks; the plain 40-byte header is followed by them.
    uint64_t at = 14 + 40;
    if (headerSize == 40) tableStart += 12;
    if (at + 12 > size) return nullptr;
    red = MakeChannel(U32(p + at));
    green = MakeChannel(U32(p + at + 4));
    blue = MakeChannel(U32(p + at + 8));
  } else if (compression == BI_RGB) {
    if (bpp == 16) {
      red = MakeChannel(0x7C00);
      green = MakeChannel(0x03E0);
      blue = MakeChannel(0x001F);
    } else {
      red = MakeChannel(0xFF0000);
      green = MakeChannel(0xFF00);
      blue = MakeChannel(0xFF);
    }
  } else {
    return nullptr;  // run-length and embedded JPEG/PNG bitmaps are not read
  }

  uint32_t palette[256];
  uint32_t colors = 0;
  if (bpp <= 8) {
    colors = colorsUsed ? colorsUsed : 1u << bpp;
    if (colors > (1u << bpp)) return nullptr;
    if (tableStart + uint64_t(colors) * paletteEntry > size) return nullptr;
    for (uint32_t i = 0; i < colors; ++i) {
      const uint8_t* e = p + tableStart + i * paletteEntry;
      palette[i] = Pixel(e[2], e[1], e[0]);
    }
    for (uint32_t i = colors; i < 256; ++i) palette[i] = Pixel(0, 0, 0);
    tableStart += uint64_t(colors) * paletteEntry;
  }
  // Some writers leave the offset 0; the pixels then follow the colour table.
  uint64_t pixelsAt = offset ? offset : tableStart;
  uint64_t stride = (uint64_t(width) * bpp + 31) / 32 * 4;
  if (pixelsAt < 14 || pixelsAt > size || stride * height > size - pixelsAt) return nullptr;

  uint32_t* bits = nullptr;
  HBITMAP bitmap = NewDib(int(width), int(height), &bits);
  if (!bitmap) return nullptr;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* row = p + pixelsAt + uint64_t(y) * stride;
    uint32_t* out = bits + size_t(topDown ? y : height - 1 - y) * size_t(width);
    for (int64_t x = 0; x < width; ++x) {
      uint32_t v;
      switch (bpp) {
        case 1:
          v = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
          break;
        case 4:
          v = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
          break;
        case 8:
          v = palette[row[x]];
          break;
        case 24:
          v = Pixel(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
          break;
        default: {
          uint32_t raw = bpp == 16 ? U16(row + x * 2) : U32(row + x * 4);
          v = Pixel(ChannelValue(red, raw), ChannelValue(green, raw), ChannelValue(blue, raw));
        }
      }
      out[x] = v;
    }
  }
  *outWidth = int(width);
  *outHeight = int(height);
  return bitmap;
}

}  // namespace image_detail
