// The main window's commands, driven from outside as a person would use them: project
// New, Open, Save and Save As, languages, the files list, the requesters that fill path
// fields, the messages, Update, and a whole project that goes through Save, New and Open
// unchanged.
//
// Each test runs its own copy of Zendrikolbar.exe in a scratch folder, so it has its own
// "Languages" folder. Requesters answer from a script (ZK_TEST_REQUESTERS); message boxes
// are real and answered through their windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app_driver.h"
#include "app/controls.h"
#include "app/test_paths.h"
#include "driver/driver.h"
#include "support/file_bytes.h"
#include "support/waits.h"

using namespace ctl;

namespace {

const DWORD kStartMs = 20000;  // a first Wine start of a program can be slow
const DWORD kActMs = 8000;
const char kTitle[] = "Zendrikolbar";

// The name the file system stores for path (its letter case).
std::string StoredName(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return "";
  FindClose(h);
  return fd.cFileName;
}

// ---- controls of another process ----------------------------------------------------
// Common-control messages carry pointers unchanged, so their records must live in the
// program's own memory.
class RemoteBlock {
 public:
  RemoteBlock(HWND w, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    proc_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (proc_)
      mem_ = static_cast<char*>(VirtualAllocEx(proc_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (mem_) VirtualFreeEx(proc_, mem_, 0, MEM_RELEASE);
    if (proc_) CloseHandle(proc_);
  }
  bool ok() const { return mem_ != nullptr; }
  char* at(size_t offset) const { return mem_ + offset; }
  bool Write(size_t offset, const void* data, size_t n) {
    SIZE_T moved = 0;
    return WriteProcessMemory(proc_, mem_ + offset, data, n, &moved) && moved == n;
  }
  bool Read(size_t offset, void* data, size_t n) {
    SIZE_T moved = 0;
    return ReadProcessMemory(proc_, mem_ + offset, data, n, &moved) && moved == n;
  }

 private:
  HANDLE proc_ = nullptr;
  char* mem_ = nullptr;
  size_t size_;
};

LRESULT SendTo(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(w, m, wp, lp, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &r)) return 0;
  return static_cast<LRESULT>(r);
}

std::vector<HTREEITEM> TreeItems(HWND tree) {
  std::vector<HTREEITEM> items;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendTo(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  while (item) {
    items.push_back(item);
    item = reinterpret_cast<HTREEITEM>(SendTo(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  }
  return items;
}

bool TreeChecked(HWND tree, HTREEITEM item) {
  return ((SendTo(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK) >> 12) & 0xF) == 2;
}

std::string TreeText(HWND tree, HTREEITEM item) {
  const int cch = 512;
  RemoteBlock block(tree, sizeof(TVITEMW) + cch * sizeof(wchar_t));
  if (!block.ok()) return "?";
  TVITEMW tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = reinterpret_cast<LPWSTR>(block.at(sizeof(TVITEMW)));
  tv.cchTextMax = cch;
  std::vector<wchar_t> text(cch, L'\0');
  if (!block.Write(0, &tv, sizeof(tv)) || !block.Write(sizeof(TVITEMW), text.data(), cch * sizeof(wchar_t)) ||
      !SendTo(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.at(0))) ||
      !block.Read(sizeof(TVITEMW), text.data(), cch * sizeof(wchar_t)))
    return "?";
  text[cch - 1] = L'\0';
  char out[cch * 2];
  WideCharToMultiByte(CP_UTF8, 0, text.data(), -1, out, sizeof(out), nullptr, nullptr);
  return out;
}

// "Name" or "Name*" (checked) per language, joined by ",".
std::string TreeSummary(HWND tree) {
  std::string s;
  for (HTREEITEM item : TreeItems(tree)) {
    if (!s.empty()) s += ",";
    s += TreeText(tree, item) + (TreeChecked(tree, item) ? "*" : "");
  }
  return s;
}

// Selects (and focuses) or deselects a list row, as a click with Ctrl held would.
bool ListSelect(HWND list, int row, bool select) {
  RemoteBlock block(list, sizeof(LVITEMW));
  if (!block.ok()) return false;
  LVITEMW lv = {};
  lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  lv.state = select ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  return block.Write(0, &lv, sizeof(lv)) && SendTo(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.at(0)));
}

// Every row as "column|column|...", rows joined by "\n".
std::string ListSummary(HWND list, int columns) {
  std::string s;
  for (int row = 0, n = DriverListCount(list); row < n; ++row) {
    if (row) s += "\n";
    for (int c = 0; c < columns; ++c) {
      std::string text;
      if (!DriverListItem(list, row, c, &text)) text = "?";
      s += (c ? "|" : "") + text;
    }
  }
  return s;
}

// ---- the program under test ----------------------------------------------------------

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    static int counter = 0;
    root_ = std::string(temp) + "zk_commands_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    prog_ = root_ + "prog\\";
    work_ = root_ + "work\\";
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(prog_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(work_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((prog_ + "Languages").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA("Zendrikolbar.exe", (prog_ + "Zendrikolbar.exe").c_str(), FALSE));
    script_ = root_ + "answers.txt";
    ASSERT_TRUE(PutBytes(script_, ""));
    ASSERT_TRUE(SetEnvironmentVariableA("ZK_TEST_REQUESTERS", script_.c_str()));
  }

  void TearDown() override {
    if (DriverRunning(p_)) DriverKill(p_);
    DriverRelease(&p_);
    SetEnvironmentVariableA("ZK_TEST_REQUESTERS", nullptr);
    RemoveTree(root_);
  }

  void AddLanguages(std::initializer_list<const char*> names) {
    for (const char* n : names) ASSERT_TRUE(PutBytes(prog_ + "Languages\\" + n + ".zkl", "[Language]\r\n"));
  }

  // Starts the private copy; `args` names a project to open.
  void Start(const std::string& args = "") {
    ASSERT_TRUE(DriverStart(prog_ + "Zendrikolbar.exe", args, prog_, &p_));
    main_ = DriverWaitWindowPrefix(kTitle, p_.id, kStartMs);
    ASSERT_NE(nullptr, main_);
    ASSERT_NE(nullptr, DriverWaitControl(main_, kFiles, kActMs));
  }

  // The next requester's answer.
  void Answer(const std::string& line) {
    HANDLE h = CreateFileA(script_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    std::string text = line + "\r\n";
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    CloseHandle(h);
  }

  HWND Ctl(int id) { return DriverFindControl(main_, id); }
  std::string Text(int id) { return DriverText(Ctl(id)); }
  std::string Title() { return DriverText(main_); }

  bool Menu(int id) {
    return WaitFor([&] { return DriverEnabled(main_); }, kActMs) && DriverMenuCommand(main_, id);
  }

  // Shows the page of task-pane group and item, then clicks control w once it can be.
  bool PressWindow(int group, int item, HWND w) {
    // The pane may still be scrolling when it is clicked; then the page does not come.
    bool shown = false;
    for (int attempt = 0; attempt < 4 && !shown; ++attempt)
      shown = ClickTaskPaneItem(main_, group, item) && WaitFor([&] { return DriverVisible(w); }, 2000);
    if (!shown) return false;
    if (!WaitFor([&] { return DriverEnabled(w) && DriverEnabled(main_); }, kActMs)) return false;
    return DriverClick(w);
  }
  bool Press(int group, int item, int id) { return PressWindow(group, item, Ctl(id)); }

  // Answers the next message box; its text goes to *text.
  bool Box(int button, std::string* text = nullptr, const char* title = kTitle) {
    return DriverAnswerMessageBox(p_.id, title, button, kActMs, text);
  }

  // Every event before this point has been handled once the help box is up.
  void Barrier() {
    ASSERT_TRUE(Menu(kMenuHelp));
    ASSERT_TRUE(Box(IDOK));
  }

  // Saves through Save As, answering the requester with path.
  void SaveAs(const std::string& path) {
    Answer(path);
    ASSERT_TRUE(Menu(kMenuSaveAs));
  }

  int TreeCount() { return static_cast<int>(TreeItems(Ctl(kLanguages)).size()); }

  std::string root_, prog_, work_, script_;
  DriverProcess p_;
  HWND main_ = nullptr;
};

// A project file with only the sections: languages checked at the given positions, no
// rows, no licence text. Every field reads as empty.
std::string SectionsOnlyProject(std::initializer_list<int> languages) {
  std::string s = "[Languages]\r\n";
  for (int l : languages) s += std::to_string(l) + "\r\n";
  s += "[Files/Dirs]\r\n[Licence_Begin]\r\n";
  s += std::string(4, '\0');
  s += "[Licence_End]\r\n[Registry]\r\n[Variables]\r\n[SCs]\r\n[ZKP_End]\r\n[Commands]\r\n";
  return s;
}

TEST_F(CommandsTest, NewAsksAndResetsOnlyOnYes) {
  Start();
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Kept"));
  ASSERT_TRUE(Menu(kMenuNew));
  std::string text;
  ASSERT_TRUE(Box(IDNO, &text));
  EXPECT_EQ("Are you sure that you want to close the current project?", text);
  Barrier();
  EXPECT_EQ("Kept", Text(kProgramName));

  ASSERT_TRUE(Menu(kMenuNew));
  ASSERT_TRUE(Box(IDYES));
  EXPECT_TRUE(WaitFor([&] { return Text(kProgramName).empty(); }, kActMs));
  EXPECT_EQ("http://", Text(kWebsite));
  EXPECT_EQ(kTitle, Title());
}

TEST_F(CommandsTest, SaveAsNamesTheFileAndAsksBeforeOverwriting) {
  Start();
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Named"));

  // No extension: ".zkp" is added.
  SaveAs(work_ + "demo");
  std::string demo = work_ + "demo.zkp";
  EXPECT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + demo, kActMs));
  EXPECT_TRUE(IsFile(demo));
  EXPECT_FALSE(IsFile(work_ + "demo"));

  // Any letter case of ".zkp" is kept as typed.
  ASSERT_TRUE(CreateDirectoryA((work_ + "upper").c_str(), nullptr));
  std::string upper = work_ + "upper\\DEMO.ZKP";
  SaveAs(upper);
  EXPECT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + upper, kActMs));
  EXPECT_EQ("DEMO.ZKP", StoredName(upper));
  EXPECT_FALSE(IsFile(upper + ".zkp"));

