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

int BarHotItem = -1;
int TitleHeight = 0;
HBRUSH ToolbarDropDownBorder = nullptr;
RECT ChevronRect = {};
int ChevronClickSeen = 0;
UINT PendingTitleSwitchKey = 0;

int MenuBarKeyState = 0;
int LastArrowKey = 0;
int SubmenuDepth = 0;
HMENU MenuSelectParent = nullptr;
HMENU OpeningSubmenu = nullptr;
int SubmenuOpening = 0;
int PopupItemSelected = 0;

PopupWindow* InnermostPopup = nullptr;
HWND OpenPopupWindow = nullptr;
HWND FirstPopupWindow = nullptr;
int OpenPopupCount = 0;
int TopPopupStyle = 0;
int SelectionFadeSuspended = 0;
int PopupPlacementSuspended = 0;
int PopupMoveRedrawPending = 0;
RECT LastPopupRect = {};
int LastPopupX = 0;
int LastPopupExtent = 0;
int MenuBackingStoreEnabled = 0;

HMENU ScrollSourceMenu = nullptr;
HWND ScrollPopupWindow = nullptr;
int ScrollPopupHeight = 0;
int ScrollAtEnd = 0;
int ScrollFirstIndex = 0;
int ScrollLastIndex = 0;

}  // namespace tovrel
