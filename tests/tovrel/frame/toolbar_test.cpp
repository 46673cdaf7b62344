// Tool bars and their buttons on hidden windows: what creation gives the control, the
// three image lists kept in step with the buttons through adds, inserts and removes, the
// text kept with its markup, button sizes, tooltips shared between tool bars, and tool-bar
// messages that only ever reach tool bars.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/image_pixels.h"
#include "toolbar_test_support.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/toolbar.h"

using namespace tovrel;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

Toolbar* RecordOf(HWND window) {
  for (Toolbar& t : ToolbarList) {
    if (t.window == window) return &t;
  }
  return nullptr;
}

ToolbarButton* ButtonRecord(HWND window, int commandId) {
  for (ToolbarButton& b : ToolbarButtonList) {
    if (b.toolbarWindow == window && b.commandId == commandId) return &b;
  }
  return nullptr;
}

size_t ButtonRecordsOf(HWND window) {
  size_t n = 0;
  for (const ToolbarButton& b : ToolbarButtonList) n += b.toolbarWindow == window;
  return n;
}

std::string ControlText(HWND window, int commandId) {
  char text[64] = {};
  SendMessageA(window, TB_GETBUTTONTEXTA, commandId, reinterpret_cast<LPARAM>(text));
  return text;
}

int ButtonCount(HWND window) { return static_cast<int>(SendMessageA(window, TB_BUTTONCOUNT, 0, 0)); }

int ButtonHeight(HWND window) { return HIWORD(SendMessageA(window, TB_GETBUTTONSIZE, 0, 0)); }

}  // namespace

