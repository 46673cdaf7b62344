#include "tovrel/foundation/window_tracking.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/tracked_window_kinds.h"

namespace tovrel {

int32_t SplitterHoverTracking = 0;

namespace {

// Set in the WINDOWPOS of a minimize, maximize or restore: the system's own sizes apply.
constexpr UINT kStateChanged = 0x8000;

// The window-procedure calls of one character set. A Unicode window is subclassed with
// the Unicode calls and stays Unicode: its text and the notification format its controls
// ask for never pass through the ANSI code page. Stored procedures are read back and
// called through the same set, so a procedure that comes as a handle is called correctly.
struct CharSet {
  WNDPROC tracked;
  LONG_PTR(WINAPI* getWindowLong)(HWND, int);
  LONG_PTR(WINAPI* setWindowLong)(HWND, int, LONG_PTR);
  ULONG_PTR(WINAPI* getClassLong)(HWND, int);
  LRESULT(WINAPI* callWindowProc)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
  LRESULT(WINAPI* defWindowProc)(HWND, UINT, WPARAM, LPARAM);
};

const CharSet& AnsiCalls() {
  static const CharSet calls = {TrackedWindowProc, GetWindowLongPtrA, SetWindowLongPtrA,
                                GetClassLongPtrA,  CallWindowProcA,   DefWindowProcA};
  return calls;
}

const CharSet& UnicodeCalls() {
  static const CharSet calls = {TrackedWindowProcW, GetWindowLongPtrW, SetWindowLongPtrW,
                                GetClassLongPtrW,   CallWindowProcW,   DefWindowProcW};
  return calls;
}

const CharSet& CallsFor(HWND window) { return IsWindowUnicode(window) ? UnicodeCalls() : AnsiCalls(); }

WNDPROC ProcedureOf(HWND window, const CharSet& calls) {
  return reinterpret_cast<WNDPROC>(calls.getWindowLong(window, GWLP_WNDPROC));
}

// Whichever set subclassed it, each set reads its own procedure back as itself.
bool IsSubclassed(HWND window) {
  return ProcedureOf(window, AnsiCalls()) == TrackedWindowProc ||
         ProcedureOf(window, UnicodeCalls()) == TrackedWindowProcW;
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// A message-only window, or a child of one: its ancestors end at the message root
// instead of the desktop.
bool IsMessageOnly(HWND window, const CREATESTRUCTA* creation) {
  if (creation && creation->hwndParent == HWND_MESSAGE) return true;
  HWND above = GetAncestor(GetAncestor(window, GA_ROOT), GA_PARENT);
  return above && above != GetDesktopWindow();
}

void TrackNewWindow(HWND window, const CREATESTRUCTA* creation) {
  const std::string name = ClassNameOf(window);
  if (IsUntrackedClass(name) || IsMessageOnly(window, creation)) return;
  // WM_CREATE sent once more to a window already tracked: subclassing it again would
  // make the procedure its own predecessor.
  if (IsSubclassed(window)) return;
  const int32_t kind =
      TrackedWindowKindOf(name, ClassNameOf(GetAncestor(window, GA_PARENT)), GetWindowLongPtrA(window, GWL_STYLE));
  const std::string key = HandleKey(window);

  ToolkitLock(TrackedWindowMutex);
  TrackedWindow& record = TrackedWindowMap.Add(key);
  // A record left by an earlier window with the same handle must not lend it its limits.
  record = TrackedWindow{};
  record.window = window;
  record.kind = kind;
  record.container = kind == kKindPanelEx ? 1 : 0;
  record.isNew = 1;
  const CharSet& calls = CallsFor(window);
  record.previousProc =
      reinterpret_cast<WNDPROC>(calls.setWindowLong(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(calls.tracked)));
  const WNDPROC previous = record.previousProc;
  if (!previous) TrackedWindowMap.Delete(key);  // not subclassed: nothing to track
  ToolkitUnlock(TrackedWindowMutex);
  if (!previous) return;

  WriteDebugLog("trackwin: " + key + " " + name + " callback: " + std::to_string(reinterpret_cast<intptr_t>(previous)));
  if (kind == kKindToolbar) {
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (!(style & CCS_NODIVIDER)) SetWindowLongPtrA(window, GWL_STYLE, style | CCS_NODIVIDER);
  }
}

// Where no record says which procedure came before, the class's own still knows the
// message; 0 would leave the window half working.
LRESULT PassToClass(const CharSet& calls, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC classProc = reinterpret_cast<WNDPROC>(calls.getClassLong(window, GCLP_WNDPROC));
  if (!classProc || classProc == calls.tracked) return calls.defWindowProc(window, message, wParam, lParam);
  return calls.callWindowProc(classProc, window, message, wParam, lParam);
}

// The window's rectangle in the coordinates its WINDOWPOS uses: the parent's client area
// for a child, the screen otherwise.
RECT PositionRectangle(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  if (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

void LimitAxis(int minimum, int maximum, LONG currentStart, bool moves, int& length, int& start) {
  if (minimum && length < minimum) {
    if (moves && start > currentStart) start -= minimum - length;
    length = minimum;
  } else if (maximum && length > maximum) {
    if (moves && start < currentStart) start += length - maximum;
    length = maximum;
  }
}

int LimitedLength(int length, int minimum, int maximum) {
  if (minimum && length < minimum) return minimum;
  if (maximum && length > maximum) return maximum;
  return length;
}

bool IsTopLevel(HWND window) { return GetAncestor(window, GA_ROOT) == window; }

LRESULT TrackedMessage(const CharSet& calls, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const std::string key = HandleKey(window);
  ToolkitLock(TrackedWindowMutex);
  TrackedWindow* record = TrackedWindowMap.Find(key);
  if (!record || !record->previousProc) {
    ToolkitUnlock(TrackedWindowMutex);
    return PassToClass(calls, window, message, wParam, lParam);
  }
  const WNDPROC previous = record->previousProc;
  if (message == WM_WINDOWPOSCHANGING) {
    record->isNew = 0;
    if (lParam) ApplySizeLimits(*record, PositionRectangle(window), *reinterpret_cast<WINDOWPOS*>(lParam));
  } else if (message == WM_SHOWWINDOW) {
    record->parent = GetParent(window);
  }
  // Nothing below holds the mutex: the previous procedure may create, destroy or size
  // tracked windows, on this thread or by sending to others.
  ToolkitUnlock(TrackedWindowMutex);

  if (const LRESULT handled = HandleTrackedWindowMessage(window, message, wParam, lParam)) return handled;
  switch (message) {
    case WM_MOUSEMOVE:
      if (SplitterHoverTracking && IsTopLevel(window)) return 0;
      break;
    case WM_ACTIVATEAPP:
      if (!wParam && IsTopLevel(window)) ResetShortcutModifiers();
      break;
    case WM_NCDESTROY: {
      // The control frees its own state here, so it sees the message first; the record
      // goes after, when no message can follow.
      const bool topLevel = IsTopLevel(window);
      const LRESULT result = calls.callWindowProc(previous, window, message, wParam, lParam);
      if (topLevel) ForgetWindowShortcuts(window);
      ToolkitLock(TrackedWindowMutex);
      TrackedWindowMap.Delete(key);
      ToolkitUnlock(TrackedWindowMutex);
      return result;
    }
  }
  return calls.callWindowProc(previous, window, message, wParam, lParam);
}

}  // namespace

HHOOK InstallWindowCreationHook() {
  if (!CallWndProcHookHandle) {
    CallWndProcHookHandle = SetWindowsHookExA(WH_CALLWNDPROC, WindowCreationHook, nullptr, GetCurrentThreadId());
  }
  return CallWndProcHookHandle;
}

namespace {
TrackedWindowHandler frameHandler = nullptr;
SentMessageObserver sentObserver = nullptr;
}  // namespace

LRESULT CALLBACK WindowCreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == WM_CREATE) TrackNewWindow(sent->hwnd, reinterpret_cast<const CREATESTRUCTA*>(sent->lParam));
    if (sentObserver) sentObserver(*sent);
  }
  return CallNextHookEx(CallWndProcHookHandle, code, wParam, lParam);
}

void SetSentMessageObserver(SentMessageObserver observer) { sentObserver = observer; }

void SetTrackedWindowHandler(TrackedWindowHandler handler) { frameHandler = handler; }

LRESULT HandleTrackedWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return frameHandler ? frameHandler(window, message, wParam, lParam) : 0;
}

