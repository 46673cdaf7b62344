// Menu bars, popups, titles and items as the program builds them: which records the lists
// hold and in what order, what the system menus and the bar's buttons get, and what is
// left after a failure or a free.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "toolbar_test_support.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/toolbar.h"

using namespace tovrel;

namespace {

// What the host windows were sent.
struct Seen {
  std::vector<int> commands;
  std::map<ULONG_PTR, int> measured;  // by item data
  std::map<ULONG_PTR, int> drawn;
};
Seen gSeen;

constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 9;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      gSeen.commands.push_back(LOWORD(wParam));
      return 0;
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      gSeen.measured[m->itemData]++;
      // The probe's own sizes: the painter of the toolkit is not under test here.
      const auto* item = reinterpret_cast<const MenuItem*>(m->itemData);
      m->itemWidth = 120;
      m->itemHeight = item && item->text.empty() ? kSeparatorHeight : kItemHeight;
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      gSeen.drawn[d->itemData]++;
      FillRect(d->hDC, &d->rcItem, GetSysColorBrush((d->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_MENU));
      return TRUE;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

const char* HostClass() {
  static const char* name = [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = "MenusTestHost";
    RegisterClassExA(&wc);
    return "MenusTestHost";
  }();
  return name;
}

std::vector<std::string> gLog;
void CollectLog(const std::string& line) { gLog.push_back(line); }

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen = Seen();
    gLog.clear();
    host_ = CreateWindowExA(0, HostClass(), "menus", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, host_);
  }
  void TearDown() override {
    SetDebugLogSink(nullptr);
    FreeMenu(-1);
    FreeToolbar(-1);
    DestroyWindow(host_);
    for (HICON icon : icons_) DestroyIcon(icon);
    CurrentMenuNumber = -1;
    CurrentMenuHandle = -1;
  }

  HICON Icon(uint32_t rgb) {
    icons_.push_back(SolidIcon(rgb));
    return icons_.back();
  }

  static std::vector<intptr_t> Numbers() {
    std::vector<intptr_t> v;
    for (const Menu& m : MenuList) v.push_back(m.number);
    return v;
  }
  static Menu* Record(HMENU handle) {
    for (Menu& m : MenuList)
      if (m.menuHandle == handle) return &m;
    return nullptr;
  }
  static std::vector<Menu*> RecordsOf(intptr_t number) {
    std::vector<Menu*> v;
    for (Menu& m : MenuList)
      if (m.number == number) v.push_back(&m);
    return v;
  }
  static MenuItem* ItemOf(HMENU menu, UINT id) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu, id, FALSE, &info)) return nullptr;
    return reinterpret_cast<MenuItem*>(info.dwItemData);
  }
  static size_t ItemsOf(HMENU menu) {
    return std::count_if(MenuItemList.begin(), MenuItemList.end(),
                         [menu](const MenuItem& i) { return i.menuHandle == menu; });
  }
  static HMENU CurrentHandle() { return reinterpret_cast<HMENU>(CurrentMenuHandle); }

  HWND host_ = nullptr;
  std::vector<HICON> icons_;
};

