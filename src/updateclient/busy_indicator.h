// The busy indicator of the search page: a small animation that the client draws itself,
// frame by frame on a timer, from a strip of frames side by side.
#ifndef ZK_UPDATECLIENT_BUSY_INDICATOR_H
#define ZK_UPDATECLIENT_BUSY_INDICATOR_H

#include <windows.h>

// A child window of `parent` at x, y showing the animation. `frames` is a 32-bit bitmap of
// square frames side by side, with alpha; the indicator draws them over the button face.
// The window owns a copy of what it needs; `frames` stays the caller's.
HWND CreateBusyIndicator(HWND parent, int id, int x, int y, HBITMAP frames);

#endif
