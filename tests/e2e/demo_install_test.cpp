// The whole product, end to end, as an author and an end user meet it: Zendrikolbar builds
// the demo project, the new setup installs Demo Notes through its wizard, and the installed
// uninstaller removes it again. Everything runs as the real programs under Wine, driven from
// outside; the machine is then read back (files, shell links, registry, Add/Remove
// Programs) at each stage.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/build_session.h"
#include "app/test_paths.h"
#include "common/text.h"
#include "driver/driver.h"
#include "e2e/machine_state.h"
#include "e2e/setup_walk.h"
#include "support/environment.h"
#include "support/file_bytes.h"
#include "support/processes.h"

namespace {

const DWORD kStartMs = 30000;  // a first Wine start of a program can be slow
const DWORD kActMs = 10000;
const DWORD kBuildMs = 60000;
const DWORD kInstallMs = 30000;
const DWORD kSelfDeleteMs = 20000;

const char kProduct[] = "Demo Notes";
const char kCompany[] = "Zendrikolbar Samples";
const char kDemoSources[] = "..\\..\\examples\\demo\\Demo Notes\\";
const char kProductKey[] = "Software\\Zendrikolbar Samples\\Demo Notes";
const char kCompanyKey[] = "Software\\Zendrikolbar Samples";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo Notes";

std::string WithoutTrailingSlash(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

bool HasWorkFolder(const std::string& temp) {
  for (const std::string& name : FolderEntries(temp))
    if (name.compare(0, 3, "ZK{") == 0) return true;
  return false;
}

bool HasBatchFile(const std::string& temp) {
  for (const std::string& name : FolderEntries(temp))
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bat") == 0) return true;
  return false;
}

// The system folder with a trailing backslash: programs there are named by full path, as
// the test's own folder holds an Uninstaller.exe too.
std::string SystemFolder() {
  char folder[MAX_PATH];
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder, n < MAX_PATH ? n : 0) + "\\";
}

// Whether `wine uninstaller --list` (one "key|||name" line per entry) shows the demo;
// list receives what it printed.
bool ListedInAddRemove(std::string* list) {
  if (!RunCaptured(SystemFolder() + "uninstaller.exe --list", kActMs * 2, list)) {
    ADD_FAILURE() << "uninstaller --list failed: " << *list;
    return false;
  }
  return list->find("|||Demo Notes\r\n") != std::string::npos || list->find("|||Demo Notes\n") != std::string::npos;
}

std::string Joined(const std::set<std::string>& entries) {
  std::string text;
  for (const std::string& e : entries) text += " \"" + e + "\"";
  return text;
}

class DemoInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = TempPath() + "zk_e2e_" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(session_.Prepare(root_));
    setupTemp_ = root_ + "setup-temp\\";
    uninstallTemp_ = root_ + "uninstall-temp\\";
    ASSERT_TRUE(CreateDirectoryA(setupTemp_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(uninstallTemp_.c_str(), nullptr));
    companyFolder_ = Env("ProgramFiles") + "\\" + kCompany + "\\";
    install_ = companyFolder_ + kProduct + "\\";
    desktop_ = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    programs_ = SpecialFolder(CSIDL_PROGRAMS);
    ASSERT_FALSE(desktop_.empty());
    ASSERT_FALSE(programs_.empty());
    desktopLink_ = desktop_ + kProduct + ".lnk";
    startMenuFolder_ = programs_ + kCompany + "\\" + kProduct + "\\";
    ClearMachine();
  }

  void TearDown() override {
    session_.Stop();
    for (DriverProcess* p : {&setup_, &uninstaller_}) {
      if (DriverRunning(*p)) DriverKill(*p);
      DriverRelease(p);
    }
    ClearMachine();
    RemoveTree(root_);
  }

  // What an earlier, broken run may have left.
  void ClearMachine() {
    RemoveTree(companyFolder_);
    RemoveDemoTraces();
  }

  // Builds the demo project into root_ through the tool's Build command, with one more
  // folder row when extraFolder (ending in "\") is given.
  void BuildDemoSetup(const std::string& extraFolder = "") {
    std::string project = GetBytes("..\\demo\\demo.zkp");
    ASSERT_NE(std::string::npos, project.find("[Files/Dirs]")) << "no demo project beside the build";
    ASSERT_TRUE(SetProjectValue(&project, "Build", "File", setupFile()));
    if (!extraFolder.empty()) {
      ASSERT_TRUE(AddProjectFileRow(&project, extraFolder, "n/a", "[Folder]"));
    }
    ASSERT_TRUE(PutBytes(root_ + "demo.zkp", project));
    ASSERT_TRUE(session_.Start(root_ + "demo.zkp"));
    ASSERT_TRUE(session_.Build());
    ASSERT_TRUE(session_.AnswerRunQuestion(IDNO, kBuildMs)) << "the build did not succeed";
    ASSERT_TRUE(session_.WaitBuildEnd(kActMs));
    session_.Stop();
    ASSERT_TRUE(IsFile(setupFile()));
  }

  std::string setupFile() const { return root_ + "DemoNotesSetup.exe"; }

