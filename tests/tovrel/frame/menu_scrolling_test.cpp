// The scrolling copy of a drop-down too tall for its work area, on real system menus: how
// it is built and released, its keyboard rebuilds and steps, and hover scrolling driven by
// the shown popup's own timer while the system tracks the copy.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "support/waits.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/shortcut_rules.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_scrolling.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"

using namespace tovrel;

namespace {

constexpr int kItems = 60;
constexpr int kFirstId = 1000;

MENUITEMINFOA Info(HMENU menu, int position, UINT mask) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) << position;
  return info;
}

int IdAt(HMENU menu, int position) { return static_cast<int>(Info(menu, position, MIIM_ID).wID); }
int LastId(HMENU menu) { return IdAt(menu, GetMenuItemCount(menu) - 1); }

const MenuItem* RecordAt(HMENU menu, int position) { return ItemRecordOf(Info(menu, position, MIIM_DATA).dwItemData); }

// The command bound to Ctrl+1 in the window's shortcuts, and how many bindings it has.
int CtrlOneCommand(HWND window, int* bindings) {
  ShortcutKey key = {};
  EXPECT_TRUE(ParseShortcut("ctrl+1", &key));
  *bindings = 0;
  ToolkitList<ShortcutBinding>* list = ShortcutMap.Find(HandleKey(window));
  if (!list) return 0;
  int command = 0;
  for (const ShortcutBinding& b : *list) {
    ++*bindings;
    if (b.keyCode == key.keyCode && b.flags == key.flags) command = b.commandId;
  }
  return command;
}

LRESULT CALLBACK OwnerProc(HWND, UINT, WPARAM, LPARAM);

class MenuScrolling : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &OwnerProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "MenuScrollingOwner";
      return RegisterClassExA(&wc);
    }();
    (void)atom;
    owner_ = CreateWindowExA(0, "MenuScrollingOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EnsureMenuFont();
    // The title's drop-down: its record takes the owner first, so that the first item's
    // shortcut is bound for the owner as a title's would be.
    source_ = CreatePopup(-1, UISTYLE_OFFICE2007);
    ASSERT_NE(nullptr, source_);
    ToolkitLock(MenuMutex);
    title_ = FindMenu(reinterpret_cast<intptr_t>(source_));
    title_->ownerWindow = owner_;
    ToolkitUnlock(MenuMutex);
    for (int i = 0; i < kItems; ++i) {
      if (i % 10 == 5) {
        AddMenuSeparator();
        continue;
      }
      const std::string text = i == 0 ? "Item&1$ctrl+1" : "Entry &" + std::string(1, static_cast<char>('a' + i % 26));
      ASSERT_EQ(1, AddMenuItem(kFirstId + i, text, nullptr, nullptr, nullptr, 0));
    }
    // A title's record carries its bar window, which the copy borrows.
    title_->barWindow = owner_;
  }

  void TearDown() override {
    ReleaseScrollingCopy();
    title_->barWindow = MenuNoBar();
    FreeMenu(reinterpret_cast<intptr_t>(source_));
    DestroyWindow(owner_);
  }

  HMENU Build(const RECT& title, const RECT& work) {
    ToolkitLock(MenuMutex);
    Menu* copy = BuildScrollingCopy(*title_, title, work, 0, 180);
    ToolkitUnlock(MenuMutex);
    EXPECT_NE(nullptr, copy);
    return copy ? copy->menuHandle : nullptr;
  }

  HWND owner_ = nullptr;
  HMENU source_ = nullptr;
  Menu* title_ = nullptr;
};

