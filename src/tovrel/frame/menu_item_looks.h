// The looks of owner-drawn menu items: what one item is drawn like in its menu's UI style,
// in the coordinates of the DC it is drawn into.
#ifndef ZK_TOVREL_FRAME_MENU_ITEM_LOOKS_H
#define ZK_TOVREL_FRAME_MENU_ITEM_LOOKS_H

#include <windows.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// Everything one item's drawing needs, in the coordinates of the DC it is drawn into.
struct ItemPaint {
  HDC dc;
  RECT rc;
  const MenuItem* item;
  int style;
  int g;          // the text's offset from the item's left edge, past the image column
  bool selected;  // the hot look
  bool hot;       // ODS_SELECTED, also for disabled items
  bool disabled;
  bool checked;
  bool themed;  // classic styles: the selection comes from the visual style
};

bool IsOfficeMenuStyle(int style);
// Classic styles draw the selection with the visual style's menu parts only where the
// style has a menu class and the common controls draw themed popups (6.1 and later).
bool MenuThemeUsable();
// Draws the item in its look. -> the submenu arrow's rectangle in p.dc (empty: none).
RECT PaintItem(const ItemPaint& p);

}  // namespace tovrel

#endif