TEST_F(ToolbarTest, CreationKeepsToolkitBitsOutOfTheControl) {
  struct Row {
    int flags;
    DWORD extended;
    int uiStyle;
  } rows[] = {
      {0x2800000, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_HIDECLIPPEDBUTTONS, UISTYLE_OFFICE2007},
      {0x1000000 | TBSTYLE_FLAT, TBSTYLE_EX_DRAWDDARROWS, UISTYLE_OFFICE2003},
      {0x6800000, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_HIDECLIPPEDBUTTONS, 0x4000000},
  };
  for (const Row& r : rows) {
    HWND w = reinterpret_cast<HWND>(CreateToolbar(1000 + r.uiStyle, host_, 16, 16, r.flags));
    ASSERT_TRUE(IsWindow(w)) << std::hex << r.flags;
    const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
    const LRESULT controlStyle = SendMessageA(w, TB_GETSTYLE, 0, 0);
    EXPECT_EQ(0, style & (WS_BORDER | 0x1000000 | 0x2000000 | 0x4000000)) << std::hex << r.flags << " " << style;
    EXPECT_EQ(0, controlStyle & (WS_BORDER | 0x1000000 | 0x2000000 | 0x4000000)) << std::hex << controlStyle;
    EXPECT_EQ(TBSTYLE_TOOLTIPS, style & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(TBSTYLE_TOOLTIPS, SendMessageA(w, TB_GETSTYLE, 0, 0) & TBSTYLE_TOOLTIPS);
    // Flat whatever the flags say: the toolkit draws the buttons of every tool bar.
    EXPECT_EQ(TBSTYLE_FLAT, SendMessageA(w, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    EXPECT_EQ(static_cast<LRESULT>(r.extended), SendMessageA(w, TB_GETEXTENDEDSTYLE, 0, 0)) << std::hex << r.flags;
    const Toolbar* t = RecordOf(w);
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(r.flags | TBSTYLE_TOOLTIPS, t->flags);
    EXPECT_EQ(r.uiStyle, t->uiStyle);
    EXPECT_EQ(1000 + r.uiStyle, CurrentToolbar);
    EXPECT_EQ(1000 + r.uiStyle, GetDlgCtrlID(w));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(w, TB_GETIMAGELIST, 0, 0)), t->normalImages);
    EXPECT_NE(nullptr, t->hotImages);
    EXPECT_NE(nullptr, t->disabledImages);
  }
  // A number in use makes nothing; -1 takes a new number, which names the tool bar.
  EXPECT_EQ(0, CreateToolbar(1000 + UISTYLE_OFFICE2007, host_, 16, 16, 0));
  const size_t entries = SubclassList.Size();
  const intptr_t made = CreateToolbar(-1, host_, 0, 0, 0);
  ASSERT_GT(made, 0);
  EXPECT_EQ(made, CurrentToolbar);
  HWND plain = GetToolbarWindow(made);
  ASSERT_TRUE(IsWindow(plain));
  const Toolbar* t = RecordOf(plain);
  EXPECT_EQ(nullptr, t->normalImages);
  EXPECT_EQ(nullptr, t->hotImages);
  EXPECT_EQ(nullptr, t->disabledImages);
  EXPECT_EQ(1, t->rows);
  // The host is subclassed once however many tool bars it holds.
  EXPECT_EQ(entries, SubclassList.Size());
  EXPECT_NE(nullptr, MenuFont);
  EXPECT_NE(nullptr, MenuKeyboardHookHandle);

  EXPECT_EQ(0, FreeToolbar(5));
  EXPECT_EQ(1, FreeToolbar(reinterpret_cast<intptr_t>(plain)));
  EXPECT_FALSE(IsWindow(plain));
  EXPECT_EQ(nullptr, GetToolbarWindow(made));
  EXPECT_EQ(1, FreeToolbar(-1));
  EXPECT_TRUE(ToolbarList.Empty());
  EXPECT_EQ(1, FreeToolbar(-1));
}

// The toolkit's shutdown frees tool bars with the rest, gadgets handed back.
TEST_F(ToolbarTest, ShutdownFreesEveryToolbar) {
  HWND a = reinterpret_cast<HWND>(CreateToolbar(8, host_, 16, 16, 0));
  HWND b = reinterpret_cast<HWND>(CreateToolbar(9, host_, 0, 0, 0));
  HWND edit =
      CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, host_, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(0, AddToolbarGadget(-1, edit, 0, 0, 0, 0, 0));
  ASSERT_NE(0, AddToolbarTextButton(-1, "x", 0));
  FreeEveryComponent();
  EXPECT_TRUE(ToolbarList.Empty());
  EXPECT_TRUE(ToolbarButtonList.Empty());
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(host_, GetParent(edit));
  DestroyWindow(edit);
}

// The lists drawn with the common controls the tool's manifest picks, the side-by-side
// copy, which under Wine reports 5.81 and still takes the version 6 extended styles.
TEST_F(ToolbarTest, CommonControlsOfTheManifestAndTheSystemVersion) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(7, host_, 16, 16, 0x2800000));
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH);
  EXPECT_NE(nullptr, StrStrIA(path, "\\winsxs\\")) << path;
  EXPECT_EQ(5u, ComctlVersion.major);
  EXPECT_EQ(81u, ComctlVersion.minor);
  SendMessageA(w, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
  EXPECT_EQ(TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS, SendMessageA(w, TB_GETEXTENDEDSTYLE, 0, 0));
  // The theme is taken off on Vista and later, which the pinned prefix reports.
  EXPECT_GE(OsVersionCode, 70);
}

