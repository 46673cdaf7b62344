// Style backgrounds painted through their blit caches into 32-bit DIBs: when a cache is
// built (the "Created new" lines), reused, grown or dropped, and the colours at known
// pixels of both tables' gradients and frames.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/ui_styles.h"

using namespace tovrel;

namespace {

std::vector<std::string> gLines;
void CollectLine(const std::string& line) { gLines.push_back(line); }

constexpr uint32_t kSentinel = 0x00FF00FF;

// A 32-bit top-down DIB in a memory DC, filled with the sentinel colour.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreatePixelBitmap(width, height, &bits_);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = kSentinel;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // 0x00RRGGBB.
  uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }
  bool Untouched() const {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) {
      if (bits_[i] != kSentinel) return false;
    }
    return true;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_;
};

// The table colour of an index as the DIB holds it (0x00RRGGBB).
uint32_t Expected(int style, int index) {
  uint32_t c = static_cast<uint32_t>(LookupUIColour(style, index, 2));
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

int Channel(uint32_t colour, int shift) { return static_cast<int>(colour >> shift & 0xFF); }

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  }
  return true;
}

std::string Hex(uint32_t colour) {
  char text[16];
  snprintf(text, sizeof text, "%06X", colour);
  return text;
}

void ForgetAllCaches() {
  FreeBlitCaches();
  for (int i = 0; i < kUIColourIndexCount; ++i) {
    Office2003BlitCaches[i].sizes.clear();
    Office2007BlitCaches[i].sizes.clear();
  }
}

class StyleBackgrounds : public ::testing::Test {
 protected:
  void SetUp() override {
    InitColourTables();
    CurrentColourMode = UICOLOURMODE_DEFAULT_BLUE;
    ForgetAllCaches();
    gLines.clear();
    SetDebugLogSink(CollectLine);
  }
  void TearDown() override {
    SetDebugLogSink(nullptr);
    ForgetAllCaches();
    CurrentColourMode = UICOLOURMODE_DEFAULT;
  }

  // Paints w x h at (1, 1) and answers the line the call wrote, "" for none.
  std::string Paint(HDC dc, int style, int index, int w, int h, int flags) {
    gLines.clear();
    RECT rect = {1, 1, 1 + w, 1 + h};
    EXPECT_EQ(0, PaintStyleBackground(dc, style, index, &rect, flags));
    EXPECT_LE(gLines.size(), 1u);
    return gLines.empty() ? "" : gLines[0];
  }
};

std::string Created2003(int index, int w, int h) {
  return "Created new #UISTYLE_OFFICE2003 blitCache: " + std::to_string(index) + " Width: " + std::to_string(w) +
         " Height: " + std::to_string(h);
}
std::string Created2007(int index, int w, int h) {
  return "Created new #UISTYLE_OFFICE2007 blitCache: " + std::to_string(index) + " Width: " + std::to_string(w) +
         " Height: " + std::to_string(h);
}

struct Call {
  int style, index, w, h, flags;
  std::string line;  // what the call logs, "" when it reuses a cache
};

struct Scenario {
  const char* name;
  std::vector<Call> calls;
};

