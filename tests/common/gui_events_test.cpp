// Notifications that the runtime turns into events of their own, in-process on real
// controls of a runtime window: each event is there once the control has done what it
// tells about, so a loop that reads the controls at that event sees the new state.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/gui.h"

namespace {

constexpr int kWindow = 30;
constexpr int kEditor = 301;
constexpr int kTree = 302;

class RuntimeEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(0, OpenRuntimeWindow(kWindow, 10, 10, 400, 300, "Events", kWindowTitleBar));
    window_ = WindowHandle(kWindow);
  }
  void TearDown() override {
    CloseRuntimeWindow(kWindow);
    Drain(nullptr);
  }

  // Handles everything pending and gives the events it brought; `each` runs at each event,
  // while it is the current one.
  template <typename Each>
  std::vector<EventRecord> Drain(Each each) {
    std::vector<EventRecord> events;
    while (WaitWindowEvent(0)) {
      events.push_back(CurrentEvent());
      each(CurrentEvent());
    }
    return events;
  }
  std::vector<EventRecord> Drain(std::nullptr_t) {
    return Drain([](const EventRecord&) {});
  }

  static int Count(const std::vector<EventRecord>& events, int event, int control, int type) {
    int n = 0;
    for (const EventRecord& e : events)
      if (e.event == event && e.control == control && e.type == type && e.window == kWindow) ++n;
    return n;
  }

  HWND window_ = nullptr;
};

TEST_F(RuntimeEventsTest, AnEditorsSelectionChangeIsAnEventWhenItsMaskAsksForIt) {
  const struct {
    LPARAM mask;
    bool event;
  } cases[] = {{ENM_CHANGE, false}, {ENM_SELCHANGE, true}, {ENM_LINK | ENM_SELCHANGE, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    ASSERT_NE(0, CreateEditor(kEditor, 10, 10, 300, 100));
    HWND editor = ControlHandle(kEditor);
    SetControlText(kEditor, "Some licence text");
    SendMessageW(editor, EM_SETEVENTMASK, 0, c.mask);
    Drain(nullptr);
    SendMessageW(editor, EM_SETSEL, 0, 4);
    EXPECT_EQ(c.event, Count(Drain(nullptr), WM_NOTIFY, kEditor, EN_SELCHANGE) > 0);
    FreeControl(kEditor);
  }
}

// The tree tells about the key before it toggles the check mark; the change event comes
// after the toggle.
TEST_F(RuntimeEventsTest, SpaceOnACheckBoxTreeIsAChangeEventAfterTheToggle) {
  ASSERT_NE(0, CreateTree(kTree, 10, 10, 200, 100, kTreeCheckBoxes));
  AddControlItem(kTree, -1, "One");
  SetControlState(kTree, 0);
  HWND tree = ControlHandle(kTree);
  SetFocus(tree);
  Drain(nullptr);
  for (bool checked : {true, false}) {
    SCOPED_TRACE(checked);
    PostMessageW(tree, WM_KEYDOWN, VK_SPACE, MAKELPARAM(1, MapVirtualKeyW(VK_SPACE, MAPVK_VK_TO_VSC)));
    std::vector<bool> seen;  // the check mark at each change event of the tree
    Drain([&](const EventRecord& e) {
      if (e.event == kEventControl && e.control == kTree && e.type == kEventTypeChange)
        seen.push_back((GetItemState(kTree, 0) & kItemChecked) != 0);
    });
    EXPECT_EQ(checked, (GetItemState(kTree, 0) & kItemChecked) != 0) << "the tree did not toggle";
    EXPECT_EQ(std::vector<bool>{checked}, seen);
  }
}

// A rebar is no runtime control: its height change comes without a control number.
TEST_F(RuntimeEventsTest, ARebarsHeightChangeIsAnEvent) {
  HWND rebar = CreateWindowExW(0, REBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT, 0, 0, 0, 0, window_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, rebar);
  for (int band = 0; band < 2; ++band) {
    HWND child = CreateWindowExW(0, L"STATIC", L"band", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, rebar, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    REBARBANDINFOW b = {};
    b.cbSize = sizeof(b);
    b.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    b.fStyle = RBBS_BREAK;  // each band on a row of its own
    b.hwndChild = child;
    b.cxMinChild = 50;
    b.cyMinChild = 20;
    b.cx = 100;
    Drain(nullptr);
    int before = static_cast<int>(SendMessageW(rebar, RB_GETBARHEIGHT, 0, 0));
    ASSERT_TRUE(SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&b)));
    ASSERT_GT(static_cast<int>(SendMessageW(rebar, RB_GETBARHEIGHT, 0, 0)), before);
    EXPECT_EQ(1, Count(Drain(nullptr), WM_NOTIFY, -1, RBN_HEIGHTCHANGE)) << "band " << band;
  }
}

}  // namespace
