#include <gtest/gtest.h>

#include "common/dpi.h"

namespace {

struct ScaleCase {
  int layout;
  int dpi;
  int pixels;
};

class LayoutToPixelsTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(LayoutToPixelsTest, GrowsByTheDpiRoundedToThePixel) {
  const ScaleCase& c = GetParam();
  EXPECT_EQ(c.pixels, LayoutToPixels(c.layout, c.dpi));
}

INSTANTIATE_TEST_SUITE_P(Cases, LayoutToPixelsTest,
                         ::testing::Values(ScaleCase{680, 96, 680}, ScaleCase{680, 144, 1020}, ScaleCase{524, 120, 655},
                                           ScaleCase{11, 144, 17},    // half a pixel rounds up
                                           ScaleCase{-11, 144, -17},  // font heights are negative
                                           ScaleCase{1, 144, 2}, ScaleCase{0, 192, 0}, ScaleCase{375, 192, 750},
                                           ScaleCase{20, 0, 20}));  // no DPI read: the layout as it is

TEST(LayoutUnitsTest, PixelsBackToLayoutGiveTheLayoutValue) {
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    for (int v = -2000; v <= 2000; ++v) {
      ASSERT_EQ(v, PixelsToLayout(LayoutToPixels(v, dpi), dpi)) << "value " << v << " at " << dpi;
    }
  }
}

TEST(LayoutUnitsTest, ScreenConversionUsesTheScreensDpi) {
  const int dpi = ScreenDpi();
  ASSERT_GT(dpi, 0);
  EXPECT_EQ(LayoutToPixels(680, dpi), LayoutToScreen(680));
  EXPECT_EQ(PixelsToLayout(1020, dpi), ScreenToLayout(1020));
}

}  // namespace
