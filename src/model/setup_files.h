// The files a setup carries in its cabinet, as the builder writes them and the setup
// runtime reads them: their names, the keys of the two preference files SC.dat and
// OS.dat, and the command types of Commands.dat. The line files hold their records as
// lines (Registry.dat adds a raw 32-bit flag to each); their layouts are in the builder's
// writer and the runtime's readers, which name the files from here.
#ifndef ZK_MODEL_SETUP_FILES_H
#define ZK_MODEL_SETUP_FILES_H

#include <stddef.h>

namespace setup_files {

// A file name in both forms: the builder writes by narrow names, the runtime reads by wide
// ones. The names are ASCII.
template <size_t N>
struct Name {
  char narrow[N];
  wchar_t wide[N];
};

template <size_t N>
constexpr Name<N> MakeName(const char (&text)[N]) {
  Name<N> name{};
  for (size_t i = 0; i < N; ++i) {
    name.narrow[i] = text[i];
    name.wide[i] = static_cast<wchar_t>(text[i]);
  }
  return name;
}

inline constexpr auto kSettings = MakeName("SC.dat");
inline constexpr auto kSystems = MakeName("OS.dat");
inline constexpr auto kLanguages = MakeName("languages.dat");
inline constexpr auto kDesktopShortcuts = MakeName("Desktop.dat");
inline constexpr auto kStartMenuShortcuts = MakeName("Startmenu.dat");
inline constexpr auto kRegistry = MakeName("Registry.dat");
inline constexpr auto kVariables = MakeName("Variables.dat");
inline constexpr auto kCommands = MakeName("Commands.dat");
// The author's pictures, sound, licence and library; a setup without one uses its own or
// goes without.
inline constexpr auto kWizardImage = MakeName("Image_Left.jpg");
inline constexpr auto kHeaderImage = MakeName("Image_Top.jpg");
inline constexpr auto kIcon = MakeName("icon.dat");
inline constexpr auto kSplashImage = MakeName("isps.dat");
inline constexpr auto kSplashSound = MakeName("ssps.dat");
inline constexpr auto kLicence = MakeName("licence.rtf");
inline constexpr auto kLibrary = MakeName("dll.dll");
// The language file of a setup with one language (a setup with several lets the user
// choose among "<name>.zkl").
inline constexpr auto kDefaultLanguage = MakeName("Default.zkl");

}  // namespace setup_files

// SC.dat: one group of settings. A setup without a key takes the runtime's default.
namespace sc_keys {

constexpr char kGroup[] = "Setup";
constexpr char kAppName[] = "Appname";
constexpr char kVersion[] = "Version";
constexpr char kLicence[] = "Licence";
constexpr char kChangeApplicationFolder[] = "ChangeApplicationFolder";
constexpr char kChangeStartMenuFolder[] = "ChangeStartMenuFolder";
constexpr char kDesktopIcon[] = "Desktopicon";
constexpr char kAllowDesktopIcons[] = "Allow_Desktopicons";
constexpr char kAllowStartMenuFolder[] = "Allow_StartMenuFolder";
constexpr char kLabel[] = "label";
constexpr char kInstallDir[] = "InstallDir";
constexpr char kStartMenuFolder[] = "StartMenuFolder";
constexpr char kRegistry[] = "Registry";
constexpr char kAddition[] = "Addition";  // 1 reboot, 2 run a program, 0 neither
constexpr char kProgramRun[] = "ProgramRun";
constexpr char kLanguages[] = "Languages";
constexpr char kShortcutFolder[] = "ShortcutFolder";
constexpr char kDll[] = "Dll";
constexpr char kUninstaller[] = "Uninstaller";
constexpr char kUninstallerFilename[] = "UninstallerFilename";
constexpr char kUninstallerVisitWebsite[] = "Uninstaller_VW";
constexpr char kWebsite[] = "Website";
constexpr char kSplashScreen[] = "SplashScreen";
constexpr char kSplashTime[] = "SPS_Time";
constexpr char kCompany[] = "Company";
constexpr char kTotalSize[] = "TotalSize";
constexpr char kWebsite1[] = "Website1";
constexpr char kStartMenuForAllUsers[] = "SFA";
constexpr char kDesktopForAllUsers[] = "DFA";

}  // namespace sc_keys

// OS.dat: keys outside any group, 1 for each system the setup supports.
namespace os_keys {

constexpr char kWindows2000[] = "Windows 2000";
constexpr char kWindowsXP[] = "Windows XP";
constexpr char kWindowsServer2003[] = "Windows Server 2003";
constexpr char kWindowsVista[] = "Windows Vista";
constexpr char kWindowsServer2008[] = "Windows Server 2008";
constexpr char kWindows7[] = "Windows 7";
constexpr char kWindows8[] = "Windows 8";

}  // namespace os_keys

// The first line of a Commands.dat record; any other text runs as kExecute.
namespace command_types {

inline constexpr auto kExecute = setup_files::MakeName("Execute application");
inline constexpr auto kShellExecute = setup_files::MakeName("Shell execute");

}  // namespace command_types

#endif
