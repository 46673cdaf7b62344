// The per-pixel arithmetic of the image effects: hue, saturation and value or lightness
// conversions, and the channel adjustments that derive disabled and tinted pictures. Pure
// functions of their arguments; the GDI side (image_effects.h) only reads and writes pixels.
//
// Colours here are GDI colours: red | green << 8 | blue << 16.
#ifndef ZK_TOVREL_FOUNDATION_COLOUR_SPACES_H
#define ZK_TOVREL_FOUNDATION_COLOUR_SPACES_H

#include <stdint.h>

namespace tovrel {

// Writes hue (degrees, 0 to below 360), saturation and value (0..1) of the colour. Returns 0.
int ConvertRgbToHsv(uint32_t colour, float* hsv);

// The colour of hue (degrees; any value, taken modulo 360), saturation and lightness
// (0..1; values outside are clamped). Channels are truncated toward zero.
uint32_t ConvertHslToRgb(const float* hsl);

// Flags of the image adjusters.
constexpr int kImageGreyscale = 1;     // greyscale first (disabled images only)
constexpr int kImageReturnIcon = 2;    // the result is an icon instead of a 32-bit bitmap
constexpr int kImageDeleteSource = 4;  // the source image is destroyed afterwards

// The opacity the adjusters work with: 1 to 255.
float ClampOpacity(float opacity);

struct DisabledAdjustment {
  bool greyscale = false;
  uint32_t tintColour = 0;
  float tintAmount = 0;  // out of 256: 0 keeps the colour, 256 gives the tint colour
  float contrast = 0;    // -255..255; 0 keeps the channels
  float brightness = 0;  // added to each channel
};

// The colour of one pixel of a disabled image.
uint32_t AdjustDisabledPixel(const DisabledAdjustment& adjustment, uint32_t colour);

// What the tinted images share for every pixel: the hue colour's hue and adjusted
// saturation, the lightness shift, and the blend.
struct TintAdjustment {
  float hue = 0;
  float saturation = 0;
  float lightnessShift = 0;  // 2 * lightness - 1
  uint32_t blendColour = 0;
  float blendAmount = 0;  // out of 256
};

TintAdjustment MakeTintAdjustment(uint32_t hueColour, float saturationChange, float lightness, uint32_t blendColour,
                                  float blendAmount);

// The colour of one pixel of a tinted image.
uint32_t AdjustTintedPixel(const TintAdjustment& adjustment, uint32_t colour);

// A derived pixel's alpha. A source whose picture uses its alpha channel (any pixel's alpha
// is not 0) gives its own alpha, 0 included, whatever its mask says; a source without one
// is shaped by its mask when it has one (full alpha where the mask pixel is black, none
// otherwise), else fully covered. The coverage is scaled by the opacity.
uint8_t DerivedAlpha(bool sourceHasAlpha, uint8_t sourceAlpha, bool hasMask, uint8_t maskByte, float opacity);

}  // namespace tovrel

#endif
