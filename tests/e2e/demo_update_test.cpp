// The updater end to end: an author turns the update client on for the demo project in
// Zendrikolbar's window, the built setup installs Demo Notes with its client, and the
// installed client brings the product to the next release from the test server on the
// loopback address, rebuilds itself for that release and starts the product. Everything
// runs as the real programs under Wine, driven from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_driver.h"
#include "app/build_session.h"
#include "app/controls.h"
#include "app/test_paths.h"
#include "driver/driver.h"
#include "e2e/machine_state.h"
#include "e2e/setup_walk.h"
#include "model/updater_block.h"
#include "support/environment.h"
#include "support/file_bytes.h"
#include "support/http_server.h"
#include "support/processes.h"

namespace {

const DWORD kStartMs = 30000;  // a first Wine start of a program can be slow
const DWORD kActMs = 10000;
const DWORD kBuildMs = 60000;
const DWORD kInstallMs = 30000;
const DWORD kUpdateMs = 20000;

const char kCompany[] = "Zendrikolbar Samples";
const char kProduct[] = "Demo Notes";
const char kClientName[] = "DemoUpdate";
const char kClientTitle[] = "Demo Notes Update";
const char kProgramFile[] = "bin\\DemoNotes.bat";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo Notes";

// Where the updater's settings are in the main window's task pane.
const int kSetupGroup = 2;
const int kUpdaterItem = 2;
// Client window controls a person works with.
const int kClientNext = 4;
const int kClientStepRow1 = 20;
const int kClientFinishText = 40;

// Release 1.1 of the launcher: instead of opening Notepad it records that it was started,
// so the test sees that the client ran the product, and ran the new one.
const char kLauncher11[] =
    "@echo off\r\n"
    "rem Demo Notes launcher, release 1.1.\r\n"
    "setlocal\r\n"
    "set \"NOTESHOME=%~dp0..\"\r\n"
    ">\"%NOTESHOME%\\data\\started.txt\" echo 1.1\r\n"
    "exit /b 0\r\n";
const char kWhatsNew[] = "Demo Notes 1.1: the launcher records its start.\r\n";

// The server's script: the installed release and the next one, which replaces the
// launcher and puts a new file into the installation folder through a folder placeholder.
const char kScript[] =
    "Releases {\r\n1.0\r\n1.1\r\n}\r\n"
    "Release: 1.1 {\r\n"
    "  DownloadFile: v1.1/DemoNotes.bat, bin\r\n"
    "  DownloadFile: v1.1/whatsnew.txt, <ProgramFiles>\\Zendrikolbar Samples\\Demo Notes\r\n"
    "}\r\n";

std::string ClientText(HWND window, int id) { return DriverText(DriverFindControl(window, id)); }

// The settings block behind the client's image, whose size is that of the client program
// beside the tests.
bool ReadClientBlock(const std::string& client, UpdaterSettingsBlock* block) {
  std::string image = GetBytes(std::string("UpdateClient.exe"));
  std::string bytes = GetBytes(client);
  if (image.empty() || bytes.size() <= image.size()) return false;
  return DecodeUpdaterSettingsBlock(bytes.substr(image.size()), block);
}

bool HasEntryStartingWith(const std::string& folder, const std::string& prefix) {
  for (const std::string& name : FolderEntries(folder))
    if (name.compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

class DemoUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Start());
    root_ = TempPath() + "zk_e2e_update_" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(session_.Prepare(root_));
    // The tool loads the client's builder from its own folder only.
    ASSERT_TRUE(CopyFileA("pelbuild.dll", (session_.prog() + "pelbuild.dll").c_str(), FALSE));
    setupTemp_ = root_ + "setup-temp\\";
    clientTemp_ = root_ + "client-temp\\";
    uninstallTemp_ = root_ + "uninstall-temp\\";
    for (const std::string& folder : {setupTemp_, clientTemp_, uninstallTemp_})
      ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    companyFolder_ = Env("ProgramFiles") + "\\" + kCompany + "\\";
    install_ = companyFolder_ + kProduct + "\\";
    client_ = install_ + kClientName + ".exe";
    ClearMachine();
  }

  void TearDown() override {
    session_.Stop();
    for (DriverProcess* p : {&setup_, &client_p_, &uninstaller_}) {
      if (DriverRunning(*p)) DriverKill(*p);
      DriverRelease(p);
    }
    server_.Stop();
    ClearMachine();
    RemoveTree(root_);
  }

  void ClearMachine() {
    RemoveTree(companyFolder_);
    RemoveDemoTraces();
  }