TEST_F(StyleBackgrounds, CachesAreBuiltOnlyWhenNoneServesTheRequest) {
  const int k3 = UISTYLE_OFFICE2003, k7 = UISTYLE_OFFICE2007;
  const Scenario scenarios[] = {
      {"same size twice, flags 0", {{k7, 6, 100, 20, 0, Created2007(6, 100, 20)}, {k7, 6, 100, 20, 0, ""}}},
      {"single, flags 0: smaller reuses, larger in either dimension rebuilds at the request",
       {{k3, 10, 100, 20, 0, Created2003(10, 100, 20)},
        {k3, 10, 50, 10, 0, ""},
        {k3, 10, 120, 10, 0, Created2003(10, 120, 10)},
        {k3, 10, 100, 20, 0, Created2003(10, 100, 20)},
        {k3, 10, 40, 5, 0, ""}}},
      {"single, 0x100: same width, any lower height",
       {{k3, 13, 100, 20, 0x100, Created2003(13, 100, 20)},
        {k3, 13, 100, 10, 0x100, ""},
        {k3, 13, 90, 10, 0x100, Created2003(13, 90, 10)}}},
      {"single, 0x1000: same height, any lower width",
       {{k7, 10, 100, 20, 0x1000, Created2007(10, 100, 20)},
        {k7, 10, 60, 20, 0x1000, ""},
        {k7, 10, 60, 19, 0x1000, Created2007(10, 60, 19)}}},
      {"single, 0x1100: any size change rebuilds",
       {{k7, 15, 16, 16, 0x1100, Created2007(15, 16, 16)},
        {k7, 15, 16, 16, 0x1100, ""},
        {k7, 15, 15, 16, 0x1100, Created2007(15, 15, 16)},
        {k7, 15, 15, 15, 0x1100, Created2007(15, 15, 15)}}},
      {"several, 0x1000, two alternating widths: the wider rebuilds the entry, which then serves both",
       {{k7, 33, 100, 22, 0x11000, Created2007(33, 100, 22)},
        {k7, 33, 80, 22, 0x11000, ""},
        {k7, 33, 120, 22, 0x11000, Created2007(33, 120, 22)},
        {k7, 33, 100, 22, 0x11000, ""},
        {k7, 33, 120, 22, 0x11000, ""}}},
      {"several, 0x1100: the same size reuses, a new size adds an entry",
       {{k3, 44, 30, 22, 0x11100, Created2003(44, 30, 22)},
        {k3, 44, 30, 22, 0x11100, ""},
        {k3, 44, 24, 22, 0x11100, Created2003(44, 24, 22)},
        {k3, 44, 30, 22, 0x11100, ""},
        {k3, 44, 24, 22, 0x11100, ""}}},
      {"several, 0x100: a taller request of the same width grows the entry",
       {{k3, 52, 30, 10, 0x10100, Created2003(52, 30, 10)},
        {k3, 52, 30, 22, 0x10100, Created2003(52, 30, 22)},
        {k3, 52, 30, 10, 0x10100, ""}}},
      {"styles 6 and OFFICE2003 share their table; OFFICE2007 has its own",
       {{6, 6, 50, 20, 0, Created2003(6, 50, 20)}, {k3, 6, 50, 20, 0, ""}, {k7, 6, 50, 20, 0, Created2007(6, 50, 20)}}},
      {"other styles, empty rectangles and indexes outside the tables paint nothing",
       {{UISTYLE_WHIDBEY, 6, 50, 20, 0, ""},
        {0, 6, 50, 20, 0, ""},
        {k7, 6, 0, 20, 0, ""},
        {k7, 6, 50, -3, 0, ""},
        {k7, 57, 50, 20, 0, ""},
        {k7, -1, 50, 20, 0, ""}}},
  };
  Canvas canvas(200, 40);
  for (const Scenario& scenario : scenarios) {
    ForgetAllCaches();
    for (size_t i = 0; i < scenario.calls.size(); ++i) {
      const Call& c = scenario.calls[i];
      EXPECT_EQ(c.line, Paint(canvas.dc(), c.style, c.index, c.w, c.h, c.flags)) << scenario.name << ", call " << i;
    }
  }
}

TEST_F(StyleBackgrounds, OtherStylesAndEmptyRequestsLeaveTheTargetUntouched) {
  Canvas canvas(60, 30);
  RECT rect = {0, 0, 60, 30};
  PaintStyleBackground(canvas.dc(), UISTYLE_WHIDBEY, 6, &rect, 0);
  PaintStyleBackground(canvas.dc(), 0, 6, &rect, 0);
  RECT empty = {10, 10, 10, 30};
  PaintStyleBackground(canvas.dc(), UISTYLE_OFFICE2007, 6, &empty, 0);
  PaintStyleBackground(canvas.dc(), UISTYLE_OFFICE2007, 6, nullptr, 0);
  EXPECT_TRUE(canvas.Untouched());
  EXPECT_TRUE(gLines.empty());
}

