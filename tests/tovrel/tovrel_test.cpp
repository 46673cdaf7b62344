// The toolkit's menu bar, tool bar and rebar on a runtime window, driven in-process the
// way the main window builds and uses them: commands must arrive as menu events.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/gui.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/tovrel.h"

namespace {

constexpr int kWindow = 60;
constexpr int kMenuBar = 0;
constexpr int kToolbar = 0xCA;
constexpr int kRebar = 0x7B;
// Command ids as the program uses them.
constexpr int kNew = 0;
constexpr int kOpen = 1;
constexpr int kExit = 6;
constexpr int kBuild = 7;
constexpr int kRun = 8;

// A 16x16 32-bit top-down DIB section; *bits gets its pixels.
HBITMAP Dib16(void** bits) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 16;
  bi.bmiHeader.biHeight = -16;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

// A 16x16 icon: left half opaque in `colour`, right half transparent.
HICON MakeHalfIcon(COLORREF colour) {
  void* bits = nullptr;
  HBITMAP colourBits = Dib16(&bits);
  uint32_t* px = static_cast<uint32_t*>(bits);
  uint32_t bgr = GetBValue(colour) | (GetGValue(colour) << 8) | (GetRValue(colour) << 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) px[y * 16 + x] = x < 8 ? 0xFF000000u | bgr : 0;
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  ICONINFO ii = {TRUE, 0, 0, mask, colourBits};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(colourBits);
  DeleteObject(mask);
  return icon;
}

HWND VisiblePopupMenu() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[32];
        if (IsWindowVisible(w) && GetClassNameW(w, cls, 32) && lstrcmpW(cls, L"#32768") == 0) {
          *reinterpret_cast<HWND*>(lp) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// What a drop-down showed while it was open.
struct DropDown {
  bool shown = false;
  HMENU menu = nullptr;
  RECT popup = {};
  std::vector<int> menuEvents;  // ids of the menu events that arrived while and after it was open
};

// The timer that watches for the popup runs inside the menu's own loop.
struct Watch {
  DropDown* seen = nullptr;
  std::function<void(HWND popup)> act;
  int ticks = 0;
  bool done = false;
} g_watch;

void CALLBACK WatchPopup(HWND w, UINT, UINT_PTR id, DWORD) {
  HWND popup = VisiblePopupMenu();
  if (!popup) {
    if (++g_watch.ticks > 60) {  // three seconds: give up, close whatever is open
      KillTimer(w, id);
      EndMenu();
      g_watch.done = true;
    }
    return;
  }
  KillTimer(w, id);
  g_watch.seen->shown = true;
  g_watch.seen->menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  GetWindowRect(popup, &g_watch.seen->popup);
  g_watch.act(popup);
  g_watch.done = true;
}

void PostClick(HWND w, const RECT& r) {
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(w, WM_LBUTTONUP, 0, at);
}

// Runs the event loop for `ms` and returns the ids of the menu events that arrived;
// `windows` gets the window number of each.
std::vector<int> MenuEventsFor(int ms, std::vector<int>* windows = nullptr) {
  std::vector<int> ids;
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (DWORD now = GetTickCount(); static_cast<int>(end - now) > 0; now = GetTickCount()) {
    if (WaitWindowEvent(static_cast<int>(end - now)) != kEventMenu) continue;
    ids.push_back(EventMenu());
    if (windows) windows->push_back(EventWindow());
  }
  return ids;
}

// The toolkit starts once per process, as in the tool.
class ToolkitStart : public ::testing::Environment {
 public:
  void SetUp() override {
    InitToolkit();
    StartToolkit();
  }
};
const ::testing::Environment* const kToolkitStart = ::testing::AddGlobalTestEnvironment(new ToolkitStart);

class TovrelSeamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The popup must not open under a pointer left anywhere by an earlier test.
    SetCursorPos(0, 0);
    ASSERT_NE(0, OpenRuntimeWindow(kWindow, 0, 0, 680, 300, "Tovrel seam", kWindowSystemMenu | kWindowScreenCentered));
    main_ = WindowHandle(kWindow);
    icon_ = MakeHalfIcon(RGB(200, 30, 30));
  }

