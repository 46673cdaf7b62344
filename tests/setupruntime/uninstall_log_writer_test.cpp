// The uninstall log as the setup writes it, record by record.
#include <gtest/gtest.h>

#include "common/registry_helper.h"
#include "common/sha256.h"
#include "common/text.h"
#include "setupruntime/install_test_support.h"
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

}  // namespace
