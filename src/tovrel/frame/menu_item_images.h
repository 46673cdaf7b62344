// The three images of an owner-drawn menu item in one image list: 0 normal, 1 hot,
// 2 disabled.
#ifndef ZK_TOVREL_FRAME_MENU_ITEM_IMAGES_H
#define ZK_TOVREL_FRAME_MENU_ITEM_IMAGES_H

#include <windows.h>
#include <commctrl.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// A new width x height list holding the item's three images and the item's given flags
// set to match: the hot slot takes the normal image when no hot image is given or it is
// refused, the disabled slot the normal image recoloured for `style`. Images are icons or
// bitmaps the caller keeps. -> nullptr (and no list left behind) when the list cannot be
// made or the normal image is refused.
HIMAGELIST MakeMenuItemImages(MenuItem& item, HANDLE image, HANDLE hotImage, HANDLE disabledImage, int style, int width,
                              int height);

}  // namespace tovrel

#endif
