#include "tovrel/frame/toolbar_images.h"

#include "tovrel/foundation/image_effects.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/toolbar.h"

namespace tovrel {

bool PutButtonImage(HIMAGELIST list, int index, HANDLE image) {
  if (!list || !image) return false;
  if (ImageList_ReplaceIcon(list, index, static_cast<HICON>(image)) >= 0) return true;
  // Not an icon: the list takes bitmaps only through an icon made from them.
  HICON icon = ConvertBitmapToIcon(static_cast<HBITMAP>(image));
  if (!icon) return false;
  const bool put = ImageList_ReplaceIcon(list, index, icon) >= 0;
  DestroyIcon(icon);
  return put;
}

void AppendButtonImage(HIMAGELIST list, HANDLE image) {
  if (!list) return;
  if (!PutButtonImage(list, -1, image)) PutButtonImage(list, -1, DefaultToolbarImage);
}

void RemoveButtonImages(const ButtonImageLists& lists, int index) {
  // Normal, disabled, hot: the order the lists were always emptied in.
  const int order[] = {0, 2, 1};
  for (int i : order) {
    if (lists.lists[i]) ImageList_Remove(lists.lists[i], index);
  }
}

int InsertImageListIcon(HIMAGELIST list, HICON icon, int position) {
  if (!list) return 0;
  if (icon && ImageList_ReplaceIcon(list, -1, icon) < 0) return 0;
  const int count = ImageList_GetImageCount(list);
  if (position < 0) position = 0;
  // Swapping neighbours from the end keeps every image's own mask and alpha.
  for (int i = count - 1; i > position; --i) {
    HICON upper = ImageList_GetIcon(list, i, ILD_TRANSPARENT);
    HICON lower = ImageList_GetIcon(list, i - 1, ILD_TRANSPARENT);
    if (upper && lower) {
      ImageList_ReplaceIcon(list, i - 1, upper);
      ImageList_ReplaceIcon(list, i, lower);
    }
    if (upper) DestroyIcon(upper);
    if (lower) DestroyIcon(lower);
  }
  return 1;
}

}  // namespace tovrel
