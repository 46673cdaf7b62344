#include "setupruntime/startup.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/failure_log.h"
#include "common/files.h"
#include "common/fonts.h"
#include "common/images.h"
#include "common/path_split.h"
#include "common/prefs.h"
#include "common/registry_helper.h"
#include "common/resource_data.h"
#include "common/scoped.h"
#include "model/setup_files.h"
#include "common/text.h"
#include "setupruntime/builtin_resources.h"
#include "setupruntime/language_window.h"
#include "setupruntime/os_name.h"
#include "setupruntime/payload.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/splash.h"
#include "setupruntime/startup_rules.h"
#include "setupruntime/wizard.h"
#include "setupruntime/work_folder.h"

namespace {

const wchar_t kSetupError[] = L"Setup Error!";

// The user sees text alone; what went wrong is kept for the failure log.
[[noreturn]] void Fail(const std::wstring& text, const FailureCause& cause) {
  ReportFailure(cause);
  SetupMessage(L"Error", text, MB_OK | MB_ICONSTOP);
  ExitSetup(1);
}

// FileSize answers -1 for nothing and -2 for a folder.
bool IsFile(const std::wstring& path) { return FileSize(path) >= 0; }

// A file of the work folder that could not be used: the system's error when it is not
// there, else that it is there and still would not do.
[[noreturn]] void FailOnWorkFile(const char* step, const std::wstring& path) {
  DWORD error = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
  Fail(kSetupError, {step, path.c_str(), error, error ? "" : "unusable"});
}

// A result of CopyPayloadCabinet other than kPayloadOk; error is the system's error of the
// step that failed.
[[noreturn]] void FailOnPayload(int result, const std::wstring& setupPath, const std::wstring& cabinet, DWORD error) {
  if (result == kPayloadCannotOpen) Fail(kSetupError, {"open the setup file", setupPath.c_str(), error});
  if (result == kPayloadDamaged)
    Fail(kSetupError, {"read the payload", setupPath.c_str(), 0, "cabinet length out of bounds"});
  Fail(kSetupError, {"copy the payload cabinet", cabinet.c_str(), error});
}

bool WriteResourceTo(int id, const std::wstring& path) {
  const void* data = nullptr;
  size_t size = 0;
  if (!RcDataResource(nullptr, id, &data, &size)) return false;
  ScopedHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  DWORD put = 0;
  BOOL ok = WriteFile(h.get(), data, static_cast<DWORD>(size), &put, nullptr);
  h.reset();
  return ok && put == size;
}

// An image from the work folder when the file is there, else the built-in one. A file
// that is there but does not decode leaves the image out: the author's choice is kept.
void LoadImageOrBuiltIn(int number, const std::wstring& path, int resource) {
  if (IsFile(path)) {
    LoadRuntimeImageW(number, path);
    return;
  }
  const void* data = nullptr;
  size_t size = 0;
  if (RcDataResource(nullptr, resource, &data, &size)) CatchRuntimeImage(number, data, size);
}

void TakeSingleInstance() {
  RuntimeState& r = Runtime();
  SetLastError(ERROR_SUCCESS);
  ScopedHandle m(CreateMutexW(nullptr, TRUE, L"ZK"));
  DWORD error = GetLastError();
  if (!m || error != ERROR_SUCCESS) {
    ReportFailure({"take the single-setup mutex", L"", error, "already running"});
    // ExitSetup ends the process without leaving this scope.
    if (m) ReleaseMutex(m.get());
    m.reset();
    SetupMessage(L"Zendrikolbar",
                 L"There is already an Zendrikolbar setup running! Please close the running setup in order to "
                 L"continue.",
                 MB_OK | MB_ICONINFORMATION);
    ExitSetup(1);
  }
  r.mutex = m.release();
}

void UseOwnFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) {
      DWORD error = GetLastError();
      Fail(kSetupError, {"find the setup's own file", L"", error});
    }
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  Runtime().setupPath = path;
  SetCurrentDirectoryW(PathFolder(path).c_str());
}

void UnpackPayload() {
  RuntimeState& r = Runtime();
  std::wstring folder;
  if (!CreateWorkFolder(&folder)) {
    DWORD error = GetLastError();
    Fail(kSetupError, {"create the work folder", folder.c_str(), error});
  }
  r.workFolder = folder;
  const std::wstring cabinet = folder + L"Setup.cab";
  int copied = CopyPayloadCabinet(r.setupPath, SetupImageSize(), cabinet);
  if (copied != kPayloadOk) FailOnPayload(copied, r.setupPath, cabinet, GetLastError());
  r.archive = PayloadArchiveWindow(r.setupPath, SetupImageSize());
  // A cabinet naming files outside the work folder was not made by the builder: nothing
  // of it is trusted.
  std::vector<std::wstring> unsafe;
  if (!ExtractCabinet(cabinet, folder, &unsafe)) {
    DWORD error = GetLastError();
    Fail(L"Setup Error! -f", {"extract the payload cabinet", cabinet.c_str(), error});
  }
  if (!unsafe.empty())
    Fail(L"Setup Error! -f", {"extract the payload cabinet", unsafe[0].c_str(), 0, "outside the work folder"});
}

