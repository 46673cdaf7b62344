// Window tracking on real windows: the hook records and subclasses what the thread
// creates, the subclass keeps size limits and hands every message on, and shutdown gives
// the windows their own procedures back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gui.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/tracked_window_kinds.h"
#include "tovrel/foundation/window_tracking.h"

using namespace tovrel;

namespace {

constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr LRESULT kAnswer = 1234;

int gMouseMoves = 0;

// The class procedure of the test's own windows: answers one message of its own and
// counts the mouse moves that reach it.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kAnswerMessage) return kAnswer;
  if (message == WM_MOUSEMOVE) ++gMouseMoves;
  return DefWindowProcA(window, message, wParam, lParam);
}

const char kHostClass[] = "TrackingTestHost";

std::vector<std::string> gLog;
void CollectLine(const std::string& line) { gLog.push_back(line); }

const TrackedWindow* RecordOf(HWND window) { return TrackedWindowMap.Find(HandleKey(window)); }

// The window's procedure as the calls of its own character set read it.
WNDPROC ProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                                           : GetWindowLongPtrA(window, GWLP_WNDPROC));
}
WNDPROC ClassProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(IsWindowUnicode(window) ? GetClassLongPtrW(window, GCLP_WNDPROC)
                                                           : GetClassLongPtrA(window, GCLP_WNDPROC));
}
bool IsSubclassed(HWND window) {
  return ProcOf(window) == (IsWindowUnicode(window) ? TrackedWindowProcW : TrackedWindowProc);
}

RECT RectIn(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class Tracking : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA host = {};
    host.lpfnWndProc = HostProc;
    host.hInstance = GetModuleHandleA(nullptr);
    host.lpszClassName = kHostClass;
    RegisterClassA(&host);
    // The runtime registers its window and container classes with its first window.
    const int number = static_cast<int>(OpenRuntimeWindow(-1, 0, 0, 50, 50, "classes", kWindowInvisible));
    CloseRuntimeWindow(number);
    ASSERT_NE(nullptr, InstallWindowCreationHook());
  }
  void SetUp() override {
    host_ = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, host_);
  }
  void TearDown() override {
    SetDebugLogSink(nullptr);
    if (IsWindow(host_)) DestroyWindow(host_);
  }
  HWND Child(const char* className, DWORD style, int x = 10, int y = 10, int width = 150, int height = 40) {
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, host_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  HWND host_ = nullptr;
};

TEST(TrackedWindowKinds, ByClassNameParentAndStyle) {
  struct Row {
    const char* className;
    const char* parentClass;
    LONG_PTR style;
    int32_t kind;
  } rows[] = {
      {"ToolbarWindow32", "ZkRuntimeWindow", 0, kKindToolbar},
      {"ComboBox", "ZkRuntimeWindow", CBS_DROPDOWN, kKindComboBox},
      {"Edit", "ZkRuntimeWindow", 0, kKindEdit},
      {"Edit", "ComboBox", 0, kKindComboEdit},
      {"Edit", "ComboBoxEx32", 0, kKindEdit},
      {"msctls_progress32", "", 0, kKindProgress},
      {"Button", "", BS_GROUPBOX, kKindGroupBox},
      {"Button", "", BS_GROUPBOX | WS_CHILD | WS_VISIBLE, kKindGroupBox},
      {"Button", "", BS_PUSHBUTTON, kKindButton},
      {"Button", "", BS_AUTORADIOBUTTON, kKindButton},
      {"Button", "", BS_DEFCOMMANDLINK, kKindButton},  // low bits set, yet no group box
      {"ZkRuntimeContainer", "", 0, kKindContainer},
      {"SysTabControl32", "", 0, kKindTabControl},
      {"edit", "", 0, kKindOther},  // names compare exactly
      {"SysListView32", "", 0, kKindOther},
      {"", "", 0, kKindOther},  // unnamed PanelEx classes match no window
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.kind, TrackedWindowKindOf(row.className, row.parentClass, row.style))
        << row.className << " in " << row.parentClass;
  }
  PanelExClassName = "PanelExTest";
  PanelExPageClassName = "PanelExPageTest";
  EXPECT_EQ(kKindPanelEx, TrackedWindowKindOf("PanelExTest", "", 0));
  EXPECT_EQ(kKindPanelExPage, TrackedWindowKindOf("PanelExPageTest", "", 0));
  PanelExClassName.clear();
  PanelExPageClassName.clear();
}

