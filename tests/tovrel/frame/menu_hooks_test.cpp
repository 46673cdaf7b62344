// The menu hooks fed the records the system hands them (key flag words, messages of the
// menu loop, low-level mouse records) with the tracking state set as the drop-down code
// sets it: keyboard mode of the bar, title switching, closing, the one selection routine,
// the scrolling copy's mnemonics, and clicks inside and outside open popups.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/waits.h"
#include "menu_hooks_fixture.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_keyboard_hook.h"

using namespace tovrel;

namespace {

constexpr LPARAM kAltPress = 0x20380001;
constexpr LPARAM kAltRepeat = 0x60380001;
constexpr LPARAM kRightAltPress = 0x21380001;
constexpr LPARAM kAltRelease = static_cast<LPARAM>(0xC0380001u);
constexpr LPARAM kF10Press = 0x00440001;
constexpr LPARAM kEscPress = 0x00010001;
constexpr LPARAM kDownPress = 0x01500001;
constexpr LPARAM kDownRepeat = 0x41500001;
constexpr LPARAM kEnterPress = 0x001C0001;
constexpr LPARAM kLeftPress = 0x014B0001;
constexpr LPARAM kLetterPress = 0x001F0001;  // S
constexpr LPARAM kLetterRelease = static_cast<LPARAM>(0xC01F0001u);

LRESULT Key(WPARAM key, LPARAM flags) { return MenuKeyboardHook(HC_ACTION, key, flags); }

LRESULT MenuMessage(HOOKPROC hook, UINT message, WPARAM wParam, LPARAM lParam = 0) {
  MSG msg = {};
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  return hook(MSGF_MENU, 0, reinterpret_cast<LPARAM>(&msg));
}

LPARAM ScreenPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

std::vector<std::string>* gLog = nullptr;
void CollectLog(const std::string& line) {
  if (gLog) gLog->push_back(line);
}

}  // namespace

TEST_F(MenuHooks, AltEntersKeyboardModeAndASecondAltLeaves) {
  EXPECT_EQ(1, Key(VK_MENU, kAltPress));
  EXPECT_EQ(1, MenuKeyboardOpen);
  EXPECT_EQ(1, MenuBarKeyState);
  EXPECT_EQ(bar_, MenuBarWindow);
  EXPECT_EQ(bar_, GetFocus());
  EXPECT_EQ(edit_, SavedFocusWindow);
  EXPECT_EQ(0, HotItem());
  // Its release and a held Alt leave the mode as it is.
  EXPECT_EQ(0, Key(VK_MENU, kAltRelease));
  EXPECT_EQ(0, Key(VK_MENU, kAltRepeat));
  EXPECT_EQ(1, MenuKeyboardOpen);

  EXPECT_EQ(1, Key(VK_MENU, kAltPress));
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(0, MenuBarKeyState);
  EXPECT_EQ(-1, OpenTitleIndex);
  EXPECT_EQ(-1, KeyboardTitleIndex);
  EXPECT_EQ(-1, BarHotItem);
  EXPECT_EQ(edit_, GetFocus());
  EXPECT_EQ(-1, HotItem());
}

// The window that had the focus went away meanwhile: the focus goes to the bar's window,
// never to nothing, where later keys would reach no window.
TEST_F(MenuHooks, LeavingWithTheSavedFocusGoneFocusesTheBarsWindow) {
  ASSERT_EQ(1, Key(VK_MENU, kAltPress));
  DestroyWindow(edit_);
  EXPECT_EQ(1, Key(VK_MENU, kAltPress));
  EXPECT_EQ(owner_, GetFocus());
}

