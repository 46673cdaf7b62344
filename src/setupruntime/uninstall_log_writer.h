// Writes uninstall.dat, the record of what the installation made, which the uninstaller
// replays (model/uninstall_log_format.h has the layout).
//
// A log that could not be created is a closed one: every record written to it is
// dropped, so the installation goes on without it.
//
// Each record reaches the file in one write, and the writer keeps a running SHA-256 of
// what it wrote. Once the log is bound to the product's Add/Remove key, the digest in that
// key is brought up to date after every record: the uninstaller refuses a log whose digest
// differs, so nobody who can merely write to the installation folder can make it remove
// something else. A setup that stops half-way still leaves a digest of the whole records.
#ifndef ZK_SETUPRUNTIME_UNINSTALL_LOG_WRITER_H
#define ZK_SETUPRUNTIME_UNINSTALL_LOG_WRITER_H

#include <stdint.h>

#include <string>

#include "common/sha256.h"
#include "model/uninstall_log_format.h"

struct UninstallLogHeader {
  std::wstring productName;
  std::wstring productVersion;
  std::wstring website;        // empty when the uninstaller is not to open it
  std::wstring installFolder;  // with its trailing backslash
  int32_t entryCount = 0;      // entries of the program archive
};

struct UninstallLogWriter {
  int file = 0;            // runtime file number; 0 when closed
  Sha256 digest;           // of every byte written so far
  std::wstring digestKey;  // the Add/Remove key below HKEY_LOCAL_MACHINE; empty while unbound
};

// Creates (or empties) path and writes the header. 1 on success; 0 leaves log closed.
int OpenUninstallLog(UninstallLogWriter* log, const std::wstring& path, const UninstallLogHeader& header);
void CloseUninstallLog(UninstallLogWriter* log);
// Stores the digest of the log in key (below HKEY_LOCAL_MACHINE), now and after every
// later record. Nothing for a closed log.
void BindUninstallLog(UninstallLogWriter* log, const std::wstring& key);

// A File record: a file to delete.
void LogInstalledFile(UninstallLogWriter* log, const std::wstring& path);
// A Folder record: a folder (with trailing backslash) whose files are deleted before it is
// removed.
void LogInstalledFolder(UninstallLogWriter* log, const std::wstring& path);
// A RegistryKey record: a registry key to delete with its emptied parents.
void LogRegistryKey(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& key);
// A RegistryValue record: a registry value to delete, then its emptied keys.
void LogRegistryValue(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& subKey,
                      const std::wstring& valueName);

#endif
