// Where popup shadows go, what a moved popup uncovers, and the popup window's placement
// decisions, as tables.
#include <gtest/gtest.h>

#include <vector>

#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/popup_placement_rules.h"
#include "tovrel/frame/popup_shadow_rules.h"

using namespace tovrel;

namespace {

bool Same(const ShadowStrip& a, const ShadowStrip& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height && a.flags == b.flags;
}
::std::ostream& operator<<(::std::ostream& os, const ShadowStrip& s) {
  return os << "(" << s.x << "," << s.y << " " << s.width << "x" << s.height << " f" << s.flags << ")";
}
bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

// A first-level drop-down at (100, 50), 120 x 200.
PopupShadowInputs FirstLevel() {
  PopupShadowInputs in;
  in.popup = {100, 50, 220, 250};
  in.workRight = 1024;
  return in;
}

TEST(PopupShadows, FirstLevelBelowItsTitle) {
  const PopupShadowPlan plan = PlanPopupShadows(FirstLevel());
  EXPECT_PRED2(Same, (ShadowStrip{220, 55, 5, 195, 0x1001}), plan.right);
  EXPECT_PRED2(Same, (ShadowStrip{105, 250, 119, 5, 0}), plan.bottom);
  EXPECT_FALSE(plan.joining.Exists());
  EXPECT_EQ(ParentStrip::kNone, plan.hidden);
}

TEST(PopupShadows, FirstLevelAboveItsTitle) {
  struct Case {
    int titleLeft, shift, workRight;
    bool whidbey;
    ShadowStrip bottom, joining;
  } cases[] = {
      // Title at the popup's left edge: the strip starts where the title ends.
      {100, 0, 1024, false, {160, 250, 64, 5, 2}, {}},
      // WHIDBEY titles are 4 narrower; a positive shift past the frame moves the strip.
      {90, 6, 1024, true, {160, 250, 64, 5, 2}, {}},
      // Title left of the popup: its shift shortens the strip.
      {80, 10, 1024, false, {166, 250, 58, 5, 2}, {}},
      // Popup left of the title: a joining strip covers the part before the title.
      {130, 0, 1024, false, {160, 250, 64, 5, 2}, {105, 250, 25, 5, 1}},
      // The strip's right end past the work area.
      {100, 0, 222, false, {160, 250, 68, 5, 2}, {}},
  };
  for (const Case& c : cases) {
    PopupShadowInputs in = FirstLevel();
    in.dropDownTop = -1;
    in.titleWidth = 60;
    in.titleScreenLeft = c.titleLeft;
    in.dropDownShiftX = c.shift;
    in.whidbey = c.whidbey;
    in.workRight = c.workRight;
    const PopupShadowPlan plan = PlanPopupShadows(in);
    EXPECT_PRED2(Same, c.bottom, plan.bottom) << c.titleLeft << " " << c.shift;
    EXPECT_PRED2(Same, c.joining, plan.joining) << c.titleLeft;
  }
}

// A submenu of a first-level parent at (100, 50)-(220, 250) whose bottom strip is
// (105, 250) 119 long.
PopupShadowInputs Submenu(RECT popup, int bottom, bool firstLevelParent) {
  PopupShadowInputs in;
  in.popup = popup;
  in.submenu = true;
  in.submenuBottom = bottom;
  in.titleHeight = 20;
  in.workRight = 1024;
  in.parent.window = {100, 50, 220, 250};
  in.parent.firstLevel = firstLevelParent;
  in.parent.hasBottomStrip = true;
  in.parent.bottomX = 105;
  in.parent.bottomY = 250;
  in.parent.bottomLength = 119;
  return in;
}

TEST(PopupShadows, SubmenuBottomStripCasesInOrder) {
  struct Case {
    RECT popup;
    int bottom;
    ShadowStrip strip;
    ParentStrip hidden;
  } cases[] = {
      {{219, 100, 319, 200}, 200, {219, 200, 104, 5, 2}, ParentStrip::kNone},    // ends above, right of P
      {{20, 100, 101, 200}, 200, {25, 200, 75, 5, 1}, ParentStrip::kNone},       // ends above, left of P
      {{219, 150, 319, 250}, 250, {105, 250, 218, 5, 0}, ParentStrip::kBottom},  // level, right of P
      {{20, 150, 101, 250}, 250, {25, 250, 199, 5, 0}, ParentStrip::kBottom},    // level, left of P
      {{219, 200, 319, 300}, 300, {224, 300, 99, 5, 0}, ParentStrip::kNone},     // ends below
  };
  for (const Case& c : cases) {
    const PopupShadowPlan plan = PlanPopupShadows(Submenu(c.popup, c.bottom, false));
    EXPECT_PRED2(Same, c.strip, plan.bottom) << c.popup.left << "," << c.popup.top;
    EXPECT_EQ(c.hidden, plan.hidden) << c.popup.left << "," << c.popup.top;
  }
}

// Left of a first-level parent below its title and reaching below it: the right strip
// runs from the parent's bottom plus the title's height, and the parent's bottom strip is
// replaced by one 5 pixels longer to the left while the submenu is open.
TEST(PopupShadows, SubmenuLeftOfParentReplacesTheParentsStrip) {
  const PopupShadowPlan plan = PlanPopupShadows(Submenu({20, 200, 101, 300}, 300, true));
  EXPECT_PRED2(Same, (ShadowStrip{101, 269, 5, 31, 0x1004}), plan.right);
  EXPECT_EQ(ParentStrip::kBottom, plan.hidden);
  EXPECT_PRED2(Same, (ShadowStrip{105, 250, 119, 5, 2}), plan.extra);
  EXPECT_PRED2(Same, (ShadowStrip{25, 300, 80, 5, 0}), plan.bottom);
}

TEST(PopupShadows, SubmenuOfADropDownAboveItsTitle) {
  PopupShadowInputs in = Submenu({219, 150, 319, 250}, 250, true);
  in.dropDownTop = -1;
  in.parent.hasJoiningStrip = true;
  in.parent.joiningLength = 30;
  // Right of the parent, level with it: the parent's bottom strip is carried on.
  PopupShadowPlan plan = PlanPopupShadows(in);
  EXPECT_PRED2(Same, (ShadowStrip{100, 250, 223, 5, 2}), plan.bottom);
  EXPECT_EQ(ParentStrip::kBottom, plan.hidden);
  // Left of it, level: the joining strip gives way.
  in.popup = {20, 150, 101, 250};
  plan = PlanPopupShadows(in);
  EXPECT_PRED2(Same, (ShadowStrip{25, 250, 110, 5, 1}), plan.bottom);
  EXPECT_EQ(ParentStrip::kJoining, plan.hidden);
}

TEST(UncoveredAreas, OverlappingMoveGivesStripsLeftRightBottomTop) {
  // Moved 10 right and 5 down, and 20 narrower and 10 shorter.
  const UncoveredArea area = UncoveredMenuArea({100, 100, 200, 200}, {110, 105, 190, 190});
  ASSERT_FALSE(area.disjoint);
  const std::vector<RECT> expected = {
      {100, 100, 110, 200}, {190, 100, 200, 200}, {100, 190, 200, 200}, {100, 100, 200, 105}};
  ASSERT_EQ(expected.size(), area.strips.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_PRED2(SameRect, expected[i], area.strips[i]) << i;
}

TEST(UncoveredAreas, DisjointMoveGivesTheOldRectangleOffTheNewOnesRow) {
  struct Case {
    RECT before, now, strip;
  } cases[] = {
      {{0, 0, 50, 50}, {60, 60, 100, 100}, {0, 0, 50, 49}},     // above-left: bottom row kept
      {{0, 60, 50, 110}, {60, 0, 100, 50}, {0, 61, 50, 110}},   // below-left: top row kept
      {{200, 0, 250, 50}, {0, 0, 100, 50}, {200, 0, 250, 50}},  // right: whole
  };
  for (const Case& c : cases) {
    const UncoveredArea area = UncoveredMenuArea(c.before, c.now);
    ASSERT_TRUE(area.disjoint);
    ASSERT_EQ(1u, area.strips.size());
    EXPECT_PRED2(SameRect, c.strip, area.strips[0]);
  }
}

TEST(UncoveredAreas, BarStrips) {
  const RECT old = {100, 20, 200, 120};
  std::vector<RECT> strips = UncoveredBarStrips({90, 20, 180, 120}, old);
  ASSERT_EQ(1u, strips.size());
  EXPECT_PRED2(SameRect, (RECT{180, 20, 200, 120}), strips[0]);
  strips = UncoveredBarStrips({120, 20, 220, 120}, old);
  ASSERT_EQ(1u, strips.size());
  EXPECT_PRED2(SameRect, (RECT{100, 20, 120, 120}), strips[0]);
  strips = UncoveredBarStrips({100, 130, 200, 230}, old);
  ASSERT_EQ(1u, strips.size());
  EXPECT_PRED2(SameRect, old, strips[0]);
  EXPECT_TRUE(UncoveredBarStrips(old, old).empty());
}

TEST(PopupHover, KeepsOnlyAnItemHoldingThePointerInsideTheMargins) {
  const RECT window = {100, 100, 200, 160};
  const std::vector<HoverItem> items = {{{101, 102, 199, 122}, false}, {{101, 122, 199, 142}, true}};
  struct Case {
    POINT pointer;
    int position;
  } cases[] = {
      {{150, 110}, 0},                                      // inside
      {{101, 110}, -1},                                     // 1 pixel in from the left: not for a plain item
      {{102, 110}, 0},  {{198, 110}, -1},                   // 2 pixels in from the right: not for a plain item
      {{197, 110}, 0},  {{101, 130}, 1},                    // a submenu item keeps its selection up to the frame
      {{199, 130}, 1},  {{200, 130}, -1}, {{150, 122}, 1},  // the shared row is the lower item's
      {{150, 101}, -1},                                     // the window's edge rows
      {{150, 150}, -1},                                     // below every item
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.position, KeptHoverPosition(items, window, c.pointer)) << c.pointer.x << "," << c.pointer.y;
}

TEST(PopupPlacement, PlacingChangeIsFoundByContent) {
  struct Case {
    UINT flags;
    bool placed, placing;
  } cases[] = {
      {0x50, false, true},   // Wine's show
      {0x97, false, false},  // Wine's hide
      {SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER, false, false},
      {SWP_NOZORDER, false, true},
      {SWP_NOMOVE, false, true},
      {0x50, true, false},  // once only
  };
  for (const Case& c : cases) EXPECT_EQ(c.placing, IsPlacingChange(c.flags, c.placed)) << std::hex << c.flags;
}

TEST(PopupPlacement, SizeRulesPerLook) {
  struct Case {
    PopupLook look;
    bool submenu;
    int overhang, minimum;
    PopupPos expected;
  } cases[] = {
      {PopupLook::kPlain, false, 0, 0, {10, 20, 150, 100}},
      {PopupLook::kPlain, false, 3, 0, {12, 20, 150, 100}},
      {PopupLook::kWhidbey, false, 9, 0, {15, 20, 150, 99}},
      {PopupLook::kOffice, false, 1, 0, {10, 20, 150, 97}},
      {PopupLook::kOffice, true, 1, 0, {10, 20, 78, 97}},
      {PopupLook::kOffice, true, 1, 99, {10, 20, 78, 99}},    // the cut stops at the last item
      {PopupLook::kOffice, true, 1, 101, {10, 20, 78, 101}},  // the frame needs more than the system gave
  };
  for (const Case& c : cases) {
    PopupPos p = {10, 20, 80, 100};
    ApplySizeRules(p, c.look, c.submenu, PlacementStep(c.overhang), 150, c.minimum);
    EXPECT_EQ(c.expected.x, p.x);
    EXPECT_EQ(c.expected.cx, p.cx);
    EXPECT_EQ(c.expected.cy, p.cy);
  }
}

TEST(PopupPlacement, SubmenusOpenAgainstTheirParentAndStayOnTheMonitor) {
  const SubmenuAnchor office = {200, false, 100, 101, 3, 0};
  PopupPos right = {250, 40, 80, 60};
  OffsetSubmenu(right, office);
  EXPECT_EQ(253, right.x);
  EXPECT_EQ(42, right.y);
  SubmenuAnchor placed = office;
  placed.parentPlaced = true;
  PopupPos fromDropDown = {250, 40, 80, 60};
  OffsetSubmenu(fromDropDown, placed);
  EXPECT_EQ(200, fromDropDown.x);
  PopupPos left = {150, 40, 80, 60};
  OffsetSubmenu(left, {200, false, 100, 101, 5, 2});
  EXPECT_EQ(148, left.x);

  const RECT work = {0, 0, 400, 300};
  PopupPos past = {350, 40, 80, 60};
  FitSubmenu(past, 80, 60, 200, work);
  EXPECT_EQ(121, past.x);
  PopupPos low = {100, 280, 80, 60};
  FitSubmenu(low, 80, 60, 200, work);
  EXPECT_EQ(240, low.y);
}

TEST(PopupFrames, TitleJointRow) {
  struct Case {
    PopupLook look;
    int shift;
    bool above, print;
    RECT row;
  } cases[] = {
      {PopupLook::kOffice, 0, false, false, {1, 0, 59, 1}},  {PopupLook::kOffice, 6, false, false, {3, 0, 61, 1}},
      {PopupLook::kOffice, 2, false, false, {1, 0, 59, 1}},  {PopupLook::kOffice, -3, false, false, {-2, 0, 56, 1}},
      {PopupLook::kWhidbey, 3, false, false, {2, 0, 56, 1}}, {PopupLook::kOffice, 0, true, false, {1, 99, 59, 100}},
      {PopupLook::kOffice, 0, true, true, {1, 99, 59, 101}}, {PopupLook::kWhidbey, 0, true, true, {1, 99, 55, 100}},
  };
  for (const Case& c : cases)
    EXPECT_PRED2(SameRect, c.row, TitleJointRow(c.look, 60, c.shift, c.above, 100, c.print)) << c.shift;
  const RECT none = TitleJointRow(PopupLook::kOffice, 0, 0, false, 100, false);
  EXPECT_LE(none.right, none.left);
  const RECT plain = TitleJointRow(PopupLook::kPlain, 60, 0, false, 100, false);
  EXPECT_LE(plain.right, plain.left);
}

TEST(PopupLooks, OfStyles) {
  EXPECT_EQ(PopupLook::kPlain, PopupLookOf(0));
  EXPECT_EQ(PopupLook::kWhidbey, PopupLookOf(UISTYLE_WHIDBEY));
  EXPECT_EQ(PopupLook::kOffice, PopupLookOf(UISTYLE_OFFICE2003_MENU));
  EXPECT_EQ(PopupLook::kOffice, PopupLookOf(UISTYLE_OFFICE2007));
  EXPECT_EQ(PopupLook::kOther, PopupLookOf(UISTYLE_OFFICE2003));
}

TEST(MenuSelect, PositionOfTheItemAMessageNames) {
  // Two items share id 7; the second is highlighted. Item 2 has a submenu.
  const std::vector<SelectableItem> items = {{7, false}, {7, true}, {0xFFFFFFFF, false}, {0xCBC2, false}};
  EXPECT_EQ(1, MenuSelectPosition(items, MAKEWPARAM(7, MF_HILITE), 1));
  EXPECT_EQ(2, MenuSelectPosition(items, MAKEWPARAM(2, MF_POPUP | MF_HILITE), 1));
  EXPECT_EQ(-1, MenuSelectPosition(items, MAKEWPARAM(9, MF_POPUP), 1));
  EXPECT_EQ(3, MenuSelectPosition(items, MAKEWPARAM(0xCBC2, MF_HILITE), 1));  // a negative id's low word
  EXPECT_EQ(-1, MenuSelectPosition(items, MAKEWPARAM(8, MF_HILITE), 1));
  EXPECT_EQ(-1, MenuSelectPosition(items, MAKEWPARAM(0, 0xFFFF), 0));  // the menu closed
  const std::vector<SelectableItem> plain = {{7, false}, {7, false}};
  EXPECT_EQ(0, MenuSelectPosition(plain, MAKEWPARAM(7, 0), 1));
}

}  // namespace
