// What the menu operations share about their records: how a new record enters MenuList,
// how an item's data leads back to its record, and which menu holds a command.
// MenuMutex is held around every call.
#ifndef ZK_TOVREL_FRAME_MENU_RECORDS_H
#define ZK_TOVREL_FRAME_MENU_RECORDS_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// A zeroed Menu directly after the head of MenuList, linked to its own menu. The first
// record of all hands FreeMenu to the toolkit's shutdown.
Menu& AddMenuRecord();

// The style a menu keeps for a UI style argument: OFFICE2003 is kept as 6.
int32_t StoredMenuStyle(int uiStyle);

// The items changed: the painter must draw the background again.
void InvalidateMenuBackground(Menu& menu);

// True when the record has a system menu of its own (not a bar's placeholder).
bool HasSystemMenu(const Menu& menu);

// The record an item's data names, nullptr when the data is not one of ours.
MenuItem* MenuItemOfData(ULONG_PTR data);

// The first record `menu` names whose system menu has an item with the command id.
Menu* FindMenuHolding(intptr_t menu, int commandId);

// True when an item of any toolkit menu has the command id.
bool AnyMenuHoldsCommand(int commandId);

}  // namespace tovrel

#endif
