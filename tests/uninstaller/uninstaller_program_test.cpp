// The whole program: an installation laid out by hand, the real Uninstaller.exe started
// in it and driven like a person would, then the disk and the registry checked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "common/registry_helper.h"
#include "common/sha256.h"
#include "driver/driver.h"
#include "support/debug_log.h"
#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/uninstall_window.h"

namespace {

constexpr DWORD kWaitMs = 20000;

std::wstring BinFolder() { return FullFolder(L"."); }

// One laid-out installation of "Trip Planner".
class UninstallerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = TestFolder();
    app_ = base_ + FolderName() + L"\\";
    programs_ = GetUserProgramsFolder();
    desktop_ = GetUserDesktopFolder();
    ASSERT_FALSE(programs_.empty());
    ASSERT_FALSE(desktop_.empty());
    std::wstring tag = UniqueName(L"ZendrikolbarTest");
    menuFolder_ = programs_ + tag + L"\\";
    desktopLink_ = desktop_ + tag + L".lnk";
    key_ = L"Software\\" + tag;

    CreateDirectoryW(app_.c_str(), nullptr);
    CreateDirectoryW((app_ + L"docs").c_str(), nullptr);
    CreateDirectoryW((app_ + L"docs\\deep").c_str(), nullptr);
    CreateDirectoryW(menuFolder_.c_str(), nullptr);
    for (const wchar_t* f : {L"trip.exe", L"readonly.txt", L"docs\\guide.txt", L"docs\\deep\\x.txt"})
      ASSERT_TRUE(PutBytes(app_ + f, "installed"));
    SetFileAttributesW((app_ + L"readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(PutBytes(menuFolder_ + L"Trip Planner.lnk", "link"));
    ASSERT_TRUE(PutBytes(desktopLink_, "link"));
    ASSERT_TRUE(PutBytes(base_ + L"user.txt", "the user's own"));
    PutValue(HKEY_CURRENT_USER, key_ + L"\\Uninstall\\Trip Planner", L"DisplayName", L"Trip Planner");
    PutValue(HKEY_CURRENT_USER, key_ + L"\\Uninstall\\Trip Planner", L"UninstallString", app_ + L"Uninstall.exe");
    PutValue(HKEY_CURRENT_USER, key_ + L"\\Settings\\Colours", L"Colour", L"blue");

    ASSERT_TRUE(CopyFileW((BinFolder() + L"Uninstaller.exe").c_str(), (app_ + L"Uninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(PutBytes(app_ + L"uninstall_l.zkl", TripLanguageFile()));
    // The records in the order the setup writes them.
    log_ = TripLog(app_, 6,
                   {L"#DF",
                    app_ + L"trip.exe",
                    L"#DF",
                    app_ + L"readonly.txt",
                    L"#DF",
                    app_ + L"docs\\guide.txt",
                    L"#DF",
                    app_ + L"docs\\deep\\x.txt",
                    L"#DD",
                    app_ + L"docs\\deep\\",
                    L"#DD",
                    app_ + L"docs\\",
                    L"#DRK",
                    L"HKEY_CURRENT_USER",
                    key_ + L"\\Uninstall\\Trip Planner",
                    L"#DF",
                    desktopLink_,
                    L"#DD",
                    menuFolder_,
                    L"#DRV",
                    L"HKEY_CURRENT_USER",
                    key_ + L"\\Settings\\Colours\\",
                    L"Colour"});
    ASSERT_TRUE(PutBytes(app_ + L"uninstall.dat", log_));
  }

  // The installation folder's name.
  virtual std::wstring FolderName() const { return L"Trip Planner"; }

  void TearDown() override {
    DriverKill(process_);
    DriverRelease(&process_);
    RemoveTree(base_);
    RemoveTree(menuFolder_);
    DeleteFileW(desktopLink_.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    if (!addRemoveKey_.empty()) RegDeleteTreeW(HKEY_LOCAL_MACHINE, addRemoveKey_.c_str());
  }

  // The Add/Remove key a setup leaves under HKEY_LOCAL_MACHINE, with the digest of log.
  void PutAddRemoveKey(const std::string& log) {
    addRemoveKey_ = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + UniqueName(L"ZendrikolbarTest");
    PutValue(HKEY_LOCAL_MACHINE, addRemoveKey_, L"UninstallString", L"\"" + app_ + L"Uninstall.exe\"");
    PutValue(HKEY_LOCAL_MACHINE, addRemoveKey_, kUninstallLogDigestValue, Utf8ToWide(Sha256Hex(log)));
  }

  bool Start() { return DriverStart(WideToUtf8(app_ + L"Uninstall.exe"), "", WideToUtf8(BinFolder()), &process_); }

  // Starts the uninstaller on a log it must refuse: "Uninstall error!", and nothing goes.
  void ExpectRefusedWithNothingRemoved() {
    ASSERT_TRUE(Start());
    std::string text;
    ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Error", IDOK, kWaitMs, &text));
    EXPECT_EQ(text, "Uninstall error!");
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_TRUE(EverythingStillThere());
  }

  // The program's exit code once it has ended; -1 when it did not end in time.
  long ExitCode() {
    DWORD code = 0;
    return DriverWaitExit(process_, kWaitMs, &code) ? static_cast<long>(code) : -1;
  }

  bool EverythingStillThere() {
    for (const wchar_t* f : {L"trip.exe", L"readonly.txt", L"docs\\guide.txt", L"docs\\deep\\x.txt", L"Uninstall.exe",
                             L"uninstall.dat", L"uninstall_l.zkl"})
      if (!PathExists(app_ + f)) return false;
    return PathExists(menuFolder_ + L"Trip Planner.lnk") && PathExists(desktopLink_) &&
           ValueExists(HKEY_CURRENT_USER, key_ + L"\\Uninstall\\Trip Planner", L"DisplayName") &&
           ValueExists(HKEY_CURRENT_USER, key_ + L"\\Settings\\Colours", L"Colour");
  }

  std::wstring base_, app_, programs_, desktop_, menuFolder_, desktopLink_, key_, addRemoveKey_;
  std::string log_;
  DriverProcess process_;
};

bool WaitGone(const std::wstring& path, DWORD timeoutMs) {
  return DriverPoll([&] { return !PathExists(path); }, timeoutMs, nullptr, 100);
}

TEST_F(UninstallerProgram, ConfirmedRemovesWhatWasInstalledAndThenItself) {
  ASSERT_TRUE(Start());
  std::string question;
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Remove Trip", IDYES, kWaitMs, &question));
  EXPECT_EQ(question, "Remove Trip Planner now?");

  // The window stays up behind the success message.
  HWND box = DriverWaitWindowClass("#32770", "Trip removed", process_.id, kWaitMs);
  ASSERT_NE(box, nullptr);
  HWND window = DriverWaitWindow("Uninstall Trip Planner", process_.id, kWaitMs);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(DriverText(DriverFindControl(window, kHeaderTitle)), "Uninstall");
  EXPECT_EQ(DriverText(DriverFindControl(window, kHeaderSubtitle)),
            "Please wait while Trip Planner is removed from your computer.");
  EXPECT_EQ(DriverText(DriverFindControl(window, kStatusText)), "Uninstalling Trip Planner");
  HWND button = DriverFindControl(window, kCancelButton);
  EXPECT_EQ(DriverText(button), "Cancel");
  EXPECT_FALSE(DriverEnabled(button));
  DWORD_PTR position = 0, top = 0;
  HWND bar = DriverFindControl(window, kProgressBar);
  SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &position);
  SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &top);
  EXPECT_EQ(top, 6u);
  EXPECT_EQ(position, 6u);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 497);
  EXPECT_EQ(client.bottom, 362);
  HMENU menu = GetSystemMenu(window, FALSE);
  if (menu) {
    EXPECT_TRUE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  }
  // A person may look at the window before answering (screenshots).
  wchar_t pause[16];
  if (GetEnvironmentVariableW(L"ZK_UNINSTALL_TEST_PAUSE_MS", pause, 16)) Sleep(_wtoi(pause));

  std::string success;
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Trip removed", IDOK, kWaitMs, &success));
  EXPECT_EQ(success, "Trip Planner was removed.");
  EXPECT_EQ(ExitCode(), 0);

  // The batch deletes the program once it has ended, then the emptied folder.
  EXPECT_TRUE(WaitGone(app_ + L"Uninstall.exe", kWaitMs));
  EXPECT_TRUE(WaitGone(app_, kWaitMs));
  EXPECT_FALSE(PathExists(menuFolder_));
  EXPECT_FALSE(PathExists(desktopLink_));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key_)) << "every level emptied by the records";
  EXPECT_TRUE(PathExists(base_ + L"user.txt"));
  EXPECT_TRUE(PathExists(programs_));
  EXPECT_TRUE(PathExists(desktop_));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software"));
}

