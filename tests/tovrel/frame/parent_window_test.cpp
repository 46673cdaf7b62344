// The parent window procedure fed the messages Windows and the controls send a window
// hosting tool bars and rebars: the window's own procedure always runs once, first; the
// toolkit then follows sizing, band drags, tooltips, gadgets and system changes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "band_test_windows.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/system_libraries.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/parent_window.h"

using namespace tovrel;
using namespace frametest;

namespace {

const ::testing::Environment* const kToolkitStart = ::testing::AddGlobalTestEnvironment(new ToolkitStart);

class ParentWindow : public BandWindows {
 protected:
  void SetUp() override {
    BandWindows::SetUp();
    host_ = MakeHost(100, 100, 400, 300);
    SubclassParentWindow(host_);
  }
  void TearDown() override {
    BandSyncRebar = nullptr;
    ParentResizing = 0;
    BandWindows::TearDown();
  }

  LRESULT Notify(NMHDR& header) {
    return SendMessageA(host_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }

  LRESULT RebarNotify(HWND rebar, UINT code, UINT band = 0, UINT id = 0) {
    NMREBAR n = {};
    n.hdr.hwndFrom = rebar;
    n.hdr.idFrom = 0;
    n.hdr.code = code;
    n.dwMask = RBNM_ID;
    n.uBand = band;
    n.wID = id;
    return Notify(n.hdr);
  }

  HWND host_ = nullptr;
};

TEST_F(ParentWindow, OneEntryPerWindowAndItsProcedureRunsOnce) {
  // A menu bar, a tool bar and a rebar each subclass the window they are made in.
  SubclassParentWindow(host_);
  SubclassParentWindow(host_);
  size_t entries = std::count_if(SubclassList.begin(), SubclassList.end(),
                                 [this](const SubclassEntry& e) { return e.window == host_; });
  EXPECT_EQ(1u, entries);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&ParentWindowProc), GetWindowLongPtrA(host_, GWLP_WNDPROC));

  HostMessages().clear();
  EXPECT_EQ(kAnswer, SendMessageA(host_, kAnswerMessage, 0, 0));
  EXPECT_EQ(1, HostMessages()[kAnswerMessage]);
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  EXPECT_EQ(1, HostMessages()[WM_SIZE]);
  EXPECT_EQ(SubclassList.Find([this](const SubclassEntry& e) { return e.window == host_; })->previousProc,
            PreviousWindowProc);
}

TEST_F(ParentWindow, WindowWithoutEntryAnswersZero) {
  HWND other = MakeHost(0, 0, 100, 100);
  HostMessages().clear();
  EXPECT_EQ(0, ParentWindowProc(other, kAnswerMessage, 0, 0));
  EXPECT_EQ(0, HostMessages()[kAnswerMessage]);
}

TEST_F(ParentWindow, BandDragInstallsOneHookAndComposesItsToolBars) {
  HWND rebar = MakeRebar(host_);
  Toolbar& toolbar = MakeToolbar(rebar, 3);
  AddBand(rebar, toolbar.window, 0, 24, 7);

  RebarNotify(rebar, RBN_BEGINDRAG, 0, 7);
  EXPECT_EQ(rebar, BandSyncRebar);
  EXPECT_EQ(7, BandSyncBandId);
  EXPECT_EQ(0, BandSyncBandIndex);
  EXPECT_EQ(host_, BandSyncParent);
  HHOOK first = BandSizeHookHandle;
  ASSERT_NE(nullptr, first);
  EXPECT_TRUE(ExStyle(toolbar.window) & WS_EX_COMPOSITED);

  // A second begin (the rebar sends one per press) keeps the hook it has.
  RebarNotify(rebar, RBN_BEGINDRAG, 0, 7);
  EXPECT_EQ(first, BandSizeHookHandle);

  RebarNotify(rebar, RBN_ENDDRAG, 0, 7);
  EXPECT_EQ(nullptr, BandSizeHookHandle);
  EXPECT_EQ(nullptr, BandSyncRebar);
  EXPECT_FALSE(UnhookWindowsHookEx(first)) << "the hook was not removed";
  EXPECT_FALSE(ExStyle(toolbar.window) & WS_EX_COMPOSITED);
}

