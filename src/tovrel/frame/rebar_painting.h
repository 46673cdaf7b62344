// Band background bitmaps painted by the toolkit. The system control keeps a band's
// hbmBack, but Wine's never draws it, so the OFFICE backgrounds would not show: each
// toolkit rebar is subclassed and its background erase paints every band's bitmap into
// the band, as Windows' control does.
#ifndef ZK_TOVREL_FRAME_REBAR_PAINTING_H
#define ZK_TOVREL_FRAME_REBAR_PAINTING_H

#include <windows.h>

namespace tovrel {

// Puts the painting procedure in front of the rebar's own, once per window.
void SubclassRebarWindow(HWND rebar);
// Gives the rebar its previous procedure back (before it is destroyed by FreeRebar).
void UnsubclassRebarWindow(HWND rebar);

// Paints each visible band's hbmBack into the band's rectangle, tiled: from the rebar's
// origin for RBBS_FIXEDBMP, else from the band's own top-left corner.
void PaintBandBackgrounds(HWND rebar, HDC dc);

}  // namespace tovrel

#endif
