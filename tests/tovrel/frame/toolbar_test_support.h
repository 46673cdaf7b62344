// What the tool-bar tests share: the toolkit started once, a hidden host window per test,
// icons of one colour and the colour an image list shows at an index.
#ifndef ZK_TESTS_TOVREL_FRAME_TOOLBAR_TEST_SUPPORT_H
#define ZK_TESTS_TOVREL_FRAME_TOOLBAR_TEST_SUPPORT_H

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <string>
#include <vector>

// A 16 x 16 icon, opaque in one colour (0xRRGGBB).
HICON SolidIcon(uint32_t rgb);

// The colour (0xRRGGBB) at the middle of image `index` drawn over white; white for an
// image that draws nothing.
uint32_t ListColour(HIMAGELIST list, int index);

class ToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HWND host_ = nullptr;
  std::vector<HICON> icons_;
  HICON Icon(uint32_t rgb);
};

#endif