TEST_F(MenuHooks, KeysThatDoNotEnterKeyboardMode) {
  struct Row {
    const char* what;
    WPARAM key;
    LPARAM flags;
    int f10Disabled;
  } rows[] = {
      {"held Alt", VK_MENU, kAltRepeat, 0},         {"right Alt", VK_MENU, kRightAltPress, 0},
      {"F10 while disabled", VK_F10, kF10Press, 1}, {"Down", VK_DOWN, kDownPress, 0},
      {"a letter", 'S', kLetterPress, 0},
  };
  for (const Row& r : rows) {
    F10MenuKeyDisabled = r.f10Disabled;
    EXPECT_EQ(0, Key(r.key, r.flags)) << r.what;
    EXPECT_EQ(0, MenuKeyboardOpen) << r.what;
    EXPECT_EQ(edit_, GetFocus()) << r.what;
    EXPECT_EQ(-1, HotItem()) << r.what;
    EXPECT_EQ(nullptr, TakeOpenRequest()) << r.what;
  }
  F10MenuKeyDisabled = 0;
  EXPECT_EQ(1, Key(VK_F10, kF10Press));
  EXPECT_EQ(1, MenuKeyboardOpen);
  EXPECT_EQ(bar_, GetFocus());
}

// A dialog in front of the bar's window has a root of its own: Alt, F10 and Esc are its.
TEST_F(MenuHooks, AFocusedDialogKeepsAltF10AndEscape) {
  HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, "MenuHooksOwner", "dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                100, 100, 200, 120, owner_, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, dialog, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  EnableWindow(owner_, FALSE);
  Focus(dialog, field);
  ASSERT_EQ(field, GetFocus());
  EXPECT_EQ(0, Key(VK_MENU, kAltPress));
  EXPECT_EQ(0, Key(VK_F10, kF10Press));
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(field, GetFocus());

  // The bar was in keyboard mode when the dialog came up: its state stays for later.
  MenuKeyboardOpen = 1;
  MenuBarKeyState = 1;
  MenuBarWindow = bar_;
  SavedFocusWindow = edit_;
  EXPECT_EQ(0, Key(VK_ESCAPE, kEscPress));
  EXPECT_EQ(0, Key(VK_MENU, kAltPress));
  EXPECT_EQ(0, Key(VK_DOWN, kDownPress));
  EXPECT_EQ(1, MenuKeyboardOpen);
  EXPECT_EQ(1, MenuBarKeyState);
  EXPECT_EQ(field, GetFocus());
  EXPECT_EQ(nullptr, TakeOpenRequest());

  EnableWindow(owner_, TRUE);
  DestroyWindow(dialog);
}

TEST_F(MenuHooks, EscapeAfterAltLeavesAndIsPassedOn) {
  std::vector<std::string> log;
  gLog = &log;
  SetDebugLogSink(&CollectLog);
  ASSERT_EQ(1, Key(VK_MENU, kAltPress));
  EXPECT_EQ(0, Key(VK_ESCAPE, kEscPress));
  SetDebugLogSink(nullptr);
  gLog = nullptr;
  EXPECT_EQ(std::vector<std::string>{"escape"}, log);
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(0, MenuBarKeyState);
  EXPECT_EQ(-1, HotItem());
  EXPECT_EQ(edit_, GetFocus());
}

TEST_F(MenuHooks, OnlyOtherKeysEndTheFirstKeyState) {
  ASSERT_EQ(1, Key(VK_MENU, kAltPress));
  EXPECT_EQ(0, Key(VK_LEFT, kLeftPress));  // the tool bar moves its hot item
  EXPECT_EQ(1, MenuBarKeyState);
  EXPECT_EQ(0, Key('S', kLetterPress));
  EXPECT_EQ(-2, MenuBarKeyState);
  // No longer the first key: Esc is the tool bar's, the mode stays.
  EXPECT_EQ(0, Key(VK_ESCAPE, kEscPress));
  EXPECT_EQ(1, MenuKeyboardOpen);
}

