// Owner-drawn menu items measured and drawn through the parent window procedure: the
// records are built directly, the items are drawn into 32-bit memory bitmaps and their
// pixels are read at the places each look puts its colours.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_item_images.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/parent_window.h"

using namespace tovrel;

namespace {

constexpr LRESULT kHostAnswer = 77;  // what the host's own procedure answers WM_DRAWITEM with
constexpr int kItemWidth = 200;
constexpr int kItemHeight = 23;

LRESULT CALLBACK PaintHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) return kHostAnswer;
  return DefWindowProcA(window, message, wParam, lParam);
}

// A 32-bit top-down bitmap in a memory DC, read back pixel by pixel as GDI colours.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreatePixelBitmap(width, height, &bits_);
    old_ = SelectObject(dc_, bitmap_);
    Clear(RGB(255, 0, 255));
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Clear(COLORREF colour) {
    GdiFlush();
    const uint32_t argb = 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = argb;
  }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const uint32_t v = bits_[y * width_ + x];
    return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
  }
  // How many pixels of the rectangle have the colour.
  int Count(COLORREF colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) n += Pixel(x, y) == colour;
    }
    return n;
  }
  // The bounding box of the pixels of one colour from column fromX on; empty when none.
  RECT Extent(COLORREF colour, int fromX = 0) const {
    RECT r = {width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
      for (int x = fromX; x < width_; ++x) {
        if (Pixel(x, y) != colour) continue;
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
    }
    if (r.right == 0) r = {0, 0, 0, 0};
    return r;
  }
  bool SameAs(const Canvas& other) const {
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (Pixel(x, y) != other.Pixel(x, y)) return false;
      }
    }
    return true;
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

// A 16 x 16 opaque icon of one colour.
HICON SolidIcon(COLORREF colour) {
  uint32_t* bits = nullptr;
  HBITMAP picture = CreatePixelBitmap(16, 16, &bits);
  for (int i = 0; i < 256; ++i)
    bits[i] = 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  std::vector<uint8_t> maskBits(2 * 16, 0);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, maskBits.data());
  ICONINFO info = {TRUE, 0, 0, mask, picture};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(picture);
  return icon;
}

COLORREF StyleColour(int style, int index) {
  if (style == UISTYLE_WHIDBEY) return static_cast<COLORREF>(GetUIColour(style, index, GetEffectiveColourMode()));
  return static_cast<COLORREF>(LookupUIColour(style, index, 2));
}

class MenuPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    static ATOM atom = [] {
      WNDCLASSEXA wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &PaintHostProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "MenuPaintHost";
      return RegisterClassExA(&wc);
    }();
    (void)atom;
    host_ = CreateWindowExA(0, "MenuPaintHost", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SubclassParentWindow(host_);
    EnsureMenuFont();
    MenuItemBuffering = 0;
    MenuCacheBlocked = 0;
    LastHotItemTop = 0;
    DropDownKeyNavigation = 0;
    MenuKeyNavigation = 0;
    ScrollBusy = 0;
    TitleDropDownState = 0;
    ScrollPopupMenu = nullptr;
  }
  void TearDown() override {
    MenuBackgroundCacheEnabled = 0;
    MenuItemBuffering = 0;
    DropDownKeyNavigation = 0;
    ScrollBusy = 0;
    TitleDropDownState = 0;
    ScrollPopupMenu = nullptr;
    for (MenuItem* item : items_) {
      if (item->imageList) ImageList_Destroy(item->imageList);
      MenuItemList.Delete(item);
    }
    for (Menu* menu : menus_) {
      if (menu->backgroundDC) DeleteDC(menu->backgroundDC);
      if (menu->backgroundBitmap) DeleteObject(menu->backgroundBitmap);
      DestroyMenu(menu->menuHandle);
      MenuList.Delete(menu);
    }
    for (HICON icon : icons_) DestroyIcon(icon);
    if (SubclassEntry* e = SubclassList.Find([this](const SubclassEntry& s) { return s.window == host_; }))
      SubclassList.Delete(e);
    DestroyWindow(host_);
  }

  Menu* AddMenu(int style) {
    Menu& m = MenuList.Add();
    m.number = 9000 + static_cast<intptr_t>(menus_.size());
    m.barWindow = MenuNoBar();
    m.menuHandle = CreatePopupMenu();
    m.titleCommand = -1;
    m.popupFlag = -1;
    m.linkedDropDown = MenuLinkOwn();
    m.uiStyle = style;
    menus_.push_back(&m);
    return &m;
  }

  MenuItem* AddItem(Menu* menu, const std::string& text, int kind = 0, HMENU submenu = nullptr) {
    MenuItem& item = MenuItemList.Add();
    item.menu = menu;
    item.menuHandle = menu->menuHandle;
    item.text = text;
    item.position = GetMenuItemCount(menu->menuHandle);
    item.uiStyle = menu->uiStyle;
    item.imageWidth = 16;
    item.imageHeight = 16;
    item.kind = kind;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE | (submenu ? MIIM_SUBMENU : 0);
    info.fType = MFT_OWNERDRAW;
    info.wID = 100 + item.position;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    info.hSubMenu = submenu;
    EXPECT_TRUE(InsertMenuItemA(menu->menuHandle, item.position, TRUE, &info));
    items_.push_back(&item);
    return &item;
  }

  HICON Icon(COLORREF colour) {
    icons_.push_back(SolidIcon(colour));
    return icons_.back();
  }

  void GiveImages(MenuItem* item, COLORREF normal, COLORREF hot, COLORREF disabled) {
    item->imageList = MakeMenuItemImages(*item, Icon(normal), hot == CLR_NONE ? nullptr : Icon(hot), Icon(disabled),
                                         item->uiStyle, 16, 16);
    ASSERT_NE(nullptr, item->imageList);
  }

  LRESULT Draw(const MenuItem* item, UINT state, const RECT& rc, HDC dc) {
    DRAWITEMSTRUCT d = {};
    d.CtlType = ODT_MENU;
    d.itemID = 100 + item->position;
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = state;
    d.hwndItem = reinterpret_cast<HWND>(item->menuHandle);
    d.hDC = dc;
    d.rcItem = rc;
    d.itemData = reinterpret_cast<ULONG_PTR>(item);
    return SendMessageA(host_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  }
  LRESULT Draw(const MenuItem* item, UINT state, const Canvas& canvas) {
    return Draw(item, state, {0, 0, canvas.width(), canvas.height()}, canvas.dc());
  }

  MEASUREITEMSTRUCT Measure(const MenuItem* item) {
    MEASUREITEMSTRUCT m = {};
    m.CtlType = ODT_MENU;
    m.itemID = 100 + item->position;
    m.itemData = reinterpret_cast<ULONG_PTR>(item);
    SendMessageA(host_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    return m;
  }

  // The text offset g of an item in its menu's style.
  int TextOffset(const MenuItem* item) const {
    int g = item->imageWidth + MenuTextGap;
    if (item->menu->uiStyle < UISTYLE_WHIDBEY) g += 5;
    if (item->menu->uiStyle == UISTYLE_OFFICE2007) g += 2;
    return g;
  }

  HWND host_ = nullptr;
  std::vector<Menu*> menus_;
  std::vector<MenuItem*> items_;
  std::vector<HICON> icons_;
};

// The whole item has its look's colours: image column, text area, text, selection frame
// and fill, disabled text and the separator row.
TEST_F(MenuPainting, StyledLooksPutTheirColoursInPlace) {
  for (int style : {UISTYLE_OFFICE2007, UISTYLE_WHIDBEY}) {
    SCOPED_TRACE(style);
    Menu* menu = AddMenu(style);
    MenuItem* item = AddItem(menu, "Open");
    MenuItem* separator = AddItem(menu, "");
    Measure(item);
    const int g = TextOffset(item);
    const int right = kItemWidth - 1;

    Canvas normal(kItemWidth, kItemHeight);
    EXPECT_EQ(kHostAnswer, Draw(item, 0, normal));
    EXPECT_EQ(StyleColour(style, 30), normal.Pixel(right, 2));
    EXPECT_EQ(StyleColour(style, 30), normal.Pixel(right, kItemHeight - 1));
    if (style == UISTYLE_WHIDBEY) {
      EXPECT_EQ(StyleColour(style, 13), normal.Pixel(1, kItemHeight / 2));
    } else {
      Canvas column(kItemWidth, kItemHeight);
      RECT columnRect = {-1, 0, g + 1, kItemHeight};
      PaintStyleBackground(column.dc(), style, 13, &columnRect, 0x100);
      EXPECT_EQ(column.Pixel(1, kItemHeight / 2), normal.Pixel(1, kItemHeight / 2));
      EXPECT_EQ(column.Pixel(g, 3), normal.Pixel(g, 3));
    }
    EXPECT_GT(normal.Count(StyleColour(style, 4), g + 9, 0, right, kItemHeight), 5);

    Canvas selected(kItemWidth, kItemHeight);
    Draw(item, ODS_SELECTED, selected);
    EXPECT_EQ(StyleColour(style, 28), selected.Pixel(0, 0));
    EXPECT_EQ(StyleColour(style, 28), selected.Pixel(right, kItemHeight - 2));
    EXPECT_EQ(StyleColour(style, 26), selected.Pixel(right - 2, 2));
    EXPECT_EQ(StyleColour(style, 26), selected.Pixel(2, kItemHeight / 2));
    if (StyleColour(style, 27) != StyleColour(style, 26)) {
      EXPECT_GT(selected.Count(StyleColour(style, 27), g + 9, 0, right, kItemHeight), 5);
    }

    Canvas disabled(kItemWidth, kItemHeight);
    Draw(item, ODS_DISABLED | ODS_GRAYED, disabled);
    EXPECT_GT(disabled.Count(StyleColour(style, 29), g + 9, 0, right, kItemHeight), 5);
    EXPECT_EQ(0, disabled.Count(StyleColour(style, 4), g + 9, 0, right, kItemHeight));
    EXPECT_EQ(StyleColour(style, 30), disabled.Pixel(right, 2));

    Canvas line(kItemWidth, 2);
    Draw(separator, 0, line);
    EXPECT_EQ(kItemWidth - (g + 9), line.Count(StyleColour(style, 25), 0, 0, kItemWidth, 1));
    EXPECT_EQ(StyleColour(style, 25), line.Pixel(g + 9, 0));
    EXPECT_NE(StyleColour(style, 25), line.Pixel(g + 8, 0));
    EXPECT_EQ(StyleColour(style, 30), line.Pixel(right, 1));
  }
}

// A disabled item drawn selected while the keyboard moves over it gets the frame only.
TEST_F(MenuPainting, DisabledItemIsFramedOnlyUnderKeyboardNavigation) {
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  MenuItem* item = AddItem(menu, "Run");
  Measure(item);
  const COLORREF frame = StyleColour(UISTYLE_OFFICE2007, 28);
  const COLORREF area = StyleColour(UISTYLE_OFFICE2007, 30);
  for (int keyboard : {0, 1}) {
    MenuKeyNavigation = keyboard;
    Canvas c(kItemWidth, kItemHeight);
    Draw(item, ODS_SELECTED | ODS_DISABLED | ODS_GRAYED, c);
    EXPECT_EQ(keyboard ? frame : area, c.Pixel(kItemWidth - 1, 5)) << keyboard;
    EXPECT_EQ(area, c.Pixel(kItemWidth - 3, 3)) << keyboard;
  }
  MenuKeyNavigation = 0;
}

// Which of its three images an item shows: hot only when selected and given, disabled when
// disabled; a checked image-check item shows its normal image in the check box, whatever
// its hot image, on the box's selected or normal part.
TEST_F(MenuPainting, ImageSlotsAndCheckBox) {
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  const int style = UISTYLE_OFFICE2007;
  Menu* menu = AddMenu(style);
  MenuItem* item = AddItem(menu, "Print");
  GiveImages(item, red, green, blue);
  MenuItem* noHot = AddItem(menu, "Preview");
  GiveImages(noHot, red, CLR_NONE, blue);
  Measure(item);
  const int g = TextOffset(item);
  const int imageX = g / 2;  // the middle of the image
  const int imageY = kItemHeight / 2;

  struct Row {
    const MenuItem* item;
    UINT state;
    COLORREF expected;
  } rows[] = {
      {item, 0, red},
      {item, ODS_SELECTED, green},
      {noHot, ODS_SELECTED, red},
      {item, ODS_DISABLED | ODS_GRAYED, blue},
      {item, ODS_SELECTED | ODS_DISABLED, blue},
  };
  for (const Row& row : rows) {
    Canvas c(kItemWidth, kItemHeight);
    Draw(row.item, row.state, c);
    EXPECT_EQ(row.expected, c.Pixel(imageX, imageY)) << row.item->text << " state " << row.state;
  }

  item->imageCheckMark = 1;
  for (UINT state : {UINT{ODS_CHECKED}, UINT{ODS_CHECKED | ODS_SELECTED}}) {
    SCOPED_TRACE(state);
    Canvas c(kItemWidth, kItemHeight);
    Draw(item, state, c);
    EXPECT_EQ(red, c.Pixel(imageX, imageY));
    // The box: image width + 4 square, centred in the column that is one pixel wider.
    const int size = item->imageWidth + 4;
    RECT box;
    box.left = -1 + (g + 3 - size) / 2;
    box.top = (kItemHeight - size) / 2;
    box.right = box.left + size;
    box.bottom = box.top + size;
    Canvas expected(kItemWidth, kItemHeight);
    PaintStyleBackground(expected.dc(), style, state & ODS_SELECTED ? 17 : 15, &box, 0x1100);
    EXPECT_EQ(expected.Pixel(box.left, box.top + 1), c.Pixel(box.left, box.top + 1));
    EXPECT_EQ(expected.Pixel(box.left + 1, box.bottom - 2), c.Pixel(box.left + 1, box.bottom - 2));
    EXPECT_NE(expected.Pixel(box.left, box.top + 1), green);
  }
  // Parts 15 and 17 differ, so the two rows above tell the looks apart.
  Canvas p15(30, 30), p17(30, 30);
  RECT square = {0, 0, 20, 20};
  PaintStyleBackground(p15.dc(), style, 15, &square, 0x1100);
  PaintStyleBackground(p17.dc(), style, 17, &square, 0x1100);
  EXPECT_FALSE(p15.SameAs(p17));
}

// A checked item without image-check shows the check glyph in place of its image.
TEST_F(MenuPainting, CheckedItemShowsGlyphInsteadOfImage) {
  const COLORREF red = RGB(255, 0, 0);
  Menu* menu = AddMenu(UISTYLE_WHIDBEY);
  MenuItem* item = AddItem(menu, "Wrap");
  GiveImages(item, red, CLR_NONE, RGB(0, 0, 255));
  Measure(item);
  Canvas c(kItemWidth, kItemHeight);
  Draw(item, ODS_CHECKED, c);
  const int g = TextOffset(item);
  EXPECT_EQ(0, c.Count(red, 0, 0, g + 2, kItemHeight));
  EXPECT_GT(c.Count(StyleColour(UISTYLE_WHIDBEY, 15), 0, 0, g + 2, kItemHeight), 20);  // the box's frame
  EXPECT_GT(c.Count(StyleColour(UISTYLE_WHIDBEY, 14), 0, 0, g + 2, kItemHeight), 20);  // its inside
  EXPECT_GT(c.Count(RGB(0, 0, 0), 0, 0, g + 2, kItemHeight), 3);                       // the glyph
}

// The text after the first single "$" is drawn right-aligned before the check-mark margin;
// "$$" is drawn as one "$" and makes no second column.
TEST_F(MenuPainting, DollarSplitsLabelAndShortcut) {
  const int style = UISTYLE_OFFICE2007;
  Menu* menu = AddMenu(style);
  MenuItem* split = AddItem(menu, "Save$Ctrl+S");
  MenuItem* dollars = AddItem(menu, "Cost $$5");
  Measure(split);
  const int g = TextOffset(split);
  const COLORREF text = StyleColour(style, 4);
  const int margin = GetSystemMetrics(SM_CXMENUCHECK) + 6;

  Canvas c(kItemWidth, kItemHeight);
  Draw(split, 0, c);
  // The shortcut ends at the check-mark margin: it is drawn exactly where the same text
  // drawn alone, measured width before the margin, would be.
  auto shortcutAlone = [&](const std::string& shortcut) {
    Canvas alone(kItemWidth, kItemHeight);
    SetTextColor(alone.dc(), text);
    RECT measured = {0, 0, 0, 0};
    DrawStyledText(alone.dc(), shortcut, &measured, MenuFont, kStyledMeasure);
    const int x = kItemWidth - (measured.right - measured.left) - margin;
    RECT place = {x, 0, kItemWidth - margin, kItemHeight - 1};
    DrawStyledText(alone.dc(), shortcut, &place, MenuFont, 0);
    return alone.Extent(text);
  };
  const RECT drawn = c.Extent(text);
  EXPECT_LE(drawn.right, kItemWidth - margin);
  EXPECT_EQ(shortcutAlone("Ctrl+S").right, drawn.right);
  EXPECT_EQ(shortcutAlone("Ctrl+S").left, c.Extent(text, g + 60).left);
  Canvas longer(kItemWidth, kItemHeight);
  Draw(AddItem(menu, "Save$Ctrl+Shift+S"), 0, longer);
  EXPECT_EQ(shortcutAlone("Ctrl+Shift+S").right, longer.Extent(text).right);
  EXPECT_EQ(shortcutAlone("Ctrl+Shift+S").left, longer.Extent(text, g + 60).left);
  EXPECT_GT(c.Count(text, g + 9, 0, g + 40, kItemHeight), 5);  // "Save"
  EXPECT_EQ(0, c.Count(text, g + 60, 0, kItemWidth - margin - 45, kItemHeight));

  // Drawn as the plain label "Cost $5" would be, and nothing at the right.
  Canvas d(kItemWidth, kItemHeight);
  Draw(dollars, 0, d);
  Canvas reference(kItemWidth, kItemHeight);
  SetTextColor(reference.dc(), text);
  RECT label = {g + 9, 0, kItemWidth, kItemHeight - 1};
  DrawStyledText(reference.dc(), "Cost $5", &label, MenuFont, 0);
  for (int y = 0; y < kItemHeight; ++y) {
    for (int x = g + 9; x < kItemWidth; ++x) {
      ASSERT_EQ(reference.Pixel(x, y) == text, d.Pixel(x, y) == text) << x << "," << y;
    }
  }
}

// A label longer than its item is cut at the item's right edge rather than drawn over
// whatever lies beyond it.
TEST_F(MenuPainting, LongLabelStopsAtTheItemsEdge) {
  Menu* menu = AddMenu(UISTYLE_WHIDBEY);
  MenuItem* item = AddItem(menu, "A label far longer than the item it belongs to");
  Measure(item);
  Canvas c(kItemWidth * 2, kItemHeight);
  Draw(item, 0, {0, 0, kItemWidth, kItemHeight}, c.dc());
  const COLORREF text = StyleColour(UISTYLE_WHIDBEY, 4);
  EXPECT_GT(c.Count(text, kItemWidth - 40, 0, kItemWidth, kItemHeight), 5);
  EXPECT_EQ(0, c.Count(text, kItemWidth, 0, kItemWidth * 2, kItemHeight));
  EXPECT_EQ(kItemWidth * kItemHeight, c.Count(RGB(255, 0, 255), kItemWidth, 0, kItemWidth * 2, kItemHeight));
}

// Scroll arrows are black triangles centred in their item; the filler draws only the
// background.
TEST_F(MenuPainting, ScrollItemsShowCentredArrows) {
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  MenuItem* down = AddItem(menu, "", -1);
  MenuItem* up = AddItem(menu, "", -2);
  MenuItem* filler = AddItem(menu, "", -3);
  Measure(AddItem(menu, "x"));
  const COLORREF black = RGB(0, 0, 0);
  for (const MenuItem* arrow : {down, up}) {
    for (UINT state : {0u, UINT{ODS_SELECTED}}) {
      SCOPED_TRACE(arrow->kind);
      Canvas c(kItemWidth, kItemHeight);
      Draw(arrow, state, c);
      const RECT r = c.Extent(black);
      ASSERT_FALSE(IsRectEmpty(&r));
      EXPECT_LE(std::abs((r.left + r.right) - kItemWidth), 2);
      EXPECT_LE(std::abs((r.top + r.bottom) - kItemHeight), 3);
      const int topRow = c.Count(black, 0, r.top, kItemWidth, r.top + 1);
      const int bottomRow = c.Count(black, 0, r.bottom - 1, kItemWidth, r.bottom);
      if (arrow->kind == -2)
        EXPECT_LT(topRow, bottomRow);
      else
        EXPECT_GT(topRow, bottomRow);
    }
  }
  Canvas c(kItemWidth, 7);
  Draw(filler, ODS_SELECTED, c);
  EXPECT_EQ(0, c.Count(black, 0, 0, kItemWidth, 7));
  EXPECT_EQ(StyleColour(UISTYLE_OFFICE2007, 30), c.Pixel(kItemWidth / 2, 3));
}

// A submenu item gets the system's arrow at its right end, and the arrow is kept out of
// the DC's clipping so that the system draws none over it.
TEST_F(MenuPainting, SubmenuArrowIsDrawnAndClippedOut) {
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  HMENU sub = CreatePopupMenu();
  MenuItem* item = AddItem(menu, "Recent", 0, sub);
  Measure(item);
  Canvas c(kItemWidth, kItemHeight);
  Draw(item, 0, c);
  const int size = GetSystemMetrics(SM_CXMENUCHECK);
  const RECT arrow = {kItemWidth - size, (kItemHeight - size) / 2, kItemWidth, (kItemHeight - size) / 2 + size};
  EXPECT_GT(c.Count(RGB(0, 0, 0), arrow.left, arrow.top, arrow.right, arrow.bottom), 3);
  EXPECT_EQ(0, c.Count(RGB(255, 255, 255), arrow.left, arrow.top, arrow.right, arrow.bottom));
  EXPECT_FALSE(PtVisible(c.dc(), (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2));
  EXPECT_TRUE(PtVisible(c.dc(), 5, 5));
  SelectClipRgn(c.dc(), nullptr);
}

// Classic styles: the system's colours, with the visual style's menu parts for the hot
// look where the menu class is open, and embossed disabled text.
TEST_F(MenuPainting, ClassicLooksThemedAndUnthemed) {
  Menu* menu = AddMenu(0);
  MenuItem* item = AddItem(menu, "Exit");
  Measure(item);
  const HTHEME savedTheme = ThemeHandles[THEME_MENU];
  const ComctlVersionInfo savedVersion = ComctlVersion;

  ThemeHandles[THEME_MENU] = nullptr;
  Canvas plain(kItemWidth, kItemHeight);
  Draw(item, 0, plain);
  EXPECT_EQ(GetSysColor(COLOR_MENU), plain.Pixel(kItemWidth - 2, 2));
  EXPECT_GT(plain.Count(GetSysColor(COLOR_MENUTEXT), 0, 0, kItemWidth, kItemHeight), 5);
  Canvas hot(kItemWidth, kItemHeight);
  Draw(item, ODS_SELECTED, hot);
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), hot.Pixel(kItemWidth - 2, 2));
  EXPECT_GT(hot.Count(GetSysColor(COLOR_HIGHLIGHTTEXT), 0, 0, kItemWidth, kItemHeight), 5);
  Canvas grey(kItemWidth, kItemHeight);
  Draw(item, ODS_DISABLED | ODS_GRAYED, grey);
  EXPECT_GT(grey.Count(GetSysColor(COLOR_GRAYTEXT), 0, 0, kItemWidth, kItemHeight), 5);
  EXPECT_GT(grey.Count(GetSysColor(COLOR_BTNHIGHLIGHT), 0, 0, kItemWidth, kItemHeight), 5);

  ThemeHandles[THEME_MENU] = savedTheme;
  ASSERT_NE(nullptr, savedTheme) << "the visual style has a menu class";
  ASSERT_TRUE(ThemesActive);
  ComctlVersion.major = 6;
  ComctlVersion.minor = 1;
  Canvas themed(kItemWidth, kItemHeight);
  Draw(item, ODS_SELECTED, themed);
  Canvas expected(kItemWidth, kItemHeight);
  RECT whole = {0, 0, kItemWidth, kItemHeight};
  UxThemeApi.drawThemeBackground(savedTheme, expected.dc(), MENU_POPUPBACKGROUND, 1, &whole, nullptr);
  UxThemeApi.drawThemeBackground(savedTheme, expected.dc(), MENU_POPUPITEM, 2, &whole, nullptr);
  EXPECT_EQ(expected.Pixel(kItemWidth - 2, kItemHeight / 2), themed.Pixel(kItemWidth - 2, kItemHeight / 2));
  // Themed, the text keeps the menu's text colour and starts 6 past the column.
  const RECT label = themed.Extent(GetSysColor(COLOR_MENUTEXT));
  EXPECT_GT(themed.Count(GetSysColor(COLOR_MENUTEXT), 0, 0, kItemWidth, kItemHeight), 5);
  EXPECT_EQ(0, hot.Count(GetSysColor(COLOR_MENUTEXT), 0, 0, kItemWidth, kItemHeight));
  EXPECT_GE(label.left, TextOffset(item) + 6);
  EXPECT_LE(label.left, TextOffset(item) + 8);
  ComctlVersion = savedVersion;

  // The classic separator is an etched line in the middle of its 7 pixels.
  MenuItem* separator = AddItem(menu, "");
  Canvas line(kItemWidth, 7);
  Draw(separator, 0, line);
  EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), line.Pixel(kItemWidth / 2, 2));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), line.Pixel(kItemWidth / 2, 3));
  EXPECT_EQ(GetSysColor(COLOR_MENU), line.Pixel(kItemWidth / 2, 0));
}

