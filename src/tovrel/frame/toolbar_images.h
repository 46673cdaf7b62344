// The images of tool-bar buttons in their image lists.
#ifndef ZK_TOVREL_FRAME_TOOLBAR_IMAGES_H
#define ZK_TOVREL_FRAME_TOOLBAR_IMAGES_H

#include <windows.h>
#include <commctrl.h>

namespace tovrel {

// The three lists of a tool bar, in the order the button images are given.
struct ButtonImageLists {
  HIMAGELIST lists[3];  // normal, hot, disabled; nullptr: the tool bar has no images
};

// Writes `image` (an icon, else a bitmap turned into one) into the list at `index`, or
// appends it for -1. -> false when neither form is taken.
bool PutButtonImage(HIMAGELIST list, int index, HANDLE image);

// Appends one image to the list, the default image when `image` is refused, so that
// every button owns exactly one slot whatever it was given.
void AppendButtonImage(HIMAGELIST list, HANDLE image);

// Takes one slot out of every list that exists.
void RemoveButtonImages(const ButtonImageLists& lists, int index);

}  // namespace tovrel

#endif
