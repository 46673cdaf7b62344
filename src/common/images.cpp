#include "common/images.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <memory>
#include <vector>

#include "common/image_decoders.h"
#include "common/text.h"

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
  HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  if (b && !p) {
    DeleteObject(b);
    b = nullptr;
  }
  if (b) *bits = static_cast<uint32_t*>(p);
  return b;
}

}  // namespace image_detail

namespace {

using image_detail::NewDib;
using image_detail::Pixel;
using image_detail::SizeOk;

// Image files beyond this are refused before they are read into memory.
constexpr int64_t kMaxFileBytes = int64_t(256) << 20;

// Null until the program registers the decoder; set once at start-up, read from any thread.
std::atomic<image_detail::Decoder> pngDecoder{nullptr};
std::atomic<image_detail::Decoder> jpegDecoder{nullptr};

HBITMAP DecodeWith(const std::atomic<image_detail::Decoder>& decoder, const uint8_t* p, size_t size, int* width,
                   int* height) {
  image_detail::Decoder d = decoder.load(std::memory_order_acquire);
  return d ? d(p, size, width, height) : nullptr;
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

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

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
int32_t S32(const uint8_t* p) { return int32_t(U32(p)); }
uint32_t BigU32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// ---------------------------------------------------------------------------------------
// BMP

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

// ---------------------------------------------------------------------------------------
// ICO and CUR

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
    if (!pngDecoder.load(std::memory_order_acquire)) return false;
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
  HBITMAP colour = DecodeWith(pngDecoder, e.data, e.size, &w, &h);
  if (!colour) return nullptr;
  if (w != width || h != height) {
    HBITMAP scaled = ScaleDib(colour, width, height);
    DeleteObject(colour);
    if (!scaled) return nullptr;
    colour = scaled;
  }
  // An all-zero mask: the colour bitmap's alpha decides what shows.
  std::vector<uint8_t> maskBits(size_t((width + 15) / 16 * 2) * height, 0);
  HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
  HICON icon = nullptr;
  if (mask) {
    ICONINFO ii{};
    ii.fIcon = cursor ? FALSE : TRUE;
    ii.xHotspot = DWORD(e.hotX);
    ii.yHotspot = DWORD(e.hotY);
    ii.hbmMask = mask;
    ii.hbmColor = colour;
    icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
  }
  DeleteObject(colour);
  return icon;
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

// ---------------------------------------------------------------------------------------
// The table

struct ImageRecord {
  HANDLE handle = nullptr;
  bool icon = false;
  int width = 0;
  int height = 0;
  // An icon keeps its file, so that copies and new sizes come from the best entry instead
  // of scaling the one already made.
  std::shared_ptr<const std::vector<uint8_t>> iconFile;
};

void ReleaseImage(ImageRecord& r) {
  if (r.handle) {
    if (r.icon)
      DestroyIcon(static_cast<HICON>(r.handle));
    else
      DeleteObject(r.handle);
  }
  r.handle = nullptr;
  r.iconFile.reset();
}

// Automatic numbers start above the small fixed numbers the programs choose themselves.
// Never destroyed, like the other tables: the system frees GDI objects at process end.
ObjectTable<ImageRecord>& Images() {
  static ObjectTable<ImageRecord>* table = new ObjectTable<ImageRecord>(ReleaseImage, 10000);
  return *table;
}

intptr_t AddImage(int number, ImageRecord rec) {
  HANDLE handle = rec.handle;
  int used = 0;
  if (!Images().Add(number, std::move(rec), &used)) return 0;
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(handle));
}

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>* out) {
  if (path.empty()) return false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart <= kMaxFileBytes;
  if (ok) {
    out->resize(size_t(size.QuadPart));
    size_t done = 0;
    while (ok && done < out->size()) {
      DWORD got = 0;
      DWORD want = DWORD(out->size() - done < 0x10000000 ? out->size() - done : 0x10000000);
      ok = ReadFile(f, out->data() + done, want, &got, nullptr) && got > 0;
      done += got;
    }
  }
  CloseHandle(f);
  return ok;
}

}  // namespace

namespace image_detail {

void SetPngDecoder(Decoder decoder) { pngDecoder.store(decoder, std::memory_order_release); }
void SetJpegDecoder(Decoder decoder) { jpegDecoder.store(decoder, std::memory_order_release); }

}  // namespace image_detail

HANDLE DecodeImage(const void* data, size_t size, bool* isIcon, int* width, int* height) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  if (!p || size < 4) return nullptr;
  int w = 0, h = 0;
  bool icon = false;
  HANDLE result = nullptr;
  if (p[0] == 'B' && p[1] == 'M') {
    result = DecodeBmp(p, size, &w, &h);
  } else if (p[0] == 0x89 && p[1] == 'P') {
    result = DecodeWith(pngDecoder, p, size, &w, &h);
  } else if (p[0] == 0xFF && p[1] == 0xD8) {
    result = DecodeWith(jpegDecoder, p, size, &w, &h);
  } else if (IsIcoData(p, size)) {
    result = DecodeIco(p, size, 0, 0, &w, &h);
    icon = true;
  }
  if (!result) return nullptr;
  if (isIcon) *isIcon = icon;
  if (width) *width = w;
  if (height) *height = h;
  return result;
}

