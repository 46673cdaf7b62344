// Library loading for the programs that run on end-user machines (the setup runtime and
// the uninstaller). They start from folders anyone may have written to (a downloads
// folder, an installation folder), and Windows looks in a program's own folder first when
// a library is asked for by bare name. Restricting our own loads to the system folder is
// not enough: some system libraries load others by bare name on our behalf (the cabinet
// library, for one, when a cabinet is iterated) and do not honour that restriction. Those
// are loaded here from the system folder by full path before anything can ask for them;
// a later request by bare name then finds the module already loaded.
#ifndef ZK_COMMON_SYSTEM_LIBRARIES_H
#define ZK_COMMON_SYSTEM_LIBRARIES_H

#include <windows.h>

// Restricts this process's library loads to the system folder and loads the libraries
// that system libraries ask for by bare name (the list in system_libraries.cpp) from
// there by full path. Call first thing in the program.
void RestrictLibraryLoading();

// A system library by its full path in the system folder; nullptr when it cannot be
// loaded. Never freed by callers that keep function addresses from it.
HMODULE LoadSystemLibrary(const wchar_t* name);

#endif
