// The registry work of the installation: the Add/Remove Programs entry and the author's
// values.
#include <windows.h>
#include <wchar.h>

#include "common/registry_helper.h"
#include "setupruntime/install_steps.h"
#include "setupruntime/resources.h"

const wchar_t kUninstallKeyBase[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

namespace {

std::wstring UninstallCommand(const std::wstring& uninstallerPath) { return L"\"" + uninstallerPath + L"\""; }

}  // namespace

bool UninstallKeyNames(const SetupConfig& config, const std::wstring& uninstallerPath) {
  if (config.appName.empty()) return false;
  std::wstring command = ReadRegistryValue(HKEY_LOCAL_MACHINE, kUninstallKeyBase + config.appName, L"UninstallString");
  TakeRegistryError();
  return _wcsicmp(command.c_str(), UninstallCommand(uninstallerPath).c_str()) == 0;
}

void WriteUninstallKey(const SetupConfig& config, const std::wstring& uninstallerPath) {
  std::wstring key = kUninstallKeyBase + config.appName;
  CreateRegistryKey(HKEY_LOCAL_MACHINE, key);
  WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"DisplayName", config.appName);
  WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"DisplayVersion", config.version);
  WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"HelpLink", config.website1);
  WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"Publisher", config.company);
  // Add/Remove Programs runs UninstallString as a command line: unquoted, a path with
  // blanks ("C:\Program Files\...") would first be tried as "C:\Program.exe".
  WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"UninstallString", UninstallCommand(uninstallerPath));
  WriteRegistryString(HKEY_LOCAL_MACHINE, key, L"DisplayIcon", uninstallerPath);
}

namespace {

// Any root name but the four others, HKEY_CURRENT_USER's own included, means the user's
// key.
HKEY RootForValue(const std::wstring& name) {
  HKEY root = RootKeyFromName(name);
  return root != nullptr ? root : HKEY_CURRENT_USER;
}

void WriteValue(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& data) {
  std::wstring type = ReadRegistryValueType(root, subKey, name);
  if (type == L"REG_BINARY") {
    WriteRegistryBinary(root, subKey, name, data, kRegBinaryText);
  } else if (type == L"REG_DWORD") {
    // Read wide and cut to 32 bits, so both 4294967295 and -1 give 0xFFFFFFFF.
    WriteRegistryDword(root, subKey, name, static_cast<DWORD>(wcstoll(data.c_str(), nullptr, 10)));
  } else if (type == L"REG_EXPAND_SZ") {
    WriteRegistryExpandString(root, subKey, name, data);
  } else {
    WriteRegistryString(root, subKey, name, data);
  }
}

}  // namespace

void InstallRegistryValues(InstallRun* run) {
  const InstallInputs& in = *run->in;
  if (in.config.registry != 1) return;
  for (const RegistryRow& row : ReadRegistryRows(in.workFolder)) {
    HKEY root = RootForValue(row.rootKey);
    std::wstring subKey = Resolve(*run, row.subKey);
    for (wchar_t& c : subKey) {
      if (c == L'/') c = L'\\';
    }
    if (subKey.empty() || subKey.back() != L'\\') subKey += L'\\';
    std::wstring name = Resolve(*run, row.valueName);
    CreateRegistryKey(root, subKey);
    WriteValue(root, subKey, name, Resolve(*run, row.valueData));
    // The record names the key the value went to: a root name the uninstaller does not
    // know would leave the value behind.
    if (row.removeFlag != 0) LogRegistryValue(&run->log, RootKeyName(root), subKey, name);
  }
}
