// Button pictures for the gallery, drawn in code so the gallery needs no image files.
#ifndef ZK_TOVREL_GALLERY_GALLERY_IMAGES_H
#define ZK_TOVREL_GALLERY_GALLERY_IMAGES_H

#include <windows.h>

namespace tovrel_gallery {

enum class Shape { kSquare, kCircle, kTriangle, kBar };

// A 32-bit icon of size x size with soft alpha: the shape filled with colour (0xRRGGBB).
HICON MakeGalleryIcon(int size, Shape shape, COLORREF rgb);

}  // namespace tovrel_gallery

#endif
