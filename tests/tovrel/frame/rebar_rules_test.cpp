// The rebar decisions that need no window: creation styles, layout names, numbers and
// documents, the height of the other rows, fill and follow fitting and when a style
// background is rendered.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/rebar_background.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/rebar_layout.h"
#include "tovrel/frame/rebar_rules.h"

using namespace tovrel;

namespace {

constexpr DWORD kAlways = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NODIVIDER;

TEST(RebarRulesTest, FlagsGiveWindowStylesWithoutToolkitBits) {
  struct Row {
    int flags;
    bool background;
    DWORD style;
    bool bandBorders;
    int uiStyle;
  } rows[] = {
      {0, false, kAlways, false, 0},
      {RBS_VARHEIGHT, false, kAlways | RBS_VARHEIGHT, false, 0},
      // The tool's own rebar: OFFICE2007 keeps band borders it was not given.
      {0x2000200, false, kAlways | RBS_VARHEIGHT, false, UISTYLE_OFFICE2007},
      {0x2000000 | RBS_BANDBORDERS, false, kAlways | RBS_BANDBORDERS, false, UISTYLE_OFFICE2007},
      // 0x1000000 is WS_MAXIMIZE as a window style: an OFFICE2003 rebar must not get it.
      {0x1000000 | RBS_BANDBORDERS, false, kAlways, true, UISTYLE_OFFICE2003},
      {0x1000000 | 0x2000000, false, kAlways, false, UISTYLE_OFFICE2003},
      {RBS_BANDBORDERS, true, kAlways, true, 0},
      {RBS_BANDBORDERS, false, kAlways | RBS_BANDBORDERS, false, 0},
      // 0x800000 is WS_BORDER, 0x4000000 WS_CLIPSIBLINGS (wanted anyway) as window styles.
      {0x800000 | 0x4000000 | RBS_AUTOSIZE, false, kAlways | RBS_AUTOSIZE, false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.flags);
    const RebarCreationStyle got = RebarCreationStyleOf(row.flags, row.background);
    EXPECT_EQ(got.windowStyle, row.style);
    EXPECT_EQ(got.windowStyle & (WS_BORDER | WS_MAXIMIZE | WS_MINIMIZE), 0u);
    EXPECT_EQ(got.bandBorders, row.bandBorders);
    EXPECT_EQ(got.uiStyle, row.uiStyle);
  }
}

TEST(RebarRulesTest, LayoutFileNames) {
  struct Row {
    const char* path;
    bool valid;
  } rows[] = {
      {"layout.xml", true},
      {"C:\\data\\bands.xml", true},
      {"C:/data/bands.xml", true},
      {"dir\\", false},
      {"", false},
      {"a\"b.xml", false},
      {"a*b.xml", false},
      {"a?b.xml", false},
      {"a<b.xml", false},
      {"a>b.xml", false},
      {"a|b.xml", false},
      {"C:\\x\\c:d.xml", false},
      {"tab\there.xml", false},
      {"C:\\odd:dir\\ok.xml", true},
  };
  for (const Row& row : rows) EXPECT_EQ(IsValidLayoutFileName(row.path), row.valid) << row.path;
}

TEST(RebarRulesTest, DecimalReading) {
  struct Row {
    const char* text;
    int32_t value;
  } rows[] = {
      {"17", 17}, {" 42", 42},        {"-3", -3},           {"+8", 8},  {"12abc", 12}, {"abc", 0},
      {"", 0},    {"4294967295", -1}, {"8388612", 8388612}, {"1.5", 1},
  };
  for (const Row& row : rows) EXPECT_EQ(ReadDecimal(row.text), row.value) << row.text;
  EXPECT_EQ(ReadDecimal(nullptr), 0);
}

// Two rows: bands 0 and 1 share the first (top 0, as high as band 0's 24), band 2 has the
// second (top 26, 30 high); every band has 2 pixels of borders.
std::vector<BandRowEntry> TwoRows() { return {{0, true, 0, 24, 2}, {1, true, 0, 20, 2}, {2, true, 26, 30, 2}}; }

TEST(RebarRulesTest, OtherRowsHeight) {
  std::vector<BandRowEntry> bands = TwoRows();
  EXPECT_EQ(OtherRowsHeight(bands, 0), 32);  // the second row only
  EXPECT_EQ(OtherRowsHeight(bands, 1), 32);  // counted by band 0, taken off again
  EXPECT_EQ(OtherRowsHeight(bands, 2), 26);
  EXPECT_EQ(OtherRowsHeight(bands, 9), 58);  // no such band: every row
  bands[2].visible = false;                  // a hidden band's row is not there
  EXPECT_EQ(OtherRowsHeight(bands, 0), 0);
  bands[2].visible = true;
  bands[0].visible = false;  // band 1 now starts the first row, and is all of its height
  EXPECT_EQ(OtherRowsHeight(bands, 1), 32);
  EXPECT_EQ(OtherRowsHeight(bands, 2), 22);
  // A hidden band between two of a row does not split it.
  EXPECT_EQ(OtherRowsHeight({{0, true, 0, 24, 2}, {5, false, 0, 0, 0}, {1, true, 0, 20, 2}}, 1), 0);
  EXPECT_EQ(OtherRowsHeight({}, 0), 0);
}

TEST(RebarRulesTest, FirstChildTopOnTheCentreLine) {
  const RECT rebar = {0, 0, 400, 50};
  const RECT below = {0, 200, 400, 300};
  const RECT aside = {0, 100, 150, 300};       // left of x = 200
  const RECT straddles = {-10, -20, 400, 80};  // starts above the client area
  const RECT lower = {0, 400, 400, 500};       // below the client height
  EXPECT_EQ(FirstChildTop({below}, 200, 300), 200);
  EXPECT_EQ(FirstChildTop({aside, below}, 200, 300), 200);
  EXPECT_EQ(FirstChildTop({aside}, 100, 300), 100);
  EXPECT_EQ(FirstChildTop({below, straddles}, 200, 300), 0);
  EXPECT_EQ(FirstChildTop({lower}, 200, 300), -1);
  EXPECT_EQ(FirstChildTop({rebar}, 400, 300), -1);  // right edge is outside
  EXPECT_EQ(FirstChildTop({}, 200, 300), -1);
  EXPECT_EQ(FirstChildTop({{0, 300, 400, 310}}, 200, 300), 300);  // the last row still counts
}

TEST(RebarRulesTest, FillBandReachesFivePixelsAboveTheNextChild) {
  struct Row {
    int clientHeight, childTop, savedOffset, otherRows;
    FillFit fit;
  } rows[] = {
      // A child at y = 200 in a 300-pixel client: offset 105, the band 195 high.
      {300, 200, 0, 0, {195, 105, 105}},
      {300, 200, 0, 30, {165, 105, 105}},
      // The first offset found is kept; a later one is used but not saved.
      {300, 250, 105, 0, {245, 55, 105}},
      // Nothing found: the saved offset stays in use.
      {400, -1, 105, 30, {265, 105, 105}},
      {400, -1, 0, 30, {370, 0, 0}},
      // A parent too low for the other rows gives 0, never a negative height.
      {100, 90, 0, 120, {0, 15, 15}},
      {20, 2, 0, 0, {0, 23, 23}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.clientHeight * 1000 + row.childTop);
    const FillFit fit = FitFillBand(row.clientHeight, row.childTop, row.savedOffset, row.otherRows);
    EXPECT_EQ(fit.cyMinChild, row.fit.cyMinChild);
    EXPECT_EQ(fit.offset, row.fit.offset);
    EXPECT_EQ(fit.savedOffset, row.fit.savedOffset);
    EXPECT_GE(fit.cyMinChild, 0);
  }
}

TEST(RebarRulesTest, FollowBandTakesItsRowPartnersHeight) {
  constexpr UINT kFill = 0x20000, kFillToo = 0x40000, kFollow = 0x800000;
  struct Row {
    const char* name;
    std::vector<FitBandState> bands;
    FollowFit fit;
  } rows[] = {
      {"fill partner in its row", {{kFill, 0, 180, 0, true}, {kFollow, 0, 24, 0, true}}, {true, 180, 24, false}},
      {"0x40000 partner", {{kFillToo, 0, 90, 0, true}, {kFollow, 0, 24, 0, true}}, {true, 90, 24, false}},
      {"follow partner", {{kFollow, 0, 70, 0, true}, {kFollow, 0, 24, 0, true}}, {true, 70, 24, false}},
      {"saved height kept once", {{kFill, 0, 180, 0, true}, {kFollow, 0, 150, 24, true}}, {true, 180, 24, false}},
      {"partner in another row", {{kFill, 0, 180, 0, true}, {kFollow, 40, 24, 0, true}}, {false, 24, 0, false}},
      {"plain band is no partner", {{RBBS_BREAK, 0, 180, 0, true}, {kFollow, 0, 24, 0, true}}, {false, 24, 0, false}},
      {"hidden fill band is no partner",
       {{kFill | RBBS_HIDDEN, 0, 180, 0, true}, {kFollow, 0, 24, 0, true}},
       {false, 24, 0, false}},
      {"lost partner gives the height back",
       {{kFill, 40, 180, 0, true}, {kFollow, 0, 180, 24, true}},
       {true, 24, 0, true}},
      {"no record keeps nothing", {{kFill, 0, 180, 0, true}, {kFollow, 0, 24, 0, false}}, {true, 180, 0, false}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const FollowFit fit = FitFollowBand(row.bands, 1);
    EXPECT_EQ(fit.changed, row.fit.changed);
    EXPECT_EQ(fit.cyMinChild, row.fit.cyMinChild);
    EXPECT_EQ(fit.savedOwnMinChild, row.fit.savedOwnMinChild);
    EXPECT_EQ(fit.refitAll, row.fit.refitAll);
  }
}

TEST(RebarRulesTest, WhenAStyleBackgroundIsRendered) {
  struct Row {
    intptr_t image;
    bool valid;
    int imageWidth, imageHeight, force;
    bool render;
  } rows[] = {
      {-2, false, 0, 0, 1, false},                                     // no rebar of the style yet, even when forced
      {-2, false, 0, 0, 0, false},                                     //
      {-1, false, 0, 0, 0, true},                                      // marked
      {7, true, 1284, 256, 0, false},                                  // wide and high enough
      {7, true, 1284, 256, 1, true},                                   // forced
      {7, true, 1000, 256, 0, true},                                   // a wider desktop appeared
      {7, true, 1284, 200, 0, true},  {7, true, 2000, 256, 0, false},  // never made smaller
      {7, false, 0, 0, 1, false},                                      // freed behind our back: nothing to replace
  };
  for (const Row& row : rows) {
    EXPECT_EQ(
        RebarBackgroundNeedsRendering(row.image, row.valid, row.imageWidth, row.imageHeight, 1284, 256, row.force),
        row.render)
        << row.image << " " << row.imageWidth << "x" << row.imageHeight << " force " << row.force;
  }
}

TEST(RebarRulesTest, BackgroundGradientColumns) {
  const COLORREF left = RGB(200, 100, 0), right = RGB(0, 100, 200);
  EXPECT_EQ(RebarBackgroundColumn(left, right, 0, 642), left);
  EXPECT_EQ(RebarBackgroundColumn(left, right, 321, 642), RGB(100, 100, 100));
  EXPECT_EQ(RebarBackgroundColumn(left, right, 642, 642), right);
  EXPECT_EQ(RebarBackgroundColumn(left, right, 1283, 642), right);
  EXPECT_EQ(RebarBackgroundColumn(left, right, 0, 0), right);
}

TEST(RebarLayoutTest, SavedDocumentBytes) {
  EXPECT_EQ(FormatRebarLayout({{0, 250, 0x800004}, {3, 120, RBBS_BREAK | RBBS_CHILDEDGE}}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<Layout>\r\n"
            "   <Band ID=\"0\" cx=\"250\" fStyle=\"8388612\"/>\r\n"
            "   <Band ID=\"3\" cx=\"120\" fStyle=\"5\"/>\r\n"
            "</Layout>\r\n");
  EXPECT_EQ(FormatRebarLayout({}), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Layout>\r\n</Layout>\r\n");
}

TEST(RebarLayoutTest, RoundTripAndWhatTheReaderAccepts) {
  const std::vector<LayoutBand> saved = {{2, 300, 0x800084}, {0, 90, 0xFFFFFFFF}, {1, -5, 0}};
  std::vector<LayoutBand> read;
  ASSERT_TRUE(ParseRebarLayout(FormatRebarLayout(saved), &read));
  ASSERT_EQ(read.size(), saved.size());
  for (size_t i = 0; i < saved.size(); ++i) {
    EXPECT_EQ(read[i].id, saved[i].id);
    EXPECT_EQ(read[i].cx, saved[i].cx);
    EXPECT_EQ(read[i].style, saved[i].style);
  }

  struct Row {
    const char* text;
    bool parses;
    size_t bands;
  } rows[] = {
      {"<LAYOUT><Band ID=\"1\" cx=\"2\" fStyle=\"3\"/></LAYOUT>", true, 1},
      {"<layout>\n<x ID=\"1\"/><y/>\n</layout>", true, 2},                    // any element name; missing attributes
      {"<Layout><Band ID=\"1\"><Inner ID=\"9\"/></Band></Layout>", true, 1},  // only children of the root
      {"<Layout/>", true, 0},
      {"<Bands><Band ID=\"1\"/></Bands>", false, 0},
      {"<Layout><Band ID=\"1\"/>", false, 0},  // broken: no end tag
      {"<Layout><Band ID=\"1\"/></Layout><Layout/>", false, 0},
      {"", false, 0},
      {"not xml", false, 0},
  };
  for (const Row& row : rows) {
    std::vector<LayoutBand> bands = {{7, 7, 7}};
    EXPECT_EQ(ParseRebarLayout(row.text, &bands), row.parses) << row.text;
    EXPECT_EQ(bands.size(), row.bands) << row.text;
  }
  std::vector<LayoutBand> missing;
  ASSERT_TRUE(ParseRebarLayout("<layout><b cx=\"40\"/></layout>", &missing));
  EXPECT_EQ(missing[0].id, 0);
  EXPECT_EQ(missing[0].cx, 40);
  EXPECT_EQ(missing[0].style, 0u);
}

}  // namespace
