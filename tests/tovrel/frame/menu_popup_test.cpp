// Toolkit popups tracked by the system on a visible window: the shown popup's pixels come
// from the items' own painting, and the keyboard moves the selection over separators.
// Keys are posted to the popup window from a timer that the menu loop dispatches.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/waits.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/parent_window.h"

using namespace tovrel;

namespace {

constexpr UINT_PTR kStepTimer = 7;

// What the test does while the popup is shown, one step per timer tick, and what it saw.
struct Script {
  HMENU menu = nullptr;
  std::vector<WPARAM> keys;
  size_t next = 0;
  int idleTicks = 0;
  bool sawPopup = false;
  // Pixels of the shown popup: item 0's text area and image column, the separator's row.
  COLORREF textArea = CLR_INVALID;
  COLORREF column = CLR_INVALID;
  COLORREF separatorRow = CLR_INVALID;
  COLORREF belowSeparatorRow = CLR_INVALID;
  // Every WM_DRAWITEM the owner's own procedure saw: item data and state.
  std::vector<std::pair<ULONG_PTR, UINT>> drawn;
};
Script* gScript = nullptr;

void PostKey(HWND window, WPARAM key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(window, WM_KEYDOWN, key, 1 | scan);
  PostMessageA(window, WM_KEYUP, key, 1 | scan | (LPARAM{3} << 30));
}

void ReadShownPixels(HWND popup, Script& s) {
  // Item rectangles come in screen coordinates; the window DC reads them border included.
  RECT item = {}, separator = {}, window = {};
  if (!GetMenuItemRect(popup, s.menu, 0, &item) || !GetMenuItemRect(popup, s.menu, 1, &separator)) return;
  GetWindowRect(popup, &window);
  OffsetRect(&item, -window.left, -window.top);
  OffsetRect(&separator, -window.left, -window.top);
  HDC dc = GetWindowDC(popup);
  s.textArea = GetPixel(dc, item.right - 3, item.top + 2);
  s.column = GetPixel(dc, item.left + 2, (item.top + item.bottom) / 2);
  s.separatorRow = GetPixel(dc, item.right - 10, separator.top);
  s.belowSeparatorRow = GetPixel(dc, item.right - 10, separator.top + 1);
  ReleaseDC(popup, dc);
}

void Step() {
  Script& s = *gScript;
  HWND popup = FindWindowA("#32768", nullptr);
  if (!popup || !IsWindowVisible(popup)) return;
  if (!s.sawPopup) {
    s.sawPopup = true;
    ReadShownPixels(popup, s);
    return;
  }
  if (s.next < s.keys.size()) {
    PostKey(popup, s.keys[s.next++]);
  } else if (++s.idleTicks > 10) {
    PostKey(popup, VK_ESCAPE);  // whatever happened, the menu must end for the test to go on
  }
}

// Item data of owner-drawn items that are none of the toolkit's: measured here, never drawn.
constexpr ULONG_PTR kForeignItem = 0x5678;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->itemData == kForeignItem) {
      measure->itemWidth = 100;
      measure->itemHeight = 20;
      return TRUE;
    }
  }
  if (message == WM_DRAWITEM && gScript) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    gScript->drawn.push_back({draw->itemData, draw->itemState});
  }
  if (message == WM_TIMER && wParam == kStepTimer && gScript) {
    Step();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class MenuPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &OwnerProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = "MenuPopupOwner";
      return RegisterClassExA(&wc);
    }();
    (void)atom;
    owner_ = CreateWindowExA(0, "MenuPopupOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SubclassParentWindow(owner_);
    EnsureMenuFont();
    MenuItemBuffering = 0;
  }
  void TearDown() override {
    gScript = nullptr;
    DropDownKeyNavigation = 0;
    MenuItemBuffering = 0;
    if (menu_) FreeMenu(reinterpret_cast<intptr_t>(menu_));
    if (SubclassEntry* e = SubclassList.Find([this](const SubclassEntry& s) { return s.window == owner_; }))
      SubclassList.Delete(e);
    DestroyWindow(owner_);
  }

  // A popup: "Above" 501, a separator, "Below" 502, "Last" 503.
  void MakePopup(int style) {
    menu_ = CreatePopup(-1, style);
    ASSERT_NE(nullptr, menu_);
    AddMenuItem(501, "Above", nullptr, nullptr, nullptr, 0);
    AddMenuSeparator();
    AddMenuItem(502, "Below", nullptr, nullptr, nullptr, 0);
    AddMenuItem(503, "Last", nullptr, nullptr, nullptr, 0);
  }

  ULONG_PTR ItemData(int position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    GetMenuItemInfoA(menu_, position, TRUE, &info);
    return info.dwItemData;
  }

  // Shows the popup, runs the keys and answers the command the menu returned.
  UINT Track(Script& script) {
    script.menu = menu_;
    gScript = &script;
    SetForegroundWindow(owner_);
    SetActiveWindow(owner_);
    SetFocus(owner_);
    PumpMessagesFor(100);
    SetTimer(owner_, kStepTimer, 150, nullptr);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 60, 60, owner_, nullptr));
    KillTimer(owner_, kStepTimer);
    PumpMessagesFor(100);
    return command;
  }

  HWND owner_ = nullptr;
  HMENU menu_ = nullptr;
};

