#include "tovrel/frame/toolbar_rules.h"

#include <commctrl.h>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

ToolbarCreationStyles ToolbarStylesOfFlags(int flags) {
  ToolbarCreationStyles s = {};
  s.recordFlags = flags | TBSTYLE_TOOLTIPS;
  // 0x800000 is WS_BORDER and the style bits are WS_MAXIMIZE and friends: the control
  // would grow a frame or worse.
  s.windowStyle = static_cast<DWORD>(s.recordFlags & ~kToolbarToolkitFlags);
  s.extendedStyle = TBSTYLE_EX_DRAWDDARROWS;
  if (flags & kToolbarHideClipped) s.extendedStyle |= TBSTYLE_EX_HIDECLIPPEDBUTTONS;
  if (flags & UISTYLE_OFFICE2003) {
    s.uiStyle = UISTYLE_OFFICE2003;
  } else if (flags & UISTYLE_OFFICE2007) {
    s.uiStyle = UISTYLE_OFFICE2007;
  }
  if (flags & kToolbarImageSized) s.uiStyle = kToolbarImageSized;
  return s;
}

bool IsOfficeStyle(int uiStyle) { return uiStyle == UISTYLE_OFFICE2003 || uiStyle == UISTYLE_OFFICE2007; }

int ClampInsertPosition(int position, int count) {
  if (position > count) return -1;
  if (position < -1) return 0;
  return position;
}

GadgetPlacement PlaceGadget(const RECT& item, int paddingLeft, int paddingTop, int paddingBottom, int width,
                            const std::string& className) {
  GadgetPlacement p = {};
  p.x = item.left + paddingLeft;
  p.y = item.top + paddingTop;
  p.width = width;
  p.height = item.bottom - item.top - paddingBottom;
  // The selection field of a combo box sets its visible height; its frame takes 6 pixels.
  p.itemHeight = className == "ComboBox" ? p.height - 6 : -1;
  return p;
}

int GadgetWidthIn(const RECT& item, int paddingLeft, int paddingRight) {
  return item.right - item.left - (paddingLeft + paddingRight);
}

}  // namespace tovrel
