#include "tovrel/frame/popup_window.h"

namespace tovrel {

WNDPROC PopupMenuPreviousProc = nullptr;

LRESULT CALLBACK PopupMenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PopupMenuPreviousProc ? CallWindowProcA(PopupMenuPreviousProc, window, message, wParam, lParam)
                               : DefWindowProcA(window, message, wParam, lParam);
}
void ObserveSentMessage(const CWPSTRUCT&) {}

}  // namespace tovrel
