// pelbuild.dll as the tool uses it: loaded from the folder of the built programs, its
// export table read from the file, and the clients it writes checked byte for byte
// against the built UpdateClient.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <thread>
#include <vector>

#include "common/text.h"
#include "model/updater_block.h"
#include "model/updater_settings.h"
#include "support/file_bytes.h"
#include "support/folders.h"

namespace {

uint32_t Le(const std::string& b, size_t at, int bytes) {
  if (at + static_cast<size_t>(bytes) > b.size()) return 0;
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}

// The file offset of an RVA, through the section table; npos when no section holds it.
size_t FileOffset(const std::string& pe, uint32_t rva) {
  size_t header = Le(pe, 0x3c, 4);
  size_t sections = header + 24 + Le(pe, header + 20, 2);
  for (uint32_t i = 0; i < Le(pe, header + 6, 2); ++i) {
    size_t s = sections + 40 * i;
    uint32_t virtualAddress = Le(pe, s + 12, 4);
    uint32_t rawSize = Le(pe, s + 16, 4);
    if (rva >= virtualAddress && rva < virtualAddress + rawSize) return Le(pe, s + 20, 4) + (rva - virtualAddress);
  }
  return std::string::npos;
}

std::string CText(const std::string& pe, uint32_t rva) {
  size_t at = FileOffset(pe, rva);
  if (at == std::string::npos) return "<outside>";
  return std::string(pe.c_str() + at);
}

class Pelbuild : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    library_ = LoadLibraryExA((std::string(folder) + "\\" + kPelbuildFile).c_str(), nullptr, 0);
    ASSERT_NE(nullptr, library_);
    create_ =
        reinterpret_cast<PellucastCreateProc>(reinterpret_cast<void*>(GetProcAddress(library_, kPellucastCreateName)));
    ASSERT_NE(nullptr, create_);
    client_ = GetBytes("UpdateClient.exe");
    ASSERT_GT(client_.size(), 0x200u);
    dir_ = WideToAnsi(TestFolder(L"pelbuild"));
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }

  HMODULE library_ = nullptr;
  PellucastCreateProc create_ = nullptr;
  std::string client_;
  std::string dir_;
};

TEST(PelbuildFile, ExportsByNameAtOrdinalsOneAndTwoUnderItsModuleName) {
  std::string pe = GetBytes(kPelbuildFile);
  ASSERT_GT(pe.size(), 0x400u);
  size_t header = Le(pe, 0x3c, 4);
  ASSERT_EQ(std::string("PE\0\0", 4), pe.substr(header, 4));
  // The export directory is entry 0 of the PE32+ optional header's data directories.
  uint32_t exportRva = Le(pe, header + 24 + 112, 4);
  size_t dir = FileOffset(pe, exportRva);
  ASSERT_NE(std::string::npos, dir);
  EXPECT_EQ(kPelbuildModuleName, CText(pe, Le(pe, dir + 12, 4)));
  uint32_t base = Le(pe, dir + 16, 4);
  EXPECT_EQ(1u, base);
  EXPECT_EQ(2u, Le(pe, dir + 20, 4));  // functions
  ASSERT_EQ(2u, Le(pe, dir + 24, 4));  // names
  size_t names = FileOffset(pe, Le(pe, dir + 32, 4));
  size_t ordinals = FileOffset(pe, Le(pe, dir + 36, 4));
  ASSERT_NE(std::string::npos, names);
  ASSERT_NE(std::string::npos, ordinals);
  std::vector<std::pair<std::string, uint32_t>> found;
  for (size_t i = 0; i < 2; ++i)
    found.emplace_back(CText(pe, Le(pe, names + 4 * i, 4)), base + Le(pe, ordinals + 2 * i, 2));
  const std::vector<std::pair<std::string, uint32_t>> expected = {{kPellucastCreateName, 1},
                                                                  {kPellucastGetVersionName, 2}};
  EXPECT_EQ(expected, found);
}

TEST_F(Pelbuild, GetVersionGivesTheQuotedVersionInTheLibrarysBuffer) {
  auto version =
      reinterpret_cast<PellucastGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(library_, MAKEINTRESOURCEA(2))));
  ASSERT_NE(nullptr, version);
  const char* text = version();
  ASSERT_NE(nullptr, text);
  EXPECT_STREQ("\"1.0.1\"", text);
  EXPECT_EQ(text, version());
  MEMORY_BASIC_INFORMATION where;
  ASSERT_NE(0u, VirtualQuery(text, &where, sizeof where));
  EXPECT_EQ(library_, static_cast<HMODULE>(where.AllocationBase));
  EXPECT_EQ(reinterpret_cast<void*>(create_), reinterpret_cast<void*>(GetProcAddress(library_, MAKEINTRESOURCEA(1))));
}

TEST_F(Pelbuild, AnEmptyRecordGivesTheClientAndTwentyTwoBytes) {
  const std::string path = dir_ + "Update.exe";
  UpdaterSettings empty{};
  ASSERT_EQ(1, create_(path.c_str(), &empty));
  std::string bytes = GetBytes(path);
  ASSERT_EQ(client_.size() + 22, bytes.size());
  EXPECT_TRUE(bytes.compare(0, client_.size(), client_) == 0) << "the image differs from UpdateClient.exe";
  EXPECT_EQ(std::string("\r\n\r\n\r\n\r\n\0\0\0\0\r\n\r\n\r\n\0\0\r\n", 22), bytes.substr(client_.size()));
}

