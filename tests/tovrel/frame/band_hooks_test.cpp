// The band hooks called as the system calls them, with mouse hook records, on a real
// rebar: the sizing cursor appears within 2 pixels of a shown follow band's edge, a drag
// re-lays the rows once per pointer y and leaves the window drawing, a tool bar that
// wraps during the rebar's own drag takes its band along. Last, one real drag with the
// mouse grows the window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "band_test_windows.h"
#include "support/waits.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/band_hooks.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"

using namespace tovrel;
using namespace frametest;

namespace {

constexpr UINT kFollow = 0x800000;
constexpr UINT kFill = 0x20000;

void Pump(DWORD ms) { PumpMessagesFor(ms); }

// The system's own pointer, moved and pressed as a user would.
void MovePointerTo(POINT p) {
  SetCursorPos(p.x, p.y);
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
  Pump(60);
}
void PressLeftButton(bool down) {
  mouse_event(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  Pump(100);
}

class BandHooks : public BandWindows {
 protected:
  void SetUp() override {
    BandWindows::SetUp();
    host_ = MakeHost(100, 100, 400, 300, true);
    SubclassParentWindow(host_);
    rebar_ = MakeRebar(host_);
  }
  void TearDown() override {
    if (DraggedBand != -1) Mouse(WM_LBUTTONUP, 0);
    if (DragCursorHookHandle) UnhookWindowsHookEx(DragCursorHookHandle);
    DragCursorHookHandle = nullptr;
    DragCursorMode = 0;
    BandSyncRebar = nullptr;
    ParentResizing = 0;
    BandWindows::TearDown();
  }

  // The pointer at the rebar's client y (the rebar sits at the host's client origin).
  MOUSEHOOKSTRUCT At(int y) {
    POINT p = {150, y};
    MapWindowPoints(host_, HWND_DESKTOP, &p, 1);
    MOUSEHOOKSTRUCT m = {};
    m.pt = p;
    m.hwnd = rebar_;
    m.wHitTestCode = HTCLIENT;
    return m;
  }

  void Mouse(UINT message, int y) {
    MOUSEHOOKSTRUCT m = At(y);
    BandGripperDragHook(HC_ACTION, message, reinterpret_cast<LPARAM>(&m));
  }

  int Height() {
    RECT r = WindowRect(host_);
    return r.bottom - r.top;
  }

  HWND host_ = nullptr;
  HWND rebar_ = nullptr;
};

// What the toolkit relies on in the system's rebar.
TEST_F(BandHooks, RebarKeepsToolkitStyleBitsAndHiddenBandsKeepARectangle) {
  RebarBand* record = AddBand(rebar_, MakeRecorder(rebar_), kFollow | RBBS_GRIPPERALWAYS, 26, 1);
  REBARBANDINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_STYLE | RBBIM_LPARAM;
  SendMessageA(rebar_, RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(kFollow | RBBS_GRIPPERALWAYS, info.fStyle);
  EXPECT_EQ(reinterpret_cast<LPARAM>(record), info.lParam);
  SendMessageA(rebar_, RB_SHOWBAND, 0, FALSE);
  RECT r = BandRect(rebar_, 0);
  // A hidden band still reports a rectangle, at the top: the row logic must skip it.
  EXPECT_GT(r.bottom, r.top);
}

TEST_F(BandHooks, SizingCursorWithinTwoPixelsOfAShownFollowBandsEdge) {
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  RECT band = BandRect(rebar_, 0);
  struct {
    int y;
    bool onEdge;
  } const cases[] = {
      {static_cast<int>(band.top) + 2, true},     {static_cast<int>(band.top) + 3, false},
      {static_cast<int>(band.bottom) - 3, false}, {static_cast<int>(band.bottom) - 2, true},
      {static_cast<int>(band.bottom) + 2, true},  {static_cast<int>(band.bottom) + 3, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.y);
    Mouse(WM_MOUSEMOVE, c.y);
    EXPECT_EQ(c.onEdge ? -1 : 0, DragCursorMode);
    EXPECT_EQ(c.onEdge, DragCursorHookHandle != nullptr);
  }
}

TEST_F(BandHooks, OnlyShownFollowBandsHaveDraggableEdges) {
  RebarBand* record = AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  int bottom = BandRect(rebar_, 0).bottom;
  RebarBand stranger = {};  // an address that is no record of the list
  struct {
    const char* name;
    UINT style;
    LPARAM lParam;
    bool visible;
    bool draggable;
  } const cases[] = {
      {"shown follow band", kFollow, reinterpret_cast<LPARAM>(record), true, true},
      {"hidden by its record", kFollow, reinterpret_cast<LPARAM>(record), false, false},
      {"no record counts as shown", kFollow, 0, true, true},
      {"an lParam that is no record counts as shown", kFollow, reinterpret_cast<LPARAM>(&stranger), false, true},
      {"fill band", kFill, reinterpret_cast<LPARAM>(record), true, false},
      {"plain band", 0, reinterpret_cast<LPARAM>(record), true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    record->visible = c.visible;
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_LPARAM;
    info.fStyle = c.style;
    info.lParam = c.lParam;
    SendMessageA(rebar_, RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
    Mouse(WM_MOUSEMOVE, bottom);
    EXPECT_EQ(c.draggable ? -1 : 0, DragCursorMode);
    Mouse(WM_MOUSEMOVE, bottom + 40);
  }
}

TEST_F(BandHooks, OneBandAwayFromThePointerDoesNotTakeTheCursorBack) {
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 2, true);
  ASSERT_LT(BandRect(rebar_, 0).bottom, BandRect(rebar_, 1).bottom);
  // A second rebar of the same window, nowhere near the pointer.
  HWND second = MakeRebar(host_);
  AddBand(second, MakeRecorder(second), kFollow, 26, 1);
  SetWindowPos(second, nullptr, 0, 200, 300, 30, SWP_NOZORDER);

  Mouse(WM_MOUSEMOVE, BandRect(rebar_, 0).top + 1);
  EXPECT_EQ(-1, DragCursorMode);
  EXPECT_NE(nullptr, DragCursorHookHandle);
}

TEST_F(BandHooks, NoEdgeTrackingDuringANativeDragWhileSizingOrOnAHiddenRebar) {
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  int bottom = BandRect(rebar_, 0).bottom;
  BandSyncRebar = rebar_;
  Mouse(WM_LBUTTONDOWN, bottom);
  EXPECT_EQ(0, DragCursorMode);
  EXPECT_EQ(-1, DraggedBand);
  BandSyncRebar = nullptr;
  ParentResizing = -1;
  Mouse(WM_LBUTTONDOWN, bottom);
  EXPECT_EQ(-1, DraggedBand);
  ParentResizing = 0;
  ShowWindow(rebar_, SW_HIDE);  // a hidden rebar has no edges to drag
  Mouse(WM_LBUTTONDOWN, bottom);
  EXPECT_EQ(-1, DraggedBand);
  EXPECT_EQ(0, DragCursorMode);
}

TEST_F(BandHooks, DragRelaysOncePerYAndEndsWithTheWindowDrawing) {
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  int bottom = BandRect(rebar_, 0).bottom;
  int height = Height();
  HWND front = MakeHost(600, 100, 200, 200, true);
  SetForegroundWindow(front);
  ASSERT_EQ(front, GetForegroundWindow());

  Mouse(WM_LBUTTONDOWN, bottom);
  EXPECT_EQ(host_, GetForegroundWindow()) << "the press brings the window to the front";
  EXPECT_EQ(0, DraggedBand);
  EXPECT_EQ(-2, DragCursorMode);
  EXPECT_EQ(host_, BandSyncParent);
  EXPECT_EQ(host_, GetCapture());

  Mouse(WM_MOUSEMOVE, bottom + 10);
  EXPECT_EQ(-1, ParentResizing) << "no stretchable neighbour: the window is resized";
  EXPECT_EQ(height + 10, Height());
  EXPECT_EQ(36, MinChild(rebar_, 0));

  // The same y again does not re-lay the rows: ParentResizing is not raised again.
  ParentResizing = 0;
  Mouse(WM_MOUSEMOVE, bottom + 10);
  EXPECT_EQ(0, ParentResizing);
  Mouse(WM_MOUSEMOVE, bottom + 12);
  EXPECT_EQ(-1, ParentResizing);
  EXPECT_EQ(height + 12, Height());

  Mouse(WM_LBUTTONUP, bottom + 12);
  EXPECT_EQ(-1, DraggedBand);
  EXPECT_EQ(0, DragCursorMode);
  EXPECT_EQ(nullptr, DragCursorHookHandle);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(0, ParentResizing);
  EXPECT_TRUE(IsWindowVisible(host_)) << "redrawing was left off";
}

TEST_F(BandHooks, MaximisedWindowWithoutStretchableNeighbourStaysAsItIs) {
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  ShowWindow(host_, SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(host_));
  int bottom = BandRect(rebar_, 0).bottom;
  RECT before = WindowRect(host_);
  Mouse(WM_LBUTTONDOWN, bottom);
  Mouse(WM_MOUSEMOVE, bottom + 20);
  EXPECT_EQ(26, MinChild(rebar_, 0));
  EXPECT_EQ(0, ParentResizing);
  Mouse(WM_LBUTTONUP, bottom + 20);
  RECT after = WindowRect(host_);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_TRUE(IsWindowVisible(host_));
}

TEST_F(BandHooks, TopEdgeSharesHeightWithTheStretchableRowAbove) {
  AddBand(rebar_, MakeRecorder(rebar_), kFill, 40, 1);
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 2, true);
  int top = BandRect(rebar_, 1).top;
  int height = Height();
  Mouse(WM_LBUTTONDOWN, top);
  ASSERT_EQ(1, DraggedBand);
  Mouse(WM_MOUSEMOVE, top - 8);
  EXPECT_EQ(34, MinChild(rebar_, 1));
  EXPECT_EQ(32, MinChild(rebar_, 0));
  Mouse(WM_LBUTTONUP, top - 8);
  EXPECT_EQ(height, Height());
  EXPECT_EQ(0, ParentResizing);
}

TEST_F(BandHooks, ToolBarThatWrapsDuringANativeDragTakesItsBandAlong) {
  Toolbar& toolbar = MakeToolbar(rebar_, 6);
  int buttonHeight = HIWORD(SendMessageA(toolbar.window, TB_GETBUTTONSIZE, 0, 0));
  AddBand(rebar_, toolbar.window, 0, buttonHeight + 4, 5);
  SetWindowPos(toolbar.window, nullptr, 0, 0, 40, buttonHeight, SWP_NOMOVE | SWP_NOZORDER);
  int rows = static_cast<int>(SendMessageA(toolbar.window, TB_GETROWS, 0, 0));
  ASSERT_GT(rows, 1);

  BandSyncRebar = rebar_;
  BandSyncBandId = 5;
  BandSyncBandIndex = 0;
  BandSyncParent = host_;
  BandSyncRowCount = 99;  // the rows seen last time differ: the bands are fitted again
  Rebar& current = AddRebarRecord(MakeRecorder(host_), host_);
  MOUSEHOOKSTRUCT m = At(5);
  BandSizeSyncHook(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&m));
  EXPECT_EQ(&current, RebarList.Current());
  EXPECT_EQ(SendMessageA(rebar_, RB_GETROWCOUNT, 0, 0), BandSyncRowCount);
  EXPECT_EQ(rows, toolbar.rows);
  EXPECT_EQ(rows * buttonHeight + 4, MinChild(rebar_, 0));
}

TEST_F(BandHooks, CursorHookShowsTheSizingCursorWhileOnAnEdge) {
  HCURSOR sizing = LoadCursorA(nullptr, IDC_SIZENS);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  struct {
    int mode;
    HCURSOR cursor;
    int modeAfter;
  } const cases[] = {{-1, sizing, -1}, {-2, sizing, -2}, {0, arrow, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    DragCursorMode = c.mode;
    SetCursor(nullptr);
    CWPRETSTRUCT ret = {0, HTCLIENT, reinterpret_cast<WPARAM>(host_), WM_SETCURSOR, host_};
    EXPECT_EQ(0, DragCursorHook(HC_ACTION, 0, reinterpret_cast<LPARAM>(&ret)));
    EXPECT_EQ(c.cursor, GetCursor());
    EXPECT_EQ(c.modeAfter, DragCursorMode);
  }
  // Other messages leave the cursor alone.
  SetCursor(arrow);
  DragCursorMode = -1;
  CWPRETSTRUCT move = {0, 0, 0, WM_MOUSEMOVE, host_};
  DragCursorHook(HC_ACTION, 0, reinterpret_cast<LPARAM>(&move));
  EXPECT_EQ(arrow, GetCursor());
}

// The whole way through the system: the hook installed as CreateRebar installs it, the
// window in front, the pointer pressed on the follow band's bottom edge and moved down.
TEST_F(BandHooks, RealDragOfABottomEdgeGrowsTheWindow) {
  AddBand(rebar_, MakeRecorder(rebar_), kFollow, 26, 1);
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, 0);
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, &BandGripperDragHook, nullptr, GetCurrentThreadId());
  ASSERT_NE(nullptr, hook);
  SetForegroundWindow(host_);
  Pump(100);

  POINT edge = {150, static_cast<LONG>(BandRect(rebar_, 0).bottom)};
  MapWindowPoints(host_, HWND_DESKTOP, &edge, 1);
  int height = Height();
  MovePointerTo(edge);
  EXPECT_EQ(-1, DragCursorMode) << "the pointer on the edge shows the sizing cursor";
  PressLeftButton(true);
  EXPECT_EQ(0, DraggedBand);
  for (int step = 1; step <= 3; ++step) {
    MovePointerTo({edge.x, edge.y + 10 * step});
  }
  PressLeftButton(false);
  UnhookWindowsHookEx(hook);

  EXPECT_EQ(-1, DraggedBand);
  EXPECT_EQ(height + 30, Height());
  EXPECT_EQ(56, MinChild(rebar_, 0));
  EXPECT_TRUE(IsWindowVisible(host_));
  EXPECT_EQ(0, ParentResizing);
}

}  // namespace

