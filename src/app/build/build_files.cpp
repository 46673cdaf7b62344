#include "app/build/build_files.h"

#include <windows.h>

#include "app/build/build_requests.h"
#include "common/carried.h"
#include "common/dirlist.h"
#include "common/resource_data.h"

namespace {

// Large enough that a copy runs at disk speed, small enough that Pause and Cancel take
// effect at once, and that the buffer comes from the heap: a buffer of a megabyte is
// mapped and unmapped anew for every file, which costs more than the copy itself.
constexpr DWORD kCopyChunk = 64 * 1024;

constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

CopyResult CopyData(HANDLE in, HANDLE out) {
  std::vector<char> buffer(kCopyChunk);
  for (;;) {
    if (BuildMustStop()) return CopyResult::kStopped;
    DWORD got = 0;
    if (!ReadFile(in, buffer.data(), kCopyChunk, &got, nullptr)) return CopyResult::kFailed;
    if (got == 0) return CopyResult::kCopied;
    DWORD put = 0;
    if (!WriteFile(out, buffer.data(), got, &put, nullptr) || put != got) return CopyResult::kFailed;
  }
}

}  // namespace

CopyResult CopyBuildFile(const std::string& source, const std::string& target) {
  HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) return CopyResult::kFailed;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(in, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(in);
    return CopyResult::kFailed;
  }
  // Two rows may name files of the same name: the second replaces the first, even when
  // the first copy is read-only.
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE out = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    CloseHandle(in);
    return CopyResult::kFailed;
  }
  CopyResult result = CopyData(in, out);
  if (result == CopyResult::kCopied &&
      !SetFileTime(out, &info.ftCreationTime, &info.ftLastAccessTime, &info.ftLastWriteTime))
    result = CopyResult::kFailed;
  if (!CloseHandle(out) && result == CopyResult::kCopied) result = CopyResult::kFailed;
  CloseHandle(in);
  if (result != CopyResult::kCopied) {
    DeleteFileA(target.c_str());
    return result;
  }
  DWORD attributes = info.dwFileAttributes & kCopiedAttributes;
  SetFileAttributesA(target.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  return result;
}

CopyResult CopyBuildFolder(const std::string& source, const std::string& target, std::vector<std::string>* failed) {
  if (!CreateDirectoryA(target.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return CopyResult::kFailed;
  for (const DirEntry& e : ListDirectory(source, "*.*")) {
    std::string from = source + "\\" + e.name;
    std::string to = target + "\\" + e.name;
    CopyResult r = e.isFolder ? CopyBuildFolder(from, to, failed) : CopyBuildFile(from, to);
    if (r == CopyResult::kStopped) return r;
    if (r == CopyResult::kFailed) failed->push_back(from);
  }
  return CopyResult::kCopied;
}

void RemoveBuildTree(const std::string& folder) {
  for (const DirEntry& e : ListDirectory(folder, "*.*")) {
    std::string path = folder + e.name;
    if (e.isFolder) {
      RemoveBuildTree(path + "\\");
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

std::string TempFolder() {
  char shortForm[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof(shortForm), shortForm);
  if (n == 0 || n >= sizeof(shortForm)) return {};
  char longForm[MAX_PATH * 2];
  DWORD m = GetLongPathNameA(shortForm, longForm, sizeof(longForm));
  std::string folder = m > 0 && m < sizeof(longForm) ? std::string(longForm, m) : std::string(shortForm, n);
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

bool ReadSetupRuntimeImage(std::string* bytes) {
  const void* data = nullptr;
  size_t size = 0;
  if (!RcDataResource(nullptr, ZK_RES_SETUPRUNTIME_IMAGE, &data, &size)) return false;
  bytes->assign(static_cast<const char*>(data), size);
  return true;
}
