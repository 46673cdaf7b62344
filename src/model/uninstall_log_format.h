// The uninstall log ("uninstall.dat") that the setup writes into the installation folder
// and the uninstaller replays: an int32 version, four header lines (product name, product
// version, web site, installation folder), an int32 entry count (entries of the program
// archive), then records until the end of the file. A record is a marker line followed by
// its data lines. Lines are UTF-8 ended by CR LF; the integers are four raw little-endian
// bytes.
#ifndef ZK_MODEL_UNINSTALL_LOG_FORMAT_H
#define ZK_MODEL_UNINSTALL_LOG_FORMAT_H

#include <stdint.h>

constexpr int32_t kUninstallLogVersion = 7;

// The log and the language file the setup ran in (for the uninstaller's texts), both in
// the installation folder beside the uninstaller.
constexpr wchar_t kUninstallLogFile[] = L"uninstall.dat";
constexpr wchar_t kUninstallTextsFile[] = L"uninstall_l.zkl";

enum class RecordKind {
  File,           // path
  Folder,         // path, with its trailing backslash
  RegistryKey,    // root name, key
  RegistryValue,  // root name, sub key, value name
};

struct RecordFormat {
  RecordKind kind;
  const wchar_t* marker;
  int dataLines;
};

// In the order of RecordKind.
inline constexpr RecordFormat kRecordFormats[] = {
    {RecordKind::File, L"#DF", 1},
    {RecordKind::Folder, L"#DD", 1},
    {RecordKind::RegistryKey, L"#DRK", 2},
    {RecordKind::RegistryValue, L"#DRV", 3},
};
constexpr int kMostDataLines = 3;

constexpr const RecordFormat& FormatOf(RecordKind kind) { return kRecordFormats[static_cast<int>(kind)]; }

static_assert(FormatOf(RecordKind::File).kind == RecordKind::File &&
                  FormatOf(RecordKind::Folder).kind == RecordKind::Folder &&
                  FormatOf(RecordKind::RegistryKey).kind == RecordKind::RegistryKey &&
                  FormatOf(RecordKind::RegistryValue).kind == RecordKind::RegistryValue,
              "kRecordFormats follows the order of RecordKind");

#endif
