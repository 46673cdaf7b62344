// The failure log: the line a cause makes, and that the file is written only when
// ZK_DEBUG_LOG names it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/failure_log.h"
#include "support/debug_log.h"
#include "support/file_bytes.h"

namespace {

FailureStamp Stamp() {
  FailureStamp s;
  s.program = L"SetupRuntime.exe";
  s.processId = 1234;
  s.time.wYear = 2026;
  s.time.wMonth = 3;
  s.time.wDay = 7;
  s.time.wHour = 4;
  s.time.wMinute = 5;
  s.time.wSecond = 9;
  s.time.wMilliseconds = 42;
  return s;
}

TEST(FailureLine, NamesStepFileErrorAndDetailOnOneLine) {
  const struct {
    const char* what;
    FailureCause cause;
    const wchar_t* errorText;
    std::string line;
  } cases[] = {
      {"step only", {"check the system"}, L"", "check the system"},
      {"file and error with the system's text",
       {"copy the payload cabinet", L"C:\\t\\Setup.cab", 5},
       L"Access is denied.\r\n",
       "copy the payload cabinet: file \"C:\\t\\Setup.cab\": error 5 (Access is denied.)"},
      {"error without a text", {"open", L"", 1234567}, L"", "open: error 1234567"},
      {"an error text is left out without an error", {"read"}, L"Stray text", "read"},
      {"detail last", {"extract", L"a.cab", 0, "unsafe name"}, L"", "extract: file \"a.cab\": unsafe name"},
      {"null parts read as empty", {nullptr, nullptr, 0, nullptr}, L"", ""},
      {"line breaks inside parts become blanks",
       {"two\r\nlines", L"a\nb", 2, "tab\there"},
       L"Not\r\nfound.\r\n",
       "two  lines: file \"a b\": error 2 (Not  found.): tab here"},
      {"UTF-8",
       {"read", L"C:\\\x00c4rger\\\x6587.txt", 0, "\xc3\xa9t\xc3\xa9"},
       L"",
       "read: file \"C:\\\xc3\x84rger\\\xe6\x96\x87.txt\": \xc3\xa9t\xc3\xa9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FailureLine(Stamp(), c.cause, c.errorText),
              "2026-03-07 04:05:09.042 SetupRuntime.exe[1234] " + c.line + "\r\n");
  }
}

std::wstring Folder() {
  std::wstring folder = FullFolder(L"failure_log_test\\");
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TEST(ReportFailure, AppendsWholeLinesToTheNamedFileAndKeepsTheLastError) {
  std::wstring log = Folder() + L"appends.log";
  ASSERT_TRUE(PutBytes(log, "earlier line\r\n"));
  DebugLogVariable set(log);
  SetLastError(ERROR_ACCESS_DENIED);
  ReportFailure({"first step", L"C:\\a.txt", ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ReportFailure({"second step", L"", 0, "more"});
  std::string text = GetBytes(log);
  ASSERT_EQ(text.compare(0, 14, "earlier line\r\n"), 0) << text;
  size_t first = text.find(" first step: file \"C:\\a.txt\": error 2 (");
  size_t second = text.find(" second step: more\r\n");
  ASSERT_NE(first, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_LT(first, second);
  // Each line names the program and the process.
  std::string who = "[" + std::to_string(GetCurrentProcessId()) + "] ";
  EXPECT_NE(text.find(who + "first step"), std::string::npos) << text;
  EXPECT_NE(text.find(who + "second step"), std::string::npos) << text;
  EXPECT_EQ(text.back(), '\n');
}

TEST(ReportFailure, WritesNothingWithoutTheVariableOrAFileToOpen) {
  std::wstring folder = Folder();
  std::wstring log = folder + L"unset.log";
  DeleteFileW(log.c_str());
  SetEnvironmentVariableW(L"ZK_DEBUG_LOG", nullptr);
  ReportFailure({"step", log.c_str(), 2});
  EXPECT_FALSE(PathExists(log));
  {
    // A folder, and a file in a folder that is not there: nothing to open, nothing made.
    DebugLogVariable set(folder);
    ReportFailure({"step"});
  }
  DebugLogVariable set(folder + L"missing\\x.log");
  ReportFailure({"step"});
  EXPECT_FALSE(PathExists(folder + L"missing"));
}

}  // namespace
