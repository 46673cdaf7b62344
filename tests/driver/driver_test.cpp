// Drives driver_fixture.exe through every driver call and checks the answers the fixture
// is known to give, including the calls that must fail and the waits that must end.
#include "driver/driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const char kFixture[] = "driver_fixture.exe";
const char kTitle[] = "Driver Fixture";
const DWORD kStartMs = 15000;  // a first Wine start of a program can be slow
const DWORD kActMs = 5000;

// Ends a started program whatever a test did, so no window outlives its test.
struct Started {
  DriverProcess p;
  ~Started() {
    if (DriverRunning(p)) DriverKill(p);
    DriverRelease(&p);
  }
};

ULONGLONG Since(ULONGLONG start) { return GetTickCount64() - start; }

TEST(DriverProcessTest, ExitCodesComeBack) {
  const DWORD codes[] = {0, 3, 255};
  for (DWORD code : codes) {
    SCOPED_TRACE(code);
    Started s;
    ASSERT_TRUE(DriverStart(kFixture, "/exit " + std::to_string(code), "", &s.p));
    EXPECT_NE(0u, s.p.id);
    DWORD got = 12345;
    ASSERT_TRUE(DriverWaitExit(s.p, kStartMs, &got));
    EXPECT_EQ(code, got);
    EXPECT_FALSE(DriverRunning(s.p));
  }
}

TEST(DriverProcessTest, MissingProgramDoesNotStart) {
  DriverProcess p;
  EXPECT_FALSE(DriverStart("no_such_program.exe", "", "", &p));
  EXPECT_EQ(nullptr, p.handle);
  EXPECT_EQ(0u, p.id);
  EXPECT_FALSE(DriverWaitExit(p, 10, nullptr));
  EXPECT_FALSE(DriverKill(p));
}

TEST(DriverProcessTest, ArgumentsAndFolderReachTheProgram) {
  char windows[MAX_PATH] = "";
  ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
  Started s;
  ASSERT_TRUE(DriverStart(kFixture, "alpha \"b c\"", windows, &s.p));
  HWND top = DriverWaitWindow(kTitle, s.p.id, kStartMs);
  ASSERT_NE(nullptr, top);
  EXPECT_EQ("alpha \"b c\"", DriverText(DriverFindControl(top, 18)));
  EXPECT_EQ(windows, DriverText(DriverFindControl(top, 19)));
}

TEST(DriverProcessTest, KillEndsARunningProgramAndWaitsTimeOut) {
  Started s;
  ASSERT_TRUE(DriverStart(kFixture, "", "", &s.p));
  ASSERT_NE(nullptr, DriverWaitWindow(kTitle, s.p.id, kStartMs));
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(DriverWaitExit(s.p, 200, nullptr));
  ULONGLONG took = Since(start);
  EXPECT_GE(took, 150u);
  EXPECT_LT(took, 2000u);
  EXPECT_TRUE(DriverRunning(s.p));

  EXPECT_TRUE(DriverKill(s.p, 7));
  DWORD code = 0;
  ASSERT_TRUE(DriverWaitExit(s.p, 0, &code));
  EXPECT_EQ(7u, code);
  EXPECT_FALSE(DriverRunning(s.p));
}

// One fixture window serves the tests that work its controls.
class DriverWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    run_ = new Started;
    if (DriverStart(kFixture, "", "", &run_->p)) top_ = DriverWaitWindow(kTitle, run_->p.id, kStartMs);
  }
  static void TearDownTestSuite() {
    delete run_;
    run_ = nullptr;
    top_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(nullptr, top_) << "the fixture window did not appear"; }
  static HWND Control(int id) { return DriverFindControl(top_, id); }

  static Started* run_;
  static HWND top_;
};
Started* DriverWindowTest::run_ = nullptr;
HWND DriverWindowTest::top_ = nullptr;

