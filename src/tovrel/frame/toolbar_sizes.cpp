#include <windows.h>
#include <commctrl.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_insert.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

int SetToolbarButtonWidth(intptr_t toolbar, int commandId, int width) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  ToolbarButton* record = ToolbarButtonList.Find(
      [&](const ToolbarButton& b) { return b.toolbarWindow == t->window && b.commandId == commandId; });
  if (!record) return 0;
  if (!SetButtonWidth(t->window, commandId, width + record->paddingLeft + record->paddingRight)) return 0;
  PlaceToolbarGadgets();
  return 1;
}

int GetToolbarButtonWidth(intptr_t toolbar, int commandId) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_SIZE;
  if (SendMessageA(t->window, TB_GETBUTTONINFOA, commandId, reinterpret_cast<LPARAM>(&info)) == -1) return 0;
  return static_cast<int16_t>(info.cx);
}

int SetToolbarButtonHeight(intptr_t toolbar, int height) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  const int result = static_cast<int>(SendMessageA(t->window, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, height)));
  if (result == 1) PlaceToolbarGadgets();
  return result;
}

int GetToolbarButtonHeight(intptr_t toolbar) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  return static_cast<int>(static_cast<int32_t>(SendMessageA(t->window, TB_GETBUTTONSIZE, 0, 0)) >> 16);
}

}  // namespace tovrel
