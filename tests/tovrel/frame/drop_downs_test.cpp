// Drop-downs of menu-bar titles and tool-bar buttons, the switch to the next title, the
// chevron's menu and popups shown at a point, tracked by the system on a visible window.
// What the tracking state holds while a menu is open is read from a timer that the menu
// loop dispatches; the same timer ends the menu.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "support/waits.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_menu_buttons.h"

using namespace tovrel;

namespace {

// What the host window's own procedure saw.
struct Seen {
  std::vector<int> commands;  // menu commands (no control as sender)
  int dropDownNotes = 0;      // TBN_DROPDOWN
  std::vector<HMENU> initMenus;
};
Seen gSeen;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) gSeen.commands.push_back(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(TBN_DROPDOWN)) ++gSeen.dropDownNotes;
      return 0;
    case WM_INITMENUPOPUP:
      gSeen.initMenus.push_back(reinterpret_cast<HMENU>(wParam));
      return 0;
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
    wc.lpszClassName = "DropDownsTestHost";
    RegisterClassExA(&wc);
    return "DropDownsTestHost";
  }();
  return name;
}

// One step per timer tick once the popup shows; true lets the menu end.
struct Probe {
  std::function<bool(HWND popup, int tick)> step;
  int tick = 0;
  int idle = 0;
  bool sawPopup = false;
};
Probe* gProbe = nullptr;

HWND ShownPopup() {
  HWND popup = FindWindowA("#32768", nullptr);
  return popup && IsWindowVisible(popup) ? popup : nullptr;
}

void CALLBACK ProbeTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!gProbe) return;
  HWND popup = ShownPopup();
  if (!popup) {
    if (++gProbe->idle > 50) EndMenu();
    return;
  }
  gProbe->sawPopup = true;
  const int tick = gProbe->tick++;
  // Whatever happened, the menu must end for the test to go on.
  if (tick > 30 || !gProbe->step || gProbe->step(popup, tick)) EndMenu();
}

void PostKey(HWND window, WPARAM key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(window, WM_KEYDOWN, key, 1 | scan);
  PostMessageA(window, WM_KEYUP, key, 1 | scan | (LPARAM{3} << 30));
}

bool MutexFree() { return MenuMutex.owner.load() == 0; }

HMENU ShownMenu(HWND popup) { return reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)); }

class DropDowns : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen = Seen();
    host_ = CreateWindowExA(0, HostClass(), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 500, 300, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, host_);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 200, 100, 20, host_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    number_ = CreateMenuBar(-1, host_, UISTYLE_OFFICE2007);
    ASSERT_NE(0, number_);
    bar_ = MenuBarWindow;
    AddMenuTitle("&File");
    file_ = reinterpret_cast<HMENU>(CurrentMenuHandle);
    AddMenuItem(701, "&Open", nullptr, nullptr, nullptr, 0);
    AddMenuItem(702, "&Save", nullptr, nullptr, nullptr, 0);
    AddMenuTitle("&Edit");
    edit_menu_ = reinterpret_cast<HMENU>(CurrentMenuHandle);
    AddMenuItem(711, "&Copy", nullptr, nullptr, nullptr, 0);
    AddMenuItem(712, "&Paste", nullptr, nullptr, nullptr, 0);
    SetWindowPos(bar_, nullptr, 0, 0, 400, 24, SWP_NOZORDER);
    fileId_ = ButtonId(bar_, 0);
    editId_ = ButtonId(bar_, 1);
    SetForegroundWindow(host_);
    SetActiveWindow(host_);
    SetFocus(edit_);
    PumpMessagesFor(100);
  }
  void TearDown() override {
    gProbe = nullptr;
    FreeMenu(-1);
    if (SubclassEntry* e = SubclassList.Find([this](const SubclassEntry& s) { return s.window == host_; })) {
      SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(e->previousProc));
      SubclassList.Delete(e);
    }
    DestroyWindow(host_);
    KeyboardTitleIndex = -1;
    OpenTitleIndex = -1;
    MenuKeyboardOpen = 0;
    SavedFocusWindow = nullptr;
    PumpMessagesFor(50);
  }

  static int ButtonId(HWND toolbar, int index) {
    TBBUTTON b = {};
    SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
    return b.idCommand;
  }
  static RECT ScreenRectOf(HWND toolbar, int command) {
    RECT r = {};
    SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  // Runs `call` with the probe's timer ticking in every message loop meanwhile.
  template <typename Call>
  auto WithProbe(Probe& probe, Call call) {
    gProbe = &probe;
    SetTimer(host_, 9, 100, &ProbeTick);
    auto result = call();
    KillTimer(host_, 9);
    gProbe = nullptr;
    PumpMessagesFor(50);
    return result;
  }

  LRESULT PressButton(HWND toolbar, int command) {
    NMTOOLBARA press = {};
    press.hdr.hwndFrom = toolbar;
    press.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(toolbar));
    press.hdr.code = TBN_DROPDOWN;
    press.iItem = command;
    return SendMessageA(host_, WM_NOTIFY, press.hdr.idFrom, reinterpret_cast<LPARAM>(&press));
  }

  LRESULT HotItemChange(HWND toolbar, int from, int to) {
    NMTBHOTITEM change = {};
    change.hdr.hwndFrom = toolbar;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(toolbar));
    change.hdr.code = TBN_HOTITEMCHANGE;
    change.idOld = from;
    change.idNew = to;
    return SendMessageA(host_, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
  }

  HWND host_ = nullptr;
  HWND edit_ = nullptr;
  intptr_t number_ = 0;
  HWND bar_ = nullptr;
  HMENU file_ = nullptr;
  HMENU edit_menu_ = nullptr;
  int fileId_ = 0;
  int editId_ = 0;
};