// Item heights: separators 2 in the named styles and 7 below style 5; an item its text
// or image height plus margins. Widths: text, both image widths, the size step and the
// check-mark width, a shortcut measured as its own column.
TEST_F(MenuPainting, MeasuresItems) {
  for (int style : {UISTYLE_WHIDBEY, UISTYLE_OFFICE2003_MENU, UISTYLE_OFFICE2007, 0, 2, 4}) {
    Menu* menu = AddMenu(style);
    EXPECT_EQ(style < UISTYLE_WHIDBEY ? 7u : 2u, Measure(AddItem(menu, "")).itemHeight) << style;
  }
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  MenuItem* small = AddItem(menu, "Open");
  MenuItem* tall = AddItem(menu, "Open");
  tall->imageHeight = 32;
  const MEASUREITEMSTRUCT smallSize = Measure(small);
  EXPECT_EQ(16u + 4 + 3, smallSize.itemHeight);  // the menu font is lower than 16 pixels
  EXPECT_EQ(32u + 4 + 3, Measure(tall).itemHeight);
  EXPECT_EQ(GetFontSizeStep(MenuFontPointSize()) - 2, MenuTextGap);

  MenuItem* joined = AddItem(menu, "SaveCtrl+S");
  MenuItem* split = AddItem(menu, "Save$Ctrl+S");
  MenuItem* narrow = AddItem(menu, "Save$Ctrl+S");
  narrow->imageWidth = 0;
  EXPECT_EQ(Measure(joined).itemWidth, Measure(split).itemWidth);
  EXPECT_EQ(Measure(split).itemWidth - 32, Measure(narrow).itemWidth);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont);
  SIZE text = {};
  GetTextExtentPoint32A(dc, "SaveCtrl+S", 10, &text);
  SelectObject(dc, old);
  DeleteDC(dc);
  const int size = MenuFontPointSize();
  const int step = GetFontSizeStep(size) - (size <= 9 ? 2 : 0);
  EXPECT_EQ(static_cast<UINT>(text.cx + 32 + step + GetSystemMetrics(SM_CXMENUCHECK)), Measure(split).itemWidth);

  // A scrolling copy gives every item its width.
  ScrollPopupMenu = menu->menuHandle;
  ScrollPopupWidth = 321;
  EXPECT_EQ(321u, Measure(split).itemWidth);
  ScrollPopupMenu = nullptr;
}

