// Text on PanelEx paint buffers: the alpha the hand-over rebuilds, pixel by pixel, on real
// DIB sections drawn by GDI.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "common/images.h"
#include "tovrel/foundation/alpha_text.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_lock.h"

using namespace tovrel;

namespace {

constexpr int kWidth = 80, kHeight = 30;
constexpr COLORREF kInk = RGB(0x20, 0x40, 0x60);

uint32_t Alpha(uint32_t argb) { return argb >> 24; }

std::vector<uint32_t> Pixels(int image) {
  std::vector<uint32_t> all;
  for (int y = 0; y < RuntimeImageHeight(image); ++y) {
    for (int x = 0; x < RuntimeImageWidth(image); ++x) {
      uint32_t argb = 0;
      ReadRuntimeImagePixel(image, x, y, &argb);
      all.push_back(argb);
    }
  }
  return all;
}

class AlphaText : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLists();
    font_ = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
    ASSERT_NE(font_, nullptr);
  }
  void TearDown() override {
    for (HDC dc : dcs_) StopRuntimeImageDrawing(dc);
    for (int image : images_) FreeRuntimeImage(image);
    ClearLists();
    DeleteObject(font_);
  }
  static void ClearLists() {
    ToolkitLock(PanelExMutex);
    PanelExList.Clear();
    PanelExPageList.Clear();
    ToolkitUnlock(PanelExMutex);
  }

  // A buffer filled with one pixel value, and a DC on it.
  int Buffer(uint32_t fill, HDC* dc, int width = kWidth, int height = kHeight) {
    int image = int(CreateRuntimeImage(kAnyNumber, width, height, 0));
    EXPECT_NE(image, 0);
    images_.push_back(image);
    FillRuntimeImage(image, 0, 0, width, height, fill);
    *dc = StartRuntimeImageDrawing(image);
    EXPECT_NE(*dc, nullptr);
    dcs_.push_back(*dc);
    SetTextColor(*dc, kInk);
    SetBkMode(*dc, TRANSPARENT);
    return image;
  }

  // A PanelEx whose paint buffer (or, with `asAlphaImage`, translucency buffer) is the image.
  static void Register(int image, bool asAlphaImage = false) {
    ToolkitLock(PanelExMutex);
    PanelExPageList.Add();
    PanelExRecord& panel = PanelExList.Add();
    (asAlphaImage ? panel.alphaImage : panel.bufferImage) = image;
    ToolkitUnlock(PanelExMutex);
  }

  // The text as the toolkit draws it. Drawn before the buffer is registered, so that the
  // only hand-over is the one the test makes.
  void Draw(HDC dc, const std::string& text, RECT rect, HFONT font, int flags = 1) {
    DrawStyledText(dc, text, &rect, font, flags);
    GdiFlush();
  }

  HFONT font_ = nullptr;
  std::vector<int> images_;
  std::vector<HDC> dcs_;
};

// ---------------------------------------------------------------------------------------
// The filter

