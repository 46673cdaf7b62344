// The product's program among the running processes: found by the full path of its image,
// so a program of the same name elsewhere is never touched.
#ifndef ZK_UPDATECLIENT_RUNNING_PROGRAMS_H
#define ZK_UPDATECLIENT_RUNNING_PROGRAMS_H

#include <string>

// The settings' program file (ANSI; relative to the client's folder, or absolute) as a
// full path; empty for an empty setting.
std::wstring ResolveProgramFile(const std::string& programFile, const std::wstring& clientFolder);

// Whether a running process's image is `programPath`.
bool IsProgramRunning(const std::wstring& programPath);

// Ends every running process whose image is `programPath`: its windows are asked to close
// first, and what still runs after a short wait is terminated with exit code 1.
void EndRunningProgram(const std::wstring& programPath);

// Starts the program with no parameters, in its own folder. The path goes as the
// application name and quoted in the command line, so no other file can be taken for it.
bool StartProgram(const std::wstring& programPath);

#endif
