#include "app/test_paths.h"

#include <windows.h>

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Wide, so that entries named outside the ANSI code page (which some tests create) go
// too: a leftover keeps the next run with the same process number from preparing.
void RemoveTreeW(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTreeW(path + L"\\");
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

void RemoveTree(const std::string& folder) {
  // An empty name is a folder a failed set-up never named; "" + "*" would be everything in
  // the current folder, which is the build's program folder.
  if (folder.empty()) return;
  int n = MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), nullptr, 0);
  if (n <= 0) return;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), &wide[0], n);
  RemoveTreeW(wide);
}
