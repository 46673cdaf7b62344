// How dragging a follow band's top or bottom edge shares height out: between the band
// and the row next to it when that row can stretch, else by growing or shrinking the
// window that holds the rebar. Decided here from plain rectangles, acted on by
// RelayoutBandRow.
#ifndef ZK_TOVREL_FRAME_BAND_ROW_LAYOUT_H
#define ZK_TOVREL_FRAME_BAND_ROW_LAYOUT_H

#include <windows.h>

#include <vector>

namespace tovrel {

// A band as the rebar reports it: its rectangle in rebar coordinates (the rebar sits at
// the top left of its parent's client area, so these are parent-client coordinates too),
// its style with the toolkit bits, and its minimum child height.
struct BandGeometry {
  RECT rect;
  UINT style;
  int cyMinChild;
};

// Stretchable bands can give or take height; plain bands set a floor for their row.
bool IsStretchableBand(UINT style);

struct BandRowDrag {
  std::vector<BandGeometry> bands;  // in band index order
  int band;                         // the dragged band's index
  bool bottomEdge;                  // false: its top edge
  int y;                            // pointer y in the parent's client coordinates
  bool parentZoomed;
  RECT parentRect;  // the parent's window rectangle, screen coordinates
  RECT workArea;    // the work area of the parent's own monitor
};

struct BandHeightChange {
  int band;
  int cyMinChild;
};

struct BandRowLayout {
  std::vector<BandHeightChange> changes;  // empty: nothing to write
  // The parent is resized instead of a neighbour row; ParentResizing is raised even when
  // the change came out as 0, so that the drag's end lays the window out again.
  bool resizesParent = false;
  RECT parentRect = {};  // where the parent goes when changes is not empty
};

BandRowLayout LayoutBandRow(const BandRowDrag& drag);

// A tool bar's band after the tool bar wrapped from oldRows to newRows button rows: the
// button rows change, the extra height above them stays; never below 0.
int WrappedBandHeight(int cyMinChild, int oldRows, int newRows, int buttonHeight);

// Which edge of a band rectangle the pointer y is on: within 2 pixels, inclusive.
enum class BandEdge { None, Top, Bottom };
BandEdge BandEdgeAt(const RECT& band, int y);

}  // namespace tovrel

#endif
