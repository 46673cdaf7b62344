// The row edit dialogs of Zendrikolbar.exe as a person meets them: opened from the Add
// and Edit buttons of the registry, shortcut, variable and command lists, filled in and
// confirmed or dismissed, with the main window's lists read back after each step.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_driver.h"
#include "common/text.h"
#include "driver/driver.h"
#include "support/waits.h"

namespace {

constexpr DWORD kWaitMs = 10000;

// ---- the four dialogs ------------------------------------------------------------------

// One row of a list as the dialog's fields hold it: the combo entry and the texts of the
// text fields in dialog order.
struct RowValues {
  int entry;
  std::vector<std::string> texts;
};

// A field change in the add flow and the OK state that must follow it.
struct Step {
  int control;
  const char* text;
  bool okEnabled;
};

struct DialogCase {
  const char* name;
  int group, item;  // task-pane item that shows the list's page
  int list, add, edit, remove;
  int window;  // number of the dialog window (for reports only)
  const char* addTitle;
  int clientWidth, clientHeight;
  int combo;
  std::vector<std::string> entries;  // the combo's entries
  int comboColumn;                   // the list column the entry text goes to
  std::vector<int> fields;           // text fields, in column order after the combo's column
  std::vector<const char*> fieldNames;
  std::vector<int> required;
  int ok, cancel;
  std::vector<std::pair<int, std::string>> initialTexts;  // start values in add mode
  bool okStartsEnabled;
  std::vector<Step> steps;  // the add flow, from the start values
  int addEntry;             // entry chosen in the add flow
  std::vector<std::string> addColumns;
  RowValues rowA, rowB, rowC;  // rows for the edit flows; rowA's entry is not 0
};

const std::vector<std::string> kRootKeys = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                            "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

std::vector<DialogCase> Cases() {
  DialogCase registry;
  registry.name = "Registry";
  registry.group = 4, registry.item = 1;
  registry.list = 0x37, registry.add = 0x38, registry.edit = 0xC6, registry.remove = 0x39;
  registry.window = 2;
  registry.addTitle = "Add registry value";
  registry.clientWidth = 346, registry.clientHeight = 308;
  registry.combo = 0x65;
  registry.entries = kRootKeys;
  registry.comboColumn = 0;
  registry.fields = {0x67, 0x76, 0x6B};
  registry.fieldNames = {"Sub key", "Value name", "Value data"};
  registry.required = {0x67, 0x76};
  registry.ok = 0x6C, registry.cancel = 0x6D;
  registry.initialTexts = {{0x67, ""}, {0x76, ""}, {0x6B, ""}};
  registry.okStartsEnabled = false;
  registry.steps = {{0x67, "Software\\Zk", false},
                    {0x76, "Version", true},
                    {0x6B, "1.0", true},
                    {0x76, "", false},
                    {0x76, "Version", true}};
  registry.addEntry = 2;
  registry.addColumns = {"HKEY_LOCAL_MACHINE", "Software\\Zk", "Version", "1.0"};
  registry.rowA = {1, {"Software\\A", "NameA", "DataA"}};
  registry.rowB = {4, {"Software\\B", "NameB", ""}};
  registry.rowC = {3, {"Software\\C", "NameC", "DataC"}};

  DialogCase shortcut;
  shortcut.name = "Shortcut";
  shortcut.group = 4, shortcut.item = 2;
  shortcut.list = 0x3A, shortcut.add = 0x3E, shortcut.edit = 0xC7, shortcut.remove = 0x3F;
  shortcut.window = 3;
  shortcut.addTitle = "Add shortcut";
  shortcut.clientWidth = 258, shortcut.clientHeight = 268;
  shortcut.combo = 0x6F;
  shortcut.entries = {"Desktop", "Startmenu"};
  shortcut.comboColumn = 0;
  shortcut.fields = {0x71, 0x73, 0xC3};
  shortcut.fieldNames = {"Shortcut name", "Target file", "Command line arguments"};
  shortcut.required = {0x71, 0x73};
  shortcut.ok = 0x74, shortcut.cancel = 0x75;
  shortcut.initialTexts = {{0x71, ""}, {0x73, "<installpath>\\"}, {0xC3, ""}};
  shortcut.okStartsEnabled = false;
  shortcut.steps = {
      {0x73, "", false}, {0x71, "My App", false}, {0x73, "<installpath>\\app.exe", true}, {0xC3, "-x", true}};
  shortcut.addEntry = 1;
  shortcut.addColumns = {"Startmenu", "My App", "<installpath>\\app.exe", "-x"};
  shortcut.rowA = {1, {"A", "<installpath>\\a.exe", "-a"}};
  shortcut.rowB = {0, {"B", "<installpath>\\b.exe", ""}};
  shortcut.rowC = {0, {"C", "<installpath>\\c.exe", "-c"}};

  DialogCase variable;
  variable.name = "Variable";
  variable.group = 2, variable.item = 4;
  variable.list = 0xB8, variable.add = 0xB9, variable.edit = 0xC5, variable.remove = 0xBA;
  variable.window = 6;
  variable.addTitle = "Add variables";
  variable.clientWidth = 346, variable.clientHeight = 348;
  variable.combo = 0xBB;
  variable.entries = kRootKeys;
  variable.comboColumn = 1;
  variable.fields = {0xBC, 0xBD, 0xBE, 0xBF};
  variable.fieldNames = {"Variable name", "Sub key", "Value name", "Default value"};
  variable.required = {0xBC, 0xBD, 0xBE, 0xBF};
  variable.ok = 0xC0, variable.cancel = 0xC1;
  variable.initialTexts = {{0xBC, ""}, {0xBD, ""}, {0xBE, ""}, {0xBF, ""}};
  variable.okStartsEnabled = false;
  // Texts are kept exactly as typed, spaces included.
  variable.steps = {{0xBC, "Dir", false},  {0xBD, " Software\\Zk ", false},
                    {0xBE, "Path", false}, {0xBF, "C:\\Zk", true},
                    {0xBF, "", false},     {0xBF, "C:\\Zk", true}};
  variable.addEntry = 1;
  variable.addColumns = {"Dir", "HKEY_CURRENT_USER", " Software\\Zk ", "Path", "C:\\Zk"};
  variable.rowA = {3, {"VarA", "Software\\A", "NameA", "DefA"}};
  variable.rowB = {0, {"VarB", "Software\\B", "NameB", "DefB"}};
  variable.rowC = {2, {"VarC", "Software\\C", "NameC", "DefC"}};

  DialogCase command;
  command.name = "Command";
  command.group = 2, command.item = 5;
  command.list = 0xCC, command.add = 0xCD, command.edit = 0xCE, command.remove = 0xCF;
  command.window = 7;
  command.addTitle = "Add command";
  command.clientWidth = 258, command.clientHeight = 268;
  command.combo = 0xD0;
  command.entries = {"Execute application", "Shell execute"};
  command.comboColumn = 0;
  command.fields = {0xD1, 0xD2, 0xD3};
  command.fieldNames = {"Command", "Parameters", "Options"};
  command.required = {0xD1};
  command.ok = 0xD4, command.cancel = 0xD5;
  command.initialTexts = {{0xD1, "<installpath>\\"}, {0xD2, ""}, {0xD3, "-wait -hide"}};
  // Never disabled: the OK handler checks the command itself.
  command.okStartsEnabled = true;
  command.steps = {{0xD1, "", true}, {0xD1, "<installpath>\\setup.exe", true}, {0xD2, "/quiet", true}};
  command.addEntry = 0;
  command.addColumns = {"Execute application", "<installpath>\\setup.exe", "/quiet", "-wait -hide"};
  command.rowA = {1, {"notepad.exe", "", ""}};
  command.rowB = {0, {"<installpath>\\b.exe", "/b", "-wait"}};
  command.rowC = {0, {"<installpath>\\c.exe", "/c", "-hide"}};

  return {registry, shortcut, variable, command};
}

// The list columns a row of the case shows.
std::vector<std::string> Columns(const DialogCase& c, const RowValues& row) {
  std::vector<std::string> cols = row.texts;
  cols.insert(cols.begin() + c.comboColumn, c.entries[static_cast<size_t>(row.entry)]);
  return cols;
}

// ---- waiting ----------------------------------------------------------------------------

// Gives the program time to work off what it was sent: it answers a message only while
// it waits for events, after the events before have been handled.
void Settle(HWND w) {
  for (int i = 0; i < 3; ++i) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &r);
    Sleep(60);
  }
}