// Each step leaves the images of button i at index i of all three lists: a letter is a
// button with its own normal, hot and disabled colours, "-" one without an image.
TEST_F(ToolbarTest, ImagesStayAtTheirButtonsIndexThroughAddsInsertsAndRemoves) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(20, host_, 16, 16, 0));
  const Toolbar* t = RecordOf(w);
  auto normal = [](char c) { return 0x200000u * (c - 'A' + 1) | 0x0000F0; };
  auto hot = [](char c) { return 0x002000u * (c - 'A' + 1) | 0xF00000; };
  auto disabled = [](char c) { return 0x000020u * (c - 'A' + 1) | 0x00F000; };
  auto id = [](char c) { return 100 + c - 'A'; };
  auto add = [&](int position, char c) {
    return InsertToolbarButton(20, position, id(c), std::string(1, c), Icon(normal(c)), Icon(hot(c)), Icon(disabled(c)),
                               0);
  };
  struct Step {
    const char* what;
    std::function<int()> run;
    const char* expected;
  } steps[] = {
      {"append A",
       [&] { return AddToolbarButton(id('A'), "A", Icon(normal('A')), Icon(hot('A')), Icon(disabled('A')), 0); }, "A"},
      {"append B", [&] { return add(-1, 'B'); }, "AB"},
      {"append C", [&] { return add(-1, 'C'); }, "ABC"},
      {"insert D at 1", [&] { return add(1, 'D'); }, "ADBC"},
      {"text at 0", [&] { return InsertToolbarTextButton(20, 0, -1, "text", 0); }, "-ADBC"},
      {"E beyond the last", [&] { return add(99, 'E'); }, "-ADBCE"},
      {"F below -1", [&] { return add(-7, 'F'); }, "F-ADBCE"},
      {"separator at 3", [&] { return InsertToolbarSeparator(20, 3); }, "F-A-DBCE"},
      {"remove position 0", [&] { return RemoveToolbarButton(20, 0, 1); }, "-A-DBCE"},
      {"remove D", [&] { return RemoveToolbarButton(20, id('D'), 0); }, "-A-BCE"},
      {"G at -1", [&] { return add(-1, 'G'); }, "-A-BCEG"},
  };
  for (const Step& s : steps) {
    ASSERT_NE(0, s.run()) << s.what;
    const std::string expected = s.expected;
    const int n = static_cast<int>(expected.size());
    ASSERT_EQ(n, ButtonCount(w)) << s.what;
    ASSERT_EQ(static_cast<size_t>(n), ButtonRecordsOf(w)) << s.what;
    for (HIMAGELIST list : {t->normalImages, t->hotImages, t->disabledImages}) {
      ASSERT_EQ(n, ImageList_GetImageCount(list)) << s.what;
    }
    for (int i = 0; i < n; ++i) {
      const char c = expected[i];
      const bool shown = c != '-';
      EXPECT_EQ(shown ? normal(c) : kWhite, ListColour(t->normalImages, i)) << s.what << " at " << i;
      EXPECT_EQ(shown ? hot(c) : kWhite, ListColour(t->hotImages, i)) << s.what << " at " << i;
      EXPECT_EQ(shown ? disabled(c) : kWhite, ListColour(t->disabledImages, i)) << s.what << " at " << i;
      TBBUTTON button = {};
      ASSERT_TRUE(SendMessageA(w, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
      EXPECT_EQ(shown ? i : I_IMAGENONE, button.iBitmap) << s.what << " at " << i;
      const ToolbarButton* record = reinterpret_cast<const ToolbarButton*>(button.dwData);
      ASSERT_NE(nullptr, record);
      EXPECT_EQ(button.idCommand, record->commandId);
      if (shown) {
        EXPECT_EQ(id(c), button.idCommand) << s.what << " at " << i;
      }
    }
  }
  EXPECT_EQ(0, RemoveToolbarButton(20, 7, 1));
  EXPECT_EQ(0, RemoveToolbarButton(20, id('D'), 0));
  EXPECT_EQ(7, ButtonCount(w));
}

namespace {
WNDPROC refusingPrevious = nullptr;
// A tool bar that refuses every new button.
LRESULT CALLBACK RefuseInserts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TB_INSERTBUTTONA) return FALSE;
  return CallWindowProcA(refusingPrevious, window, message, wParam, lParam);
}
}  // namespace

TEST_F(ToolbarTest, ARefusedButtonLeavesNoImageAndNoRecord) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(21, host_, 16, 16, UISTYLE_OFFICE2007));
  const Toolbar* t = RecordOf(w);
  ASSERT_EQ(1, AddToolbarButton(1, "one", Icon(0x0000FF), nullptr, nullptr, 0));
  ASSERT_EQ(2, AddToolbarButton(2, "two", Icon(0x00FF00), nullptr, nullptr, 0));
  refusingPrevious =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseInserts)));
  struct Row {
    const char* what;
    std::function<int()> add;
  } rows[] = {
      {"append", [&] { return AddToolbarButton(3, "three", Icon(0xFF0000), nullptr, nullptr, 0); }},
      {"insert first", [&] { return InsertToolbarButton(21, 0, 3, "three", Icon(0xFF0000), nullptr, nullptr, 0); }},
      {"separator", [&] { return InsertToolbarSeparator(21, 1); }},
      {"text", [&] { return AddToolbarTextButton(-1, "text", 0); }},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(0, r.add()) << r.what;
    EXPECT_EQ(2u, ButtonRecordsOf(w)) << r.what;
    for (HIMAGELIST list : {t->normalImages, t->hotImages, t->disabledImages}) {
      ASSERT_EQ(2, ImageList_GetImageCount(list)) << r.what;
    }
    EXPECT_EQ(0x0000FFu, ListColour(t->normalImages, 0)) << r.what;
    EXPECT_EQ(0x00FF00u, ListColour(t->normalImages, 1)) << r.what;
  }
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refusingPrevious));
  // An image the lists cannot take still gives the button its slot.
  ASSERT_EQ(4,
            AddToolbarButton(4, "four", reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x1234)), nullptr, nullptr, 0));
  EXPECT_EQ(3, ImageList_GetImageCount(t->normalImages));
  EXPECT_EQ(3, ImageList_GetImageCount(t->disabledImages));
}

