#include <windows.h>

#include <string>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/tracked_window_kinds.h"
#include "tovrel/frame/tracked_messages.h"

namespace tovrel {

namespace {

std::string ClassOf(HWND window) {
  char name[256] = {};
  if (window) GetClassNameA(window, name, sizeof(name));
  return name;
}

// The framed gadget that is the window or the window's parent; nullptr for any other.
// Walks the list without moving its current element.
ToolbarButton* FramedGadgetOf(HWND window) {
  HWND parent = GetParent(window);
  for (ToolbarButton& b : ToolbarButtonList) {
    if (b.gadgetFrame && b.gadgetWindow && (b.gadgetWindow == window || b.gadgetWindow == parent)) return &b;
  }
  return nullptr;
}

// The part of the tool bar under the gadget, so that its frame is drawn anew.
void RepaintUnder(const ToolbarButton& b) {
  RECT area = {};
  GetClientRect(b.gadgetWindow, &area);
  MapWindowPoints(b.gadgetWindow, b.toolbarWindow, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(b.toolbarWindow, &area, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
}

bool PointerStillOn(HWND gadget) {
  POINT at = {};
  GetCursorPos(&at);
  HWND under = WindowFromPoint(at);
  return under && (under == gadget || IsChild(gadget, under));
}

}  // namespace

LRESULT HandleGadgetMessage(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != WM_MOUSEMOVE && message != WM_MOUSELEAVE) return 0;
  // Every tracked window passes here: the gadget walk is cheaper than the class names.
  ToolbarButton* b = FramedGadgetOf(window);
  if (!b) return 0;
  // Combo boxes and edit fields only; a combo box's own edit field is a kind of its own.
  const int32_t kind =
      TrackedWindowKindOf(ClassOf(window), ClassOf(GetParent(window)), GetWindowLongPtrA(window, GWL_STYLE));
  if (kind != kKindComboBox && kind != kKindEdit) return 0;
  if (message == WM_MOUSEMOVE) {
    if (b->gadgetHoverState & 1) return 0;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    TrackMouseEvent(&track);
    b->gadgetHoverState |= 1;
    RepaintUnder(*b);
  } else if (!PointerStillOn(b->gadgetWindow)) {
    b->gadgetHoverState &= ~1;
    RepaintUnder(*b);
  }
  return 0;
}

}  // namespace tovrel
