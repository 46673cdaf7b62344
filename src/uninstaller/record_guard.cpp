#include "uninstaller/record_guard.h"

#include <shlobj.h>

#include "common/registry_helper.h"

namespace {

std::wstring Upper(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

// Length of the part that names the drive or share: "C:\" (3) or "\\server\share" (up to
// the backslash after the share); 0 when the path has neither.
size_t RootLength(const std::wstring& s) {
  if (s.size() >= 3 && iswalpha(s[0]) && s[1] == L':' && IsSlash(s[2])) return 3;
  if (s.size() < 5 || !IsSlash(s[0]) || !IsSlash(s[1])) return 0;
  size_t server = 2;
  while (server < s.size() && !IsSlash(s[server])) ++server;
  if (server == 2 || server >= s.size()) return 0;
  size_t share = server + 1;
  while (share < s.size() && !IsSlash(s[share])) ++share;
  if (share == server + 1) return 0;
  return share;
}

bool IsDriveOrShareRoot(const std::wstring& normalised) { return RootLength(normalised) >= normalised.size(); }

std::wstring WithSlash(const std::wstring& folder) {
  return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

void AddFolder(std::vector<std::wstring>* list, const std::wstring& raw) {
  std::wstring full;
  if (!raw.empty() && NormalisePath(raw, &full)) list->push_back(full);
}

// The installation folder and the shortcut roots: every folder a record may lie in.
std::vector<std::wstring> AllRoots(const GuardContext& ctx) {
  std::vector<std::wstring> roots(1, ctx.installFolder);
  roots.insert(roots.end(), ctx.shortcutRoots.begin(), ctx.shortcutRoots.end());
  return roots;
}

}  // namespace

bool NormalisePath(const std::wstring& raw, std::wstring* full) {
  size_t root = RootLength(raw);
  if (root == 0) return false;
  // "\\?\" and "\\.\" reach devices and skip the normal name rules.
  if (raw.size() > 2 && (raw[2] == L'?' || raw[2] == L'.')) return false;
  for (size_t i = 0; i < raw.size(); ++i) {
    wchar_t c = raw[i];
    if (c < 0x20 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|') return false;
    if (c == L':' && i != 1) return false;  // a stream name
  }
  // Every part after the root must be a name: "." and ".." would let a path that reads as
  // inside a folder point outside it.
  size_t start = root;
  while (start < raw.size()) {
    while (start < raw.size() && IsSlash(raw[start])) ++start;
    size_t end = start;
    while (end < raw.size() && !IsSlash(raw[end])) ++end;
    std::wstring part = raw.substr(start, end - start);
    if (part == L"." || part == L"..") return false;
    start = end;
  }
  DWORD n = GetFullPathNameW(raw.c_str(), 0, nullptr, nullptr);
  if (n == 0) return false;
  std::wstring buffer(n, L'\0');
  n = GetFullPathNameW(raw.c_str(), n, &buffer[0], nullptr);
  if (n == 0 || n >= buffer.size()) return false;
  buffer.resize(n);
  // Short names ("PROGRA~1") of existing paths become their long names, so that they
  // compare equal to the folders they stand for.
  DWORD ln = GetLongPathNameW(buffer.c_str(), nullptr, 0);
  if (ln > 0) {
    std::wstring longName(ln, L'\0');
    ln = GetLongPathNameW(buffer.c_str(), &longName[0], ln);
    if (ln > 0 && ln < longName.size()) buffer = longName.substr(0, ln);
  }
  while (buffer.size() > RootLength(buffer) && buffer.size() > 3 && buffer.back() == L'\\') buffer.pop_back();
  *full = buffer;
  return true;
}

bool SamePath(const std::wstring& a, const std::wstring& b) { return Upper(a) == Upper(b); }

bool PathInside(const std::wstring& path, const std::wstring& folder) {
  std::wstring prefix = Upper(WithSlash(folder));
  std::wstring p = Upper(path);
  return p.size() > prefix.size() && p.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::wstring> SystemProtectedFolders() {
  static const int kFolders[] = {
      CSIDL_WINDOWS,
      CSIDL_SYSTEM,
      CSIDL_SYSTEMX86,
      CSIDL_PROGRAM_FILES,
      CSIDL_PROGRAM_FILESX86,
      CSIDL_PROGRAM_FILES_COMMON,
      CSIDL_PROGRAM_FILES_COMMONX86,
      CSIDL_PROFILE,
      CSIDL_APPDATA,
      CSIDL_LOCAL_APPDATA,
      CSIDL_COMMON_APPDATA,
      CSIDL_PERSONAL,
      CSIDL_COMMON_DOCUMENTS,
      CSIDL_DESKTOPDIRECTORY,
      CSIDL_COMMON_DESKTOPDIRECTORY,
      CSIDL_PROGRAMS,
      CSIDL_COMMON_PROGRAMS,
      CSIDL_STARTMENU,
      CSIDL_COMMON_STARTMENU,
      CSIDL_STARTUP,
      CSIDL_COMMON_STARTUP,
      CSIDL_FONTS,
      CSIDL_MYMUSIC,
      CSIDL_MYPICTURES,
      CSIDL_MYVIDEO,
      CSIDL_COMMON_MUSIC,
      CSIDL_COMMON_PICTURES,
      CSIDL_COMMON_VIDEO,
      CSIDL_FAVORITES,
      CSIDL_SENDTO,
      CSIDL_TEMPLATES,
      CSIDL_COMMON_TEMPLATES,
      CSIDL_RECENT,
      CSIDL_NETHOOD,
      CSIDL_PRINTHOOD,
      CSIDL_INTERNET_CACHE,
      CSIDL_COOKIES,
      CSIDL_HISTORY,
      CSIDL_ADMINTOOLS,
      CSIDL_COMMON_ADMINTOOLS,
      CSIDL_RESOURCES,
      CSIDL_CDBURN_AREA,
  };
  std::vector<std::wstring> list;
  wchar_t path[MAX_PATH];
  for (int csidl : kFolders) {
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) AddFolder(&list, path);
  }
  UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) AddFolder(&list, path);
  n = GetSystemDirectoryW(path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) AddFolder(&list, path);
  DWORD t = GetTempPathW(MAX_PATH, path);
  if (t > 0 && t < MAX_PATH) AddFolder(&list, path);
  for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432", L"CommonProgramFiles",
                              L"SystemRoot", L"ALLUSERSPROFILE", L"PUBLIC", L"USERPROFILE", L"ProgramData"}) {
    DWORD e = GetEnvironmentVariableW(name, path, MAX_PATH);
    if (e > 0 && e < MAX_PATH) AddFolder(&list, path);
  }
  // The folder that holds every user's profile ("C:\Users").
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path))) {
    std::wstring profile;
    if (NormalisePath(path, &profile)) {
      size_t slash = profile.find_last_of(L'\\');
      if (slash != std::wstring::npos && slash >= 3) AddFolder(&list, profile.substr(0, slash));
    }
  }
  return list;
}

