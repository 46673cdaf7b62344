// The payload of a setup executable: the cabinet found behind the image, refused when the
// file is damaged, extracted without letting an entry escape the work folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "setupruntime/payload.h"
#include "setupruntime/runtime_test_files.h"
#include "setupruntime/work_folder.h"

namespace {

const std::string kImage = std::string(3000, 'I') + "end of image";
const std::string kCabinet = "MSCF and the rest of a cabinet";
const std::string kArchive = "PK archive bytes";

TEST(Payload, CopiesExactlyTheCabinetBehindTheImage) {
  std::wstring dir = TestFolder();
  ASSERT_TRUE(PutBytes(dir + L"setup.exe", kImage + Int64Bytes(kCabinet.size()) + kCabinet + kArchive + "\x10\0\0\0"));
  ASSERT_EQ(CopyPayloadCabinet(dir + L"setup.exe", kImage.size(), dir + L"Setup.cab"), kPayloadOk);
  EXPECT_EQ(GetBytes(dir + L"Setup.cab"), kCabinet);
}

TEST(Payload, CabinetReachingTheEndOfTheFileIsTaken) {
  std::wstring dir = TestFolder();
  ASSERT_TRUE(PutBytes(dir + L"setup.exe", kImage + Int64Bytes(kCabinet.size()) + kCabinet));
  ASSERT_EQ(CopyPayloadCabinet(dir + L"setup.exe", kImage.size(), dir + L"Setup.cab"), kPayloadOk);
  EXPECT_EQ(GetBytes(dir + L"Setup.cab"), kCabinet);
}

TEST(Payload, DamagedSetupsAreRefusedAndWriteNothing) {
  const int64_t rest = static_cast<int64_t>(kCabinet.size() + kArchive.size());
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"empty file", ""},
      {"truncated in the image", kImage.substr(0, 1000)},
      {"image only", kImage},
      {"truncated in the length", kImage + Int64Bytes(kCabinet.size()).substr(0, 4)},
      {"truncated in the cabinet", kImage + Int64Bytes(kCabinet.size()) + kCabinet.substr(0, 5)},
      {"length 0", kImage + Int64Bytes(0) + kCabinet + kArchive},
      {"negative length", kImage + Int64Bytes(-1) + kCabinet + kArchive},
      {"huge length", kImage + Int64Bytes(INT64_MAX) + kCabinet + kArchive},
      {"length wrapping the offset", kImage + Int64Bytes(INT64_MIN + 5) + kCabinet + kArchive},
      {"one byte past the end", kImage + Int64Bytes(rest + 1) + kCabinet + kArchive},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring dir = TestFolder();
    ASSERT_TRUE(PutBytes(dir + L"setup.exe", c.file));
    EXPECT_EQ(CopyPayloadCabinet(dir + L"setup.exe", kImage.size(), dir + L"Setup.cab"), kPayloadDamaged);
    EXPECT_FALSE(PathExists(dir + L"Setup.cab"));
  }
}

TEST(Payload, MissingSetupFileAndUnwritableCabinetAreReported) {
  std::wstring dir = TestFolder();
  EXPECT_EQ(CopyPayloadCabinet(dir + L"none.exe", kImage.size(), dir + L"Setup.cab"), kPayloadCannotOpen);
  ASSERT_TRUE(PutBytes(dir + L"setup.exe", kImage + Int64Bytes(kCabinet.size()) + kCabinet));
  EXPECT_EQ(CopyPayloadCabinet(dir + L"setup.exe", kImage.size(), dir + L"no\\such\\Setup.cab"), kPayloadCannotWrite);
}

