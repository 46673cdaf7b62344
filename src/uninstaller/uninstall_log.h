// The uninstall log ("uninstall.dat") that the setup writes into the installation folder
// (model/uninstall_log_format.h has the layout).
//
// The log is read whole and checked before anything is removed. A setup that was
// cancelled or died while it wrote a record leaves the file ending inside that record:
// such a log is used up to its last whole record, so the partial installation can still
// be removed. Any other damage (wrong version, short header, a record broken off in the
// middle) refuses the log as a whole, so a damaged log never leads to a half-done removal.
#ifndef ZK_UNINSTALLER_UNINSTALL_LOG_H
#define ZK_UNINSTALLER_UNINSTALL_LOG_H

#include <stdint.h>

#include <string>
#include <vector>

#include "model/uninstall_log_format.h"

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
  bool cut = false;                      // the file ended inside a record, which was left out
  size_t wholeLength = 0;                // bytes up to the end of the last whole record (or the header)
  std::string sha256;                    // SHA-256 of those bytes, lowercase hex
};

enum class LogStatus {
  Ok,
  Missing,       // the file cannot be opened
  WrongVersion,  // no version number, or not 7
  ShortHeader,   // a header line or the entry count is missing
  CutRecord,     // a record's data lines are missing with more of the file after them
  TooLarge,      // more than the reader accepts
};

// Parses the bytes of a log. Lines that are not one of the four markers (outside a
// record's data lines) are passed over, as the setup may add others later. A file that
// ends inside a record (a last line without its line end, or data lines missing at the
// end) gives Ok with the whole records before it and cut set.
LogStatus ParseUninstallLog(const std::string& bytes, UninstallLog* log);
// Reads and parses the file at path.
LogStatus ReadUninstallLog(const std::wstring& path, UninstallLog* log);

#endif
