#include "tovrel/frame/drop_downs.h"

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/drop_down_opening.h"
#include "tovrel/frame/drop_down_placement.h"
#include "tovrel/frame/menu_hook_steps.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_scrolling.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_areas.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

namespace {

// The held-border brush of the tool bar's own style, which frames the pressed button
// while its popup is open.
HBRUSH HeldBorderBrush(HWND toolbar) {
  constexpr int kMenuHeldBorder = 12;
  int style = 0;
  {
    ToolkitLock(ToolbarMutex);
    SavedCurrent<Toolbar> keep(ToolbarList);
    if (const Toolbar* t = FindToolbar(reinterpret_cast<intptr_t>(toolbar))) style = t->uiStyle;
    ToolkitUnlock(ToolbarMutex);
  }
  return reinterpret_cast<HBRUSH>(
      LookupUIColour(style & (UISTYLE_OFFICE2003 | UISTYLE_OFFICE2007), kMenuHeldBorder, 0));
}

UINT FadeFlags(bool switching) {
  if (switching) return TPM_NOANIMATION;
  BOOL fade = FALSE;
  SystemParametersInfoA(SPI_GETMENUFADE, 0, &fade, 0);
  return fade ? 0 : TPM_NOANIMATION;
}

// The record whose menu the button drops: the button's own, or the popup it is linked to.
// nullptr when the button has no record or is linked to nothing. MenuMutex held.
Menu* DropDownRecordOf(HWND toolbar, int command) {
  Menu* record =
      MenuList.Find([toolbar, command](const Menu& m) { return m.barWindow == toolbar && m.titleCommand == command; });
  if (!record || record->linkedDropDown == MenuLinkNone()) return nullptr;
  if (record->linkedDropDown != MenuLinkOwn()) {
    record = MenuList.Contains(record->linkedDropDown) ? record->linkedDropDown : nullptr;
  }
  return record && HasSystemMenu(*record) ? record : nullptr;
}

}  // namespace

