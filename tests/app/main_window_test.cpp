// Zendrikolbar.exe's main window as a person meets it: every control of every page with its
// caption, place and start-up value, the rules that enable and disable controls as options
// change, the task pane's page switching, the language list, and the single-instance check
// at start-up. The program is started and driven from outside through the test driver.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/app_driver.h"
#include "app/main_window_layout.h"
#include "common/text.h"
#include "driver/driver.h"
#include "support/folders.h"
#include "support/waits.h"

namespace {

const char kExe[] = "Zendrikolbar.exe";
const char kTitle[] = "Zendrikolbar";
const DWORD kStartMs = 15000;  // a first Wine start of a program can be slow
const DWORD kActMs = 3000;     // how long a click may take to show its effect
const DWORD kQuitMs = 10000;   // how long a second instance may take to give up

// Ends a started program whatever a test did, so no window outlives its test.
struct Started {
  DriverProcess p;
  ~Started() {
    if (DriverRunning(p)) DriverKill(p);
    DriverRelease(&p);
  }
};

LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &r)) return -1;
  return static_cast<LRESULT>(r);
}

// Once the program answers this, it has finished the event it was busy with when it came:
// it takes messages from other threads only while it waits for its next event.
bool Sync(HWND w) { return Send(w, WM_NULL, 0, 0) == 0; }

std::vector<Column> ListColumns(HWND list) {
  std::vector<Column> cols;
  for (int i = 0, n = DriverListColumnCount(list); i < n; ++i) {
    Column c = {"<unreadable>", -1};
    DriverListColumn(list, i, &c.title, &c.width);
    cols.push_back(c);
  }
  return cols;
}

std::vector<std::string> TabTexts(HWND tab) {
  std::vector<std::string> texts;
  for (int i = 0, n = DriverTabCount(tab); i < n; ++i) {
    std::string t = "<unreadable>";
    DriverTabText(tab, i, &t);
    texts.push_back(t);
  }
  return texts;
}

struct TreeItem {
  HTREEITEM handle;
  std::string text;
  bool checked;
};

std::vector<TreeItem> TreeItems(HWND tree) {
  std::vector<TreeItem> items;
  for (HTREEITEM h = DriverTreeNext(tree, nullptr); h && items.size() < 100; h = DriverTreeNext(tree, h)) {
    TreeItem i = {h, "<unreadable>", false};
    DriverTreeItem(tree, h, &i.text, &i.checked);
    items.push_back(i);
  }
  return items;
}

// ---- finding things in the main window ------------------------------------------------

// A control by number. DriverFindControl walks the whole window each time, and the main
// window has some two hundred controls; a found control is remembered while it lives.
HWND Control(HWND main, int id) {
  static std::map<std::pair<HWND, int>, HWND> known;
  HWND& slot = known[std::make_pair(main, id)];
  if (!slot || !IsWindow(slot) || GetDlgCtrlID(slot) != id || GetAncestor(slot, GA_ROOT) != main)
    slot = DriverFindControl(main, id);
  return slot;
}

