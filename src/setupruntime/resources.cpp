#include "setupruntime/resources.h"

#include <windows.h>

#include "common/linefile.h"
#include "common/prefs.h"
#include "common/registry_helper.h"
#include "common/text.h"
#include "model/setup_files.h"

namespace {

// Opens a preference file of the work folder. The runtime's texts are UTF-8 throughout.
void OpenUtf8Preferences(const std::wstring& path) {
  SetPreferenceCodePage(CP_UTF8);
  OpenPreferences(WideToUtf8(path));
}

std::wstring Text(const char* key) { return Utf8ToWide(ReadPreferenceString(key, "")); }
int Number(const char* key, int defaultValue) { return ReadPreferenceLong(key, defaultValue); }

// Reads records of `lines` lines each. A record cut short by the end of the file is
// dropped rather than read with missing fields.
template <typename Row, typename Fill>
std::vector<Row> ReadRecords(const std::wstring& path, int lines, bool flag, Fill fill) {
  std::vector<Row> rows;
  int file = static_cast<int>(LineFileOpen(kAnyNumber, path));
  if (file == 0) return rows;
  while (!LineFileEof(file)) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < lines && !LineFileEof(file); ++i) texts.push_back(LineFileReadLine(file));
    if (texts.size() != static_cast<size_t>(lines)) break;
    int32_t value = 0;
    if (flag && !LineFileReadInt32(file, &value)) break;
    Row row;
    fill(texts, value, &row);
    rows.push_back(row);
  }
  LineFileClose(file);
  return rows;
}

std::vector<ShortcutRow> ReadShortcuts(const std::wstring& path) {
  return ReadRecords<ShortcutRow>(path, 3, false, [](const std::vector<std::wstring>& t, int32_t, ShortcutRow* r) {
    *r = {t[0], t[1], t[2]};
  });
}

}  // namespace

SetupConfig ReadSetupConfig(const std::wstring& folder) {
  SetupConfig c;
  OpenUtf8Preferences(folder + setup_files::kSettings.wide);
  PreferenceGroup(sc_keys::kGroup);
  c.appName = Text(sc_keys::kAppName);
  c.version = Text(sc_keys::kVersion);
  c.licence = Number(sc_keys::kLicence, 0);
  c.changeApplicationFolder = Number(sc_keys::kChangeApplicationFolder, 0);
  c.changeStartMenuFolder = Number(sc_keys::kChangeStartMenuFolder, 0);
  c.desktopIcon = Number(sc_keys::kDesktopIcon, 0);
  c.allowDesktopIcons = Number(sc_keys::kAllowDesktopIcons, 0);
  c.allowStartMenuFolder = Number(sc_keys::kAllowStartMenuFolder, 0);
  c.label = Number(sc_keys::kLabel, 0);
  c.installDir = Text(sc_keys::kInstallDir);
  c.startMenuFolder = Number(sc_keys::kStartMenuFolder, 0);
  c.registry = Number(sc_keys::kRegistry, 0);
  c.addition = Number(sc_keys::kAddition, 0);
  c.programRun = Text(sc_keys::kProgramRun);
  c.languages = Number(sc_keys::kLanguages, 1);
  c.shortcutFolder = Text(sc_keys::kShortcutFolder);
  c.dll = Text(sc_keys::kDll);
  c.uninstaller = Number(sc_keys::kUninstaller, 0);
  c.uninstallerFilename = Text(sc_keys::kUninstallerFilename);
  c.uninstallerVisitWebsite = Number(sc_keys::kUninstallerVisitWebsite, 0);
  c.website = Text(sc_keys::kWebsite);
  c.splashScreen = Number(sc_keys::kSplashScreen, 0);
  c.splashTime = Text(sc_keys::kSplashTime);
  c.company = Text(sc_keys::kCompany);
  c.totalSize = Text(sc_keys::kTotalSize);
  c.website1 = Text(sc_keys::kWebsite1);
  c.startMenuForAllUsers = Number(sc_keys::kStartMenuForAllUsers, 0);
  c.desktopForAllUsers = Number(sc_keys::kDesktopForAllUsers, 0);
  ClosePreferences();
  // A check box for shortcuts that do not exist would do nothing.
  if (c.desktopIcon == 0) c.allowDesktopIcons = 0;
  if (c.startMenuFolder == 0) c.allowStartMenuFolder = 0;
  return c;
}

