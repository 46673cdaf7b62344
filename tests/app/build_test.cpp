// Building a setup, whole-program: the demo project from the Build command to a setup whose
// parts check out, the author's own ZIP, failures, Pause and Resume, Cancel, and the end
// of the program during a build. Each test runs its own Zendrikolbar.exe with its own TEMP,
// so the build's temporary files can be watched.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "builder/build_thread.h"
#include "app/build_session.h"
#include "app/controls.h"
#include "builder/zip_archiver.h"
#include "common/text.h"
#include "driver/driver.h"
#include "model/updater_block.h"
#include "support/debug_log.h"
#include "support/zip_directory.h"

using namespace ctl;

namespace {

const DWORD kActMs = 8000;
const DWORD kBuildMs = 120000;
const char kTitle[] = "Zendrikolbar";
const char kProgressTitle[] = "Zendrikolbar..creating setup file";
const char kSuccess[] = "Setup file was created successfully!";
const size_t kBigFileSize = 200u << 20;

// The demo project of this build folder (scripts/make-demo.sh).
std::string DemoProject() { return GetBytes("..\\demo\\demo.zkp"); }

// The paths of the files list of a project file.
std::vector<std::string> ProjectRows(const std::string& project) {
  std::vector<std::string> rows;
  size_t at = project.find("[Files/Dirs]\r\n");
  size_t end = project.find("[Licence_Begin]", at);
  if (at == std::string::npos || end == std::string::npos) return rows;
  std::string list = project.substr(at + 14, end - at - 14);
  std::vector<std::string> lines;
  for (size_t p = 0, e; (e = list.find("\r\n", p)) != std::string::npos; p = e + 2)
    lines.push_back(list.substr(p, e - p));
  for (size_t i = 0; i + 3 <= lines.size(); i += 3) rows.push_back(lines[i]);  // path, size, type
  return rows;
}

std::string LastPart(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.back() == '\\') p.pop_back();
  size_t cut = p.rfind('\\');
  return cut == std::string::npos ? p : p.substr(cut + 1);
}

// Entry names ("folder\" for folders) of the tree below folder (ending in "\"), each
// prefixed with prefix.
void ListTree(const std::string& folder, const std::string& prefix, std::set<std::string>* out) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out->insert(prefix + name + "\\");
      ListTree(folder + name + "\\", prefix + name + "\\", out);
    } else {
      out->insert(prefix + name);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

// What a setup file is made of: the runtime image, the cabinet behind its 64-bit length,
// the archive and its 32-bit length.
struct SetupParts {
  bool ok = false;
  std::string image, cabinet, archive;
};

SetupParts SplitSetup(const std::string& setup, size_t imageSize) {
  SetupParts parts;
  if (setup.size() < imageSize + 8 + 4) return parts;
  uint64_t cabinetLength = 0;
  memcpy(&cabinetLength, setup.data() + imageSize, 8);
  if (cabinetLength > setup.size() - imageSize - 8 - 4) return parts;
  size_t archiveAt = imageSize + 8 + static_cast<size_t>(cabinetLength);
  uint32_t archiveLength = 0;
  memcpy(&archiveLength, setup.data() + setup.size() - 4, 4);
  if (archiveLength != setup.size() - 4 - archiveAt) return parts;
  parts.image = setup.substr(0, imageSize);
  parts.cabinet = setup.substr(imageSize + 8, static_cast<size_t>(cabinetLength));
  parts.archive = setup.substr(archiveAt, archiveLength);
  parts.ok = true;
  return parts;
}

// The entry names of an archive held in memory, read with the builder's own listing.
std::set<std::string> ArchiveNames(const std::string& bytes, const std::string& scratch) {
  std::set<std::string> names;
  if (!PutBytes(scratch, bytes) || !OpenZipArchive(scratch)) return names;
  for (int r = GoToFirstZipEntry(); r == 0; r = GoToNextZipEntry()) {
    ZipEntryInfo info;
    if (GetZipEntryInfo(&info) == 0 && !info.name.empty()) names.insert(info.name);
  }
  CloseZipArchives("");
  DeleteFileA(scratch.c_str());
  return names;
}

// Random bytes that no compressor can shrink, the same at every run.
bool WriteRandomFile(const std::string& path, size_t size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::vector<uint64_t> chunk((8u << 20) / 8);
  uint64_t x = 0x9E3779B97F4A7C15ull;
  bool ok = true;
  for (size_t done = 0; ok && done < size; done += chunk.size() * 8) {
    for (uint64_t& v : chunk) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      v = x;
    }
    DWORD put = 0;
    DWORD want = static_cast<DWORD>(std::min(size - done, chunk.size() * 8));
    ok = WriteFile(h, chunk.data(), want, &put, nullptr) && put == want;
  }
  return CloseHandle(h) && ok;
}

class BuildTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bigFolder_ = TempPath() + "zk_build_big_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(bigFolder_.c_str(), nullptr);
  }
  static void TearDownTestSuite() { RemoveTree(bigFolder_); }

  void SetUp() override {
    static int counter = 0;
    root_ = TempPath() + "zk_build_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter) + "\\";
    ASSERT_TRUE(s_.Prepare(root_));
    out_ = root_ + "out\\";
    ASSERT_TRUE(CreateDirectoryA(out_.c_str(), nullptr));
    demo_ = DemoProject();
    ASSERT_NE(std::string::npos, demo_.find("[Files/Dirs]")) << "no demo project beside the build";
  }

  void TearDown() override {
    s_.Stop();
    RemoveTree(root_);
  }

  // The demo project writing its setup to setup.
  std::string Demo(const std::string& setup) {
    std::string p = demo_;
    EXPECT_TRUE(SetProjectValue(&p, "Build", "File", setup));
    return p;
  }

  void StartOn(const std::string& project) {
    std::string path = root_ + "project.zkp";
    ASSERT_TRUE(PutBytes(path, project));
    ASSERT_TRUE(s_.Start(path));
  }

  // The 200 MB file of the suite, made at its first use.
  std::string BigFile() {
    std::string path = bigFolder_ + "big.bin";
    LARGE_INTEGER size{};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
      size.QuadPart = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (static_cast<size_t>(size.QuadPart) != kBigFileSize) {
      EXPECT_TRUE(WriteRandomFile(path, kBigFileSize));
    }
    return path;
  }

  // The demo with the big file added, deflated.
  std::string BigProject(const std::string& setup) {
    std::string p = Demo(setup);
    EXPECT_TRUE(AddProjectFileRow(&p, BigFile(), "200 MB", "bin"));
    EXPECT_TRUE(SetProjectValue(&p, "General", "Comp", "1"));
    return p;
  }

  std::vector<std::string> Log() { return LogLines(s_.Control(kBuildLog)); }

  // What a cancelled build leaves: the abort logged, no success and no question, and no
  // setup, partial setup or temporary files.
  void ExpectAbortedWithoutSetup(const std::string& setup) {
    std::vector<std::string> log = Log();
    EXPECT_TRUE(HasLine(log, "Operation has been aborted!"));
    EXPECT_FALSE(HasLine(log, kSuccess));
    EXPECT_FALSE(QuestionShown(500));
    EXPECT_FALSE(IsFile(setup));
    EXPECT_TRUE(FolderEntries(out_).empty()) << "a partial setup was left";
    EXPECT_TRUE(TempLeftovers().empty());
  }

  HWND ProgressWindow(DWORD timeoutMs) { return DriverWaitWindow(kProgressTitle, s_.process().id, timeoutMs); }

  // Waits until the archiver reports on the big file, so the build is well under way.
  HWND WaitArchivingBigFile() {
    HWND window = ProgressWindow(kActMs);
    if (!window) return nullptr;
    HWND label = DriverFindControl(window, kProgressLabel);
    bool seen = WaitFor(
        [&] {
          std::string t = DriverText(label);
          return t.find("big.bin...") != std::string::npos && t.find(" %") != std::string::npos;
        },
        60000);
    return seen ? window : nullptr;
  }

  bool QuestionShown(DWORD timeoutMs) {
    return DriverWaitWindowClass("#32770", kTitle, s_.process().id, timeoutMs) != nullptr;
  }

  // What is left in the program's TEMP besides the names in keep.
  std::vector<std::string> TempLeftovers(std::initializer_list<const char*> keep = {}) {
    std::vector<std::string> left;
    for (const std::string& name : FolderEntries(s_.temp())) {
      bool kept = false;
      for (const char* k : keep) kept = kept || name == k;
      if (!kept) left.push_back(name);
    }
    return left;
  }

  // Ends a build that is still running and waits for the program to be ready again.
  void CancelRunningBuild() {
    HWND window = ProgressWindow(1000);
    if (window) DriverClick(DriverFindControl(window, kProgressCancel));
    EXPECT_TRUE(s_.WaitBuildEnd(kBuildMs));
  }

  static std::string bigFolder_;
  std::string root_, out_, demo_;
  BuildSession s_;
};

