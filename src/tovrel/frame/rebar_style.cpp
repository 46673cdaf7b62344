#include "tovrel/frame/rebar_style.h"

#include <windows.h>
#include <commctrl.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_background.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/rebar_height.h"

namespace tovrel {

namespace {

void SetBandBorders(HWND window, bool on) {
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  SetWindowLongPtrA(window, GWL_STYLE, on ? (style | RBS_BANDBORDERS) : (style & ~RBS_BANDBORDERS));
}

}  // namespace

int SetRebarStyle(intptr_t rebar, int uiStyle) {
  Rebar* record = FindRebar(rebar);
  if (!record) return 0;
  HWND window = record->window;
  HBITMAP oldBackground = RebarStyleBitmap(record->uiStyle);
  record->uiStyle = uiStyle;
  SendMessageA(window, WM_SETREDRAW, FALSE, 0);

  if (uiStyle != 0) {
    if (GetWindowLongPtrA(window, GWL_STYLE) & RBS_BANDBORDERS) {
      record->bandBorders = true;
      SetBandBorders(window, false);
    }
    SetRebarTheme(window, L"", L"");
  } else {
    SetRebarBackground(oldBackground, nullptr, 0);
    // Borders held back for a background of the rebar's own stay held back: its bands
    // show that background again.
    if (!record->backgroundImage) {
      SetRebarTheme(window, nullptr, nullptr);
      if (record->bandBorders) {
        SetBandBorders(window, true);
        record->bandBorders = false;
      }
    }
  }

  if (intptr_t* image = RebarStyleImage(uiStyle)) {
    if (!RebarStyleBitmap(uiStyle)) {
      *image = -1;
      RenderRebarBackground(0);
    }
    SetRebarBackground(oldBackground, RebarStyleBitmap(uiStyle), uiStyle);
  }

  RECT bounds = {};
  GetWindowRect(window, &bounds);
  const int height = static_cast<int>(SendMessageA(window, RB_GETBARHEIGHT, 0, 0));
  // Redrawing is off around the change and the parent is redrawn below.
  SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  FitRebarBands(record->parentWindow);
  SendMessageA(window, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(record->parentWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  AnnounceRebarHeight(record);
  return 1;
}

}  // namespace tovrel
