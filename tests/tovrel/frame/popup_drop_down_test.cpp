// Real popups of the system's menu loop under Xvfb: what Wine sends a popup window, and a
// toolkit drop-down subclassed, framed and shadowed while it is shown. The test reads the
// shown popup from a timer that the menu loop dispatches, then closes it with Esc.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "support/waits.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/popup_window.h"

using namespace tovrel;

namespace {

constexpr UINT_PTR kReadTimer = 9;
std::function<void(HWND popup)> gRead;
HMENU gMenu = nullptr;
bool gDone = false;

void PostEscape(HWND window) {
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(window, WM_KEYUP, VK_ESCAPE, 1 | (LPARAM{3} << 30));
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kReadTimer) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
      if (!gDone && gRead) gRead(popup);
      gDone = true;
      PostEscape(popup);
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// What a WH_CALLWNDPROC hook sees of popup windows: position-change flags and WM_NCCALCSIZE.
struct PopupMessages {
  std::vector<UINT> changeFlags;
  std::vector<WPARAM> calcSize;
};
PopupMessages gProbe;
HHOOK gProbeHook = nullptr;

LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  char name[16] = {};
  if (code == HC_ACTION && GetClassNameA(sent->hwnd, name, sizeof(name)) && lstrcmpA(name, "#32768") == 0) {
    if (sent->message == WM_WINDOWPOSCHANGING)
      gProbe.changeFlags.push_back(reinterpret_cast<WINDOWPOS*>(sent->lParam)->flags);
    if (sent->message == WM_NCCALCSIZE) gProbe.calcSize.push_back(sent->wParam);
  }
  return CallNextHookEx(gProbeHook, code, wParam, lParam);
}

class PopupDropDown : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &OwnerProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = "PopupDropDownOwner";
      return RegisterClassExA(&wc);
    }();
    (void)atom;
    owner_ = CreateWindowExA(0, "PopupDropDownOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SubclassParentWindow(owner_);
    EnsureMenuFont();
    gDone = false;
    savedShadow_ = SystemDropShadow;
  }
  void TearDown() override {
    gRead = nullptr;
    OpenDropDownMenu = nullptr;
    OpenTitleRecord = nullptr;
    TitleWidth = 0;
    DropDownWidth = 0;
    FirstPopupWindow = nullptr;
    SystemDropShadow = savedShadow_;
    if (menu_) FreeMenu(reinterpret_cast<intptr_t>(menu_));
    if (SubclassEntry* e = SubclassList.Find([this](const SubclassEntry& s) { return s.window == owner_; }))
      SubclassList.Delete(e);
    DestroyWindow(owner_);
  }

  void MakeMenu(int style) {
    menu_ = CreatePopup(-1, style);
    AddMenuItem(801, "Open", nullptr, nullptr, nullptr, 0);
    AddMenuItem(802, "Save", nullptr, nullptr, nullptr, 0);
    AddMenuItem(803, "Close", nullptr, nullptr, nullptr, 0);
  }

  // As the drop-down code sets the tracking state for a title 60 wide at the popup's left.
  void TrackAsDropDown() {
    OpenDropDownMenu = menu_;
    OpenTitleRecord = MenuList.Find([this](const Menu& m) { return m.menuHandle == menu_; });
    DropDownWidth = GetMenuWidth(menu_);
    OpenTitleRecord->shownWidth = DropDownWidth;
    OpenTitleRecord->shownHeight = GetMenuHeight(menu_);
    DropDownLeft = 60;
    DropDownOverhang = 0;
    DropDownShiftX = 0;
    DropDownTop = 0;
    TitleWidth = 60;
    FirstPopupWindow = nullptr;
  }

  void Show() {
    SetForegroundWindow(owner_);
    SetActiveWindow(owner_);
    PumpMessagesFor(100);
    SetTimer(owner_, kReadTimer, 150, nullptr);
    TrackPopupMenuEx(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 60, 60, owner_, nullptr);
    KillTimer(owner_, kReadTimer);
    PumpMessagesFor(100);
  }

  HWND owner_ = nullptr;
  HMENU menu_ = nullptr;
  BOOL savedShadow_ = FALSE;
};

