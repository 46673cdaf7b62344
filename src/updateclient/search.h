// The search for an update: which server answers, whether its script lists a release
// newer than ours, and how much the pending releases download. It runs on its own thread
// and reports each step through SearchUi.
#ifndef ZK_UPDATECLIENT_SEARCH_H
#define ZK_UPDATECLIENT_SEARCH_H

#include <stdint.h>

#include <string>

#include "updateclient/client_state.h"

// The steps of the search, as the search page shows them.
enum SearchStep : int {
  kStepConnected = 1,      // a server answered
  kStepNoServer = -1,      // none did
  kStepNewVersion = 2,     // the script lists a newer release
  kStepNoNewVersion = -2,  // it does not, or the script could not be had
  kStepDataReceived = 3,   // the download sizes are known
  kStepReady = 4,          // the update can start
};

class SearchUi {
 public:
  virtual ~SearchUi() = default;
  // `newest` is the newest release (step 2), `totalSize` the bytes to download (step 4).
  virtual void ShowStep(int step, const std::string& newest, int64_t totalSize) = 0;
};

// The first of the (normalised, non-empty) addresses whose "Updates/" folder and script
// both answer as present; empty when none does.
std::string ChooseUpdateServer(const UpdaterSettingsBlock& settings);

// The whole search: normalises the addresses in `state.settings`, chooses the server,
// fetches the script into `state.scriptFolder`, selects the releases and adds up their
// sizes. `pauseMs` is the pause after the connection step (the user sees each step).
void RunSearch(ClientState& state, SearchUi& ui, int pauseMs);

// The download size of the pending releases: the sizes the server tells for their
// DownloadFile commands (an unknown size adds nothing).
int64_t PendingDownloadSize(const ClientState& state);

#endif
