// The main window's menu bar, tool bar and rebar as a person meets them: titles opened by
// mouse and keys, each chosen command arriving once, Run greyed while no setup exists, Esc
// closing the drop-down, and the colours of the open title, the drop-down's image column
// and the rebar's background on screen. Zendrikolbar.exe is started and driven from
// outside; its pixels are read from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_driver.h"
#include "driver/driver.h"
#include "support/waits.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/start_up.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/ui_styles.h"

namespace {

using namespace tovrel;

const DWORD kStartMs = 20000;
const DWORD kActMs = 5000;
// How long a second, unwanted copy of a command's effect is waited for.
const DWORD kEchoMs = 1500;

struct Started {
  DriverProcess p;
  ~Started() {
    if (DriverRunning(p)) DriverKill(p);
    DriverRelease(&p);
  }
};

// Shown top-level windows of process `pid` titled `title`.
int CountWindows(DWORD pid, const std::string& title) {
  int count = 0;
  DriverWaitWindowWhere(
      pid,
      [&](HWND w) {
        char text[128] = {};
        if (GetWindowTextA(w, text, sizeof(text)) && title == text) ++count;
        return false;
      },
      0);
  return count;
}

// Shown message boxes and dialogs of process `pid`.
int CountBoxes(DWORD pid) {
  int count = 0;
  DriverWaitWindowWhere(
      pid,
      [&](HWND w) {
        char cls[16] = {};
        if (GetClassNameA(w, cls, sizeof(cls)) && std::string(cls) == "#32770") ++count;
        return false;
      },
      0);
  return count;
}

// The colour in the form screen pixels are read (0x00RRGGBB).
DWORD Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

bool Near(DWORD a, DWORD b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

DWORD PixelAt(int x, int y) {
  std::vector<DWORD> p = DriverScreenPixels(RECT{x, y, x + 1, y + 1});
  return p.empty() ? 0xFFFFFFFF : p[0];
}

class MenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The colour lookups of this process then see the same visual style as the program's.
    InitToolkit();
    StartToolkit();
  }

  void SetUp() override {
    ASSERT_TRUE(DriverStart("Zendrikolbar.exe", "", "", &tool_.p));
    main_ = DriverWaitWindow("Zendrikolbar", tool_.p.id, kStartMs);
    ASSERT_NE(nullptr, main_);
    ASSERT_TRUE(DriverBringToFront(main_));
    // A first start shows the window before it has painted; the screen is read only once
    // the menu bar is on it.
    RECT title = {};
    ASSERT_TRUE(DriverFindMenuTitle(main_, "File", &title));
    ASSERT_TRUE(WaitFor([&] { return PixelAt(title.left + 1, title.bottom - 2) != 0; }, kStartMs));
  }

  void TearDown() override { CloseMenus(); }

  // Ends whatever menu is open, as Esc pressed until none shows.
  void CloseMenus() {
    for (int i = 0; i < 4 && DriverWaitPopupMenu(main_, 0); ++i) {
      DriverKey(VK_ESCAPE);
      WaitFor([&] { return !DriverWaitPopupMenu(main_, 0); }, 500);
    }
  }

  bool NoPopup(DWORD timeoutMs) {
    return WaitFor([&] { return !DriverWaitPopupMenu(main_, 0); }, timeoutMs);
  }

  Started tool_;
  HWND main_ = nullptr;
};

// ---- what Wine lets the driver read --------------------------------------------------

// The driver finds items on screen because menus of another process cannot be read: the
// drop-down answers its menu handle, but the handle means nothing here.
TEST_F(MenuTest, MenusOfTheProgramCannotBeReadFromOutside) {
  HWND popup = DriverOpenMenuTitle(main_, "File");
  ASSERT_NE(nullptr, popup);
  DWORD_PTR menu = 0;
  ASSERT_TRUE(SendMessageTimeoutW(popup, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &menu));
  EXPECT_NE(0u, menu) << "the drop-down answers its menu";
  EXPECT_EQ(-1, GetMenuItemCount(reinterpret_cast<HMENU>(menu)));
  RECT item = {};
  EXPECT_FALSE(GetMenuItemRect(popup, reinterpret_cast<HMENU>(menu), 0, &item));
}

// ---- commands ----------------------------------------------------------------------------

