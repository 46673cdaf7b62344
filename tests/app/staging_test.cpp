// The build's staging of program files, in-process: hard links where the file system
// allows them, copies otherwise, the same archive either way, and the author's files left
// exactly as they were, whatever is staged over or removed.
#include <gtest/gtest.h>

#include <windows.h>

#include <wchar.h>

#include <algorithm>
#include <string>
#include <vector>

#include "builder/build_files.h"
#include "builder/zip_archiver.h"
#include "common/dirlist.h"
#include "common/text.h"
#include "support/file_bytes.h"
#include "support/zip_directory.h"

namespace {

// A folder of this test's own below TEMP, ending in "\".
std::wstring ScratchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp, n) + L"zk_staging_" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\";
}

DWORD LinkCount(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  return info.nNumberOfLinks;
}

// Gives every folder of the tree one last-write time: folder entries are dated from the
// staging folders themselves, which are made anew, a moment apart, for each staging.
void PinFolderTimes(const std::wstring& folder) {
  for (const DirEntryW& e : ListDirectory(folder, L"*.*")) {
    if (e.isFolder) PinFolderTimes(folder + e.name + L"\\");
  }
  HANDLE h = CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME pinned{0x4A1B2C00, 0x01D7A000};  // a day in 2021
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &pinned));
  CloseHandle(h);
}

void RemoveScratch(const std::wstring& folder) {
  for (const DirEntryW& e : ListDirectory(folder, L"*.*")) {
    std::wstring path = folder + e.name;
    if (e.isFolder) {
      RemoveScratch(path + L"\\");
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  }
  RemoveDirectoryW(folder.c_str());
}

struct SourceFile {
  const wchar_t* name;
  const char* bytes;
  DWORD attributes;
  DWORD linksWhenLinked;  // names the file has once staged with links allowed
};

// Names the ANSI code page cannot hold, and attributes a link may share (hidden) or may
// not (read-only: the link could not be removed without making the author's file
// writable, so it is copied).
const SourceFile kSources[] = {
    {L"plain.txt", "plain", FILE_ATTRIBUTE_ARCHIVE, 2},
    {L"\u65e5\u672c\u8a9e.txt", "nihongo", FILE_ATTRIBUTE_ARCHIVE, 2},
    {L"\u03a9mega.txt", "omega", FILE_ATTRIBUTE_ARCHIVE, 2},
    {L"sub\\hidden.dat", "hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, 2},
    {L"sub\\readonly.txt", "read-only", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, 1},
    {L"sub\\empty.txt", "", FILE_ATTRIBUTE_ARCHIVE, 2},
};

class StagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = ScratchFolder(L"tree");
    source_ = root_ + L"App";
    ASSERT_TRUE(CreateDirectoryW(source_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((source_ + L"\\sub").c_str(), nullptr));
    for (const SourceFile& f : kSources) {
      std::wstring path = source_ + L"\\" + f.name;
      ASSERT_TRUE(PutBytes(path, f.bytes));
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), f.attributes));
    }
  }
  void TearDown() override { RemoveScratch(root_); }

  // Stages the source tree below folder and archives it as the build does.
  std::string StageAndArchive(const std::wstring& folder, StageWay way) {
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::vector<std::string> failed;
    EXPECT_EQ(StageBuildFolder(WideToAnsi(source_), WideToAnsi(folder + L"App"), &failed, way), CopyResult::kCopied);
    EXPECT_TRUE(failed.empty()) << failed.front();
    PinFolderTimes(folder);
    std::string archive = WideToAnsi(root_) + (way == StageWay::kCopyOnly ? "copied.zip" : "linked.zip");
    EXPECT_EQ(AddZipFolder(archive, WideToAnsi(folder) + "*.*", kZipNameRelative, kZipFolderTreeEntries), 5);
    return GetBytes(AnsiToWide(archive));
  }

  void ExpectSourcesUntouched() {
    for (const SourceFile& f : kSources) {
      std::wstring path = source_ + L"\\" + f.name;
      SCOPED_TRACE(WideToUtf8(f.name));
      EXPECT_EQ(GetBytes(path), f.bytes);
      EXPECT_EQ(GetFileAttributesW(path.c_str()), f.attributes);
      EXPECT_EQ(LinkCount(path), 1u);
    }
  }

  std::wstring root_, source_;
};

