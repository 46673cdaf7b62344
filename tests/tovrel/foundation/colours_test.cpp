// The UI colour tables, their lookups and brushes, and colour expressions, without a
// window. Expected colours are written the way a reader checks them against the built-in
// colour list: RRGGBB, with the form the table keeps (C or A) made here by hand.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/ui_styles.h"

using namespace tovrel;

namespace {

// GDI form of 0xRRGGBB.
constexpr uint32_t C(uint32_t rrggbb) { return (rrggbb & 0xFF) << 16 | (rrggbb & 0xFF00) | rrggbb >> 16; }
// GDI+ form of 0xRRGGBB with an alpha.
constexpr uint32_t A(uint32_t rrggbb, uint32_t alpha = 255) { return alpha << 24 | rrggbb; }

constexpr int kBlue = 0, kOlive = 1, kSilver = 2, kGrey = 3;

const ThemeColourInputs kNoTheme{false, 0};
const ThemeColourInputs kBlueTheme{true, C(0x6478DC)};
const ThemeColourInputs kOliveTheme{true, C(0xDCDC78)};
const ThemeColourInputs kSilverTheme{true, C(0xD2D2D2)};
const ThemeColourInputs kGreyTheme{true, C(0xDC6464)};

class Colours : public ::testing::Test {
 protected:
  void SetUp() override {
    InitColourTables();
    CurrentColourMode = UICOLOURMODE_DEFAULT;
    SetThemeColourInputsForTest(&kNoTheme);
  }
  void TearDown() override {
    SetThemeColourInputsForTest(nullptr);
    CurrentColourMode = UICOLOURMODE_DEFAULT;
  }
  void UseTheme(const ThemeColourInputs& theme) { SetThemeColourInputsForTest(&theme); }
};

COLORREF BrushColour(intptr_t brush) {
  LOGBRUSH logBrush = {};
  EXPECT_EQ(OBJ_BRUSH, GetObjectType(reinterpret_cast<HGDIOBJ>(brush)));
  EXPECT_EQ(static_cast<int>(sizeof logBrush),
            GetObjectA(reinterpret_cast<HGDIOBJ>(brush), sizeof logBrush, &logBrush));
  return logBrush.lbColor;
}

bool IsLiveBrush(intptr_t brush) { return GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) == OBJ_BRUSH; }

TEST(ColourArithmetic, PackRGBATakesEachArgumentAsAByte) {
  struct Case {
    int a, r, g, b;
    uint32_t expected;
  } cases[] = {
      {255, 0x12, 0x34, 0x56, 0xFF123456u},
      {0, 0, 0, 0, 0u},
      {256, 0, 0, 0, 0u},             // alpha 256 does not carry out of its byte
      {0x7F, -1, 0, 0, 0x7FFF0000u},  // -1 is 0xFF, not a run of ones over alpha
      {1, 0, 0x1FF, 0, 0x0100FF00u},  // green 0x1FF must not touch red
      {255, 0, 0, 300, 0xFF00002Cu},  // blue 300 must not touch green
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, PackRGBA(c.a, c.r, c.g, c.b)) << c.a << "," << c.r << "," << c.g << "," << c.b;
  }
}

TEST(ColourArithmetic, BlendAndDarkenGiveGdiColours) {
  EXPECT_EQ(C(0x102030), BlendColours(C(0x102030), C(0xF0E0D0), 0));
  EXPECT_EQ(C(0xF0E0D0), BlendColours(C(0x102030), C(0xF0E0D0), 256));
  // 0xFF × 128 / 256 truncates to 0x7F; an alpha byte in either input does not survive.
  EXPECT_EQ(C(0x7F7F7F), BlendColours(A(0x000000), C(0xFFFFFF), 128));
  EXPECT_EQ(100, DarkenChannel(128, 200));  // 200 − trunc(100.39)
  EXPECT_EQ(C(0x646464), DarkenColour(128, C(0xC8C8C8)));
  EXPECT_EQ(0u, DarkenColour(255, C(0xFFFFFF)));
  // An amount past 255 would take channels below zero and borrow from their neighbours.
  EXPECT_EQ(0u, DarkenColour(300, C(0xFFFFFF)));
}