TEST_F(StyleBackgrounds, FreeingTheCachesMakesEveryIndexRebuildAndKeepsListEntries) {
  Canvas canvas(200, 40);
  Paint(canvas.dc(), UISTYLE_OFFICE2003, 6, 100, 20, 0x1000);
  Paint(canvas.dc(), UISTYLE_OFFICE2007, 33, 100, 22, 0x11000);
  EXPECT_EQ(0, FreeBlitCaches());
  EXPECT_EQ(nullptr, Office2003BlitCaches[6].first.dc);
  ASSERT_EQ(1u, Office2007BlitCaches[33].sizes.size());
  EXPECT_EQ(nullptr, Office2007BlitCaches[33].sizes[0].dc);
  EXPECT_EQ(0, Office2007BlitCaches[33].sizes[0].width);
  EXPECT_EQ(Created2003(6, 100, 20), Paint(canvas.dc(), UISTYLE_OFFICE2003, 6, 100, 20, 0x1000));
  EXPECT_EQ(Created2007(33, 100, 22), Paint(canvas.dc(), UISTYLE_OFFICE2007, 33, 100, 22, 0x11000));
  EXPECT_EQ(1u, Office2007BlitCaches[33].sizes.size()) << "the freed entry is built again, not a new one added";
}

TEST_F(StyleBackgrounds, TheSizeListKeepsEightEntriesAndRebuildsTheLeastRecentlyUsed) {
  Canvas canvas(200, 40);
  for (int w = 10; w < 18; ++w)
    EXPECT_EQ(Created2007(44, w, 22), Paint(canvas.dc(), UISTYLE_OFFICE2007, 44, w, 22, 0x11100));
  EXPECT_EQ("", Paint(canvas.dc(), UISTYLE_OFFICE2007, 44, 10, 22, 0x11100));  // 11 is now the oldest
  EXPECT_EQ(Created2007(44, 18, 22), Paint(canvas.dc(), UISTYLE_OFFICE2007, 44, 18, 22, 0x11100));
  EXPECT_EQ(8u, Office2007BlitCaches[44].sizes.size());
  EXPECT_EQ("", Paint(canvas.dc(), UISTYLE_OFFICE2007, 44, 10, 22, 0x11100));
  EXPECT_EQ("", Paint(canvas.dc(), UISTYLE_OFFICE2007, 44, 12, 22, 0x11100));
  EXPECT_EQ(Created2007(44, 11, 22), Paint(canvas.dc(), UISTYLE_OFFICE2007, 44, 11, 22, 0x11100));
  EXPECT_EQ(8u, Office2007BlitCaches[44].sizes.size());
}

TEST(BlitEntryChoice, PicksServingGrowableEmptyNewThenOldest) {
  auto entry = [](int w, int h, uint64_t use) {
    BlitCache e;
    e.dc = reinterpret_cast<HDC>(1);
    e.width = w;
    e.height = h;
    e.lastUse = use;
    return e;
  };
  const BlitCache empty;
  std::vector<BlitCache> full;
  for (int i = 0; i < kMaxBlitSizeEntries; ++i) full.push_back(entry(10 + i, 22, 100 - i));
  struct Case {
    const char* name;
    std::vector<BlitCache> entries;
    int fit, w, h;
    size_t entry;
    bool rebuild;
  } cases[] = {
      {"nothing yet: append", {}, 0x1000, 50, 22, 0, true},
      {"same height, wider cache serves", {entry(80, 22, 1)}, 0x1000, 50, 22, 0, false},
      {"same height, narrower cache grows", {entry(30, 22, 1)}, 0x1000, 50, 22, 0, true},
      {"a serving entry wins over an earlier growable one",
       {entry(30, 22, 1), entry(60, 22, 2)},
       0x1000,
       50,
       22,
       1,
       false},
      {"other height: append", {entry(80, 20, 1)}, 0x1000, 50, 22, 1, true},
      {"same width, taller request grows", {entry(50, 10, 1)}, 0x100, 50, 22, 0, true},
      {"fit 0 wants the same size", {entry(80, 30, 1)}, 0, 50, 22, 1, true},
      {"exact size, fit 0x1100", {entry(49, 22, 1), entry(50, 22, 2)}, 0x1100, 50, 22, 1, false},
      {"no growth for 0x1100", {entry(40, 22, 1)}, 0x1100, 50, 22, 1, true},
      {"an emptied entry is reused", {entry(40, 20, 1), empty}, 0x1100, 50, 22, 1, true},
      {"full list: the least recently used", full, 0x1100, 99, 22, kMaxBlitSizeEntries - 1, true},
  };
  for (const Case& c : cases) {
    BlitEntryChoice choice = ChooseBlitEntry(c.entries, c.fit, c.w, c.h);
    EXPECT_EQ(c.entry, choice.entry) << c.name;
    EXPECT_EQ(c.rebuild, choice.rebuild) << c.name;
  }
}

