// The self-deleting batch and the web-site line: what the last steps hand to the system.
// The batch is proven by running it with cmd against real folders.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "support/waits.h"
#include "uninstaller/delete_self.h"
#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/website.h"

namespace {

// The batch is run as the uninstaller leaves it: written with DeleteSelfBatchLines and
// BatchFileBytes in this machine's OEM code page into a temporary folder, and started there
// by the shell with no window.
class DeleteSelfBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = TestFolder();
    batches_ = base_ + L"temp folder\\";
    ASSERT_TRUE(CreateDirectoryW(batches_.c_str(), nullptr));
  }
  void TearDown() override {
    if (process_) {
      if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
  }

  // An installation folder holding the program (and the named other files).
  std::wstring MakeInstallation(const std::wstring& folderName, const std::wstring& program,
                                const std::vector<std::wstring>& others = {}) {
    std::wstring folder = base_ + folderName + L"\\";
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << WideToUtf8(folder);
    EXPECT_TRUE(PutBytes(folder + program, "MZ the uninstaller"));
    for (const std::wstring& o : others) EXPECT_TRUE(PutBytes(folder + o, "the user's own"));
    return folder;
  }

  // Writes the batch for programPath and installFolder and starts it.
  bool Start(const std::wstring& programPath, const std::wstring& installFolder) {
    batch_ = batches_ + NewGuidText() + L".bat";
    if (!PutBytes(batch_, BatchFileBytes(DeleteSelfBatchLines(programPath, batch_, installFolder), GetOEMCP())))
      return false;
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = L"open";
    run.lpFile = batch_.c_str();
    run.lpDirectory = batches_.c_str();
    run.nShow = SW_HIDE;
    if (!ShellExecuteExW(&run)) return false;
    process_ = run.hProcess;
    return true;
  }

  // The batch's last act is deleting itself; then its interpreter ends.
  bool WaitEnd() {
    return WaitFor(
        [&] { return !PathExists(batch_) && (!process_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0); },
        kBatchMs);
  }

  static constexpr DWORD kBatchMs = 20000;
  std::wstring base_, batches_, batch_;
  HANDLE process_ = nullptr;
};

