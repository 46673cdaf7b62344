#include "setupruntime/resources.h"

#include <windows.h>

#include "common/linefile.h"
#include "common/prefs.h"
#include "common/registry_helper.h"
#include "common/text.h"

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
  OpenUtf8Preferences(folder + L"SC.dat");
  PreferenceGroup("Setup");
  c.appName = Text("Appname");
  c.version = Text("Version");
  c.licence = Number("Licence", 0);
  c.changeApplicationFolder = Number("ChangeApplicationFolder", 0);
  c.changeStartMenuFolder = Number("ChangeStartMenuFolder", 0);
  c.desktopIcon = Number("Desktopicon", 0);
  c.allowDesktopIcons = Number("Allow_Desktopicons", 0);
  c.allowStartMenuFolder = Number("Allow_StartMenuFolder", 0);
  c.label = Number("label", 0);
  c.installDir = Text("InstallDir");
  c.startMenuFolder = Number("StartMenuFolder", 0);
  c.registry = Number("Registry", 0);
  c.addition = Number("Addition", 0);
  c.programRun = Text("ProgramRun");
  c.languages = Number("Languages", 1);
  c.shortcutFolder = Text("ShortcutFolder");
  c.dll = Text("Dll");
  c.uninstaller = Number("Uninstaller", 0);
  c.uninstallerFilename = Text("UninstallerFilename");
  c.uninstallerVisitWebsite = Number("Uninstaller_VW", 0);
  c.website = Text("Website");
  c.splashScreen = Number("SplashScreen", 0);
  c.splashTime = Text("SPS_Time");
  c.company = Text("Company");
  c.totalSize = Text("TotalSize");
  c.website1 = Text("Website1");
  c.startMenuForAllUsers = Number("SFA", 0);
  c.desktopForAllUsers = Number("DFA", 0);
  ClosePreferences();
  // A check box for shortcuts that do not exist would do nothing.
  if (c.desktopIcon == 0) c.allowDesktopIcons = 0;
  if (c.startMenuFolder == 0) c.allowStartMenuFolder = 0;
  return c;
}

OsConfig ReadOsConfig(const std::wstring& folder) {
  OsConfig os;
  OpenUtf8Preferences(folder + L"OS.dat");
  PreferenceGroup("");
  os.windows2000 = Number("Windows 2000", 0);
  os.windowsXP = Number("Windows XP", 0);
  os.windowsServer2003 = Number("Windows Server 2003", 0);
  os.windowsVista = Number("Windows Vista", 0);
  os.windowsServer2008 = Number("Windows Server 2008", 0);
  os.windows7 = Number("Windows 7", 0);
  os.windows8 = Number("Windows 8", 0);
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
  return ReadRecords<std::wstring>(folder + L"languages.dat", 1, false,
                                   [](const std::vector<std::wstring>& t, int32_t, std::wstring* r) { *r = t[0]; });
}

std::vector<ShortcutRow> ReadDesktopShortcuts(const std::wstring& folder) {
  return ReadShortcuts(folder + L"Desktop.dat");
}

std::vector<ShortcutRow> ReadStartMenuShortcuts(const std::wstring& folder) {
  return ReadShortcuts(folder + L"Startmenu.dat");
}

std::vector<RegistryRow> ReadRegistryRows(const std::wstring& folder) {
  return ReadRecords<RegistryRow>(folder + L"Registry.dat", 4, true,
                                  [](const std::vector<std::wstring>& t, int32_t flag, RegistryRow* r) {
                                    *r = {t[0], t[1], t[2], t[3], flag};
                                  });
}

std::vector<VariableRow> ReadVariableRows(const std::wstring& folder) {
  return ReadRecords<VariableRow>(
      folder + L"Variables.dat", 5, false, [](const std::vector<std::wstring>& t, int32_t, VariableRow* r) {
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
  return ReadRecords<CommandRow>(folder + L"Commands.dat", 4, false,
                                 [](const std::vector<std::wstring>& t, int32_t, CommandRow* r) {
                                   r->type = t[0] == L"Shell execute" ? 1 : 0;
                                   r->program = t[1];
                                   r->parameters = t[2];
                                   r->options = t[3];
                                 });
}
