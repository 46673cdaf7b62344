// The whole update client: made by pelbuild.dll like a build makes it, started in a
// product folder of its own with its own TEMP, driven like a person would, against the
// test server on the loopback address.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/text.h"
#include "driver/driver.h"
#include "model/updater_block.h"
#include "model/updater_settings.h"
#include "support/environment.h"
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/http_server.h"
#include "support/processes.h"
#include "support/waits.h"
#include "updateclient/client_file.h"
#include "updateclient/running_programs.h"
#include "updateclient/wizard.h"

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr char kTitle[] = "Demo Update";

std::wstring BinFolder() { return FullFolder(L"."); }

uint64_t BuiltImageSize() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW((BinFolder() + L"UpdateClient.exe").c_str(), GetFileExInfoStandard, &data);
  return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string Text(HWND window, int id) { return DriverText(DriverFindControl(window, id)); }

class ClientProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Start());
    base_ = TestFolder(L"updateclient");
    Prepare(L"run");
  }

  void TearDown() override {
    EndCase();
    server_.Stop();
  }

  // A fresh product folder and TEMP under `name`, default settings, and a server that
  // answers the main address's updates folder and nothing else of this case yet.
  void Prepare(const std::wstring& name) {
    app_ = base_ + name + L"\\app\\";
    temp_ = base_ + name + L"\\temp\\";
    CreateDirectoryW((base_ + name).c_str(), nullptr);
    CreateDirectoryW(app_.c_str(), nullptr);
    CreateDirectoryW(temp_.c_str(), nullptr);
    CreateDirectoryW((app_ + L"data").c_str(), nullptr);
    address_ = "127.0.0.1:" + std::to_string(server_.Port()) + "/a";
    settings_ = UpdaterSettingsBlock();
    settings_.version = "1.0";
    settings_.mainAddress = address_;
    settings_.productName = "Demo";
    settings_.programFile = "demo.exe";
    settings_.windowTitle = kTitle;
    server_.SetAnswer("/a/Updates/", OkAnswer("<html>updates</html>"));
    server_.ClearRequests();
  }

  // Ends what the case started: the clients and the product.
  void EndCase() {
    for (DriverProcess& p : started_) {
      if (DriverRunning(p)) DriverKill(p);
      DriverRelease(&p);
    }
    started_.clear();
    std::wstring product = app_ + L"demo.exe";
    if (IsProgramRunning(product)) EndRunningProgram(product);
  }

  // The client as pelbuild writes it, at app\Update.exe.
  void MakeClient() {
    HMODULE library = LoadLibraryW((BinFolder() + L"pelbuild.dll").c_str());
    ASSERT_NE(library, nullptr);
    auto create =
        reinterpret_cast<PellucastCreateProc>(reinterpret_cast<void*>(GetProcAddress(library, kPellucastCreateName)));
    ASSERT_NE(create, nullptr);
    UpdaterSettings s = SettingsRecordOf(settings_);
    ASSERT_EQ(create(WideToAnsi(app_ + L"Update.exe").c_str(), &s), 1);
  }

  // The product: a small program with a window.
  void InstallProduct() {
    ASSERT_TRUE(CopyFileW((BinFolder() + L"driver_fixture.exe").c_str(), (app_ + L"demo.exe").c_str(), FALSE));
  }

  void ServeScript(const std::string& script) { server_.SetAnswer("/a/updatescript.ini", OkAnswer(script)); }

  // Starts the client with its own TEMP; its window, or nullptr when none came.
  HWND Start(const std::string& args = "") {
    ScopedEnv temp(L"TEMP", temp_.c_str());
    ScopedEnv tmp(L"TMP", temp_.c_str());
    DriverProcess p;
    EXPECT_TRUE(DriverStart(WideToUtf8(app_ + L"Update.exe"), args, WideToUtf8(app_), &p));
    started_.push_back(p);
    return DriverWaitWindow(kTitle, p.id, kWaitMs);
  }
  const DriverProcess& Process() const { return started_.back(); }

  bool WaitReady(HWND window) {
    return DriverPoll([&] { return DriverEnabled(DriverFindControl(window, kNextButton)); }, kWaitMs, window);
  }

  // Next, then the finish page's text once the download is over.
  std::string Download(HWND window) {
    EXPECT_TRUE(WaitReady(window));
    EXPECT_TRUE(DriverClick(DriverFindControl(window, kNextButton)));
    HWND next = DriverFindControl(window, kNextButton);
    EXPECT_TRUE(DriverPoll([&] { return DriverVisible(next) && DriverText(next) == "Finish"; }, kWaitMs, window));
    return Text(window, kFinishText);
  }

  void ClickFinishAndWaitExit(HWND window) {
    EXPECT_TRUE(DriverClick(DriverFindControl(window, kNextButton)));
    DWORD code = 1;
    EXPECT_TRUE(DriverWaitExit(Process(), kWaitMs, &code));
    EXPECT_EQ(code, 0u);
  }

  UpdaterSettingsBlock ClientBlock() {
    UpdaterSettingsBlock block;
    ReadUpdaterSettings(app_ + L"Update.exe", BuiltImageSize(), &block);
    return block;
  }

  // Waits until the rebuilt client has taken the old one's place.
  bool WaitClientVersion(const std::string& version) {
    return WaitFor(
        [&] {
          if (ClientBlock().version != version) return false;
          for (const std::wstring& name : FolderEntries(app_))
            if (name.rfind(L"qd", 0) == 0) return false;
          return true;
        },
        kWaitMs);
  }

  bool Requested(const std::string& path) const {
    for (const HttpRequestLine& r : server_.Requests())
      if (r.path == path) return true;
    return false;
  }

  TestHttpServer server_;
  std::wstring base_, app_, temp_;
  std::string address_;
  UpdaterSettingsBlock settings_;
  std::vector<DriverProcess> started_;
};