// The record keeps the markup the toolkit paints; the control gets the plain text it
// measures the button by.
TEST_F(ToolbarTest, MarkupStaysInTheRecordAndThePlainTextGoesToTheControl) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(22, host_, 16, 16, 0));
  const Toolbar* t = RecordOf(w);
  const int styled = AddToolbarButton(-1, "\\bSave", Icon(0x0000FF), nullptr, nullptr, BTNS_AUTOSIZE);
  const int plain = AddToolbarButton(-1, "Save", Icon(0x0000FF), nullptr, nullptr, BTNS_AUTOSIZE);
  ASSERT_NE(0, styled);
  ASSERT_NE(0, plain);
  EXPECT_NE(styled, plain);
  EXPECT_EQ("Save", ControlText(w, styled));
  EXPECT_EQ("\\bSave", ButtonRecord(w, styled)->text);
  EXPECT_EQ(GetToolbarButtonWidth(22, plain), GetToolbarButtonWidth(22, styled));
  EXPECT_GT(GetToolbarButtonWidth(22, styled), 16);

  const uint32_t before[3] = {ListColour(t->normalImages, 0), ListColour(t->hotImages, 0),
                              ListColour(t->disabledImages, 0)};
  HANDLE keep = INVALID_HANDLE_VALUE;
  ASSERT_EQ(1, SetToolbarButton(22, styled, "\\iOpen", keep, keep, keep));
  EXPECT_EQ("Open", ControlText(w, styled));
  EXPECT_EQ("\\iOpen", ButtonRecord(w, styled)->text);
  EXPECT_EQ(before[0], ListColour(t->normalImages, 0));
  EXPECT_EQ(before[1], ListColour(t->hotImages, 0));
  EXPECT_EQ(before[2], ListColour(t->disabledImages, 0));
  EXPECT_EQ(0, SetToolbarButton(22, 4242, "x", keep, keep, keep));
  EXPECT_EQ(0, SetToolbarButton(999, styled, "x", keep, keep, keep));
}

