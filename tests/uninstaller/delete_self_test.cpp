// The self-deleting batch and the web-site line: what the last steps hand to the system.
#include <gtest/gtest.h>

#include "common/text.h"
#include "uninstaller/delete_self.h"
#include "uninstaller/website.h"

namespace {

TEST(DeleteSelf, BatchWaitsForTheProgramThenRemovesTheFolderAndItself) {
  std::vector<std::wstring> lines =
      DeleteSelfBatchLines(L"C:\\Apps\\Trip\\Uninstall.exe", L"C:\\Temp\\{G}.bat", L"C:\\Apps\\Trip\\");
  std::vector<std::wstring> expected = {
      L"cd \\",
      L":DeleteFile",
      L"del \"C:\\Apps\\Trip\\Uninstall.exe\"",
      L"if exist \"C:\\Apps\\Trip\\Uninstall.exe\" goto DeleteFile",
      L"rd \"C:\\Apps\\Trip\\\"",
      L"del \"C:\\Temp\\{G}.bat\"",
      L"exit",
  };
  EXPECT_EQ(lines, expected);
}

TEST(DeleteSelf, NoFolderLineForAnEmptyFolder) {
  std::vector<std::wstring> lines = DeleteSelfBatchLines(L"C:\\A\\u.exe", L"C:\\T\\b.bat", L"");
  ASSERT_EQ(lines.size(), 6u);
  for (const std::wstring& l : lines) EXPECT_NE(l.compare(0, 3, L"rd "), 0) << WideToUtf8(l);
}

TEST(DeleteSelf, PercentSignsAreDoubledForCmd) {
  std::vector<std::wstring> lines = DeleteSelfBatchLines(L"C:\\A 100%\\u.exe", L"C:\\T\\%TEMP%.bat", L"C:\\A 100%\\");
  EXPECT_EQ(lines[2], L"del \"C:\\A 100%%\\u.exe\"");
  EXPECT_EQ(lines[3], L"if exist \"C:\\A 100%%\\u.exe\" goto DeleteFile");
  EXPECT_EQ(lines[4], L"rd \"C:\\A 100%%\\\"");
  EXPECT_EQ(lines[5], L"del \"C:\\T\\%%TEMP%%.bat\"");
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
