#include "setupruntime/work_folder.h"

#include <windows.h>

#include "common/guid_text.h"
#include "common/scoped.h"

namespace {

bool IsFolder(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// path has no trailing backslash.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  ScopedFind find(FindFirstFileW((path + L"\\*").c_str(), &found));
  if (find) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) RemoveTree(child);
        RemoveDirectoryW(child.c_str());
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find.get(), &found));
    find.reset();
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

int CreateWorkFolder(std::wstring* folder) {
  folder->clear();
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring guid = NewGuidText();
  if (n == 0 || n > MAX_PATH || guid.empty()) return 0;
  std::wstring path(temp, n);
  if (path.back() != L'\\') path += L'\\';
  path += L"ZK" + guid + L"\\";
  *folder = path;
  return CreateDirectoryW(path.c_str(), nullptr) ? 1 : 0;
}

void RemoveWorkFolder(const std::wstring& folder) {
  std::wstring path = folder;
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  if (!path.empty() && IsFolder(path)) RemoveTree(path);
}

int CreateFolderPath(const std::wstring& path) {
  // Nearly every file of an archive lands in a folder that is already there; one look
  // settles that instead of one per level of the path.
  if (IsFolder(path)) return 1;
  for (size_t i = path.find(L'\\'); i != std::wstring::npos; i = path.find(L'\\', i + 1)) {
    std::wstring prefix = path.substr(0, i + 1);
    if (!IsFolder(prefix)) CreateDirectoryW(prefix.c_str(), nullptr);
  }
  return IsFolder(path) ? 1 : 0;
}
