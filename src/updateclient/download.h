// The download thread: ends the running product when the settings ask for it, applies the
// pending releases, and reports the progress through DownloadUi. The user's cancel is
// carried out after the file being downloaded: commands and files already carried out
// stay applied.
#ifndef ZK_UPDATECLIENT_DOWNLOAD_H
#define ZK_UPDATECLIENT_DOWNLOAD_H

#include <windows.h>
#include <stdint.h>

#include <string>

#include "updateclient/client_state.h"
#include "updateclient/http_client.h"
#include "updateclient/update_commands.h"

struct ProgressFigures {
  std::string fileName;
  int64_t fileDone = 0;
  int64_t fileSize = -1;  // -1: the server did not tell
  int64_t totalDone = 0;
  int64_t totalSize = 0;  // 0: no size was told
  int64_t bytesPerSecond = 0;
};

class DownloadUi {
 public:
  virtual ~DownloadUi() = default;
  // The window is to show another file: its line, the labels sized for their widest text.
  virtual void FileStarted(const ProgressFigures& figures) = 0;
  // The labels, the speed and the bars; at most twice a second.
  virtual void ShowProgress(const ProgressFigures& figures) = 0;
  // The cancel was seen: the update stops after the current file.
  virtual void ShowCancelling() = 0;
  // The finish page for `wizardState` (kWizardApplied or kWizardStopped) and the cancel
  // state that decides its text.
  virtual void Finished(int wizardState, int cancelState) = 0;
};

// The cancel question stops the download where it is while it is open. The GUI thread
// closes the gate before it asks and opens it afterwards; the download thread passes it
// after every block. Nothing else is held meanwhile, so the window stays responsive.
class CancelGate {
 public:
  CancelGate();
  ~CancelGate();
  void Close();
  void Open();
  void Pass() const;

 private:
  HANDLE open_;
};

// The downloads of the apply loop, with the progress procedure of the wizard.
class ClientDownloader : public ReleaseDownloader, public DownloadObserver {
 public:
  ClientDownloader(ClientState& state, DownloadUi& ui, const CancelGate& gate) : state_(state), ui_(ui), gate_(gate) {}
  bool Download(const DownloadTarget& target) override;
  bool OnProgress(const DownloadProgress& progress) override;
  void OnError(const DownloadProgress& progress) override;

 private:
  ProgressFigures Figures(const DownloadProgress& progress) const;
  // True when a cancel was asked for; turns a request into "stopping" and tells the UI.
  bool CancelSeen();

  ClientState& state_;
  DownloadUi& ui_;
  const CancelGate& gate_;
  int fileNumber_ = 0;  // counts the files downloaded
  int shownFile_ = 0;   // the file the window shows; 0 before the first
  DWORD lastRefresh_ = 0;
};

// The whole download thread's work.
void RunDownload(ClientState& state, DownloadUi& ui, const CancelGate& gate);

#endif
