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
#include "tovrel/frame/object_numbers.h"
#include "tovrel/frame/toolbar.h"
#include "support/waits.h"

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

int StoredMenuStyleForTest(int style) { return style == UISTYLE_OFFICE2003 ? UISTYLE_OFFICE2003_MENU : style; }

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

// The colour (0xRRGGBB) an icon shows in the middle, drawn as a menu's image list draws.
uint32_t IconColour(HICON icon) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
  ImageList_ReplaceIcon(list, -1, icon);
  const uint32_t colour = ListColour(list, 0);
  ImageList_Destroy(list);
  return colour;
}

TEST_F(Menus, TitleButtonsAreSizedByTheOneTitleRule) {
  for (int style : {0, UISTYLE_OFFICE2003, UISTYLE_OFFICE2007}) {
    CreateMenuBar(-1, host_, style);
    HWND bar = MenuBarWindow;
    const std::string text = "&Window";
    AddMenuTitle(text);
    const Menu* title = Record(CurrentHandle());
    ASSERT_NE(nullptr, title);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetMenuFont());
    RECT r = {};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteDC(dc);
    const SIZE want = TitleButtonSize(StoredMenuStyleForTest(style), r.right, r.bottom);

    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    ASSERT_NE(-1, SendMessageA(bar, TB_GETBUTTONINFOA, title->titleCommand, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(want.cx, info.cx) << std::hex << style;
    EXPECT_EQ(want.cy, HIWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0))) << std::hex << style;
    RECT item = {};
    SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(want.cx, item.right - item.left) << std::hex << style;
  }
}