std::string BuildTest::bigFolder_;

TEST_F(BuildTest, DemoBuildsACompleteSetup) {
  // Files of others in TEMP, where earlier versions kept a shared "Cache" folder.
  ASSERT_TRUE(CreateDirectoryA((s_.temp() + "Cache").c_str(), nullptr));
  ASSERT_TRUE(PutBytes(s_.temp() + "Cache\\other.txt", "not the build's"));
  ASSERT_TRUE(PutBytes(s_.temp() + "other.txt", "not the build's"));
  std::string setup = out_ + "DemoSetup.exe";
  StartOn(Demo(setup));

  ASSERT_TRUE(s_.Build());
  std::string question;
  ASSERT_TRUE(s_.AnswerRunQuestion(IDNO, kBuildMs, &question));
  EXPECT_EQ("Do you want to run the setup now?", question);
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));

  std::vector<std::string> log = Log();
  EXPECT_TRUE(HasLine(log, "Preparing files..."));
  EXPECT_TRUE(HasLine(log, "Compressing files..."));
  EXPECT_TRUE(HasLine(log, kSuccess));
  EXPECT_EQ(std::string("Elapsed time: "), log.empty() ? "" : log.back().substr(0, 14));
  for (const std::string& line : log) EXPECT_EQ(std::string::npos, line.find("Error")) << line;
  EXPECT_EQ(0, s_.ProgressPosition());
  EXPECT_EQ(nullptr, ProgressWindow(0));

  std::string runtime = GetBytes("SetupRuntime.exe");
  ASSERT_FALSE(runtime.empty());
  // The suite checks this setup once more with Linux tools (check_setup.sh).
  if (const char* check = getenv("ZK_SETUP_CHECK_DIR")) {
    CreateDirectoryA(check, nullptr);
    EXPECT_TRUE(CopyFileA(setup.c_str(), (std::string(check) + "\\DemoSetup.exe").c_str(), FALSE));
    EXPECT_TRUE(CopyFileA("SetupRuntime.exe", (std::string(check) + "\\SetupRuntime.exe").c_str(), FALSE));
  }
  SetupParts parts = SplitSetup(GetBytes(setup), runtime.size());
  ASSERT_TRUE(parts.ok) << "the setup's lengths do not add up";
  EXPECT_TRUE(parts.image == runtime) << "the setup does not start with the runtime image";
  ASSERT_GE(parts.cabinet.size(), 12u);
  EXPECT_EQ("MSCF", parts.cabinet.substr(0, 4));
  uint32_t cabinetSize = 0;
  memcpy(&cabinetSize, parts.cabinet.data() + 8, 4);
  EXPECT_EQ(parts.cabinet.size(), cabinetSize);

  // Files by their names, listed folders with their whole tree under their own name.
  std::set<std::string> expected;
  for (const std::string& row : ProjectRows(demo_)) {
    if (row.back() == '\\') {
      expected.insert(LastPart(row) + "\\");
      ListTree(row, LastPart(row) + "\\", &expected);
    } else {
      expected.insert(LastPart(row));
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(expected, ArchiveNames(parts.archive, root_ + "archive.zip"));

  // The build's own folder is gone; nothing else in TEMP was touched.
  std::vector<std::string> left = TempLeftovers();
  std::sort(left.begin(), left.end());
  EXPECT_EQ((std::vector<std::string>{"Cache", "other.txt"}), left);
  EXPECT_EQ(std::vector<std::string>{"other.txt"}, FolderEntries(s_.temp() + "Cache\\"));
}

// The demo with the updater on, stored so the client's bytes can be read from the archive.
std::string UpdaterDemo(const std::string& project) {
  std::string p = project;
  const std::pair<const char*, const char*> values[] = {
      {"Allow", "1"},    {"1", "<appname> Suite"}, {"2", "v<appversion>"}, {"3", "127.0.0.1:8080/a"}, {"4", "http://"},
      {"5", ""},         {"6", "DemoUpdate"},      {"Language", "1"},      {"RunProg", "demo.exe"},   {"RunProgs", "1"},
      {"Execdlls", "0"},
  };
  for (const auto& v : values) EXPECT_TRUE(SetProjectValue(&p, "Updater", v.first, v.second)) << v.first;
  EXPECT_TRUE(SetProjectValue(&p, "General", "Program name", "Demo"));
  EXPECT_TRUE(SetProjectValue(&p, "General", "Program version", "3.4"));
  EXPECT_TRUE(SetProjectValue(&p, "General", "Comp", "0"));
  return p;
}

TEST_F(BuildTest, TheUpdaterPutsAConfiguredClientIntoTheSetup) {
  ASSERT_TRUE(CopyFileA("pelbuild.dll", (s_.prog() + "pelbuild.dll").c_str(), FALSE));
  std::string setup = out_ + "DemoSetup.exe";
  StartOn(UpdaterDemo(Demo(setup)));
  ASSERT_TRUE(s_.Build());
  ASSERT_TRUE(s_.AnswerRunQuestion(IDNO, kBuildMs));
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));

  std::vector<std::string> log = Log();
  EXPECT_TRUE(HasLine(log, "Preparing updater..."));
  EXPECT_TRUE(HasLine(log, kSuccess));
  for (const std::string& line : log) EXPECT_EQ(std::string::npos, line.find("WARNING")) << line;

  std::string client = GetBytes("UpdateClient.exe");
  SetupParts parts = SplitSetup(GetBytes(setup), GetBytes("SetupRuntime.exe").size());
  ASSERT_TRUE(parts.ok);
  std::string made = StoredEntryData(parts.archive, "DemoUpdate.exe");
  ASSERT_GT(made.size(), client.size()) << made.substr(0, 20);
  EXPECT_TRUE(made.compare(0, client.size(), client) == 0) << "the client's image differs from UpdateClient.exe";
  UpdaterSettingsBlock block;
  ASSERT_TRUE(DecodeUpdaterSettingsBlock(made.substr(client.size()), &block));
  UpdaterSettingsBlock expected;
  expected.version = "v3.4";
  expected.mainAddress = "127.0.0.1:8080/a";
  expected.alternativeAddress1 = "http://";
  expected.language = 1;
  expected.productName = "Demo Suite";
  expected.programFile = "demo.exe";
  expected.windowTitle = "Demo Suite Update";
  expected.runFlag = 1;
  EXPECT_TRUE(expected == block) << block.version << "|" << block.productName << "|" << block.windowTitle;
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(BuildTest, WithoutPelbuildBesideTheToolTheSetupHasNoClient) {
  std::string setup = out_ + "DemoSetup.exe";
  StartOn(UpdaterDemo(Demo(setup)));
  ASSERT_TRUE(s_.Build());
  ASSERT_TRUE(s_.AnswerRunQuestion(IDNO, kBuildMs));
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));

  std::vector<std::string> log = Log();
  auto at = std::find(log.begin(), log.end(), "Preparing updater...");
  ASSERT_NE(log.end(), at);
  ASSERT_NE(log.end(), at + 1);
  EXPECT_EQ("WARNING: Could not find Pellucast builder.", *(at + 1));
  EXPECT_TRUE(HasLine(log, kSuccess));
  SetupParts parts = SplitSetup(GetBytes(setup), GetBytes("SetupRuntime.exe").size());
  ASSERT_TRUE(parts.ok);
  EXPECT_EQ("<absent>", StoredEntryData(parts.archive, "DemoUpdate.exe"));
}