  // Shows the updater's page and fills it in as an author would.
  void TurnUpdaterOn(const std::string& address) {
    HWND main = session_.main();
    HWND include = session_.Control(ctl::kIncludeUpdater);
    ASSERT_NE(nullptr, include);
    // The pane may still be scrolling when it is clicked; then the page does not come.
    bool shown = false;
    for (int attempt = 0; attempt < 4 && !shown; ++attempt)
      shown =
          ClickTaskPaneItem(main, kSetupGroup, kUpdaterItem) && WaitFor([&] { return DriverVisible(include); }, 2000);
    ASSERT_TRUE(shown) << "the updater's page did not come";
    ASSERT_EQ(BST_UNCHECKED, DriverCheckState(include)) << "the demo has its updater on already";
    ASSERT_TRUE(DriverClick(include));
    ASSERT_TRUE(WaitFor([&] { return DriverCheckState(include) == BST_CHECKED; }, kActMs));
    // The version stays "<appversion>", which the build takes from the project's version.
    EXPECT_EQ("<appversion>", DriverText(session_.Control(ctl::kProductVersion)));
    ASSERT_TRUE(DriverSetText(session_.Control(ctl::kMainAddress), address));
    ASSERT_TRUE(DriverSetText(session_.Control(ctl::kUpdateFileName), kClientName));
    ASSERT_TRUE(DriverSetText(session_.Control(ctl::kUpdaterProgramFile), kProgramFile));
    HWND language = session_.Control(ctl::kUpdaterLanguage);
    std::string english;
    ASSERT_TRUE(DriverComboItem(language, 0, &english));
    ASSERT_EQ("English", english);
    ASSERT_TRUE(DriverComboSelect(language, 0));
    HWND run = DriverFindChild(main, "Button", "Run program");
    ASSERT_NE(nullptr, run);
    ASSERT_TRUE(WaitFor([&] { return DriverEnabled(run); }, kActMs));
    ASSERT_TRUE(DriverClick(run));
    ASSERT_TRUE(WaitFor([&] { return DriverCheckState(run) == BST_CHECKED; }, kActMs));
  }

  void BuildDemoSetup(const std::string& address) {
    std::string project = GetBytes("..\\demo\\demo.zkp");
    ASSERT_NE(std::string::npos, project.find("[Updater]")) << "no demo project beside the build";
    ASSERT_TRUE(SetProjectValue(&project, "Build", "File", setupFile()));
    ASSERT_TRUE(PutBytes(root_ + "demo.zkp", project));
    ASSERT_TRUE(session_.Start(root_ + "demo.zkp"));
    ASSERT_NO_FATAL_FAILURE(TurnUpdaterOn(address));
    ASSERT_TRUE(session_.Build());
    ASSERT_TRUE(session_.AnswerRunQuestion(IDNO, kBuildMs)) << "the build did not succeed";
    ASSERT_TRUE(session_.WaitBuildEnd(kActMs));
    std::vector<std::string> log = LogLines(session_.Control(ctl::kBuildLog));
    EXPECT_TRUE(HasLine(log, "Preparing updater...")) << "the build did not make the client";
    for (const std::string& line : log) EXPECT_EQ(std::string::npos, line.find("WARNING")) << line;
    session_.Stop();
    ASSERT_TRUE(IsFile(setupFile()));
  }

  // Installs with the wizard's defaults and finishes without starting the product.
  void Install() {
    ASSERT_TRUE(StartWithTemp(setupFile(), "", setupTemp_, &setup_));
    ASSERT_EQ("", ChooseLanguage(setup_.id, "English", kStartMs));
    HWND wizard = WaitWizard(setup_.id, "Demo Notes Setup", kActMs);
    ASSERT_NE(nullptr, wizard) << "no wizard after the language window";
    std::vector<int> pages;
    ASSERT_EQ("", WalkToFinish(wizard, WalkOptions(), kInstallMs, &pages));
    HWND run = DriverFindControl(wizard, wiz::kFinishBox);
    ASSERT_TRUE(DriverClick(run));
    ASSERT_TRUE(WaitFor([&] { return DriverCheckState(run) == BST_UNCHECKED; }, kActMs));
    ASSERT_TRUE(DriverClick(DriverFindControl(wizard, wiz::kNext)));
    ASSERT_TRUE(DriverWaitExit(setup_, kActMs, nullptr)) << "Finish did not end the setup";
  }

  void Serve() {
    const std::string demo = "/demo/";
    server_.SetAnswer(demo + "Updates/", OkAnswer("<html>updates</html>"));
    server_.SetAnswer(demo + "updatescript.ini", OkAnswer(kScript));
    server_.SetAnswer(demo + "Updates/v1.1/DemoNotes.bat", OkAnswer(kLauncher11));
    server_.SetAnswer(demo + "Updates/v1.1/whatsnew.txt", OkAnswer(kWhatsNew));
  }

  std::string setupFile() const { return root_ + "DemoNotesSetup.exe"; }

  TestHttpServer server_;
  std::string root_, setupTemp_, clientTemp_, uninstallTemp_, companyFolder_, install_, client_;
  BuildSession session_;
  DriverProcess setup_, client_p_, uninstaller_;
};

