// How a dragged band edge shares height out, decided from rectangles alone: between the
// band and a stretchable neighbour row, else by resizing the window within its monitor.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tovrel/frame/band_row_layout.h"

using namespace tovrel;

namespace {

constexpr UINT kFill = 0x20000;
constexpr UINT kFollow = 0x800000;
constexpr UINT kPlain = 0;

BandGeometry Band(int top, int bottom, UINT style, int cyMinChild, int left = 0, int right = 200) {
  return {{left, top, right, bottom}, style, cyMinChild};
}

constexpr RECT kParent = {100, 100, 500, 400};
constexpr RECT kPrimary = {0, 0, 1024, 740};

struct Case {
  std::string name;
  std::vector<BandGeometry> bands;
  int band;
  bool bottom;
  int y;
  std::vector<BandHeightChange> changes;
  bool resizesParent;
  RECT parentAfter;  // checked when changes resize the parent
  RECT parent = kParent;
  RECT workArea = kPrimary;
  bool zoomed = false;
};

// Two rows: a fill band above a follow band.
const std::vector<BandGeometry> kFillOverFollow = {Band(0, 30, kFill, 26), Band(30, 60, kFollow, 26)};
const std::vector<BandGeometry> kOneFollow = {Band(0, 30, kFollow, 26)};

const Case kCases[] = {
    {"top edge takes from the stretchable row above", kFillOverFollow, 1, false, 20, {{1, 36}, {0, 16}}, false, {}},
    {"the pointer is held 6 pixels inside the row above", kFillOverFollow, 1, false, -50, {{1, 50}, {0, 2}}, false, {}},
    {"bottom edge takes from the stretchable row below", kFillOverFollow, 0, true, 40, {{0, 36}, {1, 16}}, false, {}},
    {"bottom edge held 6 pixels inside the row below", kFillOverFollow, 0, true, 99, {{0, 50}, {1, 2}}, false, {}},
    {"first row's top edge grows the window upwards", kOneFollow, 0, false, -20, {{0, 46}}, true, {100, 80, 500, 400}},
    {"the window's top stops at the work area's top",
     kOneFollow,
     0,
     false,
     -50,
     {{0, 36}},
     true,
     {100, 0, 500, 400},
     {100, 10, 500, 400}},
    {"a window already above the work area does not move",
     kOneFollow,
     0,
     false,
     -50,
     {},
     true,
     {},
     {100, -5, 500, 400}},
    {"last row's bottom edge grows the window downwards",
     kOneFollow,
     0,
     true,
     50,
     {{0, 46}},
     true,
     {100, 100, 500, 420}},
    {"the window's bottom stops at the work area's bottom",
     kOneFollow,
     0,
     true,
     130,
     {{0, 66}},
     true,
     {100, 600, 500, 740},
     {100, 600, 500, 700}},
    // A window on a second monitor that reaches below the primary screen still grows.
    {"the window's own monitor bounds it, not the primary one",
     kOneFollow,
     0,
     true,
     130,
     {{0, 126}},
     true,
     {1100, 500, 1500, 1000},
     {1100, 500, 1500, 900},
     {1024, 0, 2944, 1040}},
    {"a maximised window with no stretchable neighbour changes nothing",
     kOneFollow,
     0,
     true,
     50,
     {},
     false,
     {},
     kParent,
     kPrimary,
     true},
    {"a plain row above is no partner: the window grows",
     {Band(0, 30, kPlain, 26), Band(30, 60, kFollow, 26)},
     1,
     false,
     20,
     {{1, 36}},
     true,
     {100, 90, 500, 400}},
    {"a hidden band is no row of its own",
     {Band(0, 30, kPlain, 26), Band(0, 0, kFill | RBBS_HIDDEN, 0, 0, 0), Band(30, 60, kFollow, 26)},
     2,
     false,
     20,
     {{2, 36}},
     true,
     {100, 90, 500, 400}},
    {"the row's plain band of 40 is the floor",
     {Band(0, 48, kFollow, 44, 0, 100), Band(0, 48, kPlain, 40, 100, 200)},
     0,
     true,
     20,
     {{0, 40}},
     true,
     {100, 100, 500, 396}},
    {"a band below the floor cannot shrink",
     {Band(0, 34, kFollow, 30, 0, 100), Band(0, 34, kPlain, 40, 100, 200)},
     0,
     true,
     20,
     {},
     true,
     {}},
    {"a band below the floor can still grow",
     {Band(0, 34, kFollow, 30, 0, 100), Band(0, 34, kPlain, 40, 100, 200)},
     0,
     true,
     44,
     {{0, 40}},
     true,
     {100, 100, 500, 410}},
    {"no negative minimum height when the band is taller than its minimum",
     {Band(0, 44, kFollow, 10)},
     0,
     true,
     9,
     {{0, 0}},
     true,
     {100, 100, 500, 390}},
    {"no negative minimum height for the neighbour",
     {Band(0, 60, kFill, 3), Band(60, 90, kFollow, 26)},
     1,
     false,
     30,
     {{1, 29}, {0, 0}},
     false,
     {}},
    {"pointer on the edge itself changes nothing", kFillOverFollow, 1, false, 30, {}, false, {}},
};

TEST(BandRowLayout, EdgeCases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    BandRowDrag drag = {c.bands, c.band, c.bottom, c.y, c.zoomed, c.parent, c.workArea};
    BandRowLayout out = LayoutBandRow(drag);
    ASSERT_EQ(c.changes.size(), out.changes.size());
    for (size_t i = 0; i < c.changes.size(); ++i) {
      EXPECT_EQ(c.changes[i].band, out.changes[i].band);
      EXPECT_EQ(c.changes[i].cyMinChild, out.changes[i].cyMinChild);
      EXPECT_GE(out.changes[i].cyMinChild, 0);
    }
    EXPECT_EQ(c.resizesParent, out.resizesParent);
    if (out.resizesParent && !out.changes.empty()) {
      EXPECT_EQ(c.parentAfter.left, out.parentRect.left);
      EXPECT_EQ(c.parentAfter.top, out.parentRect.top);
      EXPECT_EQ(c.parentAfter.right, out.parentRect.right);
      EXPECT_EQ(c.parentAfter.bottom, out.parentRect.bottom);
    }
  }
}