// Events that reach the program through messages sent from here wait in its queue until
// its next message, so each look first sends it one.
bool WaitEnabled(HWND w, bool enabled) {
  return WaitFor(
      [&] {
        DWORD_PTR r = 0;
        SendMessageTimeoutW(GetAncestor(w, GA_ROOT), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &r);
        return DriverEnabled(w) == enabled;
      },
      kWaitMs);
}

bool WaitGone(HWND dialog) {
  return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kWaitMs);
}

// A message box of the process, whatever its title.
HWND FindMessageBox(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
    static BOOL CALLBACK Proc(HWND w, LPARAM lp) {
      Search* s = reinterpret_cast<Search*>(lp);
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      wchar_t cls[64];
      if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 64) && lstrcmpW(cls, L"#32770") == 0) {
        s->found = w;
        return FALSE;
      }
      return TRUE;
    }
  } s{pid, nullptr};
  EnumWindows(Search::Proc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// ---- the main window's lists, worked in the program's own memory ------------------------

// Sends a list-view message whose LVITEMW (and the text it points to) must live in the
// program that owns the list; the item is read back into *item.
bool RemoteListItem(HWND list, UINT msg, WPARAM wp, LVITEMW* item, const std::wstring* text) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!proc) return false;
  SIZE_T textBytes = text ? (text->size() + 1) * sizeof(wchar_t) : 0;
  char* remote = static_cast<char*>(
      VirtualAllocEx(proc, nullptr, sizeof(LVITEMW) + textBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  bool ok = false;
  if (remote) {
    if (text) item->pszText = reinterpret_cast<LPWSTR>(remote + sizeof(LVITEMW));
    SIZE_T moved = 0;
    DWORD_PTR result = 0;
    ok = WriteProcessMemory(proc, remote, item, sizeof(LVITEMW), &moved) &&
         (!text || WriteProcessMemory(proc, remote + sizeof(LVITEMW), text->c_str(), textBytes, &moved)) &&
         SendMessageTimeoutW(list, msg, wp, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, kDriverSendTimeoutMs,
                             &result) &&
         result && ReadProcessMemory(proc, remote, item, sizeof(LVITEMW), &moved);
    VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
  }
  CloseHandle(proc);
  return ok;
}

// Selects and focuses one row, as a click on it would.
bool SelectRow(HWND list, int row) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return RemoteListItem(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), &item, nullptr);
}