TEST_F(StyleBackgrounds, AFailedCreationLeavesTheEntryEmptyForTheNextCall) {
  Canvas canvas(200, 40);
  // No bitmap of 2^20 x 2^20 pixels (4 TB) can be made.
  const int huge = 1 << 20;
  EXPECT_EQ("", Paint(canvas.dc(), UISTYLE_OFFICE2007, 6, huge, huge, 0));
  EXPECT_EQ(nullptr, Office2007BlitCaches[6].first.dc);
  EXPECT_EQ(0, Office2007BlitCaches[6].first.width);
  EXPECT_TRUE(canvas.Untouched());
  EXPECT_EQ(Created2007(6, 50, 20), Paint(canvas.dc(), UISTYLE_OFFICE2007, 6, 50, 20, 0));
  EXPECT_TRUE(Near(Expected(UISTYLE_OFFICE2007, 6), canvas.At(10, 1), 2)) << Hex(canvas.At(10, 1));

  EXPECT_EQ("", Paint(canvas.dc(), UISTYLE_OFFICE2007, 33, huge, huge, 0x11000));
  ASSERT_EQ(1u, Office2007BlitCaches[33].sizes.size());
  EXPECT_EQ(nullptr, Office2007BlitCaches[33].sizes[0].dc);
  EXPECT_EQ(Created2007(33, 50, 22), Paint(canvas.dc(), UISTYLE_OFFICE2007, 33, 50, 22, 0x11000));
  EXPECT_EQ(1u, Office2007BlitCaches[33].sizes.size());
}