TEST(AlphaInRegionFilterTable, RebuildsAlphaFromCoverageAndTheLastBackground) {
  struct Case {
    const char* what;
    int x, y;
    int lastBefore;
    uint32_t source, target;
    uint32_t expected;
    int lastAfter;
  };
  const Case cases[] = {
      // Mask background (alpha 255, no coverage): the target keeps its alpha, and that
      // alpha becomes the background carried on.
      {"background, opaque", 1, 1, 7, 0xFF000000, 0xFF112233, 0xFF112233, 255},
      {"background, half", 2, 1, 7, 0xFF000000, 0x80112233, 0x80112233, 0x80},
      {"background, clear", 3, 1, 99, 0xFF000000, 0x00112233, 0x00112233, 0},
      // Text pixels (mask alpha 0): blend from the carried background towards 255.
      {"full cover over opaque", 1, 2, 255, 0x00FFFFFF, 0x00445566, 0xFF445566, 255},
      {"full cover over half", 1, 2, 128, 0x00FFFFFF, 0x00445566, 0xFF445566, 128},
      {"partial cover over half", 1, 2, 100, 0x00808080, 0x00445566, 0xB1445566, 100},
      // Over a transparent background t*255/355: full coverage reaches 183, not 255.
      {"full cover over clear", 1, 2, 0, 0x00FFFFFF, 0x00445566, 0xB7445566, 0},
      {"almost full cover over clear", 1, 2, 0, 0x00FEFEFE, 0x00445566, 0xB6445566, 0},
      {"half cover over clear", 1, 2, 0, 0x00808080, 0x00445566, 0x5B445566, 0},
      {"no cover over clear", 1, 2, 0, 0x00000000, 0x30445566, 0x00445566, 0},
      // A pixel the text left at alpha 255 with some coverage blends from its own alpha.
      {"antialiased, kept alpha", 1, 2, 0, 0xFF808080, 0x40445566, 0x9F445566, 0x40},
      // Outside the limits or the region the target comes back as it is.
      {"right of the limit", 10, 2, 5, 0x00FFFFFF, 0x12345678, 0x12345678, 5},
      {"below the limit", 1, 10, 5, 0x00FFFFFF, 0x12345678, 0x12345678, 5},
      {"outside the region", 0, 0, 5, 0x00FFFFFF, 0x12345678, 0x12345678, 5},
  };
  AlphaLimitRight = 10;
  AlphaLimitBottom = 10;
  AlphaClipRegion = CreateRectRgn(1, 1, 20, 20);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LastBackgroundAlpha = c.lastBefore;
    EXPECT_EQ(AlphaInRegionFilter(c.x, c.y, c.source, c.target), c.expected);
    EXPECT_EQ(LastBackgroundAlpha, c.lastAfter);
  }
  // 183 = 255 * 255 / 355 comes from full coverage over a clear background only: one
  // level less of coverage already gives 182.
  EXPECT_EQ(255 * 255 / 355, 183);
  EXPECT_EQ(254 * 255 / 355, 182);
  DeleteObject(AlphaClipRegion);
  AlphaClipRegion = nullptr;
  LastBackgroundAlpha = 0;
}

// ---------------------------------------------------------------------------------------
// The hand-over

