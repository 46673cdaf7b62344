// Soft drop shadows: layered windows of class "Tovrel_DropShadow" showing one strip of a
// premultiplied shadow image, cut from a cached strip per direction.
#ifndef ZK_TOVREL_FRAME_DROP_SHADOWS_H
#define ZK_TOVREL_FRAME_DROP_SHADOWS_H

#include <windows.h>

#include <stdint.h>

namespace tovrel {

// The strip image last rendered for one direction (0 horizontal, 1 vertical): a memory DC
// with a 32-bit premultiplied bitmap of width x height, and what it was rendered for.
// Every field is 0 while the cache is empty.
struct ShadowStripCache {
  HBITMAP bitmap;
  HDC dc;
  int32_t width;
  int32_t height;
  int32_t intensity;
  uint32_t colour;  // a GDI colour
};
extern ShadowStripCache ShadowStripCaches[2];

// Flags: 1 fade at the start only, 2 at the end only, 4 at neither end (none: both);
// 8 frees both strip caches and does nothing else; 0x1000 vertical strip.
// -> the shadow window; nullptr for a size or intensity of 0 or less or when no window
// could be made. With flag 8: 1 when a cache was freed, else 0 (as the window's value).
HWND CreateDropShadow(int x, int y, int width, int height, uint32_t colour, int intensity, int flags);
LRESULT CALLBACK DropShadowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the shadows of one pressed title (the bar's title at that client position),
// or of every title; MenuMutex held.
void DestroyMenuTitleShadow(HWND bar, int titleLeft, int titleTop);
void DestroyAllMenuTitleShadows();

}  // namespace tovrel

#endif
