// EnumWindows callbacks of the toolkit's shutdown and of colour changes: they act on the
// top-level windows of one process, whose id is the callback's parameter, and always go
// on to the next.
#ifndef ZK_TOVREL_FOUNDATION_PROCESS_WINDOWS_H
#define ZK_TOVREL_FOUNDATION_PROCESS_WINDOWS_H

#include <windows.h>

namespace tovrel {

BOOL CALLBACK HideProcessWindowCallback(HWND window, LPARAM processId);
BOOL CALLBACK DestroyProcessWindowCallback(HWND window, LPARAM processId);

// Freezes the visible direct children of a visible window of the process (FreezeChildCallback),
// then lets every frozen window draw again: a colour change reaches them all at once.
BOOL CALLBACK RefreshProcessWindowCallback(HWND window, LPARAM processId);

// EnumChildWindows callback: a visible child whose parent is `parent` (not 0) joins
// FrozenWindowList and stops drawing (WM_SETREDRAW FALSE).
BOOL CALLBACK FreezeChildCallback(HWND child, LPARAM parent);

}  // namespace tovrel

#endif
