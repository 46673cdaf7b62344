// The parts of the installation, one file each, sharing the state of one run.
#ifndef ZK_SETUPRUNTIME_INSTALL_STEPS_H
#define ZK_SETUPRUNTIME_INSTALL_STEPS_H

#include <string>
#include <vector>

#include "common/placeholders.h"
#include "setupruntime/install.h"
#include "setupruntime/uninstall_log_writer.h"
#include "setupruntime/zip_reader.h"

struct InstallRun {
  const InstallInputs* in = nullptr;
  InstallUi* ui = nullptr;
  std::wstring folder;  // the installation folder, with its trailing backslash
  SetupProduct product;
  std::vector<TextVariable> variables;
  bool logging = false;  // the uninstaller is installed, so everything made is recorded
  UninstallLogWriter log;
  int counter = 0;                    // progress
  std::vector<std::wstring> folders;  // folders of the archive, in archive order
};

// Placeholders and variables of text resolved for this installation.
std::wstring Resolve(const InstallRun& run, const std::wstring& text);

// Extracts every archive entry into the installation folder, asking Abort / Retry /
// Ignore for entries that fail; entries with unsafe names are left out and listed once
// at the end. 0 when the user chose Abort or the archive's directory could not be read
// (the setup was ended), else 1.
int InstallArchiveFiles(InstallRun* run, ZipReader* zip);

// The Add/Remove Programs key of the product.
extern const wchar_t kUninstallKeyBase[];  // "Software\Microsoft\Windows\CurrentVersion\Uninstall\"
void WriteUninstallKey(const SetupConfig& config, const std::wstring& uninstallerPath);
// Whether the product's key already starts the uninstaller at uninstallerPath (the
// product is installed again into the same folder).
bool UninstallKeyNames(const SetupConfig& config, const std::wstring& uninstallerPath);
void InstallRegistryValues(InstallRun* run);

void InstallShortcuts(InstallRun* run);

void RunInstallCommands(const InstallRun& run);

#endif
