// Fill bands reach down to the next window of the rebar's parent; follow bands take the
// height of the fill band in their row.
#ifndef ZK_TOVREL_FRAME_REBAR_FITTING_H
#define ZK_TOVREL_FRAME_REBAR_FITTING_H

#include <windows.h>

namespace tovrel {

constexpr UINT RebarFillBandBits = 0x20000 | 0x40000;  // either bit
constexpr UINT RebarFollowBand = 0x800000;

// Fits the fill and follow bands of the rebar whose parent is the window. -> 0
int FitRebarBands(HWND window);

}  // namespace tovrel

#endif
