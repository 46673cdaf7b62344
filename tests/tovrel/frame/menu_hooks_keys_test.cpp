// The menu bar under real key presses (SendInput on a foreground window), and what the
// system's tool bar does with the keys by itself, which is why the keyboard hook asks the
// bar's window to open the hot title.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "menu_hooks_fixture.h"
#include "support/waits.h"
#include "tovrel/frame/drop_downs.h"

using namespace tovrel;

namespace {

// What reached the bar's window while a test ran: drop-down notifications, commands, and
// requests to open the hot title.
struct Seen {
  HWND owner = nullptr;
  LPARAM bar = 0;
  std::vector<int> dropDowns;
  std::vector<WPARAM> commands;
  std::vector<LPARAM> openRequests;
};
Seen* gSeen = nullptr;

LRESULT CALLBACK SeeSent(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && gSeen && sent->hwnd == gSeen->owner) {
    if (sent->message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(sent->lParam)->code == TBN_DROPDOWN)
      gSeen->dropDowns.push_back(reinterpret_cast<const NMTOOLBARA*>(sent->lParam)->iItem);
    // The edit's own notifications come with its window; the tool bar's with the bar.
    if (sent->message == WM_COMMAND && sent->lParam == gSeen->bar) gSeen->commands.push_back(LOWORD(sent->wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK SeePosted(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && gSeen && msg->hwnd == gSeen->owner &&
      msg->message == WM_TOVREL_OPENHOTTITLE)
    gSeen->openRequests.push_back(msg->lParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Watch {
 public:
  explicit Watch(Seen& seen) {
    gSeen = &seen;
    sent_ = SetWindowsHookExA(WH_CALLWNDPROC, &SeeSent, nullptr, GetCurrentThreadId());
    posted_ = SetWindowsHookExA(WH_GETMESSAGE, &SeePosted, nullptr, GetCurrentThreadId());
  }
  ~Watch() {
    UnhookWindowsHookEx(sent_);
    UnhookWindowsHookEx(posted_);
    gSeen = nullptr;
  }

 private:
  HHOOK sent_;
  HHOOK posted_;
};

void PressKey(WORD key, bool extended = false) {
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
  }
  in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  PumpMessagesFor(150);
}

}  // namespace

// The system's tool bar, focused with a hot title: Down moves the hot item, Enter sends the
// title's command, Left and Right wrap at the ends; no key drops a title down.
TEST_F(MenuHooks, TheToolBarItselfOpensNoTitleFromTheKeyboard) {
  Seen seen;
  seen.owner = owner_;
  seen.bar = reinterpret_cast<LPARAM>(bar_);
  Watch watch(seen);
  SetFocus(bar_);
  TBBUTTON second = {};
  SendMessageA(bar_, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second));

  SendMessageA(bar_, TB_SETHOTITEM, 0, 0);
  SendMessageA(bar_, WM_KEYDOWN, VK_DOWN, 0x01500001);
  EXPECT_EQ(1, HotItem());
  SendMessageA(bar_, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  EXPECT_EQ(std::vector<WPARAM>{static_cast<WPARAM>(second.idCommand)}, seen.commands);
  SendMessageA(bar_, TB_SETHOTITEM, 0, 0);
  SendMessageA(bar_, WM_KEYDOWN, VK_LEFT, 0x014B0001);
  EXPECT_EQ(2, HotItem());
  SendMessageA(bar_, WM_KEYDOWN, VK_RIGHT, 0x014D0001);
  EXPECT_EQ(0, HotItem());
  EXPECT_TRUE(seen.dropDowns.empty());
  SendMessageA(bar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

// What a timer saw of the drop-down it closed from inside the menu loop.
HMENU gOpenedMenu = nullptr;
int gOpenedTitle = -2;

void CALLBACK CloseOpenDropDown(HWND window, UINT, UINT_PTR id, DWORD) {
  if (!OpenDropDownMenu) return;
  gOpenedMenu = OpenDropDownMenu;
  gOpenedTitle = OpenTitleRecord ? OpenTitleRecord->titleCommand : -1;
  KillTimer(window, id);
  EndMenu();
}

// Real presses reach the keyboard hook: Alt puts the bar into keyboard mode with the first
// title hot, Right moves the hot title, Down asks the bar's window for the hot title's
// drop-down (the tool bar never sees it), which opens; once it closes the bar leaves
// keyboard mode and the focus goes back.
TEST_F(MenuHooks, RealAltRightDownOpensTheHotTitle) {
  Seen seen;
  seen.owner = owner_;
  seen.bar = reinterpret_cast<LPARAM>(bar_);
  Watch watch(seen);
  Focus(owner_, edit_);
  PumpMessagesFor(100);
  ASSERT_EQ(edit_, GetFocus());
  // The second title drops down a menu of its own items.
  tovrel::CurrentMenuNumber = number_;
  HMENU edit = nullptr;
  for (const tovrel::Menu& m : tovrel::MenuList) {
    TBBUTTON second = {};
    SendMessageA(bar_, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second));
    if (m.barWindow == bar_ && m.titleCommand == second.idCommand) edit = m.menuHandle;
  }
  ASSERT_NE(nullptr, edit);
  AddTo(edit, 201, "Undo", 0);

  PressKey(VK_MENU);
  EXPECT_EQ(1, MenuKeyboardOpen);
  EXPECT_EQ(bar_, GetFocus());
  EXPECT_EQ(0, HotItem());

  PressKey(VK_RIGHT, true);  // the tool bar moves its hot item
  EXPECT_EQ(1, HotItem());
  gOpenedMenu = nullptr;
  SetTimer(owner_, 77, 50, &CloseOpenDropDown);
  PressKey(VK_DOWN, true);
  PumpMessagesFor(300);
  KillTimer(owner_, 77);
  EXPECT_EQ(std::vector<LPARAM>{reinterpret_cast<LPARAM>(bar_)}, seen.openRequests);
  EXPECT_EQ(edit, gOpenedMenu) << "the hot title's drop-down opened";
  EXPECT_TRUE(seen.commands.empty());
  EXPECT_EQ(nullptr, OpenDropDownMenu);
  EXPECT_EQ(0, MenuKeyboardOpen);
  EXPECT_EQ(edit_, GetFocus());
  EXPECT_EQ(-1, HotItem());
}

// Titles seen open by a timer while keys switch between them, ended after `stopAfter`.
std::vector<int> gTitlesSeen;
size_t gStopAfter = 2;
void CALLBACK WatchTitles(HWND window, UINT, UINT_PTR id, DWORD) {
  static int ticks = 0;
  if (++ticks > 100) {  // never hold the run
    KillTimer(window, id);
    EndMenu();
    return;
  }
  if (!OpenDropDownMenu || !OpenTitleRecord) return;
  const int title = OpenTitleRecord->titleCommand;
  if (gTitlesSeen.empty() || gTitlesSeen.back() != title) gTitlesSeen.push_back(title);
  if (gTitlesSeen.size() >= gStopAfter) {
    KillTimer(window, id);
    EndMenu();
  }
}

// Right in an open drop-down, on an item without a submenu, ends it and opens the next
// title's drop-down.
TEST_F(MenuHooks, RealRightSwitchesToTheNextTitle) {
  tovrel::CurrentMenuNumber = number_;
  HMENU edit = nullptr;
  TBBUTTON second = {};
  SendMessageA(bar_, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second));
  for (const tovrel::Menu& m : tovrel::MenuList)
    if (m.barWindow == bar_ && m.titleCommand == second.idCommand) edit = m.menuHandle;
  ASSERT_NE(nullptr, edit);
  AddTo(edit, 201, "Undo", 0);
  Focus(owner_, edit_);
  PumpMessagesFor(100);
  gTitlesSeen.clear();
  gStopAfter = 2;
  SetTimer(owner_, 78, 100, &WatchTitles);
  PressKey(VK_MENU);
  // Down opens File; once its loop runs, Right is pressed from a second timer.
  SetTimer(nullptr, 0, 600, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    INPUT in[4] = {};
    for (int k = 0; k < 4; ++k) {
      INPUT& i = in[k];
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = k < 2 ? VK_DOWN : VK_RIGHT;  // past the item with a submenu, then Right
      i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(i.ki.wVk, MAPVK_VK_TO_VSC));
      i.ki.dwFlags = KEYEVENTF_EXTENDEDKEY | (k % 2 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(4, in, sizeof(INPUT));
  });
  PressKey(VK_DOWN, true);
  PumpMessagesFor(1500);
  KillTimer(owner_, 78);
  TBBUTTON first = {};
  SendMessageA(bar_, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ((std::vector<int>{first.idCommand, second.idCommand}), gTitlesSeen);
}
