// The build thread: turns a copy of the project into one setup executable, and the small
// operations it and the build commands share.
//
// The build never reads the project's controls and never touches a window: it works on a
// BuildInput taken on the GUI thread and tells what happens through a BuildReporter. The
// tool's reporter hands everything on to the GUI thread without waiting for it; a test's
// records the calls.
#ifndef ZK_BUILDER_BUILD_THREAD_H
#define ZK_BUILDER_BUILD_THREAD_H

#include <stdint.h>

#include <string>

#include "model/build_input.h"

// What the build tells and asks while it runs. Every call comes from the build thread.
class BuildReporter {
 public:
  virtual ~BuildReporter() = default;
  // A new line at the end of the build log.
  virtual void Log(const std::string& line) = 0;
  // The Build page's progress bar: its range (from 0) and position.
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgress(int position) = 0;
  // The text of the progress window.
  virtual void SetLabel(const std::string& text) = 0;
  // Waits while the build is paused; true when it is to stop.
  virtual bool MustStop() = 0;
  // True while a pause is asked for; does not wait.
  virtual bool PauseRequested() = 0;
  // A new setup was written at path: the one the Run command starts.
  virtual void SetupWritten(const std::string& path) = 0;
  // The progress window goes, before the question and the end.
  virtual void HideProgress() = 0;
  // The build made the setup at path and was not cancelled: asks whether to run it now,
  // and runs it when the answer is yes.
  virtual void OfferToRun(const std::string& path) = 0;
  // The last call: the build has cleaned up and touches nothing shared any more.
  virtual void Finished() = 0;
};

// Builds the setup that `in` describes. setupRuntimeImage is the setup runtime's image,
// empty when the program carries none (the build then fails at the setup file). Every way
// out removes the build's temporary folder and ends with HideProgress and Finished.
void BuildSetup(BuildInput& in, const std::string& setupRuntimeImage, BuildReporter& reporter);

// The text after the last "\" of path, not counting a "\" in the last place; the whole
// path when it has none.
std::string GetLastPathComponent(const std::string& path);

#endif
