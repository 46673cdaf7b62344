#include "common/whole_file.h"

#include <windows.h>

#include "common/path_split.h"
#include "common/scoped.h"

namespace {

bool ReadAll(HANDLE file, uint64_t limit, std::string* out) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) > limit ||
      static_cast<uint64_t>(size.QuadPart) >= SIZE_MAX / 2)
    return false;
  out->resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < out->size()) {
    DWORD got = 0;
    size_t left = out->size() - done;
    DWORD want = static_cast<DWORD>(left < (1u << 20) ? left : (1u << 20));
    if (!ReadFile(file, &(*out)[done], want, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank while being read
    done += got;
  }
  out->resize(done);
  return true;
}

bool ReadOrClear(HANDLE file, uint64_t limit, std::string* out) {
  ScopedHandle owner(file);
  if (!owner || !ReadAll(owner.get(), limit, out)) {
    out->clear();
    return false;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::wstring& path, uint64_t limit, std::string* out) {
  return ReadOrClear(path.empty() ? INVALID_HANDLE_VALUE
                                  : CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                     limit, out);
}

bool ReadWholeFile(const std::string& path, uint64_t limit, std::string* out) {
  return ReadOrClear(path.empty() ? INVALID_HANDLE_VALUE
                                  : CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                     limit, out);
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  ScopedHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  DWORD written = 0;
  bool ok = bytes.size() <= MAXDWORD &&
            (bytes.empty() || (WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                               written == bytes.size())) &&
            FlushFileBuffers(h.get());
  return h.reset() && ok;
}

bool WriteReplacing(const std::wstring& path, const wchar_t* prefix,
                    const std::function<bool(const std::wstring& temp)>& write) {
  if (path.empty()) return false;
  std::wstring folder = PathFolder(path);
  if (folder.empty()) folder = L".";
  wchar_t temp[MAX_PATH];
  if (!GetTempFileNameW(folder.c_str(), prefix, 0, temp)) return false;
  bool ok = write(temp) && MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp);
  return ok;
}

bool WriteReplacing(const std::string& path, const char* prefix,
                    const std::function<bool(const std::string& temp)>& write) {
  if (path.empty()) return false;
  std::string folder = PathFolder(path);
  if (folder.empty()) folder = ".";
  char temp[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), prefix, 0, temp)) return false;
  bool ok = write(temp) && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temp);
  return ok;
}