TEST_F(ToolbarTest, SetToolbarButtonDerivesTheDisabledImageFromWhatTheButtonShows) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(23, host_, 16, 16, UISTYLE_OFFICE2003));
  const Toolbar* t = RecordOf(w);
  HICON red = Icon(0x0000FF);
  HICON green = Icon(0x00FF00);
  ASSERT_EQ(5, AddToolbarButton(5, "", red, nullptr, Icon(0x808080), 0));
  HANDLE keep = INVALID_HANDLE_VALUE;

  // Image kept, disabled 0: derived from the red image the button shows.
  HICON expected = RecolourImageForStyle(red, UISTYLE_OFFICE2003);
  HIMAGELIST probe = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
  ImageList_ReplaceIcon(probe, -1, expected);
  DestroyIcon(expected);
  ASSERT_EQ(1, SetToolbarButton(23, 5, "", keep, green, nullptr));
  EXPECT_EQ(0x0000FFu, ListColour(t->normalImages, 0));
  EXPECT_EQ(0x00FF00u, ListColour(t->hotImages, 0));
  EXPECT_EQ(ListColour(probe, 0), ListColour(t->disabledImages, 0));
  EXPECT_NE(kWhite, ListColour(t->disabledImages, 0));
  EXPECT_TRUE(ButtonRecord(w, 5)->generated);
  EXPECT_EQ(UISTYLE_OFFICE2003, ButtonRecord(w, 5)->generatedStyle);

  // Image and disabled 0: no image anywhere and nothing generated.
  ASSERT_EQ(1, SetToolbarButton(23, 5, "", nullptr, nullptr, nullptr));
  for (HIMAGELIST list : {t->normalImages, t->hotImages, t->disabledImages}) EXPECT_EQ(kWhite, ListColour(list, 0));
  EXPECT_FALSE(ButtonRecord(w, 5)->generated);
  EXPECT_EQ(0, ButtonRecord(w, 5)->generatedStyle);
  TBBUTTON button = {};
  SendMessageA(w, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
  EXPECT_EQ(I_IMAGENONE, button.iBitmap);

  // A new image shows again, through its own index.
  ASSERT_EQ(1, SetToolbarButton(23, 5, "", green, keep, keep));
  EXPECT_EQ(0x00FF00u, ListColour(t->normalImages, 0));
  SendMessageA(w, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
  EXPECT_EQ(0, button.iBitmap);
  ImageList_Destroy(probe);
}

// OFFICE tool bars get their buttons 3 pixels taller than an unstyled tool bar with the
// same buttons, once, whether the theme goes before or after the first button.
TEST_F(ToolbarTest, OfficeButtonsAreThreePixelsTallerOnce) {
  struct Row {
    const char* steps;  // a: add a button, s: add a separator, r: remove the last, t: take the theme off
  } rows[] = {{"a"}, {"aa"}, {"ta"}, {"at"}, {"tat"}, {"aat"}, {"aas"}, {"aar"}, {"aaas"}};
  int number = 30;
  for (const Row& r : rows) {
    int heights[2] = {};
    const int flags[2] = {0, UISTYLE_OFFICE2007};
    for (int k = 0; k < 2; ++k) {
      const int tb = number++;
      HWND w = reinterpret_cast<HWND>(CreateToolbar(tb, host_, 16, 16, flags[k]));
      for (const char* s = r.steps; *s; ++s) {
        if (*s == 'a') {
          ASSERT_NE(0, AddToolbarButton(-1, "Save", Icon(0xFF), nullptr, nullptr, BTNS_AUTOSIZE));
        }
        if (*s == 't') {
          ASSERT_EQ(1, RemoveToolbarTheme(tb));
        }
        if (*s == 's') {
          ASSERT_NE(0, AddToolbarSeparator());
        }
        if (*s == 'r') {
          ASSERT_EQ(1, RemoveToolbarButton(tb, ButtonCount(w) - 1, 1));
        }
      }
      heights[k] = ButtonHeight(w);
      if (k == 1) {
        EXPECT_EQ(heights[1], RecordOf(w)->buttonHeight) << r.steps;
        EXPECT_EQ(heights[1], GetToolbarButtonHeight(tb)) << r.steps;
      }
    }
    EXPECT_EQ(heights[0] + 3, heights[1]) << r.steps;
  }
  EXPECT_EQ(0, RemoveToolbarTheme(4242));

  // Why the height is given back: Wine's control sizes its buttons anew at every add and
  // forgets the taller height it was given.
  HWND plain = reinterpret_cast<HWND>(CreateToolbar(number, host_, 16, 16, 0));
  ASSERT_NE(0, AddToolbarButton(-1, "Save", Icon(0xFF), nullptr, nullptr, BTNS_AUTOSIZE));
  const int own = ButtonHeight(plain);
  SendMessageA(plain, TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(SendMessageA(plain, TB_GETBUTTONSIZE, 0, 0)), own + 3));
  ASSERT_EQ(own + 3, ButtonHeight(plain));
  ASSERT_NE(0, AddToolbarButton(-1, "Save", Icon(0xFF), nullptr, nullptr, BTNS_AUTOSIZE));
  EXPECT_EQ(own, ButtonHeight(plain));
}

