// The field table: one row per single-valued setting of the project, giving where it is
// kept in project files, which control of the main window holds it, and its value in a
// new window and after New. The project-file codec, the binding to the controls,
// DefaultProject, ProjectAfterNew and equality all walk this table, so a new setting is one
// row here plus one member of SetupProject.
//
// The list rows, the checked languages and the licence text have sections and controls
// of their own; they are handled beside the table, not in it.
#ifndef ZK_MODEL_PROJECT_FIELDS_H
#define ZK_MODEL_PROJECT_FIELDS_H

#include <string>

#include "model/control_numbers.h"
#include "model/setup_project.h"

enum class FieldKind {
  // A text field; kept as it is.
  Text,
  // A check box (0 or 1) or a combo box (the selected index); written in decimal.
  Number,
  // As Number, but read back like Val: "$" hexadecimal, "%" binary.
  ValNumber,
  // A pair of option buttons: 1 selects `control`, 0 selects `otherControl`. The file
  // gives 1 only for a stored 1, and copyKey repeats the value for older readers.
  Option,
};

struct ProjectField {
  const char* group = "";  // preference group of project files; rows of a group are adjacent
  const char* key = "";
  FieldKind kind = FieldKind::Text;
  std::string SetupProject::*text = nullptr;  // Text rows
  int SetupProject::*number = nullptr;        // the other rows
  int control = 0;                            // the main window's control that holds the value
  const char* label = "";                     // Text rows: the field's name in messages
  const char* initialText = "";               // the value of a new window
  int initialNumber = 0;
  bool newDiffers = false;  // New gives the values below instead
  const char* newText = "";
  int newNumber = 0;
  int otherControl = 0;           // Option rows
  const char* copyKey = nullptr;  // Option rows: written just before key

  // The same row with the value that New gives where it differs from the start-up one.
  constexpr ProjectField AfterNew(const char* value) const {
    ProjectField f = *this;
    f.newDiffers = true;
    f.newText = value;
    return f;
  }
  constexpr ProjectField AfterNew(int value) const {
    ProjectField f = *this;
    f.newDiffers = true;
    f.newNumber = value;
    return f;
  }
};

namespace row {

constexpr ProjectField Text(const char* group, const char* key, std::string SetupProject::*m, int control,
                            const char* label, const char* initial = "") {
  ProjectField f;
  f.group = group;
  f.key = key;
  f.text = m;
  f.control = control;
  f.label = label;
  f.initialText = initial;
  return f;
}
constexpr ProjectField Number(const char* group, const char* key, int SetupProject::*m, int control, int initial = 0,
                              FieldKind kind = FieldKind::Number) {
  ProjectField f;
  f.group = group;
  f.key = key;
  f.kind = kind;
  f.number = m;
  f.control = control;
  f.label = key;
  f.initialNumber = initial;
  return f;
}
constexpr ProjectField ValNumber(const char* group, const char* key, int SetupProject::*m, int control) {
  return Number(group, key, m, control, 0, FieldKind::ValNumber);
}
constexpr ProjectField Option(const char* group, const char* copyKey, const char* key, int SetupProject::*m,
                              int control, int otherControl, int initial) {
  ProjectField f = Number(group, key, m, control, initial, FieldKind::Option);
  f.otherControl = otherControl;
  f.copyKey = copyKey;
  return f;
}

}  // namespace row

