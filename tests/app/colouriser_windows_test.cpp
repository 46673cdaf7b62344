// The control colouriser's view of the windows that Zendrikolbar.exe really makes: the
// class names are read from the running program's main window and its pages and handed to
// the colouriser's own decisions, so a class the runtime does not make cannot pass.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/colouriser/colouriser.h"
#include "driver/driver.h"

namespace {

const DWORD kStartMs = 15000;  // a first Wine start of a program can be slow

struct Started {
  DriverProcess p;
  ~Started() {
    if (DriverRunning(p)) DriverKill(p);
    DriverRelease(&p);
  }
};

// The main window is a runtime window, where the colouriser's walk up from a coloured
// control ends; every page of its panels is a runtime container, which the colouriser
// colours as a container.
TEST(ColouriserWindowsTest, TheMainWindowAndThePagesOfItsPanelsAreRuntimeWindowAndContainers) {
  Started app;
  ASSERT_TRUE(DriverStart("Zendrikolbar.exe", "", "", &app.p));
  HWND main = DriverWaitWindow("Zendrikolbar", app.p.id, kStartMs);
  ASSERT_NE(nullptr, main);
  EXPECT_TRUE(IsRuntimeWindowClass(GetControlClassName(main))) << GetControlClassName(main);

  int tabs = 0, pages = 0;
  for (HWND panel = GetWindow(main, GW_CHILD); panel; panel = GetWindow(panel, GW_HWNDNEXT)) {
    if (GetControlClassName(panel) != "SysTabControl32") continue;
    tabs += DriverTabCount(panel);
    for (HWND page = GetWindow(panel, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT)) {
      std::string cls = GetControlClassName(page);
      if (cls == UPDOWN_CLASSA) continue;  // the tab control's own scroll arrows
      SCOPED_TRACE(cls);
      EXPECT_EQ(kColourKindContainer, GetControlKind(cls));
      EXPECT_FALSE(IsRuntimeWindowClass(cls));
      ++pages;
    }
  }
  EXPECT_GT(tabs, 0) << "no panel found";
  EXPECT_EQ(tabs, pages) << "one page per tab";

  DWORD code = 12345;
  EXPECT_TRUE(DriverCloseAndWait(main, app.p, kStartMs, &code));
  EXPECT_EQ(0u, code);
}

}  // namespace
