// Registry records against the registry of the test's Wine prefix, below a key of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/remove_records.h"

namespace {

class RegistryRecords : public ::testing::Test {
 protected:
  void SetUp() override { top_ = L"Software\\" + UniqueName(L"ZendrikolbarTest"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, top_.c_str()); }
  std::wstring top_;
};

TEST_F(RegistryRecords, EmptyParentsGoDeepestFirstAndAParentWithAValueStays) {
  PutValue(HKEY_CURRENT_USER, top_ + L"\\One\\Two\\Three", L"v", L"1");
  PutValue(HKEY_CURRENT_USER, top_ + L"\\One", L"other", L"stays");
  UninstallRecord r = RegRecord(RecordKind::RegistryValue, L"HKEY_CURRENT_USER", top_ + L"\\One\\Two\\Three\\", L"v");
  EXPECT_EQ(ApplyRecord(GuardContext(), r), GuardVerdict::Act);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top_ + L"\\One\\Two\\Three"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top_ + L"\\One\\Two"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, top_ + L"\\One", L"other"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, top_));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software"));
}

TEST_F(RegistryRecords, EveryEmptiedLevelGoesUpToButNotIncludingSoftware) {
  PutValue(HKEY_CURRENT_USER, top_ + L"\\One\\Two\\Three", L"v", L"1");
  DeleteEmptyParentKeys(HKEY_CURRENT_USER, top_ + L"\\One\\Two\\Three");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, top_ + L"\\One\\Two\\Three")) << "still holds its value";
  RegDeleteKeyValueW(HKEY_CURRENT_USER, (top_ + L"\\One\\Two\\Three").c_str(), L"v");
  DeleteEmptyParentKeys(HKEY_CURRENT_USER, top_ + L"\\One\\Two\\Three\\");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top_));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software"));
}

TEST_F(RegistryRecords, KeyRecordLeavesAKeyWithSubKeysAndItsParents) {
  PutValue(HKEY_CURRENT_USER, top_ + L"\\Trip", L"DisplayName", L"Trip");
  PutValue(HKEY_CURRENT_USER, top_ + L"\\Trip\\Sub", L"x", L"1");
  UninstallRecord r = RegRecord(RecordKind::RegistryKey, L"HKEY_CURRENT_USER", top_ + L"\\Trip");
  EXPECT_EQ(ApplyRecord(GuardContext(), r), GuardVerdict::Act);
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, top_ + L"\\Trip\\Sub", L"x"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, top_));

  RegDeleteTreeW(HKEY_CURRENT_USER, (top_ + L"\\Trip\\Sub").c_str());
  EXPECT_EQ(ApplyRecord(GuardContext(), r), GuardVerdict::Act);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top_ + L"\\Trip")) << "deleted with its values";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top_)) << "emptied parent";
}

}  // namespace
