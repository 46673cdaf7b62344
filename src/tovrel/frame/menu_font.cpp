#include "tovrel/frame/menu_font.h"

namespace tovrel {

HFONT MenuFont = nullptr;

void EnsureMenuFont() {
  if (MenuFont) return;
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  MenuFont = CreateFontIndirectA(&metrics.lfMenuFont);
}

}  // namespace tovrel
