// The disabled look of an image in a UI style, as menus and tool bars generate it.
#ifndef ZK_TOVREL_FOUNDATION_IMAGE_RECOLOUR_H
#define ZK_TOVREL_FOUNDATION_IMAGE_RECOLOUR_H

#include <windows.h>

#include "tovrel/foundation/image_effects.h"

namespace tovrel {

// The adjuster call that makes a style's disabled image, as plain values, so that the
// choice per style can be checked without drawing.
struct RecolourRecipe {
  bool tinted = false;  // MakeTintedImage, else MakeDisabledImage
  float opacity = 0;
  uint32_t hueColour = 0;  // tinted only
  float saturationChange = 0;
  float lightness = 0;
  uint32_t blendColour = 0;
  float blendAmount = 0;
  int flags = 0;
};

// WHIDBEY: faded to 80; OFFICE2003 (6 or 0x1000000): tinted in the style's
// toolstripbackground4 hue, blended with light grey; OFFICE2007: tinted in the held menu
// gradient's hues at opacity 190; any other style: greyscale at opacity 120. The colours
// come from the style's current colour column.
RecolourRecipe RecolourRecipeForStyle(int style);

// A new icon: the image's disabled-look variant for the style. The caller destroys it.
// 0 when the image is neither an icon nor a bitmap with a size.
HICON RecolourImageForStyle(HANDLE image, int style);

}  // namespace tovrel

#endif
