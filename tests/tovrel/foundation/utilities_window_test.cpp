// The toolkit's window routines on real runtime windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gui.h"
#include "tovrel/foundation/utilities.h"

using namespace tovrel;

namespace {

HWND AsWindow(intptr_t handle) { return reinterpret_cast<HWND>(handle); }

std::string TitleOf(HWND w) {
  char text[256] = {};
  GetWindowTextA(w, text, sizeof(text));
  return text;
}

class ToolkitWindows : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HWND w : opened_) {
      int number = WindowNumberOf(w);
      if (number >= 0) CloseRuntimeWindow(number);
    }
    while (WaitWindowEvent(0)) {
    }
  }
  HWND Open(const std::string& title, int x, int y, int width, int height, unsigned flags, HWND parent) {
    HWND w = AsWindow(OpenToolkitWindow(title, x, y, width, height, flags, 12345, parent));
    if (w) opened_.push_back(w);
    return w;
  }
  std::vector<HWND> opened_;
};

TEST_F(ToolkitWindows, OpensAWindowWithTheTitleAndClientSize) {
  HWND w = Open("Toolkit window", 40, 50, 320, 200, kWindowTitleBar | kWindowSystemMenu, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(TitleOf(w), "Toolkit window");
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 200);
  int number = WindowNumberOf(w);
  EXPECT_GE(number, 0) << "a window of the runtime, under a number it chose";
  EXPECT_EQ(WindowHandle(number), w);
}

TEST_F(ToolkitWindows, EachCallOpensANewWindow) {
  HWND a = Open("a", 0, 0, 100, 80, kWindowTitleBar, nullptr);
  HWND b = Open("b", 0, 0, 100, 80, kWindowTitleBar, nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_NE(WindowNumberOf(a), WindowNumberOf(b));
  EXPECT_TRUE(IsWindow(a));
}

TEST_F(ToolkitWindows, ParentIsAWindowOfTheRuntime) {
  HWND parent = Open("parent", 0, 0, 300, 200, kWindowTitleBar, nullptr);
  ASSERT_NE(parent, nullptr);
  HWND child = Open("owned", 10, 10, 120, 80, kWindowTitleBar, parent);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetWindow(child, GW_OWNER), parent);

  // A window the runtime does not know cannot be the parent: nothing opens.
  HWND stranger = CreateWindowExA(0, "STATIC", "stranger", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(stranger, nullptr);
  EXPECT_EQ(Open("orphan", 0, 0, 100, 80, kWindowTitleBar, stranger), nullptr);
  DestroyWindow(stranger);
}

TEST_F(ToolkitWindows, SetWindowFontReachesTheWindow) {
  HWND w = Open("fonts", 0, 0, 200, 100, kWindowTitleBar, nullptr);
  ASSERT_NE(w, nullptr);
  HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, w, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  HFONT font = CreateFontByName("Arial", 12, kFontBold);
  ASSERT_NE(font, nullptr);
  SetWindowFont(label, font);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), font);
  DestroyWindow(label);
  EXPECT_TRUE(DeleteGraphicsObject(font));
}

}  // namespace
