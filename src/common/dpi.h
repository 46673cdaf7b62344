// Layout units and the screen's DPI.
//
// The programs place their windows and controls in pixels of a 96-DPI screen, and the
// runtime's fonts are given in points. The runtime turns layout units into the screen's
// pixels once, where it hands them to the system, and turns the sizes it reports back
// into layout units, so a layout keeps its proportions against its fonts at any DPI and
// is unchanged at 96 DPI.
#ifndef ZK_COMMON_DPI_H
#define ZK_COMMON_DPI_H

constexpr int kLayoutDpi = 96;

// The screen's vertical DPI (LOGPIXELSY), read once per process: the system keeps it for
// the whole session, and one value keeps every conversion of the process consistent.
int ScreenDpi();

// Layout units to pixels at `dpi` and back, rounded to the nearest pixel. At 96 DPI or
// more, a value that went to pixels and back is the value it was.
int LayoutToPixels(int value, int dpi);
int PixelsToLayout(int value, int dpi);

// The same at the screen's DPI.
int LayoutToScreen(int value);
int ScreenToLayout(int value);

#endif
