#include "tovrel/frame/rebar.h"

#include <commctrl.h>

#include <vector>

#include "tovrel/foundation/component_frees.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/frame/band_hooks.h"
#include "tovrel/frame/object_numbers.h"
#include "tovrel/frame/window_class.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/rebar_background.h"
#include "tovrel/frame/rebar_painting.h"
#include "tovrel/frame/rebar_rules.h"
#include "tovrel/frame/tracked_messages.h"

namespace tovrel {

namespace {

// The class background of every "ReBarWindow32" window of the process: setting it on one
// rebar sets it for all, so one brush serves them and lives as long as the process.
HBRUSH HollowBrush() {
  static HBRUSH brush = [] {
    LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
    return CreateBrushIndirect(&hollow);
  }();
  return brush;
}

// The shared background of an OFFICE style: its image when there is one, else marked to be
// rendered, which RenderRebarBackground then does and hands to the style's rebars.
void SetUpStyleBackground(Rebar& rebar) {
  const bool office2003 = rebar.uiStyle == UISTYLE_OFFICE2003;
  WriteDebugLog(office2003 ? "set up rebar #UISTYLE_OFFICE2003 background image buffer!"
                           : "set up rebar #UISTYLE_OFFICE2007 background image buffer!");
  if (HBITMAP shared = RebarStyleBitmap(rebar.uiStyle)) {
    rebar.backgroundBitmap = shared;
  } else {
    *RebarStyleImage(rebar.uiStyle) = -1;
  }
  RenderRebarBackground(0);
  SetRebarTheme(rebar.window, L"", L"");
}

void ReleaseRebar(Rebar* rebar) {
  HWND window = rebar->window;
  if (IsWindow(window)) {
    HWND parent = GetParent(window);
    while (SendMessageA(window, RB_GETBANDCOUNT, 0, 0) > 0) {
      if (!SendMessageA(window, RB_DELETEBAND, 0, 0)) break;
    }
    std::vector<const RebarBand*> bands;
    for (const RebarBand& band : RebarBandList) {
      if (band.rebarWindow == window) bands.push_back(&band);
    }
    for (const RebarBand* band : bands) {
      if (band->childWindow && IsWindow(band->childWindow)) SetParent(band->childWindow, parent);
      RebarBandList.Delete(band);
    }
    UnsubclassRebarWindow(window);
    DestroyWindow(window);
  } else {
    std::vector<const RebarBand*> bands;
    for (const RebarBand& band : RebarBandList) {
      if (band.rebarWindow == window) bands.push_back(&band);
    }
    for (const RebarBand* band : bands) RebarBandList.Delete(band);
  }
  RebarList.Delete(rebar);
}

}  // namespace

Rebar* FindRebar(intptr_t rebar) {
  return RebarList.Find(
      [rebar](const Rebar& r) { return r.number == rebar || reinterpret_cast<intptr_t>(r.window) == rebar; });
}

RebarBand* BandRecordOf(LPARAM lParam) {
  if (!lParam) return nullptr;
  RebarBand* band = reinterpret_cast<RebarBand*>(lParam);
  return RebarBandList.Contains(band) ? band : nullptr;
}

bool ReadRebarBand(HWND rebar, int index, UINT mask, REBARBANDINFOA* band) {
  *band = REBARBANDINFOA{};
  band->cbSize = sizeof(*band);
  band->fMask = mask;
  return SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(band)) != 0;
}

void SetRebarTheme(HWND rebar, LPCWSTR name, LPCWSTR list) {
  if (UxThemeApi.library && UxThemeApi.setWindowTheme) UxThemeApi.setWindowTheme(rebar, name, list);
}

bool IsRebarWindow(HWND window) { return IsWindowOfClass(window, REBARCLASSNAMEA); }

intptr_t CreateRebar(int number, HWND parent, HBITMAP background, int flags, int option) {
  if (!IsWindow(parent)) return 0;
  intptr_t rebarNumber = number;
  if (number == -1) {
    rebarNumber = AllocateObjectNumber();
  } else {
    for (const Rebar& r : RebarList) {
      if (r.number == number) return 0;
    }
  }

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  const RebarCreationStyle creation = RebarCreationStyleOf(flags, background != nullptr);
  HWND window = CreateWindowExA(0, REBARCLASSNAMEA, nullptr, creation.windowStyle, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) return 0;

  if (RebarList.Empty()) SetComponentFree(COMPONENT_REBAR, &FreeRebar);
  Rebar& rebar = RebarList.Add();
  rebar.number = rebarNumber;
  rebar.window = window;
  rebar.parentWindow = parent;
  rebar.bandBorders = creation.bandBorders;
  rebar.option = option != 0;
  CurrentRebar = rebarNumber;
  if (background) {
    rebar.backgroundBitmap = background;
    rebar.backgroundImage = background;
    SetRebarTheme(window, L"", L"");
  }
  rebar.uiStyle = creation.uiStyle;
  if (rebar.uiStyle) SetUpStyleBackground(rebar);

  REBARINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBIM_IMAGELIST;
  info.himl = nullptr;
  SendMessageA(window, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));

  rebar.bandTemplate = REBARBANDINFOA{};
  rebar.bandTemplate.cbSize = sizeof(REBARBANDINFOA);
  rebar.bandTemplate.fMask = 0xF7;
  rebar.bandTemplate.fStyle = RBBS_CHILDEDGE;

  if (!BandDragHookHandle) {
    BandDragHookHandle =
        SetWindowsHookExA(WH_MOUSE, &BandGripperDragHook, nullptr, GetWindowThreadProcessId(window, nullptr));
  }
  SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(HollowBrush()));
  SubclassRebarWindow(window);
  SubclassParentWindow(parent);
  RegisterFrameTrackedMessages();
  return number == -1 ? rebarNumber : reinterpret_cast<intptr_t>(window);
}

int FreeRebar(intptr_t rebar) {
  if (rebar == -1) {
    std::vector<Rebar*> all;
    for (Rebar& r : RebarList) all.push_back(&r);
    for (Rebar* r : all) ReleaseRebar(r);
    return 1;
  }
  Rebar* record = FindRebar(rebar);
  if (!record) return 0;
  ReleaseRebar(record);
  return 1;
}

HWND GetRebarWindow(intptr_t number) {
  for (const Rebar& r : RebarList) {
    if (r.number == number) return r.window;
  }
  return nullptr;
}

}  // namespace tovrel
