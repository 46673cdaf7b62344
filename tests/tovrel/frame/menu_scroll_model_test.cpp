// The scrolling copy's moves on a fake menu of item heights: whatever the items, the copy
// keeps its height, shows one unbroken run of source items, never starts or ends that run
// with a separator where items lie beyond, and loses its arrow at the source's ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "tovrel/frame/menu_scroll_model.h"

using namespace tovrel;

namespace {

constexpr int kFrame = 3;  // what the menu adds to its items' heights
constexpr int kArrow = 20;

struct SourceItem {
  int height;
  bool separator;
};

// A menu that only adds up heights. The filler is as high as it was inserted.
class FakeCopy : public ScrollCopyEditor {
 public:
  explicit FakeCopy(std::vector<SourceItem> source) : source_(std::move(source)) {}

  int SourceCount() override { return static_cast<int>(source_.size()); }
  bool SourceIsSeparator(int index) override { return source_[index].separator; }
  int SourceHeight(int index) override { return source_[index].height; }
  int CopyHeight() override {
    int h = kFrame;
    for (size_t i = 0; i < items_.size(); ++i) h += heights_[i];
    return h;
  }
  bool Insert(int position, int entry, int fillerHeight) override {
    if (position < 0 || position > static_cast<int>(items_.size())) return false;
    const int height = entry >= 0 ? source_[entry].height : entry == kScrollFiller ? fillerHeight : kArrow;
    items_.insert(items_.begin() + position, entry);
    heights_.insert(heights_.begin() + position, height);
    if (entry >= 0) entered_.push_back(entry);
    return true;
  }
  bool Remove(int position) override {
    if (position < 0 || position >= static_cast<int>(items_.size())) return false;
    if (items_[position] >= 0) left_.push_back(items_[position]);
    items_.erase(items_.begin() + position);
    heights_.erase(heights_.begin() + position);
    return true;
  }
  void Redraw(bool on) override { redrawOn_ = on; }
  void Animate(int distance, int, int, int) override {
    // Pixels only move while drawing is on.
    EXPECT_TRUE(redrawOn_);
    animated_ += distance;
  }

  // The source items that entered in the pass and stayed.
  int EnteredAndKept() {
    int n = 0;
    for (int e : entered_) {
      bool left = false;
      for (int l : left_) left |= l == e;
      n += left ? 0 : 1;
    }
    return n;
  }
  void StartPass() {
    entered_.clear();
    left_.clear();
    animated_ = 0;
  }

  std::vector<int> items_;
  std::vector<int> heights_;
  std::vector<int> entered_;
  std::vector<int> left_;
  bool redrawOn_ = true;
  int animated_ = 0;