TEST_F(DemoUpdateTest, TheInstalledClientUpdatesTheDemoAndRebuildsItself) {
  // As an author would type it: no scheme, no closing "/".
  const std::string address = "127.0.0.1:" + std::to_string(server_.Port()) + "/demo";
  ASSERT_NO_FATAL_FAILURE(BuildDemoSetup(address));
  ASSERT_NO_FATAL_FAILURE(Install());

  // The client sits in the installation folder's root with the project's settings.
  ASSERT_TRUE(IsFile(client_)) << "no client installed";
  UpdaterSettingsBlock installed;
  ASSERT_TRUE(ReadClientBlock(client_, &installed)) << "the installed client has no settings block";
  EXPECT_EQ("1.0", installed.version);
  EXPECT_EQ(address, installed.mainAddress);
  EXPECT_EQ(kProduct, installed.productName);
  EXPECT_EQ(kClientTitle, installed.windowTitle);
  EXPECT_EQ(kProgramFile, installed.programFile);
  EXPECT_EQ(0, installed.language);
  EXPECT_EQ(1, int(installed.runFlag));
  EXPECT_EQ(0, int(installed.terminateFlag));
  const std::string launcher = install_ + kProgramFile;
  const std::string oldLauncher = GetBytes(launcher);
  ASSERT_FALSE(oldLauncher.empty());
  ASSERT_NE(kLauncher11, oldLauncher);

  Serve();
  ASSERT_TRUE(StartWithTemp(client_, "", clientTemp_, &client_p_));
  HWND window = DriverWaitWindow(kClientTitle, client_p_.id, kStartMs);
  ASSERT_NE(nullptr, window) << "no client window";
  HWND next = DriverFindControl(window, kClientNext);
  ASSERT_TRUE(DriverPoll([&] { return DriverEnabled(next); }, kUpdateMs, window)) << "the search did not end";
  EXPECT_EQ("A new version is available: 1.1", ClientText(window, kClientStepRow1 + 1));

  ASSERT_TRUE(DriverClick(next));
  ASSERT_TRUE(DriverPoll([&] { return DriverVisible(next) && DriverText(next) == "Finish"; }, kUpdateMs, window))
      << "the download did not end";
  EXPECT_EQ("All updates have been successfully downloaded. Please click Finish in order to close the update wizard.",
            ClientText(window, kClientFinishText));
  EXPECT_TRUE(GetBytes(launcher) == kLauncher11) << "the launcher was not replaced byte for byte";
  EXPECT_EQ(kWhatsNew, GetBytes(install_ + "whatsnew.txt"));

  ASSERT_TRUE(DriverClick(next));
  DWORD code = 1;
  ASSERT_TRUE(DriverWaitExit(client_p_, kUpdateMs, &code)) << "Finish did not end the client";
  EXPECT_EQ(0u, code);

  // The rebuilt client takes the old one's place under its name, for the new release, with
  // the address it actually used.
  UpdaterSettingsBlock rebuilt;
  EXPECT_TRUE(WaitFor(
      [&] {
        return ReadClientBlock(client_, &rebuilt) && rebuilt.version == "1.1" && !HasEntryStartingWith(install_, "qd");
      },
      kUpdateMs))
      << "the client was not rebuilt; version " << rebuilt.version;
  EXPECT_EQ("http://" + address + "/", rebuilt.mainAddress);
  EXPECT_EQ(kProduct, rebuilt.productName);
  EXPECT_EQ(kProgramFile, rebuilt.programFile);
  EXPECT_EQ(1, int(rebuilt.runFlag));
  // The new launcher ran (and has ended by itself): the product was started after Finish.
  EXPECT_TRUE(WaitFor([&] { return GetBytes(install_ + "data\\started.txt") == "1.1\r\n"; }, kUpdateMs))
      << "the product was not started";
  EXPECT_TRUE(FolderEntries(clientTemp_).empty()) << "the client left files in its TEMP";

  // The installed uninstaller still removes the product, the rebuilt client with it.
  DWORD type = 0;
  std::string uninstallString;
  ASSERT_TRUE(ReadRegistry(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", &type, &uninstallString));
  ASSERT_TRUE(uninstallString.size() > 2 && uninstallString.front() == '"' && uninstallString.back() == '"');
  ASSERT_TRUE(StartWithTemp(uninstallString.substr(1, uninstallString.size() - 2), "", uninstallTemp_, &uninstaller_))
      << uninstallString << " did not start, error " << LastStartError() << ", file attributes "
      << GetFileAttributesA(uninstallString.substr(1, uninstallString.size() - 2).c_str());
  ASSERT_TRUE(DriverAnswerMessageBox(uninstaller_.id, "Uninstall", IDYES, kStartMs, nullptr)) << "no confirmation";
  std::string text;
  ASSERT_TRUE(DriverAnswerMessageBox(uninstaller_.id, "Uninstall", IDOK, kActMs * 2, &text)) << "no success message";
  EXPECT_EQ("Demo Notes was successfully removed from your computer.", text);
  ASSERT_TRUE(DriverWaitExit(uninstaller_, kActMs, nullptr)) << "the uninstaller did not end";
  EXPECT_TRUE(WaitFor([&] { return !IsFile(client_); }, kUpdateMs)) << "the update client was left behind";
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

}  // namespace