// Ends the program that shows window.
void EndProgramOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) return;
  TerminateProcess(process, 0);
  WaitForSingleObject(process, kActMs);
  CloseHandle(process);
}

TEST_F(BuildTest, YesAndRunStartTheNewSetup) {
  std::string setup = out_ + "DemoSetup.exe";
  StartOn(Demo(setup));
  ASSERT_TRUE(s_.Build());
  ASSERT_NE(nullptr, DriverWaitWindowClass("#32770", kTitle, s_.process().id, kBuildMs));
  // A program whose window shows that it was started stands in for the setup.
  ASSERT_TRUE(CopyFileA("driver_fixture.exe", setup.c_str(), FALSE));
  ASSERT_TRUE(s_.AnswerRunQuestion(IDYES, kActMs));
  HWND started = DriverWaitWindow("Driver Fixture", 0, kActMs * 2);
  ASSERT_NE(nullptr, started) << "Yes did not start the setup";
  EndProgramOf(started);
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));

  ASSERT_TRUE(DriverMenuCommand(s_.main(), kMenuRun));
  started = DriverWaitWindow("Driver Fixture", 0, kActMs * 2);
  ASSERT_NE(nullptr, started) << "Run did not start the setup";
  EndProgramOf(started);

  // Once the setup is gone, Run starts nothing.
  ASSERT_TRUE(WaitFor([&] { return DeleteFileA(setup.c_str()) != 0; }, kActMs));
  ASSERT_TRUE(DriverMenuCommand(s_.main(), kMenuRun));
  EXPECT_EQ(nullptr, DriverWaitWindow("Driver Fixture", 0, 1500));
}

