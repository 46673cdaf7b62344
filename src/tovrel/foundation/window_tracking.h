// Every window the GUI thread creates is watched through a procedure of the toolkit's
// own: a WH_CALLWNDPROC hook sees each WM_CREATE, records the window in TrackedWindowMap
// and subclasses it with TrackedWindowProc, which keeps size limits and passes everything
// on to the procedure it replaced.
#ifndef ZK_TOVREL_FOUNDATION_WINDOW_TRACKING_H
#define ZK_TOVREL_FOUNDATION_WINDOW_TRACKING_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/maps.h"

namespace tovrel {

// Set by the splitter while it tracks hover: top-level windows then see no mouse moves.
extern int32_t SplitterHoverTracking;

// Installs WindowCreationHook for the calling thread unless CallWndProcHookHandle is set
// already; returns the hook.
HHOOK InstallWindowCreationHook();

LRESULT CALLBACK WindowCreationHook(int code, WPARAM wParam, LPARAM lParam);
// The subclass procedure of ANSI windows and that of Unicode windows; each passes
// messages on to the procedure it replaced in its own character set.
LRESULT CALLBACK TrackedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TrackedWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The toolkit's own handling of tracked windows that belong to the frame above the
// foundation (rebars, controls hosted on tool bars); non-zero = handled, and the window's
// previous procedure does not see the message. 0 while no handler is set.
LRESULT HandleTrackedWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using TrackedWindowHandler = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The frame hands over its handler when it makes its first tool bar or rebar.
void SetTrackedWindowHandler(TrackedWindowHandler handler);

// What the frame sees of every message sent to a window of the GUI thread: the system's
// popup menu windows as they are made and destroyed, and WM_MENUSELECT, which the menu
// loop sends to the menu's owner. Handed over by the frame when it makes its first menu.
using SentMessageObserver = void (*)(const CWPSTRUCT& sent);
void SetSentMessageObserver(SentMessageObserver observer);

// Applies the record's size limits to a size or position change of a window whose
// rectangle (in the coordinates of `pos`) is `current`. A limited size taken from the
// left or top edge moves that edge back, so that the opposite edge stays where asked.
void ApplySizeLimits(const TrackedWindow& limits, const RECT& current, WINDOWPOS& pos);

// Limits the window's size (0 = no limit) and resizes it at once when it is outside them.
// Returns 1, or 0 when the window does not exist.
int SetWindowSizeLimits(HWND window, int minWidth, int minHeight, int maxWidth, int maxHeight);

// At shutdown: gives every tracked window that still exists its previous procedure back
// and drops its record.
void RestoreTrackedWindows();

}  // namespace tovrel

#endif
