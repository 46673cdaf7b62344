// The build's update client step with the real pelbuild.dll: the client in the setup's
// archive holds the project's updater settings, and a library that is missing from the
// tool's folder, lacks its export or makes no client costs a warning, not the setup.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "builder/build_files.h"
#include "builder/build_thread.h"
#include "builder/cabinet_writer.h"
#include "builder/test_files.h"
#include "builder/zip_archiver.h"
#include "model/updater_block.h"
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/zip_directory.h"

namespace {

const std::string kImage = "MZ stand-in for the setup runtime";

// Records the log; the rest of what the build reports is not looked at here.
class LogReporter : public BuildReporter {
 public:
  void Log(const std::string& line) override {
    std::lock_guard<std::mutex> g(lock_);
    lines.push_back(line);
  }
  void SetProgressMaximum(int) override {}
  void SetProgress(int) override {}
  void SetLabel(const std::string&) override {}
  bool MustStop() override { return false; }
  bool PauseRequested() override { return false; }
  void SetupWritten(const std::string&) override {}
  void HideProgress() override {}
  void OfferToRun(const std::string&) override {}
  void Finished() override {}

  std::vector<std::string> lines;

 private:
  std::mutex lock_;
};

// The archive at the end of a setup file: its length is the last 4 bytes.
std::string SetupArchive(const std::string& setup) {
  if (setup.size() < 4) return {};
  size_t size = StoredLe(setup, setup.size() - 4, 4);
  if (size > setup.size() - 4) return {};
  return setup.substr(setup.size() - 4 - size, size);
}

class UpdaterStep : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    char full[MAX_PATH];
    GetFullPathNameA((std::string("updater_step_test\\") + info->name()).c_str(), MAX_PATH, full, nullptr);
    dir_ = std::string(full) + "\\";
    RemoveBuildTree(dir_);
    MakeFolders(dir_ + "prog\\Languages");
    MakeFolders(dir_ + "temp");
    MakeFolders(dir_ + "files");
    PutBytes(dir_ + "prog\\default.zkl", "[Setup]\r\ndefault\r\n");
    PutBytes(dir_ + "prog\\Languages\\English.zkl", "[Setup]\r\nenglish\r\n");
    PutBytes(dir_ + "files\\readme.txt", "read me\r\n");
    client_ = GetBytes("UpdateClient.exe");
    GetEnvironmentVariableA("TMP", savedTmp_, sizeof(savedTmp_));
    SetEnvironmentVariableA("TMP", (dir_ + "temp").c_str());
    InitCabinetWriter();
    InitZipArchiver();
  }
  void TearDown() override { SetEnvironmentVariableA("TMP", savedTmp_); }

 public:
  // The tool's folder of this test holds the built library unless a test says otherwise.
  void PlaceLibrary(const std::string& from = "pelbuild.dll") {
    ASSERT_TRUE(CopyFileA(from.c_str(), (dir_ + "prog\\pelbuild.dll").c_str(), FALSE)) << from;
  }

 protected:
  BuildInput UpdaterProject() {
    BuildInput in;
    in.languageNames = {"English"};
    in.programFolder = dir_ + "prog\\";
    SetupProject& p = in.project;
    p.programName = "App";
    p.programVersion = "2.1";
    p.wizardImage = p.headerImage = p.iconImage = "<main>";
    p.compression = 0;  // stored, so the client's bytes can be read from the archive
    p.setupFile = dir_ + "Setup.exe";
    p.files = {{dir_ + "files\\readme.txt", "", "[File]"}};
    p.includeUpdater = 1;
    p.productName = "<appname> Pro <AppName> <appname>";
    p.productVersion = "<appversion>-<appversion>";
    p.mainAddress = "127.0.0.1:8080/a";
    p.altAddress1 = "http://mirror.example.test/";
    p.altAddress2 = "";
    p.updateFileName = "AppUpdate";
    p.updaterLanguage = 1;
    p.updaterProgramFile = "App.exe";
    p.updaterTerminate = 1;
    p.updaterRunProgram = 0;
    return in;
  }

  void Build(BuildInput& in, LogReporter& reporter) {
    std::thread build([&] { BuildSetup(in, kImage, reporter); });
    build.join();
  }

  // The log lines from "Preparing updater..." up to the resource files.
  static std::vector<std::string> UpdaterLines(const LogReporter& r) {
    auto from = std::find(r.lines.begin(), r.lines.end(), "Preparing updater...");
    auto to = std::find(r.lines.begin(), r.lines.end(), "Creating setup resource files..");
    if (from == r.lines.end() || to < from) return {"<no updater step>"};
    return std::vector<std::string>(from, to);
  }

  std::string dir_;
  std::string client_;
  char savedTmp_[MAX_PATH * 2] = "";
};

