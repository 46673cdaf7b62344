// Colour-mode and custom-colour changes: what they write into the colour tables and the
// skin variant, that the style backgrounds are painted again in the new colours, and
// that the process's windows are frozen and redrawn.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/colour_changes.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/ui_styles.h"

using namespace tovrel;

namespace {

std::vector<std::string> gLines;
void CollectLine(const std::string& line) { gLines.push_back(line); }

// GDI form of 0xRRGGBB.
constexpr uint32_t C(uint32_t rrggbb) { return (rrggbb & 0xFF) << 16 | (rrggbb & 0xFF00) | rrggbb >> 16; }

const ThemeColourInputs kNoTheme{false, 0};
const ThemeColourInputs kOliveTheme{true, C(0xDCDC78)};

struct Tables {
  ColourTableEntry whidbey[kUIColourIndexCount];
  ColourTableEntry office2003[kUIColourIndexCount];
  ColourTableEntry office2007[kUIColourIndexCount];
};

Tables Snapshot() {
  Tables t;
  memcpy(t.whidbey, WhidbeyColourTable, sizeof t.whidbey);
  memcpy(t.office2003, Office2003ColourTable, sizeof t.office2003);
  memcpy(t.office2007, Office2007ColourTable, sizeof t.office2007);
  return t;
}

struct Cell {
  int style, index, column;
  uint32_t before, after;
};

// Every cell of the three tables that differs between two snapshots.
std::vector<Cell> Changes(const Tables& a, const Tables& b) {
  std::vector<Cell> cells;
  const struct {
    int style;
    const ColourTableEntry *a, *b;
  } tables[] = {{UISTYLE_WHIDBEY, a.whidbey, b.whidbey},
                {UISTYLE_OFFICE2003, a.office2003, b.office2003},
                {UISTYLE_OFFICE2007, a.office2007, b.office2007}};
  for (const auto& t : tables) {
    for (int i = 0; i < kUIColourIndexCount; ++i) {
      for (int c = 0; c < kColumnCount; ++c) {
        if (t.a[i].colours[c] != t.b[i].colours[c])
          cells.push_back({t.style, i, c, t.a[i].colours[c], t.b[i].colours[c]});
      }
    }
  }
  return cells;
}

// The top-left pixel of index 10's OFFICE2003 background, 0x00RRGGBB, and the line the
// paint wrote ("" for none).
struct Painted {
  uint32_t topLeft;
  std::string line;
};

Painted PaintMenuHighlight() {
  HDC dc = CreateCompatibleDC(nullptr);
  uint32_t* bits = nullptr;
  HBITMAP bitmap = CreatePixelBitmap(100, 20, &bits);
  HGDIOBJ old = SelectObject(dc, bitmap);
  gLines.clear();
  RECT rect = {0, 0, 100, 20};
  PaintStyleBackground(dc, UISTYLE_OFFICE2003, 10, &rect, 0x1000);
  GdiFlush();
  Painted painted{bits[0] & 0xFFFFFF, gLines.empty() ? "" : gLines[0]};
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return painted;
}

// 0x00RRGGBB of a C colour.
uint32_t AsPixel(uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

bool Near(uint32_t a, uint32_t b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 2) return false;
  }
  return true;
}

class ColourChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    InitColourTables();
    CurrentColourMode = UICOLOURMODE_DEFAULT;
    SkinVariant.clear();
    SetThemeColourInputsForTest(&kNoTheme);
    FreeBlitCaches();
    gLines.clear();
    SetDebugLogSink(CollectLine);
  }
  void TearDown() override {
    SetDebugLogSink(nullptr);
    FreeBlitCaches();
    SetThemeColourInputsForTest(nullptr);
    CurrentColourMode = UICOLOURMODE_DEFAULT;
    SkinVariant.clear();
  }
};

TEST_F(ColourChanges, EachModeSetsItselfAndItsSchemeName) {
  const char* names[] = {"", "blue", "olive", "silver", "grey", "", "blue", "olive", "silver", "grey"};
  for (int mode = 9; mode >= 0; --mode) {
    SkinVariant = "stale";
    EXPECT_EQ(1, SetColourMode(mode)) << mode;
    EXPECT_EQ(mode, CurrentColourMode);
    EXPECT_EQ(names[mode], SkinVariant) << mode;
  }
}

