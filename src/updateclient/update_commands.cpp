#include "updateclient/update_commands.h"

#include <windows.h>

#include "common/path_split.h"
#include "common/text.h"

// <windows.h> maps these names to their wide functions by macros, which would also rename
// the commands of the same names.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile

namespace {

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool HasDrive(const std::wstring& path) { return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':'; }

bool IsUnc(const std::wstring& path) { return path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]); }

// "\\?\" and "\\.\" paths skip the system's name rules, so no comparison below could tell
// which folder they reach.
bool IsDevicePath(const std::wstring& path) {
  return IsUnc(path) && path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSlash(path[3]);
}

// Length of the part that names the drive ("C:\" or "C:") or the share ("\\server\share");
// the whole path when it names no more than a server.
size_t RootLength(const std::wstring& path) {
  if (HasDrive(path)) return path.size() > 2 && IsSlash(path[2]) ? 3 : 2;
  if (!IsUnc(path)) return 0;
  size_t at = 2;
  for (int part = 0; part < 2; ++part) {
    while (at < path.size() && IsSlash(path[at])) ++at;
    while (at < path.size() && !IsSlash(path[at])) ++at;
  }
  return at;
}

std::wstring FullPath(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::wstring();
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, &full[0], nullptr);
  if (n == 0 || n >= full.size()) return std::wstring();
  full.resize(n);
  return full;
}

// Absolute against base, the client's folder. A path on a drive without a folder after it
// ("C:name") and one that starts with a single "\" would otherwise depend on the process's
// current folders; they are taken from the drive's root and the client's drive instead.
std::wstring AbsolutePath(const std::wstring& path, const std::wstring& base) {
  if (path.empty()) return std::wstring();
  std::wstring anchored;
  if (HasDrive(path)) {
    anchored = path.size() > 2 && IsSlash(path[2]) ? path : path.substr(0, 2) + L"\\" + path.substr(2);
  } else if (IsUnc(path)) {
    anchored = path;
  } else if (IsSlash(path[0])) {
    anchored = base.substr(0, RootLength(base)) + path;
  } else {
    anchored = PathJoin(base, path);
  }
  return FullPath(anchored);
}

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (path.size() > RootLength(path) && IsSlash(path.back())) path.pop_back();
  return path;
}

// A path as the refusals compare it: full, long names for short ones ("PROGRA~1"), no
// trailing "\", upper case.
std::wstring Comparable(const std::wstring& path) {
  std::wstring full = FullPath(path);
  DWORD n = GetLongPathNameW(full.c_str(), nullptr, 0);
  if (n > 0) {
    std::wstring longName(n, L'\0');
    n = GetLongPathNameW(full.c_str(), &longName[0], n);
    if (n > 0 && n < longName.size()) full = longName.substr(0, n);
  }
  while (!full.empty() && IsSlash(full.back())) full.pop_back();
  if (!full.empty()) CharUpperBuffW(&full[0], static_cast<DWORD>(full.size()));
  return full;
}

bool Inside(const std::wstring& path, const std::wstring& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == L'\\';
}

// Whether a delete command must leave path alone. A whole-tree delete also may not take a
// guarded folder or the client's program file with it; the other deletes act in one folder
// only and are checked for that folder itself.
bool DeleteRefused(const std::wstring& path, const CommandContext& context, bool wholeTree) {
  if (path.empty() || IsDevicePath(path)) return true;
  // A stream name ("C:\Windows::$INDEX_ALLOCATION") can reach a folder under another name.
  if (path.find(L':', HasDrive(path) ? 2 : 0) != std::wstring::npos) return true;
  std::wstring target = Comparable(path);
  if (target.empty() || RootLength(target) >= target.size()) return true;
  std::vector<std::wstring> guarded = PlaceholderFolders(context.folders);
  guarded.push_back(context.clientFolder);
  if (!context.clientFile.empty()) guarded.push_back(context.clientFile);
  for (const std::wstring& folder : guarded) {
    if (folder.empty()) continue;
    std::wstring other = Comparable(folder);
    if (target == other || (wholeTree && Inside(other, target))) return true;
  }
  return false;
}

