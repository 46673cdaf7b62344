// Text on the 32-bit paint buffers of PanelEx windows, whose alpha channel GDI text output
// destroys.
#ifndef ZK_TOVREL_FOUNDATION_ALPHA_TEXT_H
#define ZK_TOVREL_FOUNDATION_ALPHA_TEXT_H

#include <windows.h>

#include <string>

namespace tovrel {

// Rebuilds the alpha of the buffer pixels a styled text drew, when `dc` paints into a
// PanelEx buffer; the arguments are those of the DrawStyledText call. Answers 0.
int DrawTextOnAlphaSurface(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags);

}  // namespace tovrel

#endif
