// Custom drawing of tool bars, rebar grippers and menu-bar titles, fed NM_CUSTOMDRAW through
// the parent window procedure onto 32-bit memory DCs whose pixels are read back; and the
// drop-shadow strips, read through their records' memory DCs.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "band_test_windows.h"
#include "common/image_pixels.h"
#include "toolbar_test_support.h"
#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/drop_shadows.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/toolbar.h"

using namespace tovrel;
using namespace frametest;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A 32-bit memory DC filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = kMagenta) : width_(width), height_(height) {
    bitmap_ = CreatePixelBitmap(width, height, &bits_);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    const uint32_t argb = 0xFF000000u | GetRValue(fill) << 16 | GetGValue(fill) << 8 | GetBValue(fill);
    for (int i = 0; i < width * height; ++i) bits_[i] = argb;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
  }
  bool Untouched(COLORREF fill = kMagenta) const {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) != fill) return false;
    return true;
  }
  int CountOf(COLORREF colour, const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
    return n;
  }

 private:
  int width_, height_;
  uint32_t* bits_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

COLORREF UIColour(int style, int index) { return static_cast<COLORREF>(LookupUIColour(style, index, 2)); }

COLORREF BrushColour(intptr_t brush) {
  LOGBRUSH lb = {};
  GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof(lb), &lb);
  return lb.lbColor;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class CustomDraw : public BandWindows {
 protected:
  void SetUp() override {
    BandWindows::SetUp();
    host_ = MakeHost(0, 0, 600, 200);
    SubclassParentWindow(host_);
    savedThemes_ = ThemesActive;
    savedShadow_ = SystemDropShadow;
    SystemDropShadow = 0;
    EnsureMenuFont();
  }
  void TearDown() override {
    ToolkitLock(MenuMutex);
    DestroyAllMenuTitleShadows();
    for (Menu* m : menus_) MenuList.Delete(m);
    ToolkitUnlock(MenuMutex);
    FreeToolbar(-1);
    ThemesActive = savedThemes_;
    SystemDropShadow = savedShadow_;
    ToolbarDropDownOpen = 0;
    DropDownTop = 0;
    for (HICON icon : icons_) DestroyIcon(icon);
    BandWindows::TearDown();
  }

  LRESULT Draw(HWND from, DWORD stage, HDC dc, RECT rc, DWORD_PTR id = 0, UINT state = 0, RECT text = {}) {
    NMTBCUSTOMDRAW n = {};
    n.nmcd.hdr.hwndFrom = from;
    n.nmcd.hdr.idFrom = GetDlgCtrlID(from);
    n.nmcd.hdr.code = NM_CUSTOMDRAW;
    n.nmcd.dwDrawStage = stage;
    n.nmcd.hdc = dc;
    n.nmcd.rc = rc;
    n.nmcd.dwItemSpec = id;
    n.nmcd.uItemState = state;
    n.rcText = text;
    return SendMessageA(host_, WM_NOTIFY, n.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
  }

  // A rebar of the style with a toolkit tool bar of `toolbarStyle` as its child.
  HWND StyledRebar(int style) {
    HWND rebar = MakeRebar(host_);
    RebarList.Find([rebar](const Rebar& r) { return r.window == rebar; })->uiStyle = style;
    return rebar;
  }
  HWND ToolkitToolbar(HWND parent, int flags) {
    const intptr_t number = CreateToolbar(-1, parent, 16, 16, flags);
    return GetToolbarWindow(number);
  }

  Menu& Title(HWND bar, int command, int style) {
    ToolkitLock(MenuMutex);
    Menu& m = MenuList.Add();
    m.number = 7000;
    m.barWindow = bar;
    m.titleCommand = command;
    m.popupFlag = 0;
    m.linkedDropDown = MenuLinkOwn();
    m.uiStyle = style;
    menus_.push_back(&m);
    ToolkitUnlock(MenuMutex);
    return m;
  }

  HICON Icon(uint32_t rgb) {
    icons_.push_back(SolidIcon(rgb));
    return icons_.back();
  }

  static size_t TitleShadowsOf(HWND bar) {
    size_t n = 0;
    for (const MenuTitleShadow& s : MenuTitleShadowList) n += s.barWindow == bar;
    return n;
  }

  HWND host_ = nullptr;
  int savedThemes_ = 0;
  BOOL savedShadow_ = FALSE;
  std::vector<Menu*> menus_;
  std::vector<HICON> icons_;
};

// The strip ends where the buttons end; its right corners are rounded only when no button
// covers the right end of the drawn area.
TEST_F(CustomDraw, ToolStripCornersRoundOnlyWhereNoButtonEnds) {
  HWND rebar = StyledRebar(UISTYLE_OFFICE2007);
  HWND tb = ToolkitToolbar(rebar, UISTYLE_OFFICE2007);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  for (int i = 0; i < 3; ++i) ASSERT_NE(0, AddToolbarTextButton(400 + i, "Item", 0));
  SIZE size = {};
  SendMessageA(tb, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  ASSERT_GT(size.cx, 20);

  struct Case {
    int right;  // of the drawn area
    bool rounded;
  };
  for (const Case& c : {Case{size.cx + 30, true}, Case{size.cx - 2, false}}) {
    SCOPED_TRACE(c.right);
    Canvas canvas(size.cx + 40, 40);
    const int bottom = 30;
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, Draw(tb, CDDS_PREPAINT, canvas.dc(), RECT{0, 0, c.right, bottom}));
    const int w = std::min(static_cast<int>(size.cx) + 2, c.right);
    const COLORREF painted = canvas.At(w - 3, 0);
    ASSERT_NE(kMagenta, painted);
    EXPECT_NE(kMagenta, canvas.At(w - 3, 1));
    if (c.rounded) {
      EXPECT_EQ(kMagenta, canvas.At(w - 1, 0));
      const COLORREF mix = RGB((GetRValue(painted) * 135 + 255 * 121) / 256, (GetGValue(painted) * 135) / 256,
                               (GetBValue(painted) * 135 + 255 * 121) / 256);
      EXPECT_EQ(mix, canvas.At(w - 2, 0));
      EXPECT_EQ(kMagenta, canvas.At(w - 1, bottom - 1));
    } else {
      EXPECT_EQ(painted, canvas.At(w - 1, 0));
      EXPECT_EQ(painted, canvas.At(w - 2, 0));
    }
  }
}

// The dots of a band's gripper: n + 1 dots of 2 x 2 pixels, 4 apart, centred on the gripper;
// a low menu-bar band has three, one pixel lower.
TEST_F(CustomDraw, GripperDotsFollowItsHeight) {
  HWND rebar = StyledRebar(UISTYLE_OFFICE2003);
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 24, host_, nullptr, nullptr, nullptr);
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0,
                             50, 24, host_, nullptr, nullptr, nullptr);
  Title(bar, 100, UISTYLE_OFFICE2003_MENU);
  AddBand(rebar, plain, 0, 40, 1);
  AddBand(rebar, bar, 0, 40, 2, true);
  const COLORREF solid = UIColour(UISTYLE_OFFICE2003, 42);

  struct Case {
    int band;
    int height;
    int dots;
    int firstDot;  // below the gripper's top
  };
  for (const Case& c :
       {Case{0, 20, 3, 4}, Case{0, 32, 4, 8}, Case{0, 24, 4, 4}, Case{1, 24, 3, 5}, Case{1, 32, 4, 8}}) {
    SCOPED_TRACE(testing::Message() << "band " << c.band << " height " << c.height);
    const RECT band = BandRect(rebar, c.band);
    Canvas canvas(band.right + 10, band.bottom + 40);
    const RECT gripper = {band.left, band.top, band.left + 9, band.top + c.height};
    EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(rebar, CDDS_ITEMPREPAINT, canvas.dc(), gripper));
    const int x = gripper.left + 4;
    std::vector<int> tops;
    for (int y = gripper.top; y < gripper.bottom + 10; ++y) {
      if (canvas.At(x, y) == solid && (y == 0 || canvas.At(x, y - 1) != solid)) tops.push_back(y - gripper.top);
    }
    ASSERT_EQ(static_cast<size_t>(c.dots), tops.size());
    for (size_t i = 0; i < tops.size(); ++i) EXPECT_EQ(c.firstDot + static_cast<int>(i) * 4, tops[i]);
    EXPECT_EQ(UIColour(UISTYLE_OFFICE2003, 43), canvas.At(x + 2, gripper.top + c.firstDot + 1));
  }
}

