// Archive entries that cannot or must not be written: unsafe names, damaged data and
// targets held open by someone else.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/text.h"
#include "setupruntime/install_test_support.h"
#include "setupruntime/install_workers.h"
#include "setupruntime/zip_reader.h"
#include "support/debug_log.h"

namespace {

TEST(ZipEntryNames, OnlyNamesThatStayInsideTheFolderAreSafe) {
  const struct {
    const wchar_t* name;
    int safe;
  } cases[] = {
      {L"", 1},
      {L"file.txt", 1},
      {L"Data\\", 1},
      {L"Data\\Sub\\b.txt", 1},
      {L"a..b.txt", 1},
      {L"..name", 1},
      {L".\\file.txt", 1},
      {L"name..", 1},
      {L"..", 0},
      {L"..\\x", 0},
      {L"../x", 0},
      {L"a\\..\\..\\x", 0},
      {L"a\\..", 0},
      {L".. \\x", 0},
      {L"...\\x", 0},
      {L"a\\. .\\x", 0},
      {L"C:\\x", 0},
      {L"C:x", 0},
      {L"x:y", 0},
      {L"\\x", 0},
      {L"/x", 0},
      {L"\\\\server\\s\\x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << WideToUtf8(c.name);
}

std::wstring Backslashed(const std::string& name) {
  std::wstring wide = Utf8ToWide(name);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

TEST_F(InstallTest, UnsafeEntriesAreNeverWrittenAndReportedOnce) {
  // Each name with the place it would have reached.
  const struct {
    std::string name;
    std::wstring reach;
  } cases[] = {
      {"../zk_up.txt", dir + L"zk_up.txt"},
      {"..\\zk_up2.txt", dir + L"zk_up2.txt"},
      {"a/../../zk_up3.txt", dir + L"zk_up3.txt"},
      {".. /zk_up4.txt", dir + L"zk_up4.txt"},
      {"../zk_upfolder/", dir + L"zk_upfolder"},
      {"C:\\zk_drive.txt", L"C:\\zk_drive.txt"},
      {"C:zk_drive_relative.txt", L"C:zk_drive_relative.txt"},
      {"/zk_root.txt", L"\\zk_root.txt"},
      {"\\zk_root2.txt", L"\\zk_root2.txt"},
      {"zk:stream.txt", App() + L"zk"},
  };
  std::vector<ZipItem> items{{"before.txt", "before"}};
  std::wstring report = L"Error|A file could not be extracted.\n";
  for (const auto& c : cases) {
    items.push_back({c.name, "hostile"});
    report += L"\n" + Backslashed(c.name);
  }
  items.push_back({"after.txt", "after"});
  UseArchive(items);
  ASSERT_EQ(Run(), 1);

  for (const auto& c : cases) EXPECT_FALSE(PathExists(c.reach)) << c.name;
  EXPECT_EQ(GetBytes(App() + L"before.txt"), "before");
  EXPECT_EQ(GetBytes(App() + L"after.txt"), "after");
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_EQ(ui.infos, std::vector<std::wstring>{report});
  std::string log = GetBytes(App() + L"uninstall.dat");
  EXPECT_EQ(log.find("zk_"), std::string::npos);
  EXPECT_NE(log.find("after.txt"), std::string::npos);
  EXPECT_EQ(ui.progress.back(), L"0");
  EXPECT_EQ(ui.finishPages, 1);
}

TEST_F(InstallTest, EntryNamesAreUtf8WhenFlaggedAndOemOtherwise) {
  const std::wstring accented = L"\u00e9t\u00e9.txt";
  const struct {
    std::string stored;
    bool utf8;
    std::wstring installed;
  } cases[] = {
      {WideToUtf8(L"\u65e5\u672c\u8a9e.txt"), true, L"\u65e5\u672c\u8a9e.txt"},
      {WideToUtf8(L"\u30c7\u30fc\u30bf/"), true, L"\u30c7\u30fc\u30bf\\"},
      {WideToUtf8(L"\u30c7\u30fc\u30bf/\u8aac\u660e.txt"), true, L"\u30c7\u30fc\u30bf\\\u8aac\u660e.txt"},
      {FromWide(L"M\u00fcller.txt", CP_OEMCP), false, L"M\u00fcller.txt"},
      // Without the flag the same UTF-8 bytes are OEM text: the flag decides, not a guess.
      {WideToUtf8(accented), false, ToWide(WideToUtf8(accented), CP_OEMCP)},
  };
  std::vector<ZipItem> items;
  for (const auto& c : cases) {
    ZipItem item{c.stored, c.stored.back() == '/' ? "" : "data of " + c.stored};
    item.utf8 = c.utf8;
    items.push_back(item);
  }
  UseArchive(items);
  ASSERT_EQ(Run(), 1);
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_TRUE(ui.infos.empty());
  std::string log = GetBytes(App() + L"uninstall.dat");
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.installed));
    std::wstring path = App() + c.installed;
    if (c.installed.back() == L'\\') {
      EXPECT_TRUE(PathExists(path));
    } else {
      EXPECT_EQ(GetBytes(path), "data of " + c.stored);
    }
    EXPECT_NE(log.find(WideToUtf8(path.back() == L'\\' ? path.substr(0, path.size() - 1) : path)), std::string::npos);
  }
  EXPECT_FALSE(PathExists(App() + accented));
}

TEST_F(InstallTest, ArchiveWithoutEntriesInstallsTheRest) {
  UseArchive({});
  ASSERT_EQ(Run(), 1);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(ui.finishPages, 1);
  EXPECT_EQ(ui.progress.front(), L"range 2");
  EXPECT_TRUE(PathExists(App() + L"uninstall.dat"));
}

TEST_F(InstallTest, DirectoryThatCannotBeReadToItsEndIsTheExtractionError) {
  UseArchive({{"first.txt", "1"}, {"second.txt", "2"}, {"third.txt", "3"}});
  // The second directory record loses its signature: the entries from there on cannot be
  // found, and installing only those before it would look like a whole installation.
  std::string setup = GetBytes(in.setupPath);
  size_t first = setup.find("PK\x01\x02");
  size_t second = setup.find("PK\x01\x02", first + 4);
  ASSERT_NE(second, std::string::npos);
  setup[second + 3] = '\x09';
  ASSERT_TRUE(PutBytes(in.setupPath, setup));

  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(ui.errors, std::vector<std::wstring>{L"Error|A file could not be extracted."});
  EXPECT_EQ(ui.endSetups, 1);
  EXPECT_EQ(ui.finishPages, 0);
  EXPECT_FALSE(PathExists(App() + L"first.txt"));
}

TEST_F(InstallTest, DamagedEntryIsAskedAboutAndLeavesNoPartialFile) {
  std::string data;
  for (int i = 0; data.size() < 250000; ++i) data += "chunk " + std::to_string(i) + " of the damaged entry\r\n";
  const struct {
    const char* what;
    Damage damage;
  } cases[] = {
      {"CRC error", Damage::kBadCrc}, {"broken stream", Damage::kBrokenStream}, {"short data", Damage::kShortStream}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ui = RecordingUi();
    UseArchive({{"Data/damaged.bin", data, FILE_ATTRIBUTE_ARCHIVE, c.damage}, {"after.txt", "after"}});
    CreateFolderPath(App() + L"Data\\");
    PutBytes(App() + L"Data\\damaged.bin", "from an earlier installation");
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(ui.asks, std::vector<std::wstring>{L"Error|A file could not be extracted.\ndamaged.bin"});
    EXPECT_FALSE(PathExists(App() + L"Data\\damaged.bin"));
    EXPECT_EQ(GetBytes(App() + L"after.txt"), "after");
  }
}

TEST_F(InstallTest, LockedTargetIsRetriedIgnoredOrAborted) {
  // The install thread alone, so nothing behind the failing entry is written before the
  // answer (workers: install_workers_test.cpp).
  SetExtractWorkerCount(0);
  const struct {
    int answer;
    int result;
    std::string content;  // of the locked target afterwards
    bool after;           // the next entry was installed
    bool recorded;        // the locked target has its "#DF" record
  } cases[] = {
      {IDRETRY, 1, "new", true, true},
      {IDIGNORE, 1, "old", true, true},
      {IDABORT, 0, "old", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    ui = RecordingUi();
    DeleteFileW((App() + L"after.txt").c_str());
    UseArchive({{"locked.txt", "new"}, {"after.txt", "after"}});
    CreateFolderPath(App());
    PutBytes(App() + L"locked.txt", "old");
    HANDLE lock = CreateFileW((App() + L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ui.answer = [&](int) {
      // Retry comes after the user closed whatever held the file.
      if (c.answer == IDRETRY) {
        CloseHandle(lock);
        lock = INVALID_HANDLE_VALUE;
      }
      return c.answer;
    };
    EXPECT_EQ(Run(), c.result);
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);

    EXPECT_EQ(ui.asks, std::vector<std::wstring>{L"Error|A file could not be extracted.\nlocked.txt"});
    EXPECT_EQ(GetBytes(App() + L"locked.txt"), c.content);
    EXPECT_EQ(PathExists(App() + L"after.txt"), c.after);
    EXPECT_EQ(ui.endSetups, c.result == 0 ? 1 : 0);
    EXPECT_EQ(ui.finishPages, c.result);
    std::string log = GetBytes(App() + L"uninstall.dat");
    EXPECT_EQ(log.find(WideToUtf8(L"#DF\r\n" + App() + L"locked.txt\r\n")) != std::string::npos, c.recorded);
  }
}

// What the install thread could not do, the failure log names with the entry or folder.
TEST_F(InstallTest, FailuresNameTheirCauseInTheFailureLog) {
  PutBytes(dir + L"blocker.txt", "in the way");
  const struct {
    const char* what;
    std::function<void()> prepare;
    std::wstring field;
    const char* cause;   // step, and the start of the file part
    std::wstring named;  // the file or folder named
  } cases[] = {
      {"setup without archive", [&] { PutBytes(in.setupPath, "MZ no archive"); }, dir + L"App",
       "read the archive directory: file \"", in.setupPath},
      {"folder below a file",
       [&] {
         UseArchive({{"file.txt", "x"}});
       },
       dir + L"blocker.txt\\App", "create the installation folder: file \"", dir + L"blocker.txt\\App\\\": error "},
      {"relative folder",
       [&] {
         UseArchive({{"file.txt", "x"}});
       },
       L"App", "create the installation folder: file \"", L"App\\\": not a full path"},
      {"unsafe name",
       [&] {
         UseArchive({{"../zk_up.txt", "x"}});
       },
       dir + L"App", "refuse an archive entry: file \"", L"..\\zk_up.txt"},
      {"damaged entry",
       [&] {
         UseArchive({{"bad.bin", std::string(5000, 'b'), FILE_ATTRIBUTE_ARCHIVE, Damage::kBadCrc}});
       },
       dir + L"App", "extract an archive entry: file \"", dir + L"App\\bad.bin\": damaged data"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ui = RecordingUi();
    c.prepare();
    in.installFolderField = c.field;
    std::wstring log = dir + L"debug" + std::to_wstring(n++) + L".log";
    {
      DebugLogVariable set(log);
      Run();
    }
    std::string text = GetBytes(log);
    std::string line = "] " + std::string(c.cause) + WideToUtf8(c.named);
    EXPECT_NE(text.find(line), std::string::npos) << text;
  }
}

}  // namespace
