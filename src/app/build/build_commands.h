// The Build, Pause/Resume, Cancel and Run commands. GUI thread only.
#ifndef ZK_APP_BUILD_BUILD_COMMANDS_H
#define ZK_APP_BUILD_BUILD_COMMANDS_H

// Starts a build of the project in the controls. The menu command first shows the Build
// page; the Build button is on it already.
void StartBuild(bool showBuildPage);
void PauseBuild();
void ResumeBuild();
void CancelBuild();
// Starts the setup the last successful build wrote, when it is still there.
void RunLastSetup();
// Pause/Resume and Cancel of the progress window; true when control was one of them.
bool HandleBuildProgressButton(int control);

#endif
