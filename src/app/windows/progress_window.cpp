// The build progress window (4) and the calls the build thread makes on it.
#include <windows.h>

#include "app/controls.h"
#include "app/windows/secondary_windows.h"
#include "common/gui.h"

using namespace ctl;

void OpenBuildProgressWindow() {
  RECT main = {};
  HWND mainWindow = WindowHandle(kMainWindow);
  if (mainWindow) GetWindowRect(mainWindow, &main);
  // Title bar only: no system menu and no close box, so the window goes only when the
  // build ends or is cancelled.
  if (!OpenRuntimeWindow(kBuildProgressWindow, main.left, main.top, 280, 80, "Zendrikolbar..creating setup file",
                         kWindowTitleBar | kWindowInvisible, kMainWindow))
    return;
  CreateLabel(kProgressLabel, 10, 5, 270, 40, "Please wait while Zendrikolbar is creating the setup file...");
  CreateButton(kProgressPause, 5, 50, 95, 25, "Pause");
  CreateButton(kProgressCancel, 105, 50, 95, 25, "Cancel");
  ShowRuntimeWindow(kBuildProgressWindow, true);
}

void HideBuildProgressWindow() { ShowRuntimeWindow(kBuildProgressWindow, false); }

void SetBuildProgressLabel(const std::string& text) { SetControlText(kProgressLabel, text); }

void SetBuildProgressBar(int position) { SetControlState(kBuildProgress, position); }

std::string GetPauseButtonText() { return GetControlText(kProgressPause); }

void SetPauseButtonText(const std::string& text) { SetControlText(kProgressPause, text); }
