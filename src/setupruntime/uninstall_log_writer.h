// Writes uninstall.dat, the record of what the installation made, which the uninstaller
// replays: int32 7, the header lines, the archive's entry count, then marker records.
// Lines are UTF-8 with CR LF; integers are raw little-endian.
//
// A log that could not be created is a closed one: every record written to it is
// dropped, so the installation goes on without it.
#ifndef ZK_SETUPRUNTIME_UNINSTALL_LOG_WRITER_H
#define ZK_SETUPRUNTIME_UNINSTALL_LOG_WRITER_H

#include <stdint.h>

#include <string>

constexpr int32_t kUninstallLogVersion = 7;

struct UninstallLogHeader {
  std::wstring productName;
  std::wstring productVersion;
  std::wstring website;        // empty when the uninstaller is not to open it
  std::wstring installFolder;  // with its trailing backslash
  int32_t entryCount = 0;      // entries of the program archive
};

struct UninstallLogWriter {
  int file = 0;  // runtime file number; 0 when closed
};

// Creates (or empties) path and writes the header. 1 on success; 0 leaves log closed.
int OpenUninstallLog(UninstallLogWriter* log, const std::wstring& path, const UninstallLogHeader& header);
void CloseUninstallLog(UninstallLogWriter* log);

// "#DF": a file to delete.
void LogInstalledFile(UninstallLogWriter* log, const std::wstring& path);
// "#DD": a folder (with trailing backslash) whose files are deleted before it is removed.
void LogInstalledFolder(UninstallLogWriter* log, const std::wstring& path);
// "#DRK": a registry key to delete with its emptied parents.
void LogRegistryKey(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& key);
// "#DRV": a registry value to delete, then its emptied keys.
void LogRegistryValue(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& subKey,
                      const std::wstring& valueName);

#endif