TEST_F(MenuPainting, MeasuresMenus) {
  EXPECT_EQ(0, GetMenuHeight(nullptr));
  EXPECT_EQ(0, GetMenuWidth(reinterpret_cast<HMENU>(0x1234)));
  struct Row {
    int style;
    int separatorHeight;
    int frame;
    int widthExtra;
  } rows[] = {
      {UISTYLE_OFFICE2007, 2, 3, 1},
      {UISTYLE_OFFICE2003_MENU, 2, 3, -2},
      {UISTYLE_WHIDBEY, 2, 5, 0},
      {0, 7, 6, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.style);
    Menu* menu = AddMenu(row.style);
    MenuItem* a = AddItem(menu, "New");
    AddItem(menu, "");
    MenuItem* b = AddItem(menu, "A much longer item$Ctrl+Shift+L");
    // An item of the application's own counts nothing.
    AppendMenuA(menu->menuHandle, MF_OWNERDRAW, 999, reinterpret_cast<LPCSTR>(0x5678));
    const int itemHeight = static_cast<int>(Measure(a).itemHeight);
    EXPECT_EQ(2 * itemHeight + row.separatorHeight + row.frame, GetMenuHeight(menu->menuHandle));
    EXPECT_EQ(GetMenuItemWidth(*b) + GetSystemMetrics(SM_CXMENUSIZE) + row.widthExtra, GetMenuWidth(menu->menuHandle));
  }
  // A plain string item counts 2.5 check marks and 12 besides its text.
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  AppendMenuA(menu->menuHandle, MF_STRING, 5, "Plain");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont);
  RECT r = {0, 0, 0, 0};
  DrawTextA(dc, "Plain", 5, &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(static_cast<int>(2.5 * GetSystemMetrics(SM_CXMENUCHECK) + 12.0 + 0.5) + r.right,
            GetMenuWidth(menu->menuHandle));
}

