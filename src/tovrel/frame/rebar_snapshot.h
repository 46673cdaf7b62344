// What the fitting and the row measuring read from a rebar, read once: every message to a
// window of the toolkit's thread passes its message hook, so they are not cheap.
#ifndef ZK_TOVREL_FRAME_REBAR_SNAPSHOT_H
#define ZK_TOVREL_FRAME_REBAR_SNAPSHOT_H

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/rebar_rules.h"

namespace tovrel {

struct RebarBandSnapshot {
  REBARBANDINFOA info;  // style, child sizes, id and lParam
  RECT rect;            // RB_GETRECT
  int borders;          // top + bottom of RB_GETBANDBORDERS
  RebarBand* record;    // nullptr: a band without a record of ours
};

// The rebar's bands in index order; a band that cannot be read is left out.
std::vector<RebarBandSnapshot> SnapshotRebarBands(HWND rebar);
// The same in two steps, for callers that may stop after reading the bands' information:
// the snapshot's rectangles and borders are read by AddBandGeometry.
std::vector<RebarBandSnapshot> ReadBandInformation(HWND rebar);
void AddBandGeometry(HWND rebar, std::vector<RebarBandSnapshot>& bands);

// The bands as rows see them. A band is visible unless its record or its style hides it.
std::vector<BandRowEntry> BandRows(const std::vector<RebarBandSnapshot>& bands);

}  // namespace tovrel

#endif