// The state the popup window, the painter and the hooks read while the drop-down is open,
// and nothing of it afterwards; the focus goes back where it was.
TEST_F(DropDowns, ATitlePressTracksItsDropDownOwnedByTheBarAndCleansUp) {
  const RECT title = ScreenRectOf(bar_, fileId_);
  struct During {
    HMENU open = nullptr, shown = nullptr;
    Menu* record = nullptr;
    int titleWidth = 0, left = 0, bottom = 0, state = 0, openFlag = 0, contextFlag = 0;
    bool hook = false, mutexFree = false;
    RECT popup = {};
  } during;
  Probe probe;
  probe.step = [&](HWND popup, int) {
    during.open = OpenDropDownMenu;
    during.shown = ShownMenu(popup);
    during.record = OpenTitleRecord;
    during.titleWidth = TitleWidth;
    during.left = DropDownLeft;
    during.bottom = TitleScreenBottom;
    during.state = TitleDropDownState;
    if (OpenTitleRecord) {
      during.openFlag = OpenTitleRecord->openFlag;
      during.contextFlag = OpenTitleRecord->contextFlag;
    }
    during.hook = MenuBarNavigationHookHandle != nullptr;
    during.mutexFree = MutexFree();
    GetWindowRect(popup, &during.popup);
    SetFocus(bar_);  // as the keyboard would have it; the focus must come back anyway
    return true;
  };
  const LRESULT result = WithProbe(probe, [&] { return PressButton(bar_, fileId_); });

  EXPECT_EQ(0, result);
  ASSERT_TRUE(probe.sawPopup);
  EXPECT_EQ(file_, during.open);
  EXPECT_EQ(file_, during.shown);
  ASSERT_NE(nullptr, during.record);
  EXPECT_EQ(file_, during.record->menuHandle);
  EXPECT_EQ(title.right - title.left, during.titleWidth);
  EXPECT_EQ(title.left, during.left);
  EXPECT_EQ(title.bottom, during.bottom);
  EXPECT_EQ(-1, during.state);
  EXPECT_EQ(-1, during.openFlag);
  EXPECT_EQ(1, during.contextFlag);
  EXPECT_TRUE(during.hook);
  EXPECT_TRUE(during.mutexFree);
  // Under the title, one pixel up so that the frames join.
  EXPECT_EQ(title.left, during.popup.left);
  EXPECT_EQ(title.bottom - 1, during.popup.top);
  // The tool bar owns the menu: the window gets its commands, not its set-up messages.
  EXPECT_TRUE(gSeen.initMenus.empty());

  EXPECT_EQ(nullptr, OpenDropDownMenu);
  EXPECT_EQ(nullptr, OpenTitleRecord);
  EXPECT_EQ(0, TitleDropDownState);
  EXPECT_EQ(nullptr, MenuBarNavigationHookHandle);
  EXPECT_EQ(nullptr, SavedFocusWindow);
  EXPECT_EQ(edit_, GetFocus());
  EXPECT_EQ(-1, SendMessageA(bar_, TB_GETHOTITEM, 0, 0));
  ToolkitLock(MenuMutex);
  Menu* record = FindMenu(reinterpret_cast<intptr_t>(file_));
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(0, record->openFlag);
  EXPECT_EQ(0, record->contextFlag);
  ToolkitUnlock(MenuMutex);
  EXPECT_TRUE(MutexFree());
}

