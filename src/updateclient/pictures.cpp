#include "updateclient/pictures.h"

#include "common/images.h"
#include "common/resource_data.h"
#include "common/whole_file.h"

HBITMAP DecodePictureResource(int resource) {
  const void* data = nullptr;
  size_t size = 0;
  if (!RcDataResource(nullptr, resource, &data, &size)) return nullptr;
  bool isIcon = false;
  int width = 0, height = 0;
  HANDLE image = DecodeImage(data, size, &isIcon, &width, &height);
  if (image && isIcon) {
    DestroyIcon(static_cast<HICON>(image));
    return nullptr;
  }
  return static_cast<HBITMAP>(image);
}

HBITMAP FlattenOnto(HBITMAP picture, COLORREF background) {
  DIBSECTION ds{};
  if (!picture || GetObjectW(picture, sizeof(ds), &ds) != int(sizeof(ds)) || ds.dsBm.bmBitsPixel != 32 ||
      !ds.dsBm.bmBits)
    return nullptr;
  int width = ds.dsBm.bmWidth;
  int height = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP flat = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!flat || !bits) return flat;
  const uint32_t* from = static_cast<const uint32_t*>(ds.dsBm.bmBits);
  uint32_t* to = static_cast<uint32_t*>(bits);
  unsigned br = GetRValue(background), bg = GetGValue(background), bb = GetBValue(background);
  // The decoders keep colours straight (not multiplied by alpha).
  for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i) {
    uint32_t p = from[i];
    unsigned a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    r = (r * a + br * (255 - a) + 127) / 255;
    g = (g * a + bg * (255 - a) + 127) / 255;
    b = (b * a + bb * (255 - a) + 127) / 255;
    to[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
  return flat;
}

bool WriteResourceFile(int resource, const std::wstring& path) {
  const void* data = nullptr;
  size_t size = 0;
  if (!RcDataResource(nullptr, resource, &data, &size)) return false;
  return WriteWholeFile(path, std::string(static_cast<const char*>(data), size));
}