  // An existing file and No: nothing written, the project keeps its path.
  std::string keep = work_ + "keep.zkp";
  ASSERT_TRUE(PutBytes(keep, "not a project"));
  SaveAs(keep);
  std::string text;
  ASSERT_TRUE(Box(IDNO, &text));
  EXPECT_EQ("Do you want to overwrite the existing file?", text);
  Barrier();
  EXPECT_EQ("not a project", GetBytes(keep));
  EXPECT_EQ("Zendrikolbar - " + upper, Title());

  // Save goes on writing to the kept path, without a requester.
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Second"));
  std::string before = GetBytes(upper);
  ASSERT_TRUE(Menu(kMenuSave));
  EXPECT_TRUE(WaitFor([&] { return GetBytes(upper) != before; }, kActMs));
  EXPECT_NE(std::string::npos, GetBytes(upper).find("Second"));

  // Yes overwrites.
  SaveAs(keep);
  ASSERT_TRUE(Box(IDYES));
  EXPECT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + keep, kActMs));
  EXPECT_NE(std::string::npos, GetBytes(keep).find("Second"));
}

TEST_F(CommandsTest, SaveOnAnUntitledProjectIsSaveAsThenWritesThere) {
  Start();
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "First"));
  std::string path = work_ + "untitled.zkp";
  Answer(path);
  ASSERT_TRUE(Menu(kMenuSave));
  EXPECT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + path, kActMs));
  EXPECT_NE(std::string::npos, GetBytes(path).find("First"));

  // No answer is left in the script: a requester now would cancel and write nothing.
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Again"));
  ASSERT_TRUE(Menu(kMenuSave));
  EXPECT_TRUE(WaitFor([&] { return GetBytes(path).find("Again") != std::string::npos; }, kActMs));
}