// The row's item data; -1 when it could not be read.
LPARAM RowData(HWND list, int row) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  return RemoteListItem(list, LVM_GETITEMW, 0, &item, nullptr) ? item.lParam : -1;
}

// Puts a text into a cell that no dialog would write, as a project file could.
bool SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMW item = {};
  item.iSubItem = column;
  std::wstring w = Utf8ToWide(text);
  return RemoteListItem(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), &item, &w);
}

std::vector<std::string> Row(HWND list, int row, size_t columns) {
  std::vector<std::string> cols;
  for (size_t i = 0; i < columns; ++i) {
    std::string t;
    if (!DriverListItem(list, row, static_cast<int>(i), &t)) t = "<unreadable>";
    cols.push_back(t);
  }
  return cols;
}

// ---- the fixture: one running program per test -----------------------------------------

class DialogsTest : public ::testing::TestWithParam<DialogCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DriverStart("Zendrikolbar.exe", "", "", &p_));
    main_ = DriverWaitWindow("Zendrikolbar", p_.id, 20000);
    ASSERT_NE(nullptr, main_);
  }

  void TearDown() override {
    if (main_ && DriverRunning(p_)) {
      // A message box left by a failed test would hold the program; it goes first.
      if (HWND box = FindMessageBox(p_.id)) PostMessageW(box, WM_CLOSE, 0, 0);
      DriverCloseAndWait(main_, p_, 10000, nullptr);
    }
    if (DriverRunning(p_)) DriverKill(p_);
    DriverRelease(&p_);
  }

  HWND Control(int id) { return DriverFindControl(main_, id); }
  HWND List() { return Control(GetParam().list); }

  // Shows a page through the task pane, as a person would. Right after start-up the pane
  // may not be laid out yet, so a click that showed nothing is tried again.
  void ShowPage(int group, int item, int shows) {
    HWND w = Control(shows);
    for (int tries = 0; tries < 5 && !DriverVisible(w); ++tries) {
      ASSERT_TRUE(ClickTaskPaneItem(main_, group, item));
      WaitFor([&] { return DriverVisible(w); }, 2000);
    }
    ASSERT_TRUE(DriverVisible(w)) << "task pane item " << group << "/" << item;
  }
  void ShowListPage() { ShowPage(GetParam().group, GetParam().item, GetParam().add); }

  // Clicks a main window button once the program has enabled it.
  void ClickMain(int id) {
    HWND b = Control(id);
    ASSERT_TRUE(WaitEnabled(b, true)) << "button " << id;
    ASSERT_TRUE(DriverClick(b)) << "button " << id;
  }

  // Opens the dialog through Add (edit false) or Edit and returns it once shown.
  HWND Open(bool edit) {
    const DialogCase& c = GetParam();
    ClickMain(edit ? c.edit : c.add);
    if (HasFatalFailure()) return nullptr;
    HWND dialog = DriverWaitWindow(edit ? "Edit" : c.addTitle, p_.id, kWaitMs);
    EXPECT_NE(nullptr, dialog) << (edit ? "Edit" : c.addTitle);
    if (dialog) {
      EXPECT_TRUE(WaitEnabled(main_, false)) << "the main window stays enabled under the dialog";
    }
    return dialog;
  }

  // Fills the dialog with a row: the entry first, since the command type empties fields.
  void Fill(HWND dialog, const RowValues& row) {
    const DialogCase& c = GetParam();
    HWND combo = DriverFindControl(dialog, c.combo);
    ASSERT_TRUE(DriverComboSelect(combo, row.entry));
    Settle(dialog);
    for (size_t i = 0; i < c.fields.size(); ++i) {
      HWND field = DriverFindControl(dialog, c.fields[i]);
      // A shell command's parameters and options stay empty and locked.
      if (!DriverEnabled(field) && row.texts[i].empty()) continue;
      ASSERT_TRUE(DriverSetText(field, row.texts[i])) << c.fieldNames[i];
    }
    Settle(dialog);
  }

  // Clicks OK (once enabled) and waits until the dialog is gone and the main window back.
  void Confirm(HWND dialog) {
    HWND ok = DriverFindControl(dialog, GetParam().ok);
    ASSERT_TRUE(WaitEnabled(ok, true));
    ASSERT_TRUE(DriverClick(ok));
    ASSERT_TRUE(WaitGone(dialog));
    ASSERT_TRUE(WaitEnabled(main_, true));
  }

  void AddRow(const RowValues& row) {
    HWND dialog = Open(false);
    ASSERT_NE(nullptr, dialog);
    ASSERT_NO_FATAL_FAILURE(Fill(dialog, row));
    ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  }

  void SelectAndWait(int row) {
    ASSERT_TRUE(SelectRow(List(), row));
    ASSERT_TRUE(WaitEnabled(Control(GetParam().edit), true));
  }

  // The dialog shows `row`: its entry and its texts.
  void ExpectShows(HWND dialog, const RowValues& row) {
    const DialogCase& c = GetParam();
    EXPECT_EQ(row.entry, DriverComboSelection(DriverFindControl(dialog, c.combo)));
    for (size_t i = 0; i < c.fields.size(); ++i)
      EXPECT_EQ(row.texts[i], DriverText(DriverFindControl(dialog, c.fields[i]))) << c.fieldNames[i];
  }

  void ExpectRows(const std::vector<std::vector<std::string>>& rows) {
    HWND list = List();
    ASSERT_EQ(static_cast<int>(rows.size()), DriverListCount(list));
    for (size_t r = 0; r < rows.size(); ++r)
      EXPECT_EQ(rows[r], Row(list, static_cast<int>(r), rows[r].size())) << "row " << r;
  }

  // OK as the program receives it from the button, whether or not the button is enabled:
  // the handler must check the fields itself.
  void PressOkRegardless(HWND dialog) {
    HWND ok = DriverFindControl(dialog, GetParam().ok);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetParam().ok), BN_CLICKED),
                 reinterpret_cast<LPARAM>(ok));
    Settle(dialog);
  }

  DriverProcess p_;
  HWND main_ = nullptr;
};

