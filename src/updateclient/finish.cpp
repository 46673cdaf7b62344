#include "updateclient/finish.h"

#include <windows.h>

#include "common/dirlist.h"
#include "common/files.h"
#include "common/gui.h"
#include "updateclient/client_file.h"
#include "updateclient/running_programs.h"
#include "updateclient/wizard.h"

void RemoveClientFolder(const std::wstring& folder) {
  if (folder.empty()) return;
  for (const DirEntryW& entry : ListDirectory(folder)) {
    if (entry.isFolder) continue;
    std::wstring path = folder + entry.name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

std::string VersionToRebuildWith(const ClientState& state) {
  if (state.wizardState == kWizardApplied) return state.newestVersion;
  if (state.wizardState == kWizardStopped) return state.lastCompletedRelease;
  return std::string();
}

int FinishUpdate(ClientState& state) {
  if (IsRuntimeWindow(kClientWindow)) ShowRuntimeWindow(kClientWindow, false);
  RemoveClientFolder(state.animationFolder);
  std::string version = VersionToRebuildWith(state);
  if (!version.empty()) RebuildUpdateClient(state.clientFile, ClientImageSize(), state.settings, version);
  RemoveClientFolder(state.scriptFolder);
  if (state.settings.runFlag) {
    std::wstring program = ResolveProgramFile(state.settings.programFile, state.clientFolder);
    if (!program.empty() && !IsProgramRunning(program) && FileSize(program) > 0) StartProgram(program);
  }
  return 0;
}