TEST(ColourFamily, FollowsTheScrollBarThemeColour) {
  struct Case {
    ThemeColourInputs inputs;
    int expected;
  } cases[] = {
      {{true, C(0xD2D2D2)}, UICOLOURMODE_CUSTOM_SILVER},  // (210, 210, 210)
      {{true, C(0x6478DC)}, UICOLOURMODE_CUSTOM_BLUE},    // (100, 120, 220)
      {{true, C(0xDCDC78)}, UICOLOURMODE_CUSTOM_OLIVE},   // (220, 220, 120)
      {{true, C(0xDC6464)}, UICOLOURMODE_CUSTOM_GREY},    // (220, 100, 100)
      {{true, C(0xC8C8C8)}, UICOLOURMODE_CUSTOM_SILVER},  // 200 counts as light
      {{true, C(0xC7C7C8)}, UICOLOURMODE_CUSTOM_BLUE},
      {{true, C(0x3296FA)}, UICOLOURMODE_CUSTOM_BLUE},  // the Light style's base colour
      {{true, 0}, UICOLOURMODE_CUSTOM_GREY},
      {{false, C(0x6478DC)}, UICOLOURMODE_CUSTOM_GREY},  // a colour without a theme means nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ResolveColourFamily(c.inputs)) << std::hex << c.inputs.baseColour;
  }
}

TEST_F(Colours, DefaultAndCustomModesReadTheFamilysColumn) {
  // OFFICE2003 separatorbar: blue, olive, silver, grey.
  struct Case {
    const ThemeColourInputs* theme;
    int code;
    uint32_t separator;
  } cases[] = {
      {&kBlueTheme, 6, C(0x6A8CCB)}, {&kOliveTheme, 7, C(0x608058)}, {&kSilverTheme, 8, C(0x6E6D8F)},
      {&kGreyTheme, 9, C(0xA6A6A6)}, {&kNoTheme, 9, C(0xA6A6A6)},
  };
  for (const Case& c : cases) {
    UseTheme(*c.theme);
    CurrentColourMode = UICOLOURMODE_DEFAULT;
    EXPECT_EQ(c.code, LookupUIColour(UISTYLE_OFFICE2003, -1, 0));
    EXPECT_EQ(c.separator, static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2003, 25, 2)));
    EXPECT_EQ(c.code, LookupWhidbeyColour(UISTYLE_WHIDBEY, -1));

    // The custom mode answers the same code but reads the custom column.
    CurrentColourMode = UICOLOURMODE_CUSTOM;
    Office2003ColourTable[25].colours[c.code - 6 + 4] = C(0x123456);
    EXPECT_EQ(c.code, LookupUIColour(UISTYLE_OFFICE2003, -1, 0));
    EXPECT_EQ(C(0x123456), static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2003, 25, 2)));
    InitColourTables();
  }
}

TEST_F(Colours, ExplicitModesReadTheirColumnWhateverTheTheme) {
  UseTheme(kBlueTheme);
  struct Case {
    int mode;
    int code;
    uint32_t menuHeldBorder;  // OFFICE2003 index 12
  } cases[] = {
      {1, 6, C(0x002D96)}, {2, 7, C(0x758D5E)}, {3, 8, C(0x7C7C94)}, {4, 9, C(0x666666)}, {6, 6, C(0x002D96)},
      {7, 7, C(0x758D5E)}, {8, 8, C(0x7C7C94)}, {9, 9, C(0x666666)}, {10, 0, 0},          {-1, 0, 0},
  };
  for (const Case& c : cases) {
    CurrentColourMode = c.mode;
    EXPECT_EQ(c.code, LookupUIColour(UISTYLE_OFFICE2003_MENU, -1, 0)) << c.mode;
    EXPECT_EQ(c.menuHeldBorder, static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2003, 12, 2))) << c.mode;
  }
}