// Width rules belong to rebars: a 17-pixel rebar item is left out and a narrow one is a
// gripper, while tool-bar buttons of those widths are drawn as buttons.
TEST_F(CustomDraw, WidthRulesApplyToRebarItemsOnly) {
  HWND rebar = StyledRebar(UISTYLE_OFFICE2003);
  HWND tb = ToolkitToolbar(rebar, 0);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(500, AddToolbarTextButton(500, "", 0));
  const COLORREF hotBorder = UIColour(UISTYLE_OFFICE2003, 8);

  struct Case {
    bool fromRebar;
    int width;
  };
  for (const Case& c : {Case{true, 17}, Case{false, 17}, Case{false, 10}}) {
    SCOPED_TRACE(testing::Message() << (c.fromRebar ? "rebar " : "tool bar ") << c.width);
    Canvas canvas(60, 40);
    const RECT rc = {5, 5, 5 + c.width, 29};
    const LRESULT result = Draw(c.fromRebar ? rebar : tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 500, CDIS_HOT);
    EXPECT_EQ(CDRF_SKIPDEFAULT, result);
    if (c.fromRebar) {
      EXPECT_TRUE(canvas.Untouched());
    } else {
      EXPECT_EQ(hotBorder, canvas.At(rc.left, 15));
      EXPECT_EQ(hotBorder, canvas.At(rc.right - 1, 15));
    }
  }
}

