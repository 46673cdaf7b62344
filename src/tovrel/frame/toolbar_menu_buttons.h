// Tool-bar buttons that drop one of the toolkit's menus down.
#ifndef ZK_TOVREL_FRAME_TOOLBAR_MENU_BUTTONS_H
#define ZK_TOVREL_FRAME_TOOLBAR_MENU_BUTTONS_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// A drop-down button on the current tool bar tied to `menu` (number or handle); an
// unknown menu still adds the button, whose drop-down then shows nothing. -> the
// button's command id, 0 when the button could not be added.
int AddToolbarMenuButton(int commandId, intptr_t menu, const std::string& text, HANDLE image, HANDLE hotImage,
                         HANDLE disabledImage, int style);
int InsertToolbarMenuButton(intptr_t toolbar, int position, intptr_t menu, int commandId, const std::string& text,
                            HANDLE image, HANDLE hotImage, HANDLE disabledImage, int style);
// -> 1 when the button's menu was replaced, else 0.
int SetToolbarButtonMenu(intptr_t toolbar, int commandId, intptr_t menu);

}  // namespace tovrel

#endif
