#include "toolbar_test_support.h"

#include "common/image_pixels.h"
#include "tovrel/foundation/image_effects.h"
#include "tovrel/frame/toolbar.h"

HICON SolidIcon(uint32_t rgb) {
  uint32_t* bits = nullptr;
  HBITMAP picture = CreatePixelBitmap(16, 16, &bits);
  for (int i = 0; i < 16 * 16; ++i) bits[i] = 0xFF000000u | rgb;
  HICON icon = tovrel::ConvertBitmapToIcon(picture);
  DeleteObject(picture);
  return icon;
}

uint32_t ListColour(HIMAGELIST list, int index) {
  uint32_t* bits = nullptr;
  HBITMAP canvas = CreatePixelBitmap(16, 16, &bits);
  for (int i = 0; i < 16 * 16; ++i) bits[i] = 0xFFFFFFFFu;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, canvas);
  ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
  GdiFlush();
  const uint32_t colour = bits[8 * 16 + 8] & 0xFFFFFF;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(canvas);
  return colour;
}

void ToolbarTest::SetUp() {
  host_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 500, 200, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, host_);
}

void ToolbarTest::TearDown() {
  tovrel::FreeToolbar(-1);
  DestroyWindow(host_);
  for (HICON icon : icons_) DestroyIcon(icon);
}

HICON ToolbarTest::Icon(uint32_t rgb) {
  icons_.push_back(SolidIcon(rgb));
  return icons_.back();
}
