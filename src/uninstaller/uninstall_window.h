// The uninstaller's window (number 0): a white header with picture, title and sub-title,
// two separator lines, the status text, the progress bar and a button, and the event
// loop that runs while the uninstall thread works.
#ifndef ZK_UNINSTALLER_UNINSTALL_WINDOW_H
#define ZK_UNINSTALLER_UNINSTALL_WINDOW_H

#include <string>

#include "common/language_file.h"
#include "uninstaller/uninstall_log.h"

constexpr int kUninstallWindow = 0;

// Control numbers (also the controls' Win32 IDs).
enum UninstallControl {
  kHeaderBack = 1,
  kHeaderImage,
  kHeaderTitle,
  kHeaderSubtitle,
  kSeparatorTop,
  kSeparatorBottom,
  kStatusText,
  kProgressBar,
  kCancelButton,
};

// The end of the progress bar's range: the log's entry count (0 when it is negative).
int UninstallProgressMaximum(const UninstallLog& log);
// Loads the built-in pictures and the two fonts. false when a picture is missing.
bool LoadUninstallArtwork();
// Builds and shows the window for the product of log.
bool OpenUninstallWindow(const UninstallTexts& texts, const UninstallLog& log);
// A message box owned by the window while it exists (from any thread); returns the
// button chosen.
int UninstallMessage(const std::wstring& title, const std::wstring& text, unsigned flags);
// Waits for events until the person agrees to stop the uninstallation (a click on the
// button or a close request, then OK to the question); then returns.
void RunUninstallEvents(const UninstallTexts& texts);

#endif
