// The gradients and frames of the OFFICE2003 and OFFICE2007 styles (menu highlights,
// check-box frames, the menu bar, tool-bar backgrounds and hot buttons), painted once per
// size into a blit cache and copied from there on every later paint.
#ifndef ZK_TOVREL_FOUNDATION_STYLE_BACKGROUNDS_H
#define ZK_TOVREL_FOUNDATION_STYLE_BACKGROUNDS_H

#include <windows.h>

namespace tovrel {

// Paints the background of colour index `index` of `style` (6 or UISTYLE_OFFICE2003, or
// UISTYLE_OFFICE2007; any other style paints nothing) into `rect` of `dc`. The flags say
// which cached size may serve the request (kBlitFit* of blit_cache.h) and whether the
// index keeps one cache or one per size (kBlitSeveralSizes). Each cache built writes
// "Created new #UISTYLE_OFFICE2003 blitCache: <index> Width: <w> Height: <h>" (or
// OFFICE2007) to the debug log. An empty rectangle or an index outside the tables paints
// nothing. Answers 0.
int PaintStyleBackground(HDC dc, int style, int index, const RECT* rect, int flags);

}  // namespace tovrel

#endif
