#include "tovrel/foundation/gdiplus_api.h"

#include <windows.h>

#include "tovrel/foundation/system_libraries.h"

namespace tovrel {

GdiPlusFunctions GdiPlusApi;

namespace {

using GdiPlusStartupFunction = GpStatus(WINAPI*)(ULONG_PTR* token, const GdiPlusStartupInput* input,
                                                 GdiPlusStartupOutput* output);
using GdiPlusShutdownFunction = void(WINAPI*)(ULONG_PTR token);

// Set by FreeGdiPlus: the library is not started a second time in a process.
bool gShutDown = false;

void FindFunctions(HMODULE library, GdiPlusFunctions& api) {
  FindToolkitFunction(library, "GdipCreateFromHDC", api.gdipCreateFromHDC);
  FindToolkitFunction(library, "GdipCreateFromHWND", api.gdipCreateFromHWND);
  FindToolkitFunction(library, "GdipCreateLineBrushI", api.gdipCreateLineBrushI);
  FindToolkitFunction(library, "GdipCreateSolidFill", api.gdipCreateSolidFill);
  FindToolkitFunction(library, "GdipFillRectangleI", api.gdipFillRectangleI);
  FindToolkitFunction(library, "GdipFillEllipseI", api.gdipFillEllipseI);
  FindToolkitFunction(library, "GdipDeleteGraphics", api.gdipDeleteGraphics);
  FindToolkitFunction(library, "GdipDeleteBrush", api.gdipDeleteBrush);
  FindToolkitFunction(library, "GdipCreatePathGradientI", api.gdipCreatePathGradientI);
  FindToolkitFunction(library, "GdipSetPathGradientCenterColor", api.gdipSetPathGradientCenterColor);
  FindToolkitFunction(library, "GdipSetPathGradientCenterPointI", api.gdipSetPathGradientCenterPointI);
  FindToolkitFunction(library, "GdipDrawLineI", api.gdipDrawLineI);
  FindToolkitFunction(library, "GdipCreatePen1", api.gdipCreatePen1);
  FindToolkitFunction(library, "GdipDeletePen", api.gdipDeletePen);
  FindToolkitFunction(library, "GdipDrawImage", api.gdipDrawImage);
  FindToolkitFunction(library, "GdipDrawImageI", api.gdipDrawImageI);
  FindToolkitFunction(library, "GdipDrawImageRectI", api.gdipDrawImageRectI);
  FindToolkitFunction(library, "GdipDrawImageRectRect", api.gdipDrawImageRectRect);
  FindToolkitFunction(library, "GdipDrawImageRectRectI", api.gdipDrawImageRectRectI);
  FindToolkitFunction(library, "GdipCreateImageAttributes", api.gdipCreateImageAttributes);
  FindToolkitFunction(library, "GdipSetImageAttributesColorMatrix", api.gdipSetImageAttributesColorMatrix);
  FindToolkitFunction(library, "GdipDisposeImageAttributes", api.gdipDisposeImageAttributes);
  FindToolkitFunction(library, "GdipDisposeImage", api.gdipDisposeImage);
  FindToolkitFunction(library, "GdipCreateBitmapFromHBITMAP", api.gdipCreateBitmapFromHBITMAP);
  FindToolkitFunction(library, "GdipCreateBitmapFromScan0", api.gdipCreateBitmapFromScan0);
  FindToolkitFunction(library, "GdipCreateBitmapFromGraphics", api.gdipCreateBitmapFromGraphics);
  FindToolkitFunction(library, "GdipCreateBitmapFromGdiDib", api.gdipCreateBitmapFromGdiDib);
  FindToolkitFunction(library, "GdipBitmapSetPixel", api.gdipBitmapSetPixel);
  FindToolkitFunction(library, "GdipBitmapLockBits", api.gdipBitmapLockBits);
  FindToolkitFunction(library, "GdipBitmapUnlockBits", api.gdipBitmapUnlockBits);
  FindToolkitFunction(library, "GdipImageRotateFlip", api.gdipImageRotateFlip);
  FindToolkitFunction(library, "GdipSetCompositingMode", api.gdipSetCompositingMode);
  FindToolkitFunction(library, "GdipSetCompositingQuality", api.gdipSetCompositingQuality);
  FindToolkitFunction(library, "GdipSetPixelOffsetMode", api.gdipSetPixelOffsetMode);
  FindToolkitFunction(library, "GdipSetSmoothingMode", api.gdipSetSmoothingMode);
  FindToolkitFunction(library, "GdipSetLinePresetBlend", api.gdipSetLinePresetBlend);
  FindToolkitFunction(library, "GdipCreatePath", api.gdipCreatePath);
  FindToolkitFunction(library, "GdipCreatePathGradientFromPath", api.gdipCreatePathGradientFromPath);
  FindToolkitFunction(library, "GdipAddPathEllipseI", api.gdipAddPathEllipseI);
  FindToolkitFunction(library, "GdipDeletePath", api.gdipDeletePath);
  FindToolkitFunction(library, "GdipSetPathGradientCenterPoint", api.gdipSetPathGradientCenterPoint);
}

}  // namespace

ULONG_PTR LoadGdiPlus() {
  if (GdiPlusApi.token || gShutDown) return GdiPlusApi.token;
  HMODULE library = OpenToolkitLibrary("GDIPlus.DLL");
  if (!library) return 0;

  GdiPlusStartupFunction startup = nullptr;
  FindToolkitFunction(library, "GdiplusStartup", startup);
  GdiPlusStartupInput input;
  // Without the library's own thread it must be hooked into our message loop instead.
  input.suppressBackgroundThread = TRUE;
  ULONG_PTR token = 0;
  GdiPlusStartupOutput output;
  // A start that reports success without a token has not started anything either.
  if (!startup || startup(&token, &input, &output) != 0 || token == 0) {
    // Closed before the next try opens it again, so failed tries hold nothing.
    CloseToolkitLibrary(library);
    return 0;
  }

  GdiPlusApi.library = library;
  GdiPlusApi.token = token;
  GdiPlusApi.startupOutput = output;
  if (output.notificationHook) output.notificationHook(&GdiPlusApi.notificationToken);
  FindFunctions(library, GdiPlusApi);
  return token;
}

void FreeGdiPlus() {
  if (!GdiPlusApi.library) return;
  gShutDown = true;
  if (GdiPlusApi.startupOutput.notificationUnhook && GdiPlusApi.notificationToken)
    GdiPlusApi.startupOutput.notificationUnhook(GdiPlusApi.notificationToken);
  GdiPlusShutdownFunction shutdown = nullptr;
  FindToolkitFunction(GdiPlusApi.library, "GdiplusShutdown", shutdown);
  if (shutdown) shutdown(GdiPlusApi.token);
  CloseToolkitLibrary(GdiPlusApi.library);
  // Painters that run after shutdown find no addresses and no token, so none calls into
  // the closed library.
  GdiPlusApi = GdiPlusFunctions{};
}

void ResetGdiPlusForTest() {
  FreeGdiPlus();
  gShutDown = false;
}

}  // namespace tovrel