TEST_F(Colours, LookupFlagsChooseStoredColourGdiColourOrBrush) {
  // OFFICE2007 menuhotgradientcolor1 is the A colour FFF5CC in every column.
  EXPECT_EQ(0x00CCF5FFu, static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2007, 6, 2)));
  EXPECT_EQ(0xFFFFF5CCu, static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2007, 6, 1)));
  EXPECT_EQ(0x00CCF5FFu, BrushColour(LookupUIColour(UISTYLE_OFFICE2007, 6, 0)));
  // Without a theme every OFFICE lookup in the default mode reads the grey column.
  EXPECT_EQ(C(0x0A246A), static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2003, 3, 2)));
  EXPECT_EQ(C(0xF0F0F0), static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2007, 3, 2)));
  // The menu code 6 and 0x1000000 are the same table.
  EXPECT_EQ(LookupUIColour(UISTYLE_OFFICE2003, 31, 1), LookupUIColour(UISTYLE_OFFICE2003_MENU, 31, 1));
  EXPECT_EQ(A(0xD4D0C8), static_cast<uint32_t>(LookupUIColour(UISTYLE_OFFICE2003_MENU, 31, 1)));
}

TEST_F(Colours, StylesWithoutATableAndIndexesPastTheTableGiveNothing) {
  EXPECT_EQ(0, LookupUIColour(UISTYLE_WHIDBEY, 6, 2));
  EXPECT_EQ(0, LookupUIColour(UISTYLE_WHIDBEY, 6, 1));
  EXPECT_EQ(0, LookupUIColour(0x4000000, 30, 2));
  // Flags 0 with no table: a black brush.
  EXPECT_EQ(0u, BrushColour(LookupUIColour(0x4000000, 30, 0)));
  EXPECT_EQ(0, LookupWhidbeyColour(UISTYLE_OFFICE2003, 3));
  EXPECT_EQ(0, LookupWhidbeyColour(UISTYLE_OFFICE2007, 5));
  // An index past the table reads nothing and makes no brush.
  EXPECT_EQ(0, LookupUIColour(UISTYLE_OFFICE2003, 57, 0));
  EXPECT_EQ(0, LookupUIColour(UISTYLE_OFFICE2007, 1000, 1));
  EXPECT_EQ(0, LookupWhidbeyColour(UISTYLE_WHIDBEY, 57));
  // Entry 56 exists and holds 0.
  EXPECT_EQ(0, LookupUIColour(UISTYLE_OFFICE2003, 56, 1));
}

TEST_F(Colours, WhidbeyHandsTextColoursOverAsStoredAndBrushesForTheRest) {
  UseTheme(kBlueTheme);
  struct Case {
    int index;
    uint32_t stored;
    bool brush;
  } cases[] = {
      // Handed over as stored; the drop shadow (20) stays a GDI+ colour.
      {0, 0, false},
      {3, C(0xACA899), false},
      {20, A(0x000000, 50), false},
      {27, 0, false},
      {29, C(0xC5C3B8), false},
      // Brushes.
      {5, C(0xC1D2EE), true},
      {12, C(0x716F64), true},
      {13, C(0xEFEDDE), true},
      {30, C(0xFDFCFA), true},
  };
  for (const Case& c : cases) {
    intptr_t answer = LookupWhidbeyColour(UISTYLE_WHIDBEY, c.index);
    if (c.brush) {
      EXPECT_EQ(c.stored, BrushColour(answer)) << c.index;
    } else {
      EXPECT_EQ(c.stored, static_cast<uint32_t>(answer)) << c.index;
    }
  }
}

