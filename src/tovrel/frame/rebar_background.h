// The OFFICE2003 and OFFICE2007 rebar backgrounds: one wide image per style, rendered from
// the style's colours and shared by every band of every rebar of that style.
#ifndef ZK_TOVREL_FRAME_REBAR_BACKGROUND_H
#define ZK_TOVREL_FRAME_REBAR_BACKGROUND_H

#include <windows.h>

#include <stdint.h>

namespace tovrel {

// The widest desktop (monitor) seen so far; it only grows.
extern int MaxDesktopWidth;

constexpr int kRebarBackgroundHeight = 256;

// Renders the style backgrounds that need it (all existing ones with force 1) and gives
// them to the bands. -> 0
int RenderRebarBackground(int force);

// For every rebar of the UI style: bands showing `oldBitmap`, nothing, or the rebar's own
// background get `newBitmap` (the rebar's own background when that is nullptr and it has
// one) with RBBS_FIXEDBMP; bands with any other bitmap keep it. RebarList's current
// element stays. -> 0
int SetRebarBackground(HBITMAP oldBitmap, HBITMAP newBitmap, int uiStyle);

// The style's shared background global (Office2003/2007RebarBackground); nullptr for
// any other style.
intptr_t* RebarStyleImage(int uiStyle);
// The bitmap of the style's shared background; nullptr while it is no valid image.
HBITMAP RebarStyleBitmap(int uiStyle);

// The decisions, without windows.

// Whether a style's background global (-2: no rebar of the style yet, -1: to be rendered,
// else an image, valid or not, of the given size) is rendered for a width and height.
bool RebarBackgroundNeedsRendering(intptr_t image, bool valid, int imageWidth, int imageHeight, int width, int height,
                                   int force);

// The colour (COLORREF) of column x of a background whose gradient runs from `left` at
// x = 0 to `right` at x = half; from half on it is `right`.
COLORREF RebarBackgroundColumn(COLORREF left, COLORREF right, int x, int half);

}  // namespace tovrel

#endif