  std::string root_, setupTemp_, uninstallTemp_, companyFolder_, install_;
  std::string desktop_, programs_, desktopLink_, startMenuFolder_;
  BuildSession session_;
  DriverProcess setup_, uninstaller_;
};

// Installs with the wizard: English, licence accepted, every page, the finish page's run
// box cleared, Finish.
void InstallThroughWizard(const std::string& setup, const std::string& temp, const std::string& install,
                          DriverProcess* p) {
  ASSERT_TRUE(StartWithTemp(setup, "", temp, p));
  ASSERT_EQ("", ChooseLanguage(p->id, "English", kStartMs));
  HWND wizard = WaitWizard(p->id, "Demo Notes Setup", kActMs);
  ASSERT_NE(nullptr, wizard) << "no wizard after the language window";
  std::vector<int> pages;
  std::string walked = WalkToFinish(wizard, WalkOptions(), kInstallMs, &pages);
  ASSERT_EQ("", walked);
  const std::vector<int> every = {wiz::kWelcome,       wiz::kLicence,    wiz::kAppFolder, wiz::kTasks,
                                  wiz::kStartMenuPage, wiz::kInstalling, wiz::kFinish};
  EXPECT_EQ(every, pages);
  // What the pages offered and the installation took.
  EXPECT_EQ(install, DriverText(DriverFindControl(wizard, wiz::kInstallFolder)));
  EXPECT_EQ("Zendrikolbar Samples\\Demo Notes", DriverText(DriverFindControl(wizard, wiz::kStartMenuFolder)));
  EXPECT_EQ(BST_CHECKED, DriverCheckState(DriverFindControl(wizard, wiz::kDesktopBox)));
  EXPECT_EQ(BST_CHECKED, DriverCheckState(DriverFindControl(wizard, wiz::kStartMenuBox)));

  HWND next = DriverFindControl(wizard, wiz::kNext);
  EXPECT_EQ("Finish", DriverText(next));
  EXPECT_FALSE(DriverVisible(DriverFindControl(wizard, wiz::kBack)));
  EXPECT_FALSE(DriverVisible(DriverFindControl(wizard, wiz::kCancel)));
  HWND run = DriverFindControl(wizard, wiz::kFinishBox);
  ASSERT_NE(nullptr, run);
  EXPECT_EQ("Launch Demo Notes", DriverText(run));
  EXPECT_EQ(BST_CHECKED, DriverCheckState(run));
  // Cleared: the launcher would open Notepad.
  ASSERT_TRUE(DriverClick(run));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(run) == BST_UNCHECKED; }, kActMs));
  ASSERT_TRUE(DriverClick(next));
  ASSERT_TRUE(DriverWaitExit(*p, kActMs, nullptr)) << "Finish did not end the setup";
}

struct InstalledFile {
  const char* path;    // below the installation folder
  const char* source;  // the file it must equal, from the test's folder; null: the demo's own
};

const InstalledFile kInstalledFiles[] = {
    {"README.txt", nullptr},
    {"notes.txt", nullptr},
    {"bin\\DemoNotes.bat", nullptr},
    {"data\\notes.ini", nullptr},
    {"Uninstall.exe", "Uninstaller.exe"},
    {"uninstall_l.zkl", "Languages\\English.zkl"},
};

struct RegistryCase {
  HKEY root;
  const char* key;
  const char* name;
  std::string value;
};