TEST_F(ColourChanges, ModesOutsideZeroToNineChangeNothing) {
  SetColourMode(UICOLOURMODE_DEFAULT_OLIVE);
  const Painted before = PaintMenuHighlight();
  EXPECT_FALSE(before.line.empty());
  for (int mode : {10, -1, 0x7FFFFFFF}) {
    EXPECT_EQ(0, SetColourMode(mode)) << mode;
    EXPECT_EQ(UICOLOURMODE_DEFAULT_OLIVE, CurrentColourMode);
    EXPECT_EQ("olive", SkinVariant);
  }
  EXPECT_EQ("", PaintMenuHighlight().line) << "the caches were kept";
}

TEST_F(ColourChanges, ModeZeroClearsTheSkinVariant) {
  SetColourMode(UICOLOURMODE_CUSTOM_SILVER);
  EXPECT_EQ("silver", SkinVariant);
  SetColourMode(UICOLOURMODE_DEFAULT);
  EXPECT_EQ("", SkinVariant);
}

TEST_F(ColourChanges, TheSkinVariantIsLowerCasedAndTrimmed) {
  EXPECT_EQ(1, SetSkinVariant(" \tOlive \r\n"));
  EXPECT_EQ("olive", SkinVariant);
  SetSkinVariant("   ");
  EXPECT_EQ("", SkinVariant);
}

TEST_F(ColourChanges, AnOffice2003MenuHighlightIsRebuiltOliveAfterTheModeChange) {
  SetColourMode(UICOLOURMODE_DEFAULT_BLUE);
  const Painted blue = PaintMenuHighlight();
  const uint32_t bluePixel = AsPixel(GetUIColour(UISTYLE_OFFICE2003, 10, UICOLOURMODE_DEFAULT_BLUE));
  const uint32_t olivePixel = AsPixel(GetUIColour(UISTYLE_OFFICE2003, 10, UICOLOURMODE_DEFAULT_OLIVE));
  ASSERT_FALSE(Near(bluePixel, olivePixel));
  EXPECT_TRUE(Near(bluePixel, blue.topLeft)) << std::hex << blue.topLeft;

  EXPECT_EQ(1, SetColourMode(UICOLOURMODE_DEFAULT_OLIVE));
  const Painted olive = PaintMenuHighlight();
  EXPECT_EQ("Created new #UISTYLE_OFFICE2003 blitCache: 10 Width: 100 Height: 20", olive.line);
  EXPECT_TRUE(Near(olivePixel, olive.topLeft)) << std::hex << olive.topLeft;
}

