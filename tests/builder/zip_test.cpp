// The ZIP archiver under Wine. The archives written to OutDir() are checked again on the
// Linux side by check_archives.sh with zipinfo and unzip.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "builder/test_files.h"
#include "builder/zip_archiver.h"
#include "support/zip_directory.h"

namespace {

struct ProgressLog {
  std::vector<std::pair<std::string, float>> calls;
  size_t stopAt = 0;  // the call (from 1) that answers "stop"; 0 for none
};

ProgressLog g_progress;

int RecordProgress(const char* name, float percent, intptr_t user) {
  EXPECT_EQ(user, 0);
  g_progress.calls.emplace_back(name, percent);
  return g_progress.calls.size() == g_progress.stopAt ? 1 : 0;
}

std::vector<ZipEntryInfo> ListEntries(const std::string& archive) {
  std::vector<ZipEntryInfo> entries;
  if (OpenZipArchive(archive) == nullptr) return entries;
  for (int r = GoToFirstZipEntry(); r == 0; r = GoToNextZipEntry()) {
    ZipEntryInfo info;
    EXPECT_EQ(GetZipEntryInfo(&info), 0);
    entries.push_back(info);
  }
  CloseZipArchive();
  return entries;
}

std::vector<std::string> EntryNames(const std::string& archive) {
  std::vector<std::string> names;
  for (const ZipEntryInfo& e : ListEntries(archive)) names.push_back(e.name);
  return names;
}

// The DOS date and time the system itself derives from the file's last write.
uint32_t SystemDosDate(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  SYSTEMTIME utc{}, local{};
  FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  FILETIME localTime{};
  SystemTimeToFileTime(&local, &localTime);
  WORD date = 0, time = 0;
  FileTimeToDosDateTime(&localTime, &date, &time);
  return (static_cast<uint32_t>(date) << 16) | time;
}

void SetLocalWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME local{};
  local.wYear = year;
  local.wMonth = month;
  local.wDay = day;
  local.wHour = hour;
  local.wMinute = minute;
  local.wSecond = second;
  SYSTEMTIME utc{};
  TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
  FILETIME written{};
  SystemTimeToFileTime(&utc, &written);
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFileTime(h, nullptr, nullptr, &written);
  CloseHandle(h);
}

size_t CallsFor(const std::string& name) {
  return std::count_if(g_progress.calls.begin(), g_progress.calls.end(),
                       [&](const std::pair<std::string, float>& c) { return c.first == name; });
}

class ZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitZipArchiver();
    SetZipProgressCallback(RecordProgress);
    g_progress = ProgressLog();
  }
  void TearDown() override {
    CloseZipArchive();
    EndZipArchiver();
  }
};

// A staging tree like the build's: files at the top and below, an empty file, a name
// outside ASCII, a file older than 1980, and a branch of folders without files.
struct StagingTree {
  std::string root;  // ends in "\"
  std::string nonAscii;
};

StagingTree MakeStagingTree(const std::string& root) {
  StagingTree tree{root, WideToAnsi(L"caf\u00e9.txt")};
  MakeFolders(root + "S\\T");
  MakeFolders(root + "E\\F");
  PutBytes(root + "a.txt", MixedData(3000, 1));
  SetLocalWriteTime(root + "a.txt", 2021, 6, 15, 13, 45, 31);
  PutBytes(root + "empty.txt", "");
  PutBytes(root + "old.txt", "written before the archive format's dates begin");
  SetLocalWriteTime(root + "old.txt", 1975, 3, 1, 10, 0, 0);
  PutBytes(root + tree.nonAscii, MixedData(500, 2));
  PutBytes(root + "S\\b.bin", MixedData(250000, 3));
  PutBytes(root + "S\\T\\deep.txt", MixedData(102400, 4));
  return tree;
}

struct MethodCase {
  int method;
  const char* archive;
};

