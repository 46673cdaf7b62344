#include "support/processes.h"

#include <vector>

namespace {

// The support library stands on its own, so that tests may link either build of the
// runtime library beside it.
std::wstring FromUtf8(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(n > 0 ? static_cast<size_t>(n) : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

}  // namespace

bool RunCaptured(const std::string& commandLine, DWORD timeoutMs, std::string* output, DWORD* exitCode) {
  output->clear();
  SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return false;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  // Input from NUL: the test runner's own input may not be inheritable.
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
  si.hStdInput = nul;
  PROCESS_INFORMATION pi = {};
  std::wstring cmd = FromUtf8(commandLine);
  std::vector<wchar_t> buffer(cmd.begin(), cmd.end());
  buffer.push_back(L'\0');
  bool started =
      CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi) != 0;
  CloseHandle(writeEnd);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!started) {
    *output = "(could not start: error " + std::to_string(GetLastError()) + ")";
    CloseHandle(readEnd);
    return false;
  }
  // The pipe is drained while waiting, so a talkative program never blocks on a full pipe.
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  bool ended = false;
  for (;;) {
    DWORD available = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char chunk[4096];
      DWORD got = 0;
      if (!ReadFile(readEnd, chunk, sizeof(chunk), &got, nullptr) || got == 0) break;
      output->append(chunk, got);
    }
    if (ended) break;
    ended = WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0;
    if (!ended && GetTickCount64() >= deadline) {
      TerminateProcess(pi.hProcess, 1);
      output->append("(did not end in time)");
      break;
    }
  }
  if (ended && exitCode) GetExitCodeProcess(pi.hProcess, exitCode);
  CloseHandle(readEnd);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ended;
}
