// The control colouriser, in-process: records made on real controls of a runtime window,
// and the answers its window procedures give to the controls' colour and custom-draw
// messages, sent to the parent as the controls themselves would send them.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/colouriser/colouriser.h"
#include "common/gui.h"

namespace {

constexpr int kWindow = 40;
constexpr int kButton = 401;
constexpr int kCheck = 402;
constexpr int kEdit = 403;
constexpr int kList = 404;
constexpr int kTree = 405;
constexpr int kProgress = 406;
constexpr int kCombo = 407;
constexpr int kTabs = 408;
constexpr int kBox = 409;
constexpr int kMissing = 499;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kYellow = RGB(250, 240, 0);

int32_t C(COLORREF c) { return static_cast<int32_t>(c); }

// Whether the procedure is in the window's subclass chain, asked of comctl32 itself.
bool HasSubclass(HWND window, SUBCLASSPROC procedure) {
  using GetFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
  static const GetFn get = reinterpret_cast<GetFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "GetWindowSubclass")));
  DWORD_PTR data = 0;
  return get && get(window, procedure, kColouriserSubclass, &data);
}

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH lb = {};
  if (!brush || GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(lb), &lb) != sizeof(lb)) return CLR_INVALID;
  return lb.lbColor;
}

// What the parent answers to a control's colour message, and what it did to the DC.
struct ColourAnswer {
  LRESULT brush;
  COLORREF text;
  COLORREF background;
  int mode;
};

class ColouriserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlColouriser();
    ASSERT_NE(0, OpenRuntimeWindow(kWindow, 10, 10, 500, 400, "Colours", kWindowTitleBar | kWindowSystemMenu));
    parent_ = WindowHandle(kWindow);
    CreateButton(kButton, 10, 10, 80, 25, "Push");
    CreateCheckBox(kCheck, 100, 10, 80, 25, "Check");
    CreateTextField(kEdit, 10, 40, 150, 20, "text");
    CreateList(kList, 10, 70, 300, 120, "Name", 100);
    AddListColumn(kList, 1, "Value", 80);
    CreateTree(kTree, 320, 70, 160, 120);
    CreateProgress(kProgress, 10, 200, 200, 20, 0, 100);
    CreateCombo(kCombo, 220, 200, 150, 20);
    CreatePanel(kTabs, 10, 240, 300, 100);
    OpenPanelTab(kTabs, "One");
    ClosePanel();
    UseControlList(kWindow);
    dc_ = GetDC(parent_);
  }

  void TearDown() override {
    ReleaseDC(parent_, dc_);
    ReleaseControlColours();
    CloseRuntimeWindow(kWindow);
  }

  ColourAnswer Ask(UINT message, int control) {
    SetTextColor(dc_, RGB(1, 2, 3));
    SetBkColor(dc_, RGB(4, 5, 6));
    SetBkMode(dc_, OPAQUE);
    ColourAnswer a;
    a.brush =
        SendMessageW(parent_, message, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(ControlHandle(control)));
    a.text = GetTextColor(dc_);
    a.background = GetBkColor(dc_);
    a.mode = GetBkMode(dc_);
    return a;
  }

  // One custom-draw notification of the list, as the list sends it to its parent.
  NMLVCUSTOMDRAW ListDraw(DWORD stage, int item, int subItem, UINT state = 0, LRESULT* result = nullptr) {
    NMLVCUSTOMDRAW cd = {};
    cd.nmcd.hdr.hwndFrom = ControlHandle(kList);
    cd.nmcd.hdr.idFrom = kList;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(item);
    cd.nmcd.uItemState = state;
    cd.iSubItem = subItem;
    cd.clrText = RGB(9, 9, 9);
    cd.clrTextBk = RGB(9, 9, 9);
    LRESULT r = SendMessageW(parent_, WM_NOTIFY, kList, reinterpret_cast<LPARAM>(&cd));
    if (result) *result = r;
    return cd;
  }

  NMLVCUSTOMDRAW Cell(int item, int subItem, UINT state = 0, LRESULT* result = nullptr) {
    return ListDraw(CDDS_ITEMPREPAINT | CDDS_SUBITEM, item, subItem, state, result);
  }

  HWND parent_ = nullptr;
  HDC dc_ = nullptr;
};

