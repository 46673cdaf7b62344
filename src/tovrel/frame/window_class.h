// Which control a window is: messages of one control class must never reach a window of
// another that happens to have the handle a caller passed.
#ifndef ZK_TOVREL_FRAME_WINDOW_CLASS_H
#define ZK_TOVREL_FRAME_WINDOW_CLASS_H

#include <windows.h>

namespace tovrel {

// The window exists and its class name is `className` (compared without regard to case).
bool IsWindowOfClass(HWND window, const char* className);

}  // namespace tovrel

#endif
