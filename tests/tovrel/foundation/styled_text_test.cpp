// Styled texts read, measured and drawn on 32-bit DIB sections in memory DCs. Expected
// pictures are made with plain DrawTextA calls of the runs, in the same fonts, at the
// places the layout rules give them.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <string>
#include <vector>

#include "common/fonts.h"
#include "common/image_pixels.h"
#include "common/objects.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/styled_markup.h"
#include "tovrel/foundation/styled_text.h"

using namespace tovrel;

namespace {

// ---- the markup reader ----

std::string Describe(const std::vector<MarkupToken>& tokens) {
  std::string out;
  for (const MarkupToken& t : tokens) {
    if (!out.empty()) out += ' ';
    char number[16];
    switch (t.kind) {
      case MarkupKind::Run:
        out += "[" + t.text + "]";
        break;
      case MarkupKind::Bold:
        out += "B";
        break;
      case MarkupKind::Italic:
        out += "I";
        break;
      case MarkupKind::Underline:
        out += "U";
        break;
      case MarkupKind::StrikeOut:
        out += "S";
        break;
      case MarkupKind::Normal:
        out += "N";
        break;
      case MarkupKind::Colour:
        snprintf(number, sizeof(number), "C%06X", static_cast<unsigned>(t.value));
        out += number;
        break;
      case MarkupKind::LinkStart:
        out += "L" + std::to_string(t.value);
        break;
      case MarkupKind::LinkEnd:
        out += "E";
        break;
      case MarkupKind::LineBreak:
        out += "|";
        break;
    }
  }
  return out;
}

TEST(StyledMarkup, ReadsRunsAndCodes) {
  struct Case {
    const char* text;
    const char* tokens;  // colours are COLORREFs: red in the low byte
  } cases[] = {
      {"plain", "[plain]"},
      {"a\\\\b", "[a\\b]"},   // an escaped backslash stays in its run
      {"a\\xb", "[a] [xb]"},  // an unknown code: two runs, no backslash
      {"\\bBold\\b normal", "[] B [Bold] B [ normal]"},
      {"\\I\\U\\S\\N", "[] I [] U [] S [] N"},  // codes ignore case
      {"\\cFF0000red", "[] C0000FF [red]"},
      {"\\C00ff00x", "[] C00FF00 [x]"},
      {"one\\|two", "[one] | [two]"},
      {"one\\ntwo", "[one] N [two]"},
      {"\\l12Click\\l", "[] L12 [Click] E"},
      {"\\l7", "[] L7"},
      {"a\\l", "[a] E"},
      {"\\l99999999999x", "[] L2147483647 [x]"},  // a number too large stops at 31 bits
      // Near the end the reader takes what is there and stops.
      {"ab\\cFF", "[ab] C0000FF"},  // missing digits are 0
      {"ab\\cF", "[ab] C0000F0"},
      {"ab\\c", "[ab] C000000"},
      {"ab\\", "[ab]"},  // a last lone backslash is dropped
      {"ab\\\\\\", "[ab\\]"},
      // A backslash among a colour's six characters belongs to the colour.
      {"\\c12\\b34red", "[] C340012 [red]"},
      {"\\cZZ00FFz", "[] CFF0000 [z]"},  // "ZZ" is no number: 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(ReadStyledMarkup(c.text)), c.tokens) << c.text;
  }
}

TEST(StyledMarkup, OnlyARealLineBreakAddsSpacing) {
  EXPECT_TRUE(HasLineBreak(ReadStyledMarkup("a\\|b")));
  EXPECT_FALSE(HasLineBreak(ReadStyledMarkup("a\\\\|b")));  // a backslash, then "|"
  EXPECT_FALSE(HasLineBreak(ReadStyledMarkup("a\\nb")));
}

// ---- drawing ----

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit top-down DIB section selected into a memory DC, filled white.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    bitmap_ = CreatePixelBitmap(width, height, &bits_);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = 0x00FFFFFF;
    SetTextColor(dc_, RGB(0, 0, 0));
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Pixels that are not white, in the columns from x0 on.
  int InkFrom(int x0) const {
    GdiFlush();
    int n = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = x0; x < width_; ++x) n += At(x, y) != 0xFFFFFF;
    }
    return n;
  }
  int Ink() const { return InkFrom(0); }

  int Red() const {
    GdiFlush();
    int n = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        uint32_t p = At(x, y);
        n += (p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) < 60 && (p & 0xFF) < 60;
      }
    }
    return n;
  }

  // The first pixel where the two canvases differ, or "" when they are equal.
  std::string DifferenceFrom(const Canvas& other) const {
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (At(x, y) != other.At(x, y)) return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
    return "";
  }

 private:
  int width_, height_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