  void TearDown() override {
    tovrel::FreeEveryComponent();
    CloseRuntimeWindow(kWindow);
    DestroyIcon(icon_);
    MenuEventsFor(50);
  }

  // The main window's frame as the program builds it.
  struct Frame {
    HWND bar = nullptr;
    HWND tools = nullptr;
    HWND rebar = nullptr;
    int allocatedButton = 0;
    int menuBand = -1;
    int toolBand = -1;
  };

  Frame BuildFrame() {
    Frame f;
    SetMenuImageSize(16, 16);
    f.bar = reinterpret_cast<HWND>(CreateMenuBar(kMenuBar, main_, UISTYLE_OFFICE2007));
    AddMenuTitle("File");
    AddMenuItem(kNew, "New...", icon_, icon_, icon_, 0);
    AddMenuItem(kOpen, "Open...", icon_, icon_, icon_, 0);
    AddMenuSeparator();
    AddMenuItem(kExit, "Exit", nullptr, nullptr, nullptr, 0);
    AddMenuTitle("Project");
    AddMenuItem(kBuild, "Build", icon_, icon_, icon_, 0);
    AddMenuItem(kRun, "Run", nullptr, nullptr, nullptr, 0);
    f.tools = reinterpret_cast<HWND>(CreateToolbar(kToolbar, main_, 16, 16, UISTYLE_OFFICE2007 | 0x800000));
    AddToolbarButton(kNew, "New", icon_, icon_, icon_, BTNS_AUTOSIZE);
    AddToolbarButton(kOpen, "Open", icon_, icon_, icon_, BTNS_AUTOSIZE);
    AddToolbarButton(kBuild, "Build", icon_, icon_, icon_, BTNS_AUTOSIZE);
    f.allocatedButton = AddToolbarButton(-1, "More", nullptr, nullptr, nullptr, BTNS_AUTOSIZE);
    f.rebar = reinterpret_cast<HWND>(CreateRebar(kRebar, main_, nullptr, UISTYLE_OFFICE2007 | RBS_VARHEIGHT, 0));
    f.menuBand = AddRebarBand(f.bar, "", 0, 100, GetMenuBarHeight(kMenuBar) - 3, nullptr, RBBS_USECHEVRON);
    f.toolBand = AddRebarBand(f.tools, "", 0, 0, 0, nullptr, RBBS_BREAK);
    return f;
  }

  // Clicks title `index` of the bar and runs the event loop while `act` works on the open
  // popup; the popup is gone when this returns.
  DropDown OpenTitle(HWND bar, int index, std::function<void(HWND popup)> act) {
    DropDown seen;
    RECT r = {};
    EXPECT_TRUE(SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    g_watch = Watch();
    g_watch.seen = &seen;
    g_watch.act = std::move(act);
    SetTimer(main_, 77, 50, WatchPopup);
    PostClick(bar, r);
    DWORD end = GetTickCount() + 5000;
    while (!g_watch.done && static_cast<int>(end - GetTickCount()) > 0)
      if (WaitWindowEvent(50) == kEventMenu) seen.menuEvents.push_back(EventMenu());
    KillTimer(main_, 77);
    for (int id : MenuEventsFor(300)) seen.menuEvents.push_back(id);
    EXPECT_EQ(nullptr, VisiblePopupMenu());
    return seen;
  }

  HWND main_ = nullptr;
  HICON icon_ = nullptr;
};

TEST_F(TovrelSeamTest, CreateAnswersTheWindowForAFreeNumberANewNumberForMinusOneAndZeroForAUsedNumber) {
  struct Kind {
    const char* name;
    std::function<intptr_t(int)> create;
    const wchar_t* windowClass;
  };
  HWND w = main_;
  const Kind kinds[] = {
      {"menu bar", [w](int n) { return CreateMenuBar(n, w, UISTYLE_OFFICE2007); }, TOOLBARCLASSNAMEW},
      {"tool bar", [w](int n) { return CreateToolbar(n, w, 16, 16, UISTYLE_OFFICE2007); }, TOOLBARCLASSNAMEW},
      {"rebar", [w](int n) { return CreateRebar(n, w, nullptr, RBS_VARHEIGHT, 0); }, REBARCLASSNAMEW},
  };
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.name);
    HWND made = reinterpret_cast<HWND>(k.create(5));
    ASSERT_TRUE(IsWindow(made));
    wchar_t cls[64] = {};
    GetClassNameW(made, cls, 64);
    EXPECT_STREQ(k.windowClass, cls);
    EXPECT_EQ(main_, GetParent(made));

