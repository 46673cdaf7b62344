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

TEST(DeleteSelf, GuidNamesAreBracedAndNew) {
  std::wstring a = NewGuidText(), b = NewGuidText();
  ASSERT_EQ(a.size(), 38u);
  EXPECT_EQ(a.front(), L'{');
  EXPECT_EQ(a.back(), L'}');
  EXPECT_NE(a, b);
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
      {L"calc.exe", L""},
      {L"\\\\server\\share\\run.bat", L""},
      {L"file:///C:/Windows/System32/calc.exe", L""},
      {L"mailto:someone@trip.example", L""},
      {L"http://trip.example\" -evil", L""},
      {L"http://trip.example other", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(WebsiteAddress(c.line), c.address) << WideToUtf8(c.line);
}

}  // namespace