TEST(TrackedWindowKinds, SkipList) {
  for (const char* name :
       {"#32768", "SysShadow", "tooltips_class32", "MSCTFIME UI", "CLIPBRDWNDCLASS", "CicMarshalWndClass", "IME",
        "ComboLBox", "DDEMLEvent", "Message", "Static", "GDI+ Hook Window Class"}) {
    EXPECT_TRUE(IsUntrackedClass(name)) << name;
  }
  for (const char* name : {"Edit", "Button", "static", "", "Tovrel_DropShadow"}) {
    EXPECT_FALSE(IsUntrackedClass(name)) << name;
  }
  DropShadowClassName = "Tovrel_DropShadow";
  ScrollbarBoxClassName = "Tovrel_ScrollbarBox";
  EXPECT_TRUE(IsUntrackedClass("Tovrel_DropShadow"));
  EXPECT_TRUE(IsUntrackedClass("Tovrel_ScrollbarBox"));
  EXPECT_FALSE(IsUntrackedClass(""));
  DropShadowClassName.clear();
  ScrollbarBoxClassName.clear();
}

TEST(SizeLimits, AppliedToAWindowPosition) {
  // The window now: x 50..200, y 20..70 (150 x 50).
  const RECT current = {50, 20, 200, 70};
  struct Row {
    const char* what;
    int minWidth, minHeight, maxWidth, maxHeight;
    WINDOWPOS in;
    int x, y, cx, cy;
  } rows[] = {
      {"left edge dragged past the minimum", 100, 0, 0, 0, {nullptr, nullptr, 120, 20, 80, 50, 0}, 100, 20, 100, 50},
      {"right edge dragged past the minimum", 100, 0, 0, 0, {nullptr, nullptr, 50, 20, 80, 50, 0}, 50, 20, 100, 50},
      {"within the limits", 100, 0, 0, 0, {nullptr, nullptr, 70, 20, 120, 50, 0}, 70, 20, 120, 50},
      {"left edge dragged past the maximum", 0, 0, 200, 0, {nullptr, nullptr, 0, 20, 250, 50, 0}, 50, 20, 200, 50},
      {"right edge dragged past the maximum", 0, 0, 200, 0, {nullptr, nullptr, 50, 20, 250, 50, 0}, 50, 20, 200, 50},
      {"top edge dragged past the minimum height",
       0,
       40,
       0,
       0,
       {nullptr, nullptr, 50, 40, 150, 30, 0},
       50,
       30,
       150,
       40},
      {"maximum height", 0, 0, 0, 45, {nullptr, nullptr, 50, 20, 150, 60, 0}, 50, 20, 150, 45},
      {"SWP_NOSIZE carries no size", 100, 0, 0, 0, {nullptr, nullptr, 90, 20, 0, 0, SWP_NOSIZE}, 90, 20, 0, 0},
      {"SWP_NOMOVE keeps x", 100, 0, 0, 0, {nullptr, nullptr, 0, 0, 80, 50, SWP_NOMOVE}, 0, 0, 100, 50},
      {"minimize or restore is the system's",
       100,
       0,
       0,
       0,
       {nullptr, nullptr, 120, 20, 80, 50, 0x8000},
       120,
       20,
       80,
       50},
      {"no limits", 0, 0, 0, 0, {nullptr, nullptr, 120, 20, 1, 1, 0}, 120, 20, 1, 1},
  };
  for (const Row& row : rows) {
    TrackedWindow limits{};
    limits.minWidth = row.minWidth;
    limits.minHeight = row.minHeight;
    limits.maxWidth = row.maxWidth;
    limits.maxHeight = row.maxHeight;
    WINDOWPOS pos = row.in;
    ApplySizeLimits(limits, current, pos);
    EXPECT_EQ(row.x, pos.x) << row.what;
    EXPECT_EQ(row.y, pos.y) << row.what;
    EXPECT_EQ(row.cx, pos.cx) << row.what;
    EXPECT_EQ(row.cy, pos.cy) << row.what;
  }
}

