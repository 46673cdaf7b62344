// Owner-drawn menu items: the parent window procedure measures and draws every item of a
// toolkit menu from its MenuItem record, in its menu's UI style.
#ifndef ZK_TOVREL_FRAME_MENU_ITEM_PAINTING_H
#define ZK_TOVREL_FRAME_MENU_ITEM_PAINTING_H

#include <windows.h>

namespace tovrel {

// WM_MEASUREITEM of a menu item with item data.
void MeasureMenuItem(MEASUREITEMSTRUCT& measure);
// WM_DRAWITEM of a menu item with item data. -> false when drawing was skipped, for which
// the procedure returns 0.
bool DrawMenuItem(const DRAWITEMSTRUCT& draw);

}  // namespace tovrel

#endif
