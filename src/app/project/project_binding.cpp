#include "app/project/project_binding.h"

#include "app/controls.h"
#include "app/mainwindow.h"
#include "app/project/editor_stream.h"
#include "app/project/project_file.h"
#include "app/project_state.h"
#include "common/gui.h"

namespace {

// Rows are added as one text with the columns separated by line feeds.
std::string Row(std::initializer_list<std::string> columns) {
  std::string text;
  for (const std::string& c : columns) {
    if (&c != columns.begin()) text += '\n';
    text += c;
  }
  return text;
}

}  // namespace

SetupProject ReadProjectFromControls() {
  SetupProject p;
  p.programName = GetControlText(ctl::kProgramName);
  p.programVersion = GetControlText(ctl::kProgramVersion);
  p.win2000 = GetControlState(ctl::kWin2000);
  p.winXP = GetControlState(ctl::kWinXP);
  p.winServer2003 = GetControlState(ctl::kWinServer2003);
  p.winVista = GetControlState(ctl::kWinVista);
  p.winServer2008 = GetControlState(ctl::kWinServer2008);
  p.win7 = GetControlState(ctl::kWin7);
  p.win8 = GetControlState(ctl::kWin8);
  p.companyName = GetControlText(ctl::kCompany);
  p.website = GetControlText(ctl::kWebsite);
  p.startMenuAllUsers = GetControlState(ctl::kStartMenuAllUsers);
  p.desktopAllUsers = GetControlState(ctl::kDesktopAllUsers);
  p.compression = GetControlState(ctl::kCompression);

  p.wizardImage = GetControlText(ctl::kWizardImage);
  p.headerImage = GetControlText(ctl::kHeaderImage);
  p.iconImage = GetControlText(ctl::kIconImage);
  p.showLabel = GetControlState(ctl::kShowLabel);
  p.xpStyle = GetControlState(ctl::kStyleXP);

  p.useZip = GetControlState(ctl::kUseZip);
  p.zipFile = GetControlText(ctl::kZipPath);
  p.installPath = GetControlText(ctl::kInstallPath);
  p.allowChangePath = GetControlState(ctl::kAllowChangePath);

  p.visitWebsite = GetControlState(ctl::kVisitWebsite);
  p.uninstallWebsite = GetControlText(ctl::kUninstallWebsite);
  p.includeUninstaller = GetControlState(ctl::kIncludeUninstaller);
  p.uninstallerName = GetControlText(ctl::kUninstallerName);

  p.showLicence = GetControlState(ctl::kShowLicence);

  p.runProgram = GetControlState(ctl::kRunProgram);
  p.reboot = GetControlState(ctl::kReboot);
  p.loadDll = GetControlState(ctl::kLoadDll);
  p.programLine = GetControlText(ctl::kRunProgramLine);
  p.dllPath = GetControlText(ctl::kDllPath);

  p.allowChangeStartMenu = GetControlState(ctl::kAllowChangeStartMenu);
  p.startMenuFolder = GetControlText(ctl::kStartMenuFolder);

  p.splashImage = GetControlText(ctl::kSplashImage);
  p.splashSound = GetControlText(ctl::kSplashSound);
  p.splashTime = GetControlText(ctl::kSplashTime);
  p.playSound = GetControlState(ctl::kPlaySound);
  p.showSplash = GetControlState(ctl::kShowSplash);

  p.setupFile = GetControlText(ctl::kSetupFile);

  p.includeUpdater = GetControlState(ctl::kIncludeUpdater);
  p.productName = GetControlText(ctl::kProductName);
  p.productVersion = GetControlText(ctl::kProductVersion);
  p.mainAddress = GetControlText(ctl::kMainAddress);
  p.altAddress1 = GetControlText(ctl::kAltAddress1);
  p.altAddress2 = GetControlText(ctl::kAltAddress2);
  p.updateFileName = GetControlText(ctl::kUpdateFileName);
  p.updaterLanguage = GetControlState(ctl::kUpdaterLanguage);
  p.updaterProgramFile = GetControlText(ctl::kUpdaterProgramFile);
  p.updaterRunProgram = GetControlState(UpdaterRunProgramBox);
  p.updaterTerminate = GetControlState(UpdaterTerminateBox);

  for (int i = 0, n = CountControlItems(ctl::kLanguages); i < n; ++i)
    if (GetItemState(ctl::kLanguages, i) & kItemChecked) p.checkedLanguages.push_back(i);

  // Column 0 of the files list is the empty zero-width one.
  for (int i = 0, n = CountControlItems(ctl::kFiles); i < n; ++i)
    p.files.push_back({GetItemText(ctl::kFiles, i, 1), GetItemText(ctl::kFiles, i, 2), GetItemText(ctl::kFiles, i, 3)});
  for (int i = 0, n = CountControlItems(ctl::kRegistry); i < n; ++i)
    p.registry.push_back({GetItemText(ctl::kRegistry, i, 0), GetItemText(ctl::kRegistry, i, 1),
                          GetItemText(ctl::kRegistry, i, 2), GetItemText(ctl::kRegistry, i, 3),
                          static_cast<int>(GetItemData(ctl::kRegistry, i))});
  for (int i = 0, n = CountControlItems(ctl::kShortcuts); i < n; ++i)
    p.shortcuts.push_back({GetItemText(ctl::kShortcuts, i, 0), GetItemText(ctl::kShortcuts, i, 1),
                           GetItemText(ctl::kShortcuts, i, 2), GetItemText(ctl::kShortcuts, i, 3)});
  for (int i = 0, n = CountControlItems(ctl::kVariables); i < n; ++i)
    p.variables.push_back({GetItemText(ctl::kVariables, i, 0), GetItemText(ctl::kVariables, i, 1),
                           GetItemText(ctl::kVariables, i, 2), GetItemText(ctl::kVariables, i, 3),
                           GetItemText(ctl::kVariables, i, 4)});
  for (int i = 0, n = CountControlItems(ctl::kCommands); i < n; ++i)
    p.commands.push_back({GetItemText(ctl::kCommands, i, 0), GetItemText(ctl::kCommands, i, 1),
                          GetItemText(ctl::kCommands, i, 2), GetItemText(ctl::kCommands, i, 3)});

  p.licenceRtf = EditorToRtf(ControlHandle(ctl::kLicenceEditor));
  return p;
}