TEST_F(MenuPainting, SplitItemTextAgreesWithShortcutRegistration) {
  struct Row {
    const char* text;
    const char* label;
    const char* shortcut;  // nullptr: none
  } rows[] = {
      {"Save$Ctrl+S", "Save", "Ctrl+S"}, {"Cost $$5", "Cost $5", nullptr}, {"A$$B$C", "A$B", "C"}, {"$$$x", "$", "x"},
      {"Tail$", "Tail$", nullptr},       {"Two$a$b", "Two", "a$b"},        {"", "", nullptr},
  };
  for (const Row& row : rows) {
    const ItemTextParts parts = SplitItemText(row.text);
    EXPECT_EQ(row.label, parts.label) << row.text;
    EXPECT_EQ(row.shortcut != nullptr, parts.hasShortcut) << row.text;
    if (row.shortcut) {
      EXPECT_EQ(row.shortcut, parts.shortcut) << row.text;
    }
  }
}

// The buffering state runs 0 -> -1 (after the last item of the first paint) -> 1, and a
// buffered repaint puts the same pixels on the menu as a direct one.
TEST_F(MenuPainting, BufferingStatesAndBufferedPaintMatchesDirect) {
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  MenuItem* first = AddItem(menu, "One$F1");
  AddItem(menu, "");
  MenuItem* last = AddItem(menu, "Three");
  GiveImages(first, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255));
  Measure(first);
  Canvas direct(kItemWidth, kItemHeight);
  Draw(first, ODS_SELECTED, direct);
  EXPECT_EQ(0, MenuItemBuffering);
  Draw(first, 0, direct);
  EXPECT_EQ(0, MenuItemBuffering);
  Canvas c(kItemWidth, kItemHeight);
  Draw(last, 0, c);
  EXPECT_EQ(-1, MenuItemBuffering);

  // Drawn at an offset into a bigger DC, the buffered item lands on its rectangle only.
  Canvas big(kItemWidth + 20, kItemHeight + 30);
  const RECT at = {10, 20, 10 + kItemWidth, 20 + kItemHeight};
  Draw(first, ODS_SELECTED, at, big.dc());
  EXPECT_EQ(1, MenuItemBuffering);
  Canvas again(kItemWidth, kItemHeight);
  Draw(first, ODS_SELECTED, again);  // the same look as `direct` first had
  Canvas firstLook(kItemWidth, kItemHeight);
  MenuItemBuffering = 0;
  Draw(first, ODS_SELECTED, firstLook);
  EXPECT_TRUE(again.SameAs(firstLook));
  for (int y = 0; y < kItemHeight; ++y) {
    for (int x = 0; x < kItemWidth; ++x) ASSERT_EQ(firstLook.Pixel(x, y), big.Pixel(x + 10, y + 20)) << x << "," << y;
  }
  EXPECT_EQ(RGB(255, 0, 255), big.Pixel(5, 5));
  EXPECT_EQ(RGB(255, 0, 255), big.Pixel(kItemWidth + 15, kItemHeight + 25));
}