TEST_F(DriverWindowTest, WindowsAreFoundByTitleAndProcessOrNotAtAll) {
  EXPECT_EQ(top_, DriverWaitWindow(kTitle, 0, 0));
  EXPECT_EQ(top_, DriverWaitWindowPrefix("Driver Fix", run_->p.id, 0));
  EXPECT_EQ(top_, DriverWaitWindowClass("fixturemain", kTitle, run_->p.id, 0));
  EXPECT_TRUE(DriverVisible(top_));

  struct Miss {
    const char* title;
    bool prefix;
    DWORD pid;
  };
  const Miss misses[] = {
      {"Driver", false, 0},  // exact titles are whole titles
      {"Driver Fixture!", false, 0},
      {"driver fixture", false, 0},            // and keep their case
      {kTitle, false, GetCurrentProcessId()},  // another process's window
      {"Fixture", true, 0},
      {"Driver Fixture and more", true, 0},
  };
  for (const Miss& m : misses) {
    SCOPED_TRACE(m.title);
    ULONGLONG start = GetTickCount64();
    HWND w = m.prefix ? DriverWaitWindowPrefix(m.title, m.pid, 300) : DriverWaitWindow(m.title, m.pid, 300);
    ULONGLONG took = Since(start);
    EXPECT_EQ(nullptr, w);
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 2000u);
  }
}

TEST_F(DriverWindowTest, ControlsAreFoundAtAnyDepth) {
  HWND panel = Control(30);
  ASSERT_NE(nullptr, panel);
  const int ids[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
  for (int id : ids) {
    SCOPED_TRACE(id);
    HWND c = Control(id);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(id, GetDlgCtrlID(c));
    EXPECT_EQ(id == 11 || id == 17 ? panel : top_, GetParent(c));
  }
  EXPECT_EQ(nullptr, Control(999));
  EXPECT_EQ(nullptr, DriverFindControl(nullptr, 10));
  EXPECT_EQ(Control(11), DriverWaitControl(top_, 11, 0));

  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(nullptr, DriverWaitControl(top_, 999, 200));
  EXPECT_GE(Since(start), 150u);
  EXPECT_LT(Since(start), 2000u);
}

TEST_F(DriverWindowTest, ChildrenAreFoundByClassAndText) {
  struct Case {
    const char* cls;
    const char* text;
    int id;  // 0: none matches
  };
  const Case cases[] = {
      {"Button", "Copy", 12},         {"button", "Ask", 16},    // class names ignore case
      {nullptr, "Disabled", 14},      {"Button", "Check", 11},  // inside the panel
      {"SysListView32", nullptr, 15}, {"ComboBox", nullptr, 17}, {"Edit", "Copy", 0},
      {"Button", "copy", 0},  // texts do not
      {"NoSuchClass", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cls ? c.cls : "*") + "/" + (c.text ? c.text : "*"));
    HWND w = DriverFindChild(top_, c.cls, c.text);
    if (c.id) {
      EXPECT_EQ(Control(c.id), w);
    } else {
      EXPECT_EQ(nullptr, w);
    }
  }
}

TEST_F(DriverWindowTest, TextIsSetNotifiedAndReadBack) {
  struct Case {
    int edit;
    const char* text;
  };
  // Each text differs from the one before, so every mirror and copy is a fresh change.
  const Case cases[] = {
      {10, "plain"},
      {10, "w\xc3\xb6rld and more"},
      {10, ""},
      // A multi-line edit is silent about WM_SETTEXT: the mirror shows the driver's EN_CHANGE.
      {22, "plain"},
      {22, "two\r\nlines"},
      {22, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.edit) + ": " + c.text);
    HWND edit = Control(c.edit);
    ASSERT_TRUE(DriverSetText(edit, c.text));
    EXPECT_EQ(c.text, DriverText(edit));
    EXPECT_TRUE(DriverWaitText(Control(20), c.text, kActMs));
    if (c.edit == 10) {
      ASSERT_TRUE(DriverClick(Control(12)));  // "Copy" reads edit 10 into label 13
      EXPECT_TRUE(DriverWaitText(Control(13), c.text, kActMs));
    }
  }
  std::string got = "unchanged";
  EXPECT_FALSE(DriverGetText(nullptr, &got));
  EXPECT_EQ("unchanged", got);
  EXPECT_FALSE(DriverSetText(nullptr, "x"));

  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(DriverWaitText(Control(13), "never", 200));
  EXPECT_GE(Since(start), 150u);
  EXPECT_LT(Since(start), 2000u);
}

TEST_F(DriverWindowTest, MenuCommandReachesTheWindow) {
  ASSERT_TRUE(DriverSetText(Control(13), "before"));
  ASSERT_TRUE(DriverMenuCommand(top_, 100));
  EXPECT_TRUE(DriverWaitText(Control(13), "menu", kActMs));
  EXPECT_FALSE(DriverMenuCommand(nullptr, 100));
}