// A tool-bar button drops its linked popup, framed for a button; a button linked to a menu
// that was unknown at creation leaves the press to the procedure before the toolkit's.
TEST_F(DropDowns, AMenuButtonDropsItsLinkedPopupAndAnUnlinkedOneNothing) {
  HMENU popup = CreatePopup(-1, UISTYLE_OFFICE2007);
  AddMenuItem(801, "One", nullptr, nullptr, nullptr, 0);
  const intptr_t toolbarNumber = CreateToolbar(-1, host_, 0, 0, UISTYLE_OFFICE2007 | TBSTYLE_FLAT);
  HWND toolbar = GetToolbarWindow(toolbarNumber);
  ASSERT_NE(nullptr, toolbar);
  ASSERT_EQ(850, AddToolbarMenuButton(850, reinterpret_cast<intptr_t>(popup), "Linked", nullptr, nullptr, nullptr, 0));
  ASSERT_EQ(851, AddToolbarMenuButton(851, 99999, "Unlinked", nullptr, nullptr, nullptr, 0));
  SetWindowPos(toolbar, nullptr, 0, 40, 300, 30, SWP_NOZORDER);
  const RECT button = ScreenRectOf(toolbar, 850);

  Probe none;
  NMTOOLBARA press = {};
  press.hdr.hwndFrom = toolbar;
  press.hdr.code = TBN_DROPDOWN;
  press.iItem = 851;
  EXPECT_EQ(77, WithProbe(none, [&] { return OnToolbarDropDown(host_, press, 77); }));
  EXPECT_FALSE(none.sawPopup);
  EXPECT_TRUE(gSeen.initMenus.empty());

  struct During {
    HMENU open = nullptr;
    int toolbarOpen = 0, titleState = 0;
    HBRUSH border = nullptr;
    bool hook = true;
    RECT popup = {};
  } during;
  Probe probe;
  probe.step = [&](HWND window, int) {
    during.open = OpenDropDownMenu;
    during.toolbarOpen = ToolbarDropDownOpen;
    during.titleState = TitleDropDownState;
    during.border = ToolbarDropDownBorder;
    during.hook = MenuBarNavigationHookHandle != nullptr;
    GetWindowRect(window, &during.popup);
    return true;
  };
  EXPECT_EQ(0, WithProbe(probe, [&] { return PressButton(toolbar, 850); }));
  ASSERT_TRUE(probe.sawPopup);
  EXPECT_EQ(popup, during.open);
  EXPECT_EQ(1, during.toolbarOpen);
  EXPECT_EQ(0, during.titleState);
  EXPECT_NE(nullptr, during.border);
  EXPECT_FALSE(during.hook);  // title switching is for menu bars only
  // An office popup overlaps its button's bottom by 2 and the frames by 1 more.
  EXPECT_EQ(button.bottom - 3, during.popup.top);
  EXPECT_EQ(0, ToolbarDropDownOpen);
  FreeToolbar(toolbarNumber);
}

