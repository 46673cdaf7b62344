// The installation itself: runs on a thread of its own when the wizard reaches the
// installing page. It takes a snapshot of everything it needs (the wizard's fields and
// check boxes cannot change while the installing page is shown) and talks back to the
// wizard only through InstallUi.
#ifndef ZK_SETUPRUNTIME_INSTALL_H
#define ZK_SETUPRUNTIME_INSTALL_H

#include <stddef.h>

#include <string>
#include <vector>

#include "common/language_file.h"
#include "setupruntime/resources.h"
#include "setupruntime/zip_window.h"

struct InstallInputs {
  SetupConfig config;                  // installDir and shortcutFolder already resolved
  std::vector<VariableRow> variables;  // values read at start-up
  std::vector<CommandRow> commands;
  SetupTexts texts;                        // the language in use (texts.languageFile is its path)
  std::wstring languageName;               // the chosen language; empty for a single-language setup
  std::wstring workFolder;                 // ends with "\"
  std::wstring setupPath;                  // the setup's own file; the program archive ends it
  ZipWindow archive;                       // where in setupPath the program archive lies
  std::wstring startMenuRoot;              // ends with "\"
  std::wstring desktopFolder;              // ends with "\"
  std::wstring installFolderField;         // the text of the installation-folder field
  std::wstring startMenuField;             // the text of the start-menu-folder field
  int desktopChecked = 0;                  // the desktop check box of the additional-tasks page
  int startMenuChecked = 0;                // the start-menu check box of the additional-tasks page
  const void* uninstallerImage = nullptr;  // the carried uninstaller, written unchanged
  size_t uninstallerImageSize = 0;
};

// What the install thread asks of the wizard. Every call comes from the install thread.
class InstallUi {
 public:
  virtual ~InstallUi() = default;
  virtual void SetStatusText(const std::wstring& text) = 0;
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  // A message box with the stop icon and OK.
  virtual void ShowError(const std::wstring& title, const std::wstring& text) = 0;
  // The Abort / Retry / Ignore question for an entry that could not be written; returns
  // IDABORT, IDRETRY or IDIGNORE.
  virtual int AskExtractFailure(const std::wstring& title, const std::wstring& text) = 0;
  // A message box with the information icon and OK (told once, after the files, when
  // entries with unsafe names were left out).
  virtual void ShowInfo(const std::wstring& title, const std::wstring& text) = 0;
  // Switches the wizard to the finish page: other pages hidden, Back and Cancel hidden,
  // Next carries the finish text and is enabled.
  virtual void ShowFinishPage() = 0;
  // Ends the whole setup: work folder deleted, mutex released, process ended. Does not
  // return in the program; a test's InstallUi may return, and RunInstall then stops.
  virtual void EndSetup() = 0;
};

// Performs the installation. Returns 1 when it reached the finish page, 0 when it ended
// the setup (after EndSetup returned).
int RunInstall(const InstallInputs& in, InstallUi& ui);

#endif
