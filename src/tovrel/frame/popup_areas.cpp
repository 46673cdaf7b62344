#include "tovrel/frame/popup_areas.h"

#include <vector>

#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/drop_shadows.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_shadow_rules.h"

namespace tovrel {

namespace {

constexpr int kMenuDropShadow = 20;
constexpr UINT kRedrawBelow =
    RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

PopupWindow* RecordOfWindow(HWND popup) {
  return PopupWindowList.Find([popup](const PopupWindow& r) { return r.window == popup; });
}

ParentShadowState ParentStateOf(const PopupWindow& parent) {
  ParentShadowState state;
  GetWindowRect(parent.window, &state.window);
  state.firstLevel = parent.menuHandle == nullptr;
  state.hasBottomStrip = parent.bottomStrip != nullptr;
  state.bottomX = parent.bottomStripX;
  state.bottomY = parent.bottomStripY;
  state.bottomLength = parent.bottomStripLength;
  state.bottomKind = parent.bottomStripKind;
  state.hasJoiningStrip = parent.joiningStrip != nullptr;
  state.joiningX = parent.joiningStripX;
  state.joiningY = parent.joiningStripY;
  state.joiningLength = parent.joiningStripLength;
  return state;
}

// The shadow colour (a GDI colour) and its intensity for the popup's look.
void ShadowColourOf(int style, uint32_t& colour, int& intensity) {
  if (style == UISTYLE_OFFICE2003_MENU || style == UISTYLE_OFFICE2007 || style == UISTYLE_WHIDBEY) {
    const uint32_t stored = style == UISTYLE_WHIDBEY
                                ? static_cast<uint32_t>(LookupWhidbeyColour(style, kMenuDropShadow))
                                : static_cast<uint32_t>(LookupUIColour(style, kMenuDropShadow, 1));
    colour = ColourAToC(stored);
    intensity = static_cast<int>(stored >> 24);
    return;
  }
  colour = 0;
  intensity = 40;
}

HWND Make(const ShadowStrip& strip, uint32_t colour, int intensity) {
  if (!strip.Exists()) return nullptr;
  return CreateDropShadow(strip.x, strip.y, strip.width, strip.height, colour, intensity, strip.flags);
}

struct BelowContext {
  HWND window;
  bool passed;
  RECT rect;
};

BOOL CALLBACK RedrawBelowStep(HWND candidate, LPARAM data) {
  auto& context = *reinterpret_cast<BelowContext*>(data);
  if (!context.passed) {
    context.passed = candidate == context.window;
    return TRUE;
  }
  if (!IsWindowVisible(candidate)) return TRUE;
  RECT frame = {};
  RECT overlap = {};
  GetWindowRect(candidate, &frame);
  if (!IntersectRect(&overlap, &frame, &context.rect)) return TRUE;
  MapWindowPoints(nullptr, candidate, reinterpret_cast<POINT*>(&overlap), 2);
  RedrawWindow(candidate, &overlap, nullptr, kRedrawBelow);
  if (EqualRect(&overlap, &context.rect) || (frame.left <= context.rect.left && frame.top <= context.rect.top &&
                                             frame.right >= context.rect.right && frame.bottom >= context.rect.bottom))
    return FALSE;
  RECT rest = {};
  if (SubtractRect(&rest, &context.rect, &frame)) context.rect = rest;
  return TRUE;
}

}  // namespace

BOOL CALLBACK RedrawBelowCallback(HWND window, LPARAM context) { return RedrawBelowStep(window, context); }

int PlacePopupAndShadows(HWND popup) {
  PopupShadowPlan plan;
  uint32_t colour = 0;
  int intensity = 0;
  {
    MenuMutexScope lock;
    if (MenuShadowList.Find([popup](const MenuShadow& s) { return s.popupWindow == popup; })) return 0;
    if (SystemDropShadow != 1) return 0;
    const PopupWindow* record = RecordOfWindow(popup);
    PopupShadowInputs in;
    GetWindowRect(popup, &in.popup);
    in.submenu = record && record->parent && PopupWindowList.Contains(record->parent);
    if (in.submenu) in.parent = ParentStateOf(*record->parent);
    in.submenuBottom = LastPopupExtent;
    in.dropDownTop = DropDownTop;
    in.titleWidth = TitleWidth;
    in.titleHeight = TitleHeight;
    in.titleScreenLeft = TitleScreenLeft;
    in.dropDownShiftX = DropDownShiftX;
    const int style = record && record->menu && MenuList.Contains(record->menu) ? record->menu->uiStyle : 0;
    in.whidbey = style == UISTYLE_WHIDBEY;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromPoint(POINT{in.popup.left, in.popup.bottom}, MONITOR_DEFAULTTONEAREST), &monitor);
    in.workRight = monitor.rcWork.right;
    plan = PlanPopupShadows(in);
    ShadowColourOf(style, colour, intensity);
    MenuShadow& shadow = MenuShadowList.Add();
    shadow.popupWindow = popup;
  }

