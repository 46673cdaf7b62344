#include "tovrel/frame/rebar_fitting.h"

#include <commctrl.h>

#include <algorithm>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_snapshot.h"

namespace tovrel {

namespace {

// Only a change is written: every write lays the rebar out again, and fitting runs on each
// resize of the parent. -> true when written.
bool WriteMinHeight(HWND rebar, size_t index, REBARBANDINFOA band, int cyMinChild) {
  if (band.cyMinChild == static_cast<UINT>(cyMinChild)) return false;
  band.fMask = RBBIM_CHILDSIZE;
  band.cyMinChild = static_cast<UINT>(cyMinChild);
  SendMessageA(rebar, RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
  return true;
}

// The visible direct children of the parent other than the rebar, in client coordinates:
// what a point test from the parent would find there. Hidden windows are passed over; a
// window counts as shown by its own style, so that a hidden parent still finds them.
std::vector<RECT> OtherChildRects(HWND parent, HWND rebar) {
  std::vector<RECT> rects;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == rebar || !(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r = {};
    if (!GetWindowRect(child, &r)) continue;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    rects.push_back(r);
  }
  return rects;
}

void FitFillBands(HWND parent, HWND rebar, std::vector<RebarBandSnapshot>& bands) {
  RECT client = {};
  GetClientRect(parent, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  int childTop = -2;  // not scanned yet: the scan is the same for every fill band
  for (size_t i = 0; i < bands.size(); ++i) {
    if (!(bands[i].info.fStyle & RebarFillBandBits)) continue;
    const int other = OtherRowsHeight(BandRows(bands), static_cast<int32_t>(bands[i].info.wID));
    if (childTop == -2) childTop = FirstChildTop(OtherChildRects(parent, rebar), width / 2, height);
    RebarBand* record = bands[i].record;
    const FillFit fit = FitFillBand(height, childTop, record ? record->savedFillOffset : 0, other);
    if (record) record->savedFillOffset = fit.savedOffset;
    // The band's new height moves the rows below it.
    if (WriteMinHeight(rebar, i, bands[i].info, fit.cyMinChild)) bands = SnapshotRebarBands(rebar);
  }
}

// A band's height changes its row's height, never which bands share a top, so the tops
// read before the writes still pair the bands. -> true when a saved height came back and
// the rebar must be fitted again.
bool FitFollowBands(HWND rebar, const std::vector<RebarBandSnapshot>& bands) {
  std::vector<FitBandState> states;
  for (const RebarBandSnapshot& band : bands) {
    states.push_back({band.info.fStyle, static_cast<int>(band.rect.top), static_cast<int>(band.info.cyMinChild),
                      band.record ? band.record->savedOwnMinChild : 0, band.record != nullptr});
  }
  for (size_t i = 0; i < bands.size(); ++i) {
    if (!(states[i].style & RebarFollowBand) || (states[i].style & RBBS_HIDDEN)) continue;
    const FollowFit fit = FitFollowBand(states, i);
    if (bands[i].record) bands[i].record->savedOwnMinChild = fit.savedOwnMinChild;
    states[i].savedOwnMinChild = fit.savedOwnMinChild;
    if (fit.changed) WriteMinHeight(rebar, i, bands[i].info, fit.cyMinChild);
    states[i].cyMinChild = fit.cyMinChild;
    if (fit.refitAll) return true;
  }
  return false;
}

}  // namespace

int FitRebarBands(HWND window) {
  // A restored height changes the rows, so the whole rebar is fitted again; each pass
  // clears one saved height, so the passes end.
  for (int pass = 0; pass < 64; ++pass) {
    const Rebar* rebar = nullptr;
    for (const Rebar& r : RebarList) {
      if (r.parentWindow == window) {
        rebar = &r;
        break;
      }
    }
    if (!rebar || !IsRebarWindow(rebar->window)) return 0;
    HWND rebarWindow = rebar->window;
    std::vector<RebarBandSnapshot> bands = ReadBandInformation(rebarWindow);
    // Most rebars have neither kind of band: they cost one read per band.
    const bool fitted = std::any_of(bands.begin(), bands.end(), [](const RebarBandSnapshot& b) {
      return (b.info.fStyle & (RebarFillBandBits | RebarFollowBand)) != 0;
    });
    if (!fitted) return 0;
    AddBandGeometry(rebarWindow, bands);
    FitFillBands(window, rebarWindow, bands);
    if (!FitFollowBands(rebarWindow, bands)) return 0;
  }
  return 0;
}

}  // namespace tovrel
