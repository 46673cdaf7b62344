// The test support itself: what every test relies on when it makes, reads and removes
// files, waits, or changes the environment its programs inherit.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/environment.h"
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/waits.h"

namespace {

TEST(SupportFolders, RemoveTreeTakesEverythingBelowAndNothingBeside) {
  std::wstring base = TestFolder(L"support_test");
  std::wstring tree = base + L"tree\\";
  const std::vector<std::wstring> folders = {tree, tree + L"a\\", tree + L"a\\\u65C5 \u0101\\"};
  for (const std::wstring& f : folders) ASSERT_TRUE(CreateDirectoryW(f.c_str(), nullptr));
  ASSERT_TRUE(PutBytes(tree + L"a\\\u65C5 \u0101\\deep.txt", "deep"));
  ASSERT_TRUE(PutBytes(tree + L"read-only.txt", "kept?"));
  SetFileAttributesW((tree + L"read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(PutBytes(base + L"beside.txt", "beside"));
  ASSERT_TRUE(PutBytes(base + L"tree.txt", "a file named like the folder"));

  RemoveTree(tree.substr(0, tree.size() - 1));  // without the trailing backslash
  EXPECT_FALSE(PathExists(tree));
  EXPECT_EQ(FolderEntries(base).size(), 2u);
  EXPECT_TRUE(PathExists(base + L"beside.txt"));
  EXPECT_TRUE(PathExists(base + L"tree.txt"));
}

// An empty name is a folder a failed set-up never named: "" + "*" would be the current
// folder's whole content, which for the tests is the build's program folder.
TEST(SupportFolders, EmptyNamesRemoveNothing) {
  std::wstring base = TestFolder(L"support_test");
  ASSERT_TRUE(PutBytes(base + L"canary.txt", "still here"));
  wchar_t old[MAX_PATH];
  ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, old));
  ASSERT_TRUE(SetCurrentDirectoryW(base.c_str()));
  RemoveTree(std::wstring());
  RemoveTree(std::string());
  EmptyFolder(std::wstring());
  EmptyFolder(std::string());
  SetCurrentDirectoryW(old);
  EXPECT_TRUE(PathExists(base + L"canary.txt"));
}

TEST(SupportFolders, EmptyFolderKeepsTheFolderAndTempFolderGoesWhole) {
  std::wstring kept;
  {
    TempFolder temp("zksupport");
    kept = temp.widePath;
    ASSERT_TRUE(PathExists(kept));
    ASSERT_TRUE(CreateDirectoryW((kept + L"sub").c_str(), nullptr));
    ASSERT_TRUE(PutBytes(temp.path + "sub\\x.txt", "x"));
    ASSERT_TRUE(PutBytes(temp.path + "y.txt", "y"));
    EmptyFolder(temp.path);
    EXPECT_TRUE(PathExists(kept));
    EXPECT_TRUE(temp.Names().empty());
    ASSERT_TRUE(PutBytes(temp.path + "z.txt", "z"));
  }
  EXPECT_FALSE(PathExists(kept));
}

TEST(SupportFileBytes, WholeFilesAlsoWhileAnotherWriterHasThemOpen) {
  std::wstring path = TestFolder(L"support_test") + L"bytes.dat";
  std::string bytes(200000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(PutBytes(path, bytes));
  HANDLE writer =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetBytes(path), bytes);
  CloseHandle(writer);
  EXPECT_TRUE(PutBytes(path, "short"));
  EXPECT_EQ(GetBytes(path), "short");
  EXPECT_EQ(GetBytes(path + L".missing"), "");
}

TEST(SupportEnvironment, ScopedValuesGoBackToWhatWasThere) {
  const wchar_t* name = L"ZK_SUPPORT_TEST_VARIABLE";
  SetEnvironmentVariableW(name, nullptr);
  {
    ScopedEnv set(name, L"one");
    EXPECT_EQ(Env(name), L"one");
    {
      ScopedEnv empty(name, L"");
      EXPECT_EQ(Env(name), L"");
      ScopedEnv gone(name, nullptr);
      EXPECT_EQ(0u, GetEnvironmentVariableW(name, nullptr, 0));
    }
    EXPECT_EQ(Env("ZK_SUPPORT_TEST_VARIABLE"), "one");
  }
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0u, GetEnvironmentVariableW(name, nullptr, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND), GetLastError()) << "unset again, not set empty";
}

TEST(SupportWaits, AnswersAsSoonAsTheConditionHoldsAndGivesUpAtTheLimit) {
  ULONGLONG start = GetTickCount64();
  int asked = 0;
  EXPECT_TRUE(WaitFor([&] { return ++asked == 3; }, 5000, 10));
  EXPECT_EQ(asked, 3);
  EXPECT_LT(GetTickCount64() - start, 2000u);

  start = GetTickCount64();
  EXPECT_FALSE(WaitFor([] { return false; }, 300, 10));
  ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 290u);
  EXPECT_LT(waited, 3000u);
}

}  // namespace