TEST_F(BuildTest, AnEmptySetupFieldAsksForTheSetupFile) {
  StartOn(Demo(""));
  HWND log = s_.Control(kBuildLog);
  HWND page = s_.Control(kPanelBuild);
  ASSERT_FALSE(DriverVisible(page));

  // Cancelled: no build, but the menu command has shown the Build page.
  ASSERT_TRUE(DriverSetText(log, "unchanged"));
  ASSERT_TRUE(DriverMenuCommand(s_.main(), kMenuBuild));
  ASSERT_TRUE(WaitFor([&] { return DriverVisible(page); }, kActMs));
  EXPECT_EQ("unchanged", DriverText(log));
  EXPECT_TRUE(DriverEnabled(s_.main()));
  EXPECT_EQ(nullptr, ProgressWindow(500));
  EXPECT_EQ("", DriverText(s_.Control(kSetupFile)));

  // Answered: ".exe" is added and the build writes there.
  std::string setup = out_ + "Named";
  ASSERT_TRUE(s_.Answer(setup));
  ASSERT_TRUE(s_.Build());
  ASSERT_TRUE(s_.AnswerRunQuestion(IDNO, kBuildMs));
  EXPECT_EQ(setup + ".exe", DriverText(s_.Control(kSetupFile)));
  EXPECT_TRUE(IsFile(setup + ".exe"));
  EXPECT_FALSE(IsFile(setup));
}

