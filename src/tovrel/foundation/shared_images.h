// The pictures start-up makes once for every control: the empty tool-bar picture and the
// check and radio marks of menu items.
#ifndef ZK_TOVREL_FOUNDATION_SHARED_IMAGES_H
#define ZK_TOVREL_FOUNDATION_SHARED_IMAGES_H

#include <windows.h>
#include <commctrl.h>

namespace tovrel {

// A 1 x 1 32-bit icon whose one pixel is fully transparent; nullptr on failure.
HICON MakeEmptyIcon();

// A 7 x 7 24-bit icon of a mark: black where the pattern has '#', transparent elsewhere.
// The pattern is seven rows of seven characters.
HICON MakeGlyphIcon(const char* const rows[7]);

// An image list of 7 x 7 pictures (32-bit colour with mask) holding the mark as image 0.
HIMAGELIST MakeGlyphImageList(const char* const rows[7]);

extern const char* const kCheckMarkRows[7];
extern const char* const kRadioMarkRows[7];

}  // namespace tovrel

#endif
