#include "common/dpi.h"

#include <windows.h>

#include "common/scoped.h"

int ScreenDpi() {
  static const int dpi = [] {
    ScopedWindowDc dc(nullptr);
    int v = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return v > 0 ? v : kLayoutDpi;
  }();
  return dpi;
}

int LayoutToPixels(int value, int dpi) {
  if (dpi <= 0 || dpi == kLayoutDpi) return value;
  return MulDiv(value, dpi, kLayoutDpi);
}

int PixelsToLayout(int value, int dpi) {
  if (dpi <= 0 || dpi == kLayoutDpi) return value;
  return MulDiv(value, kLayoutDpi, dpi);
}

int LayoutToScreen(int value) { return LayoutToPixels(value, ScreenDpi()); }

int ScreenToLayout(int value) { return PixelsToLayout(value, ScreenDpi()); }
