// The task pane, in-process: each test opens a runtime window, builds a pane in it and
// drives it with the messages the system would send.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/exbar/exbar.h"
#include "app/exbar/theme.h"
#include "common/gui.h"
#include "common/images.h"

namespace {

const COLORREF kBackground = RGB(119, 156, 229);
const COLORREF kHeader = RGB(23, 84, 196);
const COLORREF kBody = RGB(239, 243, 255);
const COLORREF kWhite = RGB(255, 255, 255);

struct Click {
  int control;
  WPARAM wParam;
  LPARAM lParam;
  int group;
  int item;
  std::string text;
};

// Runs the thread's messages until none is left; returns the pane clicks among them.
std::vector<Click> Pump() {
  std::vector<Click> clicks;
  for (int round = 0; round < 3; ++round) {
    while (int event = WaitWindowEvent(0)) {
      if (event != static_cast<int>(WM_EXBAR_CLICK)) continue;
      const auto* info = reinterpret_cast<const ExBarClickInfo*>(EventLParam());
      clicks.push_back({EventControl(), EventWParam(), EventLParam(), info->group, info->item, info->text});
    }
    Sleep(10);
  }
  return clicks;
}

int ScrollBarWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

class ExBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitExBar();
    // Keeps the real pointer away from the test windows, so only the test moves it.
    SetCursorPos(1270, 1010);
  }

  void SetUp() override {
    window_ = static_cast<int>(
        OpenRuntimeWindow(kAnyNumber, 40, 40, 360, 560, "ExBar test", kWindowTitleBar | kWindowSystemMenu));
    ASSERT_GT(window_, 0);
    ASSERT_TRUE(UseControlList(window_));
  }

  void TearDown() override {
    CloseRuntimeWindow(window_);
    Pump();
  }

  static HWND Surface(int pane) { return ControlHandle(pane); }
  static ExBar* Pane(int pane) { return FindExBar(Surface(pane)); }
  static ExBarGroup* Group(int pane, int group) { return FindExBarGroup(Surface(pane), group); }
  static ExBarItem* Item(int pane, int group, int item) {
    return LinkedListRecord<ExBarItem>(GetLinkedListElement(Group(pane, group)->items, item));
  }

  // A pane with groups of the given item counts; a negative count is a collapsed group.
  static int MakePane(int width, int height, std::initializer_list<int> groups, int x = 0, int y = 0) {
    int pane = CreateExBar(kAnyNumber, x, y, width, height);
    int g = 0;
    for (int count : groups) {
      AddExBarGroup(pane, "Group " + std::to_string(g + 1), count < 0 ? 1 : 0, 0, kExBarGroupKind);
      for (int i = 0; i < abs(count); ++i) AddExBarItem(pane, g, "Item " + std::to_string(i + 1), 0);
      ++g;
    }
    return pane;
  }

  // Repaints the pane and lets the follow-up paints settle.
  static void Paint(int pane) {
    InvalidateRect(Surface(pane), nullptr, FALSE);
    UpdateWindow(Surface(pane));
    Pump();
  }

  static int ContentHeight(int pane) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, Pane(pane)->width, 2000);
    HGDIOBJ old = SelectObject(mem, bitmap);
    int height = LayoutExBar(Surface(pane), mem);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    Pump();
    return height;
  }

  static COLORREF PixelAt(int pane, int x, int y) {
    HDC dc = GetDC(Surface(pane));
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(Surface(pane), dc);
    return c;
  }

  // The first column in [from, to) of row y whose pixel is not `colour`; -1 when none.
  static int FirstOther(int pane, int y, int from, int to, COLORREF colour) {
    for (int x = from; x < to; ++x)
      if (PixelAt(pane, x, y) != colour) return x;
    return -1;
  }

  static void Move(int pane, int x, int y) { SendMessageW(Surface(pane), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  static void Release(int pane, int x, int y) { SendMessageW(Surface(pane), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

  int window_ = 0;
};

HICON SolidIcon(int size, COLORREF colour) {
  std::vector<DWORD> pixels(static_cast<size_t>(size * size),
                            GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
  std::vector<BYTE> maskBits(static_cast<size_t>(size * size / 8), 0);
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(size, size, 1, 32, pixels.data());
  info.hbmMask = CreateBitmap(size, size, 1, 1, maskBits.data());
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return icon;
}

TEST_F(ExBarTest, CreateMakesSurfaceAndHiddenScrollBar) {
  struct Case {
    int number;
    int surfaceHeight;
  };
  // A new number gets a surface 200 pixels taller than the pane; an explicit one does not.
  for (const Case& c : {Case{kAnyNumber, 300 + 200}, Case{700, 300}}) {
    SCOPED_TRACE(c.number);
    int pane = CreateExBar(c.number, 10, 20, 180, 300);
    ASSERT_GT(pane, 0);
    if (c.number != kAnyNumber) {
      EXPECT_EQ(pane, c.number);
    }
    HWND surface = Surface(pane);
    EXPECT_EQ(GetDlgCtrlID(surface), pane);
    EXPECT_EQ(ControlX(pane), 10);
    EXPECT_EQ(ControlY(pane), 20);
    EXPECT_EQ(ControlWidth(pane), 180);
    EXPECT_EQ(ControlHeight(pane), c.surfaceHeight);

    ExBar* bar = Pane(pane);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->surfaceNumber, pane);
    EXPECT_EQ(bar->width, 180);
    EXPECT_EQ(bar->height, 300);
    EXPECT_EQ(bar->scrollVisible, 0);
    EXPECT_EQ(CountLinkedListElements(bar->groups), 0);

    const int scroll = bar->scrollNumber;
    EXPECT_EQ(GetControlKind(scroll), ControlKind::ScrollBar);
    EXPECT_FALSE(IsControlVisible(scroll));
    EXPECT_EQ(ControlX(scroll), 10 + 180 - ScrollBarWidth());
    EXPECT_EQ(ControlY(scroll), 20);
    EXPECT_EQ(ControlWidth(scroll), ScrollBarWidth());
    EXPECT_EQ(ControlHeight(scroll), 300);
    EXPECT_EQ(FindExBarByScrollBar(ControlHandle(scroll)), bar);

    // Both windows are subclassed: their procedure is no longer their class's.
    for (HWND w : {surface, ControlHandle(scroll)})
      EXPECT_NE(GetClassLongPtrW(w, GCLP_WNDPROC), GetWindowLongPtrW(w, GWLP_WNDPROC));
  }
}

TEST_F(ExBarTest, GroupsAndItemsAreAppended) {
  int pane = CreateExBar(kAnyNumber, 0, 0, 200, 300);
  EXPECT_EQ(AddExBarGroup(pane, "General", 0, 0, 1), 1);
  EXPECT_EQ(AddExBarGroup(pane, "Setup", 1, 0, 2), 2);
  EXPECT_EQ(AddExBarGroup(pane, "Odd", 0, -5, 7), 3);
  ExBarGroup* g = Group(pane, 1);
  ASSERT_NE(g, nullptr);
  EXPECT_STREQ(g->title, "Setup");
  EXPECT_EQ(g->collapsed, 1);
  EXPECT_EQ(g->hover, kExBarHoverNormal);
  EXPECT_EQ(g->kind, 2);
  EXPECT_EQ(Group(pane, 2)->image, -5);

  EXPECT_EQ(AddExBarItem(pane, 1, "Files", 0), 1);
  EXPECT_EQ(AddExBarItem(pane, 1, "Pellucast", 0), 1);
  EXPECT_EQ(CountLinkedListElements(g->items), 2);
  EXPECT_STREQ(Item(pane, 1, 1)->text, "Pellucast");
  EXPECT_EQ(Item(pane, 1, 1)->hover, kExBarHoverNormal);
  for (int missing : {-1, 3, 40}) {
    SCOPED_TRACE(missing);
    EXPECT_EQ(AddExBarItem(pane, missing, "x", 0), 0);
  }
}

TEST_F(ExBarTest, DeleteGroupRemovesOnlyThatGroup) {
  int pane = MakePane(200, 300, {2, 1, 3});
  EXPECT_EQ(DeleteExBarGroup(pane, 1), 1);
  ASSERT_EQ(CountLinkedListElements(Pane(pane)->groups), 2);
  EXPECT_STREQ(Group(pane, 0)->title, "Group 1");
  EXPECT_STREQ(Group(pane, 1)->title, "Group 3");
  EXPECT_EQ(CountLinkedListElements(Group(pane, 1)->items), 3);
  for (int missing : {-1, 2, 9}) {
    SCOPED_TRACE(missing);
    EXPECT_EQ(DeleteExBarGroup(pane, missing), 0);
  }
  EXPECT_EQ(DeleteExBarGroup(pane, 0), 1);
  EXPECT_EQ(DeleteExBarGroup(pane, 0), 1);
  EXPECT_EQ(DeleteExBarGroup(pane, 0), 0);
  Paint(pane);  // an empty pane still paints
  EXPECT_EQ(PixelAt(pane, 50, 50), kBackground);
}

TEST_F(ExBarTest, OperationsOnAControlThatIsNoPane) {
  int pane = CreateExBar(kAnyNumber, 0, 0, 200, 300);
  const int label = static_cast<int>(CreateLabel(kAnyNumber, 210, 0, 80, 20, "label"));
  const int notPanes[] = {label, Pane(pane)->scrollNumber, 4321, -1};
  for (int control : notPanes) {
    SCOPED_TRACE(control);
    EXPECT_EQ(AddExBarGroup(control, "x", 0, 0, 1), 0);
    EXPECT_EQ(AddExBarItem(control, 0, "x", 0), 0);
    EXPECT_EQ(DeleteExBarGroup(control, 0), 0);
    EXPECT_EQ(ResizeExBar(control, 0, 100), 0);
  }
  EXPECT_EQ(ControlHeight(label), 20);
}

TEST_F(ExBarTest, LayoutFollowsTheGroups) {
  struct Case {
    const char* name;
    std::initializer_list<int> groups;  // item counts; negative = collapsed
    int content;
    std::vector<int> headerTops;
  };
  // Header 25, expanded body 20 per item + 11 (none without items), collapsed 5, gap 10.
  const Case cases[] = {
      {"expanded, collapsed, no items", {3, -2, 0}, 189, {8, 114, 154}},
      {"one expanded without items", {0}, 43, {8}},
      {"collapsed without items, twice", {0, 0}, 78, {8, 43}},
      {"two single items", {1, 1}, 140, {8, 74}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int pane = MakePane(200, 400, c.groups);
    Paint(pane);
    EXPECT_EQ(ContentHeight(pane), c.content);
    for (size_t g = 0; g < c.headerTops.size(); ++g) {
      RECT h = Group(pane, static_cast<int>(g))->header;
      EXPECT_EQ(h.left, 8);
      EXPECT_EQ(h.top, c.headerTops[g]);
      EXPECT_EQ(h.right, 192);
      EXPECT_EQ(h.bottom, c.headerTops[g] + 25);
    }
    FreeControl(Pane(pane)->scrollNumber);
    FreeControl(pane);
  }
}

TEST_F(ExBarTest, CollapsedGroupWithoutItems) {
  // A collapsed group adds its header, 5 and 10 pixels, items or not.
  int pane = MakePane(200, 400, {-1, 0});
  Group(pane, 1)->collapsed = 1;
  Paint(pane);
  EXPECT_EQ(ContentHeight(pane), 8 + 40 + 40);
  EXPECT_EQ(Group(pane, 1)->header.top, 48);
}

TEST_F(ExBarTest, ItemRectanglesUseTheFullPaneWidth) {
  int pane = MakePane(200, 150, {5});
  Paint(pane);
  ASSERT_EQ(Pane(pane)->scrollVisible, 1);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    RECT r = Item(pane, 0, i)->rect;
    EXPECT_EQ(r.left, 16);
    EXPECT_EQ(r.top, 8 + 25 + 6 + 20 * i);
    EXPECT_EQ(r.right, 200 - 32);
    EXPECT_EQ(r.bottom, r.top + 16);
  }
}

TEST_F(ExBarTest, ScrollBarShownExactlyWhenContentIsTaller) {
  struct Case {
    int items;
    int content;
    bool shown;
  };
  // Pane height 150: 4 items take 134 pixels, 5 take 154.
  for (const Case& c : {Case{4, 134, false}, Case{5, 154, true}}) {
    SCOPED_TRACE(c.items);
    int pane = MakePane(200, 150, {c.items}, 0, 0);
    Paint(pane);
    ExBar* bar = Pane(pane);
    EXPECT_EQ(bar->scrollVisible, c.shown ? 1 : 0);
    EXPECT_EQ(IsControlVisible(bar->scrollNumber) != 0, c.shown);
    const int drawn = c.shown ? 200 - ScrollBarWidth() : 200;
    EXPECT_EQ(Group(pane, 0)->header.right, drawn - 8);
    // The header colour reaches up to 8 pixels from the drawn width.
    EXPECT_EQ(PixelAt(pane, drawn - 10, 20), kHeader);
    EXPECT_EQ(PixelAt(pane, drawn - 5, 20), kBackground);
    if (c.shown) {
      SCROLLINFO si = {};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(ControlHandle(bar->scrollNumber), SB_CTL, &si);
      EXPECT_EQ(si.nMin, 0);
      EXPECT_EQ(si.nMax, c.content);
      EXPECT_EQ(si.nPage, 150u);
    }
    FreeControl(bar->scrollNumber);
    FreeControl(pane);
  }
}

TEST_F(ExBarTest, GrowingPaneGetsTheBarOnItsNextPaint) {
  int pane = MakePane(200, 150, {4});
  Paint(pane);
  EXPECT_EQ(Pane(pane)->scrollVisible, 0);
  AddExBarItem(pane, 0, "one more", 0);
  Paint(pane);
  EXPECT_EQ(Pane(pane)->scrollVisible, 1);
  EXPECT_EQ(Group(pane, 0)->header.right, 200 - ScrollBarWidth() - 8);
  DeleteExBarGroup(pane, 0);
  Paint(pane);
  EXPECT_EQ(Pane(pane)->scrollVisible, 0);
  EXPECT_FALSE(IsControlVisible(Pane(pane)->scrollNumber));
  EXPECT_EQ(PixelAt(pane, 195, 50), kBackground);
}

TEST_F(ExBarTest, ScrollingMovesTheHitAreas) {
  int pane = MakePane(200, 150, {5, 5});  // content 300
  Paint(pane);
  ExBar* bar = Pane(pane);
  ASSERT_EQ(bar->scrollVisible, 1);
  HWND scroll = ControlHandle(bar->scrollNumber);

  // Setting the bar's information repaints the surface.
  ValidateRect(Surface(pane), nullptr);
  SCROLLINFO si = {};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = 120;
  SetScrollInfo(scroll, SB_CTL, &si, TRUE);
  EXPECT_TRUE(GetUpdateRect(Surface(pane), nullptr, FALSE));
  Pump();
  EXPECT_EQ(GetScrollPos(scroll, SB_CTL), 120);

  // Group 2's header is at content 154, window 34; its first item at content 185.
  EXPECT_EQ(Group(pane, 1)->header.top, 154);
  EXPECT_EQ(PixelAt(pane, 120, 40), kHeader);
  Move(pane, 120, 70);
  EXPECT_EQ(Item(pane, 1, 0)->hover, kExBarHoverHot);
  EXPECT_EQ(Group(pane, 1)->hover, kExBarHoverNormal);
  Move(pane, 120, 40);
  Move(pane, 120, 40);
  EXPECT_EQ(Group(pane, 1)->hover, kExBarHoverHot);

  // Collapsing while scrolled: content 194 plus the position still exceeds the pane, so
  // the bar stays; its position is kept within the new range, not reset.
  Release(pane, 120, 40);
  Pump();
  EXPECT_EQ(Group(pane, 1)->collapsed, 1);
  EXPECT_EQ(bar->scrollVisible, 1);
  EXPECT_EQ(GetScrollPos(scroll, SB_CTL), 194 - 150 + 1);

  // Back at the top, collapsing the first group makes everything fit: the bar goes.
  si.nPos = 0;
  SetScrollInfo(scroll, SB_CTL, &si, TRUE);
  Pump();
  Move(pane, 120, 15);
  Release(pane, 120, 15);
  Pump();
  EXPECT_EQ(Group(pane, 0)->collapsed, 1);
  EXPECT_EQ(bar->scrollVisible, 0);
  EXPECT_FALSE(IsControlVisible(bar->scrollNumber));
  EXPECT_EQ(Group(pane, 0)->header.right, 192);
}

TEST_F(ExBarTest, PaintedColours) {
  int pane = CreateExBar(kAnyNumber, 0, 0, 220, 300);
  AddExBarGroup(pane, "General", 0, 0, 1);
  AddExBarItem(pane, 0, "General", 0);
  AddExBarItem(pane, 0, "Graphics", 0);
  AddExBarGroup(pane, "Setup", 1, 0, 1);
  Paint(pane);
  const int w = 220;
  EXPECT_EQ(PixelAt(pane, 100, 0), RGB(160, 160, 160));  // top line
  EXPECT_EQ(PixelAt(pane, 3, 100), kBackground);
  EXPECT_EQ(PixelAt(pane, w - 4, 20), kBackground);
  EXPECT_EQ(PixelAt(pane, 150, 12), kHeader);
  EXPECT_EQ(PixelAt(pane, 150, 31), kHeader);
  // Header ends at 33; the body (20 * 2 + 6 rows) covers the band's rounded foot.
  EXPECT_EQ(PixelAt(pane, 150, 34), kBody);
  EXPECT_EQ(PixelAt(pane, 9, 35), kBody);
  EXPECT_EQ(PixelAt(pane, 150, 78), kBody);
  EXPECT_EQ(PixelAt(pane, 150, 80), kBackground);
  // Expanded chevron: its first stroke starts at (W' - 36 + 9, 8 + 1 + 8).
  EXPECT_EQ(PixelAt(pane, w - 36 + 9, 17), kWhite);
  EXPECT_EQ(PixelAt(pane, w - 36 + 9, 17 + 4), kWhite);
  // The collapsed group (header at 8 + 25 + 51 + 10 = 94) shows its rounded foot and an
  // upward chevron, whose first stroke starts at (X + 9, Y + 11).
  EXPECT_EQ(Group(pane, 1)->header.top, 94);
  EXPECT_EQ(PixelAt(pane, 150, 94 + 27), kHeader);
  EXPECT_EQ(PixelAt(pane, 8, 94 + 28), kBackground);
  EXPECT_EQ(PixelAt(pane, w - 36 + 9, 95 + 11), kWhite);
  EXPECT_EQ(PixelAt(pane, w - 36 + 9, 95 + 8), kHeader);

  // White title text from x 20 in the band, item text in its own colour from x 40.
  EXPECT_EQ(FirstOther(pane, 20, 12, 40, kHeader) >= 20, true);
  bool itemColour = false;
  for (int y = 39; y < 55 && !itemColour; ++y)
    for (int x = 40; x < 90 && !itemColour; ++x) itemColour = PixelAt(pane, x, y) == RGB(37, 92, 195);
  EXPECT_TRUE(itemColour);
}

TEST_F(ExBarTest, OnlyKindsOneAndTwoGetChevronsAndBody) {
  struct Case {
    int kind;
    bool decorated;
  };
  for (const Case& c : {Case{1, true}, Case{2, true}, Case{0, false}, Case{3, false}}) {
    SCOPED_TRACE(c.kind);
    int pane = CreateExBar(kAnyNumber, 0, 0, 200, 300);
    AddExBarGroup(pane, "Kind", 0, 0, c.kind);
    AddExBarItem(pane, 0, "item", 0);
    Paint(pane);
    EXPECT_EQ(PixelAt(pane, 150, 20), kHeader);
    EXPECT_EQ(PixelAt(pane, 200 - 36 + 9, 17), c.decorated ? kWhite : kHeader);
    EXPECT_EQ(PixelAt(pane, 150, 45), c.decorated ? kBody : kBackground);
    FreeControl(Pane(pane)->scrollNumber);
    FreeControl(pane);
  }
}

TEST_F(ExBarTest, HoverChangesOneElementPerMessage) {
  int pane = MakePane(200, 400, {2, 1});
  Paint(pane);
  // Group 1 header 8..33, items at 39 and 59; group 2 header 94..119, item at 125.
  struct Step {
    int x, y;
    std::vector<int> states;  // header 1, item 1, item 2, header 2, item 3
  };
  const Step steps[] = {
      {50, 45, {1, 2, 1, 1, 1}},                                 // onto the first item
      {50, 65, {1, 1, 1, 1, 1}},                                 // the first item cools down first...
      {50, 65, {1, 1, 2, 1, 1}},                                 // ...then the second warms up
      {50, 65, {1, 1, 2, 1, 1}},                                 // resting there changes nothing
      {50, 20, {2, 1, 2, 1, 1}},                                 // the header comes first in the scan
      {50, 20, {2, 1, 1, 1, 1}},   {50, 130, {1, 1, 1, 1, 1}},   // leaving the header
      {50, 130, {1, 1, 1, 1, 2}},  {199, 300, {1, 1, 1, 1, 1}},  // empty space
      {199, 300, {1, 1, 1, 1, 1}},
  };
  for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
    SCOPED_TRACE(i);
    Move(pane, steps[i].x, steps[i].y);
    std::vector<int> states = {Group(pane, 0)->hover, Item(pane, 0, 0)->hover, Item(pane, 0, 1)->hover,
                               Group(pane, 1)->hover, Item(pane, 1, 0)->hover};
    EXPECT_EQ(states, steps[i].states);
  }
}

TEST_F(ExBarTest, HotItemIsRepaintedUnderlined) {
  int pane = MakePane(200, 400, {1});
  Paint(pane);
  ValidateRect(Surface(pane), nullptr);
  Move(pane, 50, 45);
  EXPECT_TRUE(GetUpdateRect(Surface(pane), nullptr, FALSE));
  Pump();
  ValidateRect(Surface(pane), nullptr);
  Move(pane, 50, 45);  // no change, no repaint
  EXPECT_FALSE(GetUpdateRect(Surface(pane), nullptr, FALSE));
}

TEST_F(ExBarTest, CursorBelongsToThePaneOnly) {
  int pane = MakePane(200, 400, {1});
  Paint(pane);
  const LONG_PTR classCursor = GetClassLongPtrW(Surface(pane), GCLP_HCURSOR);
  const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  struct Step {
    int x, y;
    HCURSOR cursor;
  };
  // A move that cools the header down stops the scan there, before the item under the
  // pointer, so the hand comes with the next move.
  const Step steps[] = {{50, 20, hand},   {50, 45, arrow},  {50, 45, hand},
                        {50, 300, arrow}, {50, 300, arrow}, {50, 45, hand}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.y);
    Move(pane, s.x, s.y);
    EXPECT_EQ(Pane(pane)->cursor, s.cursor);
    SetCursor(nullptr);
    EXPECT_TRUE(SendMessageW(Surface(pane), WM_SETCURSOR, reinterpret_cast<WPARAM>(Surface(pane)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), s.cursor);
    // Other static controls keep their own cursor.
    EXPECT_EQ(GetClassLongPtrW(Surface(pane), GCLP_HCURSOR), classCursor);
  }
}

TEST_F(ExBarTest, ClickOnAHotItemPostsOneMessage) {
  int pane = MakePane(200, 400, {2, 1});
  AddExBarItem(pane, 0, "Graphics", 0);  // third item of group 1, at 79
  Paint(pane);

  // Not hot yet: nothing to report.
  Release(pane, 50, 85);
  EXPECT_TRUE(Pump().empty());

  // Pressed elsewhere, released over the hot third item: that item is reported.
  Move(pane, 50, 85);
  SendMessageW(Surface(pane), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 45));
  Release(pane, 50, 85);
  EXPECT_EQ(Item(pane, 0, 2)->hover, kExBarHoverNormal);
  std::vector<Click> clicks = Pump();
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].control, pane);
  EXPECT_EQ(clicks[0].wParam, 1u);
  EXPECT_EQ(clicks[0].lParam, reinterpret_cast<LPARAM>(&ExBarClickRecord()));
  EXPECT_EQ(clicks[0].group, 1);
  EXPECT_EQ(clicks[0].item, 3);
  EXPECT_EQ(clicks[0].text, "Graphics");

  // A second click without moving reports nothing.
  Release(pane, 50, 85);
  EXPECT_TRUE(Pump().empty());

  // Group 2 starts at 8 + 25 + 71 + 10 = 114; its item is at 145.
  Move(pane, 50, 150);
  Release(pane, 50, 150);
  clicks = Pump();
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, 2u);
  EXPECT_EQ(clicks[0].group, 2);
  EXPECT_EQ(clicks[0].item, 1);
  EXPECT_EQ(clicks[0].text, "Item 1");
  EXPECT_EQ(ExBarClickRecord().group, 2);
}

