#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/dirlist.h"
#include "support/file_bytes.h"

namespace {

const std::string kDir = "zk_dirlist_test";
const std::wstring kWideDir = L"zk_dirlist_test";

class DirListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(kDir.c_str(), nullptr);
    CreateDirectoryA((kDir + "\\Sub").c_str(), nullptr);
    PutBytes(kDir + "\\Sub\\inner.zkl", "not listed: one level only");
    PutBytes(kDir + "\\a.txt", "abc");
    PutBytes(kDir + "\\c.zkl", "");
    PutBytes(kDir + "\\B.zkl", "12345");
  }
  void TearDown() override {
    for (const char* name : {"Sub\\inner.zkl", "a.txt", "c.zkl", "B.zkl"}) DeleteFileA((kDir + "\\" + name).c_str());
    DeleteFileW((kWideDir + L"\\\u4E2D.zkl").c_str());
    RemoveDirectoryA((kDir + "\\Sub").c_str());
    RemoveDirectoryA(kDir.c_str());
  }
};

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  return names;
}

std::vector<std::string> SortedNames(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names = Names(entries);
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(DirListTest, FindsFilesAndFoldersWithoutDotEntries) {
  std::vector<DirEntry> entries = ListDirectory(kDir);
  EXPECT_EQ(SortedNames(entries), (std::vector<std::string>{"B.zkl", "Sub", "a.txt", "c.zkl"}));
  for (const auto& e : entries) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(e.isFolder, e.name == "Sub");
    EXPECT_EQ((e.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, e.isFolder);
    EXPECT_NE(e.lastWrite, 0u);
    int64_t expectedSize = e.name == "a.txt" ? 3 : e.name == "B.zkl" ? 5 : 0;  // folders 0
    EXPECT_EQ(e.size, expectedSize);
  }
}

TEST_F(DirListTest, PatternsAndFolderSpellings) {
  struct Case {
    std::string folder, pattern;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {kDir, "*.zkl", {"B.zkl", "c.zkl"}},
      {kDir + "\\", "*.zkl", {"B.zkl", "c.zkl"}},
      {kDir + "/", "?.txt", {"a.txt"}},
      {kDir, "S*", {"Sub"}},
      {kDir, "*.none", {}},
      {kDir + "\\missing", "*.*", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder + " " + c.pattern);
    EXPECT_EQ(SortedNames(ListDirectory(c.folder, c.pattern)), c.names);
  }
}

TEST_F(DirListTest, ByNameIgnoresCase) {
  EXPECT_EQ(Names(ListDirectory(kDir, "*.*", DirOrder::kByName)),
            (std::vector<std::string>{"a.txt", "B.zkl", "c.zkl", "Sub"}));
}

TEST_F(DirListTest, WideNamesOutsideTheAnsiCodePage) {
  HANDLE h = CreateFileW((kWideDir + L"\\\u4E2D.zkl").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  std::vector<DirEntryW> entries = ListDirectory(kWideDir, L"*.zkl", DirOrder::kByName);
  std::vector<std::wstring> names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"B.zkl", L"c.zkl", L"\u4E2D.zkl"}));
}

}  // namespace
