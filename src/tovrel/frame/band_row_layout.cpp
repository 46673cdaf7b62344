#include "tovrel/frame/band_row_layout.h"

#include <commctrl.h>

#include <algorithm>

#include "tovrel/frame/rebar_fitting.h"

namespace tovrel {

namespace {

// The rebar keeps a hidden band's old rectangle, which would pass for a row of its own.
bool Shown(const BandGeometry& b) { return (b.style & RBBS_HIDDEN) == 0; }

// The tallest plain band sharing the dragged band's row: no drag makes the row lower.
int RowFloor(const BandRowDrag& drag) {
  const RECT& r = drag.bands[drag.band].rect;
  int floor = 0;
  for (size_t i = 0; i < drag.bands.size(); ++i) {
    const BandGeometry& b = drag.bands[i];
    if (static_cast<int>(i) == drag.band || !Shown(b) || b.rect.top != r.top || IsStretchableBand(b.style)) continue;
    floor = std::max(floor, b.cyMinChild);
  }
  return floor;
}

// A change that would leave the band below the floor stops at the floor; a band already
// below it does not move in that direction at all.
int ApplyFloor(const BandRowDrag& drag, int d) {
  const RECT& r = drag.bands[drag.band].rect;
  int h = r.bottom - r.top - 4;  // without the band's border
  int floor = RowFloor(drag);
  if (h + d < floor) d = floor - h <= 0 ? floor - h : 0;
  return d;
}

// The last band of the row above (top edge) or the first band of the row below.
int Neighbour(const BandRowDrag& drag) {
  const RECT& r = drag.bands[drag.band].rect;
  if (!drag.bottomEdge) {
    for (int i = drag.band - 1; i >= 0; --i)
      if (Shown(drag.bands[i]) && drag.bands[i].rect.top < r.top) return i;
  } else {
    for (int i = drag.band + 1; i < static_cast<int>(drag.bands.size()); ++i)
      if (Shown(drag.bands[i]) && drag.bands[i].rect.top > r.top) return i;
  }
  return -1;
}

}  // namespace

bool IsStretchableBand(UINT style) { return (style & (RebarFillBandBits | RebarFollowBand)) != 0; }

BandRowLayout LayoutBandRow(const BandRowDrag& drag) {
  BandRowLayout out;
  if (drag.band < 0 || drag.band >= static_cast<int>(drag.bands.size())) return out;
  const BandGeometry& self = drag.bands[drag.band];
  const RECT& r = self.rect;
  int n = Neighbour(drag);

  if (n >= 0 && IsStretchableBand(drag.bands[n].style)) {
    const BandGeometry& other = drag.bands[n];
    // The pointer is held 6 pixels inside the neighbour row.
    int d = drag.bottomEdge ? std::min(drag.y, static_cast<int>(other.rect.bottom) - 6) - r.bottom
                            : r.top - std::max(drag.y, static_cast<int>(other.rect.top) + 6);
    d = ApplyFloor(drag, d);
    // Neither minimum height may go below 0, whatever the rectangles say.
    d = std::min(d, other.cyMinChild);
    d = std::max(d, -self.cyMinChild);
    if (d != 0) out.changes = {{drag.band, self.cyMinChild + d}, {n, other.cyMinChild - d}};
    return out;
  }

  if (drag.parentZoomed) return out;
  out.resizesParent = true;
  const RECT& w = drag.parentRect;
  const RECT& s = drag.workArea;
  int d = ApplyFloor(drag, drag.bottomEdge ? drag.y - r.bottom : r.top - drag.y);
  if (!drag.bottomEdge && w.top - d < s.top) {
    int room = w.top - s.top;
    d = room >= 0 && room <= d ? room : 0;
  }
  if (drag.bottomEdge && w.bottom + d > s.bottom) {
    int room = s.bottom - w.bottom;
    d = room >= 0 && room <= d ? room : 0;
  }
  d = std::max(d, -self.cyMinChild);
  if (d == 0) return out;
  out.changes = {{drag.band, self.cyMinChild + d}};
  out.parentRect = w;
  if (drag.bottomEdge)
    out.parentRect.bottom += d;
  else
    out.parentRect.top -= d;
  return out;
}

int WrappedBandHeight(int cyMinChild, int oldRows, int newRows, int buttonHeight) {
  int extra = cyMinChild - oldRows * buttonHeight;
  return std::max(0, buttonHeight * newRows + extra);
}

BandEdge BandEdgeAt(const RECT& band, int y) {
  if (y >= band.top - 2 && y <= band.top + 2) return BandEdge::Top;
  if (y >= band.bottom - 2 && y <= band.bottom + 2) return BandEdge::Bottom;
  return BandEdge::None;
}

}  // namespace tovrel
