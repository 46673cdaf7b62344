#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/files.h"
#include "support/file_bytes.h"

namespace {

const std::string kDir = "zk_files_test";

std::string PathOf(const std::string& name) { return kDir + "\\" + name; }

std::vector<std::string> ReadAllLines(int number) {
  std::vector<std::string> lines;
  while (!FileEof(number)) lines.push_back(FileReadLine(number));
  return lines;
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateDirectoryA(kDir.c_str(), nullptr); }
  void TearDown() override {
    FileCloseAll();
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((kDir + "\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string p = PathOf(d.cFileName);
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (d.cFileName[0] != '.') RemoveDirectoryA(p.c_str());
        } else {
          DeleteFileA(p.c_str());
        }
      } while (FindNextFileA(h, &d));
      FindClose(h);
    }
    RemoveDirectoryA(kDir.c_str());
  }
};

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST_F(FilesTest, LineEndings) {
  const std::vector<LineCase> cases = {
      {"empty file", "", {}},
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"LF", "a\nb\n", {"a", "b"}},
      {"CR", "a\rb\r", {"a", "b"}},
      {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"last line without terminator", "one\r\ntwo", {"one", "two"}},
      {"empty lines", "\r\n\r\n\n\r", {"", "", "", ""}},
      {"CR CR is two line ends", "a\r\rb", {"a", "", "b"}},
      {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"bytes kept as they are", "\xC3\xBC\t x \x01", {"\xC3\xBC\t x \x01"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBytes(PathOf("lines.txt"), c.bytes);
    int f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("lines.txt")));
    ASSERT_NE(f, 0);
    EXPECT_EQ(ReadAllLines(f), c.lines);
    EXPECT_EQ(FileReadLine(f), "");  // past the end
    EXPECT_EQ(FileClose(f), 1);
  }
}

TEST_F(FilesTest, LinesAcrossTheReadBufferBoundary) {
  const std::string longLine(kFileReadBufferSize - 1, 'x');  // its CR ends the first fill
  const std::string huge(3 * kFileReadBufferSize + 5, 'y');
  const std::vector<LineCase> cases = {
      {"CR LF split by the boundary", longLine + "\r\nnext\r\n", {longLine, "next"}},
      {"CR alone at the boundary", longLine + "\rnext", {longLine, "next"}},
      {"CR as the very last byte", longLine + "\r", {longLine}},
      {"LF right after the boundary", longLine + "x\nnext", {longLine + "x", "next"}},
      {"line longer than several fills", "a\r\n" + huge + "\r\nb", {"a", huge, "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBytes(PathOf("long.txt"), c.bytes);
    int f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("long.txt")));
    ASSERT_NE(f, 0);
    EXPECT_EQ(ReadAllLines(f), c.lines);
    FileClose(f);
  }
}

TEST_F(FilesTest, ManyLinesOfASeveralMegabyteFile) {
  std::string bytes;
  const int kLines = 200000;
  for (int i = 0; i < kLines; ++i) bytes += "line number " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
  PutBytes(PathOf("big.txt"), bytes);
  int f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("big.txt")));
  ASSERT_NE(f, 0);
  int count = 0;
  bool allRight = true;
  while (!FileEof(f)) {
    std::string line = FileReadLine(f);
    if (line != "line number " + std::to_string(count)) allRight = false;
    ++count;
  }
  EXPECT_EQ(count, kLines);
  EXPECT_TRUE(allRight);
}

TEST_F(FilesTest, WriteLineEndsWithCrLfAndCreateEmpties) {
  PutBytes(PathOf("w.txt"), "old content that must go");
  int f = static_cast<int>(FileCreate(kAnyNumber, PathOf("w.txt")));
  ASSERT_NE(f, 0);
  EXPECT_EQ(FileWriteLine(f, "abc"), 1);
  EXPECT_EQ(FileWriteLine(f, ""), 1);
  EXPECT_EQ(FileWriteText(f, "tail"), 1);
  FileClose(f);
  EXPECT_EQ(GetBytes(PathOf("w.txt")), "abc\r\n\r\ntail");
}

TEST_F(FilesTest, WritesReachTheDiskBeforeClose) {
  int f = static_cast<int>(FileCreate(kAnyNumber, PathOf("now.txt")));
  ASSERT_NE(f, 0);
  FileWriteLine(f, "first");
  EXPECT_EQ(FileSize(PathOf("now.txt")), 7);
  FileClose(f);
}

