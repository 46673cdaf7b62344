// The build thread: turns a copy of the project into one setup executable, and the small
// operations it and the build commands share.
//
// The thread never reads the project's controls; it gets a BuildInput taken on the GUI
// thread. It writes the build log, the progress bar and the progress window only through
// calls that end in messages the GUI thread handles, so the GUI thread must keep taking
// events while a build runs and never wait for the thread.
#ifndef ZK_APP_BUILD_BUILD_THREAD_H
#define ZK_APP_BUILD_BUILD_THREAD_H

#include <stdint.h>

#include <string>

// Thread procedure. `argument` is a BuildInput allocated with new, which the thread owns.
// Every way out removes the build's temporary folder, hides the progress window and
// enables the main window.
void BuildSetup(intptr_t argument);

// Appends text as a new line at the end of the build log. Any thread.
void AddBuildLogLine(const std::string& text);
// The archiver's progress procedure: shows the file and percent in the progress window
// (at most every kLabelInterval ms, see progress_label.h), waits while the build is
// paused and answers non-zero when it is cancelled.
int ShowZipProgress(const char* fileName, float percent, intptr_t userValue);

// A new GUID in registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; empty on failure.
std::string CreateGuidText();
// UTF-16 to the ANSI code page.
std::string ConvertWideToAnsi(const std::wstring& text);
// The text after the last "\" of path, not counting a "\" in the last place; the whole
// path when it has none.
std::string GetLastPathComponent(const std::string& path);

#endif