// Wine fills the popup with the menu colour before the items draw; every item paints its
// whole background, so the shown popup has the style's colours, not the system's.
TEST_F(MenuPopup, ShownItemsPaintTheirWholeBackground) {
  const int style = UISTYLE_OFFICE2007;
  const COLORREF area = static_cast<COLORREF>(LookupUIColour(style, 30, 2));
  const COLORREF line = static_cast<COLORREF>(LookupUIColour(style, 25, 2));
  ASSERT_NE(GetSysColor(COLOR_MENU), area);
  MakePopup(style);
  Script script;
  script.keys = {VK_ESCAPE};
  Track(script);
  ASSERT_TRUE(script.sawPopup);
  EXPECT_EQ(area, script.textArea);
  EXPECT_NE(GetSysColor(COLOR_MENU), script.column);
  EXPECT_EQ(line, script.separatorRow);
  EXPECT_EQ(area, script.belowSeparatorRow);
}

// What the items must make up for: Wine fills the popup with the menu colour before it
// sends WM_DRAWITEM, so an item that paints nothing shows that colour.
TEST_F(MenuPopup, WineFillsThePopupBeforeItemsDraw) {
  HMENU plain = CreatePopupMenu();
  AppendMenuA(plain, MF_OWNERDRAW, 601, reinterpret_cast<LPCSTR>(kForeignItem));
  AppendMenuA(plain, MF_OWNERDRAW, 602, reinterpret_cast<LPCSTR>(kForeignItem));
  menu_ = plain;
  Script script;
  script.keys = {VK_ESCAPE};
  Track(script);
  menu_ = nullptr;
  DestroyMenu(plain);
  ASSERT_TRUE(script.sawPopup);
  EXPECT_EQ(GetSysColor(COLOR_MENU), script.textArea);
  EXPECT_EQ(GetSysColor(COLOR_MENU), script.column);
}

// Down from the item above a separator lands on the item below it, once: Enter then
// gives that item's command. A toolkit separator is a system separator as well, which
// Wine's menu loop never selects; an owner-drawn item with empty text alone is selected,
// and the painter's posted key moves on past it, but only under keyboard navigation.
TEST_F(MenuPopup, DownStepsOverTheSeparator) {
  struct Row {
    bool systemSeparator;
    int keyboard;
    UINT command;
    bool separatorDrawnSelected;
  } rows[] = {
      {true, 1, 502, false},
      {false, 1, 502, true},
      {false, 0, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.systemSeparator << " " << row.keyboard);
    MakePopup(UISTYLE_OFFICE2007);
    if (!row.systemSeparator) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_OWNERDRAW;
      ASSERT_TRUE(SetMenuItemInfoA(menu_, 1, TRUE, &info));
    }
    const ULONG_PTR separator = ItemData(1);
    DropDownKeyNavigation = row.keyboard;
    Script script;
    script.keys = {VK_DOWN, VK_DOWN, VK_RETURN};
    EXPECT_EQ(row.command, Track(script));
    EXPECT_TRUE(script.sawPopup);
    bool separatorSelected = false;
    for (const auto& [data, state] : script.drawn) separatorSelected |= data == separator && (state & ODS_SELECTED);
    EXPECT_EQ(row.separatorDrawnSelected, separatorSelected);
    FreeMenu(reinterpret_cast<intptr_t>(menu_));
    menu_ = nullptr;
    DropDownKeyNavigation = 0;
  }
}

}  // namespace
