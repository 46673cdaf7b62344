#include "app/build/build_commands.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "app/build/build_requests.h"
#include "app/build/build_reporter.h"
#include "app/controls.h"
#include "app/paths.h"
#include "app/project/project_binding.h"
#include "app/project_state.h"
#include "app/windows/secondary_windows.h"
#include "common/failure_log.h"
#include "common/files.h"
#include "common/gui.h"
#include "common/requesters.h"
#include "common/threads.h"
#include "model/build_input.h"

using namespace ctl;

namespace {

// The thread of the last build, and whether the progress window's button reads "Resume".
int BuildThread = 0;
int BuildPaused = 0;

void ShowBuildPage() {
  for (int panel : {kPanelGeneral, kPanelSetup, kPanelDialogs, kPanelSystem, kPanelBuild}) HideControl(panel, true);
  HideControl(kPanelBuild, false);
}

bool EndsWithExe(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return end == ".exe";
}

// The build's own copy of everything it reads, taken while the controls cannot change.
std::unique_ptr<BuildInput> TakeBuildInput() {
  std::unique_ptr<BuildInput> in(new BuildInput);
  in->project = ReadProjectFromControls();
  for (int i = 0, n = CountControlItems(kLanguages); i < n; ++i)
    in->languageNames.push_back(GetItemText(kLanguages, i));
  in->programFolder = ProgramFolder();
  return in;
}

}  // namespace

void StartBuild(bool showBuildPage) {
  if (showBuildPage) ShowBuildPage();
  // A build is never killed: it could hold a lock or leave half-written files. Until it
  // has wound itself up, another Build does nothing.
  if (BuildRunning()) return;
  if (GetControlText(kSetupFile).empty()) {
    std::string path = SaveFileRequester("Save...", "", "Executeable(*exe)|*.exe", 0);
    if (path.empty()) return;
    SetControlText(kSetupFile, EndsWithExe(path) ? path : path + ".exe");
  }
  ClearControlItems(kBuildLog);
  EnableRuntimeWindow(kMainWindow, false);
  ActivateControl(kBuildLog);
  std::unique_ptr<BuildInput> in = TakeBuildInput();
  BuildPaused = 0;
  BeginBuildRequests();
  OpenBuildProgressWindow();
  if (BuildThread) ThreadFree(BuildThread);
  BuildThread = static_cast<int>(ThreadCreate(kAnyNumber, RunBuildThread, reinterpret_cast<intptr_t>(in.get())));
  if (BuildThread) {
    in.release();  // the thread owns it now
    return;
  }
  EndBuildRequests();
  ReportFailureAnsi("start the build thread", "", GetLastError());
  AddBuildLogLine("Error: Could not start the build.");
  HideBuildProgressWindow();
  EnableRuntimeWindow(kMainWindow, true);
}

void PauseBuild() {
  if (!BuildRunning()) return;
  AddBuildLogLine("Operation has been paused!");
  RequestBuildPause();
  SetPauseButtonText("Resume");
  BuildPaused = 1;
}

void ResumeBuild() {
  AddBuildLogLine("Operation has been resumed!");
  RequestBuildResume();
  SetPauseButtonText("Pause");
  BuildPaused = 0;
}

// The build stops at its next check, logs the abort, removes its files and enables the
// main window itself: before then a new build could not start anyway.
void CancelBuild() {
  RequestBuildCancel();
  SetBuildProgressBar(0);
  BuildPaused = 0;
  HideBuildProgressWindow();
  if (!BuildRunning()) EnableRuntimeWindow(kMainWindow, true);
}

void RunLastSetup() {
  std::string setup = GetLastSetupPath();
  if (!setup.empty() && FileSize(setup) >= 0)
    ShellExecuteA(nullptr, "open", setup.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool HandleBuildProgressButton(int control) {
  if (control == kProgressPause) {
    if (BuildPaused)
      ResumeBuild();
    else
      PauseBuild();
    return true;
  }
  if (control == kProgressCancel) {
    CancelBuild();
    return true;
  }
  return false;
}
