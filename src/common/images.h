// Runtime images: numbered bitmaps and icons decoded from files or memory.
//
// Decoders: BMP, ICO (and CUR), JPEG (libjpeg) and PNG (libpng), chosen by the data's
// signature, not by the file name; JPEG and PNG once the program has registered their
// decoders. Bitmaps are 32-bit top-down DIB sections (alpha kept for PNG, opaque 255
// otherwise); an ICO becomes an icon. Numbers follow the runtime's conventions (number or
// -1; explicit numbers replace; 0 on failure). Their pixels: image_pixels.h.
#ifndef ZK_COMMON_IMAGES_H
#define ZK_COMMON_IMAGES_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>
#include <string>

#include "common/objects.h"

// The JPEG and PNG decoders bring their libraries along, so each program registers the
// ones it shows pictures with, at start-up, and carries no others. Without the PNG decoder
// an icon file's PNG entries are passed over.
void RegisterPngDecoder();
void RegisterJpegDecoder();

intptr_t LoadRuntimeImage(int number, const std::string& path);
intptr_t LoadRuntimeImageW(int number, const std::wstring& path);
intptr_t CatchRuntimeImage(int number, const void* data, size_t size);
// A new bitmap filled with a colour.
intptr_t CreateRuntimeImage(int number, int width, int height, COLORREF fill);
// A copy of image `source` under `number` (or a new number).
intptr_t CopyRuntimeImage(int source, int number);
// Scales a bitmap image in place (icons are re-created at the new size).
int ResizeRuntimeImage(int number, int width, int height);
int FreeRuntimeImage(int number);
// Frees the number without deleting its bitmap, which is handed to the caller (who deletes
// it). 0 for an unknown number or an icon, which stays in the table.
HBITMAP DetachRuntimeImage(int number);
int IsRuntimeImage(int number);
// HBITMAP or HICON; 0 for an unknown number.
HANDLE RuntimeImageHandle(int number);
int RuntimeImageIsIcon(int number);
int RuntimeImageWidth(int number);
int RuntimeImageHeight(int number);

// Decoders without the table, for code that owns its handles. The caller frees the result
// (DeleteObject / DestroyIcon). `isIcon` tells which one came back.
HANDLE DecodeImage(const void* data, size_t size, bool* isIcon, int* width, int* height);
// An icon of the wanted size from ICO data (the closest entry), or 0.
HICON DecodeIcon(const void* data, size_t size, int width, int height);

#endif