TEST_F(ExBarTest, HeaderClickTogglesAndPostsNothing) {
  int pane = MakePane(200, 400, {2, 1});
  Paint(pane);
  Move(pane, 50, 20);
  Release(pane, 50, 20);
  EXPECT_TRUE(Pump().empty());
  EXPECT_EQ(Group(pane, 0)->collapsed, 1);
  // The pane is laid out again: group 2 moves up to 8 + 40.
  EXPECT_EQ(Group(pane, 1)->header.top, 48);
  EXPECT_EQ(PixelAt(pane, 150, 60), kHeader);

  // The collapsed group's items no longer answer, even at their old places.
  Item(pane, 0, 0)->hover = kExBarHoverHot;
  Release(pane, 50, 45);
  EXPECT_TRUE(Pump().empty());

  Release(pane, 50, 20);
  EXPECT_TRUE(Pump().empty());
  EXPECT_EQ(Group(pane, 0)->collapsed, 0);
  EXPECT_EQ(Group(pane, 1)->header.top, 94);
}

TEST_F(ExBarTest, ResizeMovesOnlyForANewHeight) {
  int pane = MakePane(200, 300, {3}, 5, 30);
  Paint(pane);
  const int scroll = Pane(pane)->scrollNumber;
  const int surfaceHeight = ControlHeight(pane);

  EXPECT_EQ(ResizeExBar(pane, 80, 300), 1);
  EXPECT_EQ(ControlY(pane), 30);
  EXPECT_EQ(ControlHeight(pane), surfaceHeight);
  EXPECT_EQ(ControlY(scroll), 30);

  EXPECT_EQ(ResizeExBar(pane, 80, 100), 1);
  EXPECT_EQ(Pane(pane)->height, 100);
  EXPECT_EQ(ControlX(pane), 5);
  EXPECT_EQ(ControlY(pane), 80);
  EXPECT_EQ(ControlWidth(pane), 200);
  EXPECT_EQ(ControlHeight(pane), 100);
  EXPECT_EQ(ControlX(scroll), 5 + 200 - ScrollBarWidth());
  EXPECT_EQ(ControlY(scroll), 80);
  EXPECT_EQ(ControlHeight(scroll), 100);
  EXPECT_TRUE(GetUpdateRect(Surface(pane), nullptr, FALSE));
  // Content of 114 no longer fits 100 pixels: the layout's second paint settles the bar.
  Pump();
  EXPECT_EQ(Pane(pane)->scrollVisible, 1);
  EXPECT_EQ(Group(pane, 0)->header.right, 200 - ScrollBarWidth() - 8);
}