    EXPECT_EQ(0, k.create(5));
    EXPECT_TRUE(IsWindow(made)) << "a refused create must leave the object holding the number";

    intptr_t first = k.create(-1), second = k.create(-1);
    EXPECT_GT(first, 0);
    EXPECT_LE(first, 0xFFFF) << "numbers are small, not handles";
    EXPECT_NE(first, second);
    EXPECT_EQ(0, k.create(static_cast<int>(first))) << "the number from -1 is in use";
    EXPECT_EQ(0, k.create(-2));
  }
  EXPECT_EQ(0, CreateMenuBar(7, nullptr, UISTYLE_OFFICE2007)) << "no window to put it on";
}

TEST_F(TovrelSeamTest, AddOperationsNeedACurrentObject) {
  EXPECT_EQ(0, AddMenuItem(kBuild, "Build", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(0, AddToolbarButton(kBuild, "Build", nullptr, nullptr, nullptr, BTNS_AUTOSIZE));
  EXPECT_EQ(0, AddRebarBand(nullptr, "", 0, 0, 20, nullptr, 0));

  // A menu bar without titles has no drop-down for items.
  ASSERT_NE(0, CreateMenuBar(kMenuBar, main_, UISTYLE_WHIDBEY));
  EXPECT_EQ(0, AddMenuItem(kBuild, "Build", nullptr, nullptr, nullptr, 0));
  AddMenuTitle("Project");
  EXPECT_EQ(1, AddMenuItem(kBuild, "Build", nullptr, nullptr, nullptr, 0));
}

TEST_F(TovrelSeamTest, CommandIdsAreUniqueAndMinusOneTakesOnesNoMenuHolds) {
  ASSERT_NE(0, CreateToolbar(kToolbar, main_, 16, 16, UISTYLE_OFFICE2007));
  HWND tools = reinterpret_cast<HWND>(CreateToolbar(kToolbar + 1, main_, 16, 16, 0));
  EXPECT_EQ(3, AddToolbarButton(3, "A", icon_, nullptr, nullptr, BTNS_AUTOSIZE));
  EXPECT_EQ(0, AddToolbarButton(3, "B", icon_, nullptr, nullptr, BTNS_AUTOSIZE)) << "id already on this tool bar";
  EXPECT_EQ(0, AddToolbarButton(0x10000, "C", nullptr, nullptr, nullptr, BTNS_AUTOSIZE)) << "ids are 16-bit";
  int allocated = AddToolbarButton(-1, "D", nullptr, nullptr, nullptr, BTNS_AUTOSIZE);
  EXPECT_GE(allocated, 0x8000) << "ids for -1 come from the top of the range";
  EXPECT_EQ(2, SendMessageW(tools, TB_BUTTONCOUNT, 0, 0));
  EXPECT_EQ(1, SendMessageW(tools, TB_COMMANDTOINDEX, allocated, 0));

  // The counter goes down by one; an item already holding the next id is skipped.
  ASSERT_NE(0, CreateMenuBar(kMenuBar, main_, UISTYLE_OFFICE2007));
  AddMenuTitle("File");
  EXPECT_EQ(1, AddMenuItem(allocated - 1, "Taken", nullptr, nullptr, nullptr, 0));
  int item = AddMenuItem(-1, "Fresh", nullptr, nullptr, nullptr, 0);
  EXPECT_NE(0, item);
  EXPECT_LT(item, allocated - 1);
  EXPECT_NE(item, AddMenuItem(-1, "Fresher", nullptr, nullptr, nullptr, 0));
}

TEST_F(TovrelSeamTest, RebarHoldsTheMenuBarAboveTheToolBarAndReportsItsHeight) {
  Frame f = BuildFrame();
  ASSERT_TRUE(IsWindow(f.bar));
  ASSERT_TRUE(IsWindow(f.tools));
  ASSERT_TRUE(IsWindow(f.rebar));
  EXPECT_EQ(0, f.menuBand);
  EXPECT_EQ(1, f.toolBand);
  ASSERT_EQ(2, SendMessageW(f.rebar, RB_GETBANDCOUNT, 0, 0));

  REBARBANDINFOW menuBand = {}, toolBand = {};
  for (REBARBANDINFOW* b : {&menuBand, &toolBand}) {
    b->cbSize = sizeof(*b);
    b->fMask = RBBIM_CHILD | RBBIM_STYLE | RBBIM_CHILDSIZE;
  }
  ASSERT_TRUE(SendMessageW(f.rebar, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&menuBand)));
  ASSERT_TRUE(SendMessageW(f.rebar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&toolBand)));
  EXPECT_EQ(f.bar, menuBand.hwndChild);
  EXPECT_EQ(f.tools, toolBand.hwndChild);
  EXPECT_TRUE(menuBand.fStyle & RBBS_USECHEVRON);
  EXPECT_TRUE(toolBand.fStyle & RBBS_BREAK);
  int buttonHeight = static_cast<short>(HIWORD(SendMessageW(f.tools, TB_GETBUTTONSIZE, 0, 0)));
  EXPECT_EQ(buttonHeight, static_cast<int>(toolBand.cyMinChild))
      << "a minimum height of 0 takes the tool bar's button height";
  RECT toolsClient = {};
  GetClientRect(f.tools, &toolsClient);
  EXPECT_GE(toolsClient.bottom, buttonHeight) << "the hosted tool bar has room for its buttons (no divider)";

  RECT menuRect = {}, toolRect = {};
  SendMessageW(f.rebar, RB_GETRECT, 0, reinterpret_cast<LPARAM>(&menuRect));
  SendMessageW(f.rebar, RB_GETRECT, 1, reinterpret_cast<LPARAM>(&toolRect));
  EXPECT_LE(menuRect.bottom, toolRect.top) << "the tool bar starts a row below the menu bar";

  int height = GetRebarHeight(kRebar);
  EXPECT_GT(height, 0);
  EXPECT_EQ(height, GetRebarHeight(reinterpret_cast<intptr_t>(f.rebar)));
  EXPECT_EQ(height, static_cast<int>(SendMessageW(f.rebar, RB_GETROWHEIGHT, 0, 0) +
                                     SendMessageW(f.rebar, RB_GETROWHEIGHT, 1, 0)))
      << "the rebar is as tall as its two rows";
  EXPECT_GE(height, static_cast<int>(menuBand.cyMinChild + toolBand.cyMinChild));
  RECT rebarRect = {};
  GetClientRect(f.rebar, &rebarRect);
  EXPECT_EQ(height, rebarRect.bottom);
  EXPECT_EQ(WindowClientWidth(kWindow), rebarRect.right);
  EXPECT_EQ(0, GetRebarHeight(4242));
  EXPECT_EQ(0, GetRebarHeight(reinterpret_cast<intptr_t>(main_))) << "a window that is no rebar";

  int barHeight = GetMenuBarHeight(kMenuBar);
  EXPECT_GT(barHeight, 0);
  EXPECT_EQ(barHeight, GetMenuBarHeight(reinterpret_cast<intptr_t>(f.bar)));
  EXPECT_EQ(0, GetMenuBarHeight(4242));
}