TEST_F(ToolbarTest, ImageSizedToolbarFitsItsButtonsToTheImages) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(24, host_, 16, 16, 0x4000000));
  ASSERT_EQ(1, AddToolbarButton(1, "", Icon(0xFF), nullptr, nullptr, 0));
  ASSERT_EQ(2, AddToolbarButton(2, "", Icon(0xFF00), nullptr, nullptr, 0));
  EXPECT_EQ(MAKELONG(16, 16), SendMessageA(w, TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(16, RecordOf(w)->buttonHeight);
}

TEST_F(ToolbarTest, CommandIdsAreUniquePerToolbarAndFreshIdsAcrossAll) {
  HWND a = reinterpret_cast<HWND>(CreateToolbar(25, host_, 16, 16, 0));
  EXPECT_EQ(300, AddToolbarTextButton(300, "a", 0));
  EXPECT_EQ(0, AddToolbarTextButton(300, "again", 0));
  EXPECT_EQ(0, AddToolbarButton(300, "again", Icon(0xFF), nullptr, nullptr, 0));
  const int fresh = AddToolbarTextButton(-1, "fresh", 0);
  HWND b = reinterpret_cast<HWND>(CreateToolbar(26, host_, 16, 16, 0));
  EXPECT_EQ(300, AddToolbarTextButton(300, "b", 0));
  const int other = AddToolbarSeparator();
  EXPECT_NE(0, fresh);
  EXPECT_NE(0, other);
  EXPECT_NE(fresh, other);
  EXPECT_EQ(2, ButtonCount(a));
  EXPECT_EQ(2, ButtonCount(b));
  // The separator: a disabled plain button 6 pixels wide.
  EXPECT_EQ(6, GetToolbarButtonWidth(26, other));
  EXPECT_EQ(0, SendMessageA(b, TB_ISBUTTONENABLED, other, 0));
  EXPECT_EQ(1, ButtonRecord(b, other)->separator);
  // A style with BTNS_SEP adds such a separator too, whatever else is given.
  const int sep = AddToolbarButton(-1, "ignored", Icon(0xFF), nullptr, nullptr, BTNS_SEP);
  EXPECT_EQ(1, ButtonRecord(b, sep)->separator);
  EXPECT_EQ(NoButtonImage(), ButtonRecord(b, sep)->image);
  EXPECT_EQ("", ControlText(b, sep));
  // The insert family answers 0 for an unknown tool bar and leaves CurrentToolbar alone.
  EXPECT_EQ(0, InsertToolbarTextButton(4242, 0, 301, "x", 0));
  EXPECT_EQ(26, CurrentToolbar);
  EXPECT_EQ(301, InsertToolbarTextButton(25, 0, 301, "x", 0));
  EXPECT_EQ(26, CurrentToolbar);
  EXPECT_EQ(0, ToolbarInsertMode);
}

// 0 is a command id like any other: the tool's "New" button has it.
TEST_F(ToolbarTest, CommandIdZeroIsAButtonOfItsOwn) {
  HWND t = reinterpret_cast<HWND>(CreateToolbar(27, host_, 16, 16, 0));
  EXPECT_EQ(0, AddToolbarButton(0, "New", Icon(0xFF), nullptr, nullptr, BTNS_AUTOSIZE));
  EXPECT_EQ(1, AddToolbarButton(1, "Open", Icon(0xFF00), nullptr, nullptr, BTNS_AUTOSIZE));
  EXPECT_EQ(2, ButtonCount(t));
  EXPECT_EQ(0, SendMessageA(t, TB_COMMANDTOINDEX, 0, 0));
  ASSERT_NE(nullptr, ButtonRecord(t, 0));
  EXPECT_EQ("New", ControlText(t, 0));
  // A second button 0 is refused like any taken id.
  EXPECT_EQ(0, AddToolbarTextButton(0, "again", 0));
  EXPECT_EQ(2, ButtonCount(t));
}

// Why every size is the structure's own: the 32-byte size of 32-bit programs sets nothing.
TEST_F(ToolbarTest, ButtonInfoTakesOnlyItsOwnSize) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(28, host_, 16, 16, 0));
  ASSERT_EQ(70, AddToolbarTextButton(70, "x", 0));
  EXPECT_EQ(48u, sizeof(TBBUTTONINFOA));
  TBBUTTONINFOA info = {};
  info.cbSize = 32;
  info.dwMask = TBIF_SIZE;
  info.cx = 77;
  EXPECT_EQ(0, SendMessageA(w, TB_SETBUTTONINFOA, 70, reinterpret_cast<LPARAM>(&info)));
  EXPECT_NE(77, GetToolbarButtonWidth(28, 70));
  EXPECT_EQ(1, SetToolbarButtonWidth(28, 70, 77));
  EXPECT_EQ(77, GetToolbarButtonWidth(28, 70));
  EXPECT_EQ(0, SetToolbarButtonWidth(28, 71, 77));
  EXPECT_EQ(0, GetToolbarButtonWidth(28, 71));
}

