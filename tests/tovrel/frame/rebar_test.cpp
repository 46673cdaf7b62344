// Toolkit rebars on hidden windows: what reaches the window style, the band records and
// their ids, showing bands, styles, height announcements, band layouts in files, fitting
// and freeing.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/whole_file.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/band_hooks.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/rebar_height.h"
#include "tovrel/frame/rebar_layout.h"
#include "tovrel/frame/rebar_style.h"

using namespace tovrel;

namespace {

// The height announcements a host window received: (receiver, wParam, lParam).
struct Announcement {
  HWND window;
  WPARAM height;
  LPARAM rebar;
};
std::vector<Announcement> gAnnouncements;
std::vector<std::string> gOrder;  // "callback" / "window", in arrival order

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TOVREL_REBARHEIGHT) {
    gAnnouncements.push_back({window, wParam, lParam});
    gOrder.push_back("window");
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK HeightCallback(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_TOVREL_REBARHEIGHT) gOrder.push_back("callback");
  return 0;
}
LRESULT CALLBACK OtherCallback(HWND, UINT, WPARAM, LPARAM) { return 0; }

HWND MakeHost(HWND parent = nullptr) {
  static ATOM atom = [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RebarTestHost";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return RegisterClassExA(&wc);
  }();
  (void)atom;
  const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
  return CreateWindowExA(0, "RebarTestHost", "rebar host", style, 0, 0, 600, 400, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND MakeChild(HWND parent, int width, int height) {
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

REBARBANDINFOA Band(HWND rebar, int index, UINT mask) {
  REBARBANDINFOA band = {};
  band.cbSize = sizeof(band);
  band.fMask = mask;
  EXPECT_TRUE(SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band))) << index;
  return band;
}

std::vector<int> BandIds(HWND rebar) {
  std::vector<int> ids;
  const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) ids.push_back(static_cast<int>(Band(rebar, i, RBBIM_ID).wID));
  return ids;
}

Rebar* RecordOf(HWND rebar) {
  for (Rebar& r : RebarList) {
    if (r.window == rebar) return &r;
  }
  return nullptr;
}

class RebarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = MakeHost();
    ASSERT_TRUE(host_);
    gAnnouncements.clear();
    gOrder.clear();
  }
  void TearDown() override {
    FreeRebar(-1);
    EXPECT_TRUE(RebarList.Empty());
    EXPECT_TRUE(RebarBandList.Empty());
    DestroyWindow(host_);
    CurrentRebar = -1;
  }
  // A rebar on the host with bands of the given minimum heights, ids 0, 1, ...
  HWND RebarWithBands(std::vector<int> heights, int flags = RBS_VARHEIGHT, HBITMAP background = nullptr) {
    HWND rebar = reinterpret_cast<HWND>(CreateRebar(0x7B, host_, background, flags, 0));
    EXPECT_TRUE(rebar);
    for (int h : heights) AddRebarBand(MakeChild(host_, 50, h), "", 120, 40, h, nullptr, 0);
    return rebar;
  }

  HWND host_ = nullptr;
};

TEST_F(RebarTest, ToolkitFlagsNeverReachTheWindowStyle) {
  HBITMAP background = CreateBitmap(8, 8, 1, 32, nullptr);
  struct Row {
    int flags;
    HBITMAP background;
    bool bandBorders;  // the window has RBS_BANDBORDERS
    bool heldBack;     // the record remembers it
    int uiStyle;
  } rows[] = {
      {0x1000000 | RBS_BANDBORDERS, nullptr, false, true, UISTYLE_OFFICE2003},
      {0x2000200, nullptr, false, false, UISTYLE_OFFICE2007},
      {0x2000000 | RBS_BANDBORDERS, nullptr, true, false, UISTYLE_OFFICE2007},
      {RBS_BANDBORDERS, background, false, true, 0},
      {0x800000 | 0x4000000 | RBS_BANDBORDERS, nullptr, true, false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.flags);
    HWND rebar = reinterpret_cast<HWND>(CreateRebar(5, host_, row.background, row.flags, 0));
    ASSERT_TRUE(rebar);
    const LONG_PTR style = GetWindowLongPtrA(rebar, GWL_STYLE);
    EXPECT_EQ(style & (WS_MAXIMIZE | WS_BORDER | WS_MINIMIZE), 0);
    EXPECT_FALSE(IsZoomed(rebar));
    EXPECT_EQ((style & RBS_BANDBORDERS) != 0, row.bandBorders);
    EXPECT_TRUE(style & CCS_NODIVIDER);
    ASSERT_TRUE(RecordOf(rebar));
    EXPECT_EQ(RecordOf(rebar)->bandBorders, row.heldBack);
    EXPECT_EQ(RecordOf(rebar)->uiStyle, row.uiStyle);
    EXPECT_EQ(RecordOf(rebar)->parentWindow, host_);
    EXPECT_EQ(CurrentRebar, 5);
    EXPECT_EQ(FreeRebar(5), 1);
  }
  DeleteObject(background);
}