// A gradient button is framed by its state, and a button in a second row is filled exactly
// like one in the first.
TEST_F(CustomDraw, GradientButtonsFrameByStateAndFillTheirOwnRow) {
  HWND rebar = StyledRebar(UISTYLE_OFFICE2003);
  HWND tb = ToolkitToolbar(rebar, UISTYLE_OFFICE2003);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(510, AddToolbarTextButton(510, "", 0));

  struct Case {
    UINT state;
    int border;
  };
  for (const Case& c : {Case{CDIS_CHECKED, 48}, Case{CDIS_HOT, 8}, Case{CDIS_HOT | CDIS_CHECKED, 48}}) {
    SCOPED_TRACE(c.state);
    Canvas canvas(60, 40);
    const RECT rc = {4, 0, 40, 26};
    EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 510, c.state));
    // The tool bar's own OFFICE style draws the button from top + 1 to bottom - 2.
    EXPECT_EQ(UIColour(UISTYLE_OFFICE2003, c.border), canvas.At(rc.left, 12));
    EXPECT_EQ(UIColour(UISTYLE_OFFICE2003, c.border), canvas.At(20, rc.top + 1));
    EXPECT_EQ(kMagenta, canvas.At(20, rc.top));
  }

  Canvas canvas(60, 100);
  const RECT first = {4, 0, 40, 26};
  const RECT second = {4, 40, 40, 66};
  Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), first, 510, CDIS_HOT);
  Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), second, 510, CDIS_HOT);
  ASSERT_NE(canvas.At(8, 3), canvas.At(8, 20)) << "the hot gradient has two colours";
  for (int y = 0; y < 26; ++y) {
    SCOPED_TRACE(y);
    EXPECT_TRUE(Near(canvas.At(8, first.top + y), canvas.At(8, second.top + y), 1));
  }
  for (int y = second.bottom; y < 100; ++y) EXPECT_EQ(kMagenta, canvas.At(8, y)) << y;
}

// A list-style tool bar shows each button's image at its left with the text beside it;
// the control keeps that style in its own style word.
TEST_F(CustomDraw, ListStyleButtonsShowTheirImageAtTheLeft) {
  HWND rebar = StyledRebar(UISTYLE_OFFICE2003);
  HWND tb = ToolkitToolbar(rebar, UISTYLE_OFFICE2003 | TBSTYLE_LIST);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(515, AddToolbarButton(515, "Text", Icon(0xFF0000), nullptr, nullptr, BTNS_AUTOSIZE));
  Canvas canvas(100, 30);
  const RECT rc = {0, 0, 90, 26};
  EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 515, 0));
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(rc.left + 3 + 8, rc.top + 3 + 8));
  EXPECT_NE(RGB(255, 0, 0), canvas.At(45, 12)) << "not centred above its text";
}