TEST_F(StagingTest, LinkedAndCopiedStagingGiveTheSameArchive) {
  InitZipArchiver();
  SetZipCompressionMethod(kZipDeflated);
  std::wstring linked = root_ + L"linked\\", copied = root_ + L"copied\\";
  std::string fromLinks = StageAndArchive(linked, StageWay::kLinkWhenPossible);
  std::string fromCopies = StageAndArchive(copied, StageWay::kCopyOnly);
  for (const SourceFile& f : kSources) {
    SCOPED_TRACE(WideToUtf8(f.name));
    EXPECT_EQ(LinkCount(linked + L"App\\" + f.name), f.linksWhenLinked);
    EXPECT_EQ(LinkCount(copied + L"App\\" + f.name), 1u);
  }
  ASSERT_FALSE(fromLinks.empty());
  EXPECT_TRUE(fromLinks == fromCopies) << "the archives differ";

  // Every name is in, the one outside the OEM code page in UTF-8.
  std::vector<std::string> names;
  for (const StoredEntry& e : ReadStoredEntries(fromLinks)) names.push_back(e.name);
  const std::vector<std::string> expected = {"",
                                             "App/",
                                             "App/plain.txt",
                                             "App/\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt",
                                             "App/\xea"
                                             "mega.txt",
                                             "App/sub/",
                                             "App/sub/hidden.dat",
                                             "App/sub/readonly.txt",
                                             "App/sub/empty.txt"};
  EXPECT_TRUE(std::is_permutation(names.begin(), names.end(), expected.begin(), expected.end()));

  // Removing the staging trees takes the links' names only.
  RemoveBuildTree(WideToAnsi(linked));
  RemoveBuildTree(WideToAnsi(copied));
  EXPECT_FALSE(PathExists(linked));
  EXPECT_FALSE(PathExists(copied));
  ExpectSourcesUntouched();
}

// A second row's file of the same name replaces the first one's in the staging folder. The
// first may be a link: replacing it must not write through it into the author's file.
TEST_F(StagingTest, AFileStagedOverAnotherLeavesBothSourcesAlone) {
  std::wstring other = root_ + L"other";
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
  const struct {
    const wchar_t* first;  // in the source tree
    const wchar_t* second;
  } cases[] = {
      {L"plain.txt", L"plain.txt"},          // a link, then another link
      {L"sub\\readonly.txt", L"plain.txt"},  // a read-only copy, then a link
      {L"plain.txt", L"sub\\readonly.txt"},  // a link, then a copy
  };
  ASSERT_TRUE(PutBytes(other + L"\\plain.txt", "other plain"));
  ASSERT_TRUE(PutBytes(other + L"\\readonly.txt", "other read-only"));
  ASSERT_TRUE(SetFileAttributesW((other + L"\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  std::wstring staging = root_ + L"staging";
  ASSERT_TRUE(CreateDirectoryW(staging.c_str(), nullptr));
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(std::wstring(c.first) + L" then " + c.second));
    std::wstring target = staging + L"\\same.txt";
    std::wstring second = other + L"\\" + (wcschr(c.second, L'\\') ? L"readonly.txt" : c.second);
    ASSERT_EQ(StageBuildFile(WideToAnsi(source_ + L"\\" + c.first), WideToAnsi(target)), CopyResult::kCopied);
    ASSERT_EQ(StageBuildFile(WideToAnsi(second), WideToAnsi(target)), CopyResult::kCopied);
    EXPECT_EQ(GetBytes(target), GetBytes(second));
    ExpectSourcesUntouched();
    RemoveBuildTree(WideToAnsi(staging + L"\\"));
    ASSERT_TRUE(CreateDirectoryW(staging.c_str(), nullptr));
  }
  EXPECT_EQ(GetBytes(other + L"\\plain.txt"), "other plain");
  EXPECT_NE(GetFileAttributesW((other + L"\\readonly.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

}  // namespace
