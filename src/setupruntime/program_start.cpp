#include "setupruntime/program_start.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "common/scoped.h"

namespace {

void Finish(HANDLE started, bool wait) {
  ScopedHandle process(started);
  if (process && wait) WaitForSingleObject(process.get(), INFINITE);
}

// CreateProcessW may change the command line it is given, so it gets a copy.
bool Create(const std::wstring& applicationName, const std::wstring& commandLine, const std::wstring& folder,
            bool hidden, bool wait) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (hidden) {
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(applicationName.empty() ? nullptr : applicationName.c_str(), line.data(), nullptr, nullptr, FALSE,
                      0, nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    return false;
  }
  ScopedHandle thread(pi.hThread);
  Finish(pi.hProcess, wait);
  return true;
}

}  // namespace

std::wstring FolderPart(const std::wstring& path) {
  std::wstring plain = !path.empty() && path[0] == L'"' ? path.substr(1) : path;
  size_t slash = plain.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : plain.substr(0, slash + 1);
}

int StartProgram(const std::wstring& program, const std::wstring& parameters, const std::wstring& workingFolder,
                 int options) {
  bool wait = (options & kStartWait) != 0;
  bool hidden = (options & kStartHidden) != 0;
  std::wstring commandLine = !program.empty() && program[0] == L'"' ? program : L"\"" + program + L"\"";
  if (!parameters.empty()) commandLine += L" " + parameters;
  if (Create(L"", commandLine, workingFolder, hidden, wait)) return 1;

  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpFile = program.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = workingFolder.empty() ? nullptr : workingFolder.c_str();
  info.nShow = hidden ? SW_HIDE : SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return 0;
  Finish(info.hProcess, wait);
  return 1;
}

int RunCommandLine(const std::wstring& commandLine) {
  // The interpreter is taken from the system folder by its full path: a bare "cmd.exe"
  // would first be looked for beside the setup, where anyone may have put one.
  wchar_t system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 0;
  std::wstring interpreter = std::wstring(system, n) + L"\\cmd.exe";
  // "/s" makes the interpreter take the line between the outer quotation marks as it
  // stands, whatever quotation marks the line holds itself.
  return Create(interpreter, L"\"" + interpreter + L"\" /s /c \"" + commandLine + L"\"", L"", false, true) ? 1 : 0;
}
