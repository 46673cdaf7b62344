#include "updateclient/busy_indicator.h"

#include "updateclient/pictures.h"

namespace {

constexpr wchar_t kClass[] = L"ZkBusyIndicator";
constexpr UINT_PTR kTimer = 1;
constexpr UINT kFrameMs = 90;

struct Indicator {
  HBITMAP frames = nullptr;  // flattened over the button face
  int side = 0;
  int count = 0;
  int current = 0;
};

LRESULT CALLBACK IndicatorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Indicator* self = reinterpret_cast<Indicator*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_TIMER:
      // Hidden, it stands still and costs nothing.
      if (self && self->count > 0 && IsWindowVisible(window)) {
        self->current = (self->current + 1) % self->count;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      if (self && self->frames) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, self->frames);
        BitBlt(dc, 0, 0, self->side, self->side, source, self->current * self->side, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      KillTimer(window, kTimer);
      if (self) {
        if (self->frames) DeleteObject(self->frames);
        delete self;
      }
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateBusyIndicator(HWND parent, int id, int x, int y, HBITMAP frames) {
  static ATOM registered = 0;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = IndicatorProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    registered = RegisterClassW(&wc);
    if (!registered) return nullptr;
  }
  auto* self = new Indicator;
  BITMAP bm{};
  if (frames && GetObjectW(frames, sizeof(bm), &bm) == int(sizeof(bm)) && bm.bmHeight != 0) {
    self->side = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    self->count = bm.bmWidth / self->side;
    self->frames = FlattenOnto(frames, GetSysColor(COLOR_BTNFACE));
  }
  int side = self->side > 0 ? self->side : 16;
  HWND window = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE, x, y, side, side, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), self);
  if (!window) {
    if (self->frames) DeleteObject(self->frames);
    delete self;
    return nullptr;
  }
  SetTimer(window, kTimer, kFrameMs, nullptr);
  return window;
}
