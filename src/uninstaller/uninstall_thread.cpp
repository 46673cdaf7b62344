#include "uninstaller/uninstall_thread.h"

#include <windows.h>

#include "common/gui.h"
#include "common/gui_thread.h"
#include "common/threads.h"
#include "model/uninstall_log_format.h"
#include "uninstaller/delete_self.h"
#include "uninstaller/remove_records.h"
#include "uninstaller/uninstall_window.h"
#include "uninstaller/website.h"

namespace {

void ShowProgress(int value, void* user) {
  const UninstallLog* log = static_cast<const UninstallLog*>(user);
  // The log holds more file and folder records than archive entries (shortcuts, the
  // start-menu folder): the bar stops at its end.
  int maximum = UninstallProgressMaximum(*log);
  int shown = value < maximum ? value : maximum;
  PostToGuiThread([shown] { SetControlState(kProgressBar, shown); });
}

// The end of the program, on the GUI thread: the window goes before the web site opens.
[[noreturn]] void EndUninstaller(const UninstallSession* s, bool hideWindow) {
  if (hideWindow) ShowRuntimeWindow(kUninstallWindow, false);
  OpenWebsite(s->log.website);
  DeleteSelf(s->guard.installFolder);
  ExitProcess(0);
}

void UninstallThread(intptr_t argument) {
  const UninstallSession* s = reinterpret_cast<const UninstallSession*>(argument);
  ReplayUninstallLog(s->log, s->guard, ShowProgress, const_cast<UninstallLog*>(&s->log));
  // The program's own folder is the current folder.
  RemoveFile(kUninstallLogFile);
  RemoveFile(kUninstallTextsFile);
  const int maximum = UninstallProgressMaximum(s->log);
  PostToGuiThread([maximum] { SetControlState(kProgressBar, maximum); });
  UninstallMessage(s->texts.successT, s->texts.success, MB_OK);
  if (!PostToGuiThread([s] { EndUninstaller(s, true); })) EndUninstaller(s, false);
}

}  // namespace

int ReplayUninstallLog(const UninstallLog& log, const GuardContext& guard, ProgressProc progress, void* user) {
  int acted = 0;
  int counter = 0;
  for (const UninstallRecord& r : log.records) {
    if (ApplyRecord(guard, r) == GuardVerdict::Act) ++acted;
    if (r.kind == RecordKind::File || r.kind == RecordKind::Folder) {
      ++counter;
      if (progress) progress(counter, user);
    }
  }
  return acted;
}

bool StartUninstallThread(const UninstallSession* session) {
  return ThreadCreate(-1, UninstallThread, reinterpret_cast<intptr_t>(session)) != 0;
}
