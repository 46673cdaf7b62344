#include "uninstaller/run_uninstaller.h"

#include <windows.h>

#include "common/path_split.h"
#include "common/failure_log.h"
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

const char* LogStatusText(LogStatus status) {
  switch (status) {
    case LogStatus::Ok:
      return "";
    case LogStatus::Missing:
      return "cannot open";
    case LogStatus::WrongVersion:
      return "wrong version";
    case LogStatus::ShortHeader:
      return "short header";
    case LogStatus::CutRecord:
      return "cut record";
    case LogStatus::TooLarge:
      return "too large";
  }
  return "";
}

// The uninstaller refuses to start: the user sees "Uninstall error!", the failure log why.
bool Refuse(const FailureCause& cause) {
  ReportFailure(cause);
  return false;
}

}  // namespace

bool LoadUninstallSession(const std::wstring& folder, const std::wstring& programPath, UninstallSession* session) {
  UninstallSession s;
  const std::wstring logFile = folder + kUninstallLogFile;
  LogStatus status = ReadUninstallLog(logFile, &s.log);
  if (status != LogStatus::Ok) return Refuse({"read the uninstall log", logFile.c_str(), 0, LogStatusText(status)});
  if (CheckLogBinding(s.log, programPath) == LogBinding::Differs)
    return Refuse({"check the uninstall log", logFile.c_str(), 0, "digest differs"});
  const std::wstring texts = folder + kUninstallTextsFile;
  if (!ReadUninstallTexts(texts, s.log.productName, &s.texts))
    return Refuse({"read the uninstaller's language file", texts.c_str()});
  if (!BuildGuardContext(s.log.installFolder, &s.guard))
    return Refuse({"find the guarded folders", s.log.installFolder.c_str(), 0, "unusable installation folder"});
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
  if (folder.empty()) ReportFailure({"find the uninstaller's own file", L"", 0, "path too long"});
  if (folder.empty() || !LoadUninstallSession(folder, program, &session)) {
    UninstallMessage(L"Error", L"Uninstall error!", MB_OK | MB_ICONSTOP);
    return kUninstallFailed;
  }
  if (UninstallMessage(session.texts.bmT, session.texts.bm, MB_YESNO | MB_ICONQUESTION) != IDYES) return kUninstallDone;
  if (!OpenUninstallWindow(session.texts, session.log) || !StartUninstallThread(&session)) {
    ReportFailure({"start the uninstall", L"", GetLastError()});
    UninstallMessage(L"Error", L"Uninstall error!", MB_OK | MB_ICONSTOP);
    return kUninstallFailed;
  }
  RunUninstallEvents(session.texts);
  return kUninstallStopped;
}