TEST_F(ExBarTest, GroupImagesAndTheTitleInset) {
  HICON red = SolidIcon(32, RGB(255, 0, 0));
  HICON green = SolidIcon(16, RGB(0, 255, 0));
  ASSERT_NE(red, nullptr);
  struct Case {
    const char* name;
    intptr_t image;
    int textFrom;  // the title's first column lies in [textFrom, textFrom + 8)
    bool drawn;
  };
  const Case cases[] = {
      {"none", 0, 20, false},
      {"negative", -3, 20, false},
      {"neither image nor icon", 0x7FFF1234, 42, false},
      {"icon", reinterpret_cast<intptr_t>(red), 42, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int pane = CreateExBar(kAnyNumber, 0, 0, 200, 300);
    AddExBarGroup(pane, "WWW", 0, c.image, 1);
    AddExBarItem(pane, 0, "item", reinterpret_cast<intptr_t>(green));
    Paint(pane);
    // The title's first white column, on a row through the middle of the capitals.
    int first = -1;
    for (int y = 16; y < 24 && first < 0; ++y) {
      for (int x = 14; x < 120; ++x) {
        if (PixelAt(pane, x, y) == kWhite) {
          first = x;
          break;
        }
      }
    }
    EXPECT_GE(first, c.textFrom);
    EXPECT_LT(first, c.textFrom + 8);
    // An icon is 32x32 at (8, header top - 6): it rises above the band.
    EXPECT_EQ(PixelAt(pane, 24, 4) == RGB(255, 0, 0), c.drawn);
    EXPECT_EQ(PixelAt(pane, 39, 20) == RGB(255, 0, 0), c.drawn);
    // Item icons are drawn at 16x16 at (16, item top).
    EXPECT_EQ(PixelAt(pane, 16, 39), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(pane, 31, 54), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(pane, 32, 45), kBody);
    FreeControl(Pane(pane)->scrollNumber);
    FreeControl(pane);
  }
  DestroyIcon(red);
  DestroyIcon(green);
}

TEST_F(ExBarTest, RuntimeImagesDrawWithBlackTransparent) {
  const int blue = static_cast<int>(CreateRuntimeImage(kAnyNumber, 32, 32, RGB(0, 0, 255)));
  const int black = static_cast<int>(CreateRuntimeImage(kAnyNumber, 32, 32, RGB(0, 0, 0)));
  const int big = static_cast<int>(CreateRuntimeImage(kAnyNumber, 48, 48, RGB(200, 0, 200)));
  ASSERT_GT(blue, 0);
  ASSERT_GT(black, 0);
  ASSERT_GT(big, 0);
  int pane = CreateExBar(kAnyNumber, 0, 0, 200, 300);
  AddExBarGroup(pane, "Blue", 0, blue, 1);
  AddExBarItem(pane, 0, "scaled", big);
  AddExBarItem(pane, 0, "black", black);
  AddExBarGroup(pane, "Black", 0, black, 1);
  Paint(pane);
  EXPECT_EQ(PixelAt(pane, 24, 4), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(pane, 39, 25), RGB(0, 0, 255));
  // A 48-pixel item image is drawn scaled to 16, and the caller's image keeps its size.
  EXPECT_EQ(PixelAt(pane, 16, 39), RGB(200, 0, 200));
  EXPECT_EQ(PixelAt(pane, 31, 54), RGB(200, 0, 200));
  EXPECT_EQ(PixelAt(pane, 33, 45), kBody);
  EXPECT_EQ(RuntimeImageWidth(big), 48);
  // Black is the transparent colour: the background shows through.
  EXPECT_EQ(PixelAt(pane, 24, 64), kBody);
  const int top = Group(pane, 1)->header.top;
  EXPECT_EQ(PixelAt(pane, 24, top - 4), kBackground);
  EXPECT_EQ(PixelAt(pane, 24, top + 20), kHeader);
  FreeRuntimeImage(blue);
  FreeRuntimeImage(black);
  FreeRuntimeImage(big);
}

// An 8x8 picture: black with a red 4x4 square at (2, 2), as a screen-compatible bitmap
// or as a 32-bit DIB whose alpha bytes are all opaque (as runtime images are).
HBITMAP TestPicture(bool opaqueDib) {
  const DWORD black = opaqueDib ? 0xFF000000u : 0u, red = black | 0x00FF0000u;
  std::vector<DWORD> pixels(64, black);
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x) pixels[static_cast<size_t>(y * 8 + x)] = red;
  HDC screen = GetDC(nullptr);
  HBITMAP b = nullptr;
  if (opaqueDib) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = -8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    b = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
  } else {
    b = CreateCompatibleBitmap(screen, 8, 8);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, b);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        SetPixel(mem, x, y, (pixels[static_cast<size_t>(y * 8 + x)] & 0xFFFFFF) ? RGB(255, 0, 0) : 0);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  ReleaseDC(nullptr, screen);
  return b;
}

