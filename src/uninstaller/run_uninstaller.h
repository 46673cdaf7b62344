// The uninstaller's program: reads and checks everything first, asks, then lets the
// uninstall thread remove what the setup made.
#ifndef ZK_UNINSTALLER_RUN_UNINSTALLER_H
#define ZK_UNINSTALLER_RUN_UNINSTALLER_H

#include <string>

#include "uninstaller/uninstall_thread.h"

// Exit codes of the program.
constexpr int kUninstallDone = 0;     // removed, or the person declined
constexpr int kUninstallFailed = 1;   // language file or log refused; nothing removed
constexpr int kUninstallStopped = 2;  // stopped by the person while it ran

// Reads "uninstall_l.zkl" and "uninstall.dat" from folder (ends with "\"), checks the log
// against the digest in the Add/Remove key of the uninstaller at programPath, and checks
// the log's installation folder. false when any of it is refused; nothing is changed then.
bool LoadUninstallSession(const std::wstring& folder, const std::wstring& programPath, UninstallSession* session);

// The program: returns its exit code (the uninstall thread ends the process itself
// when it has finished).
int RunUninstaller();

#endif