// An image-only tool bar shows the hot image when hot, the third image when pressed or
// checked, and its normal image otherwise, also when disabled.
TEST_F(CustomDraw, ImageOnlyButtonsPickTheirImageByState) {
  HWND tb = ToolkitToolbar(host_, 0x4000000);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(520, AddToolbarButton(520, "", Icon(0xFF0000), Icon(0x00FF00), Icon(0x0000FF), 0));

  struct Case {
    UINT state;
    COLORREF shown;
  };
  for (const Case& c : {Case{CDIS_DISABLED, RGB(255, 0, 0)}, Case{0, RGB(255, 0, 0)}, Case{CDIS_HOT, RGB(0, 255, 0)},
                        Case{CDIS_CHECKED, RGB(0, 0, 255)}, Case{CDIS_HOT | CDIS_SELECTED, RGB(0, 0, 255)}}) {
    SCOPED_TRACE(c.state);
    Canvas canvas(40, 40);
    EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), RECT{10, 10, 26, 26}, 520, c.state));
    EXPECT_EQ(c.shown, canvas.At(18, 18));
    EXPECT_EQ(kMagenta, canvas.At(9, 9));
  }
}

// A separator of an unstyled tool bar is the theme's separator part, or two one-pixel
// lines without themes.
TEST_F(CustomDraw, UnstyledSeparatorIsThemedPartOrTwoLines) {
  HWND tb = ToolkitToolbar(host_, 0);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  const int id = AddToolbarSeparator();
  ASSERT_NE(0, id);
  const RECT rc = {10, 0, 16, 24};
  const int mid = 13;

  ThemesActive = 0;
  Canvas classic(30, 30);
  EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, classic.dc(), rc, id, CDIS_DISABLED));
  EXPECT_EQ(BrushColour(LookupWhidbeyColour(UISTYLE_WHIDBEY, 25)), classic.At(mid - 1, 12));
  EXPECT_EQ(RGB(255, 255, 255), classic.At(mid, 12));
  EXPECT_EQ(kMagenta, classic.At(mid - 1, 2));   // dark line from top + 3
  EXPECT_EQ(kMagenta, classic.At(mid, 3));       // light line from top + 4
  EXPECT_EQ(kMagenta, classic.At(mid - 2, 12));  // nothing else

  ThemesActive = savedThemes_;
  if (!ThemesActive || !ThemeHandles[THEME_TOOLBAR]) GTEST_SKIP() << "no tool-bar theme in this prefix";
  Canvas themed(30, 30);
  Canvas reference(30, 30);
  EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, themed.dc(), rc, id, CDIS_DISABLED));
  DrawThemeBackground(ThemeHandles[THEME_TOOLBAR], reference.dc(), TP_SEPARATOR, 1, &rc, nullptr);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(reference.At(x, y), themed.At(x, y)) << x << "," << y;
  EXPECT_NE(classic.At(mid, 12), themed.At(mid, 12));
}

// The open title's join line lies on the row where the drop-down meets the title, as far
// as the two overlap; the title's frame is everywhere else.
TEST_F(CustomDraw, JoinLineMeetsTheDropDown) {
  HWND tb = ToolkitToolbar(host_, 0);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(300, AddToolbarTextButton(300, "File", 0));
  Menu& title = Title(tb, 300, UISTYLE_OFFICE2007);
  title.openFlag = -1;
  const COLORREF join = UIColour(UISTYLE_OFFICE2007, 11);
  const COLORREF frame = UIColour(UISTYLE_OFFICE2007, 12);
  ASSERT_NE(join, frame);
  TitleScreenLeft = 200;
  TitleWidth = 50;

  struct Case {
    int top;  // DropDownTop
    int left, width;
    int probe;  // x from the title's left
    bool onJoin;
  };
  const Case cases[] = {
      {-1, 200, 150, 5, true},  {40, 200, 150, 5, true},   // the whole title
      {40, 220, 150, 5, false}, {40, 220, 150, 25, true},  // drop-down starts inside the title
      {-1, 150, 80, 35, false}, {-1, 150, 80, 5, true},    // drop-down ends inside the title
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.top << " " << c.left << " " << c.probe);
    DropDownTop = c.top;
    DropDownLeft = c.left;
    DropDownWidth = c.width;
    Canvas canvas(80, 40);
    const RECT rc = {10, 5, 60, 27};
    EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 300, CDIS_HOT));
    const int joinRow = c.top == -1 ? rc.top : rc.bottom - 1;
    const int otherRow = c.top == -1 ? rc.bottom - 1 : rc.top;
    EXPECT_EQ(c.onJoin ? join : frame, canvas.At(rc.left + c.probe, joinRow));
    EXPECT_EQ(frame, canvas.At(rc.left + c.probe, otherRow));
  }
}