TEST_F(RebarTest, NumbersAndCreationFailures) {
  const intptr_t numbered = CreateRebar(-1, host_, nullptr, 0, 1);
  ASSERT_GT(numbered, 0);
  HWND window = GetRebarWindow(numbered);
  ASSERT_TRUE(IsRebarWindow(window));
  EXPECT_EQ(CurrentRebar, numbered);
  EXPECT_TRUE(RecordOf(window)->option);
  EXPECT_EQ(CreateRebar(static_cast<int>(numbered), host_, nullptr, 0, 0), 0);  // in use
  EXPECT_EQ(CreateRebar(9, nullptr, nullptr, 0, 0), 0);
  EXPECT_EQ(RebarList.Size(), 1u);
  EXPECT_EQ(GetRebarWindow(12345), nullptr);
  // The host clips its children; the gripper hook is installed once for every rebar.
  EXPECT_TRUE(GetWindowLongPtrA(host_, GWL_STYLE) & WS_CLIPCHILDREN);
  HHOOK hook = BandDragHookHandle;
  EXPECT_TRUE(hook);
  CreateRebar(10, host_, nullptr, 0, 0);
  EXPECT_EQ(BandDragHookHandle, hook);
}

TEST_F(RebarTest, OneHollowBrushForEveryRebar) {
  HWND first = reinterpret_cast<HWND>(CreateRebar(1, host_, nullptr, 0, 0));
  const LONG_PTR brush = GetClassLongPtrA(first, GCLP_HBRBACKGROUND);
  HWND second = reinterpret_cast<HWND>(CreateRebar(2, host_, nullptr, 0, 0));
  EXPECT_EQ(GetClassLongPtrA(second, GCLP_HBRBACKGROUND), brush);
  FreeRebar(-1);
  HWND third = reinterpret_cast<HWND>(CreateRebar(3, host_, nullptr, 0, 0));
  EXPECT_EQ(GetClassLongPtrA(third, GCLP_HBRBACKGROUND), brush);
  LOGBRUSH kind = {};
  ASSERT_TRUE(GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof(kind), &kind));
  EXPECT_EQ(kind.lbStyle, static_cast<UINT>(BS_HOLLOW));
}

TEST_F(RebarTest, BandLParamReadsBackAsItsRecord) {
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(1, host_, nullptr, RBS_VARHEIGHT, 0));
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0, host_,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 27));
  const int id = AddRebarBand(toolbar, "Tools", 200, 50, 0, nullptr, RBBS_BREAK);
  EXPECT_EQ(id, 0);
  const REBARBANDINFOA band = Band(rebar, 0, RBBIM_LPARAM | RBBIM_ID | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_CHILD);
  const RebarBand* record = BandRecordOf(band.lParam);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->bandId, 0);
  EXPECT_EQ(record->rebarWindow, rebar);
  EXPECT_EQ(record->parentWindow, host_);
  EXPECT_EQ(record->childWindow, toolbar);
  EXPECT_TRUE(record->visible);
  EXPECT_EQ(band.hwndChild, toolbar);
  EXPECT_EQ(GetParent(toolbar), rebar);
  // A minimum height of 0 takes the tool bar's button height.
  EXPECT_EQ(band.cyMinChild, static_cast<UINT>(HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0))));
  EXPECT_EQ(band.fStyle, static_cast<UINT>(RBBS_BREAK));
  // Wine's tool bar keeps the style it was given by TB_SETSTYLE to itself.
  EXPECT_TRUE(SendMessageA(toolbar, TB_GETSTYLE, 0, 0) & CCS_NODIVIDER);
  EXPECT_TRUE(SendMessageA(toolbar, TB_GETSTYLE, 0, 0) & CCS_NORESIZE);
  // The template's style comes back for the next band.
  AddRebarBand(MakeChild(host_, 40, 20), "", 100, 40, 0, nullptr, 0);
  EXPECT_EQ(Band(rebar, 1, RBBIM_STYLE).fStyle, static_cast<UINT>(RBBS_CHILDEDGE));
  EXPECT_EQ(Band(rebar, 1, RBBIM_CHILDSIZE).cyMinChild, 20u);  // the window's height
}

// The system control ignores what lies beyond the size a caller gives: with the 32-bit
// structure's 80 bytes a band's lParam is lost.
TEST_F(RebarTest, ShortBandStructureLosesTheLParam) {
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(1, host_, nullptr, 0, 0));
  REBARBANDINFOA band = {};
  band.cbSize = 80;
  band.fMask = RBBIM_LPARAM | RBBIM_ID;
  band.wID = 7;
  band.lParam = 0x1234;
  ASSERT_TRUE(SendMessageA(rebar, RB_INSERTBANDA, -1, reinterpret_cast<LPARAM>(&band)));
  EXPECT_EQ(Band(rebar, 0, RBBIM_LPARAM).lParam, 0);
  EXPECT_EQ(sizeof(REBARBANDINFOA), 128u);
  EXPECT_EQ(sizeof(REBARINFO), 16u);
}

