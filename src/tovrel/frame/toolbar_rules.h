// The tool bars' decisions as plain values: what the creation flags give the control,
// where an insert lands, where a gadget goes. Tested without windows.
#ifndef ZK_TOVREL_FRAME_TOOLBAR_RULES_H
#define ZK_TOVREL_FRAME_TOOLBAR_RULES_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// Flags above the window styles that mean something to the toolkit only.
constexpr int kToolbarHideClipped = 0x800000;
constexpr int kToolbarImageSized = 0x4000000;  // buttons sized exactly to their images
constexpr int kToolbarToolkitFlags = kToolbarHideClipped | 0x1000000 | 0x2000000 | kToolbarImageSized;

// OFFICE2003 and OFFICE2007 tool bars frame their buttons and need room for it.
bool IsOfficeStyle(int uiStyle);

struct ToolbarCreationStyles {
  int32_t recordFlags;  // what the record keeps: the flags with TBSTYLE_TOOLTIPS
  DWORD windowStyle;    // added to the control's style; never a toolkit bit
  DWORD extendedStyle;  // TB_SETEXTENDEDSTYLE
  int32_t uiStyle;
};
ToolbarCreationStyles ToolbarStylesOfFlags(int flags);

// Where an add in insert mode puts its button on a tool bar of `count` buttons: -1
// appends (beyond the last, or -1), below -1 is the first place.
int ClampInsertPosition(int position, int count);

struct GadgetPlacement {
  int x, y, width, height;
  int itemHeight;  // CB_SETITEMHEIGHT of the selection field; -1: not a combo box
};
// `item` is the placeholder's rectangle in the tool bar.
GadgetPlacement PlaceGadget(const RECT& item, int paddingLeft, int paddingTop, int paddingBottom, int width,
                            const std::string& className);

// The width a gadget keeps when its placeholder is `item`.
int GadgetWidthIn(const RECT& item, int paddingLeft, int paddingRight);

}  // namespace tovrel

#endif