 private:
  std::vector<SourceItem> source_;
};

std::vector<SourceItem> Uniform(int count, int height) { return std::vector<SourceItem>(count, {height, false}); }

// Items of three heights with single and double separators, one near each end.
std::vector<SourceItem> Mixed() {
  std::vector<SourceItem> s;
  for (int i = 0; i < 40; ++i) {
    const bool separator = i == 2 || i % 7 == 5 || i == 19 || i == 37;
    s.push_back(separator ? SourceItem{7, true} : SourceItem{i % 3 == 0 ? 27 : 20 + i % 2, false});
  }
  return s;
}

// What must hold after every pass.
void ExpectSound(FakeCopy& fake, const ScrollCopyState& s, const std::vector<SourceItem>& source) {
  EXPECT_EQ(fake.items_, s.layout);
  EXPECT_EQ(s.popupHeight, fake.CopyHeight());
  const std::vector<int> shown = ShownSourceItems(s.layout);
  ASSERT_FALSE(shown.empty());
  for (size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(shown[i - 1] + 1, shown[i]);
  const int count = static_cast<int>(source.size());
  if (shown.front() > 0) {
    EXPECT_FALSE(source[shown.front()].separator) << shown.front();
  }
  if (shown.back() < count - 1) {
    EXPECT_FALSE(source[shown.back()].separator) << shown.back();
  }
  // An arrow exactly where items lie beyond, the filler next to an arrow, none else.
  EXPECT_EQ(shown.front() > 0, s.layout.front() == kScrollUpArrow);
  EXPECT_EQ(shown.back() < count - 1, s.layout.back() == kScrollDownArrow);
  int fillers = 0;
  for (size_t i = 0; i < s.layout.size(); ++i) {
    if (s.layout[i] != kScrollFiller) continue;
    ++fillers;
    const bool besideArrow = (i > 0 && s.layout[i - 1] == kScrollUpArrow) ||
                             (i + 1 < s.layout.size() && s.layout[i + 1] == kScrollDownArrow);
    EXPECT_TRUE(besideArrow) << i;
    EXPECT_GE(fake.heights_[i], 0);
    EXPECT_EQ(s.fillerHeight, fake.heights_[i]);
  }
  EXPECT_EQ(1, fillers);
  EXPECT_TRUE(fake.redrawOn_);
}

struct Case {
  const char* name;
  std::vector<SourceItem> source;
  int popupHeight;
};

std::vector<Case> Cases() {
  return {
      {"uniform", Uniform(30, 20), 3 + 8 * 20 + 7 + kArrow},
      {"mixed", Mixed(), 200},
      {"short", Uniform(12, 20), 3 + 3 * 20 + 7 + kArrow},
  };
}

ScrollCopyState Start(const Case& c, FakeCopy& fake) {
  ScrollCopyState s;
  s.popupHeight = c.popupHeight;
  s.itemHeight = kArrow;
  RebuildScrollCopyAtStart(s, fake);
  return s;
}

TEST(ScrollCopyModel, RebuildsShowTheSourcesStartOrEndAtTheKeptHeight) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    FakeCopy fake(c.source);
    ScrollCopyState s = Start(c, fake);
    ExpectSound(fake, s, c.source);
    EXPECT_EQ(0, s.layout.front());
    EXPECT_EQ(kScrollFiller, s.layout[s.layout.size() - 2]);
    EXPECT_EQ(0, s.firstIndex);

    RebuildScrollCopyAtEnd(s, fake);
    ExpectSound(fake, s, c.source);
    const int last = static_cast<int>(c.source.size()) - 1;
    EXPECT_EQ(last, s.layout.back());
    EXPECT_EQ(kScrollUpArrow, s.layout[0]);
    EXPECT_EQ(kScrollFiller, s.layout[1]);
    EXPECT_EQ(last, s.firstIndex);

    // A wrap from the end rebuilds at the start again, whatever the copy showed.
    RebuildScrollCopyAtStart(s, fake);
    ExpectSound(fake, s, c.source);
    EXPECT_EQ(0, s.layout.front());
  }
}

// Stepping toward the end one pass at a time reaches the last item, then the arrow is
// gone and a further step changes nothing; stepping back reaches the first item. Every
// pass lets the leading item go; an entering item that would overfill the copy waits for
// the next pass.
TEST(ScrollCopyModel, StepsWalkToEachEndKeepingTheHeight) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    FakeCopy fake(c.source);
    ScrollCopyState s = Start(c, fake);
    const int count = static_cast<int>(c.source.size());
    int passes = 0;
    int previousFirst = ShownSourceItems(s.layout).front();
    int previousLast = ShownSourceItems(s.layout).back();
    while (!s.atEnd && passes < count) {
      SCOPED_TRACE(passes);
      fake.StartPass();
      StepScrollCopyTowardEnd(s, fake);
      ++passes;
      ExpectSound(fake, s, c.source);
      const int first = ShownSourceItems(s.layout).front();
      const int last = ShownSourceItems(s.layout).back();
      EXPECT_GT(first, previousFirst);
      EXPECT_GE(last, previousLast);
      if (!s.atEnd) {
        EXPECT_LE(fake.EnteredAndKept(), 2);
        EXPECT_EQ(last, s.lastIndex);
        EXPECT_EQ(kScrollFiller, s.layout[1]);
        EXPECT_GT(fake.animated_, 0);
      }
      previousFirst = first;
      previousLast = last;
    }
    ASSERT_EQ(1, s.atEnd);
    EXPECT_EQ(count - 1, s.layout.back());

    const std::vector<int> atEnd = s.layout;
    s.atEnd = 0;
    StepScrollCopyTowardEnd(s, fake);
    EXPECT_EQ(1, s.atEnd);
    EXPECT_EQ(atEnd, s.layout);

    s.atEnd = 0;
    passes = 0;
    previousFirst = ShownSourceItems(s.layout).front();
    previousLast = ShownSourceItems(s.layout).back();
    while (!s.atEnd && passes < count) {
      SCOPED_TRACE(passes);
      fake.StartPass();
      StepScrollCopyTowardStart(s, fake);
      ++passes;
      ExpectSound(fake, s, c.source);
      const int first = ShownSourceItems(s.layout).front();
      const int last = ShownSourceItems(s.layout).back();
      EXPECT_LT(last, previousLast);
      EXPECT_LE(first, previousFirst);
      if (!s.atEnd) {
        EXPECT_LE(fake.EnteredAndKept(), 2);
        EXPECT_EQ(first, s.lastIndex);
        EXPECT_EQ(kScrollFiller, s.layout[s.layout.size() - 2]);
      }
      previousFirst = first;
      previousLast = last;
    }
    ASSERT_EQ(1, s.atEnd);
    EXPECT_EQ(0, s.layout.front());
    EXPECT_EQ(kScrollDownArrow, s.layout.back());
  }
}

