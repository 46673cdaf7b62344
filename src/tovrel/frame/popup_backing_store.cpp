// A copy of the screen under the menu bar's drop-downs, from which uncovered strips could
// be restored instead of repainted. Nothing switches it on: every call returns at once
// while MenuBackingStoreEnabled is 0.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/popup_areas.h"

namespace tovrel {

namespace {

struct BackingStore {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  RECT covered = {};
  RECT captured = {};
};
BackingStore Store;

void CopyFromScreen(const RECT& r) {
  if (!Store.dc || r.right <= r.left || r.bottom <= r.top) return;
  HDC screen = GetDC(nullptr);
  BitBlt(Store.dc, r.left - Store.covered.left, r.top - Store.covered.top, r.right - r.left, r.bottom - r.top, screen,
         r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

void CopyToScreen(const RECT& r) {
  if (!Store.dc || r.right <= r.left || r.bottom <= r.top) return;
  HDC screen = GetDC(nullptr);
  BitBlt(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, Store.dc, r.left - Store.covered.left,
         r.top - Store.covered.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

// The bar's titles with the room their drop-downs take, in screen coordinates.
RECT CoveredByBar(HWND bar) {
  RECT covered = {};
  MenuMutexScope lock;
  for (const Menu& menu : MenuList) {
    if (menu.barWindow != bar) continue;
    RECT button = {};
    if (!SendMessageA(bar, TB_GETRECT, static_cast<WPARAM>(menu.titleCommand), reinterpret_cast<LPARAM>(&button)))
      continue;
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    button.top -= menu.shownHeight;
    button.bottom += menu.shownHeight;
    button.right += menu.shownWidth;
    UnionRect(&covered, &covered, &button);
  }
  return covered;
}

void Cover(HWND bar) {
  const RECT covered = CoveredByBar(bar);
  const int width = covered.right - covered.left;
  const int height = covered.bottom - covered.top;
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  if (!Store.dc) Store.dc = CreateCompatibleDC(screen);
  if (Store.dc && (!Store.bitmap || Store.width < width || Store.height < height)) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (bitmap) {
      SelectObject(Store.dc, bitmap);
      if (Store.bitmap) DeleteObject(Store.bitmap);
      Store.bitmap = bitmap;
      Store.width = width;
      Store.height = height;
    }
  }
  ReleaseDC(nullptr, screen);
  Store.covered = covered;
  Store.captured = covered;
}

}  // namespace

int CaptureMenuBackground(intptr_t mode, const RECT& rect) {
  if (MenuBackingStoreEnabled != 1) return 0;
  if (mode == 0) {
    CopyToScreen(rect);
  } else if (mode == -1) {
    RECT overlap = {};
    if (!IntersectRect(&overlap, &rect, &Store.captured)) {
      CopyFromScreen(rect);
    } else {
      const RECT& c = Store.captured;
      CopyFromScreen({rect.left, rect.top, std::min(c.left, rect.right), rect.bottom});
      CopyFromScreen({std::max(c.right, rect.left), rect.top, rect.right, rect.bottom});
      CopyFromScreen({rect.left, rect.top, rect.right, std::min(c.top, rect.bottom)});
      CopyFromScreen({rect.left, std::max(c.bottom, rect.top), rect.right, rect.bottom});
    }
    Store.captured = rect;
  } else if (mode == -2) {
    CopyFromScreen(rect);
    Store.captured = rect;
  } else {
    Cover(reinterpret_cast<HWND>(mode));
  }
  return 0;
}

}  // namespace tovrel
