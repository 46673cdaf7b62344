// Reads back what a setup leaves on the machine: files and folders, shell links, registry
// values, special folders and the output of a console program. Texts are UTF-8; the wide
// APIs are used underneath.
#ifndef ZK_TESTS_E2E_MACHINE_STATE_H
#define ZK_TESTS_E2E_MACHINE_STATE_H

#include <windows.h>

#include <set>
#include <string>

// A special folder (CSIDL) with a trailing backslash; "" when the system has none.
std::string SpecialFolder(int csidl);
bool IsFolder(const std::string& path);

// Entry names below folder (ending in "\"): files as "a\b.txt", folders as "a\".
std::set<std::string> TreeEntries(const std::string& folder);

struct ShellLink {
  std::string target, arguments, workingFolder;
};
// Loads a .lnk file through IShellLinkW; false when it is missing or unreadable.
bool ReadShellLink(const std::string& path, ShellLink* out);

// A registry value read without redirection of the 64-bit view. type is REG_SZ and so on;
// text holds strings as UTF-8 and DWORDs in decimal. False when the value is missing.
bool ReadRegistry(HKEY root, const std::string& key, const std::string& name, DWORD* type, std::string* text);
bool RegistryKeyExists(HKEY root, const std::string& key);
// Deletes key with everything below it; a missing key is fine.
void DeleteRegistryTree(HKEY root, const std::string& key);

// Removes what an installation of the demo product leaves outside its installation folder
// (links, start-menu folder, registry keys), so that a run starts from a clean machine.
void RemoveDemoTraces();

#endif
