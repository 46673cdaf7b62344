#include "setupruntime/folder_browse.h"

#include <windows.h>
#include <shlobj.h>

namespace {

std::wstring WithBackslash(const std::wstring& path) {
  return path.empty() || path.back() == L'\\' ? path : path + L"\\";
}

int CALLBACK StartAt(HWND w, UINT m, LPARAM, LPARAM data) {
  if (m == BFFM_INITIALIZED && data) SendMessageW(w, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

std::wstring Browse(const std::wstring& title, UINT flags, LPITEMIDLIST root, const std::wstring& start) {
  BROWSEINFOW bi = {};
  bi.hwndOwner = GetActiveWindow();
  bi.pidlRoot = root;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = flags;
  if (!start.empty()) {
    bi.lpfn = StartAt;
    bi.lParam = reinterpret_cast<LPARAM>(start.c_str());
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
  std::wstring result;
  if (chosen) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path)) result = path;
    CoTaskMemFree(chosen);
  }
  return result;
}

}  // namespace

std::wstring BrowseForFolder(const std::wstring& title, bool includeFiles, int rootCsidl) {
  LPITEMIDLIST root = nullptr;
  SHGetSpecialFolderLocation(nullptr, rootCsidl, &root);
  std::wstring path = Browse(title, includeFiles ? BIF_BROWSEINCLUDEFILES : BIF_RETURNONLYFSDIRS, root, L"");
  if (root) CoTaskMemFree(root);
  DWORD a = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) path = WithBackslash(path);
  return path;
}

std::wstring ChooseInstallFolder(const std::wstring& title, const std::wstring& startFolder) {
  return WithBackslash(Browse(title, BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE, nullptr, startFolder));
}

std::wstring EnvironmentFolder(const std::wstring& name) {
  wchar_t value[MAX_PATH + 1];
  DWORD n = GetEnvironmentVariableW(name.c_str(), value, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? WithBackslash(std::wstring(value, n)) : L"";
}

std::wstring StartMenuPart(const std::wstring& folder, const std::wstring& root) {
  return folder.size() > root.size() ? folder.substr(root.size()) : L"";
}