TEST_F(MenuScrolling, TheCopyFitsBelowOrAboveAndEndsWithFillerAndArrow) {
  struct Row {
    RECT title;
    RECT work;
    int top;
  } rows[] = {
      {{100, 20, 160, 40}, {0, 0, 800, 300}, 0},
      {{100, 260, 160, 280}, {0, 0, 800, 300}, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.top);
    int bindings = 0;
    ASSERT_EQ(kFirstId, CtrlOneCommand(owner_, &bindings));
    const int bindingsBefore = bindings;
    const size_t items = MenuItemList.Size();

    HMENU copy = Build(row.title, row.work);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(copy, ScrollPopupMenu);
    EXPECT_EQ(source_, ScrollSourceMenu);
    EXPECT_EQ(row.top, DropDownTop);
    EXPECT_EQ(-1, title_->openFlag);
    const int count = GetMenuItemCount(copy);
    ASSERT_GT(count, 3);
    ASSERT_LT(count, kItems);
    const int h = GetMenuHeight(copy);
    EXPECT_EQ(ScrollPopupHeight, h);
    if (row.top == 0) {
      EXPECT_LT(row.title.bottom + h, row.work.bottom - 2);
    } else {
      EXPECT_GT(row.title.top - h, row.work.top);
    }
    EXPECT_EQ(180 - GetSystemMetrics(SM_CXMENUCHECK), ScrollPopupWidth);

    // Filler and arrow close the copy, disabled: the system never sends them as commands.
    EXPECT_EQ(static_cast<UINT>(MenuScrollFillerId), Info(copy, count - 2, MIIM_ID).wID);
    EXPECT_EQ(static_cast<UINT>(MenuScrollDownId), Info(copy, count - 1, MIIM_ID).wID);
    for (int position : {count - 2, count - 1}) {
      EXPECT_TRUE(Info(copy, position, MIIM_STATE).fState & MFS_DISABLED) << position;
    }
    ASSERT_NE(nullptr, RecordAt(copy, count - 2));
    EXPECT_EQ(-3, RecordAt(copy, count - 2)->kind);
    EXPECT_EQ(-1, RecordAt(copy, count - 1)->kind);
    EXPECT_EQ(7, ScrollFillerHeight);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetMenuItemHeight(screen, *RecordAt(copy, 0)), ScrollItemHeight);
    ReleaseDC(nullptr, screen);
    // The last copied item is no separator, and separators stay separators.
    EXPECT_FALSE(Info(copy, count - 3, MIIM_FTYPE).fType & MFT_SEPARATOR);
    EXPECT_TRUE(Info(copy, 5, MIIM_FTYPE).fType & MFT_SEPARATOR);

    // Every source item's access letter is known, the shortcut stays the source's alone.
    EXPECT_EQ(static_cast<size_t>(kItems - kItems / 10), MnemonicList.Size());
    bool sawOne = false;
    for (const Mnemonic& m : MnemonicList) sawOne |= m.character == '1' && m.commandId == kFirstId;
    EXPECT_TRUE(sawOne);
    EXPECT_EQ(kFirstId, CtrlOneCommand(owner_, &bindings));
    EXPECT_EQ(bindingsBefore, bindings);

    ReleaseScrollingCopy();
    EXPECT_FALSE(IsMenu(copy));
    EXPECT_EQ(nullptr, ScrollPopupMenu);
    EXPECT_EQ(items, MenuItemList.Size());
    EXPECT_FALSE(MenuList.Find([copy](const Menu& m) { return m.menuHandle == copy; }));
    EXPECT_TRUE(MnemonicList.Empty());
    EXPECT_EQ(0, title_->openFlag);
    EXPECT_EQ(kFirstId, CtrlOneCommand(owner_, &bindings));
    EXPECT_EQ(bindingsBefore, bindings);
  }
}

// With no room for even one item and the arrow, the copy keeps its first item.
TEST_F(MenuScrolling, TheBuildKeepsOneItem) {
  HMENU copy = Build({100, 20, 160, 40}, {0, 0, 800, 60});
  ASSERT_NE(nullptr, copy);
  ASSERT_EQ(3, GetMenuItemCount(copy));
  EXPECT_EQ(kFirstId, IdAt(copy, 0));
  EXPECT_EQ(static_cast<UINT>(MenuScrollDownId), static_cast<UINT>(LastId(copy)));
}

// Keyboard calls: one step toward the end, a rebuild at the end and one at the start, the
// copy's height the same after each.
TEST_F(MenuScrolling, KeyboardStepsAndRebuildsKeepTheHeight) {
  HMENU copy = Build({100, 20, 160, 40}, {0, 0, 800, 300});
  ASSERT_NE(nullptr, copy);
  const int firstShown = ScrollFirstIndex;
  ScrollHover = 0;
  MenuScrollThread(0);
  EXPECT_EQ(ScrollPopupHeight, GetMenuHeight(copy));
  EXPECT_EQ(static_cast<UINT>(MenuScrollUpId), static_cast<UINT>(IdAt(copy, 0)));
  EXPECT_EQ(static_cast<UINT>(MenuScrollFillerId), static_cast<UINT>(IdAt(copy, 1)));
  EXPECT_GT(ScrollFirstIndex, firstShown);
  EXPECT_EQ(kFirstId + ScrollFirstIndex, IdAt(copy, 2));
  EXPECT_EQ(0, ScrollAtEnd);
  EXPECT_EQ(0, ScrollBusy);

  MenuScrollThread(2);
  EXPECT_EQ(ScrollPopupHeight, GetMenuHeight(copy));
  EXPECT_EQ(kFirstId + kItems - 1, LastId(copy));
  EXPECT_EQ(static_cast<UINT>(MenuScrollUpId), static_cast<UINT>(IdAt(copy, 0)));

  MenuScrollThread(3);
  EXPECT_EQ(ScrollPopupHeight, GetMenuHeight(copy));
  EXPECT_EQ(kFirstId, IdAt(copy, 0));
  EXPECT_EQ(static_cast<UINT>(MenuScrollDownId), static_cast<UINT>(LastId(copy)));
}