TEST_F(FilesTest, RawIntegersAreLittleEndianOnDisk) {
  struct Case {
    int32_t value;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {0, std::string("\0\0\0\0", 4)},
      {1, std::string("\x01\0\0\0", 4)},
      {7, std::string("\x07\0\0\0", 4)},
      {-1, "\xFF\xFF\xFF\xFF"},
      {-2, "\xFE\xFF\xFF\xFF"},
      {0x12345678, "\x78\x56\x34\x12"},
      {INT32_MIN, std::string("\0\0\0\x80", 4)},
      {INT32_MAX, "\xFF\xFF\xFF\x7F"},
  };
  int f = static_cast<int>(FileCreate(kAnyNumber, PathOf("ints.dat")));
  ASSERT_NE(f, 0);
  std::string expected;
  for (const auto& c : cases) {
    EXPECT_EQ(FileWriteInt32(f, c.value), 1);
    expected += c.bytes;
  }
  EXPECT_EQ(FileWriteInt64(f, 0x0102030405060708LL), 1);
  EXPECT_EQ(FileWriteInt64(f, -3), 1);
  expected += "\x08\x07\x06\x05\x04\x03\x02\x01";
  expected += "\xFD\xFF\xFF\xFF\xFF\xFF\xFF\xFF";
  FileClose(f);
  EXPECT_EQ(GetBytes(PathOf("ints.dat")), expected);

  f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("ints.dat")));
  ASSERT_NE(f, 0);
  for (const auto& c : cases) {
    int32_t v = 12345;
    EXPECT_EQ(FileReadInt32(f, &v), 1);
    EXPECT_EQ(v, c.value);
  }
  int64_t big = 0;
  EXPECT_EQ(FileReadInt64(f, &big), 1);
  EXPECT_EQ(big, 0x0102030405060708LL);
  EXPECT_EQ(FileReadInt64(f, &big), 1);
  EXPECT_EQ(big, -3);
  EXPECT_EQ(FileEof(f), 1);
}

TEST_F(FilesTest, ShortIntegerIsAFailureAndLeavesTheValue) {
  PutBytes(PathOf("short.dat"), "\x01\x02\x03");
  int f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("short.dat")));
  int32_t v = 99;
  EXPECT_EQ(FileReadInt32(f, &v), 0);
  EXPECT_EQ(v, 99);
}

TEST_F(FilesTest, IntegersAndLinesMixed) {
  // The shape of a registry record: text lines, then a raw flag right after the CR LF.
  int f = static_cast<int>(FileCreate(kAnyNumber, PathOf("mixed.dat")));
  FileWriteLine(f, "HKEY_CURRENT_USER");
  FileWriteInt32(f, 1);
  FileWriteLine(f, "next");
  FileClose(f);
  EXPECT_EQ(GetBytes(PathOf("mixed.dat")), std::string("HKEY_CURRENT_USER\r\n\x01\0\0\0next\r\n", 29));
  f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("mixed.dat")));
  int32_t flag = 0;
  EXPECT_EQ(FileReadLine(f), "HKEY_CURRENT_USER");
  EXPECT_EQ(FileReadInt32(f, &flag), 1);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(FileReadLine(f), "next");
  EXPECT_EQ(FileEof(f), 1);
}

TEST_F(FilesTest, FileSizeTellsMissingFolderEmptyAndSize) {
  PutBytes(PathOf("empty.txt"), "");
  PutBytes(PathOf("five.txt"), "12345");
  CreateDirectoryA(PathOf("sub").c_str(), nullptr);
  struct Case {
    std::string path;
    int64_t size;
  };
  const std::vector<Case> cases = {
      {PathOf("missing.txt"), -1},
      {PathOf("no\\such\\folder.txt"), -1},
      {PathOf("*.txt"), -1},
      {PathOf("sub"), -2},
      {kDir, -2},
      {PathOf("empty.txt"), 0},
      {PathOf("five.txt"), 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileSize(c.path), c.size);
    EXPECT_EQ(FileSize(std::wstring(c.path.begin(), c.path.end())), c.size);
  }
}

