// The system's position changes of a popup window: the placement the toolkit computed for
// the drop-down, submenus against their parent and inside the monitor, the shadows once
// placed, and the bar areas a moving drop-down uncovers.
#include <windows.h>

#include <vector>

#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_areas.h"
#include "tovrel/frame/popup_placement_rules.h"
#include "tovrel/frame/popup_shadow_rules.h"
#include "tovrel/frame/popup_window_parts.h"

namespace tovrel {

namespace {

constexpr UINT kFrozen = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

bool DropDownOpenUncomposed(const PopupWindow* record) {
  const Menu* menu = PopupMenuOf(record);
  return !DwmCompositionEnabled && menu && menu->openFlag != 0;
}

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

RECT AsRect(const RECT& leftTopWidthHeight) {
  const RECT& r = leftTopWidthHeight;
  return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

// The bar shows again what the drop-down covered. The bar stays frozen otherwise, so
// that the titles do not flicker while drop-downs switch. MenuMutex not held.
void RepaintBarStrips(const std::vector<RECT>& strips) {
  HWND bar = MenuBarWindow;
  if (!bar || !IsWindow(bar)) return;
  for (RECT strip : strips) {
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&strip), 2);
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(bar, &strip, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
  }
}

// The height below which the last item would be cut off: its bottom in the client area
// plus the frame. The Office frame is the toolkit's own, 4 pixels high; the system may not
// have applied it yet. 0 while the system has not laid the items out.
int MinimumPopupHeight(HWND window, HMENU menu, PopupLook look) {
  const int count = menu ? GetMenuItemCount(menu) : 0;
  RECT item = {};
  if (count <= 0 || !GetMenuItemRect(window, menu, static_cast<UINT>(count - 1), &item)) return 0;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  const RECT frame = WindowRect(window);
  RECT client = {};
  GetClientRect(window, &client);
  const int nonClient = look == PopupLook::kOffice ? 4 : (frame.bottom - frame.top) - client.bottom;
  return item.bottom - origin.y + nonClient;
}

// The change as it will be: what the WINDOWPOS does not carry stays as the window is.
PopupPos EffectivePosition(HWND window, const WINDOWPOS& p) {
  const RECT r = WindowRect(window);
  PopupPos pos = {p.x, p.y, p.cx, p.cy};
  if (p.flags & SWP_NOMOVE) pos.x = r.left, pos.y = r.top;
  if (p.flags & SWP_NOSIZE) pos.cx = r.right - r.left, pos.cy = r.bottom - r.top;
  return pos;
}

void WriteBack(const PopupPos& pos, WINDOWPOS& p) {
  if (!(p.flags & SWP_NOMOVE)) p.x = pos.x, p.y = pos.y;
  if (!(p.flags & SWP_NOSIZE)) p.cx = pos.cx, p.cy = pos.cy;
}

RECT WorkAreaAt(int x, int y) {
  const RECT point = {x, y, x, y};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromRect(&point, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

// Places the popup at its placing change; MenuMutex held.
void PlaceAtChange(HWND window, PopupWindow& record, PopupLook look, bool placing, WINDOWPOS& p) {
  ++record.positionChanges;
  const bool submenu = record.parent != nullptr;
  PopupPos pos = EffectivePosition(window, p);
  ApplySizeRules(pos, look, submenu, PlacementStep(DropDownOverhang), DropDownWidth,
                 MinimumPopupHeight(window, PopupMenuHandle(&record), look));
  if (placing) {
    record.placed = true;
    if (record.previousPopupX == 0) record.previousPopupX = LastPopupX;
    if (submenu) {
      const Menu* parentMenu = PopupMenuOf(record.parent);
      SubmenuAnchor anchor = {
          LastPopupX,    parentMenu && parentMenu->contextFlag == 1, DropDownLeft,
          DropDownWidth, look == PopupLook::kOffice ? 3 : 5,         look == PopupLook::kOffice ? 0 : 2};
      OffsetSubmenu(pos, anchor);
      FitSubmenu(pos, pos.cx, pos.cy, LastPopupX, WorkAreaAt(pos.x, pos.y));
    }
    LastPopupX = pos.x;
    LastPopupExtent = pos.y + pos.cy;
  }
  WriteBack(pos, p);
}

}  // namespace

LRESULT OnPopupPositionChanging(HWND window, WPARAM wParam, LPARAM lParam) {
  auto* p = reinterpret_cast<WINDOWPOS*>(lParam);
  // The system hides a popup before it destroys it: nothing to place then.
  if (!p || (p->flags & SWP_HIDEWINDOW)) return PassPopupMessage(window, WM_WINDOWPOSCHANGING, wParam, lParam);

  ToolkitLock(MenuMutex);
  PopupWindow* record = PopupRecordOf(window);
  if (!record) {
    ToolkitUnlock(MenuMutex);
    return PassPopupMessage(window, WM_WINDOWPOSCHANGING, wParam, lParam);
  }
  if (window == ScrollPopupWindow && (ScrollBusy == 1 || ScrollHover == 1)) {
    // The copy is rebuilt under the pointer: it keeps its place, size and pixels.
    p->flags = kFrozen | (p->flags & SWP_SHOWWINDOW);
    ToolkitUnlock(MenuMutex);
    return 0;
  }
  const bool placing = IsPlacingChange(p->flags, record->placed);
  if (DropDownOpenUncomposed(record)) {
    if (PopupMoveRedrawPending == 1 && !placing) {
      const bool hadRect = LastPopupRect.right != 0;
      ToolkitUnlock(MenuMutex);
      if (hadRect) RedrawUncoveredMenuArea(window);
      ToolkitLock(MenuMutex);
      const RECT now = WindowRect(window);
      LastPopupRect = {now.left, now.top, now.right - now.left, now.bottom - now.top};
      p->flags = SWP_NOREDRAW | (p->flags & SWP_SHOWWINDOW);
      PopupMoveRedrawPending = 0;
      ToolkitUnlock(MenuMutex);
      return 0;
    }
    if (placing) {
      PopupMoveRedrawPending = 1;
      std::vector<RECT> strips;
      if (LastPopupRect.right != 0) strips = UncoveredBarStrips(WindowRect(window), AsRect(LastPopupRect));
      ToolkitUnlock(MenuMutex);
      RepaintBarStrips(strips);
      ToolkitLock(MenuMutex);
      record = PopupRecordOf(window);
      if (!record) {
        ToolkitUnlock(MenuMutex);
        return PassPopupMessage(window, WM_WINDOWPOSCHANGING, wParam, lParam);
      }
    }
  }

  const PopupLook look = PopupLookOf(PopupStyleOf(record));
  if (look == PopupLook::kOther) {
    ToolkitUnlock(MenuMutex);
    return PassPopupMessage(window, WM_WINDOWPOSCHANGING, wParam, lParam);
  }
  if (look == PopupLook::kOffice) {
    PlaceAtChange(window, *record, look, placing, *p);
    ToolkitUnlock(MenuMutex);
    PassPopupMessage(window, WM_WINDOWPOSCHANGING, wParam, lParam);
    return 0;
  }
  // The plain and WHIDBEY looks let the system see the change as it asked for it.
  ToolkitUnlock(MenuMutex);
  const LRESULT previous = PassPopupMessage(window, WM_WINDOWPOSCHANGING, wParam, lParam);
  MenuMutexScope lock;
  if ((record = PopupRecordOf(window))) PlaceAtChange(window, *record, look, placing, *p);
  return look == PopupLook::kPlain ? previous : 0;
}

void OnPopupPositionChanged(HWND window, WPARAM, LPARAM lParam) {
  const auto* p = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (p && (p->flags & SWP_HIDEWINDOW)) return;
  bool place = false;
  {
    MenuMutexScope lock;
    const PopupWindow* record = PopupRecordOf(window);
    place = record && record->placed && PopupPlacementSuspended != 1;
  }
  // Creates the shadows once; later calls find them made.
  if (place) PlacePopupAndShadows(window);
}

bool OnPopupPaint(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  {
    MenuMutexScope lock;
    if (!DropDownOpenUncomposed(PopupRecordOf(window))) return false;
  }
  result = PassPopupMessage(window, WM_PAINT, wParam, lParam);
  RedrawUncoveredMenuArea(window);
  return true;
}

}  // namespace tovrel