LRESULT TrackDropDown(const DropDownOpening& o, Menu* record) {
  const HWND bar = o.toolbar;
  const bool title = record->popupFlag == 0;
  const int style = record->uiStyle;
  MenuBarWindow = bar;

  if (MenuKeyboardOpen != 1 && OpenTitleIndex == -1) SavedFocusWindow = GetFocus();
  if (!o.switching) BarHotItem = static_cast<int>(SendMessageA(bar, TB_GETHOTITEM, 0, 0));
  OpenTitleIndex = -1;
  DropDownShiftX = 0;
  DropDownOverhang = 0;
  SubmenuOpening = 0;
  OpeningSubmenu = nullptr;
  SubmenuDepth = 0;
  MenuSelectParent = nullptr;
  LastArrowKey = 0;
  PopupItemSelected = 0;
  FirstPopupWindow = nullptr;

  RECT button = {};
  SendMessageA(bar, TB_GETRECT, static_cast<WPARAM>(o.command), reinterpret_cast<LPARAM>(&button));
  PressedButton pressed =
      o.switching ? PressedButton{button.right - button.left, button} : AdjustPressedButton(button, style, !title);
  TitleWidth = pressed.titleWidth;
  if (title) {
    TitleDropDownState = -1;
  } else {
    ToolbarDropDownOpen = 1;
  }
  TitleHeight = pressed.rect.bottom - pressed.rect.top;
  MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&pressed.rect), 2);
  TitleScreenLeft = pressed.rect.left;
  if (!o.switching) TitleScreenBottom = pressed.rect.bottom;

  HHOOK navigation = nullptr;
  if (title && !MenuBarNavigationHookHandle) {
    navigation =
        SetWindowsHookExA(WH_MSGFILTER, &MenuBarNavigationHook, nullptr, GetWindowThreadProcessId(bar, nullptr));
    MenuBarNavigationHookHandle = navigation;
  }

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromRect(&pressed.rect, MONITOR_DEFAULTTONEAREST), &monitor);
  const int w = GetMenuWidth(record->menuHandle);
  int h = GetMenuHeight(record->menuHandle);
  const DropDownPlacement p = PlaceDropDown({pressed.rect, monitor.rcWork, w, h, style, !title});
  DropDownShiftX = p.shiftX;
  DropDownTop = p.top;
  DropDownLeft = p.left;
  DropDownOverhang = p.overhang;
  POINT track = p.track;
  Menu* copy = nullptr;
  if (p.needsCopy) {
    // Without a copy the source opens as it is and the system fits it to the screen.
    copy = BuildScrollingCopy(*record, p.button, monitor.rcWork, DropDownOverlap(style), w);
    if (copy) {
      h = ScrollPopupHeight;
      track.y = DropDownTrackY(p.button, h, DropDownTop, style, !title);
    }
  }

  DropDownWidth = w;
  for (Menu* shown : {record, copy}) {
    if (!shown) continue;
    shown->shownWidth = w;
    shown->shownHeight = h;
    shown->contextFlag = 1;
  }
  record->openFlag = -1;
  {
    // The hot-item change reaches the program's own procedure of the bar's parent.
    MenuMutexReleased unlocked;
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
  }

  // The program may have freed the menu while the lock was let go: nothing is tracked then.
  const bool live = MenuList.Contains(record) && (!copy || MenuList.Contains(copy));
  if (live) {
    HMENU shownMenu = copy ? copy->menuHandle : record->menuHandle;
    OpenDropDownMenu = shownMenu;
    OpenTitleRecord = copy ? copy : record;
    if (MenuKeyboardOpen == 1 && !o.switching) {
      HWND focus = GetFocus();
      PostKeyPress(focus ? focus : bar, VK_DOWN);
    }
    const UINT flags = FadeFlags(o.switching);
    if (!DwmCompositionEnabled && MenuBackingStoreEnabled == 1)
      CaptureMenuBackground(reinterpret_cast<intptr_t>(bar), RECT{});
    if (!title) ToolbarDropDownBorder = HeldBorderBrush(bar);
    {
      MenuMutexReleased unlocked;
      TrackPopupMenuEx(shownMenu, flags | TPM_VERTICAL, track.x, track.y, bar, nullptr);
    }
  }

  OpenDropDownMenu = nullptr;
  OpenTitleRecord = nullptr;
  if (PendingTitleSwitchKey) {
    // The keyboard leaves for the neighbouring title: the tool bar moves its hot item on the
    // key, which opens that title, and Down then selects its first item.
    PostKeyPress(bar, PendingTitleSwitchKey);
    PostKeyPress(bar, VK_DOWN);
    PendingTitleSwitchKey = 0;
  }
  if (MenuList.Contains(record)) {
    record->openFlag = 0;
    record->contextFlag = 0;
  }
  TitleDropDownState = 0;
  ToolbarDropDownOpen = 0;
  if (copy) ReleaseScrollingCopy();

  if (navigation) {
    UnhookWindowsHookEx(navigation);
    MenuBarNavigationHookHandle = nullptr;
  }
  if (OpenTitleIndex == -1 && MenuKeyboardOpen != -2) {
    // No switch to another title is pending: the bar leaves its menu mode.
    KeyboardTitleIndex = -1;
    MenuKeyboardOpen = 0;
    HWND focus = SavedFocusWindow;
    SavedFocusWindow = nullptr;
    RedrawLastMenuArea();
    MenuMutexReleased unlocked;
    SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    if (focus && IsWindow(focus)) SetFocus(focus);
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_NOERASE);
  } else {
    RedrawLastMenuArea();
  }
  if (MenuKeyboardOpen == -2) MenuKeyboardOpen = 1;
  return 0;
}

LRESULT OnToolbarDropDown(HWND, const NMTOOLBARA& press, LRESULT previous) {
  const HWND bar = press.hdr.hwndFrom;
  MenuMutexScope lock;
  Menu* record = DropDownRecordOf(bar, press.iItem);
  if (!record) return previous;
  MenuBarWindow = bar;

  if (KeyboardTitleIndex != -1) {
    // A title is selected from the keyboard: the press only ends keyboard mode.
    KeyboardTitleIndex = -1;
    HWND focus = SavedFocusWindow;
    SavedFocusWindow = nullptr;
    TitleDropDownState = 0;
    RedrawLastMenuArea();
    MenuMutexReleased unlocked;
    if (focus && IsWindow(focus)) SetFocus(focus);
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
    return 0;
  }
  return TrackDropDown({bar, press.iItem, false}, record);
}

void OnOpenHotTitle(HWND window, HWND bar) {
  if (!IsToolbarWindow(bar)) return;
  const int hot = static_cast<int>(SendMessageA(bar, TB_GETHOTITEM, 0, 0));
  TBBUTTON button = {};
  if (hot < 0 || !SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(hot), reinterpret_cast<LPARAM>(&button))) return;
  // What the tool bar sends when its drop-down button is pressed, so that the parent's
  // own procedure sees the press as well.
  NMTOOLBARA press = {};
  press.hdr.hwndFrom = bar;
  press.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(bar));
  press.hdr.code = TBN_DROPDOWN;
  press.iItem = button.idCommand;
  press.tbButton = button;
  SendMessageA(bar, TB_GETRECT, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(&press.rcButton));
  SendMessageA(window, WM_NOTIFY, press.hdr.idFrom, reinterpret_cast<LPARAM>(&press));
}

}  // namespace tovrel
