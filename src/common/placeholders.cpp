#include "common/placeholders.h"

#include <windows.h>
#include <shlobj.h>

#include "common/setup_environment.h"

namespace {

enum class Source {
  AppName,
  Version,
  Company,
  Website,
  Environment,  // a ZK_ variable, as it is at the time of the call
  SystemFolder,
  EnvironmentFolder,  // a folder named by an environment variable
  SpecialFolder,      // a shell folder by its CSIDL number
  InstallPath,
};

struct Placeholder {
  const wchar_t* name;  // lower case
  Source source;
  const wchar_t* variable;
  int csidl;
};

// The order matters: a value may itself hold a later placeholder, which is then resolved
// too, while an earlier one stays as it is.
const Placeholder kPlaceholders[] = {
    {L"<appname>", Source::AppName, nullptr, 0},
    {L"<programversion>", Source::Version, nullptr, 0},
    {L"<company>", Source::Company, nullptr, 0},
    {L"<website>", Source::Website, nullptr, 0},
    {L"<language>", Source::Environment, kEnvLanguage, 0},
    {L"<username>", Source::Environment, kEnvUserName, 0},
    {L"<organisation>", Source::Environment, kEnvOrganisation, 0},
    {L"<system>", Source::SystemFolder, nullptr, 0},
    {L"<windows>", Source::EnvironmentFolder, L"WINDIR", 0},
    {L"<temp>", Source::EnvironmentFolder, L"TEMP", 0},
    {L"<programfiles>", Source::EnvironmentFolder, L"ProgramFiles", 0},
    {L"<startup>", Source::SpecialFolder, nullptr, CSIDL_STARTUP},
    {L"<startuppublic>", Source::SpecialFolder, nullptr, CSIDL_COMMON_STARTUP},
    {L"<documents>", Source::SpecialFolder, nullptr, CSIDL_PERSONAL},
    {L"<documentspublic>", Source::SpecialFolder, nullptr, CSIDL_COMMON_DOCUMENTS},
    {L"<startmenuprograms>", Source::SpecialFolder, nullptr, CSIDL_PROGRAMS},
    {L"<startmenuprogramspublic>", Source::SpecialFolder, nullptr, CSIDL_COMMON_PROGRAMS},
    {L"<font>", Source::SpecialFolder, nullptr, CSIDL_FONTS},
    {L"<desktop>", Source::SpecialFolder, nullptr, CSIDL_DESKTOP},
    {L"<desktoppublic>", Source::SpecialFolder, nullptr, CSIDL_COMMON_DESKTOPDIRECTORY},
    {L"<appdata>", Source::SpecialFolder, nullptr, CSIDL_APPDATA},
    {L"<appdatapublic>", Source::SpecialFolder, nullptr, CSIDL_COMMON_APPDATA},
    {L"<installpath>", Source::InstallPath, nullptr, 0},
};

bool IsFolder(Source s) {
  return s == Source::SystemFolder || s == Source::EnvironmentFolder || s == Source::SpecialFolder;
}

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring ValueOf(const Placeholder& p, const std::wstring& installFolder, const SetupProduct& product) {
  switch (p.source) {
    case Source::AppName:
      return product.appName;
    case Source::Version:
      return product.version;
    case Source::Company:
      return product.company;
    case Source::Website:
      return product.website;
    case Source::Environment:
      return EnvironmentText(p.variable);
    case Source::SystemFolder:
      return GetSystemFolder();
    case Source::EnvironmentFolder:
      return GetEnvironmentFolder(p.variable);
    case Source::SpecialFolder:
      return GetSpecialFolder(p.csidl);
    case Source::InstallPath:
      // Only a trailing backslash goes; a folder given without one keeps its last letter.
      if (!installFolder.empty() && installFolder.back() == L'\\')
        return installFolder.substr(0, installFolder.size() - 1);
      return installFolder;
  }
  return L"";
}

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Position of the first occurrence of name (lower case) at or after from, ignoring the
// case of ASCII letters; npos when there is none.
size_t FindIgnoringCase(const std::wstring& text, const std::wstring& name, size_t from) {
  if (name.size() > text.size()) return std::wstring::npos;
  for (size_t i = from; i + name.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < name.size() && FoldAscii(text[i + k]) == name[k]) ++k;
    if (k == name.size()) return i;
  }
  return std::wstring::npos;
}

std::wstring ReplacePlaceholder(const std::wstring& text, const Placeholder& p, const std::wstring& installFolder,
                                const SetupProduct& product) {
  const std::wstring name = p.name;
  size_t at = FindIgnoringCase(text, name, 0);
  if (at == std::wstring::npos) return text;
  const std::wstring value = ValueOf(p, installFolder, product);
  // The folder already ends with the separator the author wrote after it.
  const bool dropBackslash = IsFolder(p.source) && !value.empty() && value.back() == L'\\';
  std::wstring out;
  size_t done = 0;
  while (at != std::wstring::npos) {
    out.append(text, done, at - done);
    out += value;
    done = at + name.size();
    if (dropBackslash && done < text.size() && text[done] == L'\\') ++done;
    at = FindIgnoringCase(text, name, done);
  }
  out.append(text, done, std::wstring::npos);
  return out;
}

}  // namespace

std::wstring ReplaceExact(const std::wstring& text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return text;
  std::wstring out;
  size_t done = 0;
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, done)) {
    out.append(text, done, at - done);
    out += to;
    done = at + from.size();
  }
  out.append(text, done, std::wstring::npos);
  return out;
}

std::wstring SubstituteVariables(const std::wstring& text, const std::vector<TextVariable>& variables) {
  std::wstring out = text;
  for (const TextVariable& v : variables) out = ReplaceExact(out, v.name, v.value);
  return out;
}

std::wstring SubstitutePlaceholders(const std::wstring& text, const std::wstring& installFolder,
                                    const SetupProduct& product, const std::vector<TextVariable>& variables) {
  std::wstring out = text;
  for (const Placeholder& p : kPlaceholders) out = ReplacePlaceholder(out, p, installFolder, product);
  return SubstituteVariables(out, variables);
}

std::wstring GetSystemFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryW(path, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return L"";
  return WithBackslash(path);
}

std::wstring GetEnvironmentFolder(const std::wstring& name) { return WithBackslash(EnvironmentText(name)); }

std::wstring GetSpecialFolder(int csidl) {
  LPITEMIDLIST list = nullptr;
  wchar_t path[MAX_PATH] = {};
  bool ok = SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) && list && SHGetPathFromIDListW(list, path);
  if (list) CoTaskMemFree(list);
  return ok ? WithBackslash(path) : L"";
}
