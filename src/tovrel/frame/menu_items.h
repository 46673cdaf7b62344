// Changes to menu items after they were added: removal with their images and shortcut,
// new measuring, image size, check and radio state, and new text, images or submenu.
#ifndef ZK_TOVREL_FRAME_MENU_ITEMS_H
#define ZK_TOVREL_FRAME_MENU_ITEMS_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// `byPosition` non-zero: `item` is a position, else a command id. -> non-zero when the
// system removed the item; only then are its record and images freed.
int RemoveMenuItem(intptr_t menu, int item, int byPosition);
// Makes the system measure and draw every item again. Called with MenuMutex held.
int UpdateMenuItems(HMENU menu);
int SetMenuImageSize(int width, int height);
// Flags: 1 checked, 2 radio (the one checked item of its group), 0x1000 the image is the
// check mark, 0x10000 closes the radio group, 0 unchecked. -> 1 or 0
int SetMenuItemState(intptr_t menu, int commandId, int flags);
// Images of nullptr keep the item's images; `submenu` 0 keeps its submenu. -> 1 or 0
int SetMenuItem(intptr_t menu, int commandId, const std::string& text, HANDLE image, HANDLE hotImage,
                HANDLE disabledImage, intptr_t submenu);
// Remakes the generated disabled image of every item of `menu` whose style is not its
// menu's (mode 2). MenuMutex held.
int RecolourImageList(HMENU menu, int mode);

// Makes the system measure and draw every item of the menu again; no lock is needed.
void RemeasureMenuItems(HMENU menu);

}  // namespace tovrel

#endif
