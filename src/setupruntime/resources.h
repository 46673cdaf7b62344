// The resource files the setup reads from its work folder: SC.dat (settings), OS.dat
// (supported systems) and the line files, read into plain records. SC.dat and OS.dat are
// preference files in UTF-8; the line files hold UTF-8 lines. A missing file reads as its
// defaults or as a file without records.
#ifndef ZK_SETUPRUNTIME_RESOURCES_H
#define ZK_SETUPRUNTIME_RESOURCES_H

#include <stdint.h>

#include <string>
#include <vector>

// Group "Setup" of SC.dat; the defaults are what a setup without the key gets.
struct SetupConfig {
  std::wstring appName;              // "Appname"
  std::wstring version;              // "Version"
  int licence = 0;                   // "Licence"
  int changeApplicationFolder = 0;   // "ChangeApplicationFolder"
  int changeStartMenuFolder = 0;     // "ChangeStartMenuFolder"
  int desktopIcon = 0;               // "Desktopicon"
  int allowDesktopIcons = 0;         // "Allow_Desktopicons" (0 when desktopIcon is 0)
  int allowStartMenuFolder = 0;      // "Allow_StartMenuFolder" (0 when startMenuFolder is 0)
  int label = 0;                     // "label"
  std::wstring installDir;           // "InstallDir", placeholders not yet resolved
  int startMenuFolder = 0;           // "StartMenuFolder"
  int registry = 0;                  // "Registry"
  int addition = 0;                  // "Addition": 1 reboot, 2 run a program, 0 none
  std::wstring programRun;           // "ProgramRun"
  int languages = 1;                 // "Languages"
  std::wstring shortcutFolder;       // "ShortcutFolder", placeholders not yet resolved
  std::wstring dll;                  // "Dll"
  int uninstaller = 0;               // "Uninstaller"
  std::wstring uninstallerFilename;  // "UninstallerFilename"
  int uninstallerVisitWebsite = 0;   // "Uninstaller_VW"
  std::wstring website;              // "Website"
  int splashScreen = 0;              // "SplashScreen"
  std::wstring splashTime;           // "SPS_Time"
  std::wstring company;              // "Company"
  std::wstring totalSize;            // "TotalSize"
  std::wstring website1;             // "Website1"
  int startMenuForAllUsers = 0;      // "SFA"
  int desktopForAllUsers = 0;        // "DFA"
};

// OS.dat: 1 for each system the setup supports.
struct OsConfig {
  int windows2000 = 0;
  int windowsXP = 0;
  int windowsServer2003 = 0;
  int windowsVista = 0;
  int windowsServer2008 = 0;
  int windows7 = 0;
  int windows8 = 0;
};

// Desktop.dat and Startmenu.dat.
struct ShortcutRow {
  std::wstring target;
  std::wstring name;
  std::wstring arguments;
};

// Registry.dat.
struct RegistryRow {
  std::wstring rootKey;
  std::wstring subKey;
  std::wstring valueName;
  std::wstring valueData;
  int32_t removeFlag = 0;
};

// Variables.dat, with the root key as a number; value is filled in later from the registry.
struct VariableRow {
  std::wstring name;
  std::wstring rootKeyName;
  std::wstring subKey;
  std::wstring valueName;
  std::wstring defaultValue;
  uint64_t rootKey = 0x80000000;  // 0x80000001 HKEY_CURRENT_USER ...; HKEY_CLASSES_ROOT for any other name
  std::wstring value;
};

// Commands.dat; the texts stay unresolved until the command runs.
struct CommandRow {
  int type = 0;  // 1 for "Shell execute", else 0
  std::wstring program;
  std::wstring parameters;
  std::wstring options;
};

// Each reader takes the work folder (ends with "\").
SetupConfig ReadSetupConfig(const std::wstring& folder);
OsConfig ReadOsConfig(const std::wstring& folder);
// 1 when osName is one of the seven systems and OS.dat marks it.
int IsOsSupported(const OsConfig& os, const std::wstring& osName);

std::vector<std::wstring> ReadLanguageNames(const std::wstring& folder);
std::vector<ShortcutRow> ReadDesktopShortcuts(const std::wstring& folder);
std::vector<ShortcutRow> ReadStartMenuShortcuts(const std::wstring& folder);
std::vector<RegistryRow> ReadRegistryRows(const std::wstring& folder);
std::vector<VariableRow> ReadVariableRows(const std::wstring& folder);
std::vector<CommandRow> ReadCommandRows(const std::wstring& folder);

#endif