TEST_F(AlphaText, TextOnABufferGetsItsAlphaBack) {
  struct Case {
    const char* what;
    uint32_t background;
    RECT rect;
  };
  const Case cases[] = {
      {"opaque", 0xFF102030, {4, 2, 70, 26}},
      {"transparent", 0x00102030, {4, 2, 70, 26}},
      {"half", 0x80102030, {4, 2, 70, 26}},
      // The mask then lies partly outside the buffer, on every side.
      {"over the edges", 0x00102030, {-3, -6, kWidth + 10, kHeight + 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HDC dc = nullptr;
    int buffer = Buffer(c.background, &dc);
    RECT rect = c.rect;
    Draw(dc, "Hello", rect, font_);
    std::vector<uint32_t> drawn = Pixels(buffer);
    Register(buffer);
    LastBackgroundAlpha = 0;
    EXPECT_EQ(DrawTextOnAlphaSurface(dc, "Hello", &rect, font_, 1), 0);
    std::vector<uint32_t> after = Pixels(buffer);

    int textPixels = 0;
    uint32_t highest = 0;
    for (size_t i = 0; i < after.size(); ++i) {
      // Colour is never touched.
      ASSERT_EQ(after[i] & 0xFFFFFF, drawn[i] & 0xFFFFFF) << i;
      bool text = (drawn[i] & 0xFFFFFF) != (c.background & 0xFFFFFF);
      if (!text) {
        ASSERT_EQ(after[i], c.background) << "untouched pixel " << i % kWidth << "," << i / kWidth;
        continue;
      }
      ++textPixels;
      highest = std::max(highest, Alpha(after[i]));
      // Text is at least as opaque as what it was drawn on, and visible.
      ASSERT_GE(Alpha(after[i]), std::min<uint32_t>(Alpha(c.background), 183)) << i;
      ASSERT_GT(Alpha(after[i]), 0u) << i;
    }
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(highest, Alpha(c.background) == 0 ? 183u : 255u);
    ClearLists();
  }
}

TEST_F(AlphaText, ADcOnNoBufferIsLeftAsGdiDrewIt) {
  struct Case {
    const char* what;
    void (*registerOthers)(int buffer, int other);
  };
  const Case cases[] = {
      {"no PanelEx at all", [](int, int) {}},
      {"another PanelEx's buffer", [](int, int other) { Register(other); }},
      {"no page in the page list",
       [](int buffer, int) {
         ToolkitLock(PanelExMutex);
         PanelExList.Add().bufferImage = buffer;
         ToolkitUnlock(PanelExMutex);
       }},
      {"the PanelEx's translucency buffer", [](int buffer, int) { Register(buffer, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HDC dc = nullptr, otherDc = nullptr;
    int buffer = Buffer(0x00102030, &dc);
    int other = Buffer(0x00102030, &otherDc);
    RECT rect = {4, 2, 70, 26};
    Draw(dc, "Hello", rect, font_);
    std::vector<uint32_t> drawn = Pixels(buffer);
    c.registerOthers(buffer, other);
    DrawTextOnAlphaSurface(dc, "Hello", &rect, font_, 1);
    EXPECT_EQ(Pixels(buffer), drawn);
    RestoreSurfaceAlpha(dc, &rect);
    EXPECT_EQ(SavedAlphaImage, 0);
    RestoreSurfaceAlpha(dc, &rect);
    EXPECT_EQ(Pixels(buffer), drawn);
    EXPECT_EQ(Pixels(other), std::vector<uint32_t>(kWidth * kHeight, 0x00102030));
    ClearLists();
  }
}

TEST_F(AlphaText, AnEmptyOrUnmaskableRectangleChangesNothing) {
  HDC dc = nullptr;
  int buffer = Buffer(0x00102030, &dc);
  Draw(dc, "Hello", RECT{4, 2, 70, 26}, font_);
  std::vector<uint32_t> drawn = Pixels(buffer);
  Register(buffer);
  int scratch = AlphaScratchImage;
  for (RECT rect : {RECT{4, 2, 4, 26}, RECT{4, 2, 70, 2}, RECT{70, 2, 4, 26}, RECT{4, 26, 70, 2},
                    RECT{-2147483647 - 1, 2, 2147483647, 26}, RECT{4, -2147483647 - 1, 70, 2147483647}}) {
    SCOPED_TRACE(testing::Message() << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom);
    EXPECT_EQ(DrawTextOnAlphaSurface(dc, "Hello", &rect, font_, 1), 0);
    EXPECT_EQ(Pixels(buffer), drawn);
    EXPECT_EQ(AlphaScratchImage, scratch);
    // Nor does a restore pair: no patch is made, so the second call writes nothing.
    EXPECT_EQ(RestoreSurfaceAlpha(dc, &rect), 0);
    EXPECT_EQ(SavedAlphaImage, 0);
    EXPECT_EQ(RestoreSurfaceAlpha(dc, &rect), 0);
    EXPECT_EQ(Pixels(buffer), drawn);
  }
  EXPECT_EQ(DrawTextOnAlphaSurface(dc, "Hello", nullptr, font_, 1), 0);
  EXPECT_EQ(Pixels(buffer), drawn);
}

// The mask must hold the very glyphs GDI drew: text that fills its rectangle to the right
// edge, and text drawn in the DC's own font (no font given), gets alpha on every pixel it
// coloured and nowhere else.
TEST_F(AlphaText, EveryColouredPixelAndNoOtherGetsAlpha) {
  struct Case {
    const char* what;
    bool fontInDc;   // no font given: the text is drawn in the DC's font
    int extraWidth;  // the rectangle is this much wider than the text (narrower: cut)
    int flags;
  };
  const Case cases[] = {
      {"text cut at the right edge", false, -10, 1},
      {"the DC's font", true, -10, 1},
      {"centred in a wider rectangle", false, 21, 0x30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HDC dc = nullptr;
    int buffer = Buffer(0x00102030, &dc);
    RECT rect = {5, 3, 5, 3};
    HGDIOBJ old = SelectObject(dc, font_);
    DrawTextA(dc, "MWMW", -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    if (!c.fontInDc) SelectObject(dc, old);
    rect.right += c.extraWidth;
    HFONT font = c.fontInDc ? nullptr : font_;
    Draw(dc, "MWMW", rect, font, c.flags);
    std::vector<uint32_t> drawn = Pixels(buffer);
    Register(buffer);
    DrawTextOnAlphaSurface(dc, "MWMW", &rect, font, c.flags);
    std::vector<uint32_t> after = Pixels(buffer);
    int rightmost = 0;
    for (size_t i = 0; i < after.size(); ++i) {
      bool text = (drawn[i] & 0xFFFFFF) != 0x102030;
      if (text) rightmost = std::max(rightmost, int(i % kWidth));
      ASSERT_EQ(Alpha(after[i]) != 0, text) << i % kWidth << "," << i / kWidth;
    }
    if (c.extraWidth < 0) {
      EXPECT_GE(rightmost, rect.right - 2) << "the text reaches the rectangle's right edge";
    }
    ClearLists();
  }
}

TEST_F(AlphaText, TheWindowOriginAndTheClipRegionPlaceTheChange) {
  HDC plainDc = nullptr;
  int plain = Buffer(0x00102030, &plainDc);
  Draw(plainDc, "Hi", RECT{10, 5, 60, 25}, font_);
  Register(plain);
  RECT plainRect = {10, 5, 60, 25};
  DrawTextOnAlphaSurface(plainDc, "Hi", &plainRect, font_, 1);
  std::vector<uint32_t> expected = Pixels(plain);
  ClearLists();

  // The same text in logical coordinates 7 right and 4 down of the device's.
  HDC dc = nullptr;
  int moved = Buffer(0x00102030, &dc);
  SetWindowOrgEx(dc, 7, 4, nullptr);
  RECT rect = {17, 9, 67, 29};
  Draw(dc, "Hi", rect, font_);
  Register(moved);
  DrawTextOnAlphaSurface(dc, "Hi", &rect, font_, 1);
  EXPECT_EQ(Pixels(moved), expected);
  ClearLists();

  // A clip region (device coordinates) that holds only the left part of the text: the
  // text on the right keeps the alpha GDI left.
  HDC clippedDc = nullptr;
  int clipped = Buffer(0x00102030, &clippedDc);
  Draw(clippedDc, "Hi", plainRect, font_);
  std::vector<uint32_t> drawn = Pixels(clipped);
  HRGN left = CreateRectRgn(0, 0, 18, kHeight);
  SelectClipRgn(clippedDc, left);
  DeleteObject(left);
  Register(clipped);
  DrawTextOnAlphaSurface(clippedDc, "Hi", &plainRect, font_, 1);
  std::vector<uint32_t> after = Pixels(clipped);
  int changedLeft = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    int x = int(i % kWidth);
    if (x >= 18) {
      ASSERT_EQ(after[i], drawn[i]) << x << "," << i / kWidth;
    } else {
      ASSERT_EQ(after[i], expected[i]) << x << "," << i / kWidth;
      if (after[i] != drawn[i]) ++changedLeft;
    }
  }
  EXPECT_GT(changedLeft, 0);
  EXPECT_NE(after, expected) << "the right part of the text was drawn too";
}

TEST_F(AlphaText, TheMaskGrowsAndIsReusedForSmallerTexts) {
  HDC dc = nullptr;
  int buffer = Buffer(0x00102030, &dc, 200, 60);
  Register(buffer);
  RECT large = {0, 0, 150, 50};
  DrawTextOnAlphaSurface(dc, "", &large, font_, 1);
  int scratch = AlphaScratchImage;
  ASSERT_NE(scratch, 0);
  int width = RuntimeImageWidth(scratch), height = RuntimeImageHeight(scratch);
  EXPECT_GE(width, 150);
  EXPECT_GE(height, 50);

  // The large call left an empty mask; draw real text small and look that the rest of the
  // larger mask changes nothing outside the small rectangle.
  ClearLists();
  FillRuntimeImage(buffer, 0, 0, 200, 60, 0x00102030);
  RECT small = {20, 10, 60, 30};
  Draw(dc, "Ab", small, font_);
  std::vector<uint32_t> drawn = Pixels(buffer);
  Register(buffer);
  // A mask left full of coverage by an earlier, larger text must not leak.
  FillRuntimeImage(scratch, 0, 0, width, height, 0x00FFFFFF);
  DrawTextOnAlphaSurface(dc, "Ab", &small, font_, 1);
  EXPECT_EQ(AlphaScratchImage, scratch);
  EXPECT_EQ(RuntimeImageWidth(scratch), width);
  std::vector<uint32_t> after = Pixels(buffer);
  int changed = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    int x = int(i % 200), y = int(i / 200);
    bool inside = x >= small.left - 2 && x < small.right && y >= small.top && y < small.bottom;
    if (!inside) {
      ASSERT_EQ(after[i], drawn[i]) << x << "," << y;
    }
    if (after[i] != drawn[i]) ++changed;
  }
  EXPECT_GT(changed, 0);

  // A taller text makes a new, larger mask.
  RECT tall = {0, 0, 20, 59};
  DrawTextOnAlphaSurface(dc, "x", &tall, font_, 1);
  EXPECT_GE(RuntimeImageHeight(AlphaScratchImage), 59);
  EXPECT_EQ(IsRuntimeImage(scratch), AlphaScratchImage == scratch ? 1 : 0);
}

// ---------------------------------------------------------------------------------------
// Restoring a rectangle's alpha

TEST_F(AlphaText, RestoreSurfaceAlphaMakesTheRectangleOpaque) {
  struct Case {
    const char* what;
    POINT origin;
    RECT rect;    // logical
    RECT device;  // the pixels that become opaque
  };
  const Case cases[] = {
      {"inside", {0, 0}, {10, 5, 30, 15}, {10, 5, 30, 15}},
      {"window origin", {5, -2}, {15, 3, 35, 13}, {10, 5, 30, 15}},
      {"over the edges", {0, 0}, {-10, -10, 20, 8}, {0, 0, 20, 8}},
      {"beyond the buffer", {0, 0}, {kWidth, 0, kWidth + 20, 10}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HDC dc = nullptr;
    int buffer = Buffer(0x00102030, &dc);
    WriteRuntimeImagePixel(buffer, 12, 6, 0x40ABCDEF);
    std::vector<uint32_t> before = Pixels(buffer);
    SetWindowOrgEx(dc, c.origin.x, c.origin.y, nullptr);
    Register(buffer);
    RECT rect = c.rect;
    EXPECT_EQ(RestoreSurfaceAlpha(dc, &rect), 0);
    int saved = SavedAlphaImage;
    ASSERT_NE(saved, 0);
    EXPECT_EQ(Pixels(buffer), before) << "the first call only prepares";
    EXPECT_EQ(RestoreSurfaceAlpha(dc, &rect), 0);
    EXPECT_EQ(SavedAlphaImage, 0);
    EXPECT_EQ(IsRuntimeImage(saved), 0);
    std::vector<uint32_t> after = Pixels(buffer);
    for (size_t i = 0; i < after.size(); ++i) {
      POINT p = {int(i % kWidth), int(i / kWidth)};
      uint32_t expected = PtInRect(&c.device, p) ? (before[i] | 0xFF000000) : before[i];
      ASSERT_EQ(after[i], expected) << p.x << "," << p.y;
    }
    ClearLists();
  }
}

}  // namespace