TEST_F(Tracking, EveryClassGetsItsKind) {
  struct Row {
    const char* className;
    DWORD style;
    int32_t kind;
  } rows[] = {
      {"Edit", 0, kKindEdit},
      {"Button", BS_PUSHBUTTON, kKindButton},
      {"Button", BS_GROUPBOX, kKindGroupBox},
      {"SysTabControl32", 0, kKindTabControl},
      {"msctls_progress32", 0, kKindProgress},
      {"ComboBox", CBS_DROPDOWN, kKindComboBox},
      {"ToolbarWindow32", 0, kKindToolbar},
      {"ZkRuntimeContainer", 0, kKindContainer},
      {"SysListView32", 0, kKindOther},
      {kHostClass, 0, kKindOther},
  };
  for (const Row& row : rows) {
    HWND w = Child(row.className, row.style);
    ASSERT_NE(nullptr, w) << row.className;
    const TrackedWindow* record = RecordOf(w);
    ASSERT_NE(nullptr, record) << row.className;
    EXPECT_EQ(row.kind, record->kind) << row.className;
    EXPECT_EQ(w, record->window);
    EXPECT_TRUE(IsSubclassed(w)) << row.className;
    EXPECT_NE(nullptr, record->previousProc);
    EXPECT_NE(ProcOf(w), record->previousProc);
  }
  ASSERT_NE(nullptr, RecordOf(host_));
  EXPECT_EQ(kKindOther, RecordOf(host_)->kind);
}

TEST_F(Tracking, TheEditOfAComboBoxIsAKindOfItsOwn) {
  HWND combo = Child("ComboBox", CBS_DROPDOWN, 10, 10, 150, 200);
  ASSERT_NE(nullptr, combo);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(nullptr, edit);
  ASSERT_NE(nullptr, RecordOf(edit));
  EXPECT_EQ(kKindComboEdit, RecordOf(edit)->kind);
  // Its drop-down list is the system's own and stays untouched.
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  EXPECT_EQ(nullptr, RecordOf(info.hwndList));
  EXPECT_FALSE(IsSubclassed(info.hwndList));
}

TEST_F(Tracking, SystemHelperAndMessageOnlyWindowsAreLeftAlone) {
  std::vector<HWND> windows = {
      CreateWindowExA(0, TOOLTIPS_CLASSA, "", WS_POPUP, 0, 0, 10, 10, host_, nullptr, nullptr, nullptr),
      Child("Static", SS_LEFT),
      CreateWindowExA(0, "IME", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
      CreateWindowExA(0, kHostClass, "message-only", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr),
  };
  // A child of a message-only window is no more on screen than its parent.
  windows.push_back(
      CreateWindowExA(0, kHostClass, "", WS_CHILD, 0, 0, 5, 5, windows.back(), nullptr, nullptr, nullptr));
  for (HWND w : windows) {
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(nullptr, RecordOf(w)) << HandleKey(w);
    EXPECT_EQ(ClassProcOf(w), ProcOf(w)) << HandleKey(w);
  }
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) DestroyWindow(*it);
}

TEST_F(Tracking, AToolBarLosesItsDivider) {
  HWND toolbar = Child(TOOLBARCLASSNAMEA, TBSTYLE_FLAT);
  ASSERT_NE(nullptr, toolbar);
  EXPECT_TRUE(GetWindowLongPtrA(toolbar, GWL_STYLE) & CCS_NODIVIDER);
  EXPECT_TRUE(GetWindowLongPtrA(toolbar, GWL_STYLE) & TBSTYLE_FLAT) << "the rest of the style stays";
}

TEST_F(Tracking, EachNewWindowIsLogged) {
  SetDebugLogSink(CollectLine);
  gLog.clear();
  HWND button = Child("Button", BS_PUSHBUTTON);
  ASSERT_NE(nullptr, button);
  ASSERT_NE(nullptr, RecordOf(button));
  const std::string expected = "trackwin: " + HandleKey(button) + " Button callback: " +
                               std::to_string(reinterpret_cast<intptr_t>(RecordOf(button)->previousProc));
  ASSERT_EQ(1u, gLog.size());
  EXPECT_EQ(expected, gLog[0]);
}

