#include "tovrel/frame/popup_window.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/menu_hooks.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_scrolling.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_placement_rules.h"
#include "tovrel/frame/popup_window_parts.h"

namespace tovrel {

WNDPROC PopupMenuPreviousProc = nullptr;

namespace {

// The bar's hot item when the last popup of a title's drop-down opened.
int LastPopupHotItem = 0;

std::string ClassNameOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// Saving the screen under a popup is right except while titles switch: the bar under
// a new drop-down has just changed, and restoring old bits would show the old title.
void ChooseSaveBits(HWND popup) {
  if (DwmCompositionEnabled) return;
  const bool save = !(TitleDropDownState != 0 && BarHotItem != -1 && BarHotItem != LastPopupHotItem);
  const ULONG_PTR style = GetClassLongPtrA(popup, GCL_STYLE);
  const ULONG_PTR wanted = save ? style | CS_SAVEBITS : style & ~static_cast<ULONG_PTR>(CS_SAVEBITS);
  if (wanted != style) SetClassLongPtrA(popup, GCL_STYLE, static_cast<LONG_PTR>(wanted));
}

void SubclassPopup(HWND popup) {
  ChooseSaveBits(popup);
  OpenPopupWindow = popup;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(popup, GWLP_WNDPROC)) == PopupMenuWindowProc) return;
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupMenuWindowProc)));
  if (previous) PopupMenuPreviousProc = previous;
  if (TitleDropDownState != 0 && MenuBarWindow && IsWindow(MenuBarWindow)) {
    // The bar is frozen while its drop-downs switch; the new hot title shows at once.
    SendMessageA(MenuBarWindow, TB_SETHOTITEM, static_cast<WPARAM>(BarHotItem), 0);
    SendMessageA(MenuBarWindow, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(MenuBarWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
    SendMessageA(MenuBarWindow, WM_SETREDRAW, FALSE, 0);
    LastPopupHotItem = BarHotItem;
  }
}

void DestroyPopupShadows(HWND popup) {
  std::vector<HWND> strips;
  {
    MenuMutexScope lock;
    std::vector<const MenuShadow*> gone;
    for (const MenuShadow& shadow : MenuShadowList) {
      if (shadow.popupWindow != popup) continue;
      for (HWND strip : {shadow.rightStrip, shadow.bottomStrip, shadow.joiningStrip})
        if (strip) strips.push_back(strip);
      gone.push_back(&shadow);
    }
    for (const MenuShadow* shadow : gone) MenuShadowList.Delete(shadow);
  }
  for (HWND strip : strips) DestroyWindow(strip);
}

void ReportMenuSelect(WPARAM wParam, LPARAM lParam) {
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  std::vector<SelectableItem> items;
  const int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    items.push_back({GetMenuItemID(menu, i), state != static_cast<UINT>(-1) && (state & MF_HILITE) != 0});
  }
  MenuSelectionChanged(menu, MenuSelectPosition(items, wParam, lParam), HIWORD(wParam));
}

}  // namespace

LRESULT PassPopupMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!PopupMenuPreviousProc) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(PopupMenuPreviousProc, window, message, wParam, lParam);
}

void ObserveSentMessage(const CWPSTRUCT& sent) {
  switch (sent.message) {
    case WM_CREATE: {
      if (!OpenDropDownMenu) return;
      const std::string name = ClassNameOf(sent.hwnd);
      if (name == "#32768") {
        SubclassPopup(sent.hwnd);
      } else if (name == "SysShadow") {
        // The toolkit draws its own shadows; the system's would double them.
        DestroyWindow(sent.hwnd);
      }
      return;
    }
    case WM_DESTROY:
      if (ClassNameOf(sent.hwnd) == "#32768") DestroyPopupShadows(sent.hwnd);
      return;
    case WM_MENUSELECT:
      if (OpenDropDownMenu) ReportMenuSelect(sent.wParam, sent.lParam);
      return;
  }
}

LRESULT CALLBACK PopupMenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Hover scrolling steps on the scroll popup's own timer, inside the menu loop.
  if (message == WM_TIMER && wParam == kMenuScrollTimer) {
    MenuScrollTimerTick();
    return 0;
  }
  {
    MenuMutexScope lock;
    if (!PopupRecordOf(window)) RegisterPopupWindow(window);
  }
  LRESULT result = 0;
  switch (message) {
    case WM_DESTROY:
      return OnPopupDestroy(window, wParam, lParam);
    case 0x1E5:  // MN_SELECTITEM
      return OnPopupSelectItem(window, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
      return OnPopupPositionChanging(window, wParam, lParam);
    case WM_PAINT:
      if (OnPopupPaint(window, wParam, lParam, result)) return result;
      break;
    case WM_WINDOWPOSCHANGED:
      OnPopupPositionChanged(window, wParam, lParam);
      break;
  }
  if (PopupFrameMessage(window, message, wParam, lParam, result)) return result;
  return PassPopupMessage(window, message, wParam, lParam);
}

}  // namespace tovrel
