// What the records of the uninstall log do, once their checks have passed.
#ifndef ZK_UNINSTALLER_REMOVE_RECORDS_H
#define ZK_UNINSTALLER_REMOVE_RECORDS_H

#include <windows.h>

#include <string>

#include "uninstaller/record_guard.h"
#include "uninstaller/uninstall_log.h"

// Deletes a file, read-only or not. false when it could not be deleted; a folder of that
// name is left alone (false too).
bool RemoveFile(const std::wstring& path);
// Deletes the files directly inside folder (sub folders and links stay: not recursive),
// then the folder when it has become empty. true when the folder is gone. With
// shortcutsOnly only ".lnk" files are deleted: what the setup puts into a start-menu
// folder.
bool RemoveFolder(const std::wstring& folder, bool shortcutsOnly = false);
// Walks from key up to its first part and deletes each key that has neither a value nor
// a sub key, deepest first. Keys of the system (IsProtectedRegistryKey) are passed over.
void DeleteEmptyParentKeys(HKEY root, const std::wstring& key);
// Checks the record and acts on it. Act when it passed the checks (whether or not the
// deletion itself succeeded: single failures are not reported); otherwise why it was skipped.
GuardVerdict ApplyRecord(const GuardContext& ctx, const UninstallRecord& r);

#endif
