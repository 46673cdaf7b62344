// The tool's side of the build thread: its reporter, which hands every change on to the
// GUI thread, and the thread procedure that runs a build with it.
#ifndef ZK_APP_BUILD_BUILD_REPORTER_H
#define ZK_APP_BUILD_BUILD_REPORTER_H

#include <stdint.h>

#include <string>

#include "builder/build_thread.h"

// Posts the log lines, progress and texts to the GUI thread, which applies them to the
// Build page and the progress window when it next takes events; asks the build requests
// (build_requests.h) about Pause and Cancel. The question whether to run the new setup is
// a message box of the build thread itself: it touches no control.
class ToolBuildReporter : public BuildReporter {
 public:
  void Log(const std::string& line) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgress(int position) override;
  void SetLabel(const std::string& text) override;
  bool MustStop() override;
  bool PauseRequested() override;
  void SetupWritten(const std::string& path) override;
  void HideProgress() override;
  void OfferToRun(const std::string& path) override;
  // Ends the build requests, then enables the main window and brings it to the front.
  void Finished() override;
};

// Thread procedure. `argument` is a BuildInput allocated with new, which the thread owns.
void RunBuildThread(intptr_t argument);

// Appends text as a new line at the end of the build log. GUI thread only.
void AddBuildLogLine(const std::string& text);

#endif