TEST_F(UninstallerProgram, DecliningChangesNothing) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Remove Trip", IDNO, kWaitMs, nullptr));
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_TRUE(EverythingStillThere());
}

TEST_F(UninstallerProgram, DamagedLogIsAnErrorAndRemovesNothing) {
  // The first record lost its path, and the log goes on after it.
  ASSERT_TRUE(PutBytes(app_ + L"uninstall.dat", TripLog(app_, 6, {L"#DF", L"#DF", app_ + L"readonly.txt"})));
  ASSERT_NO_FATAL_FAILURE(ExpectRefusedWithNothingRemoved());
}

// The self-deleting batch names the folder in a text cmd.exe reads in its own code page
// and in which it expands "%".
class UninstallerProgramOddFolder : public UninstallerProgram {
 protected:
  std::wstring FolderName() const override { return L"Prod\u00FCct 100% \u03A9"; }
};

TEST_F(UninstallerProgramOddFolder, FolderWithPercentAndNonAsciiNameIsRemoved) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Remove Trip", IDYES, kWaitMs, nullptr));
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Trip removed", IDOK, kWaitMs, nullptr));
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_TRUE(WaitGone(app_ + L"Uninstall.exe", kWaitMs));
  EXPECT_TRUE(WaitGone(app_, kWaitMs));
  EXPECT_TRUE(PathExists(base_ + L"user.txt"));
}

