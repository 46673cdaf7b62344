// A popup window's record from its first message to WM_DESTROY, and the tracking state
// that follows the chain of open popups.
#include <windows.h>

#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_window.h"
#include "tovrel/frame/popup_window_parts.h"

namespace tovrel {

namespace {

// Submenus that are toolkit menus of their own show in the style of the top popup while
// open; the records' own styles come back when they close.
Menu* AdoptSubmenuStyle(int32_t& savedStyle) {
  savedStyle = -1;
  if (SubmenuOpening != 1 || !OpeningSubmenu) return nullptr;
  Menu* menu = MenuList.Find([](const Menu& m) { return m.menuHandle == OpeningSubmenu; });
  if (!menu || menu->uiStyle == TopPopupStyle) return menu;
  savedStyle = menu->uiStyle;
  menu->uiStyle = TopPopupStyle;
  UpdateMenuItems(menu->menuHandle);
  return menu;
}

// The system's selection fade would fade the toolkit's own selection painting.
void SuspendSelectionFade(int style) {
  if (style < UISTYLE_WHIDBEY || SelectionFadeSuspended != 0) return;
  BOOL fade = FALSE;
  SystemParametersInfoA(SPI_GETSELECTIONFADE, 0, &fade, 0);
  SelectionFadeSuspended = fade ? 1 : 0;
  if (fade) SystemParametersInfoA(SPI_SETSELECTIONFADE, 0, reinterpret_cast<PVOID>(FALSE), 0);
}

}  // namespace

PopupWindow* PopupRecordOf(HWND window) {
  auto* record = reinterpret_cast<PopupWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return record && PopupWindowList.Contains(record) && record->window == window ? record : nullptr;
}

Menu* PopupMenuOf(const PopupWindow* record) {
  return record && record->menu && MenuList.Contains(record->menu) ? record->menu : nullptr;
}

HMENU PopupMenuHandle(const PopupWindow* record) {
  return record && record->menuHandle ? record->menuHandle : OpenDropDownMenu;
}

int PopupStyleOf(const PopupWindow* record) {
  const Menu* menu = PopupMenuOf(record);
  return menu ? menu->uiStyle : -1;
}

PopupWindow* RegisterPopupWindow(HWND window) {
  MenuItemBuffering = 0;
  MenuSelectParent = OpeningSubmenu;
  Menu* tracked = OpenTitleRecord && MenuList.Contains(OpenTitleRecord) ? OpenTitleRecord : nullptr;
  if (!InnermostPopup) {
    TopPopupStyle = tracked ? tracked->uiStyle : 0;
    PopupPlacementSuspended = 0;
    PopupMoveRedrawPending = 0;
  }
  int32_t savedStyle = -1;
  Menu* shown = InnermostPopup ? AdoptSubmenuStyle(savedStyle) : nullptr;
  // A submenu that is no toolkit menu of its own is shown in the tracked menu's look.
  if (!shown) shown = tracked;

  PopupWindow& record = PopupWindowList.Add();
  record.menu = shown;
  record.savedStyle = savedStyle;
  record.window = window;
  record.menuHandle = InnermostPopup ? OpeningSubmenu : nullptr;
  record.savedSelectedPosition = LastHotItemTop;
  record.parent = InnermostPopup;
  InnermostPopup = &record;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));

  if (shown) SuspendSelectionFade(shown->uiStyle);
  if (!ScrollPopupWindow && ScrollPopupMenu) ScrollPopupWindow = window;
  ++OpenPopupCount;
  PopupPlacementSuspended = 0;
  return &record;
}

LRESULT OnPopupDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND hiddenStrip = nullptr;
  HWND extraStrip = nullptr;
  {
    MenuMutexScope lock;
    PopupWindow* record = PopupRecordOf(window);
    if (record) {
      if (record->parent) MenuSelectParent = record->parent->menuHandle;
      LastPopupX = record->previousPopupX;
      if (InnermostPopup == record) InnermostPopup = record->parent;
      LastHotItemTop = record->savedSelectedPosition;
      extraStrip = record->extraStrip;
      hiddenStrip = record->hiddenParentStrip;
      if (record->savedStyle >= 0) {
        if (Menu* menu = PopupMenuOf(record)) {
          menu->uiStyle = record->savedStyle;
          UpdateMenuItems(menu->menuHandle);
        }
      }
      // Popups the system closes out of order must not keep a parent that is gone.
      for (PopupWindow& other : PopupWindowList)
        if (other.parent == record) other.parent = record->parent;
      PopupWindowList.Delete(record);
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  if (extraStrip) DestroyWindow(extraStrip);
  if (hiddenStrip) ShowWindow(hiddenStrip, SW_SHOWNA);

  const LRESULT result = PassPopupMessage(window, WM_DESTROY, wParam, lParam);
  if (PopupMenuPreviousProc) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupMenuPreviousProc));

  MenuMutexScope lock;
  --OpenPopupCount;
  if (SelectionFadeSuspended == 1 && OpenPopupCount <= 0) {
    SystemParametersInfoA(SPI_SETSELECTIONFADE, 0, reinterpret_cast<PVOID>(TRUE), 0);
    SelectionFadeSuspended = 0;
  }
  PopupPlacementSuspended = 1;
  return result;
}

}  // namespace tovrel
