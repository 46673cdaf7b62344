// A library planted where a program might look for a system library: it does nothing but
// leave "<its own path>.loaded" beside itself when a process loads it, so a test can tell
// which of several planted names were picked up. It exports nothing; a program that took
// it for the real library would fail on the first function it looked for.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8];
  DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TRUE;
  lstrcpyW(path + n, L".loaded");
  HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return TRUE;
}