TEST(BandRowLayout, BadBandIndexChangesNothing) {
  for (int band : {-1, 1}) {
    BandRowLayout out = LayoutBandRow({kOneFollow, band, true, 50, false, kParent, kPrimary});
    EXPECT_TRUE(out.changes.empty());
    EXPECT_FALSE(out.resizesParent);
  }
}

TEST(BandRowLayout, WrappedToolbarKeepsItsExtraHeight) {
  struct {
    int cy, oldRows, newRows, buttonHeight, expected;
  } const cases[] = {
      {30, 1, 2, 24, 54},  // one more row of 24, 6 extra kept
      {54, 2, 1, 24, 30},
      {24, 1, 3, 22, 68},
      {10, 2, 1, 24, 0},  // a band lower than its rows ever were never goes negative
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, WrappedBandHeight(c.cy, c.oldRows, c.newRows, c.buttonHeight))
        << c.cy << " " << c.oldRows << "->" << c.newRows;
}

TEST(BandRowLayout, EdgeIsWithinTwoPixels) {
  const RECT band = {0, 30, 200, 60};
  struct {
    int y;
    BandEdge edge;
  } const cases[] = {{27, BandEdge::None},   {28, BandEdge::Top},    {30, BandEdge::Top},
                     {32, BandEdge::Top},    {33, BandEdge::None},   {57, BandEdge::None},
                     {58, BandEdge::Bottom}, {62, BandEdge::Bottom}, {63, BandEdge::None}};
  for (const auto& c : cases) EXPECT_EQ(c.edge, BandEdgeAt(band, c.y)) << "y " << c.y;
}

}  // namespace
