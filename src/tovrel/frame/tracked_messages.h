// What the frame does with messages of the windows the foundation tracks: a rebar that
// changes its height tells its owners, and controls hosted on tool bars keep their hover
// state.
#ifndef ZK_TOVREL_FRAME_TRACKED_MESSAGES_H
#define ZK_TOVREL_FRAME_TRACKED_MESSAGES_H

#include <windows.h>

namespace tovrel {

// Hands HandleFrameTrackedMessage to the window tracking; every creator of a tool bar or
// rebar calls it.
void RegisterFrameTrackedMessages();

// Non-zero: handled, the window's own procedure does not see the message.
LRESULT HandleFrameTrackedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A WM_WINDOWPOSCHANGING of any tracked window: when the window is a toolkit rebar whose
// height changes, its owners hear of it.
void HandleRebarWindowPosChanging(HWND window, const WINDOWPOS& pos);

// Messages of a control hosted on a tool bar with a frame. Non-zero: handled.
LRESULT HandleGadgetMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tovrel

#endif