TEST_F(CommandsTest, FailedSavesAreReportedAndKeepTheProject) {
  Start();
  std::string good = work_ + "good.zkp";
  SaveAs(good);
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + good, kActMs));
  std::string saved = GetBytes(good);

  // Save As into a folder that does not exist.
  std::string text;
  SaveAs(work_ + "missing\\lost.zkp");
  ASSERT_TRUE(Box(IDOK, &text));
  EXPECT_NE(std::string::npos, text.find("cannot be saved")) << text;
  EXPECT_EQ("Zendrikolbar - " + good, Title());

  // Save while another program holds the file: reported, and the old file stays whole.
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Changed"));
  HANDLE held = CreateFileA(good.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  ASSERT_TRUE(Menu(kMenuSave));
  text.clear();
  bool reported = Box(IDOK, &text);
  CloseHandle(held);
  EXPECT_TRUE(reported);
  EXPECT_NE(std::string::npos, text.find("cannot be saved")) << text;
  EXPECT_EQ(saved, GetBytes(good));
  EXPECT_EQ("Zendrikolbar - " + good, Title());
}

TEST_F(CommandsTest, OpenShowsTheProjectAndAFailedOpenKeepsIt) {
  Start();
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Opened"));
  std::string path = work_ + "open me.zkp";
  SaveAs(path);
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + path, kActMs));
  ASSERT_TRUE(Menu(kMenuNew));
  ASSERT_TRUE(Box(IDYES));
  ASSERT_TRUE(DriverWaitText(main_, kTitle, kActMs));

  Answer(path);
  ASSERT_TRUE(Menu(kMenuOpen));
  EXPECT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + path, kActMs));
  EXPECT_EQ("Opened", Text(kProgramName));

  // A file that is not there: said so, and the open project stays with its path.
  ASSERT_TRUE(DriverSetText(Ctl(kProgramName), "Still here"));
  Answer(work_ + "nothing.zkp");
  ASSERT_TRUE(Menu(kMenuOpen));
  std::string text;
  ASSERT_TRUE(Box(IDOK, &text));
  EXPECT_NE(std::string::npos, text.find("cannot be opened")) << text;
  EXPECT_NE(std::string::npos, text.find("nothing.zkp")) << text;
  EXPECT_EQ("Zendrikolbar - " + path, Title());
  EXPECT_EQ("Still here", Text(kProgramName));
  ASSERT_TRUE(Menu(kMenuSave));
  EXPECT_TRUE(WaitFor([&] { return GetBytes(path).find("Still here") != std::string::npos; }, kActMs));

  // A cancelled requester changes nothing.
  Answer("");
  ASSERT_TRUE(Menu(kMenuOpen));
  Barrier();
  EXPECT_EQ("Zendrikolbar - " + path, Title());
}

