// Menu items changed after they were added, menu style and font, tool-bar menu buttons and
// what the owner window's procedure does for its menus. Menus are real system menus with
// owner-drawn items whose records sit in the toolkit's lists, as the menu creators leave
// them; bars are real tool bars in real rebar bands.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "band_test_windows.h"
#include "support/waits.h"
#include "toolbar_test_support.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/shortcut_rules.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_item_images.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menu_owner_messages.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menu_style.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_menu_buttons.h"

using namespace tovrel;
using namespace frametest;

namespace {

constexpr int kMenuBarFlags = 0x1A54;

class MenuItems : public BandWindows {
 protected:
  void SetUp() override {
    BandWindows::SetUp();
    host_ = MakeHost(0, 0, 500, 300);
    EnsureMenuFont();
    RadioGroupNumber = 0;
    RadioGroupMenu = nullptr;
  }

  void TearDown() override {
    for (MenuItem& item : MenuItemList) {
      if (item.imageList) ImageList_Destroy(item.imageList);
    }
    MenuItemList.Clear();
    MenuList.Clear();
    for (HMENU menu : menus_) DestroyMenu(menu);
    for (HICON icon : icons_) DestroyIcon(icon);
    FreeToolbar(-1);
    SetMenuImageSize(16, 16);
    BandWindows::TearDown();
  }

  HICON Icon(uint32_t rgb) {
    icons_.push_back(SolidIcon(rgb));
    return icons_.back();
  }

  // A popup as CreatePopup leaves it; `owner` stands in for a title's owner window.
  Menu& Popup(intptr_t number, int style = 0, HWND owner = nullptr) {
    menus_.push_back(CreatePopupMenu());
    Menu& m = MenuList.Add();
    m.number = number;
    m.ownerWindow = owner;
    m.barWindow = MenuNoBar();
    m.menuHandle = menus_.back();
    m.titleCommand = -1;
    m.popupFlag = -1;
    m.linkedDropDown = MenuLinkOwn();
    m.uiStyle = style;
    m.backgroundWidth = m.backgroundHeight = 50;
    return m;
  }

  // An owner-drawn item appended as AddMenuItem appends it.
  MenuItem& Item(Menu& menu, int commandId, const std::string& text, HANDLE image = nullptr, HANDLE disabled = nullptr,
                 HMENU submenu = nullptr) {
    MenuItem& item = MenuItemList.Add();
    item.menu = &menu;
    item.menuHandle = menu.menuHandle;
    item.text = text;
    item.position = GetMenuItemCount(menu.menuHandle);
    item.imageWidth = MenuImageWidth;
    item.imageHeight = MenuImageHeight;
    item.uiStyle = menu.uiStyle;
    item.imageList = MakeMenuItemImages(item, image, nullptr, disabled, menu.uiStyle, 16, 16);
    RegisterItemShortcut(menu.ownerWindow, commandId, text);
    std::string buffer = text;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE | MIIM_STRING | (submenu ? MIIM_SUBMENU : 0);
    info.fType = MFT_OWNERDRAW;
    info.wID = commandId;
    info.hSubMenu = submenu;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    info.dwTypeData = &buffer[0];
    info.cch = static_cast<UINT>(buffer.size());
    EXPECT_TRUE(InsertMenuItemA(menu.menuHandle, static_cast<UINT>(-1), TRUE, &info));
    return item;
  }

  static MenuItem* RecordAt(HMENU menu, int position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return nullptr;
    return reinterpret_cast<MenuItem*>(info.dwItemData);
  }

  static UINT State(HMENU menu, int commandId) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    EXPECT_TRUE(GetMenuItemInfoA(menu, commandId, FALSE, &info));
    return info.fState;
  }
  static bool Checked(HMENU menu, int commandId) { return (State(menu, commandId) & MFS_CHECKED) != 0; }

  // The command a shortcut text is bound to in the window's bindings; 0: unbound.
  static int BoundCommand(HWND window, const std::string& shortcut) {
    ShortcutKey key = {};
    EXPECT_TRUE(ParseShortcut(shortcut, &key));
    ToolkitList<ShortcutBinding>* list = ShortcutMap.Find(HandleKey(window));
    if (!list) return 0;
    for (const ShortcutBinding& b : *list) {
      if (b.keyCode == key.keyCode && b.flags == key.flags) return b.commandId;
    }
    return 0;
  }