TEST(Payload, ArchiveLiesBetweenTheCabinetAndItsLengthField) {
  const std::string head = kImage + Int64Bytes(kCabinet.size()) + kCabinet;
  const std::string size = std::string("\x10\0\0\0", 4);  // kArchive's 16 bytes
  const struct {
    const char* what;
    std::string file;
    uint64_t start;
    uint64_t length;
  } cases[] = {
      {"length field matches", head + kArchive + size, head.size(), kArchive.size()},
      {"bytes appended after the field", head + kArchive + size + "appended", head.size(), kArchive.size() + 12},
      {"large-archive mark on a small one", head + kArchive + "\xff\xff\xff\xff", head.size(), kArchive.size() + 4},
      {"no archive", head, head.size(), 0},
      {"cabinet past the end", kImage + Int64Bytes(kCabinet.size() + 1) + kCabinet, 0, 0},
      {"image only", kImage, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring dir = TestFolder();
    ASSERT_TRUE(PutBytes(dir + L"setup.exe", c.file));
    ZipWindow window = PayloadArchiveWindow(dir + L"setup.exe", kImage.size());
    EXPECT_EQ(window.length, c.length);
    if (c.length > 0) {
      EXPECT_EQ(window.start, c.start);
    }
  }
}

TEST(Payload, CabinetNamesThatLeaveTheFolderAreUnsafe) {
  const struct {
    const wchar_t* name;
    int safe;
  } cases[] = {
      {L"SC.dat", 1},
      {L"sub\\file.txt", 1},
      {L"a..b.txt", 1},
      {L"..name", 1},
      {L"", 0},
      {L"..", 0},
      {L"..\\evil.txt", 0},
      {L"../evil.txt", 0},
      {L"sub\\..\\..\\x", 0},
      {L"sub\\..", 0},
      {L"C:\\evil.txt", 0},
      {L"C:evil.txt", 0},
      {L"\\abs.txt", 0},
      {L"/abs.txt", 0},
      {L"\\\\server\\s\\x", 0},
      {L"file.txt:stream", 0},
      {L"...\\x", 0},
      {L".. \\x", 0},
      {L"sub\\...", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeCabinetName(c.name), c.safe) << WideToUtf8(c.name);
}

TEST(Payload, UnsafeEntriesAreSkippedAndGoodOnesExtracted) {
  std::wstring dir = TestFolder();
  std::string src = WideToAnsi(dir);
  PutBytes(dir + L"good.txt", "good");
  PutBytes(dir + L"inner.txt", "inner");
  PutBytes(dir + L"evil.txt", "evil");
  ASSERT_EQ(PackCabinet(dir + L"Setup.cab", dir + L"temp\\",
                        {{src + "good.txt", "good.txt"},
                         {src + "evil.txt", "..\\evil.txt"},
                         {src + "evil.txt", "C:\\zk_evil.txt"},
                         {src + "evil.txt", "\\zk_abs.txt"},
                         {src + "inner.txt", "sub\\inner.txt"},
                         {src + "evil.txt", "sub\\..\\..\\evil2.txt"}}),
            1);
  std::wstring out = dir + L"out\\";
  CreateFolderPath(out);
  std::vector<std::wstring> skipped;
  ASSERT_NE(ExtractCabinet(dir + L"Setup.cab", out, &skipped), 0);
  EXPECT_EQ(GetBytes(out + L"good.txt"), "good");
  EXPECT_EQ(GetBytes(out + L"sub\\inner.txt"), "inner");
  EXPECT_EQ(skipped, (std::vector<std::wstring>{L"..\\evil.txt", L"C:\\zk_evil.txt", L"\\zk_abs.txt",
                                                L"sub\\..\\..\\evil2.txt"}));
  EXPECT_FALSE(PathExists(dir + L"evil2.txt"));
  EXPECT_FALSE(PathExists(L"C:\\zk_evil.txt"));
  EXPECT_FALSE(PathExists(L"\\zk_abs.txt"));
  // "..\evil.txt" would have landed on the source file of the same name.
  EXPECT_EQ(GetBytes(dir + L"evil.txt"), "evil");
  EXPECT_FALSE(PathExists(out + L"evil.txt"));
}

TEST(Payload, EntryWhoseTargetWouldBeTooLongIsSkipped) {
  std::wstring dir = TestFolder();
  std::string src = WideToAnsi(dir);
  PutBytes(dir + L"data.txt", "data");
  std::string longName = std::string(200, 'n') + ".txt";
  ASSERT_EQ(
      PackCabinet(dir + L"Setup.cab", dir + L"temp\\", {{src + "data.txt", "short.txt"}, {src + "data.txt", longName}}),
      1);
  // A destination long enough that the second target passes MAX_PATH.
  std::wstring out = dir + std::wstring(std::max<int>(1, MAX_PATH - 200 - static_cast<int>(dir.size())), L'd') + L"\\";
  ASSERT_EQ(CreateFolderPath(out), 1);
  std::vector<std::wstring> skipped;
  ASSERT_NE(ExtractCabinet(dir + L"Setup.cab", out, &skipped), 0);
  EXPECT_EQ(GetBytes(out + L"short.txt"), "data");
  EXPECT_EQ(skipped, std::vector<std::wstring>{Utf8ToWide(longName)});
}

TEST(Payload, DamagedCabinetFailsToExtract) {
  std::wstring dir = TestFolder();
  PutBytes(dir + L"Setup.cab", "MSCF but nothing a cabinet reader can use");
  EXPECT_EQ(ExtractCabinet(dir + L"Setup.cab", dir), 0);
}

TEST(WorkFolder, IsANewGuidFolderInTempAndIsRemovedWhole) {
  wchar_t temp[MAX_PATH + 1];
  std::wstring tempPath(temp, GetTempPathW(MAX_PATH + 1, temp));
  std::wstring a, b;
  ASSERT_EQ(CreateWorkFolder(&a), 1);
  ASSERT_EQ(CreateWorkFolder(&b), 1);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.size(), tempPath.size() + 2 + 38 + 1);
  EXPECT_EQ(a.substr(0, tempPath.size() + 3), tempPath + L"ZK{");
  EXPECT_EQ(a.substr(a.size() - 2), L"}\\");

  CreateFolderPath(a + L"sub\\deeper\\");
  PutBytes(a + L"Setup.cab", "cab");
  PutBytes(a + L"sub\\deeper\\file.txt", "x");
  SetFileAttributesW((a + L"sub\\deeper\\file.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  RemoveWorkFolder(a);
  RemoveWorkFolder(b);
  EXPECT_FALSE(PathExists(a));
  EXPECT_FALSE(PathExists(b));
}

TEST(WorkFolder, RemovingLeavesTheNeighboursAlone) {
  std::wstring dir = TestFolder();
  CreateFolderPath(dir + L"work\\inner\\");
  PutBytes(dir + L"work\\inner\\a.txt", "a");
  PutBytes(dir + L"workmate.txt", "keep");
  RemoveWorkFolder(dir + L"work\\");
  EXPECT_FALSE(PathExists(dir + L"work"));
  EXPECT_EQ(GetBytes(dir + L"workmate.txt"), "keep");
  RemoveWorkFolder(dir + L"work\\");  // already gone: nothing happens
}

}  // namespace