// While a scroll step rebuilds the copy or a title's drop-down is switched nothing is
// drawn and the procedure answers 0; items of the application's own are left to it.
TEST_F(MenuPainting, SkipsWhileBusyAndLeavesForeignItems) {
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  MenuItem* item = AddItem(menu, "Open");
  for (int* flag : {&ScrollBusy, &TitleDropDownState}) {
    *flag = 1;
    Canvas c(kItemWidth, kItemHeight);
    EXPECT_EQ(0, Draw(item, 0, c));
    EXPECT_EQ(kItemWidth * kItemHeight, c.Count(RGB(255, 0, 255), 0, 0, kItemWidth, kItemHeight));
    *flag = 0;
  }
  MenuItem stray = {};  // an address that is no record of the toolkit's lists
  stray.text = "stray";
  Canvas c(kItemWidth, kItemHeight);
  EXPECT_EQ(kHostAnswer, Draw(&stray, 0, c));
  EXPECT_EQ(kItemWidth * kItemHeight, c.Count(RGB(255, 0, 255), 0, 0, kItemWidth, kItemHeight));
  MEASUREITEMSTRUCT m = {};
  m.CtlType = ODT_MENU;
  m.itemWidth = 11;
  m.itemHeight = 12;
  m.itemData = reinterpret_cast<ULONG_PTR>(&stray);
  SendMessageA(host_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
  EXPECT_EQ(11u, m.itemWidth);
  EXPECT_EQ(12u, m.itemHeight);
}

// A separator the selection lands on is not drawn; under keyboard navigation the key that
// moves on past it goes to the focus window, down when it lies at or below the item
// selected before, else up.
TEST_F(MenuPainting, SelectedSeparatorIsSteppedOver) {
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  AddItem(menu, "Above");
  MenuItem* separator = AddItem(menu, "");
  HWND focus = CreateWindowExA(0, "MenuPaintHost", "", WS_POPUP | WS_VISIBLE, -300, -300, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(focus);
  SetFocus(focus);
  ASSERT_EQ(focus, GetFocus());
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }

  struct Row {
    int keyboard;
    int lastTop;
    WPARAM key;  // 0: none posted
  } rows[] = {{1, 10, VK_DOWN}, {1, 40, VK_DOWN}, {1, 60, VK_UP}, {0, 10, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.lastTop);
    DropDownKeyNavigation = row.keyboard;
    LastHotItemTop = row.lastTop;
    Canvas c(kItemWidth, 80);
    Draw(separator, ODS_SELECTED, {0, 40, kItemWidth, 42}, c.dc());
    EXPECT_EQ(kItemWidth * 80, c.Count(RGB(255, 0, 255), 0, 0, kItemWidth, 80));
    EXPECT_EQ(40, LastHotItemTop);
    std::vector<std::pair<UINT, WPARAM>> keys;
    while (PeekMessageA(&msg, focus, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) keys.push_back({msg.message, msg.wParam});
    if (row.key) {
      ASSERT_EQ(2u, keys.size());
      EXPECT_EQ(std::make_pair(UINT{WM_KEYDOWN}, row.key), keys[0]);
      EXPECT_EQ(std::make_pair(UINT{WM_KEYUP}, row.key), keys[1]);
    } else {
      EXPECT_TRUE(keys.empty());
    }
  }
  DestroyWindow(focus);
}

// With the background cache on: the first complete paint of a title's drop-down is kept,
// later paints of unselected items are skipped while it is valid, and a first item drawn
// selected keeps the paint from being kept.
TEST_F(MenuPainting, BackgroundCacheCaptureAndGate) {
  MenuBackgroundCacheEnabled = 1;
  Menu* menu = AddMenu(UISTYLE_OFFICE2007);
  menu->popupFlag = 0;
  menu->openFlag = -1;
  MenuItem* items[3] = {AddItem(menu, "One"), AddItem(menu, ""), AddItem(menu, "Three")};
  Measure(items[0]);
  const int heights[3] = {kItemHeight, 2, kItemHeight};
  menu->shownWidth = kItemWidth;
  menu->shownHeight = heights[0] + heights[1] + heights[2];
  Canvas popup(kItemWidth, menu->shownHeight);
  auto paintAll = [&](UINT firstState) {
    int top = 0;
    for (int i = 0; i < 3; ++i) {
      Draw(items[i], i == 0 ? firstState : 0, {0, top, kItemWidth, top + heights[i]}, popup.dc());
      top += heights[i];
    }
  };

  MenuItemBuffering = 0;
  paintAll(ODS_SELECTED);
  EXPECT_EQ(1, MenuCacheBlocked);
  EXPECT_EQ(nullptr, menu->backgroundDC);

  MenuItemBuffering = 0;
  paintAll(0);
  EXPECT_EQ(0, MenuCacheBlocked);
  ASSERT_NE(nullptr, menu->backgroundDC);
  EXPECT_EQ(kItemWidth, menu->backgroundWidth);
  EXPECT_EQ(menu->shownHeight, menu->backgroundHeight);
  for (int y = 0; y < menu->shownHeight; y += 3) {
    EXPECT_EQ(popup.Pixel(kItemWidth - 3, y), GetPixel(menu->backgroundDC, kItemWidth - 3, y)) << y;
    EXPECT_EQ(popup.Pixel(20, y), GetPixel(menu->backgroundDC, 20, y)) << y;
  }

  // The next paint of the drop-down skips every unselected item, keeps the right column
  // out of the clipping and leaves the buffering state 1 after the last.
  MenuItemBuffering = 0;
  Canvas next(kItemWidth, kItemHeight);
  EXPECT_EQ(0, Draw(items[2], 0, next));
  EXPECT_EQ(kItemWidth * kItemHeight, next.Count(RGB(255, 0, 255), 0, 0, kItemWidth, kItemHeight));
  EXPECT_EQ(1, MenuItemBuffering);
  EXPECT_FALSE(PtVisible(next.dc(), kItemWidth - 3, 5));
  EXPECT_TRUE(PtVisible(next.dc(), 5, 5));
  // A selected item is always drawn.
  MenuItemBuffering = 0;
  EXPECT_EQ(kHostAnswer, Draw(items[0], ODS_SELECTED, next));
  EXPECT_EQ(StyleColour(UISTYLE_OFFICE2007, 28), next.Pixel(0, 0));

  // A popup of its own (not a title's drop-down) is never kept.
  Menu* popupMenu = AddMenu(UISTYLE_OFFICE2007);
  popupMenu->openFlag = -1;
  popupMenu->shownWidth = kItemWidth;
  popupMenu->shownHeight = kItemHeight;
  MenuItem* only = AddItem(popupMenu, "Only");
  MenuItemBuffering = 0;
  Draw(only, 0, popup);
  EXPECT_EQ(-1, MenuItemBuffering);
  EXPECT_EQ(nullptr, popupMenu->backgroundDC);
}

}  // namespace
