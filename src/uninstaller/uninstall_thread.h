// The uninstall thread: replays the records of the log, then ends the program with the
// success message, the web site and the self-deleting batch.
#ifndef ZK_UNINSTALLER_UNINSTALL_THREAD_H
#define ZK_UNINSTALLER_UNINSTALL_THREAD_H

#include "common/language_file.h"
#include "uninstaller/record_guard.h"
#include "uninstaller/uninstall_log.h"

// Everything the thread works on; filled and checked before it starts, read-only after.
struct UninstallSession {
  UninstallLog log;
  GuardContext guard;
  UninstallTexts texts;
};

using ProgressProc = void (*)(int value, void* user);

// Applies every record in file order; each file and folder record advances the progress
// by one (whether it acted or was skipped). Returns the number of records that acted.
int ReplayUninstallLog(const UninstallLog& log, const GuardContext& guard, ProgressProc progress, void* user);

// Starts the thread on session (which must outlive the program). false when it could not start.
bool StartUninstallThread(const UninstallSession* session);

#endif