TEST_F(TovrelSeamTest, ToolBarClickArrivesAsMenuEventWithTheButtonsId) {
  Frame f = BuildFrame();
  for (int id : {kNew, kBuild, f.allocatedButton}) {
    SCOPED_TRACE(id);
    RECT r = {};
    ASSERT_TRUE(SendMessageW(f.tools, TB_GETRECT, id, reinterpret_cast<LPARAM>(&r)));
    PostClick(f.tools, r);
    std::vector<int> windows;
    EXPECT_EQ(std::vector<int>{id}, MenuEventsFor(500, &windows));
    EXPECT_EQ(std::vector<int>{kWindow}, windows);
  }
}

TEST_F(TovrelSeamTest, TitleClickDropsItsMenuDownBelowTheTitleAndIsNoCommandItself) {
  Frame f = BuildFrame();
  DropDown file = OpenTitle(f.bar, 0, [](HWND) { EndMenu(); });
  ASSERT_TRUE(file.shown) << "no popup window of class #32768 appeared";
  EXPECT_TRUE(file.menuEvents.empty()) << "the title's own id arrived as a command";

  RECT title = {};
  SendMessageW(f.bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&title));
  MapWindowPoints(f.bar, nullptr, reinterpret_cast<POINT*>(&title), 2);
  EXPECT_NEAR(title.bottom, file.popup.top, 3);
  EXPECT_NEAR(title.left, file.popup.left, 3);
  TBBUTTON button = {};
  ASSERT_TRUE(SendMessageW(f.bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button)));
  EXPECT_EQ(0, SendMessageW(f.bar, TB_ISBUTTONPRESSED, button.idCommand, 0)) << "the title stayed pressed";

  ASSERT_NE(nullptr, file.menu);
  ASSERT_EQ(4, GetMenuItemCount(file.menu));
  const struct {
    int position;
    int id;
    bool picture;
  } items[] = {{0, kNew, true}, {1, kOpen, true}, {3, kExit, false}};
  for (const auto& item : items) {
    SCOPED_TRACE(item.id);
    EXPECT_EQ(static_cast<UINT>(item.id), GetMenuItemID(file.menu, item.position));
    MENUITEMINFOW mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_BITMAP;
    ASSERT_TRUE(GetMenuItemInfoW(file.menu, item.position, TRUE, &mi));
    EXPECT_EQ(item.picture ? HBMMENU_CALLBACK : nullptr, mi.hbmpItem);
  }
  EXPECT_TRUE(GetMenuState(file.menu, 2, MF_BYPOSITION) & MF_SEPARATOR);

  DropDown project = OpenTitle(f.bar, 1, [](HWND) { EndMenu(); });
  ASSERT_TRUE(project.shown);
  EXPECT_NE(file.menu, project.menu);
  EXPECT_EQ(static_cast<UINT>(kBuild), GetMenuItemID(project.menu, 0));
  EXPECT_TRUE(project.menuEvents.empty());
}

