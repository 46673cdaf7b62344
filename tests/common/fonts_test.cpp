#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/fonts.h"

namespace {

LOGFONTA FontOf(HFONT f) {
  LOGFONTA lf{};
  EXPECT_EQ(GetObjectA(f, sizeof(lf), &lf), int(sizeof(lf)));
  return lf;
}

int ScreenDpiY() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

struct FlagCase {
  unsigned flags;
  LONG weight;
  bool italic;
  bool underline;
  bool strikeOut;
  BYTE quality;
};

class FontFlagsTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FontFlagsTest, FlagsReachTheLogicalFont) {
  const FlagCase& c = GetParam();
  int n = static_cast<int>(LoadRuntimeFont(kAnyNumber, "Times New Roman", 12, c.flags));
  ASSERT_NE(n, 0);
  LOGFONTA lf = FontOf(RuntimeFontHandle(n));
  EXPECT_EQ(lf.lfWeight, c.weight);
  EXPECT_EQ(lf.lfItalic != 0, c.italic);
  EXPECT_EQ(lf.lfUnderline != 0, c.underline);
  EXPECT_EQ(lf.lfStrikeOut != 0, c.strikeOut);
  EXPECT_EQ(lf.lfQuality, c.quality);
  EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
  EXPECT_EQ(FreeRuntimeFont(n), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, FontFlagsTest,
    ::testing::Values(FlagCase{0, FW_NORMAL, false, false, false, DEFAULT_QUALITY},
                      FlagCase{kFontBold, FW_BOLD, false, false, false, DEFAULT_QUALITY},
                      FlagCase{kFontItalic, FW_NORMAL, true, false, false, DEFAULT_QUALITY},
                      FlagCase{kFontUnderline, FW_NORMAL, false, true, false, DEFAULT_QUALITY},
                      FlagCase{kFontStrikeOut, FW_NORMAL, false, false, true, DEFAULT_QUALITY},
                      FlagCase{kFontHighQuality, FW_NORMAL, false, false, false, CLEARTYPE_QUALITY},
                      FlagCase{kFontBold | kFontItalic | kFontUnderline, FW_BOLD, true, true, false, DEFAULT_QUALITY}));

TEST(FontsTest, HeightFollowsTheScreenDpi) {
  int dpi = ScreenDpiY();
  ASSERT_GT(dpi, 0);
  for (int points : {8, 11, 12, 24}) {
    int n = static_cast<int>(LoadRuntimeFont(kAnyNumber, "Verdana", points));
    ASSERT_NE(n, 0);
    EXPECT_EQ(FontOf(RuntimeFontHandle(n)).lfHeight, -MulDiv(points, dpi, 72)) << points;
    FreeRuntimeFont(n);
  }
}

TEST(FontsTest, NumberRules) {
  int a = static_cast<int>(LoadRuntimeFont(kAnyNumber, "Tahoma", 8));
  int b = static_cast<int>(LoadRuntimeFont(kAnyNumber, "Tahoma", 8, kFontBold));
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_NE(a, b);
  EXPECT_LT(a, 0x10000);
  EXPECT_LT(b, 0x10000);

  // An explicit number answers the handle and replaces the font that held the number.
  intptr_t first = LoadRuntimeFont(7, "Microsoft Sans Serif", 8);
  ASSERT_NE(first, 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(first), RuntimeFontHandle(7));
  intptr_t second = LoadRuntimeFont(7, "Microsoft Sans Serif", 8, kFontBold);
  ASSERT_NE(second, 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(second), RuntimeFontHandle(7));
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u);
  EXPECT_EQ(FontOf(RuntimeFontHandle(7)).lfWeight, FW_BOLD);

  EXPECT_EQ(IsRuntimeFont(7), 1);
  EXPECT_EQ(FreeRuntimeFont(7), 1);
  EXPECT_EQ(IsRuntimeFont(7), 0);
  EXPECT_EQ(FreeRuntimeFont(7), 0);
  EXPECT_EQ(RuntimeFontHandle(7), nullptr);
  EXPECT_EQ(LoadRuntimeFont(-2, "Tahoma", 8), 0);
  FreeRuntimeFont(a);
  FreeRuntimeFont(b);
}

}  // namespace
