#include "common/images.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <memory>
#include <vector>

#include "common/image_decoders.h"
#include "common/text.h"
#include "common/whole_file.h"

namespace {

using image_detail::DecodeBmp;
using image_detail::DecodeIco;
using image_detail::DibPixels;
using image_detail::IsIcoData;
using image_detail::NewDib;
using image_detail::Pixel;
using image_detail::ScaleDib;
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

}  // namespace

namespace image_detail {

void SetPngDecoder(Decoder decoder) { pngDecoder.store(decoder, std::memory_order_release); }
void SetJpegDecoder(Decoder decoder) { jpegDecoder.store(decoder, std::memory_order_release); }

bool HasPngDecoder() { return pngDecoder.load(std::memory_order_acquire) != nullptr; }

HBITMAP DecodePng(const uint8_t* data, size_t size, int* width, int* height) {
  return DecodeWith(pngDecoder, data, size, width, height);
}

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
  std::string bytes;
  if (!ReadWholeFile(path, kMaxFileBytes, &bytes)) return 0;
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

HBITMAP DetachRuntimeImage(int number) {
  ImageRecord taken;
  if (!Images().Take(number, &taken, [](const ImageRecord& r) { return !r.icon; })) return nullptr;
  return static_cast<HBITMAP>(taken.handle);
}

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