// A command chosen with the mouse runs once: its window or box shows once, and after it
// is answered no second one follows.
// Disabled: the item is found by selecting it with Down and clicked where the selection
// showed; in most runs that click brings no box, while a click at the item's place
// without the key first does. Which of the two steps misleads the other is still open.
TEST_F(MenuTest, DISABLED_EachCommandChosenByMouseArrivesOnce) {
  struct Row {
    const char* title;
    const char* item;
    const char* window;  // the window the command opens
    int button;          // the message box's button to answer, or 0 for a window
    const char* text;    // the box's message, or "" for a window
  };
  const Row rows[] = {
      {"File", "New...", "Zendrikolbar", IDNO, "Are you sure that you want to close the current project?"},
      {"Help", "About Zendrikolbar", "About Zendrikolbar", 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.title) + " > " + row.item);
    ASSERT_TRUE(ChooseMainMenuItem(main_, row.title, row.item));
    if (row.button) {
      std::string text;
      ASSERT_TRUE(DriverAnswerMessageBox(tool_.p.id, row.window, row.button, kActMs, &text));
      EXPECT_EQ(row.text, text);
      Sleep(kEchoMs);
      EXPECT_EQ(0, CountBoxes(tool_.p.id)) << "a second box followed";
    } else {
      HWND w = DriverWaitWindow(row.window, tool_.p.id, kActMs);
      ASSERT_NE(nullptr, w);
      Sleep(kEchoMs);
      EXPECT_EQ(1, CountWindows(tool_.p.id, row.window));
      PostMessageW(w, WM_CLOSE, 0, 0);
      ASSERT_TRUE(WaitFor([&] { return !IsWindow(w) || !IsWindowVisible(w); }, kActMs));
    }
    EXPECT_TRUE(NoPopup(kActMs)) << "the drop-down closed";
  }
}

// Without a built setup Run is disabled: it is drawn in a lighter text than Build, and
// clicking it runs nothing and leaves the drop-down open.
// Disabled: in some runs the rows the second Down changes are not Run's (the area read
// shows black text), as with the mouse test above; the item finder is still open.
TEST_F(MenuTest, DISABLED_RunIsGreyedWhileNoSetupWasBuilt) {
  HWND popup = DriverOpenMenuTitle(main_, "Project");
  ASSERT_NE(nullptr, popup);
  RECT build = {}, run = {};
  ASSERT_TRUE(DriverMenuItemRect(popup, 0, &build));
  DriverKey(VK_ESCAPE);
  ASSERT_TRUE(NoPopup(kActMs));
  popup = DriverOpenMenuTitle(main_, "Project");
  ASSERT_NE(nullptr, popup);
  ASSERT_TRUE(DriverMenuItemRect(popup, 1, &run));
  // Selected, both items share a background; their darkest pixel is their text.
  auto darkest = [](const RECT& r) {
    int best = 3 * 255;
    for (DWORD p : DriverScreenPixels(r))
      best = std::min(best, static_cast<int>((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)));
    return best;
  };
  // Black only while the screen under the drop-down is not painted yet.
  int runText = 0;
  WaitFor([&] { return (runText = darkest(run)) > 0; }, kActMs);
  DriverKey(VK_UP);  // Build selected again, once the menu has repainted it
  int buildText = 3 * 255;
  WaitFor([&] { return runText > (buildText = darkest(build)) + 60; }, kActMs);
  EXPECT_GT(runText, buildText + 60) << "Run is drawn greyed";

  const HWND before = GetForegroundWindow();
  DriverMouseClick(GetDesktopWindow(), POINT{(run.left + run.right) / 2, (run.top + run.bottom) / 2});
  Sleep(kEchoMs);
  EXPECT_TRUE(DriverWaitPopupMenu(main_, 0)) << "a click on a disabled item leaves the drop-down open";
  EXPECT_EQ(before, GetForegroundWindow());
}

// Esc closes the open drop-down and nothing else.
TEST_F(MenuTest, EscClosesTheDropDown) {
  ASSERT_NE(nullptr, DriverOpenMenuTitle(main_, "Help"));
  ASSERT_TRUE(DriverKey(VK_ESCAPE));
  EXPECT_TRUE(NoPopup(kActMs));
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_EQ(0, CountWindows(tool_.p.id, "About Zendrikolbar"));
}

// From the keyboard: Alt makes File hot, Down opens it with its first item selected, and
// Enter runs that item once.
TEST_F(MenuTest, AltDownEnterRunsOneCommand) {
  ASSERT_TRUE(DriverChooseMenuItemByKeys(main_, {VK_MENU, VK_DOWN, VK_RETURN}));
  std::string text;
  ASSERT_TRUE(DriverAnswerMessageBox(tool_.p.id, "Zendrikolbar", IDNO, kActMs, &text));
  EXPECT_EQ("Are you sure that you want to close the current project?", text);
  Sleep(kEchoMs);
  EXPECT_EQ(0, CountBoxes(tool_.p.id)) << "a second box followed";
  EXPECT_TRUE(NoPopup(kActMs));
}

