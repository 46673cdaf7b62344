// The New command's reset of every project field.
#include "app/controls.h"
#include "app/mainwindow.h"
#include "app/project_state.h"
#include "common/gui.h"

using namespace ctl;

namespace {
void SetSystems() {
  for (int id : {kWin2000, kWinXP, kWinServer2003, kWinVista, kWinServer2008, kWin7, kWin8}) SetControlState(id, 1);
}
}  // namespace

// The order is the one users of the old tool know; a few values differ from the start-up
// ones (desktop shortcuts for all users checked, no trailing "\" on the start-menu folder).
void ResetProject() {
  ClearControlItems(kCommands);
  SetControlText(kProgramName, "");
  SetControlText(kProgramVersion, "");
  SetSystems();
  SetControlText(kCompany, "");
  SetControlText(kWebsite, "http://");
  SetControlText(kWizardImage, "<main>");
  SetControlText(kHeaderImage, "<main>");
  SetControlText(kIconImage, "<main>");
  SetControlState(kShowLabel, 0);
  SetControlState(kStyleXP, 1);
  for (int i = 0, n = CountControlItems(kLanguages); i < n; ++i) SetItemState(kLanguages, i, 0);
  SetControlState(kShowLicence, 0);
  ClearControlItems(kLicenceEditor);
  ClearControlItems(kFiles);
  SetControlState(kUseZip, 0);
  SetControlState(kAllowChangePath, 1);
  SetControlState(kStartMenuAllUsers, 0);
  SetControlState(kDesktopAllUsers, 1);
  SetControlState(kCompression, 1);
  SetControlText(kInstallPath, "<programfiles>\\<company>\\<appname>\\");
  SetControlText(kZipPath, "");
  SetControlState(kVisitWebsite, 0);
  SetControlState(kIncludeUninstaller, 0);
  SetControlText(kUninstallWebsite, "");
  SetControlText(kUninstallerName, "Uninstall");
  SetControlState(kRunProgram, 0);
  SetControlState(kReboot, 0);
  SetControlText(kRunProgramLine, "<installpath>\\");
  SetControlState(kLoadDll, 0);
  SetControlText(kDllPath, "");
  ClearControlItems(kRegistry);
  SetControlState(kAllowChangeStartMenu, 0);
  SetControlText(kStartMenuFolder, "<company>\\<appname>");
  ClearControlItems(kShortcuts);
  ClearControlItems(kVariables);
  SetControlText(kSetupFile, "");
  ClearControlItems(kBuildLog);
  SetWindowTitle(kMainWindow, "Zendrikolbar");
  SetControlText(kSplashSound, "");
  SetControlText(kSplashImage, "");
  SetControlText(kSplashTime, "2");
  SetControlState(kPlaySound, 0);
  SetControlState(kShowSplash, 0);
  SetControlState(kIncludeUpdater, 0);
  SetControlText(kProductName, "<appname>");
  SetControlText(kProductVersion, "<appversion>");
  SetControlText(kMainAddress, "http://");
  SetControlText(kAltAddress1, "http://");
  SetControlText(kAltAddress2, "http://");
  SetControlText(kUpdateFileName, "Update");
  SetSystems();
  SetControlState(kShowLabel, 1);
  SetControlState(kUpdaterLanguage, 0);
  SetControlText(kUpdaterProgramFile, "");
  SetControlState(UpdaterRunProgramBox, 0);
  SetControlState(UpdaterTerminateBox, 0);
  ProjectPath.clear();
}