// Wine answers RB_GETROWHEIGHT for the row with that number (counted from 0), where
// Windows takes the number as a band index; the toolkit measures rows from the bands'
// rectangles instead.
TEST_F(RebarTest, WineRowHeightTakesARowNumber) {
  HWND rebar = RebarWithBands({20, 20, 40});  // bands 0 and 1 in row 0, band 2 in row 1
  REBARBANDINFOA band = Band(rebar, 2, RBBIM_STYLE);
  band.fStyle |= RBBS_BREAK;
  SendMessageA(rebar, RB_SETBANDINFOA, 2, reinterpret_cast<LPARAM>(&band));
  RECT first = {}, second = {};
  SendMessageA(rebar, RB_GETRECT, 1, reinterpret_cast<LPARAM>(&first));
  SendMessageA(rebar, RB_GETRECT, 2, reinterpret_cast<LPARAM>(&second));
  ASSERT_NE(first.bottom - first.top, second.bottom - second.top);
  EXPECT_EQ(SendMessageA(rebar, RB_GETROWHEIGHT, 1, 0), second.bottom - second.top);  // row 1
  EXPECT_EQ(SendMessageA(rebar, RB_GETROWHEIGHT, 2, 0), 0);                           // no row 2
}

TEST_F(RebarTest, BandIdsAreNeverReused) {
  HWND rebar = RebarWithBands({20, 20});
  EXPECT_EQ(BandIds(rebar), (std::vector<int>{0, 1}));
  EXPECT_EQ(RemoveRebarBand(0x7B, 0), 1);
  EXPECT_EQ(AddRebarBand(MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), 2);
  EXPECT_EQ(BandIds(rebar), (std::vector<int>{1, 2}));
  EXPECT_EQ(RebarBandList.Size(), 2u);
  // By index when no band has that id; unknown bands and rebars remove nothing.
  EXPECT_EQ(RemoveRebarBand(reinterpret_cast<intptr_t>(rebar), 0), 1);  // id 0 is gone: index 0, band 1
  EXPECT_EQ(BandIds(rebar), (std::vector<int>{2}));
  EXPECT_EQ(RemoveRebarBand(0x7B, 5), 0);
  EXPECT_EQ(RemoveRebarBand(999, 2), 0);
  EXPECT_EQ(BandIds(rebar), (std::vector<int>{2}));
}