std::string CaseName(const ::testing::TestParamInfo<DialogCase>& info) { return info.param.name; }

// ---- every dialog -----------------------------------------------------------------------

TEST_P(DialogsTest, AddFlowEnablesOkWithTheRequiredFieldsAndAppendsTheRow) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  HWND dialog = Open(false);
  ASSERT_NE(nullptr, dialog);

  RECT r;
  GetClientRect(dialog, &r);
  EXPECT_EQ(c.clientWidth, r.right);
  EXPECT_EQ(c.clientHeight, r.bottom);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_);
  HWND combo = DriverFindControl(dialog, c.combo);
  ASSERT_EQ(static_cast<int>(c.entries.size()), DriverComboCount(combo));
  for (size_t i = 0; i < c.entries.size(); ++i) {
    std::string t;
    EXPECT_TRUE(DriverComboItem(combo, static_cast<int>(i), &t));
    EXPECT_EQ(c.entries[i], t);
  }
  EXPECT_EQ(0, DriverComboSelection(combo));
  for (const auto& field : c.initialTexts)
    EXPECT_EQ(field.second, DriverText(DriverFindControl(dialog, field.first))) << "field " << field.first;

  HWND ok = DriverFindControl(dialog, c.ok);
  EXPECT_EQ(c.okStartsEnabled, DriverEnabled(ok));
  for (const Step& s : c.steps) {
    ASSERT_TRUE(DriverSetText(DriverFindControl(dialog, s.control), s.text));
    Settle(dialog);
    EXPECT_TRUE(WaitEnabled(ok, s.okEnabled)) << "after field " << s.control << " = \"" << s.text << "\"";
  }
  ASSERT_TRUE(DriverComboSelect(combo, c.addEntry));
  Settle(dialog);
  EXPECT_TRUE(DriverVisible(dialog));
  EXPECT_FALSE(DriverEnabled(main_));

  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  ExpectRows({c.addColumns});
}

