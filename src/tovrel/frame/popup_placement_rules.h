// The decisions a popup menu window takes at the system's messages: which item stays
// selected under the pointer, which position change places the popup, how its size and
// position follow the drop-down the toolkit computed, where a title's joint line goes,
// and which item a WM_MENUSELECT names. Plain values, tested as tables.
#ifndef ZK_TOVREL_FRAME_POPUP_PLACEMENT_RULES_H
#define ZK_TOVREL_FRAME_POPUP_PLACEMENT_RULES_H

#include <windows.h>

#include <vector>

namespace tovrel {

// The looks a popup is framed and placed in.
enum class PopupLook { kPlain, kWhidbey, kOffice, kOther };
PopupLook PopupLookOf(int uiStyle);

// Items of the popup as the pointer test sees them: screen rectangle, has a submenu.
struct HoverItem {
  RECT rect;
  bool submenu;
};
// The item that stays selected when the system asks to clear the selection: the item
// whose rectangle holds the pointer, while the pointer is inside `window` off its edge
// rows (and, over an item without a submenu, off 1 pixel left and 2 right). -1: none.
int KeptHoverPosition(const std::vector<HoverItem>& items, const RECT& window, POINT pointer);

// The change that puts the popup where it is shown: the first that shows it, else the
// first that moves or sizes it. A hide is never one.
bool IsPlacingChange(UINT flags, bool placedBefore);

struct PopupPos {
  int x, y, cx, cy;
};
// How far a first-level popup moves right again after it was pulled left to fit.
int PlacementStep(int overhang);
// The width and height rules every change gets: a first-level popup takes the toolkit's
// width and step; in the Office looks a submenu loses 2 pixels of width, and the height
// loses what the toolkit's frame does not need (1 WHIDBEY, 3 Office) but never goes below
// `minimumHeight`, the height that shows the last item whole.
void ApplySizeRules(PopupPos& p, PopupLook look, bool submenu, int step, int dropDownWidth, int minimumHeight);

struct SubmenuAnchor {
  int lastPopupX;     // x of the popup placed last (the parent)
  bool parentPlaced;  // the parent's menu was placed by the toolkit itself
  int dropDownLeft;   // where the toolkit placed the drop-down
  int dropDownWidth;
  int rightOffset;  // 5, Office 3
  int leftShift;    // 2, Office 0
};
// Moves a submenu against its parent: right of it past the parent's frame, or left.
void OffsetSubmenu(PopupPos& p, const SubmenuAnchor& anchor);
// Keeps a submenu of width x height inside `work`: it flips left of the parent when it
// would pass the right edge, else moves up when it would pass the bottom.
void FitSubmenu(PopupPos& p, int width, int height, int lastPopupX, const RECT& work);

// The one-pixel row where a drop-down meets its title. Empty (right <= left) when the
// popup is not the title's drop-down.
RECT TitleJointRow(PopupLook look, int titleWidth, int shiftX, bool opensAbove, int height, bool print);

// The position a WM_MENUSELECT names in its menu: the index for a submenu item, else the
// highlighted item with that command id (the first with it when none is highlighted).
// -1 for the message that says the menu closed, or when no item has the id.
struct SelectableItem {
  UINT id;
  bool highlighted;
};
int MenuSelectPosition(const std::vector<SelectableItem>& items, WPARAM wParam, LPARAM lParam);

}  // namespace tovrel

#endif