// A page panel: a tab control that is a direct child of the main window. Its number alone
// does not find it, as the pages inside the panels carry number 0 as well.
HWND Panel(HWND main, int id) {
  for (HWND w = GetWindow(main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t cls[64];
    if (GetDlgCtrlID(w) == id && GetClassNameW(w, cls, 64) && lstrcmpiW(cls, WC_TABCONTROLW) == 0) return w;
  }
  return nullptr;
}

HWND Find(HWND main, const ControlLayout& c) {
  if (c.id != kNoId) return Control(main, c.id);
  return DriverFindChild(Panel(main, c.panel), ClassOf(c.kind), c.text);
}

std::string Name(const ControlLayout& c) {
  if (c.id == kNoId) return c.text;
  char hex[16];
  snprintf(hex, sizeof(hex), "0x%X", c.id);
  return hex;
}

// The control's rectangle in its parent's client coordinates.
RECT InParent(HWND w) {
  RECT r = {};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

std::string RectText(int x, int y, int w, int h) { return RectText(RECT{x, y, x + w, y + h}); }

LONG_PTR Style(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE); }

// The task-pane item (1-based group and item) that shows a panel's tab.
void PaneItemOf(int panel, int tab, int* group, int* item) {
  for (int g = 0; g < 5; ++g)
    if (kPanels[g].id == panel) *group = g + 1;
  *item = tab + 1;
}

bool WaitVisible(HWND w, DWORD timeoutMs) {
  return WaitFor([&] { return DriverVisible(w); }, timeoutMs);
}

// Brings the page of control `id` to the front through the task pane, as a person would.
bool ShowPageOf(HWND main, int id) {
  const ControlLayout* c = LayoutOf(id);
  HWND w = Control(main, id);
  if (!c || !w) return false;
  if (DriverVisible(w)) return true;
  int group = 0, item = 0;
  PaneItemOf(c->panel, c->tab, &group, &item);
  return ClickTaskPaneItem(main, group, item) && WaitVisible(w, kActMs) && Sync(main);
}

bool WaitCheck(HWND box, int state, DWORD timeoutMs) {
  return WaitFor([&] { return DriverCheckState(box) == state; }, timeoutMs);
}

// Sets check box `id` by clicking it when it is not in `state` yet.
bool ClickCheck(HWND main, int id, int state) {
  HWND box = Control(main, id);
  if (!box) return false;
  if (DriverCheckState(box) == state) return true;
  return ShowPageOf(main, id) && DriverClick(box) && WaitCheck(box, state, kActMs) && Sync(main);
}

// Looks for a shown top-level window of process `pid`.
struct AnyWindow {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK AnyWindowProc(HWND w, LPARAM lp) {
  AnyWindow* s = reinterpret_cast<AnyWindow*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

// ---- files ------------------------------------------------------------------------------

std::wstring W(const std::string& s) { return Utf8ToWide(s); }

bool WriteFileText(const std::string& path, const std::string& content) {
  HANDLE f = CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = content.empty() || (WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                                written == content.size());
  CloseHandle(f);
  return ok;
}

// -1 when the file is missing.
long long FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(W(path).c_str(), GetFileExInfoStandard, &d)) return -1;
  return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

// A fresh folder of its own holding a copy of Zendrikolbar.exe, so files the program looks
// for beside itself (languages, the update marker) are the test's alone. Removed at the end.
struct PrivateCopy {
  std::string folder;  // with a trailing backslash
  std::string exe;

  bool Make(const char* name) {
    wchar_t temp[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, temp)) return false;
    folder = WideToUtf8(temp) + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(W(folder.substr(0, folder.size() - 1)));
    if (!CreateDirectoryW(W(folder).c_str(), nullptr)) return false;
    exe = folder + kExe;
    return CopyFileW(W(kExe).c_str(), W(exe).c_str(), FALSE) != 0;
  }
  ~PrivateCopy() {
    if (!folder.empty()) RemoveTree(W(folder.substr(0, folder.size() - 1)));
  }
};

// The Windows folder: a current folder that is certainly not the program's.
std::string ElsewhereFolder() {
  wchar_t windows[MAX_PATH] = L"";
  GetWindowsDirectoryW(windows, MAX_PATH);
  return WideToUtf8(windows);
}

// One Zendrikolbar for all tests of a fixture: each start takes a second or two.
class RunningApp : public ::testing::Test {
 protected:
  static void StartApp() {
    app_ = new Started;
    if (DriverStart(kExe, "", "", &app_->p)) main_ = DriverWaitWindow(kTitle, app_->p.id, kStartMs);
  }
  static void StopApp() {
    if (main_) {
      DWORD code = 12345;
      EXPECT_TRUE(DriverCloseAndWait(main_, app_->p, kStartMs, &code));
      EXPECT_EQ(0u, code);
    }
    delete app_;
    app_ = nullptr;
    main_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(nullptr, main_) << "Zendrikolbar did not show its window"; }

  static Started* app_;
  static HWND main_;
};
Started* RunningApp::app_ = nullptr;
HWND RunningApp::main_ = nullptr;

// Controls whose enabled state follows other controls.
const int kRuled[] = {0x27,   0x28,   0x29,   0x2D, 0x32, 0x33, 0x34, 0x35, 0xC2, 0x2B, 0x2C, 0x98, 0x99,
                      0x1B5F, 0x1B60, 0x1B62, 0x30, 0xAF, 0xC5, 0xBA, 0xCE, 0xCF, 0x39, 0xC6, 0x3F, 0xC7};

std::set<int> EnabledRuled(HWND main) {
  std::set<int> on;
  for (int id : kRuled)
    if (DriverEnabled(Control(main, id))) on.insert(id);
  return on;
}

// The window as it is after start-up, untouched: tests here only look.
class StartUpTest : public RunningApp {
 protected:
  static void SetUpTestSuite() { StartApp(); }
  static void TearDownTestSuite() { StopApp(); }
};

TEST_F(StartUpTest, WindowHasFixedSizeTitleAndMinimizeBoxOnly) {
  EXPECT_EQ(kTitle, DriverText(main_));
  RECT client = {};
  GetClientRect(main_, &client);
  EXPECT_EQ(680, client.right);
  EXPECT_EQ(524, client.bottom);
  LONG_PTR style = Style(main_);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CAPTION);
}

