// Fill bands reach down to the next window of the rebar's parent; follow bands take the
// height of the fill band in their row.
#ifndef ZK_TOVREL_FRAME_REBAR_FITTING_H
#define ZK_TOVREL_FRAME_REBAR_FITTING_H

#include <windows.h>

#include <vector>

namespace tovrel {

constexpr UINT RebarFillBandBits = 0x20000 | 0x40000;  // either bit
constexpr UINT RebarFollowBand = 0x800000;

// Fits the fill and follow bands of the rebar whose parent is the window. -> 0
int FitRebarBands(HWND window);

// The decisions, without windows.

// The first row y (0 to clientHeight, inclusive) at which the vertical line x hits one of
// the rectangles (the parent's other visible children, in its client coordinates); -1
// when none does.
int FirstChildTop(const std::vector<RECT>& children, int x, int clientHeight);

struct FillFit {
  int cyMinChild;   // never below 0
  int offset;       // the space kept free below the band
  int savedOffset;  // what the band's record keeps from now on
};

// A fill band in a client area of clientHeight whose other rows take otherRows: the band
// reaches 5 pixels above the first child found (childTop, -1: none found), or keeps the
// saved offset when nothing is found. The first offset found is saved once.
FillFit FitFillBand(int clientHeight, int childTop, int savedOffset, int otherRows);

struct FitBandState {
  UINT style;
  int top;  // RB_GETRECT
  int cyMinChild;
  int savedOwnMinChild;  // 0: none
  bool hasRecord;        // a band without a record keeps no saved values
};

struct FollowFit {
  bool changed;  // write cyMinChild back
  int cyMinChild;
  int savedOwnMinChild;
  bool refitAll;  // a saved height came back: fit the whole rebar again
};

// Band `index` of `bands`, a follow band: it takes the cyMinChild of a visible fill or
// follow band with the same top (the last one in band order), saving its own height once;
// with no such partner a saved height comes back.
FollowFit FitFollowBand(const std::vector<FitBandState>& bands, size_t index);

}  // namespace tovrel

#endif
