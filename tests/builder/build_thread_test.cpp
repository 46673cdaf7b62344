// The whole build in process: a small project built on a thread of its own with a
// reporter that records what the build tells, checked for the setup it writes, the
// sequence it reports and what it leaves in the temporary folder.
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
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/zip_directory.h"

namespace {

const std::string kImage = "MZ stand-in for the setup runtime";

// Every call, in order, as "Call: argument". MustStop answers yes from its stopAt-th call
// on (0: never), as a Cancel at that point would.
class RecordingReporter : public BuildReporter {
 public:
  explicit RecordingReporter(int stopAt = 0) : stopAt_(stopAt) {}

  void Log(const std::string& line) override { Note("Log: " + line); }
  void SetProgressMaximum(int maximum) override { Note("Maximum: " + std::to_string(maximum)); }
  void SetProgress(int position) override { Note("Progress: " + std::to_string(position)); }
  void SetLabel(const std::string& text) override { Note("Label: " + text); }
  bool MustStop() override {
    std::lock_guard<std::mutex> g(lock_);
    return stopAt_ > 0 && ++stopChecks_ >= stopAt_;
  }
  bool PauseRequested() override { return false; }
  void SetupWritten(const std::string& path) override { Note("Written: " + path); }
  void HideProgress() override { Note("Hide"); }
  void OfferToRun(const std::string& path) override { Note("Offer: " + path); }
  void Finished() override { Note("Finished"); }

  // The recorded calls that start with prefix, in order.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> r;
    for (const std::string& c : calls)
      if (c.compare(0, prefix.size(), prefix) == 0) r.push_back(c);
    return r;
  }

  std::vector<std::string> calls;

 private:
  void Note(const std::string& call) {
    std::lock_guard<std::mutex> g(lock_);
    calls.push_back(call);
  }
  std::mutex lock_;
  int stopAt_;
  int stopChecks_ = 0;
};

class BuildThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    char full[MAX_PATH];
    GetFullPathNameA((std::string("build_thread_test\\") + info->name()).c_str(), MAX_PATH, full, nullptr);
    dir_ = std::string(full) + "\\";
    RemoveBuildTree(dir_);
    MakeFolders(dir_ + "prog\\Languages");
    MakeFolders(dir_ + "temp");
    MakeFolders(dir_ + "files\\Docs");
    PutBytes(dir_ + "prog\\default.zkl", "[Setup]\r\ndefault\r\n");
    PutBytes(dir_ + "prog\\Languages\\English.zkl", "[Setup]\r\nenglish\r\n");
    PutBytes(dir_ + "files\\readme.txt", "read me\r\n");
    PutBytes(dir_ + "files\\app.exe", MixedData(100000, 7));
    PutBytes(dir_ + "files\\Docs\\guide.txt", "a guide\r\n");
    // The build makes its own folder in the temporary folder; this one is the test's.
    GetEnvironmentVariableA("TMP", savedTmp_, sizeof(savedTmp_));
    SetEnvironmentVariableA("TMP", (dir_ + "temp").c_str());
    InitCabinetWriter();
    InitZipArchiver();
  }
  void TearDown() override { SetEnvironmentVariableA("TMP", savedTmp_); }

  BuildInput SmallProject() {
    BuildInput in;
    in.languageNames = {"English"};
    in.programFolder = dir_ + "prog\\";
    SetupProject& p = in.project;
    p.programName = "App";
    p.programVersion = "1.0";
    p.wizardImage = p.headerImage = p.iconImage = "<main>";
    p.compression = 1;
    p.setupFile = dir_ + "Setup.exe";
    p.files = {{dir_ + "files\\readme.txt", "", "[File]"},
               {dir_ + "files\\app.exe", "", "[File]"},
               {dir_ + "files\\Docs\\", "", "[Folder]"}};
    return in;
  }

  // Runs the build on a thread of its own, as the tool does.
  void Build(BuildInput& in, RecordingReporter& reporter, const std::string& image = kImage) {
    std::thread build([&] { BuildSetup(in, image, reporter); });
    build.join();
  }

  std::string dir_;
  char savedTmp_[MAX_PATH * 2] = "";
};

