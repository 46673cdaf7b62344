#include "setupruntime/splash.h"

#include <windows.h>

#include <stdlib.h>

#include "common/dpi.h"
#include "common/gui.h"
#include "common/images.h"
#include "common/scoped.h"
#include "model/setup_files.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/splash_sound.h"

namespace {

// Written once by the timer thread, polled by the GUI thread.
volatile LONG g_splashDone = 0;

DWORD WINAPI SplashTimerThread(LPVOID ms) {
  Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(ms)));
  InterlockedExchange(&g_splashDone, 1);
  return 0;
}

LONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return 0;
  return (static_cast<LONGLONG>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

}  // namespace

unsigned SplashMilliseconds(const std::wstring& seconds) {
  double s = wcstod(seconds.c_str(), nullptr);
  // A day is far beyond any splash; the cap keeps the product inside the number's range.
  if (!(s > 0)) return 0;
  if (s > 86400) s = 86400;
  return static_cast<unsigned>(s * 1000.0);
}

void ShowSplashScreen() {
  const RuntimeState& r = Runtime();
  if (!LoadRuntimeImageW(kImageSplash, r.workFolder + setup_files::kSplashImage.wide)) return;
  // The window fits the picture, which is shown in its own pixels at any DPI.
  int w = ScreenToLayout(RuntimeImageWidth(kImageSplash)), h = ScreenToLayout(RuntimeImageHeight(kImageSplash));
  if (!OpenRuntimeWindowW(kSplashWindow, 0, 0, w, h, L"Zendrikolbar Setup",
                          kWindowBorderless | kWindowScreenCentered | kWindowInvisible | kWindowTool)) {
    FreeRuntimeImage(kImageSplash);
    return;
  }
  ShowRuntimeWindow(kSplashWindow, true);
  CreateImageControl(kAnyNumber, 0, 0, w, h, RuntimeImageHandle(kImageSplash));
  SplashSound* sound = nullptr;
  std::wstring soundPath = r.workFolder + setup_files::kSplashSound.wide;
  if (FileSize(soundPath) > 0) sound = PlaySplashSound(WindowHandle(kSplashWindow), soundPath);
  uintptr_t ms = SplashMilliseconds(r.config.splashTime);
  // The thread is never waited on: it only counts down and says when it is done.
  ScopedHandle timer(CreateThread(nullptr, 0, SplashTimerThread, reinterpret_cast<LPVOID>(ms), 0, nullptr));
  if (timer) {
    timer.reset();
    while (InterlockedCompareExchange(&g_splashDone, 0, 0) == 0) {
      WindowEvent();
      Sleep(10);
    }
  }
  FreeSplashSound(sound);
  CloseRuntimeWindow(kSplashWindow);
  FreeRuntimeImage(kImageSplash);
}
