#include "support/folders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/file_bytes.h"

void EmptyFolder(const std::wstring& folder) {
  // "" + "*" would be everything in the current folder, the build's program folder.
  if (folder.empty()) return;
  std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((base + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring path = base + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
    } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

void RemoveTree(const std::wstring& folder) {
  if (folder.empty()) return;
  EmptyFolder(folder);
  RemoveDirectoryW(folder.c_str());
}

// Wide underneath, so that entries named outside the ANSI code page (which some tests
// create) go too.
void RemoveTree(const std::string& folder) { RemoveTree(AnsiPathToWide(folder)); }
void EmptyFolder(const std::string& folder) { EmptyFolder(AnsiPathToWide(folder)); }

std::string TempPath() {
  char temp[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, temp);
  return n > 0 && n < MAX_PATH ? std::string(temp, n) : std::string();
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (folder.empty()) return names;
  std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((base + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  std::string base = folder.back() == '\\' ? folder : folder + "\\";
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((base + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

std::wstring TestFolder(const std::wstring& area) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = AnsiPathToWide(std::string(info->test_suite_name()) + "_" + info->name());
  std::wstring folder = FullFolder(area + L"\\" + name + L"\\");
  RemoveTree(folder);
  CreateDirectoryW(FullFolder(area).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TempFolder::TempFolder(const std::string& prefix) {
  static int counter = 0;
  std::string base = TempPath();
  if (base.empty()) {
    ADD_FAILURE() << "no temporary folder";
    return;
  }
  for (;;) {
    path = base + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
    if (CreateDirectoryA(path.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot create a temporary folder";
      break;
    }
  }
  widePath = AnsiPathToWide(path);
}

TempFolder::~TempFolder() { RemoveTree(widePath); }
