#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_insert.h"
#include "tovrel/frame/toolbar_lookup.h"
#include "tovrel/frame/toolbar_rules.h"

namespace tovrel {

namespace {

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

void MoveGadget(HWND gadget, const GadgetPlacement& p) {
  SetWindowPos(gadget, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  if (p.itemHeight >= 0) SendMessageA(gadget, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), p.itemHeight);
}

}  // namespace

int AddToolbarGadget(int commandId, HWND control, int paddingLeft, int paddingTop, int paddingRight, int paddingBottom,
                     int frame) {
  Toolbar* t = CurrentToolbarRecord();
  if (!t || !IsWindow(control)) return 0;
  RECT bounds = {};
  GetWindowRect(control, &bounds);
  const int width = bounds.right - bounds.left;
  const int id = TakeCommandId(*t, commandId);
  if (id == -1) return 0;

  ToolbarButton fields = {};
  fields.gadgetWindow = control;
  fields.gadgetFrame = static_cast<uint8_t>(frame);
  fields.paddingLeft = paddingLeft;
  fields.paddingTop = paddingTop;
  fields.paddingRight = paddingRight;
  fields.paddingBottom = paddingBottom;
  if (!InsertPlaceholder(*t, id, fields)) return 0;
  SetButtonWidth(t->window, id, width + paddingLeft + paddingRight);
  KeepOfficeButtonHeight(*t);

  const int index = static_cast<int>(SendMessageA(t->window, TB_COMMANDTOINDEX, id, 0));
  RECT item = {};
  SendMessageA(t->window, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  ShowWindow(control, SW_HIDE);
  const std::string className = ClassOf(control);
  SetParent(control, t->window);
  MoveGadget(control, PlaceGadget(item, paddingLeft, paddingTop, paddingBottom, width, className));
  ShowWindow(control, SW_SHOW);
  PlaceToolbarGadgets();
  return id;
}

int PlaceToolbarGadgets() {
  Toolbar* t = ToolbarList.Current();
  if (!t || !IsToolbarWindow(t->window)) return 0;
  for (const ToolbarButton& b : ToolbarButtonList) {
    if (b.toolbarWindow != t->window || !b.gadgetWindow) continue;
    const int index = static_cast<int>(SendMessageA(t->window, TB_COMMANDTOINDEX, b.commandId, 0));
    RECT item = {};
    if (!SendMessageA(t->window, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item))) continue;
    const int width = GadgetWidthIn(item, b.paddingLeft, b.paddingRight);
    MoveGadget(b.gadgetWindow,
               PlaceGadget(item, b.paddingLeft, b.paddingTop, b.paddingBottom, width, ClassOf(b.gadgetWindow)));
  }
  return 0;
}

HWND GetToolbarGadget(intptr_t toolbar, int commandId) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return nullptr;
  for (const ToolbarButton& b : ToolbarButtonList) {
    if (b.toolbarWindow == t->window && b.commandId == commandId) return b.gadgetWindow;
  }
  return nullptr;
}

}  // namespace tovrel
