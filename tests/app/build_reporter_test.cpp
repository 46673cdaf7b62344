// The tool's build reporter in-process: what a build thread reports reaches the Build
// page's controls on the GUI thread, in order, while that thread keeps taking events.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/build/build_reporter.h"
#include "app/build/build_requests.h"
#include "app/controls.h"
#include "common/gui.h"

using namespace ctl;

namespace {

class BuildReporterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(0, OpenRuntimeWindow(kMainWindow, 60, 40, 600, 450, "Zendrikolbar", kWindowTitleBar));
    ASSERT_NE(0, CreateEditor(kBuildLog, 8, 8, 500, 300, kEditorReadOnly));
    ASSERT_NE(0, CreateProgress(kBuildProgress, 8, 320, 500, 17, 0, 10));
    EnableRuntimeWindow(kMainWindow, false);
  }
  void TearDown() override {
    CloseRuntimeWindow(kMainWindow);
    while (WaitWindowEvent(0)) {
    }
  }

  // Takes events until done() holds; false when it did not within ten seconds.
  template <typename Done>
  static bool Pump(Done done) {
    DWORD start = GetTickCount();
    while (!done()) {
      if (GetTickCount() - start > 10000) return false;
      WaitWindowEvent(20);
    }
    return true;
  }
};

TEST_F(BuildReporterTest, ABuildThreadsLinesAndProgressReachTheBuildPageInOrder) {
  constexpr int kLines = 500;
  BeginBuildRequests();
  std::thread build([] {
    ToolBuildReporter reporter;
    reporter.SetProgressMaximum(40);
    for (int i = 0; i < kLines; ++i) reporter.Log("Preparing file: " + std::to_string(i));
    reporter.SetProgress(33);
    reporter.Finished();
  });
  bool finished = Pump([] { return IsWindowEnabled(WindowHandle(kMainWindow)) != FALSE; });
  build.join();
  ASSERT_TRUE(finished) << "the main window was not enabled again";
  EXPECT_FALSE(BuildRunning());

  std::string log = GetControlText(kBuildLog);
  std::string expected;
  for (int i = 0; i < kLines; ++i) expected += (i ? "\r" : "") + std::string("Preparing file: ") + std::to_string(i);
  // The editor keeps its own line ends; compare line by line.
  std::string got;
  for (char c : log)
    if (c != '\n') got += c;
  EXPECT_EQ(expected, got);
  HWND bar = ControlHandle(kBuildProgress);
  EXPECT_EQ(40, static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)));
  EXPECT_EQ(33, GetControlState(kBuildProgress));
}

}  // namespace
