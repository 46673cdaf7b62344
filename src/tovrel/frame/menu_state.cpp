#include "tovrel/frame/menu_state.h"

namespace tovrel {

HWND MenuBarWindow = nullptr;
int F10MenuKeyDisabled = 0;
int RadioGroupNumber = 0;
HMENU RadioGroupMenu = nullptr;

HMENU OpenDropDownMenu = nullptr;
Menu* OpenTitleRecord = nullptr;
int TitleScreenLeft = 0;
int TitleScreenBottom = 0;
int TitleWidth = 0;
int DropDownLeft = 0;
int DropDownWidth = 0;
int DropDownTop = 0;
int DropDownShiftX = 0;
int DropDownOverhang = 0;
int ToolbarDropDownOpen = 0;
HWND SavedFocusWindow = nullptr;
int TitleDropDownState = 0;
int MenuKeyboardOpen = 0;
int DropDownKeyNavigation = 0;
int MenuKeyNavigation = 0;

int MenuItemBuffering = 0;
int MenuCacheBlocked = 0;
int LastHotItemTop = 0;
int MenuTextGap = 0;

HMENU ScrollPopupMenu = nullptr;
int ScrollPopupWidth = 0;
int ScrollBusy = 0;
int ScrollHover = 0;
int ScrollItemHeight = 0;
int ScrollFillerHeight = 7;

}  // namespace tovrel