TEST_F(ColouriserTest, AControlThatDoesNotExistGetsNoRecord) {
  EXPECT_EQ(0, SetControlColours(kMissing, C(kRed), C(kBlue), 0, kColourModeOwn));
  EXPECT_EQ(nullptr, FindColourRecord(kMissing));
}

TEST_F(ColouriserTest, ARecordWithModeZeroAnswersBlackOnBlackWithoutBrush) {
  EXPECT_EQ(0, SetControlColours(kButton, 0, C(RGB(255, 255, 255)), 0, 0));
  ASSERT_NE(nullptr, FindColourRecord(kButton));
  ColourAnswer a = Ask(WM_CTLCOLORBTN, kButton);
  EXPECT_EQ(0, a.brush);
  EXPECT_EQ(RGB(0, 0, 0), a.text);
  EXPECT_EQ(RGB(0, 0, 0), a.background);
  EXPECT_EQ(TRANSPARENT, a.mode);
}

TEST_F(ColouriserTest, OwnColoursAnswerTheControlsColourMessages) {
  struct Case {
    int control;
    UINT message;
    int mode;  // edits are drawn opaque, everything else transparent
  } cases[] = {
      {kEdit, WM_CTLCOLOREDIT, OPAQUE},
      {kButton, WM_CTLCOLORBTN, TRANSPARENT},
      {kCheck, WM_CTLCOLORSTATIC, TRANSPARENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    EXPECT_EQ(kColourModeOwn, SetControlColours(c.control, C(kRed), C(kBlue), 0, kColourModeOwn));
    ColourAnswer a = Ask(c.message, c.control);
    EXPECT_EQ(kBlue, BrushColour(a.brush));
    EXPECT_EQ(kRed, a.text);
    EXPECT_EQ(kBlue, a.background);
    EXPECT_EQ(c.mode, a.mode);
  }
}

TEST_F(ColouriserTest, NoneOnANewRecordMeansTheDefaultsOfTheKind) {
  struct Case {
    int control;
    UINT message;
    int text, background;
  } cases[] = {
      {kEdit, WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW},
      {kButton, WM_CTLCOLORBTN, COLOR_BTNTEXT, COLOR_BTNFACE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    SetControlColours(c.control, kColourNone, kColourNone, 0, kColourModeOwn);
    ColourAnswer a = Ask(c.message, c.control);
    EXPECT_EQ(GetSysColor(c.text), a.text);
    EXPECT_EQ(GetSysColor(c.background), a.background);
    EXPECT_EQ(GetSysColor(c.background), BrushColour(a.brush));
  }
}

TEST_F(ColouriserTest, BackgroundNoneKeepsTheBrushAndBackgroundOfTheRecord) {
  SetControlColours(kEdit, C(kRed), C(kBlue), 0, kColourModeOwn);
  LRESULT before = Ask(WM_CTLCOLOREDIT, kEdit).brush;
  SetControlColours(kEdit, C(kGreen), kColourNone, 0, kColourModeOwn);
  ColourAnswer a = Ask(WM_CTLCOLOREDIT, kEdit);
  EXPECT_EQ(before, a.brush);
  EXPECT_EQ(kBlue, BrushColour(a.brush));
  EXPECT_EQ(kBlue, a.background);
  EXPECT_EQ(kGreen, a.text);
}

TEST_F(ColouriserTest, ANewBackgroundNeverLeavesADeletedBrushBehind) {
  SetControlColours(kEdit, C(kRed), C(kBlue), 0, kColourModeOwn);
  // Selection colours set a new background but no brush of the control's own.
  SetControlColours(kEdit, kColourNone, C(kGreen), 0, kColourModeSelection);
  LRESULT brush = Ask(WM_CTLCOLOREDIT, kEdit).brush;
  EXPECT_TRUE(brush == 0 || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) == OBJ_BRUSH);
}

TEST_F(ColouriserTest, ModeBitsGrowAndANegativeModeClearsBits) {
  EXPECT_EQ(1, SetControlColours(kList, C(kRed), C(kBlue), 0, kColourModeOwn));
  EXPECT_EQ(1 | 16, SetControlColours(kList, C(kRed), C(kBlue), 0, kColourModeSelection));
  EXPECT_EQ(1, SetControlColours(kList, kColourNone, kColourNone, 0, ~kColourModeSelection));
  EXPECT_EQ(0, SetControlColours(kList, kColourNone, kColourNone, 0, 0x100));  // above 128: a mask too
}

TEST_F(ColouriserTest, ParentsAnswerForUnrecordedControlsAsBefore) {
  SetControlFrontColour(kCheck, kGreen);  // the runtime's own colour for the check box
  SetControlColours(kButton, C(kRed), C(kBlue), 0, kColourModeOwn);
  EXPECT_TRUE(HasSubclass(parent_, ColouriserParentProc));
  EXPECT_EQ(kGreen, Ask(WM_CTLCOLORSTATIC, kCheck).text);
}

TEST_F(ColouriserTest, ListWithAlternatingRowsAndItsEnd) {
  for (int i = 0; i < 3; ++i) AddControlItem(kList, -1, "row\n" + std::to_string(i));
  SetControlColours(kList, C(kRed), C(kBlue), static_cast<intptr_t>(kYellow), kColourModeAlternateRows);
  EXPECT_TRUE(HasSubclass(ControlHandle(kList), ColouriserControlProc));
  LRESULT result = 0;
  ListDraw(CDDS_PREPAINT, 0, 0, 0, &result);
  EXPECT_EQ(CDRF_NOTIFYITEMDRAW, result);
  ListDraw(CDDS_ITEMPREPAINT, 0, 0, 0, &result);
  EXPECT_EQ(CDRF_NOTIFYSUBITEMDRAW, result);
  for (int item = 0; item < 3; ++item) {
    NMLVCUSTOMDRAW cd = Cell(item, 1, 0, &result);
    EXPECT_EQ(item % 2 ? kYellow : kBlue, cd.clrTextBk) << item;
    EXPECT_EQ(kRed, cd.clrText);
    EXPECT_EQ(CDRF_NEWFONT, result);
  }
  EXPECT_EQ(kBlue, static_cast<COLORREF>(SendMessageW(ControlHandle(kList), LVM_GETBKCOLOR, 0, 0)));

  // Emptying the list ends its colouring.
  ClearControlItems(kList);
  EXPECT_EQ(nullptr, FindColourRecord(kList));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE),
            static_cast<COLORREF>(SendMessageW(ControlHandle(kList), LVM_GETBKCOLOR, 0, 0)));
  EXPECT_FALSE(HasSubclass(ControlHandle(kList), ColouriserControlProc));
  NMLVCUSTOMDRAW cd = Cell(0, 0, 0, &result);
  EXPECT_EQ(CLR_DEFAULT, cd.clrTextBk);  // any list: back to the list's own colours
}

