// The installation, in the order the user sees it on the installing page: files, the
// uninstaller and its record, shortcuts, registry values, then the author's commands.
#include "setupruntime/install.h"

#include <windows.h>
#include <objbase.h>

#include "common/failure_log.h"
#include "common/files.h"
#include "common/setup_environment.h"
#include "model/uninstall_log_format.h"
#include "setupruntime/install_steps.h"
#include "setupruntime/startup_rules.h"
#include "setupruntime/work_folder.h"

std::wstring Resolve(const InstallRun& run, const std::wstring& text) {
  return SubstitutePlaceholders(text, run.folder, run.product, run.variables);
}

namespace {

// "C:\..." or "\\server\share\...": a folder that does not depend on the current folder
// or drive, which is where a relative or empty field would otherwise put the files.
bool IsFullPath(const std::wstring& path) {
  bool drive = path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
  bool share = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
  return drive || share;
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
  // A read-only uninstaller left by an earlier installation is replaced all the same.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  int file = static_cast<int>(FileCreate(kAnyNumber, path));
  if (file == 0) return false;
  bool ok = FileWriteBytes(file, data, size) != 0;
  FileClose(file);
  return ok;
}

// The uninstaller, its language and the head of its log. Failures are not reported: the
// product still installs, only without a working uninstaller.
void InstallUninstaller(InstallRun* run, int64_t entries) {
  const InstallInputs& in = *run->in;
  const SetupConfig& config = in.config;
  const std::wstring uninstaller = run->folder + config.uninstallerFilename + L".exe";
  if (in.uninstallerImage != nullptr) WriteWholeFile(uninstaller, in.uninstallerImage, in.uninstallerImageSize);
  CopyFileW(in.texts.languageFile.c_str(), (run->folder + kUninstallTextsFile).c_str(), FALSE);
  UninstallLogHeader header;
  header.productName = config.appName;
  header.productVersion = config.version;
  if (config.uninstallerVisitWebsite == 1) header.website = config.website;
  header.installFolder = run->folder;
  header.entryCount = static_cast<int32_t>(entries);
  OpenUninstallLog(&run->log, run->folder + kUninstallLogFile, header);
  // Installed again into the same folder: the key of the earlier installation already
  // names this uninstaller, which would hold the new log against the old digest if the
  // setup stopped before the key is written anew.
  if (UninstallKeyNames(config, uninstaller)) BindUninstallLog(&run->log, kUninstallKeyBase + config.appName);
}

// Records the archive's folders, deepest last made first, and the Add/Remove entry.
void RecordFoldersAndUninstallKey(InstallRun* run) {
  for (auto it = run->folders.rbegin(); it != run->folders.rend(); ++it) LogInstalledFolder(&run->log, *it);
  const SetupConfig& config = run->in->config;
  // Without a product name the key would be the Uninstall key itself, and the uninstaller
  // would be told to delete that.
  if (config.appName.empty()) return;
  WriteUninstallKey(config, run->folder + config.uninstallerFilename + L".exe");
  BindUninstallLog(&run->log, kUninstallKeyBase + config.appName);
  LogRegistryKey(&run->log, L"HKEY_LOCAL_MACHINE", kUninstallKeyBase + config.appName);
}

int Fail(InstallRun* run, const std::wstring& title, const std::wstring& text, const FailureCause& cause) {
  ReportFailure(cause);
  run->ui->ShowError(title, text);
  run->ui->EndSetup();
  return 0;
}

int Install(InstallRun* run, ZipReader** zip) {
  const InstallInputs& in = *run->in;
  InstallUi& ui = *run->ui;
  SetSetupEnvironment(run->folder, in.languageName);

  *zip = OpenZipReader(in.setupPath, in.archive);
  int64_t entries = ZipEntryCount(*zip);
  if (entries < 0)
    return Fail(run, in.texts.couldNotExtractFileH, in.texts.couldNotExtractFile,
                {"read the archive directory", in.setupPath.c_str(), 0, "no directory"});
  if (!IsFullPath(run->folder))
    return Fail(run, L"Error", L"Setup Error!",
                {"create the installation folder", run->folder.c_str(), 0, "not a full path"});
  if (!CreateFolderPath(run->folder)) {
    DWORD error = GetLastError();
    return Fail(run, L"Error", L"Setup Error!", {"create the installation folder", run->folder.c_str(), error});
  }

  if (run->logging) InstallUninstaller(run, entries);
  ui.SetProgressRange(static_cast<int>(entries + 2));
  run->counter = 0;
  if (!InstallArchiveFiles(run, *zip)) return 0;
  ui.SetProgressValue(run->counter);
  ui.SetStatusText(in.texts.installingText3);
  if (run->logging) RecordFoldersAndUninstallKey(run);

  InstallShortcuts(run);
  ui.SetProgressValue(run->counter + 1);
  InstallRegistryValues(run);
  ui.SetProgressValue(run->counter + 1);
  CloseUninstallLog(&run->log);

  RunInstallCommands(*run);
  ui.ShowFinishPage();
  ui.SetProgressValue(0);
  return 1;
}

}  // namespace

int RunInstall(const InstallInputs& in, InstallUi& ui) {
  // Shell links and the shell's program start need COM on this thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  InstallRun run;
  run.in = &in;
  run.ui = &ui;
  run.folder = in.installFolderField;
  if (!run.folder.empty() && run.folder.back() != L'\\') run.folder += L'\\';
  run.product = SetupProduct{in.config.appName, in.config.version, in.config.company, in.config.website1};
  run.variables = TextVariables(in.variables);
  run.logging = in.config.uninstaller == 1;

  ZipReader* zip = nullptr;
  int result = Install(&run, &zip);
  CloseUninstallLog(&run.log);
  CloseZipReader(zip);
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}