// Changing direction in the middle moves the filler to the other arrow and the range
// back the way it came.
TEST(ScrollCopyModel, DirectionChangesKeepOneUnbrokenRange) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    FakeCopy fake(c.source);
    ScrollCopyState s = Start(c, fake);
    const int moves[] = {0, 0, 0, 1, 0, 1, 1, 0, 0};
    for (int mode : moves) {
      SCOPED_TRACE(mode);
      const int before = ShownSourceItems(s.layout).front();
      s.atEnd = 0;
      if (mode == 0)
        StepScrollCopyTowardEnd(s, fake);
      else
        StepScrollCopyTowardStart(s, fake);
      ExpectSound(fake, s, c.source);
      const int after = ShownSourceItems(s.layout).front();
      if (mode == 0) {
        EXPECT_GE(after, before);
      } else {
        EXPECT_LE(after, before);
        if (!s.atEnd) {
          EXPECT_EQ(kScrollFiller, s.layout[s.layout.size() - 2]);
        }
      }
    }
  }
}

// The filler makes up for items of differing heights: the shown items and the filler
// together always fill the kept height exactly.
TEST(ScrollCopyModel, FillerAbsorbsTheDifferenceOfItemHeights) {
  std::vector<SourceItem> source = {{40, false}, {20, false}, {20, false}, {40, false}, {20, false},
                                    {40, false}, {20, false}, {20, false}, {20, false}, {40, false}};
  FakeCopy fake(source);
  ScrollCopyState s;
  s.popupHeight = 3 + 100 + 7 + kArrow;
  s.itemHeight = kArrow;
  RebuildScrollCopyAtStart(s, fake);
  std::vector<int> fillers;
  for (int i = 0; i < 4 && !s.atEnd; ++i) {
    StepScrollCopyTowardEnd(s, fake);
    ExpectSound(fake, s, source);
    fillers.push_back(s.fillerHeight);
  }
  // Not every pass fits exactly: the filler took different heights on the way.
  std::vector<int> sorted = fillers;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_NE(sorted.front(), sorted.back());
}

// A copy already at the start does not move toward it.
TEST(ScrollCopyModel, StepTowardTheShownEndOnlyReportsTheEnd) {
  const Case c = Cases()[0];
  FakeCopy fake(c.source);
  ScrollCopyState s = Start(c, fake);
  const std::vector<int> before = s.layout;
  StepScrollCopyTowardStart(s, fake);
  EXPECT_EQ(1, s.atEnd);
  EXPECT_EQ(before, s.layout);
}

TEST(ItemMnemonic, TheLetterAfterTheFirstSingleAmpersand) {
  struct Row {
    const char* text;
    char letter;
  } rows[] = {
      {"&Open", 'O'}, {"Save &as", 'A'}, {"Item&1", '1'}, {"R&&D", 0},   {"R&&D &tools", 'T'},
      {"Plain", 0},   {"End&", 0},       {"", 0},         {"&&&x", 'X'},
  };
  for (const Row& r : rows) EXPECT_EQ(r.letter, ItemMnemonic(r.text)) << r.text;
}

}  // namespace
