#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "common/images.h"

namespace {

// Pictures: one character per pixel, rows top-down. Each letter stands for a colour with
// its own alpha, so that a misplaced or half-written pixel shows.
const std::map<char, uint32_t> kPalette = {
    {'.', 0xFF000000}, {'a', 0x10112233}, {'b', 0x20445566}, {'c', 0x30778899},
    {'d', 0x40AABBCC}, {'F', 0x80FF8000}, {'w', 0xFFFFFFFF},
};

char Letter(uint32_t argb) {
  for (const auto& entry : kPalette) {
    if (entry.second == argb) return entry.first;
  }
  return '?';
}

// A new image holding the picture.
int MakeImage(const std::vector<std::string>& rows) {
  int width = int(rows[0].size()), height = int(rows.size());
  int number = int(CreateRuntimeImage(kAnyNumber, width, height, 0));
  EXPECT_NE(number, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) EXPECT_EQ(WriteRuntimeImagePixel(number, x, y, kPalette.at(rows[y][x])), 1);
  }
  return number;
}

std::vector<std::string> Picture(int number) {
  std::vector<std::string> rows(RuntimeImageHeight(number), std::string(RuntimeImageWidth(number), ' '));
  for (int y = 0; y < int(rows.size()); ++y) {
    for (int x = 0; x < int(rows[y].size()); ++x) {
      uint32_t argb = 0;
      EXPECT_EQ(ReadRuntimeImagePixel(number, x, y, &argb), 1);
      rows[y][x] = Letter(argb);
    }
  }
  return rows;
}

// A 1x1 icon file with one 32-bit image.
int MakeIcon() {
  std::vector<uint8_t> b = {0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 32, 0};
  auto put32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  put32(40 + 4 + 4);  // header, one pixel, one mask row
  put32(22);
  put32(40);
  put32(1);
  put32(2);
  put32(1 | 32 << 16);
  for (int i = 0; i < 6; ++i) put32(0);
  put32(0xFFFF0000);
  put32(0);
  int number = int(CatchRuntimeImage(kAnyNumber, b.data(), b.size()));
  EXPECT_NE(number, 0);
  EXPECT_EQ(RuntimeImageIsIcon(number), 1);
  return number;
}

TEST(ImagePixels, ReadAndWriteTopDownWithinTheImage) {
  int image = MakeImage({"abc", "d.w"});
  EXPECT_EQ(Picture(image), (std::vector<std::string>{"abc", "d.w"}));

  // GDI's (0, 0) is the top-left pixel here too.
  HDC dc = StartRuntimeImageDrawing(image);
  ASSERT_NE(dc, nullptr);
  SetPixelV(dc, 2, 0, RGB(0x12, 0x34, 0x56));
  StopRuntimeImageDrawing(dc);
  uint32_t argb = 0;
  ASSERT_EQ(ReadRuntimeImagePixel(image, 2, 0, &argb), 1);
  EXPECT_EQ(argb & 0xFFFFFF, 0x123456u);

  struct Outside {
    int x, y;
  };
  for (Outside p : {Outside{-1, 0}, Outside{0, -1}, Outside{3, 0}, Outside{0, 2}, Outside{-2147483647 - 1, 0}}) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    argb = 0x5A5A5A5A;
    EXPECT_EQ(ReadRuntimeImagePixel(image, p.x, p.y, &argb), 0);
    EXPECT_EQ(argb, 0x5A5A5A5Au);
    EXPECT_EQ(WriteRuntimeImagePixel(image, p.x, p.y, 0), 0);
  }
  EXPECT_EQ(Picture(image)[1], "d.w");
  EXPECT_EQ(ReadRuntimeImagePixel(999999, 0, 0, &argb), 0);
  FreeRuntimeImage(image);
}

