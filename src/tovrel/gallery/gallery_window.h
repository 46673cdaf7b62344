// The toolkit's gallery: one window that shows the frame's tool bars and rebars in every UI
// style, for a person to look at and for tests that drive it with the real mouse.
#ifndef ZK_TOVREL_GALLERY_GALLERY_WINDOW_H
#define ZK_TOVREL_GALLERY_GALLERY_WINDOW_H

#include <windows.h>

#include "tovrel/gallery/gallery_menus.h"

namespace tovrel_gallery {

struct Gallery {
  HWND window = nullptr;
  HWND mainRebar = nullptr;  // OFFICE2007, across the gallery's top
  int followBand = -1;       // index in mainRebar of the band whose edges can be dragged
  GalleryMenus menus;        // the menu bar in mainRebar's first row
  HWND toolbar = nullptr;    // the tool bar in its second row
};

// Makes the gallery window, not yet shown. The toolkit must be started.
Gallery CreateGallery();

}  // namespace tovrel_gallery

#endif
