#include "tovrel/frame/rebar_background.h"

#include <commctrl.h>

#include <algorithm>

#include "common/image_pixels.h"
#include "common/images.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

int MaxDesktopWidth = 0;

bool RebarBackgroundNeedsRendering(intptr_t image, bool valid, int imageWidth, int imageHeight, int width, int height,
                                   int force) {
  if (image == -1) return true;
  if (!valid) return false;
  return force == 1 || imageWidth < width || imageHeight < height;
}

COLORREF RebarBackgroundColumn(COLORREF left, COLORREF right, int x, int half) {
  if (half <= 0 || x >= half) return right;
  auto channel = [x, half](int a, int b) { return a + (b - a) * x / half; };
  return RGB(channel(GetRValue(left), GetRValue(right)), channel(GetGValue(left), GetGValue(right)),
             channel(GetBValue(left), GetBValue(right)));
}

namespace {

bool IsValidImage(intptr_t image) { return image > 0 && IsRuntimeImage(static_cast<int>(image)); }

HBITMAP BitmapOf(intptr_t image) {
  return IsValidImage(image) ? static_cast<HBITMAP>(RuntimeImageHandle(static_cast<int>(image))) : nullptr;
}

BOOL CALLBACK WidenToMonitor(HMONITOR, HDC, LPRECT area, LPARAM) {
  MaxDesktopWidth = std::max<int>(MaxDesktopWidth, area->right - area->left);
  return TRUE;
}

uint32_t PixelOf(COLORREF colour) {
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// A new runtime image of the style's gradient; 0 when it cannot be made.
int RenderStyleImage(int uiStyle, int width, int height) {
  // OFFICE2003's colours are looked up under its menu code.
  const int lookupStyle = uiStyle == UISTYLE_OFFICE2003 ? UISTYLE_OFFICE2003_MENU : uiStyle;
  const COLORREF left = static_cast<COLORREF>(LookupUIColour(lookupStyle, 31, 2));
  const COLORREF right = static_cast<COLORREF>(LookupUIColour(lookupStyle, 32, 2));
  const int image = static_cast<int>(CreateRuntimeImage(-1, width, height, right));
  if (!image) return 0;
  const int half = width / 2;
  FillRuntimeImage(image, half, 0, width - half, height, PixelOf(right));
  for (int x = 0; x < half; ++x) {
    FillRuntimeImage(image, x, 0, 1, height, PixelOf(RebarBackgroundColumn(left, right, x, half)));
  }
  return image;
}

}  // namespace

intptr_t* RebarStyleImage(int uiStyle) {
  if (uiStyle == UISTYLE_OFFICE2003) return &Office2003RebarBackground;
  if (uiStyle == UISTYLE_OFFICE2007) return &Office2007RebarBackground;
  return nullptr;
}

HBITMAP RebarStyleBitmap(int uiStyle) {
  const intptr_t* image = RebarStyleImage(uiStyle);
  return image ? BitmapOf(*image) : nullptr;
}

int RenderRebarBackground(int force) {
  if (RebarList.Empty()) return 0;
  EnumDisplayMonitors(nullptr, nullptr, &WidenToMonitor, 0);
  const int width = MaxDesktopWidth + 4;
  const int height = kRebarBackgroundHeight;
  for (const int uiStyle : {UISTYLE_OFFICE2003, UISTYLE_OFFICE2007}) {
    intptr_t& image = *RebarStyleImage(uiStyle);
    const bool valid = IsValidImage(image);
    const int number = static_cast<int>(image);
    if (!RebarBackgroundNeedsRendering(image, valid, valid ? RuntimeImageWidth(number) : 0,
                                       valid ? RuntimeImageHeight(number) : 0, width, height, force)) {
      continue;
    }
    WriteDebugLog(uiStyle == UISTYLE_OFFICE2003 ? "Office2003 background needs rendering!"
                                                : "Office2007 background needs rendering!");
    const int rendered = RenderStyleImage(uiStyle, width, height);
    if (!rendered) continue;
    const intptr_t old = image;
    image = rendered;
    SetRebarBackground(valid ? BitmapOf(old) : nullptr, BitmapOf(rendered), uiStyle);
    // The bands no longer show the old image, so it can go.
    if (valid) FreeRuntimeImage(static_cast<int>(old));
  }
  return 0;
}

int SetRebarBackground(HBITMAP oldBitmap, HBITMAP newBitmap, int uiStyle) {
  for (Rebar& rebar : RebarList) {
    if (rebar.uiStyle != uiStyle) continue;
    // A rebar made with a background of its own goes back to it, also for bands added later.
    rebar.backgroundBitmap = newBitmap ? newBitmap : rebar.backgroundImage;
    SendMessageA(rebar.window, WM_SETREDRAW, FALSE, 0);
    bool changed = false;
    for (const RebarBand& record : RebarBandList) {
      if (record.rebarWindow != rebar.window) continue;
      const int index = static_cast<int>(SendMessageA(rebar.window, RB_IDTOINDEX, record.bandId, 0));
      if (index == -1) continue;
      REBARBANDINFOA band = {};
      band.cbSize = sizeof(band);
      band.fMask = RBBIM_STYLE | RBBIM_BACKGROUND;
      if (!SendMessageA(rebar.window, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band))) continue;
      if (band.hbmBack != oldBitmap && band.hbmBack != nullptr && band.hbmBack != rebar.backgroundImage) continue;
      band.hbmBack = rebar.backgroundBitmap;
      band.fStyle |= RBBS_FIXEDBMP;
      changed = SendMessageA(rebar.window, RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)) || changed;
    }
    SendMessageA(rebar.window, WM_SETREDRAW, TRUE, 0);
    // Switching redrawing on repaints nothing by itself: the new bitmap must be painted.
    if (changed) RedrawWindow(rebar.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  return 0;
}

}  // namespace tovrel