enum Style { kNormal = 0, kBold = 1, kItalic = 2 };

// The start font and the styled fonts a text switches to, made as the drawing makes them:
// from the start font's metrics and face.
class Fonts {
 public:
  explicit Fonts(int weight = FW_NORMAL) {
    start_ = CreateFontA(-13, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, start_);
    GetTextMetricsA(dc, &metrics_);
    GetTextFaceA(dc, LF_FACESIZE, face_);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ~Fonts() {
    DeleteObject(start_);
    for (HFONT f : made_) DeleteObject(f);
  }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  HFONT start() const { return start_; }
  const TEXTMETRICA& metrics() const { return metrics_; }

  // kNormal is the start font itself; a style flips the start font's weight or italic.
  HFONT Styled(int style) {
    if (style == kNormal) return start_;
    LONG weight = metrics_.tmWeight;
    if (style & kBold) weight = weight == FW_BOLD ? FW_NORMAL : FW_BOLD;
    BYTE italic = (style & kItalic) ? !metrics_.tmItalic : metrics_.tmItalic;
    // The start font's own description with the style flipped, as a caller would make it.
    LOGFONTA logFont{};
    GetObjectA(start_, sizeof(logFont), &logFont);
    logFont.lfWeight = weight;
    logFont.lfItalic = italic;
    HFONT f = CreateFontIndirectA(&logFont);
    made_.push_back(f);
    return f;
  }

 private:
  HFONT start_;
  TEXTMETRICA metrics_{};
  char face_[LF_FACESIZE] = {};
  std::vector<HFONT> made_;
};

SIZE TextSize(HDC dc, HFONT font, const std::string& text) {
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
  SelectObject(dc, old);
  return {r.right, r.bottom};
}

class StyledText : public ::testing::Test {
 protected:
  void SetUp() override {
    TextLineSpacing = 0;
    TextControlList.Clear();
  }
  void TearDown() override {
    TextLineSpacing = 0;
    TextControlList.Clear();
  }
};

// A text drawn with markup gives the picture of its runs drawn one by one with DrawTextA.
TEST_F(StyledText, DrawsEachRunWhereTheLayoutPutsIt) {
  struct Piece {
    const char* text;
    int style;
    bool newLine;  // starts at the left edge, one line lower
  };
  struct Case {
    const char* markup;
    int flags;
    int spacing;
    std::vector<Piece> pieces;
  } cases[] = {
      {"a\\\\b", 1, 0, {{"a\\b", kNormal, false}}},
      {"a\\xb", 1, 0, {{"a", kNormal, false}, {"xb", kNormal, false}}},
      {"\\bBold\\b normal", 1, 0, {{"Bold", kBold, false}, {" normal", kNormal, false}}},
      {"\\b\\iBoth\\n plain", 1, 0, {{"Both", kBold | kItalic, false}, {" plain", kNormal, false}}},
      {"one\\ntwo", 1, 0, {{"one", kNormal, false}, {"two", kNormal, false}}},
      {"one\\|two", 1, 0, {{"one", kNormal, false}, {"two", kNormal, true}}},
      {"one\\|two", 1, 4, {{"one", kNormal, false}, {"two", kNormal, true}}},
      {"\\|two", 1, 0, {{"two", kNormal, true}}},  // an empty first line is one line high
      // Centred vertically: every run's box reaches the bottom of the target.
      {"\\bBold\\b normal", 0, 0, {{"Bold", kBold, false}, {" normal", kNormal, false}}},
      {"\\bBold\\b normal", 0x30, 0, {{"Bold", kBold, false}, {" normal", kNormal, false}}},
  };
  const RECT target{6, 4, 230, 60};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.markup + std::string(" flags ") + std::to_string(c.flags) + " spacing " + std::to_string(c.spacing));
    Fonts fonts;
    Canvas drawn(240, 64), expected(240, 64);
    TextLineSpacing = c.spacing;
    RECT rect = target;
    EXPECT_EQ(DrawStyledText(drawn.dc(), c.markup, &rect, fonts.start(), c.flags), "");