TEST_F(DeleteSelfBatch, RemovesTheProgramItsFolderAndItselfWhateverTheNames) {
  const struct {
    const char* name;
    const wchar_t* folder;
    const wchar_t* program;
  } cases[] = {
      {"plain", L"Trip", L"Uninstall.exe"},
      // cmd expands "%...%" in a batch line, even between quotes.
      {"percent signs", L"Trip 100% %TEMP% %1", L"Un%PATH%install.exe"},
      // Between quotes these are plain characters to cmd.
      {"ampersand, caret, brackets and spaces", L"Trip & Co ^ (x) [y]", L"Un & install ^^.exe"},
      {"semicolon, comma, equals and exclamation", L"Trip;a,b=c !d!", L"Uninstall!.exe"},
      {"in the OEM code page", L"Prod\u00FCct \u03A9", L"Uninst\u00E4ll.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::wstring folder = MakeInstallation(c.folder, c.program);
    ASSERT_TRUE(Start(folder + c.program, folder));
    ASSERT_TRUE(WaitEnd()) << "the batch never deleted itself";
    EXPECT_FALSE(PathExists(folder + c.program));
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(PathExists(base_)) << "a folder above the installation went too";
    CloseHandle(process_);
    process_ = nullptr;
  }
}

TEST_F(DeleteSelfBatch, KeepsAFolderThatStillHoldsFilesAndAFolderItWasNotGiven) {
  std::wstring kept = MakeInstallation(L"Trip", L"Uninstall.exe", {L"notes.txt"});
  ASSERT_TRUE(Start(kept + L"Uninstall.exe", kept));
  ASSERT_TRUE(WaitEnd());
  EXPECT_FALSE(PathExists(kept + L"Uninstall.exe"));
  EXPECT_TRUE(PathExists(kept + L"notes.txt"));
  CloseHandle(process_);
  process_ = nullptr;

  // No folder text: the emptied folder stays.
  std::wstring untouched = MakeInstallation(L"Planner", L"Uninstall.exe");
  ASSERT_TRUE(Start(untouched + L"Uninstall.exe", L""));
  ASSERT_TRUE(WaitEnd());
  EXPECT_FALSE(PathExists(untouched + L"Uninstall.exe"));
  EXPECT_TRUE(PathExists(untouched));
}

TEST_F(DeleteSelfBatch, WaitsUntilTheProgramCanBeDeleted) {
  std::wstring folder = MakeInstallation(L"Trip", L"Uninstall.exe");
  // Open without sharing deletion, as a running program's file is.
  HANDLE running = CreateFileW((folder + L"Uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(running, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(Start(folder + L"Uninstall.exe", folder));
  Sleep(1500);
  EXPECT_TRUE(PathExists(batch_)) << "the batch ended while the program still ran";
  EXPECT_TRUE(PathExists(folder + L"Uninstall.exe"));
  CloseHandle(running);
  ASSERT_TRUE(WaitEnd());
  EXPECT_FALSE(PathExists(folder));
}

// cmd.exe reads a batch file in the OEM code page (437 here): a path it can hold is
// written in it, byte for byte; anything else goes as UTF-8 after a switch to it.
TEST(DeleteSelf, BatchIsWrittenInTheCodePageCmdReadsItIn) {
  const struct {
    const char* name;
    std::wstring line;
    bool utf8;
    std::string bytes;
  } cases[] = {
      {"plain", L"rd \"C:\\Trip\\\"", false, "rd \"C:\\Trip\\\"\r\n"},
      {"umlaut, percent and omega", L"rd \"C:\\Prod\u00FCct 100%% \u03A9\\\"", false,
       "rd \"C:\\Prod\x81"
       "ct 100%% \xEA\\\"\r\n"},
      {"Japanese", L"rd \"C:\\\u65C5\u884C\\\"", true, "rd \"C:\\\xE6\x97\x85\xE8\xA1\x8C\\\"\r\n"},
      // 437 has no a with macron, at best a look-alike "a", which would name another folder.
      {"look-alike only", L"rd \"C:\\\u0101\\\"", true, "rd \"C:\\\xC4\x81\\\"\r\n"},
  };
  for (const auto& c : cases) {
    std::string expected = std::string(c.utf8 ? "chcp 65001 >nul\r\n" : "") + "cd \\\r\n" + c.bytes;
    EXPECT_EQ(BatchFileBytes({L"cd \\", c.line}, 437), expected) << c.name;
  }
}

TEST(Website, OnlyWebAddressesAreOpened) {
  const struct {
    const wchar_t* line;
    const wchar_t* address;
  } cases[] = {
      {L"", L""},
      {L"   ", L""},
      {L"http://trip.example", L"http://trip.example"},
      {L"HTTPS://trip.example/a?b=c", L"HTTPS://trip.example/a?b=c"},
      {L"  https://trip.example  ", L"https://trip.example"},
      {L"www.trip.example", L"http://www.trip.example"},
      {L"http://", L""},
      {L"C:\\Windows\\System32\\calc.exe", L""},
      // Behind "http://" a plain name is a host, never a program on this machine.
      {L"calc.exe", L"http://calc.exe"},
      {L"example.com/thanks", L"http://example.com/thanks"},
      {L"trip.example:8080/thanks?a=b", L"http://trip.example:8080/thanks?a=b"},
      {L"trip.example/a:b", L"http://trip.example/a:b"},
      {L"trip.example/a b", L""},
      {L"trip.example/'a'\"b\"", L""},
      {L"trip\\thanks", L""},
      {L"C:/Windows/System32/calc.exe", L""},
      {L"javascript:alert(1)", L""},
      {L"shell:startup", L""},
      {L"https:trip.example", L""},
      {L"\\\\server\\share\\run.bat", L""},
      {L"file:///C:/Windows/System32/calc.exe", L""},
      {L"mailto:someone@trip.example", L""},
      {L"http://trip.example\" -evil", L""},
      {L"http://trip.example other", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(WebsiteAddress(c.line), c.address) << WideToUtf8(c.line);
}

}  // namespace
