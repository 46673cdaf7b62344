#include "tovrel/frame/band_hooks.h"

#include <commctrl.h>

#include <vector>

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/band_row_layout.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/window_class.h"

namespace tovrel {

HHOOK BandDragHookHandle = nullptr;
int BandSyncRowCount = 0;
POINT BandPressPoint = {};
HWND BandDragRebar = nullptr;
int BandDragEdge = 0;
int BandDragLastY = 0;
int DragCursorMode = 0;
HHOOK DragCursorHookHandle = nullptr;

namespace {

LRESULT PassOn(int code, WPARAM wParam, LPARAM lParam) {
  CallNextHookEx(nullptr, code, wParam, lParam);
  return 0;
}

HCURSOR ToolkitCursor(int index) {
  if (ToolkitCursors[index]) return ToolkitCursors[index];
  return LoadCursorA(nullptr, index == CURSOR_ARROW ? IDC_ARROW : IDC_SIZENS);
}

std::vector<BandGeometry> ReadBands(HWND rebar) {
  std::vector<BandGeometry> bands;
  int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    BandGeometry band = {};
    SendMessageA(rebar, RB_GETRECT, i, reinterpret_cast<LPARAM>(&band.rect));
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE;
    SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    band.style = info.fStyle;
    band.cyMinChild = static_cast<int>(info.cyMinChild);
    bands.push_back(band);
  }
  return bands;
}

void SetBandMinHeight(HWND rebar, int band, int cyMinChild) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_CHILDSIZE;
  if (!SendMessageA(rebar, RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info))) return;
  info.cyMinChild = cyMinChild;
  SendMessageA(rebar, RB_SETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
}

// A window rectangle in the coordinates MoveWindow takes for that window.
RECT PlacementRect(HWND window, RECT screen) {
  HWND parent = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
  if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&screen), 2);
  return screen;
}

