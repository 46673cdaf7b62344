#include "app/build/build_requests.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> g_running{false};
std::atomic<bool> g_cancel{false};

// Manual-reset event, set while the build may go on. Made once and never closed: the
// build thread may still wait on it while the process ends.
HANDLE GoEvent() {
  static HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  return event;
}

}  // namespace

void BeginBuildRequests() {
  g_cancel = false;
  SetEvent(GoEvent());
  g_running = true;
}

void RequestBuildPause() { ResetEvent(GoEvent()); }

void RequestBuildResume() { SetEvent(GoEvent()); }

void RequestBuildCancel() {
  g_cancel = true;
  SetEvent(GoEvent());
}

bool BuildRunning() { return g_running; }

bool BuildMustStop() {
  HANDLE event = GoEvent();
  if (event) WaitForSingleObject(event, INFINITE);
  return g_cancel;
}

bool BuildPauseRequested() {
  HANDLE event = GoEvent();
  return event != nullptr && WaitForSingleObject(event, 0) == WAIT_TIMEOUT;
}

void EndBuildRequests() { g_running = false; }
