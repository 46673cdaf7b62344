#include "tovrel/foundation/animation_thread.h"

#include <windows.h>

#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/toolkit_lock.h"

namespace tovrel {

HWND AnimationWindow = nullptr;

namespace {

const char kAnimationClass[] = "Tovrel_Animation Thread";

// Under AnimationMutex, like AnimationWindow.
bool gStopRequested = false;

LRESULT CALLBACK AnimationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EndsTheThread(UINT message) { return message == WM_QUIT || message == WM_CLOSE || message == WM_DESTROY; }

DWORD EndThread(HWND window) {
  if (window) DestroyWindow(window);
  WriteDebugLog("Animation thread closed.");
  ToolkitLock(AnimationMutex);
  AnimationWindow = nullptr;
  ToolkitUnlock(AnimationMutex);
  return kAnimationThreadExitCode;
}

}  // namespace

DWORD WINAPI AnimationThreadMain(LPVOID) {
  WriteDebugLog("Animation thread started...");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = AnimationWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kAnimationClass;
  // Fails harmlessly when an earlier thread of this process registered it.
  RegisterClassExA(&windowClass);
  // Frame timing reads the performance counter, which is only steady on one processor.
  SetThreadAffinityMask(GetCurrentThread(), 1);

  HWND window = CreateWindowExA(0, kAnimationClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!window) return EndThread(nullptr);
  ToolkitLock(AnimationMutex);
  AnimationWindow = window;
  const bool stop = gStopRequested;
  ToolkitUnlock(AnimationMutex);
  if (stop) return EndThread(window);

  // Messages are not dispatched: only their number matters. Messages sent to the window
  // reach its procedure inside GetMessageA.
  MSG message;
  for (;;) {
    BOOL got = GetMessageA(&message, window, 0, 0);
    // 0 is WM_QUIT; -1 a window that no longer exists, which no later call can wait on.
    if (got == 0 || got == -1 || EndsTheThread(message.message)) break;
  }
  return EndThread(window);
}

void RequestAnimationThreadStop() {
  ToolkitLock(AnimationMutex);
  if (AnimationWindow)
    PostMessageA(AnimationWindow, WM_CLOSE, 0, 0);
  else
    gStopRequested = true;
  ToolkitUnlock(AnimationMutex);
}

int StopAnimationThread(HANDLE thread) {
  constexpr int kAttempts = 101;
  int attempt = 1;
  for (;; ++attempt) {
    RequestAnimationThreadStop();
    DWORD code = STILL_ACTIVE;
    // Any code but STILL_ACTIVE means the thread is gone, whatever it ended with.
    if (!GetExitCodeThread(thread, &code) || code != STILL_ACTIVE || attempt == kAttempts) break;
    Sleep(10);
  }
  return attempt;
}

}  // namespace tovrel