void MoveToRect(HWND window, const RECT& screen) {
  RECT r = PlacementRect(window, screen);
  MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

int ClientY(HWND window, POINT screen) {
  MapWindowPoints(HWND_DESKTOP, window, &screen, 1);
  return screen.y;
}

// A band that carries no record of ours, or something else in its lParam, counts as
// shown: only our records are read, never an arbitrary address.
bool BandShown(LPARAM lParam) {
  auto* record = reinterpret_cast<RebarBand*>(lParam);
  if (!record || !RebarBandList.Contains(record)) return true;
  return record->visible;
}

void ShowDragCursor(HWND parent) {
  if (!DragCursorHookHandle) {
    DragCursorHookHandle =
        SetWindowsHookExA(WH_CALLWNDPROCRET, &DragCursorHook, nullptr, GetWindowThreadProcessId(parent, nullptr));
  }
  DragCursorMode = -1;
}

void RemoveDragCursorHook() {
  if (DragCursorHookHandle) UnhookWindowsHookEx(DragCursorHookHandle);
  DragCursorHookHandle = nullptr;
}

void HideDragCursor() {
  if (!DragCursorHookHandle) return;
  RemoveDragCursorHook();
  SetCursor(ToolkitCursor(CURSOR_ARROW));
  DragCursorMode = 0;
}

void StartEdgeDrag(HWND parent, HWND rebar, int band, BandEdge edge) {
  if (GetForegroundWindow() != parent) SetForegroundWindow(parent);
  SetCursor(ToolkitCursor(CURSOR_SIZE_NS_BAND));
  DragCursorMode = -2;
  DraggedBand = band;
  BandDragRebar = rebar;
  BandDragEdge = edge == BandEdge::Top ? 0 : -1;
  BandSyncParent = parent;
  SetCapture(parent);
}

// Over the windows under the pointer: the first follow band whose edge it is on shows the
// sizing cursor (and starts the drag on a press); only when it is on none does the cursor
// go back, so one band or rebar never takes back what another one set.
void TrackEdges(WPARAM message, const MOUSEHOOKSTRUCT& mouse) {
  HWND root = mouse.hwnd ? GetAncestor(mouse.hwnd, GA_ROOT) : nullptr;
  if (root) {
    for (Rebar& rebar : RebarList) {
      if (rebar.parentWindow != root || !IsRebarWindow(rebar.window) || !IsWindowVisible(rebar.window)) continue;
      int y = ClientY(root, mouse.pt);
      int count = static_cast<int>(SendMessageA(rebar.window, RB_GETBANDCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_LPARAM;
        if (!SendMessageA(rebar.window, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info))) continue;
        if (!(info.fStyle & RebarFollowBand) || !BandShown(info.lParam)) continue;
        RECT r = {};
        SendMessageA(rebar.window, RB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
        BandEdge edge = BandEdgeAt(r, y);
        if (edge == BandEdge::None) continue;
        ShowDragCursor(root);
        if (message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN) StartEdgeDrag(root, rebar.window, i, edge);
        return;
      }
    }
  }
  HideDragCursor();
}

void EndEdgeDrag() {
  RemoveDragCursorHook();
  DragCursorMode = 0;
  DraggedBand = -1;
  ReleaseCapture();
  if (ParentResizing != -1) return;
  // The parent was resized while the drag ran: put it to its own rectangle once more so
  // that it lays itself out, and redraw it whole.
  HWND parent = BandSyncParent;
  if (IsWindow(parent)) {
    SendMessageA(parent, WM_SETREDRAW, TRUE, 0);
    RECT r = {};
    GetWindowRect(parent, &r);
    MoveToRect(parent, r);
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  ParentResizing = 0;
}

void FollowEdgeDrag(WPARAM message, const MOUSEHOOKSTRUCT& mouse) {
  if (message == WM_MOUSEMOVE) {
    int y = ClientY(BandSyncParent, mouse.pt);
    if (y == BandDragLastY) return;
    RelayoutBandRow(BandDragRebar, DraggedBand, BandDragEdge, y);
    BandDragLastY = y;
  } else if (message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) {
    EndEdgeDrag();
  }
}

}  // namespace

int RelayoutBandRow(HWND rebar, int band, int edge, int y) {
  HWND parent = BandSyncParent;
  if (!IsRebarWindow(rebar) || !IsWindow(parent)) return 0;
  BandRowDrag drag = {};
  drag.bands = ReadBands(rebar);
  drag.band = band;
  drag.bottomEdge = edge != 0;
  drag.y = y;
  drag.parentZoomed = IsZoomed(parent) != FALSE;
  GetWindowRect(parent, &drag.parentRect);
  // The parent's own monitor, which need not be the primary one.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromWindow(parent, MONITOR_DEFAULTTONEAREST), &monitor);
  drag.workArea = monitor.rcWork;

  BandRowLayout layout = LayoutBandRow(drag);
  if (layout.resizesParent) ParentResizing = -1;
  if (layout.changes.empty()) return 0;
  if (!layout.resizesParent) {
    SendMessageA(rebar, WM_SETREDRAW, FALSE, 0);
    for (const BandHeightChange& change : layout.changes) SetBandMinHeight(rebar, change.band, change.cyMinChild);
    SendMessageA(rebar, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(rebar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
  }
  for (const BandHeightChange& change : layout.changes) SetBandMinHeight(rebar, change.band, change.cyMinChild);
  MoveToRect(parent, layout.parentRect);
  return 0;
}

void SyncToolbarBandRows(HWND rebar, Toolbar& toolbar) {
  if (!IsToolbarWindow(toolbar.window) || !IsRebarWindow(rebar)) return;
  int rows = static_cast<int>(SendMessageA(toolbar.window, TB_GETROWS, 0, 0));
  if (rows <= 0 || rows == toolbar.rows) return;
  int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
    if (!SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info))) return;
    if (info.hwndChild != toolbar.window) continue;
    int buttonHeight = HIWORD(SendMessageA(toolbar.window, TB_GETBUTTONSIZE, 0, 0));
    info.cyMinChild = WrappedBandHeight(static_cast<int>(info.cyMinChild), toolbar.rows, rows, buttonHeight);
    toolbar.rows = rows;
    info.fMask = RBBIM_CHILDSIZE;
    SendMessageA(rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    return;
  }
}

LRESULT CALLBACK BandSizeSyncHook(int code, WPARAM wParam, LPARAM lParam) {
  HWND rebar = BandSyncRebar;
  if (code == HC_ACTION && IsRebarWindow(rebar)) {
    int index = static_cast<int>(SendMessageA(rebar, RB_IDTOINDEX, BandSyncBandId, 0));
    int rows = static_cast<int>(SendMessageA(rebar, RB_GETROWCOUNT, 0, 0));
    if (index != BandSyncBandIndex || rows != BandSyncRowCount) {
      SavedCurrent<Rebar> keep(RebarList);  // the application's current rebar stays current
      SendMessageA(rebar, WM_SETREDRAW, FALSE, 0);
      FitRebarBands(BandSyncParent);
      SendMessageA(rebar, WM_SETREDRAW, TRUE, 0);
      BandSyncBandIndex = index;
      BandSyncRowCount = rows;
    }
    for (Toolbar& toolbar : ToolbarList)
      if (GetParent(toolbar.window) == rebar) SyncToolbarBandRows(rebar, toolbar);
  }
  return PassOn(code, wParam, lParam);
}

LRESULT CALLBACK BandGripperDragHook(int code, WPARAM wParam, LPARAM lParam) {
  // HC_NOREMOVE reports a message that will come again: acting on it would act twice.
  if (code == HC_ACTION && lParam && wParam == WM_LBUTTONDOWN)
    BandPressPoint = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt;
  if (code == HC_ACTION && !BandSyncRebar && lParam) {
    const auto& mouse = *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (DraggedBand != -1)
      FollowEdgeDrag(wParam, mouse);
    else if (ParentResizing == 0)
      TrackEdges(wParam, mouse);
  }
  return PassOn(code, wParam, lParam);
}

LRESULT CALLBACK DragCursorHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && lParam && reinterpret_cast<const CWPRETSTRUCT*>(lParam)->message == WM_SETCURSOR) {
    if (DragCursorMode == -1 || DragCursorMode == -2) {
      SetCursor(ToolkitCursor(CURSOR_SIZE_NS_BAND));
    } else {
      SetCursor(ToolkitCursor(CURSOR_ARROW));
      DragCursorMode = 0;
    }
  }
  return PassOn(code, wParam, lParam);
}

}  // namespace tovrel
