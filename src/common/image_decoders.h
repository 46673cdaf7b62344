// What the optional picture decoders (image_png.cpp, image_jpeg.cpp) share with the image
// table (images.cpp). Each decoder sits in a file of its own with its library, so a program
// that never registers it carries neither. Other code uses images.h.
#ifndef ZK_COMMON_IMAGE_DECODERS_H
#define ZK_COMMON_IMAGE_DECODERS_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

namespace image_detail {

constexpr int kMaxSide = 32768;

// Both sides within kMaxSide and the pixels within what a DIB section can hold.
bool SizeOk(int64_t width, int64_t height);

// Pixels are 0xAARRGGBB, which is B, G, R, A in memory: the layout of a 32-bit DIB.
constexpr uint32_t Pixel(unsigned r, unsigned g, unsigned b, unsigned a = 255) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// A 32-bit top-down DIB section; *bits gets its first row.
HBITMAP NewDib(int width, int height, uint32_t** bits);

// A decoded picture as one of NewDib's bitmaps, or 0 when the data is not one it reads.
using Decoder = HBITMAP (*)(const uint8_t* data, size_t size, int* width, int* height);
void SetPngDecoder(Decoder decoder);
void SetJpegDecoder(Decoder decoder);

}  // namespace image_detail

#endif
