#include "app/windows/window_images.h"

#include <stddef.h>
#include <stdint.h>

#include "app/resources.h"
#include "common/images.h"
#include "common/resource_data.h"
#include "common/scoped.h"

namespace {

constexpr int kAboutPictureSide = 55;
constexpr int kAboutIconSide = 48;

bool ResourceBytes(int id, const void** data, size_t* size) { return RcDataResource(nullptr, id, data, size); }

// The static control copies nothing: it blits the bitmap as it is, so every pixel is
// made opaque after the icon's soft edges were blended onto the white.
void MakeOpaque(HBITMAP bitmap) {
  DIBSECTION ds = {};
  if (GetObjectW(bitmap, sizeof(ds), &ds) != static_cast<int>(sizeof(ds)) || ds.dsBm.bmBitsPixel != 32) return;
  uint32_t* pixels = static_cast<uint32_t*>(ds.dsBm.bmBits);
  for (int i = 0; pixels && i < ds.dsBm.bmWidth * ds.dsBm.bmHeight; ++i) pixels[i] |= 0xFF000000u;
}

HBITMAP MakeAboutPicture() {
  const void* data = nullptr;
  size_t size = 0;
  if (!ResourceBytes(ZK_RES_ABOUT_ICON, &data, &size)) return nullptr;
  HICON icon = DecodeIcon(data, size, kAboutIconSide, kAboutIconSide);
  if (!icon) return nullptr;
  intptr_t number = CreateRuntimeImage(kAnyNumber, kAboutPictureSide, kAboutPictureSide, RGB(255, 255, 255));
  HBITMAP bitmap = number ? static_cast<HBITMAP>(RuntimeImageHandle(static_cast<int>(number))) : nullptr;
  if (bitmap) {
    {
      ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
      ScopedSelect select(dc.get(), bitmap);
      const int at = (kAboutPictureSide - kAboutIconSide) / 2;
      DrawIconEx(dc.get(), at, at, icon, kAboutIconSide, kAboutIconSide, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    MakeOpaque(bitmap);
  }
  DestroyIcon(icon);
  return bitmap;
}

}  // namespace

HBITMAP AboutPicture() {
  static const HBITMAP picture = MakeAboutPicture();
  return picture;
}

int LoadBuiltinWizardImage() {
  const void* data = nullptr;
  size_t size = 0;
  if (!ResourceBytes(ZK_RES_WIZARD_BMP, &data, &size)) return 0;
  return static_cast<int>(CatchRuntimeImage(kAnyNumber, data, size));
}

HBITMAP LabelStripPicture() {
  static const HBITMAP picture = []() -> HBITMAP {
    const void* data = nullptr;
    size_t size = 0;
    if (!ResourceBytes(ZK_RES_LABEL_STRIP_BMP, &data, &size)) return nullptr;
    intptr_t number = CatchRuntimeImage(kAnyNumber, data, size);
    if (!number || RuntimeImageIsIcon(static_cast<int>(number))) return nullptr;
    return static_cast<HBITMAP>(RuntimeImageHandle(static_cast<int>(number)));
  }();
  return picture;
}
