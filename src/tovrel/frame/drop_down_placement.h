// Where a drop-down opens against the button that drops it, and where a popup shown at a
// point is moved to stay on its work area. Pure: rectangles in, numbers out.
#ifndef ZK_TOVREL_FRAME_DROP_DOWN_PLACEMENT_H
#define ZK_TOVREL_FRAME_DROP_DOWN_PLACEMENT_H

#include <windows.h>

namespace tovrel {

// The pressed button as the drop-down is placed against it. A tool-bar button's popup in
// the office and WHIDBEY styles overlaps the button's lower edge; its title width grows
// in WHIDBEY so that the popup's frame meets the button's.
struct PressedButton {
  int titleWidth;
  RECT rect;  // the button's rectangle with its bottom moved
};
PressedButton AdjustPressedButton(const RECT& button, int style, bool buttonPopup);

// 1 for WHIDBEY, whose popups overlap their title one pixel more; 0 for the other styles.
int DropDownOverlap(int style);

struct DropDownRequest {
  RECT button;  // screen rectangle of the pressed button, as AdjustPressedButton left it
  RECT work;    // work area of the monitor nearest to it
  int width;    // of the menu
  int height;
  int style;         // the menu's UI style
  bool buttonPopup;  // a tool-bar button's popup rather than a menu-bar title's drop-down
};

struct DropDownPlacement {
  int shiftX;      // how far the drop-down moved sideways to stay on the work area
  int top;         // screen y of its top below the button; -1: it opens above the button
  int left;        // screen x at which it is expected
  int overhang;    // how far its right edge plus 5 passed the work area's right edge, plus 1
  bool needsCopy;  // it fits neither below nor above: a shorter scrolling copy must open
  RECT button;     // the button as moved to the work area; the copy is fitted against it
  POINT track;     // where the menu is asked to open
};
DropDownPlacement PlaceDropDown(const DropDownRequest& request);

// The y at which a drop-down of `height` opens, below the button or, for `top` -1, above.
int DropDownTrackY(const RECT& button, int height, int top, int style, bool buttonPopup);

// A popup asked for at screen x: when its right edge plus 5 passes the work area's, it
// ends 5 pixels inside it.
struct PopupShift {
  int x;
  int overhang;  // the distance moved plus 1; 0 when it fits
};
PopupShift ShiftPopupIntoWork(int x, int width, int workRight);

// Where the chevron's menu is asked for: under the chevron, not left of the work area; a
// menu too wide for the rest of it is pushed to the right edge, from where the popup shift
// brings it back inside.
int ChevronMenuX(int chevronLeft, int menuWidth, const RECT& work);

}  // namespace tovrel

#endif