TEST_F(ParentWindow, EndDragWithoutBeginIsHarmless) {
  HWND rebar = MakeRebar(host_);
  Toolbar& toolbar = MakeToolbar(rebar, 2);
  AddBand(rebar, toolbar.window, 0, 24, 1);
  BandSyncRebar = rebar;  // left over; no hook is installed
  RebarNotify(rebar, RBN_ENDDRAG);
  EXPECT_EQ(nullptr, BandSizeHookHandle);
  EXPECT_EQ(nullptr, BandSyncRebar);
  EXPECT_FALSE(ExStyle(toolbar.window) & WS_EX_COMPOSITED);
  EXPECT_TRUE(GetWindowLongPtrA(toolbar.window, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ParentWindow, LayoutChangeLeavesTheRebarDrawing) {
  ShowWindow(host_, SW_SHOWNOACTIVATE);
  HWND rebar = MakeRebar(host_);
  AddBand(rebar, MakeRecorder(rebar), 0, 24, 1);
  RebarNotify(rebar, RBN_LAYOUTCHANGED);
  EXPECT_TRUE(IsWindowVisible(rebar));  // WM_SETREDRAW off hides a window until it is on again
}

TEST_F(ParentWindow, SizingComposesTheWindowsToolBarsUntilItEnds) {
  HWND rebar = MakeRebar(host_);
  Toolbar& inside = MakeToolbar(rebar, 2);
  AddBand(rebar, inside.window, 0, 24, 1);
  HWND elsewhere = MakeHost(0, 0, 100, 100);
  Toolbar& other = MakeToolbar(MakeRecorder(elsewhere), 2);

  RECT sizing = {100, 100, 400, 300};
  SendMessageA(host_, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing));
  EXPECT_EQ(-1, ParentResizing);
  EXPECT_TRUE(ExStyle(inside.window) & WS_EX_COMPOSITED);
  EXPECT_FALSE(ExStyle(other.window) & WS_EX_COMPOSITED);

  SendMessageA(host_, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(0, ParentResizing);
  EXPECT_FALSE(ExStyle(inside.window) & WS_EX_COMPOSITED);
}

TEST_F(ParentWindow, SizeLaysTheRebarAcrossAndAppliesItsOptionOnce) {
  HWND plain = MakeRebar(host_);
  AddBand(plain, MakeRecorder(plain), 0, 24, 1);
  HWND composited = MakeRebar(host_, true);
  AddBand(composited, MakeRecorder(composited), 0, 24, 1);

  EXPECT_EQ(0, SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(333, 200)));
  // The rebar follows the client width again once its drawing is on; the message's width
  // is the client's when the system sends it.
  MoveWindow(host_, 100, 100, 341, 300, FALSE);
  RECT client = {};
  GetClientRect(host_, &client);
  RECT r = WindowRect(plain);
  EXPECT_EQ(client.right, r.right - r.left);
  EXPECT_EQ(SendMessageA(plain, RB_GETBARHEIGHT, 0, 0), r.bottom - r.top);
  EXPECT_EQ(WS_EX_COMPOSITED | WS_EX_TOOLWINDOW, ExStyle(composited));
  EXPECT_FALSE(ExStyle(plain) & WS_EX_COMPOSITED);

  SetWindowLongPtrA(composited, GWL_EXSTYLE, 0);
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  EXPECT_EQ(0, ExStyle(composited)) << "the option is applied once";
}

TEST_F(ParentWindow, SizeFollowsAToolBarThatWrapped) {
  HWND rebar = MakeRebar(host_);
  Toolbar& toolbar = MakeToolbar(rebar, 12);
  int buttonHeight = HIWORD(SendMessageA(toolbar.window, TB_GETBUTTONSIZE, 0, 0));
  ASSERT_GT(buttonHeight, 0);
  const int extra = 5;
  AddBand(rebar, toolbar.window, 0, buttonHeight + extra, 1);
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(392, 266));
  ASSERT_EQ(1, SendMessageA(toolbar.window, TB_GETROWS, 0, 0));

  // Narrower than its buttons, the tool bar wraps.
  MoveWindow(host_, 100, 100, 150, 300, FALSE);  // a real, restored size change
  int rows = static_cast<int>(SendMessageA(toolbar.window, TB_GETROWS, 0, 0));
  EXPECT_GT(rows, 1);
  EXPECT_EQ(rows, toolbar.rows);
  EXPECT_EQ(rows * buttonHeight + extra, MinChild(rebar, 0)) << "the extra height above the rows is kept";

  // And back to one row.
  MoveWindow(host_, 100, 100, 400, 300, FALSE);
  EXPECT_EQ(1, toolbar.rows);
  EXPECT_EQ(buttonHeight + extra, MinChild(rebar, 0));
}