TEST_F(BuildTest, AuthorsZipIsCarriedAndNeverChanged) {
  // The author's archive, made with the builder's own archiver.
  std::string zip = root_ + "own.zip";
  ASSERT_TRUE(PutBytes(root_ + "inside.txt", "carried as it is"));
  ASSERT_EQ(1, AddZipFile(zip, root_ + "inside.txt", kZipNameFileOnly));
  std::string before = GetBytes(zip);
  WIN32_FILE_ATTRIBUTE_DATA was{}, now{};
  ASSERT_TRUE(GetFileAttributesExA(zip.c_str(), GetFileExInfoStandard, &was));

  std::string setup = out_ + "ZipSetup.exe";
  std::string project = Demo(setup);
  ASSERT_TRUE(SetProjectValue(&project, "Files", "Include Zipfile", "1"));
  ASSERT_TRUE(SetProjectValue(&project, "Files", "Zipfile", zip));
  // The update client would be added to the archive; it must go into a copy.
  ASSERT_TRUE(SetProjectValue(&project, "Updater", "Allow", "1"));
  StartOn(project);

  ASSERT_TRUE(s_.Build());
  ASSERT_TRUE(s_.AnswerRunQuestion(IDNO, kBuildMs));
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));

  std::vector<std::string> log = Log();
  EXPECT_TRUE(HasLine(log, kSuccess));
  EXPECT_TRUE(HasLine(log, "Preparing updater..."));
  EXPECT_TRUE(HasLine(log, "WARNING: Could not find Pellucast builder."));
  EXPECT_FALSE(HasLine(log, "Preparing files..."));

  EXPECT_TRUE(GetBytes(zip) == before) << "the author's ZIP file was changed";
  ASSERT_TRUE(GetFileAttributesExA(zip.c_str(), GetFileExInfoStandard, &now));
  EXPECT_EQ(0, CompareFileTime(&was.ftLastWriteTime, &now.ftLastWriteTime));
  SetupParts parts = SplitSetup(GetBytes(setup), GetBytes("SetupRuntime.exe").size());
  ASSERT_TRUE(parts.ok);
  EXPECT_TRUE(parts.archive == before) << "the setup does not carry the author's archive";
  EXPECT_TRUE(TempLeftovers().empty());
}

// One change to the demo project; "@" at the start of a value stands for the test's folder.
struct ProjectEdit {
  const char* section;
  const char* key;
  const char* value;
};

struct FailureCase {
  const char* name;
  std::vector<ProjectEdit> edits;
  const char* error;
};

const FailureCase kFailures[] = {
    {"empty program name", {{"General", "Program name", ""}}, "Error: Please enter a program name."},
    {"empty wizard image", {{"Graphics", "Wizard image", "@empty.bmp"}}, "Error: Wizard image file does not exist."},
    {"setup in a missing folder", {{"Build", "File", "@missing\\Setup.exe"}}, "Error: Could not create setup file."},
    // These fail after the program files are archived: the clean-up must still run.
    {"missing splash image",
     {{"SplashScreen", "Allow", "1"}, {"SplashScreen", "Image", "@none.bmp"}},
     "Error: Splash Screen image file does not exist!"},
    {"cabinet cannot take the DLL",
     {{"Finish", "Execute DLL:", "1"}, {"Finish", "Dll", "@locked.dll"}},
     "Error: Could not compress setup resource files."},
};

