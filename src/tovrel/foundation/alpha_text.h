// Text on the 32-bit paint buffers of PanelEx windows, whose alpha channel GDI text output
// destroys: the text is drawn once more as a mask, and the mask rebuilds the alpha of the
// buffer pixels it covers.
#ifndef ZK_TOVREL_FOUNDATION_ALPHA_TEXT_H
#define ZK_TOVREL_FOUNDATION_ALPHA_TEXT_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// The mask (a runtime image number): 0 until the first hand-over, grown for a larger text
// rectangle, never freed.
extern int AlphaScratchImage;
// Exclusive right and bottom limits, in buffer pixels, of what the filter may change.
extern int AlphaLimitRight;
extern int AlphaLimitBottom;
// The pixels the filter may change; exists only during one hand-over.
extern HRGN AlphaClipRegion;
// Alpha of the last mask-background pixel the filter saw, carried from pixel to pixel and
// from call to call.
extern int LastBackgroundAlpha;
// The opaque patch between the two calls of RestoreSurfaceAlpha, else 0.
extern int SavedAlphaImage;

// Rebuilds the alpha of the buffer pixels a styled text drew, when `dc` paints into a
// PanelEx buffer; the arguments are those of the DrawStyledText call. Answers 0.
int DrawTextOnAlphaSurface(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags);

// The pixel to store at (x, y) of the buffer from the mask pixel `source` (its blue channel
// is the text's coverage, alpha 255 where no text is) and the buffer pixel `target`: the
// target's colour with a rebuilt alpha inside the limits and the region, else the target.
uint32_t AlphaInRegionFilter(int x, int y, uint32_t source, uint32_t target);

// Called once before and once after GDI drawing into a PanelEx buffer: the second call
// makes the rectangle opaque again. Answers 0; does nothing on a DC holding no buffer.
int RestoreSurfaceAlpha(HDC dc, RECT* rect);

}  // namespace tovrel

#endif