TEST_F(CommandsTest, ImportAddsALanguageOnceAndReportsAFailedCopy) {
  AddLanguages({"English", "German"});
  Start();
  ASSERT_EQ(2, TreeCount());
  ASSERT_TRUE(CreateDirectoryA((work_ + "in").c_str(), nullptr));
  std::string source = work_ + "in\\Klingon.zkl";
  ASSERT_TRUE(PutBytes(source, "[Language]\r\nName = Klingon\r\n"));

  // The requester leaves the current folder at work_\in; the copy still lands beside
  // the program.
  Answer(source);
  ASSERT_TRUE(Menu(kMenuImportLanguage));
  EXPECT_TRUE(WaitFor([&] { return TreeCount() == 3; }, kActMs));
  EXPECT_EQ("English,German,Klingon", TreeSummary(Ctl(kLanguages)));
  EXPECT_EQ(GetBytes(source), GetBytes(prog_ + "Languages\\Klingon.zkl"));
  EXPECT_FALSE(IsFile(work_ + "in\\Languages\\Klingon.zkl"));

  // Again through the page's button: the file is copied again, the list keeps one item.
  ASSERT_TRUE(PutBytes(source, "[Language]\r\nName = Klingon 2\r\n"));
  Answer(source);
  ASSERT_TRUE(Press(1, 3, kImportLanguage));
  EXPECT_TRUE(WaitFor([&] { return GetBytes(prog_ + "Languages\\Klingon.zkl") == GetBytes(source); }, kActMs));
  Barrier();
  EXPECT_EQ(3, TreeCount());

  // Empty files are not imported, silently.
  std::string empty = work_ + "in\\Empty.zkl";
  ASSERT_TRUE(PutBytes(empty, ""));
  Answer(empty);
  ASSERT_TRUE(Menu(kMenuImportLanguage));
  Barrier();
  EXPECT_EQ(3, TreeCount());
  EXPECT_FALSE(IsFile(prog_ + "Languages\\Empty.zkl"));

  // A file from the Languages folder itself needs no copy; it is listed all the same.
  ASSERT_TRUE(PutBytes(prog_ + "Languages\\Late.zkl", "[Language]\r\n"));
  Answer(prog_ + "Languages\\Late.zkl");
  ASSERT_TRUE(Menu(kMenuImportLanguage));
  EXPECT_TRUE(WaitFor([&] { return TreeCount() == 4; }, kActMs));
  EXPECT_EQ("[Language]\r\n", GetBytes(prog_ + "Languages\\Late.zkl"));

  // A copy that fails (a folder has the file's name) is reported and adds nothing.
  ASSERT_TRUE(CreateDirectoryA((prog_ + "Languages\\Vulcan.zkl").c_str(), nullptr));
  std::string vulcan = work_ + "in\\Vulcan.zkl";
  ASSERT_TRUE(PutBytes(vulcan, "[Language]\r\n"));
  Answer(vulcan);
  ASSERT_TRUE(Menu(kMenuImportLanguage));
  std::string text;
  ASSERT_TRUE(Box(IDOK, &text));
  EXPECT_NE(std::string::npos, text.find("could not be copied")) << text;
  EXPECT_EQ(4, TreeCount());
}

TEST_F(CommandsTest, DeleteRemovesEveryCheckedLanguageAndItsFile) {
  AddLanguages({"Alpha", "Beta", "Gamma", "Delta"});
  // Listed by name: Alpha, Beta, Delta, Gamma; Beta and Delta are checked.
  std::string project = work_ + "checked.zkp";
  ASSERT_TRUE(PutBytes(project, SectionsOnlyProject({1, 2})));
  Start("\"" + project + "\"");
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + project, kActMs));
  ASSERT_EQ("Alpha,Beta*,Delta*,Gamma", TreeSummary(Ctl(kLanguages)));
  // Beta's file is already gone: its item goes all the same.
  ASSERT_TRUE(DeleteFileA((prog_ + "Languages\\Beta.zkl").c_str()));

  ASSERT_TRUE(Press(1, 3, kDeleteLanguage));
  EXPECT_TRUE(WaitFor([&] { return TreeCount() == 2; }, kActMs));
  EXPECT_EQ("Alpha,Gamma", TreeSummary(Ctl(kLanguages)));
  EXPECT_FALSE(IsFile(prog_ + "Languages\\Delta.zkl"));
  EXPECT_TRUE(IsFile(prog_ + "Languages\\Alpha.zkl"));
  EXPECT_TRUE(IsFile(prog_ + "Languages\\Gamma.zkl"));
  // Nothing is checked any more, so the button is off again.
  EXPECT_TRUE(WaitFor([&] { return !DriverEnabled(Ctl(kDeleteLanguage)); }, kActMs));
}