TEST_F(ColouriserTest, ListWithAlternatingColumns) {
  AddControlItem(kList, -1, "a\nb");
  SetControlColours(kList, C(kRed), C(kBlue), static_cast<intptr_t>(kYellow), kColourModeAlternateColumns);
  EXPECT_EQ(kBlue, Cell(0, 0).clrTextBk);
  EXPECT_EQ(kYellow, Cell(0, 1).clrTextBk);
}

TEST_F(ColouriserTest, NumericCellsAboveAndBelowTheirThresholds) {
  const char* const texts[] = {"12.5", "1e5", "3", "7", "abc", ""};
  for (const char* t : texts) AddControlItem(kList, -1, std::string("x\n") + t);
  SetControlColours(kList, C(kRed), C(kBlue), 0, kColourModeOwn);
  float above = 10.0f, below = 5.0f;
  int32_t aboveValues[3] = {C(kGreen), C(kYellow), 0};
  int32_t belowValues[3] = {C(kYellow), C(kGreen), 0};
  std::memcpy(&aboveValues[2], &above, sizeof(above));
  std::memcpy(&belowValues[2], &below, sizeof(below));
  SetControlColours(kList, kColourNone, kColourNone, reinterpret_cast<intptr_t>(aboveValues), kColourModeAbove);
  SetControlColours(kList, kColourNone, kColourNone, reinterpret_cast<intptr_t>(belowValues), kColourModeBelow);
  struct Expect {
    COLORREF text, background;
  } expected[] = {
      {kGreen, kYellow},  // 12.5 > 10, read as a float
      {kRed, kBlue},      // an exponent is no number
      {kYellow, kGreen},  // 3 < 5
      {kRed, kBlue},      // between the thresholds
      {kRed, kBlue},     {kRed, kBlue},
  };
  for (int i = 0; i < 6; ++i) {
    NMLVCUSTOMDRAW cd = Cell(i, 1);
    EXPECT_EQ(expected[i].text, cd.clrText) << texts[i];
    EXPECT_EQ(expected[i].background, cd.clrTextBk) << texts[i];
  }
}