HICON DecodeIcon(const void* data, size_t size, int width, int height) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  if (!p || !IsIcoData(p, size)) return nullptr;
  int w = 0, h = 0;
  return DecodeIco(p, size, width, height, &w, &h);
}

intptr_t CatchRuntimeImage(int number, const void* data, size_t size) {
  if (!Images().PrepareNumber(number)) return 0;
  ImageRecord rec;
  rec.handle = DecodeImage(data, size, &rec.icon, &rec.width, &rec.height);
  if (!rec.handle) return 0;
  if (rec.icon) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    rec.iconFile = std::make_shared<const std::vector<uint8_t>>(p, p + size);
  }
  return AddImage(number, std::move(rec));
}

intptr_t LoadRuntimeImageW(int number, const std::wstring& path) {
  if (!Images().PrepareNumber(number)) return 0;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes)) return 0;
  return CatchRuntimeImage(number, bytes.data(), bytes.size());
}

intptr_t LoadRuntimeImage(int number, const std::string& path) { return LoadRuntimeImageW(number, AnsiToWide(path)); }

intptr_t CreateRuntimeImage(int number, int width, int height, COLORREF fill) {
  if (!Images().PrepareNumber(number)) return 0;
  ImageRecord rec;
  uint32_t* bits = nullptr;
  HBITMAP b = NewDib(width, height, &bits);
  if (!b) return 0;
  uint32_t v = Pixel(GetRValue(fill), GetGValue(fill), GetBValue(fill));
  for (size_t i = 0, n = size_t(width) * height; i < n; ++i) bits[i] = v;
  rec.handle = b;
  rec.width = width;
  rec.height = height;
  return AddImage(number, std::move(rec));
}

intptr_t CopyRuntimeImage(int source, int number) {
  if (number < kAnyNumber) return 0;
  // Copying an image onto its own number must not free the source first.
  if (number != kAnyNumber && number != source) Images().Free(number);
  ImageRecord copy;
  bool found = Images().With(source, [&](ImageRecord& r) {
    if (r.icon) {
      if (!r.iconFile) return;
      copy.handle = DecodeIcon(r.iconFile->data(), r.iconFile->size(), r.width, r.height);
      copy.iconFile = r.iconFile;
    } else {
      uint32_t* from = nullptr;
      int w = 0, h = 0;
      if (!DibPixels(static_cast<HBITMAP>(r.handle), &from, &w, &h)) return;
      uint32_t* to = nullptr;
      HBITMAP b = NewDib(w, h, &to);
      if (!b) return;
      memcpy(to, from, size_t(w) * h * 4);
      copy.handle = b;
    }
    copy.icon = r.icon;
    copy.width = r.width;
    copy.height = r.height;
  });
  if (!found || !copy.handle) {
    ReleaseImage(copy);
    return 0;
  }
  return AddImage(number, std::move(copy));
}

int ResizeRuntimeImage(int number, int width, int height) {
  if (!SizeOk(width, height)) return 0;
  int result = 0;
  Images().With(number, [&](ImageRecord& r) {
    HANDLE made = nullptr;
    if (r.icon)
      made = r.iconFile ? DecodeIcon(r.iconFile->data(), r.iconFile->size(), width, height) : nullptr;
    else
      made = ScaleDib(static_cast<HBITMAP>(r.handle), width, height);
    if (!made) return;
    if (r.icon)
      DestroyIcon(static_cast<HICON>(r.handle));
    else
      DeleteObject(r.handle);
    r.handle = made;
    r.width = width;
    r.height = height;
    result = 1;
  });
  return result;
}

int FreeRuntimeImage(int number) { return Images().Free(number) ? 1 : 0; }

int IsRuntimeImage(int number) { return Images().Has(number) ? 1 : 0; }

HANDLE RuntimeImageHandle(int number) {
  HANDLE h = nullptr;
  Images().With(number, [&](ImageRecord& r) { h = r.handle; });
  return h;
}

int RuntimeImageIsIcon(int number) {
  int icon = 0;
  Images().With(number, [&](ImageRecord& r) { icon = r.icon ? 1 : 0; });
  return icon;
}

int RuntimeImageWidth(int number) {
  int w = 0;
  Images().With(number, [&](ImageRecord& r) { w = r.width; });
  return w;
}

int RuntimeImageHeight(int number) {
  int h = 0;
  Images().With(number, [&](ImageRecord& r) { h = r.height; });
  return h;
}
