// The pixels of runtime bitmap images (images.h): read and write them, fill rectangles,
// draw one image onto another and let GDI draw on an image.
//
// Pixels are 0xAARRGGBB with rows top-down, x and y counted from the top-left corner; the
// alpha byte is written as given, whatever GDI does with it. Icons have no pixels: every
// call here fails on them. The image must stay alive while a call works on it (as with any
// handle from RuntimeImageHandle).
#ifndef ZK_COMMON_IMAGE_PIXELS_H
#define ZK_COMMON_IMAGE_PIXELS_H

#include <windows.h>

#include <stdint.h>

// 1 and the pixel in *argb; 0 outside the image, for an icon or an unknown number.
int ReadRuntimeImagePixel(int number, int x, int y, uint32_t* argb);
int WriteRuntimeImagePixel(int number, int x, int y, uint32_t argb);

// Sets every pixel of the rectangle that lies in the image, alpha included. 1 for a bitmap
// image (also when the rectangle misses it), else 0.
int FillRuntimeImage(int number, int x, int y, int width, int height, uint32_t argb);

// How DrawRuntimeImage combines a source pixel with the target pixel under it.
enum class ImageDrawMode {
  kAllChannels,  // the source pixel replaces the target pixel
  kAlphaOnly,    // the target keeps its colour and takes the source's alpha
  kFilter,       // the filter's answer replaces the target pixel
};

// Gives the pixel to store at (x, y) of the target (target coordinates) from the source
// pixel drawn there and the target pixel it replaces.
using PixelFilter = uint32_t (*)(int x, int y, uint32_t source, uint32_t target);

// Draws image `source` with its top-left corner at (x, y) of image `target`, clipped to
// both (offsets may be negative). An image may be drawn onto itself. 1 when both are
// bitmap images (and, in filter mode, a filter is given), else 0.
int DrawRuntimeImage(int source, int target, int x, int y, ImageDrawMode mode, PixelFilter filter = nullptr);

// A memory DC with the image's bitmap selected, for GDI drawing; 0 for an icon, an
// unknown number, or an image that another DC already holds. GDI writes colour only and
// leaves alpha as it likes (often 0) where it draws. StopRuntimeImageDrawing finishes the
// drawing and deletes the DC, which lets go of the bitmap so that the image can be freed.
HDC StartRuntimeImageDrawing(int number);
void StopRuntimeImageDrawing(HDC dc);

// A bitmap of the same kind outside the image table, for code that owns its pictures: a
// 32-bit top-down DIB section whose pixels *bits points at, in the layout above. 0 (and
// *bits 0) for a side below 1 or a size no DIB section can hold. The caller deletes it.
HBITMAP CreatePixelBitmap(int width, int height, uint32_t** bits);

#endif
