#include "tovrel/frame/tracked_messages.h"

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/rebar_height.h"

namespace tovrel {

// The change is seen before the rebar takes it, so the owners can lay out at once. The
// lookup makes the rebar current, which is the rebar NotifyRebarHeight reports.
void HandleRebarWindowPosChanging(HWND window, const WINDOWPOS& pos) {
  if (pos.flags & SWP_NOSIZE) return;
  if (!RebarList.Find([window](const Rebar& r) { return r.window == window; })) return;
  NotifyRebarHeight(pos.cy);
}

}  // namespace tovrel