TEST_F(Menus, AMenuBarStartsAsAPlaceholderThatItsFirstTitleReplaces) {
  const intptr_t number = CreateMenuBar(-1, host_, UISTYLE_OFFICE2007);
  ASSERT_NE(0, number);
  HWND bar = MenuBarWindow;
  ASSERT_TRUE(IsWindow(bar));
  EXPECT_EQ(host_, GetParent(bar));
  EXPECT_EQ(reinterpret_cast<intptr_t>(bar), GetMenuHandle(number));
  EXPECT_EQ(number, CurrentMenuNumber);
  EXPECT_NE(nullptr, GetMenuFont());
  Toolbar* toolbar = ToolbarList.Find([bar](const Toolbar& t) { return t.window == bar; });
  ASSERT_NE(nullptr, toolbar);
  EXPECT_TRUE(toolbar->menuBarFlag);
  EXPECT_EQ(0, SendMessageA(bar, TB_GETEXTENDEDSTYLE, 0, 0));

  std::vector<Menu*> records = RecordsOf(number);
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(MenuPlaceholderHandle(), records[0]->menuHandle);
  EXPECT_EQ(-1, records[0]->titleCommand);
  EXPECT_EQ(0, records[0]->popupFlag);
  EXPECT_EQ(host_, records[0]->ownerWindow);
  EXPECT_EQ(UISTYLE_OFFICE2007, records[0]->uiStyle);

  // A taken number makes nothing and changes nothing.
  const std::vector<intptr_t> before = Numbers();
  EXPECT_EQ(0, CreateMenuBar(static_cast<int>(number), host_, 0));
  EXPECT_EQ(nullptr, CreatePopup(static_cast<int>(number), 0));
  EXPECT_EQ(before, Numbers());
  EXPECT_EQ(bar, MenuBarWindow);

  EXPECT_EQ(0, AddMenuTitle("&File"));
  records = RecordsOf(number);
  ASSERT_EQ(1u, records.size());
  Menu* file = records[0];
  EXPECT_TRUE(IsMenu(file->menuHandle));
  EXPECT_EQ(file->menuHandle, CurrentHandle());
  EXPECT_EQ(bar, file->barWindow);
  EXPECT_EQ(0, file->popupFlag);
  EXPECT_NE(-1, file->titleCommand);
  EXPECT_EQ(0, SendMessageA(bar, TB_COMMANDTOINDEX, file->titleCommand, 0));

  EXPECT_EQ(0, AddMenuTitle("&Edit"));
  EXPECT_EQ(0, AddMenuTitle("&Help"));
  records = RecordsOf(number);
  ASSERT_EQ(3u, records.size());
  EXPECT_EQ(3, SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  // Each title goes after the bar's first record: File, Help, Edit.
  EXPECT_EQ(file, records[0]);
  EXPECT_EQ(2, SendMessageA(bar, TB_COMMANDTOINDEX, records[1]->titleCommand, 0));
  EXPECT_EQ(1, SendMessageA(bar, TB_COMMANDTOINDEX, records[2]->titleCommand, 0));
  EXPECT_EQ(records[1]->menuHandle, CurrentHandle());
}

TEST_F(Menus, NewRecordsGoDirectlyAfterTheFirstOne) {
  HMENU a = CreatePopup(70, 0);
  HMENU b = CreatePopup(71, UISTYLE_OFFICE2003);
  HMENU c = CreatePopup(72, UISTYLE_WHIDBEY);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ((std::vector<intptr_t>{70, 72, 71}), Numbers());
  EXPECT_EQ(c, CurrentHandle());
  EXPECT_EQ(72, CurrentMenuNumber);
  EXPECT_EQ(-1, Record(b)->popupFlag);
  EXPECT_EQ(MenuNoBar(), Record(b)->barWindow);
  EXPECT_EQ(6, Record(b)->uiStyle);  // OFFICE2003 as menus keep it
  EXPECT_EQ(reinterpret_cast<intptr_t>(b), GetMenuHandle(71));
  EXPECT_EQ(0, GetMenuHandle(73));

  const intptr_t bar = CreateMenuBar(-1, host_, 0);
  EXPECT_EQ((std::vector<intptr_t>{70, bar, 72, 71}), Numbers());

  CreatePopup(80, 0);
  EXPECT_EQ(1, AddMenuItem(1, "one", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(1, AddMenuItem(2, "two", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(1, AddMenuItem(3, "three", nullptr, nullptr, nullptr, 0));
  std::vector<std::string> texts;
  for (const MenuItem& i : MenuItemList) texts.push_back(i.text);
  EXPECT_EQ((std::vector<std::string>{"one", "three", "two"}), texts);
  HMENU popup = CurrentHandle();
  EXPECT_EQ(0, ItemOf(popup, 1)->position);
  EXPECT_EQ(2, ItemOf(popup, 3)->position);
}

TEST_F(Menus, AnItemIsOwnerDrawnFromItsRecord) {
  const intptr_t number = CreateMenuBar(-1, host_, UISTYLE_OFFICE2007);
  AddMenuTitle("&File");
  HMENU file = CurrentHandle();
  ASSERT_EQ(1, AddMenuItem(101, "&Open...$ctrl+o", nullptr, nullptr, nullptr, 0));
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoA(file, 0, TRUE, &info));
  EXPECT_EQ(static_cast<UINT>(MFT_OWNERDRAW), info.fType);
  EXPECT_EQ(101u, info.wID);
  const auto* item = reinterpret_cast<const MenuItem*>(info.dwItemData);
  ASSERT_TRUE(MenuItemList.Contains(item));
  EXPECT_EQ("&Open...$ctrl+o", item->text);
  EXPECT_EQ(file, item->menuHandle);
  EXPECT_EQ(Record(file), item->menu);
  EXPECT_EQ(UISTYLE_OFFICE2007, item->uiStyle);
  EXPECT_EQ(MenuImageWidth, item->imageWidth);
  EXPECT_EQ(MenuImageHeight, item->imageHeight);
  EXPECT_EQ(nullptr, item->imageList);
  EXPECT_EQ(0, item->kind);
  EXPECT_EQ("&Open...$ctrl+o", GetMenuItemText(number, 101));
}

}  // namespace