  // A menu bar on `parent` as CreateMenuBar makes it: a flat list tool bar, no padding.
  HWND MenuBar(HWND parent) {
    const intptr_t number = CreateToolbar(-1, parent, 0, 0, kMenuBarFlags);
    HWND bar = GetToolbarWindow(number);
    EXPECT_NE(nullptr, bar);
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, 0);
    SendMessageA(bar, TB_SETPADDING, 0, 0);
    return bar;
  }

  static SIZE TextSize(const std::string& text) {
    RECT r = {0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont);
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {r.right - r.left, r.bottom - r.top};
  }

  // A title as AddMenuTitle adds it: a drop-down button sized to its text.
  Menu& Title(HWND bar, HWND owner, const std::string& text, int style) {
    const int id = AddToolbarTextButton(-1, text, BTNS_DROPDOWN);
    EXPECT_NE(0, id);
    const SIZE t = TextSize(text);
    const SIZE size = TitleButtonSize(style, t.cx, t.cy);
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, size.cy));
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(size.cx);
    SendMessageA(bar, TB_SETBUTTONINFOA, id, reinterpret_cast<LPARAM>(&info));
    Menu& m = Popup(77, style, owner);
    m.barWindow = bar;
    m.titleCommand = id;
    m.popupFlag = 0;
    return m;
  }

  static int ButtonWidth(HWND bar, int commandId) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    SendMessageA(bar, TB_GETBUTTONINFOA, commandId, reinterpret_cast<LPARAM>(&info));
    return info.cx;
  }
  static int ButtonHeight(HWND bar) { return HIWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0)); }

  HWND host_ = nullptr;
  std::vector<HMENU> menus_;
  std::vector<HICON> icons_;
};

// --- RemoveMenuItem ---

TEST_F(MenuItems, RemovingRenumbersTheItemsBehindAndUnbindsTheShortcut) {
  Menu& m = Popup(1, 0, host_);
  Item(m, 101, "A");
  MenuItem& b = Item(m, 102, "Bold$ctrl+b", Icon(0xFF0000));
  Item(m, 103, "C");
  Item(m, 104, "D");
  ASSERT_EQ(102, BoundCommand(host_, "ctrl+b"));

  EXPECT_NE(0, RemoveMenuItem(reinterpret_cast<intptr_t>(m.menuHandle), 102, 0));
  EXPECT_FALSE(MenuItemList.Contains(&b));
  EXPECT_EQ(0, BoundCommand(host_, "ctrl+b"));
  ASSERT_EQ(3, GetMenuItemCount(m.menuHandle));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i, RecordAt(m.menuHandle, i)->position) << i;
  EXPECT_EQ(0, m.backgroundWidth);

  // By position: the first goes, the others move up.
  EXPECT_NE(0, RemoveMenuItem(1, 0, 1));
  ASSERT_EQ(2, GetMenuItemCount(m.menuHandle));
  EXPECT_EQ("C", RecordAt(m.menuHandle, 0)->text);
  EXPECT_EQ(0, RecordAt(m.menuHandle, 0)->position);
  EXPECT_EQ(1, RecordAt(m.menuHandle, 1)->position);
}

TEST_F(MenuItems, RemovingByCommandFindsTheFirstMatchingMenuThatHoldsIt) {
  Menu& first = Popup(1);
  Menu& second = Popup(2);
  Item(first, 100, "first");
  Item(second, 100, "second");
  Item(second, 200, "only here");
  // -1 names every popup: the first lacks 200, so the second gives it up.
  EXPECT_NE(0, RemoveMenuItem(-1, 200, 0));
  EXPECT_EQ(1, GetMenuItemCount(first.menuHandle));
  EXPECT_EQ(1, GetMenuItemCount(second.menuHandle));
  EXPECT_NE(0, RemoveMenuItem(-1, 100, 0));
  EXPECT_EQ(0, GetMenuItemCount(first.menuHandle));
  EXPECT_EQ("second", RecordAt(second.menuHandle, 0)->text);
}

TEST_F(MenuItems, ARefusedRemovalLeavesRecordImagesAndShortcut) {
  Menu& m = Popup(1, 0, host_);
  MenuItem& item = Item(m, 101, "Open$ctrl+o", Icon(0x00FF00));
  const struct {
    intptr_t menu;
    int item;
    int byPosition;
  } refused[] = {{1, 999, 0}, {1, 1, 1}, {1, -1, 1}, {424242, 101, 0}, {0, 0, 1}};
  for (const auto& r : refused) {
    EXPECT_EQ(0, RemoveMenuItem(r.menu, r.item, r.byPosition)) << r.menu << " " << r.item;
    ASSERT_TRUE(MenuItemList.Contains(&item));
    EXPECT_EQ(3, ImageList_GetImageCount(item.imageList));
    EXPECT_EQ(101, BoundCommand(host_, "ctrl+o"));
    EXPECT_EQ(1, GetMenuItemCount(m.menuHandle));
  }
}

