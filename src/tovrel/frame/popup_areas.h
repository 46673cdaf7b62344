// Where open popups stand on the screen: their drop shadows, and the areas a popup
// uncovers when it moves or closes, repainted by the windows below.
#ifndef ZK_TOVREL_FRAME_POPUP_AREAS_H
#define ZK_TOVREL_FRAME_POPUP_AREAS_H

#include <windows.h>

#include <stdint.h>

namespace tovrel {

// Creates the popup's shadow strips once, when it is first placed. -> 0
int PlacePopupAndShadows(HWND popup);
// Repaints what the popup no longer covers of LastPopupRect, and clears it.
int RedrawUncoveredMenuArea(HWND popup);
// Repaints `rect` (screen) in every visible top-level window below `window` (nullptr: all).
int RedrawWindowsBelow(const RECT& rect, HWND window);
// RedrawWindowsBelow's EnumWindows step; `context` is its own.
BOOL CALLBACK RedrawBelowCallback(HWND window, LPARAM context);
// Repaints all of LastPopupRect, and clears it.
int RedrawLastMenuArea();
// The screen backing store of menu areas; acts only while MenuBackingStoreEnabled is 1,
// which nothing sets.
int CaptureMenuBackground(intptr_t mode, const RECT& rect);

}  // namespace tovrel

#endif