    const UINT format = (c.flags & 1) ? 0x160 : (c.flags & 0x30) == 0x30 ? 0x165 : 0x164;
    const int lineHeight = TextSize(expected.dc(), fonts.start(), " ").cy + c.spacing;
    int x = 0, y = 0;
    for (const Piece& p : c.pieces) {
      if (p.newLine) {
        x = 0;
        y += lineHeight;
      }
      HFONT font = fonts.Styled(p.style);
      SIZE size = TextSize(expected.dc(), font, p.text);
      RECT box{target.left + x, target.top + y, target.left + x + size.cx,
               (c.flags & 1) ? target.top + y + size.cy : target.bottom};
      HGDIOBJ old = SelectObject(expected.dc(), font);
      SetBkMode(expected.dc(), TRANSPARENT);
      DrawTextA(expected.dc(), p.text, -1, &box, format);
      SelectObject(expected.dc(), old);
      x += size.cx;
    }
    EXPECT_GT(drawn.Ink(), 0);
    EXPECT_EQ(drawn.DifferenceFrom(expected), "");
    EXPECT_EQ(GetBkMode(drawn.dc()), TRANSPARENT);
  }
}

TEST_F(StyledText, MeasuresTheLaidOutText) {
  Fonts fonts;
  Canvas canvas(8, 8);
  HDC dc = canvas.dc();
  auto w = [&](const char* text, int style) { return static_cast<int>(TextSize(dc, fonts.Styled(style), text).cx); };
  const int h = TextSize(dc, fonts.start(), " ").cy;
  struct Case {
    const char* markup;
    int spacing;
    int width;
    int height;
  } cases[] = {
      {"\\bAB\\|C", 0, std::max(w("AB", kBold), w("C", kNormal)), 2 * h},
      {"\\bWWWW\\|C", 0, std::max(w("WWWW", kBold), w("C", kNormal)), 2 * h},
      {"one\\|two", 4, std::max(w("one", kNormal), w("two", kNormal)), 2 * (h + 4)},
      {"one\\|two\\|", 0, std::max(w("one", kNormal), w("two", kNormal)), 2 * h},
      {"one\\ntwo", 4, w("one", kNormal) + w("two", kNormal), h},  // no line break: no spacing
      {"\\bBold\\b normal", 0, w("Bold", kBold) + w(" normal", kNormal), h},
      {"a\\xb", 0, w("a", kNormal) + w("xb", kNormal), h},
      {"a\\\\b", 0, w("a\\b", kNormal), h},
      {"ab\\cFF", 0, w("ab", kNormal), h},  // the truncated colour ends the text
      {"abc\\", 0, w("abc", kNormal), h},
      {"\\l12Click\\l", 0, w("Click", kNormal), h},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.markup);
    TextLineSpacing = c.spacing;
    RECT rect{10, 20, 10, 20};
    EXPECT_EQ(DrawStyledText(dc, c.markup, &rect, fonts.start(), 0x400), "");
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, c.width);
    EXPECT_EQ(rect.bottom, c.height);
  }

  // Without markup the rectangle is DrawTextA's own result, from its left and top.
  RECT plain{10, 20, 10, 20};
  DrawStyledText(dc, "AB", &plain, fonts.start(), 0x400);
  EXPECT_EQ(plain.left, 10);
  EXPECT_EQ(plain.top, 20);
  EXPECT_EQ(plain.right, 10 + w("AB", kNormal));
  EXPECT_EQ(plain.bottom, 20 + h);
}

// Bold runs are drawn in the bold font: heavier strokes put down more ink. In the
// tool's own font quality, which lets Wine embolden a face that has no bold of its own.
TEST_F(StyledText, BoldRunsAreDrawnInTheBoldFont) {
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
  Canvas bold(100, 24), normal(100, 24);
  RECT rect{0, 0, 100, 24};
  DrawStyledText(bold.dc(), "\\bBold text", &rect, font, 1);
  DrawStyledText(normal.dc(), "Bold text", &rect, font, 1);
  EXPECT_GT(bold.Ink(), normal.Ink());
  DeleteObject(font);
}

