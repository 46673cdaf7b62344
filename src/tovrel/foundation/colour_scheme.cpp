#include "tovrel/foundation/colour_scheme.h"

#include <windows.h>

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

namespace {

// Vista and every later or unknown version run NT 6 or above. Without a manifest newer
// systems report 6.2, which still counts.
bool RunningVistaOrLater() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return true;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 6;
}

}  // namespace

int SetColourSchemeFromColour(uint32_t colour) {
  ColourScheme = ColourSchemeFor(RunningVistaOrLater(), colour);
  return 0;
}

}  // namespace tovrel
