// The checks on every record: hostile records are skipped without harm, while good
// records beside them still act.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>

#include "common/registry_helper.h"
#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/record_guard.h"
#include "uninstaller/remove_records.h"
#include "uninstaller/uninstall_thread.h"

namespace {

std::wstring NoSlash(std::wstring s) {
  if (s.size() > 3 && s.back() == L'\\') s.pop_back();
  return s;
}

std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH];
  GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH];
  GetSystemDirectoryW(path, MAX_PATH);
  return path;
}

struct VerdictCase {
  const char* name;
  UninstallRecord record;
  GuardVerdict expected;
};

TEST(RecordGuard, VerdictsForGoodAndHostileRecords) {
  std::wstring base = TestFolder();
  std::wstring app = base + L"App\\";
  CreateDirectoryW(app.c_str(), nullptr);
  GuardContext ctx;
  ASSERT_TRUE(BuildGuardContext(app, &ctx));
  std::wstring programs = GetUserProgramsFolder();
  std::wstring desktop = GetUserDesktopFolder();
  ASSERT_FALSE(programs.empty());
  ASSERT_FALSE(desktop.empty());
  const RecordKind F = RecordKind::File, D = RecordKind::Folder;
  const RecordKind K = RecordKind::RegistryKey, V = RecordKind::RegistryValue;
  const VerdictCase cases[] = {
      {"file in the installation folder", PathRecord(F, app + L"a.txt"), GuardVerdict::Act},
      {"sub folder", PathRecord(D, app + L"docs\\"), GuardVerdict::Act},
      {"sub folder written with slashes", PathRecord(D, NoSlash(app) + L"/docs/"), GuardVerdict::Act},
      {"case differs", PathRecord(F, app + L"SUB\\A.TXT"), GuardVerdict::Act},
      {"start-menu folder", PathRecord(D, programs + L"Trip Planner\\"), GuardVerdict::Act},
      {"desktop shortcut", PathRecord(F, desktop + L"Trip Planner.lnk"), GuardVerdict::Act},
      {"desktop shortcut in capitals", PathRecord(F, desktop + L"TRIP PLANNER.LNK"), GuardVerdict::Act},
      {"start-menu shortcut", PathRecord(F, programs + L"Trip Planner\\Trip.lnk"), GuardVerdict::Act},
      {"desktop document", PathRecord(F, desktop + L"Tax return.xlsx"), GuardVerdict::NotShortcut},
      {"desktop file named like a link", PathRecord(F, desktop + L"notes.lnk.txt"), GuardVerdict::NotShortcut},
      {"desktop file ending in lnk", PathRecord(F, desktop + L"Trip Plannerlnk"), GuardVerdict::NotShortcut},
      {"file in a start-menu folder", PathRecord(F, programs + L"Trip Planner\\readme.txt"), GuardVerdict::NotShortcut},
      {"link-named file in the installation folder", PathRecord(F, app + L"data.lnk"), GuardVerdict::Act},
      {"drive root", PathRecord(D, L"C:\\"), GuardVerdict::Outside},
      {"file in the drive root", PathRecord(F, L"C:\\boot.ini"), GuardVerdict::Outside},
      {"Windows folder", PathRecord(D, WindowsFolder() + L"\\"), GuardVerdict::Outside},
      {"system file", PathRecord(F, SystemFolder() + L"\\kernel32.dll"), GuardVerdict::Outside},
      {"installation folder's parent", PathRecord(D, base), GuardVerdict::Outside},
      {"file beside the installation folder", PathRecord(F, base + L"user.txt"), GuardVerdict::Outside},
      {"folder whose name starts like it", PathRecord(F, NoSlash(app) + L"Other\\a.txt"), GuardVerdict::Outside},
      {"start-menu root itself", PathRecord(D, programs), GuardVerdict::Outside},
      {"start-menu folder field left empty", PathRecord(D, programs + L"\\"), GuardVerdict::Outside},
      {"desktop itself", PathRecord(D, desktop), GuardVerdict::Outside},
      {"installation folder itself", PathRecord(D, app), GuardVerdict::Outside},
      {"Startup folder below the start-menu root", PathRecord(F, programs + L"Startup\\run.lnk"),
       GuardVerdict::Protected},
      {"escape with ..", PathRecord(F, app + L"..\\user.txt"), GuardVerdict::BadPath},
      {"escape with .. further down", PathRecord(D, app + L"docs\\..\\..\\"), GuardVerdict::BadPath},
      {"dot part", PathRecord(F, app + L".\\a.txt"), GuardVerdict::BadPath},
      {"relative path", PathRecord(F, L"a.txt"), GuardVerdict::BadPath},
      {"rooted without a drive", PathRecord(F, L"\\Windows\\win.ini"), GuardVerdict::BadPath},
      {"drive-relative", PathRecord(F, L"C:a.txt"), GuardVerdict::BadPath},
      {"device path", PathRecord(F, L"\\\\?\\" + app + L"a.txt"), GuardVerdict::BadPath},
      {"dot device path", PathRecord(F, L"\\\\.\\C:\\a.txt"), GuardVerdict::BadPath},
      {"stream", PathRecord(F, app + L"a.txt:hidden"), GuardVerdict::BadPath},
      {"wildcard", PathRecord(F, app + L"*.*"), GuardVerdict::BadPath},
      {"empty path", PathRecord(F, L""), GuardVerdict::BadPath},
      {"good key", RegRecord(K, L"HKEY_CURRENT_USER", L"Software\\Trip"), GuardVerdict::Act},
      {"good value", RegRecord(V, L"HKEY_CURRENT_USER", L"Software\\Trip\\", L"Colour"), GuardVerdict::Act},
      {"Software alone", RegRecord(K, L"HKEY_CURRENT_USER", L"Software"), GuardVerdict::BadKey},
      {"Software with slashes", RegRecord(V, L"HKEY_LOCAL_MACHINE", L"\\software\\", L"x"), GuardVerdict::BadKey},
      {"empty key", RegRecord(K, L"HKEY_CURRENT_USER", L""), GuardVerdict::BadKey},
      {"backslash key", RegRecord(K, L"HKEY_CURRENT_USER", L"\\"), GuardVerdict::BadKey},
      {"key naming a root", RegRecord(K, L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE"), GuardVerdict::BadKey},
      {"empty key part", RegRecord(K, L"HKEY_CURRENT_USER", L"Software\\\\Trip"), GuardVerdict::BadKey},
      {"Uninstall list itself",
       RegRecord(K, L"HKEY_LOCAL_MACHINE", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"),
       GuardVerdict::BadKey},
      {"unknown root", RegRecord(K, L"HKEY_NOWHERE", L"Software\\Trip"), GuardVerdict::BadRoot},
      {"root in other case", RegRecord(K, L"hkey_current_user", L"Software\\Trip"), GuardVerdict::BadRoot},
      {"performance data root", RegRecord(K, L"HKEY_PERFORMANCE_DATA", L"Software\\Trip"), GuardVerdict::BadRoot},
  };
  for (const VerdictCase& c : cases) {
    GuardVerdict v;
    if (c.record.kind == F || c.record.kind == D) {
      std::wstring target;
      v = CheckPathRecord(ctx, c.record, &target);
    } else {
      HKEY root = nullptr;
      std::wstring key;
      v = CheckRegistryRecord(c.record, &root, &key);
    }
    EXPECT_EQ(static_cast<int>(v), static_cast<int>(c.expected)) << c.name;
  }
}

struct FolderCase {
  const char* name;
  std::wstring folder;
};

TEST(RecordGuard, InstallationFolderMustBeAnOrdinaryAbsoluteFolder) {
  std::wstring app = TestFolder() + L"App\\";
  wchar_t path[MAX_PATH];
  GetEnvironmentVariableW(L"USERPROFILE", path, MAX_PATH);
  std::wstring profile = path;
  const FolderCase refused[] = {
      {"empty", L""},
      {"relative", L"Apps\\Trip\\"},
      {"rooted without a drive", L"\\Apps\\Trip\\"},
      {"drive root", L"C:\\"},
      {"drive root without backslash", L"C:"},
      {"share root", L"\\\\server\\share\\"},
      {"with ..", app + L"..\\"},
      {"Windows folder", WindowsFolder() + L"\\"},
      {"system folder", SystemFolder()},
      {"the user's profile", profile},
      {"the folder of all profiles", profile.substr(0, profile.find_last_of(L'\\'))},
  };
  GuardContext ctx;
  for (const FolderCase& c : refused) EXPECT_FALSE(BuildGuardContext(c.folder, &ctx)) << c.name;
  const FolderCase accepted[] = {
      {"test folder", app},
      {"without its trailing backslash", NoSlash(app)},
      {"share folder", L"\\\\server\\share\\Trip\\"},
      {"below the Windows folder", WindowsFolder() + L"\\Trip\\"},
  };
  for (const FolderCase& c : accepted) EXPECT_TRUE(BuildGuardContext(c.folder, &ctx)) << c.name;
}

// A file that must survive the test, and where it is.
struct Canary {
  std::wstring path;
  bool exists() const { return PathExists(path); }
};

class HostileReplay : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::wstring& p : cleanup_) {
      SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(p.c_str());
    }
    for (const std::wstring& f : cleanupFolders_) RemoveDirectoryW(f.c_str());
    if (!testKey_.empty()) RegDeleteTreeW(HKEY_CURRENT_USER, testKey_.c_str());
    if (!canaryValue_.empty()) RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software", canaryValue_.c_str());
  }
  Canary Plant(const std::wstring& path) {
    EXPECT_TRUE(PutBytes(path, "keep")) << WideToUtf8(path);
    cleanup_.push_back(path);
    return Canary{path};
  }
  std::vector<std::wstring> cleanup_;
  std::vector<std::wstring> cleanupFolders_;  // emptied by the files' cleanup first
  std::wstring testKey_;
  std::wstring canaryValue_;
};

