// The uninstall log lies in the installation folder, where it may be changed by anyone
// who can write there, while the uninstaller may run with administrator rights. The setup
// binds the log to its installation: it keeps the SHA-256 of the log in the product's
// Add/Remove key under HKEY_LOCAL_MACHINE, which only administrators can change, and the
// uninstaller uses the log only when its digest is the one kept there.
//
// The key is the one whose UninstallString names this uninstaller's file: the key named
// by the log's product name is tried first (the usual case), then every Add/Remove key,
// since the product name is read from the log itself. An installation without such a key
// (one made without a product name) or with a key without the value has nothing to bind
// to; its log is used as it is.
#ifndef ZK_UNINSTALLER_LOG_BINDING_H
#define ZK_UNINSTALLER_LOG_BINDING_H

#include <string>

#include "uninstaller/uninstall_log.h"

// The Add/Remove keys, below HKEY_LOCAL_MACHINE.
extern const wchar_t kAddRemoveKeys[];  // "Software\Microsoft\Windows\CurrentVersion\Uninstall"

enum class LogBinding {
  Unbound,  // no key names this uninstaller, or its key holds no digest
  Matches,  // the digest kept in the key is the log's
  Differs,  // the log is not the one the setup wrote
};

// What a key found for the uninstaller says of a log with digest logDigest (lowercase hex).
LogBinding JudgeLogBinding(bool keyFound, bool hasDigest, const std::wstring& keptDigest, const std::string& logDigest);
// The program path of an UninstallString: the command without blanks around it and
// without the quotes the setup puts around it.
std::wstring UninstallCommandPath(const std::wstring& uninstallString);

// Finds the Add/Remove key of the uninstaller at programPath (see above); false when none
// names it. *key receives the key below HKEY_LOCAL_MACHINE.
bool FindAddRemoveKey(const std::wstring& productName, const std::wstring& programPath, std::wstring* key);
// The binding of log (read by the uninstaller at programPath) to its installation.
LogBinding CheckLogBinding(const UninstallLog& log, const std::wstring& programPath);

#endif
