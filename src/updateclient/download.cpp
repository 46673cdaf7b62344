#include "updateclient/download.h"

#include "updateclient/running_programs.h"

namespace {

constexpr DWORD kRefreshMs = 500;

}  // namespace

CancelGate::CancelGate() : open_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
CancelGate::~CancelGate() {
  if (open_) CloseHandle(open_);
}
void CancelGate::Close() { ResetEvent(open_); }
void CancelGate::Open() { SetEvent(open_); }
void CancelGate::Pass() const { WaitForSingleObject(open_, INFINITE); }

ProgressFigures ClientDownloader::Figures(const DownloadProgress& progress) const {
  ProgressFigures f;
  f.fileName = progress.fileName;
  f.fileDone = progress.fileDone;
  f.fileSize = progress.fileSize;
  f.totalDone = state_.totalDone;
  f.totalSize = state_.totalSize;
  f.bytesPerSecond = progress.bytesPerSecond;
  return f;
}

bool ClientDownloader::CancelSeen() {
  int expected = kCancelRequested;
  if (state_.cancelState.compare_exchange_strong(expected, kCancelStopping)) {
    ui_.ShowCancelling();
    return true;
  }
  return expected == kCancelStopping;
}

bool ClientDownloader::Download(const DownloadTarget& target) {
  gate_.Pass();
  if (CancelSeen()) return false;
  ++fileNumber_;
  if (!DownloadWithProgress(state_.updatesUrl + target.urlPath, target.file, target.fileName, this)) return false;
  // The file is complete; a cancel asked for meanwhile stops the update here.
  gate_.Pass();
  return !CancelSeen();
}

bool ClientDownloader::OnProgress(const DownloadProgress& progress) {
  gate_.Pass();
  state_.totalDone += progress.blockBytes;
  if (CancelSeen()) return true;  // the current file is completed first
  // The window shows the state twice a second, whichever file that finds: a release of
  // many small files would otherwise keep the window redrawing and slow the download.
  DWORD now = GetTickCount();
  if (shownFile_ != 0 && now - lastRefresh_ < kRefreshMs) return true;
  lastRefresh_ = now;
  ProgressFigures figures = Figures(progress);
  if (shownFile_ != fileNumber_) {
    shownFile_ = fileNumber_;
    ui_.FileStarted(figures);
  }
  ui_.ShowProgress(figures);
  return true;
}

void ClientDownloader::OnError(const DownloadProgress&) { state_.cancelState = kCancelError; }

void RunDownload(ClientState& state, DownloadUi& ui, const CancelGate& gate) {
  if (state.settings.terminateFlag)
    EndRunningProgram(ResolveProgramFile(state.settings.programFile, state.clientFolder));
  state.downloadRunning = 1;
  ClientDownloader downloader(state, ui, gate);
  ApplyResult result = ApplyReleases(state.script, state.selection.pending, state.commands, downloader);
  state.lastCompletedRelease = result.lastCompletedRelease;
  int cancel = state.cancelState;
  // A download refused for its path never reached the HTTP code: it is a failed download
  // all the same.
  if (!result.completed && cancel != kCancelStopping) cancel = kCancelError;
  int wizard = cancel == kCancelStopping || cancel == kCancelError ? kWizardStopped : kWizardApplied;
  state.wizardState = wizard;
  state.downloadRunning = 0;
  state.cancelState = kCancelNone;
  ui.Finished(wizard, cancel);
}