TEST(ExBarDrawing, MaskedBitmapLeavesTheKeyColourOut) {
  for (bool opaqueDib : {false, true}) {
    SCOPED_TRACE(opaqueDib ? "32-bit DIB with alpha" : "screen bitmap");
    HBITMAP picture = TestPicture(opaqueDib);
    ASSERT_NE(picture, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dest = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ oldDest = SelectObject(dest, canvas);
    RECT whole = {0, 0, 20, 20};
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(dest, &whole, green);

    DrawExBarMaskedBitmap(dest, picture, 5, 5, 8, 8, RGB(0, 0, 0));
    struct Probe {
      int x, y;
      COLORREF colour;
    };
    const Probe probes[] = {{5, 5, RGB(0, 128, 0)},   {12, 12, RGB(0, 128, 0)}, {7, 7, RGB(255, 0, 0)},
                            {10, 10, RGB(255, 0, 0)}, {11, 11, RGB(0, 128, 0)}, {4, 7, RGB(0, 128, 0)},
                            {13, 8, RGB(0, 128, 0)}};
    for (const Probe& p : probes) EXPECT_EQ(GetPixel(dest, p.x, p.y), p.colour) << p.x << "," << p.y;

    SelectObject(dest, oldDest);
    DeleteObject(canvas);
    DeleteObject(picture);
    DeleteObject(green);
    DeleteDC(dest);
    ReleaseDC(nullptr, screen);
  }
}

TEST(ExBarWheel, StepsFromTheCurrentEvent) {
  struct Case {
    int delta;
    int steps;
  };
  const Case cases[] = {{120, -1}, {-120, 1}, {240, -2}, {-360, 3}, {100, 0}, {-119, 0}, {0, 0}, {-32768, 273}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delta);
    EventRecord e;
    e.event = WM_MOUSEWHEEL;
    e.wParam = MAKEWPARAM(MK_CONTROL, static_cast<WORD>(static_cast<short>(c.delta)));
    PostRuntimeEvent(e);
    ASSERT_EQ(WaitWindowEvent(0), static_cast<int>(WM_MOUSEWHEEL));
    EXPECT_EQ(GetExBarWheelSteps(), c.steps);
  }
}