void ApplySizeLimits(const TrackedWindow& limits, const RECT& current, WINDOWPOS& pos) {
  // Without a size the WINDOWPOS carries none to limit (a move has cx = cy = 0).
  if (pos.flags & (SWP_NOSIZE | kStateChanged)) return;
  const bool moves = !(pos.flags & SWP_NOMOVE);
  LimitAxis(limits.minWidth, limits.maxWidth, current.left, moves, pos.cx, pos.x);
  LimitAxis(limits.minHeight, limits.maxHeight, current.top, moves, pos.cy, pos.y);
}

LRESULT CALLBACK TrackedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return TrackedMessage(AnsiCalls(), window, message, wParam, lParam);
}

LRESULT CALLBACK TrackedWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return TrackedMessage(UnicodeCalls(), window, message, wParam, lParam);
}

int SetWindowSizeLimits(HWND window, int minWidth, int minHeight, int maxWidth, int maxHeight) {
  if (!IsWindow(window)) return 0;
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int newWidth = LimitedLength(width, minWidth, maxWidth);
  const int newHeight = LimitedLength(height, minHeight, maxHeight);

  ToolkitLock(TrackedWindowMutex);
  TrackedWindow& record = TrackedWindowMap.Add(HandleKey(window));
  record.minWidth = minWidth;
  record.minHeight = minHeight;
  record.maxWidth = maxWidth;
  record.maxHeight = maxHeight;
  ToolkitUnlock(TrackedWindowMutex);

  if (newWidth != width || newHeight != height) {
    // Neither moved nor raised nor activated: only the size is asked for.
    SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 1;
}

void RestoreTrackedWindows() {
  std::vector<std::string> restored;
  ToolkitLock(TrackedWindowMutex);
  for (auto& entry : TrackedWindowMap) {
    const TrackedWindow& record = entry.second;
    if (!record.previousProc || !IsWindow(record.window)) continue;
    // A procedure installed over ours would be cut out of the chain: leave that window
    // as it is, its record still serving our procedure.
    // The set that installed ours reads it back as ours and puts the previous one back.
    const CharSet& calls =
        ProcedureOf(record.window, UnicodeCalls()) == TrackedWindowProcW ? UnicodeCalls() : AnsiCalls();
    if (ProcedureOf(record.window, calls) != calls.tracked) continue;
    calls.setWindowLong(record.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record.previousProc));
    restored.push_back(entry.first);
  }
  for (const std::string& key : restored) TrackedWindowMap.Delete(key);
  ToolkitUnlock(TrackedWindowMutex);
}

}  // namespace tovrel
