#include "tovrel/foundation/colour_spaces.h"

#include <math.h>

namespace tovrel {

namespace {

int Red(uint32_t c) { return c & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return (c >> 16) & 0xFF; }

// Rounds to nearest (halves to even, the processor's default) and keeps the result a
// channel value, so that no formula can spill into the neighbouring channel.
int RoundChannel(double value) {
  if (!(value > 0)) return 0;  // also NaN
  if (value >= 255) return 255;
  return static_cast<int>(nearbyint(value));
}

uint32_t Pack(int red, int green, int blue) {
  return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

double Clamp(double value, double low, double high) {
  if (!(value >= low)) return low;
  return value > high ? high : value;
}

double HueChannel(double p, double q, double t) {
  t -= floor(t);
  if (6 * t < 1) return p + (q - p) * 6 * t;
  if (2 * t < 1) return q;
  if (3 * t < 2) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

int TruncateChannel(double value) { return static_cast<int>(Clamp(value * 255, 0, 255)); }

}  // namespace

int ConvertRgbToHsv(uint32_t colour, float* hsv) {
  double r = Red(colour) / 255.0, g = Green(colour) / 255.0, b = Blue(colour) / 255.0;
  double max = r > g ? (r > b ? r : b) : (g > b ? g : b);
  double min = r < g ? (r < b ? r : b) : (g < b ? g : b);
  double saturation = max == 0 ? 0 : (max - min) / max;
  double hue = 0;
  if (saturation != 0) {
    double d = max - min;
    if (r == max)
      hue = (g - b) * 60 / d;
    else if (g == max)
      hue = (b - r) * 60 / d + 120;
    else
      hue = (r - g) * 60 / d + 240;
    if (hue < 0) hue += 360;
  }
  hsv[0] = static_cast<float>(hue);
  hsv[1] = static_cast<float>(saturation);
  hsv[2] = static_cast<float>(max);
  return 0;
}

uint32_t ConvertHslToRgb(const float* hsl) {
  double s = Clamp(hsl[1], 0, 1), l = Clamp(hsl[2], 0, 1);
  if (s == 0) {
    int grey = TruncateChannel(l);
    return Pack(grey, grey, grey);
  }
  double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  double p = 2 * l - q;
  double h = hsl[0] / 360.0;
  return Pack(TruncateChannel(HueChannel(p, q, h + 1.0 / 3)), TruncateChannel(HueChannel(p, q, h)),
              TruncateChannel(HueChannel(p, q, h - 1.0 / 3)));
}

float ClampOpacity(float opacity) { return static_cast<float>(Clamp(opacity, 1, 255)); }

uint32_t AdjustDisabledPixel(const DisabledAdjustment& adjustment, uint32_t colour) {
  int channels[3] = {Red(colour), Green(colour), Blue(colour)};
  if (adjustment.greyscale) {
    int v = RoundChannel(channels[0] * 0.2989 + channels[1] * 0.587 + channels[2] * 0.114);
    channels[0] = channels[1] = channels[2] = v;
  }
  int tint[3] = {Red(adjustment.tintColour), Green(adjustment.tintColour), Blue(adjustment.tintColour)};
  double a = adjustment.tintAmount;
  // The factor's denominator reaches 0 at a contrast of 259; beyond 255 the curve stops
  // being a contrast change anyway, so the contrast is kept within -255..255.
  double c = Clamp(adjustment.contrast, -255, 255);
  double factor = ((c + 255) * 259) / ((259 - c) * 255);
  for (int& channel : channels) {
    int t = tint[&channel - channels];
    channel = RoundChannel((t * a + channel * (256 - a)) / 256);
    channel = RoundChannel(factor * (channel - 128) + 128);
    channel = RoundChannel(channel + adjustment.brightness);
  }
  return Pack(channels[0], channels[1], channels[2]);
}

TintAdjustment MakeTintAdjustment(uint32_t hueColour, float saturationChange, float lightness, uint32_t blendColour,
                                  float blendAmount) {
  float hsv[3];
  ConvertRgbToHsv(hueColour, hsv);
  TintAdjustment adjustment;
  adjustment.hue = hsv[0];
  adjustment.saturation = static_cast<float>(Clamp(hsv[1] + saturationChange, 0, 1));
  adjustment.lightnessShift = 2 * lightness - 1;
  adjustment.blendColour = blendColour;
  adjustment.blendAmount = blendAmount;
  return adjustment;
}

uint32_t AdjustTintedPixel(const TintAdjustment& adjustment, uint32_t colour) {
  int grey = RoundChannel(Red(colour) * 0.299 + Green(colour) * 0.587 + Blue(colour) * 0.114);
  double k = adjustment.lightnessShift;
  double l = k < 0 ? (grey / 255.0) * (k + 1) : (grey / 255.0) * (1 - k) + k;
  float hsl[3] = {adjustment.hue, adjustment.saturation, static_cast<float>(l)};
  uint32_t tinted = ConvertHslToRgb(hsl);
  double amount = adjustment.blendAmount;
  uint32_t b = adjustment.blendColour;
  return Pack(RoundChannel((Red(b) * amount + Red(tinted) * (256 - amount)) / 256),
              RoundChannel((Green(b) * amount + Green(tinted) * (256 - amount)) / 256),
              RoundChannel((Blue(b) * amount + Blue(tinted) * (256 - amount)) / 256));
}

uint8_t DerivedAlpha(bool sourceHasAlpha, uint8_t sourceAlpha, bool hasMask, uint8_t maskByte, float opacity) {
  double coverage = sourceHasAlpha ? sourceAlpha : 255;
  // An icon whose colour bitmap has no alpha is shaped by its mask alone; a bitmap without
  // mask is covered everywhere, black pixels included.
  if (hasMask && !sourceHasAlpha) coverage = maskByte == 0 ? 255 : 0;
  return static_cast<uint8_t>(RoundChannel(coverage / 255 * ClampOpacity(opacity)));
}

}  // namespace tovrel
