#include "tovrel/frame/parent_window.h"

#include <commctrl.h>

#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/band_hooks.h"
#include "tovrel/frame/custom_draw.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_item_painting.h"
#include "tovrel/frame/menu_owner_messages.h"
#include "tovrel/frame/rebar_background.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/rebar.h"

namespace tovrel {

WNDPROC PreviousWindowProc = nullptr;
int ParentResizing = 0;
HWND BandSyncRebar = nullptr;
int32_t BandSyncBandId = 0;
int32_t BandSyncBandIndex = 0;
HWND BandSyncParent = nullptr;
HHOOK BandSizeHookHandle = nullptr;

void SubclassParentWindow(HWND window) {
  if (SubclassList.Find([window](const SubclassEntry& e) { return e.window == window; })) return;
  WNDPROC previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentWindowProc)));
  PreviousWindowProc = previous;
  SubclassEntry& entry = SubclassList.Add();
  entry.window = window;
  entry.newProc = &ParentWindowProc;
  entry.previousProc = previous;
  SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_CLIPCHILDREN);
}

namespace {

constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW;

// A control's list opened or closed: the frame the tool bar draws around it follows.
void OnGadgetList(HWND control, int code) {
  SavedCurrent<ToolbarButton> keep(ToolbarButtonList);
  ToolbarButton* button =
      ToolbarButtonList.Find([control](const ToolbarButton& b) { return b.gadgetWindow == control && b.gadgetFrame; });
  if (!button) return;
  if (code == CBN_DROPDOWN) {
    button->gadgetHoverState |= 2;
  } else {
    button->gadgetHoverState &= ~2;
    POINT cursor = {};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    if (under != control && GetParent(under) != control) button->gadgetHoverState &= ~1;
  }
  HWND toolbar = button->toolbarWindow ? button->toolbarWindow : GetParent(control);
  RECT r = {};
  GetClientRect(control, &r);
  MapWindowPoints(control, toolbar, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(toolbar, &r, nullptr, kRepaintNow | RDW_ERASE | RDW_ERASENOW);
}

void RefreshComposition() {
  BOOL enabled = FALSE;
  if (DwmApi.library && DwmApi.dwmIsCompositionEnabled && SUCCEEDED(DwmApi.dwmIsCompositionEnabled(&enabled)))
    DwmCompositionEnabled = enabled;
}

// The visual style changed: every theme handle, the style's colours and everything drawn
// from them are made anew.
void OnThemeChanged() {
  if (UxThemeApi.library) {
    FreeUxTheme();
    LoadUxTheme();
  } else {
    ThemesActive = 0;
    ThemeHandles[THEME_SCROLLBAR] = nullptr;
  }
  RefreshComposition();
  FreeBlitCaches();
  InvalidateMenuCaches();
  RenderRebarBackground(1);
}

// Composited while sized or while a band is dragged, so that the tool bar does not
// flicker; repainted once it is over.
template <typename Match>
void CompositeToolbars(Match match, bool on) {
  for (Toolbar& toolbar : ToolbarList) {
    if (!toolbar.window || !match(toolbar.window)) continue;
    LONG_PTR style = GetWindowLongPtrA(toolbar.window, GWL_EXSTYLE);
    SetWindowLongPtrA(toolbar.window, GWL_EXSTYLE, on ? style | WS_EX_COMPOSITED : style & ~WS_EX_COMPOSITED);
    if (!on) RedrawWindow(toolbar.window, nullptr, nullptr, kRepaintNow);
  }
}

void CompositeToolbarsOf(HWND window, bool on) {
  CompositeToolbars([window](HWND t) { return GetParent(GetParent(t)) == window; }, on);
}

void LayOutRebar(HWND window, Rebar& rebar, WPARAM kind, int width) {
  if (!rebar.applied) {
    if (rebar.option) SetWindowLongPtrA(rebar.window, GWL_EXSTYLE, WS_EX_COMPOSITED | WS_EX_TOOLWINDOW);
    rebar.applied = true;
  }
  int height = static_cast<int>(SendMessageA(rebar.window, RB_GETBARHEIGHT, 0, 0));
  SendMessageA(rebar.window, WM_SETREDRAW, FALSE, 0);
  MoveWindow(rebar.window, 0, 0, width, height, FALSE);
  FitRebarBands(window);
  SendMessageA(rebar.window, WM_SETREDRAW, TRUE, 0);

  constexpr UINT kRepaint = kRepaintNow | RDW_ERASE | RDW_ERASENOW;
  RECT update = {};
  GetUpdateRect(rebar.window, &update, FALSE);
  update.top -= 2;
  update.bottom += 2;
  HRGN region = CreateRectRgnIndirect(&update);
  if (ParentResizing == -1)
    RedrawWindow(rebar.window, nullptr, region, kRepaint | RDW_NOFRAME);
  else
    RedrawWindow(rebar.window, nullptr, nullptr, kRepaint | RDW_FRAME);
  DeleteObject(region);

  if (rebar.option) return;
  for (Toolbar& toolbar : ToolbarList) {
    if (kind == SIZE_RESTORED && GetParent(toolbar.window) == rebar.window) SyncToolbarBandRows(rebar.window, toolbar);
    if (GetParent(GetParent(toolbar.window)) == window)
      RedrawWindow(toolbar.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE);
  }
}

void PlaceDockedWindows(HWND window, int width, int height) {
  for (const DockedWindow& docked : DockedWindowList) {
    if (GetParent(docked.window) != window) continue;  // docked to another window's edge
    // The window's outer size: its client size would shrink a framed window on every call.
    RECT r = {};
    GetWindowRect(docked.window, &r);
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    int x = 0, y = 0, cx = width, cy = h;
    if (docked.dockFlags & 2) {
      cx = w, cy = height;
    } else if (docked.dockFlags & 4) {
      x = width - w, cx = w, cy = height;
    } else if (docked.dockFlags & 1) {
      y = height - h;
    }
    SetWindowPos(docked.window, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void OnSize(HWND window, WPARAM kind, LPARAM size) {
  for (Rebar& rebar : RebarList)
    if (rebar.parentWindow == window && IsRebarWindow(rebar.window)) LayOutRebar(window, rebar, kind, LOWORD(size));
  PlaceDockedWindows(window, LOWORD(size), HIWORD(size));
}

template <typename Info>
void OnToolTipText(Info& info, bool wide) {
  if (info.uFlags & TTF_IDISHWND) return;  // idFrom is a window, not a command id
  ToolbarToolTip* tip = nullptr;
  for (ToolbarToolTip& t : ToolbarToolTipList) {
    if (static_cast<UINT_PTR>(t.commandId) == info.hdr.idFrom) {
      tip = &t;
      break;
    }
  }
  if (!tip) return;
  // The tooltip reads the text after the notification returns: it stays in the record.
  if (wide) {
    int n = MultiByteToWideChar(CP_ACP, 0, tip->text.c_str(), -1, nullptr, 0);
    tip->buffer.assign(static_cast<size_t>(n > 0 ? n : 1) * sizeof(wchar_t), 0);
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, tip->text.c_str(), -1, reinterpret_cast<wchar_t*>(tip->buffer.data()), n);
  } else {
    tip->buffer.assign(tip->text.c_str(), tip->text.c_str() + tip->text.size() + 1);
  }
  info.hinst = nullptr;
  info.lpszText = reinterpret_cast<decltype(info.lpszText)>(tip->buffer.data());
}

void OnLayoutChanged(HWND window, HWND rebar) {
  SendMessageA(rebar, WM_SETREDRAW, FALSE, 0);
  FitRebarBands(window);
  SendMessageA(rebar, WM_SETREDRAW, TRUE, 0);
  for (Rebar& r : RebarList) {
    if (r.parentWindow != window || !IsWindow(r.window)) continue;
    RECT update = {};
    GetUpdateRect(r.window, &update, FALSE);
    RedrawWindow(r.window, &update, nullptr, RDW_UPDATENOW | RDW_NOERASE);
  }
}

// The band a gripper drag started on. Wine's rebar names none in RBN_BEGINDRAG (band -1,
// no RBNM_ID) and sends it on the first move: the band is the one under the press.
void DraggedBandOf(const NMREBAR& drag, int32_t& index, int32_t& id) {
  HWND rebar = drag.hdr.hwndFrom;
  int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  index = static_cast<int32_t>(drag.uBand);
  id = static_cast<int32_t>(drag.wID);
  if ((drag.dwMask & RBNM_ID) && index >= 0 && index < count) return;
  RBHITTESTINFO hit = {};
  hit.pt = BandPressPoint;
  MapWindowPoints(HWND_DESKTOP, rebar, &hit.pt, 1);
  index = static_cast<int32_t>(SendMessageA(rebar, RB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  REBARBANDINFOA info;
  if (index >= 0 && ReadRebarBand(rebar, index, RBBIM_ID, &info)) id = static_cast<int32_t>(info.wID);
}

void OnBeginDrag(HWND window, const NMREBAR& drag) {
  HWND rebar = drag.hdr.hwndFrom;
  if (!IsRebarWindow(rebar)) return;
  BandSyncRebar = rebar;
  DraggedBandOf(drag, BandSyncBandIndex, BandSyncBandId);
  BandSyncParent = window;
  // One hook however many drags begin: a second one would never be removed.
  if (!BandSizeHookHandle)
    BandSizeHookHandle =
        SetWindowsHookExA(WH_MOUSE, &BandSizeSyncHook, nullptr, GetWindowThreadProcessId(rebar, nullptr));
  CompositeToolbars([rebar](HWND t) { return GetParent(t) == rebar; }, true);
}

void OnEndDrag(HWND rebar) {
  if (BandSizeHookHandle) UnhookWindowsHookEx(BandSizeHookHandle);
  BandSizeHookHandle = nullptr;
  BandSyncRebar = nullptr;
  SetCursor(ToolkitCursors[CURSOR_ARROW] ? ToolkitCursors[CURSOR_ARROW] : LoadCursorA(nullptr, IDC_ARROW));
  CompositeToolbars([rebar](HWND t) { return GetParent(t) == rebar; }, false);
}

void OnNotify(HWND window, NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case NM_CUSTOMDRAW:
      result = HandleCustomDraw(reinterpret_cast<NMCUSTOMDRAW&>(header), result);
      break;
    case TTN_GETDISPINFOA:
      OnToolTipText(reinterpret_cast<NMTTDISPINFOA&>(header), false);
      break;
    case TTN_GETDISPINFOW:
      OnToolTipText(reinterpret_cast<NMTTDISPINFOW&>(header), true);
      break;
    case RBN_LAYOUTCHANGED:
      OnLayoutChanged(window, header.hwndFrom);
      break;
    case RBN_BEGINDRAG:
      OnBeginDrag(window, reinterpret_cast<NMREBAR&>(header));
      break;
    case RBN_ENDDRAG:
      OnEndDrag(header.hwndFrom);
      break;
    case RBN_CHEVRONPUSHED:
      OnRebarChevronPushed(window, reinterpret_cast<NMREBARCHEVRON&>(header));
      break;
    case TBN_DROPDOWN:
      result = OnToolbarDropDown(window, reinterpret_cast<NMTOOLBARA&>(header), result);
      break;
    case TBN_HOTITEMCHANGE:
      result = OnToolbarHotItemChange(window, reinterpret_cast<NMTBHOTITEM&>(header));
      break;
    default:
      break;
  }
}

}  // namespace

LRESULT CALLBACK ParentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (SubclassEntry* entry = SubclassList.Find([window](const SubclassEntry& e) { return e.window == window; })) {
    PreviousWindowProc = entry->previousProc;
    result = CallWindowProcA(entry->previousProc, window, message, wParam, lParam);
  }
  switch (message) {
    case WM_COMMAND:
      if (lParam && (HIWORD(wParam) == CBN_DROPDOWN || HIWORD(wParam) == CBN_CLOSEUP))
        OnGadgetList(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      break;
    case WM_THEMECHANGED:
      OnThemeChanged();
      break;
    case WM_DWMCOMPOSITIONCHANGED:
      RefreshComposition();
      break;
    case WM_SIZING:
      ParentResizing = -1;
      CompositeToolbarsOf(window, true);
      break;
    case WM_EXITSIZEMOVE:
      CompositeToolbarsOf(window, false);
      ParentResizing = 0;
      break;
    case WM_SIZE:
      OnSize(window, wParam, lParam);
      result = 0;
      break;
    case WM_ACTIVATE:
      OnMenuOwnerActivate(window, wParam);
      result = 0;
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETDROPSHADOW) SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &SystemDropShadow, 0);
      if (wParam == SPI_SETNONCLIENTMETRICS) {
        OnMenuFontSettingChanged();
        result = 0;
      }
      break;
    case WM_NOTIFY:
      if (lParam) OnNotify(window, *reinterpret_cast<NMHDR*>(lParam), result);
      break;
    case WM_TOVREL_OPENHOTTITLE:
      OnOpenHotTitle(window, reinterpret_cast<HWND>(lParam));
      break;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure && measure->CtlType == ODT_MENU && measure->itemData) MeasureMenuItem(*measure);
      break;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (draw && draw->CtlType == ODT_MENU && draw->itemData && !DrawMenuItem(*draw)) result = 0;
      break;
    }
    default:
      break;
  }
  return result;
}

}  // namespace tovrel
