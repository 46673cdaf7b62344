#include "tovrel/frame/menu_item_images.h"

#include "tovrel/foundation/image_recolour.h"
#include "tovrel/frame/toolbar_images.h"

namespace tovrel {

HIMAGELIST MakeMenuItemImages(MenuItem& item, HANDLE image, HANDLE hotImage, HANDLE disabledImage, int style, int width,
                              int height) {
  item.normalImageGiven = item.hotImageGiven = item.disabledImageGiven = 0;
  if (!image) return nullptr;
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 0);
  if (!list) return nullptr;
  // Without its normal image every later slot would sit one index too low.
  if (!PutButtonImage(list, -1, image)) {
    ImageList_Destroy(list);
    return nullptr;
  }
  item.normalImageGiven = -1;
  if (hotImage && PutButtonImage(list, -1, hotImage))
    item.hotImageGiven = -1;
  else
    PutButtonImage(list, -1, image);
  if (disabledImage && PutButtonImage(list, -1, disabledImage)) {
    item.disabledImageGiven = -1;
  } else {
    HICON recoloured = RecolourImageForStyle(image, style);
    // A derived image that cannot be made leaves the normal one, so the slot still exists.
    if (!recoloured || !PutButtonImage(list, -1, recoloured)) PutButtonImage(list, -1, image);
    if (recoloured) DestroyIcon(recoloured);
  }
  return list;
}

}  // namespace tovrel
