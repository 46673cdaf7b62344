#include "app/app_driver.h"

#include <vector>

#include "driver/driver.h"

namespace {

constexpr int kPaneId = 0x77;
// Items per group of the main window's task pane.
constexpr int kItems[] = {3, 5, 3, 2, 1};

// The pane's measures below are 96-DPI pixels; it draws them grown by the screen's DPI.
int Px(int layout) {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return MulDiv(layout, dpi, 96);
}

// Content y of a group's header: groups start at 8; each takes its 25-pixel header, its
// body (20 per item + 11) and 10 pixels of space.
int HeaderTop(int group) {
  int y = 8;
  for (int g = 1; g < group; ++g) y += 25 + 20 * kItems[g - 1] + 11 + 10;
  return y;
}

HWND PaneScrollBar(HWND main) { return DriverFindChild(main, "ScrollBar", nullptr); }

void Post(HWND w, UINT m, WPARAM wp, int x, int y) { PostMessageW(w, m, wp, MAKELPARAM(x, y)); }

}  // namespace

bool ClickTaskPaneItem(HWND main, int group, int item) {
  if (group < 1 || group > 5 || item < 1 || item > kItems[group - 1]) return false;
  HWND pane = DriverFindControl(main, kPaneId);
  if (!pane) return false;
  // The pane places its items when it paints, and posted input comes before painting: in a
  // window just shown, a click would find no item yet. A pending paint is done first.
  UpdateWindow(pane);
  RECT r;
  GetClientRect(pane, &r);
  HWND bar = PaneScrollBar(main);
  int paneHeight = r.bottom;
  if (bar && IsWindowVisible(bar)) {
    // The pane is shorter than its surface; the part below the bar's height is never seen.
    RECT br;
    GetClientRect(bar, &br);
    paneHeight = br.bottom;
  }
  int contentY = Px(HeaderTop(group) + 31 + 20 * (item - 1) + 8);
  DWORD_PTR pos = 0;
  if (bar && IsWindowVisible(bar)) {
    PostMessageW(main, WM_VSCROLL, contentY < paneHeight - Px(20) ? SB_TOP : SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
    Sleep(200);
    SendMessageTimeoutW(bar, SBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &pos);
  }
  int y = contentY - static_cast<int>(pos);
  if (y < 0 || y >= paneHeight) return false;
  // Each move changes at most one element's hover state, so move until the item is hot.
  for (int i = 0; i < 4; ++i) Post(pane, WM_MOUSEMOVE, 0, Px(30), y);
  Post(pane, WM_LBUTTONUP, 0, Px(30), y);
  Sleep(300);
  return true;
}

namespace {

// The items of the main window's drop-downs in the order they show, separators left out:
// the driver counts items the way the Down key steps through them.
struct MainMenu {
  const char* title;
  std::vector<const char*> items;
};
const MainMenu kMainMenus[] = {
    {"File", {"New...", "Open...", "Save...", "Save As...", "Import Language...", "Exit"}},
    {"Project", {"Build", "Run"}},
    {"Help", {"Help", "Visit Forum", "Visit Website", "Update", "About Zendrikolbar"}},
};

}  // namespace

bool ChooseMainMenuItem(HWND main, const std::string& title, const std::string& item) {
  for (const MainMenu& menu : kMainMenus) {
    if (title != menu.title) continue;
    for (size_t i = 0; i < menu.items.size(); ++i)
      if (item == menu.items[i]) return DriverChooseMenuItem(main, title, static_cast<int>(i));
  }
  return false;
}