TEST_F(RebarTest, InsertBeforeAnIdOrAtAnIndex) {
  HWND rebar = RebarWithBands({20, 20, 20});  // ids 0, 1, 2
  RemoveRebarBand(0x7B, 0);                   // ids 1, 2
  HWND other = reinterpret_cast<HWND>(CreateRebar(8, host_, nullptr, 0, 0));
  EXPECT_EQ(CurrentRebar, 8);
  // 2 is an id: the new band goes before it, and the rebar becomes current.
  EXPECT_EQ(InsertRebarBand(0x7B, 2, MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), 3);
  EXPECT_EQ(BandIds(rebar), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(CurrentRebar, 0x7B);
  EXPECT_EQ(BandInsertIndex, -2);
  // 0 is no id: index 0.
  EXPECT_EQ(
      InsertRebarBand(reinterpret_cast<intptr_t>(rebar), 0, MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), 4);
  EXPECT_EQ(BandIds(rebar), (std::vector<int>{4, 1, 3, 2}));
  EXPECT_EQ(InsertRebarBand(555, 0, MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), 0);
  EXPECT_EQ(SendMessageA(other, RB_GETBANDCOUNT, 0, 0), 0);
}

TEST_F(RebarTest, AddWithoutAUsableCurrentRebar) {
  CurrentRebar = -1;
  EXPECT_EQ(AddRebarBand(MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), 0);
  CurrentRebar = 4242;
  EXPECT_EQ(AddRebarBand(MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), -1);
  EXPECT_TRUE(RebarBandList.Empty());
}

// A band the control refuses leaves no record behind and is no success.
TEST_F(RebarTest, RefusedBandLeavesNoRecord) {
  HWND rebar = RebarWithBands({20});
  DestroyWindow(rebar);
  EXPECT_EQ(AddRebarBand(MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0), -1);
  EXPECT_EQ(RebarBandList.Size(), 1u);  // the first band's, freed with the rebar
  EXPECT_EQ(RecordOf(rebar)->nextBandId, 1);
}

TEST_F(RebarTest, GetRebarBandIdByIndex) {
  HWND rebar = RebarWithBands({20, 20});
  EXPECT_EQ(GetRebarBandId(0x7B, 0), 0);
  EXPECT_EQ(GetRebarBandId(reinterpret_cast<intptr_t>(rebar), 1), 1);
  EXPECT_EQ(GetRebarBandId(0x7B, 5), 0);  // past the last band
  EXPECT_EQ(GetRebarBandId(77, 0), -1);
}

TEST_F(RebarTest, ShowRebarBandByIdOrIndex) {
  HWND rebar = RebarWithBands({20, 30, 40}, RBS_VARHEIGHT);
  for (int i = 1; i < 3; ++i) {  // three rows
    REBARBANDINFOA band = Band(rebar, i, RBBIM_STYLE);
    band.fStyle |= RBBS_BREAK;
    SendMessageA(rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
  }
  RemoveRebarBand(0x7B, 0);  // ids 1, 2 at indexes 0, 1
  const int bothRows = MeasureBandRow(rebar, 99);
  const int row2 = MeasureBandRow(rebar, 1);  // the other row: band 2's
  EXPECT_GT(row2, 30);
  EXPECT_GT(bothRows, row2);

  // 0 is no id: index 0, the band with id 1.
  EXPECT_EQ(ShowRebarBand(0x7B, 0, 0), 1);
  const RebarBand* record = BandRecordOf(Band(rebar, 0, RBBIM_LPARAM).lParam);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bandId, 1);
  EXPECT_FALSE(record->visible);
  EXPECT_TRUE(Band(rebar, 0, RBBIM_STYLE).fStyle & RBBS_HIDDEN);
  EXPECT_EQ(MeasureBandRow(rebar, 99), row2);  // the hidden band's row is left out
  EXPECT_EQ(MeasureBandRow(rebar, 2), 0);
  // By window and by id.
  EXPECT_EQ(ShowRebarBand(reinterpret_cast<intptr_t>(rebar), 1, 1), 1);
  EXPECT_TRUE(record->visible);
  EXPECT_FALSE(Band(rebar, 0, RBBIM_STYLE).fStyle & RBBS_HIDDEN);
  EXPECT_EQ(MeasureBandRow(rebar, 99), bothRows);
  EXPECT_EQ(ShowRebarBand(0x7B, 9, 0), 0);  // neither id nor index
  EXPECT_EQ(ShowRebarBand(31337, 1, 0), 0);
  EXPECT_EQ(ShowRebarBand(reinterpret_cast<intptr_t>(host_), 1, 0), 0);  // a window, but no rebar
}

TEST_F(RebarTest, BandWithoutRecordCountsAsVisible) {
  HWND rebar = RebarWithBands({20});
  REBARBANDINFOA foreign = {};
  foreign.cbSize = sizeof(foreign);
  foreign.fMask = RBBIM_ID | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_LPARAM | RBBIM_CHILD;
  foreign.hwndChild = MakeChild(host_, 50, 30);
  foreign.fStyle = RBBS_BREAK;
  foreign.wID = 50;
  foreign.cyMinChild = 30;
  foreign.lParam = 0;
  ASSERT_TRUE(SendMessageA(rebar, RB_INSERTBANDA, -1, reinterpret_cast<LPARAM>(&foreign)));
  EXPECT_GE(MeasureBandRow(rebar, 0), 30);   // the foreign band's row counts
  EXPECT_EQ(ShowRebarBand(0x7B, 50, 0), 1);  // and it can be hidden, with no record to write
  EXPECT_EQ(MeasureBandRow(rebar, 0), 0);
}

TEST_F(RebarTest, HeightGoesOnlyToRebarWindows) {
  HWND rebar = RebarWithBands({24});
  const int height = static_cast<int>(SendMessageA(rebar, RB_GETBARHEIGHT, 0, 0));
  EXPECT_GT(height, 0);
  EXPECT_EQ(GetRebarHeight(0x7B), height);
  EXPECT_EQ(GetRebarHeight(reinterpret_cast<intptr_t>(rebar)), height);
  EXPECT_EQ(GetRebarHeight(reinterpret_cast<intptr_t>(host_)), 0);  // RB_GETBARHEIGHT is WM_USER+27 elsewhere
  EXPECT_EQ(GetRebarHeight(424242), 0);
  // A rebar made by someone else is still asked when given as a window.
  HWND plain = CreateWindowExA(0, REBARCLASSNAMEA, nullptr, WS_CHILD, 0, 0, 0, 0, host_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetRebarHeight(reinterpret_cast<intptr_t>(plain)), 0);  // no bands: 0 high
  DestroyWindow(plain);
}

TEST_F(RebarTest, HeightCallbacks) {
  RebarWithBands({24});
  EXPECT_EQ(SetRebarHeightCallback(0x7B, nullptr), -1);
  EXPECT_EQ(SetRebarHeightCallback(99, &HeightCallback), -1);
  EXPECT_EQ(SetRebarHeightCallback(0x7B, &OtherCallback), 0);
  EXPECT_EQ(SetRebarHeightCallback(0x7B, &HeightCallback), reinterpret_cast<intptr_t>(&OtherCallback));
  LastRebarHeight = 0;
  gOrder.clear();
  FindRebar(0x7B);
  NotifyRebarHeight(33);
  EXPECT_EQ(gOrder, (std::vector<std::string>{"callback", "window", "window"}));
}

// A rebar's size change is announced while the rebar takes it, to its root and its parent.
TEST_F(RebarTest, SizeChangeAnnouncesTheNewHeight) {
  HWND inner = MakeHost(host_);  // the rebar's parent is a child of the root
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(0x7B, inner, nullptr, RBS_VARHEIGHT | CCS_NORESIZE, 0));
  AddRebarBand(MakeChild(inner, 50, 24), "", 120, 40, 24, nullptr, 0);
  RECT r = {};
  GetWindowRect(rebar, &r);
  const int h = r.bottom - r.top;
  LastRebarHeight = 0;
  gAnnouncements.clear();
  SetWindowPos(rebar, nullptr, 0, 0, 300, h + 10, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_GE(gAnnouncements.size(), 2u);
  EXPECT_EQ(gAnnouncements[0].window, host_);  // root first
  EXPECT_EQ(gAnnouncements[1].window, inner);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(gAnnouncements[i].height, static_cast<WPARAM>(h + 10));
    EXPECT_EQ(gAnnouncements[i].rebar, reinterpret_cast<LPARAM>(rebar));
  }
  EXPECT_EQ(gAnnouncements.size(), 2u);
  gAnnouncements.clear();
  SetWindowPos(rebar, nullptr, 0, 0, 300, h + 10, SWP_NOMOVE | SWP_NOZORDER);  // the same height
  SetWindowPos(rebar, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);         // a move
  EXPECT_TRUE(gAnnouncements.empty());
}

