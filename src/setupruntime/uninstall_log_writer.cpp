#include "setupruntime/uninstall_log_writer.h"

#include <initializer_list>

#include "common/linefile.h"

namespace {

void WriteRecord(UninstallLogWriter* log, std::initializer_list<std::wstring> lines) {
  if (log->file == 0) return;
  for (const std::wstring& line : lines) LineFileWriteLine(log->file, line);
}

}  // namespace

int OpenUninstallLog(UninstallLogWriter* log, const std::wstring& path, const UninstallLogHeader& header) {
  CloseUninstallLog(log);
  int file = static_cast<int>(LineFileCreate(kAnyNumber, path));
  if (file == 0) return 0;
  bool ok = LineFileWriteInt32(file, kUninstallLogVersion) && LineFileWriteLine(file, header.productName) &&
            LineFileWriteLine(file, header.productVersion) && LineFileWriteLine(file, header.website) &&
            LineFileWriteLine(file, header.installFolder) && LineFileWriteInt32(file, header.entryCount);
  if (!ok) {
    LineFileClose(file);
    return 0;
  }
  log->file = file;
  return 1;
}

void CloseUninstallLog(UninstallLogWriter* log) {
  if (log->file != 0) LineFileClose(log->file);
  log->file = 0;
}

void LogInstalledFile(UninstallLogWriter* log, const std::wstring& path) { WriteRecord(log, {L"#DF", path}); }

void LogInstalledFolder(UninstallLogWriter* log, const std::wstring& path) { WriteRecord(log, {L"#DD", path}); }

void LogRegistryKey(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& key) {
  WriteRecord(log, {L"#DRK", rootName, key});
}

void LogRegistryValue(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& subKey,
                      const std::wstring& valueName) {
  WriteRecord(log, {L"#DRV", rootName, subKey, valueName});
}
