// The uninstall log ("uninstall.dat") that the setup writes into the installation folder:
// an int32 version (7), four header lines (product name, product version, web site,
// installation folder), an int32 entry count, then marker records until the end of the
// file. Lines are UTF-8 ended by CR LF; the integers are four raw little-endian bytes.
//
// The log is read whole and checked before anything is removed: a log that is damaged
// anywhere (wrong version, short header, a record cut off) is refused as a whole, so a
// half-written log never leads to a half-done removal.
#ifndef ZK_UNINSTALLER_UNINSTALL_LOG_H
#define ZK_UNINSTALLER_UNINSTALL_LOG_H

#include <stdint.h>

#include <string>
#include <vector>

constexpr int32_t kUninstallLogVersion = 7;

enum class RecordKind {
  File,           // "#DF" path
  Folder,         // "#DD" path
  RegistryKey,    // "#DRK" root name, key
  RegistryValue,  // "#DRV" root name, sub key, value name
};

struct UninstallRecord {
  RecordKind kind = RecordKind::File;
  std::wstring path;       // File, Folder
  std::wstring rootName;   // RegistryKey, RegistryValue
  std::wstring key;        // RegistryKey, RegistryValue
  std::wstring valueName;  // RegistryValue
};

struct UninstallLog {
  std::wstring productName;
  std::wstring productVersion;
  std::wstring website;
  std::wstring installFolder;  // as written, normally with its trailing backslash
  int32_t entryCount = 0;
  std::vector<UninstallRecord> records;  // in file order
};

enum class LogStatus {
  Ok,
  Missing,        // the file cannot be opened
  WrongVersion,   // no version number, or not 7
  ShortHeader,    // a header line or the entry count is missing
  CutRecord,      // a record's data lines are missing, or the last line has no line end
  TooLarge,       // more than the reader accepts
};

// Parses the bytes of a log. Lines that are not one of the four markers (outside a
// record's data lines) are passed over, as the setup may add others later.
LogStatus ParseUninstallLog(const std::string& bytes, UninstallLog* log);
// Reads and parses the file at path.
LogStatus ReadUninstallLog(const std::wstring& path, UninstallLog* log);

#endif
