#include "tovrel/frame/rebar_height.h"

#include <commctrl.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/rebar.h"

namespace tovrel {

int LastRebarHeight = 0;

int GetRebarHeight(intptr_t rebar) {
  HWND window = nullptr;
  if (Rebar* record = FindRebar(rebar)) {
    window = record->window;
  } else {
    window = reinterpret_cast<HWND>(rebar);
  }
  // A number that names no rebar may equal some other window's handle: never ask that.
  if (!IsRebarWindow(window)) return 0;
  return static_cast<int>(SendMessageA(window, RB_GETBARHEIGHT, 0, 0));
}

intptr_t SetRebarHeightCallback(intptr_t rebar, WNDPROC callback) {
  if (!callback) return -1;
  Rebar* record = FindRebar(rebar);
  if (!record) return -1;
  WNDPROC previous = record->heightCallback;
  record->heightCallback = callback;
  return reinterpret_cast<intptr_t>(previous);
}

int NotifyRebarHeight(int height) {
  Rebar* record = RebarList.Current();
  if (!record) return 0;
  HWND window = record->window;
  if (height == 0) height = GetRebarHeight(reinterpret_cast<intptr_t>(window));
  if (height == LastRebarHeight) return 0;
  if (record->heightCallback) {
    CallWindowProcA(record->heightCallback, window, WM_TOVREL_REBARHEIGHT, static_cast<WPARAM>(height),
                    reinterpret_cast<LPARAM>(window));
  }
  SendMessageA(GetAncestor(window, GA_ROOT), WM_TOVREL_REBARHEIGHT, static_cast<WPARAM>(height),
               reinterpret_cast<LPARAM>(window));
  SendMessageA(GetAncestor(window, GA_PARENT), WM_TOVREL_REBARHEIGHT, static_cast<WPARAM>(height),
               reinterpret_cast<LPARAM>(window));
  LastRebarHeight = height;
  return 0;
}

void AnnounceRebarHeight(const Rebar* rebar) {
  if (!RebarList.Find([rebar](const Rebar& r) { return &r == rebar; })) return;
  NotifyRebarHeight(0);
}

}  // namespace tovrel
