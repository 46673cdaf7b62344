#include "setupruntime/uninstall_log_writer.h"

#include <initializer_list>

#include "common/files.h"
#include "common/linefile.h"
#include "common/registry_helper.h"
#include "common/text.h"

namespace {

void StoreDigest(const UninstallLogWriter& log) {
  if (log.digestKey.empty()) return;
  std::wstring digest = Utf8ToWide(Sha256HexDigest(log.digest));
  WriteRegistryString(HKEY_LOCAL_MACHINE, log.digestKey, kUninstallLogDigestValue, digest);
  TakeRegistryError();
}

// Writes bytes as one piece and takes them into the digest. A failed write may have put
// part of them on disk: nothing more is appended then, so the log stays one that ends
// inside its last record, which the uninstaller still reads up to there.
bool Append(UninstallLogWriter* log, const std::string& bytes) {
  if (!FileWriteBytes(log->file, bytes.data(), bytes.size())) {
    CloseUninstallLog(log);
    return false;
  }
  Sha256Update(&log->digest, bytes.data(), bytes.size());
  return true;
}

// A record goes to the file in one write, marker and data lines together: a setup that
// is cancelled or dies between two writes then leaves whole records, and at worst one
// cut at the very end, which the uninstaller can tell apart from damage.
void WriteRecord(UninstallLogWriter* log, RecordKind kind, std::initializer_list<std::wstring> data) {
  if (log->file == 0) return;
  std::string bytes = WideToUtf8(FormatOf(kind).marker) + "\r\n";
  for (const std::wstring& line : data) {
    // A line break inside a line would split the record and shift every later one.
    if (line.find_first_of(L"\r\n") != std::wstring::npos) return;
    bytes += WideToUtf8(line) + "\r\n";
  }
  if (Append(log, bytes)) StoreDigest(*log);
}

std::string Int32Bytes(int32_t value) {
  std::string b;
  for (int i = 0; i < 4; ++i) b += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
  return b;
}

}  // namespace

int OpenUninstallLog(UninstallLogWriter* log, const std::wstring& path, const UninstallLogHeader& header) {
  CloseUninstallLog(log);
  const std::wstring* lines[] = {&header.productName, &header.productVersion, &header.website, &header.installFolder};
  for (const std::wstring* line : lines) {
    if (line->find_first_of(L"\r\n") != std::wstring::npos) return 0;
  }
  int file = static_cast<int>(LineFileCreate(kAnyNumber, path));
  if (file == 0) return 0;
  std::string bytes = Int32Bytes(kUninstallLogVersion);
  for (const std::wstring* line : lines) bytes += WideToUtf8(*line) + "\r\n";
  bytes += Int32Bytes(header.entryCount);
  log->file = file;
  Sha256Init(&log->digest);
  return Append(log, bytes) ? 1 : 0;
}

void CloseUninstallLog(UninstallLogWriter* log) {
  if (log->file != 0) LineFileClose(log->file);
  log->file = 0;
  log->digestKey.clear();
}

void BindUninstallLog(UninstallLogWriter* log, const std::wstring& key) {
  if (log->file == 0) return;
  log->digestKey = key;
  StoreDigest(*log);
}

void LogInstalledFile(UninstallLogWriter* log, const std::wstring& path) { WriteRecord(log, RecordKind::File, {path}); }

void LogInstalledFolder(UninstallLogWriter* log, const std::wstring& path) {
  WriteRecord(log, RecordKind::Folder, {path});
}

void LogRegistryKey(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& key) {
  WriteRecord(log, RecordKind::RegistryKey, {rootName, key});
}

void LogRegistryValue(UninstallLogWriter* log, const std::wstring& rootName, const std::wstring& subKey,
                      const std::wstring& valueName) {
  WriteRecord(log, RecordKind::RegistryValue, {rootName, subKey, valueName});
}
