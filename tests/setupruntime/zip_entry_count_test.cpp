// Archives around the 16-bit entry count of the end record, made by the builder's
// archiver and read by the setup from behind a runtime image and a cabinet, as they lie
// in a setup file. From 65,536 entries on the archive carries zip64 end records, whose
// offsets count from the archive's own start.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "builder/zip_archiver.h"
#include "common/text.h"
#include "setupruntime/install_test_support.h"
#include "setupruntime/payload.h"
#include "setupruntime/zip_reader.h"

namespace {

constexpr int kStagedFiles = 65534;
// Files per folder: Wine looks a new name up by reading the whole folder, so tens of
// thousands of files in one folder would take most of an hour to make.
constexpr int kFilesPerFolder = 256;

// The staged file's path below the staging folder, which is also its entry name.
std::wstring FileName(int i) {
  wchar_t name[32];
  swprintf(name, 32, L"d%03d\\f%05d.txt", i / kFilesPerFolder, i);
  return name;
}

// Folders of tiny files, made once for every test of the program. The step before this
// test (make_zip_count_staging.pl, which names and fills them the same way) makes them
// from the Linux side in seconds; under Wine, one file at a time, they took minutes. Any
// file still missing is made here.
const std::wstring& StagingFolder() {
  static const std::wstring folder = [] {
    std::wstring staging = FullFolder(L"setupruntime_test\\zip_entry_count_staging\\");
    for (int i = 0; i < kStagedFiles; ++i) {
      std::wstring path = staging + FileName(i);
      if (i % kFilesPerFolder == 0) CreateFolderPath(path.substr(0, path.find_last_of(L'\\') + 1));
      if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) PutBytes(path, WideToUtf8(FileName(i)));
    }
    return staging;
  }();
  return folder;
}

// The staged files archived by the builder's archiver as the tests need them (stored,
// named relative to the staging folder), made once for every test of the program: each
// test extends a copy of its own. The archiver takes most of a minute over them.
struct StagedArchive {
  std::wstring path;
  int entries;  // what the archiver answered
};

const StagedArchive& Staged() {
  static const StagedArchive staged = [] {
    std::wstring dir = FullFolder(L"setupruntime_test\\zip_entry_count_archive\\");
    RemoveWorkFolder(dir);
    CreateFolderPath(dir);
    SetZipCompressionMethod(kZipStored);
    std::wstring path = dir + L"staged.zip";
    return StagedArchive{
        path, AddZipFolder(WideToAnsi(path), WideToAnsi(StagingFolder() + L"*.*"), kZipNameRelative, kZipFolderTree)};
  }();
  return staged;
}

// A copy of the staged archive at path.
bool CopyStaged(const std::wstring& path) {
  return Staged().entries == kStagedFiles && CopyFileW(Staged().path.c_str(), path.c_str(), FALSE);
}

// A setup file around the archive: image, cabinet length, cabinet, archive, its length.
const std::string kImage = "MZ runtime image " + std::string(5000, 'R') + "PK\x05\x06 a stray end signature";
const std::string kCabinet = "MSCF a cabinet PK\x06\x07 with a stray locator";

std::wstring PutInSetup(const std::wstring& dir, const std::string& archive) {
  std::wstring setup = dir + L"setup.exe";
  std::string length(4, '\0');
  for (int i = 0; i < 4; ++i) length[static_cast<size_t>(i)] = static_cast<char>(archive.size() >> (8 * i));
  EXPECT_TRUE(
      PutBytes(setup, kImage + Int64Bytes(static_cast<int64_t>(kCabinet.size())) + kCabinet + archive + length));
  return setup;
}

TEST(ZipEntryCount, ArchivesAroundTheSixteenBitLimitAreReadWholeInsideASetup) {
  std::wstring dir = FullFolder(L"setupruntime_test\\zip_entry_count\\");
  RemoveWorkFolder(dir);
  CreateFolderPath(dir);
  ASSERT_EQ(Staged().entries, kStagedFiles);
  ASSERT_TRUE(CopyStaged(dir + L"program.zip"));
  SetZipCompressionMethod(kZipStored);
  std::string archive = WideToAnsi(dir + L"program.zip");

  // Each row adds one file to the archive of the row before, as the build adds its
  // update client.
  const struct {
    const wchar_t* added;  // nullptr: the staged files only
    int64_t entries;
  } cases[] = {{nullptr, 65534}, {L"extra1.txt", 65535}, {L"extra2.txt", 65536}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries);
    std::wstring added = c.added ? c.added : L"";
    if (!added.empty()) {
      ASSERT_TRUE(PutBytes(dir + added, WideToUtf8(added)));
      ASSERT_EQ(AddZipFile(archive, WideToAnsi(dir + added), kZipNameFileOnly), 1);
    }
    std::wstring setup = PutInSetup(dir, GetBytes(dir + L"program.zip"));
    ZipWindow window = PayloadArchiveWindow(setup, kImage.size());
    EXPECT_EQ(window.start, kImage.size() + 8 + kCabinet.size());
    ZipReader* reader = OpenZipReader(setup, window);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(ZipEntryCount(reader), c.entries);

    int64_t walked = 0;
    std::wstring last;
    ZipEntryPlace place;
    int at = ZipFirstEntry(reader);
    for (; at == 0; at = ZipNextEntry(reader)) {
      last = ZipEntryName(reader);
      EXPECT_EQ(ZipCurrentPlace(reader, &place), 0);
      ++walked;
    }
    EXPECT_EQ(at, kZipEnd);
    EXPECT_EQ(walked, c.entries);
    // The entry added last is the last one; the data of every entry is its own name.
    if (!added.empty()) {
      EXPECT_EQ(last, added);
    }
    std::wstring out = dir + L"out\\";
    CreateFolderPath(out);
    ASSERT_EQ(ZipGoToPlace(reader, place), 0);
    EXPECT_EQ(ExtractZipEntry(reader, out), kExtractOk);
    EXPECT_EQ(GetBytes(out + last), WideToUtf8(last));
    CloseZipReader(reader);
  }
}

TEST_F(InstallTest, SetupWithMoreEntriesThanTheEndRecordCountsInstallsThemAll) {
  ASSERT_EQ(Staged().entries, kStagedFiles);
  ASSERT_TRUE(CopyStaged(work + L"program.zip"));
  SetZipCompressionMethod(kZipStored);
  std::string archive = WideToAnsi(work + L"program.zip");
  const wchar_t* added[] = {L"extra1.txt", L"extra2.txt", L"extra3.txt"};
  for (const wchar_t* name : added) {
    ASSERT_TRUE(PutBytes(work + name, "added"));
    ASSERT_EQ(AddZipFile(archive, WideToAnsi(work + name), kZipNameFileOnly), 1);
  }
  ASSERT_TRUE(WriteSetupFile(in.setupPath, work + L"program.zip", &in.archive));

  ASSERT_EQ(Run(), 1);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_EQ(ui.finishPages, 1);
  // The progress bar counts every entry plus the two closing steps.
  ASSERT_FALSE(ui.progress.empty());
  EXPECT_EQ(ui.progress.front(), L"range " + std::to_wstring(kStagedFiles + 3 + 2));
  int missing = 0;
  for (int i = 0; i < kStagedFiles; ++i) {
    if (GetBytes(App() + FileName(i)) != WideToUtf8(FileName(i))) ++missing;
  }
  EXPECT_EQ(missing, 0);
  for (const wchar_t* name : added) EXPECT_EQ(GetBytes(App() + name), "added");
}

}  // namespace