TEST_F(ColouriserTest, NumericTexts) {
  struct Case {
    const char* text;
    int numeric;
  } cases[] = {{"12.5", 1}, {"-3", 1}, {"+1.", 1}, {"", 0}, {"1e5", 0}, {"1 2", 0}, {"0x1F", 0}};
  for (const Case& c : cases) EXPECT_EQ(c.numeric, IsNumericText(c.text)) << c.text;
}

TEST_F(ColouriserTest, ListSelectionColoursFollowTheFocusedItem) {
  for (int i = 0; i < 3; ++i) AddControlItem(kList, -1, "row");
  SetControlColours(kList, C(kRed), C(kBlue), 0, kColourModeOwn);
  SetControlColours(kList, C(kYellow), C(kGreen), 0, kColourModeSelection);
  LRESULT result = 0;
  NMLVCUSTOMDRAW focused = Cell(1, 0, CDIS_SELECTED | CDIS_FOCUS, &result);
  EXPECT_EQ(CDRF_NEWFONT, result);
  EXPECT_EQ(kYellow, focused.clrText);
  EXPECT_EQ(kGreen, focused.clrTextBk);
  EXPECT_EQ(0u, focused.nmcd.uItemState & CDIS_SELECTED);
  // The item that had the focus, still selected without it: the inactive colours.
  NMLVCUSTOMDRAW left = Cell(1, 0, CDIS_SELECTED, &result);
  EXPECT_EQ(CDRF_NEWFONT, result);
  EXPECT_EQ(GetSysColor(COLOR_INACTIVEBORDER), left.clrTextBk);
  EXPECT_EQ(kRed, left.clrText);
  // Another selected item just loses its selected look.
  NMLVCUSTOMDRAW other = Cell(2, 0, CDIS_SELECTED, &result);
  EXPECT_EQ(CDRF_DODEFAULT, result);
  EXPECT_EQ(0u, other.nmcd.uItemState & CDIS_SELECTED);
}

TEST_F(ColouriserTest, TreeLevelsHaveTheirOwnColoursAndDeepItemsTheBaseOnes) {
  HWND tree = ControlHandle(kTree);
  HTREEITEM items[6] = {};
  HTREEITEM parent = TVI_ROOT;
  for (int level = 0; level < 6; ++level) {
    wchar_t text[] = L"item";
    TVINSERTSTRUCTW ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = text;
    items[level] = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    parent = items[level];
  }
  SetControlColours(kTree, C(kRed), C(kBlue), 0, kColourModeOwn);
  SetControlColours(kTree, C(kGreen), C(kYellow), 0, kColourModeAlternateRows);  // level 1
  SetControlColours(kTree, C(kYellow), C(kGreen), 0, kColourModeAbove);          // level 2
  struct Expect {
    COLORREF text, background;
  } expected[] = {{kRed, kBlue}, {kGreen, kYellow}, {kYellow, kGreen}, {kRed, kBlue},  // level 3: never set
                  {kRed, kBlue}, {kRed, kBlue}};                                       // levels 4 and 5
  for (int level = 0; level < 6; ++level) {
    NMTVCUSTOMDRAW cd = {};
    cd.nmcd.hdr.hwndFrom = tree;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(items[level]);
    LRESULT result = SendMessageW(parent_, WM_NOTIFY, kTree, reinterpret_cast<LPARAM>(&cd));
    EXPECT_EQ(CDRF_NEWFONT, result);
    EXPECT_EQ(expected[level].text, cd.clrText) << level;
    EXPECT_EQ(expected[level].background, cd.clrTextBk) << level;
  }
}

TEST_F(ColouriserTest, ATransparentExtraMakesATreesColourAnswersEmpty) {
  SetControlColours(kTree, C(kRed), C(kBlue), static_cast<intptr_t>(kColourTransparent), kColourModeOwn);
  EXPECT_EQ(0, Ask(WM_CTLCOLOREDIT, kTree).brush);
}

