// What the program checks before it asks anything: the language file, the log and its
// installation folder, all read from the program's folder.
#include <gtest/gtest.h>

#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/run_uninstaller.h"

namespace {

TEST(UninstallSession, ReadsTextsWithTheProductNameAndTheCheckedLog) {
  std::wstring folder = TestFolder();
  ASSERT_TRUE(PutBytes(folder + L"uninstall_l.zkl", TripLanguageFile()));
  ASSERT_TRUE(PutBytes(folder + L"uninstall.dat", TripLog(folder, 1, {L"#DF", folder + L"a.txt"})));
  UninstallSession s;
  ASSERT_TRUE(LoadUninstallSession(folder, &s));
  EXPECT_EQ(s.texts.bm, L"Remove Trip Planner now?");
  EXPECT_EQ(s.texts.success, L"Trip Planner was removed.");
  EXPECT_EQ(s.texts.headerB, L"Please wait while Trip Planner is removed from your computer.");
  EXPECT_EQ(s.log.records.size(), 1u);
  EXPECT_TRUE(SamePath(s.guard.installFolder + L"\\", folder));
}

TEST(UninstallSession, RefusedWithoutLanguageFileOrWithABadLog) {
  std::wstring folder = TestFolder();
  const std::string goodLog = TripLog(folder, 0, {});
  const struct {
    const char* name;
    bool language;
    std::string log;
  } cases[] = {
      {"no language file", false, goodLog},
      {"no log", true, ""},
      {"damaged log", true, goodLog.substr(0, 10)},
      {"drive root as installation folder", true, TripLog(L"C:\\", 0, {})},
      {"relative installation folder", true, TripLog(L"Trip\\", 0, {})},
      {"empty installation folder", true, TripLog(L"", 0, {})},
  };
  for (const auto& c : cases) {
    DeleteFileW((folder + L"uninstall_l.zkl").c_str());
    DeleteFileW((folder + L"uninstall.dat").c_str());
    if (c.language) PutBytes(folder + L"uninstall_l.zkl", TripLanguageFile());
    if (!c.log.empty()) PutBytes(folder + L"uninstall.dat", c.log);
    UninstallSession s;
    EXPECT_FALSE(LoadUninstallSession(folder, &s)) << c.name;
  }
}

}  // namespace
