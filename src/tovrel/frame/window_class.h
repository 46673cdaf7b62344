// Control messages are plain numbers in the WM_USER range: the same number means
// something else to another class, so a message goes only to a window of its class.
#ifndef ZK_TOVREL_FRAME_WINDOW_CLASS_H
#define ZK_TOVREL_FRAME_WINDOW_CLASS_H

#include <windows.h>

namespace tovrel {

// Whether the window exists and its class is `className` (compared without case).
bool IsWindowOfClass(HWND window, const char* className);

inline bool IsRebarWindow(HWND window) { return IsWindowOfClass(window, "ReBarWindow32"); }
inline bool IsToolbarWindow(HWND window) { return IsWindowOfClass(window, "ToolbarWindow32"); }

}  // namespace tovrel

#endif