TEST_F(ParentWindow, ControlMessagesGoOnlyToTheirClass) {
  // Records whose windows are no rebar and no tool bar: the rebar's and tool bar's
  // messages are other messages to them.
  HWND notRebar = MakeRecorder(host_);
  AddRebarRecord(notRebar, host_);
  // A tool-bar record whose window, in a real rebar, is no tool bar.
  HWND rebar = MakeRebar(host_);
  Toolbar& notToolbar = MakeToolbar(host_, 1);
  DestroyWindow(notToolbar.window);
  notToolbar.window = MakeRecorder(rebar);
  AddBand(rebar, notToolbar.window, 0, 24, 1);

  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  RecordedMessages().clear();
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(310, 200));
  for (UINT m : RecordedMessages()) {
    EXPECT_NE(static_cast<UINT>(RB_GETBARHEIGHT), m);
    EXPECT_NE(static_cast<UINT>(TB_GETROWS), m);
    EXPECT_NE(static_cast<UINT>(TB_GETBUTTONSIZE), m);
  }
}

TEST_F(ParentWindow, DockedWindowsKeepTheirOuterSize) {
  struct {
    int flags;
    RECT expected;  // in the host's client area of 300 x 200
  } const cases[] = {
      {0, {0, 0, 300, 40}},     // top
      {1, {0, 160, 300, 200}},  // bottom
      {2, {0, 0, 60, 200}},     // left
      {4, {240, 0, 300, 200}},  // right
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    HWND docked = CreateWindowExA(0, "FrameTestRecorder", "", WS_CHILD | WS_BORDER, 0, 0, 60, 40, host_, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    DockedWindow& d = DockedWindowList.Add();
    d.window = docked;
    d.dockFlags = c.flags;
    // Twice: a framed window must not lose its frame's width each time.
    SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    RECT r = WindowRect(docked);
    MapWindowPoints(HWND_DESKTOP, host_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(c.expected.left, r.left);
    EXPECT_EQ(c.expected.top, r.top);
    EXPECT_EQ(c.expected.right, r.right);
    EXPECT_EQ(c.expected.bottom, r.bottom);
    DockedWindowList.Delete(&d);
    DestroyWindow(docked);
  }

  // Docked to another window: this window's size is not its concern.
  HWND other = MakeHost(0, 0, 200, 200);
  HWND docked = CreateWindowExA(0, "FrameTestRecorder", "", WS_CHILD, 5, 5, 60, 40, other, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  DockedWindow& d = DockedWindowList.Add();
  d.window = docked;
  d.dockFlags = 4;
  SendMessageA(host_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  RECT r = WindowRect(docked);
  MapWindowPoints(HWND_DESKTOP, other, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(5, r.left);
  EXPECT_EQ(40, r.bottom - r.top);
  DockedWindowList.Delete(&d);
}

TEST_F(ParentWindow, ToolTipTextComesFromItsRecordInBothCharacterSets) {
  ToolbarToolTip& tip = ToolbarToolTipList.Add();
  tip.commandId = 42;
  tip.text = "Save the project";

  NMTTDISPINFOA a = {};
  a.hdr.code = TTN_GETDISPINFOA;
  a.hdr.idFrom = 42;
  Notify(a.hdr);
  ASSERT_NE(nullptr, a.lpszText);
  EXPECT_STREQ("Save the project", a.lpszText);
  EXPECT_EQ(tip.buffer.data(), a.lpszText) << "the text must outlive the notification";

  NMTTDISPINFOW w = {};
  w.hdr.code = TTN_GETDISPINFOW;
  w.hdr.idFrom = 42;
  Notify(w.hdr);
  ASSERT_NE(nullptr, w.lpszText);
  EXPECT_STREQ(L"Save the project", w.lpszText);

  // Another id, and an id that is a window handle, are not ours to answer.
  char untouched[] = "keep";
  for (auto [id, flags] : {std::pair<UINT_PTR, UINT>{43, 0u}, {42, TTF_IDISHWND}}) {
    NMTTDISPINFOA other = {};
    other.hdr.code = TTN_GETDISPINFOA;
    other.hdr.idFrom = id;
    other.uFlags = flags;
    other.lpszText = untouched;
    Notify(other.hdr);
    EXPECT_EQ(untouched, other.lpszText);
  }
  ToolbarToolTipList.Delete(&tip);
}

TEST_F(ParentWindow, ComboListOpenAndCloseKeepTheGadgetsState) {
  HWND toolbar = MakeRecorder(host_);
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 80, 100, toolbar,
                               reinterpret_cast<HMENU>(5), GetModuleHandleA(nullptr), nullptr);
  ToolbarButton& unframed = ToolbarButtonList.Add();
  unframed.gadgetWindow = combo;
  unframed.gadgetFrame = 0;
  unframed.gadgetHoverState = 1;
  ToolbarButton& framed = ToolbarButtonList.Add();
  framed.gadgetWindow = combo;
  framed.gadgetFrame = 1;
  framed.toolbarWindow = toolbar;
  framed.gadgetHoverState = 1;
  ToolbarButton& current = ToolbarButtonList.Add();

  SetCursorPos(0, 0);  // nowhere near the hidden window
  SendMessageA(host_, WM_COMMAND, MAKEWPARAM(5, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(3, framed.gadgetHoverState);
  SendMessageA(host_, WM_COMMAND, MAKEWPARAM(5, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(0, framed.gadgetHoverState);
  EXPECT_EQ(1, unframed.gadgetHoverState);
  EXPECT_EQ(&current, ToolbarButtonList.Current());

  for (ToolbarButton* b : {&unframed, &framed, &current}) ToolbarButtonList.Delete(b);
}

TEST_F(ParentWindow, ThemeChangeReadsTheThemeAnew) {
  int activeBefore = ThemesActive;
  bool scrollBarBefore = ThemeHandles[THEME_SCROLLBAR] != nullptr;
  LibrarySeamForTest seam;
  SetLibrarySeamForTest(&seam);
  SendMessageA(host_, WM_THEMECHANGED, 0, 0);
  SetLibrarySeamForTest(nullptr);
  EXPECT_EQ(1, seam.opens["uxtheme.dll"]);
  EXPECT_EQ(1, seam.closes["uxtheme.dll"]);
  EXPECT_EQ(activeBefore, ThemesActive);
  EXPECT_EQ(scrollBarBefore, ThemeHandles[THEME_SCROLLBAR] != nullptr);
  EXPECT_NE(nullptr, UxThemeApi.openThemeData);
}

TEST_F(ParentWindow, DropShadowSettingIsReadAgain) {
  BOOL system = FALSE;
  SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &system, 0);
  SystemDropShadow = 77;
  SendMessageA(host_, WM_SETTINGCHANGE, SPI_SETDROPSHADOW, 0);
  EXPECT_EQ(system, SystemDropShadow);
}

}  // namespace