TEST_F(CommandsTest, FilesListAddRemoveAndRemoveAll) {
  Start();
  ASSERT_TRUE(CreateDirectoryA((work_ + "src.d").c_str(), nullptr));
  struct File {
    std::string name;
    size_t size;
    const char* sizeText;
    const char* type;
  } files[] = {
      {"notes.txt", 1536, "1.5 KB", "txt"},
      {"data.tar.gz", 10, "10 Byte", "gz"},
      // The dot of the folder is not an extension.
      {"src.d\\README", 0, "0 Byte", ""},
  };
  std::string answer;
  for (const File& f : files) {
    ASSERT_TRUE(PutBytes(work_ + f.name, std::string(f.size, 'x')));
    answer += (answer.empty() ? "" : "|") + work_ + f.name;
  }
  Answer(answer);
  ASSERT_TRUE(Press(2, 1, kAddFiles));
  HWND list = Ctl(kFiles);
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(list) == 3; }, kActMs));
  std::string expected;
  for (const File& f : files)
    expected += std::string(expected.empty() ? "" : "\n") + "|" + work_ + f.name + "|" + f.sizeText + "|" + f.type;
  EXPECT_EQ(expected, ListSummary(list, 4));

  Answer(work_ + "src.d");
  ASSERT_TRUE(Press(2, 1, kAddFolder));
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(list) == 4; }, kActMs));
  EXPECT_EQ("|" + work_ + "src.d\\|n/a|[Folder]", ListSummary(list, 4).substr(expected.size() + 1));
  // The same folder may be added again; a cancelled requester adds nothing.
  Answer(work_ + "src.d\\");
  ASSERT_TRUE(Press(2, 1, kAddFolder));
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(list) == 5; }, kActMs));
  Answer("");
  ASSERT_TRUE(Press(2, 1, kAddFiles));
  Barrier();
  EXPECT_EQ(5, DriverListCount(list));

  // Remove takes every selected row.
  ASSERT_TRUE(ListSelect(list, 0, true));
  ASSERT_TRUE(ListSelect(list, 2, true));
  ASSERT_TRUE(ListSelect(list, 3, true));
  ASSERT_TRUE(Press(2, 1, kRemoveFile));
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(list) == 2; }, kActMs));
  std::string path;
  ASSERT_TRUE(DriverListItem(list, 0, 1, &path));
  EXPECT_EQ(work_ + "data.tar.gz", path);
  ASSERT_TRUE(DriverListItem(list, 1, 1, &path));
  EXPECT_EQ(work_ + "src.d\\", path);

  ASSERT_TRUE(Press(2, 1, kRemoveAllFiles));
  EXPECT_TRUE(WaitFor([&] { return DriverListCount(list) == 0; }, kActMs));
  // Remove All follows the row count before each event is handled, so from the next one.
  Barrier();
  EXPECT_FALSE(DriverEnabled(Ctl(kRemoveAllFiles)));
}

TEST_F(CommandsTest, SetupFileRequesterAddsExeAndCancelKeepsTheField) {
  Start();
  struct Case {
    std::string answer;
    std::string field;
  } cases[] = {
      {work_ + "Setup", work_ + "Setup.exe"},
      {work_ + "OTHER.EXE", work_ + "OTHER.EXE"},
      {work_ + "v1.2", work_ + "v1.2.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Answer(c.answer);
    ASSERT_TRUE(Press(5, 1, kSetupFileButton));
    EXPECT_TRUE(DriverWaitText(Ctl(kSetupFile), c.field, kActMs));
  }
  Answer("");
  ASSERT_TRUE(Press(5, 1, kSetupFileButton));
  Barrier();
  EXPECT_EQ(work_ + "v1.2.exe", Text(kSetupFile));
}

TEST_F(CommandsTest, MessagesOfHelpAndEnvironmentVariables) {
  Start();
  std::string text;
  ASSERT_TRUE(Menu(kMenuHelp));
  ASSERT_TRUE(Box(IDOK, &text));
  EXPECT_EQ("There is currently no help available. Please visit the Zendrikolbar forum for any questions.", text);

  ASSERT_TRUE(Press(3, 3, kEnvironmentVariables));
  ASSERT_TRUE(Box(IDOK, &text, "Environment Variables"));
  EXPECT_EQ(
      "ZK_INSTALLPATH: installation path\n"
      "ZK_LANGUAGE: setup language chosen by the user\n"
      "ZK_USERNAME: username entered by the user\n"
      "ZK_ORGANISATION: name of the organisation entered by the user",
      text);
}

TEST_F(CommandsTest, UpdateStartsTheUpdaterBesideTheProgram) {
  Start();
  // Nothing there: nothing happens, nothing is said.
  ASSERT_TRUE(Menu(kMenuUpdate));
  Barrier();

  ASSERT_TRUE(CopyFileA("driver_fixture.exe", (prog_ + "Update.exe").c_str(), FALSE));
  // A requester has moved the current folder elsewhere first.
  ASSERT_TRUE(PutBytes(work_ + "a.txt", "a"));
  Answer(work_ + "a.txt");
  ASSERT_TRUE(Press(2, 1, kAddFiles));
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(Ctl(kFiles)) == 1; }, kActMs));
  ASSERT_TRUE(Menu(kMenuUpdate));
  HWND updater = DriverWaitWindow("Driver Fixture", 0, kStartMs);
  ASSERT_NE(nullptr, updater);
  DWORD pid = 0;
  GetWindowThreadProcessId(updater, &pid);
  // It runs in the program folder (the fixture shows its current folder).
  std::string folder = DriverText(DriverFindControl(updater, 19));
  std::string expected = prog_;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  while (!expected.empty() && expected.back() == '\\') expected.pop_back();
  EXPECT_EQ(0, lstrcmpiA(folder.c_str(), expected.c_str())) << folder;
  HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (h) {
    TerminateProcess(h, 0);
    WaitForSingleObject(h, kActMs);
    CloseHandle(h);
  }
}

