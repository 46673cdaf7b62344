// Starting the author's programs: the install commands, the program run at finish and
// the web site the uninstaller opens.
#ifndef ZK_SETUPRUNTIME_PROGRAM_START_H
#define ZK_SETUPRUNTIME_PROGRAM_START_H

#include <string>

// Options of StartProgram, combined with "|".
constexpr int kStartWait = 1;    // return only when the started program has ended
constexpr int kStartHidden = 2;  // start it with a hidden window

// Starts program (put in double quotes unless it starts with one) with the parameters
// after a blank, in workingFolder (empty: the current folder). When it cannot be started
// as a program, it is opened with its associated application instead (a document or a
// URL). 1 when something was started; failures are for the caller to ignore or not.
int StartProgram(const std::wstring& program, const std::wstring& parameters, const std::wstring& workingFolder,
                 int options);

// Runs commandLine through the system's command interpreter and waits for it to end.
// The line goes to the interpreter as UTF-16, so names outside the ANSI code page
// survive. 1 when the interpreter ran.
int RunCommandLine(const std::wstring& commandLine);

// The folder part of path, up to and including its last "\" (a leading quotation mark is
// not part of it); empty when path has no folder.
std::wstring FolderPart(const std::wstring& path);

#endif