// Right and Left move the open drop-down to the next title and back before Enter.
// Disabled: in the tool the switch does not yet land in the next title's drop-down, while
// the frame's own test of the same keys on a window of its own passes; what differs is
// still open.
TEST_F(MenuTest, DISABLED_AltDownRightLeftEnterRunsOneCommand) {
  ASSERT_TRUE(DriverChooseMenuItemByKeys(main_, {VK_MENU, VK_DOWN, VK_RIGHT, VK_LEFT, VK_RETURN}));
  std::string text;
  ASSERT_TRUE(DriverAnswerMessageBox(tool_.p.id, "Zendrikolbar", IDNO, kActMs, &text));
  EXPECT_EQ("Are you sure that you want to close the current project?", text);
  Sleep(kEchoMs);
  EXPECT_EQ(0, CountBoxes(tool_.p.id)) << "a second box followed";
  EXPECT_TRUE(NoPopup(kActMs));
}

// ---- colours on screen ---------------------------------------------------------------

// A title under the pointer is framed in the style's hot-title border colour (8), and the
// drop-down's items have the style's image column (background 13) at their left.
TEST_F(MenuTest, HotTitleFrameAndImageColumnHaveTheStyleColours) {
  RECT title = {};
  ASSERT_TRUE(DriverFindMenuTitle(main_, "Project", &title));
  SetCursorPos((title.left + title.right) / 2, (title.top + title.bottom) / 2);
  const DWORD frame = Rgb(static_cast<COLORREF>(LookupUIColour(UISTYLE_OFFICE2007, 8, 2)));
  const int midY = (title.top + title.bottom) / 2;
  std::vector<DWORD> left;
  WaitFor(
      [&] {
        left = DriverScreenPixels(RECT{title.left, midY, title.left + 3, midY + 1});
        return std::find(left.begin(), left.end(), frame) != left.end();
      },
      kActMs);
  ASSERT_EQ(3u, left.size());
  EXPECT_TRUE(std::find(left.begin(), left.end(), frame) != left.end())
      << std::hex << "frame " << frame << " left edge " << left[0] << " " << left[1] << " " << left[2];

  HWND popup = DriverOpenMenuTitle(main_, "File");
  ASSERT_NE(nullptr, popup);
  RECT item = {};
  ASSERT_TRUE(DriverMenuItemRect(popup, 0, &item));
  DriverKey(VK_DOWN);  // the first item is drawn unselected again
  Sleep(300);

  // The column as the style paints it, beside the row the drop-down shows.
  const int height = item.bottom - item.top, width = 40;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT column = {0, 0, width, height};
  PaintStyleBackground(dc, UISTYLE_OFFICE2007, 13, &column, 0x100);
  const DWORD expected = Rgb(GetPixel(dc, width / 2, height / 2));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  const int y = (item.top + item.bottom) / 2;
  std::vector<DWORD> row = DriverScreenPixels(RECT{item.left, y, item.left + 12, y + 1});
  const DWORD text = PixelAt(item.right - 8, y);
  EXPECT_TRUE(std::any_of(row.begin(), row.end(), [&](DWORD p) { return Near(p, expected, 24); }))
      << std::hex << "column " << expected;
  EXPECT_FALSE(Near(text, expected, 4)) << "the text area is not the column's colour";
}

// The rebar's background: colour 31 at its left edge, 32 from half the background image's
// width (the widest monitor + 4) on.
TEST_F(MenuTest, RebarShowsColours31And32) {
  HWND rebar = DriverFindChild(main_, "ReBarWindow32", nullptr);
  ASSERT_NE(nullptr, rebar);
  RECT r = {};
  GetWindowRect(rebar, &r);
  const int half = (GetSystemMetrics(SM_CXSCREEN) + 4) / 2;
  ASSERT_GT(r.right - r.left, half + 4) << "the main window reaches past half the image";
  const DWORD left = Rgb(static_cast<COLORREF>(LookupUIColour(UISTYLE_OFFICE2007, 31, 2)));
  const DWORD right = Rgb(static_cast<COLORREF>(LookupUIColour(UISTYLE_OFFICE2007, 32, 2)));
  const int y = r.bottom - 2;
  WaitFor([&] { return PixelAt(r.left, y) == left; }, kActMs);
  EXPECT_EQ(left, PixelAt(r.left, y)) << std::hex << PixelAt(r.left, y);
  EXPECT_EQ(right, PixelAt(r.left + half + 2, y)) << std::hex << PixelAt(r.left + half + 2, y);
}

}  // namespace
