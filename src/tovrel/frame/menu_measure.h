// How big the owner-drawn items and menus are, as the menu system asks when it lays out a
// popup and the toolkit needs to know before it shows one.
#ifndef ZK_TOVREL_FRAME_MENU_MEASURE_H
#define ZK_TOVREL_FRAME_MENU_MEASURE_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "tovrel/foundation/lists.h"

namespace tovrel {

int GetMenuItemHeight(HDC dc, const MenuItem& item);
int GetMenuItemWidth(const MenuItem& item);
int GetMenuHeight(HMENU menu);  // 0 for an invalid handle
int GetMenuWidth(HMENU menu);   // 0 for an invalid handle

// An item text split at its first single "$": the label, and the shortcut shown in the
// second column. "$$" stands for one "$" and splits nothing; neither does a "$" that ends
// the text. The shortcut is the rest of the text as written, as shortcuts are registered.
struct ItemTextParts {
  std::string label;
  std::string shortcut;
  bool hasShortcut = false;
};
ItemTextParts SplitItemText(const std::string& text);

// The menu font's size in points at the screen's resolution; 0 without a menu font.
int MenuFontPointSize();

// The record an item's data names, or nullptr when the data is not the address of a
// record in MenuItemList (an owner-drawn item of the application's own). MenuMutex held.
MenuItem* ItemRecordOf(ULONG_PTR itemData);

}  // namespace tovrel

#endif
