#include "updateclient/folder_placeholders.h"

#include <windows.h>

#include <shlobj.h>

namespace {

struct Placeholder {
  const wchar_t* name;
  std::wstring SpecialFolders::*folder;
};

const Placeholder kPlaceholders[] = {
    {L"<System>", &SpecialFolders::system},
    {L"<Windows>", &SpecialFolders::windows},
    {L"<Temporary>", &SpecialFolders::temporary},
    {L"<ApplicationData>", &SpecialFolders::applicationData},
    {L"<Startup>", &SpecialFolders::startup},
    {L"<CommonStartup>", &SpecialFolders::commonStartup},
    {L"<ProgramFiles>", &SpecialFolders::programFiles},
    {L"<Fonts>", &SpecialFolders::fonts},
    {L"<Desktop>", &SpecialFolders::desktop},
};

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::wstring();
  return path;
}

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Where name occurs in text at or after from, ignoring the case of ASCII letters (the
// placeholders are ASCII); npos when it does not.
size_t FindIgnoringCase(const std::wstring& text, const std::wstring& name, size_t from) {
  for (size_t at = from; at + name.size() <= text.size(); ++at) {
    size_t i = 0;
    while (i < name.size() && AsciiLower(text[at + i]) == AsciiLower(name[i])) ++i;
    if (i == name.size()) return at;
  }
  return std::wstring::npos;
}

}  // namespace

SpecialFolders CurrentSpecialFolders() {
  SpecialFolders folders;
  folders.system = ShellFolder(CSIDL_SYSTEM);
  folders.windows = ShellFolder(CSIDL_WINDOWS);
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n > 0 && n <= MAX_PATH) folders.temporary.assign(temp, n);
  folders.applicationData = ShellFolder(CSIDL_APPDATA);
  folders.startup = ShellFolder(CSIDL_STARTUP);
  folders.commonStartup = ShellFolder(CSIDL_COMMON_STARTUP);
  folders.programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
  folders.fonts = ShellFolder(CSIDL_FONTS);
  folders.desktop = ShellFolder(CSIDL_DESKTOP);
  return folders;
}

std::wstring ExpandFolderPlaceholders(const std::wstring& text, const SpecialFolders& folders) {
  std::wstring expanded = text;
  for (const Placeholder& placeholder : kPlaceholders) {
    std::wstring name = placeholder.name;
    const std::wstring& folder = folders.*placeholder.folder;
    // The search goes on after the folder just put in, so a folder whose own name holds
    // a placeholder's text is not replaced again.
    size_t at = FindIgnoringCase(expanded, name, 0);
    while (at != std::wstring::npos) {
      expanded.replace(at, name.size(), folder);
      at = FindIgnoringCase(expanded, name, at + folder.size());
    }
  }
  return expanded;
}

std::vector<std::wstring> PlaceholderFolders(const SpecialFolders& folders) {
  std::vector<std::wstring> list;
  for (const Placeholder& placeholder : kPlaceholders) {
    const std::wstring& folder = folders.*placeholder.folder;
    if (!folder.empty()) list.push_back(folder);
  }
  return list;
}