std::vector<std::wstring> SystemShortcutRoots() {
  std::vector<std::wstring> list;
  AddFolder(&list, GetUserProgramsFolder());
  AddFolder(&list, GetCommonProgramsFolder());
  AddFolder(&list, GetUserDesktopFolder());
  AddFolder(&list, GetCommonDesktopFolder());
  return list;
}

bool MakeGuardContext(const std::wstring& installFolder, const std::vector<std::wstring>& shortcutRoots,
                      const std::vector<std::wstring>& protectedFolders, GuardContext* ctx) {
  GuardContext made;
  if (!NormalisePath(installFolder, &made.installFolder) || IsDriveOrShareRoot(made.installFolder)) return false;
  for (const std::wstring& raw : protectedFolders) AddFolder(&made.protectedFolders, raw);
  for (const std::wstring& raw : shortcutRoots) {
    std::wstring root;
    // A shortcut root that came back as a drive root would open the whole drive.
    if (NormalisePath(raw, &root) && !IsDriveOrShareRoot(root)) made.shortcutRoots.push_back(root);
  }
  for (const std::wstring& q : made.protectedFolders) {
    if (SamePath(q, made.installFolder) || PathInside(q, made.installFolder)) return false;
  }
  *ctx = made;
  return true;
}

bool BuildGuardContext(const std::wstring& installFolder, GuardContext* ctx) {
  return MakeGuardContext(installFolder, SystemShortcutRoots(), SystemProtectedFolders(), ctx);
}

