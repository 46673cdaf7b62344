// The name of the desktop's colour scheme, which skins use to pick the variant of a
// component drawn to match it.
#ifndef ZK_TOVREL_FOUNDATION_COLOUR_SCHEME_H
#define ZK_TOVREL_FOUNDATION_COLOUR_SCHEME_H

#include <stdint.h>

#include <string>

namespace tovrel {

// "blue", "silver", "olive" or "grey"; empty until a visual style has been opened.
extern std::string ColourScheme;

// The scheme for a theme's base colour (a GDI colour, red in the low byte). From Vista on
// every style is blue whatever its colour; before, the colour's bytes decide.
const char* ColourSchemeFor(bool vistaOrLater, uint32_t colour);

// Sets ColourScheme for the running Windows; broadcasts nothing. Returns 0.
int SetColourSchemeFromColour(uint32_t colour);

}  // namespace tovrel

#endif
