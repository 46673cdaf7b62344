#include "app/project/setup_project.h"

#include <tuple>

SetupProject DefaultProject() {
  SetupProject p;
  p.win2000 = p.winXP = p.winServer2003 = p.winVista = p.winServer2008 = p.win7 = p.win8 = 1;
  p.website = "http://";
  p.compression = 1;
  p.wizardImage = p.headerImage = p.iconImage = "<main>";
  p.showLabel = 1;
  p.xpStyle = 1;
  p.installPath = "<programfiles>\\<company>\\<appname>\\";
  p.allowChangePath = 1;
  p.uninstallerName = "Uninstall";
  p.programLine = "<installpath>\\";
  p.startMenuFolder = "<company>\\<appname>\\";
  p.splashTime = "2";
  p.productName = "<appname>";
  p.productVersion = "<appversion>";
  p.mainAddress = p.altAddress1 = p.altAddress2 = "http://";
  p.updateFileName = "Update";
  return p;
}

bool operator==(const FileEntry& a, const FileEntry& b) {
  return std::tie(a.path, a.size, a.type) == std::tie(b.path, b.size, b.type);
}

bool operator==(const RegistryEntry& a, const RegistryEntry& b) {
  return std::tie(a.rootKey, a.subKey, a.valueName, a.valueData, a.removeFlag) ==
         std::tie(b.rootKey, b.subKey, b.valueName, b.valueData, b.removeFlag);
}

bool operator==(const ShortcutEntry& a, const ShortcutEntry& b) {
  return std::tie(a.destination, a.name, a.target, a.arguments) ==
         std::tie(b.destination, b.name, b.target, b.arguments);
}

bool operator==(const VariableEntry& a, const VariableEntry& b) {
  return std::tie(a.name, a.rootKey, a.subKey, a.valueName, a.defaultValue) ==
         std::tie(b.name, b.rootKey, b.subKey, b.valueName, b.defaultValue);
}

bool operator==(const CommandEntry& a, const CommandEntry& b) {
  return std::tie(a.type, a.program, a.parameters, a.options) == std::tie(b.type, b.program, b.parameters, b.options);
}

namespace {

// Every member, in declaration order; a member added to SetupProject must be added here.
auto Members(const SetupProject& p) {
  return std::tie(p.programName, p.programVersion, p.win2000, p.winXP, p.winServer2003, p.winVista, p.winServer2008,
                  p.win7, p.win8, p.companyName, p.website, p.startMenuAllUsers, p.desktopAllUsers, p.compression,
                  p.wizardImage, p.headerImage, p.iconImage, p.showLabel, p.xpStyle, p.useZip, p.zipFile, p.installPath,
                  p.allowChangePath, p.visitWebsite, p.uninstallWebsite, p.includeUninstaller, p.uninstallerName,
                  p.showLicence, p.runProgram, p.reboot, p.loadDll, p.programLine, p.dllPath, p.allowChangeStartMenu,
                  p.startMenuFolder, p.splashImage, p.splashSound, p.splashTime, p.playSound, p.showSplash, p.setupFile,
                  p.includeUpdater, p.productName, p.productVersion, p.mainAddress, p.altAddress1, p.altAddress2,
                  p.updateFileName, p.updaterLanguage, p.updaterProgramFile, p.updaterRunProgram, p.updaterTerminate,
                  p.checkedLanguages, p.files, p.registry, p.shortcuts, p.variables, p.commands, p.licenceRtf);
}

}  // namespace

bool operator==(const SetupProject& a, const SetupProject& b) { return Members(a) == Members(b); }
