#include "tovrel/frame/rebar_painting.h"

#include <commctrl.h>

#include <vector>

namespace tovrel {

namespace {

// The replaced procedure of each subclassed rebar, kept apart from the rebar records so
// that it is found for every message up to the last, whatever happened to the record. A
// window property would cost a trip to the window server on every message.
struct Subclassed {
  HWND rebar;
  WNDPROC previous;
};
std::vector<Subclassed>& SubclassedRebars() {
  static std::vector<Subclassed> rebars;
  return rebars;
}

void Forget(HWND rebar) {
  std::vector<Subclassed>& rebars = SubclassedRebars();
  for (auto it = rebars.begin(); it != rebars.end(); ++it) {
    if (it->rebar == rebar) {
      rebars.erase(it);
      return;
    }
  }
}

WNDPROC PreviousProcOf(HWND rebar) {
  for (const Subclassed& s : SubclassedRebars()) {
    if (s.rebar == rebar) return s.previous;
  }
  return nullptr;
}

LRESULT CALLBACK RebarPaintingProc(HWND rebar, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = PreviousProcOf(rebar);
  if (!previous) return DefWindowProcA(rebar, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window's handle may come back for another window: nothing of it may stay.
    UnsubclassRebarWindow(rebar);
    Forget(rebar);
    return CallWindowProcA(previous, rebar, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcA(previous, rebar, message, wParam, lParam);
  if (message == WM_ERASEBKGND && wParam) {
    PaintBandBackgrounds(rebar, reinterpret_cast<HDC>(wParam));
    return 1;
  }
  return result;
}

}  // namespace

void SubclassRebarWindow(HWND rebar) {
  if (PreviousProcOf(rebar)) return;
  WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(rebar, GWLP_WNDPROC));
  if (!previous) return;
  SubclassedRebars().push_back({rebar, previous});
  SetWindowLongPtrA(rebar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RebarPaintingProc));
}

void UnsubclassRebarWindow(HWND rebar) {
  WNDPROC previous = PreviousProcOf(rebar);
  if (!previous) return;
  // Someone who subclassed after us keeps his place; our procedure then passes through.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(rebar, GWLP_WNDPROC)) != &RebarPaintingProc) return;
  SetWindowLongPtrA(rebar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  Forget(rebar);
}

void PaintBandBackgrounds(HWND rebar, HDC dc) {
  const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_BACKGROUND;
    if (!SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
    if (!band.hbmBack || (band.fStyle & RBBS_HIDDEN)) continue;
    RECT area = {};
    if (!SendMessageA(rebar, RB_GETRECT, i, reinterpret_cast<LPARAM>(&area)) || IsRectEmpty(&area)) continue;
    // A pattern brush tiles the bitmap from the brush origin, however small the bitmap.
    HBRUSH pattern = CreatePatternBrush(band.hbmBack);
    if (!pattern) continue;
    const POINT anchor = (band.fStyle & RBBS_FIXEDBMP) ? POINT{0, 0} : POINT{area.left, area.top};
    POINT previous = {};
    SetBrushOrgEx(dc, anchor.x, anchor.y, &previous);
    FillRect(dc, &area, pattern);
    SetBrushOrgEx(dc, previous.x, previous.y, nullptr);
    DeleteObject(pattern);
  }
}

}  // namespace tovrel
