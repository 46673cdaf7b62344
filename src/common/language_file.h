// Language files (".zkl"): the texts of the setup wizard and of the uninstaller. A
// language file is a preference file in UTF-8, with or without a byte-order mark; group
// and key names compare without regard to case, values are trimmed, and a missing group
// or key reads as an empty text, so an incomplete translation still gives a working
// (if partly blank) wizard.
//
// The readers go through the preference files of prefs.h: they close the calling
// thread's current preference file first, and they expect the program to have chosen
// SetPreferenceCodePage(CP_UTF8), as the setup runtime and the uninstaller do at start.
#ifndef ZK_COMMON_LANGUAGE_FILE_H
#define ZK_COMMON_LANGUAGE_FILE_H

#include <string>

// The wizard's texts; each field names its group and key.
struct SetupTexts {
  std::wstring mainTitle;  // Main.Title

  // Gadgets
  std::wstring nextBtn, backBtn, cancelBtn, finishBtn, browseBtn;
  std::wstring acceptOptn, doNotAcceptOptn;
  std::wstring createDesktopIconCbx, createStartMenuFolderCbx;
  std::wstring launchProgramCbx, rebootCbx;
  std::wstring destinationFolderFR3;
  std::wstring selAppFolder, selStartMenuFolder;

  // Messages
  std::wstring exitSetupH, exitSetup;
  std::wstring couldNotExtractFileH, couldNotExtractFile;

  std::wstring startTitle, startText;                     // Start
  std::wstring licenceHeadT, licenceHeadB, licenceText1;  // LicenceAgreement
  std::wstring appFolderHeadT, appFolderHeadB;            // ApplicationFolder
  std::wstring appFolderText1, appFolderText2, appFolderText3, appFolderText4;
  std::wstring startMenuHeadT, startMenuHeadB, startMenuText1, startMenuText2;  // StartMenuFolder
  std::wstring tasksHeadT, tasksHeadB, tasksText1, tasksText2;                  // AdditionalTasks
  std::wstring installingHeadT, installingHeadB;                                // Installing
  std::wstring installingText1, installingText2, installingText3;
  std::wstring finishTitle, finishText1;  // Finish

  // The file the texts came from: the language in use, which the installation copies
  // for the uninstaller.
  std::wstring languageFile;
};

// The uninstaller's texts: the group "Uninstall".
struct UninstallTexts {
  std::wstring bmT, bm;                        // BM_T, BM: confirmation
  std::wstring header, headerB;                // Header, Header_b
  std::wstring uninstalling;                   // status label
  std::wstring btnCancel;                      // Btn_cancel
  std::wstring exitUninstallT, exitUninstall;  // cancel question and failure message
  std::wstring successT, success;              // final message
};

// Reads every wizard text (all groups but "Uninstall") from path and replaces, in every
// text, "<appname>" by appName and then "<appversion>" by appVersion: exact, case-sensitive
// replacements. Returns 1 when the file opened (texts then replaced whole, languageFile =
// path); 0 leaves texts as they were.
int ReadLanguageFile(const std::wstring& path, const std::wstring& appName, const std::wstring& appVersion,
                     SetupTexts* texts);

// Reads the group "Uninstall" from path; "<appname>" becomes productName. Returns 1 when
// the file opened; 0 leaves texts as they were.
int ReadUninstallTexts(const std::wstring& path, const std::wstring& productName, UninstallTexts* texts);

#endif
