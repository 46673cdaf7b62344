// What the picture decoders (one file per format: image_bmp.cpp, image_ico.cpp and the
// optional image_png.cpp, image_jpeg.cpp) share with the image table (images.cpp). The
// optional decoders sit with their libraries, so a program that never registers one
// carries neither. Other code uses images.h.
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

// The pixels of one of NewDib's bitmaps, whose rows run top-down (GetObject does not tell:
// the header it reports may carry a positive height). False for any other bitmap.
bool DibPixels(HBITMAP b, uint32_t** bits, int* width, int* height);

// A new DIB of width x height with source's pixels averaged into it.
HBITMAP ScaleDib(HBITMAP source, int width, int height);

// Fields of the file formats: little-endian, and big-endian for PNG's.
inline uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int32_t S32(const uint8_t* p) { return int32_t(U32(p)); }
inline uint32_t BigU32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

HBITMAP DecodeBmp(const uint8_t* p, size_t size, int* width, int* height);

bool IsIcoData(const uint8_t* p, size_t size);
// The entry nearest to width x height (the largest for width <= 0), made at that size
// (at the entry's own size for width <= 0).
HICON DecodeIco(const uint8_t* p, size_t size, int width, int height, int* outWidth, int* outHeight);

// A decoded picture as one of NewDib's bitmaps, or 0 when the data is not one it reads.
using Decoder = HBITMAP (*)(const uint8_t* data, size_t size, int* width, int* height);
void SetPngDecoder(Decoder decoder);
void SetJpegDecoder(Decoder decoder);
bool HasPngDecoder();
// The registered PNG decoder's picture (ICO files carry PNG entries); 0 without one.
HBITMAP DecodePng(const uint8_t* data, size_t size, int* width, int* height);

}  // namespace image_detail

#endif