// One last height for all rebars: a height sent twice goes once, but two rebars that
// report alternately are each announced.
TEST_F(RebarTest, LastHeightIsSharedByAllRebars) {
  HWND first = RebarWithBands({24});
  HWND second = reinterpret_cast<HWND>(CreateRebar(9, host_, nullptr, 0, 0));
  LastRebarHeight = 0;
  gAnnouncements.clear();
  struct Step {
    HWND rebar;
    int height;
    size_t announcements;
  } steps[] = {{first, 30, 2}, {first, 30, 2}, {second, 40, 4}, {first, 30, 6}, {second, 40, 8}};
  for (const Step& step : steps) {
    FindRebar(reinterpret_cast<intptr_t>(step.rebar));
    NotifyRebarHeight(step.height);
    EXPECT_EQ(gAnnouncements.size(), step.announcements);
    EXPECT_EQ(gAnnouncements.back().rebar, reinterpret_cast<LPARAM>(step.rebar));
    EXPECT_EQ(gAnnouncements.back().height, static_cast<WPARAM>(step.height));
  }
  // 0 measures the current rebar.
  FindRebar(reinterpret_cast<intptr_t>(first));
  NotifyRebarHeight(0);
  EXPECT_EQ(gAnnouncements.back().height, static_cast<WPARAM>(SendMessageA(first, RB_GETBARHEIGHT, 0, 0)));
}

TEST_F(RebarTest, StyleZeroKeepsBordersHeldBackForOwnBackground) {
  HBITMAP own = CreateBitmap(8, 8, 1, 32, nullptr);
  HWND rebar = RebarWithBands({24, 24}, RBS_VARHEIGHT | RBS_BANDBORDERS, own);
  EXPECT_FALSE(GetWindowLongPtrA(rebar, GWL_STYLE) & RBS_BANDBORDERS);
  EXPECT_TRUE(RecordOf(rebar)->bandBorders);
  EXPECT_EQ(SetRebarStyle(0x7B, UISTYLE_OFFICE2007), 1);
  HBITMAP shared = static_cast<HBITMAP>(Band(rebar, 0, RBBIM_BACKGROUND).hbmBack);
  EXPECT_NE(shared, own);
  EXPECT_EQ(SetRebarStyle(0x7B, 0), 1);
  EXPECT_FALSE(GetWindowLongPtrA(rebar, GWL_STYLE) & RBS_BANDBORDERS);
  EXPECT_TRUE(RecordOf(rebar)->bandBorders);
  for (int i = 0; i < 2; ++i) {
    const REBARBANDINFOA band = Band(rebar, i, RBBIM_BACKGROUND | RBBIM_STYLE);
    EXPECT_EQ(band.hbmBack, own);
    EXPECT_TRUE(band.fStyle & RBBS_FIXEDBMP);
  }
  // Bands added later get the rebar's own background too.
  AddRebarBand(MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0);
  EXPECT_EQ(Band(rebar, 2, RBBIM_BACKGROUND).hbmBack, own);
  EXPECT_EQ(SetRebarStyle(404, 0), 0);
  FreeRebar(-1);
  DeleteObject(own);
}