// What the popup window code relies on: Wine shows a popup with one change (0x50) and
// hides it with another (0x97); WM_NCCALCSIZE comes to the new window with wParam TRUE.
TEST_F(PopupDropDown, WineSendsOneShowAndOneHideChange) {
  MakeMenu(0);
  gProbeHook = SetWindowsHookExA(WH_CALLWNDPROC, &ProbeHook, nullptr, GetCurrentThreadId());
  gProbe = {};
  Show();
  UnhookWindowsHookEx(gProbeHook);
  ASSERT_TRUE(gDone);
  EXPECT_EQ((std::vector<UINT>{0x50, 0x97}), gProbe.changeFlags);
  ASSERT_FALSE(gProbe.calcSize.empty());
  EXPECT_EQ(1u, gProbe.calcSize.back());
}

TEST_F(PopupDropDown, PopupOfAnUntrackedMenuIsNotSubclassed) {
  MakeMenu(UISTYLE_OFFICE2007);
  WNDPROC seen = nullptr;
  gRead = [&seen](HWND popup) { seen = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(popup, GWLP_WNDPROC)); };
  Show();
  ASSERT_TRUE(gDone);
  EXPECT_NE(&PopupMenuWindowProc, seen);
  EXPECT_TRUE(PopupWindowList.Empty());
}

// A toolkit drop-down: subclassed with its menu still known to the system, framed in
// the Office look with the joint to its title, and shadowed once with the shadows on.
TEST_F(PopupDropDown, DropDownIsFramedJoinedAndShadowed) {
  const int style = UISTYLE_OFFICE2007;
  SystemDropShadow = 1;
  MakeMenu(style);
  TrackAsDropDown();
  struct Read {
    WNDPROC proc = nullptr;
    HMENU shown = nullptr;
    COLORREF left = 0, jointRow = 0, pastJoint = 0;
    RECT window = {}, right = {}, bottom = {}, lastItem = {}, client = {};
    size_t shadows = 0;
  } read;
  gMenu = menu_;
  gRead = [&read](HWND popup) {
    read.proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(popup, GWLP_WNDPROC));
    read.shown = reinterpret_cast<HMENU>(SendMessageA(popup, 0x1E1 /* MN_GETHMENU */, 0, 0));
    GetWindowRect(popup, &read.window);
    GetMenuItemRect(popup, gMenu, 2, &read.lastItem);
    GetClientRect(popup, &read.client);
    MapWindowPoints(popup, nullptr, reinterpret_cast<POINT*>(&read.client), 2);
    HDC dc = GetWindowDC(popup);
    read.left = GetPixel(dc, 0, (read.window.bottom - read.window.top) / 2);
    read.jointRow = GetPixel(dc, 30, 0);
    read.pastJoint = GetPixel(dc, 70, 0);
    ReleaseDC(popup, dc);
    for (const MenuShadow& s : MenuShadowList) {
      if (s.popupWindow != popup) continue;
      ++read.shadows;
      GetWindowRect(s.rightStrip, &read.right);
      GetWindowRect(s.bottomStrip, &read.bottom);
    }
  };
  Show();
  ASSERT_TRUE(gDone);
  EXPECT_EQ(&PopupMenuWindowProc, read.proc);
  EXPECT_EQ(menu_, read.shown);
  const COLORREF border = static_cast<COLORREF>(LookupUIColour(style, 12, 2));
  EXPECT_EQ(border, read.left);
  EXPECT_EQ(static_cast<COLORREF>(LookupUIColour(style, 30, 2)), read.jointRow);
  EXPECT_EQ(border, read.pastJoint);
  // The frame's height cut leaves the last item whole.
  EXPECT_LE(read.lastItem.bottom, read.client.bottom);
  ASSERT_EQ(1u, read.shadows);
  const int L = read.window.left, T = read.window.top;
  const int W = read.window.right - L, H = read.window.bottom - T;
  EXPECT_TRUE(EqualRect(&read.right, &(const RECT&)RECT{L + W, T + 5, L + W + 5, T + H}));
  EXPECT_TRUE(EqualRect(&read.bottom, &(const RECT&)RECT{L + 5, T + H, L + 5 + W - 1, T + H + 5}));
  // Closed: the records and shadows went with the window.
  EXPECT_TRUE(PopupWindowList.Empty());
  EXPECT_TRUE(MenuShadowList.Empty());
  EXPECT_EQ(0, OpenPopupCount);
  EXPECT_EQ(nullptr, InnermostPopup);
}

}  // namespace
