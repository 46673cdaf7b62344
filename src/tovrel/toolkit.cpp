// Start-up and shutdown of the toolkit, and the globals its parts share.
#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

#include "tovrel/internal.h"
#include "tovrel/tovrel.h"

namespace tovrel {

ToolkitState& State() {
  static ToolkitState state;
  return state;
}

int AllocateCommandId() {
  static uint16_t counter = 0xFFFF;
  --counter;
  // After a full round the counter would reach 0 (read as failure); start again at the top.
  if (counter == 0) counter = 0xFFFE;
  return counter;
}

}  // namespace tovrel

using tovrel::State;

int InitToolkit() {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&icc);
  tovrel::ToolkitState& s = State();
  s.menuImageWidth = 16;
  s.menuImageHeight = 16;
  s.currentMenu = -1;
  s.currentToolbar = -1;
  s.currentRebar = -1;
  return 0;
}

int StartToolkit() {
  // The standard controls need no hook and no thread of their own.
  return 0;
}

int ShutdownToolkit() {
  // Rebars first, so that the tool bars they host are handed back before they go.
  tovrel::FreeRebar(-1);
  tovrel::FreeToolbar(-1);
  FreeMenu(-1);
  tovrel::ToolkitState& s = State();
  s.currentMenu = -1;
  s.currentToolbar = -1;
  s.currentRebar = -1;
  return 0;
}