// --- SetMenuItemState ---

TEST_F(MenuItems, RadioItemsOfOneGroupUncheckEachOther) {
  Menu& m1 = Popup(1);
  Menu& m2 = Popup(2);
  Item(m1, 1, "one");
  Item(m1, 2, "two");
  Item(m2, 3, "three");
  const HMENU h1 = m1.menuHandle, h2 = m2.menuHandle;
  struct Step {
    HMENU menu;
    int id;
    int flags;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    bool one, two, three;
  };
  const Case cases[] = {
      {"second of a group", {{h1, 1, 2}, {h1, 2, 2}}, false, true, false},
      {"group closed after the first", {{h1, 1, 2 | 0x10000}, {h1, 2, 2}}, true, true, false},
      {"another menu starts a group", {{h1, 1, 2}, {h2, 3, 2}}, true, false, true},
      {"back to the first", {{h1, 1, 2}, {h1, 2, 2}, {h1, 1, 2}}, true, false, false},
  };
  for (const Case& c : cases) {
    for (MenuItem& item : MenuItemList) item.radioFlag = 0;
    for (int id : {1, 2}) SetMenuItemState(1, id, 0);
    SetMenuItemState(2, 3, 0);
    SetMenuItemState(-5, 0, 0x10000);  // a fresh group for each case
    for (const Step& s : c.steps) EXPECT_EQ(1, SetMenuItemState(reinterpret_cast<intptr_t>(s.menu), s.id, s.flags));
    EXPECT_EQ(c.one, Checked(h1, 1)) << c.name;
    EXPECT_EQ(c.two, Checked(h1, 2)) << c.name;
    EXPECT_EQ(c.three, Checked(h2, 3)) << c.name;
  }
}

TEST_F(MenuItems, RadioPeersAreFoundByRecordNotByPosition) {
  // Both items stand at position 0 of their own menus and belong to one group.
  Menu& m1 = Popup(1);
  Menu& m2 = Popup(2);
  Item(m1, 1, "here");
  MenuItem& peer = Item(m2, 3, "there");
  ASSERT_EQ(1, SetMenuItemState(2, 3, 2));
  RadioGroupMenu = nullptr;  // the next radio item joins this group
  ASSERT_EQ(peer.radioGroup, RadioGroupNumber);
  ASSERT_EQ(1, SetMenuItemState(1, 1, 2));
  EXPECT_TRUE(Checked(m1.menuHandle, 1));
  EXPECT_FALSE(Checked(m2.menuHandle, 3));
}

TEST_F(MenuItems, ImageCheckMarkAndPlainCheckStates) {
  Menu& m = Popup(1);
  MenuItem& item = Item(m, 5, "x", Icon(0x0000FF));
  const struct {
    int flags;
    bool checkedBefore;
    bool checked;
    int mark;
  } cases[] = {
      {0x1000, true, true, 1},      {0x1000, false, false, 1}, {0, true, false, 0},
      {1 | 0x1000, false, true, 1}, {1, false, true, 0},
  };
  for (const auto& c : cases) {
    SetMenuItemState(1, 5, c.checkedBefore ? 1 : 0);
    item.imageCheckMark = c.mark ? 0 : 1;
    m.backgroundWidth = 40;
    EXPECT_EQ(1, SetMenuItemState(1, 5, c.flags)) << c.flags;
    EXPECT_EQ(c.checked, Checked(m.menuHandle, 5)) << c.flags;
    EXPECT_EQ(c.mark, item.imageCheckMark) << c.flags;
    EXPECT_EQ(0, m.backgroundWidth);
  }
}

TEST_F(MenuItems, AnUnknownItemStillClosesTheRadioGroup) {
  Popup(1);
  const int group = RadioGroupNumber;
  EXPECT_EQ(0, SetMenuItemState(1, 42, 2));
  EXPECT_EQ(group, RadioGroupNumber);
  EXPECT_EQ(1, SetMenuItemState(1, 42, 0x10000));
  EXPECT_EQ(group + 1, RadioGroupNumber);
  EXPECT_EQ(nullptr, RadioGroupMenu);
}

// --- SetMenuItem ---