// The tool bar opens no title from the keyboard; Down and Enter ask the bar's window to.
TEST_F(MenuHooks, DownAndEnterInKeyboardModeAskForTheHotTitle) {
  struct Row {
    const char* what;
    WPARAM key;
    LPARAM flags;
  } rows[] = {{"Down", VK_DOWN, kDownPress}, {"held Down", VK_DOWN, kDownRepeat}, {"Enter", VK_RETURN, kEnterPress}};
  for (const Row& r : rows) {
    ASSERT_EQ(1, Key(VK_MENU, kAltPress)) << r.what;
    SendMessageA(bar_, TB_SETHOTITEM, 1, 0);
    EXPECT_EQ(1, Key(r.key, r.flags)) << r.what;
    EXPECT_EQ(bar_, TakeOpenRequest()) << r.what;
    EXPECT_EQ(nullptr, TakeOpenRequest()) << r.what;
    EXPECT_EQ(-2, MenuBarKeyState) << r.what;
    EXPECT_EQ(1, HotItem()) << r.what;
    // While the drop-down is open the keys are the menu's.
    OpenDropDownMenu = file_;
    EXPECT_EQ(0, Key(r.key, r.flags)) << r.what;
    EXPECT_EQ(nullptr, TakeOpenRequest()) << r.what;
    OpenDropDownMenu = nullptr;
    ASSERT_EQ(1, Key(VK_MENU, kAltPress)) << r.what;
    ASSERT_EQ(0, MenuKeyboardOpen) << r.what;
  }
  // Out of keyboard mode Down is the focused window's.
  EXPECT_EQ(0, Key(VK_DOWN, kDownPress));
  EXPECT_EQ(nullptr, TakeOpenRequest());
}

// Alt on a drop-down opened by the pointer: the navigation hook ends it, and the keyboard
// hook swallows the release that follows.
TEST_F(MenuHooks, AltClosesAPointerDropDownAndItsReleaseIsSwallowed) {
  OpenDropDownMenu = file_;
  MenuBarWindow = bar_;
  BarHotItem = 0;
  SavedFocusWindow = edit_;
  EXPECT_EQ(0, Key(VK_MENU, kAltPress));
  EXPECT_EQ(0, MenuKeyboardOpen);
  MenuMessage(&MenuBarNavigationHook, WM_SYSKEYDOWN, VK_MENU);
  EXPECT_EQ(-2, BarHotItem);
  OpenDropDownMenu = nullptr;
  Menu* title = FindMenu(reinterpret_cast<intptr_t>(file_));
  ASSERT_NE(nullptr, title);
  title->openFlag = -1;
  EXPECT_EQ(1, Key(VK_MENU, kAltRelease));
  EXPECT_EQ(0, title->openFlag);
  EXPECT_EQ(-1, BarHotItem);
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(edit_, GetFocus());
  // Only once: the next release is an ordinary one.
  EXPECT_EQ(0, Key(VK_MENU, kAltRelease));
}

TEST_F(MenuHooks, LeftAndRightSwitchTitlesWrappingAtTheEnds) {
  struct Row {
    WPARAM key;
    int hot;
    int next;
  } rows[] = {{VK_LEFT, 0, 2}, {VK_RIGHT, 2, 0}, {VK_LEFT, 2, 1}, {VK_RIGHT, 0, 1}};
  for (const Row& r : rows) {
    MenuBarWindow = bar_;
    OpenDropDownMenu = file_;
    MenuKeyboardOpen = 1;
    // As after the previous switch: the next title's drop-down opened and took the marker.
    OpenTitleIndex = -1;
    BarHotItem = r.hot;
    SubmenuDepth = 0;
    MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, r.key);
    EXPECT_EQ(r.next, OpenTitleIndex) << r.key << " from " << r.hot;
    EXPECT_EQ(-2, MenuKeyboardOpen);
    EXPECT_EQ(r.hot, HotItem());
    EXPECT_EQ(bar_, GetFocus());
    // The key is pressed on the bar once the drop-down's loop has ended, not into it.
    EXPECT_TRUE(DropKeys(bar_).empty());
    EXPECT_EQ(r.key, PendingTitleSwitchKey);
    // A switch under way takes no further arrow keys.
    MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, r.key);
    EXPECT_EQ(r.key, PendingTitleSwitchKey);
    PendingTitleSwitchKey = 0;
  }
}

