// The checks every record of the uninstall log passes before it may act. The uninstaller
// may run with administrator rights and takes its paths and keys from a file anyone with
// write access to the installation folder can change, so a record acts only inside the
// folders the log belongs to and never on a folder the system or the user relies on.
//
// Paths compare as normalised full paths without regard to case. A file or folder record
// must lie strictly inside the installation folder, a start-menu root (the user's or the
// common Programs folder) or a desktop folder (the user's or the common one); it must not
// be, hold, or lie inside any protected folder below that root (drive roots, the Windows,
// system and Program Files folders, the profile folders, the roots themselves...), and no
// folder between the root and the target may be a link. In a start-menu or desktop folder
// the setup makes nothing but shell links, so a file record there must name a ".lnk" file.
#ifndef ZK_UNINSTALLER_RECORD_GUARD_H
#define ZK_UNINSTALLER_RECORD_GUARD_H

#include <windows.h>

#include <string>
#include <vector>

#include "uninstaller/uninstall_log.h"

// Every folder in the form NormalisePath gives.
struct GuardContext {
  std::wstring installFolder;
  std::vector<std::wstring> shortcutRoots;  // start-menu roots and desktop folders
  std::vector<std::wstring> protectedFolders;
};

enum class GuardVerdict {
  Act,
  BadPath,      // not an absolute drive or UNC path, or holds "..", "." or wildcards
  Outside,      // not strictly inside the installation folder or a shortcut root
  Protected,    // is, holds or lies inside a protected folder
  Link,         // a folder on the way, or the target itself, is a link
  NotShortcut,  // a file record in a start-menu or desktop folder that is no shell link
  BadRoot,      // a registry root name that is not one of the five
  BadKey,       // an empty or protected registry key
};

// The full path of raw, without a trailing backslash unless it is a drive root ("C:\").
// false for a path that is not absolute with a drive letter or UNC share, a device or
// "\\?\" path, a path with a "." or ".." part, a stream name or wildcards.
bool NormalisePath(const std::wstring& raw, std::wstring* full);
// Whether path lies strictly inside folder (both normalised), without regard to case.
bool PathInside(const std::wstring& path, const std::wstring& folder);
bool SamePath(const std::wstring& a, const std::wstring& b);

// The folders of this machine that no record may touch.
std::vector<std::wstring> SystemProtectedFolders();
// The user's and the common start-menu roots and desktop folders.
std::vector<std::wstring> SystemShortcutRoots();

// Builds a context for the log's installation folder. false when that folder is not an
// absolute drive or UNC path, is a drive root, or is or holds a protected folder: the
// confinement to it would then guard nothing.
bool MakeGuardContext(const std::wstring& installFolder, const std::vector<std::wstring>& shortcutRoots,
                      const std::vector<std::wstring>& protectedFolders, GuardContext* ctx);
// The same with this machine's roots and protected folders.
bool BuildGuardContext(const std::wstring& installFolder, GuardContext* ctx);

// Whether the file at path (normalised) is a shell link by its name ("*.lnk", any case).
bool IsShortcutFile(const std::wstring& path);
// The verdict for a "#DF" or "#DD" record; *target receives the normalised path to act on.
GuardVerdict CheckPathRecord(const GuardContext& ctx, const UninstallRecord& r, std::wstring* target);

// The registry key form the checks use: backslashes trimmed at both ends; false for an
// empty key or one with an empty part ("a\\b").
bool NormaliseRegistryKey(const std::wstring& raw, std::wstring* key);
// Keys of the system that a log never removes and that an emptied-parent walk stops at.
bool IsProtectedRegistryKey(const std::wstring& normalisedKey);
// The verdict for a "#DRK" or "#DRV" record; *root and *key receive what to act on.
GuardVerdict CheckRegistryRecord(const UninstallRecord& r, HKEY* root, std::wstring* key);

#endif