TEST_P(DialogsTest, EditShowsTheSelectedRowAndWritesItInPlace) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  ASSERT_NO_FATAL_FAILURE(AddRow(c.rowA));
  ASSERT_NO_FATAL_FAILURE(AddRow(c.rowB));
  ExpectRows({Columns(c, c.rowA), Columns(c, c.rowB)});

  ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
  HWND dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  ExpectShows(dialog, c.rowA);
  ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowC));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  ExpectRows({Columns(c, c.rowC), Columns(c, c.rowB)});

  // The second row too, and the Remove button takes the selected row away.
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(1));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  ExpectShows(dialog, c.rowB);
  ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowA));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  ExpectRows({Columns(c, c.rowC), Columns(c, c.rowA)});
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
  ASSERT_NO_FATAL_FAILURE(ClickMain(c.remove));
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(List()) == 1; }, kWaitMs));
  ExpectRows({Columns(c, c.rowA)});
}

TEST_P(DialogsTest, CancelAndCloseBoxChangeNothing) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  ASSERT_NO_FATAL_FAILURE(AddRow(c.rowA));
  for (bool edit : {false, true}) {
    for (bool closeBox : {false, true}) {
      SCOPED_TRACE(std::string(edit ? "edit, " : "add, ") + (closeBox ? "close box" : "Cancel"));
      if (edit) SelectAndWait(0);
      HWND dialog = Open(edit);
      ASSERT_NE(nullptr, dialog);
      ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowC));
      if (closeBox)
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      else
        ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.cancel)));
      ASSERT_TRUE(WaitGone(dialog));
      ASSERT_TRUE(WaitEnabled(main_, true));
      ExpectRows({Columns(c, c.rowA)});
    }
  }
}

TEST_P(DialogsTest, OkWithAnEmptyRequiredFieldWritesNothing) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  for (bool edit : {false, true}) {
    if (edit) {
      ASSERT_NO_FATAL_FAILURE(AddRow(c.rowA));
      ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
    }
    for (int empty : c.required) {
      SCOPED_TRACE(std::string(edit ? "edit" : "add") + ", empty field " + std::to_string(empty));
      HWND dialog = Open(edit);
      ASSERT_NE(nullptr, dialog);
      ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowC));
      ASSERT_TRUE(DriverSetText(DriverFindControl(dialog, empty), ""));
      Settle(dialog);
      PressOkRegardless(dialog);
      // Nothing happens, not even a message: the dialog stays as it was.
      EXPECT_TRUE(DriverVisible(dialog));
      EXPECT_EQ(nullptr, FindMessageBox(p_.id));
      EXPECT_FALSE(DriverEnabled(main_));
      if (edit)
        ExpectRows({Columns(c, c.rowA)});
      else
        ExpectRows({});
      ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.cancel)));
      ASSERT_TRUE(WaitGone(dialog));
    }
  }
  ExpectRows({Columns(c, c.rowA)});
}