// The demo project of examples/demo, written for this build folder by scripts/make-demo.sh.
TEST_F(CommandsTest, DemoProjectOpensAndIsWhatTheToolWouldWrite) {
  char full[MAX_PATH];
  ASSERT_NE(0u, GetFullPathNameA("..\\demo\\demo.zkp", MAX_PATH, full, nullptr));
  std::string demo = full;
  std::string original = GetBytes(demo);
  ASSERT_FALSE(original.empty()) << demo;
  // The same languages as the tool beside the tests, so the positions mean the same.
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA("Languages\\*.zkl", &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      CopyFileA((std::string("Languages\\") + fd.cFileName).c_str(), (prog_ + "Languages\\" + fd.cFileName).c_str(),
                FALSE);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }

  Start("\"" + demo + "\"");
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + demo, kActMs));
  EXPECT_EQ("Demo Notes", Text(kProgramName));
  EXPECT_EQ("1.0", Text(kProgramVersion));
  EXPECT_EQ("Zendrikolbar Samples", Text(kCompany));
  HWND files = Ctl(kFiles);
  ASSERT_EQ(4, DriverListCount(files));
  for (int row = 0; row < 4; ++row) {
    std::string path;
    ASSERT_TRUE(DriverListItem(files, row, 1, &path));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
  }
  EXPECT_EQ(
      "HKEY_CURRENT_USER|Software\\Zendrikolbar Samples\\Demo Notes|InstallPath|<installpath>\n"
      "HKEY_CURRENT_USER|Software\\Zendrikolbar Samples\\Demo Notes|Version|1.0",
      ListSummary(Ctl(kRegistry), 4));
  EXPECT_EQ(
      "Startmenu|Demo Notes|<installpath>\\bin\\DemoNotes.bat|\n"
      "Desktop|Demo Notes|<installpath>\\bin\\DemoNotes.bat|",
      ListSummary(Ctl(kShortcuts), 4));
  EXPECT_EQ(1, DriverListCount(Ctl(kVariables)));
  EXPECT_EQ("Execute application|<installpath>\\bin\\DemoNotes.bat|/firstrun \"<notesfolder>\"|-wait -hide",
            ListSummary(Ctl(kCommands), 4));
  EXPECT_NE(std::string::npos, Text(kLicenceEditor).find("Demo Notes licence"));

  // Saved again, the file is the same but for the licence text, which the editor
  // writes in its own RTF.
  std::string again = work_ + "again.zkp";
  SaveAs(again);
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + again, kActMs));
  auto withoutLicence = [](const std::string& bytes) {
    size_t begin = bytes.find("[Licence_Begin]\r\n");
    size_t end = bytes.find("[Licence_End]\r\n");
    if (begin == std::string::npos || end == std::string::npos || end < begin) return std::string("damaged");
    return bytes.substr(0, begin) + bytes.substr(end);
  };
  EXPECT_EQ(withoutLicence(original), withoutLicence(GetBytes(again)));
}

// ---- the whole project through Save, New and Open ------------------------------------

// A text field set by typing, or through the requester of its button.
struct TextSetting {
  int field;
  const char* value;        // relative to the work folder when set through a requester
  int group, item, button;  // button 0: typed
};

// A check box clicked once on its page (from whatever state it has).
struct CheckSetting {
  int group, item, id;
  const char* text;  // for the boxes whose numbers the program chooses
};

const TextSetting kTexts[] = {
    {kProgramName, "Round Trip", 0, 0, 0},
    {kProgramVersion, "2.5", 0, 0, 0},
    {kCompany, "Trip Company", 0, 0, 0},
    {kWebsite, "http://trip.example/", 0, 0, 0},
    {kWizardImage, "wizard.bmp", 1, 2, kWizardImageButton},
    {kHeaderImage, "header.jpg", 1, 2, kHeaderImageButton},
    {kIconImage, "icon.ico", 1, 2, kIconImageButton},
    {kZipPath, "files.zip", 2, 1, kZipButton},
    {kInstallPath, "<programfiles>\\Trip\\", 0, 0, 0},
    {kUninstallerName, "Remove Trip", 0, 0, 0},
    {kUninstallWebsite, "http://trip.example/bye", 0, 0, 0},
    {kRunProgramLine, "<installpath>\\trip.exe", 0, 0, 0},
    {kDllPath, "hook.dll", 3, 3, kDllButton},
    {kStartMenuFolder, "Trip\\Menu", 0, 0, 0},
    {kSplashImage, "splash.bmp", 3, 1, kSplashImageButton},
    {kSplashSound, "splash.wav", 3, 1, kSplashSoundButton},
    {kSplashTime, "5", 0, 0, 0},
    {kSetupFile, "TripSetup.exe", 5, 1, kSetupFileButton},
    {kProductName, "Trip Product", 0, 0, 0},
    {kProductVersion, "2.5.1", 0, 0, 0},
    {kMainAddress, "http://u1.example/", 0, 0, 0},
    {kAltAddress1, "http://u2.example/", 0, 0, 0},
    {kAltAddress2, "http://u3.example/", 0, 0, 0},
    {kUpdateFileName, "TripUpdate", 0, 0, 0},
    {kUpdaterProgramFile, "trip.exe", 0, 0, 0},
};

