#include "support/waits.h"

bool WaitFor(const std::function<bool()>& holds, DWORD timeoutMs, DWORD pollMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (holds()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    ULONGLONG left = deadline - now;
    Sleep(left < pollMs ? static_cast<DWORD>(left) : pollMs);
  }
}

void PumpMessagesFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (GetTickCount64() < end);
}