TEST_F(ToolbarTest, CheckDisableAndHide) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(27, host_, 16, 16, 0));
  ASSERT_EQ(40, AddToolbarButton(40, "x", Icon(0xFF), nullptr, nullptr, BTNS_CHECK));
  EXPECT_NE(0, SetToolbarButtonChecked(27, 40, 5));
  EXPECT_NE(0, SendMessageA(w, TB_ISBUTTONCHECKED, 40, 0));
  EXPECT_NE(0, SetToolbarButtonChecked(27, 40, 0));
  EXPECT_EQ(0, SendMessageA(w, TB_ISBUTTONCHECKED, 40, 0));
  EXPECT_EQ(0, SetToolbarButtonChecked(27, 41, 1));
  EXPECT_EQ(1, DisableToolbarButton(27, 40, 1));
  EXPECT_EQ(0, SendMessageA(w, TB_ISBUTTONENABLED, 40, 0));
  EXPECT_EQ(1, DisableToolbarButton(27, 40, 0));
  EXPECT_NE(0, SendMessageA(w, TB_ISBUTTONENABLED, 40, 0));
  EXPECT_EQ(0, DisableToolbarButton(27, 41, 1));
  EXPECT_EQ(1, HideToolbarButton(27, 40, 1));
  EXPECT_NE(0, SendMessageA(w, TB_ISBUTTONHIDDEN, 40, 0));
  EXPECT_EQ(1, HideToolbarButton(27, 40, 0));
  EXPECT_EQ(0, SendMessageA(w, TB_ISBUTTONHIDDEN, 40, 0));
  EXPECT_EQ(0, HideToolbarButton(27, 41, 1));
}

