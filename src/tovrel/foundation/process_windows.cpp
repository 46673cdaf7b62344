#include "tovrel/foundation/process_windows.h"

#include "tovrel/foundation/lists.h"

namespace tovrel {

namespace {

bool OfProcess(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner == static_cast<DWORD>(processId);
}

}  // namespace

BOOL CALLBACK HideProcessWindowCallback(HWND window, LPARAM processId) {
  if (OfProcess(window, processId)) ShowWindow(window, SW_HIDE);
  return TRUE;
}

BOOL CALLBACK DestroyProcessWindowCallback(HWND window, LPARAM processId) {
  // Only the thread that made a window can destroy it; the others' calls simply fail.
  if (OfProcess(window, processId)) DestroyWindow(window);
  return TRUE;
}

BOOL CALLBACK RefreshProcessWindowCallback(HWND window, LPARAM processId) {
  if (!OfProcess(window, processId)) return TRUE;
  FrozenWindowList.Clear();
  const LPARAM parent = IsWindowVisible(window) ? reinterpret_cast<LPARAM>(window) : 0;
  EnumChildWindows(window, FreezeChildCallback, parent);
  for (HWND frozen : FrozenWindowList) SendMessageA(frozen, WM_SETREDRAW, TRUE, 0);
  return TRUE;
}

BOOL CALLBACK FreezeChildCallback(HWND child, LPARAM parent) {
  if (!parent || !IsWindowVisible(child) || GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;
  FrozenWindowList.Add() = child;
  SendMessageA(child, WM_SETREDRAW, FALSE, 0);
  return TRUE;
}

}  // namespace tovrel