  // The shadow windows are made without the lock: their creation runs window procedures.
  HWND right = Make(plan.right, colour, intensity);
  HWND bottom = Make(plan.bottom, colour, intensity);
  HWND joining = Make(plan.joining, colour, intensity);
  HWND extra = Make(plan.extra, colour, intensity);

  HWND hidden = nullptr;
  {
    MenuMutexScope lock;
    if (MenuShadow* shadow = MenuShadowList.Find([popup](const MenuShadow& s) { return s.popupWindow == popup; })) {
      shadow->rightStrip = right;
      shadow->bottomStrip = bottom;
      shadow->joiningStrip = joining;
    }
    if (PopupWindow* record = RecordOfWindow(popup)) {
      record->bottomStrip = bottom;
      record->bottomStripKind = plan.bottom.flags;
      record->bottomStripX = plan.bottom.x;
      record->bottomStripY = plan.bottom.y;
      record->bottomStripLength = plan.bottom.width;
      record->joiningStrip = joining;
      record->joiningStripX = plan.joining.x;
      record->joiningStripY = plan.joining.y;
      record->joiningStripLength = plan.joining.width;
      record->extraStrip = extra;
      PopupWindow* parent = record->parent && PopupWindowList.Contains(record->parent) ? record->parent : nullptr;
      if (parent && plan.hidden == ParentStrip::kBottom) hidden = parent->bottomStrip;
      if (parent && plan.hidden == ParentStrip::kJoining) hidden = parent->joiningStrip;
      record->hiddenParentStrip = hidden;
    }
  }
  if (hidden) ShowWindow(hidden, SW_HIDE);
  return 0;
}

int RedrawUncoveredMenuArea(HWND popup) {
  RECT before = {};
  {
    MenuMutexScope lock;
    const PopupWindow* record = RecordOfWindow(popup);
    const Menu* menu = record && MenuList.Contains(record->menu) ? record->menu : OpenTitleRecord;
    if (!menu || !MenuList.Contains(menu) || menu->openFlag == 0) return 0;
    if (ScrollBusy != 0 || ScrollHover != 0 || LastPopupRect.right == 0) return 0;
    before = {LastPopupRect.left, LastPopupRect.top, LastPopupRect.left + LastPopupRect.right,
              LastPopupRect.top + LastPopupRect.bottom};
  }
  RECT now = {};
  GetWindowRect(popup, &now);
  if (now.left == before.left && now.top == before.top) return 0;
  const UncoveredArea area = UncoveredMenuArea(before, now);
  for (const RECT& strip : area.strips) {
    if (MenuBackingStoreEnabled == 1) {
      CaptureMenuBackground(0, strip);
    } else {
      RedrawWindowsBelow(strip, popup);
    }
  }
  MenuMutexScope lock;
  LastPopupRect = {};
  return 0;
}

int RedrawWindowsBelow(const RECT& rect, HWND window) {
  BelowContext context = {window, window == nullptr, rect};
  EnumWindows(&RedrawBelowCallback, reinterpret_cast<LPARAM>(&context));
  return 0;
}

int RedrawLastMenuArea() {
  RECT last = {};
  {
    MenuMutexScope lock;
    last = {LastPopupRect.left, LastPopupRect.top, LastPopupRect.left + LastPopupRect.right,
            LastPopupRect.top + LastPopupRect.bottom};
    LastPopupRect = {};
  }
  if (last.right > last.left && last.bottom > last.top) RedrawWindowsBelow(last, nullptr);
  return 0;
}

}  // namespace tovrel