TEST_F(DriverWindowTest, CheckBoxTogglesOnClick) {
  HWND check = Control(11);
  EXPECT_EQ(BST_UNCHECKED, DriverCheckState(check));
  const int expected[] = {BST_CHECKED, BST_UNCHECKED, BST_CHECKED};
  for (int e : expected) {
    ASSERT_TRUE(DriverClick(check));
    ULONGLONG start = GetTickCount64();
    while (DriverCheckState(check) != e && Since(start) < kActMs) Sleep(kDriverPollMs);
    EXPECT_EQ(e, DriverCheckState(check));
  }
  EXPECT_EQ(-1, DriverCheckState(nullptr));
}

TEST_F(DriverWindowTest, DisabledButtonsAreNotClicked) {
  struct Case {
    int id;
    bool enabled;
  };
  const Case cases[] = {{12, true}, {14, false}, {10, true}, {15, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.enabled, DriverEnabled(Control(c.id)));
    EXPECT_TRUE(DriverVisible(Control(c.id)));
  }
  EXPECT_FALSE(DriverEnabled(nullptr));
  EXPECT_FALSE(DriverVisible(nullptr));

  ASSERT_TRUE(DriverSetText(Control(13), "before"));
  EXPECT_FALSE(DriverClick(Control(14)));
  EXPECT_FALSE(DriverClick(nullptr));
  // Had the click gone through, the fixture would have written "disabled".
  ASSERT_TRUE(DriverMenuCommand(top_, 100));
  ASSERT_TRUE(DriverWaitText(Control(13), "menu", kActMs));
}

TEST_F(DriverWindowTest, ComboBoxIsReadAndChosen) {
  HWND combo = Control(17);
  EXPECT_EQ(3, DriverComboCount(combo));
  EXPECT_EQ(1, DriverComboSelection(combo));
  const char* items[] = {"alpha", "beta", "gamma"};
  for (int i = 0; i < 3; ++i) {
    std::string t;
    EXPECT_TRUE(DriverComboItem(combo, i, &t));
    EXPECT_EQ(items[i], t);
  }
  std::string t;
  EXPECT_FALSE(DriverComboItem(combo, 3, &t));
  EXPECT_FALSE(DriverComboItem(combo, -1, &t));

  ASSERT_TRUE(DriverComboSelect(combo, 2));
  EXPECT_EQ(2, DriverComboSelection(combo));
  EXPECT_TRUE(DriverWaitText(Control(21), "gamma", kActMs));  // heard CBN_SELCHANGE
  EXPECT_FALSE(DriverComboSelect(combo, 7));
  EXPECT_EQ(2, DriverComboSelection(combo));
  EXPECT_EQ(-1, DriverComboCount(nullptr));
  EXPECT_EQ(-1, DriverComboSelection(nullptr));
}

