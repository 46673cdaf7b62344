#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/linefile.h"
#include "support/file_bytes.h"

namespace {

const std::string kDir = "zk_linefile_test";

std::string PathOf(const std::string& name) { return kDir + "\\" + name; }
std::wstring WidePathOf(const std::string& name) {
  std::string p = PathOf(name);
  return std::wstring(p.begin(), p.end());
}

class LineFileTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateDirectoryA(kDir.c_str(), nullptr); }
  void TearDown() override {
    FileCloseAll();
    for (const char* name : {"out.dat", "Registry.dat", "bad.dat", "in.dat"}) DeleteFileA(PathOf(name).c_str());
    RemoveDirectoryA(kDir.c_str());
  }
};

TEST_F(LineFileTest, WriterBytesAreUtf8LinesWithCrLfAndRawFieldsWithoutBom) {
  int f = static_cast<int>(LineFileCreate(kAnyNumber, WidePathOf("out.dat")));
  ASSERT_NE(f, 0);
  EXPECT_EQ(LineFileWriteLine(f, std::wstring(L"Gr\u00FC\u00DFe \u20AC")), 1);
  EXPECT_EQ(LineFileWriteLine(f, std::string("\xFC")), 1);  // ANSI u-umlaut
  EXPECT_EQ(LineFileWriteLine(f, std::wstring()), 1);
  EXPECT_EQ(LineFileWriteLine(f, std::string("HKEY_CURRENT_USER")), 1);
  EXPECT_EQ(LineFileWriteInt32(f, 1), 1);
  EXPECT_EQ(LineFileWriteInt32(f, -2), 1);
  EXPECT_EQ(LineFileClose(f), 1);
  const std::string expected = std::string(
                                   "Gr\xC3\xBC\xC3\x9F"
                                   "e \xE2\x82\xAC\r\n") +
                               "\xC3\xBC\r\n" + "\r\n" + "HKEY_CURRENT_USER\r\n" + std::string("\x01\0\0\0", 4) +
                               "\xFE\xFF\xFF\xFF";
  EXPECT_EQ(GetBytes(PathOf("out.dat")), expected);
}

TEST_F(LineFileTest, TextsHoldingLineBreaksAreRefusedAndNothingIsWritten) {
  int f = static_cast<int>(LineFileCreate(kAnyNumber, PathOf("bad.dat")));
  ASSERT_NE(f, 0);
  for (const std::wstring& text :
       {std::wstring(L"a\rb"), std::wstring(L"a\nb"), std::wstring(L"\r\n"), std::wstring(L"end\n")}) {
    EXPECT_EQ(LineFileWriteLine(f, text), 0);
  }
  for (const std::string& text : {std::string("a\rb"), std::string("x\n"), std::string("\n")}) {
    EXPECT_EQ(LineFileWriteLine(f, text), 0);
  }
  EXPECT_EQ(FileLength(f), 0);
  EXPECT_EQ(LineFileWriteLine(f, std::wstring(L"ok")), 1);
  LineFileClose(f);
  EXPECT_EQ(GetBytes(PathOf("bad.dat")), "ok\r\n");
}

TEST_F(LineFileTest, RecordsWithRawFieldsReadBack) {
  struct Row {
    std::wstring root, key, name, data;
    int32_t remove;
  };
  const std::vector<Row> rows = {
      {L"HKEY_CURRENT_USER", L"Software\\Zk", L"Path", L"<installpath>\\\u00E9", 1},
      {L"HKEY_LOCAL_MACHINE", L"Software\\\u4E2D", L"", L"", 0},
  };
  int f = static_cast<int>(LineFileCreate(kAnyNumber, WidePathOf("Registry.dat")));
  for (const auto& r : rows) {
    LineFileWriteLine(f, r.root);
    LineFileWriteLine(f, r.key);
    LineFileWriteLine(f, r.name);
    LineFileWriteLine(f, r.data);
    LineFileWriteInt32(f, r.remove);
  }
  LineFileClose(f);

  f = static_cast<int>(LineFileOpen(kAnyNumber, WidePathOf("Registry.dat")));
  ASSERT_NE(f, 0);
  size_t i = 0;
  while (!LineFileEof(f)) {
    ASSERT_LT(i, rows.size());
    EXPECT_EQ(LineFileReadLine(f), rows[i].root);
    EXPECT_EQ(LineFileReadLine(f), rows[i].key);
    EXPECT_EQ(LineFileReadLine(f), rows[i].name);
    EXPECT_EQ(LineFileReadLine(f), rows[i].data);
    int32_t flag = -1;
    EXPECT_EQ(LineFileReadInt32(f, &flag), 1);
    EXPECT_EQ(flag, rows[i].remove);
    ++i;
  }
  EXPECT_EQ(i, rows.size());
}

TEST_F(LineFileTest, MissingFileReadsAsAFileWithoutRecords) {
  for (int number : {kAnyNumber, 3}) {
    SCOPED_TRACE(number);
    intptr_t answer = LineFileOpen(number, PathOf("Desktop.dat"));
    ASSERT_NE(answer, 0);
    int f = number == kAnyNumber ? static_cast<int>(answer) : number;
    EXPECT_EQ(LineFileEof(f), 1);
    EXPECT_EQ(LineFileReadLine(f), L"");
    int32_t v = 5;
    EXPECT_EQ(LineFileReadInt32(f, &v), 0);
    EXPECT_EQ(LineFileClose(f), 1);
  }
  EXPECT_EQ(FileSize(PathOf("Desktop.dat")), -1);  // reading created nothing
  EXPECT_NE(LineFileOpen(kAnyNumber, WidePathOf("Startmenu.dat")), 0);
}

TEST_F(LineFileTest, FolderCannotBeOpened) { EXPECT_EQ(LineFileOpen(kAnyNumber, kDir), 0); }

TEST_F(LineFileTest, ReaderAcceptsEveryLineEndAndReplacesInvalidUtf8) {
  PutBytes(PathOf("in.dat"), "a\rb\nc\r\n\xC3\xBC\xFFz");
  int f = static_cast<int>(LineFileOpen(kAnyNumber, PathOf("in.dat")));
  std::vector<std::wstring> lines;
  while (!LineFileEof(f)) lines.push_back(LineFileReadLine(f));
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"a", L"b", L"c", L"\u00FC\uFFFDz"}));
  LineFileClose(f);
  f = static_cast<int>(LineFileOpen(kAnyNumber, PathOf("in.dat")));
  for (int i = 0; i < 3; ++i) LineFileReadLineUtf8(f);
  EXPECT_EQ(LineFileReadLineUtf8(f), "\xC3\xBC\xFFz");
}

}  // namespace