TEST_F(DropDowns, APressWhileATitleIsSelectedFromTheKeyboardOnlyLeavesKeyboardMode) {
  KeyboardTitleIndex = 0;
  SavedFocusWindow = edit_;
  SetFocus(host_);
  Probe probe;
  EXPECT_EQ(0, WithProbe(probe, [&] { return PressButton(bar_, fileId_); }));
  EXPECT_FALSE(probe.sawPopup);
  EXPECT_TRUE(gSeen.initMenus.empty());
  EXPECT_EQ(-1, KeyboardTitleIndex);
  EXPECT_EQ(nullptr, SavedFocusWindow);
  EXPECT_EQ(edit_, GetFocus());
  EXPECT_TRUE(MutexFree());
}

// A switch opens the title the hot item moved to, or, when it moved to none, the title the
// switch waits for, which is made hot again. No key is synthesised for a switch: the first
// item stays unselected even while the keyboard drives the bar.
TEST_F(DropDowns, AHotItemChangeAfterAnEndedDropDownOpensTheNextTitle) {
  struct Row {
    int openTitle;
    bool toEdit;  // else to no item
  } rows[] = {{0, true}, {1, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.toEdit);
    gSeen = Seen();
    OpenTitleIndex = row.openTitle;
    MenuKeyboardOpen = 1;
    SavedFocusWindow = edit_;
    struct During {
      HMENU open = nullptr;
      int barHot = 0, openTitle = 0;
      bool firstSelected = true;
    } during;
    Probe probe;
    probe.step = [&](HWND, int tick) {
      if (tick < 3) return false;  // time for a posted key to arrive
      during.open = OpenDropDownMenu;
      during.barHot = BarHotItem;
      during.openTitle = OpenTitleIndex;
      during.firstSelected = (GetMenuState(edit_menu_, 0, MF_BYPOSITION) & MF_HILITE) != 0;
      return true;
    };
    EXPECT_EQ(0, WithProbe(probe, [&] { return HotItemChange(bar_, fileId_, row.toEdit ? editId_ : 0); }));
    ASSERT_TRUE(probe.sawPopup);
    EXPECT_EQ(edit_menu_, during.open);
    EXPECT_EQ(1, during.barHot);
    EXPECT_EQ(-1, during.openTitle);
    EXPECT_FALSE(during.firstSelected);
    EXPECT_EQ(-1, OpenTitleIndex);
    EXPECT_EQ(0, MenuKeyboardOpen);
    EXPECT_EQ(nullptr, OpenDropDownMenu);
  }
}

// Without an ended drop-down, and on a tool bar without titles, a hot item is only a hot item.
TEST_F(DropDowns, AHotItemChangeWithoutASwitchOpensNothing) {
  const intptr_t toolbarNumber = CreateToolbar(-1, host_, 0, 0, TBSTYLE_FLAT);
  HWND toolbar = GetToolbarWindow(toolbarNumber);
  AddToolbarTextButton(860, "A", 0);
  AddToolbarTextButton(861, "B", 0);
  SetWindowPos(toolbar, nullptr, 0, 40, 300, 30, SWP_NOZORDER);
  struct Row {
    HWND toolbar;
    int openTitle;
    int to;
  } rows[] = {{bar_, -1, editId_}, {toolbar, 1, 0}, {toolbar, 1, 861}};
  for (const Row& row : rows) {
    OpenTitleIndex = row.openTitle;
    Probe probe;
    EXPECT_EQ(0, WithProbe(probe, [&] { return HotItemChange(row.toolbar, 0, row.to); }));
    EXPECT_FALSE(probe.sawPopup);
    EXPECT_EQ(-1, SendMessageA(toolbar, TB_GETHOTITEM, 0, 0));
  }
  EXPECT_TRUE(gSeen.initMenus.empty());
  FreeToolbar(toolbarNumber);
}

