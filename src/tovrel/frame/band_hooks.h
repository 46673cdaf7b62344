// The GUI thread's mouse hooks that follow the dragging of rebar bands.
#ifndef ZK_TOVREL_FRAME_BAND_HOOKS_H
#define ZK_TOVREL_FRAME_BAND_HOOKS_H

#include <windows.h>

namespace tovrel {

// While the rebar drags a band by its gripper: re-fits fill and follow bands.
LRESULT CALLBACK BandSizeSyncHook(int code, WPARAM wParam, LPARAM lParam);
// Lets the user drag the top or bottom edge of a follow band.
LRESULT CALLBACK BandGripperDragHook(int code, WPARAM wParam, LPARAM lParam);

extern HHOOK BandDragHookHandle;  // BandGripperDragHook, installed once by CreateRebar

}  // namespace tovrel

#endif