TEST_F(DemoInstallTest, BuildInstallAndUninstallTheDemo) {
  ASSERT_NO_FATAL_FAILURE(BuildDemoSetup());
  std::string list;
  ASSERT_FALSE(ListedInAddRemove(&list)) << "an earlier installation is still listed: " << list;

  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(setupFile(), setupTemp_, install_, &setup_));
  EXPECT_FALSE(HasWorkFolder(setupTemp_)) << "the setup left its work folder";

  // Files and folders: the demo's, the uninstaller with its language and log, and the
  // record that the first-run command wrote.
  const std::set<std::string> expected = {
      "README.txt",      "notes.txt",          "bin\\",         "bin\\DemoNotes.bat", "data\\",
      "data\\notes.ini", "data\\firstrun.ini", "Uninstall.exe", "uninstall_l.zkl",    "uninstall.dat"};
  EXPECT_EQ(expected, TreeEntries(install_));
  for (const InstalledFile& f : kInstalledFiles) {
    std::string source = f.source ? f.source : std::string(kDemoSources) + f.path;
    std::string want = GetBytes(source);
    ASSERT_FALSE(want.empty()) << source;
    EXPECT_TRUE(GetBytes(install_ + f.path) == want) << f.path << " differs from " << source;
  }
  // The command ran with the setup's variables: the installation folder, the language and
  // its argument, the notes folder variable at its default.
  std::string notes = SpecialFolder(CSIDL_PERSONAL) + kProduct;
  EXPECT_EQ("[Notes]\r\nFolder=" + notes + "\r\n[Setup]\r\nInstallPath=" + install_ + "\r\nLanguage=English\r\n",
            GetBytes(install_ + "data\\firstrun.ini"));

  for (const std::string& link : {desktopLink_, startMenuFolder_ + kProduct + ".lnk"}) {
    SCOPED_TRACE(link);
    ShellLink read;
    ASSERT_TRUE(ReadShellLink(link, &read));
    EXPECT_EQ(install_ + "bin\\DemoNotes.bat", read.target);
    EXPECT_EQ("", read.arguments);
    EXPECT_EQ(install_ + "bin", WithoutTrailingSlash(read.workingFolder));
  }

  const std::string uninstaller = install_ + "Uninstall.exe";
  const RegistryCase values[] = {
      {HKEY_CURRENT_USER, kProductKey, "InstallPath", WithoutTrailingSlash(install_)},
      {HKEY_CURRENT_USER, kProductKey, "Version", "1.0"},
      {HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", kProduct},
      {HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", "1.0"},
      {HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher", kCompany},
      {HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", "\"" + uninstaller + "\""},
      {HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", uninstaller},
      {HKEY_LOCAL_MACHINE, kUninstallKey, "HelpLink", "https://zendrikolbar.example/"},
  };
  for (const RegistryCase& c : values) {
    DWORD type = 0;
    std::string text;
    EXPECT_TRUE(ReadRegistry(c.root, c.key, c.name, &type, &text)) << c.key << " " << c.name << " missing";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << c.name;
    EXPECT_EQ(c.value, text) << c.name;
  }
  EXPECT_TRUE(ListedInAddRemove(&list)) << list;

  // The user's own file beside the installation, in the company folder.
  const std::string userFile = companyFolder_ + "my notes.txt";
  ASSERT_TRUE(PutBytes(userFile, "mine"));

  // Started as Add/Remove Programs starts it: from the key's UninstallString.
  DWORD type = 0;
  std::string uninstallString;
  ASSERT_TRUE(ReadRegistry(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", &type, &uninstallString));
  // A command line: the program's path in quotation marks.
  ASSERT_TRUE(uninstallString.size() > 2 && uninstallString.front() == '"' && uninstallString.back() == '"');
  ASSERT_TRUE(StartWithTemp(uninstallString.substr(1, uninstallString.size() - 2), "", uninstallTemp_, &uninstaller_));
  std::string text;
  ASSERT_TRUE(DriverAnswerMessageBox(uninstaller_.id, "Uninstall", IDYES, kStartMs, &text)) << "no confirmation";
  EXPECT_EQ("Do you really want to remove Demo Notes and all of its components?", text);
  ASSERT_TRUE(DriverAnswerMessageBox(uninstaller_.id, "Uninstall", IDOK, kActMs * 2, &text)) << "no success message";
  EXPECT_EQ("Demo Notes was successfully removed from your computer.", text);
  ASSERT_TRUE(DriverWaitExit(uninstaller_, kActMs, nullptr)) << "the uninstaller did not end";
  // The batch waits for the uninstaller to be gone, removes it and the folder, then itself.
  EXPECT_TRUE(WaitFor([&] { return !IsFolder(install_); }, kSelfDeleteMs))
      << "installation folder left with" << Joined(TreeEntries(install_));
  EXPECT_TRUE(WaitFor([&] { return !HasBatchFile(uninstallTemp_); }, kSelfDeleteMs)) << "batch file left";

  EXPECT_EQ("mine", GetBytes(userFile)) << "the user's file beside the installation was touched";
  EXPECT_FALSE(IsFile(desktopLink_));
  EXPECT_FALSE(IsFolder(startMenuFolder_));
  EXPECT_TRUE(IsFolder(programs_));
  EXPECT_TRUE(IsFolder(desktop_));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProductKey));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kCompanyKey)) << "the emptied company key stays";
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion"));
  EXPECT_FALSE(ListedInAddRemove(&list)) << list;
}

// Program files named outside the ANSI code page, in a folder row: the Greek name fits the
// OEM code page and is stored in it, the Japanese one only in UTF-8 with the archive's flag.
// Each is installed under its own name with its own bytes.
TEST_F(DemoInstallTest, FilesNamedOutsideTheAnsiCodePageAreInstalledUnderTheirNames) {
  const std::wstring names[] = {L"plain.txt", L"\u03a9mega.txt", L"\u65e5\u672c\u8a9e.txt"};
  const std::string folder = root_ + "Intl\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  for (const std::wstring& name : names) {
    ASSERT_TRUE(PutBytes(AnsiToWide(folder) + name, "contents of " + WideToUtf8(name)));
  }
  ASSERT_NO_FATAL_FAILURE(BuildDemoSetup(folder));
  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(setupFile(), setupTemp_, install_, &setup_));

  std::set<std::string> installed = TreeEntries(install_ + "Intl\\");
  EXPECT_EQ(3u, installed.size()) << "installed:" << Joined(installed);
  for (const std::wstring& name : names) {
    std::string utf8 = WideToUtf8(name);
    EXPECT_EQ(1u, installed.count(utf8)) << utf8 << " missing; installed:" << Joined(installed);
    EXPECT_EQ("contents of " + utf8, GetBytes(AnsiToWide(install_ + "Intl\\") + name)) << utf8;
  }
}

}  // namespace
