#include "support/environment.h"

#include <windows.h>

#include "support/file_bytes.h"

namespace {

// The value and whether the variable is set at all (an empty value is set).
bool Read(const wchar_t* name, std::wstring* value) {
  value->clear();
  SetLastError(ERROR_SUCCESS);
  DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  std::wstring buffer(n, L'\0');
  DWORD got = GetEnvironmentVariableW(name, &buffer[0], n);
  if (got >= n) return true;
  value->assign(buffer, 0, got);
  return true;
}

}  // namespace

std::wstring Env(const wchar_t* name) {
  std::wstring value;
  Read(name, &value);
  return value;
}

std::string Env(const char* name) {
  std::wstring value = Env(AnsiPathToWide(name).c_str());
  if (value.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(value.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(value.size()), &narrow[0], n, nullptr, nullptr);
  return narrow;
}

ScopedEnv::ScopedEnv(const wchar_t* name, const wchar_t* value) : name_(name) {
  had_ = Read(name, &old_);
  SetEnvironmentVariableW(name, value);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value)
    : ScopedEnv(AnsiPathToWide(name).c_str(), AnsiPathToWide(value).c_str()) {}

ScopedEnv::~ScopedEnv() { SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr); }