TEST_F(FilesTest, WidePathsReachNamesOutsideTheAnsiCodePage) {
  const std::wstring path = std::wstring(kDir.begin(), kDir.end()) + L"\\\u4E2D\u6587 \u00E9.txt";
  int f = static_cast<int>(FileCreate(kAnyNumber, path));
  ASSERT_NE(f, 0);
  FileWriteLine(f, "x");
  FileClose(f);
  EXPECT_EQ(FileSize(path), 3);
  f = static_cast<int>(FileOpenAppend(kAnyNumber, path));
  FileWriteLine(f, "y");
  FileClose(f);
  f = static_cast<int>(FileOpenRead(kAnyNumber, path));
  EXPECT_EQ(ReadAllLines(f), (std::vector<std::string>{"x", "y"}));
  FileClose(f);
  EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST_F(FilesTest, AppendStartsAtTheEndAndCreatesMissingFiles) {
  PutBytes(PathOf("log.txt"), "one\r\n");
  int f = static_cast<int>(FileOpenAppend(kAnyNumber, PathOf("log.txt")));
  ASSERT_NE(f, 0);
  EXPECT_EQ(FilePosition(f), 5);
  FileWriteLine(f, "two");
  FileClose(f);
  EXPECT_EQ(GetBytes(PathOf("log.txt")), "one\r\ntwo\r\n");

  f = static_cast<int>(FileOpenAppend(kAnyNumber, PathOf("new.txt")));
  ASSERT_NE(f, 0);
  EXPECT_EQ(FileLength(f), 0);
  FileClose(f);
  EXPECT_EQ(FileSize(PathOf("new.txt")), 0);
}

TEST_F(FilesTest, WriteAfterBufferedReadLandsAtTheReadPosition) {
  PutBytes(PathOf("rw.txt"), "abc\r\ndef\r\n");
  int f = static_cast<int>(FileOpenAppend(kAnyNumber, PathOf("rw.txt")));
  ASSERT_EQ(FileSeek(f, 0), 1);
  EXPECT_EQ(FileReadLine(f), "abc");
  EXPECT_EQ(FilePosition(f), 5);
  EXPECT_EQ(FileWriteText(f, "XYZ"), 1);
  EXPECT_EQ(FilePosition(f), 8);
  EXPECT_EQ(FileReadLine(f), "");  // the rest of the overwritten line
  EXPECT_EQ(FileEof(f), 1);
  EXPECT_EQ(FileLength(f), 10);
  FileClose(f);
  EXPECT_EQ(GetBytes(PathOf("rw.txt")), "abc\r\nXYZ\r\n");
}

TEST_F(FilesTest, BytesInLargeAndSmallPiecesAndSeek) {
  std::string data(200000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 256);
  int f = static_cast<int>(FileCreate(kAnyNumber, PathOf("bytes.dat")));
  EXPECT_EQ(FileWriteBytes(f, data.data(), data.size()), 1);
  EXPECT_EQ(FileLength(f), 200000);
  FileClose(f);

  f = static_cast<int>(FileOpenRead(kAnyNumber, PathOf("bytes.dat")));
  std::string got(data.size(), '\0');
  EXPECT_EQ(FileReadBytes(f, &got[0], 10), 10u);
  EXPECT_EQ(FileReadBytes(f, &got[10], 150000), 150000u);
  EXPECT_EQ(FilePosition(f), 150010);
  EXPECT_EQ(FileReadBytes(f, &got[150010], 100000), 200000u - 150010u);  // short at the end
  EXPECT_EQ(got, data);
  EXPECT_EQ(FileEof(f), 1);

  ASSERT_EQ(FileSeek(f, 65535), 1);
  char two[2];
  EXPECT_EQ(FileReadBytes(f, two, 2), 2u);
  EXPECT_EQ(std::string(two, 2), data.substr(65535, 2));
  EXPECT_EQ(FileSeek(f, -1), 0);
}

TEST_F(FilesTest, NumbersFollowTheCreateRules) {
  PutBytes(PathOf("a.txt"), "A");
  PutBytes(PathOf("b.txt"), "B");
  intptr_t n = FileOpenRead(kAnyNumber, PathOf("a.txt"));
  EXPECT_GE(n, 1);
  EXPECT_LT(n, 0x10000);  // a small counter value, not an address
  EXPECT_EQ(FileClose(static_cast<int>(n)), 1);

  intptr_t handle = FileOpenRead(5, PathOf("a.txt"));
  EXPECT_NE(handle, 0);
  EXPECT_NE(handle, 5);
  // Reusing number 5 releases the file it held: a.txt can then be deleted.
  EXPECT_NE(FileOpenRead(5, PathOf("b.txt")), 0);
  EXPECT_TRUE(DeleteFileA(PathOf("a.txt").c_str()));
  EXPECT_EQ(FileReadLine(5), "B");

  // A failed open under an explicit number still releases the old holder.
  EXPECT_EQ(FileOpenRead(5, PathOf("missing.txt")), 0);
  EXPECT_EQ(FileClose(5), 0);
  EXPECT_TRUE(DeleteFileA(PathOf("b.txt").c_str()));

  EXPECT_EQ(FileOpenRead(-7, PathOf("b.txt")), 0);
}

TEST_F(FilesTest, UnknownNumbersDoNothing) {
  const int unknown = 4242;
  char buf[4];
  int32_t v = 0;
  EXPECT_EQ(FileReadLine(unknown), "");
  EXPECT_EQ(FileEof(unknown), 1);
  EXPECT_EQ(FileWriteLine(unknown, "x"), 0);
  EXPECT_EQ(FileWriteText(unknown, "x"), 0);
  EXPECT_EQ(FileWriteInt32(unknown, 1), 0);
  EXPECT_EQ(FileReadInt32(unknown, &v), 0);
  EXPECT_EQ(FileReadBytes(unknown, buf, 4), 0u);
  EXPECT_EQ(FileLength(unknown), 0);
  EXPECT_EQ(FilePosition(unknown), 0);
  EXPECT_EQ(FileSeek(unknown, 0), 0);
  EXPECT_EQ(FileClose(unknown), 0);
}

TEST_F(FilesTest, OpeningMissingOrFolderFails) {
  EXPECT_EQ(FileOpenRead(kAnyNumber, PathOf("missing.txt")), 0);
  EXPECT_EQ(FileOpenRead(kAnyNumber, kDir), 0);
  EXPECT_EQ(FileCreate(kAnyNumber, PathOf("no\\such\\folder.txt")), 0);
}

}  // namespace