TEST_F(DriverWindowTest, ListViewItemsAreReadFromTheOtherProcess) {
  HWND list = Control(15);
  EXPECT_EQ(2, DriverListCount(list));
  struct Case {
    int item, sub;
    const char* text;
  };
  const Case cases[] = {{0, 0, "first"}, {0, 1, "one"}, {1, 0, "second"}, {1, 1, "two"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string t;
    EXPECT_TRUE(DriverListItem(list, c.item, c.sub, &t));
    EXPECT_EQ(c.text, t);
  }
  std::string t;
  EXPECT_FALSE(DriverListItem(list, 2, 0, &t));
  EXPECT_FALSE(DriverListItem(list, -1, 0, &t));
  EXPECT_FALSE(DriverListItem(nullptr, 0, 0, &t));
  EXPECT_EQ(-1, DriverListCount(nullptr));
}

TEST_F(DriverWindowTest, MessageBoxIsReadAndAnswered) {
  struct Case {
    int button;
    const char* label;
  };
  const Case cases[] = {{IDYES, "yes"}, {IDNO, "no"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(DriverSetText(Control(13), "before"));
    ASSERT_TRUE(DriverClick(Control(16)));
    ASSERT_NE(nullptr, DriverWaitWindowClass("#32770", "Fixture", run_->p.id, kActMs));
    // The owner is disabled while the box is up; its buttons cannot be pressed.
    EXPECT_FALSE(DriverClick(Control(12)));
    std::string text;
    ASSERT_TRUE(DriverAnswerMessageBox(run_->p.id, "Fixture", c.button, kActMs, &text));
    EXPECT_EQ("Question?", text);
    EXPECT_TRUE(DriverWaitText(Control(13), c.label, kActMs));
  }
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(DriverAnswerMessageBox(run_->p.id, "Fixture", IDOK, 300, nullptr));
  EXPECT_GE(Since(start), 250u);
  EXPECT_LT(Since(start), 2000u);
}

TEST_F(DriverWindowTest, ListViewColumnsAreReadFromTheOtherProcess) {
  HWND list = Control(15);
  EXPECT_EQ(2, DriverListColumnCount(list));
  const char* titles[] = {"Name", "Value"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(titles[i]);
    std::string title;
    int width = -1;
    EXPECT_TRUE(DriverListColumn(list, i, &title, &width));
    EXPECT_EQ(titles[i], title);
    EXPECT_EQ(120, width);
  }
  std::string title = "unchanged";
  int width = -1;
  EXPECT_FALSE(DriverListColumn(list, 2, &title, &width));
  EXPECT_FALSE(DriverListColumn(list, -1, &title, &width));
  EXPECT_FALSE(DriverListColumn(nullptr, 0, &title, &width));
  EXPECT_EQ("unchanged", title);
  EXPECT_EQ(-1, width);
  EXPECT_EQ(-1, DriverListColumnCount(nullptr));
  EXPECT_EQ(-1, DriverListColumnCount(Control(10)));  // an edit has no header
}

TEST_F(DriverWindowTest, TabsAreReadFromTheOtherProcess) {
  HWND tabs = Control(23);
  EXPECT_EQ(2, DriverTabCount(tabs));
  EXPECT_EQ(1, DriverTabSelection(tabs));
  const char* texts[] = {"One", "Two"};
  for (int i = 0; i < 2; ++i) {
    std::string t;
    EXPECT_TRUE(DriverTabText(tabs, i, &t));
    EXPECT_EQ(texts[i], t);
  }
  std::string t;
  EXPECT_FALSE(DriverTabText(tabs, 2, &t));
  EXPECT_FALSE(DriverTabText(tabs, -1, &t));
  EXPECT_EQ(-1, DriverTabCount(nullptr));
  EXPECT_EQ(-1, DriverTabSelection(nullptr));
}

TEST_F(DriverWindowTest, TreeItemsAreReadAndCheckedByClicking) {
  HWND tree = Control(24);
  struct Item {
    std::string text;
    bool checked;
  };
  auto items = [&] {
    std::vector<Item> all;
    for (HTREEITEM h = DriverTreeNext(tree, nullptr); h && all.size() < 10; h = DriverTreeNext(tree, h)) {
      Item i = {"", false};
      EXPECT_TRUE(DriverTreeItem(tree, h, &i.text, &i.checked));
      all.push_back(i);
    }
    return all;
  };
  std::vector<Item> start = items();
  ASSERT_EQ(2u, start.size());
  EXPECT_EQ("apple", start[0].text);
  EXPECT_TRUE(start[0].checked);
  EXPECT_EQ("pear", start[1].text);
  EXPECT_FALSE(start[1].checked);

  HTREEITEM pear = DriverTreeNext(tree, DriverTreeNext(tree, nullptr));
  for (bool checked : {true, false}) {
    SCOPED_TRACE(checked);
    ASSERT_TRUE(DriverTreeClickCheckBox(tree, pear));
    bool now = !checked;
    ULONGLONG start = GetTickCount64();
    while (DriverTreeItem(tree, pear, nullptr, &now) && now != checked && Since(start) < kActMs) {
      Sleep(kDriverPollMs);
    }
    EXPECT_EQ(checked, now);
    std::vector<Item> after = items();
    ASSERT_EQ(2u, after.size());
    EXPECT_TRUE(after[0].checked) << "the other item stays as it was";
  }
  EXPECT_EQ(nullptr, DriverTreeNext(tree, pear));
  EXPECT_EQ(nullptr, DriverTreeNext(nullptr, nullptr));
  EXPECT_FALSE(DriverTreeItem(tree, nullptr, nullptr, nullptr));
  EXPECT_FALSE(DriverTreeClickCheckBox(tree, nullptr));
  EXPECT_FALSE(DriverTreeClickCheckBox(nullptr, pear));
}

// Last in the suite: the window goes away.
TEST_F(DriverWindowTest, ClosingEndsTheProgramWithCodeZero) {
  DWORD code = 12345;
  ASSERT_TRUE(DriverCloseAndWait(top_, run_->p, kActMs, &code));
  EXPECT_EQ(0u, code);
  EXPECT_FALSE(DriverRunning(run_->p));
  EXPECT_FALSE(IsWindow(top_));
  EXPECT_FALSE(DriverCloseAndWait(top_, run_->p, 100, nullptr));
}

}  // namespace
