#include "tovrel/frame/menu_owner_messages.h"

#include <algorithm>
#include <vector>

#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/frame/drop_shadows.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_style.h"

namespace tovrel {

namespace {

void InvalidateEveryCache() {
  for (Menu& m : MenuList) m.backgroundWidth = m.backgroundHeight = 0;
}

// The system's menu font, made once for all titles; MenuFont stays when it cannot be made.
void RemakeMenuFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
  if (!font) return;
  if (MenuFont) DeleteObject(MenuFont);
  MenuFont = font;
}

}  // namespace

void OnMenuOwnerActivate(HWND window, WPARAM wParam) {
  const bool inactive = (wParam & 0xFF) == WA_INACTIVE;
  std::vector<HWND> bars;
  {
    MenuMutexScope lock;
    bool owns = false;
    for (Menu& m : MenuList) {
      if (m.ownerWindow != window) continue;
      owns = true;
      m.inactiveFlag = inactive ? -1 : 0;
      // Several titles share one bar: it is repainted once.
      if (m.barWindow != MenuNoBar() && std::find(bars.begin(), bars.end(), m.barWindow) == bars.end())
        bars.push_back(m.barWindow);
    }
    // A pressed title's shadow must not outlive the window's focus.
    if (owns && inactive) DestroyAllMenuTitleShadows();
  }
  for (HWND bar : bars) {
    if (IsWindow(bar)) RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE);
  }
}

void OnMenuFontSettingChanged() {
  FreeBlitCaches();
  MenuMutexScope lock;
  InvalidateEveryCache();
  const bool titles = std::any_of(MenuList.begin(), MenuList.end(), [](const Menu& m) { return m.popupFlag == 0; });
  if (!titles) return;
  RemakeMenuFont();
  RefitAllMenuBarTitles();
}

void InvalidateMenuCaches() {
  MenuMutexScope lock;
  InvalidateEveryCache();
}

}  // namespace tovrel
