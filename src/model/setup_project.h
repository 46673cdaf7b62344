// The project as a plain value. The main window's controls are the project's store; Save
// and Build read them into a SetupProject, Load writes one back, and the project-file codec
// and the builder work on the value alone, so they run (and are tested) without a window.
//
// A single-valued setting is a member here plus one row of the field table
// (model/project_fields.h), which gives its file key, control, start-up value and the
// value New gives it; the codec, the binding to the controls, DefaultProject, ProjectAfterNew
// and equality all follow the table.
#ifndef ZK_MODEL_SETUP_PROJECT_H
#define ZK_MODEL_SETUP_PROJECT_H

#include <string>
#include <vector>

// A row of the files list: the source path (a folder path ends with "\"), its size as shown
// ("n/a" for a folder) and its type (the extension, or "[Folder]").
struct FileEntry {
  std::string path;
  std::string size;
  std::string type;
};

// A registry value the setup writes; removeFlag 1 removes it again at uninstall.
struct RegistryEntry {
  std::string rootKey;  // "HKEY_CURRENT_USER" and the like
  std::string subKey;
  std::string valueName;
  std::string valueData;
  int removeFlag = 0;
};

struct ShortcutEntry {
  std::string destination;  // "Desktop" or "Startmenu"
  std::string name;
  std::string target;
  std::string arguments;
};

// A setup environment variable read from the registry at install time.
struct VariableEntry {
  std::string name;
  std::string rootKey;
  std::string subKey;
  std::string valueName;
  std::string defaultValue;
};

struct CommandEntry {
  std::string type;  // "Execute application" or "Shell execute"
  std::string program;
  std::string parameters;
  std::string options;  // words such as "-wait" and "-hide"
};

// Check boxes hold 0 or 1, combo boxes the index of the selected entry.
struct SetupProject {
  // General.
  std::string programName;
  std::string programVersion;
  int win2000 = 0;
  int winXP = 0;
  int winServer2003 = 0;
  int winVista = 0;
  int winServer2008 = 0;
  int win7 = 0;
  int win8 = 0;
  std::string companyName;
  std::string website;
  int startMenuAllUsers = 0;
  int desktopAllUsers = 0;
  int compression = 0;  // 0 none, 1 deflate

  // Graphics.
  std::string wizardImage;  // "<main>" = the setup's built-in picture
  std::string headerImage;
  std::string iconImage;
  int showLabel = 0;
  int xpStyle = 0;  // 1 Windows XP style, 0 Windows 2000 style

  // Files.
  int useZip = 0;
  std::string zipFile;
  std::string installPath;
  int allowChangePath = 0;

  // Uninstall.
  int visitWebsite = 0;
  std::string uninstallWebsite;
  int includeUninstaller = 0;
  std::string uninstallerName;

  // Licence.
  int showLicence = 0;

  // Finish.
  int runProgram = 0;
  int reboot = 0;
  int loadDll = 0;
  std::string programLine;
  std::string dllPath;

  // Shortcuts.
  int allowChangeStartMenu = 0;
  std::string startMenuFolder;

  // Splash screen.
  std::string splashImage;
  std::string splashSound;
  std::string splashTime;  // seconds, as typed
  int playSound = 0;
  int showSplash = 0;

  // Build.
  std::string setupFile;

  // Update client.
  int includeUpdater = 0;
  std::string productName;
  std::string productVersion;
  std::string mainAddress;
  std::string altAddress1;
  std::string altAddress2;
  std::string updateFileName;  // without ".exe"
  int updaterLanguage = 0;     // 0 English, 1 German
  std::string updaterProgramFile;
  int updaterRunProgram = 0;
  int updaterTerminate = 0;

  // Positions (from 0) of the checked entries of the language list, in list order.
  std::vector<int> checkedLanguages;
  std::vector<FileEntry> files;
  std::vector<RegistryEntry> registry;
  std::vector<ShortcutEntry> shortcuts;
  std::vector<VariableEntry> variables;
  std::vector<CommandEntry> commands;
  // The licence text as the editor streams it out in RTF; empty for no text.
  std::string licenceRtf;
};

// The values the main window starts with.
SetupProject DefaultProject();
// The values the New command puts in the window; a few differ from the start-up ones.
SetupProject ProjectAfterNew();

bool operator==(const FileEntry& a, const FileEntry& b);
bool operator==(const RegistryEntry& a, const RegistryEntry& b);
bool operator==(const ShortcutEntry& a, const ShortcutEntry& b);
bool operator==(const VariableEntry& a, const VariableEntry& b);
bool operator==(const CommandEntry& a, const CommandEntry& b);
bool operator==(const SetupProject& a, const SetupProject& b);
inline bool operator!=(const SetupProject& a, const SetupProject& b) { return !(a == b); }

#endif