// Title text in the style's colours for an active and an inactive owner.
TEST_F(CustomDraw, TitleTextColoursFollowTheOwnersActivation) {
  HWND tb = ToolkitToolbar(host_, 0);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(301, AddToolbarTextButton(301, "MMMM", 0));
  Menu& title = Title(tb, 301, 0);
  const COLORREF white = RGB(255, 255, 255);

  struct Case {
    int style;
    COLORREF active, inactive;
  };
  const Case cases[] = {
      {0, GetSysColor(COLOR_MENUTEXT), GetSysColor(COLOR_GRAYTEXT)},
      {UISTYLE_WHIDBEY, static_cast<COLORREF>(LookupWhidbeyColour(UISTYLE_WHIDBEY, 0)),
       static_cast<COLORREF>(LookupWhidbeyColour(UISTYLE_WHIDBEY, 3))},
      {UISTYLE_OFFICE2007, UIColour(UISTYLE_OFFICE2007, 0), UIColour(UISTYLE_OFFICE2007, 3)},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.active, c.inactive);
    for (int inactive : {0, -1}) {
      SCOPED_TRACE(testing::Message() << "style " << c.style << " inactive " << inactive);
      title.uiStyle = c.style;
      title.inactiveFlag = static_cast<int8_t>(inactive);
      Canvas canvas(120, 40, white);
      const RECT rc = {5, 5, 105, 30};
      EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 301, 0, RECT{0, 0, 100, 25}));
      EXPECT_GT(canvas.CountOf(inactive ? c.inactive : c.active, rc), 10);
      // Smoothed edges of the darker active text may hit the inactive grey; never the reverse.
      if (inactive) {
        EXPECT_EQ(0, canvas.CountOf(c.active, rc));
      }
    }
  }
}

// A hot title of the classic style: the theme's hot button with themes, a raised face
// without; the row below the title is left alone either way.
TEST_F(CustomDraw, HotClassicTitleThemedAndUnthemed) {
  HWND tb = ToolkitToolbar(host_, 0);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(302, AddToolbarTextButton(302, "Edit", 0));
  Title(tb, 302, 0);
  const RECT rc = {5, 5, 65, 29};

  ThemesActive = 0;
  Canvas classic(80, 40);
  EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, classic.dc(), rc, 302, CDIS_HOT, RECT{0, 0, 60, 24}));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), classic.At(rc.left, rc.top));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), classic.At(rc.right - 1, rc.bottom - 2));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), classic.At(rc.left + 2, rc.top + 2));
  EXPECT_EQ(kMagenta, classic.At(rc.left + 2, rc.bottom - 1));

  ThemesActive = savedThemes_;
  if (!ThemesActive || !ThemeHandles[THEME_TOOLBAR]) GTEST_SKIP() << "no tool-bar theme in this prefix";
  Canvas themed(80, 40);
  Canvas reference(80, 40);
  EXPECT_EQ(CDRF_SKIPDEFAULT, Draw(tb, CDDS_ITEMPREPAINT, themed.dc(), rc, 302, CDIS_HOT, RECT{0, 0, 60, 24}));
  RECT face = rc;
  face.bottom -= 1;
  DrawThemeBackground(ThemeHandles[THEME_TOOLBAR], reference.dc(), TP_BUTTON, 2, &face, nullptr);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < rc.left + 4; ++x) ASSERT_EQ(reference.At(x, y), themed.At(x, y)) << x << "," << y;
}