TEST_F(HostileReplay, HostileRecordsHarmNothingWhileGoodOnesAct) {
  std::wstring base = TestFolder();
  std::wstring app = base + L"App\\";
  std::wstring outside = base + L"Outside\\";
  CreateDirectoryW(app.c_str(), nullptr);
  CreateDirectoryW((app + L"docs").c_str(), nullptr);
  CreateDirectoryW(outside.c_str(), nullptr);
  std::wstring programs = GetUserProgramsFolder();
  std::wstring desktop = GetUserDesktopFolder();
  std::wstring tag = UniqueName(L"zkcanary");

  Canary beside = Plant(base + L"user.txt");
  Canary inOutside = Plant(outside + L"data.txt");
  Canary inDrive = Plant(L"C:\\" + tag + L".txt");
  Canary inWindows = Plant(WindowsFolder() + L"\\" + tag + L".txt");
  Canary inPrograms = Plant(programs + tag + L".lnk");
  Canary inDesktop = Plant(desktop + tag + L".lnk");
  Canary desktopDocument = Plant(desktop + tag + L".txt");
  // A start-menu folder where the user put a document beside the setup's link.
  std::wstring menuFolder = programs + tag + L"\\";
  CreateDirectoryW(menuFolder.c_str(), nullptr);
  cleanupFolders_.push_back(menuFolder);
  Canary menuDocument = Plant(menuFolder + L"notes.txt");
  Plant(menuFolder + L"Trip.lnk");

  // Good records beside them: a read-only file, a folder with files, a value.
  ASSERT_TRUE(PutBytes(app + L"a.txt", "a"));
  SetFileAttributesW((app + L"a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(PutBytes(app + L"docs\\one.txt", "1"));
  ASSERT_TRUE(PutBytes(app + L"docs\\two.txt", "2"));
  SetFileAttributesW((app + L"docs\\two.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  testKey_ = L"Software\\" + UniqueName(L"ZendrikolbarTest");
  PutValue(HKEY_CURRENT_USER, testKey_ + L"\\Trip", L"Colour", L"blue");
  PutValue(HKEY_CURRENT_USER, testKey_ + L"\\Canary", L"Keep", L"yes");
  canaryValue_ = tag;
  PutValue(HKEY_CURRENT_USER, L"Software", canaryValue_, L"yes");

  // A link inside the installation folder that leads outside it, when the system can make one.
  // (Some Wine versions answer success without making anything.)
  bool link =
      CreateSymbolicLinkW((app + L"link").c_str(), NoSlash(outside).c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) != 0 &&
      PathExists(app + L"link\\data.txt");

  UninstallLog log;
  log.installFolder = app;
  const RecordKind F = RecordKind::File, D = RecordKind::Folder;
  log.records = {
      PathRecord(F, app + L"..\\user.txt"),
      PathRecord(F, beside.path),
      PathRecord(D, base),
      PathRecord(D, L"C:\\"),
      PathRecord(F, inDrive.path),
      PathRecord(D, WindowsFolder() + L"\\"),
      PathRecord(D, programs),
      PathRecord(D, programs + L"\\"),
      PathRecord(D, desktop),
      PathRecord(D, app + L"docs\\..\\..\\Outside\\"),
      PathRecord(F, desktopDocument.path),
      PathRecord(F, app + L"a.txt"),
      PathRecord(D, app + L"docs\\"),
      PathRecord(D, menuFolder),
      RegRecord(RecordKind::RegistryValue, L"HKEY_CURRENT_USER", L"Software", canaryValue_),
      RegRecord(RecordKind::RegistryKey, L"HKEY_NOWHERE", testKey_ + L"\\Canary"),
      RegRecord(RecordKind::RegistryKey, L"HKEY_CURRENT_USER", L""),
      RegRecord(RecordKind::RegistryValue, L"HKEY_CURRENT_USER", testKey_ + L"\\Trip\\", L"Colour"),
  };
  if (link) {
    log.records.push_back(PathRecord(D, app + L"link\\"));
    log.records.push_back(PathRecord(F, app + L"link\\data.txt"));
  }
  GuardContext ctx;
  ASSERT_TRUE(BuildGuardContext(app, &ctx));
  int progressCalls = 0;
  int acted = ReplayUninstallLog(
      log, ctx, [](int, void* n) { ++*static_cast<int*>(n); }, &progressCalls);

  EXPECT_EQ(acted, 4);
  for (const Canary* c :
       {&beside, &inOutside, &inDrive, &inWindows, &inPrograms, &inDesktop, &desktopDocument, &menuDocument})
    EXPECT_TRUE(c->exists()) << WideToUtf8(c->path);
  EXPECT_TRUE(PathExists(programs));
  EXPECT_TRUE(PathExists(desktop));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, L"Software", canaryValue_));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, testKey_ + L"\\Canary", L"Keep"));

  EXPECT_FALSE(PathExists(app + L"a.txt")) << "read-only file";
  EXPECT_FALSE(PathExists(app + L"docs")) << "folder with a read-only file";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, testKey_ + L"\\Trip"));
  EXPECT_FALSE(PathExists(menuFolder + L"Trip.lnk")) << "the link in the start-menu folder";
  EXPECT_TRUE(PathExists(app)) << "the installation folder is the batch's to remove";
  // Every file and folder record counts on the progress bar, skipped or not.
  EXPECT_EQ(progressCalls, link ? 16 : 14);
  if (!link) std::printf("note: no symbolic links here, the link rows were not run\n");
}

TEST(RemoveFolder, DeletesOnlyFilesDirectlyInsideAndKeepsAFolderThatIsNotEmpty) {
  std::wstring base = TestFolder();
  CreateDirectoryW((base + L"docs").c_str(), nullptr);
  CreateDirectoryW((base + L"docs\\deep").c_str(), nullptr);
  ASSERT_TRUE(PutBytes(base + L"docs\\added-by-user.txt", "x"));
  ASSERT_TRUE(PutBytes(base + L"docs\\deep\\kept.txt", "x"));
  EXPECT_FALSE(RemoveFolder(base + L"docs\\"));
  EXPECT_FALSE(PathExists(base + L"docs\\added-by-user.txt"));
  EXPECT_TRUE(PathExists(base + L"docs\\deep\\kept.txt"));
  EXPECT_TRUE(RemoveFolder(base + L"docs\\deep\\"));
  EXPECT_TRUE(RemoveFolder(base + L"docs\\"));
  EXPECT_FALSE(PathExists(base + L"docs"));
}

}  // namespace
