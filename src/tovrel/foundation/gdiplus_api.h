// The graphics library the toolkit draws gradients, paths and alpha bitmaps with, opened
// by name and started on first use. Its flat functions are declared here as the library
// exports them; every address may be 0.
#ifndef ZK_TOVREL_FOUNDATION_GDIPLUS_API_H
#define ZK_TOVREL_FOUNDATION_GDIPLUS_API_H

#include <windows.h>

#include <stdint.h>

namespace tovrel {

// The library's objects, opaque to callers. Every kind of brush is a GpBrush and every
// bitmap a GpImage, as the library itself accepts them.
struct GpGraphics;
struct GpBrush;
struct GpPen;
struct GpImage;
struct GpImageAttributes;
struct GpPath;

using GpStatus = int;  // 0 = Ok
using GpArgb = uint32_t;
struct GpPoint {
  INT x, y;
};
struct GpPointF {
  float x, y;
};
struct GpRect {
  INT x, y, width, height;
};
struct GpBitmapData {
  UINT width, height;
  INT stride;
  INT pixelFormat;
  void* scan0;
  UINT_PTR reserved;
};
struct GpColorMatrix {
  float m[5][5];
};
using GpDrawImageAbort = BOOL(WINAPI*)(void* data);

// What GdiplusStartup takes and gives back; the layout is the library's.
struct GdiPlusStartupInput {
  UINT32 version = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};
struct GdiPlusStartupOutput {
  GpStatus(WINAPI* notificationHook)(ULONG_PTR* token) = nullptr;
  void(WINAPI* notificationUnhook)(ULONG_PTR token) = nullptr;
};

struct GdiPlusFunctions {
  HMODULE library = nullptr;
  // Non-zero once started.
  ULONG_PTR token = 0;
  ULONG_PTR notificationToken = 0;
  GdiPlusStartupOutput startupOutput;