// An open title casts one pair of shadows however often it is painted, none while the
// system's shadows are off, and loses them when painted closed.
TEST_F(CustomDraw, OpenTitleCastsOnePairOfShadows) {
  HWND tb = ToolkitToolbar(host_, 0);
  CurrentToolbar = reinterpret_cast<intptr_t>(tb);
  ASSERT_EQ(303, AddToolbarTextButton(303, "View", 0));
  Menu& title = Title(tb, 303, UISTYLE_OFFICE2007);
  title.openFlag = -1;
  DropDownTop = -1;
  const size_t windows = DropShadowList.Size();
  const RECT rc = {10, 5, 60, 27};

  SystemDropShadow = 0;
  Canvas canvas(80, 40);
  Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 303, CDIS_HOT);
  EXPECT_EQ(0u, TitleShadowsOf(tb));
  EXPECT_EQ(windows, DropShadowList.Size());

  SystemDropShadow = 1;
  Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 303, CDIS_HOT);
  Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 303, CDIS_HOT);
  ASSERT_EQ(1u, TitleShadowsOf(tb));
  EXPECT_EQ(windows + 2, DropShadowList.Size());
  const MenuTitleShadow& pair = *std::find_if(MenuTitleShadowList.begin(), MenuTitleShadowList.end(),
                                              [tb](const MenuTitleShadow& s) { return s.barWindow == tb; });
  POINT corner = {rc.right, rc.top};
  ClientToScreen(tb, &corner);
  RECT right = {};
  GetWindowRect(pair.rightShadow, &right);
  EXPECT_EQ(corner.x, right.left);
  EXPECT_EQ(corner.y - 1, right.top);
  EXPECT_EQ(5, right.right - right.left);

  Draw(tb, CDDS_ITEMPREPAINT, canvas.dc(), rc, 303, 0);
  EXPECT_EQ(0u, TitleShadowsOf(tb));
  EXPECT_EQ(windows, DropShadowList.Size());
}

// Drop shadows.

// The pixels (0xAARRGGBB) of a shadow window's image, read through its record's DC.
std::vector<uint32_t> ShadowPixels(HWND shadow, int width, int height) {
  std::vector<uint32_t> pixels;
  const DropShadow* record = reinterpret_cast<const DropShadow*>(GetWindowLongPtrA(shadow, GWLP_USERDATA));
  if (!record || !DropShadowList.Contains(record)) return pixels;
  uint32_t* bits = nullptr;
  HBITMAP copy = CreatePixelBitmap(width, height, &bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, copy);
  BitBlt(dc, 0, 0, width, height, record->memoryDC, 0, 0, SRCCOPY);
  GdiFlush();
  pixels.assign(bits, bits + width * height);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(copy);
  return pixels;
}

int AlphaOf(uint32_t pixel) { return static_cast<int>(pixel >> 24); }

class DropShadows : public ::testing::Test {
 protected:
  void SetUp() override { CreateDropShadow(0, 0, 0, 0, 0, 0, 8); }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    CreateDropShadow(0, 0, 0, 0, 0, 0, 8);
  }
  HWND Make(int width, int height, uint32_t colour, int intensity, int flags) {
    HWND w = CreateDropShadow(100, 100, width, height, colour, intensity, flags);
    if (w) windows_.push_back(w);
    return w;
  }
  std::vector<HWND> windows_;
};

TEST_F(DropShadows, NothingForAnEmptySizeOrIntensity) {
  struct Case {
    int width, height, intensity;
  };
  for (const Case& c :
       {Case{0, 10, 50}, Case{5, 0, 50}, Case{-3, 10, 50}, Case{5, -1, 50}, Case{5, 10, 0}, Case{5, 10, -20}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " @" << c.intensity);
    EXPECT_EQ(nullptr, CreateDropShadow(0, 0, c.width, c.height, 0, c.intensity, 0x1000));
  }
}

TEST_F(DropShadows, FlagEightFreesTheCachesOnly) {
  const size_t windows = DropShadowList.Size();
  ASSERT_NE(nullptr, Make(5, 40, 0, 60, 0x1000));
  ASSERT_NE(nullptr, ShadowStripCaches[1].bitmap);
  EXPECT_EQ(reinterpret_cast<HWND>(1), CreateDropShadow(10, 10, 5, 40, 0, 60, 8));
  EXPECT_EQ(nullptr, ShadowStripCaches[1].bitmap);
  EXPECT_EQ(0, ShadowStripCaches[1].height);
  EXPECT_EQ(nullptr, CreateDropShadow(10, 10, 5, 40, 0, 60, 8));
  EXPECT_EQ(windows + 1, DropShadowList.Size());
}