// What the shown copy went through while the system tracked it.
struct Hover {
  HMENU copy = nullptr;
  HWND popup = nullptr;
  WNDPROC previous = nullptr;
  int ownerTicks = 0;
  int scrollTicks = 0;  // the scroll timer's ticks that reached the popup
  int heightChanges = 0;
  bool arrowReported = false;  // WM_MENUSELECT named the disabled down arrow
  bool started = false;
  bool reachedEnd = false;
  HWND captureBefore = nullptr;
  HWND captureAfter = nullptr;
};
Hover* gHover = nullptr;
constexpr UINT_PTR kStepTimer = 9;

void PostKey(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 1 | (LPARAM{3} << 30));
}

// Stands in for the popup procedure that hands the scroll timer's ticks on.
LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kMenuScrollTimer && gHover) {
    ++gHover->scrollTicks;
    MenuScrollTimerTick();
    if (GetMenuHeight(gHover->copy) != ScrollPopupHeight) ++gHover->heightChanges;
    return 0;
  }
  return CallWindowProcA(gHover->previous, window, message, wParam, lParam);
}

void HoverStep() {
  Hover& h = *gHover;
  ++h.ownerTicks;
  if (!h.popup) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    h.popup = popup;
    h.previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupProc)));
    ScrollPopupWindow = popup;
    // The pointer rests on the down arrow.
    RECT arrow = {};
    if (GetMenuItemRect(popup, h.copy, GetMenuItemCount(h.copy) - 1, &arrow))
      SetCursorPos((arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
    return;
  }
  if (!h.started) {
    h.started = true;
    h.captureBefore = GetCapture();
    ScrollHover = 1;
    MenuScrollThread(0);
    return;
  }
  const bool atEnd = LastId(h.copy) == kFirstId + kItems - 1;
  if ((atEnd && h.scrollTicks > 0) || h.ownerTicks > 150) {
    h.reachedEnd = atEnd;
    h.captureAfter = GetCapture();
    PostKey(h.popup, VK_ESCAPE);
  }
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kStepTimer && gHover) {
    HoverStep();
    return 0;
  }
  if (message == WM_MENUSELECT && gHover && LOWORD(wParam) == static_cast<WORD>(MenuScrollDownId) &&
      (HIWORD(wParam) & MF_GRAYED))
    gHover->arrowReported = true;
  return DefWindowProcA(window, message, wParam, lParam);
}

// The scroll timer set on the popup reaches it through the system's menu loop, one pass
// per tick scrolls the copy to the source's last item, the arrow goes, and the copy's
// height never changes. The passes leave the menu loop's capture as they found it.
TEST_F(MenuScrolling, HoverOnTheArrowScrollsTheShownCopyToItsEnd) {
  HMENU copy = Build({40, 20, 100, 40}, {0, 0, 800, 300});
  ASSERT_NE(nullptr, copy);
  Hover hover;
  hover.copy = copy;
  gHover = &hover;
  SetForegroundWindow(owner_);
  SetActiveWindow(owner_);
  PumpMessagesFor(100);
  SetTimer(owner_, kStepTimer, 40, nullptr);
  TrackPopupMenuEx(copy, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 40, 40, owner_, nullptr);
  KillTimer(owner_, kStepTimer);
  PumpMessagesFor(100);
  gHover = nullptr;

  ASSERT_NE(nullptr, hover.popup);
  EXPECT_TRUE(hover.arrowReported);
  EXPECT_GT(hover.scrollTicks, 1);
  EXPECT_TRUE(hover.reachedEnd);
  EXPECT_EQ(0, hover.heightChanges);
  EXPECT_EQ(hover.captureBefore, hover.captureAfter);
  // The end dropped the arrow and ended the loop.
  EXPECT_NE(static_cast<UINT>(MenuScrollDownId), static_cast<UINT>(LastId(copy)));
  EXPECT_EQ(0, ScrollAtEnd);
  const int ticks = hover.scrollTicks;
  PumpMessagesFor(100);
  EXPECT_EQ(ticks, hover.scrollTicks);
}

}  // namespace