TEST_F(ColourChanges, ACustomColourGoesOnlyIntoItsCustomColumn) {
  const uint32_t colour = C(0x102030);
  const uint32_t aForm = 0xFF102030;
  struct Case {
    const char* name;
    int style, index, mode;
    int column;  // -1: refused
    uint32_t stored;
    const ThemeColourInputs* theme;
  } cases[] = {
      {"DEFAULT_OLIVE writes CUSTOM_OLIVE, in A form", UISTYLE_OFFICE2003, 6, UICOLOURMODE_DEFAULT_OLIVE, 5, aForm,
       &kNoTheme},
      {"CUSTOM_GREY", UISTYLE_OFFICE2007, 33, UICOLOURMODE_CUSTOM_GREY, 7, aForm, &kNoTheme},
      {"an index kept in C form stays as given", UISTYLE_OFFICE2007, 14, UICOLOURMODE_CUSTOM_BLUE, 4, colour,
       &kNoTheme},
      {"the last named index", UISTYLE_OFFICE2003, 55, UICOLOURMODE_DEFAULT_SILVER, 6, colour, &kNoTheme},
      {"a WHIDBEY text colour stays in C form", UISTYLE_WHIDBEY, 0, UICOLOURMODE_DEFAULT_BLUE, 4, colour, &kNoTheme},
      {"DEFAULT without a style follows the grey family", UISTYLE_OFFICE2003, 10, UICOLOURMODE_DEFAULT, 7, aForm,
       &kNoTheme},
      {"CUSTOM follows the style's family", UISTYLE_OFFICE2003, 10, UICOLOURMODE_CUSTOM, 5, aForm, &kOliveTheme},
      {"style 6 is not taken here", UISTYLE_OFFICE2003_MENU, 6, UICOLOURMODE_DEFAULT_BLUE, -1, 0, &kNoTheme},
      {"a style without a table", 0, 6, UICOLOURMODE_DEFAULT_BLUE, -1, 0, &kNoTheme},
      {"mode 10", UISTYLE_OFFICE2003, 6, 10, -1, 0, &kNoTheme},
      {"mode -1", UISTYLE_OFFICE2003, 6, -1, -1, 0, &kNoTheme},
      {"index 56", UISTYLE_OFFICE2003, 56, UICOLOURMODE_DEFAULT_BLUE, -1, 0, &kNoTheme},
      {"index -1", UISTYLE_OFFICE2003, -1, UICOLOURMODE_DEFAULT_BLUE, -1, 0, &kNoTheme},
  };
  for (const Case& c : cases) {
    InitColourTables();
    SetThemeColourInputsForTest(c.theme);
    const Tables before = Snapshot();
    EXPECT_EQ(c.column >= 0 ? 1 : 0, SetCustomUIColour(c.style, c.index, colour, c.mode, 1)) << c.name;
    std::vector<Cell> changes = Changes(before, Snapshot());
    if (c.column < 0) {
      EXPECT_TRUE(changes.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(1u, changes.size()) << c.name;
    EXPECT_EQ(c.style, changes[0].style) << c.name;
    EXPECT_EQ(c.index, changes[0].index) << c.name;
    EXPECT_EQ(c.column, changes[0].column) << c.name;
    EXPECT_EQ(c.stored, changes[0].after) << c.name;
  }
}

TEST_F(ColourChanges, ACustomColourIsPaintedAfterItsRefreshOnly) {
  SetColourMode(UICOLOURMODE_CUSTOM_BLUE);
  const uint32_t before = PaintMenuHighlight().topLeft;
  ASSERT_FALSE(Near(0xFF0000, before));

  EXPECT_EQ(1, SetCustomUIColour(UISTYLE_OFFICE2003, 10, C(0xFF0000), UICOLOURMODE_CUSTOM_BLUE, 1));
  const Painted kept = PaintMenuHighlight();
  EXPECT_EQ("", kept.line);
  EXPECT_EQ(before, kept.topLeft);

  EXPECT_EQ(1, SetCustomUIColour(UISTYLE_OFFICE2003, 10, C(0xFF0000), UICOLOURMODE_CUSTOM_BLUE, 0));
  const Painted red = PaintMenuHighlight();
  EXPECT_FALSE(red.line.empty());
  EXPECT_TRUE(Near(0xFF0000, red.topLeft)) << std::hex << red.topLeft;
}

// A child that records the WM_SETREDRAW it gets.
std::vector<std::pair<HWND, WPARAM>> gRedraws;
WNDPROC gStaticProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETREDRAW) gRedraws.push_back({window, wParam});
  return CallWindowProcA(gStaticProc, window, message, wParam, lParam);
}

TEST_F(ColourChanges, TheModeChangeFreezesAndThawsTheVisibleChildrenOfVisibleWindows) {
  HWND top =
      CreateWindowExA(0, "STATIC", "top", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, top);
  HWND shown = CreateWindowExA(0, "STATIC", "a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, top, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowExA(0, "STATIC", "b", WS_CHILD, 0, 30, 50, 20, top, nullptr, nullptr, nullptr);
  HWND grandchild =
      CreateWindowExA(0, "STATIC", "c", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, shown, nullptr, nullptr, nullptr);
  for (HWND child : {shown, hidden, grandchild}) {
    gStaticProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
  }

  // Hidden top-level window: nothing is frozen.
  gRedraws.clear();
  EXPECT_EQ(1, SetColourMode(UICOLOURMODE_DEFAULT_BLUE));
  EXPECT_TRUE(gRedraws.empty());

  ShowWindow(top, SW_SHOWNA);
  gRedraws.clear();
  EXPECT_EQ(1, SetColourMode(UICOLOURMODE_DEFAULT_OLIVE));
  const std::vector<std::pair<HWND, WPARAM>> expected = {{shown, FALSE}, {shown, TRUE}};
  EXPECT_EQ(expected, gRedraws) << "only the visible direct child, frozen then thawed";
  DestroyWindow(top);
}

}  // namespace
