// The window procedure the toolkit puts in front of every window that hosts one of its
// menu bars, tool bars or rebars: the previous procedure always runs first, then the
// toolkit handles the notifications the controls send their parent.
#ifndef ZK_TOVREL_FRAME_PARENT_WINDOW_H
#define ZK_TOVREL_FRAME_PARENT_WINDOW_H

#include <windows.h>

#include <stdint.h>

namespace tovrel {

LRESULT CALLBACK ParentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Puts ParentWindowProc in front of the window's procedure and adds WS_CLIPCHILDREN to its
// style, once per window however many bars, tool bars and rebars it hosts.
void SubclassParentWindow(HWND window);

// The previous procedure of the latest subclassing and, while a message is handled, that
// of the window that received it.
extern WNDPROC PreviousWindowProc;
// -1 while the window is sized (WM_SIZING to WM_EXITSIZEMOVE) or a band drag resizes it.
extern int ParentResizing;

// The native band drag, from RBN_BEGINDRAG to RBN_ENDDRAG.
extern HWND BandSyncRebar;  // nullptr: no drag
extern int32_t BandSyncBandId;
extern int32_t BandSyncBandIndex;
extern HWND BandSyncParent;  // the window that got RBN_BEGINDRAG; also moved by band-row dragging
extern HHOOK BandSizeHookHandle;

}  // namespace tovrel

#endif