class ZipFolderTest : public ZipTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(ZipFolderTest, StagingTreeGoesInUnderRelativeNames) {
  const MethodCase& param = GetParam();
  // The check script needs the OEM code page to know the stored bytes of a name.
  PutBytes(OutPath("oemcp.txt"), std::to_string(GetOEMCP()));
  std::string archive = OutPath(param.archive);
  StagingTree tree = MakeStagingTree(OutPath(std::string(param.archive) + "_src\\"));
  SetZipCompressionMethod(param.method);
  SetZipCompressionMethod(5);  // not a method: ignored
  // As the build does: an empty archive first, then the whole staging tree into it.
  ASSERT_NE(CreateZipArchive(archive, 0), nullptr);
  ASSERT_EQ(CloseZipArchive(), 0);
  ASSERT_EQ(CountZipEntries(archive), 0);

  EXPECT_EQ(AddZipFolder(archive, tree.root + "*.*", kZipNameRelative, kZipFolderTreeEntries), 5);

  std::vector<ZipEntryInfo> entries = ListEntries(archive);
  ASSERT_EQ(entries.size(), 11u);
  EXPECT_EQ(CountZipEntries(archive), 11);
  EXPECT_EQ(entries[0].name, "");
  std::vector<std::string> names;
  for (const ZipEntryInfo& e : entries) names.push_back(e.name);
  std::vector<std::string> expected = {"",         "a.txt",  "empty.txt",      "old.txt", tree.nonAscii, "S\\",
                                       "S\\b.bin", "S\\T\\", "S\\T\\deep.txt", "E\\",     "E\\F\\"};
  EXPECT_TRUE(std::is_permutation(names.begin(), names.end(), expected.begin(), expected.end()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const ZipEntryInfo& e = entries[i];
    bool folder = e.name.empty() || e.name.back() == '\\';
    SCOPED_TRACE(e.name);
    // Every folder comes ahead of what it holds.
    for (size_t j = 0; j < i; ++j) {
      EXPECT_FALSE(entries[j].name.size() > e.name.size() && entries[j].name.compare(0, e.name.size(), e.name) == 0 &&
                   folder);
    }
    EXPECT_EQ(e.compressionMethod, static_cast<uint32_t>(param.method));
    EXPECT_EQ(e.internalAttributes, 0u);  // text files too: nothing is marked as text
    std::string source = tree.root + e.name;
    // Folders carry their own time too; a time before 1980 becomes 1980-01-01 00:00:00.
    EXPECT_EQ(e.dosDate, e.name == "old.txt" ? 0x00210000u : SystemDosDate(source));
    if (folder) {
      EXPECT_NE(e.externalAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
      EXPECT_EQ(e.uncompressedSize, 0u);
    } else {
      EXPECT_EQ(e.externalAttributes, GetFileAttributesA(source.c_str()));
      EXPECT_EQ(e.uncompressedSize, GetBytes(source).size());
    }
  }
  // Seconds are stored halved, rounding down: 13:45:31 becomes 13:45:30.
  auto a = std::find_if(entries.begin(), entries.end(), [](const ZipEntryInfo& e) { return e.name == "a.txt"; });
  ASSERT_NE(a, entries.end());
  EXPECT_EQ(a->year, 2021u);
  EXPECT_EQ(a->month, 5u);
  EXPECT_EQ(a->day, 15u);
  EXPECT_EQ(a->hour, 13u);
  EXPECT_EQ(a->minute, 45u);
  EXPECT_EQ(a->second, 30u);

  // One call per 102,400-byte chunk with the share done, then one end call per file
  // with data; empty files and folders report nothing.
  std::string big = tree.root + "S\\b.bin";
  ASSERT_EQ(CallsFor(big), 3u);
  std::vector<float> percents;
  for (const auto& c : g_progress.calls) {
    if (c.first == big) percents.push_back(c.second);
  }
  EXPECT_NEAR(percents[0], 40.96f, 0.01f);
  EXPECT_NEAR(percents[1], 81.92f, 0.01f);
  EXPECT_FLOAT_EQ(percents[2], 100.0f);
  EXPECT_EQ(CallsFor(tree.root + "S\\T\\deep.txt"), 1u);
  EXPECT_EQ(CallsFor(tree.root + "a.txt"), 1u);
  EXPECT_EQ(CallsFor(tree.root + "empty.txt"), 0u);
  EXPECT_EQ(CallsFor(""), 5u);
  EXPECT_EQ(g_progress.calls.size(), 12u);
  for (const auto& c : g_progress.calls) {
    if (c.first.empty()) {
      EXPECT_FLOAT_EQ(c.second, 100.0f);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Methods, ZipFolderTest,
                         ::testing::Values(MethodCase{kZipDeflated, "tree_deflated.zip"},
                                           MethodCase{kZipStored, "tree_stored.zip"}));

TEST_F(ZipTest, FolderTreeWithoutFilesGivesFolderEntriesOnly) {
  std::string root = OutPath("folders_src\\");
  MakeFolders(root + "X\\Y");
  std::string archive = OutPath("folders.zip");
  EXPECT_EQ(AddZipFolder(archive, root + "*.*", kZipNameRelative, kZipFolderTreeEntries), 0);
  EXPECT_EQ(EntryNames(archive), (std::vector<std::string>{"", "X\\", "X\\Y\\"}));
  EXPECT_TRUE(g_progress.calls.empty());
}

struct FolderModeCase {
  int folderMode;
  int count;
  std::vector<std::string> names;  // in any order
};

TEST_F(ZipTest, FolderModesAndPatternChooseTheEntries) {
  std::string root = OutPath("scratch\\modes\\top\\");
  MakeFolders(root + "sub");
  PutBytes(root + "x.txt", "x");
  PutBytes(root + "y.bin", "y");
  PutBytes(root + "sub\\z.txt", "z");
  const FolderModeCase cases[] = {
      {kZipFolderFiles, 1, {"x.txt"}},
      {kZipFolderTree, 2, {"x.txt", "sub\\z.txt"}},
      {kZipFolderTreeEntries, 2, {"", "x.txt", "sub\\", "sub\\z.txt"}},
  };
  for (const FolderModeCase& c : cases) {
    SCOPED_TRACE(c.folderMode);
    std::string archive = OutPath("scratch\\modes\\" + std::to_string(c.folderMode) + ".zip");
    DeleteFileA(archive.c_str());
    EXPECT_EQ(AddZipFolder(archive, root + "*.txt", kZipNameRelative, c.folderMode), c.count);
    std::vector<std::string> names = EntryNames(archive);
    EXPECT_TRUE(std::is_permutation(names.begin(), names.end(), c.names.begin(), c.names.end()));
  }
}

TEST_F(ZipTest, NameModesNameTheEntry) {
  std::string folder = OutPath("scratch\\names\\dir\\");
  MakeFolders(folder);
  std::string source = folder + "file.txt";
  PutBytes(source, "named");
  const std::pair<int, std::string> cases[] = {
      {kZipNameFileOnly, "file.txt"}, {kZipNameFullPath, source}, {kZipNameRelative, "file.txt"}, {7, "file.txt"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::string archive = OutPath("scratch\\names\\" + std::to_string(c.first) + ".zip");
    DeleteFileA(archive.c_str());
    EXPECT_EQ(AddZipFile(archive, source, c.first), 1);
    EXPECT_EQ(EntryNames(archive), std::vector<std::string>{c.second});
  }
}

// Names the ANSI code page cannot hold: the walk finds them, and each entry is named in
// OEM bytes when the OEM code page holds the name (Greek capital omega is in 437, the
// test prefix's), else in UTF-8 with the flag, in the local and the central header alike.
TEST_F(ZipTest, NamesOutsideTheAnsiCodePageKeepTheirName) {
  ASSERT_EQ(GetOEMCP(), 437u) << "the rows below are those of code page 437";
  std::wstring src = AnsiToWide(OutPath("names_src\\"));
  ASSERT_TRUE(CreateDirectoryW(src.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryW((src + L"\u65e5\u672c").c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  struct NameRow {
    const wchar_t* file;
    const char* stored;
    uint16_t flag;
    const char* listed;  // as GetZipEntryInfo gives it, in ANSI; null: left to OemToCharA's best fit
  };
  const NameRow rows[] = {
      {L"plain.txt", "plain.txt", 0, "plain.txt"},
      {L"\u03a9mega.txt",
       "\xea"
       "mega.txt",
       0, nullptr},
      {L"\u65e5\u672c\u8a9e.txt", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", 0x800, "???.txt"},
      {L"\u65e5\u672c\\caf\u00e9.txt", "\xe6\x97\xa5\xe6\x9c\xac/caf\xc3\xa9.txt", 0x800, "??\\caf\xe9.txt"},
  };
  for (const NameRow& r : rows) ASSERT_TRUE(PutBytes(src + r.file, WideToUtf8(r.file)));
  std::string archive = OutPath("names.zip");
  DeleteFileA(archive.c_str());

  EXPECT_EQ(AddZipFolder(archive, WideToAnsi(src) + "*.*", kZipNameRelative, kZipFolderTreeEntries), 4);

  std::vector<StoredEntry> stored = ReadStoredEntries(GetBytes(archive));
  std::vector<ZipEntryInfo> listed = ListEntries(archive);
  ASSERT_EQ(stored.size(), 6u);
  ASSERT_EQ(listed.size(), 6u);
  for (const NameRow& r : rows) {
    SCOPED_TRACE(r.stored);
    auto at = std::find_if(stored.begin(), stored.end(), [&](const StoredEntry& e) { return e.name == r.stored; });
    ASSERT_NE(at, stored.end());
    EXPECT_EQ(at->flag & 0x800, r.flag);
    EXPECT_EQ(at->localFlag, at->flag);
    EXPECT_EQ(at->localName, at->name);
    const ZipEntryInfo& info = listed[static_cast<size_t>(at - stored.begin())];
    if (r.listed != nullptr) {
      EXPECT_EQ(info.name, r.listed);
    }
    EXPECT_EQ(info.flag, at->flag);
    EXPECT_EQ(info.uncompressedSize, WideToUtf8(r.file).size());
  }
  // The folder of the two Japanese characters, in UTF-8 as its name needs.
  auto folder = std::find_if(stored.begin(), stored.end(),
                             [](const StoredEntry& e) { return e.name == "\xe6\x97\xa5\xe6\x9c\xac/"; });
  ASSERT_NE(folder, stored.end());
  EXPECT_EQ(folder->flag & 0x800, 0x800);
  EXPECT_EQ(stored[0].name, "");
  EXPECT_EQ(stored[0].flag & 0x800, 0);
}

TEST_F(ZipTest, AddZipFileReplacesAnEmptyArchiveThenExtendsIt) {
  std::string src = OutPath("extend_src\\");
  MakeFolders(src);
  PutBytes(src + "one.txt", MixedData(40000, 5));
  PutBytes(src + "two.bin", MixedData(300000, 6));
  PutBytes(src + "empty.dat", "");
  std::string archive = OutPath("extend.zip");
  ASSERT_NE(CreateZipArchive(archive, 0), nullptr);
  ASSERT_EQ(CloseZipArchive(), 0);

  EXPECT_EQ(AddZipFile(archive, src + "one.txt", kZipNameRelative), 1);
  std::vector<ZipEntryInfo> first = ListEntries(archive);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(AddZipFile(archive, src + "two.bin", kZipNameRelative), 1);
  // An empty file gets its entry, but no data was written: result 0.
  EXPECT_EQ(AddZipFile(archive, src + "empty.dat", kZipNameRelative), 0);

  std::vector<ZipEntryInfo> entries = ListEntries(archive);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "one.txt");
  EXPECT_EQ(entries[0].crc, first[0].crc);
  EXPECT_EQ(entries[0].compressedSize, first[0].compressedSize);
  EXPECT_EQ(entries[1].name, "two.bin");
  EXPECT_EQ(entries[1].uncompressedSize, 300000u);
  EXPECT_EQ(entries[2].name, "empty.dat");
  EXPECT_EQ(entries[2].uncompressedSize, 0u);
  EXPECT_EQ(CallsFor(src + "two.bin"), 3u);
}

TEST_F(ZipTest, AddZipFileLeavesTheArchiveAloneWhenItCannotAdd) {
  std::string dir = OutPath("scratch\\refuse\\");
  MakeFolders(dir);
  std::string source = dir + "source.txt";
  PutBytes(source, "data");
  std::string notZip = dir + "notes.zip";
  PutBytes(notZip, "these are the author's notes, not an archive");
  struct Case {
    const char* what;
    std::string archive;
    std::string source;
  };
  const Case cases[] = {
      {"missing source", dir + "missing_source.zip", dir + "nothing.txt"},
      {"folder as source", dir + "folder_source.zip", dir},
      {"archive in a missing folder", dir + "no\\such\\a.zip", source},
      {"archive is no ZIP file", notZip, source},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string before = GetBytes(c.archive);
    bool existed = PathExists(c.archive);
    EXPECT_EQ(AddZipFile(c.archive, c.source, kZipNameRelative), 0);
    EXPECT_EQ(PathExists(c.archive), existed);
    EXPECT_EQ(GetBytes(c.archive), before);
  }
  EXPECT_EQ(AddZipFolder(notZip, dir + "*.*", kZipNameRelative, kZipFolderTreeEntries), 0);
  EXPECT_EQ(GetBytes(notZip), "these are the author's notes, not an archive");
  EXPECT_EQ(CountZipEntries(notZip), -1);
  EXPECT_EQ(CountZipEntries(dir + "nothing.zip"), -1);
}

TEST_F(ZipTest, ListingWithoutAnOpenArchiveAnswersMinusOne) {
  ZipEntryInfo info;
  EXPECT_EQ(GoToFirstZipEntry(), -1);
  EXPECT_EQ(GoToNextZipEntry(), -1);
  EXPECT_EQ(GetZipEntryInfo(&info), -1);
  EXPECT_EQ(OpenZipArchive(OutPath("scratch\\no_such.zip")), nullptr);
}

struct CancelCase {
  const char* what;
  bool folder;         // AddZipFolder on the tree, else AddZipFile of source
  bool extend;         // the archive already has entries
  const char* source;  // in the tree
  size_t stopAt;       // progress call that answers "stop"
};

class ZipCancelTest : public ZipTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(ZipCancelTest, CancelStopsAtTheNextChunk) {
  const CancelCase& c = GetParam();
  std::string dir = OutPath(std::string("scratch\\cancel_") + c.what + "\\");
  MakeFolders(dir + "tree");
  PutBytes(dir + "tree\\first.txt", MixedData(1000, 7));
  PutBytes(dir + "tree\\second.bin", MixedData(350000, 8));
  PutBytes(dir + "kept.txt", MixedData(2000, 9));
  std::string archive = c.extend ? OutPath(std::string("cancel_") + c.what + ".zip") : dir + "new.zip";
  if (c.extend) {
    ASSERT_EQ(AddZipFile(archive, dir + "kept.txt", kZipNameRelative), 1);
  }
  std::string before = GetBytes(archive);
  g_progress = ProgressLog();
  g_progress.stopAt = c.stopAt;

  int result = c.folder ? AddZipFolder(archive, dir + "tree\\*.*", kZipNameRelative, kZipFolderTreeEntries)
                        : AddZipFile(archive, dir + "tree\\" + c.source, kZipNameRelative);

  EXPECT_EQ(result, kZipCancelled);
  EXPECT_EQ(g_progress.calls.size(), c.stopAt);  // nothing after the answer
  if (c.extend) {
    // Back to exactly the entries it had.
    EXPECT_EQ(GetBytes(archive), before);
    EXPECT_EQ(EntryNames(archive), std::vector<std::string>{"kept.txt"});
  } else {
    // Closed, so the caller can remove it.
    EXPECT_EQ(CountZipEntries(archive), c.folder ? 3 : 1);
    EXPECT_TRUE(DeleteFileA(archive.c_str()));
  }
}

// second.bin has four chunks, first.txt one; in a folder one of them is whole before the
// stop, whichever the listing gives first.
INSTANTIATE_TEST_SUITE_P(Cases, ZipCancelTest,
                         ::testing::Values(CancelCase{"file_new", false, false, "second.bin", 1},
                                           CancelCase{"file_extend", false, true, "second.bin", 2},
                                           CancelCase{"end_call_extend", false, true, "first.txt", 2},
                                           CancelCase{"folder_new", true, false, "", 5},
                                           CancelCase{"folder_extend", true, true, "", 5}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.what; });

}  // namespace
