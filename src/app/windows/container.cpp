#include "app/windows/container.h"

#include "common/dpi.h"
#include "common/gui.h"
#include "common/scoped.h"

namespace {

LRESULT CALLBACK ContainerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_ERASEBKGND: {
      HBRUSH brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrW(w, GWLP_USERDATA));
      if (!brush) break;
      RECT r;
      GetClientRect(w, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, brush);
      return 1;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // The runtime window knows the controls: it turns these into events and answers
      // the colours the controls were given.
      HWND parent = GetParent(w);
      if (parent) return SendMessageW(parent, m, wp, lp);
      break;
    }
    case WM_NCDESTROY: {
      ScopedBrush brush(reinterpret_cast<HBRUSH>(SetWindowLongPtrW(w, GWLP_USERDATA, 0)));
      break;
    }
  }
  return DefWindowProcW(w, m, wp, lp);
}

bool RegisterContainerClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kContainerClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

HWND CreateContainer(HWND parent, int id, int x, int y, int width, int height) {
  if (!parent || !RegisterContainerClass()) return nullptr;
  return CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClass, L"",
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, LayoutToScreen(x),
                         LayoutToScreen(y), LayoutToScreen(width), LayoutToScreen(height), parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
}

void SetContainerBackground(HWND container, COLORREF colour) {
  if (!container) return;
  ScopedBrush old(reinterpret_cast<HBRUSH>(
      SetWindowLongPtrW(container, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(CreateSolidBrush(colour)))));
  old.reset();
  InvalidateRect(container, nullptr, TRUE);
}

bool MoveIntoContainer(int control, HWND container) {
  HWND c = ControlHandle(control);
  if (!c || !container) return false;
  // The control keeps its place, now in the container's client area, in its pixels.
  RECT r = {};
  GetWindowRect(c, &r);
  MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
  if (!SetParent(c, container)) return false;
  SetWindowPos(c, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}