TEST_F(UpdaterStep, TheArchiveCarriesTheClientWithTheProjectsSettings) {
  PlaceLibrary();
  ASSERT_GT(client_.size(), 0x200u);
  BuildInput in = UpdaterProject();
  LogReporter r;
  Build(in, r);

  EXPECT_EQ(std::vector<std::string>{"Preparing updater..."}, UpdaterLines(r));
  ASSERT_EQ("Setup file was created successfully!", r.lines.at(r.lines.size() - 2));
  std::string archive = SetupArchive(GetBytes(dir_ + "Setup.exe"));
  EXPECT_EQ("read me\r\n", StoredEntryData(archive, "readme.txt"));
  std::string client = StoredEntryData(archive, "AppUpdate.exe");
  ASSERT_GT(client.size(), client_.size());
  EXPECT_TRUE(client.compare(0, client_.size(), client_) == 0) << "the image differs from UpdateClient.exe";

  UpdaterSettingsBlock block;
  ASSERT_TRUE(DecodeUpdaterSettingsBlock(client.substr(client_.size()), &block));
  UpdaterSettingsBlock expected;
  expected.version = "2.1-2.1";
  expected.mainAddress = "127.0.0.1:8080/a";
  expected.alternativeAddress1 = "http://mirror.example.test/";
  expected.alternativeAddress2 = "";
  expected.language = 1;
  expected.productName = "App Pro <AppName> App";
  expected.programFile = "App.exe";
  expected.windowTitle = "App Pro <AppName> App Update";
  expected.terminateFlag = 1;
  expected.runFlag = 0;
  expected.runGuard = "";
  EXPECT_TRUE(expected == block) << block.version << "|" << block.productName << "|" << block.windowTitle;
  EXPECT_EQ(EncodeUpdaterSettingsBlock(expected), client.substr(client_.size()));
  EXPECT_TRUE(FolderEntries(dir_ + "temp").empty());
}