// The panels sit right of the task pane and below the rebar, whatever height the rebar
// has; the task pane starts where the rebar ends. Both end above the status bar.
TEST_F(StartUpTest, PagesAndTaskPaneAreLaidOutBelowTheRebar) {
  ASSERT_TRUE(Sync(main_));
  HWND rebar = DriverFindChild(main_, REBARCLASSNAMEA, nullptr);
  HWND status = DriverFindChild(main_, STATUSCLASSNAMEA, nullptr);
  HWND pane = Control(main_, 0x77);
  ASSERT_NE(nullptr, rebar);
  ASSERT_NE(nullptr, status);
  ASSERT_NE(nullptr, pane);
  int rebarHeight = static_cast<int>(Send(rebar, RB_GETBARHEIGHT, 0, 0));
  ASSERT_GT(rebarHeight, 0);
  RECT client = {}, statusRect = {};
  GetClientRect(main_, &client);
  GetWindowRect(status, &statusRect);
  int statusHeight = statusRect.bottom - statusRect.top;
  for (const PanelLayout& p : kPanels) {
    SCOPED_TRACE(p.id);
    HWND panel = Panel(main_, p.id);
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(RectText(175, rebarHeight + 5, 505, client.bottom - rebarHeight - statusHeight - 5),
              RectText(InParent(panel)));
  }
  RECT paneRect = InParent(pane);
  EXPECT_EQ(rebarHeight, paneRect.top);
  EXPECT_EQ(client.bottom - rebarHeight - statusHeight, paneRect.bottom - paneRect.top);
}

TEST_F(StartUpTest, PanelsHaveTheirTabsAndOnlyTheGeneralPanelShows) {
  for (const PanelLayout& p : kPanels) {
    SCOPED_TRACE(p.id);
    HWND panel = Panel(main_, p.id);
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(p.tabs, TabTexts(panel));
    EXPECT_EQ(p.id == 0, DriverVisible(panel));
    EXPECT_EQ(0, DriverTabSelection(panel));
  }
}

// The options start unchecked and the lists empty, so only the controls that need nothing
// else are enabled, before the user has done anything at all.
TEST_F(StartUpTest, EnableRulesHoldBeforeTheFirstClick) {
  ASSERT_TRUE(Sync(main_));
  EXPECT_EQ(std::set<int>({0x27, 0x28, 0x2D}), EnabledRuled(main_));
  EXPECT_FALSE(DriverEnabled(Control(main_, 0x25))) << "Delete with no language checked";
}

// Every control of every page: its kind, caption or start-up text, place on its page,
// start-up state and the style bits a user notices.
TEST_F(StartUpTest, EveryControlOfThePages) {
  std::map<std::pair<int, int>, HWND> pageOf;  // (panel, tab) -> the page its controls share
  for (const ControlLayout& c : kControls) {
    SCOPED_TRACE(Name(c));
    HWND w = Find(main_, c);
    ASSERT_NE(nullptr, w) << "control missing";
    wchar_t cls[64] = L"";
    GetClassNameW(w, cls, 64);
    EXPECT_EQ(0, lstrcmpiW(cls, W(ClassOf(c.kind)).c_str())) << WideToUtf8(cls);

    // Its page belongs to its panel and holds the other controls of the same tab only.
    HWND page = GetParent(w);
    EXPECT_EQ(Panel(main_, c.panel), GetParent(page));
    auto key = std::make_pair(c.panel, c.tab);
    auto known = pageOf.find(key);
    if (known == pageOf.end()) {
      for (const auto& other : pageOf) EXPECT_NE(page, other.second) << "shares a page with another tab";
      pageOf[key] = page;
    } else {
      EXPECT_EQ(known->second, page) << "not on the page of its tab";
    }

    RECT at = InParent(w);
    if (c.kind == Kind::Combo) {
      // A drop-down list's closed height follows its font: a pixel or two more is fine.
      EXPECT_EQ(RectText(c.x, c.y, c.w, c.h), RectText(RECT{at.left, at.top, at.right, at.top + c.h}));
      EXPECT_GE(at.bottom - at.top, c.h);
      EXPECT_LE(at.bottom - at.top, c.h + 3);
    } else {
      EXPECT_EQ(RectText(c.x, c.y, c.w, c.h), RectText(at));
    }
    if (c.text) {
      EXPECT_EQ(c.text, DriverText(w));
    }
    if (c.state != kNoState) {
      EXPECT_EQ(c.state == 1 ? BST_CHECKED : BST_UNCHECKED, DriverCheckState(w));
    }

    LONG_PTR style = Style(w);
    EXPECT_EQ((c.flags & kHidden) != 0, !(style & WS_VISIBLE)) << "hidden";
    if (c.flags & kDisabled) {
      EXPECT_FALSE(DriverEnabled(w)) << "must be disabled";
    }
    LONG_PTR type = style & BS_TYPEMASK;
    switch (c.kind) {
      case Kind::Push:
      case Kind::Picture:
        EXPECT_TRUE(type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) << type;
        if (c.kind == Kind::Picture) {
          LRESULT icon = Send(w, BM_GETIMAGE, IMAGE_ICON, 0);
          LRESULT bitmap = Send(w, BM_GETIMAGE, IMAGE_BITMAP, 0);
          EXPECT_TRUE((style & (BS_ICON | BS_BITMAP)) && (icon > 0 || bitmap > 0)) << "no picture";
        } else {
          EXPECT_FALSE(style & (BS_ICON | BS_BITMAP));
        }
        break;
      case Kind::Check:
      case Kind::Toggle:
        EXPECT_EQ(BS_AUTOCHECKBOX, type);
        EXPECT_EQ(c.kind == Kind::Toggle, (style & BS_PUSHLIKE) != 0) << "push-like";
        break;
      case Kind::Option:
        EXPECT_EQ(BS_AUTORADIOBUTTON, type);
        break;
      case Kind::Group:
        EXPECT_EQ(BS_GROUPBOX, type);
        break;
      case Kind::Edit:
        EXPECT_EQ((c.flags & kDigits) != 0, (style & ES_NUMBER) != 0) << "digits only";
        break;
      case Kind::Rich:
        EXPECT_EQ((c.flags & kReadOnly) != 0, (style & ES_READONLY) != 0) << "read-only";
        break;
      case Kind::Tree:
        EXPECT_TRUE(style & TVS_CHECKBOXES);
        EXPECT_FALSE(style & (TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT));
        break;
      case Kind::Progress:
        EXPECT_EQ(0, Send(w, PBM_GETRANGE, TRUE, 0));
        EXPECT_EQ(10, Send(w, PBM_GETRANGE, FALSE, 0));
        EXPECT_EQ(0, Send(w, PBM_GETPOS, 0, 0));
        break;
      default:
        break;
    }
  }
}

