// A visible window with a toolkit menu bar of three titles ("File" with a submenu under
// its first item, "Edit", "View") and an edit control that has the focus, and the menu
// hooks' state put back to rest before and after each test.
#ifndef ZK_TESTS_TOVREL_FRAME_MENU_HOOKS_FIXTURE_H
#define ZK_TESTS_TOVREL_FRAME_MENU_HOOKS_FIXTURE_H

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/waits.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"

class MenuHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = "MenuHooksOwner";
      return RegisterClassExA(&wc);
    }();
    (void)atom;
    ResetState();
    owner_ = CreateWindowExA(0, "MenuHooksOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 260, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 80, 200, 24, owner_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    number_ = tovrel::CreateMenuBar(-1, owner_, tovrel::UISTYLE_OFFICE2007);
    ASSERT_NE(0, number_);
    bar_ = tovrel::MenuBarWindow;
    tovrel::AddMenuTitle("File");
    file_ = reinterpret_cast<HMENU>(tovrel::CurrentMenuHandle);
    sub_ = tovrel::CreatePopup(-1, 0);
    tovrel::AddMenuItem(301, "Deeper", nullptr, nullptr, nullptr, 0);
    tovrel::CurrentMenuNumber = number_;
    tovrel::CurrentMenuHandle = reinterpret_cast<intptr_t>(file_);
    AddTo(file_, 101, "Recent", reinterpret_cast<intptr_t>(sub_));
    AddTo(file_, 102, "Open", 0);
    tovrel::AddMenuTitle("Edit");
    tovrel::AddMenuTitle("View");
    ASSERT_EQ(3, SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0));
    Focus(owner_, edit_);
    strayMenuEnded = false;
    safety_ = SetTimer(nullptr, 0, 5000, &EndStrayMenu);
  }

  // A drop-down that a test opened by mistake would hold the thread in its menu loop until
  // the test run's time limit: the thread's timer ends it and the test fails.
  static inline bool strayMenuEnded = false;
  static void CALLBACK EndStrayMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (!tovrel::OpenDropDownMenu) return;
    strayMenuEnded = true;
    EndMenu();
  }

  void TearDown() override {
    KillTimer(nullptr, safety_);
    EXPECT_FALSE(strayMenuEnded) << "a drop-down stayed open";
    DropKeys(nullptr);
    ResetState();
    tovrel::FreeMenu(number_);
    tovrel::FreeMenu(reinterpret_cast<intptr_t>(sub_));
    DestroyWindow(owner_);
    PumpMessagesFor(20);
  }

  static void AddTo(HMENU menu, int id, const char* text, intptr_t submenu) {
    tovrel::InsertMenuItemAt(reinterpret_cast<intptr_t>(menu), -1, id, text, nullptr, nullptr, nullptr, submenu);
  }

  static void Focus(HWND top, HWND window) {
    SetForegroundWindow(top);
    SetActiveWindow(top);
    SetFocus(window);
  }

  // Everything the hooks read or write, at rest.
  static void ResetState() {
    using namespace tovrel;
    MenuKeyboardOpen = 0;
    MenuBarKeyState = 0;
    OpenTitleIndex = -1;
    KeyboardTitleIndex = -1;
    BarHotItem = -1;
    SavedFocusWindow = nullptr;
    OpenDropDownMenu = nullptr;
    SubmenuDepth = 0;
    SubmenuOpening = 0;
    OpeningSubmenu = nullptr;
    MenuSelectParent = nullptr;
    PopupItemSelected = 0;
    LastArrowKey = 0;
    MenuKeyNavigation = 0;
    DropDownKeyNavigation = 0;
    ScrollPopupMenu = nullptr;
    ScrollSourceMenu = nullptr;
    ScrollPopupWindow = nullptr;
    ScrollHover = 0;
    ScrollBusy = 0;
    ScrollAtEnd = 0;
    OpenPopupWindow = nullptr;
    InnermostPopup = nullptr;
    F10MenuKeyDisabled = 0;
    ChevronRect = {};
    ChevronClickSeen = 0;
    PendingTitleSwitchKey = 0;
    MnemonicList.Clear();
    PopupWindowList.Clear();
  }

  // Takes the window's posted key messages out of the queue; -> the keys pressed, in order.
  static std::vector<WPARAM> DropKeys(HWND window) {
    std::vector<WPARAM> pressed;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      if (msg.message == WM_KEYDOWN) pressed.push_back(msg.wParam);
    }
    return pressed;
  }

  // Takes one posted request to open the hot title out of the queue; -> its bar, or nullptr.
  HWND TakeOpenRequest() {
    MSG msg;
    if (!PeekMessageA(&msg, owner_, tovrel::WM_TOVREL_OPENHOTTITLE, tovrel::WM_TOVREL_OPENHOTTITLE, PM_REMOVE))
      return nullptr;
    return reinterpret_cast<HWND>(msg.lParam);
  }

  int HotItem() const { return static_cast<int>(SendMessageA(bar_, TB_GETHOTITEM, 0, 0)); }

  UINT_PTR safety_ = 0;
  HWND owner_ = nullptr;
  HWND edit_ = nullptr;
  HWND bar_ = nullptr;
  intptr_t number_ = 0;
  HMENU file_ = nullptr;
  HMENU sub_ = nullptr;
};

#endif
