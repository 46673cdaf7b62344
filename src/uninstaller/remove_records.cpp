#include "uninstaller/remove_records.h"

#include "common/failure_log.h"
#include "common/registry_helper.h"
#include "common/scoped.h"

namespace {

// Clears the read-only attribute, which would make the deletion fail.
void MakeWritable(const std::wstring& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(path.c_str(), rest ? rest : FILE_ATTRIBUTE_NORMAL);
  }
}

const char* VerdictText(GuardVerdict verdict) {
  switch (verdict) {
    case GuardVerdict::Act:
      return "";
    case GuardVerdict::BadPath:
      return "bad path";
    case GuardVerdict::Outside:
      return "outside";
    case GuardVerdict::Protected:
      return "protected";
    case GuardVerdict::Link:
      return "link";
    case GuardVerdict::NotShortcut:
      return "not a shortcut";
    case GuardVerdict::BadRoot:
      return "bad root";
    case GuardVerdict::BadKey:
      return "bad key";
  }
  return "";
}

// A record the checks refused: the log may have been changed, or the setup wrote it wrong.
GuardVerdict Refused(const UninstallRecord& r, GuardVerdict verdict) {
  std::wstring what = r.kind == RecordKind::File || r.kind == RecordKind::Folder ? r.path : r.rootName + L"\\" + r.key;
  ReportFailure({"skip an uninstall record", what.c_str(), 0, VerdictText(verdict)});
  return verdict;
}

}  // namespace

bool RemoveFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  // The attributes of a link would be changed on its target, so a link is deleted as it is.
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) MakeWritable(path, attributes);
  return DeleteFileW(path.c_str()) != 0;
}

bool RemoveFolder(const std::wstring& folder, bool shortcutsOnly) {
  std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
  WIN32_FIND_DATAW found;
  ScopedFind find(FindFirstFileW((base + L"*.*").c_str(), &found));
  if (find) {
    do {
      // Sub folders are records of their own; links are never followed nor touched.
      if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
      std::wstring path = base + found.cFileName;
      if (shortcutsOnly && !IsShortcutFile(path)) continue;
      MakeWritable(path, found.dwFileAttributes);
      DeleteFileW(path.c_str());
    } while (FindNextFileW(find.get(), &found));
    find.reset();
  }
  RemoveDirectoryW(base.c_str());
  return GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void DeleteEmptyParentKeys(HKEY root, const std::wstring& key) {
  std::wstring k;
  if (!NormaliseRegistryKey(key, &k)) return;
  for (;;) {
    if (!IsProtectedRegistryKey(k)) DeleteRegistryKeyIfEmpty(root, k, 1);
    size_t slash = k.find_last_of(L'\\');
    if (slash == std::wstring::npos) break;
    k.resize(slash);
  }
  TakeRegistryError();
}

GuardVerdict ApplyRecord(const GuardContext& ctx, const UninstallRecord& r) {
  GuardVerdict verdict;
  if (r.kind == RecordKind::File || r.kind == RecordKind::Folder) {
    std::wstring path;
    verdict = CheckPathRecord(ctx, r, &path);
    if (verdict != GuardVerdict::Act) return Refused(r, verdict);
    if (r.kind == RecordKind::File) {
      if (!RemoveFile(path)) ReportFailure({"delete a file", path.c_str(), GetLastError()});
    } else {
      // A folder outside the installation folder lies in a start-menu or desktop folder,
      // where the setup made nothing but links; anything else there is the user's.
      if (!RemoveFolder(path, !PathInside(path, ctx.installFolder)))
        ReportFailure({"delete a folder", path.c_str(), GetLastError()});
    }
    return verdict;
  }
  HKEY root = nullptr;
  std::wstring key;
  verdict = CheckRegistryRecord(r, &root, &key);
  if (verdict != GuardVerdict::Act) return Refused(r, verdict);
  if (r.kind == RecordKind::RegistryKey) {
    DeleteRegistryKey(root, key);
  } else {
    DeleteRegistryValue(root, key, r.valueName);
  }
  DeleteEmptyParentKeys(root, key);
  TakeRegistryError();
  return verdict;
}