namespace {

// The rebar's own drag by a gripper: its notifications reach the parent window procedure,
// which follows the drag with its hook from the press to the release.
TEST_F(BandHooks, RealGripperDragIsFollowedFromBeginToEnd) {
  AddBand(rebar_, MakeRecorder(rebar_), RBBS_GRIPPERALWAYS, 26, 11);
  REBARBANDINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
  info.fStyle = RBBS_GRIPPERALWAYS;
  info.hwndChild = MakeRecorder(rebar_);
  info.cyMinChild = 26;
  info.cx = 150;
  info.wID = 12;
  SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, 0);
  HHOOK gripperHook = SetWindowsHookExA(WH_MOUSE, &BandGripperDragHook, nullptr, GetCurrentThreadId());
  SetForegroundWindow(host_);
  Pump(100);

  RECT band = BandRect(rebar_, 1);
  POINT gripper = {band.left + 3, (band.top + band.bottom) / 2};
  MapWindowPoints(rebar_, HWND_DESKTOP, &gripper, 1);
  MovePointerTo(gripper);
  PressLeftButton(true);
  // Wine's rebar begins the drag on the first move, and names no band.
  MovePointerTo({gripper.x - 40, gripper.y});
  EXPECT_EQ(rebar_, BandSyncRebar);
  EXPECT_EQ(12, BandSyncBandId) << "the rebar names the dragged band in its notification";
  EXPECT_EQ(1, BandSyncBandIndex);
  EXPECT_NE(nullptr, BandSizeHookHandle);
  PressLeftButton(false);
  UnhookWindowsHookEx(gripperHook);
  EXPECT_EQ(nullptr, BandSyncRebar);
  EXPECT_EQ(nullptr, BandSizeHookHandle);
}

