// Numbers of the main window's controls that hold the project's settings. The field table
// names each setting's control, so the numbers live here beside it; app/controls.h adds
// every other number of the tool's windows.
#ifndef ZK_MODEL_CONTROL_NUMBERS_H
#define ZK_MODEL_CONTROL_NUMBERS_H

namespace ctl {

// General.
constexpr int kProgramName = 0x04;
constexpr int kProgramVersion = 0x05;
constexpr int kCompany = 0x1C;
constexpr int kWebsite = 0x1E;
constexpr int kWin2000 = 0x12;
constexpr int kWinXP = 0x13;
constexpr int kWinServer2003 = 0x14;
constexpr int kWinVista = 0x15;
constexpr int kWinServer2008 = 0x16;
constexpr int kWin7 = 0x17;
constexpr int kWin8 = 0xC8;

// Graphics.
constexpr int kWizardImage = 0x07;
constexpr int kHeaderImage = 0x0A;
constexpr int kIconImage = 0x0D;
constexpr int kShowLabel = 0x0F;
constexpr int kStyle2000 = 0x1F;
constexpr int kStyleXP = 0x20;

// Splash screen.
constexpr int kShowSplash = 0x96;
constexpr int kSplashSound = 0x98;
constexpr int kSplashTime = 0x9B;
constexpr int kSplashImage = 0x9C;
constexpr int kPlaySound = 0x9E;

// Licence.
constexpr int kShowLicence = 0x19;

// Finish.
constexpr int kRunProgram = 0x27;
constexpr int kReboot = 0x28;
constexpr int kRunProgramLine = 0x29;
constexpr int kLoadDll = 0x2A;
constexpr int kDllPath = 0x2B;

// Files.
constexpr int kUseZip = 0x31;
constexpr int kZipPath = 0x32;
constexpr int kInstallPath = 0x41;
constexpr int kAllowChangePath = 0x42;

// Pellucast (the update client).
constexpr int kProductName = 0xA0;
constexpr int kIncludeUpdater = 0xA1;
constexpr int kMainAddress = 0xA3;
constexpr int kProductVersion = 0xA5;
constexpr int kAltAddress1 = 0xA7;
constexpr int kAltAddress2 = 0xA9;
constexpr int kUpdateFileName = 0xAB;
constexpr int kUpdaterLanguage = 0xB0;
constexpr int kUpdaterProgramFile = 0xB1;
constexpr int kUpdaterRunProgram = 0xD6;
constexpr int kUpdaterTerminate = 0xD7;

// Uninstall.
constexpr int kVisitWebsite = 0x34;
constexpr int kUninstallWebsite = 0x35;
constexpr int kIncludeUninstaller = 0x36;
constexpr int kUninstallerName = 0xC2;

// Shortcuts.
constexpr int kStartMenuFolder = 0x3C;
constexpr int kAllowChangeStartMenu = 0x3D;
constexpr int kStartMenuAllUsers = 0xB5;
constexpr int kDesktopAllUsers = 0xB6;

// Build.
constexpr int kSetupFile = 0x45;
constexpr int kCompression = 0xB4;

}  // namespace ctl

#endif
