// Why a program failed, beyond the message its user sees. The message boxes keep their
// short texts ("Setup Error!"); the cause behind one is written, one line per failure, to
// the file that the environment variable ZK_DEBUG_LOG names. Without the variable nothing
// is written, so end users' machines are not touched.
#ifndef ZK_COMMON_FAILURE_LOG_H
#define ZK_COMMON_FAILURE_LOG_H

#include <windows.h>

#include <string>

// The texts are borrowed: a cause is reported where the failure happens, while the strings
// it points to live. The program's own words (step, detail) are narrow UTF-8, mostly ASCII
// literals, as the programs that end users download must stay small; names from the
// system are wide. Null reads as empty.
struct FailureCause {
  const char* step = "";      // what the program was doing, e.g. "copy the payload cabinet"
  const wchar_t* file = L"";  // the file, folder or key it worked on; may be empty
  unsigned long error = 0;    // the Win32 error, or 0 when the step failed without one
  const char* detail = "";    // what else tells this failure apart; may be empty
};

// Who reports, and when.
struct FailureStamp {
  const wchar_t* program = L"";  // the program file's name
  unsigned long processId = 0;
  SYSTEMTIME time = {};  // local time
};

// The line for cause, UTF-8 and ended by CR LF:
//   2026-12-11 03:05:01.042 SetupRuntime.exe[1234] step: file "...": error 2 (text): detail
// Parts that are empty are left out; errorText is the system's text for the error (may be
// null). Line breaks and other control characters inside the parts become blanks, so a
// cause is always one line of the file; a line longer than 4 KB is cut.
std::string FailureLine(const FailureStamp& stamp, const FailureCause& cause, const wchar_t* errorText);

// Appends the line for cause to the ZK_DEBUG_LOG file when the variable is set; does
// nothing when it is not or the file cannot be opened. The line is written with one
// append, so several programs may share the file. The thread's last error is kept.
void ReportFailure(const FailureCause& cause);

// The same for the programs that work in the ANSI code page: file and detail are ANSI.
void ReportFailureAnsi(const char* step, const std::string& file, unsigned long error, const std::string& detail = "");

#endif
