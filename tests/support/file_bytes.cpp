#include "support/file_bytes.h"

std::wstring FullFolder(const std::wstring& relative) {
  wchar_t full[MAX_PATH];
  DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
  std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(full, n) : relative;
  return path.back() == L'\\' ? path : path + L"\\";
}

std::wstring AnsiPathToWide(const std::string& path) {
  if (path.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], n);
  return wide;
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool PathExists(const std::string& path) { return PathExists(AnsiPathToWide(path)); }

bool PutBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done < (1u << 24) ? bytes.size() - done : (1u << 24));
    DWORD put = 0;
    ok = WriteFile(h, bytes.data() + done, chunk, &put, nullptr) && put == chunk;
    done += put;
  }
  return CloseHandle(h) && ok;
}

bool PutBytes(const std::string& path, const std::string& bytes) { return PutBytes(AnsiPathToWide(path), bytes); }

std::string GetBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  // To the end, not to the size seen at the start: a file still being written grows.
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) bytes.reserve(static_cast<size_t>(size.QuadPart));
  std::string buffer(1 << 16, '\0');
  DWORD got = 0;
  while (ReadFile(h, &buffer[0], static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
    bytes.append(buffer, 0, got);
  CloseHandle(h);
  return bytes;
}

std::string GetBytes(const std::string& path) { return GetBytes(AnsiPathToWide(path)); }
