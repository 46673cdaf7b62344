// Whole files as byte strings, for tests that write fixtures and read back results.
#ifndef ZK_TESTS_SUPPORT_FILE_BYTES_H
#define ZK_TESTS_SUPPORT_FILE_BYTES_H

#include <windows.h>

#include <string>

// The full path of a folder, relative to the current folder, ending with "\".
inline std::wstring FullFolder(const std::wstring& relative) {
  wchar_t full[MAX_PATH];
  DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
  std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(full, n) : relative;
  return path.back() == L'\\' ? path : path + L"\\";
}

inline bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Writes bytes as the whole file (created or emptied first).
inline bool PutBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  return ok && put == bytes.size();
}

// The whole file; "" when it cannot be read.
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

#endif
