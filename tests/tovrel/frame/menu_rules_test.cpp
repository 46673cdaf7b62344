// The menus' plain decisions: how big a title button is, and which records a menu
// argument names.
#include <windows.h>

#include <gtest/gtest.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_rules.h"

using namespace tovrel;

TEST(TitleButtonSize, EachStyleKeepsItsOwnMarginsAndShortTextsGetTheMinimumHeight) {
  struct Row {
    int style;
    int cxExtra;
    int cyShort;  // for a text less than 14 pixels high
    int cyExtra;  // added to a taller text's height
  } rows[] = {
      {0, 18, 22, 8},
      {UISTYLE_WHIDBEY, 18, 22, 8},
      {UISTYLE_OFFICE2003_MENU, 16, 19, 5},
      {UISTYLE_OFFICE2007, 16, 20, 6},
  };
  for (const Row& r : rows) {
    const SIZE low = TitleButtonSize(r.style, 40, 10);
    EXPECT_EQ(40 + r.cxExtra, low.cx) << std::hex << r.style;
    EXPECT_EQ(r.cyShort, low.cy) << std::hex << r.style;
    const SIZE high = TitleButtonSize(r.style, 40, 16);
    EXPECT_EQ(40 + r.cxExtra, high.cx) << std::hex << r.style;
    EXPECT_EQ(16 + r.cyExtra, high.cy) << std::hex << r.style;
  }
  // 14 itself is the boundary: the same height as any shorter text.
  EXPECT_EQ(TitleButtonSize(0, 1, 14).cy, TitleButtonSize(0, 1, 13).cy);
}

TEST(MenuMatchesReference, NumberHandleOrBarWindowNameARecord) {
  Menu title = {};
  title.number = 3;
  title.barWindow = reinterpret_cast<HWND>(0x1234);
  title.menuHandle = reinterpret_cast<HMENU>(0x5678);
  Menu placeholder = {};
  placeholder.number = 4;
  placeholder.barWindow = reinterpret_cast<HWND>(0x2222);
  placeholder.menuHandle = MenuPlaceholderHandle();
  Menu popup = {};
  popup.number = 5;
  popup.barWindow = MenuNoBar();
  popup.menuHandle = reinterpret_cast<HMENU>(0x9abc);

  struct Row {
    const Menu* menu;
    intptr_t reference;
    bool matches;
  } rows[] = {
      {&title, 3, true},
      {&title, 0x1234, true},
      {&title, 0x5678, true},
      {&title, 4, false},
      {&title, -1, false},
      {&popup, 5, true},
      {&popup, 0x9abc, true},
      {&popup, 0x1234, false},
      {&placeholder, 4, true},
      {&placeholder, 3, false},
      // -1 is every popup's bar window and the placeholder's menu handle: it names all of
      // them, which is why freeing a placeholder must not go by its handle.
      {&popup, -1, true},
      {&placeholder, -1, true},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.matches, MenuMatchesReference(*r.menu, r.reference)) << r.menu->number << " " << r.reference;
  }
}
