#include "tovrel/frame/tracked_messages.h"

#include "tovrel/foundation/window_tracking.h"

namespace tovrel {

void RegisterFrameTrackedMessages() { SetTrackedWindowHandler(&HandleFrameTrackedMessage); }

LRESULT HandleFrameTrackedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING && lParam) {
    HandleRebarWindowPosChanging(window, *reinterpret_cast<const WINDOWPOS*>(lParam));
  }
  return HandleGadgetMessage(window, message, wParam, lParam);
}

}  // namespace tovrel