const char kTwoReleases[] =
    "Releases {\r\n1.0\r\n1.1\r\n1.2\r\n}\r\n"
    "Release:1.1{\r\n"
    "  DownloadFile: f1.txt, data\r\n"
    "  DownloadFile: old.txt, data\\\r\n"
    "}\r\n"
    "Release: 1.2 {\r\n"
    "\tdownloadfile: v2/f1.txt, data\r\n"
    "  DeleteFile: data\\old.txt\r\n"
    "  CreateDirectory: logs\r\n"
    "}\r\n";

void ServeTwoReleaseFiles(TestHttpServer& server) {
  server.SetAnswer("/a/Updates/f1.txt", OkAnswer(std::string(1000, '1')));
  server.SetAnswer("/a/Updates/old.txt", OkAnswer("old"));
  server.SetAnswer("/a/Updates/v2/f1.txt", OkAnswer(std::string(2000, '2')));
}

TEST_F(ClientProgram, SearchShowsTheNewVersionAndTheDownloadSize) {
  ServeScript(kTwoReleases);
  ServeTwoReleaseFiles(server_);
  MakeClient();
  HWND window = Start();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitReady(window));
  EXPECT_EQ(Text(window, kStepRow1), "Connection to the update server has been successfully established.");
  EXPECT_EQ(Text(window, kStepRow1 + 1), "A new version is available: 1.2");
  EXPECT_EQ(Text(window, kStepRow1 + 2), "Update data has been received.");
  // 1000 + 3 + 2000 bytes, each size asked for at the path it is downloaded from.
  EXPECT_EQ(Text(window, kResultLine), "The total update download size is 2.9 KB. Click Next in order to continue.");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(DriverVisible(DriverFindControl(window, kStepPicture1 + i)));
  EXPECT_FALSE(DriverVisible(DriverFindControl(window, kBusyIndicator)));
  EXPECT_TRUE(Requested("/a/Updates/v2/f1.txt"));
  // Cancel before the download ends at once, without a question, and leaves TEMP clean.
  EXPECT_TRUE(DriverClick(DriverFindControl(window, kCancelButton)));
  EXPECT_TRUE(DriverWaitExit(Process(), kWaitMs, nullptr));
  EXPECT_TRUE(FolderEntries(temp_).empty());
  EXPECT_EQ(ClientBlock().version, "1.0");
}

