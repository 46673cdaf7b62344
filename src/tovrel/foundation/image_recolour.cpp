#include "tovrel/foundation/image_recolour.h"

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

namespace {

// Colour indexes of the lookups: toolstripbackground4, menuheldgradientcolor1 and 2.
constexpr int kToolstripBackground4 = 36;
constexpr int kMenuHeldGradient1 = 10;
constexpr int kMenuHeldGradient2 = 11;
constexpr int kAsGdiColour = 2;

uint32_t StyleColour(int style, int index) { return static_cast<uint32_t>(LookupUIColour(style, index, kAsGdiColour)); }

}  // namespace

RecolourRecipe RecolourRecipeForStyle(int style) {
  RecolourRecipe recipe;
  if (style == UISTYLE_WHIDBEY) {
    recipe.opacity = 80.0f;
    recipe.flags = kImageReturnIcon;
  } else if (style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2003) {
    recipe.tinted = true;
    recipe.opacity = 255.0f;
    recipe.hueColour = StyleColour(style, kToolstripBackground4);
    recipe.saturationChange = 0;
    recipe.lightness = 0.64f;
    recipe.blendColour = RGB(210, 210, 210);
    recipe.blendAmount = 110.0f;
    recipe.flags = kImageReturnIcon;
  } else if (style == UISTYLE_OFFICE2007) {
    recipe.tinted = true;
    recipe.opacity = 190.0f;
    recipe.hueColour = StyleColour(style, kMenuHeldGradient2);
    recipe.saturationChange = -0.1f;
    recipe.lightness = 0.49f;
    recipe.blendColour = StyleColour(style, kMenuHeldGradient1);
    recipe.blendAmount = 80.0f;
    recipe.flags = kImageReturnIcon;
  } else {
    recipe.opacity = 120.0f;
    recipe.flags = kImageGreyscale | kImageReturnIcon;
  }
  return recipe;
}

HICON RecolourImageForStyle(HANDLE image, int style) {
  RecolourRecipe r = RecolourRecipeForStyle(style);
  HANDLE made = r.tinted ? MakeTintedImage(image, r.opacity, r.hueColour, r.saturationChange, r.lightness,
                                           r.blendColour, r.blendAmount, r.flags)
                         : MakeDisabledImage(image, r.opacity, 0, 0, 0, 0, r.flags);
  return static_cast<HICON>(made);
}

}  // namespace tovrel
