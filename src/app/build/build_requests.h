// What the GUI thread asks of a running build, and whether one runs.
//
// Pause and Cancel are requests, not thread suspension or termination: a thread stopped
// from outside may hold a lock (a runtime table's, the heap's) or leave half-written files.
// The build thread looks at the requests between its steps, between files and between
// chunks of data, and stops or waits there by itself.
#ifndef ZK_APP_BUILD_BUILD_REQUESTS_H
#define ZK_APP_BUILD_BUILD_REQUESTS_H

// GUI thread. A new build: running, neither paused nor cancelled.
void BeginBuildRequests();
void RequestBuildPause();
void RequestBuildResume();
// Also ends a pause, so that a paused build can wind itself up.
void RequestBuildCancel();
// True from BeginBuildRequests until the build thread calls EndBuildRequests.
bool BuildRunning();

// Build thread. Waits while the build is paused; true when it is to stop.
bool BuildMustStop();
// True while a pause is asked for; does not wait.
bool BuildPauseRequested();
// The build thread touches nothing shared after this: the next build may start.
void EndBuildRequests();

#endif