TEST_F(StartUpTest, ListsHaveTheirColumnsAndNoRows) {
  for (const ListLayout& l : kLists) {
    SCOPED_TRACE(l.id);
    HWND list = Control(main_, l.id);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(l.columns, ListColumns(list));
    EXPECT_EQ(0, DriverListCount(list));
    LONG_PTR style = Style(list);
    EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
    EXPECT_EQ(l.severalRows, !(style & LVS_SINGLESEL)) << "several rows selectable";
    EXPECT_EQ(l.keepsSelection, (style & LVS_SHOWSELALWAYS) != 0) << "selection shown without focus";
    EXPECT_TRUE(Send(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  }
}

TEST_F(StartUpTest, CombosHaveTheirEntriesAndSelection) {
  for (const ComboLayout& c : kCombos) {
    SCOPED_TRACE(c.id);
    HWND combo = Control(main_, c.id);
    ASSERT_NE(nullptr, combo);
    std::vector<std::string> entries;
    for (int i = 0, n = DriverComboCount(combo); i < n; ++i) {
      std::string t;
      EXPECT_TRUE(DriverComboItem(combo, i, &t));
      entries.push_back(t);
    }
    EXPECT_EQ(c.entries, entries);
    EXPECT_EQ(c.selected, DriverComboSelection(combo));
    EXPECT_EQ(CBS_DROPDOWNLIST, Style(combo) & 3) << "a list to choose from, not a field to type into";
  }
}

// A window that is worked on: clicks change options, the task pane changes pages.
class InteractionTest : public RunningApp {
 protected:
  static void SetUpTestSuite() { StartApp(); }
  static void TearDownTestSuite() { StopApp(); }
};

struct PaneCase {
  int group, item;
  int panel, tab;
  int shows;  // a control of that page
};
const PaneCase kPaneCases[] = {
    {1, 1, 0x00, 0, 0x04}, {1, 2, 0x00, 1, 0x07}, {1, 3, 0x00, 2, 0x23}, {2, 1, 0x4D, 0, 0x2D}, {2, 2, 0x4D, 1, 0xA0},
    {2, 3, 0x4D, 2, 0x36}, {2, 4, 0x4D, 3, 0xB8}, {2, 5, 0x4D, 4, 0xCC}, {3, 1, 0x4C, 0, 0x96}, {3, 2, 0x4C, 1, 0x1A},
    {3, 3, 0x4C, 2, 0x27}, {4, 1, 0x4E, 0, 0x37}, {4, 2, 0x4E, 1, 0x3A}, {5, 1, 0x4F, 0, 0x48},
};

TEST_F(InteractionTest, EachTaskPaneItemShowsItsPanelAndTab) {
  for (const PaneCase& c : kPaneCases) {
    SCOPED_TRACE(std::to_string(c.group) + "/" + std::to_string(c.item));
    ASSERT_TRUE(ClickTaskPaneItem(main_, c.group, c.item));
    HWND shows = Control(main_, c.shows);
    EXPECT_TRUE(WaitVisible(shows, kActMs)) << "the page did not come up";
    ASSERT_TRUE(Sync(main_));
    for (const PanelLayout& p : kPanels) EXPECT_EQ(p.id == c.panel, DriverVisible(Panel(main_, p.id))) << p.id;
    EXPECT_EQ(c.tab, DriverTabSelection(Panel(main_, c.panel)));
    for (const PaneCase& other : kPaneCases) {
      if (other.shows != c.shows) {
        EXPECT_FALSE(DriverVisible(Control(main_, other.shows))) << other.shows;
      }
    }
  }
}

struct Action {
  enum Type {
    kClick,   // clicks check box `id` until its state is `a`
    kLoaded,  // puts check box `id` in state `a` without an event, as an opened project does
    kSelect,  // fills the licence editor and selects characters a..b
  } type;
  int id;
  int a, b;
};

struct RuleCase {
  const char* name;
  std::vector<Action> actions;
  std::set<int> enabled;  // of kRuled; the others must be disabled
};

const int kLicence = 0x1A;

// Run in order on one window: each case starts where the one before ended. The lists have
// no rows (rows come from dialogs), so their Remove and Edit buttons stay disabled.
const RuleCase kRuleCases[] = {
    {"start-up", {}, {0x27, 0x28, 0x2D}},
    {"run program checked", {{Action::kClick, 0x27, 1, 0}}, {0x27, 0x29, 0x2D}},
    {"reboot checked instead", {{Action::kClick, 0x27, 0, 0}, {Action::kClick, 0x28, 1, 0}}, {0x28, 0x2D}},
    {"both checked, as a project may hold them", {{Action::kLoaded, 0x27, 1, 0}}, {0x27, 0x28, 0x29, 0x2D}},
    {"reboot cleared, run stays", {{Action::kClick, 0x28, 0, 0}}, {0x27, 0x29, 0x2D}},
    {"run cleared", {{Action::kClick, 0x27, 0, 0}}, {0x27, 0x28, 0x2D}},
    {"zip file used", {{Action::kClick, 0x31, 1, 0}}, {0x27, 0x28, 0x32, 0x33}},
    {"zip file not used", {{Action::kClick, 0x31, 0, 0}}, {0x27, 0x28, 0x2D}},
    {"uninstaller included", {{Action::kClick, 0x36, 1, 0}}, {0x27, 0x28, 0x2D, 0x34, 0xC2}},
    {"website visited too", {{Action::kClick, 0x34, 1, 0}}, {0x27, 0x28, 0x2D, 0x34, 0x35, 0xC2}},
    {"uninstaller left out, website box still checked", {{Action::kClick, 0x36, 0, 0}}, {0x27, 0x28, 0x2D}},
    {"dll loaded", {{Action::kClick, 0x2A, 1, 0}}, {0x27, 0x28, 0x2D, 0x2B, 0x2C}},
    {"dll not loaded", {{Action::kClick, 0x2A, 0, 0}}, {0x27, 0x28, 0x2D}},
    {"sound played", {{Action::kClick, 0x9E, 1, 0}}, {0x27, 0x28, 0x2D, 0x98, 0x99}},
    {"sound not played", {{Action::kClick, 0x9E, 0, 0}}, {0x27, 0x28, 0x2D}},
    {"licence text selected", {{Action::kSelect, kLicence, 0, 7}}, {0x27, 0x28, 0x2D, 0x1B5F, 0x1B60, 0x1B62}},
    {"licence selection empty", {{Action::kSelect, kLicence, 3, 3}}, {0x27, 0x28, 0x2D}},
};

// An event that changes nothing: the page of control `id` chosen again in the task pane.
bool Nudge(HWND main, int id) {
  const ControlLayout* c = LayoutOf(id);
  int group = 0, item = 0;
  PaneItemOf(c->panel, c->tab, &group, &item);
  return ClickTaskPaneItem(main, group, item) && Sync(main);
}

bool Act(HWND main, const Action& a) {
  HWND w = Control(main, a.id);
  if (!w || !ShowPageOf(main, a.id)) return false;
  switch (a.type) {
    case Action::kClick:
      return ClickCheck(main, a.id, a.a);
    case Action::kLoaded:
      return Send(w, BM_SETCHECK, a.a ? BST_CHECKED : BST_UNCHECKED, 0) == 0 && Nudge(main, a.id);
    case Action::kSelect:
      return DriverSetText(w, "Licence text") && Send(w, EM_SETSEL, a.a, a.b) >= 0 && Nudge(main, a.id);
  }
  return false;
}

TEST_F(InteractionTest, EnableRulesFollowTheOptions) {
  for (int id : kRuled) ASSERT_NE(nullptr, Control(main_, id)) << id;
  for (const RuleCase& c : kRuleCases) {
    SCOPED_TRACE(c.name);
    for (const Action& a : c.actions) ASSERT_TRUE(Act(main_, a)) << "could not act on " << a.id;
    ASSERT_TRUE(Sync(main_));
    ULONGLONG deadline = GetTickCount64() + kActMs;
    while (EnabledRuled(main_) != c.enabled && GetTickCount64() < deadline) Sleep(kDriverPollMs);
    EXPECT_EQ(c.enabled, EnabledRuled(main_));
  }
}

const int kLanguages = 0x23;
const int kDeleteLanguage = 0x25;

struct LanguageCase {
  const char* name;
  bool folder;                       // whether "Languages" exists
  std::vector<std::string> files;    // created in it
  std::vector<std::string> folders;  // created in it
  std::vector<std::string> listed;
};

const LanguageCase kLanguageCases[] = {
    {"no folder", false, {}, {}, {}},
    {"empty folder", true, {}, {}, {}},
    {"language files among others", true, {"b.zkl", "A.ZKL", "C.zkl", "c.txt", "d.zklx"}, {"e.zkl"}, {"A", "b", "C"}},
};

std::vector<std::string> Texts(const std::vector<TreeItem>& items) {
  std::vector<std::string> t;
  for (const TreeItem& i : items) t.push_back(i.text);
  return t;
}

// The languages come from the folder beside the program, wherever it was started from.
// Each case runs a private copy of the program so that its folder holds only the case's files.
TEST(LanguageListTest, ListsLanguageFilesBesideTheProgramByName) {
  for (const LanguageCase& c : kLanguageCases) {
    SCOPED_TRACE(c.name);
    PrivateCopy copy;
    ASSERT_TRUE(copy.Make("zk_languages"));
    std::string languages = copy.folder + "Languages\\";
    if (c.folder) {
      ASSERT_TRUE(CreateDirectoryW(W(languages).c_str(), nullptr));
    }
    for (const std::string& f : c.files) ASSERT_TRUE(WriteFileText(languages + f, "[Language]\r\n"));
    for (const std::string& d : c.folders) ASSERT_TRUE(CreateDirectoryW(W(languages + d).c_str(), nullptr));

    Started app;
    ASSERT_TRUE(DriverStart(copy.exe, "", ElsewhereFolder(), &app.p));
    HWND main = DriverWaitWindow(kTitle, app.p.id, kStartMs);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(ClickTaskPaneItem(main, 1, 3));
    HWND tree = Control(main, kLanguages);
    HWND erase = Control(main, kDeleteLanguage);
    ASSERT_TRUE(WaitVisible(tree, kActMs));
    ASSERT_TRUE(Sync(main));
    std::vector<TreeItem> items = TreeItems(tree);
    EXPECT_EQ(c.listed, Texts(items));
    for (const TreeItem& i : items) EXPECT_FALSE(i.checked) << i.text;
    EXPECT_FALSE(DriverEnabled(erase)) << "Delete with no language checked";

    if (!items.empty()) {
      // Checking a language enables Delete; clearing it again disables it.
      for (bool checked : {true, false}) {
        SCOPED_TRACE(checked ? "checked" : "cleared");
        ASSERT_TRUE(DriverTreeClickCheckBox(tree, items[1].handle));
        ULONGLONG deadline = GetTickCount64() + kActMs;
        while ((DriverEnabled(erase) != checked || TreeItems(tree)[1].checked != checked) &&
               GetTickCount64() < deadline)
          Sleep(kDriverPollMs);
        std::vector<TreeItem> now = TreeItems(tree);
        ASSERT_EQ(items.size(), now.size());
        for (size_t i = 0; i < now.size(); ++i) EXPECT_EQ(i == 1 && checked, now[i].checked) << now[i].text;
        EXPECT_EQ(checked, DriverEnabled(erase));
      }
    }
    DWORD code = 12345;
    EXPECT_TRUE(DriverCloseAndWait(main, app.p, kStartMs, &code));
    EXPECT_EQ(0u, code);
  }
}

// ---- mouse and keyboard ----------------------------------------------------------------

// A person's input through the system's input queue: every step must show its effect with
// no further event, as nothing else happens after a person's key or click.
class UserInputTest : public RunningApp {
 protected:
  static void SetUpTestSuite() { StartApp(); }
  static void TearDownTestSuite() { StopApp(); }
};

struct InputStep {
  const char* name;
  std::function<bool()> act;
  bool on;  // what the step leaves: a selection, a check mark
};

const int kEditorCommands[] = {0x1B5F, 0x1B60, 0x1B62};  // Cut, Copy, Delete

TEST_F(UserInputTest, SelectingLicenceTextByKeyboardOrMouseSetsCutCopyAndDelete) {
  HWND editor = Control(main_, kLicence);
  ASSERT_TRUE(ShowPageOf(main_, kLicence));
  ASSERT_TRUE(DriverSetText(editor, "Licence text"));
  ASSERT_TRUE(DriverBringToFront(main_));
  RECT client = {};
  GetClientRect(editor, &client);
  // Points on the first line: before its text and, far enough apart that two clicks are
  // no double click, after it.
  const POINT start = {4, 10};
  const POINT end = {client.right - 30, 10};
  const POINT beyond = {client.right - 60, 10};
  const InputStep steps[] = {
      {"click after the text", [&] { return DriverMouseClick(editor, end); }, false},
      {"shift+left", [] { return DriverKey(VK_LEFT, true) && DriverKey(VK_LEFT, true); }, true},
      {"left", [] { return DriverKey(VK_LEFT); }, false},
      {"shift+home", [] { return DriverKey(VK_HOME, true); }, true},
      {"click after the text again", [&] { return DriverMouseClick(editor, beyond); }, false},
      {"drag across the line", [&] { return DriverMouseDrag(editor, start, end); }, true},
      {"right", [] { return DriverKey(VK_RIGHT); }, false},
  };
  for (const InputStep& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(step.act());
    EXPECT_TRUE(WaitFor(
        [&] {
          for (int id : kEditorCommands)
            if (DriverEnabled(Control(main_, id)) != step.on) return false;
          return true;
        },
        kActMs));
    for (int id : kEditorCommands) EXPECT_EQ(step.on, DriverEnabled(Control(main_, id))) << id;
  }
}

TEST_F(UserInputTest, CheckingALanguageBySpaceOrMouseSetsDelete) {
  HWND tree = Control(main_, kLanguages);
  HWND erase = Control(main_, kDeleteLanguage);
  ASSERT_TRUE(ShowPageOf(main_, kLanguages));
  std::vector<TreeItem> items = TreeItems(tree);
  ASSERT_FALSE(items.empty()) << "no language beside the program";
  POINT box = {};
  ASSERT_TRUE(DriverTreeCheckBoxPoint(tree, items[0].handle, &box));
  const POINT label = {box.x + 30, box.y};
  ASSERT_TRUE(DriverBringToFront(main_));
  const InputStep steps[] = {
      {"click on the name", [&] { return DriverMouseClick(tree, label); }, false},
      {"space", [] { return DriverKey(VK_SPACE); }, true},
      {"space again", [] { return DriverKey(VK_SPACE); }, false},
      {"click on the box", [&] { return DriverMouseClick(tree, box); }, true},
      {"click on the box again", [&] { return DriverMouseClick(tree, box); }, false},
  };
  for (const InputStep& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(step.act());
    EXPECT_TRUE(
        WaitFor([&] { return TreeItems(tree)[0].checked == step.on && DriverEnabled(erase) == step.on; }, kActMs));
    EXPECT_EQ(step.on, TreeItems(tree)[0].checked);
    EXPECT_EQ(step.on, DriverEnabled(erase));
  }
}

// The rebar's rows: the tool-bar band is dragged by its gripper onto the menu bar's row
// (the rebar gets lower) and back onto a row of its own.
TEST_F(UserInputTest, DraggingTheToolBarBandMovesThePagesAndTheTaskPane) {
  HWND rebar = DriverFindChild(main_, REBARCLASSNAMEA, nullptr);
  HWND pane = Control(main_, 0x77);
  ASSERT_NE(nullptr, rebar);
  ASSERT_NE(nullptr, pane);
  // The tool bar is the band that starts furthest right or lowest: the menu bar's band
  // starts the first row.
  HWND toolbar = nullptr;
  for (HWND w = GetWindow(rebar, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    RECT r = InParent(w), t = toolbar ? InParent(toolbar) : RECT{};
    if (IsWindowVisible(w) && (!toolbar || r.top > t.top || r.left > t.left)) toolbar = w;
  }
  ASSERT_NE(nullptr, toolbar);
  auto height = [&] { return static_cast<int>(Send(rebar, RB_GETBARHEIGHT, 0, 0)); };
  // The gripper is the start of the band, some 10 pixels left of the window it hosts.
  auto gripper = [&] {
    RECT r = InParent(toolbar);
    return POINT{r.left - 10, (r.top + r.bottom) / 2};
  };
  RECT bar = {};
  GetClientRect(rebar, &bar);
  ASSERT_GT(InParent(toolbar).top, 0) << "the tool bar is not on a row of its own";
  ASSERT_GE(gripper().x, 0);
  ASSERT_TRUE(DriverBringToFront(main_));

  const int tall = height();
  struct Drag {
    const char* name;
    POINT to;
    bool lower;  // the rebar is lower than at the start
  } drags[] = {
      {"onto the menu bar's row", {bar.right / 2, 4}, true},
      {"onto a row of its own", {20, bar.bottom + 10}, false},
  };
  for (const Drag& d : drags) {
    SCOPED_TRACE(d.name);
    ASSERT_TRUE(DriverMouseDrag(rebar, gripper(), d.to));
    ASSERT_TRUE(WaitFor([&] { return (height() < tall) == d.lower; }, kActMs)) << "the band did not move";
    const int now = height();
    EXPECT_TRUE(WaitFor([&] { return InParent(Panel(main_, 0)).top == now + 5 && InParent(pane).top == now; }, kActMs));
    EXPECT_EQ(now + 5, InParent(Panel(main_, 0)).top);
    EXPECT_EQ(now, InParent(pane).top);
  }
}

const char kMarker[] = "zktempexe.dat";
const char kRestartMessage[] = "You have to restart Zendrikolbar in order for the updates to take effect.";

// Waits for a second start to end, failing when it shows any window on the way.
void ExpectEndsWithoutWindow(const DriverProcess& p) {
  ULONGLONG deadline = GetTickCount64() + kQuitMs;
  bool ended = false;
  while (!ended && GetTickCount64() < deadline) {
    AnyWindow any = {p.id, nullptr};
    EnumWindows(AnyWindowProc, reinterpret_cast<LPARAM>(&any));
    EXPECT_EQ(nullptr, any.found) << "the second start showed a window";
    if (any.found) return;
    ended = DriverWaitExit(p, kDriverPollMs, nullptr);
  }
  EXPECT_TRUE(ended) << "the second start did not end";
  DWORD code = 12345;
  if (ended && DriverWaitExit(p, 0, &code)) {
    EXPECT_EQ(0u, code);
  }
}

// Only one Zendrikolbar runs at a time. The update marker beside the program is removed at
// start when it holds something; a second start that still finds one (the updater keeps it
// open) tells the user to restart, and an empty marker means nothing.
TEST(SingleInstanceTest, SecondStartEndsAndTellsAboutAPendingUpdate) {
  PrivateCopy copy;
  ASSERT_TRUE(copy.Make("zk_instance"));
  const std::string marker = copy.folder + kMarker;

  ASSERT_TRUE(WriteFileText(marker, "pending update"));
  Started first;
  ASSERT_TRUE(DriverStart(copy.exe, "", ElsewhereFolder(), &first.p));
  HWND main = DriverWaitWindow(kTitle, first.p.id, kStartMs);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(-1, FileBytes(marker)) << "a marker with content is removed at start";

  {
    SCOPED_TRACE("no marker");
    Started second;
    ASSERT_TRUE(DriverStart(copy.exe, "", ElsewhereFolder(), &second.p));
    ExpectEndsWithoutWindow(second.p);
  }
  {
    SCOPED_TRACE("empty marker");
    ASSERT_TRUE(WriteFileText(marker, ""));
    Started second;
    ASSERT_TRUE(DriverStart(copy.exe, "", ElsewhereFolder(), &second.p));
    ExpectEndsWithoutWindow(second.p);
    EXPECT_EQ(0, FileBytes(marker)) << "an empty marker stays";
  }
  {
    SCOPED_TRACE("marker the second start cannot remove");
    ASSERT_TRUE(WriteFileText(marker, "pending update"));
    // Held open without sharing deletion, as by an updater still at work.
    HANDLE held = CreateFileW(W(marker).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Started second;
    ASSERT_TRUE(DriverStart(copy.exe, "", ElsewhereFolder(), &second.p));
    std::string text;
    EXPECT_TRUE(DriverAnswerMessageBox(second.p.id, kTitle, IDOK, kStartMs, &text));
    EXPECT_EQ(kRestartMessage, text);
    DWORD code = 12345;
    EXPECT_TRUE(DriverWaitExit(second.p, kQuitMs, &code));
    EXPECT_EQ(0u, code);
    CloseHandle(held);
  }

  // The first instance was not disturbed and still ends normally.
  EXPECT_TRUE(DriverVisible(main));
  DWORD code = 12345;
  EXPECT_TRUE(DriverCloseAndWait(main, first.p, kStartMs, &code));
  EXPECT_EQ(0u, code);
  DeleteFileW(W(marker).c_str());
}

}  // namespace
