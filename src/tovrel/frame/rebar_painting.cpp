#include "tovrel/frame/rebar_painting.h"

#include <commctrl.h>

namespace tovrel {

namespace {

// The replaced procedure lives with the window, so it is found for every message up to
// the last, whatever happened to the rebar's record.
constexpr char kPreviousProcProperty[] = "TovrelRebarPreviousProc";

WNDPROC PreviousProcOf(HWND rebar) { return reinterpret_cast<WNDPROC>(GetPropA(rebar, kPreviousProcProperty)); }

LRESULT CALLBACK RebarPaintingProc(HWND rebar, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = PreviousProcOf(rebar);
  if (!previous) return DefWindowProcA(rebar, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    UnsubclassRebarWindow(rebar);
    return CallWindowProcA(previous, rebar, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcA(previous, rebar, message, wParam, lParam);
  if (message == WM_ERASEBKGND && wParam) {
    PaintBandBackgrounds(rebar, reinterpret_cast<HDC>(wParam));
    return 1;
  }
  return result;
}

// First tile position at or before `from` on a grid of `step` anchored at `anchor`.
int TileStart(int from, int anchor, int step) {
  int offset = (from - anchor) % step;
  if (offset < 0) offset += step;
  return from - offset;
}

void PaintTiled(HDC dc, HDC source, const RECT& area, POINT anchor, int width, int height) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  for (int y = TileStart(area.top, anchor.y, height); y < area.bottom; y += height) {
    for (int x = TileStart(area.left, anchor.x, width); x < area.right; x += width) {
      BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace

void SubclassRebarWindow(HWND rebar) {
  if (PreviousProcOf(rebar)) return;
  const LONG_PTR previous = GetWindowLongPtrA(rebar, GWLP_WNDPROC);
  if (!previous || !SetPropA(rebar, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous))) return;
  SetWindowLongPtrA(rebar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RebarPaintingProc));
}

void UnsubclassRebarWindow(HWND rebar) {
  WNDPROC previous = PreviousProcOf(rebar);
  if (!previous) return;
  // Someone who subclassed after us keeps his place; our procedure then passes through.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(rebar, GWLP_WNDPROC)) == &RebarPaintingProc) {
    SetWindowLongPtrA(rebar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(rebar, kPreviousProcProperty);
  }
}

void PaintBandBackgrounds(HWND rebar, HDC dc) {
  const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  HDC source = nullptr;
  HGDIOBJ original = nullptr;
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_BACKGROUND;
    if (!SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
    if (!band.hbmBack || (band.fStyle & RBBS_HIDDEN)) continue;
    BITMAP picture = {};
    if (!GetObjectA(band.hbmBack, sizeof(picture), &picture) || picture.bmWidth < 1 || picture.bmHeight < 1) continue;
    RECT area = {};
    if (!SendMessageA(rebar, RB_GETRECT, i, reinterpret_cast<LPARAM>(&area)) || IsRectEmpty(&area)) continue;
    if (!source) {
      source = CreateCompatibleDC(dc);
      if (!source) return;
      original = SelectObject(source, band.hbmBack);
    } else {
      SelectObject(source, band.hbmBack);
    }
    const POINT anchor = (band.fStyle & RBBS_FIXEDBMP) ? POINT{0, 0} : POINT{area.left, area.top};
    PaintTiled(dc, source, area, anchor, picture.bmWidth, picture.bmHeight);
  }
  if (source) {
    SelectObject(source, original);
    DeleteDC(source);
  }
}

}  // namespace tovrel
