// Texts with inline markup (bold, italic, underline, strike-out, colour, links, line
// breaks), drawn and measured in a device context.
#ifndef ZK_TOVREL_FOUNDATION_STYLED_TEXT_H
#define ZK_TOVREL_FOUNDATION_STYLED_TEXT_H

#include <windows.h>

#include <string>

namespace tovrel {

// Draws or measures `text` in `rect` with `font` (nullptr: the DC's current font). Answers
// the plain text under flag 0x800000, else "".
std::string DrawStyledText(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags);

}  // namespace tovrel

#endif
