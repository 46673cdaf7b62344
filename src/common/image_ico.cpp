// ICO and CUR files: bitmap and PNG entries, the one nearest to the wanted size.
#include <windows.h>

#include <string.h>

#include <vector>

#include "common/image_decoders.h"
#include "common/scoped.h"

namespace image_detail {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct IconEntry {
  const uint8_t* data = nullptr;
  size_t size = 0;
  int width = 0;
  int height = 0;
  int bits = 0;
  bool png = false;
  int hotX = 0;
  int hotY = 0;
};

// The sizes of a bitmap entry from its own header, after checking that every byte the
// system will read (colour table, colour rows, mask rows) is there.
bool ReadIconBitmap(IconEntry* e) {
  const uint8_t* p = e->data;
  if (e->size < 40) return false;
  uint32_t headerSize = U32(p);
  if (headerSize < 40 || headerSize > e->size) return false;
  int64_t width = S32(p + 4);
  int64_t doubled = S32(p + 8);  // colour rows and mask rows together
  unsigned bpp = U16(p + 14);
  uint32_t compression = U32(p + 16);
  uint32_t colorsUsed = U32(p + 32);
  int64_t height = doubled / 2;
  if (!SizeOk(width, height) || compression != BI_RGB) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  uint64_t colors = 0;
  if (bpp <= 8) {
    colors = colorsUsed ? colorsUsed : 1u << bpp;
    if (colors > (1u << bpp)) return false;
  }
  uint64_t colourStride = (uint64_t(width) * bpp + 31) / 32 * 4;
  uint64_t maskStride = (uint64_t(width) + 31) / 32 * 4;
  uint64_t need = headerSize + colors * 4 + (colourStride + maskStride) * uint64_t(height);
  if (need > e->size) return false;
  e->width = int(width);
  e->height = int(height);
  e->bits = int(bpp);
  return true;
}

// The directory of an icon or cursor file. Fails when any entry lies outside the data,
// which is what a truncated file looks like.
bool ReadIconDirectory(const uint8_t* p, size_t size, bool* cursor, std::vector<IconEntry>* entries) {
  if (size < 6 || U16(p) != 0) return false;
  unsigned type = U16(p + 2), count = U16(p + 4);
  if ((type != 1 && type != 2) || count == 0 || 6 + uint64_t(count) * 16 > size) return false;
  *cursor = type == 2;
  for (unsigned i = 0; i < count; ++i) {
    const uint8_t* d = p + 6 + i * 16;
    uint32_t bytes = U32(d + 8), offset = U32(d + 12);
    if (offset > size || bytes > size - offset || bytes == 0) return false;
    IconEntry e;
    e.data = p + offset;
    e.size = bytes;
    e.hotX = U16(d + 4);
    e.hotY = U16(d + 6);
    entries->push_back(e);
  }
  return true;
}

// Fills in the entry's size; false when its image cannot be used.
bool ReadIconEntry(IconEntry* e) {
  if (e->size >= 8 && memcmp(e->data, kPngSignature, 8) == 0) {
    // A program without the PNG decoder uses the file's other entries.
    if (!HasPngDecoder()) return false;
    // Signature, IHDR length and type, then width and height.
    if (e->size < 24 || memcmp(e->data + 12, "IHDR", 4) != 0) return false;
    uint32_t w = BigU32(e->data + 16), h = BigU32(e->data + 20);
    if (!SizeOk(w, h)) return false;
    e->png = true;
    e->width = int(w);
    e->height = int(h);
    e->bits = 32;
    return true;
  }
  return ReadIconBitmap(e);
}

// Nearest to the wanted size; with no wanted size (width <= 0) the largest. Ties go to
// the deeper colour, then to the larger image (shrinking looks better than enlarging).
const IconEntry* PickIconEntry(const std::vector<IconEntry>& entries, int width, int height) {
  const IconEntry* best = nullptr;
  int64_t bestScore = 0;
  for (const IconEntry& e : entries) {
    int64_t area = int64_t(e.width) * e.height;
    int64_t score = width > 0 ? -(llabs(int64_t(e.width) - width) + llabs(int64_t(e.height) - height)) : area;
    bool better = !best || score > bestScore ||
                  (score == bestScore &&
                   (e.bits > best->bits || (e.bits == best->bits && area > int64_t(best->width) * best->height)));
    if (better) {
      best = &e;
      bestScore = score;
    }
  }
  return best;
}

HICON IconFromPngEntry(const IconEntry& e, bool cursor, int width, int height) {
  int w = 0, h = 0;
  ScopedBitmap colour(DecodePng(e.data, e.size, &w, &h));
  if (!colour) return nullptr;
  if (w != width || h != height) {
    colour.reset(ScaleDib(colour.get(), width, height));
    if (!colour) return nullptr;
  }
  // An all-zero mask: the colour bitmap's alpha decides what shows.
  std::vector<uint8_t> maskBits(size_t((width + 15) / 16 * 2) * height, 0);
  ScopedBitmap mask(CreateBitmap(width, height, 1, 1, maskBits.data()));
  if (!mask) return nullptr;
  ICONINFO ii{};
  ii.fIcon = cursor ? FALSE : TRUE;
  ii.xHotspot = DWORD(e.hotX);
  ii.yHotspot = DWORD(e.hotY);
  ii.hbmMask = mask.get();
  ii.hbmColor = colour.get();
  return CreateIconIndirect(&ii);
}

HICON IconFromBitmapEntry(const IconEntry& e, bool cursor, int width, int height) {
  // The resource form of a cursor starts with its hot spot; an icon's does not. The copy
  // also gives the system an aligned, writable buffer.
  std::vector<BYTE> res;
  if (cursor) {
    res.push_back(BYTE(e.hotX & 0xFF));
    res.push_back(BYTE(e.hotX >> 8));
    res.push_back(BYTE(e.hotY & 0xFF));
    res.push_back(BYTE(e.hotY >> 8));
  }
  res.insert(res.end(), e.data, e.data + e.size);
  return CreateIconFromResourceEx(res.data(), DWORD(res.size()), cursor ? FALSE : TRUE, 0x00030000, width, height,
                                  LR_DEFAULTCOLOR);
}

}  // namespace

// The entry nearest to width x height (the largest for width <= 0), made at that size
// (at the entry's own size for width <= 0).
HICON DecodeIco(const uint8_t* p, size_t size, int width, int height, int* outWidth, int* outHeight) {
  if (width <= 0 || height <= 0) width = height = 0;
  bool cursor = false;
  std::vector<IconEntry> entries;
  if (!ReadIconDirectory(p, size, &cursor, &entries)) return nullptr;
  std::vector<IconEntry> usable;
  for (IconEntry& e : entries)
    if (ReadIconEntry(&e)) usable.push_back(e);
  const IconEntry* e = PickIconEntry(usable, width, height);
  if (!e) return nullptr;
  if (width == 0) {
    width = e->width;
    height = e->height;
  }
  if (!SizeOk(width, height)) return nullptr;
  HICON icon = e->png ? IconFromPngEntry(*e, cursor, width, height) : IconFromBitmapEntry(*e, cursor, width, height);
  if (!icon) return nullptr;
  *outWidth = width;
  *outHeight = height;
  return icon;
}

bool IsIcoData(const uint8_t* p, size_t size) {
  return size >= 4 && p[0] == 0 && p[1] == 0 && (p[2] == 1 || p[2] == 2) && p[3] == 0;
}

}  // namespace image_detail