TEST_F(StyleBackgrounds, ACachePaintedForAMonochromeTargetKeepsItsColours) {
  HDC mono = CreateCompatibleDC(nullptr);
  HBITMAP monoBitmap = CreateBitmap(200, 40, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(mono, monoBitmap);
  EXPECT_EQ(Created2007(6, 200, 22), Paint(mono, UISTYLE_OFFICE2007, 6, 200, 22, 0x1000));
  SelectObject(mono, old);
  DeleteObject(monoBitmap);
  DeleteDC(mono);

  Canvas canvas(202, 24);
  EXPECT_EQ("", Paint(canvas.dc(), UISTYLE_OFFICE2007, 6, 200, 22, 0x1000));
  EXPECT_TRUE(Near(Expected(UISTYLE_OFFICE2007, 6), canvas.At(100, 1), 2)) << Hex(canvas.At(100, 1));
  EXPECT_TRUE(Near(Expected(UISTYLE_OFFICE2007, 7), canvas.At(100, 22), 2)) << Hex(canvas.At(100, 22));
}

TEST_F(StyleBackgrounds, GradientRowsRunMonotonicallyFromTheFirstColourToTheSecond) {
  struct Case {
    int style, index, top, bottom;
  } cases[] = {
      {UISTYLE_OFFICE2007, 6, 6, 7},    {UISTYLE_OFFICE2003, 6, 6, 7},    {UISTYLE_OFFICE2007, 10, 10, 11},
      {UISTYLE_OFFICE2003, 10, 10, 11}, {UISTYLE_OFFICE2007, 44, 44, 45}, {UISTYLE_OFFICE2003, 52, 52, 53},
  };
  for (const Case& c : cases) {
    const int w = 200, h = 22;
    Canvas canvas(w + 2, h + 2);
    Paint(canvas.dc(), c.style, c.index, w, h, 0x1000);
    const uint32_t top = Expected(c.style, c.top), bottom = Expected(c.style, c.bottom);
    EXPECT_TRUE(Near(top, canvas.At(100, 1), 2)) << c.index << ": " << Hex(canvas.At(100, 1)) << " for " << Hex(top);
    EXPECT_TRUE(Near(bottom, canvas.At(100, h), 2))
        << c.index << ": " << Hex(canvas.At(100, h)) << " for " << Hex(bottom);
    for (int shift : {0, 8, 16}) {
      const int direction = Channel(bottom, shift) - Channel(top, shift);
      for (int y = 2; y <= h; ++y) {
        const int step = Channel(canvas.At(100, y), shift) - Channel(canvas.At(100, y - 1), shift);
        EXPECT_GE(step * (direction < 0 ? -1 : 1), 0) << c.index << " row " << y << " shift " << shift;
      }
    }
    EXPECT_EQ(canvas.At(3, 11), canvas.At(w - 1, 11)) << "a row is one colour";
  }
}

TEST_F(StyleBackgrounds, BothTablesPaintTheirColoursAtKnownPixels) {
  struct Case {
    int style, index, w, h, x, y;
    int colourIndex;  // the table colour expected at (x, y) of the background
    int tolerance;
  };
  std::vector<Case> cases;
  for (int style : {UISTYLE_OFFICE2003, UISTYLE_OFFICE2007}) {
    const int w = 40, h = 21;  // odd height: index 33's halves meet at row 10/11
    const Case rows[] = {
        {style, 13, w, h, 0, 5, 21, 2},         {style, 13, w, h, w / 2 - 1, 5, 22, 2},
        {style, 13, w, h, w / 2, 5, 23, 2},     {style, 13, w, h, w - 1, 5, 24, 2},
        {style, 15, w, h, 0, 0, 15, 0},         {style, 15, w, h, w - 1, h - 1, 15, 0},
        {style, 15, w, h, w / 2, h / 2, 14, 0}, {style, 17, w, h, 0, h / 2, 17, 0},
        {style, 17, w, h, 1, 1, 16, 0},         {style, 33, w, h, 5, 0, 33, 2},
        {style, 33, w, h, 5, h / 2, 34, 2},     {style, 33, w, h, 5, h / 2 + 1, 35, 2},
        {style, 33, w, h, 5, h - 2, 36, 2},     {style, 33, w, h, 5, h - 1, 41, 0},
        {style, 44, w, h, 5, 0, 44, 2},         {style, 44, w, h, 5, h - 1, 45, 2},
        {style, 52, w, h, 5, 0, 52, 2},         {style, 52, w, h, 5, h - 1, 53, 2},
    };
    cases.insert(cases.end(), std::begin(rows), std::end(rows));
  }
  for (const Case& c : cases) {
    Canvas canvas(c.w + 2, c.h + 2);
    Paint(canvas.dc(), c.style, c.index, c.w, c.h, 0x1100);
    const uint32_t expected = Expected(c.style, c.colourIndex);
    const uint32_t seen = canvas.At(1 + c.x, 1 + c.y);
    EXPECT_TRUE(Near(expected, seen, c.tolerance))
        << std::hex << c.style << std::dec << " index " << c.index << " at " << c.x << "," << c.y << ": " << Hex(seen)
        << " for colour " << c.colourIndex << " " << Hex(expected);
  }
  // An index without a background copies the bitmap as it was made.
  Canvas canvas(12, 12);
  Paint(canvas.dc(), UISTYLE_OFFICE2007, 0, 10, 10, 0);
  EXPECT_EQ(0u, canvas.At(5, 5));
}

TEST_F(StyleBackgrounds, TheFramesFollowTheStyleOfTheCall) {
  // The two tables frame check boxes in different colours; neither depends on a menu.
  ASSERT_NE(Expected(UISTYLE_OFFICE2003, 15), Expected(UISTYLE_OFFICE2007, 15));
  Canvas canvas(40, 20);
  RECT left = {0, 0, 16, 16}, right = {20, 0, 36, 16};
  PaintStyleBackground(canvas.dc(), UISTYLE_OFFICE2003, 15, &left, 0x1100);
  PaintStyleBackground(canvas.dc(), UISTYLE_OFFICE2007, 15, &right, 0x1100);
  EXPECT_EQ(Expected(UISTYLE_OFFICE2003, 15), canvas.At(0, 0));
  EXPECT_EQ(Expected(UISTYLE_OFFICE2007, 15), canvas.At(20, 0));
}

}  // namespace
