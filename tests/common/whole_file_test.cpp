#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/whole_file.h"
#include "support/file_bytes.h"

namespace {

std::vector<std::wstring> FolderNames(const std::wstring& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

class WholeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = FullFolder(L"zk_whole_file_test");
    Clear();
    CreateDirectoryW(dir_.c_str(), nullptr);
  }
  void TearDown() override { Clear(); }
  void Clear() {
    for (const std::wstring& name : FolderNames(dir_)) {
      std::wstring path = dir_ + name;
      if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    }
    RemoveDirectoryW(dir_.c_str());
  }
  std::wstring dir_;
};

TEST_F(WholeFile, ReadIsBoundedAndFailsClearly) {
  PutBytes(dir_ + L"empty", "");
  PutBytes(dir_ + L"four", "abcd");
  CreateDirectoryW((dir_ + L"folder").c_str(), nullptr);
  const struct {
    const wchar_t* name;
    uint64_t limit;
    bool ok;
    const char* bytes;
  } cases[] = {
      {L"missing", 100, false, ""}, {L"", 100, false, ""},   {L"empty", 0, true, ""},
      {L"four", 4, true, "abcd"},   {L"four", 3, false, ""},  // one byte over the bound
      {L"folder", 100, false, ""},
  };
  for (const auto& c : cases) {
    std::string out = "left over";
    std::wstring path = c.name[0] ? dir_ + c.name : std::wstring();
    EXPECT_EQ(c.ok, ReadWholeFile(path, c.limit, &out)) << c.name << " " << c.limit;
    EXPECT_EQ(c.bytes, out) << c.name << " " << c.limit;
    std::string narrow;
    for (wchar_t ch : path) narrow += static_cast<char>(ch);
    out = "left over";
    EXPECT_EQ(c.ok, ReadWholeFile(narrow, c.limit, &out)) << c.name;
    EXPECT_EQ(c.bytes, out) << c.name;
  }
}

TEST_F(WholeFile, ReplaceKeepsTheOldFileWhenTheWriteFailsAndLeavesNoTemporaryFile) {
  std::wstring target = dir_ + L"target.dat";
  CreateDirectoryW((dir_ + L"folder").c_str(), nullptr);
  const struct {
    const char* what;
    const wchar_t* name;
    bool writeSucceeds;
    bool ok;
    const char* after;
  } cases[] = {
      {"written", L"target.dat", true, true, "new"},
      {"write failed halfway", L"target.dat", false, false, "old"},
      {"move refused: a folder is there", L"folder", true, false, nullptr},
      {"folder missing", L"none\\target.dat", true, false, nullptr},
  };
  for (const auto& c : cases) {
    PutBytes(target, "old");
    std::wstring path = dir_ + c.name;
    bool called = false;
    bool ok = WriteReplacing(path, L"zkt", [&](const std::wstring& temp) {
      called = true;
      EXPECT_EQ(dir_, temp.substr(0, dir_.size())) << "beside its target";
      PutBytes(temp, c.writeSucceeds ? "new" : "ne");
      return c.writeSucceeds;
    });
    EXPECT_EQ(c.ok, ok) << c.what;
    if (c.after) {
      EXPECT_TRUE(called);
      EXPECT_EQ(c.after, GetBytes(path)) << c.what;
    }
    std::vector<std::wstring> names = FolderNames(dir_);
    EXPECT_EQ(2u, names.size()) << c.what << ": a temporary file was left";
  }
}

TEST_F(WholeFile, NarrowReplaceAndWholeWriteRoundTrip) {
  std::string narrow;
  for (wchar_t ch : dir_ + L"narrow.dat") narrow += static_cast<char>(ch);
  std::string bytes("a\0b\r\n", 5);
  EXPECT_TRUE(WriteReplacing(narrow, "zkt", [&](const std::string& temp) {
    std::wstring wide(temp.begin(), temp.end());
    return WriteWholeFile(wide, bytes);
  }));
  std::string back;
  EXPECT_TRUE(ReadWholeFile(narrow, bytes.size(), &back));
  EXPECT_EQ(bytes, back);
  EXPECT_EQ(1u, FolderNames(dir_).size());
}

}  // namespace