TEST_F(Colours, TableCellsMatchTheBuiltInColours) {
  struct Case {
    const ColourTableEntry* table;
    const char* name;
    int index, column;
    uint32_t expected;
  } cases[] = {
      {WhidbeyColourTable, "W", 3, kGrey, C(0x808080)},
      {WhidbeyColourTable, "W", 5, kOlive, C(0xCED2C5)},
      {WhidbeyColourTable, "W", 8, kSilver, C(0xB2B4BF)},
      {WhidbeyColourTable, "W", 17, kOlive, C(0x8C996B)},
      {WhidbeyColourTable, "W", 19, kSilver, C(0x9D9DA1)},
      {WhidbeyColourTable, "W", 20, kBlue, A(0x000000, 50)},
      {WhidbeyColourTable, "W", 20, kGrey, A(0x000000, 50)},
      {WhidbeyColourTable, "W", 30, kGrey, C(0xF9F9F8)},
      {WhidbeyColourTable, "W", 31, kBlue, 0},
      {Office2003ColourTable, "3", 6, kGrey, A(0xB6BDD2)},
      {Office2003ColourTable, "3", 10, kOlive, A(0xECF0D5)},
      {Office2003ColourTable, "3", 12, kBlue, C(0x002D96)},
      {Office2003ColourTable, "3", 19, kGrey, C(0x9F9C96)},
      {Office2003ColourTable, "3", 20, kBlue, A(0x6A8CCB, 87)},
      {Office2003ColourTable, "3", 20, kOlive, A(0x608058, 63)},
      {Office2003ColourTable, "3", 20, kGrey, A(0x666666, 125)},
      {Office2003ColourTable, "3", 30, kSilver, C(0xFDFAFF)},
      {Office2003ColourTable, "3", 40, kBlue, A(0x003591)},
      {Office2003ColourTable, "3", 41, kGrey, A(0xDBD8D1)},
      {Office2003ColourTable, "3", 42, kOlive, C(0x515E33)},
      {Office2003ColourTable, "3", 48, kSilver, C(0x4B4B6F)},
      {Office2003ColourTable, "3", 55, kGrey, C(0xFFFFFF)},
      {Office2007ColourTable, "7", 0, kGrey, C(0xFFFFFF)},
      {Office2007ColourTable, "7", 0, kBlue, 0},
      {Office2007ColourTable, "7", 11, kGrey, A(0x67707C)},
      {Office2007ColourTable, "7", 14, kOlive, C(0xFFBD69)},  // olive repeats blue, not silver
      {Office2007ColourTable, "7", 20, kBlue, A(0x000000, 155)},
      {Office2007ColourTable, "7", 20, kSilver, A(0x736C8C, 120)},
      {Office2007ColourTable, "7", 20, kOlive, A(0x000000, 155)},
      {Office2007ColourTable, "7", 31, kGrey, A(0x535353)},
      {Office2007ColourTable, "7", 48, kBlue, A(0xFFAB3F)},
      {Office2007ColourTable, "7", 50, kBlue, 0},
      {Office2007ColourTable, "7", 50, kOlive, 0},
      {Office2007ColourTable, "7", 50, kSilver, C(0xFF0000)},
      {Office2007ColourTable, "7", 50, kGrey, 0},
      {Office2007ColourTable, "7", 53, kSilver, A(0xFFDB75)},
      {Office2007ColourTable, "7", 55, kGrey, C(0xDDE0E3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, c.table[c.index].colours[c.column]) << c.name << " " << c.index << " " << c.column;
  }
}

TEST_F(Colours, CustomColumnsStartAsCopiesAndOffice2007OliveIsBlue) {
  for (const ColourTableEntry* table : {WhidbeyColourTable, Office2003ColourTable, Office2007ColourTable}) {
    for (int index = 0; index < kUIColourIndexCount; ++index) {
      for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(table[index].colours[column], table[index].colours[column + 4]) << index << " " << column;
      }
    }
    for (uint32_t colour : table[56].colours) EXPECT_EQ(0u, colour);
  }
  for (int index = 0; index < kUIColourIndexCount; ++index) {
    EXPECT_EQ(Office2007ColourTable[index].colours[kBlue], Office2007ColourTable[index].colours[kOlive]) << index;
  }
}

