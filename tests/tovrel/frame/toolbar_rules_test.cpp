// The tool bars' plain decisions: creation flags, insert positions, gadget placement.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/toolbar_rules.h"

using namespace tovrel;

TEST(ToolbarStylesOfFlags, ToolkitBitsStayOutOfTheWindowStyle) {
  struct Row {
    int flags;
    DWORD windowStyle;
    DWORD extendedStyle;
    int32_t uiStyle;
  } rows[] = {
      {0, TBSTYLE_TOOLTIPS, TBSTYLE_EX_DRAWDDARROWS, 0},
      // The tool's own tool bar: OFFICE2007 with clipped buttons hidden, never WS_BORDER.
      {0x2800000, TBSTYLE_TOOLTIPS, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_HIDECLIPPEDBUTTONS, UISTYLE_OFFICE2007},
      {0x1000000 | TBSTYLE_FLAT, TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, TBSTYLE_EX_DRAWDDARROWS, UISTYLE_OFFICE2003},
      {0x3000000, TBSTYLE_TOOLTIPS, TBSTYLE_EX_DRAWDDARROWS, UISTYLE_OFFICE2003},
      {0x6000000 | CCS_NODIVIDER, TBSTYLE_TOOLTIPS | CCS_NODIVIDER, TBSTYLE_EX_DRAWDDARROWS, 0x4000000},
      {0x7800000, TBSTYLE_TOOLTIPS, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_HIDECLIPPEDBUTTONS, 0x4000000},
  };
  for (const Row& r : rows) {
    const ToolbarCreationStyles s = ToolbarStylesOfFlags(r.flags);
    EXPECT_EQ(r.windowStyle, s.windowStyle) << std::hex << r.flags;
    EXPECT_EQ(0u, s.windowStyle & WS_BORDER) << std::hex << r.flags;
    EXPECT_EQ(r.extendedStyle, s.extendedStyle) << std::hex << r.flags;
    EXPECT_EQ(r.uiStyle, s.uiStyle) << std::hex << r.flags;
    EXPECT_EQ(r.flags | TBSTYLE_TOOLTIPS, s.recordFlags) << std::hex << r.flags;
  }
}

TEST(ClampInsertPosition, BeyondTheLastAppendsBelowMinusOneIsFirst) {
  struct Row {
    int position, count, expected;
  } rows[] = {{0, 3, 0}, {3, 3, 3}, {4, 3, -1}, {99, 0, -1}, {-1, 3, -1}, {-2, 3, 0}, {-100, 0, 0}, {2, 3, 2}};
  for (const Row& r : rows) {
    EXPECT_EQ(r.expected, ClampInsertPosition(r.position, r.count)) << r.position << " of " << r.count;
  }
}

TEST(PlaceGadget, InsetByThePaddingsAndComboBoxesFitTheirField) {
  const RECT item = {40, 2, 140, 24};  // 22 pixels high
  struct Row {
    int left, top, bottom;
    const char* className;
    GadgetPlacement expected;
  } rows[] = {
      {0, 0, 0, "ComboBox", {40, 2, 90, 22, 16}},
      {3, 2, 4, "ComboBox", {43, 4, 90, 18, 12}},
      {3, 2, 4, "Edit", {43, 4, 90, 18, -1}},
      // A class of its own that derives from the combo box is placed, never resized inside.
      {0, 0, 0, "ComboBoxEx32", {40, 2, 90, 22, -1}},
      {0, 0, 0, "combobox", {40, 2, 90, 22, -1}},
  };
  for (const Row& r : rows) {
    const GadgetPlacement p = PlaceGadget(item, r.left, r.top, r.bottom, 90, r.className);
    EXPECT_EQ(r.expected.x, p.x) << r.className;
    EXPECT_EQ(r.expected.y, p.y) << r.className;
    EXPECT_EQ(r.expected.width, p.width) << r.className;
    EXPECT_EQ(r.expected.height, p.height) << r.className;
    EXPECT_EQ(r.expected.itemHeight, p.itemHeight) << r.className;
  }
  EXPECT_EQ(100 - 7, GadgetWidthIn(item, 3, 4));
}
