// Paths of the tool's own files. They are built from the program folder, not taken
// relative to the current folder, so a requester that changes the current folder cannot
// make the tool lose them.
#ifndef ZK_APP_PATHS_H
#define ZK_APP_PATHS_H

#include <string>

// The folder of Zendrikolbar.exe, with a trailing backslash.
const std::string& ProgramFolder();
// ProgramFolder() + relative.
std::string ProgramPath(const std::string& relative);

#endif
