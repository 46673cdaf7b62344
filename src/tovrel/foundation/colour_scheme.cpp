#include "tovrel/foundation/colour_scheme.h"

#include "tovrel/foundation/os_version.h"

namespace tovrel {

std::string ColourScheme;

const char* ColourSchemeFor(bool vistaOrLater, uint32_t colour) {
  if (vistaOrLater) return "blue";
  const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  const bool highRed = red >= 200, highGreen = green >= 200, highBlue = blue >= 200;
  if (highRed && highGreen && highBlue) return "silver";
  if (!highRed && !highGreen && highBlue) return "blue";
  if (highRed && highGreen && !highBlue) return "olive";
  return "grey";
}

int SetColourSchemeFromColour(uint32_t colour) {
  // Vista and every later version report a code of 70 or more.
  ColourScheme = ColourSchemeFor(RunningOsVersionCode() >= 70, colour);
  return 0;
}

}  // namespace tovrel
