// The state the menu bar, tool bar and rebar share, and their command ids.
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