// In project-file order: groups and keys are written in this order.
inline constexpr ProjectField kProjectFields[] = {
    row::Text("General", "Program name", &SetupProject::programName, ctl::kProgramName, "Program name"),
    row::Text("General", "Program version", &SetupProject::programVersion, ctl::kProgramVersion, "Program version"),
    row::Number("General", "Windows 2000", &SetupProject::win2000, ctl::kWin2000, 1),
    row::Number("General", "Windows XP", &SetupProject::winXP, ctl::kWinXP, 1),
    row::Number("General", "Windows Server 2003", &SetupProject::winServer2003, ctl::kWinServer2003, 1),
    row::Number("General", "Windows Vista", &SetupProject::winVista, ctl::kWinVista, 1),
    row::Number("General", "Windows Server 2008", &SetupProject::winServer2008, ctl::kWinServer2008, 1),
    row::Number("General", "Windows 7", &SetupProject::win7, ctl::kWin7, 1),
    row::Number("General", "Windows 8", &SetupProject::win8, ctl::kWin8, 1),
    row::Text("General", "Company name", &SetupProject::companyName, ctl::kCompany, "Company name"),
    row::Text("General", "Website", &SetupProject::website, ctl::kWebsite, "Website", "http://"),
    row::Number("General", "SFA", &SetupProject::startMenuAllUsers, ctl::kStartMenuAllUsers),
    row::Number("General", "DFA", &SetupProject::desktopAllUsers, ctl::kDesktopAllUsers).AfterNew(1),
    row::Number("General", "Comp", &SetupProject::compression, ctl::kCompression, 1),
    row::Text("Graphics", "Wizard image", &SetupProject::wizardImage, ctl::kWizardImage, "Wizard image", "<main>"),
    row::Text("Graphics", "Header image", &SetupProject::headerImage, ctl::kHeaderImage, "Header image", "<main>"),
    row::Text("Graphics", "Install-icon image", &SetupProject::iconImage, ctl::kIconImage, "Install-icon image",
              "<main>"),
    row::Number("Graphics", "Show Label", &SetupProject::showLabel, ctl::kShowLabel, 1),
    row::Option("Graphics", "Windows style", "XpStyle", &SetupProject::xpStyle, ctl::kStyleXP, ctl::kStyle2000, 1),
    row::Number("Files", "Include Zipfile", &SetupProject::useZip, ctl::kUseZip),
    row::Text("Files", "Zipfile", &SetupProject::zipFile, ctl::kZipPath, "ZIP file"),
    row::Text("Files", "Installation path", &SetupProject::installPath, ctl::kInstallPath, "Installation path",
              "<programfiles>\\<company>\\<appname>\\"),
    row::Number("Files", "Autcip", &SetupProject::allowChangePath, ctl::kAllowChangePath, 1),
    row::Number("Uninstall", "Vwau", &SetupProject::visitWebsite, ctl::kVisitWebsite),
    row::Text("Uninstall", "Website", &SetupProject::uninstallWebsite, ctl::kUninstallWebsite, "Uninstall website"),
    row::Number("Uninstall", "Include uninstaller", &SetupProject::includeUninstaller, ctl::kIncludeUninstaller),
    row::Text("Uninstall", "Uninstaller filename", &SetupProject::uninstallerName, ctl::kUninstallerName,
              "Uninstaller file name", "Uninstall"),
    row::Number("Licence", "Licence dialog", &SetupProject::showLicence, ctl::kShowLicence),
    row::Number("Finish", "Sart program", &SetupProject::runProgram, ctl::kRunProgram),
    row::Number("Finish", "Reboot computer", &SetupProject::reboot, ctl::kReboot),
    row::Number("Finish", "Execute DLL:", &SetupProject::loadDll, ctl::kLoadDll),
    row::Text("Finish", "Program", &SetupProject::programLine, ctl::kRunProgramLine, "Run program", "<installpath>\\"),
    row::Text("Finish", "Dll", &SetupProject::dllPath, ctl::kDllPath, "DLL"),
    row::Number("Shortcuts", "Allowtc", &SetupProject::allowChangeStartMenu, ctl::kAllowChangeStartMenu),
    // New leaves out the trailing "\" of the start-up value, as users of the old tool know it.
    row::Text("Shortcuts", "Shortcut path", &SetupProject::startMenuFolder, ctl::kStartMenuFolder, "Start menu folder",
              "<company>\\<appname>\\")
        .AfterNew("<company>\\<appname>"),
    row::Text("SplashScreen", "Image", &SetupProject::splashImage, ctl::kSplashImage, "Splash image"),
    row::Text("SplashScreen", "Sound", &SetupProject::splashSound, ctl::kSplashSound, "Splash sound"),
    row::Text("SplashScreen", "Time", &SetupProject::splashTime, ctl::kSplashTime, "Splash time", "2"),
    row::Number("SplashScreen", "PlaySound", &SetupProject::playSound, ctl::kPlaySound),
    row::Number("SplashScreen", "Allow", &SetupProject::showSplash, ctl::kShowSplash),
    row::Text("Build", "File", &SetupProject::setupFile, ctl::kSetupFile, "Setup file"),
    row::Number("Updater", "Allow", &SetupProject::includeUpdater, ctl::kIncludeUpdater),
    row::Text("Updater", "1", &SetupProject::productName, ctl::kProductName, "Product name", "<appname>"),
    row::Text("Updater", "2", &SetupProject::productVersion, ctl::kProductVersion, "Current product version",
              "<appversion>"),
    row::Text("Updater", "3", &SetupProject::mainAddress, ctl::kMainAddress, "Main update address", "http://"),
    row::Text("Updater", "4", &SetupProject::altAddress1, ctl::kAltAddress1, "1. Alternative update address",
              "http://"),
    row::Text("Updater", "5", &SetupProject::altAddress2, ctl::kAltAddress2, "2. Alternative update address",
              "http://"),
    row::Text("Updater", "6", &SetupProject::updateFileName, ctl::kUpdateFileName, "Update file name", "Update"),
    row::ValNumber("Updater", "Language", &SetupProject::updaterLanguage, ctl::kUpdaterLanguage),
    row::Text("Updater", "RunProg", &SetupProject::updaterProgramFile, ctl::kUpdaterProgramFile, "Program file"),
    row::ValNumber("Updater", "RunProgs", &SetupProject::updaterRunProgram, ctl::kUpdaterRunProgram),
    row::ValNumber("Updater", "Execdlls", &SetupProject::updaterTerminate, ctl::kUpdaterTerminate),
};

// Whether a and b hold the same value in the row's member.
bool SameField(const ProjectField& f, const SetupProject& a, const SetupProject& b);

#endif