TEST_F(ClientProgram, TwoReleasesAreAppliedInOrderAndTheClientRebuildsItself) {
  ServeScript(kTwoReleases);
  ServeTwoReleaseFiles(server_);
  settings_.runFlag = 1;
  settings_.terminateFlag = 1;
  InstallProduct();
  MakeClient();
  // The product runs when the update starts: the download ends it first.
  DriverProcess running;
  ASSERT_TRUE(DriverStart(WideToUtf8(app_ + L"demo.exe"), "", WideToUtf8(app_), &running));
  started_.push_back(running);
  HWND window = Start();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Download(window),
            "All updates have been successfully downloaded. Please click Finish in order to close the update wizard.");
  EXPECT_TRUE(DriverWaitExit(running, kWaitMs, nullptr));
  EXPECT_EQ(GetBytes(app_ + L"data\\f1.txt"), std::string(2000, '2'));
  EXPECT_FALSE(PathExists(app_ + L"data\\old.txt"));
  EXPECT_TRUE(PathExists(app_ + L"logs"));
  ClickFinishAndWaitExit(window);
  ASSERT_TRUE(WaitClientVersion("1.2"));
  UpdaterSettingsBlock block = ClientBlock();
  EXPECT_EQ(block.mainAddress, "http://" + address_ + "/");
  EXPECT_EQ(block.productName, "Demo");
  EXPECT_EQ(block.runFlag, 1);
  EXPECT_EQ(block.terminateFlag, 1);
  // The product was started again, from its own folder's file.
  EXPECT_TRUE(WaitFor([&] { return IsProgramRunning(app_ + L"demo.exe"); }, kWaitMs));
  EXPECT_TRUE(FolderEntries(temp_).empty());
}

TEST_F(ClientProgram, AnAlternativeServerIsUsedWhenTheMainOneAnswers404) {
  server_.SetAnswer("/a/Updates/", StatusAnswer(404, "Not Found"));
  server_.SetAnswer("/b/Updates/", OkAnswer("updates"));
  server_.SetAnswer("/b/updatescript.ini", OkAnswer("releases{\r\n1.0\r\n1.1\r\n}\r\nrelease:1.1{\r\n"
                                                    "DownloadFile: f1.txt,data\r\n}\r\n"));
  server_.SetAnswer("/b/Updates/f1.txt", OkAnswer("from b"));
  settings_.alternativeAddress1 = "127.0.0.1:" + std::to_string(server_.Port()) + "/b";
  MakeClient();
  HWND window = Start();
  ASSERT_NE(window, nullptr);
  Download(window);
  EXPECT_EQ(GetBytes(app_ + L"data\\f1.txt"), "from b");
  EXPECT_FALSE(Requested("/a/Updates/f1.txt"));
  ClickFinishAndWaitExit(window);
  ASSERT_TRUE(WaitClientVersion("1.1"));
}