// What the keyboard request is for: Wine's tool bar never drops a menu from the keyboard.
// Down moves the hot item and Enter sends the hot button's command, without TBN_DROPDOWN.
TEST_F(DropDowns, WineToolbarKeysMoveTheHotItemAndSendItsCommand) {
  HWND probeHost = CreateWindowExA(0, HostClass(), "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0,
                                 300, 24, probeHost, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[2] = {};
  const char* texts[2] = {"One", "Two"};
  for (int i = 0; i < 2; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 870 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    buttons[i].iString = reinterpret_cast<INT_PTR>(texts[i]);
  }
  SendMessageA(toolbar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
  SetForegroundWindow(probeHost);
  SetFocus(toolbar);
  SendMessageA(toolbar, TB_SETHOTITEM, 0, 0);
  PostKey(toolbar, VK_DOWN);
  PumpMessagesFor(150);
  EXPECT_EQ(1, SendMessageA(toolbar, TB_GETHOTITEM, 0, 0));
  PostKey(toolbar, VK_RETURN);
  PumpMessagesFor(150);
  EXPECT_EQ(std::vector<int>{871}, gSeen.commands);
  EXPECT_EQ(0, gSeen.dropDownNotes);
  DestroyWindow(probeHost);
}

// The keyboard's request opens the hot title as a press would: the parent's own procedure
// sees TBN_DROPDOWN, the first item is selected, and Enter runs that item once.
TEST_F(DropDowns, TheKeyboardRequestOpensTheHotTitleWithItsFirstItemSelected) {
  MenuKeyboardOpen = 1;
  SavedFocusWindow = edit_;
  SetFocus(bar_);
  SendMessageA(bar_, TB_SETHOTITEM, 1, 0);
  bool firstSelected = false;
  Probe probe;
  probe.step = [&](HWND, int tick) {
    if (tick == 3) {
      firstSelected = (GetMenuState(edit_menu_, 0, MF_BYPOSITION) & MF_HILITE) != 0;
      PostKey(GetFocus(), VK_RETURN);
    }
    return false;  // the key ends it
  };
  WithProbe(probe, [&] {
    PostMessageA(host_, WM_TOVREL_OPENHOTTITLE, 0, reinterpret_cast<LPARAM>(bar_));
    PumpMessagesFor(300);
    return 0;
  });
  ASSERT_TRUE(probe.sawPopup);
  EXPECT_EQ(1, gSeen.dropDownNotes);
  EXPECT_TRUE(firstSelected);
  EXPECT_EQ(std::vector<int>{711}, gSeen.commands);
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(edit_, GetFocus());
  EXPECT_LT(probe.tick, 30);  // ended by Enter, not by the probe
}

// A pointer move and click at the screen point, from another thread while the GUI thread
// tracks the menu.
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

struct TitleClicker {
  POINT title;
  HMENU menu;
  UINT item;
  HMENU shown = nullptr;
};

DWORD WINAPI ClickTitleThenItem(void* param) {
  auto* c = static_cast<TitleClicker*>(param);
  ClickAt(c->title);
  HWND popup = nullptr;
  for (int i = 0; i < 100 && !popup; ++i) {
    popup = ShownPopup();
    if (!popup) Sleep(30);
  }
  if (!popup) return 0;
  c->shown = ShownMenu(popup);
  Sleep(200);
  RECT r = {};
  if (GetMenuItemRect(nullptr, c->menu, c->item, &r)) ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  Sleep(200);
  if (ShownPopup()) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
  }
  return 0;
}

TEST_F(DropDowns, AClickOnATitleShowsItsDropDownAndAnItemClickSendsOneCommand) {
  const RECT title = ScreenRectOf(bar_, editId_);
  TitleClicker clicker{{(title.left + title.right) / 2, (title.top + title.bottom) / 2}, edit_menu_, 1};
  HANDLE thread = CreateThread(nullptr, 0, ClickTitleThenItem, &clicker, 0, nullptr);
  ASSERT_NE(nullptr, thread);
  WaitFor(
      [&] {
        PumpMessagesFor(20);
        return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
      },
      15000, 1);
  CloseHandle(thread);
  PumpMessagesFor(200);
  EXPECT_EQ(edit_menu_, clicker.shown);
  EXPECT_EQ(std::vector<int>{712}, gSeen.commands);
  EXPECT_EQ(nullptr, OpenDropDownMenu);
}

// The chevron lists the buttons the band has no room for, in their states, with a menu
// button's menu as its submenu; the buttons' menus outlive the chevron's.
TEST_F(DropDowns, TheChevronListsTheButtonsPastTheBandsEdge) {
  HMENU lent = CreatePopup(-1, UISTYLE_OFFICE2007);
  AddMenuItem(881, "Lent one", nullptr, nullptr, nullptr, 0);
  AddMenuItem(882, "Lent two", nullptr, nullptr, nullptr, 0);
  const intptr_t rebarNumber = CreateRebar(-1, host_, nullptr, 0, 0);
  HWND rebar = GetRebarWindow(rebarNumber);
  ASSERT_NE(nullptr, rebar);
  const intptr_t toolbarNumber = CreateToolbar(-1, host_, 0, 0, TBSTYLE_FLAT | TBSTYLE_LIST);
  HWND toolbar = GetToolbarWindow(toolbarNumber);
  for (int id = 890; id < 894; ++id) AddToolbarTextButton(id, "Button", 0);
  const int separator = AddToolbarSeparator();
  AddToolbarTextButton(894, "Hidden", 0);
  AddToolbarTextButton(895, "Greyed", 0);
  AddToolbarMenuButton(896, reinterpret_cast<intptr_t>(lent), "Menu", nullptr, nullptr, nullptr, 0);
  DisableToolbarButton(toolbarNumber, 895, 1);
  HideToolbarButton(toolbarNumber, 894, 1);
  SetWindowPos(toolbar, nullptr, 0, 0, 600, 24, SWP_NOZORDER);
  AddRebarBand(toolbar, "", 120, 40, 0, nullptr, 0);
  AddRebarBand(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 24, host_, nullptr,
                               GetModuleHandleA(nullptr), nullptr),
               "", 300, 40, 24, nullptr, 0);
  PumpMessagesFor(100);

  RECT band = {};
  SendMessageA(rebar, RB_GETRECT, 0, reinterpret_cast<LPARAM>(&band));
  MapWindowPoints(rebar, nullptr, reinterpret_cast<POINT*>(&band), 2);
  // The buttons whose right edge and 21 pixels pass the band's right edge; the toolkit's
  // separator as 0, the hidden button not at all.
  std::vector<UINT> past;
  for (int i = 0; i < 8; ++i) {
    RECT item = {};
    SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&item), 2);
    const int id = ButtonId(toolbar, i);
    if (item.right + 21 > band.right && id != 894) past.push_back(id == separator ? 0u : static_cast<UINT>(id));
  }
  ASSERT_NE(past.end(), std::find(past.begin(), past.end(), 0u));  // the fixture puts the separator past the edge
  ASSERT_LT(past.size(), 7u);
  ASSERT_EQ(896u, past.back());
  SetMenuImageSize(24, 24);  // the program's own size, which the chevron's menu must keep

  struct During {
    std::vector<UINT> ids;
    std::set<UINT> grey;
    HMENU submenu = nullptr;
  } during;
  Probe probe;
  probe.step = [&](HWND popup, int) {
    HMENU menu = ShownMenu(popup);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      const UINT id = GetMenuItemID(menu, i);
      HMENU sub = GetSubMenu(menu, i);
      const bool isSeparator = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR;
      during.ids.push_back(sub ? 896u : isSeparator ? 0u : id);
      if (sub) during.submenu = sub;
      if (!isSeparator && (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)))
        during.grey.insert(id);
    }
    return true;
  };
  NMREBARCHEVRON chevron = {};
  chevron.hdr.hwndFrom = rebar;
  chevron.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(rebar));
  chevron.hdr.code = RBN_CHEVRONPUSHED;
  chevron.uBand = 0;
  SendMessageA(rebar, RB_GETRECT, 0, reinterpret_cast<LPARAM>(&chevron.rc));
  chevron.rc.left = chevron.rc.right - 14;
  WithProbe(probe,
            [&] { return SendMessageA(host_, WM_NOTIFY, chevron.hdr.idFrom, reinterpret_cast<LPARAM>(&chevron)); });

  ASSERT_TRUE(probe.sawPopup);
  EXPECT_EQ(past, during.ids);
  EXPECT_EQ(std::set<UINT>{895}, during.grey);
  EXPECT_EQ(lent, during.submenu);
  // Owned by the rebar's parent, which got the menu's messages itself.
  ASSERT_FALSE(gSeen.initMenus.empty());
  EXPECT_NE(lent, gSeen.initMenus.front());
  EXPECT_TRUE(IsMenu(lent));
  EXPECT_EQ(2, GetMenuItemCount(lent));
  EXPECT_EQ(24, MenuImageWidth);
  EXPECT_EQ(24, MenuImageHeight);
  SetMenuImageSize(16, 16);
  EXPECT_EQ(nullptr, MenuClickProbeHookHandle);
  EXPECT_TRUE(MutexFree());
  FreeRebar(rebarNumber);
  FreeToolbar(toolbarNumber);
}

