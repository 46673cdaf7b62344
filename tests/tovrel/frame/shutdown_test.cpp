// The toolkit's shutdown gives the windows that host its tool bars their own procedure
// back, and leaves a procedure put on top of the toolkit's in place. Its own program: it
// starts and shuts the toolkit down itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/start_up.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/toolbar.h"

namespace {

int hostMessages = 0;
int laterMessages = 0;
WNDPROC laterPrevious = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++hostMessages;
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK LaterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++laterMessages;
  return CallWindowProcA(laterPrevious, window, message, wParam, lParam);
}

// Message-only windows, which the shutdown's destroying of the process's windows passes
// over, so that they can be looked at afterwards.
HWND MakeHost() {
  return CreateWindowExA(0, "ShutdownHost", "", 0, 0, 0, 300, 200, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

TEST(Shutdown, HostsGetTheirProcedureBackUnlessSubclassedAgain) {
  WNDCLASSEXA cls = {};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = HostProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "ShutdownHost";
  ASSERT_NE(0, RegisterClassExA(&cls));
  InitToolkit();
  StartToolkit();

  HWND plain = MakeHost(), covered = MakeHost();
  ASSERT_NE(0, tovrel::CreateToolbar(-1, plain, 16, 16, 0));
  ASSERT_NE(0, tovrel::CreateToolbar(-1, covered, 16, 16, 0));
  ASSERT_EQ(reinterpret_cast<LONG_PTR>(&tovrel::ParentWindowProc), GetWindowLongPtrA(plain, GWLP_WNDPROC));
  laterPrevious =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(covered, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));

  // Menus are freed too: records, items and the system menus behind them.
  HWND menuHost = MakeHost();
  ASSERT_NE(0, tovrel::CreateMenuBar(-1, menuHost, 0));
  tovrel::AddMenuTitle("&File");
  ASSERT_EQ(1, tovrel::AddMenuItem(1, "&Open", nullptr, nullptr, nullptr, 0));
  HMENU popup = tovrel::CreatePopup(-1, 0);
  ASSERT_EQ(1, tovrel::AddMenuItem(2, "&Close", nullptr, nullptr, nullptr, 0));

  ShutdownToolkit();

  EXPECT_TRUE(tovrel::MenuList.Empty());
  EXPECT_TRUE(tovrel::MenuItemList.Empty());
  EXPECT_FALSE(IsMenu(popup));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&HostProc), GetWindowLongPtrA(plain, GWLP_WNDPROC));
  SendMessageA(plain, WM_APP, 0, 0);
  EXPECT_EQ(1, hostMessages);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&LaterProc), GetWindowLongPtrA(covered, GWLP_WNDPROC))
      << "a procedure put on top of the toolkit's stays";
  SendMessageA(covered, WM_APP, 0, 0);
  EXPECT_EQ(1, laterMessages);
  EXPECT_EQ(2, hostMessages) << "and still reaches the window's own procedure";
  ASSERT_EQ(1u, tovrel::SubclassList.Size()) << "its entry stays, as the toolkit's procedure still runs";
  EXPECT_EQ(covered, tovrel::SubclassList.begin()->window);
  DestroyWindow(plain);
  DestroyWindow(covered);
  DestroyWindow(menuHost);
}

}  // namespace