TEST_F(StyledText, BoldOfABoldFontIsNormal) {
  Fonts bold(FW_BOLD);
  Canvas canvas(8, 8);
  RECT rect{};
  DrawStyledText(canvas.dc(), "\\bWWWW", &rect, bold.start(), 0x400);
  EXPECT_EQ(rect.right, TextSize(canvas.dc(), bold.Styled(kBold), "WWWW").cx);
  EXPECT_NE(rect.right, TextSize(canvas.dc(), bold.start(), "WWWW").cx);
}

TEST_F(StyledText, ColourCodesTintUnlessTheDcColourIsKept) {
  Fonts fonts;
  struct Case {
    const char* markup;
    int flags;
    bool red;
    COLORREF after;  // the DC keeps the last colour
  } cases[] = {
      {"\\cFF0000red", 1, true, RGB(255, 0, 0)},
      {"\\cFF0000red", 0x101, false, RGB(0, 0, 0)},
      {"\\cFF0000red\\n black", 1, true, RGB(0, 0, 0)},
      {"black\\cFF", 1, false, RGB(255, 0, 0)},  // truncated: the colour is set, nothing after it
      {"black\\cF", 1, false, RGB(0xF0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.markup + std::string(" flags ") + std::to_string(c.flags));
    Canvas canvas(120, 24);
    RECT rect{2, 2, 118, 22};
    DrawStyledText(canvas.dc(), c.markup, &rect, fonts.start(), c.flags);
    EXPECT_GT(canvas.Ink(), 0);
    EXPECT_EQ(canvas.Red() > 0, c.red);
    EXPECT_EQ(GetTextColor(canvas.dc()), c.after);
  }
}

TEST_F(StyledText, TheRunThatOverflowsAndAllAfterItAreClipped) {
  Fonts fonts;
  // Text without markup is clipped the same way.
  for (const char* text : {"WWWWWW\\bWWWW\\b\\|WWWWWWWWWW", "WWWWWWWWWW"}) {
    for (int flags : {1, 0}) {
      SCOPED_TRACE(std::string(text) + " flags " + std::to_string(flags));
      Canvas canvas(200, 30);
      RECT rect{4, 4, 40, 26};
      DrawStyledText(canvas.dc(), text, &rect, fonts.start(), flags);
      EXPECT_GT(canvas.Ink(), 0);
      EXPECT_EQ(canvas.InkFrom(40), 0);
    }
  }
}

TEST_F(StyledText, PlainTextIsReturnedAndMeasuringDrawsNothing) {
  Fonts fonts;
  Canvas canvas(100, 24);
  RECT rect{0, 0, 100, 24};
  EXPECT_EQ(DrawStyledText(canvas.dc(), "\\u&File\\u", &rect, fonts.start(), 0x800400), "&File");
  EXPECT_EQ(canvas.Ink(), 0);
  rect = {0, 0, 100, 24};
  EXPECT_EQ(DrawStyledText(canvas.dc(), "a\\\\b\\|c\\cFF0000d", &rect, fonts.start(), 0x800001), "a\\bcd");
  EXPECT_GT(canvas.Ink(), 0);
  rect = {0, 0, 100, 24};
  EXPECT_EQ(DrawStyledText(canvas.dc(), "\\bnot markup", &rect, fonts.start(), 0xA00400), "\\bnot markup");
  EXPECT_EQ(DrawStyledText(canvas.dc(), "\\bBold", &rect, fonts.start(), 0x400), "");
}

TEST_F(StyledText, TheGivenFontIsOnlyBorrowed) {
  Fonts fonts;
  Canvas canvas(100, 24);
  HGDIOBJ before = GetCurrentObject(canvas.dc(), OBJ_FONT);
  RECT rect{0, 0, 100, 24};
  DrawStyledText(canvas.dc(), "\\bBold\\iBoth", &rect, fonts.start(), 1);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), before);
  // With no font the DC's own one is used and stays selected.
  SelectObject(canvas.dc(), fonts.start());
  DrawStyledText(canvas.dc(), "\\bBold", &rect, nullptr, 1);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), fonts.start());
  SelectObject(canvas.dc(), before);
  EXPECT_EQ(AlphaTextGuard, 0);
}

std::vector<TextLinkRect> LinksOf(const TextControlRecord& control) {
  std::vector<TextLinkRect> links;
  for (const TextLinkRect& link : control.links) links.push_back(link);
  return links;
}

