// The height of toolkit rebars and the message that tells their owners it changed.
#ifndef ZK_TOVREL_FRAME_REBAR_HEIGHT_H
#define ZK_TOVREL_FRAME_REBAR_HEIGHT_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// wParam: the new bar height in pixels; lParam: the rebar window.
constexpr UINT WM_TOVREL_REBARHEIGHT = 0x8953;

// The height last announced, one value for all rebars; 0 at start.
extern int LastRebarHeight;

// RB_GETBARHEIGHT of the rebar (number or window). An argument that names no rebar is
// asked itself when it is a rebar window; anything else answers 0.
int GetRebarHeight(intptr_t rebar);

// Sets the procedure NotifyRebarHeight calls before the owners. -> the previous one (0 for
// none); -1 when the callback is nullptr or the rebar is unknown, and nothing changes.
intptr_t SetRebarHeightCallback(intptr_t rebar, WNDPROC callback);

// Announces a height of RebarList's current rebar (0: measure it) when it differs from
// LastRebarHeight: to its height callback, then to its root window and its parent (both,
// even when they are one window). -> 0
int NotifyRebarHeight(int height);

// NotifyRebarHeight(0) for the rebar, made current first: for operations whose own calls
// may have made another rebar current.
void AnnounceRebarHeight(const Rebar* rebar);

}  // namespace tovrel

#endif
