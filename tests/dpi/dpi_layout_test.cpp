// The main window and a setup's windows at the screen's DPI: every size grows with the DPI
// from the 96-DPI layout, and no label or button text is cut off. Runs once in the tests'
// own prefix (96 DPI) and once in a prefix set to 144 DPI (run_at_dpi.sh), where a layout
// kept in 96-DPI pixels beside fonts of 144 DPI cuts most texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "dpi/text_fit.h"
#include "driver/driver.h"
#include "e2e/setup_walk.h"
#include "setupruntime/setup_fixture.h"

namespace {

const DWORD kStartMs = 30000;
const DWORD kActMs = 10000;

int Dpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

int Scaled(int layout) { return MulDiv(layout, Dpi(), 96); }

SIZE ClientSize(HWND w) {
  RECT r = {};
  GetClientRect(w, &r);
  return SIZE{r.right, r.bottom};
}

// Texts that the main window's layout itself gives too little room in Wine's fonts, at
// 96 DPI as at any other: the layout's numbers are kept as they are.
const char* const kCutByTheLayout[] = {"Install-icon image:", "Reboot computer", "Visit website after Uninstall:",
                                       "Default path for start menu shortcuts:", "Build information:"};

// The texts below `root` that do not fit, less those the layout cuts anyway, one a line.
std::string Clipped(HWND root) {
  std::string s;
  for (const ClippedText& c : ClippedTexts(root)) {
    bool known = false;
    for (const char* t : kCutByTheLayout) known = known || c.text == t;
    if (!known) s += "\"" + c.text + "\" " + c.why + "\n";
  }
  return s;
}

// The run_at_dpi.sh pass names the DPI its prefix was set to: a prefix that did not take
// it would let every other test here pass at 96.
TEST(DpiLayoutTest, ScreenHasTheDpiAskedFor) {
  const char* asked = getenv("ZK_TEST_DPI");
  if (!asked || !*asked) GTEST_SKIP() << "the tests' own prefix: whatever DPI it has";
  EXPECT_EQ(atoi(asked), Dpi());
}

TEST(DpiLayoutTest, MainWindowGrowsWithTheDpiAndItsTextsFit) {
  DriverProcess p;
  ASSERT_TRUE(DriverStart("Zendrikolbar.exe", "", "", &p));
  HWND main = DriverWaitWindow("Zendrikolbar", p.id, kStartMs);
  ASSERT_NE(nullptr, main);

  SIZE client = ClientSize(main);
  EXPECT_EQ(Scaled(680), client.cx);
  EXPECT_EQ(Scaled(524), client.cy);
  // A text field of the first page, 375 x 20 in the layout, and the task pane, 170 wide.
  EXPECT_EQ(Scaled(375), ClientSize(DriverFindControl(main, 0x04)).cx + 2 * GetSystemMetrics(SM_CXEDGE));
  EXPECT_EQ(Scaled(20), ClientSize(DriverFindControl(main, 0x04)).cy + 2 * GetSystemMetrics(SM_CYEDGE));
  EXPECT_EQ(Scaled(170), ClientSize(DriverFindControl(main, 0x77)).cx);

  EXPECT_EQ("", Clipped(main));

  DWORD code = 0;
  EXPECT_TRUE(DriverCloseAndWait(main, p, kStartMs, &code));
  DriverRelease(&p);
}

// The shown runtime window of process pid that holds control id.
HWND RuntimeWindowWith(DWORD pid, int id, DWORD timeoutMs) {
  return DriverWaitWindowWhere(
      pid, [id](HWND w) { return DriverFindControl(w, id) != nullptr; }, timeoutMs);
}

TEST(DpiLayoutTest, SetupWindowsGrowWithTheDpiAndTheirTextsFit) {
  const std::wstring dir = FullFolder(L".") + L"dpi_layout\\";
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(FullProject(), dir, &error)) << error;
  DriverProcess p;
  ASSERT_TRUE(StartSetup(dir + L"setup.exe", dir + L"temp\\", &p));

  HWND language = RuntimeWindowWith(p.id, wiz::kLanguageList, kStartMs);
  ASSERT_NE(nullptr, language);
  EXPECT_EQ(Scaled(301), ClientSize(language).cx);
  EXPECT_EQ("", Clipped(language));
  ASSERT_EQ("", ChooseLanguage(p.id, "English", kActMs));

  HWND wizard = RuntimeWindowWith(p.id, wiz::kNext, kActMs);
  ASSERT_NE(nullptr, wizard);
  // Every page up to the last question; the pages after it install.
  const int pages[] = {wiz::kWelcome, wiz::kLicence, wiz::kAppFolder, wiz::kTasks, wiz::kStartMenuPage};
  for (int page : pages) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(DriverPoll([&] { return ShownPage(wizard) == page; }, kActMs));
    EXPECT_EQ("", Clipped(wizard));
    if (page == wiz::kLicence) {
      ASSERT_TRUE(DriverClick(DriverFindControl(wizard, wiz::kAccept)));
    }
    if (page != wiz::kStartMenuPage) {
      // Next comes on once the page has taken the answer above.
      HWND next = DriverFindControl(wizard, wiz::kNext);
      ASSERT_TRUE(DriverPoll([&] { return DriverClick(next); }, kActMs));
    }
  }
  DriverKill(p);
  DriverRelease(&p);
}

}  // namespace