TEST_F(MenuItems, NewTextKeepsTheImagesWhenNoneAreGiven) {
  Menu& m = Popup(1);
  MenuItem& item = Item(m, 7, "old", Icon(0xFF0000));
  HIMAGELIST list = item.imageList;
  EXPECT_EQ(1, SetMenuItem(1, 7, "new", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(list, item.imageList);
  EXPECT_EQ(0xFF0000u, ListColour(item.imageList, 0));
  EXPECT_EQ("new", item.text);
  char text[32] = {};
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_FTYPE;
  info.dwTypeData = text;
  info.cch = sizeof(text);
  ASSERT_TRUE(GetMenuItemInfoA(m.menuHandle, 7, FALSE, &info));
  EXPECT_STREQ("new", text);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);

  EXPECT_EQ(1, SetMenuItem(1, 7, "new", Icon(0x00FF00), nullptr, nullptr, 0));
  EXPECT_EQ(0x00FF00u, ListColour(item.imageList, 0));
  EXPECT_EQ(0x00FF00u, ListColour(item.imageList, 1));  // no hot image: the image again
  EXPECT_EQ(-1, item.normalImageGiven);
  EXPECT_EQ(0, item.hotImageGiven);
  EXPECT_EQ(0, SetMenuItem(1, 8, "none", nullptr, nullptr, nullptr, 0));
}

TEST_F(MenuItems, ANewSubmenuLeavesTheOldOneIntact) {
  Menu& oldSub = Popup(10);
  Item(oldSub, 11, "a");
  Item(oldSub, 12, "b");
  Menu& newSub = Popup(20);
  Menu& m = Popup(1);
  Item(m, 5, "first");
  MenuItem& item = Item(m, 6, "opens", nullptr, nullptr, oldSub.menuHandle);
  Item(m, 7, "last");
  ASSERT_TRUE(SetMenuItemInfoA(m.menuHandle, 6, FALSE, [] {
    static MENUITEMINFOA info = {sizeof(info), MIIM_STATE};
    info.fState = MFS_GRAYED | MFS_CHECKED;
    return &info;
  }()));

  // Given as a menu number.
  EXPECT_EQ(1, SetMenuItem(1, 6, "opens new", nullptr, nullptr, nullptr, 20));
  EXPECT_EQ(newSub.menuHandle, GetSubMenu(m.menuHandle, 1));
  EXPECT_EQ(3, GetMenuItemCount(m.menuHandle));
  EXPECT_EQ(&item, RecordAt(m.menuHandle, 1));
  EXPECT_EQ(1, item.position);
  EXPECT_TRUE(IsMenu(oldSub.menuHandle));
  EXPECT_EQ(2, GetMenuItemCount(oldSub.menuHandle));
  // The item keeps its state through being put in again.
  EXPECT_EQ(static_cast<UINT>(MFS_GRAYED | MFS_CHECKED), State(m.menuHandle, 6) & (MFS_GRAYED | MFS_CHECKED));

  // A number that names no menu changes nothing.
  EXPECT_EQ(0, SetMenuItem(1, 6, "elsewhere", nullptr, nullptr, nullptr, 31337));
  EXPECT_EQ(newSub.menuHandle, GetSubMenu(m.menuHandle, 1));
  EXPECT_EQ("opens new", item.text);
}

TEST_F(MenuItems, NewTextMovesTheShortcut) {
  Menu& m = Popup(1, 0, host_);
  Item(m, 7, "Open$ctrl+o");
  Item(m, 8, "Print$ctrl+p");
  EXPECT_EQ(1, SetMenuItem(1, 7, "Save$ctrl+s", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(0, BoundCommand(host_, "ctrl+o"));
  EXPECT_EQ(7, BoundCommand(host_, "ctrl+s"));

  // A disabled item is given no shortcut until it is enabled.
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  info.fState = MFS_GRAYED;
  ASSERT_TRUE(SetMenuItemInfoA(m.menuHandle, 8, FALSE, &info));
  RegisterItemShortcut(host_, -1, "Print$ctrl+p");
  EXPECT_EQ(1, SetMenuItem(1, 8, "Print all$ctrl+shift+p", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(0, BoundCommand(host_, "ctrl+shift+p"));
}

TEST_F(MenuItems, ANewImageSizeServesOnlyImagesGivenLater) {
  Menu& m = Popup(1);
  MenuItem& item = Item(m, 7, "x", Icon(0xFF0000));
  EXPECT_EQ(0, SetMenuImageSize(24, 20));
  int w = 0, h = 0;
  ImageList_GetIconSize(item.imageList, &w, &h);
  EXPECT_EQ(16, w);
  EXPECT_EQ(16, h);
  EXPECT_EQ(1, SetMenuItem(1, 7, "x", Icon(0x00FF00), nullptr, nullptr, 0));
  ImageList_GetIconSize(item.imageList, &w, &h);
  EXPECT_EQ(24, w);
  EXPECT_EQ(20, h);
  EXPECT_EQ(24, item.imageWidth);
  EXPECT_EQ(20, item.imageHeight);
}

// --- SetMenuStyle, SetMenuFont ---

class MenuBarStyle : public MenuItems {
 protected:
  void SetUp() override {
    MenuItems::SetUp();
    rebar_ = MakeRebar(host_);
    bar_ = MenuBar(host_);
  }
  // Titles first, then the band, whose height keeps `margin` over the buttons.
  void Band(int margin) {
    AddBand(rebar_, bar_, 0, ButtonHeight(bar_) + margin, 1);
    ASSERT_EQ(rebar_, GetParent(bar_));
  }
  HWND rebar_ = nullptr;
  HWND bar_ = nullptr;
};

TEST_F(MenuBarStyle, TheSameFontAgainChangesNoSize) {
  for (int style : {0, 5, 6, UISTYLE_OFFICE2007}) {
    SCOPED_TRACE(style);
    MenuList.Clear();
    FreeToolbar(-1);
    bar_ = MenuBar(host_);
    Menu& file = Title(bar_, host_, "&File", style);
    Menu& edit = Title(bar_, host_, "Edit the things", style);
    Band(3);
    const int band = static_cast<int>(SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0)) - 1;
    const int height = ButtonHeight(bar_), minChild = MinChild(rebar_, band);
    const int fileWidth = ButtonWidth(bar_, file.titleCommand), editWidth = ButtonWidth(bar_, edit.titleCommand);
    const HFONT before = MenuFont;

    EXPECT_EQ(1, SetMenuFont(reinterpret_cast<intptr_t>(MenuFont)));
    EXPECT_NE(before, MenuFont);
    EXPECT_EQ(0u, GetObjectType(before));
    EXPECT_EQ(height, ButtonHeight(bar_));
    EXPECT_EQ(minChild, MinChild(rebar_, band));
    EXPECT_EQ(fileWidth, ButtonWidth(bar_, file.titleCommand));
    EXPECT_EQ(editWidth, ButtonWidth(bar_, edit.titleCommand));
    EXPECT_EQ(0, file.backgroundWidth);
    SendMessageA(rebar_, RB_DELETEBAND, band, 0);
  }
}

TEST_F(MenuBarStyle, RefitsGiveTitlesTheSizeTheirCreationGave) {
  for (int style : {0, UISTYLE_WHIDBEY, UISTYLE_OFFICE2003, UISTYLE_OFFICE2007}) {
    SCOPED_TRACE(style);
    const intptr_t number = CreateMenuBar(-1, host_, style);
    ASSERT_NE(0, number);
    AddMenuTitle("&File");
    AddMenuTitle("\\bWindow\\b");  // markup: the bar shows the plain text
    HWND bar = MenuBarWindow;
    AddBand(rebar_, bar, 0, ButtonHeight(bar) + 3, 10 + style % 7);
    const int band = static_cast<int>(SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0)) - 1;
    std::vector<int> ids;
    for (const Menu& m : MenuList) {
      if (m.barWindow == bar && m.popupFlag == 0) ids.push_back(m.titleCommand);
    }
    ASSERT_EQ(2u, ids.size());
    const int height = ButtonHeight(bar), minChild = MinChild(rebar_, band);
    const int first = ButtonWidth(bar, ids[0]), second = ButtonWidth(bar, ids[1]);

    EXPECT_EQ(1, SetMenuFont(reinterpret_cast<intptr_t>(GetMenuFont())));
    EXPECT_EQ(height, ButtonHeight(bar));
    EXPECT_EQ(minChild, MinChild(rebar_, band));
    EXPECT_EQ(first, ButtonWidth(bar, ids[0]));
    EXPECT_EQ(second, ButtonWidth(bar, ids[1]));
    SendMessageA(host_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(height, ButtonHeight(bar));
    EXPECT_EQ(minChild, MinChild(rebar_, band));
    EXPECT_EQ(first, ButtonWidth(bar, ids[0]));
    EXPECT_EQ(1, SetMenuStyle(number, style));
    EXPECT_EQ(height, ButtonHeight(bar));
    EXPECT_EQ(second, ButtonWidth(bar, ids[1]));
    SendMessageA(rebar_, RB_DELETEBAND, band, 0);
    EXPECT_EQ(1, FreeMenu(number));
    EXPECT_EQ(1, FreeMenu(number));
  }
}

TEST_F(MenuBarStyle, ABiggerFontKeepsTheBandMargin) {
  Menu& file = Title(bar_, host_, "File", UISTYLE_OFFICE2007);
  Band(3);
  HFONT big = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  ASSERT_EQ(1, SetMenuFont(reinterpret_cast<intptr_t>(big)));
  // The caller keeps its own font.
  EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(big));
  EXPECT_NE(big, MenuFont);
  const SIZE text = TextSize("File");
  ASSERT_GT(text.cy, 14);
  EXPECT_EQ(text.cx + 16, ButtonWidth(bar_, file.titleCommand));
  EXPECT_EQ(text.cy + 6, ButtonHeight(bar_));
  EXPECT_EQ(text.cy + 6 + 3, MinChild(rebar_, 0));
  DeleteObject(big);
}

TEST_F(MenuBarStyle, WhatIsNoFontLeavesTheMenuFont) {
  const HFONT before = MenuFont;
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  for (intptr_t value : {reinterpret_cast<intptr_t>(brush), intptr_t{12345}, intptr_t{0}}) {
    EXPECT_EQ(0, SetMenuFont(value)) << value;
    EXPECT_EQ(before, MenuFont);
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(MenuFont));
  }
  DeleteObject(brush);
}

TEST_F(MenuBarStyle, ATitlesDropDownRestylesTheWholeBar) {
  Menu& file = Title(bar_, host_, "File", 0);
  Menu& edit = Title(bar_, host_, "Edit", 0);
  Band(2);
  Menu& popup = Popup(5);
  EXPECT_EQ(1, SetMenuStyle(reinterpret_cast<intptr_t>(edit.menuHandle), UISTYLE_OFFICE2003));
  EXPECT_EQ(6, file.uiStyle);
  EXPECT_EQ(6, edit.uiStyle);
  EXPECT_EQ(0, popup.uiStyle);
  const SIZE text = TextSize("File");
  const SIZE expected = TitleButtonSize(6, text.cx, text.cy);
  EXPECT_EQ(expected.cx, ButtonWidth(bar_, file.titleCommand));
  EXPECT_EQ(expected.cy, ButtonHeight(bar_));
  if (text.cy < 14) {
    EXPECT_EQ(19, ButtonHeight(bar_));
  }
  EXPECT_EQ(expected.cy + 2, MinChild(rebar_, 0));
  EXPECT_EQ(0, SetMenuStyle(987654, 0));
}

TEST_F(MenuBarStyle, APopupsStyleLeavesTheBarAlone) {
  Menu& file = Title(bar_, host_, "File", 0);
  Band(0);
  const int width = ButtonWidth(bar_, file.titleCommand), height = ButtonHeight(bar_);
  Menu& popup = Popup(5, 0);
  HICON red = Icon(0xFF0000);
  MenuItem& generated = Item(popup, 50, "generated", red);
  MenuItem& own = Item(popup, 51, "own disabled", red, Icon(0x00FF00));
  const uint32_t before = ListColour(generated.imageList, 2);

  EXPECT_EQ(1, SetMenuStyle(5, UISTYLE_OFFICE2007));
  EXPECT_EQ(UISTYLE_OFFICE2007, popup.uiStyle);
  EXPECT_EQ(0, file.uiStyle);
  EXPECT_EQ(width, ButtonWidth(bar_, file.titleCommand));
  EXPECT_EQ(height, ButtonHeight(bar_));
  // Generated disabled images follow the menu's style; the caller's own stay.
  EXPECT_EQ(UISTYLE_OFFICE2007, generated.uiStyle);
  EXPECT_NE(before, ListColour(generated.imageList, 2));
  EXPECT_EQ(0x00FF00u, ListColour(own.imageList, 2));
}

// --- Tool-bar menu buttons ---

class MenuButtons : public MenuItems {
 protected:
  void SetUp() override {
    MenuItems::SetUp();
    toolbar_ = GetToolbarWindow(CreateToolbar(-1, host_, 16, 16, 0));
    ASSERT_NE(nullptr, toolbar_);
  }
  BYTE ButtonStyle(int commandId) {
    TBBUTTON b = {};
    SendMessageA(toolbar_, TB_GETBUTTON, SendMessageA(toolbar_, TB_COMMANDTOINDEX, commandId, 0),
                 reinterpret_cast<LPARAM>(&b));
    return b.fsStyle;
  }
  Menu* ButtonRecord(int commandId) {
    return MenuList.Find([&](const Menu& m) { return m.barWindow == toolbar_ && m.titleCommand == commandId; });
  }
  HWND toolbar_ = nullptr;
};

TEST_F(MenuButtons, AButtonIsTiedToItsMenuOrToNothing) {
  Menu& popup = Popup(300, UISTYLE_OFFICE2007);
  EXPECT_EQ(600, AddToolbarMenuButton(600, 300, "x", nullptr, nullptr, nullptr, 0));
  EXPECT_TRUE(ButtonStyle(600) & BTNS_DROPDOWN);
  Menu* record = ButtonRecord(600);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(-1, record->popupFlag);
  EXPECT_EQ(popup.menuHandle, record->menuHandle);
  EXPECT_EQ(&popup, record->linkedDropDown);
  EXPECT_EQ(UISTYLE_OFFICE2007, record->uiStyle);
  EXPECT_NE(300, record->number);

  EXPECT_EQ(601, AddToolbarMenuButton(601, 99999, "y", nullptr, nullptr, nullptr, 0));
  ASSERT_NE(nullptr, ButtonRecord(601));
  EXPECT_EQ(MenuLinkNone(), ButtonRecord(601)->linkedDropDown);
  EXPECT_NE(ButtonRecord(600)->number, ButtonRecord(601)->number);

  // Given by handle, inserted first.
  EXPECT_EQ(602, InsertToolbarMenuButton(reinterpret_cast<intptr_t>(toolbar_), 0,
                                         reinterpret_cast<intptr_t>(popup.menuHandle), 602, "z", nullptr, nullptr,
                                         nullptr, 0));
  EXPECT_EQ(0, SendMessageA(toolbar_, TB_COMMANDTOINDEX, 602, 0));
  EXPECT_EQ(&popup, ButtonRecord(602)->linkedDropDown);

  EXPECT_EQ(603, AddToolbarMenuButton(603, 300, "whole", nullptr, nullptr, nullptr, BTNS_WHOLEDROPDOWN));
  EXPECT_TRUE(ButtonStyle(603) & BTNS_WHOLEDROPDOWN);
  EXPECT_FALSE(ButtonStyle(603) & BTNS_DROPDOWN);

  // A taken command id adds nothing.
  const size_t records = MenuList.Size();
  EXPECT_EQ(0, AddToolbarMenuButton(600, 300, "again", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(records, MenuList.Size());
  EXPECT_EQ(0, InsertToolbarMenuButton(123456, 0, 300, 604, "t", nullptr, nullptr, nullptr, 0));
  EXPECT_TRUE(SubclassList.Find([this](const SubclassEntry& e) { return e.window == host_; }));
}

TEST_F(MenuButtons, RebindingAButtonsMenu) {
  Menu& first = Popup(300);
  Menu& second = Popup(301);
  ASSERT_EQ(600, AddToolbarMenuButton(600, 99999, "x", nullptr, nullptr, nullptr, 0));
  ASSERT_EQ(700, AddToolbarButton(700, "plain", nullptr, nullptr, nullptr, 0));
  const intptr_t tb = reinterpret_cast<intptr_t>(toolbar_);

  EXPECT_EQ(1, SetToolbarButtonMenu(tb, 600, 301));
  EXPECT_EQ(&second, ButtonRecord(600)->linkedDropDown);
  EXPECT_EQ(second.menuHandle, ButtonRecord(600)->menuHandle);
  EXPECT_EQ(1, SetToolbarButtonMenu(tb, 600, reinterpret_cast<intptr_t>(first.menuHandle)));
  EXPECT_EQ(&first, ButtonRecord(600)->linkedDropDown);
  EXPECT_EQ(1, SetToolbarButtonMenu(tb, 600, 88888));
  EXPECT_EQ(MenuLinkNone(), ButtonRecord(600)->linkedDropDown);

  EXPECT_EQ(0, SetToolbarButtonMenu(tb, 700, 300));  // a button without a menu
  EXPECT_EQ(0, SetToolbarButtonMenu(tb, 777, 300));
  EXPECT_EQ(0, SetToolbarButtonMenu(123456, 600, 300));
}

TEST_F(MenuButtons, FreeingAMenuButtonLeavesTheMenuItDropsDown) {
  Menu& popup = Popup(300);
  ASSERT_TRUE(AppendMenuA(popup.menuHandle, MF_STRING, 1, "kept"));
  ASSERT_EQ(600, AddToolbarMenuButton(600, 300, "x", nullptr, nullptr, nullptr, 0));
  const intptr_t buttonNumber = ButtonRecord(600)->number;

  EXPECT_EQ(1, FreeMenu(buttonNumber));
  EXPECT_EQ(nullptr, ButtonRecord(600));
  EXPECT_TRUE(IsMenu(popup.menuHandle));
  EXPECT_EQ(1, GetMenuItemCount(popup.menuHandle));
  EXPECT_EQ(&popup, MenuList.Find([](const Menu& m) { return m.number == 300; }));
}

// --- The owner window's procedure ---

class MenuOwner : public MenuItems {
 protected:
  void SetUp() override {
    MenuItems::SetUp();
    shown_ = MakeHost(0, 0, 400, 200, true);
    other_ = MakeHost(0, 220, 400, 200, true);
  }
  HWND Shadow() {
    HWND w =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(nullptr, w);
    return w;
  }
  static bool NeedsPaint(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != 0; }

  HWND shown_ = nullptr;
  HWND other_ = nullptr;
};

TEST_F(MenuOwner, DeactivationMarksTheOwnersTitlesAndEndsTitleShadows) {
  HWND bar = MenuBar(shown_);
  Menu& file = Title(bar, shown_, "File", 0);
  Menu& edit = Title(bar, shown_, "Edit", 0);
  HWND otherBar = MenuBar(other_);
  Menu& foreign = Title(otherBar, other_, "View", 0);
  const HWND right = Shadow(), bottom = Shadow();
  MenuTitleShadow& shadow = MenuTitleShadowList.Add();
  shadow.rightShadow = right;
  shadow.bottomShadow = bottom;
  shadow.barWindow = bar;
  UpdateWindow(shown_);
  UpdateWindow(other_);
  PumpMessagesFor(50);
  ASSERT_FALSE(NeedsPaint(bar));

  EXPECT_EQ(0, SendMessageA(shown_, WM_ACTIVATE, WA_INACTIVE, 0));
  EXPECT_EQ(-1, file.inactiveFlag);
  EXPECT_EQ(-1, edit.inactiveFlag);
  EXPECT_EQ(0, foreign.inactiveFlag);
  EXPECT_TRUE(MenuTitleShadowList.Empty());
  EXPECT_FALSE(IsWindow(right));
  EXPECT_FALSE(IsWindow(bottom));
  EXPECT_TRUE(NeedsPaint(bar));
  EXPECT_FALSE(NeedsPaint(otherBar));

  UpdateWindow(bar);
  EXPECT_EQ(0, SendMessageA(shown_, WM_ACTIVATE, WA_ACTIVE, 0));
  EXPECT_EQ(0, file.inactiveFlag);
  EXPECT_EQ(0, edit.inactiveFlag);
  EXPECT_TRUE(NeedsPaint(bar));
}

TEST_F(MenuOwner, ANewSystemMenuFontRefitsEveryTitle) {
  struct Bar {
    int style;
    HWND bar;
    Menu* title;
  };
  std::vector<Bar> bars;
  HWND rebar = MakeRebar(shown_);
  for (int style : {0, 6, UISTYLE_OFFICE2007}) {
    HWND bar = MenuBar(shown_);
    Menu& title = Title(bar, shown_, "Window", style);
    // Sized for another font, as before a change of the system's menu font.
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, 40));
    TBBUTTONINFOA info = {sizeof(info), TBIF_SIZE};
    info.cx = 150;
    SendMessageA(bar, TB_SETBUTTONINFOA, title.titleCommand, reinterpret_cast<LPARAM>(&info));
    bars.push_back({style, bar, &title});
  }
  AddBand(rebar, bars[0].bar, 0, ButtonHeight(bars[0].bar) + 4, 1);
  const HFONT before = MenuFont;

  EXPECT_EQ(0, SendMessageA(shown_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0));
  EXPECT_NE(before, MenuFont);
  EXPECT_EQ(0u, GetObjectType(before));
  EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(MenuFont));
  const SIZE text = TextSize("Window");
  for (const Bar& b : bars) {
    SCOPED_TRACE(b.style);
    EXPECT_EQ(text.cx + (b.style == 0 ? 18 : 16), ButtonWidth(b.bar, b.title->titleCommand));
    if (text.cy < 14) {
      EXPECT_EQ(b.style == 0 ? 22 : b.style == 6 ? 19 : 20, ButtonHeight(b.bar));
    }
    EXPECT_EQ(TitleButtonSize(b.style, text.cx, text.cy).cy, ButtonHeight(b.bar));
  }
  EXPECT_EQ(ButtonHeight(bars[0].bar) + 4, MinChild(rebar, 0));
}

TEST_F(MenuOwner, ThemeChangesVoidEveryBackgroundCache) {
  Menu& a = Popup(1);
  Menu& b = Popup(2);
  a.backgroundHeight = b.backgroundHeight = 30;
  InvalidateMenuCaches();
  EXPECT_EQ(0, a.backgroundWidth);
  EXPECT_EQ(0, a.backgroundHeight);
  EXPECT_EQ(0, b.backgroundWidth);
}

}  // namespace