// Every text field refuses a line break and each section marker of project files: a
// message names the field and the dialog stays open with nothing written.
TEST_P(DialogsTest, RefusesLineBreaksAndSectionMarkers) {
  const DialogCase& c = GetParam();
  const char* const markers[] = {"[Languages]", "[Files/Dirs]", "[Licence_Begin]", "[Licence_End]", "[Registry]",
                                 "[Variables]", "[SCs]",        "[ZKP_End]",       "[Commands]"};
  const char* const breaks[] = {"two\r\nlines", "two\nlines", "two\rlines", "\r\n"};
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  HWND dialog = Open(false);
  ASSERT_NE(nullptr, dialog);
  ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowC));
  HWND ok = DriverFindControl(dialog, c.ok);
  for (size_t f = 0; f < c.fields.size(); ++f) {
    HWND field = DriverFindControl(dialog, c.fields[f]);
    // Every form on the first field; one line break and one marker on each other field.
    std::vector<std::string> bad;
    if (f == 0) {
      bad.assign(std::begin(breaks), std::end(breaks));
      bad.insert(bad.end(), std::begin(markers), std::end(markers));
    } else {
      bad = {breaks[f % 4], markers[(f * 2 + c.window) % 9]};
    }
    for (const std::string& text : bad) {
      SCOPED_TRACE(std::string(c.fieldNames[f]) + " = \"" + text + "\"");
      ASSERT_TRUE(DriverSetText(field, text));
      Settle(dialog);
      ASSERT_TRUE(WaitEnabled(ok, true));
      ASSERT_TRUE(DriverClick(ok));
      std::string message;
      ASSERT_TRUE(DriverAnswerMessageBox(p_.id, "Zendrikolbar", IDOK, kWaitMs, &message));
      EXPECT_NE(std::string::npos, message.find(c.fieldNames[f])) << message;
      Settle(dialog);
      EXPECT_TRUE(DriverVisible(dialog));
      EXPECT_FALSE(DriverEnabled(main_));
      ExpectRows({});
    }
    ASSERT_TRUE(DriverSetText(field, c.rowC.texts[f]));
  }
  // A marker inside a longer text is harmless.
  ASSERT_TRUE(DriverSetText(DriverFindControl(dialog, c.fields[0]), "x[Registry]"));
  Settle(dialog);
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  RowValues stored = c.rowC;
  stored.texts[0] = "x[Registry]";
  ExpectRows({Columns(c, stored)});

  // Editing refuses the same and keeps the row.
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(DriverSetText(DriverFindControl(dialog, c.fields[0]), "[SCs]"));
  Settle(dialog);
  ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.ok)));
  ASSERT_TRUE(DriverAnswerMessageBox(p_.id, "Zendrikolbar", IDOK, kWaitMs, nullptr));
  Settle(dialog);
  EXPECT_TRUE(DriverVisible(dialog));
  ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.cancel)));
  ASSERT_TRUE(WaitGone(dialog));
  ExpectRows({Columns(c, stored)});
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogsTest, ::testing::ValuesIn(Cases()), CaseName);

// ---- what only one dialog does ----------------------------------------------------------

DialogCase CaseNamed(const char* name) {
  for (const DialogCase& c : Cases())
    if (std::string(c.name) == name) return c;
  return DialogCase();
}

class RegistryDialogTest : public DialogsTest {};