TEST(ImagePixels, FillsWriteAlphaAndStayInsideTheImage) {
  struct Case {
    int x, y, width, height;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {1, 1, 2, 1, {"....", ".FF.", "...."}},
      {-1, -1, 3, 2, {"FF..", "....", "...."}},
      {3, 2, 5, 5, {"....", "....", "...F"}},
      {-100, -100, 1000, 1000, {"FFFF", "FFFF", "FFFF"}},
      {4, 0, 2, 2, {"....", "....", "...."}},
      {0, 0, 0, 3, {"....", "....", "...."}},
      {0, 0, 3, -1, {"....", "....", "...."}},
      {2147483647, 2147483647, 2147483647, 2147483647, {"....", "....", "...."}},
      {-2147483647, 1, 2147483647, 1, {"....", "....", "...."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
    int image = MakeImage({"....", "....", "...."});
    EXPECT_EQ(FillRuntimeImage(image, c.x, c.y, c.width, c.height, kPalette.at('F')), 1);
    EXPECT_EQ(Picture(image), c.expected);
    FreeRuntimeImage(image);
  }
}

TEST(ImagePixels, DrawingCopiesAllChannelsClippedToBothImages) {
  struct Case {
    int x, y;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {0, 0, {"ab..", "cd..", "...."}},
      {1, 1, {"....", ".ab.", ".cd."}},
      {3, 2, {"....", "....", "...a"}},
      {-1, -1, {"d...", "....", "...."}},
      {-1, 2, {"....", "....", "b..."}},
      {4, 0, {"....", "....", "...."}},
      {0, 3, {"....", "....", "...."}},
      {-2, 0, {"....", "....", "...."}},
      {-2147483647 - 1, -2147483647 - 1, {"....", "....", "...."}},
      {2147483647, 0, {"....", "....", "...."}},
  };
  int source = MakeImage({"ab", "cd"});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "at " << c.x << "," << c.y);
    int target = MakeImage({"....", "....", "...."});
    EXPECT_EQ(DrawRuntimeImage(source, target, c.x, c.y, ImageDrawMode::kAllChannels), 1);
    EXPECT_EQ(Picture(target), c.expected);
    FreeRuntimeImage(target);
  }
  // A source larger than the target covers it.
  int small = MakeImage({"."});
  EXPECT_EQ(DrawRuntimeImage(source, small, -1, 0, ImageDrawMode::kAllChannels), 1);
  EXPECT_EQ(Picture(small), std::vector<std::string>{"b"});
  EXPECT_EQ(Picture(source), (std::vector<std::string>{"ab", "cd"}));
  FreeRuntimeImage(small);
  FreeRuntimeImage(source);
}

TEST(ImagePixels, AlphaOnlyKeepsTheTargetsColour) {
  int source = CreateRuntimeImage(kAnyNumber, 2, 1, 0);
  WriteRuntimeImagePixel(source, 0, 0, 0x80123456);
  WriteRuntimeImagePixel(source, 1, 0, 0x00FFFFFF);
  int target = CreateRuntimeImage(kAnyNumber, 3, 1, 0);
  const uint32_t before[] = {0xFFABCDEF, 0x11FEDCBA, 0x22010203};
  for (int x = 0; x < 3; ++x) WriteRuntimeImagePixel(target, x, 0, before[x]);

  ASSERT_EQ(DrawRuntimeImage(source, target, 1, 0, ImageDrawMode::kAlphaOnly), 1);
  const uint32_t expected[] = {0xFFABCDEF, 0x80FEDCBA, 0x00010203};
  for (int x = 0; x < 3; ++x) {
    uint32_t argb = 0;
    ReadRuntimeImagePixel(target, x, 0, &argb);
    EXPECT_EQ(argb, expected[x]) << "x " << x;
  }
  FreeRuntimeImage(source);
  FreeRuntimeImage(target);
}

struct FilterCall {
  int x, y;
  uint32_t source, target;
  bool operator==(const FilterCall& o) const {
    return x == o.x && y == o.y && source == o.source && target == o.target;
  }
};
std::vector<FilterCall> filterCalls;

std::ostream& operator<<(std::ostream& out, const FilterCall& c) {
  return out << "(" << c.x << "," << c.y << " " << std::hex << c.source << " " << c.target << std::dec << ")";
}

// Records its call; stores the source's alpha with the target's colour, plus one in blue.
uint32_t RecordingFilter(int x, int y, uint32_t source, uint32_t target) {
  filterCalls.push_back({x, y, source, target});
  return (source & 0xFF000000) | ((target + 1) & 0x00FFFFFF);
}

TEST(ImagePixels, FilterSeesTargetCoordinatesAndBothPixels) {
  int source = MakeImage({"ab", "cd"});
  int target = MakeImage({"www", "...", ".w."});
  filterCalls.clear();
  // Placed one pixel left and one down: the source's left column and the row below the
  // target fall outside, so only b and d are drawn, at x 0.
  ASSERT_EQ(DrawRuntimeImage(source, target, -1, 1, ImageDrawMode::kFilter, RecordingFilter), 1);
  const std::vector<FilterCall> expected = {
      {0, 1, kPalette.at('b'), kPalette.at('.')},
      {0, 2, kPalette.at('d'), kPalette.at('.')},
  };
  EXPECT_EQ(filterCalls, expected);
  uint32_t argb = 0;
  ReadRuntimeImagePixel(target, 0, 1, &argb);
  EXPECT_EQ(argb, 0x20000001u);
  ReadRuntimeImagePixel(target, 0, 2, &argb);
  EXPECT_EQ(argb, 0x40000001u);
  EXPECT_EQ(Picture(target)[0], "www");

  // Without a filter nothing is drawn.
  filterCalls.clear();
  EXPECT_EQ(DrawRuntimeImage(source, target, 0, 0, ImageDrawMode::kFilter, nullptr), 0);
  EXPECT_EQ(Picture(target)[0], "www");
  FreeRuntimeImage(source);
  FreeRuntimeImage(target);
}

