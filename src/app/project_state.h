// The application's globals that are not controls.
#ifndef ZK_APP_PROJECT_STATE_H
#define ZK_APP_PROJECT_STATE_H

#include <mutex>
#include <string>

// Path of the open project file; empty for an untitled project. GUI thread only.
extern std::string ProjectPath;

// Path of the last setup the build thread wrote successfully. The build thread writes it
// and the GUI thread reads it after every event, so both go through these.
std::string GetLastSetupPath();
void SetLastSetupPath(const std::string& path);

#endif