// 1.1 arrives whole; 1.2's file is cut short, then its server sends an error page. The old
// file stays, no temporary file is left, and the client remembers 1.1.
TEST_F(ClientProgram, AFailedDownloadKeepsTheOldFileAndTheLastWholeRelease) {
  struct Case {
    const char* name;
    HttpAnswer answer;
  };
  HttpAnswer cut = OkAnswer(std::string(5000, 'x'));
  cut.delivery = HttpDelivery::ShortThenClose;
  cut.missingBytes = 3000;
  HttpAnswer errorPage = StatusAnswer(500, "Internal Server Error");
  errorPage.body = "<html>error page</html>";
  for (const Case& c : {Case{"cut short", cut}, Case{"error page", errorPage}}) {
    SCOPED_TRACE(c.name);
    Prepare(AnsiToWide(c.name));
    server_.SetAnswer(
        "/a/updatescript.ini",
        OkAnswer("releases{\r\n1.0\r\n1.1\r\n1.2\r\n}\r\nrelease:1.1{\r\nDownloadFile: f1.txt,data\r\n}\r\n"
                 "release:1.2{\r\nDownloadFile: v2/f1.txt,data\r\nCreateDirectory: never\r\n}\r\n"));
    server_.SetAnswer("/a/Updates/f1.txt", OkAnswer("release 1.1"));
    server_.SetAnswer("/a/Updates/v2/f1.txt", c.answer);
    MakeClient();
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Download(window),
              "Demo could not be updated successfully. Please click Finish in order to exit the update wizard and "
              "contact the technical support.");
    EXPECT_EQ(GetBytes(app_ + L"data\\f1.txt"), "release 1.1");
    EXPECT_EQ(FolderEntries(app_ + L"data").size(), 1u);
    EXPECT_FALSE(PathExists(app_ + L"never"));
    ClickFinishAndWaitExit(window);
    EXPECT_TRUE(WaitClientVersion("1.1"));
    EndCase();
  }
}

// The first Cancel is answered No and the download goes on; the second is answered Yes:
// the file being downloaded is completed, nothing after it is fetched, and Cancel cannot
// be pressed again.
TEST_F(ClientProgram, CancelStopsAfterTheCurrentFile) {
  HttpAnswer slow = OkAnswer(std::string(96 * 1024, 's'));
  slow.delivery = HttpDelivery::Drip;
  slow.dripBytes = 4096;
  slow.dripEveryMs = 100;
  server_.SetAnswer("/a/updatescript.ini",
                    OkAnswer("releases{\r\n1.0\r\n1.1\r\n}\r\nrelease:1.1{\r\nDownloadFile: slow.bin,data\r\n"
                             "DownloadFile: after.txt,data\r\n}\r\n"));
  server_.SetAnswer("/a/Updates/slow.bin", slow);
  server_.SetAnswer("/a/Updates/after.txt", OkAnswer("after"));
  MakeClient();
  HWND window = Start();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitReady(window));
  server_.ClearRequests();  // the search asked for every file's size
  ASSERT_TRUE(DriverClick(DriverFindControl(window, kNextButton)));
  ASSERT_TRUE(DriverWaitText(DriverFindControl(window, kFileLine), "Downloading slow.bin...", kWaitMs));
  HWND cancel = DriverFindControl(window, kCancelButton);
  ASSERT_TRUE(DriverClick(cancel));
  std::string question;
  ASSERT_TRUE(DriverAnswerMessageBox(Process().id, kTitle, IDNO, kWaitMs, &question));
  EXPECT_EQ(question, "Are you sure you want to exit the update wizard?");
  ASSERT_TRUE(DriverClick(cancel));
  ASSERT_TRUE(DriverAnswerMessageBox(Process().id, kTitle, IDYES, kWaitMs, nullptr));
  EXPECT_TRUE(DriverPoll([&] { return !DriverEnabled(cancel) || !DriverVisible(cancel); }, kWaitMs));
  EXPECT_FALSE(DriverClick(cancel));
  HWND next = DriverFindControl(window, kNextButton);
  ASSERT_TRUE(DriverPoll([&] { return DriverVisible(next) && DriverText(next) == "Finish"; }, kWaitMs, window));
  EXPECT_EQ(Text(window, kFinishText),
            "The update progress has been canceled. Please click Finish in order to exit the update wizard.");
  EXPECT_EQ(GetBytes(app_ + L"data\\slow.bin"), std::string(96 * 1024, 's'));
  EXPECT_FALSE(Requested("/a/Updates/after.txt"));
  ClickFinishAndWaitExit(window);
  // 1.1 was not applied whole: the client keeps its version and is not rebuilt.
  EXPECT_EQ(ClientBlock().version, "1.0");
  EXPECT_TRUE(FolderEntries(temp_).empty());
}