TEST_F(ColouriserTest, ProgressBarTakesTextAsBarAndBackgroundColour) {
  SetControlColours(kProgress, C(kRed), C(kBlue), 0, kColourModeOwn);
  HWND bar = ControlHandle(kProgress);
  EXPECT_EQ(kRed, static_cast<COLORREF>(SendMessageW(bar, PBM_GETBARCOLOR, 0, 0)));
  EXPECT_EQ(kBlue, static_cast<COLORREF>(SendMessageW(bar, PBM_GETBKCOLOR, 0, 0)));
}

TEST_F(ColouriserTest, ComboBoxColoursItsOwnListUntilReleased) {
  HWND combo = ControlHandle(kCombo);
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  SetControlColours(kCombo, C(kRed), C(kBlue), 0, kColourModeOwn);
  EXPECT_TRUE(HasSubclass(combo, ColouriserChildProc));
  LRESULT brush =
      SendMessageW(combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(info.hwndList));
  EXPECT_EQ(kBlue, BrushColour(brush));
  EXPECT_EQ(kRed, GetTextColor(dc_));
  ReleaseControlColours();
  EXPECT_FALSE(HasSubclass(combo, ColouriserChildProc));
  EXPECT_EQ(nullptr, FindColourRecord(kCombo));
}

TEST_F(ColouriserTest, ATabControlsClassBrushIsPutBackWhenItsRecordGoes) {
  HWND tabs = ControlHandle(kTabs);
  LONG_PTR before = GetClassLongPtrW(tabs, GCLP_HBRBACKGROUND);
  SetControlColours(kTabs, C(kRed), C(kBlue), 0, kColourModeOwn);
  EXPECT_EQ(kBlue, BrushColour(GetClassLongPtrW(tabs, GCLP_HBRBACKGROUND)));
  EXPECT_TRUE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_OWNERDRAWFIXED);
  RemoveControlColourRecord(kTabs);
  EXPECT_EQ(before, GetClassLongPtrW(tabs, GCLP_HBRBACKGROUND));
}

// The colour a window's background is erased with, erased into a bitmap of our own.
COLORREF ErasedColour(HWND w) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetPixel(dc, 1, 1, RGB(1, 2, 3));
  SendMessageW(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  COLORREF c = GetPixel(dc, 1, 1);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return c;
}

