#include <windows.h>
#include <commctrl.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

int SetToolbarButtonToolTip(intptr_t toolbar, int commandId, const std::string& text) {
  if (!FindToolbar(toolbar)) return 0;
  ToolbarToolTip* tip =
      ToolbarToolTipList.Find([commandId](const ToolbarToolTip& e) { return e.commandId == commandId; });
  if (!tip) {
    tip = &ToolbarToolTipList.Add();
    tip->commandId = commandId;
  }
  tip->text = text;
  return 1;
}

int SetToolbarToolTipDelays(intptr_t toolbar, int initialDelay, int autoPopDelay, int reshowDelay) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  HWND tips = reinterpret_cast<HWND>(SendMessageA(t->window, TB_GETTOOLTIPS, 0, 0));
  if (!tips) return 1;
  const struct {
    WPARAM which;
    int delay;
  } delays[] = {{TTDT_INITIAL, initialDelay}, {TTDT_AUTOPOP, autoPopDelay}, {TTDT_RESHOW, reshowDelay}};
  for (const auto& d : delays) {
    if (d.delay) SendMessageA(tips, TTM_SETDELAYTIME, d.which, MAKELPARAM(d.delay & 0xFFFF, 0));
  }
  return 1;
}

}  // namespace tovrel