// Languages other than German are English; the flags follow their check boxes.
TEST_F(UpdaterStep, LanguageAndFlagsFollowTheUpdaterPage) {
  PlaceLibrary();
  const struct {
    int language, terminate, run;
    int32_t blockLanguage;
  } cases[] = {{0, 0, 1, 0}, {1, 1, 1, 1}, {2, 0, 0, 0}, {-1, 1, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    BuildInput in = UpdaterProject();
    in.project.updaterLanguage = c.language;
    in.project.updaterTerminate = c.terminate;
    in.project.updaterRunProgram = c.run;
    LogReporter r;
    Build(in, r);
    std::string client = StoredEntryData(SetupArchive(GetBytes(dir_ + "Setup.exe")), "AppUpdate.exe");
    ASSERT_GT(client.size(), client_.size());
    UpdaterSettingsBlock block;
    ASSERT_TRUE(DecodeUpdaterSettingsBlock(client.substr(client_.size()), &block));
    EXPECT_EQ(c.blockLanguage, block.language);
    EXPECT_EQ(c.terminate, block.terminateFlag);
    EXPECT_EQ(c.run, block.runFlag);
  }
}

// Each way the client cannot be made gives its warning; the setup is still made, without
// the client. The current folder (the built programs') holds a working pelbuild.dll, which
// must not be used in place of the tool's own.
TEST_F(UpdaterStep, AClientThatCannotBeMadeIsAWarning) {
  const struct {
    const char* name;
    std::function<void(UpdaterStep&, BuildInput&)> change;
    const char* warning;
  } cases[] = {
      {"no library beside the tool", [](UpdaterStep&, BuildInput&) {}, "WARNING: Could not find Pellucast builder."},
      {"no tool folder", [](UpdaterStep&, BuildInput& in) { in.programFolder.clear(); },
       "WARNING: Could not find Pellucast builder."},
      {"a library without the export", [](UpdaterStep& t, BuildInput&) { t.PlaceLibrary("UpdateClient.exe"); },
       "WARNING: Could not build updater."},
      {"a line break in the product name",
       [](UpdaterStep& t, BuildInput& in) {
         t.PlaceLibrary();
         in.project.productName = "App\r\nPro";
       },
       "WARNING: Could not build updater."},
      {"a client file that cannot be created",
       [](UpdaterStep& t, BuildInput& in) {
         t.PlaceLibrary();
         in.project.updateFileName = "no such folder\\AppUpdate";
       },
       "WARNING: Could not build updater."},
      {"a name that leaves the build's folder",
       [](UpdaterStep& t, BuildInput& in) {
         t.PlaceLibrary();
         in.project.updateFileName = "..\\..\\victim";
       },
       "WARNING: Could not build updater."},
  };
  ASSERT_TRUE(PathExists(std::string("pelbuild.dll")));
  ASSERT_TRUE(PutBytes(dir_ + "victim.exe", "not the build's"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA((dir_ + "prog\\pelbuild.dll").c_str());
    DeleteFileA((dir_ + "Setup.exe").c_str());
    BuildInput in = UpdaterProject();
    c.change(*this, in);
    LogReporter r;
    Build(in, r);
    EXPECT_EQ((std::vector<std::string>{"Preparing updater...", c.warning}), UpdaterLines(r));
    ASSERT_EQ("Setup file was created successfully!", r.lines.at(r.lines.size() - 2));
    std::string archive = SetupArchive(GetBytes(dir_ + "Setup.exe"));
    EXPECT_EQ("read me\r\n", StoredEntryData(archive, "readme.txt"));
    for (const StoredEntry& e : ReadStoredEntries(archive)) EXPECT_EQ(std::string::npos, e.name.find(".exe")) << e.name;
    EXPECT_TRUE(FolderEntries(dir_ + "temp").empty());
    EXPECT_EQ("not the build's", GetBytes(dir_ + "victim.exe"));
  }
}

// With the author's own archive the client goes into the build's copy of it; the author's
// file keeps its bytes.
TEST_F(UpdaterStep, TheAuthorsArchiveStaysUnchanged) {
  PlaceLibrary();
  const std::string zip = dir_ + "own.zip";
  SetZipCompressionMethod(kZipStored);
  ASSERT_NE(nullptr, CreateZipArchive(zip, 0));
  ASSERT_EQ(0, CloseZipArchive());
  ASSERT_EQ(1, AddZipFile(zip, dir_ + "files\\readme.txt", kZipNameFileOnly));
  const std::string before = GetBytes(zip);
  BuildInput in = UpdaterProject();
  in.project.useZip = 1;
  in.project.zipFile = zip;
  LogReporter r;
  Build(in, r);

  EXPECT_EQ(std::vector<std::string>{"Preparing updater..."}, UpdaterLines(r));
  EXPECT_EQ(before, GetBytes(zip));
  std::string archive = SetupArchive(GetBytes(dir_ + "Setup.exe"));
  EXPECT_EQ("read me\r\n", StoredEntryData(archive, "readme.txt"));
  std::string client = StoredEntryData(archive, "AppUpdate.exe");
  ASSERT_GT(client.size(), client_.size());
  EXPECT_TRUE(client.compare(0, client_.size(), client_) == 0);
}

}  // namespace
