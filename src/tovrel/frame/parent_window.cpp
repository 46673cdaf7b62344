#include "tovrel/frame/parent_window.h"

#include "tovrel/foundation/lists.h"

namespace tovrel {

WNDPROC PreviousWindowProc = nullptr;
int ParentResizing = 0;
HWND BandSyncRebar = nullptr;
int32_t BandSyncBandId = 0;
int32_t BandSyncBandIndex = 0;
HWND BandSyncParent = nullptr;
HHOOK BandSizeHookHandle = nullptr;

void SubclassParentWindow(HWND window) {
  if (SubclassList.Find([window](const SubclassEntry& e) { return e.window == window; })) return;
  WNDPROC previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentWindowProc)));
  PreviousWindowProc = previous;
  SubclassEntry& entry = SubclassList.Add();
  entry.window = window;
  entry.newProc = &ParentWindowProc;
  entry.previousProc = previous;
  SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_CLIPCHILDREN);
}

// Interim: passes every message on until the handlers are built.
LRESULT CALLBACK ParentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SubclassEntry* entry = SubclassList.Find([window](const SubclassEntry& e) { return e.window == window; });
  if (!entry) return 0;
  PreviousWindowProc = entry->previousProc;
  return CallWindowProcA(entry->previousProc, window, message, wParam, lParam);
}

}  // namespace tovrel
