// Numbers of the main window's controls, windows and menu commands. The controls that
// hold the project's settings are numbered in model/control_numbers.h, beside the field
// table that binds them.
#ifndef ZK_APP_CONTROLS_H
#define ZK_APP_CONTROLS_H

#include "model/control_numbers.h"

namespace ctl {

// Windows.
constexpr int kMainWindow = 0;
constexpr int kWizardPreviewWindow = 1;
constexpr int kRegistryDialog = 2;
constexpr int kShortcutDialog = 3;
constexpr int kBuildProgressWindow = 4;
constexpr int kAboutWindow = 5;
constexpr int kVariableDialog = 6;
constexpr int kCommandDialog = 7;

// Menu and tool-bar commands.
constexpr int kMenuNew = 0;
constexpr int kMenuOpen = 1;
constexpr int kMenuSave = 2;
constexpr int kMenuSaveAs = 3;
constexpr int kMenuImportLanguage = 4;
constexpr int kMenuExit = 6;
constexpr int kMenuBuild = 7;
constexpr int kMenuRun = 8;
constexpr int kMenuHelp = 9;
constexpr int kMenuVisitWebsite = 0xA;
constexpr int kMenuUpdate = 0xB;
constexpr int kMenuAbout = 0xC;
constexpr int kMenuVisitForum = 0xF;

// Frame.
constexpr int kStatusBar = 0x7C;  // any free number; the status bar has none of its own
constexpr int kMenuBar = 0;
constexpr int kToolbar = 0xCA;
constexpr int kRebar = 0x7B;
constexpr int kExBar = 0x77;
constexpr int kTempToolbar = 0x50;

// Page panels.
constexpr int kPanelGeneral = 0;
constexpr int kPanelDialogs = 0x4C;
constexpr int kPanelSetup = 0x4D;
constexpr int kPanelSystem = 0x4E;
constexpr int kPanelBuild = 0x4F;

// General.
constexpr int kProgramInfoFrame = 0x01;
constexpr int kProgramNameLabel = 0x02;
constexpr int kProgramVersionLabel = 0x03;
constexpr int kCompanyLabel = 0x1B;
constexpr int kWebsiteLabel = 0x1D;
constexpr int kSystemsFrame = 0x11;

// Graphics.
constexpr int kWizardImageLabel = 0x06;
constexpr int kWizardImageButton = 0x08;
constexpr int kHeaderImageLabel = 0x09;
constexpr int kHeaderImageButton = 0x0B;
constexpr int kIconImageLabel = 0x0C;
constexpr int kIconImageButton = 0x0E;
constexpr int kPreviewButton = 0x10;
constexpr int kStyleNote = 0x21;

// Language.
constexpr int kLanguageLabel = 0x22;
constexpr int kLanguages = 0x23;
constexpr int kImportLanguage = 0x24;
constexpr int kDeleteLanguage = 0x25;
constexpr int kMoreLanguages = 0x26;

// Splash screen.
constexpr int kSplashImageLabel = 0x97;
constexpr int kSplashSoundButton = 0x99;
constexpr int kSplashTimeLabel = 0x9A;
constexpr int kSplashImageButton = 0x9D;

// Licence.
constexpr int kLicenceEditor = 0x1A;
constexpr int kEditorNew = 0x1B58;
constexpr int kEditorOpen = 0x1B59;
constexpr int kEditorSave = 0x1B5A;
constexpr int kEditorCut = 0x1B5F;
constexpr int kEditorCopy = 0x1B60;
constexpr int kEditorPaste = 0x1B61;
constexpr int kEditorDelete = 0x1B62;
constexpr int kEditorBold = 0x1B64;
constexpr int kEditorItalic = 0x1B65;
constexpr int kEditorUnderline = 0x1B69;
constexpr int kEditorFont = 0x1B6A;

// Finish.
constexpr int kDllButton = 0x2C;
constexpr int kEnvironmentVariables = 0xB7;

// Files.
constexpr int kFiles = 0x2D;
constexpr int kAddFiles = 0x2E;
constexpr int kAddFolder = 0x2F;
constexpr int kRemoveFile = 0x30;
constexpr int kRemoveAllFiles = 0xAF;
constexpr int kZipButton = 0x33;
constexpr int kInstallPathFrame = 0x40;

// Pellucast (the update client).
constexpr int kProductNameLabel = 0x9F;
constexpr int kMainAddressLabel = 0xA2;
constexpr int kProductVersionLabel = 0xA4;
constexpr int kAltAddress1Label = 0xA6;
constexpr int kAltAddress2Label = 0xA8;
constexpr int kUpdateFileNameLabel = 0xAA;
constexpr int kUpdaterManual = 0xCB;

// Uninstall.

// Variables.
constexpr int kVariables = 0xB8;
constexpr int kAddVariable = 0xB9;
constexpr int kRemoveVariable = 0xBA;
constexpr int kEditVariable = 0xC5;

// Commands.
constexpr int kCommands = 0xCC;
constexpr int kAddCommand = 0xCD;
constexpr int kEditCommand = 0xCE;
constexpr int kRemoveCommand = 0xCF;

// Registry.
constexpr int kRegistry = 0x37;
constexpr int kAddRegistry = 0x38;
constexpr int kRemoveRegistry = 0x39;
constexpr int kEditRegistry = 0xC6;

// Shortcuts.
constexpr int kShortcuts = 0x3A;
constexpr int kStartMenuLabel = 0x3B;
constexpr int kAddShortcut = 0x3E;
constexpr int kRemoveShortcut = 0x3F;
constexpr int kEditShortcut = 0xC7;

// Build.
constexpr int kBuildFrame = 0x43;
constexpr int kSetupFileLabel = 0x44;
constexpr int kSetupFileButton = 0x46;
constexpr int kBuildButton = 0x48;
constexpr int kBuildProgress = 0x49;
constexpr int kBuildLogLabel = 0x4A;
constexpr int kBuildLog = 0x4B;

// Row edit dialogs (windows kRegistryDialog, kShortcutDialog, kVariableDialog, kCommandDialog).
constexpr int kCommandType = 0xD0;
constexpr int kCommandProgram = 0xD1;
constexpr int kCommandParameters = 0xD2;
constexpr int kCommandOptions = 0xD3;
constexpr int kCommandOk = 0xD4;
constexpr int kCommandCancel = 0xD5;
constexpr int kRegistryRootKeyLabel = 0x64;
constexpr int kRegistryRootKey = 0x65;
constexpr int kRegistrySubKeyLabel = 0x66;
constexpr int kRegistrySubKey = 0x67;
constexpr int kRegistryValueNameLabel = 0x68;
constexpr int kRegistryValueName = 0x76;
constexpr int kRegistryValueDataLabel = 0x6A;
constexpr int kRegistryValueData = 0x6B;
constexpr int kRegistryRemoveOnUninstall = 0xC4;
constexpr int kRegistryOk = 0x6C;
constexpr int kRegistryCancel = 0x6D;
constexpr int kShortcutDestinationLabel = 0x6E;
constexpr int kShortcutDestination = 0x6F;
constexpr int kShortcutNameLabel = 0x70;
constexpr int kShortcutName = 0x71;
constexpr int kShortcutTargetLabel = 0x72;
constexpr int kShortcutTarget = 0x73;
constexpr int kShortcutArguments = 0xC3;
constexpr int kShortcutOk = 0x74;
constexpr int kShortcutCancel = 0x75;
constexpr int kVariableName = 0xBC;
constexpr int kVariableRootKey = 0xBB;
constexpr int kVariableSubKey = 0xBD;
constexpr int kVariableValueName = 0xBE;
constexpr int kVariableDefault = 0xBF;
constexpr int kVariableOk = 0xC0;
constexpr int kVariableCancel = 0xC1;

// Build progress window (window 4).
constexpr int kProgressLabel = 0x78;
constexpr int kProgressCancel = 0x79;
constexpr int kProgressPause = 0x7A;

// About window (window 5).
constexpr int kAboutPanel = 0x7F;
constexpr int kAboutPicture = 0x80;
constexpr int kAboutVersion = 0x81;
constexpr int kAboutMaker = 0x82;
constexpr int kAboutWebsite = 0x83;
constexpr int kAboutSupport = 0x84;
constexpr int kAboutDonate = 0x87;
constexpr int kAboutOk = 0x89;

// Wizard preview window (window 1).
constexpr int kPreviewWizardArea = 0x5B;
constexpr int kPreviewLabelStrip = 0x5C;
constexpr int kPreviewNext = 0x5D;
constexpr int kPreviewBack = 0x5E;
constexpr int kPreviewCancel = 0x5F;
constexpr int kPreviewTitle = 0x60;
constexpr int kPreviewTextArea = 0x61;
constexpr int kPreviewStartText = 0x62;
constexpr int kPreviewPicture = 0x63;

}  // namespace ctl

#endif