// In page order; a box that others enable comes after them.
const CheckSetting kChecks[] = {
    {1, 1, kWin2000, nullptr},
    {1, 1, kWinVista, nullptr},
    {1, 1, kWin8, nullptr},
    {1, 2, kShowLabel, nullptr},
    {2, 1, kUseZip, nullptr},
    {2, 1, kAllowChangePath, nullptr},
    {2, 2, kIncludeUpdater, nullptr},
    {2, 2, 0, "Run program"},
    {2, 2, 0, "Terminate process"},
    {2, 3, kIncludeUninstaller, nullptr},
    {2, 3, kVisitWebsite, nullptr},
    {3, 1, kShowSplash, nullptr},
    {3, 1, kPlaySound, nullptr},
    {3, 2, kShowLicence, nullptr},
    {3, 3, kRunProgram, nullptr},
    {3, 3, kLoadDll, nullptr},
    {4, 2, kAllowChangeStartMenu, nullptr},
    {4, 2, kStartMenuAllUsers, nullptr},
    {4, 2, kDesktopAllUsers, nullptr},
};

const int kTextFields[] = {kProgramName,      kProgramVersion, kCompany,     kWebsite,         kWizardImage,
                           kHeaderImage,      kIconImage,      kZipPath,     kInstallPath,     kUninstallerName,
                           kUninstallWebsite, kRunProgramLine, kDllPath,     kStartMenuFolder, kSplashImage,
                           kSplashSound,      kSplashTime,     kSetupFile,   kProductName,     kProductVersion,
                           kMainAddress,      kAltAddress1,    kAltAddress2, kUpdateFileName,  kUpdaterProgramFile,
                           kLicenceEditor};
const int kCheckBoxes[] = {kWin2000,
                           kWinXP,
                           kWinServer2003,
                           kWinVista,
                           kWinServer2008,
                           kWin7,
                           kWin8,
                           kShowLabel,
                           kStyle2000,
                           kStyleXP,
                           kUseZip,
                           kAllowChangePath,
                           kIncludeUpdater,
                           kIncludeUninstaller,
                           kVisitWebsite,
                           kShowSplash,
                           kPlaySound,
                           kShowLicence,
                           kRunProgram,
                           kReboot,
                           kLoadDll,
                           kAllowChangeStartMenu,
                           kStartMenuAllUsers,
                           kDesktopAllUsers};

class RoundTripTest : public CommandsTest {
 protected:
  HWND CheckBox(const CheckSetting& c) { return c.text ? DriverFindChild(main_, "Button", c.text) : Ctl(c.id); }

  // Everything the main window shows of the project.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> s;
    for (int id : kTextFields) s["text " + std::to_string(id)] = Text(id);
    for (int id : kCheckBoxes) s["check " + std::to_string(id)] = std::to_string(DriverCheckState(Ctl(id)));
    for (const char* t : {"Run program", "Terminate process"})
      s[std::string("check ") + t] = std::to_string(DriverCheckState(DriverFindChild(main_, "Button", t)));
    for (int id : {kCompression, kUpdaterLanguage})
      s["combo " + std::to_string(id)] = std::to_string(DriverComboSelection(Ctl(id)));
    s["languages"] = TreeSummary(Ctl(kLanguages));
    s["files"] = ListSummary(Ctl(kFiles), 4);
    s["registry"] = ListSummary(Ctl(kRegistry), 4);
    s["shortcuts"] = ListSummary(Ctl(kShortcuts), 4);
    s["variables"] = ListSummary(Ctl(kVariables), 5);
    s["commands"] = ListSummary(Ctl(kCommands), 4);
    return s;
  }

  // Opens a row dialog with its Add button, fills it and confirms it.
  void AddRow(int group, int item, int addButton, const char* title, int combo, int entry,
              std::initializer_list<std::pair<int, const char*>> fields, int checkBox, int okButton) {
    ASSERT_TRUE(Press(group, item, addButton));
    HWND dialog = DriverWaitWindow(title, p_.id, kActMs);
    ASSERT_NE(nullptr, dialog) << title;
    ASSERT_TRUE(DriverComboSelect(DriverFindControl(dialog, combo), entry));
    for (const auto& f : fields) ASSERT_TRUE(DriverSetText(DriverFindControl(dialog, f.first), f.second));
    if (checkBox) {
      ASSERT_TRUE(DriverClick(DriverFindControl(dialog, checkBox)));
    }
    HWND ok = DriverFindControl(dialog, okButton);
    ASSERT_TRUE(WaitFor([&] { return DriverEnabled(ok); }, kActMs));
    ASSERT_TRUE(DriverClick(ok));
    ASSERT_TRUE(WaitFor([&] { return !DriverVisible(dialog) && DriverEnabled(main_); }, kActMs));
  }
};