bool IsShortcutFile(const std::wstring& path) {
  return path.size() > 4 && Upper(path.substr(path.size() - 4)) == L".LNK";
}

GuardVerdict CheckPathRecord(const GuardContext& ctx, const UninstallRecord& r, std::wstring* target) {
  std::wstring path;
  if (!NormalisePath(r.path, &path)) return GuardVerdict::BadPath;
  const std::vector<std::wstring> roots = AllRoots(ctx);
  // The deepest root that holds the path is the one it belongs to.
  const std::wstring* root = nullptr;
  for (const std::wstring& a : roots) {
    if (PathInside(path, a) && (!root || a.size() > root->size())) root = &a;
  }
  if (!root) return GuardVerdict::Outside;
  if (r.kind == RecordKind::File && root != &roots[0] && !IsShortcutFile(path)) return GuardVerdict::NotShortcut;
  // No record may reach a protected folder or another root (the installation folder
  // itself is removed by the final batch, not by a record), nor anything inside a
  // protected folder that lies below its own root (a start-menu root's Startup folder).
  for (const std::vector<std::wstring>* list : {&ctx.protectedFolders, &roots}) {
    for (const std::wstring& q : *list) {
      if (SamePath(q, path) || PathInside(q, path)) return GuardVerdict::Protected;
      if (PathInside(q, *root) && PathInside(path, q)) return GuardVerdict::Protected;
    }
  }
  // Links below the root could lead anywhere; the root itself may be one (a redirected
  // desktop) because it was found through the system, not through the log.
  std::wstring walk = WithSlash(*root);
  size_t pos = walk.size();
  while (pos <= path.size()) {
    size_t end = path.find(L'\\', pos);
    if (end == std::wstring::npos) end = path.size();
    std::wstring step = path.substr(0, end);
    DWORD attributes = GetFileAttributesW(step.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) break;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return GuardVerdict::Link;
    pos = end + 1;
  }
  *target = path;
  return GuardVerdict::Act;
}

bool NormaliseRegistryKey(const std::wstring& raw, std::wstring* key) {
  size_t first = raw.find_first_not_of(L'\\');
  if (first == std::wstring::npos) return false;
  size_t last = raw.find_last_not_of(L'\\');
  std::wstring k = raw.substr(first, last - first + 1);
  if (k.find(L"\\\\") != std::wstring::npos) return false;
  *key = k;
  return true;
}

bool IsProtectedRegistryKey(const std::wstring& normalisedKey) {
  static const wchar_t* const kKeys[] = {
      L"SOFTWARE",
      L"SOFTWARE\\CLASSES",
      L"SOFTWARE\\MICROSOFT",
      L"SOFTWARE\\MICROSOFT\\WINDOWS",
      L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
      L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL",
      L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN",
      L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNONCE",
      L"SOFTWARE\\MICROSOFT\\WINDOWS NT",
      L"SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION",
      L"SOFTWARE\\POLICIES",
      L"SOFTWARE\\WOW6432NODE",
      L"SYSTEM",
      L"SYSTEM\\CURRENTCONTROLSET",
      L"CONTROL PANEL",
      L"ENVIRONMENT",
      L"HARDWARE",
      L"SAM",
      L"SECURITY",
      L"HKEY_CLASSES_ROOT",
      L"HKEY_CURRENT_USER",
      L"HKEY_LOCAL_MACHINE",
      L"HKEY_USERS",
      L"HKEY_CURRENT_CONFIG",
  };
  std::wstring k = Upper(normalisedKey);
  for (const wchar_t* p : kKeys) {
    if (k == p) return true;
  }
  return false;
}

GuardVerdict CheckRegistryRecord(const UninstallRecord& r, HKEY* root, std::wstring* key) {
  HKEY h = RootKeyFromName(r.rootName);
  if (!h) return GuardVerdict::BadRoot;
  std::wstring k;
  if (!NormaliseRegistryKey(r.key, &k) || IsProtectedRegistryKey(k)) return GuardVerdict::BadKey;
  *root = h;
  *key = k;
  return GuardVerdict::Act;
}