TEST_F(StyledText, LinksAreRecordedInTextOrderForTheCurrentControl) {
  Fonts fonts;
  Canvas canvas(300, 40);
  HDC dc = canvas.dc();
  auto w = [&](const char* text) { return static_cast<int>(TextSize(dc, fonts.start(), text).cx); };
  const int h = TextSize(dc, fonts.start(), " ").cy;

  TextControlRecord& control = TextControlList.Add();
  control.links.Add() = {99, 0, 0, 1, 1};  // from an earlier drawing: cleared first
  RECT rect{10, 20, 300, 40};
  DrawStyledText(dc, "\\l12Click\\l", &rect, fonts.start(), 0x100001);
  std::vector<TextLinkRect> links = LinksOf(control);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].linkId, 12);
  EXPECT_EQ(links[0].left, 10);
  EXPECT_EQ(links[0].top, 20);
  EXPECT_EQ(links[0].right, 10 + w("Click"));
  EXPECT_EQ(links[0].bottom, 20 + h);

  // Measuring records too, at the rectangle's origin; a stray end records nothing.
  rect = {10, 20, 10, 20};
  DrawStyledText(dc, "Go \\l1one\\l and \\l2two\\l\\l, \\l3\\|three\\l", &rect, fonts.start(), 0x100400);
  links = LinksOf(control);
  ASSERT_EQ(links.size(), 3u);
  const int twoLeft = 10 + w("Go ") + w("one") + w(" and ");
  EXPECT_EQ(links[0].linkId, 1);
  EXPECT_EQ(links[0].left, 10 + w("Go "));
  EXPECT_EQ(links[1].linkId, 2);
  EXPECT_EQ(links[1].left, twoLeft);
  EXPECT_EQ(links[1].right, twoLeft + w("two"));
  EXPECT_EQ(links[2].linkId, 3);
  EXPECT_EQ(links[2].top, 20);  // the origin is where the link starts, before its break

  // Without the flag the list is left as it is.
  DrawStyledText(dc, "\\l5five\\l", &rect, fonts.start(), 0x400);
  EXPECT_EQ(LinksOf(control).size(), 3u);
}

TEST_F(StyledText, NoCurrentControlRecordsNothing) {
  Fonts fonts;
  Canvas canvas(100, 24);
  TextControlRecord& control = TextControlList.Add();
  control.links.Add() = {1, 0, 0, 1, 1};
  TextControlList.Delete(&TextControlList.Add());  // the list is left without a current record
  ASSERT_EQ(TextControlList.Current(), nullptr);
  RECT rect{0, 0, 100, 24};
  DrawStyledText(canvas.dc(), "\\l4four\\l", &rect, fonts.start(), 0x100001);
  EXPECT_EQ(LinksOf(control).size(), 1u);
  EXPECT_GT(canvas.Ink(), 0);
}

TEST(FontMeasures, SizeStepsFollowTheFivePointRule) {
  struct Case {
    int size, step;
  } cases[] = {{0, 8}, {9, 8}, {10, 10}, {11, 12}, {14, 18}, {15, 18}, {19, 26}, {20, 26}, {25, 34}};
  for (const Case& c : cases) EXPECT_EQ(GetFontSizeStep(c.size), c.step) << c.size;
}

TEST(FontMeasures, FaceAndPointSizeOfHandlesAndRuntimeFonts) {
  EXPECT_EQ(GetScreenDpi(1), 96);
  EXPECT_EQ(GetScreenDpi(0), 96);
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
  EXPECT_EQ(GetFontFaceName(reinterpret_cast<intptr_t>(font)), "Tahoma");
  EXPECT_EQ(GetFontPointSize(reinterpret_cast<intptr_t>(font)), 12);
  DeleteObject(font);

  intptr_t number = LoadRuntimeFont(kAnyNumber, "Tahoma", 10);
  ASSERT_GT(number, 0);
  EXPECT_EQ(GetFontFaceName(number), "Tahoma");
  EXPECT_EQ(GetFontPointSize(number), 10);
  FreeRuntimeFont(static_cast<int>(number));

  EXPECT_EQ(GetFontFaceName(0), "");
  EXPECT_EQ(GetFontPointSize(0), 0);
  EXPECT_EQ(GetFontFaceName(reinterpret_cast<intptr_t>(GetStockObject(BLACK_BRUSH))), "");
}

}  // namespace