TEST_F(RoundTripTest, EveryPageSurvivesSaveNewOpenAndSavesTheSameBytes) {
  AddLanguages({"English", "French", "German"});
  std::string seed = work_ + "seed.zkp";
  ASSERT_TRUE(PutBytes(seed, SectionsOnlyProject({0, 2})));
  Start("\"" + seed + "\"");
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + seed, kActMs));

  for (const CheckSetting& c : kChecks) {
    HWND box = CheckBox(c);
    int before = DriverCheckState(box);
    ASSERT_TRUE(PressWindow(c.group, c.item, box)) << c.id;
    ASSERT_TRUE(WaitFor([&] { return DriverCheckState(box) == 1 - before; }, kActMs)) << c.id;
  }
  for (const TextSetting& t : kTexts) {
    if (!t.button) {
      ASSERT_TRUE(DriverSetText(Ctl(t.field), t.value)) << t.field;
      continue;
    }
    Answer(work_ + t.value);
    ASSERT_TRUE(Press(t.group, t.item, t.button)) << t.button;
    ASSERT_TRUE(DriverWaitText(Ctl(t.field), work_ + t.value, kActMs)) << t.field;
  }
  ASSERT_TRUE(DriverComboSelect(Ctl(kCompression), 0));
  ASSERT_TRUE(DriverComboSelect(Ctl(kUpdaterLanguage), 1));
  ASSERT_TRUE(DriverSetText(Ctl(kLicenceEditor), "Trip licence\r\nSecond line of terms"));

  ASSERT_TRUE(PutBytes(work_ + "trip.exe", std::string(3000, 'x')));
  ASSERT_TRUE(PutBytes(work_ + "trip.ini", "[Trip]\r\n"));
  Answer(work_ + "trip.exe|" + work_ + "trip.ini");
  ASSERT_TRUE(Press(2, 1, kAddFiles));
  Answer(work_);
  ASSERT_TRUE(Press(2, 1, kAddFolder));
  ASSERT_TRUE(WaitFor([&] { return DriverListCount(Ctl(kFiles)) == 3; }, kActMs));

  AddRow(4, 1, kAddRegistry, "Add registry value", kRegistryRootKey, 1,
         {{kRegistrySubKey, "Software\\Trip"}, {kRegistryValueName, "Path"}, {kRegistryValueData, "<installpath>"}},
         kRegistryRemoveOnUninstall, kRegistryOk);
  AddRow(4, 2, kAddShortcut, "Add shortcut", kShortcutDestination, 1,
         {{kShortcutName, "Trip"}, {kShortcutTarget, "<installpath>\\trip.exe"}, {kShortcutArguments, "-x"}}, 0,
         kShortcutOk);
  AddRow(2, 4, kAddVariable, "Add variables", kVariableRootKey, 2,
         {{kVariableName, "TRIPDIR"},
          {kVariableSubKey, "Software\\Trip"},
          {kVariableValueName, "Dir"},
          {kVariableDefault, "C:\\Trip"}},
         0, kVariableOk);
  // "Execute application": choosing "Shell execute" would empty the fields when the
  // program gets to it, perhaps after they were typed.
  AddRow(2, 5, kAddCommand, "Add command", kCommandType, 0,
         {{kCommandProgram, "<installpath>\\tool.exe"}, {kCommandParameters, "/s"}, {kCommandOptions, "-wait"}}, 0,
         kCommandOk);

  std::map<std::string, std::string> filled = Snapshot();
  // What was set is what the window shows.
  for (const TextSetting& t : kTexts)
    EXPECT_EQ(t.button ? work_ + t.value : std::string(t.value), filled["text " + std::to_string(t.field)]);
  EXPECT_EQ("English*,French,German*", filled["languages"]);
  EXPECT_EQ("|" + work_ + "trip.exe|2.9 KB|exe\n|" + work_ + "trip.ini|8 Byte|ini\n|" + work_ + "|n/a|[Folder]",
            filled["files"]);
  EXPECT_EQ("HKEY_CURRENT_USER|Software\\Trip|Path|<installpath>", filled["registry"]);
  EXPECT_EQ("Startmenu|Trip|<installpath>\\trip.exe|-x", filled["shortcuts"]);
  EXPECT_EQ("TRIPDIR|HKEY_LOCAL_MACHINE|Software\\Trip|Dir|C:\\Trip", filled["variables"]);
  EXPECT_EQ("Execute application|<installpath>\\tool.exe|/s|-wait", filled["commands"]);
  EXPECT_EQ("0", filled["combo " + std::to_string(kCompression)]);
  EXPECT_EQ("1", filled["combo " + std::to_string(kUpdaterLanguage)]);

  std::string path = work_ + "trip.zkp";
  SaveAs(path);
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + path, kActMs));
  std::string saved = GetBytes(path);
  ASSERT_FALSE(saved.empty());

  ASSERT_TRUE(Menu(kMenuNew));
  ASSERT_TRUE(Box(IDYES));
  ASSERT_TRUE(DriverWaitText(main_, kTitle, kActMs));
  std::map<std::string, std::string> fresh = Snapshot();
  EXPECT_EQ("", fresh["files"]);
  EXPECT_EQ("English,French,German", fresh["languages"]);

  Answer(path);
  ASSERT_TRUE(Menu(kMenuOpen));
  ASSERT_TRUE(DriverWaitText(main_, "Zendrikolbar - " + path, kActMs));
  EXPECT_EQ(filled, Snapshot());

  ASSERT_TRUE(Menu(kMenuSave));
  Barrier();
  EXPECT_EQ(saved, GetBytes(path));
}

}  // namespace
