// What the update client knows while it runs. The search thread fills the search results
// before it reports its last step, and the GUI thread starts the download thread only
// after that report, so those fields are handed over in order and need no lock; the
// values that several threads change while they run are atomic.
#ifndef ZK_UPDATECLIENT_CLIENT_STATE_H
#define ZK_UPDATECLIENT_CLIENT_STATE_H

#include <stdint.h>

#include <atomic>
#include <string>

#include "model/updater_block.h"
#include "updateclient/update_commands.h"
#include "updateclient/update_script.h"

// WizardState: where the wizard stands.
enum WizardState : int {
  kWizardSearching = 0,  // searching, or the search failed
  kWizardReady = 1,      // an update is ready to download
  kWizardApplied = 2,    // the update was applied
  kWizardStopped = 3,    // the download was cancelled or failed
};

// CancelState: the user's cancel during a download.
enum CancelState : int {
  kCancelNone = 0,
  kCancelRequested = 1,  // the user said Yes; the download thread has not seen it yet
  kCancelStopping = 2,   // the current file is completed, then the update stops
  kCancelError = 3,      // a download failed
};

struct ClientState {
  // Read at start; the search thread normalises the three addresses.
  UpdaterSettingsBlock settings;
  std::wstring firstArgument;
  std::wstring clientFile;    // the client's own program file, full path
  std::wstring clientFolder;  // its folder, with a trailing "\"
  std::wstring animationFolder;
  std::wstring scriptFolder;

  // Search results.
  std::string updatesUrl;
  std::string scriptUrl;
  std::string newestVersion;
  UpdateScript script;
  ReleaseSelection selection;
  CommandContext commands;

  std::atomic<int64_t> totalSize{0};  // bytes of all downloads whose size the server told
  std::atomic<int64_t> totalDone{0};
  std::atomic<int> wizardState{kWizardSearching};
  std::atomic<int> downloadRunning{0};
  std::atomic<int> cancelState{kCancelNone};
  // Set by the download thread: the last release applied whole, for the rebuild after a
  // cancel or a failure.
  std::string lastCompletedRelease;
};

#endif
