// Zendrikolbar.exe as a person meets it: it opens its main window with a status bar and
// ends cleanly when that window is closed.
#include "driver/driver.h"

#include <gtest/gtest.h>

namespace {

TEST(AppWindowTest, MainWindowOpensWithStatusBarAndClosesCleanly) {
  DriverProcess p;
  ASSERT_TRUE(DriverStart("Zendrikolbar.exe", "", "", &p));
  HWND main = DriverWaitWindow("Zendrikolbar", p.id, 15000);
  EXPECT_NE(nullptr, main);
  if (main) {
    EXPECT_TRUE(DriverVisible(main));
    HWND status = DriverFindChild(main, "msctls_statusbar32", nullptr);
    EXPECT_NE(nullptr, status);
    EXPECT_TRUE(DriverVisible(status));
    DWORD code = 12345;
    EXPECT_TRUE(DriverCloseAndWait(main, p, 5000, &code));
    EXPECT_EQ(0u, code);
  }
  // Whatever failed above, no window outlives the test.
  if (DriverRunning(p)) DriverKill(p);
  DriverRelease(&p);
}

}  // namespace