  GpStatus(WINAPI* gdipCreateFromHDC)(HDC, GpGraphics**) = nullptr;
  GpStatus(WINAPI* gdipCreateFromHWND)(HWND, GpGraphics**) = nullptr;
  GpStatus(WINAPI* gdipCreateLineBrushI)(const GpPoint*, const GpPoint*, GpArgb, GpArgb, INT wrapMode,
                                         GpBrush**) = nullptr;
  GpStatus(WINAPI* gdipCreateSolidFill)(GpArgb, GpBrush**) = nullptr;
  GpStatus(WINAPI* gdipFillRectangleI)(GpGraphics*, GpBrush*, INT, INT, INT, INT) = nullptr;
  GpStatus(WINAPI* gdipFillEllipseI)(GpGraphics*, GpBrush*, INT, INT, INT, INT) = nullptr;
  GpStatus(WINAPI* gdipDeleteGraphics)(GpGraphics*) = nullptr;
  GpStatus(WINAPI* gdipDeleteBrush)(GpBrush*) = nullptr;
  GpStatus(WINAPI* gdipCreatePathGradientI)(const GpPoint*, INT count, INT wrapMode, GpBrush**) = nullptr;
  GpStatus(WINAPI* gdipSetPathGradientCenterColor)(GpBrush*, GpArgb) = nullptr;
  GpStatus(WINAPI* gdipSetPathGradientCenterPointI)(GpBrush*, const GpPoint*) = nullptr;
  GpStatus(WINAPI* gdipDrawLineI)(GpGraphics*, GpPen*, INT, INT, INT, INT) = nullptr;
  GpStatus(WINAPI* gdipCreatePen1)(GpArgb, float width, INT unit, GpPen**) = nullptr;
  GpStatus(WINAPI* gdipDeletePen)(GpPen*) = nullptr;
  GpStatus(WINAPI* gdipDrawImage)(GpGraphics*, GpImage*, float, float) = nullptr;
  GpStatus(WINAPI* gdipDrawImageI)(GpGraphics*, GpImage*, INT, INT) = nullptr;
  GpStatus(WINAPI* gdipDrawImageRectI)(GpGraphics*, GpImage*, INT, INT, INT, INT) = nullptr;
  GpStatus(WINAPI* gdipDrawImageRectRect)(GpGraphics*, GpImage*, float, float, float, float, float, float, float, float,
                                          INT unit, const GpImageAttributes*, GpDrawImageAbort, void*) = nullptr;
  GpStatus(WINAPI* gdipDrawImageRectRectI)(GpGraphics*, GpImage*, INT, INT, INT, INT, INT, INT, INT, INT, INT unit,
                                           const GpImageAttributes*, GpDrawImageAbort, void*) = nullptr;
  GpStatus(WINAPI* gdipCreateImageAttributes)(GpImageAttributes**) = nullptr;
  GpStatus(WINAPI* gdipSetImageAttributesColorMatrix)(GpImageAttributes*, INT adjustType, BOOL enable,
                                                      const GpColorMatrix*, const GpColorMatrix* greyMatrix,
                                                      INT flags) = nullptr;
  GpStatus(WINAPI* gdipDisposeImageAttributes)(GpImageAttributes*) = nullptr;
  GpStatus(WINAPI* gdipDisposeImage)(GpImage*) = nullptr;
  GpStatus(WINAPI* gdipCreateBitmapFromHBITMAP)(HBITMAP, HPALETTE, GpImage**) = nullptr;
  GpStatus(WINAPI* gdipCreateBitmapFromScan0)(INT width, INT height, INT stride, INT pixelFormat, BYTE* scan0,
                                              GpImage**) = nullptr;
  GpStatus(WINAPI* gdipCreateBitmapFromGraphics)(INT width, INT height, GpGraphics*, GpImage**) = nullptr;
  GpStatus(WINAPI* gdipCreateBitmapFromGdiDib)(const BITMAPINFO*, void* bits, GpImage**) = nullptr;
  GpStatus(WINAPI* gdipBitmapSetPixel)(GpImage*, INT x, INT y, GpArgb) = nullptr;
  GpStatus(WINAPI* gdipBitmapLockBits)(GpImage*, const GpRect*, UINT flags, INT pixelFormat, GpBitmapData*) = nullptr;
  GpStatus(WINAPI* gdipBitmapUnlockBits)(GpImage*, GpBitmapData*) = nullptr;
  GpStatus(WINAPI* gdipImageRotateFlip)(GpImage*, INT rotateFlip) = nullptr;
  GpStatus(WINAPI* gdipSetCompositingMode)(GpGraphics*, INT mode) = nullptr;
  GpStatus(WINAPI* gdipSetCompositingQuality)(GpGraphics*, INT quality) = nullptr;
  GpStatus(WINAPI* gdipSetPixelOffsetMode)(GpGraphics*, INT mode) = nullptr;
  GpStatus(WINAPI* gdipSetSmoothingMode)(GpGraphics*, INT mode) = nullptr;
  GpStatus(WINAPI* gdipSetLinePresetBlend)(GpBrush*, const GpArgb* colours, const float* positions,
                                           INT count) = nullptr;
  GpStatus(WINAPI* gdipCreatePath)(INT fillMode, GpPath**) = nullptr;
  GpStatus(WINAPI* gdipCreatePathGradientFromPath)(const GpPath*, GpBrush**) = nullptr;
  GpStatus(WINAPI* gdipAddPathEllipseI)(GpPath*, INT, INT, INT, INT) = nullptr;
  GpStatus(WINAPI* gdipDeletePath)(GpPath*) = nullptr;
  GpStatus(WINAPI* gdipSetPathGradientCenterPoint)(GpBrush*, const GpPointF*) = nullptr;
};

extern GdiPlusFunctions GdiPlusApi;

// Starts the library on first use and returns its token; 0 when it is unavailable, in
// which case the next call tries again. Every painter that needs it calls this first.
ULONG_PTR LoadGdiPlus();

// Shuts the library down and closes it. It is not started again afterwards: LoadGdiPlus
// then answers 0 and every address is 0.
void FreeGdiPlus();

// Lets a test start the library again after FreeGdiPlus.
void ResetGdiPlusForTest();

}  // namespace tovrel

#endif