TEST(ExBarTheme, LibraryAndEntryPoints) {
  InitExBar();
  const ThemeLibrary& theme = CurrentThemeLibrary();
  ASSERT_NE(theme.module, nullptr);
  EXPECT_EQ(theme.openThemeData, GetProcAddress(theme.module, "OpenThemeData"));
  EXPECT_NE(theme.openThemeData, nullptr);
  EXPECT_NE(theme.drawThemeBackground, nullptr);
  EXPECT_NE(theme.getCurrentThemeName, nullptr);
  EXPECT_NE(theme.closeThemeData, nullptr);
  FreeThemeLibrary();
  EXPECT_EQ(CurrentThemeLibrary().module, nullptr);
  EXPECT_EQ(CurrentThemeLibrary().closeThemeData, nullptr);
  FreeThemeLibrary();  // closing twice is harmless
  EXPECT_EQ(LoadThemeLibrary(), 1);
  EXPECT_NE(CurrentThemeLibrary().module, nullptr);
}

// The main window's five groups. Set ZK_EXBAR_HOLD_MS to keep the window up that long,
// for a screenshot.
TEST_F(ExBarTest, MainWindowGroups) {
  ResizeRuntimeWindow(window_, 40, 40, 560, 560);
  int pane = CreateExBar(kAnyNumber, 0, 0, 190, 560);
  ASSERT_GT(pane, 0);
  CreateLabel(kAnyNumber, 210, 20, 300, 20, "Page area");
  HICON general = SolidIcon(32, RGB(255, 200, 40));
  HICON setup = SolidIcon(32, RGB(60, 180, 75));
  struct GroupRow {
    const char* title;
    HICON icon;
    std::vector<const char*> items;
  };
  const GroupRow groups[] = {
      {"General", general, {"General", "Graphics", "Language"}},
      {"Setup", setup, {"Files", "Pellucast", "Uninstall", "Variables", "Commands"}},
      {"Dialogs", nullptr, {"Splash Screen", "License", "Finish"}},
      {"System", nullptr, {"Registry", "Shortcuts"}},
      {"Build", nullptr, {"Build"}},
  };
  int g = 0;
  for (const GroupRow& row : groups) {
    EXPECT_EQ(AddExBarGroup(pane, row.title, 0, reinterpret_cast<intptr_t>(row.icon), 1), g + 1);
    for (const char* item : row.items) EXPECT_EQ(AddExBarItem(pane, g, item, 0), 1);
    ++g;
  }
  Paint(pane);
  // 5 headers and 14 items: 8 + 5 * 46 + 14 * 20 = 518, within 560.
  EXPECT_EQ(ContentHeight(pane), 518);
  EXPECT_EQ(Pane(pane)->scrollVisible, 0);
  Move(pane, 60, 8 + 25 + 6 + 20 + 8);  // "Graphics" hot, for the picture
  Pump();

  char hold[32] = {};
  if (GetEnvironmentVariableA("ZK_EXBAR_HOLD_MS", hold, sizeof(hold))) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(atoi(hold));
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
      WaitWindowEvent(50);
    }
  }
  CloseRuntimeWindow(window_);
  DestroyIcon(general);
  DestroyIcon(setup);
}

}  // namespace