void LoadSetupIcon() {
  std::wstring path = Runtime().workFolder + setup_files::kIcon.wide;
  if (FileSize(path) <= 0) WriteResourceTo(ZK_RES_SETUP_ICON_FILE, path);
  if (!LoadRuntimeImageW(kImageIcon, path)) return;
  if (RuntimeImageWidth(kImageIcon) > 48 || RuntimeImageHeight(kImageIcon) > 48) ResizeRuntimeImage(kImageIcon, 48, 48);
}

void CheckSystem() {
  std::wstring os = GetOsName();
  if (!IsOsSupported(ReadOsConfig(Runtime().workFolder), os)) {
    std::wstring list = Runtime().workFolder + setup_files::kSystems.wide;
    std::string name = WideToUtf8(os);
    Fail(L"Your operating system is not supported.", {"check the operating system", list.c_str(), 0, name.c_str()});
  }
}

void ReadLists() {
  RuntimeState& r = Runtime();
  // SC.dat first: a variable's default may name the product or a folder, and those
  // placeholders must be resolved before a missing registry value falls back to it.
  r.config = ReadSetupConfig(r.workFolder);
  SetupProduct product{r.config.appName, r.config.version, r.config.company, r.config.website1};
  r.variables = ReadVariableRows(r.workFolder);
  for (VariableRow& v : r.variables) v.defaultValue = SubstitutePlaceholders(v.defaultValue, L"", product, {});
  ResolveVariableValues(&r.variables, [](const VariableRow& row, std::wstring* text) {
    HKEY root = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(row.rootKey)));
    *text = ReadRegistryValue(root, row.subKey, row.valueName);
    return TakeRegistryError().empty();
  });
  r.commands = ReadCommandRows(r.workFolder);
}

void ReadSettings() {
  RuntimeState& r = Runtime();
  ResolveSetupConfig(&r.config, r.variables);
  if (r.config.startMenuForAllUsers == 1) {
    r.startMenuRoot = GetCommonProgramsFolder();
    r.startMenuCsidl = 0x17;
  } else {
    r.startMenuRoot = GetUserProgramsFolder();
    r.startMenuCsidl = 2;
  }
  r.desktopFolder = r.config.desktopForAllUsers == 1 ? GetCommonDesktopFolder() : GetUserDesktopFolder();
  TakeRegistryError();
}

void LoadPictures() {
  RuntimeState& r = Runtime();
  LoadImageOrBuiltIn(kImageWizard, r.workFolder + setup_files::kWizardImage.wide, ZK_RES_SETUP_WIZARD_PNG);
  LoadImageOrBuiltIn(kImageHeader, r.workFolder + setup_files::kHeaderImage.wide, ZK_RES_SETUP_HEADER_BMP);
  wchar_t system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  std::wstring shell32 = std::wstring(system, n < MAX_PATH ? n : 0) + L"\\Shell32.dll";
  r.folderIcon = ExtractIconW(GetModuleHandleW(nullptr), shell32.c_str(), 19);
  r.startMenuIcon = ExtractIconW(GetModuleHandleW(nullptr), shell32.c_str(), 4);
  const void* data = nullptr;
  size_t size = 0;
  if (RcDataResource(nullptr, ZK_RES_SETUP_SEPARATOR, &data, &size)) CatchRuntimeImage(kImageSeparator, data, size);
  if (IsRuntimeImage(kImageHeader)) ResizeRuntimeImage(kImageHeader, 55, 55);
  if (IsRuntimeImage(kImageWizard)) ResizeRuntimeImage(kImageWizard, 164, 314);
  LoadRuntimeFont(kFontTitle, "Verdana", 11, kFontBold);
  LoadRuntimeFont(kFontHeaderTitle, "Microsoft Sans Serif", 8, kFontBold);
  LoadRuntimeFont(kFontHeaderText, "Microsoft Sans Serif", 8);
}

}  // namespace

void RunSetup() {
  SetPreferenceCodePage(CP_UTF8);
  // The built-in separator is a JPEG; the author's pictures may be JPEG or PNG.
  RegisterJpegDecoder();
  RegisterPngDecoder();
  InitRegistryHelper();
  TakeSingleInstance();
  UseOwnFolder();
  UnpackPayload();
  LoadSetupIcon();
  CheckSystem();
  ReadLists();
  ReadSettings();
  RuntimeState& r = Runtime();
  if (r.config.splashScreen == 1) ShowSplashScreen();
  bool single = r.config.languages == 1;
  if (single) {
    const std::wstring defaultLanguage = r.workFolder + setup_files::kDefaultLanguage.wide;
    if (!ReadLanguageFile(defaultLanguage, r.config.appName, r.config.version, &r.texts))
      FailOnWorkFile("read the language file", defaultLanguage);
  } else if (!IsFile(r.workFolder + setup_files::kLanguages.wide)) {
    FailOnWorkFile("find the list of languages", r.workFolder + setup_files::kLanguages.wide);
  }
  LoadPictures();
  if (single) {
    r.page = 0;
    CreateWizardWindow();
  } else {
    OpenLanguageWindow();
  }
  RunWizardLoop();
}
