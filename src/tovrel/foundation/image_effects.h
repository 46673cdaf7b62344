// Derived images: the disabled and tinted copies the toolkit shows for disabled and styled
// states, the conversion of a bitmap into an icon, size queries that take icons and bitmaps
// alike, and the small drop-down arrow.
//
// Sources are icons or bitmaps of any bit depth; their pixels are always read at 32 bits,
// so that GDI converts 1- to 24-bit sources. Results are new 32-bit top-down DIB sections
// with straight (not premultiplied) alpha, or icons made from them; the caller owns them.
// Colours are GDI colours (red | green << 8 | blue << 16).
#ifndef ZK_TOVREL_FOUNDATION_IMAGE_EFFECTS_H
#define ZK_TOVREL_FOUNDATION_IMAGE_EFFECTS_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/colour_spaces.h"

namespace tovrel {

// A copy with every channel adjusted (kImageGreyscale first, then tint, contrast and
// brightness) and the alpha scaled by the opacity (clamped to 1..255). Opacity 255 with
// every other parameter 0 copies the picture unaltered. Flags: kImageGreyscale,
// kImageReturnIcon, kImageDeleteSource. 0 when the image is neither an icon nor a bitmap
// with a size; the source is then left alone.
HANDLE MakeDisabledImage(HANDLE image, float opacity, float contrast, float brightness, uint32_t tintColour,
                         float tintAmount, int flags);

// A copy recoloured through the hue of `hueColour` (its saturation changed by
// `saturationChange`), each pixel's grey level shifted by `lightness` (0.5 keeps it), then
// blended with `blendColour` by `blendAmount` of 256. Alpha, flags and failure as for
// MakeDisabledImage (kImageGreyscale has no meaning here).
HANDLE MakeTintedImage(HANDLE image, float opacity, uint32_t hueColour, float saturationChange, float lightness,
                       uint32_t blendColour, float blendAmount, int flags);

// An icon with the bitmap's picture: its alpha where a 32-bit bitmap has any, otherwise
// opaque everywhere. The bitmap stays the caller's. 0 for anything but a bitmap with a size.
HICON ConvertBitmapToIcon(HBITMAP bitmap);

// Writes the image's width and height (0 and 0 for neither an icon nor a bitmap); either
// address may be null. Returns 1 for an icon, else 0. A monochrome icon, whose mask holds
// its two halves one above the other, measures half the mask's height.
int GetImageSize(HANDLE image, int* width, int* height);
int GetImageWidth(HANDLE image);
int GetImageHeight(HANDLE image);

// Fills a triangle pointing down, its tip at the bottom middle of the rectangle. Returns 0.
int DrawArrowGlyph(HDC dc, int x, int y, int width, int height, uint32_t colour);

}  // namespace tovrel

#endif