TEST_F(DropShadows, WindowIsLayeredAndFreesItsRecord) {
  HWND w = Make(40, 5, 0, 60, 0);
  ASSERT_NE(nullptr, w);
  char name[64] = {};
  GetClassNameA(w, name, sizeof(name));
  EXPECT_STREQ("Tovrel_DropShadow", name);
  const LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
  EXPECT_EQ(static_cast<LONG_PTR>(0x080800A8), ex & 0x080800A8);
  EXPECT_TRUE(IsWindowVisible(w));
  const size_t windows = DropShadowList.Size();
  DestroyWindow(w);
  windows_.clear();
  EXPECT_EQ(windows - 1, DropShadowList.Size());
}

// Premultiplied pixels: darkest next to the popup, nothing at the outer edge; the ends fade
// as the flags say.
TEST_F(DropShadows, StripPixelsFadeAcrossAndAtTheEndsTheFlagsName) {
  const uint32_t red = RGB(255, 0, 0);
  // intensity 100, thickness 5: a fully faded-in position has alpha 80 at the inner edge;
  // the first and last positions of a fade have 100 / 5 * 4 / 5 = 16.
  struct Case {
    int flags;
    int startAlpha, endAlpha;
  };
  for (const Case& c : {Case{0x1000, 16, 16}, Case{0x1001, 16, 80}, Case{0x1002, 80, 16}, Case{0x1004, 80, 80}}) {
    SCOPED_TRACE(c.flags);
    HWND w = Make(5, 30, red, 100, c.flags);
    ASSERT_NE(nullptr, w);
    const std::vector<uint32_t> p = ShadowPixels(w, 5, 30);
    ASSERT_EQ(150u, p.size());
    EXPECT_EQ(c.startAlpha, AlphaOf(p[0]));
    EXPECT_EQ(c.endAlpha, AlphaOf(p[29 * 5]));
    const uint32_t middle = p[15 * 5];
    EXPECT_EQ(80, AlphaOf(middle));
    EXPECT_EQ(80u, middle >> 16 & 0xFF);  // red 255 x 80 / 255
    EXPECT_EQ(0u, middle & 0xFFFF);
    EXPECT_EQ(60, AlphaOf(p[15 * 5 + 1]));  // 100 x 3 / 5
    EXPECT_EQ(0, AlphaOf(p[15 * 5 + 4]));
  }

  HWND across = Make(30, 5, red, 100, 0);
  const std::vector<uint32_t> h = ShadowPixels(across, 30, 5);
  ASSERT_EQ(150u, h.size());
  EXPECT_EQ(80, AlphaOf(h[15]));          // top row, next to the popup above
  EXPECT_EQ(0, AlphaOf(h[4 * 30 + 15]));  // bottom row
  EXPECT_EQ(16, AlphaOf(h[0]));
}

// A strip shorter than the cached one is the cache's start and the cache's last five
// positions, so both of its ends fade; the cache serves it without being rendered again.
TEST_F(DropShadows, ShorterStripIsComposedFromTheLongerCache) {
  const uint32_t colour = RGB(0, 0, 200);
  ASSERT_NE(nullptr, Make(100, 5, colour, 100, 0));
  const ShadowStripCache before = ShadowStripCaches[0];
  ASSERT_EQ(100, before.width);

  HWND shorter = Make(50, 5, colour, 100, 0);
  EXPECT_EQ(before.bitmap, ShadowStripCaches[0].bitmap);
  EXPECT_EQ(100, ShadowStripCaches[0].width);
  const std::vector<uint32_t> p = ShadowPixels(shorter, 50, 5);
  ASSERT_EQ(250u, p.size());
  const int expected[] = {16, 32, 48, 64, 80};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(expected[i], AlphaOf(p[i])) << i;
    EXPECT_EQ(expected[i], AlphaOf(p[49 - i])) << 49 - i;
  }
  for (int i = 5; i < 45; ++i) EXPECT_EQ(80, AlphaOf(p[i])) << i;

  // Another colour or intensity renders the cache anew, at the new length.
  Make(50, 5, RGB(200, 0, 0), 100, 0);
  EXPECT_EQ(50, ShadowStripCaches[0].width);
  Make(50, 5, RGB(200, 0, 0), 90, 0);
  EXPECT_EQ(90, ShadowStripCaches[0].intensity);
}

}  // namespace
