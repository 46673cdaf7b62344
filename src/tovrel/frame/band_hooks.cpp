#include "tovrel/frame/band_hooks.h"

namespace tovrel {

HHOOK BandDragHookHandle = nullptr;

// Interim: pass everything on until the drags are built.
LRESULT CALLBACK BandSizeSyncHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK BandGripperDragHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace tovrel
