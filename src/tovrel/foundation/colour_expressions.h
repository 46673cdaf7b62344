// Colour arithmetic the painters share, and colour expressions: the texts skins use for
// colours.
//
// A 32-bit colour is in one of two forms, told apart by its top byte. Top byte 0: a GDI
// colour, red | green << 8 | blue << 16 (the "C" form). Top byte non-zero: a GDI+ colour,
// alpha << 24 | red << 16 | green << 8 | blue (the "A" form).
#ifndef ZK_TOVREL_FOUNDATION_COLOUR_EXPRESSIONS_H
#define ZK_TOVREL_FOUNDATION_COLOUR_EXPRESSIONS_H

#include <stdint.h>
#include <string>

namespace tovrel {

// Called as (alpha, red, green, blue) to make A colours. Each argument is taken as a byte,
// so a channel out of range cannot spill into its neighbour.
constexpr uint32_t PackRGBA(int a, int b, int c, int d) {
  return (static_cast<uint32_t>(a) & 0xFF) << 24 | (static_cast<uint32_t>(b) & 0xFF) << 16 |
         (static_cast<uint32_t>(c) & 0xFF) << 8 | (static_cast<uint32_t>(d) & 0xFF);
}

constexpr uint32_t MakeRGB(int red, int green, int blue) {
  return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

// A to C: the first and third bytes change places and the alpha goes.
constexpr uint32_t ColourAToC(uint32_t colour) {
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// C to an opaque A colour.
constexpr uint32_t ColourCToA(uint32_t colour) { return 0xFF000000u | ColourAToC(colour); }

constexpr bool IsAColour(uint32_t colour) { return (colour >> 24) != 0; }

// Channel by channel (b × weight + a × (256 − weight)) / 256: weight 0 gives a, 256 gives b.
// The result is a C colour; each channel is kept within 0 to 255.
uint32_t BlendColours(uint32_t a, uint32_t b, int weight);

// channel − trunc(channel × amount / 255).
int DarkenChannel(int amount, int channel);
// DarkenChannel on red, green and blue; a C colour, each channel kept within 0 to 255.
uint32_t DarkenColour(int amount, uint32_t colour);

// The colour a skin text names, or -1 when it names none. Understood: "rgba(r, g, b, a)"
// (an A colour; an alpha byte of 0 becomes 1 so that the form stays A), "rgb(r, g, b)",
// "#rrggbb" anywhere in the text, "getuicolour(style, index name, mode)", the names of the
// system colours ("COLOR_WINDOW", trimmed, any case, ";" ignored) and the CSS colour
// keywords (lower-case match of the text as given: "navy;" and " navy" are no colour).
// Callers test for -1 before use: it is also opaque white in the A form.
int32_t ParseColour(const std::string& text);

}  // namespace tovrel

#endif