TEST_F(Menus, TheBarIsFoundByNumberOrBarWindowThroughItsTitles) {
  HWND bar = reinterpret_cast<HWND>(CreateMenuBar(0, host_, UISTYLE_OFFICE2007));
  ASSERT_TRUE(IsWindow(bar));
  AddMenuTitle("&File");
  AddMenuItem(101, "&Open", nullptr, nullptr, nullptr, 0);
  AddMenuTitle("&Build");
  HMENU build = CurrentHandle();
  AddMenuItem(8, "&Run$ctrl+r", nullptr, nullptr, nullptr, 0);
  SetWindowPos(bar, nullptr, 0, 0, 400, 24, SWP_NOZORDER);

  EXPECT_EQ(24, GetMenuBarHeight(0));
  EXPECT_EQ(24, GetMenuBarHeight(reinterpret_cast<intptr_t>(bar)));
  EXPECT_EQ(0, GetMenuBarHeight(77));
  // Item 8 lies in the second title's drop-down: the walk goes on past the first title.
  EXPECT_EQ(1, SetMenuItemDisabled(0, 8, 1));
  EXPECT_TRUE(GetMenuState(build, 8, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(1, SetMenuItemDisabled(reinterpret_cast<intptr_t>(bar), 8, 0));
  EXPECT_FALSE(GetMenuState(build, 8, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
  EXPECT_EQ(0, SetMenuItemDisabled(0, 9, 1));
  EXPECT_EQ(0, SetMenuItemDisabled(77, 8, 1));
  EXPECT_EQ(0, GetMenuItemChecked(0, 8));
  CheckMenuItem(build, 8, MF_BYCOMMAND | MF_CHECKED);
  EXPECT_EQ(1, GetMenuItemChecked(reinterpret_cast<intptr_t>(bar), 8));
  EXPECT_EQ(-1, GetMenuItemChecked(0, 9));
  EXPECT_EQ(-1, GetMenuItemChecked(77, 8));
  EXPECT_EQ("&Run$ctrl+r", GetMenuItemText(reinterpret_cast<intptr_t>(build), 8));
  EXPECT_EQ("", GetMenuItemText(0, 9));
}

class MenuShortcuts : public Menus {
 protected:
  static constexpr UINT kPumped = WM_APP + 7;
  // Takes every message posted so far off the queue, as the program's loop would: the
  // shortcut hook only acts on messages that are removed.
  static void Pump() {
    PostThreadMessageA(GetCurrentThreadId(), kPumped, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == kPumped) break;
      DispatchMessageA(&msg);
    }
  }
  void CtrlKey(WPARAM key) {
    for (auto [message, k] : {std::pair<UINT, WPARAM>{WM_KEYDOWN, VK_CONTROL},
                              {WM_KEYDOWN, key},
                              {WM_KEYUP, key},
                              {WM_KEYUP, VK_CONTROL}}) {
      PostMessageA(host_, message, k, 1);
    }
    Pump();
  }
};

TEST_F(MenuShortcuts, DisablingAnItemUnbindsItsShortcutAndEnablingRestoresIt) {
  CreateMenuBar(0, host_, UISTYLE_OFFICE2007);
  AddMenuTitle("&Build");
  HMENU build = CurrentHandle();
  ASSERT_EQ(1, AddMenuItem(8, "&Run$ctrl+r", nullptr, nullptr, nullptr, 0));
  CtrlKey('R');
  EXPECT_EQ(std::vector<int>{8}, gSeen.commands);

  gSeen.commands.clear();
  ASSERT_EQ(1, SetMenuItemDisabled(0, 8, 1));
  EXPECT_TRUE(GetMenuState(build, 8, MF_BYCOMMAND) & MF_GRAYED);
  CtrlKey('R');
  EXPECT_TRUE(gSeen.commands.empty());

  ASSERT_EQ(1, SetMenuItemDisabled(0, 8, 0));
  EXPECT_FALSE(GetMenuState(build, 8, MF_BYCOMMAND) & MF_GRAYED);
  CtrlKey('R');
  EXPECT_EQ(std::vector<int>{8}, gSeen.commands);
}

TEST_F(Menus, MinusOneTakesAnIdNoToolkitMenuHolds) {
  HMENU other = CreatePopup(-1, 0);
  // The ids the counter hands out next are taken by items of another menu.
  const int next = AllocateCommandId() - 1;
  ASSERT_EQ(1, AddMenuItem(next, "taken", nullptr, nullptr, nullptr, 0));
  ASSERT_EQ(1, AddMenuItem(next - 1, "taken too", nullptr, nullptr, nullptr, 0));
  CreatePopup(-1, 0);
  HMENU popup = CurrentHandle();
  const int id = AddMenuItem(-1, "new", nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(next - 2, id);
  EXPECT_EQ(0, GetMenuState(other, id, MF_BYCOMMAND) == 0xFFFFFFFF ? 0 : 1);
  EXPECT_NE(nullptr, ItemOf(popup, id));
  const int second = AddMenuItem(-1, "newer", nullptr, nullptr, nullptr, 0);
  EXPECT_NE(0, second);
  EXPECT_NE(id, second);
}

TEST_F(Menus, AnImagedItemHasThreeIcons) {
  CreatePopup(-1, UISTYLE_OFFICE2007);
  HMENU popup = CurrentHandle();
  HICON red = Icon(0xFF0000), blue = Icon(0x0000FF), green = Icon(0x00FF00);
  ASSERT_EQ(1, AddMenuItem(1, "only normal", red, nullptr, nullptr, 0));
  ASSERT_EQ(1, AddMenuItem(2, "all three", red, blue, green, 0));
  ASSERT_EQ(1, AddMenuItem(3, "none", nullptr, nullptr, nullptr, 0));

  const MenuItem* only = ItemOf(popup, 1);
  ASSERT_NE(nullptr, only->imageList);
  EXPECT_EQ(3, ImageList_GetImageCount(only->imageList));
  EXPECT_EQ(0xFF0000u, ListColour(only->imageList, 0));
  EXPECT_EQ(0xFF0000u, ListColour(only->imageList, 1));  // hot: the normal image again
  HICON recoloured = RecolourImageForStyle(red, UISTYLE_OFFICE2007);
  ASSERT_NE(nullptr, recoloured);
  EXPECT_EQ(IconColour(recoloured), ListColour(only->imageList, 2));
  EXPECT_NE(0xFF0000u, ListColour(only->imageList, 2));
  DestroyIcon(recoloured);
  EXPECT_EQ(-1, only->normalImageGiven);
  EXPECT_EQ(0, only->hotImageGiven);
  EXPECT_EQ(0, only->disabledImageGiven);

  const MenuItem* all = ItemOf(popup, 2);
  EXPECT_EQ(0x0000FFu, ListColour(all->imageList, 1));
  EXPECT_EQ(0x00FF00u, ListColour(all->imageList, 2));
  EXPECT_EQ(-1, all->hotImageGiven);
  EXPECT_EQ(-1, all->disabledImageGiven);

  EXPECT_EQ(nullptr, ItemOf(popup, 3)->imageList);
}

TEST_F(Menus, ASeparatorIsAnOwnerDrawnSystemSeparatorWithoutCommand) {
  CreatePopup(-1, UISTYLE_OFFICE2007);
  HMENU popup = CurrentHandle();
  AddMenuItem(1, "one", nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(0, AddMenuSeparator());
  AddMenuItem(2, "two", nullptr, nullptr, nullptr, 0);
  ASSERT_EQ(3, GetMenuItemCount(popup));

  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoA(popup, 1, TRUE, &info));
  EXPECT_EQ(static_cast<UINT>(MFT_OWNERDRAW | MFT_SEPARATOR), info.fType);
  EXPECT_EQ(0u, info.wID);
  const auto* separator = reinterpret_cast<const MenuItem*>(info.dwItemData);
  ASSERT_TRUE(MenuItemList.Contains(separator));
  EXPECT_EQ("", separator->text);
  EXPECT_EQ(1, separator->position);
  EXPECT_EQ(nullptr, separator->imageList);
  EXPECT_EQ(MenuImageHeight, separator->imageHeight);
  EXPECT_EQ(2, ItemOf(popup, 2)->position);
}

TEST_F(Menus, InsertingAnItemRenumbersTheItemsAfterIt) {
  const intptr_t number = CreateMenuBar(-1, host_, UISTYLE_OFFICE2007);
  AddMenuTitle("&File");
  HMENU file = CurrentHandle();
  AddMenuItem(1, "a", nullptr, nullptr, nullptr, 0);
  AddMenuItem(2, "b", nullptr, nullptr, nullptr, 0);
  AddMenuSeparator();
  AddMenuItem(3, "c", nullptr, nullptr, nullptr, 0);
  Record(file)->backgroundWidth = Record(file)->backgroundHeight = 50;

  ASSERT_EQ(1, InsertMenuItemAt(number, 1, 9, "x$ctrl+k", Icon(0xFF0000), nullptr, nullptr, -1));
  const MenuItem* x = ItemOf(file, 9);
  ASSERT_NE(nullptr, x);
  EXPECT_EQ(-1, x->kind);  // a negative last argument is the kind, not a submenu
  EXPECT_EQ(0, x->uiStyle);
  EXPECT_EQ(3, ImageList_GetImageCount(x->imageList));
  EXPECT_EQ(0, Record(file)->backgroundWidth);
  EXPECT_EQ(nullptr, GetSubMenu(file, 1));
  // Every record holds the position the system menu has its item at.
  for (int i = 0; i < GetMenuItemCount(file); ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(file, i, TRUE, &info));
    EXPECT_EQ(i, reinterpret_cast<const MenuItem*>(info.dwItemData)->position);
  }
  EXPECT_EQ(3, ItemOf(file, 2)->position + 1);
  EXPECT_EQ(4, ItemOf(file, 3)->position);

  // -1 or less appends; a popup by number becomes a submenu; nothing is removed. The
  // system reads a small number as the handle with those low bits, here the drop-down
  // itself: the toolkit's own number must win.
  const int alias = LOWORD(reinterpret_cast<uintptr_t>(file));
  ASSERT_TRUE(IsMenu(reinterpret_cast<HMENU>(static_cast<intptr_t>(alias))));
  HMENU sub = CreatePopup(alias, 0);
  ASSERT_EQ(1, InsertMenuItemAt(number, -5, 10, "sub", nullptr, nullptr, nullptr, alias));
  EXPECT_EQ(6, GetMenuItemCount(file));
  EXPECT_EQ(sub, GetSubMenu(file, 5));
  EXPECT_EQ(5, ItemOf(file, 10)->position);
  EXPECT_EQ(0, InsertMenuItemAt(4242, 0, 11, "unknown menu", nullptr, nullptr, nullptr, 0));
}

TEST_F(Menus, FreeingABarByNumberFreesOneTitlePerCall) {
  const intptr_t number = CreateMenuBar(-1, host_, UISTYLE_OFFICE2007);
  HWND bar = MenuBarWindow;
  AddMenuTitle("&File");
  AddMenuItem(1, "one$ctrl+o", Icon(0xFF0000), nullptr, nullptr, 0);
  AddMenuTitle("&Edit");
  AddMenuItem(2, "two", nullptr, nullptr, nullptr, 0);
  AddMenuSeparator();
  AddMenuTitle("&Help");
  ASSERT_EQ(3u, RecordsOf(number).size());
  ASSERT_EQ(3u, MenuItemList.Size());

  std::vector<HMENU> handles;
  for (Menu* m : RecordsOf(number)) handles.push_back(m->menuHandle);
  for (size_t left = 2; left != static_cast<size_t>(-1); --left) {
    EXPECT_EQ(1, FreeMenu(number));
    EXPECT_EQ(left, RecordsOf(number).size());
    EXPECT_FALSE(IsMenu(handles[2 - left]));
  }
  EXPECT_EQ(0, FreeMenu(number));
  EXPECT_TRUE(MenuItemList.Empty());
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(nullptr, ToolbarList.Find([bar](const Toolbar& t) { return t.window == bar; }));
}

TEST_F(Menus, FreeingAPlaceholderEmptiesNoPopup) {
  CreatePopup(60, 0);
  HMENU popup = CurrentHandle();
  AddMenuItem(1, "kept", Icon(0xFF0000), nullptr, nullptr, 0);
  AddMenuSeparator();
  const intptr_t number = CreateMenuBar(-1, host_, 0);
  ASSERT_EQ(MenuPlaceholderHandle(), RecordsOf(number)[0]->menuHandle);

  EXPECT_EQ(1, FreeMenu(number));
  EXPECT_TRUE(RecordsOf(number).empty());
  EXPECT_EQ(2, GetMenuItemCount(popup));
  EXPECT_EQ(2u, ItemsOf(popup));
  ASSERT_NE(nullptr, ItemOf(popup, 1));
  EXPECT_NE(nullptr, ItemOf(popup, 1)->imageList);
}

TEST_F(Menus, FreeingAMenuClearsTheLinksToIt) {
  CreatePopup(61, 0);
  Menu* target = MenuList.Find([](const Menu& m) { return m.number == 61; });
  CreatePopup(62, 0);
  Menu* button = MenuList.Find([](const Menu& m) { return m.number == 62; });
  CreatePopup(63, 0);
  Menu* own = MenuList.Find([](const Menu& m) { return m.number == 63; });
  button->linkedDropDown = target;

  EXPECT_EQ(1, FreeMenu(61));
  EXPECT_EQ(MenuLinkNone(), button->linkedDropDown);
  EXPECT_EQ(MenuLinkOwn(), own->linkedDropDown);
  EXPECT_EQ(0, FreeMenu(61));
}

TEST_F(Menus, ARefusedItemLeavesNoRecordImagesOrShortcut) {
  SetDebugLogSink(&CollectLog);
  CreatePopup(64, UISTYLE_OFFICE2007);
  AddMenuItem(1, "kept$ctrl+k", nullptr, nullptr, nullptr, 0);
  const size_t items = MenuItemList.Size();
  // The menu's handle was destroyed behind the toolkit's back: the system refuses.
  DestroyMenu(CurrentHandle());
  EXPECT_EQ(0, AddMenuItem(6, "gone$ctrl+g", Icon(0xFF0000), nullptr, nullptr, 0));
  EXPECT_EQ(0, AddMenuItem(-1, "gone too$ctrl+l", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(0, InsertMenuItemAt(64, 0, 7, "gone again$ctrl+l", Icon(0xFF0000), nullptr, nullptr, 0));
  EXPECT_EQ(items, MenuItemList.Size());
  EXPECT_NE(gLog.end(), std::find(gLog.begin(), gLog.end(), "failed on: gone$ctrl+g"));
  EXPECT_NE(gLog.end(), std::find(gLog.begin(), gLog.end(), "failed on: gone again$ctrl+l"));
  // An unknown submenu number adds no item without its submenu.
  CreatePopup(65, 0);
  EXPECT_EQ(0, AddMenuItem(7, "no sub", nullptr, nullptr, nullptr, 4343));
  EXPECT_EQ(0, GetMenuItemCount(CurrentHandle()));

  // No shortcut was bound for the refused items; the kept item's still fires.
  PostMessageA(host_, WM_KEYDOWN, VK_CONTROL, 1);
  for (WPARAM key : {'L', 'G', 'K'}) PostMessageA(host_, WM_KEYDOWN, key, 1);
  PostMessageA(host_, WM_KEYUP, VK_CONTROL, 1);
  PostThreadMessageA(GetCurrentThreadId(), WM_APP + 9, 0, 0);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_APP + 9) DispatchMessageA(&msg);
  EXPECT_EQ(std::vector<int>{1}, gSeen.commands);
}

// A pointer move to the screen point, with a button change there when `buttons` is set.
void MouseAt(POINT p, DWORD buttons) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((p.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = static_cast<LONG>((p.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof(in));
  Sleep(60);
}

void ClickAt(POINT p) {
  MouseAt(p, 0);
  MouseAt(p, MOUSEEVENTF_LEFTDOWN);
  MouseAt(p, MOUSEEVENTF_LEFTUP);
}

// Clicks the popup's items as a person would while the GUI thread tracks the menu.
struct Clicker {
  HMENU menu;
  std::vector<UINT> positions;  // clicked in turn
  bool openAfterFirst = false;  // the popup was still shown after the first click
  bool sawPopup = false;
};

DWORD WINAPI ClickItems(void* param) {
  auto* c = static_cast<Clicker*>(param);
  HWND popup = nullptr;
  for (int i = 0; i < 100 && !popup; ++i) {
    HWND w = FindWindowA("#32768", nullptr);
    if (w && IsWindowVisible(w))
      popup = w;
    else
      Sleep(30);
  }
  if (!popup) return 0;
  c->sawPopup = true;
  Sleep(200);
  for (size_t i = 0; i < c->positions.size(); ++i) {
    RECT r = {};
    if (!GetMenuItemRect(nullptr, c->menu, c->positions[i], &r)) break;
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Sleep(200);
    if (i == 0) c->openAfterFirst = IsWindowVisible(popup) != 0;
  }
  // Whatever happened, the menu must end for the test to go on.
  if (IsWindowVisible(popup)) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
  }
  return 0;
}

// A real popup on a visible window, clicked with the system's input: the separator is
// measured and drawn by the owner, but a click on it selects nothing and sends no command,
// while a click on an item does.
TEST_F(Menus, AClickOnASeparatorSendsNoCommand) {
  HWND owner = CreateWindowExA(0, HostClass(), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, owner);
  CreatePopup(-1, UISTYLE_OFFICE2007);
  HMENU popup = CurrentHandle();
  AddMenuItem(501, "First", nullptr, nullptr, nullptr, 0);
  AddMenuSeparator();
  AddMenuItem(502, "Second", nullptr, nullptr, nullptr, 0);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoA(popup, 1, TRUE, &info));
  const ULONG_PTR separator = info.dwItemData;

  SetForegroundWindow(owner);
  SetActiveWindow(owner);
  PumpMessagesFor(100);
  Clicker clicker{popup, {1, 2}};
  HANDLE thread = CreateThread(nullptr, 0, ClickItems, &clicker, 0, nullptr);
  ASSERT_NE(nullptr, thread);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, 100, 100, owner, nullptr);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  PumpMessagesFor(200);
  DestroyWindow(owner);

  ASSERT_TRUE(clicker.sawPopup);
  EXPECT_GE(gSeen.measured[separator], 1);
  EXPECT_GE(gSeen.drawn[separator], 1);
  EXPECT_TRUE(clicker.openAfterFirst);
  EXPECT_EQ(std::vector<int>{502}, gSeen.commands);
}

}  // namespace
