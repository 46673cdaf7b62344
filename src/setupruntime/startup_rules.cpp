#include "setupruntime/startup_rules.h"

#include <windows.h>

#include <stdio.h>

void ResolveVariableValues(std::vector<VariableRow>* rows,
                           const std::function<bool(const VariableRow&, std::wstring*)>& read) {
  for (size_t i = 0; i < rows->size(); ++i) {
    VariableRow& row = (*rows)[i];
    row.value.clear();
    std::wstring text;
    if (read(row, &text)) {
      row.value = text;
      continue;
    }
    std::wstring value = row.defaultValue;
    for (size_t j = 0; j <= i; ++j) value = ReplaceExact(value, (*rows)[j].name, (*rows)[j].value);
    row.value = value;
  }
}

std::vector<TextVariable> TextVariables(const std::vector<VariableRow>& rows) {
  std::vector<TextVariable> out;
  for (const VariableRow& r : rows) out.push_back({r.name, r.value});
  return out;
}

void ResolveSetupConfig(SetupConfig* c, const std::vector<VariableRow>& variables) {
  SetupProduct product{c->appName, c->version, c->company, c->website1};
  std::vector<TextVariable> vars = TextVariables(variables);
  // The installation folder is not known yet, so "<installpath>" resolves to nothing.
  c->shortcutFolder = SubstituteVariables(SubstitutePlaceholders(c->shortcutFolder, L"", product, {}), vars);
  c->installDir = SubstituteVariables(SubstitutePlaceholders(c->installDir, L"", product, {}), vars);
  if (c->desktopIcon == 0) c->allowDesktopIcons = 0;
  if (c->startMenuFolder == 0) c->allowStartMenuFolder = 0;
}

std::wstring FormatFreeSpace(uint64_t megabytes) {
  if (megabytes == 0) return L"ERROR";
  wchar_t text[64];
  if (megabytes <= 1024) {
    swprintf(text, 64, L"%llu MB", static_cast<unsigned long long>(megabytes));
    return text;
  }
  swprintf(text, 64, L"%.1f", static_cast<double>(megabytes) / 1024.0);
  std::wstring number = text;
  if (number.size() > 2 && number.compare(number.size() - 2, 2, L".0") == 0) number.resize(number.size() - 2);
  return number + L" GB";
}

std::wstring GetFreeSpaceText(const std::wstring& folder) {
  std::wstring drive = folder.substr(0, 3);
  // A missing drive must not bring up the system's "insert a disk" box.
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  ULARGE_INTEGER freeBytes{}, total{}, totalFree{};
  BOOL ok = !drive.empty() && GetDiskFreeSpaceExW(drive.c_str(), &freeBytes, &total, &totalFree);
  SetErrorMode(old);
  return FormatFreeSpace(ok ? totalFree.QuadPart >> 20 : 0);
}
