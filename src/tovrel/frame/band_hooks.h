// The GUI thread's mouse hooks that follow the dragging of rebar bands: the rebar's own
// drag of a band by its gripper, and the toolkit's drag of a follow band's top or bottom
// edge, which changes the height of the band rows.
#ifndef ZK_TOVREL_FRAME_BAND_HOOKS_H
#define ZK_TOVREL_FRAME_BAND_HOOKS_H

#include <windows.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// While the rebar drags a band by its gripper: re-fits fill and follow bands when the band
// changed places or the rows changed, and follows tool bars that wrapped.
LRESULT CALLBACK BandSizeSyncHook(int code, WPARAM wParam, LPARAM lParam);
// Lets the user drag the top or bottom edge of a follow band.
LRESULT CALLBACK BandGripperDragHook(int code, WPARAM wParam, LPARAM lParam);
// Keeps the north-south cursor up while the pointer is on a draggable edge or drags one.
LRESULT CALLBACK DragCursorHook(int code, WPARAM wParam, LPARAM lParam);

// Shares height between the dragged band and its neighbour row, or resizes the rebar's
// parent (BandSyncParent) when there is no stretchable neighbour. edge 0: the band's top
// edge; y in the parent's client coordinates. -> 0
int RelayoutBandRow(HWND rebar, int band, int edge, int y);

// When the tool bar, a child of the rebar, now has another number of button rows than
// its band was last fitted to, its band's minimum height follows them.
void SyncToolbarBandRows(HWND rebar, Toolbar& toolbar);

extern HHOOK BandDragHookHandle;  // BandGripperDragHook, installed once by CreateRebar
extern int BandSyncRowCount;      // the dragged rebar's rows when last seen; kept between drags
// Where the left button last went down on this thread, in screen coordinates: the band a
// rebar drag started on when the rebar's notification does not name it.
extern POINT BandPressPoint;

// The edge drag. DraggedBand (toolkit_globals.h) is its band index, -1 when none runs.
extern HWND BandDragRebar;
extern int BandDragEdge;  // 0 top, -1 bottom
extern int BandDragLastY;
// 0 none; -1 the pointer is on a draggable edge; -2 an edge is being dragged.
extern int DragCursorMode;
extern HHOOK DragCursorHookHandle;

}  // namespace tovrel

#endif