TEST_F(ClientProgram, NoServerAndNoNewVersionLeaveNextDisabled) {
  struct Case {
    const char* name;
    bool serveScript;
    const char* script;
    int row;
    const char* text;
  } cases[] = {
      {"no server", false, "", 0, "Connection to the update server could not be established."},
      {"newest installed", true, "releases{\r\n0.9\r\n1.0\r\n}\r\n", 1, "There is no new version available."},
      {"version not listed", true, "releases{\r\n1.1\r\n1.2\r\n}\r\n", 1, "There is no new version available."},
      {"byte-order mark", true, "\xEF\xBB\xBFreleases{\r\n1.0\r\n1.1\r\n}\r\n", 1,
       "There is no new version available."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Prepare(AnsiToWide(c.name));
    if (c.serveScript) ServeScript(c.script);
    MakeClient();
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(DriverWaitText(DriverFindControl(window, kStepRow1 + c.row), c.text, kWaitMs));
    EXPECT_TRUE(DriverVisible(DriverFindControl(window, kStepPicture1 + c.row)));
    EXPECT_FALSE(DriverVisible(DriverFindControl(window, kBusyIndicator)));
    EXPECT_FALSE(DriverEnabled(DriverFindControl(window, kNextButton)));
    EXPECT_TRUE(DriverClick(DriverFindControl(window, kCancelButton)));
    EXPECT_TRUE(DriverWaitExit(Process(), kWaitMs, nullptr));
    EndCase();
  }
}

TEST_F(ClientProgram, AnotherLanguageShowsEmptyTextsAndGermanItsOwn) {
  struct Case {
    int language;
    const char* next;
    const char* intro;
  } cases[] = {
      {2, "", ""},
      {1, "Weiter >",
       "Bitte warten Sie, w\xC3\xA4hrend der Assistent nach verf\xC3\xBC"
       "gbaren Updates sucht."},
  };
  for (const Case& c : cases) {
    Prepare(L"language" + std::to_wstring(c.language));
    settings_.language = c.language;
    MakeClient();
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window, kNextButton), c.next);
    EXPECT_EQ(Text(window, kSearchIntro), c.intro);
    EndCase();
  }
}

TEST_F(ClientProgram, TheRunGuardLetsOnlyTheExactArgumentThrough) {
  settings_.runGuard = "Secret";
  MakeClient();
  for (const char* wrong : {"", "secret", "Secret2"}) {
    ScopedEnv temp(L"TEMP", temp_.c_str());
    ScopedEnv tmp(L"TMP", temp_.c_str());
    DriverProcess p;
    ASSERT_TRUE(DriverStart(WideToUtf8(app_ + L"Update.exe"), wrong, WideToUtf8(app_), &p));
    DWORD code = 1;
    EXPECT_TRUE(DriverWaitExit(p, kWaitMs, &code)) << wrong;
    EXPECT_EQ(code, 0u);
    DriverRelease(&p);
    // A silent exit leaves nothing in TEMP.
    EXPECT_TRUE(FolderEntries(temp_).empty()) << wrong;
  }
  EXPECT_NE(Start("Secret"), nullptr);
}

TEST_F(ClientProgram, GetVersionTellsTheInstalledVersion) {
  settings_.version = "3.4.5";
  MakeClient();
  std::string output;
  DWORD code = 1;
  ASSERT_TRUE(RunCaptured("\"" + WideToUtf8(app_ + L"Update.exe") + "\" /GetVersion", kWaitMs, &output, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_NE(output.find("Version: 1.0.1"), std::string::npos) << output;
  EXPECT_NE(output.find(std::string(40, '=') + "\r\n3.4.5\r\n"), std::string::npos) << output;
}

}  // namespace