// The remove-when-uninstalling box is the row's item data; it can only be changed while
// the uninstaller is included, and an edit keeps it otherwise.
TEST_P(RegistryDialogTest, RemoveFlagIsTheRowsItemData) {
  const DialogCase& c = GetParam();
  HWND uninstaller = Control(0x36);
  ASSERT_NO_FATAL_FAILURE(ShowListPage());

  // Without the uninstaller: the box is off and locked, the row gets 0.
  HWND dialog = Open(false);
  ASSERT_NE(nullptr, dialog);
  HWND box = DriverFindControl(dialog, 0xC4);
  EXPECT_FALSE(DriverEnabled(box));
  EXPECT_EQ(BST_UNCHECKED, DriverCheckState(box));
  ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowA));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  EXPECT_EQ(0, RowData(List(), 0));

  // With it: checked adds a row with 1.
  ASSERT_NO_FATAL_FAILURE(ShowPage(2, 3, 0x36));
  ASSERT_TRUE(DriverClick(uninstaller));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(uninstaller) == BST_CHECKED; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  dialog = Open(false);
  ASSERT_NE(nullptr, dialog);
  box = DriverFindControl(dialog, 0xC4);
  EXPECT_TRUE(DriverEnabled(box));
  ASSERT_NO_FATAL_FAILURE(Fill(dialog, c.rowB));
  ASSERT_TRUE(DriverClick(box));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(box) == BST_CHECKED; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  EXPECT_EQ(0, RowData(List(), 0));
  EXPECT_EQ(1, RowData(List(), 1));

  // Edit shows each row's flag; unchecking writes 0 in place.
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(BST_UNCHECKED, DriverCheckState(DriverFindControl(dialog, 0xC4)));
  ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.cancel)));
  ASSERT_TRUE(WaitGone(dialog));
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(1));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  box = DriverFindControl(dialog, 0xC4);
  EXPECT_EQ(BST_CHECKED, DriverCheckState(box));
  ASSERT_TRUE(DriverClick(box));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(box) == BST_UNCHECKED; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  EXPECT_EQ(0, RowData(List(), 1));
  ExpectRows({Columns(c, c.rowA), Columns(c, c.rowB)});

  // A flag set while the uninstaller was included survives an edit without it.
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(1));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  box = DriverFindControl(dialog, 0xC4);
  ASSERT_TRUE(DriverClick(box));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(box) == BST_CHECKED; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  EXPECT_EQ(1, RowData(List(), 1));
  ASSERT_NO_FATAL_FAILURE(ShowPage(2, 3, 0x36));
  ASSERT_TRUE(DriverClick(uninstaller));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(uninstaller) == BST_UNCHECKED; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(1));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  box = DriverFindControl(dialog, 0xC4);
  EXPECT_FALSE(DriverEnabled(box));
  EXPECT_EQ(BST_CHECKED, DriverCheckState(box));
  ASSERT_TRUE(DriverSetText(DriverFindControl(dialog, 0x6B), "changed"));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  EXPECT_EQ(1, RowData(List(), 1));
  EXPECT_EQ("changed", Row(List(), 1, 4)[3]);
}

// Each root key name selects its own entry; a name the dialog does not know opens as the
// first entry and is written back as that.
TEST_P(RegistryDialogTest, RootKeyCellSelectsItsEntry) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  for (int entry = 0; entry < 5; ++entry) AddRow({entry, {"Software\\Zk", "V" + std::to_string(entry), ""}});
  for (int entry = 0; entry < 5; ++entry) {
    ASSERT_NO_FATAL_FAILURE(SelectAndWait(entry));
    HWND dialog = Open(true);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(entry, DriverComboSelection(DriverFindControl(dialog, c.combo))) << kRootKeys[entry];
    ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.cancel)));
    ASSERT_TRUE(WaitGone(dialog));
  }
  ASSERT_TRUE(SetCell(List(), 3, 0, "HKEY_SOMEWHERE"));
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(3));
  HWND dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(0, DriverComboSelection(DriverFindControl(dialog, c.combo)));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  EXPECT_EQ("HKEY_CLASSES_ROOT", Row(List(), 3, 1)[0]);
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryDialogTest, ::testing::Values(CaseNamed("Registry")), CaseName);

class ShortcutDialogTest : public DialogsTest {};

TEST_P(ShortcutDialogTest, UnknownDestinationOpensAndIsWrittenAsDesktop) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  ASSERT_NO_FATAL_FAILURE(AddRow(c.rowA));
  ASSERT_TRUE(SetCell(List(), 0, 0, "Elsewhere"));
  ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
  HWND dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(0, DriverComboSelection(DriverFindControl(dialog, c.combo)));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  RowValues stored = c.rowA;
  stored.entry = 0;
  ExpectRows({Columns(c, stored)});
}