TEST(ImagePixels, DrawingAnImageOntoItselfReadsTheOriginal) {
  int image = MakeImage({"abc.", "d..."});
  ASSERT_EQ(DrawRuntimeImage(image, image, 1, 0, ImageDrawMode::kAllChannels), 1);
  EXPECT_EQ(Picture(image), (std::vector<std::string>{"aabc", "dd.."}));
  filterCalls.clear();
  ASSERT_EQ(DrawRuntimeImage(image, image, 0, 1, ImageDrawMode::kFilter, RecordingFilter), 1);
  ASSERT_EQ(filterCalls.size(), 4u);
  EXPECT_EQ(filterCalls[1], (FilterCall{1, 1, kPalette.at('a'), kPalette.at('d')}));
  FreeRuntimeImage(image);
}

TEST(ImagePixels, IconsHaveNoPixels) {
  int icon = MakeIcon();
  int bitmap = MakeImage({"ab"});
  uint32_t argb = 0;
  EXPECT_EQ(ReadRuntimeImagePixel(icon, 0, 0, &argb), 0);
  EXPECT_EQ(WriteRuntimeImagePixel(icon, 0, 0, 0), 0);
  EXPECT_EQ(FillRuntimeImage(icon, 0, 0, 1, 1, 0), 0);
  EXPECT_EQ(DrawRuntimeImage(icon, bitmap, 0, 0, ImageDrawMode::kAllChannels), 0);
  EXPECT_EQ(DrawRuntimeImage(bitmap, icon, 0, 0, ImageDrawMode::kAlphaOnly), 0);
  EXPECT_EQ(StartRuntimeImageDrawing(icon), nullptr);
  EXPECT_EQ(DetachRuntimeImage(icon), nullptr);
  EXPECT_EQ(IsRuntimeImage(icon), 1);
  EXPECT_EQ(Picture(bitmap), std::vector<std::string>{"ab"});
  FreeRuntimeImage(icon);
  FreeRuntimeImage(bitmap);
}

TEST(ImagePixels, GdiDrawsThroughTheDcAndTheDcLetsGo) {
  int image = MakeImage({"...", "..."});
  HBITMAP bitmap = static_cast<HBITMAP>(RuntimeImageHandle(image));
  HDC dc = StartRuntimeImageDrawing(image);
  ASSERT_NE(dc, nullptr);
  // A bitmap sits in one DC at a time.
  EXPECT_EQ(StartRuntimeImageDrawing(image), nullptr);
  RECT r = {1, 1, 3, 2};
  HBRUSH brush = CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  StopRuntimeImageDrawing(dc);
  uint32_t argb = 0;
  ReadRuntimeImagePixel(image, 2, 1, &argb);
  EXPECT_EQ(argb & 0xFFFFFF, 0xFFFFFFu);
  ReadRuntimeImagePixel(image, 0, 1, &argb);
  EXPECT_EQ(argb, kPalette.at('.'));

  // Once the DC is gone the image can be drawn on again, and freeing it deletes the bitmap.
  dc = StartRuntimeImageDrawing(image);
  EXPECT_NE(dc, nullptr);
  StopRuntimeImageDrawing(dc);
  FreeRuntimeImage(image);
  BITMAP info;
  EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), 0);
}

TEST(ImagePixels, DetachFreesTheNumberAndHandsOverAWorkingBitmap) {
  int image = MakeImage({"ab", "cd"});
  HBITMAP bitmap = DetachRuntimeImage(image);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(IsRuntimeImage(image), 0);
  EXPECT_EQ(RuntimeImageHandle(image), nullptr);
  EXPECT_EQ(DetachRuntimeImage(image), nullptr);
  EXPECT_EQ(FreeRuntimeImage(image), 0);

  // The bitmap outlived its number: its size and pixels are intact and GDI can use it.
  BITMAP info;
  ASSERT_EQ(GetObjectA(bitmap, sizeof(info), &info), int(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 2);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0xAA, 0xBB, 0xCC));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0x44, 0x55, 0x66));
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_NE(DeleteObject(bitmap), 0);

  // The freed number can hold a new image.
  EXPECT_NE(CreateRuntimeImage(image, 1, 1, 0), 0);
  EXPECT_EQ(IsRuntimeImage(image), 1);
  FreeRuntimeImage(image);
}

}  // namespace
