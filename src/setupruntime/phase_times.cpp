#include "setupruntime/phase_times.h"

#include <windows.h>

#include <stdint.h>
#include <stdio.h>

namespace {

uint64_t Ticks(const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

}  // namespace

void MarkPhase(const char* name) {
  wchar_t path[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"ZK_PHASE_TIMES", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  // From the creation of the process, so that loading the program image counts too.
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
  GetSystemTimePreciseAsFileTime(&now);
  char line[160];
  int len = snprintf(line, sizeof(line), "%llu %s\r\n",
                     static_cast<unsigned long long>((Ticks(now) - Ticks(created)) / 10000), name);
  if (len <= 0 || len >= int(sizeof(line))) return;
  HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD put = 0;
  WriteFile(f, line, DWORD(len), &put, nullptr);
  CloseHandle(f);
}