// A popup asked for past the work area's right edge ends 5 pixels inside it; the lock is
// free while it is tracked and after every way out.
TEST_F(DropDowns, ShowPopupMenuKeepsThePopupOnTheWorkArea) {
  HMENU popup = CreatePopup(-1, UISTYLE_OFFICE2007);
  AddMenuItem(901, "A rather long item text", nullptr, nullptr, nullptr, 0);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromWindow(host_, MONITOR_DEFAULTTONEAREST), &monitor);
  const int right = monitor.rcWork.right;
  const int x = right - 20;
  struct During {
    int left = 0, overhang = 0, width = 0;
    HMENU open = nullptr;
    bool hooks = false, mutexFree = false;
    RECT popup = {};
  } during;
  Probe probe;
  probe.step = [&](HWND window, int) {
    during.left = DropDownLeft;
    during.overhang = DropDownOverhang;
    during.width = DropDownWidth;
    during.open = OpenDropDownMenu;
    during.hooks = MenuMessageFilterHookHandle && MenuOutsideClickHookHandle;
    during.mutexFree = MutexFree();
    GetWindowRect(window, &during.popup);
    return true;
  };
  EXPECT_EQ(1, WithProbe(probe, [&] { return ShowPopupMenu(reinterpret_cast<intptr_t>(popup), host_, x, 100); }));
  ASSERT_TRUE(probe.sawPopup);
  ASSERT_GT(during.width, 20);
  EXPECT_EQ(right - during.width - 5, during.left);
  EXPECT_EQ(x + during.width - right + 6, during.overhang);
  // The popup window's own placement moves it back right by the overhang less 1, at most
  // 5 pixels: the room the shadow had kept.
  EXPECT_EQ(during.left + std::min(std::max(during.overhang - 1, 0), 5), during.popup.left);
  EXPECT_EQ(popup, during.open);
  EXPECT_TRUE(during.hooks);
  EXPECT_TRUE(during.mutexFree);
  EXPECT_EQ(nullptr, OpenDropDownMenu);
  EXPECT_EQ(nullptr, MenuMessageFilterHookHandle);
  EXPECT_EQ(nullptr, MenuOutsideClickHookHandle);
  EXPECT_EQ(edit_, GetFocus());
  EXPECT_TRUE(MutexFree());

  HMENU empty = CreatePopup(-1, 0);
  struct Row {
    const char* name;
    intptr_t menu;
    HWND owner;
  } rows[] = {
      {"unknown menu", 99999, host_},
      {"no items", reinterpret_cast<intptr_t>(empty), host_},
      {"no owner", reinterpret_cast<intptr_t>(popup), nullptr},
  };
  for (const Row& row : rows) {
    Probe none;
    EXPECT_EQ(0, WithProbe(none, [&] { return ShowPopupMenu(row.menu, row.owner, 100, 100); })) << row.name;
    EXPECT_FALSE(none.sawPopup) << row.name;
    EXPECT_TRUE(MutexFree()) << row.name;
    EXPECT_EQ(nullptr, OpenDropDownMenu) << row.name;
  }
}

}  // namespace
