#include "builder/build_files.h"

#include <windows.h>

#include "common/dirlist.h"
#include "common/scoped.h"
#include "common/text.h"

namespace {

// Large enough that a copy runs at disk speed, small enough that Pause and Cancel take
// effect at once, and that the buffer comes from the heap: a buffer of a megabyte is
// mapped and unmapped anew for every file, which costs more than the copy itself.
constexpr DWORD kCopyChunk = 64 * 1024;

constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool Stopped(const StopCheck& mustStop) { return mustStop && mustStop(); }

CopyResult CopyData(HANDLE in, HANDLE out, const StopCheck& mustStop) {
  std::vector<char> buffer(kCopyChunk);
  for (;;) {
    if (Stopped(mustStop)) return CopyResult::kStopped;
    DWORD got = 0;
    if (!ReadFile(in, buffer.data(), kCopyChunk, &got, nullptr)) return CopyResult::kFailed;
    if (got == 0) return CopyResult::kCopied;
    DWORD put = 0;
    if (!WriteFile(out, buffer.data(), got, &put, nullptr) || put != got) return CopyResult::kFailed;
  }
}

// Copies with the wide calls, so that the walks below can hand any name over.
CopyResult CopyWide(const std::wstring& source, const std::wstring& target, const StopCheck& mustStop) {
  ScopedHandle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) return CopyResult::kFailed;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(in.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return CopyResult::kFailed;
  // Two rows may name files of the same name: the second replaces the first, even when
  // the first copy is read-only.
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  ScopedHandle out(
      CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return CopyResult::kFailed;
  CopyResult result = CopyData(in.get(), out.get(), mustStop);
  if (result == CopyResult::kCopied &&
      !SetFileTime(out.get(), &info.ftCreationTime, &info.ftLastAccessTime, &info.ftLastWriteTime))
    result = CopyResult::kFailed;
  // Both close before the target is deleted or has its attributes set; the last write
  // can fail only at the close.
  if (!out.reset() && result == CopyResult::kCopied) result = CopyResult::kFailed;
  in.reset();
  if (result != CopyResult::kCopied) {
    DeleteFileW(target.c_str());
    return result;
  }
  DWORD attributes = info.dwFileAttributes & kCopiedAttributes;
  SetFileAttributesW(target.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  return result;
}

// True when path is the file's only name, so changing its attributes touches no other file.
bool IsOnlyName(const std::wstring& path) {
  ScopedHandle h(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(h.get(), &info) && info.nNumberOfLinks == 1;
}

// Removes the file at path by its name, so that nothing is written through it: in the
// staging tree it may be a hard link to one of the author's files. Only a read-only file
// that is nobody else's has its attribute cleared for that. True when nothing is left.
bool RemoveStagedFile(const std::wstring& path) {
  if (DeleteFileW(path.c_str())) return true;
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & FILE_ATTRIBUTE_READONLY) || !IsOnlyName(path))
    return false;
  SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileW(path.c_str()) != 0;
}

// A link carries every attribute of its source, a copy only kCopiedAttributes; a read-only
// link could not be removed again without making the author's file writable.
bool MayLink(DWORD attributes) {
  constexpr DWORD kLinkable = (kCopiedAttributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL;
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & ~kLinkable) == 0;
}

CopyResult StageWide(const std::wstring& source, const std::wstring& target, StageWay way, const StopCheck& mustStop) {
  if (!RemoveStagedFile(target)) return CopyResult::kFailed;
  // Links fail across volumes and on file systems without them; the copy is the fallback.
  if (way == StageWay::kLinkWhenPossible && MayLink(GetFileAttributesW(source.c_str())) &&
      CreateHardLinkW(target.c_str(), source.c_str(), nullptr)) {
    return CopyResult::kCopied;
  }
  return CopyWide(source, target, mustStop);
}

CopyResult StageFolderWide(const std::wstring& source, const std::wstring& target, StageWay way,
                           std::vector<std::string>* failed, const StopCheck& mustStop) {
  if (!CreateDirectoryW(target.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return CopyResult::kFailed;
  for (const DirEntryW& e : ListDirectory(source, L"*.*")) {
    if (Stopped(mustStop)) return CopyResult::kStopped;
    std::wstring from = source + L"\\" + e.name;
    std::wstring to = target + L"\\" + e.name;
    CopyResult r = e.isFolder ? StageFolderWide(from, to, way, failed, mustStop) : StageWide(from, to, way, mustStop);
    if (r == CopyResult::kStopped) return r;
    // The log is ANSI; a name it cannot show still tells the author where to look.
    if (r == CopyResult::kFailed) failed->push_back(WideToAnsi(from));
  }
  return CopyResult::kCopied;
}

void RemoveTreeWide(const std::wstring& folder) {
  for (const DirEntryW& e : ListDirectory(folder, L"*.*")) {
    std::wstring path = folder + e.name;
    if (e.isFolder) {
      RemoveTreeWide(path + L"\\");
    } else {
      RemoveStagedFile(path);
    }
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

CopyResult CopyBuildFile(const std::string& source, const std::string& target, const StopCheck& mustStop) {
  return CopyWide(AnsiToWide(source), AnsiToWide(target), mustStop);
}

CopyResult StageBuildFile(const std::string& source, const std::string& target, StageWay way,
                          const StopCheck& mustStop) {
  return StageWide(AnsiToWide(source), AnsiToWide(target), way, mustStop);
}

CopyResult StageBuildFolder(const std::string& source, const std::string& target, std::vector<std::string>* failed,
                            StageWay way, const StopCheck& mustStop) {
  return StageFolderWide(AnsiToWide(source), AnsiToWide(target), way, failed, mustStop);
}

void RemoveBuildTree(const std::string& folder) { RemoveTreeWide(AnsiToWide(folder)); }

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
