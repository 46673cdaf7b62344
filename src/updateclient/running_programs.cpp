#include "updateclient/running_programs.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "common/path_split.h"
#include "common/scoped.h"
#include "common/text.h"

namespace {

// How long a program gets to close its windows before it is terminated.
constexpr DWORD kCloseWaitMs = 5000;

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH * 4) return path;
  return std::wstring(buffer, n);
}

std::wstring ImagePath(HANDLE process) {
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = MAX_PATH * 4;
  if (!QueryFullProcessImageNameW(process, 0, buffer, &n)) return std::wstring();
  return std::wstring(buffer, n);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// The processes (other than this one) whose image is `path`, opened to wait for and end.
std::vector<HANDLE> OpenProcessesOf(const std::wstring& path) {
  std::vector<HANDLE> found;
  if (path.empty()) return found;
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  // A quick look at the name first: opening every process of the machine is slow.
  std::wstring name = PathFileName(path);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId() || !SamePath(entry.szExeFile, name)) continue;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (!process) continue;
    if (SamePath(FullPath(ImagePath(process)), path))
      found.push_back(process);
    else
      CloseHandle(process);
  }
  return found;
}

BOOL CALLBACK CloseWindowOf(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == DWORD(processId) && IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

std::wstring ResolveProgramFile(const std::string& programFile, const std::wstring& clientFolder) {
  if (programFile.empty()) return std::wstring();
  std::wstring path = AnsiToWide(programFile);
  bool absolute = (path.size() >= 2 && path[1] == L':') || (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
  if (!absolute) path = clientFolder + path;
  return FullPath(path);
}

bool IsProgramRunning(const std::wstring& programPath) {
  std::vector<HANDLE> processes = OpenProcessesOf(programPath);
  for (HANDLE p : processes) CloseHandle(p);
  return !processes.empty();
}

void EndRunningProgram(const std::wstring& programPath) {
  std::vector<HANDLE> processes = OpenProcessesOf(programPath);
  if (processes.empty()) return;
  for (HANDLE p : processes) EnumWindows(CloseWindowOf, LPARAM(GetProcessId(p)));
  DWORD start = GetTickCount();
  for (HANDLE p : processes) {
    DWORD spent = GetTickCount() - start;
    if (WaitForSingleObject(p, spent < kCloseWaitMs ? kCloseWaitMs - spent : 0) != WAIT_OBJECT_0) {
      TerminateProcess(p, 1);
      WaitForSingleObject(p, kCloseWaitMs);
    }
    CloseHandle(p);
  }
}

bool StartProgram(const std::wstring& programPath) {
  std::wstring commandLine = L"\"" + programPath + L"\"";
  std::wstring folder = PathFolder(programPath);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(programPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}