TEST_F(RebarTest, StyleZeroGivesBordersBackWithoutOwnBackground) {
  HWND rebar = RebarWithBands({24}, RBS_VARHEIGHT | RBS_BANDBORDERS);
  EXPECT_TRUE(GetWindowLongPtrA(rebar, GWL_STYLE) & RBS_BANDBORDERS);
  EXPECT_EQ(SetRebarStyle(0x7B, UISTYLE_OFFICE2007), 1);
  EXPECT_FALSE(GetWindowLongPtrA(rebar, GWL_STYLE) & RBS_BANDBORDERS);
  EXPECT_TRUE(RecordOf(rebar)->bandBorders);
  EXPECT_EQ(RecordOf(rebar)->uiStyle, UISTYLE_OFFICE2007);
  const REBARBANDINFOA styled = Band(rebar, 0, RBBIM_BACKGROUND | RBBIM_STYLE);
  EXPECT_TRUE(styled.hbmBack);
  EXPECT_TRUE(styled.fStyle & RBBS_FIXEDBMP);
  EXPECT_EQ(SetRebarStyle(0x7B, 0), 1);
  EXPECT_TRUE(GetWindowLongPtrA(rebar, GWL_STYLE) & RBS_BANDBORDERS);
  EXPECT_FALSE(RecordOf(rebar)->bandBorders);
  EXPECT_EQ(Band(rebar, 0, RBBIM_BACKGROUND).hbmBack, nullptr);
}

TEST_F(RebarTest, StyleChangeAnnouncesOnlyAChangedHeight) {
  HWND rebar = RebarWithBands({24});
  RECT client = {};
  GetClientRect(host_, &client);
  SetWindowPos(rebar, nullptr, 0, 0, client.right, 40, SWP_NOZORDER);
  FindRebar(0x7B);
  NotifyRebarHeight(0);
  gAnnouncements.clear();
  EXPECT_EQ(SetRebarStyle(0x7B, UISTYLE_OFFICE2003), 1);
  EXPECT_TRUE(gAnnouncements.empty());
  RECT after = {};
  GetWindowRect(rebar, &after);
  EXPECT_GT(after.right - after.left, 0);  // the width stays with the control
}

class RebarLayoutFileTest : public RebarTest {
 protected:
  void SetUp() override {
    RebarTest::SetUp();
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    path_ = std::string(folder) + "zk_rebar_layout.xml";
    DeleteFileA(path_.c_str());
  }
  void TearDown() override {
    DeleteFileA(path_.c_str());
    RebarTest::TearDown();
  }
  void Write(const std::string& text) { ASSERT_TRUE(WriteWholeFile(std::wstring(path_.begin(), path_.end()), text)); }
  std::string Read() {
    std::string text;
    ReadWholeFile(path_, 1 << 20, &text);
    return text;
  }
  struct State {
    std::vector<int> ids;
    std::vector<UINT> widths;
    std::vector<UINT> styles;
    bool operator==(const State& o) const { return ids == o.ids && widths == o.widths && styles == o.styles; }
  };
  State StateOf(HWND rebar) {
    State s;
    const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const REBARBANDINFOA b = Band(rebar, i, RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE);
      s.ids.push_back(static_cast<int>(b.wID));
      s.widths.push_back(b.cx);
      s.styles.push_back(b.fStyle);
    }
    return s;
  }
  std::string path_;
};

TEST_F(RebarLayoutFileTest, SavedLayoutComesBack) {
  HWND rebar = RebarWithBands({20, 20, 20});
  REBARBANDINFOA band = Band(rebar, 2, RBBIM_STYLE);
  band.fStyle |= RBBS_BREAK | RebarFollowBand;
  SendMessageA(rebar, RB_SETBANDINFOA, 2, reinterpret_cast<LPARAM>(&band));
  ASSERT_EQ(SaveRebarLayout(0x7B, path_), 1);
  const State saved = StateOf(rebar);
  const std::string text = Read();
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Layout>\r\n   <Band ID=\"0\" cx=\"", 0), 0u)
      << text;
  EXPECT_NE(text.find("   <Band ID=\"2\" cx=\""), std::string::npos);
  EXPECT_NE(text.find("\" fStyle=\"" + std::to_string(saved.styles[2]) + "\"/>\r\n</Layout>\r\n"), std::string::npos)
      << text;

  MoveRebarBand(0x7B, 0, 2);
  band = Band(rebar, 0, RBBIM_STYLE | RBBIM_SIZE);
  band.cx = 77;
  band.fStyle = RBBS_CHILDEDGE;
  SendMessageA(rebar, RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band));
  ASSERT_FALSE(StateOf(rebar) == saved);
  EXPECT_EQ(LoadRebarLayout(0x7B, path_), 1);
  EXPECT_TRUE(StateOf(rebar) == saved);
}

