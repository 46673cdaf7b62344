#include "tovrel/frame/rebar_bands.h"

#include <commctrl.h>

#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/rebar_snapshot.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

// A tool bar's button height, else the height of the child's window.
int ChildHeight(HWND child) {
  if (IsToolbarWindow(child)) {
    const int height = static_cast<short>(HIWORD(SendMessageA(child, TB_GETBUTTONSIZE, 0, 0)));
    if (height != 0) return height;
  }
  RECT r = {};
  if (!child || !GetWindowRect(child, &r)) return 0;
  return r.bottom - r.top;
}

int IndexOfBand(HWND rebar, int band) {
  const int index = static_cast<int>(SendMessageA(rebar, RB_IDTOINDEX, static_cast<WPARAM>(band), 0));
  return index == -1 ? band : index;
}

}  // namespace

int AddRebarBand(HWND child, const std::string& text, int width, int minWidth, int minHeight, HBITMAP background,
                 int style) {
  if (CurrentRebar == -1) return 0;
  Rebar* rebar = RebarList.Find([](const Rebar& r) { return r.number == CurrentRebar; });
  if (!rebar) return -1;

  REBARBANDINFOA& band = rebar->bandTemplate;
  const UINT templateStyle = band.fStyle;
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(text.size() + 2, '\0');
  band.cbSize = sizeof(band);
  band.lpText = buffer.data();
  band.hwndChild = child;
  band.cxMinChild = static_cast<UINT>(minWidth);
  band.cx = static_cast<UINT>(width);
  band.cxIdeal = static_cast<UINT>(width);
  band.wID = static_cast<UINT>(rebar->nextBandId);
  band.fMask = RBBIM_STYLE | RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_BACKGROUND | RBBIM_ID |
               RBBIM_IDEALSIZE | RBBIM_LPARAM;

  RebarBand& record = RebarBandList.Add();
  record.parentWindow = rebar->parentWindow;
  record.rebarWindow = rebar->window;
  record.childWindow = child;
  record.bandId = rebar->nextBandId;
  record.visible = true;
  band.lParam = reinterpret_cast<LPARAM>(&record);

  if (style != 0) band.fStyle = static_cast<UINT>(style);
  if (background) {
    record.backgroundBitmap = background;
    band.hbmBack = background;
    LONG_PTR windowStyle = GetWindowLongPtrA(rebar->window, GWL_STYLE);
    if (windowStyle & RBS_BANDBORDERS) SetWindowLongPtrA(rebar->window, GWL_STYLE, windowStyle & ~RBS_BANDBORDERS);
  } else if (rebar->backgroundBitmap) {
    band.hbmBack = rebar->backgroundBitmap;
    band.fStyle |= RBBS_FIXEDBMP;
  } else {
    band.hbmBack = nullptr;
  }

  const int height = minHeight != 0 ? minHeight : ChildHeight(child);
  band.cyChild = static_cast<UINT>(height);
  band.cyMinChild = static_cast<UINT>(height);
  band.cyIntegral = 1;

  if (IsToolbarWindow(child)) {
    const LRESULT toolbarStyle = SendMessageA(child, TB_GETSTYLE, 0, 0);
    SendMessageA(child, TB_SETSTYLE, 0, toolbarStyle | CCS_NODIVIDER | CCS_NORESIZE);
  }

  const int at = BandInsertIndex == -2 ? -1 : BandInsertIndex;
  const bool inserted =
      SendMessageA(rebar->window, RB_INSERTBANDA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&band)) != 0;
  band.lpText = nullptr;
  band.fStyle = templateStyle;
  if (!inserted) {
    // Nothing may point at a record whose band does not exist.
    RebarBandList.Delete(&record);
    return -1;
  }
  return rebar->nextBandId++;
}

int InsertRebarBand(intptr_t rebar, int band, HWND child, const std::string& text, int width, int minWidth,
                    int minHeight, HBITMAP background, int style) {
  Rebar* record = FindRebar(rebar);
  if (!record) return 0;
  const int at = IndexOfBand(record->window, band);
  CurrentRebar = record->number;
  BandInsertIndex = at;
  const int id = AddRebarBand(child, text, width, minWidth, minHeight, background, style);
  BandInsertIndex = -2;
  return id;
}

int RemoveRebarBand(intptr_t rebar, int band) {
  Rebar* record = FindRebar(rebar);
  if (!record) return 0;
  HWND window = record->window;
  const int index = IndexOfBand(window, band);
  REBARBANDINFOA info;
  if (!ReadRebarBand(window, index, RBBIM_ID, &info)) return 0;
  for (const RebarBand& b : RebarBandList) {
    if (b.rebarWindow != window || b.bandId != static_cast<int32_t>(info.wID)) continue;
    SendMessageA(window, RB_DELETEBAND, static_cast<WPARAM>(index), 0);
    RebarBandList.Delete(&b);
    // The next id stays where it is: an id given back would be handed to a second band.
    return 1;
  }
  return 0;
}

int ShowRebarBand(intptr_t rebar, int band, int show) {
  HWND window = nullptr;
  if (IsRebarWindow(reinterpret_cast<HWND>(rebar))) {
    window = reinterpret_cast<HWND>(rebar);
  } else if (Rebar* record = FindRebar(rebar)) {
    window = record->window;
  }
  if (!IsRebarWindow(window)) return 0;
  const int index = IndexOfBand(window, band);
  REBARBANDINFOA info;
  if (!ReadRebarBand(window, index, RBBIM_LPARAM, &info)) return 0;
  SendMessageA(window, RB_SHOWBAND, static_cast<WPARAM>(index), show ? TRUE : FALSE);
  if (RebarBand* record = BandRecordOf(info.lParam)) record->visible = show != 0;
  FitRebarBands(GetParent(window));
  RECT update = {};
  if (GetUpdateRect(window, &update, FALSE)) {
    RedrawWindow(window, &update, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  return 1;
}

int MoveRebarBand(intptr_t rebar, int from, int to) {
  Rebar* record = FindRebar(rebar);
  if (!record) return 0;
  return static_cast<int>(
      SendMessageA(record->window, RB_MOVEBAND, static_cast<WPARAM>(from), static_cast<LPARAM>(to)));
}

int GetRebarBandId(intptr_t rebar, int index) {
  Rebar* record = FindRebar(rebar);
  if (!record) return -1;
  REBARBANDINFOA info;
  if (!ReadRebarBand(record->window, index, RBBIM_ID, &info)) return 0;
  return static_cast<int>(info.wID);
}

int MeasureBandRow(HWND rebarWindow, int bandId) {
  if (!IsRebarWindow(rebarWindow)) return 0;
  return OtherRowsHeight(BandRows(SnapshotRebarBands(rebarWindow)), bandId);
}

}  // namespace tovrel
