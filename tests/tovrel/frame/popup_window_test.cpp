// The popup window procedure fed the messages the system sends, on a plain popup window
// that stands in for a "#32768" window: its class procedure records what reaches it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/popup_window.h"

using namespace tovrel;

namespace {

constexpr UINT kSelectItem = 0x1E5;

struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  WINDOWPOS pos;
};
std::vector<Seen> gSeen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Seen seen = {window, message, wParam, {}};
  if ((message == WM_WINDOWPOSCHANGING) && lParam) seen.pos = *reinterpret_cast<WINDOWPOS*>(lParam);
  gSeen.push_back(seen);
  if (message == WM_NCCALCSIZE || message == WM_NCPAINT || message == WM_PRINT || message == WM_ERASEBKGND) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

COLORREF StyleColour(int style, int index) { return static_cast<COLORREF>(LookupUIColour(style, index, 2)); }

class PopupWindowProc : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &RecordingProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "PopupStandIn";
      return RegisterClassExA(&wc);
    }();
    (void)atom;
    EnsureMenuFont();
    gSeen.clear();
    savedShadow_ = SystemDropShadow;
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    if (menu_) FreeMenu(reinterpret_cast<intptr_t>(menu_));
    OpenDropDownMenu = nullptr;
    OpenTitleRecord = nullptr;
    InnermostPopup = nullptr;
    OpeningSubmenu = nullptr;
    SubmenuOpening = 0;
    ScrollBusy = ScrollAtEnd = 0;
    TitleWidth = 0;
    DropDownWidth = 0;
    FirstPopupWindow = nullptr;
    LastPopupRect = {};
    DwmCompositionEnabled = FALSE;
    SystemDropShadow = savedShadow_;
    PopupMenuPreviousProc = nullptr;
  }

  // A tracked toolkit menu: "One" 701, "Sub" with a submenu, "Three" 703.
  void Track(int style) {
    menu_ = CreatePopup(-1, style);
    AddMenuItem(701, "One", nullptr, nullptr, nullptr, 0);
    sub_ = CreatePopupMenu();
    AppendMenuA(sub_, MF_STRING, 711, "Inner");
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub_), "Sub");
    AppendMenuA(menu_, MF_STRING, 703, "Three");
    OpenDropDownMenu = menu_;
    OpenTitleRecord = MenuList.Find([this](const Menu& m) { return m.menuHandle == menu_; });
    ASSERT_NE(nullptr, OpenTitleRecord);
    OpenTitleRecord->shownWidth = 120;
    OpenTitleRecord->shownHeight = 200;
  }

  // What WindowCreationHook does for a "#32768" window, then its first message.
  HWND Popup(int x, int y, int w, int h) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "PopupStandIn", "", WS_POPUP | WS_BORDER, x, y, w, h, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    PopupMenuPreviousProc = &RecordingProc;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupMenuWindowProc));
    SendMessageA(window, WM_NULL, 0, 0);
    windows_.push_back(window);
    return window;
  }

  std::vector<Seen> SeenBy(HWND window, UINT message) {
    std::vector<Seen> out;
    for (const Seen& s : gSeen)
      if (s.window == window && s.message == message) out.push_back(s);
    return out;
  }

  size_t ShadowsOf(HWND window) {
    size_t n = 0;
    for (const MenuShadow& s : MenuShadowList) n += s.popupWindow == window;
    return n;
  }

  HMENU menu_ = nullptr;
  HMENU sub_ = nullptr;
  std::vector<HWND> windows_;
  BOOL savedShadow_ = FALSE;
};

RECT RectOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