TEST_F(RebarLayoutFileTest, ReaderTakesAnyCaseOfTheRoot) {
  HWND rebar = RebarWithBands({20, 20});
  Write("<LAYOUT><Band ID=\"1\" cx=\"150\" fStyle=\"4\"/><Band ID=\"0\" cx=\"160\" fStyle=\"5\"/></LAYOUT>");
  EXPECT_EQ(LoadRebarLayout(0x7B, path_), 1);
  const State got = StateOf(rebar);
  EXPECT_EQ(got.ids, (std::vector<int>{1, 0}));
  EXPECT_EQ(got.styles, (std::vector<UINT>{4, 5}));
}

TEST_F(RebarLayoutFileTest, NothingChangesFromAFileThatDoesNotLoad) {
  HWND rebar = RebarWithBands({20, 20, 20});
  const State before = StateOf(rebar);
  const char* texts[] = {
      // The first band would move before the parse error is found.
      "<Layout><Band ID=\"2\" cx=\"50\" fStyle=\"0\"/><Band ID=\"1\" cx=\"50\" fStyle=\"0\"></Layout>",
      "<Bands><Band ID=\"2\" cx=\"50\" fStyle=\"0\"/></Bands>",
      "",
  };
  for (const char* text : texts) {
    Write(text);
    EXPECT_EQ(LoadRebarLayout(0x7B, path_), 0) << text;
    EXPECT_TRUE(StateOf(rebar) == before) << text;
  }
  DeleteFileA(path_.c_str());
  EXPECT_EQ(LoadRebarLayout(0x7B, path_), 0);
  EXPECT_EQ(LoadRebarLayout(0x7B, path_ + "|"), 0);
  EXPECT_EQ(LoadRebarLayout(55, path_), 0);
}

