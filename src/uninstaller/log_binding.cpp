#include "uninstaller/log_binding.h"

#include <windows.h>

#include "common/registry_helper.h"
#include "common/scoped.h"
#include "common/text.h"
#include "uninstaller/record_guard.h"

const wchar_t kAddRemoveKeys[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

namespace {

// A REG_SZ value of the key at root\path; false when the key or the value is missing.
bool ReadText(HKEY root, const std::wstring& path, const wchar_t* name, std::wstring* text) {
  DWORD size = 0;
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, &buffer[0], &size) != ERROR_SUCCESS) return false;
  buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
  *text = buffer;
  return true;
}

// Whether the key's UninstallString starts this uninstaller. Both sides are normalised,
// so a short name or another case of the same path still matches.
bool NamesProgram(const std::wstring& key, const std::wstring& program) {
  std::wstring command, path;
  if (!ReadText(HKEY_LOCAL_MACHINE, key, L"UninstallString", &command)) return false;
  return NormalisePath(UninstallCommandPath(command), &path) && SamePath(path, program);
}

}  // namespace

LogBinding JudgeLogBinding(bool keyFound, bool hasDigest, const std::wstring& keptDigest,
                           const std::string& logDigest) {
  if (!keyFound || !hasDigest) return LogBinding::Unbound;
  return WideToUtf8(keptDigest) == logDigest ? LogBinding::Matches : LogBinding::Differs;
}

std::wstring UninstallCommandPath(const std::wstring& uninstallString) {
  size_t first = uninstallString.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::wstring();
  std::wstring text = uninstallString.substr(first, uninstallString.find_last_not_of(L" \t") - first + 1);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
  return text;
}

bool FindAddRemoveKey(const std::wstring& productName, const std::wstring& programPath, std::wstring* key) {
  std::wstring program;
  if (!NormalisePath(programPath, &program)) return false;
  const std::wstring base = std::wstring(kAddRemoveKeys) + L"\\";
  // A product name holding a backslash would name some other key; the walk below still
  // finds the right one.
  if (!productName.empty() && productName.find(L'\\') == std::wstring::npos &&
      NamesProgram(base + productName, program)) {
    *key = base + productName;
    return true;
  }
  ScopedKey keys;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAddRemoveKeys, 0, KEY_READ, keys.put()) != ERROR_SUCCESS) return false;
  bool found = false;
  wchar_t name[256];
  for (DWORD i = 0; !found; ++i) {
    DWORD length = 256;
    LONG r = RegEnumKeyExW(keys.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_MORE_DATA) continue;  // longer than any key name may be
    if (r != ERROR_SUCCESS) break;
    if (NamesProgram(base + name, program)) {
      *key = base + name;
      found = true;
    }
  }
  return found;
}

LogBinding CheckLogBinding(const UninstallLog& log, const std::wstring& programPath) {
  std::wstring key, kept;
  bool found = FindAddRemoveKey(log.productName, programPath, &key);
  bool hasDigest = found && ReadText(HKEY_LOCAL_MACHINE, key, kUninstallLogDigestValue, &kept);
  return JudgeLogBinding(found, hasDigest, kept, log.sha256);
}
