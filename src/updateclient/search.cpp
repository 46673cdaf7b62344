#include "updateclient/search.h"

#include <windows.h>

#include "common/failure_log.h"
#include "common/whole_file.h"
#include "updateclient/http_client.h"

namespace {

// A script is a few kilobytes; anything near this is not one.
constexpr uint64_t kLargestScript = 16u << 20;

bool ServerAnswers(const std::string& address) {
  return ServerAnswerCounts(QueryHttpStatus(address + "Updates/"), true) &&
         ServerAnswerCounts(QueryHttpStatus(address + "updatescript.ini"), false);
}

}  // namespace

std::string ChooseUpdateServer(const UpdaterSettingsBlock& settings) {
  for (const std::string* address :
       {&settings.mainAddress, &settings.alternativeAddress1, &settings.alternativeAddress2}) {
    if (!address->empty() && ServerAnswers(*address)) return *address;
  }
  return std::string();
}

int64_t PendingDownloadSize(const ClientState& state) {
  int64_t total = 0;
  for (size_t index : state.selection.pending) {
    for (const UpdateCommand& command : state.script.releases[index].commands) {
      DownloadTarget target;
      if (command.kind != UpdateCommandKind::kDownloadFile || !ResolveDownload(command, state.commands, &target))
        continue;
      int64_t size = GetDownloadSize(state.updatesUrl + target.urlPath);
      if (size > 0) total += size;
    }
  }
  return total;
}

void RunSearch(ClientState& state, SearchUi& ui, int pauseMs) {
  UpdaterSettingsBlock& s = state.settings;
  for (std::string* address : {&s.mainAddress, &s.alternativeAddress1, &s.alternativeAddress2})
    *address = NormalizeUpdateAddress(*address);

  std::string server = ChooseUpdateServer(s);
  if (server.empty()) {
    ReportFailureAnsi("find an update server", s.mainAddress, 0, "no address answered");
    ui.ShowStep(kStepNoServer, std::string(), 0);
    return;
  }
  state.updatesUrl = server + "Updates/";
  state.scriptUrl = server + "updatescript.ini";
  ui.ShowStep(kStepConnected, std::string(), 0);
  if (pauseMs > 0) Sleep(pauseMs);

  std::wstring scriptFile = state.scriptFolder + L"qds.dat";
  std::string bytes;
  if (!DownloadWithProgress(state.scriptUrl, scriptFile, "updatescript.ini", nullptr) ||
      !ReadWholeFile(scriptFile, kLargestScript, &bytes)) {
    ui.ShowStep(kStepNoNewVersion, std::string(), 0);
    return;
  }
  state.script = ParseUpdateScript(bytes);
  state.selection = SelectPendingReleases(state.script, s.version);
  if (!state.selection.updateAvailable) {
    ui.ShowStep(kStepNoNewVersion, std::string(), 0);
    return;
  }
  state.newestVersion = state.selection.newest;
  ui.ShowStep(kStepNewVersion, state.newestVersion, 0);
  state.totalSize = PendingDownloadSize(state);
  ui.ShowStep(kStepDataReceived, state.newestVersion, state.totalSize);
  ui.ShowStep(kStepReady, state.newestVersion, state.totalSize);
}
