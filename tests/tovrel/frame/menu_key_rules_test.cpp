// The menu hooks' plain decisions: what a key's flag word means to the menu bar, where a
// key that reached a scroll item moves the scrolling copy, and which keys move the menu's
// selection to an item.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tovrel/frame/menu_key_rules.h"
#include "tovrel/frame/menu_state.h"

using namespace tovrel;

TEST(ClassifyMenuKey, FirstPressesReleasesRepeatsAndTheRightAlt) {
  struct Row {
    WPARAM key;
    DWORD flags;
    MenuKey expected;
  } rows[] = {
      {VK_MENU, 0x20380001, MenuKey::AltPress},
      {VK_MENU, 0x60380001, MenuKey::Kept},        // held down: a repeat
      {VK_MENU, 0x21380001, MenuKey::Kept},        // the right Alt (extended)
      {VK_MENU, 0xC0380001, MenuKey::AltRelease},  // the left Alt goes up
      {VK_MENU, 0xC1380001, MenuKey::Kept},        // the right Alt goes up
      {VK_MENU, 0x20380002, MenuKey::Kept},        // two presses in one message
      {VK_F10, 0x00440001, MenuKey::F10Press},
      {VK_F10, 0x40440001, MenuKey::Kept},
      {VK_F10, 0xC0440001, MenuKey::Kept},
      {VK_ESCAPE, 0x00010001, MenuKey::Escape},
      {VK_ESCAPE, 0x40010001, MenuKey::Escape},
      {VK_ESCAPE, 0xC0010001, MenuKey::Other},
      {VK_DOWN, 0x01500001, MenuKey::Down},
      {VK_DOWN, 0x41500001, MenuKey::Down},  // repeated Down still opens
      {VK_DOWN, 0xC1500001, MenuKey::Kept},
      {VK_DOWN, 0x00500001, MenuKey::Kept},  // the keypad's 2 without Num Lock
      {VK_RETURN, 0x001C0001, MenuKey::Enter},
      {VK_RETURN, 0x401C0001, MenuKey::Kept},
      {VK_RETURN, 0x011C0001, MenuKey::Kept},  // the keypad's Enter
      {VK_LEFT, 0x014B0001, MenuKey::Kept},
      {VK_RIGHT, 0x014D0001, MenuKey::Kept},
      {'A', 0x001E0001, MenuKey::Other},
      {VK_TAB, 0x000F0001, MenuKey::Other},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.expected, ClassifyMenuKey(r.key, static_cast<LPARAM>(r.flags)))
        << "key " << r.key << " flags " << std::hex << r.flags;
  }
}

TEST(ScrollItemOfId, ComparesTheLow16Bits) {
  EXPECT_EQ(ScrollItem::UpArrow, ScrollItemOfId(static_cast<UINT>(MenuScrollUpId)));
  EXPECT_EQ(ScrollItem::UpArrow, ScrollItemOfId(static_cast<UINT>(MenuScrollUpId) & 0xFFFF));
  EXPECT_EQ(ScrollItem::DownArrow, ScrollItemOfId(static_cast<UINT>(MenuScrollDownId) & 0xFFFF));
  EXPECT_EQ(ScrollItem::Filler, ScrollItemOfId(static_cast<UINT>(MenuScrollFillerId)));
  EXPECT_EQ(ScrollItem::Ordinary, ScrollItemOfId(101));
  EXPECT_EQ(ScrollItem::Ordinary, ScrollItemOfId(0));
}

TEST(ScrollStepForKey, WrapsRebuildAndOtherScrollItemsStepOnce) {
  using S = ScrollItem;
  struct Row {
    UINT key;
    S reached, first, last;
    int mode, target;
  } rows[] = {
      // Down wrapped from the shown end to the up arrow: start again at the source's start.
      {VK_DOWN, S::UpArrow, S::UpArrow, S::Ordinary, 3, 0},
      // Down onto the up arrow while the down arrow is still there: no wrap, nothing.
      {VK_DOWN, S::UpArrow, S::UpArrow, S::DownArrow, -1, 0},
      // Up wrapped from the start to the down arrow: rebuild at the end, select the last.
      {VK_UP, S::DownArrow, S::Ordinary, S::DownArrow, 2, -1},
      {VK_UP, S::DownArrow, S::UpArrow, S::DownArrow, -1, 0},
      {VK_UP, S::Filler, S::UpArrow, S::DownArrow, 1, 1},
      {VK_UP, S::UpArrow, S::UpArrow, S::DownArrow, 1, 1},
      {VK_DOWN, S::Filler, S::Ordinary, S::DownArrow, 0, -2},
      {VK_DOWN, S::DownArrow, S::UpArrow, S::DownArrow, 0, -2},
      {VK_DOWN, S::Ordinary, S::UpArrow, S::DownArrow, -1, 0},
      {VK_UP, S::Ordinary, S::UpArrow, S::DownArrow, -1, 0},
      {0, S::DownArrow, S::UpArrow, S::DownArrow, -1, 0},
  };
  int row = 0;
  for (const Row& r : rows) {
    const ScrollKeyStep step = ScrollStepForKey(r.key, r.reached, r.first, r.last);
    EXPECT_EQ(r.mode, step.mode) << "row " << row;
    if (r.mode >= 0) {
      EXPECT_EQ(r.target, step.target) << "row " << row;
    }
    ++row;
  }
  EXPECT_EQ(0, ScrollTargetPosition(0, 9));
  EXPECT_EQ(1, ScrollTargetPosition(1, 9));
  EXPECT_EQ(8, ScrollTargetPosition(-1, 9));
  EXPECT_EQ(7, ScrollTargetPosition(-2, 9));
}

TEST(KeysToReach, ShortestWayThatStopsOnNoScrollItem) {
  constexpr StepItem S = StepItem::Selectable, K = StepItem::Skipped, X = StepItem::Scroll;
  struct Row {
    std::vector<StepItem> items;
    int from, target;
    UINT key;
    int count;
  } rows[] = {
      {{S, S, S, X, X}, -1, 0, VK_DOWN, 1},    // rebuilt at the start, nothing selected
      {{X, X, S, S, S}, -1, 4, VK_UP, 1},      // rebuilt at the end
      {{X, S, S, S, X, X}, 0, 1, VK_DOWN, 1},  // the up arrow still selected after a step
      {{X, X, S, S, S, X}, 5, 4, VK_UP, 1},    // the down arrow still selected
      {{S, K, S, S}, 0, 2, VK_DOWN, 1},        // separators are stepped over
      {{S, S, S, S, S}, 0, 4, VK_UP, 1},       // wrapping is shorter
      {{S, S, S, S}, 0, 2, VK_DOWN, 2},        // a tie goes down
      {{X, S, S, X}, -1, 1, 0, 0},             // both ways stop on an arrow first
      {{S, S, S}, 1, 1, 0, 0},                 // already there
      {{S, K, S}, 0, 1, 0, 0},                 // a separator is never selected
      {{S, S}, 0, 5, 0, 0},                    // no such item
  };
  int row = 0;
  for (const Row& r : rows) {
    const KeyPresses presses = KeysToReach(r.items, r.from, r.target);
    EXPECT_EQ(r.key, presses.key) << "row " << row;
    EXPECT_EQ(r.count, presses.count) << "row " << row;
    ++row;
  }
}
