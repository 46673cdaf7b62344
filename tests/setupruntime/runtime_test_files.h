// Folders and files for the setup runtime's tests: each test works in a fresh folder
// beside the test program.
#ifndef ZK_TESTS_SETUPRUNTIME_RUNTIME_TEST_FILES_H
#define ZK_TESTS_SETUPRUNTIME_RUNTIME_TEST_FILES_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "builder/cabinet_writer.h"
#include "common/text.h"
#include "setupruntime/work_folder.h"

inline std::wstring FullFolder(const std::wstring& relative) {
  wchar_t full[MAX_PATH];
  DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
  std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(full, n) : relative;
  return path.back() == L'\\' ? path : path + L"\\";
}

// A fresh, empty folder for the running test, ending with "\".
inline std::wstring TestFolder() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring folder = FullFolder(L"setupruntime_test\\" + Utf8ToWide(info->test_suite_name()) + L"_" +
                                   Utf8ToWide(info->name()) + L"\\");
  RemoveWorkFolder(folder);
  CreateFolderPath(folder);
  return folder;
}

inline bool PutBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  return ok && put == bytes.size();
}

inline std::string GetBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty()) ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

inline bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Packs {source file, name in the cabinet} pairs into cabinet; 1 on success.
inline int PackCabinet(const std::wstring& cabinet, const std::wstring& temp,
                       const std::vector<std::pair<std::string, std::string>>& entries) {
  InitCabinetWriter();
  CreateFolderPath(temp);
  CabinetContext* c = CreateCabinet(WideToAnsi(cabinet), WideToAnsi(temp));
  if (c == nullptr) return 0;
  for (const auto& e : entries) AddCabinetFile(c, e.first, e.second);
  return CloseCabinet(c);
}

// Bytes of a little-endian 64-bit number.
inline std::string Int64Bytes(int64_t value) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
  return bytes;
}

#endif
