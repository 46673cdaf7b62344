#include "common/setup_environment.h"

#include <windows.h>

const wchar_t kEnvInstallPath[] = L"ZK_INSTALLPATH";
const wchar_t kEnvLanguage[] = L"ZK_LANGUAGE";
const wchar_t kEnvUserName[] = L"ZK_USERNAME";
const wchar_t kEnvOrganisation[] = L"ZK_ORGANISATION";

int SetSetupEnvironment(const std::wstring& installFolder, const std::wstring& language) {
  std::wstring path = installFolder;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  // An empty value still defines the variable, so a ZK_LANGUAGE inherited from whoever
  // started the setup does not leak into a single-language installation.
  bool ok = SetEnvironmentVariableW(kEnvInstallPath, path.c_str()) != 0;
  ok = SetEnvironmentVariableW(kEnvLanguage, language.c_str()) != 0 && ok;
  ok = SetEnvironmentVariableW(kEnvUserName, L"") != 0 && ok;
  ok = SetEnvironmentVariableW(kEnvOrganisation, L"") != 0 && ok;
  return ok ? 1 : 0;
}

std::wstring EnvironmentText(const std::wstring& name) {
  std::wstring value(256, L'\0');
  for (;;) {
    DWORD n = GetEnvironmentVariableW(name.c_str(), &value[0], static_cast<DWORD>(value.size()));
    if (n == 0) return L"";
    if (n < value.size()) {
      value.resize(n);
      return value;
    }
    value.resize(n);  // n counts the terminator when the buffer was too small
  }
}
