// The authoring tool's secondary windows: the build progress window (4), the About
// window (5) and the wizard preview (1). Opening one builds it anew.
#ifndef ZK_APP_WINDOWS_SECONDARY_WINDOWS_H
#define ZK_APP_WINDOWS_SECONDARY_WINDOWS_H

#include <string>

// Window 4 at the main window's position, shown at once, its button reading "Pause".
void OpenBuildProgressWindow();
// The build's side of window 4 and the Build page's progress bar. GUI thread only: the
// build thread's reporter posts its changes there, so that thread must keep taking events
// (never wait for the build thread) while a build runs.
void HideBuildProgressWindow();
void SetBuildProgressLabel(const std::string& text);
void SetBuildProgressBar(int position);
std::string GetPauseButtonText();
void SetPauseButtonText(const std::string& text);

// Window 5, centred on the main window, which it disables while it is open.
void OpenAboutWindow();
// Window 1 with the wizard image named in the main window's field 0x07 ("<main>": the
// built-in one); the main window stays enabled.
void OpenWizardPreview();

// Control events and close requests of windows 1, 4 and 5; true when the window was one
// of these. The progress window's buttons are left to the build commands.
bool HandleSecondaryWindowEvent(int window, int control, int type);
bool HandleSecondaryWindowClose(int window);

#endif