TEST_F(ToolbarTest, AToolTipSharedByTwoToolbarsOutlivesEitherOne) {
  struct Row {
    const char* what;
    bool removeFirst;  // else the first tool bar is freed
  } rows[] = {{"remove", true}, {"free", false}};
  for (const Row& r : rows) {
    CreateToolbar(50, host_, 16, 16, 0);
    ASSERT_EQ(500, AddToolbarTextButton(500, "a", 0));
    CreateToolbar(51, host_, 16, 16, 0);
    ASSERT_EQ(500, AddToolbarTextButton(500, "b", 0));
    ASSERT_EQ(1, SetToolbarButtonToolTip(50, 500, "first"));
    ASSERT_EQ(1, SetToolbarButtonToolTip(51, 500, "shared"));
    EXPECT_EQ(0, SetToolbarButtonToolTip(4242, 500, "x"));
    auto tip = [] { return ToolbarToolTipList.Find([](const ToolbarToolTip& e) { return e.commandId == 500; }); };
    ASSERT_NE(nullptr, tip());
    EXPECT_EQ("shared", tip()->text) << r.what;
    EXPECT_EQ(1, r.removeFirst ? RemoveToolbarButton(50, 500, 0) : FreeToolbar(50));
    ASSERT_NE(nullptr, tip()) << r.what;
    EXPECT_EQ("shared", tip()->text) << r.what;
    EXPECT_EQ(1, RemoveToolbarButton(51, 500, 0));
    EXPECT_EQ(nullptr, tip()) << r.what;
    FreeToolbar(-1);
  }
  CreateToolbar(52, host_, 16, 16, 0);
  EXPECT_EQ(1, SetToolbarToolTipDelays(52, 100, 0, 30));
  HWND tips = reinterpret_cast<HWND>(SendMessageA(GetToolbarWindow(52), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(nullptr, tips);
  EXPECT_EQ(100, SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  EXPECT_EQ(30, SendMessageA(tips, TTM_GETDELAYTIME, TTDT_RESHOW, 0));
  EXPECT_EQ(0, SetToolbarToolTipDelays(4242, 1, 1, 1));
}

namespace {
std::vector<UINT> strayMessages;
LRESULT CALLBACK RecordStray(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < 0x8000) strayMessages.push_back(message);
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

// A tool-bar argument that names no tool bar sends nothing, even when its value is the
// handle of some other window: TB_ numbers mean other things to other classes. A freed
// tool bar whose handle is gone is no tool bar either.
TEST_F(ToolbarTest, ToolbarMessagesReachOnlyToolbars) {
  WNDCLASSEXA cls = {};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &RecordStray;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "ZkToolbarStrayProbe";
  RegisterClassExA(&cls);
  HWND other =
      CreateWindowExA(0, cls.lpszClassName, "", WS_CHILD, 0, 0, 10, 10, host_, nullptr, cls.hInstance, nullptr);
  ASSERT_NE(nullptr, other);
  CreateToolbar(60, host_, 16, 16, 0);
  ASSERT_EQ(600, AddToolbarTextButton(600, "a", 0));
  const intptr_t arg = reinterpret_cast<intptr_t>(other);
  HANDLE keep = INVALID_HANDLE_VALUE;
  strayMessages.clear();
  EXPECT_EQ(0, GetToolbarButtonHeight(arg));
  EXPECT_EQ(0, SetToolbarButtonHeight(arg, 30));
  EXPECT_EQ(0, GetToolbarButtonWidth(arg, 600));
  EXPECT_EQ(0, SetToolbarButtonWidth(arg, 600, 30));
  EXPECT_EQ(0, SetToolbarButtonChecked(arg, 600, 1));
  EXPECT_EQ(0, DisableToolbarButton(arg, 600, 1));
  EXPECT_EQ(0, HideToolbarButton(arg, 600, 1));
  EXPECT_EQ(0, RemoveToolbarButton(arg, 0, 1));
  EXPECT_EQ(0, SetToolbarButton(arg, 600, "x", keep, keep, keep));
  EXPECT_EQ(0, SetToolbarToolTipDelays(arg, 1, 1, 1));
  EXPECT_EQ(0, RemoveToolbarTheme(arg));
  EXPECT_EQ(0, InsertToolbarTextButton(arg, 0, 601, "x", 0));
  EXPECT_TRUE(strayMessages.empty()) << strayMessages.size() << " messages, first " << std::hex << strayMessages[0];
  // A record whose window died with its host answers unknown.
  DestroyWindow(GetToolbarWindow(60));
  EXPECT_EQ(0, GetToolbarButtonHeight(60));
  EXPECT_EQ(0, AddToolbarTextButton(602, "x", 0));
  DestroyWindow(other);
  UnregisterClassA(cls.lpszClassName, cls.hInstance);
}

TEST(InsertImageListIcon, MovesTheNewImageAndShiftsTheRest) {
  struct Row {
    int position;
    const char* expected;  // colours by letter after inserting Y into "RGB"
  } rows[] = {{0, "YRGB"}, {1, "RYGB"}, {2, "RGYB"}, {3, "RGBY"}, {9, "RGBY"}};
  const std::map<char, uint32_t> colours = {{'R', 0xFF0000}, {'G', 0x00FF00}, {'B', 0x0000FF}, {'Y', 0xFFFF00}};
  std::map<char, HICON> icons;
  for (const auto& c : colours) icons[c.first] = SolidIcon(c.second);
  for (const Row& r : rows) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 0);
    for (char c : std::string("RGB")) ImageList_ReplaceIcon(list, -1, icons[c]);
    ASSERT_EQ(1, InsertImageListIcon(list, icons['Y'], r.position)) << r.position;
    const std::string expected = r.expected;
    ASSERT_EQ(4, ImageList_GetImageCount(list));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(colours.at(expected[i]), ListColour(list, i)) << r.position << " at " << i;
    ImageList_Destroy(list);
  }
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 0);
  EXPECT_EQ(0, InsertImageListIcon(list, reinterpret_cast<HICON>(static_cast<intptr_t>(0x4321)), 0));
  EXPECT_EQ(0, ImageList_GetImageCount(list));
  EXPECT_EQ(0, InsertImageListIcon(nullptr, icons['Y'], 0));
  ImageList_Destroy(list);
  for (const auto& i : icons) DestroyIcon(i.second);
}

// A bitmap stands for an icon of its picture in every list.
TEST_F(ToolbarTest, BitmapImagesAreTakenAsIcons) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(29, host_, 16, 16, 0));
  uint32_t* bits = nullptr;
  HBITMAP picture = CreatePixelBitmap(16, 16, &bits);
  for (int i = 0; i < 16 * 16; ++i) bits[i] = 0xFF3060C0u;
  ASSERT_EQ(1, AddToolbarButton(1, "", picture, picture, picture, 0));
  const Toolbar* t = RecordOf(w);
  for (HIMAGELIST list : {t->normalImages, t->hotImages, t->disabledImages}) EXPECT_EQ(0x3060C0u, ListColour(list, 0));
  HANDLE keep = INVALID_HANDLE_VALUE;
  for (int i = 0; i < 16 * 16; ++i) bits[i] = 0xFF10A010u;
  ASSERT_EQ(1, SetToolbarButton(29, 1, "", picture, keep, keep));
  EXPECT_EQ(0x10A010u, ListColour(t->normalImages, 0));
  EXPECT_EQ(0x3060C0u, ListColour(t->hotImages, 0));
  DeleteObject(picture);
}
