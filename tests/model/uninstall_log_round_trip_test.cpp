// The uninstall log through both programs: what the setup's writer puts down, the
// uninstaller's reader gives back, record for record.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "setupruntime/uninstall_log_writer.h"
#include "uninstaller/uninstall_log.h"

namespace {

std::wstring TempLogPath() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"zk-log-round-trip-" + std::to_wstring(GetCurrentProcessId()) + L".dat";
}

TEST(UninstallLogRoundTrip, EveryRecordKindReadsBack) {
  const std::wstring path = TempLogPath();
  UninstallLogWriter writer;
  ASSERT_EQ(OpenUninstallLog(&writer, path, {L"Product \u00e9", L"1.0", L"http://p.example/", L"C:\\P\\", 3}), 1);
  LogInstalledFile(&writer, L"C:\\P\\a.txt");
  LogInstalledFolder(&writer, L"C:\\P\\docs\\");
  LogRegistryKey(&writer, L"HKEY_CURRENT_USER", L"Software\\P");
  // A value name may look like a marker; it stays data.
  LogRegistryValue(&writer, L"HKEY_LOCAL_MACHINE", L"Software\\P\\", L"#DF");
  CloseUninstallLog(&writer);

  UninstallLog log;
  ASSERT_EQ(ReadUninstallLog(path, &log), LogStatus::Ok);
  DeleteFileW(path.c_str());
  EXPECT_EQ(log.productName, L"Product \u00e9");
  EXPECT_EQ(log.installFolder, L"C:\\P\\");
  EXPECT_EQ(log.entryCount, 3);
  EXPECT_FALSE(log.cut);
  ASSERT_EQ(log.records.size(), 4u);
  EXPECT_EQ(log.records[0].kind, RecordKind::File);
  EXPECT_EQ(log.records[0].path, L"C:\\P\\a.txt");
  EXPECT_EQ(log.records[1].kind, RecordKind::Folder);
  EXPECT_EQ(log.records[1].path, L"C:\\P\\docs\\");
  EXPECT_EQ(log.records[2].kind, RecordKind::RegistryKey);
  EXPECT_EQ(log.records[2].rootName, L"HKEY_CURRENT_USER");
  EXPECT_EQ(log.records[2].key, L"Software\\P");
  EXPECT_EQ(log.records[3].kind, RecordKind::RegistryValue);
  EXPECT_EQ(log.records[3].key, L"Software\\P\\");
  EXPECT_EQ(log.records[3].valueName, L"#DF");
}

}  // namespace