TEST_F(MenuHooks, EscapeClosesOneKeyboardSubmenuThenTheDropDown) {
  MenuBarWindow = bar_;
  OpenDropDownMenu = file_;
  MenuKeyboardOpen = 1;
  BarHotItem = 0;
  SavedFocusWindow = edit_;
  SubmenuDepth = 1;
  EXPECT_EQ(0, MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ(0, SubmenuDepth);
  EXPECT_EQ(1, MenuKeyboardOpen);
  EXPECT_EQ(0, BarHotItem);
  EXPECT_EQ(0, DropDownKeyNavigation);
  MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(-1, BarHotItem);
  EXPECT_EQ(-1, OpenTitleIndex);
  EXPECT_EQ(1, DropDownKeyNavigation);
  EXPECT_EQ(edit_, GetFocus());
}

// The menu loop sends WM_MENUSELECT to the owner; the thread's sent-message hook hands it
// to the selection routine, which the hooks' Right then reads.
TEST_F(MenuHooks, AnItemWithASubmenuMakesRightOpenItInsteadOfSwitching) {
  MenuBarWindow = bar_;
  OpenDropDownMenu = file_;
  MenuKeyboardOpen = 1;
  BarHotItem = 0;
  MenuSelectionChanged(file_, 0, MF_OWNERDRAW | MF_HILITE | MF_POPUP);
  EXPECT_EQ(1, SubmenuOpening);
  EXPECT_EQ(sub_, OpeningSubmenu);
  EXPECT_EQ(1, PopupItemSelected);
  EXPECT_EQ(file_, MenuSelectParent);
  MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(1, SubmenuDepth);
  EXPECT_EQ(sub_, OpeningSubmenu);
  EXPECT_EQ(-1, OpenTitleIndex);
  EXPECT_TRUE(DropKeys(bar_).empty());
  // The popups of ShowPopupMenu keep their own copy of the same report.
  SubmenuOpening = 0;
  OpeningSubmenu = nullptr;
  MenuMessage(&MenuMessageFilterHook, WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(1, SubmenuOpening);
  EXPECT_EQ(sub_, OpeningSubmenu);

  MenuSelectionChanged(file_, 1, MF_OWNERDRAW | MF_HILITE);
  EXPECT_EQ(0, SubmenuOpening);
  EXPECT_EQ(nullptr, OpeningSubmenu);
  MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(1, OpenTitleIndex);
  EXPECT_EQ(static_cast<UINT>(VK_RIGHT), PendingTitleSwitchKey);
  PendingTitleSwitchKey = 0;
}

TEST_F(MenuHooks, TheSelectedItemsOwnMenuDecidesWhetherASubmenuOpens) {
  HMENU deeper = CreatePopupMenu();
  AppendMenuA(deeper, MF_STRING, 401, "x");
  AppendMenuA(sub_, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), "More");
  // Position 1 of the submenu opens one; position 1 of the drop-down ("Open") does not.
  OpenDropDownMenu = file_;
  MenuSelectionChanged(sub_, 1, MF_HILITE | MF_POPUP);
  EXPECT_EQ(1, SubmenuOpening);
  EXPECT_EQ(deeper, OpeningSubmenu);
  MenuSelectionChanged(nullptr, -1, 0xFFFF);  // the menu closed
  EXPECT_EQ(0, SubmenuOpening);
  EXPECT_EQ(nullptr, OpeningSubmenu);
  EXPECT_EQ(0, PopupItemSelected);
  RemoveMenu(sub_, 1, MF_BYPOSITION);
  DestroyMenu(deeper);
}

TEST_F(MenuHooks, ArrowKeysAndPointerMovesMarkHowTheMenuIsDriven) {
  MenuBarWindow = bar_;
  OpenDropDownMenu = file_;
  BarHotItem = 0;
  for (HOOKPROC hook : {&MenuBarNavigationHook, &MenuMessageFilterHook}) {
    MenuKeyboardOpen = 0;
    MenuMessage(hook, WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(1, MenuKeyboardOpen);
    EXPECT_EQ(1, MenuKeyNavigation);
    EXPECT_EQ(1, DropDownKeyNavigation);
    // Far from the bar: no title to switch to.
    MenuMessage(hook, WM_MOUSEMOVE, 0, ScreenPoint(700, 500));
    EXPECT_EQ(0, MenuKeyNavigation);
    EXPECT_EQ(0, DropDownKeyNavigation);
    MenuMessage(hook, WM_RBUTTONDOWN, 0);
    EXPECT_EQ(0, MenuKeyboardOpen);
  }
  EXPECT_EQ(VK_DOWN, LastArrowKey);
}

TEST_F(MenuHooks, PointerOverAnotherTitleChoosesItOnce) {
  MenuBarWindow = bar_;
  OpenDropDownMenu = file_;
  BarHotItem = 0;
  RECT title = {};
  SendMessageA(bar_, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title));
  MapWindowPoints(bar_, nullptr, reinterpret_cast<POINT*>(&title), 2);
  const LPARAM over = ScreenPoint((title.left + title.right) / 2, (title.top + title.bottom) / 2);

  // While the pointer rests on an item of a popup nothing is switched.
  PopupItemSelected = 1;
  MenuMessage(&MenuBarNavigationHook, WM_MOUSEMOVE, 0, over);
  EXPECT_EQ(-1, OpenTitleIndex);
  PopupItemSelected = 0;
  // A running scroll loop stops first; the same point counts again later.
  ScrollHover = 1;
  MenuMessage(&MenuBarNavigationHook, WM_MOUSEMOVE, 0, ScreenPoint(1, 1));
  MenuMessage(&MenuBarNavigationHook, WM_MOUSEMOVE, 0, over);
  EXPECT_EQ(1, ScrollAtEnd);
  MenuMessage(&MenuBarNavigationHook, WM_KEYDOWN, VK_LEFT);  // passed unchanged meanwhile
  EXPECT_TRUE(DropKeys(bar_).empty());
  ScrollAtEnd = 0;
  ScrollHover = 0;
  OpenTitleIndex = -1;
  MenuMessage(&MenuBarNavigationHook, WM_MOUSEMOVE, 0, over);
  EXPECT_EQ(1, OpenTitleIndex);
  EXPECT_EQ(1, KeyboardTitleIndex);
  // The same point again is no move.
  OpenTitleIndex = -1;
  MenuMessage(&MenuBarNavigationHook, WM_MOUSEMOVE, 0, over);
  EXPECT_EQ(-1, OpenTitleIndex);
  // Over the open title itself nothing is chosen.
  BarHotItem = 1;
  MenuMessage(&MenuBarNavigationHook, WM_MOUSEMOVE, 0, ScreenPoint(title.left + 2, title.top + 2));
  EXPECT_EQ(-1, OpenTitleIndex);
  EXPECT_EQ(1, KeyboardTitleIndex);
}

// In a scrolling copy a letter chooses the first enabled item whose mnemonic it is, once,
// on the key's press; the copy's owner gets the command.
TEST_F(MenuHooks, ScrollCopyMnemonicChoosesTheFirstEnabledItemOnce) {
  HMENU source = CreatePopupMenu();
  HMENU nested = CreatePopupMenu();
  AppendMenuA(source, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), "&Share");
  AppendMenuA(source, MF_STRING | MF_GRAYED, 601, "&Save");
  AppendMenuA(source, MF_STRING, 602, "&Send");
  AppendMenuA(source, MF_STRING, 603, "&Sort");
  const int nestedId = static_cast<int>(GetMenuItemID(source, 0));
  HMENU copy = CreatePopup(-1, 0);
  Menu* record = FindMenu(reinterpret_cast<intptr_t>(copy));
  ASSERT_NE(nullptr, record);
  record->ownerWindow = owner_;
  record->openFlag = -1;
  for (int id : {nestedId, 601, 602, 603}) MnemonicList.Add() = Mnemonic{'S', id};
  MenuBarWindow = bar_;
  SavedFocusWindow = edit_;
  MenuKeyboardOpen = 1;

  // Without a copy letters are the menu's own.
  EXPECT_EQ(0, Key('S', kLetterPress));

  ScrollPopupMenu = copy;
  ScrollSourceMenu = source;
  EXPECT_EQ(1, Key('S', kLetterPress));
  EXPECT_EQ(0, Key('S', kLetterRelease));
  std::vector<WPARAM> commands;
  MSG msg;
  while (PeekMessageA(&msg, owner_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) commands.push_back(msg.wParam);
  EXPECT_EQ(std::vector<WPARAM>{602}, commands);
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(0, record->openFlag);
  EXPECT_EQ(edit_, GetFocus());
  // A letter no item has passes.
  EXPECT_EQ(0, Key('Q', 0x00100001));

  FreeMenu(reinterpret_cast<intptr_t>(copy));
  DestroyMenu(source);
}

// Two popups open, the submenu newest: a release over the drop-down it came from is still
// inside the menu. The hook is called from the menu loop that tracks a real popup.
namespace {

struct ClickScript {
  HWND older = nullptr;
  int tick = 0;
  int idle = 0;
  bool openAfterInside = false;
  bool outsideIgnored = false;
};
ClickScript* gClick = nullptr;

HWND VisiblePopupMenu() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM out) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof(name));
        if (lstrcmpA(name, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void ReleaseAt(UINT button, POINT point) {
  MSLLHOOKSTRUCT mouse = {};
  mouse.pt = point;
  MenuOutsideClickHook(HC_ACTION, button, reinterpret_cast<LPARAM>(&mouse));
}

LRESULT CALLBACK ClickOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == 9 && gClick) {
    ClickScript& s = *gClick;
    if (!VisiblePopupMenu()) {
      if (++s.idle > 30) EndMenu();  // the test must go on whatever happened
      return 0;
    }
    RECT older = {};
    GetWindowRect(s.older, &older);
    ++s.tick;
    if (s.tick == 1) {
      ReleaseAt(WM_LBUTTONUP, {older.left + 5, older.top + 5});
      ReleaseAt(WM_RBUTTONUP, {older.left, older.bottom});  // edges are inside
      ReleaseAt(WM_MOUSEMOVE, {5, 5});                      // not a release
    } else if (s.tick == 2) {
      s.openAfterInside = true;
      ReleaseAt(WM_RBUTTONUP, {older.left - 30, older.top - 30});
    } else {
      s.outsideIgnored = true;
      EndMenu();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(MenuHooks, ReleaseOutsideEveryOpenPopupEndsTheMenuInsideAnyDoesNot) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &ClickOwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MenuHooksClickOwner";
  RegisterClassExA(&wc);
  HWND clickOwner = CreateWindowExA(0, "MenuHooksClickOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  // Stand-ins for the drop-down and its submenu, well away from the tracked popup.
  auto stand_in = [](int x, int y) {
    return CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, x, y, 150, 150, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  };
  ClickScript script;
  script.older = stand_in(400, 100);
  HWND newer = stand_in(550, 120);
  PopupWindowList.Add().window = script.older;
  PopupWindowList.Add().window = newer;
  OpenPopupWindow = newer;
  gClick = &script;

  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "One");
  SetForegroundWindow(clickOwner);
  SetActiveWindow(clickOwner);
  SetFocus(clickOwner);
  PumpMessagesFor(100);
  SetTimer(clickOwner, 9, 100, nullptr);
  TrackPopupMenuEx(menu, TPM_RETURNCMD, 60, 60, clickOwner, nullptr);
  KillTimer(clickOwner, 9);
  gClick = nullptr;

  EXPECT_TRUE(script.openAfterInside);
  EXPECT_FALSE(script.outsideIgnored);
  EXPECT_EQ(2, script.tick) << "idle ticks " << script.idle;
  DestroyMenu(menu);
  DestroyWindow(script.older);
  DestroyWindow(newer);
  DestroyWindow(clickOwner);
}

// A monitor left of the primary one has negative coordinates; the click is read signed.
TEST_F(MenuHooks, ChevronClickProbeReadsSignedCoordinates) {
  ChevronRect = {-300, -40, -280, -20};
  struct Row {
    int x, y;
    int seen;
  } rows[] = {{-290, -30, -1}, {-300, -40, -1}, {-280, -20, -1}, {-250, -30, 0}, {-290, 10, 0}};
  for (const Row& r : rows) {
    ChevronClickSeen = 5;
    EXPECT_EQ(0, MenuMessage(&MenuClickProbeHook, WM_LBUTTONDOWN, MK_LBUTTON, ScreenPoint(r.x, r.y)));
    EXPECT_EQ(r.seen, ChevronClickSeen) << r.x << "," << r.y;
  }
  // Only a press of the left button is looked at.
  ChevronClickSeen = 5;
  MenuMessage(&MenuClickProbeHook, WM_RBUTTONDOWN, 0, ScreenPoint(-290, -30));
  EXPECT_EQ(5, ChevronClickSeen);
}

// The scrolling copy [up arrow, filler, two items, down arrow] and a stand-in for its popup
// window that either selects what MN_SELECTITEM asks for, as Windows does, or ignores it,
// as Wine does.
namespace {

std::vector<WPARAM>* gSelectRequests = nullptr;
bool gPopupSelects = false;

void SetHilite(HMENU menu, int position, bool on) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
  info.fState = on ? (info.fState | MFS_HILITE) : (info.fState & ~MFS_HILITE);
  SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

LRESULT CALLBACK CopyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x1E5 && gSelectRequests) {
    gSelectRequests->push_back(wParam);
    if (gPopupSelects) SetHilite(ScrollPopupMenu, static_cast<int>(wParam), true);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(MenuHooks, SelectionInTheScrollingCopyHoversOrStepsOncePerSelection) {
  HMENU copy = CreatePopup(-1, 0);
  const intptr_t handle = reinterpret_cast<intptr_t>(copy);
  InsertMenuItemAt(handle, -1, MenuScrollUpId, "", nullptr, nullptr, nullptr, -2);
  InsertMenuItemAt(handle, -1, MenuScrollFillerId, "", nullptr, nullptr, nullptr, -3);
  InsertMenuItemAt(handle, -1, 701, "One", nullptr, nullptr, nullptr, 0);
  InsertMenuItemAt(handle, -1, 702, "Two", nullptr, nullptr, nullptr, 0);
  InsertMenuItemAt(handle, -1, MenuScrollDownId, "", nullptr, nullptr, nullptr, -1);
  ASSERT_EQ(5, GetMenuItemCount(copy));
  ScrollPopupMenu = copy;
  OpenDropDownMenu = copy;

  // The pointer on an arrow starts hover scrolling once; on an item it stops.
  MenuSelectionChanged(copy, 4, MF_OWNERDRAW | MF_HILITE);
  EXPECT_EQ(1, ScrollHover);
  ScrollHover = 0;
  MenuSelectionChanged(copy, 4, MF_OWNERDRAW | MF_HILITE);  // the second report of the same selection
  EXPECT_EQ(0, ScrollHover);
  MenuSelectionChanged(copy, 0, MF_OWNERDRAW | MF_HILITE);
  EXPECT_EQ(1, ScrollHover);
  MenuSelectionChanged(copy, 2, MF_OWNERDRAW | MF_HILITE);
  EXPECT_EQ(0, ScrollHover);
  // At the end of the source nothing more starts.
  ScrollAtEnd = 1;
  MenuSelectionChanged(copy, 4, MF_OWNERDRAW | MF_HILITE);
  EXPECT_EQ(0, ScrollHover);
  ScrollAtEnd = 0;

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &CopyWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MenuHooksCopyWindow";
  RegisterClassExA(&wc);
  ScrollPopupWindow = CreateWindowExA(0, "MenuHooksCopyWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  std::vector<WPARAM> requests;
  gSelectRequests = &requests;
  // Down reached the down arrow: one step toward the end, the item before the arrow is
  // selected; where the popup window selects nothing, an Up posted to the menu loop does.
  struct Row {
    bool popupSelects;
    std::vector<WPARAM> keys;
  } rows[] = {{true, {}}, {false, {VK_UP}}};
  for (const Row& r : rows) {
    gPopupSelects = r.popupSelects;
    requests.clear();
    for (int i = 0; i < 5; ++i) SetHilite(copy, i, i == 4);
    MenuSelectionChanged(copy, 1, MF_OWNERDRAW | MF_HILITE);  // another selection first
    LastArrowKey = VK_DOWN;
    MenuSelectionChanged(copy, 4, MF_OWNERDRAW | MF_HILITE);
    EXPECT_EQ(0, LastArrowKey);
    EXPECT_EQ(0, ScrollHover) << "a key step never hovers";
    EXPECT_EQ(std::vector<WPARAM>{3}, requests);
    EXPECT_EQ(r.keys, DropKeys(nullptr)) << r.popupSelects;
  }
  gSelectRequests = nullptr;
  DestroyWindow(ScrollPopupWindow);
  ScrollPopupWindow = nullptr;
  FreeMenu(handle);
}