TEST_F(TovrelSeamTest, ChosenMenuItemArrivesAsMenuEventWithItsId) {
  Frame f = BuildFrame();
  const struct {
    int title;
    int downs;
    int id;
  } cases[] = {{0, 1, kNew}, {0, 2, kOpen}, {1, 2, kRun}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    int downs = c.downs;
    DropDown d = OpenTitle(f.bar, c.title, [downs](HWND popup) {
      for (int i = 0; i < downs; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(popup, WM_CHAR, '\r', 0);
    });
    ASSERT_TRUE(d.shown);
    EXPECT_EQ(std::vector<int>{c.id}, d.menuEvents);
  }
  // As a popup menu posts it.
  PostMessageW(main_, WM_COMMAND, MAKEWPARAM(kExit, 0), 0);
  EXPECT_EQ(std::vector<int>{kExit}, MenuEventsFor(300));
}

TEST_F(TovrelSeamTest, SetMenuItemDisabledGreysAndRestoresTheItemByAnyMenuReference) {
  Frame f = BuildFrame();
  HMENU project = OpenTitle(f.bar, 1, [](HWND) { EndMenu(); }).menu;
  ASSERT_NE(nullptr, project);
  for (intptr_t ref :
       {static_cast<intptr_t>(kMenuBar), reinterpret_cast<intptr_t>(f.bar), reinterpret_cast<intptr_t>(project)}) {
    SCOPED_TRACE(ref);
    EXPECT_EQ(1, SetMenuItemDisabled(ref, kRun, 1));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED | MF_DISABLED),
              GetMenuState(project, kRun, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    EXPECT_EQ(0u, GetMenuState(project, kBuild, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(1, SetMenuItemDisabled(ref, kRun, 0));
    EXPECT_EQ(0u, GetMenuState(project, kRun, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
  }
  // Items of the first title are found too.
  EXPECT_EQ(1, SetMenuItemDisabled(kMenuBar, kNew, 1));
  EXPECT_EQ(0, SetMenuItemDisabled(kMenuBar, 5, 1)) << "no item 5";
  EXPECT_EQ(0, SetMenuItemDisabled(4242, kRun, 1)) << "no such menu";

  // A greyed item cannot be chosen.
  SetMenuItemDisabled(kMenuBar, kRun, 1);
  DropDown d = OpenTitle(f.bar, 1, [](HWND popup) {
    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_CHAR, '\r', 0);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  ASSERT_TRUE(d.shown);
  EXPECT_TRUE(d.menuEvents.empty());
}

TEST_F(TovrelSeamTest, ItemPictureKeepsTheIconsTransparencyAtTheMenuImageSize) {
  HWND bar = reinterpret_cast<HWND>(CreateMenuBar(kMenuBar, main_, UISTYLE_OFFICE2007));
  ASSERT_TRUE(IsWindow(bar));
  AddMenuTitle("Pictures");
  AddMenuItem(1, "Default size", icon_, icon_, icon_, 0);
  SetMenuImageSize(24, 24);
  AddMenuItem(2, "Larger", icon_, icon_, icon_, 0);
  HMENU menu = OpenTitle(bar, 0, [](HWND) { EndMenu(); }).menu;
  ASSERT_NE(nullptr, menu);
  const struct {
    int position;
    int size;
  } items[] = {{0, 16}, {1, 24}};
  for (const auto& item : items) {
    SCOPED_TRACE(item.size);
    MENUITEMINFOW mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_BITMAP | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(menu, item.position, TRUE, &mi));
    EXPECT_EQ(HBMMENU_CALLBACK, mi.hbmpItem) << "the owner draws the picture";
    DIBSECTION ds = {};
    ASSERT_EQ(static_cast<int>(sizeof(ds)), GetObjectW(reinterpret_cast<HBITMAP>(mi.dwItemData), sizeof(ds), &ds));
    EXPECT_EQ(item.size, ds.dsBm.bmWidth);
    EXPECT_EQ(item.size, ds.dsBm.bmHeight);
    ASSERT_EQ(32, ds.dsBm.bmBitsPixel);
    // Premultiplied BGRA: the opaque half keeps its colour, the transparent half is clear.
    const uint8_t* row = static_cast<const uint8_t*>(ds.dsBm.bmBits) + (item.size / 2) * ds.dsBm.bmWidthBytes;
    const uint8_t* opaque = row + 2 * 4;
    const uint8_t* clear = row + (item.size - 3) * 4;
    EXPECT_EQ(255, opaque[3]);
    EXPECT_NEAR(200, opaque[2], 2);
    EXPECT_NEAR(30, opaque[1], 2);
    EXPECT_EQ(0, clear[3]);
    EXPECT_EQ(0, clear[2]);
  }
}

TEST_F(TovrelSeamTest, OwnerDrawsItemPicturesOverTheMenuBackgroundPalerWhenGreyed) {
  Frame f = BuildFrame();
  SetMenuItemDisabled(kMenuBar, kOpen, 1);
  HMENU file = OpenTitle(f.bar, 0, [](HWND) { EndMenu(); }).menu;
  ASSERT_NE(nullptr, file);

  // A white 16x16 surface stands for the item's picture box.
  void* bits = nullptr;
  HBITMAP surface = Dib16(&bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, surface);
  const uint8_t* px = static_cast<const uint8_t*>(bits);
  auto pixel = [&](int x, int y) { return px + (y * 16 + x) * 4; };

  const struct {
    int position;
    int minRed, maxRed;  // red of the opaque half, whose green starts at 30
    int minGreen, maxGreen;
  } items[] = {{0, 195, 205, 25, 35}, {1, 200, 255, 120, 200}};
  for (const auto& item : items) {
    SCOPED_TRACE(item.position);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    MENUITEMINFOW mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_DATA | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(file, item.position, TRUE, &mi));
    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_MENU;
    di.itemID = mi.wID;
    di.itemAction = ODA_DRAWENTIRE;
    di.hwndItem = reinterpret_cast<HWND>(file);
    di.hDC = dc;
    di.rcItem = all;
    di.itemData = mi.dwItemData;
    EXPECT_TRUE(SendMessageW(main_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di)));
    GdiFlush();
    EXPECT_GE(pixel(3, 8)[2], item.minRed);
    EXPECT_LE(pixel(3, 8)[2], item.maxRed);
    EXPECT_GE(pixel(3, 8)[1], item.minGreen);
    EXPECT_LE(pixel(3, 8)[1], item.maxGreen);
    const uint8_t* clear = pixel(12, 8);
    EXPECT_EQ(255, clear[0]);
    EXPECT_EQ(255, clear[1]);
    EXPECT_EQ(255, clear[2]) << "the transparent half shows the background";
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(surface);
}

TEST_F(TovrelSeamTest, FreeMenuAndShutdownReleaseTheirWindows) {
  Frame f = BuildFrame();
  EXPECT_EQ(1, FreeMenu(kMenuBar));
  EXPECT_FALSE(IsWindow(f.bar));
  EXPECT_EQ(0, FreeMenu(kMenuBar));
  EXPECT_EQ(0, GetMenuBarHeight(kMenuBar));
  EXPECT_EQ(0, SetMenuItemDisabled(kMenuBar, kRun, 1));
  // The tool bar keeps working without a menu bar on its window.
  RECT build = {};
  ASSERT_TRUE(SendMessageW(f.tools, TB_GETRECT, kBuild, reinterpret_cast<LPARAM>(&build)));
  PostClick(f.tools, build);
  EXPECT_EQ(std::vector<int>{kBuild}, MenuEventsFor(500));
  // The number is free again.
  EXPECT_NE(0, CreateMenuBar(kMenuBar, main_, UISTYLE_OFFICE2007));
  EXPECT_EQ(1, FreeMenu(-1));

  // Shutdown frees every record and destroys every window of the process, the main
  // window too; so this test comes last.
  ShutdownToolkit();
  EXPECT_FALSE(IsWindow(f.rebar));
  EXPECT_FALSE(IsWindow(f.tools));
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_EQ(0, GetRebarHeight(kRebar));
  EXPECT_EQ(0, AddToolbarButton(kBuild, "Build", nullptr, nullptr, nullptr, 0));
  HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(0, CreateRebar(kRebar, host, nullptr, RBS_VARHEIGHT, 0)) << "numbers are free after shutdown";
  tovrel::FreeEveryComponent();
  DestroyWindow(host);
}

}  // namespace