BOOL CALLBACK CollectContainer(HWND w, LPARAM lp) {
  if (GetControlKind(GetControlClassName(w)) == kColourKindContainer)
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

// A runtime container takes its colour as the background of its class, so the container
// and every other one of the runtime (the pages of panels too) show it until the record
// goes.
TEST_F(ColouriserTest, RuntimeContainersArePaintedInTheirColourUntilTheRecordGoes) {
  UseControlList(kWindow);
  ASSERT_NE(0, CreateContainer(kBox, 320, 200, 100, 60));
  ClosePanel();
  HWND page = GetWindow(ControlHandle(kTabs), GW_CHILD);
  while (page && GetControlClassName(page) != GetControlClassName(ControlHandle(kBox)))
    page = GetWindow(page, GW_HWNDNEXT);
  ASSERT_NE(nullptr, page) << "the panel has no page";
  std::vector<HWND> containers;
  EnumChildWindows(parent_, CollectContainer, reinterpret_cast<LPARAM>(&containers));
  EXPECT_NE(containers.end(), std::find(containers.begin(), containers.end(), ControlHandle(kBox)));
  EXPECT_NE(containers.end(), std::find(containers.begin(), containers.end(), page));
  const COLORREF before = ErasedColour(page);

  EXPECT_EQ(kColourModeOwn, SetControlColours(kBox, C(kRed), C(kYellow), 0, kColourModeOwn));
  ASSERT_NE(nullptr, FindColourRecord(kBox));
  EXPECT_EQ(kColourKindContainer, FindColourRecord(kBox)->kind);
  for (HWND w : containers) EXPECT_EQ(kYellow, ErasedColour(w)) << GetControlClassName(w);

  RemoveControlColourRecord(kBox);
  for (HWND w : containers) EXPECT_EQ(before, ErasedColour(w)) << GetControlClassName(w);
}

// Each kind of control the runtime makes, coloured, shows its colours where that kind
// takes them from: its own colour settings, its class's background, or the parent's
// answers to its colour messages. A new record without colours takes the window colours
// for the controls that show text to edit or lists, the button colours for the others.
TEST_F(ColouriserTest, EveryKindOfControlTheRuntimeMakesShowsItsColours) {
  constexpr int kEditor = 410, kLabel = 411, kOption = 412;
  ASSERT_NE(0, CreateEditor(kEditor, 320, 240, 160, 60));
  ASSERT_NE(0, CreateLabel(kLabel, 10, 350, 100, 20, "Label"));
  ASSERT_NE(0, CreateOption(kOption, 120, 350, 100, 20, "Option"));
  ASSERT_NE(0, CreateContainer(kBox, 380, 10, 100, 50));
  ClosePanel();
  auto own = [](HWND w, UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    return static_cast<COLORREF>(SendMessageW(w, message, wp, lp));
  };
  auto answers = [this](UINT message, int control, int mode) {
    ColourAnswer a = Ask(message, control);
    return a.text == kRed && a.background == kBlue && BrushColour(a.brush) == kBlue && a.mode == mode;
  };
  // The colour of the editor's text, all of it selected.
  SetWindowTextW(ControlHandle(kEditor), L"Licence text");
  auto richText = [](HWND w) {
    CHARFORMATW format = {};
    format.cbSize = sizeof format;
    SendMessageW(w, EM_SETSEL, 0, -1);
    SendMessageW(w, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format.crTextColor;
  };
  struct Case {
    const char* name;
    int control;
    bool windowColours;
    std::function<bool(HWND)> shows;
  } cases[] = {
      {"push button", kButton, false, [&](HWND) { return answers(WM_CTLCOLORBTN, kButton, TRANSPARENT); }},
      {"check box", kCheck, false, [&](HWND) { return answers(WM_CTLCOLORSTATIC, kCheck, TRANSPARENT); }},
      {"option", kOption, false, [&](HWND) { return answers(WM_CTLCOLORSTATIC, kOption, TRANSPARENT); }},
      {"label", kLabel, false, [&](HWND) { return answers(WM_CTLCOLORSTATIC, kLabel, TRANSPARENT); }},
      {"text field", kEdit, true, [&](HWND) { return answers(WM_CTLCOLOREDIT, kEdit, OPAQUE); }},
      {"list", kList, true,
       [&](HWND w) { return own(w, LVM_GETBKCOLOR) == kBlue && own(w, LVM_GETTEXTBKCOLOR) == kBlue; }},
      {"tree", kTree, true, [&](HWND w) { return own(w, TVM_GETBKCOLOR) == kBlue; }},
      {"progress bar", kProgress, false,
       [&](HWND w) { return own(w, PBM_GETBARCOLOR) == kRed && own(w, PBM_GETBKCOLOR) == kBlue; }},
      {"combo box", kCombo, true,
       [&](HWND w) {
         COMBOBOXINFO info = {};
         info.cbSize = sizeof info;
         if (!GetComboBoxInfo(w, &info)) return false;
         LRESULT brush = SendMessageW(w, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc_),
                                      reinterpret_cast<LPARAM>(info.hwndList));
         return BrushColour(brush) == kBlue && GetTextColor(dc_) == kRed;
       }},
      // EM_SETBKGNDCOLOR answers the colour it replaces.
      {"editor", kEditor, true,
       [&](HWND w) {
         COLORREF background = own(w, EM_SETBKGNDCOLOR, 0, kGreen);
         own(w, EM_SETBKGNDCOLOR, 0, background);
         return background == kBlue && richText(w) == kRed;
       }},
      {"panel", kTabs, false, [&](HWND w) { return BrushColour(GetClassLongPtrW(w, GCLP_HBRBACKGROUND)) == kBlue; }},
      {"container", kBox, false, [&](HWND w) { return ErasedColour(w) == kBlue; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = ControlHandle(c.control);
    ASSERT_NE(nullptr, w);
    EXPECT_FALSE(c.shows(w)) << "coloured before its record";
    EXPECT_EQ(kColourModeOwn, SetControlColours(c.control, kColourNone, kColourNone, 0, kColourModeOwn));
    ASSERT_NE(nullptr, FindColourRecord(c.control));
    EXPECT_EQ(GetSysColor(c.windowColours ? COLOR_WINDOW : COLOR_BTNFACE),
              static_cast<COLORREF>(FindColourRecord(c.control)->background));
    SetControlColours(c.control, C(kRed), C(kBlue), 0, kColourModeOwn);
    EXPECT_TRUE(c.shows(w));
  }
}

}  // namespace