TEST_F(Colours, BrushesAreReusedAndReplacedOnlyForTheirOwnTableAndIndex) {
  UseTheme(kBlueTheme);
  intptr_t office2003 = LookupUIColour(UISTYLE_OFFICE2003, 26, 0);  // selectedcolor FFEEC2
  EXPECT_EQ(office2003, LookupUIColour(UISTYLE_OFFICE2003_MENU, 26, 0));
  EXPECT_EQ(C(0xFFEEC2), BrushColour(office2003));

  // Other styles' lookups of the same index, with other colours, leave that brush alone.
  intptr_t office2007 = LookupUIColour(UISTYLE_OFFICE2007, 26, 0);  // FFE7A2
  intptr_t whidbey = LookupWhidbeyColour(UISTYLE_WHIDBEY, 26);      // C1D2EE
  intptr_t noTable = LookupUIColour(0x4000000, 26, 0);              // black
  EXPECT_EQ(C(0xFFE7A2), BrushColour(office2007));
  EXPECT_EQ(C(0xC1D2EE), BrushColour(whidbey));
  EXPECT_EQ(0u, BrushColour(noTable));
  EXPECT_TRUE(IsLiveBrush(office2003));
  EXPECT_EQ(C(0xFFEEC2), BrushColour(office2003));
  EXPECT_EQ(office2003, LookupUIColour(UISTYLE_OFFICE2003, 26, 0));

  // The same table and index with another colour replaces the brush and deletes the old one.
  UseTheme(kGreyTheme);
  intptr_t grey = LookupUIColour(UISTYLE_OFFICE2003, 26, 0);  // B6BDD2
  EXPECT_NE(office2003, grey);
  EXPECT_EQ(C(0xB6BDD2), BrushColour(grey));
  EXPECT_FALSE(IsLiveBrush(office2003));
  EXPECT_TRUE(IsLiveBrush(office2007));
  EXPECT_TRUE(IsLiveBrush(whidbey));
}

TEST_F(Colours, GetUIColourGivesGdiColoursInAnExplicitMode) {
  UseTheme(kOliveTheme);
  struct Case {
    int style, index, mode;
    uint32_t expected;
  } cases[] = {
      {UISTYLE_OFFICE2007, 8, UICOLOURMODE_DEFAULT_BLUE, C(0xFFBD69)},
      {UISTYLE_OFFICE2003, 6, UICOLOURMODE_DEFAULT_GREY, C(0xB6BDD2)},    // A colour, converted
      {UISTYLE_OFFICE2003, 20, UICOLOURMODE_CUSTOM_SILVER, C(0x6E6D8F)},  // alpha dropped
      {UISTYLE_OFFICE2003, 3, UICOLOURMODE_DEFAULT_OLIVE, C(0x3F5D38)},   // text colour stays C
      {UISTYLE_OFFICE2007, 29, UICOLOURMODE_CUSTOM_GREY, C(0x8D8D8D)},
      {UISTYLE_OFFICE2003, 48, UICOLOURMODE_DEFAULT_BLUE, C(0x000080)},  // stored as C: unchanged
      {UISTYLE_OFFICE2007, 48, UICOLOURMODE_DEFAULT_BLUE, C(0xFFAB3F)},  // stored as A: converted
      {UISTYLE_OFFICE2007, 12, UICOLOURMODE_DEFAULT, C(0x6593CF)},       // current mode, olive = blue
      {UISTYLE_OFFICE2003, 12, UICOLOURMODE_CUSTOM, C(0x758D5E)},
      {UISTYLE_WHIDBEY, 12, UICOLOURMODE_DEFAULT_GREY, C(0x676767)},
      {UISTYLE_WHIDBEY, 3, UICOLOURMODE_DEFAULT_SILVER, C(0xACA899)},
      {UISTYLE_WHIDBEY, 12, UICOLOURMODE_CUSTOM, 0},                // WHIDBEY takes no mode 5
      {UISTYLE_OFFICE2003_MENU, 12, UICOLOURMODE_DEFAULT_BLUE, 0},  // colour expressions use 0x1000000
      {0x4000000, 12, UICOLOURMODE_DEFAULT_BLUE, 0},
      {UISTYLE_OFFICE2003, 56, UICOLOURMODE_DEFAULT_BLUE, 0},
      {UISTYLE_OFFICE2003, -1, UICOLOURMODE_DEFAULT_BLUE, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, GetUIColour(c.style, c.index, c.mode))
        << std::hex << c.style << " " << std::dec << c.index << " " << c.mode;
  }
  // WHIDBEY in mode 0 reads the custom column of the current family.
  WhidbeyColourTable[25].colours[4 + kOlive] = C(0x123456);
  EXPECT_EQ(C(0x123456), GetUIColour(UISTYLE_WHIDBEY, 25, UICOLOURMODE_DEFAULT));
}