void WriteProjectToControls(const SetupProject& p) {
  SetControlText(ctl::kProgramName, p.programName);
  SetControlText(ctl::kProgramVersion, p.programVersion);
  SetControlState(ctl::kWin2000, p.win2000);
  SetControlState(ctl::kWinXP, p.winXP);
  SetControlState(ctl::kWinServer2003, p.winServer2003);
  SetControlState(ctl::kWinVista, p.winVista);
  SetControlState(ctl::kWinServer2008, p.winServer2008);
  SetControlState(ctl::kWin7, p.win7);
  SetControlState(ctl::kWin8, p.win8);
  SetControlText(ctl::kCompany, p.companyName);
  SetControlText(ctl::kWebsite, p.website);
  SetControlState(ctl::kStartMenuAllUsers, p.startMenuAllUsers);
  SetControlState(ctl::kDesktopAllUsers, p.desktopAllUsers);
  SetControlState(ctl::kCompression, p.compression);

  SetControlText(ctl::kWizardImage, p.wizardImage);
  SetControlText(ctl::kHeaderImage, p.headerImage);
  SetControlText(ctl::kIconImage, p.iconImage);
  SetControlState(ctl::kShowLabel, p.showLabel);
  // Setting one option does not clear the other: both are set.
  SetControlState(ctl::kStyleXP, p.xpStyle ? 1 : 0);
  SetControlState(ctl::kStyle2000, p.xpStyle ? 0 : 1);

  SetControlState(ctl::kUseZip, p.useZip);
  SetControlText(ctl::kZipPath, p.zipFile);
  SetControlText(ctl::kInstallPath, p.installPath);
  SetControlState(ctl::kAllowChangePath, p.allowChangePath);

  SetControlState(ctl::kVisitWebsite, p.visitWebsite);
  SetControlText(ctl::kUninstallWebsite, p.uninstallWebsite);
  SetControlState(ctl::kIncludeUninstaller, p.includeUninstaller);
  SetControlText(ctl::kUninstallerName, p.uninstallerName);

  SetControlState(ctl::kShowLicence, p.showLicence);

  SetControlState(ctl::kRunProgram, p.runProgram);
  SetControlState(ctl::kReboot, p.reboot);
  SetControlState(ctl::kLoadDll, p.loadDll);
  SetControlText(ctl::kRunProgramLine, p.programLine);
  SetControlText(ctl::kDllPath, p.dllPath);

  SetControlState(ctl::kAllowChangeStartMenu, p.allowChangeStartMenu);
  SetControlText(ctl::kStartMenuFolder, p.startMenuFolder);

  SetControlText(ctl::kSplashImage, p.splashImage);
  SetControlText(ctl::kSplashSound, p.splashSound);
  SetControlText(ctl::kSplashTime, p.splashTime);
  SetControlState(ctl::kPlaySound, p.playSound);
  SetControlState(ctl::kShowSplash, p.showSplash);

  SetControlText(ctl::kSetupFile, p.setupFile);

  SetControlState(ctl::kIncludeUpdater, p.includeUpdater);
  SetControlText(ctl::kProductName, p.productName);
  SetControlText(ctl::kProductVersion, p.productVersion);
  SetControlText(ctl::kMainAddress, p.mainAddress);
  SetControlText(ctl::kAltAddress1, p.altAddress1);
  SetControlText(ctl::kAltAddress2, p.altAddress2);
  SetControlText(ctl::kUpdateFileName, p.updateFileName);
  SetControlState(ctl::kUpdaterLanguage, p.updaterLanguage);
  SetControlText(ctl::kUpdaterProgramFile, p.updaterProgramFile);
  SetControlState(UpdaterRunProgramBox, p.updaterRunProgram);
  SetControlState(UpdaterTerminateBox, p.updaterTerminate);

  // Check marks only; the selection stays where it is.
  int languages = CountControlItems(ctl::kLanguages);
  for (int i = 0; i < languages; ++i)
    SetItemState(ctl::kLanguages, i, GetItemState(ctl::kLanguages, i) & kItemSelected);
  for (int position : p.checkedLanguages)
    if (position >= 0 && position < languages)
      SetItemState(ctl::kLanguages, position, GetItemState(ctl::kLanguages, position) | kItemChecked);

  ClearControlItems(ctl::kFiles);
  for (const FileEntry& e : p.files) AddControlItem(ctl::kFiles, -1, Row({"", e.path, e.size, e.type}));
  ClearControlItems(ctl::kRegistry);
  for (const RegistryEntry& e : p.registry)
    AddControlItem(ctl::kRegistry, -1, Row({e.rootKey, e.subKey, e.valueName, e.valueData}), e.removeFlag);
  ClearControlItems(ctl::kShortcuts);
  for (const ShortcutEntry& e : p.shortcuts)
    AddControlItem(ctl::kShortcuts, -1, Row({e.destination, e.name, e.target, e.arguments}));
  ClearControlItems(ctl::kVariables);
  for (const VariableEntry& e : p.variables)
    AddControlItem(ctl::kVariables, -1, Row({e.name, e.rootKey, e.subKey, e.valueName, e.defaultValue}));
  ClearControlItems(ctl::kCommands);
  for (const CommandEntry& e : p.commands)
    AddControlItem(ctl::kCommands, -1, Row({e.type, e.program, e.parameters, e.options}));

  RtfToEditor(ControlHandle(ctl::kLicenceEditor), p.licenceRtf);
}

int LoadProject(const std::string& path, std::string* error) {
  SetupProject project;
  if (!LoadProjectFile(path, project, error)) return 0;
  WriteProjectToControls(project);
  ProjectPath = path;
  SetWindowTitle(ctl::kMainWindow, "Zendrikolbar - " + path);
  return 1;
}

int SaveProject(const std::string& path, std::string* error) {
  return SaveProjectFile(path, ReadProjectFromControls(), error);
}