// The same drag on a rebar made by CreateRebar, whose mouse hook follows it.
TEST_F(BandHooks, RealDragOnAToolkitRebar) {
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(80, host_, nullptr, 0, 0));
  ASSERT_NE(nullptr, rebar);
  ASSERT_NE(nullptr, BandDragHookHandle);
  ASSERT_GT(AddRebarBand(MakeRecorder(rebar), "", 300, 40, 26, nullptr, kFollow), -1);
  SetForegroundWindow(host_);
  Pump(100);

  POINT edge = {150, static_cast<LONG>(BandRect(rebar, 0).bottom)};
  MapWindowPoints(rebar, HWND_DESKTOP, &edge, 1);
  int height = Height();
  int minChild = MinChild(rebar, 0);
  MovePointerTo(edge);
  PressLeftButton(true);
  MovePointerTo({edge.x, edge.y + 25});
  PressLeftButton(false);

  EXPECT_EQ(-1, DraggedBand);
  EXPECT_EQ(height + 25, Height());
  EXPECT_EQ(minChild + 25, MinChild(rebar, 0));
  EXPECT_TRUE(IsWindowVisible(host_));
  FreeRebar(80);
  // Installed once for the thread; the other tests install their own.
  UnhookWindowsHookEx(BandDragHookHandle);
  BandDragHookHandle = nullptr;
}

}  // namespace