TEST_F(RebarLayoutFileTest, UnknownIdTakesNoPlace) {
  HWND rebar = RebarWithBands({20, 20, 20});
  Write(
      "<Layout>\n<Band ID=\"2\" cx=\"111\" fStyle=\"4\"/>\n<Band ID=\"40\" cx=\"1\" fStyle=\"1\"/>\n"
      "<Band ID=\"0\" cx=\"122\" fStyle=\"4\"/>\n<Band ID=\"1\" cx=\"133\" fStyle=\"12\"/>\n</Layout>");
  EXPECT_EQ(LoadRebarLayout(0x7B, path_), 1);
  const State got = StateOf(rebar);
  EXPECT_EQ(got.ids, (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(got.styles, (std::vector<UINT>{4, 4, 12}));  // 12: RBBS_CHILDEDGE | RBBS_HIDDEN
  // The band the file hides is hidden for the toolkit too.
  EXPECT_FALSE(BandRecordOf(Band(rebar, 2, RBBIM_LPARAM).lParam)->visible);
  EXPECT_TRUE(BandRecordOf(Band(rebar, 0, RBBIM_LPARAM).lParam)->visible);
}

// A tool bar whose buttons wrap into more rows since its band was sized gets whole button
// rows more, keeping what the band had beyond its buttons.
TEST_F(RebarLayoutFileTest, LoadGrowsBandsOfToolbarsThatWrap) {
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(0x7B, host_, nullptr, RBS_VARHEIGHT, 0));
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_WRAPABLE | CCS_NORESIZE, 0,
                                 0, 100, 60, host_, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  TBBUTTON buttons[4] = {};
  for (int i = 0; i < 4; ++i) buttons[i] = {I_IMAGENONE, 100 + i, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  SendMessageA(toolbar, TB_ADDBUTTONSA, 4, reinterpret_cast<LPARAM>(buttons));
  SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(250, 22));  // two to a row of the band
  const int buttonHeight = HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
  AddRebarBand(toolbar, "", 200, 40, buttonHeight + 3, nullptr, 0);
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  ASSERT_EQ(SendMessageA(toolbar, TB_GETROWS, 0, 0), 2);
  Toolbar& record = ToolbarList.Add();
  record.window = toolbar;
  record.rows = 1;
  ASSERT_EQ(SaveRebarLayout(0x7B, path_), 1);
  EXPECT_EQ(LoadRebarLayout(0x7B, path_), 1);
  EXPECT_EQ(static_cast<int>(Band(rebar, 0, RBBIM_CHILDSIZE).cyMinChild), 2 * buttonHeight + 3);
  EXPECT_EQ(record.rows, 2);
  ToolbarList.Delete(&record);
}

TEST_F(RebarLayoutFileTest, FailedSaveKeepsTheOldFile) {
  RebarWithBands({20});
  Write("old layout");
  // A file held open without delete sharing cannot be replaced: the save fails and
  // leaves it whole.
  HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(SaveRebarLayout(0x7B, path_), 0);
  CloseHandle(held);
  EXPECT_EQ(Read(), "old layout");
  EXPECT_EQ(SaveRebarLayout(0x7B, path_ + "?"), 0);
  EXPECT_EQ(SaveRebarLayout(0x7B, "C:\\no\\such\\folder\\layout.xml"), 0);
  EXPECT_EQ(SaveRebarLayout(0x7C, path_), 0);
  EXPECT_EQ(Read(), "old layout");
  // No temporary files are left beside it.
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(folder) + "zkl*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// A fill band in the first row reaches 5 pixels above the next visible window on the
// parent's centre line; a follow band in its row takes the same height.
TEST_F(RebarTest, FillAndFollowBandsFitTheParent) {
  RECT client = {};
  GetClientRect(host_, &client);
  HWND rebar = reinterpret_cast<HWND>(CreateRebar(0x7B, host_, nullptr, RBS_VARHEIGHT, 0));
  AddRebarBand(MakeChild(host_, 50, 20), "", 150, 40, 20, nullptr, 0x20000);
  AddRebarBand(MakeChild(host_, 50, 20), "", 150, 40, 22, nullptr, RebarFollowBand);
  AddRebarBand(MakeChild(host_, 50, 20), "", 150, 40, 26, nullptr, RBBS_BREAK);  // a second row
  HWND below = MakeChild(host_, client.right, 30);
  SetWindowPos(below, nullptr, 0, 200, client.right, 30, SWP_NOZORDER);
  HWND hidden = MakeChild(host_, client.right, 30);
  SetWindowPos(hidden, nullptr, 0, 150, client.right, 30, SWP_NOZORDER | SWP_HIDEWINDOW);
  SetWindowPos(rebar, nullptr, 0, 0, client.right, 100, SWP_NOZORDER);

  FitRebarBands(host_);
  const int other = MeasureBandRow(rebar, 0);
  EXPECT_GE(other, 26);
  EXPECT_EQ(static_cast<int>(Band(rebar, 0, RBBIM_CHILDSIZE).cyMinChild), 200 - 5 - other);
  EXPECT_EQ(Band(rebar, 1, RBBIM_CHILDSIZE).cyMinChild, Band(rebar, 0, RBBIM_CHILDSIZE).cyMinChild);
  const RebarBand* fill = BandRecordOf(Band(rebar, 0, RBBIM_LPARAM).lParam);
  const RebarBand* follow = BandRecordOf(Band(rebar, 1, RBBIM_LPARAM).lParam);
  EXPECT_EQ(fill->savedFillOffset, client.bottom - 200 + 5);
  EXPECT_EQ(follow->savedOwnMinChild, 22);

  // The follow band's row loses its fill band: it gets its own height back.
  REBARBANDINFOA band = Band(rebar, 0, RBBIM_STYLE);
  band.fStyle &= ~RebarFillBandBits;
  SendMessageA(rebar, RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band));
  FitRebarBands(host_);
  EXPECT_EQ(Band(rebar, 1, RBBIM_CHILDSIZE).cyMinChild, 22u);
  EXPECT_EQ(follow->savedOwnMinChild, 0);

  // The window below moves up past the rows: the fill band gets 0, not a negative height.
  band.fStyle |= 0x40000;
  SendMessageA(rebar, RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band));
  SetWindowPos(below, nullptr, 0, 10, client.right, 30, SWP_NOZORDER);
  FitRebarBands(host_);
  EXPECT_EQ(Band(rebar, 0, RBBIM_CHILDSIZE).cyMinChild, 0u);
}

TEST_F(RebarTest, FreeGivesTheChildrenBack) {
  HWND rebar = RebarWithBands({20, 20});
  HWND child = Band(rebar, 0, RBBIM_CHILD).hwndChild;
  HWND second = reinterpret_cast<HWND>(CreateRebar(9, host_, nullptr, 0, 0));
  AddRebarBand(MakeChild(host_, 50, 20), "", 100, 40, 20, nullptr, 0);
  EXPECT_EQ(FreeRebar(reinterpret_cast<intptr_t>(rebar)), 1);
  EXPECT_FALSE(IsWindow(rebar));
  EXPECT_TRUE(IsWindow(child));
  EXPECT_EQ(GetParent(child), host_);
  EXPECT_EQ(RebarList.Size(), 1u);
  EXPECT_EQ(RebarBandList.Size(), 1u);
  EXPECT_EQ(FreeRebar(0x7B), 0);
  EXPECT_EQ(FreeRebar(-1), 1);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(FreeRebar(-1), 1);
}

}  // namespace