TEST_F(BuildTest, FailuresLogTheirErrorAndWriteNoSetup) {
  ASSERT_TRUE(PutBytes(root_ + "empty.bmp", ""));
  // A DLL that another program holds open cannot go into the cabinet.
  ASSERT_TRUE(PutBytes(root_ + "locked.dll", "MZ not really a library"));
  HANDLE lock = CreateFileA((root_ + "locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  std::string setup = out_ + "Setup.exe";
  for (const FailureCase& c : kFailures) {
    SCOPED_TRACE(c.name);
    // An earlier setup stays as it was.
    ASSERT_TRUE(PutBytes(setup, "the earlier setup"));
    std::string project = Demo(setup);
    for (const ProjectEdit& e : c.edits) {
      std::string value = e.value[0] == '@' ? root_ + (e.value + 1) : e.value;
      ASSERT_TRUE(SetProjectValue(&project, e.section, e.key, value)) << e.key;
    }
    StartOn(project);

    ASSERT_TRUE(s_.Build());
    ASSERT_TRUE(s_.WaitBuildEnd(kBuildMs));
    std::vector<std::string> log = Log();
    EXPECT_TRUE(HasLine(log, c.error)) << DriverText(s_.Control(kBuildLog));
    EXPECT_FALSE(HasLine(log, kSuccess));
    EXPECT_FALSE(QuestionShown(500));
    EXPECT_EQ("the earlier setup", GetBytes(setup));
    EXPECT_EQ(1u, FolderEntries(out_).size()) << "a partial setup was left";
    EXPECT_TRUE(TempLeftovers().empty());
    EXPECT_EQ(nullptr, ProgressWindow(0));
    s_.Stop();
  }
  CloseHandle(lock);
}

// The build log says what failed; the failure log also says where: the file the step
// worked on.
TEST_F(BuildTest, FailuresNameTheirFileInTheFailureLog) {
  ASSERT_TRUE(PutBytes(root_ + "locked.dll", "MZ not really a library"));
  HANDLE lock = CreateFileA((root_ + "locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  const struct {
    const char* name;
    std::vector<ProjectEdit> edits;
    std::string cause;
  } cases[] = {
      {"setup in a missing folder",
       {{"Build", "File", "@missing\\Setup.exe"}},
       "] write the setup file: file \"" + root_ + "missing\\Setup.exe\""},
      {"cabinet cannot take the DLL",
       {{"Finish", "Execute DLL:", "1"}, {"Finish", "Dll", "@locked.dll"}},
       "] add a file to the cabinet: file \"" + root_ + "locked.dll\""},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string project = Demo(out_ + "Setup.exe");
    for (const ProjectEdit& e : c.edits) {
      std::string value = e.value[0] == '@' ? root_ + (e.value + 1) : e.value;
      ASSERT_TRUE(SetProjectValue(&project, e.section, e.key, value)) << e.key;
    }
    std::string debugLog = root_ + "debug" + std::to_string(n++) + ".log";
    {
      DebugLogVariable set(AnsiToWide(debugLog));
      StartOn(project);
    }
    ASSERT_TRUE(s_.Build());
    ASSERT_TRUE(s_.WaitBuildEnd(kBuildMs));
    EXPECT_FALSE(HasLine(Log(), kSuccess));
    std::string text = GetBytes(debugLog);
    EXPECT_NE(text.find("Zendrikolbar.exe[" + std::to_string(s_.process().id) + c.cause), std::string::npos) << text;
    s_.Stop();
  }
  CloseHandle(lock);
}

TEST_F(BuildTest, PauseHoldsTheBuildUntilResume) {
  StartOn(BigProject(out_ + "Big.exe"));
  ASSERT_TRUE(s_.Build());
  HWND window = WaitArchivingBigFile();
  ASSERT_NE(nullptr, window);
  HWND pause = DriverFindControl(window, kProgressPause);
  HWND label = DriverFindControl(window, kProgressLabel);

  ASSERT_TRUE(DriverClick(pause));
  ASSERT_TRUE(DriverWaitText(pause, "Resume", kActMs));
  EXPECT_TRUE(WaitFor([&] { return HasLine(Log(), "Operation has been paused!"); }, kActMs));
  Sleep(300);  // a chunk under way when Pause came is finished
  std::string shown = DriverText(label);
  int position = s_.ProgressPosition();
  Sleep(1000);
  EXPECT_EQ(shown, DriverText(label));
  EXPECT_EQ(position, s_.ProgressPosition());
  // Build during a build changes nothing: the running build is never killed. The main
  // window is disabled, so only a posted command can get there.
  ASSERT_TRUE(PostMessageW(s_.main(), WM_COMMAND, MAKEWPARAM(kMenuBuild, 0), 0));
  Sleep(500);
  EXPECT_TRUE(HasLine(Log(), "Operation has been paused!"));
  EXPECT_EQ("Resume", DriverText(pause));
  // The paused build keeps its temporary files in one folder of its own.
  std::vector<std::string> temp = TempLeftovers();
  ASSERT_EQ(1u, temp.size());
  EXPECT_EQ('{', temp[0][0]);

  ASSERT_TRUE(DriverClick(pause));
  ASSERT_TRUE(DriverWaitText(pause, "Pause", kActMs));
  EXPECT_TRUE(HasLine(Log(), "Operation has been resumed!"));
  EXPECT_TRUE(WaitFor([&] { return DriverText(label) != shown; }, 20000)) << shown;
  CancelRunningBuild();
}

TEST_F(BuildTest, CancelLeavesNothingAndTheNextPauseWorksAtOnce) {
  std::string setup = out_ + "Big.exe";
  StartOn(BigProject(setup));

  // Cancel while paused.
  ASSERT_TRUE(s_.Build());
  HWND window = WaitArchivingBigFile();
  ASSERT_NE(nullptr, window);
  HWND pause = DriverFindControl(window, kProgressPause);
  ASSERT_TRUE(DriverClick(pause));
  ASSERT_TRUE(DriverWaitText(pause, "Resume", kActMs));
  ASSERT_TRUE(DriverClick(DriverFindControl(window, kProgressCancel)));
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));
  ExpectAbortedWithoutSetup(setup);
  EXPECT_EQ(nullptr, ProgressWindow(0));
  EXPECT_EQ(0, s_.ProgressPosition());

  // The next build's Pause pauses on its first press.
  ASSERT_TRUE(s_.Build());
  window = WaitArchivingBigFile();
  ASSERT_NE(nullptr, window);
  pause = DriverFindControl(window, kProgressPause);
  EXPECT_EQ("Pause", DriverText(pause));
  ASSERT_TRUE(DriverClick(pause));
  EXPECT_TRUE(DriverWaitText(pause, "Resume", kActMs));
  EXPECT_TRUE(WaitFor([&] { return HasLine(Log(), "Operation has been paused!"); }, kActMs));
  CancelRunningBuild();
  EXPECT_FALSE(IsFile(setup));
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(BuildTest, CancelWhileTheSetupIsWrittenLeavesNoSetup) {
  std::string setup = out_ + "Big.exe";
  StartOn(BigProject(setup));
  ASSERT_TRUE(s_.Build());
  HWND window = ProgressWindow(kActMs);
  ASSERT_NE(nullptr, window);
  // The setup grows in a temporary file beside its target; with the big file in it that
  // takes a while, and Cancel comes meanwhile.
  ASSERT_TRUE(WaitFor([&] { return !FolderEntries(out_).empty(); }, kBuildMs));
  ASSERT_TRUE(DriverClick(DriverFindControl(window, kProgressCancel)));
  // The main window is back at once, not after the whole setup.
  ASSERT_TRUE(s_.WaitBuildEnd(kActMs));
  EXPECT_TRUE(HasLine(Log(), "Creating setup..."));
  ExpectAbortedWithoutSetup(setup);
}

TEST_F(BuildTest, ClosingTheProgramEndsARunningBuild) {
  StartOn(BigProject(out_ + "Big.exe"));
  ASSERT_TRUE(s_.Build());
  ASSERT_NE(nullptr, WaitArchivingBigFile());
  DWORD code = 0;
  EXPECT_TRUE(DriverCloseAndWait(s_.main(), s_.process(), 15000, &code)) << "the program did not end";
}

// The small operations of the build, in-process.
TEST(BuildOperations, LastPathComponent) {
  const struct {
    const char* path;
    const char* last;
  } cases[] = {
      {"C:\\Data", "Data"},
      {"C:\\Data\\Sub", "Sub"},
      {"NoBackslash", "NoBackslash"},
      {"C:\\Data\\", "Data\\"},  // a trailing "\" is not a separator
      {"\\", "\\"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.last, GetLastPathComponent(c.path)) << c.path;
}

}  // namespace
