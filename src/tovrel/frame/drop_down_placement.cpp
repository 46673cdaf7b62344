#include "tovrel/frame/drop_down_placement.h"

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

namespace {

bool IsOfficeDropDownStyle(int style) {
  return style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2003 || style == UISTYLE_OFFICE2007;
}

}  // namespace

PressedButton AdjustPressedButton(const RECT& button, int style, bool buttonPopup) {
  PressedButton pressed = {button.right - button.left, button};
  if (!buttonPopup) return pressed;
  if (style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2007) {
    pressed.rect.bottom -= 2;
  } else if (style == UISTYLE_WHIDBEY) {
    pressed.titleWidth += 4;
    pressed.rect.bottom -= 1;
  }
  return pressed;
}

int DropDownOverlap(int style) { return style == UISTYLE_WHIDBEY ? 1 : 0; }

int DropDownTrackY(const RECT& button, int height, int top, int style, bool buttonPopup) {
  const int a = DropDownOverlap(style);
  int bottom = button.bottom;
  if (top == -1) {
    // The drop-down's lower edge rests on the button's upper one.
    bottom = button.top - height + a + 2;
    if (style < UISTYLE_WHIDBEY) {
      bottom -= 1;
    } else if (buttonPopup && IsOfficeDropDownStyle(style)) {
      bottom += 2;
    }
  }
  return bottom - (a + 1);
}

DropDownPlacement PlaceDropDown(const DropDownRequest& q) {
  const int a = DropDownOverlap(q.style);
  const int w = q.width;
  const int h = q.height;
  DropDownPlacement p = {};
  RECT r = q.button;
  if (r.left < q.work.left) {
    p.shiftX = r.left - q.work.left;
    r.left = q.work.left;
  }
  p.top = r.bottom - (a + 1);
  p.left = r.left;
  if (r.left + w > q.work.right) {
    // The office styles draw a wider frame and shadow, which must stay on the screen too.
    p.shiftX = r.left + w - q.work.right + (IsOfficeDropDownStyle(q.style) ? 4 : 2);
    p.left = q.work.right - w;
  }
  if (r.left + w + 5 > q.work.right) {
    p.overhang = r.left + w - q.work.right + 6;
    r.left = q.work.right - w - 5;
  }
  if (r.bottom + h >= q.work.bottom + a - 1) {
    p.top = -1;
    p.needsCopy = r.top + a + 1 - h < q.work.top;
  }
  p.button = r;
  p.track = {r.left, DropDownTrackY(r, h, p.top, q.style, q.buttonPopup)};
  return p;
}

PopupShift ShiftPopupIntoWork(int x, int width, int workRight) {
  if (x + width + 5 <= workRight) return {x, 0};
  return {workRight - width - 5, x + width - workRight + 6};
}

int ChevronMenuX(int chevronLeft, int menuWidth, const RECT& work) {
  int x = chevronLeft < work.left ? work.left : chevronLeft;
  if (x + menuWidth > work.right) x = work.right;
  return x;
}

}  // namespace tovrel
