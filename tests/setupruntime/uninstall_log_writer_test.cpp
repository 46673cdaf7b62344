// The uninstall log as the setup writes it, record by record.
#include <gtest/gtest.h>

#include "common/registry_helper.h"
#include "common/sha256.h"
#include "common/text.h"
#include "setupruntime/install_test_support.h"
#include "setupruntime/install_workers.h"
#include "setupruntime/uninstall_log_writer.h"

namespace {

class UninstallLogWriterTest : public InstallTest {
 protected:
  std::wstring LogPath() const { return dir + L"uninstall.dat"; }
  UninstallLogHeader Header() const { return UninstallLogHeader{L"P", L"1", L"", L"C:\\P\\", 2}; }
  std::string HeaderBytes() const { return Int32Bytes(7) + Lines({L"P", L"1", L"", L"C:\\P\\"}) + Int32Bytes(2); }
};

// A line break inside a record's text would split it, and the uninstaller would read its
// path as a marker or a marker as a path for every record after it.
TEST_F(UninstallLogWriterTest, RecordWithALineBreakIsLeftOutWhole) {
  UninstallLogWriter log;
  ASSERT_EQ(OpenUninstallLog(&log, LogPath(), Header()), 1);
  LogInstalledFile(&log, L"C:\\P\\a.txt");
  LogInstalledFile(&log, L"C:\\P\\b\r\n#DD\r\nC:\\P\\c.txt");
  LogRegistryValue(&log, L"HKEY_CURRENT_USER", L"Software\\P\\", L"two\nlines");
  LogInstalledFolder(&log, L"C:\\P\\docs\\");
  CloseUninstallLog(&log);
  EXPECT_EQ(GetBytes(LogPath()), HeaderBytes() + Lines({L"#DF", L"C:\\P\\a.txt", L"#DD", L"C:\\P\\docs\\"}));
}

std::wstring KeptDigest(const std::wstring& key) {
  std::wstring value = ReadRegistryValue(HKEY_LOCAL_MACHINE, key, kUninstallLogDigestValue);
  TakeRegistryError();
  return value;
}

// The digest in the key follows the log record by record, so a setup stopped at any point
// leaves the digest of what it wrote.
TEST_F(UninstallLogWriterTest, BoundKeyKeepsTheDigestOfEveryRecordWritten) {
  const std::wstring key = std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kTestAppName;
  UninstallLogWriter log;
  ASSERT_EQ(OpenUninstallLog(&log, LogPath(), Header()), 1);
  LogInstalledFile(&log, L"C:\\P\\a.txt");
  EXPECT_EQ(KeptDigest(key), L"") << "nothing stored before the log is bound";
  CreateRegistryKey(HKEY_LOCAL_MACHINE, key);
  BindUninstallLog(&log, key);
  std::string expected = HeaderBytes() + Lines({L"#DF", L"C:\\P\\a.txt"});
  EXPECT_EQ(KeptDigest(key), Utf8ToWide(Sha256Hex(expected)));
  LogRegistryKey(&log, L"HKEY_LOCAL_MACHINE", key);
  expected += Lines({L"#DRK", L"HKEY_LOCAL_MACHINE", key});
  EXPECT_EQ(KeptDigest(key), Utf8ToWide(Sha256Hex(expected)));
  LogRegistryValue(&log, L"HKEY_CURRENT_USER", L"Software\\P\\", L"");
  expected += Lines({L"#DRV", L"HKEY_CURRENT_USER", L"Software\\P\\", L""});
  EXPECT_EQ(KeptDigest(key), Utf8ToWide(Sha256Hex(expected)));
  CloseUninstallLog(&log);
  EXPECT_EQ(GetBytes(LogPath()), expected);
  EXPECT_EQ(KeptDigest(key).size(), 64u);
}

// Installed again into the same folder and aborted before the key is written anew: the
// key left by the first installation already starts this uninstaller, so it must hold the
// digest of the new log, while the key of an installation elsewhere is left alone.
TEST_F(UninstallLogWriterTest, AbortedReinstallKeepsTheKeysDigestInStep) {
  SetExtractWorkerCount(0);
  const std::wstring key = std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kTestAppName;
  const struct {
    const char* name;
    std::wstring command;
    bool follows;
  } cases[] = {
      {"same folder", L"\"" + App() + L"uninst.exe\"", true},
      {"same folder in other case", L"\"" + dir + L"APP\\UNINST.EXE\"", true},
      {"other folder", L"\"C:\\Elsewhere\\uninst.exe\"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UseArchive({{"a.txt", "a"}, {"locked.txt", "new"}, {"after.txt", "after"}});
    CreateFolderPath(App());
    PutBytes(App() + L"locked.txt", "old");
    CreateRegistryKey(HKEY_LOCAL_MACHINE, key);
    WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"UninstallString", c.command);
    WriteRegistryString(HKEY_LOCAL_MACHINE, key, kUninstallLogDigestValue, L"digest of the earlier log");
    HANDLE lock = CreateFileW((App() + L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ui.answer = [](int) { return IDABORT; };
    EXPECT_EQ(Run(), 0);
    CloseHandle(lock);
    std::string log = GetBytes(App() + L"uninstall.dat");
    EXPECT_NE(log.find("a.txt"), std::string::npos);
    EXPECT_EQ(KeptDigest(key), c.follows ? Utf8ToWide(Sha256Hex(log)) : L"digest of the earlier log");
  }
}

}  // namespace
