// Windows and controls belong to the GUI thread: workers hand their changes over by
// posting, and (in this checking build) an operation off the GUI thread is refused and
// reported.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/gui.h"
#include "common/gui_thread.h"

namespace {

constexpr int kWindow = 31;
constexpr int kList = 311;
constexpr int kLink = 312;

std::vector<std::string> g_refused;

void RecordRefusal(const char* operation) { g_refused.push_back(operation ? operation : ""); }

class GuiThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(0, OpenRuntimeWindow(kWindow, 10, 10, 400, 300, "Threads", kWindowTitleBar));
    ASSERT_NE(0, CreateList(kList, 10, 10, 300, 200, "Row", 200));
    g_refused.clear();
    previous_ = SetWrongThreadHandler(RecordRefusal);
  }
  void TearDown() override {
    SetWrongThreadHandler(previous_);
    CloseRuntimeWindow(kWindow);
    while (WaitWindowEvent(0)) {
    }
  }

  // Takes events until done() holds; false when it did not within five seconds.
  static bool PumpUntil(const std::function<bool()>& done) {
    DWORD start = GetTickCount();
    while (!done()) {
      if (GetTickCount() - start > 5000) return false;
      WaitWindowEvent(10);
    }
    return true;
  }

  WrongThreadHandler previous_ = nullptr;
};

// The worker posts each row; meanwhile the GUI thread keeps reading the list, as a program
// does while it takes events. With the list touched from the worker under the registry's
// lock, the two threads waited for each other here.
TEST_F(GuiThreadTest, AWorkerAddsListRowsThroughTheGuiThreadWithoutDeadlock) {
  constexpr int kRows = 200;
  std::atomic<bool> posted(false);
  std::atomic<int> refusedPosts(0);
  std::thread worker([&] {
    for (int i = 0; i < kRows; ++i)
      if (!PostToGuiThread([i] { AddControlItem(kList, -1, "row " + std::to_string(i)); })) ++refusedPosts;
    posted = true;
  });
  int reads = 0;
  bool done = PumpUntil([&] {
    reads += CountControlItems(kList) >= 0 ? 1 : 0;
    GetItemText(kList, CountControlItems(kList) - 1);
    return posted && CountControlItems(kList) == kRows;
  });
  worker.join();
  ASSERT_TRUE(done) << CountControlItems(kList) << " rows";
  EXPECT_EQ(0, refusedPosts.load());
  EXPECT_GT(reads, 0);
  for (int i = 0; i < kRows; i += 37) EXPECT_EQ("row " + std::to_string(i), GetItemText(kList, i));
  EXPECT_TRUE(g_refused.empty());
}

TEST_F(GuiThreadTest, PostedActionsRunOnTheGuiThreadInTheirOrder) {
  const DWORD gui = GetCurrentThreadId();
  std::vector<int> order;
  std::vector<DWORD> threads;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i)
      PostToGuiThread([&, i] {
        order.push_back(i);
        threads.push_back(GetCurrentThreadId());
      });
  });
  worker.join();
  ASSERT_TRUE(PumpUntil([&] { return order.size() == 5; }));
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), order);
  for (DWORD t : threads) EXPECT_EQ(gui, t);
}

// A thread's message queue holds some ten thousand posted messages; a worker that reports
// more at once, before the GUI thread takes any, loses none of them.
TEST_F(GuiThreadTest, MoreActionsThanAMessageQueueHoldsAllRun) {
  constexpr int kActions = 25000;
  int ran = 0;
  std::thread worker([&] {
    for (int i = 0; i < kActions; ++i) EXPECT_TRUE(PostToGuiThread([&ran] { ++ran; }));
  });
  worker.join();
  ASSERT_TRUE(PumpUntil([&] { return ran == kActions; })) << ran;
}

// Each operation, run on a worker, is reported and does nothing: the control keeps what
// it had, as the GUI thread then reads.
TEST_F(GuiThreadTest, AControlTouchedOffTheGuiThreadIsRefusedAndReported) {
  ASSERT_EQ(0, AddControlItem(kList, -1, "kept"));
  ASSERT_NE(0, CreateLabel(kLink, 10, 220, 100, 20, "label"));
  const struct {
    const char* name;
    std::function<bool()> refused;  // true when the operation did nothing
  } cases[] = {
      {"add a row", [] { return AddControlItem(kList, -1, "lost") == -1; }},
      {"read a row", [] { return GetItemText(kList, 0).empty(); }},
      {"clear the rows", [] { return ClearControlItems(kList) == 0; }},
      {"set a text", [] { return SetControlText(kLink, "lost") == 0; }},
      {"take a handle", [] { return ControlHandle(kList) == nullptr; }},
      {"free a control", [] { return FreeControl(kLink) == 0; }},
      {"create a control", [] { return CreateButton(kAnyNumber, 0, 0, 10, 10, "lost") == 0; }},
      {"close the window", [] { return CloseRuntimeWindow(kWindow) == 0; }},
      {"open a window", [] { return OpenRuntimeWindow(kAnyNumber, 0, 0, 10, 10, "lost", kWindowInvisible) == 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_refused.clear();
    bool refused = false;
    std::thread worker([&] { refused = c.refused(); });
    worker.join();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(g_refused.empty());
  }
  g_refused.clear();
  EXPECT_EQ(1, CountControlItems(kList));
  EXPECT_EQ("kept", GetItemText(kList, 0));
  EXPECT_EQ("label", GetControlText(kLink));
  EXPECT_TRUE(IsRuntimeWindow(kWindow));
  EXPECT_TRUE(g_refused.empty()) << "the GUI thread's own operations are not reported";
}

// A link follows the pointer through its subclass, and goes cleanly with its window or
// on its own.
TEST_F(GuiThreadTest, ALinkShowsItsHoverColourAndGoesWithoutItsSubclass) {
  constexpr COLORREF kHover = RGB(200, 0, 0);
  for (bool freeFirst : {true, false}) {
    SCOPED_TRACE(freeFirst);
    ASSERT_NE(0, CreateLink(kLink, 10, 220, 100, 20, "link", kHover));
    HWND link = ControlHandle(kLink);
    HDC dc = GetDC(link);
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageW(WindowHandle(kWindow), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(kHover, GetTextColor(dc));
    SendMessageW(link, WM_MOUSELEAVE, 0, 0);
    SendMessageW(WindowHandle(kWindow), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(link));
    EXPECT_NE(kHover, GetTextColor(dc)) << "the pointer has left";
    ReleaseDC(link, dc);
    if (freeFirst) {
      EXPECT_EQ(1, FreeControl(kLink));
      EXPECT_FALSE(IsWindow(link));
    } else {
      CloseRuntimeWindow(kWindow);
      EXPECT_FALSE(IsWindow(link));
      ASSERT_NE(0, OpenRuntimeWindow(kWindow, 10, 10, 400, 300, "Threads", kWindowTitleBar));
    }
  }
  EXPECT_TRUE(g_refused.empty());
}

}  // namespace
