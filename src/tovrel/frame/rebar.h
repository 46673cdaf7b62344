// Toolkit rebars: system "ReBarWindow32" controls whose bands host menu bars, tool bars
// and other windows, drawn in the UI style they were made with. Every rebar has a Rebar
// record in RebarList and every band a RebarBand record whose address is the band's lParam.
//
// A rebar argument is the rebar's number or its window; the first record matching either
// is used and becomes RebarList's current element. All of this runs on the GUI thread.
#ifndef ZK_TOVREL_FRAME_REBAR_H
#define ZK_TOVREL_FRAME_REBAR_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// The rebar with that number or window, made current; nullptr (current unchanged) when none.
Rebar* FindRebar(intptr_t rebar);

// The band record a band's lParam holds, or nullptr for 0 or a value that is no record of
// ours (a band someone else inserted).
RebarBand* BandRecordOf(LPARAM lParam);

// True when the window exists and is a "ReBarWindow32"; rebar messages go to no other.
bool IsRebarWindow(HWND window);

// RB_GETBANDINFOA of the band at the index with the mask, into a cleared *band.
bool ReadRebarBand(HWND rebar, int index, UINT mask, REBARBANDINFOA* band);

// SetWindowTheme when the visual-style library is open: ("", "") switches the rebar's
// visual style off, (nullptr, nullptr) back on.
void SetRebarTheme(HWND rebar, LPCWSTR name, LPCWSTR list);

// A rebar on `parent` (number or -1 for a new one). The low 16 bits of `flags` are rebar
// window styles; UISTYLE_OFFICE2003 or UISTYLE_OFFICE2007 above them pick the style.
// `background` (nullptr: none) is the bitmap of bands that bring none. A non-zero option
// lets the parent window procedure composite the rebar. -> the new number for -1, else
// the window; 0 when the number is in use or the window cannot be made. The rebar becomes
// CurrentRebar.
intptr_t CreateRebar(int number, HWND parent, HBITMAP background, int flags, int option);

// Frees the rebar (or every rebar for -1): hosted windows go back to the rebar's parent.
// -> 1, also for -1; 0 when no rebar matched.
int FreeRebar(intptr_t rebar);

// The window of the rebar with that number; nullptr when there is none.
HWND GetRebarWindow(intptr_t number);

}  // namespace tovrel

#endif