// Integers in pointer-sized slots: values in the upper halves of their words must not
// reach the block.
TEST_F(Pelbuild, RecordsAreWrittenAsTheirBlocks) {
  struct Case {
    const char* name;
    UpdaterSettings settings;
    UpdaterSettingsBlock expected;
  };
  UpdaterSettingsBlock runFlagOnly;
  runFlagOnly.runFlag = 1;
  UpdaterSettingsBlock full;
  full.version = "1.2";
  full.mainAddress = "127.0.0.1:8080/a";
  full.alternativeAddress1 = "http://mirror.example.test/";
  full.alternativeAddress2 = "";
  full.language = 1;
  full.productName = "Demo \xC4pp";
  full.programFile = "demo.exe";
  full.windowTitle = "Demo \xC4pp Update";
  full.terminateFlag = 1;
  full.runFlag = 0;
  full.runGuard = "guard";
  UpdaterSettingsBlock highBits;
  highBits.language = 2;
  highBits.terminateFlag = 0;
  highBits.runFlag = 1;
  const intptr_t high = static_cast<intptr_t>(0x12345600000000LL);
  const Case cases[] = {
      {"run flag 0x101",
       {nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, 0x101, nullptr},
       runFlagOnly},
      {"every slot",
       {"1.2", "127.0.0.1:8080/a", "http://mirror.example.test/", nullptr, 1, "Demo \xC4pp", "demo.exe",
        "Demo \xC4pp Update", 1, 0, "guard"},
       full},
      {"upper halves set", {"", "", "", "", high | 2, "", "", "", high, high | 0x201, ""}, highBits},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir_ + "Client.exe";
    ASSERT_EQ(1, create_(path.c_str(), &c.settings));
    std::string bytes = GetBytes(path);
    ASSERT_GT(bytes.size(), client_.size());
    EXPECT_TRUE(bytes.compare(0, client_.size(), client_) == 0);
    std::string block = bytes.substr(client_.size());
    UpdaterSettingsBlock read;
    ASSERT_TRUE(DecodeUpdaterSettingsBlock(block, &read));
    EXPECT_TRUE(c.expected == read) << read.version << "|" << read.productName << "|" << read.language;
    // Nothing follows the run guard's line.
    EXPECT_EQ(EncodeUpdaterSettingsBlock(c.expected), block);
  }
}

// Windows refuses to replace a hidden system file with a plain one, which the library
// then opens and empties instead (Wine replaces it either way).
TEST_F(Pelbuild, AnExistingFileIsEmptiedFirst) {
  UpdaterSettings empty{};
  for (DWORD attributes : {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}) {
    SCOPED_TRACE(attributes);
    const std::string path = dir_ + "Old.exe";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(PutBytes(path, std::string(client_.size() * 2, 'x')));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
    ASSERT_EQ(1, create_(path.c_str(), &empty));
    std::string bytes = GetBytes(path);
    ASSERT_EQ(client_.size() + 22, bytes.size());
    EXPECT_TRUE(bytes.compare(0, client_.size(), client_) == 0);
  }
}

TEST_F(Pelbuild, NothingIsWrittenWhenTheClientCannotBeMade) {
  UpdaterSettings empty{};
  EXPECT_EQ(0, create_((dir_ + "missing\\Update.exe").c_str(), &empty));
  EXPECT_FALSE(PathExists(dir_ + "missing"));
  EXPECT_EQ(0, create_(nullptr, &empty));
  EXPECT_EQ(0, create_((dir_ + "NoSettings.exe").c_str(), nullptr));
  EXPECT_FALSE(PathExists(dir_ + "NoSettings.exe"));
  EXPECT_EQ(0, create_(dir_.c_str(), &empty));  // a folder, not a file
  EXPECT_TRUE(FolderEntries(dir_).empty());
}

// A write that fails after the file was opened: the "file" is a pipe whose other end
// reads a little and then disconnects, so the rest of the client cannot be written.
TEST_F(Pelbuild, AFailedWriteReportsFailure) {
  const std::string pipe = "\\\\.\\pipe\\pelbuild_test_" + std::to_string(GetCurrentProcessId());
  HANDLE server =
      CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 512, 512, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, server);
  std::thread reader([server] {
    ConnectNamedPipe(server, nullptr);
    char buffer[512];
    DWORD read = 0;
    ReadFile(server, buffer, sizeof buffer, &read, nullptr);
    DisconnectNamedPipe(server);
  });
  UpdaterSettings empty{};
  EXPECT_EQ(0, create_(pipe.c_str(), &empty));
  reader.join();
  CloseHandle(server);
}

// A line break would move every later item of the block, so the client would read
// wrong settings: such a record writes nothing, and an existing file stays as it was.
TEST_F(Pelbuild, ALineBreakInAnyTextWritesNothing) {
  const char* UpdaterSettings::*texts[] = {
      &UpdaterSettings::version,
      &UpdaterSettings::mainAddress,
      &UpdaterSettings::alternativeAddress1,
      &UpdaterSettings::alternativeAddress2,
      &UpdaterSettings::productName,
      &UpdaterSettings::programFile,
      &UpdaterSettings::windowTitle,
      &UpdaterSettings::runGuard,
  };
  const std::string fresh = dir_ + "Fresh.exe";
  const std::string kept = dir_ + "Kept.exe";
  ASSERT_TRUE(PutBytes(kept, "old client"));
  for (auto text : texts) {
    for (const char* bad : {"a\rb", "a\nb", "x\r\n"}) {
      UpdaterSettings s{};
      s.*text = bad;
      EXPECT_EQ(0, create_(fresh.c_str(), &s)) << bad;
      EXPECT_EQ(0, create_(kept.c_str(), &s)) << bad;
    }
  }
  EXPECT_FALSE(PathExists(fresh));
  EXPECT_EQ("old client", GetBytes(kept));
}

}  // namespace
