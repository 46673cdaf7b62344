// The failure log for tests: ZK_DEBUG_LOG set in the test's own process for as long as an
// object of this kind lives. Programs the test starts meanwhile inherit it.
#ifndef ZK_TESTS_SUPPORT_DEBUG_LOG_H
#define ZK_TESTS_SUPPORT_DEBUG_LOG_H

#include <windows.h>

#include <string>

struct DebugLogVariable {
  explicit DebugLogVariable(const std::wstring& path) { SetEnvironmentVariableW(L"ZK_DEBUG_LOG", path.c_str()); }
  ~DebugLogVariable() { SetEnvironmentVariableW(L"ZK_DEBUG_LOG", nullptr); }
  DebugLogVariable(const DebugLogVariable&) = delete;
  DebugLogVariable& operator=(const DebugLogVariable&) = delete;
};

#endif