OsConfig ReadOsConfig(const std::wstring& folder) {
  OsConfig os;
  OpenUtf8Preferences(folder + setup_files::kSystems.wide);
  PreferenceGroup("");
  os.windows2000 = Number(os_keys::kWindows2000, 0);
  os.windowsXP = Number(os_keys::kWindowsXP, 0);
  os.windowsServer2003 = Number(os_keys::kWindowsServer2003, 0);
  os.windowsVista = Number(os_keys::kWindowsVista, 0);
  os.windowsServer2008 = Number(os_keys::kWindowsServer2008, 0);
  os.windows7 = Number(os_keys::kWindows7, 0);
  os.windows8 = Number(os_keys::kWindows8, 0);
  ClosePreferences();
  return os;
}

int IsOsSupported(const OsConfig& os, const std::wstring& osName) {
  const std::pair<const wchar_t*, int> systems[] = {
      {L"Windows 2000", os.windows2000},
      {L"Windows XP", os.windowsXP},
      {L"Windows Server 2003", os.windowsServer2003},
      {L"Windows Vista", os.windowsVista},
      {L"Windows Server 2008", os.windowsServer2008},
      {L"Windows 7", os.windows7},
      {L"Windows 8", os.windows8},
  };
  for (const auto& s : systems) {
    if (s.second == 1 && osName == s.first) return 1;
  }
  return 0;
}

std::vector<std::wstring> ReadLanguageNames(const std::wstring& folder) {
  return ReadRecords<std::wstring>(folder + setup_files::kLanguages.wide, 1, false,
                                   [](const std::vector<std::wstring>& t, int32_t, std::wstring* r) { *r = t[0]; });
}

std::vector<ShortcutRow> ReadDesktopShortcuts(const std::wstring& folder) {
  return ReadShortcuts(folder + setup_files::kDesktopShortcuts.wide);
}

std::vector<ShortcutRow> ReadStartMenuShortcuts(const std::wstring& folder) {
  return ReadShortcuts(folder + setup_files::kStartMenuShortcuts.wide);
}

std::vector<RegistryRow> ReadRegistryRows(const std::wstring& folder) {
  return ReadRecords<RegistryRow>(folder + setup_files::kRegistry.wide, 4, true,
                                  [](const std::vector<std::wstring>& t, int32_t flag, RegistryRow* r) {
                                    *r = {t[0], t[1], t[2], t[3], flag};
                                  });
}

std::vector<VariableRow> ReadVariableRows(const std::wstring& folder) {
  return ReadRecords<VariableRow>(
      folder + setup_files::kVariables.wide, 5, false, [](const std::vector<std::wstring>& t, int32_t, VariableRow* r) {
        r->name = t[0];
        r->rootKeyName = t[1];
        r->subKey = t[2];
        r->valueName = t[3];
        r->defaultValue = t[4];
        HKEY root = RootKeyFromName(t[1]);
        // The predefined keys are sign-extended handles; the
        // record keeps the plain 32-bit number (0x80000003...).
        r->rootKey = root != nullptr ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(root)) : 0x80000000u;
      });
}

std::vector<CommandRow> ReadCommandRows(const std::wstring& folder) {
  return ReadRecords<CommandRow>(folder + setup_files::kCommands.wide, 4, false,
                                 [](const std::vector<std::wstring>& t, int32_t, CommandRow* r) {
                                   r->type = t[0] == command_types::kShellExecute.wide ? 1 : 0;
                                   r->program = t[1];
                                   r->parameters = t[2];
                                   r->options = t[3];
                                 });
}
