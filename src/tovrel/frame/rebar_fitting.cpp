#include "tovrel/frame/rebar_fitting.h"

#include <commctrl.h>

#include <algorithm>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"

namespace tovrel {

int FirstChildTop(const std::vector<RECT>& children, int x, int clientHeight) {
  int first = -1;
  for (const RECT& r : children) {
    if (x < r.left || x >= r.right) continue;
    const int top = std::max<int>(r.top, 0);
    if (top >= r.bottom || top > clientHeight) continue;
    if (first == -1 || top < first) first = top;
  }
  return first;
}

FillFit FitFillBand(int clientHeight, int childTop, int savedOffset, int otherRows) {
  FillFit fit = {};
  fit.offset = savedOffset;
  fit.savedOffset = savedOffset;
  if (childTop >= 0) {
    fit.offset = clientHeight - childTop + 5;
    if (fit.savedOffset == 0) fit.savedOffset = fit.offset;
  }
  // A parent lower than the rows and the gap would ask for a negative height, which the
  // control would take as a huge unsigned one.
  fit.cyMinChild = std::max(0, clientHeight - fit.offset - otherRows);
  return fit;
}

FollowFit FitFollowBand(const std::vector<FitBandState>& bands, size_t index) {
  const FitBandState& band = bands[index];
  FollowFit fit = {false, band.cyMinChild, band.savedOwnMinChild, false};
  const FitBandState* partner = nullptr;
  for (size_t j = 0; j < bands.size(); ++j) {
    const FitBandState& other = bands[j];
    if (j == index || (other.style & RBBS_HIDDEN)) continue;
    if (!(other.style & (RebarFillBandBits | RebarFollowBand)) || other.top != band.top) continue;
    partner = &other;
  }
  if (partner) {
    if (band.hasRecord && fit.savedOwnMinChild == 0) fit.savedOwnMinChild = band.cyMinChild;
    fit.cyMinChild = partner->cyMinChild;
    fit.changed = true;
  } else if (band.hasRecord && band.savedOwnMinChild != 0) {
    fit.cyMinChild = band.savedOwnMinChild;
    fit.savedOwnMinChild = 0;
    fit.changed = true;
    fit.refitAll = true;
  }
  return fit;
}

namespace {

// Only a change is written: every write lays the rebar out again, and fitting runs on each
// resize of the parent.
void WriteMinHeight(HWND rebar, int index, int cyMinChild) {
  REBARBANDINFOA band;
  if (!ReadRebarBand(rebar, index, RBBIM_CHILDSIZE, &band)) return;
  if (band.cyMinChild == static_cast<UINT>(cyMinChild)) return;
  band.cyMinChild = static_cast<UINT>(cyMinChild);
  SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
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

void FitFillBands(HWND parent, HWND rebar, int count) {
  RECT client = {};
  GetClientRect(parent, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  int childTop = -2;  // not scanned yet: the scan is the same for every fill band
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA band;
    if (!ReadRebarBand(rebar, i, RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_LPARAM, &band)) continue;
    if (!(band.fStyle & RebarFillBandBits)) continue;
    const int other = MeasureBandRow(rebar, static_cast<int>(band.wID));
    const int index = static_cast<int>(SendMessageA(rebar, RB_IDTOINDEX, band.wID, 0));
    if (index == -1) continue;
    if (childTop == -2) childTop = FirstChildTop(OtherChildRects(parent, rebar), width / 2, height);
    RebarBand* record = BandRecordOf(band.lParam);
    const FillFit fit = FitFillBand(height, childTop, record ? record->savedFillOffset : 0, other);
    if (record) record->savedFillOffset = fit.savedOffset;
    WriteMinHeight(rebar, index, fit.cyMinChild);
  }
}

// -> true when a saved height came back and the rebar must be fitted again.
bool FitFollowBands(HWND rebar, int count) {
  for (int i = 0; i < count; ++i) {
    std::vector<FitBandState> states;
    std::vector<RebarBand*> records;
    bool follow = false;
    for (int j = 0; j < count; ++j) {
      REBARBANDINFOA band;
      FitBandState state = {};
      RebarBand* record = nullptr;
      if (ReadRebarBand(rebar, j, RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_LPARAM, &band)) {
        record = BandRecordOf(band.lParam);
        RECT r = {};
        SendMessageA(rebar, RB_GETRECT, static_cast<WPARAM>(j), reinterpret_cast<LPARAM>(&r));
        state = {band.fStyle, static_cast<int>(r.top), static_cast<int>(band.cyMinChild),
                 record ? record->savedOwnMinChild : 0, record != nullptr};
      }
      if (j == i) follow = (state.style & RebarFollowBand) && !(state.style & RBBS_HIDDEN);
      states.push_back(state);
      records.push_back(record);
    }
    if (!follow) continue;
    const FollowFit fit = FitFollowBand(states, static_cast<size_t>(i));
    if (records[i]) records[i]->savedOwnMinChild = fit.savedOwnMinChild;
    if (fit.changed) WriteMinHeight(rebar, i, fit.cyMinChild);
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
    const int count = static_cast<int>(SendMessageA(rebarWindow, RB_GETBANDCOUNT, 0, 0));
    FitFillBands(window, rebarWindow, count);
    if (!FitFollowBands(rebarWindow, count)) return 0;
  }
  return 0;
}

}  // namespace tovrel