TEST_F(Colours, EffectiveModeNamesTheColumnInUse) {
  UseTheme(kSilverTheme);
  struct Case {
    int mode, effective;
  } cases[] = {{0, 3}, {5, 8}, {1, 1}, {4, 4}, {7, 2}, {9, 4}};
  for (const Case& c : cases) {
    CurrentColourMode = c.mode;
    EXPECT_EQ(c.mode, GetColourMode());
    EXPECT_EQ(c.effective, GetEffectiveColourMode()) << c.mode;
  }
}

TEST_F(Colours, ParseColourReadsEveryNotation) {
  struct Case {
    const char* text;
    uint32_t expected;
  } cases[] = {
      {"rgb(255, 0, 0)", 0x000000FFu},
      {"RGB(255,0,0);", 0x000000FFu},
      {"rgb($ff,%1010,0)", 0x00000AFFu},  // hexadecimal and binary arguments
      {"rgb(x,1,2)", 0x00020100u},        // a malformed argument reads as 0
      {"rgb(1,2)", 0x00000201u},
      {"rgba(255, 0, 0, 0.5)", 0x80FF0000u},  // 127.5 rounds to 128
      {"rgba(255, 0, 0, 0.25)", 0x40FF0000u},
      {"rgba(255, 0, 0, 0)", 0x01FF0000u},
      {"rgba(255,0,0)", 0x01FF0000u},
      {"rgba(0,0,0,128)", 0x80000000u},
      {"rgba(0,0,0,256)", 0x01000000u},  // an alpha byte of 0 never makes a GDI colour
      {"RGBA(1,2,3,1.0);", 0xFF010203u},
      {"#FF8000", 0x000080FFu},
      {"#ff8000", 0x000080FFu},
      {"x#ff8000y", 0x000080FFu},
      {"#ff8000;", 0x000080FFu},
      {"#FF80", 0xFFFFFFFFu},
      {"#FF80001", 0xFFFFFFFFu},
      {"#", 0xFFFFFFFFu},
      {"Navy", 0x00800000u},
      {"grey", 0x00808080u},
      {"gray", 0x00808080u},
      {"mediumpurple", C(0x9370D8)},
      {"palevioletred", C(0xD87093)},
      {"yellowgreen", C(0x9ACD32)},
      {"navy;", 0xFFFFFFFFu},
      {" navy", 0xFFFFFFFFu},
      {"", 0xFFFFFFFFu},
      {"nocolour", 0xFFFFFFFFu},
      {"rgb(1,2,3", 0xFFFFFFFFu},  // no closing bracket: not a functional notation
      {"getuicolour(UISTYLE_OFFICE2007, menuhotborder, UICOLOURMODE_DEFAULT_BLUE)", 0x0069BDFFu},
      {"getuicolour(uistyle_office2003, stickyselectbordercolor, uicolourmode_default_blue);", C(0x000080)},
      {"GetUIColour(UISTYLE_OFFICE2003, toolstripbackground1, UICOLOURMODE_CUSTOM_OLIVE)", C(0xF4F7DE)},
      {"getuicolour(UISTYLE_OFFICE2007, nosuchindex, UICOLOURMODE_DEFAULT_GREY)", C(0xFFFFFF)},  // index 0
      {"getuicolour(UISTYLE_OFFICE2007, separatorbar)", C(0x9199A4)},  // current mode: no theme, grey
      {"getuicolour(nostyle, background, UICOLOURMODE_DEFAULT_BLUE)", 0u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, static_cast<uint32_t>(ParseColour(c.text))) << c.text;
  }
}

TEST_F(Colours, ParseColourReadsSystemColourNamesTrimmed) {
  const uint32_t window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(window, static_cast<uint32_t>(ParseColour("COLOR_WINDOW")));
  EXPECT_EQ(window, static_cast<uint32_t>(ParseColour("  color_window; ")));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), static_cast<uint32_t>(ParseColour("Color_3DFace")));
  EXPECT_EQ(GetSysColor(COLOR_HOTLIGHT), static_cast<uint32_t>(ParseColour("COLOR_HOTLIGHT")));
  EXPECT_EQ(-1, ParseColour("COLOR_NOSUCH"));
}

}  // namespace
