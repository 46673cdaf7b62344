// Where drop-downs and popups open against their button, their point and the work area.
#include <windows.h>

#include <gtest/gtest.h>

#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/drop_down_placement.h"

using namespace tovrel;

namespace {

constexpr RECT kWork = {0, 0, 1280, 1000};

}  // namespace

TEST(PlaceDropDown, TableOfButtonsMenusAndStyles) {
  struct Row {
    const char* name;
    RECT button;
    int width, height, style;
    bool buttonPopup;
    int shiftX, top, left, overhang;
    bool needsCopy;
    int trackX, trackY;
  } rows[] = {
      {"fits below", {100, 0, 140, 20}, 200, 300, 0, false, 0, 19, 100, 0, false, 100, 19},
      {"WHIDBEY overlaps its title one more",
       {100, 0, 140, 20},
       200,
       300,
       UISTYLE_WHIDBEY,
       false,
       0,
       18,
       100,
       0,
       false,
       100,
       18},
      // Flush with the right edge; the office styles report 4 more, the others 2. The menu
      // is asked for 5 pixels further in, as the popup placement expects.
      {"right edge, office",
       {1200, 0, 1240, 20},
       200,
       300,
       UISTYLE_OFFICE2007,
       false,
       124,
       19,
       1080,
       126,
       false,
       1075,
       19},
      {"right edge, office 2003",
       {1200, 0, 1240, 20},
       200,
       300,
       UISTYLE_OFFICE2003_MENU,
       false,
       124,
       19,
       1080,
       126,
       false,
       1075,
       19},
      {"right edge, other", {1200, 0, 1240, 20}, 200, 300, 0, false, 122, 19, 1080, 126, false, 1075, 19},
      {"within 5 of the edge", {1078, 0, 1118, 20}, 200, 300, 0, false, 0, 19, 1078, 4, false, 1075, 19},
      {"left of the work area", {-30, 0, 10, 20}, 200, 300, 0, false, -30, 19, 0, 0, false, 0, 19},
      // Too tall below: the bottom rests on the title's top.
      {"above, classic", {100, 900, 140, 920}, 200, 300, 0, false, 0, -1, 100, 0, false, 100, 600},
      {"above, WHIDBEY", {100, 900, 140, 920}, 200, 300, UISTYLE_WHIDBEY, false, 0, -1, 100, 0, false, 100, 601},
      {"above, office title",
       {100, 900, 140, 920},
       200,
       300,
       UISTYLE_OFFICE2007,
       false,
       0,
       -1,
       100,
       0,
       false,
       100,
       601},
      {"above, office button popup",
       {100, 900, 140, 920},
       200,
       300,
       UISTYLE_OFFICE2007,
       true,
       0,
       -1,
       100,
       0,
       false,
       100,
       603},
      {"last pixel row counts as not fitting", {100, 900, 140, 920}, 200, 79, 0, false, 0, -1, 100, 0, false, 100, 821},
      {"one pixel less fits", {100, 900, 140, 920}, 200, 78, 0, false, 0, 919, 100, 0, false, 100, 919},
      {"fits neither way", {100, 500, 140, 520}, 200, 1100, 0, false, 0, -1, 100, 0, true, 100, -600},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const DropDownPlacement p = PlaceDropDown({r.button, kWork, r.width, r.height, r.style, r.buttonPopup});
    EXPECT_EQ(r.shiftX, p.shiftX);
    EXPECT_EQ(r.top, p.top);
    EXPECT_EQ(r.left, p.left);
    EXPECT_EQ(r.overhang, p.overhang);
    EXPECT_EQ(r.needsCopy, p.needsCopy);
    EXPECT_EQ(r.trackX, p.track.x);
    EXPECT_EQ(r.trackY, p.track.y);
    EXPECT_EQ(p.track.x, p.button.left);
  }
}

// A copy that opens above is fitted by its own height, below by the button's bottom.
TEST(DropDownTrackY, CopyHeightDecidesTheTopAbove) {
  const RECT button = {100, 500, 140, 520};
  EXPECT_EQ(500 - 400 + 2 - 1 - 1, DropDownTrackY(button, 400, -1, 0, false));
  EXPECT_EQ(519, DropDownTrackY(button, 400, 0, 0, false));
}

TEST(AdjustPressedButton, ButtonPopupsOverlapTheirButtonByStyle) {
  const RECT button = {10, 0, 50, 24};
  struct Row {
    int style;
    bool buttonPopup;
    int titleWidth, bottom;
  } rows[] = {
      {0, true, 40, 24},
      {UISTYLE_OFFICE2003_MENU, true, 40, 22},
      {UISTYLE_OFFICE2007, true, 40, 22},
      {UISTYLE_WHIDBEY, true, 44, 23},
      {UISTYLE_OFFICE2007, false, 40, 24},
      {UISTYLE_WHIDBEY, false, 40, 24},
  };
  for (const Row& r : rows) {
    const PressedButton p = AdjustPressedButton(button, r.style, r.buttonPopup);
    EXPECT_EQ(r.titleWidth, p.titleWidth) << std::hex << r.style << " " << r.buttonPopup;
    EXPECT_EQ(r.bottom, p.rect.bottom) << std::hex << r.style << " " << r.buttonPopup;
    EXPECT_EQ(button.top, p.rect.top);
    EXPECT_EQ(button.left, p.rect.left);
  }
}

TEST(ShiftPopupIntoWork, EndsFivePixelsInsideAndRecordsTheDistancePlusOne) {
  struct Row {
    int x, x2, overhang;
  } rows[] = {
      {1000, 1000, 0},
      {1075, 1075, 0},
      {1076, 1075, 2},
      {1200, 1075, 126},
  };
  for (const Row& r : rows) {
    const PopupShift s = ShiftPopupIntoWork(r.x, 200, 1280);
    EXPECT_EQ(r.x2, s.x) << r.x;
    EXPECT_EQ(r.overhang, s.overhang) << r.x;
  }
}

TEST(ChevronMenuX, StaysOnTheWorkAreaFromTheLeft) {
  EXPECT_EQ(500, ChevronMenuX(500, 100, kWork));
  EXPECT_EQ(0, ChevronMenuX(-10, 100, kWork));
  EXPECT_EQ(1280, ChevronMenuX(1250, 100, kWork));
  // The shift of the popup then brings it inside.
  EXPECT_EQ(1280 - 100 - 5, ShiftPopupIntoWork(ChevronMenuX(1250, 100, kWork), 100, 1280).x);
}
