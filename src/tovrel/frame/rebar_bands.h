// The bands of toolkit rebars. A band argument "id or index" names the band with that id,
// or, when no band has that id, the band at that index.
#ifndef ZK_TOVREL_FRAME_REBAR_BANDS_H
#define ZK_TOVREL_FRAME_REBAR_BANDS_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// Adds a band hosting `child` to CurrentRebar: `width` its width, `minWidth` the child's
// minimum width, `minHeight` its height (0: a tool bar's button height, else the child's
// window height), `background` its own bitmap (nullptr: the rebar's), `style` its RBBS_*
// and toolkit bits (0: the rebar's default). -> the band id; 0 without a current rebar;
// -1 when CurrentRebar names no rebar or the control refuses the band.
int AddRebarBand(HWND child, const std::string& text, int width, int minWidth, int minHeight, HBITMAP background,
                 int style);

// AddRebarBand before the band named by id or index, on that rebar, which becomes current.
// -> the band id, 0 for an unknown rebar.
int InsertRebarBand(intptr_t rebar, int band, HWND child, const std::string& text, int width, int minWidth,
                    int minHeight, HBITMAP background, int style);

// -> 1, or 0 when the rebar or the band (with a record) is unknown. Ids are never reused.
int RemoveRebarBand(intptr_t rebar, int band);

// Shows or hides the band and re-fits the rebar. -> 1, or 0 when there is no such band.
int ShowRebarBand(intptr_t rebar, int band, int show);

// -> RB_MOVEBAND's answer, or 0 for an unknown rebar.
int MoveRebarBand(intptr_t rebar, int from, int to);

// -> the id of the band at the index (0 past the last band: compare with the band count
// to tell "no band" from the first band); -1 for an unknown rebar.
int GetRebarBandId(intptr_t rebar, int index);

// The total height of the visible rows other than the band's own row, each with its band
// borders. Bands the toolkit hid and bands with RBBS_HIDDEN are left out; a band without a
// record counts as visible unless its style hides it.
int MeasureBandRow(HWND rebarWindow, int bandId);

}  // namespace tovrel

#endif