TEST_F(BuildThreadTest, ASmallProjectGivesASetupAndTheReportedSequence) {
  BuildInput in = SmallProject();
  RecordingReporter r;
  Build(in, r);

  const std::string setup = dir_ + "Setup.exe";
  const std::vector<std::string> log = {
      "Log: Preparing files...",
      "Log: Preparing file: " + dir_ + "files\\readme.txt",
      "Log: Preparing file: " + dir_ + "files\\app.exe",
      "Log: Preparing directory: " + dir_ + "files\\Docs\\",
      "Log: Compressing files...",
      "Log: Creating setup resource files..",
      "Log: Compressing setup resource files..",
      "Log: Creating setup...",
      "Log: Setup file was created successfully!",
  };
  std::vector<std::string> logged = r.Only("Log: ");
  ASSERT_EQ(log.size() + 1, logged.size());
  EXPECT_TRUE(std::equal(log.begin(), log.end(), logged.begin()));
  EXPECT_EQ(0u, logged.back().find("Log: Elapsed time: ")) << logged.back();

  // Three files and folders, then resources, cabinet and setup: one step each.
  EXPECT_EQ(std::vector<std::string>{"Maximum: 6"}, r.Only("Maximum: "));
  const std::vector<std::string> steps = {"Progress: 0", "Progress: 1", "Progress: 2", "Progress: 3",
                                          "Progress: 4", "Progress: 5", "Progress: 6", "Progress: 0"};
  EXPECT_EQ(steps, r.Only("Progress: "));
  std::vector<std::string> end(r.calls.end() - 4, r.calls.end());
  EXPECT_EQ((std::vector<std::string>{"Hide", "Offer: " + setup, "Progress: 0", "Finished"}), end);
  EXPECT_EQ(std::vector<std::string>{"Written: " + setup}, r.Only("Written: "));
  std::vector<std::string> labels = r.Only("Label: ");
  ASSERT_FALSE(labels.empty());
  EXPECT_EQ("Label: Please wait while Zendrikolbar is creating the setup file..", labels.back());

  // The setup: the runtime's image, the cabinet with its length before it, the archive
  // with its length after it.
  std::string bytes = GetBytes(setup);
  ASSERT_GT(bytes.size(), kImage.size() + 12);
  EXPECT_EQ(kImage, bytes.substr(0, kImage.size()));
  size_t cabinetSize = StoredLe(bytes, kImage.size(), 4);
  size_t cabinetAt = kImage.size() + 8;
  ASSERT_LT(cabinetAt + cabinetSize, bytes.size());
  EXPECT_EQ("MSCF", bytes.substr(cabinetAt, 4));
  std::string archive = bytes.substr(cabinetAt + cabinetSize, bytes.size() - 4 - cabinetAt - cabinetSize);
  EXPECT_EQ(archive.size(), StoredLe(bytes, bytes.size() - 4, 4));
  std::vector<std::string> names;
  for (const StoredEntry& e : ReadStoredEntries(archive)) names.push_back(e.name);
  for (const char* name : {"readme.txt", "app.exe", "Docs/guide.txt"})
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), name)) << name;

  // Nothing is left in the temporary folder.
  EXPECT_TRUE(FolderEntries(dir_ + "temp").empty());
}

// Builds that end early: each ends with the progress window hidden and Finished, leaves
// no setup and no temporary files, and is not offered to run.
TEST_F(BuildThreadTest, ABuildThatStopsEndsCleanlyWithItsMessage) {
  const struct {
    const char* name;
    std::function<void(BuildInput&)> change;
    int stopAt;
    std::string image;
    const char* lastLog;
  } cases[] = {
      {"no program name", [](BuildInput& in) { in.project.programName.clear(); }, 0, kImage,
       "Log: Error: Please enter a program name."},
      {"cancelled while staging", [](BuildInput&) {}, 2, kImage, "Log: Operation has been aborted!"},
      {"cancelled while archiving", [](BuildInput&) {}, 8, kImage, "Log: Operation has been aborted!"},
      {"no runtime image", [](BuildInput&) {}, 0, "", "Log: Error: Could not create setup file."},
      {"author's ZIP missing",
       [&](BuildInput& in) {
         in.project.useZip = 1;
         in.project.zipFile = dir_ + "missing.zip";
       },
       0, kImage, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BuildInput in = SmallProject();
    c.change(in);
    RecordingReporter r(c.stopAt);
    Build(in, r, c.image);
    std::vector<std::string> logged = r.Only("Log: ");
    ASSERT_FALSE(logged.empty());
    if (c.lastLog)
      EXPECT_EQ(c.lastLog, logged.back());
    else
      EXPECT_EQ("Log: Error: Could not read the ZIP file " + dir_ + "missing.zip", logged.back());
    ASSERT_GE(r.calls.size(), 3u);
    std::vector<std::string> end(r.calls.end() - 3, r.calls.end());
    EXPECT_EQ((std::vector<std::string>{"Hide", "Progress: 0", "Finished"}), end);
    EXPECT_TRUE(r.Only("Offer: ").empty());
    EXPECT_FALSE(PathExists(dir_ + "Setup.exe"));
    EXPECT_TRUE(FolderEntries(dir_ + "temp").empty());
  }
}

}  // namespace