// A record slipped into the log after the setup wrote it: the digest in the Add/Remove
// key no longer matches, and nothing at all is removed.
TEST_F(UninstallerProgram, LogChangedAfterTheSetupIsAnErrorAndRemovesNothing) {
  PutAddRemoveKey(log_);
  std::wstring canary = UniqueName(L"zkcanary");
  PutValue(HKEY_CURRENT_USER, key_ + L"\\Canary", canary, L"keep");
  std::wstring added = L"#DRV\r\nHKEY_CURRENT_USER\r\n" + key_ + L"\\Canary\\\r\n" + canary + L"\r\n";
  ASSERT_TRUE(PutBytes(app_ + L"uninstall.dat", log_ + WideToUtf8(added)));
  ASSERT_NO_FATAL_FAILURE(ExpectRefusedWithNothingRemoved());
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key_ + L"\\Canary", canary));
}

TEST_F(UninstallerProgram, LogMatchingItsAddRemoveKeyIsReplayed) {
  PutAddRemoveKey(log_);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Remove Trip", IDYES, kWaitMs, nullptr));
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Trip removed", IDOK, kWaitMs, nullptr));
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_TRUE(WaitGone(app_, kWaitMs));
  EXPECT_FALSE(PathExists(desktopLink_));
}

// A setup cancelled while it wrote a record leaves the log cut inside it: what was
// recorded before is removed, the rest stays.
TEST_F(UninstallerProgram, LogCutInsideItsLastRecordRemovesTheWholeRecords) {
  std::string cut = TripLog(app_, 6, {L"#DF", app_ + L"trip.exe", L"#DF", app_ + L"readonly.txt"}) + "#DF\r\n" +
                    WideToUtf8(app_ + L"docs\\gui");
  ASSERT_TRUE(PutBytes(app_ + L"uninstall.dat", cut));
  ASSERT_TRUE(Start());
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Remove Trip", IDYES, kWaitMs, nullptr));
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Trip removed", IDOK, kWaitMs, nullptr));
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_TRUE(WaitGone(app_ + L"Uninstall.exe", kWaitMs));
  EXPECT_FALSE(PathExists(app_ + L"trip.exe"));
  EXPECT_FALSE(PathExists(app_ + L"readonly.txt"));
  EXPECT_FALSE(PathExists(app_ + L"uninstall.dat"));
  EXPECT_TRUE(PathExists(app_ + L"docs\\guide.txt"));
  EXPECT_TRUE(PathExists(desktopLink_));
}

// The failure log tells why a log was refused, which the user's "Uninstall error!" does
// not, and names a record the checks passed over while the rest was removed.
TEST_F(UninstallerProgram, FailureLogNamesTheRefusalAndTheRecordsPassedOver) {
  const std::wstring debugLog = base_ + L"debug.log";
  {
    ASSERT_TRUE(PutBytes(app_ + L"uninstall.dat", TripLog(app_, 6, {L"#DF", L"#DF", app_ + L"readonly.txt"})));
    DebugLogVariable set(debugLog);
    ASSERT_NO_FATAL_FAILURE(ExpectRefusedWithNothingRemoved());
  }
  std::string refused = "Uninstall.exe[" + std::to_string(process_.id) + "] read the uninstall log: file \"" +
                        WideToUtf8(app_) + "uninstall.dat\": cut record\r\n";
  EXPECT_NE(GetBytes(debugLog).find(refused), std::string::npos) << GetBytes(debugLog);
  DriverRelease(&process_);

  // A record outside the installation folder (the user's own file beside it) is passed
  // over and named; everything else goes.
  ASSERT_TRUE(
      PutBytes(app_ + L"uninstall.dat", TripLog(app_, 6, {L"#DF", app_ + L"trip.exe", L"#DF", base_ + L"user.txt"})));
  ASSERT_TRUE(DeleteFileW(debugLog.c_str()));
  {
    DebugLogVariable set(debugLog);
    ASSERT_TRUE(Start());
  }
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Remove Trip", IDYES, kWaitMs, nullptr));
  ASSERT_TRUE(DriverAnswerMessageBox(process_.id, "Trip removed", IDOK, kWaitMs, nullptr));
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_FALSE(PathExists(app_ + L"trip.exe"));
  EXPECT_TRUE(PathExists(base_ + L"user.txt"));
  std::string skipped = "Uninstall.exe[" + std::to_string(process_.id) + "] skip an uninstall record: file \"" +
                        WideToUtf8(base_) + "user.txt\": outside\r\n";
  EXPECT_EQ(GetBytes(debugLog).substr(24), skipped) << GetBytes(debugLog);
}

}  // namespace
