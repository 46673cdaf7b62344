// Rebars painted on the screen: band background bitmaps (which Wine's own control never
// paints) and the OFFICE2007 background, read back as pixels of the shown windows.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "common/images.h"
#include "tovrel/foundation/colour_changes.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_background.h"
#include "tovrel/frame/rebar_bands.h"

using namespace tovrel;

namespace {

// A shown window without frame at the screen's top-left corner, in front.
HWND MakeShownHost(int width, int height) {
  static ATOM atom = [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RebarPaintHost";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return RegisterClassExA(&wc);
  }();
  (void)atom;
  HWND host = CreateWindowExA(WS_EX_TOPMOST, "RebarPaintHost", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(host);
  return host;
}

// A child the band hosts, hidden again once the band is in place, so that the band's
// background is all there is to see.
HWND HiddenChild(HWND parent, int height) {
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 40, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Settle(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  GdiFlush();
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

RECT BandRect(HWND rebar, int index) {
  RECT r = {};
  SendMessageA(rebar, RB_GETRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

// A bitmap of width x height: red left of `split`, blue from it on.
HBITMAP SplitBitmap(int width, int height, int split) {
  uint32_t* bits = nullptr;
  HBITMAP bitmap = CreatePixelBitmap(width, height, &bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bits[y * width + x] = x < split ? 0xFFFF0000u : 0xFF0000FFu;
  }
  return bitmap;
}

class RebarPaintTest : public ::testing::Test {
 protected:
  void SetUp() override { host_ = MakeShownHost(700, 200); }
  void TearDown() override {
    FreeRebar(-1);
    DestroyWindow(host_);
    CurrentRebar = -1;
  }
  HWND host_ = nullptr;
};

// Wine's own control keeps a band's hbmBack but never paints it.
TEST_F(RebarPaintTest, WineRebarLeavesBandBitmapsUnpainted) {
  HBITMAP red = SplitBitmap(64, 64, 64);
  HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | RBS_VARHEIGHT | CCS_NODIVIDER, 0, 0, 700, 0,
                               host_, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND child = HiddenChild(host_, 40);
  REBARBANDINFOA band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_BACKGROUND | RBBIM_STYLE;
  band.fStyle = RBBS_CHILDEDGE;
  band.hwndChild = child;
  band.cyMinChild = 40;
  band.cx = 300;
  band.hbmBack = red;
  ASSERT_TRUE(SendMessageA(rebar, RB_INSERTBANDA, -1, reinterpret_cast<LPARAM>(&band)));
  ShowWindow(child, SW_HIDE);
  for (LPCWSTR theme : {static_cast<LPCWSTR>(nullptr), L""}) {
    SetWindowTheme(rebar, theme, theme);
    Settle(host_);
    const RECT r = BandRect(rebar, 0);
    ASSERT_GT(r.bottom - r.top, 30);
    REBARBANDINFOA kept = {};
    kept.cbSize = sizeof(kept);
    kept.fMask = RBBIM_BACKGROUND;
    SendMessageA(rebar, RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&kept));
    EXPECT_EQ(kept.hbmBack, red);
    for (int x : {0, 5, 100, 250, 650}) EXPECT_NE(PixelOf(rebar, x, (r.top + r.bottom) / 2), RGB(255, 0, 0)) << x;
  }
  DestroyWindow(rebar);
  DeleteObject(red);
}

// The rebar's own background is anchored at the rebar's origin (RBBS_FIXEDBMP); a band's
// own bitmap at the band's corner; both are tiled.
TEST_F(RebarPaintTest, BandBitmapsArePaintedIntoTheirBands) {
  HBITMAP split = SplitBitmap(400, 64, 200);
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(1, host_, split, RBS_VARHEIGHT, 0));
  HWND first = HiddenChild(host_, 40);
  HWND second = HiddenChild(host_, 40);
  AddRebarBand(first, "", 250, 40, 40, nullptr, RBBS_NOGRIPPER);
  AddRebarBand(second, "", 440, 40, 40, split, RBBS_NOGRIPPER);
  ShowWindow(first, SW_HIDE);
  ShowWindow(second, SW_HIDE);
  Settle(host_);
  const RECT a = BandRect(rebar, 0), b = BandRect(rebar, 1);
  ASSERT_EQ(a.top, b.top) << "one row";
  ASSERT_GT(b.left, 200);
  ASSERT_GT(b.right - b.left, 420);
  const int y = (a.top + a.bottom) / 2;
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  struct Row {
    int x;
    COLORREF colour;
  } rows[] = {
      {a.left + 2, red},     // fixed: bitmap column a.left + 2
      {195, red},            //
      {205, blue},           // fixed: column 205
      {b.left + 5, red},     // the band's own: column 5
      {b.left + 205, blue},  // column 205
      {b.left + 405, red},   // tiled: column 5 again
  };
  for (const Row& row : rows) EXPECT_EQ(PixelOf(rebar, row.x, y), row.colour) << row.x;
  FreeRebar(1);
  DeleteObject(split);
}

TEST_F(RebarPaintTest, Office2007BackgroundShowsColours31And32) {
  int widest = 0;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT area, LPARAM data) -> BOOL {
        int& w = *reinterpret_cast<int*>(data);
        w = std::max<int>(w, area->right - area->left);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&widest));
  // The silver column has two different rebar colours; the blue one has one.
  SetColourMode(UICOLOURMODE_DEFAULT_SILVER);
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(0x7B, host_, nullptr, 0x2000200, 0));
  ASSERT_TRUE(rebar);
  const int image = static_cast<int>(Office2007RebarBackground);
  ASSERT_GT(image, 0);
  EXPECT_EQ(RuntimeImageWidth(image), widest + 4);
  EXPECT_EQ(RuntimeImageHeight(image), 256);
  EXPECT_EQ(MaxDesktopWidth, widest);
  const int half = (widest + 4) / 2;
  ASSERT_LT(half + 20, 700) << "the window must reach past half the image";

  HWND child = HiddenChild(host_, 40);
  AddRebarBand(child, "", 700, 40, 40, nullptr, 0);
  ShowWindow(child, SW_HIDE);
  Settle(host_);
  const COLORREF left = static_cast<COLORREF>(LookupUIColour(UISTYLE_OFFICE2007, 31, 2));
  const COLORREF right = static_cast<COLORREF>(LookupUIColour(UISTYLE_OFFICE2007, 32, 2));
  ASSERT_NE(left, right);
  // The image itself: colour 31 at x = 0, 32 from half its width on (pixels are ARGB).
  auto argb = [](COLORREF c) { return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); };
  uint32_t pixel = 0;
  ASSERT_TRUE(ReadRuntimeImagePixel(image, 0, 255, &pixel));
  EXPECT_EQ(pixel, argb(left));
  ASSERT_TRUE(ReadRuntimeImagePixel(image, half, 0, &pixel));
  EXPECT_EQ(pixel, argb(right));
  ASSERT_TRUE(ReadRuntimeImagePixel(image, widest + 3, 128, &pixel));
  EXPECT_EQ(pixel, argb(right));
  const RECT band = BandRect(rebar, 0);
  ASSERT_EQ(band.left, 0);
  const int y = (band.top + band.bottom) / 2;
  EXPECT_EQ(PixelOf(rebar, 0, y), left);
  EXPECT_EQ(PixelOf(rebar, half + 2, y), right);
  EXPECT_EQ(PixelOf(rebar, 690, y), right);
  EXPECT_EQ(PixelOf(rebar, half / 2, y), RebarBackgroundColumn(left, right, half / 2, half));

  // Forced, the style's image is made anew and the bands take it and show it; OFFICE2003,
  // of which no rebar was made, stays unrendered.
  SetColourMode(UICOLOURMODE_DEFAULT_GREY);
  const COLORREF grey = static_cast<COLORREF>(LookupUIColour(UISTYLE_OFFICE2007, 31, 2));
  ASSERT_NE(grey, left);
  RenderRebarBackground(1);
  UpdateWindow(rebar);
  EXPECT_EQ(PixelOf(rebar, 0, y), grey);
  EXPECT_EQ(Office2003RebarBackground, -2);
  const int again = static_cast<int>(Office2007RebarBackground);
  EXPECT_NE(again, image);
  EXPECT_FALSE(IsRuntimeImage(image));
  REBARBANDINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_BACKGROUND;
  SendMessageA(rebar, RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.hbmBack, RuntimeImageHandle(again));
  // Not forced and wide enough: nothing is rendered.
  RenderRebarBackground(0);
  EXPECT_EQ(Office2007RebarBackground, again);
  SetColourMode(UICOLOURMODE_DEFAULT);
}

}  // namespace
