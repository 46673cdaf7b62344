#include "uninstaller/run_uninstaller.h"

#include <windows.h>

#include "common/path_split.h"
#include "common/prefs.h"
#include "model/uninstall_log_format.h"
#include "uninstaller/log_binding.h"
#include "uninstaller/uninstall_window.h"

namespace {

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  return std::wstring(path, n);
}

}  // namespace

bool LoadUninstallSession(const std::wstring& folder, const std::wstring& programPath, UninstallSession* session) {
  UninstallSession s;
  if (ReadUninstallLog(folder + kUninstallLogFile, &s.log) != LogStatus::Ok) return false;
  if (CheckLogBinding(s.log, programPath) == LogBinding::Differs) return false;
  if (!ReadUninstallTexts(folder + kUninstallTextsFile, s.log.productName, &s.texts)) return false;
  if (!BuildGuardContext(s.log.installFolder, &s.guard)) return false;
  *session = s;
  return true;
}

int RunUninstaller() {
  SetPreferenceCodePage(CP_UTF8);
  std::wstring program = OwnPath();
  std::wstring folder = PathFolder(program);
  if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
  LoadUninstallArtwork();

  // The session must outlive the uninstall thread, which ends the process itself.
  static UninstallSession session;
  if (folder.empty() || !LoadUninstallSession(folder, program, &session)) {
    UninstallMessage(L"Error", L"Uninstall error!", MB_OK | MB_ICONSTOP);
    return kUninstallFailed;
  }
  if (UninstallMessage(session.texts.bmT, session.texts.bm, MB_YESNO | MB_ICONQUESTION) != IDYES) return kUninstallDone;
  if (!OpenUninstallWindow(session.texts, session.log) || !StartUninstallThread(&session)) {
    UninstallMessage(L"Error", L"Uninstall error!", MB_OK | MB_ICONSTOP);
    return kUninstallFailed;
  }
  RunUninstallEvents(session.texts);
  return kUninstallStopped;
}