// Wine shows a popup with one change (0x50) and hides it with another (0x97): the show
// places it and its shadows, the hide changes nothing.
TEST_F(PopupWindowProc, WinesShowPlacesOnceAndTheHideIsLeftAlone) {
  SystemDropShadow = 1;
  Track(UISTYLE_OFFICE2007);
  DropDownWidth = 120;
  HWND popup = Popup(0, 0, 10, 10);
  SetWindowPos(popup, HWND_TOPMOST, 100, 100, 120, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  const RECT shown = RectOf(popup);
  EXPECT_EQ(197, shown.bottom - shown.top);  // the Office frame needs 3 pixels less
  EXPECT_EQ(shown.bottom, LastPopupExtent);
  ASSERT_EQ(1u, ShadowsOf(popup));
  const MenuShadow* shadow = MenuShadowList.Find([popup](const MenuShadow& s) { return s.popupWindow == popup; });
  const int L = shown.left, T = shown.top, W = shown.right - shown.left, H = shown.bottom - shown.top;
  const RECT right = RectOf(shadow->rightStrip), bottom = RectOf(shadow->bottomStrip);
  EXPECT_TRUE(EqualRect(&right, &(const RECT&)RECT{L + W, T + 5, L + W + 5, T + H}));
  EXPECT_TRUE(EqualRect(&bottom, &(const RECT&)RECT{L + 5, T + H, L + 5 + W - 1, T + H + 5}));

  const int extent = LastPopupExtent;
  SetWindowPos(popup, nullptr, 0, 0, 0, 0, 0x97);
  EXPECT_EQ(extent, LastPopupExtent);
  EXPECT_EQ(1u, ShadowsOf(popup));
  const std::vector<Seen> changes = SeenBy(popup, WM_WINDOWPOSCHANGING);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(0x97u, changes.back().pos.flags & 0x97u);
  EXPECT_EQ(0, changes.back().pos.cy);  // passed on as the system asked
}

// Windows' form: a change that neither moves nor sizes, then one that does. The second
// places; a repeated change adds no shadows.
TEST_F(PopupWindowProc, WindowsFormPlacesAtTheChangeThatMoves) {
  SystemDropShadow = 1;
  Track(0);
  DropDownWidth = 150;
  HWND popup = Popup(0, 0, 100, 100);
  SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(0u, ShadowsOf(popup));
  SetWindowPos(popup, nullptr, 200, 120, 100, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT placed = RectOf(popup);
  EXPECT_EQ(150, placed.right - placed.left);  // the drop-down's own width
  EXPECT_EQ(90, placed.bottom - placed.top);   // the plain look keeps the height
  EXPECT_EQ(210, LastPopupExtent);
  EXPECT_EQ(1u, ShadowsOf(popup));
  SetWindowPos(popup, nullptr, 210, 120, 100, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(1u, ShadowsOf(popup));
}

TEST_F(PopupWindowProc, NoShadowsWhileTheSystemSettingIsOff) {
  SystemDropShadow = 0;
  Track(UISTYLE_OFFICE2007);
  HWND popup = Popup(0, 0, 10, 10);
  SetWindowPos(popup, HWND_TOPMOST, 100, 100, 120, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  EXPECT_EQ(0u, ShadowsOf(popup));
}

TEST_F(PopupWindowProc, NothingIsSelectedWhileTheCopyScrolls) {
  Track(UISTYLE_OFFICE2007);
  HWND popup = Popup(100, 100, 120, 200);
  struct Case {
    int busy, atEnd;
    WPARAM passed;
  } cases[] = {{0, 0, 2}, {1, 0, static_cast<WPARAM>(-1)}, {0, 1, static_cast<WPARAM>(-1)}};
  for (const Case& c : cases) {
    ScrollBusy = c.busy;
    ScrollAtEnd = c.atEnd;
    gSeen.clear();
    SendMessageA(popup, kSelectItem, 2, 0);
    const std::vector<Seen> seen = SeenBy(popup, kSelectItem);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(c.passed, seen[0].wParam) << c.busy << c.atEnd;
  }
}

// Selecting "Sub" again while its submenu is open in another popup: that popup's
// selection is cleared first.
TEST_F(PopupWindowProc, SelectingAnOpenSubmenusItemClearsTheSubmenu) {
  Track(UISTYLE_OFFICE2007);
  HWND top = Popup(100, 100, 120, 200);
  OpeningSubmenu = sub_;
  SubmenuOpening = 1;
  HWND inner = Popup(220, 120, 100, 60);
  ASSERT_NE(nullptr, InnermostPopup);
  EXPECT_EQ(sub_, InnermostPopup->menuHandle);
  gSeen.clear();
  SendMessageA(top, kSelectItem, 1, 0);
  ASSERT_GE(gSeen.size(), 2u);
  EXPECT_EQ(inner, gSeen[0].window);
  EXPECT_EQ(kSelectItem, gSeen[0].message);
  EXPECT_EQ(static_cast<WPARAM>(-1), gSeen[0].wParam);
  EXPECT_EQ(top, gSeen.back().window);
  EXPECT_EQ(1u, gSeen.back().wParam);
  // Another item: nothing else is told.
  gSeen.clear();
  SendMessageA(top, kSelectItem, 2, 0);
  EXPECT_TRUE(SeenBy(inner, kSelectItem).empty());
  // The inner popup closes: the chain ends at the top popup again.
  DestroyWindow(inner);
  windows_.erase(windows_.begin() + 1);
  ASSERT_NE(nullptr, InnermostPopup);
  EXPECT_EQ(top, InnermostPopup->window);
}

TEST_F(PopupWindowProc, OfficeFrameLeavesAClientAreaTwoNarrowerAndFourShorter) {
  Track(UISTYLE_OFFICE2007);
  HWND popup = Popup(100, 100, 120, 200);
  gSeen.clear();
  SetWindowPos(popup, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT window = RectOf(popup);
  RECT client = {};
  GetClientRect(popup, &client);
  EXPECT_EQ(window.right - window.left - 2, client.right);
  EXPECT_EQ(window.bottom - window.top - 4, client.bottom);
  POINT origin = {0, 0};
  ClientToScreen(popup, &origin);
  EXPECT_EQ(window.left + 1, origin.x);
  EXPECT_EQ(window.top + 2, origin.y);
  EXPECT_TRUE(SeenBy(popup, WM_NCCALCSIZE).empty());  // the system's frame never counts
}

// A memory DC the size of the popup, filled with a colour no look uses.
struct Canvas {
  explicit Canvas(int w, int h) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, bitmap);
    const RECT all = {0, 0, w, h};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
  }
  ~Canvas() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HDC dc;
  HBITMAP bitmap;
};

TEST_F(PopupWindowProc, OfficePrintDrawsTheFrameAndTheTitleJoint) {
  const int style = UISTYLE_OFFICE2007;
  Track(style);
  HWND popup = Popup(100, 100, 120, 200);
  TitleWidth = 60;
  DropDownShiftX = 0;
  DropDownTop = 0;
  FirstPopupWindow = nullptr;
  ToolbarDropDownOpen = 0;
  Canvas canvas(120, 200);
  SendMessageA(popup, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc), PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_EQ(popup, FirstPopupWindow);
  const COLORREF border = StyleColour(style, 12), background = StyleColour(style, 30);
  EXPECT_EQ(border, GetPixel(canvas.dc, 0, 100));
  EXPECT_EQ(border, GetPixel(canvas.dc, 119, 100));
  EXPECT_EQ(border, GetPixel(canvas.dc, 80, 0));      // past the joint
  EXPECT_EQ(background, GetPixel(canvas.dc, 30, 0));  // the joint row, open to the title
  EXPECT_EQ(background, GetPixel(canvas.dc, 58, 0));
  EXPECT_EQ(border, GetPixel(canvas.dc, 59, 0));
  EXPECT_EQ(border, GetPixel(canvas.dc, 30, 199));
  EXPECT_EQ(1u, SeenBy(popup, WM_PRINT).size());  // passed on first
  // A second popup (a submenu) gets a closed border.
  HWND other = Popup(220, 100, 120, 200);
  Canvas second(120, 200);
  SendMessageA(other, WM_PRINT, reinterpret_cast<WPARAM>(second.dc), PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_EQ(border, GetPixel(second.dc, 30, 0));
}

TEST_F(PopupWindowProc, EraseCopiesAUsableCacheExactly) {
  Track(UISTYLE_OFFICE2007);
  HWND popup = Popup(100, 100, 120, 200);
  Menu& menu = *OpenTitleRecord;
  menu.shownWidth = 40;
  menu.shownHeight = 30;
  Canvas cache(40, 30);
  SetPixel(cache.dc, 5, 6, RGB(1, 2, 3));
  menu.backgroundDC = cache.dc;
  menu.backgroundWidth = 40;
  menu.backgroundHeight = 30;
  Canvas target(120, 200);
  const RECT area = {0, 0, 120, 200};
  FillRect(target.dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SendMessageA(popup, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.dc), 0);
  EXPECT_EQ(RGB(255, 0, 255), GetPixel(target.dc, 0, 0));
  EXPECT_EQ(RGB(1, 2, 3), GetPixel(target.dc, 5, 6));
  EXPECT_EQ(RGB(255, 0, 255), GetPixel(target.dc, 39, 29));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(target.dc, 40, 10));  // nothing past the cache
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(target.dc, 10, 30));
  // A cache drawn for another size is not used.
  menu.shownHeight = 31;
  SendMessageA(popup, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.dc), 0);
  EXPECT_EQ(StyleColour(UISTYLE_OFFICE2007, 30), GetPixel(target.dc, 60, 6));
  menu.backgroundDC = nullptr;
  menu.backgroundWidth = menu.backgroundHeight = 0;
}

// Where the theme has no popup colour, the plain look's ring is the menu colour, not black.
TEST_F(PopupWindowProc, PlainRingWithoutAThemeColourIsTheMenuColour) {
  Track(0);
  HWND popup = Popup(100, 100, 120, 200);
  const ComctlVersionInfo savedVersion = ComctlVersion;
  const int savedActive = ThemesActive;
  HTHEME savedTheme = ThemeHandles[THEME_MENU];
  ComctlVersion.major = 6;
  ComctlVersion.minor = 1;
  ThemesActive = 1;
  ThemeHandles[THEME_MENU] = nullptr;
  Canvas canvas(120, 200);
  SendMessageA(popup, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc), PRF_NONCLIENT);
  ComctlVersion = savedVersion;
  ThemesActive = savedActive;
  ThemeHandles[THEME_MENU] = savedTheme;
  EXPECT_EQ(GetSysColor(COLOR_MENU), GetPixel(canvas.dc, 1, 1));
  EXPECT_EQ(GetSysColor(COLOR_MENU), GetPixel(canvas.dc, 117, 100));
  EXPECT_EQ(RGB(255, 0, 255), GetPixel(canvas.dc, 0, 0));  // the system's frame is its own
}

// Without composition, a drop-down's paint repaints what its move uncovered and forgets
// the old rectangle; with composition the system does that itself.
TEST_F(PopupWindowProc, PaintRepaintsUncoveredAreasOnlyWithoutComposition) {
  Track(UISTYLE_OFFICE2007);
  OpenTitleRecord->openFlag = -1;
  HWND popup = Popup(100, 100, 120, 200);
  for (BOOL composed : {TRUE, FALSE}) {
    DwmCompositionEnabled = composed;
    LastPopupRect = {90, 100, 120, 200};
    SendMessageA(popup, WM_PAINT, 0, 0);
    EXPECT_EQ(composed ? 120 : 0, LastPopupRect.right) << composed;
  }
  OpenTitleRecord->openFlag = 0;
}

}  // namespace
