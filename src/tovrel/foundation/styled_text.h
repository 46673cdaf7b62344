// Texts with inline markup (bold, italic, underline, strike-out, colour, links, line
// breaks), drawn and measured in a device context, and the font and screen measures that
// menu and skin code use with them.
#ifndef ZK_TOVREL_FOUNDATION_STYLED_TEXT_H
#define ZK_TOVREL_FOUNDATION_STYLED_TEXT_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// Flags of DrawStyledText.
constexpr int kStyledTopAligned = 0x1;        // each run one line high, from the top
constexpr int kStyledCentreH = 0x10;          // with kStyledCentreV (and not top-aligned):
constexpr int kStyledCentreV = 0x20;          //   runs centred both ways
constexpr int kStyledKeepColour = 0x100;      // "\c" changes nothing
constexpr int kStyledMeasure = 0x400;         // nothing drawn; the rectangle gets the extent
constexpr int kStyledPathEllipsis = 0x4000;   // DT_PATH_ELLIPSIS
constexpr int kStyledEndEllipsis = 0x8000;    // DT_END_ELLIPSIS
constexpr int kStyledRecordLinks = 0x100000;  // links go to the current text control
constexpr int kStyledNoMarkup = 0x200000;     // the text is drawn as it is
constexpr int kStyledPlainText = 0x800000;    // the runs are returned as the plain text

// Extra pixels for every line of a text with "\|" line breaks; set by the text control
// before it draws or measures.
extern int TextLineSpacing;
// 1 while a drawn text is handed to DrawTextOnAlphaSurface, whose own DrawStyledText call
// must not hand it over again. Drawing happens on the GUI thread only.
extern int AlphaTextGuard;

// Draws or measures `text` in `rect` with `font` (nullptr: the DC's current font). The
// DC keeps a transparent background mode and the colour of the last "\c". Measuring a
// text with markup sets `rect` to (0, 0, width, height); one without markup gets
// DrawTextA's DT_CALCRECT result from its own left and top. Under kStyledRecordLinks the
// links list of TextControlList's current record is emptied and gets one TextLinkRect per
// "\l" link of the text, in text order; with no current record nothing is recorded.
// Answers the plain text under kStyledPlainText, else "".
std::string DrawStyledText(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags);

// The size step of a font size: 10 -> 10, 14 -> 18, 15 -> 18, 19 -> 26; 8 below 10.
int GetFontSizeStep(int size);

// `font` is a runtime font number or a font handle. "" or 0 when it names no font.
std::string GetFontFaceName(intptr_t font);
int GetFontPointSize(intptr_t font);

// The screen's LOGPIXELSX when `horizontal` is not 0, else its LOGPIXELSY.
int GetScreenDpi(int horizontal);

}  // namespace tovrel

#endif
