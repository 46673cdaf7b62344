// What the program checks before it asks anything: the language file, the log and its
// installation folder, all read from the program's folder.
#include <gtest/gtest.h>

#include "common/registry_helper.h"
#include "common/sha256.h"
#include "uninstaller/log_binding.h"
#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/run_uninstaller.h"

namespace {

TEST(UninstallSession, ReadsTextsWithTheProductNameAndTheCheckedLog) {
  std::wstring folder = TestFolder();
  ASSERT_TRUE(PutBytes(folder + L"uninstall_l.zkl", TripLanguageFile()));
  ASSERT_TRUE(PutBytes(folder + L"uninstall.dat", TripLog(folder, 1, {L"#DF", folder + L"a.txt"})));
  UninstallSession s;
  ASSERT_TRUE(LoadUninstallSession(folder, folder + L"Uninstall.exe", &s));
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
    EXPECT_FALSE(LoadUninstallSession(folder, folder + L"Uninstall.exe", &s)) << c.name;
  }
}

TEST(LogBinding, JudgesTheKeptDigest) {
  const std::string digest = Sha256Hex("log");
  const struct {
    const char* name;
    bool keyFound, hasDigest;
    std::wstring kept;
    LogBinding expected;
  } cases[] = {
      {"no key", false, false, L"", LogBinding::Unbound},
      {"key without a digest", true, false, L"", LogBinding::Unbound},
      {"same digest", true, true, Utf8ToWide(digest), LogBinding::Matches},
      {"other digest", true, true, Utf8ToWide(Sha256Hex("other")), LogBinding::Differs},
      {"empty digest", true, true, L"", LogBinding::Differs},
      {"digest in capitals", true, true, Utf8ToWide(Sha256Hex("LOG")), LogBinding::Differs},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<int>(JudgeLogBinding(c.keyFound, c.hasDigest, c.kept, digest)), static_cast<int>(c.expected))
        << c.name;
  EXPECT_EQ(UninstallCommandPath(L"\"C:\\Program Files\\Trip\\uninst.exe\""), L"C:\\Program Files\\Trip\\uninst.exe");
  EXPECT_EQ(UninstallCommandPath(L" C:\\Trip\\uninst.exe "), L"C:\\Trip\\uninst.exe");
}

// The setup's Add/Remove key under HKEY_LOCAL_MACHINE binds the log: a log changed after
// the setup wrote it is refused, while installations without the digest work as before.
class BoundSession : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TestFolder();
    name_ = UniqueName(L"ZendrikolbarTest");
    key_ = std::wstring(kAddRemoveKeys) + L"\\" + name_;
    ASSERT_TRUE(PutBytes(folder_ + L"uninstall_l.zkl", TripLanguageFile()));
  }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str()); }

  // A log of product name (the key's own name unless told otherwise).
  std::string Log(const std::wstring& product) {
    return LogBytes(7, {product, L"1.2", L"", folder_}, 1, {L"#DF", folder_ + L"a.txt"});
  }

  std::wstring folder_, name_, key_;
};

TEST_F(BoundSession, LogMustMatchTheDigestOfItsAddRemoveKey) {
  const std::string written = Log(name_);
  const std::string whole = LogBytes(7, {name_, L"1.2", L"", folder_}, 1, {});
  const std::wstring program = folder_ + L"Uninstall.exe";
  const struct {
    const char* name;
    std::wstring product;  // in the log on disk
    std::string log;       // on disk
    std::wstring command;  // UninstallString; empty: none
    std::string kept;      // digest in the key; empty: no value
    bool loads;
  } cases[] = {
      {"unchanged log", name_, written, L"\"" + program + L"\"", Sha256Hex(written), true},
      {"record added", name_, written + "#DRV\r\nHKEY_LOCAL_MACHINE\r\nSOFTWARE\\x\\\r\nv\r\n", L"\"" + program + L"\"",
       Sha256Hex(written), false},
      {"path changed", name_, LogBytes(7, {name_, L"1.2", L"", folder_}, 1, {L"#DF", folder_ + L"b.txt"}),
       L"\"" + program + L"\"", Sha256Hex(written), false},
      {"product name emptied to hide the key", L"", Log(L""), L"\"" + program + L"\"", Sha256Hex(written), false},
      {"product name of another key", L"Other", Log(L"Other"), L"\"" + program + L"\"", Sha256Hex(written), false},
      {"program named in other case", name_, written + "#DF\r\nC:\\x.txt\r\n", L"\"" + folder_ + L"UNINSTALL.EXE\"",
       Sha256Hex(written), false},
      {"cut inside its last record", name_, written + "#DF\r\nC:", L"\"" + program + L"\"", Sha256Hex(written), true},
      {"a record the digest does not cover", name_, written, L"\"" + program + L"\"", Sha256Hex(whole), false},
      {"key without a digest", name_, written + "#DF\r\nC:\\x.txt\r\n", L"\"" + program + L"\"", "", true},
      {"key of another uninstaller", name_, written + "#DF\r\nC:\\x.txt\r\n", L"\"C:\\Other\\Uninstall.exe\"",
       Sha256Hex(written), true},
      {"no key", name_, written + "#DF\r\nC:\\x.txt\r\n", L"", "", true},
  };
  for (const auto& c : cases) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str());
    if (!c.command.empty()) PutValue(HKEY_LOCAL_MACHINE, key_, L"UninstallString", c.command);
    if (!c.kept.empty()) PutValue(HKEY_LOCAL_MACHINE, key_, kUninstallLogDigestValue, Utf8ToWide(c.kept));
    ASSERT_TRUE(PutBytes(folder_ + L"uninstall.dat", c.log));
    UninstallSession s;
    EXPECT_EQ(LoadUninstallSession(folder_, program, &s), c.loads) << c.name;
  }
}

}  // namespace
