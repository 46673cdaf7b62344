// What the setup runtime holds while it runs: the settings and lists read at start-up,
// the language in use, the folders it works with and the wizard's current page. One
// record for the whole program, filled on the GUI thread before the wizard opens; the
// install thread gets a copy of what it needs, never this record.
#ifndef ZK_SETUPRUNTIME_RUNTIME_STATE_H
#define ZK_SETUPRUNTIME_RUNTIME_STATE_H

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "common/language_file.h"
#include "setupruntime/resources.h"
#include "setupruntime/zip_window.h"

// Object numbers of the runtime's windows, images and fonts.
constexpr int kWizardWindow = 0;
constexpr int kLanguageWindow = 1;
constexpr int kSplashWindow = 2;
constexpr int kImageIcon = 0xC8;
constexpr int kImageWizard = 0x14;
constexpr int kImageHeader = 7;
constexpr int kImageSeparator = 8;
constexpr int kImageSplash = 0xC9;
constexpr int kFontTitle = 0;
constexpr int kFontHeaderTitle = 1;
constexpr int kFontHeaderText = 7;

struct RuntimeState {
  SetupConfig config;  // installDir and shortcutFolder resolved
  std::vector<VariableRow> variables;
  std::vector<CommandRow> commands;
  SetupTexts texts;
  std::wstring languageName;   // empty for a setup with one language
  std::wstring workFolder;     // ends with "\"; empty until it exists
  std::wstring setupPath;      // this program's own file
  ZipWindow archive;           // where the program archive lies in it
  std::wstring startMenuRoot;  // ends with "\"
  int startMenuCsidl = 2;
  std::wstring desktopFolder;     // ends with "\"
  HICON folderIcon = nullptr;     // shell32 icon 19
  HICON startMenuIcon = nullptr;  // shell32 icon 4
  std::atomic<int> page{-1};      // wizard page; -1 while the language window is shown
  HANDLE mutex = nullptr;
};

RuntimeState& Runtime();

// The one way out of the program, from any thread: removes the work folder, releases the
// setup mutex and ends the process with code.
[[noreturn]] void ExitSetup(int code);

// A message box owned by the active window (MessageBoxW flags); returns the button.
int SetupMessage(const std::wstring& title, const std::wstring& text, unsigned flags);

#endif