bool IsDots(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// A read-only file in the tree goes too; a link is deleted as it is, so that nothing is
// changed on what it points to.
bool DeleteOneFile(const std::wstring& path, DWORD attributes) {
  bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (!link && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return DeleteFileW(path.c_str()) != 0;
}

// Deletes folder and what it holds. A link met on the way (a junction or symbolic link,
// to a folder or a file) is removed itself; what it points to is never entered.
bool DeleteTree(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileExW(PathJoin(folder, std::wstring(L"*")).c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (IsDots(entry.cFileName)) continue;
        std::wstring child = PathJoin(folder, std::wstring(entry.cFileName));
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
          DeleteTree(child);
        } else {
          DeleteOneFile(child, entry.dwFileAttributes);
        }
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
  }
  return RemoveDirectoryW(folder.c_str()) != 0;
}

// The matching files directly in folder, except read-only ones; a pattern of "*.*" then
// also removes the folder once it is empty.
CommandOutcome DeleteMatchingFiles(const std::wstring& folder, const std::wstring& pattern) {
  WIN32_FIND_DATAW entry;
  HANDLE find =
      FindFirstFileExW(PathJoin(folder, pattern).c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  bool failed = false;
  if (find == INVALID_HANDLE_VALUE) {
    failed = GetLastError() != ERROR_FILE_NOT_FOUND;
  } else {
    do {
      if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) continue;
      if (!DeleteFileW(PathJoin(folder, std::wstring(entry.cFileName)).c_str())) failed = true;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  if (pattern == L"*.*") RemoveDirectoryW(folder.c_str());
  return failed ? CommandOutcome::Failed : CommandOutcome::Done;
}

CommandOutcome Outcome(BOOL succeeded) { return succeeded ? CommandOutcome::Done : CommandOutcome::Failed; }

}  // namespace

std::wstring CommandPath(const std::string& parameter, const CommandContext& context) {
  return AbsolutePath(ExpandFolderPlaceholders(AnsiToWide(parameter), context.folders), context.clientFolder);
}

CommandOutcome RunFileCommand(const UpdateCommand& command, const CommandContext& context) {
  if (command.tooLong) return CommandOutcome::Refused;
  std::wstring first = CommandPath(command.first, context);
  switch (command.kind) {
    case UpdateCommandKind::kDownloadFile:
      return CommandOutcome::Refused;
    case UpdateCommandKind::kRenameFile:
      // Moving a guarded folder or the client's program away takes it from its place as surely
      // as deleting it would.
      if (DeleteRefused(first, context, true)) return CommandOutcome::Refused;
      return Outcome(MoveFileW(first.c_str(), CommandPath(command.second, context).c_str()));
    case UpdateCommandKind::kCopyFile:
      return Outcome(CopyFileW(first.c_str(), CommandPath(command.second, context).c_str(), FALSE));
    case UpdateCommandKind::kDeleteFile:
      if (DeleteRefused(first, context, false)) return CommandOutcome::Refused;
      return Outcome(DeleteFileW(first.c_str()));
    case UpdateCommandKind::kDeleteFiles: {
      if (DeleteRefused(first, context, false)) return CommandOutcome::Refused;
      std::wstring pattern = ExpandFolderPlaceholders(AnsiToWide(command.second), context.folders);
      if (pattern.empty()) pattern = L"*.*";
      // The pattern names files of this one folder: a path in it would reach past the
      // checks made on the folder.
      if (pattern.find_first_of(L"\\/:") != std::wstring::npos) return CommandOutcome::Refused;
      return DeleteMatchingFiles(WithoutTrailingSlash(first), pattern);
    }
    case UpdateCommandKind::kCreateDirectory:
      return Outcome(CreateDirectoryW(first.c_str(), nullptr));
    case UpdateCommandKind::kDeleteDirectory:
      if (DeleteRefused(first, context, true)) return CommandOutcome::Refused;
      return Outcome(DeleteTree(WithoutTrailingSlash(first)));
  }
  return CommandOutcome::Refused;
}

bool ResolveDownload(const UpdateCommand& command, const CommandContext& context, DownloadTarget* target) {
  if (command.kind != UpdateCommandKind::kDownloadFile || command.tooLong) return false;
  size_t slash = command.first.find_last_of("/\\");
  std::string name = slash == std::string::npos ? command.first : command.first.substr(slash + 1);
  if (name.empty() || name == "." || name == ".." || name.find(':') != std::string::npos) return false;
  std::wstring folder = ExpandFolderPlaceholders(AnsiToWide(command.second), context.folders);
  std::wstring file = AbsolutePath(PathJoin(folder, AnsiToWide(name)), context.clientFolder);
  if (file.empty()) return false;
  target->urlPath = command.first;
  target->fileName = name;
  target->file = file;
  return true;
}

ApplyResult ApplyReleases(const UpdateScript& script, const std::vector<size_t>& pending, const CommandContext& context,
                          ReleaseDownloader& downloader) {
  ApplyResult result;
  for (size_t index : pending) {
    if (index >= script.releases.size()) continue;
    const UpdateRelease& release = script.releases[index];
    for (const UpdateCommand& command : release.commands) {
      if (command.kind != UpdateCommandKind::kDownloadFile) {
        // The other commands' failures do not stop an update: a release that deletes a
        // file the user already removed must still go through.
        RunFileCommand(command, context);
        continue;
      }
      DownloadTarget target;
      if (!ResolveDownload(command, context, &target) || !downloader.Download(target)) return result;
    }
    result.lastCompletedRelease = release.name;
  }
  result.completed = true;
  return result;
}
