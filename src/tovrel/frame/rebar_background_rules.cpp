#include "tovrel/frame/rebar_background.h"

namespace tovrel {

bool RebarBackgroundNeedsRendering(intptr_t image, bool valid, int imageWidth, int imageHeight, int width, int height,
                                   int force) {
  if (image == -1) return true;
  if (!valid) return false;
  return force == 1 || imageWidth < width || imageHeight < height;
}

COLORREF RebarBackgroundColumn(COLORREF left, COLORREF right, int x, int half) {
  if (half <= 0 || x >= half) return right;
  auto channel = [x, half](int a, int b) { return a + (b - a) * x / half; };
  return RGB(channel(GetRValue(left), GetRValue(right)), channel(GetGValue(left), GetGValue(right)),
             channel(GetBValue(left), GetBValue(right)));
}

}  // namespace tovrel