INSTANTIATE_TEST_SUITE_P(Shortcut, ShortcutDialogTest, ::testing::Values(CaseNamed("Shortcut")), CaseName);

class CommandDialogTest : public DialogsTest {};

TEST_P(CommandDialogTest, OkWithAnEmptyCommandDoesNothingAndSaysNothing) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  HWND dialog = Open(false);
  ASSERT_NE(nullptr, dialog);
  HWND command = DriverFindControl(dialog, 0xD1);
  ASSERT_TRUE(DriverSetText(command, ""));
  Settle(dialog);
  HWND ok = DriverFindControl(dialog, c.ok);
  EXPECT_TRUE(DriverEnabled(ok));
  ASSERT_TRUE(DriverClick(ok));
  Settle(dialog);
  EXPECT_TRUE(DriverVisible(dialog));
  EXPECT_EQ(nullptr, FindMessageBox(p_.id));
  ExpectRows({});
  ASSERT_TRUE(DriverSetText(command, "x.exe"));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  ExpectRows({{"Execute application", "x.exe", "", "-wait -hide"}});
}

// A shell command has only its command line: choosing "Shell execute" empties and locks
// parameters and options and empties the command; "Execute application" unlocks them.
TEST_P(CommandDialogTest, ShellExecuteKeepsOnlyTheCommandLine) {
  const DialogCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowListPage());
  HWND dialog = Open(false);
  ASSERT_NE(nullptr, dialog);
  HWND type = DriverFindControl(dialog, c.combo);
  HWND command = DriverFindControl(dialog, 0xD1);
  HWND parameters = DriverFindControl(dialog, 0xD2);
  HWND options = DriverFindControl(dialog, 0xD3);
  ASSERT_TRUE(DriverSetText(parameters, "/p"));
  ASSERT_TRUE(DriverComboSelect(type, 1));
  EXPECT_TRUE(WaitEnabled(parameters, false));
  EXPECT_TRUE(WaitEnabled(options, false));
  EXPECT_TRUE(DriverWaitText(command, "", kWaitMs));
  EXPECT_EQ("", DriverText(parameters));
  EXPECT_EQ("", DriverText(options));
  ASSERT_TRUE(DriverSetText(command, "readme.txt"));
  // The combo box taking the focus is no change of type: the command stays.
  SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.combo), CBN_SETFOCUS),
                      reinterpret_cast<LPARAM>(type), SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, nullptr);
  Settle(dialog);
  EXPECT_EQ("readme.txt", DriverText(command));
  ASSERT_NO_FATAL_FAILURE(Confirm(dialog));
  ExpectRows({{"Shell execute", "readme.txt", "", ""}});

  ASSERT_NO_FATAL_FAILURE(SelectAndWait(0));
  dialog = Open(true);
  ASSERT_NE(nullptr, dialog);
  type = DriverFindControl(dialog, c.combo);
  command = DriverFindControl(dialog, 0xD1);
  parameters = DriverFindControl(dialog, 0xD2);
  options = DriverFindControl(dialog, 0xD3);
  EXPECT_EQ(1, DriverComboSelection(type));
  EXPECT_EQ("readme.txt", DriverText(command));
  EXPECT_FALSE(DriverEnabled(parameters));
  EXPECT_FALSE(DriverEnabled(options));
  ASSERT_TRUE(DriverComboSelect(type, 0));
  EXPECT_TRUE(WaitEnabled(parameters, true));
  EXPECT_TRUE(WaitEnabled(options, true));
  EXPECT_EQ("readme.txt", DriverText(command));
  EXPECT_EQ("", DriverText(parameters));
  EXPECT_EQ("", DriverText(options));
  ASSERT_TRUE(DriverComboSelect(type, 1));
  EXPECT_TRUE(DriverWaitText(command, "", kWaitMs));
  EXPECT_TRUE(WaitEnabled(parameters, false));
  ASSERT_TRUE(DriverClick(DriverFindControl(dialog, c.cancel)));
  ASSERT_TRUE(WaitGone(dialog));
  ExpectRows({{"Shell execute", "readme.txt", "", ""}});
}

INSTANTIATE_TEST_SUITE_P(Command, CommandDialogTest, ::testing::Values(CaseNamed("Command")), CaseName);

}  // namespace