TEST_F(Tracking, TheRecordFollowsTheWindow) {
  HWND w = CreateWindowExA(0, kHostClass, "", WS_CHILD, 0, 0, 50, 50, host_, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(1, RecordOf(w)->isNew);
  EXPECT_EQ(nullptr, RecordOf(w)->parent);
  SetWindowPos(w, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(0, RecordOf(w)->isNew) << "cleared by the first position change";
  ShowWindow(w, SW_SHOW);
  EXPECT_EQ(host_, RecordOf(w)->parent) << "as seen when shown";
}

TEST_F(Tracking, SplitterHoverTrackingHidesMouseMovesFromTopLevelWindows) {
  HWND child = Child(kHostClass, 0);
  ASSERT_NE(nullptr, child);
  struct Row {
    int32_t tracking;
    HWND window;
    int reached;
  } rows[] = {{0, host_, 1}, {1, host_, 0}, {1, child, 1}, {0, child, 1}};
  for (const Row& row : rows) {
    SplitterHoverTracking = row.tracking;
    gMouseMoves = 0;
    SendMessageA(row.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(row.reached, gMouseMoves) << row.tracking << (row.window == host_ ? " top-level" : " child");
  }
  SplitterHoverTracking = 0;
}

TEST_F(Tracking, SizeLimitsHoldWhileTheWindowIsSized) {
  HWND w = Child(kHostClass, 0, 50, 20, 150, 50);
  ASSERT_NE(nullptr, w);
  ASSERT_EQ(1, SetWindowSizeLimits(w, 100, 0, 0, 0));
  EXPECT_EQ(100, RecordOf(w)->minWidth);
  EXPECT_EQ(0, RecordOf(w)->minHeight);
  EXPECT_EQ(0, RecordOf(w)->maxWidth);
  EXPECT_EQ(0, RecordOf(w)->maxHeight);
  EXPECT_EQ(kAnswer, SendMessageA(w, kAnswerMessage, 0, 0)) << "the record serves on";

  // The left edge dragged to make it 80 wide: 100 wide, the right edge in place.
  SetWindowPos(w, nullptr, 120, 20, 80, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r = RectIn(w);
  EXPECT_EQ(100, r.left);
  EXPECT_EQ(200, r.right);
  EXPECT_EQ(50, r.bottom - r.top);

  // A plain move keeps its size, also when it says nothing of the size.
  SetWindowPos(w, nullptr, 70, 30, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  r = RectIn(w);
  EXPECT_EQ(70, r.left);
  EXPECT_EQ(30, r.top);
  EXPECT_EQ(100, r.right - r.left);
  SetWindowPos(w, nullptr, 90, 35, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  r = RectIn(w);
  EXPECT_EQ(90, r.left);
  EXPECT_EQ(35, r.top);
  EXPECT_EQ(100, r.right - r.left);
  EXPECT_EQ(50, r.bottom - r.top);

  // A resize that asks no move keeps x.
  SetWindowPos(w, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  r = RectIn(w);
  EXPECT_EQ(90, r.left);
  EXPECT_EQ(100, r.right - r.left);
}

TEST_F(Tracking, SettingLimitsResizesAWindowOutsideThem) {
  HWND w = Child(kHostClass, 0, 30, 40, 80, 50);
  ASSERT_NE(nullptr, w);
  ASSERT_EQ(1, SetWindowSizeLimits(w, 100, 0, 0, 0));
  RECT r = RectIn(w);
  EXPECT_EQ(30, r.left) << "not moved";
  EXPECT_EQ(40, r.top);
  EXPECT_EQ(100, r.right - r.left);
  EXPECT_EQ(50, r.bottom - r.top);

  ASSERT_EQ(1, SetWindowSizeLimits(w, 0, 0, 0, 0));
  SetWindowPos(w, nullptr, 0, 0, 20, 10, SWP_NOMOVE | SWP_NOZORDER);
  r = RectIn(w);
  EXPECT_EQ(20, r.right - r.left) << "limits of 0 hold nothing";
  ASSERT_EQ(1, SetWindowSizeLimits(w, 0, 0, 0, 0));
  r = RectIn(w);
  EXPECT_EQ(20, r.right - r.left);
  EXPECT_EQ(10, r.bottom - r.top);

  ASSERT_EQ(1, SetWindowSizeLimits(w, 0, 0, 15, 8));
  r = RectIn(w);
  EXPECT_EQ(15, r.right - r.left);
  EXPECT_EQ(8, r.bottom - r.top);

  DestroyWindow(w);
  EXPECT_EQ(0, SetWindowSizeLimits(w, 100, 0, 0, 0));
  EXPECT_EQ(nullptr, RecordOf(w));
}

// An application's own "Edit" class in front of the system's: it sees what reaches the
// edit control's own procedure.
WNDPROC gSystemEditProc = nullptr;
std::vector<UINT> gEditMessages;
LRESULT CALLBACK RecordingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  gEditMessages.push_back(message);
  return CallWindowProcA(gSystemEditProc, window, message, wParam, lParam);
}

TEST_F(Tracking, ADestroyedEditSeesItsLastMessageAndItsRecordGoes) {
  WNDCLASSEXA edit = {};
  edit.cbSize = sizeof(edit);
  ASSERT_TRUE(GetClassInfoExA(nullptr, "Edit", &edit));
  gSystemEditProc = edit.lpfnWndProc;
  edit.lpfnWndProc = RecordingEditProc;
  edit.hInstance = GetModuleHandleA(nullptr);
  edit.style &= ~CS_GLOBALCLASS;  // a class of this program only, found before the system's
  ASSERT_NE(0, RegisterClassExA(&edit)) << GetLastError();
  gEditMessages.clear();
  HWND w = Child("Edit", 0);
  ASSERT_NE(nullptr, w);
  ASSERT_NE(nullptr, RecordOf(w));
  EXPECT_EQ(kKindEdit, RecordOf(w)->kind);
  SetWindowTextA(w, "text");
  char text[16] = {};
  GetWindowTextA(w, text, sizeof(text));
  EXPECT_STREQ("text", text);

  DestroyWindow(w);
  ASSERT_FALSE(gEditMessages.empty());
  EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), gEditMessages.back());
  EXPECT_EQ(nullptr, RecordOf(w));
  UnregisterClassA("Edit", GetModuleHandleA(nullptr));
}

TEST_F(Tracking, AWindowKeepsItsCharacterSet) {
  HWND wide =
      CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10, 150, 24, host_, nullptr, nullptr, nullptr);
  HWND narrow = Child(kHostClass, 0, 10, 40);  // registered with the ANSI call
  ASSERT_TRUE(wide && narrow);
  EXPECT_TRUE(IsWindowUnicode(wide));
  EXPECT_EQ(TrackedWindowProcW, ProcOf(wide));
  EXPECT_FALSE(IsWindowUnicode(narrow));
  EXPECT_EQ(TrackedWindowProc, ProcOf(narrow));
  // The ANSI code page holds the first; through an ANSI subclass the second would be lost.
  for (const std::wstring& greeting : {std::wstring(L"Grüße"), std::wstring(L"Grüße 日本語 €")}) {
    ASSERT_TRUE(SetWindowTextW(wide, greeting.c_str()));
    wchar_t text[32] = {};
    GetWindowTextW(wide, text, 32);
    EXPECT_EQ(greeting, text);
    EXPECT_EQ(static_cast<LRESULT>(greeting.size()), SendMessageW(wide, WM_GETTEXTLENGTH, 0, 0));
  }
  ASSERT_TRUE(SetWindowTextW(narrow, L"Grüße"));
  wchar_t text[32] = {};
  GetWindowTextW(narrow, text, 32);
  EXPECT_STREQ(L"Grüße", text);
}

TEST_F(Tracking, WithoutItsRecordAWindowStillReachesItsClass) {
  HWND w = Child(kHostClass, 0);
  ASSERT_NE(nullptr, w);
  ASSERT_TRUE(IsSubclassed(w));
  TrackedWindowMap.Delete(HandleKey(w));
  EXPECT_EQ(kAnswer, SendMessageA(w, kAnswerMessage, 0, 0));
  SetWindowTextA(w, "still served");
  char text[32] = {};
  GetWindowTextA(w, text, sizeof(text));
  EXPECT_STREQ("still served", text);
}

TEST_F(Tracking, ASecondCreateMessageDoesNotSubclassTwice) {
  HWND w = Child(kHostClass, 0);
  ASSERT_NE(nullptr, w);
  const WNDPROC previous = RecordOf(w)->previousProc;
  CREATESTRUCTA creation = {};
  creation.hwndParent = host_;
  creation.lpszClass = kHostClass;
  SendMessageA(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation));
  ASSERT_NE(nullptr, RecordOf(w));
  EXPECT_EQ(previous, RecordOf(w)->previousProc);
  EXPECT_EQ(kAnswer, SendMessageA(w, kAnswerMessage, 0, 0));
}

TEST_F(Tracking, RestoringGivesBackTheProceduresItReplaced) {
  HWND unicodeEdit =
      CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10, 150, 24, host_, nullptr, nullptr, nullptr);
  HWND button = Child("Button", BS_PUSHBUTTON, 10, 50);
  HWND own = Child(kHostClass, 0, 10, 90);
  ASSERT_TRUE(unicodeEdit && button && own);
  const std::vector<HWND> windows = {unicodeEdit, button, own, host_};
  std::vector<WNDPROC> previous;
  for (HWND w : windows) previous.push_back(RecordOf(w)->previousProc);
  // A record that never subclassed anything, and one of a window that is gone.
  HWND plain = Child("Static", 0);
  ASSERT_EQ(1, SetWindowSizeLimits(plain, 10, 0, 0, 0));
  HWND destroyed = Child(kHostClass, 0);
  DestroyWindow(destroyed);
  TrackedWindow& gone = TrackedWindowMap.Add(HandleKey(destroyed));
  gone.window = destroyed;
  gone.previousProc = DefWindowProcA;

  RestoreTrackedWindows();
  for (size_t i = 0; i < windows.size(); ++i) {
    EXPECT_EQ(previous[i], ProcOf(windows[i])) << i;
    EXPECT_EQ(nullptr, RecordOf(windows[i])) << i;
  }
  EXPECT_TRUE(IsWindowUnicode(unicodeEdit)) << "the edit is the Unicode control it was";
  EXPECT_EQ(ClassProcOf(plain), ProcOf(plain));
  EXPECT_EQ(kAnswer, SendMessageA(own, kAnswerMessage, 0, 0));
  const std::wstring greeting = L"Grüße 日本語";
  SetWindowTextW(unicodeEdit, greeting.c_str());
  wchar_t text[32] = {};
  GetWindowTextW(unicodeEdit, text, 32);
  EXPECT_EQ(greeting, text);
  EXPECT_NE(nullptr, RecordOf(destroyed)) << "nothing to give back to";
  TrackedWindowMap.Delete(HandleKey(destroyed));
  TrackedWindowMap.Delete(HandleKey(plain));
}

// What the tracking tells the shortcuts of a top-level window: the application losing the
// keyboard lets go of every modifier, and a closing window takes its bindings along, so a
// later window with the same handle does not inherit them.
TEST_F(Tracking, ATopLevelWindowsShortcutsFollowItsActivationAndItsEnd) {
  HWND top = CreateWindowExA(0, kHostClass, "top", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, top);
  ASSERT_EQ(1, RegisterShortcut(top, 40, "ctrl+s"));
  const std::string key = HandleKey(top);
  ToolkitLock(ShortcutMutex);
  const bool bound = ShortcutMap.Find(key) != nullptr;
  ToolkitUnlock(ShortcutMutex);
  EXPECT_TRUE(bound);

  ShortcutModifiers = {FCONTROL, FSHIFT, FALT};
  SendMessageA(top, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(FCONTROL, ShortcutModifiers.ctrl) << "gaining the keyboard keeps them";
  SendMessageA(top, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(0, ShortcutModifiers.ctrl);
  EXPECT_EQ(0, ShortcutModifiers.shift);
  EXPECT_EQ(0, ShortcutModifiers.alt);

  DestroyWindow(top);
  ToolkitLock(ShortcutMutex);
  const bool left = ShortcutMap.Find(key) != nullptr;
  ToolkitUnlock(ShortcutMutex);
  EXPECT_FALSE(left);
}

}  // namespace
