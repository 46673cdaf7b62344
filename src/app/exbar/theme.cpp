// The theme library loader.
#include "app/exbar/theme.h"

namespace {
ThemeLibrary g_theme = {};
}

int LoadThemeLibrary() {
  // A second call keeps the library it already has rather than opening it twice.
  if (g_theme.module) return 1;
  g_theme = ThemeLibrary{};
  g_theme.module = LoadLibraryA("uxtheme.dll");
  if (!g_theme.module) return 0;
  g_theme.openThemeData = GetProcAddress(g_theme.module, "OpenThemeData");
  g_theme.drawThemeBackground = GetProcAddress(g_theme.module, "DrawThemeBackground");
  g_theme.getCurrentThemeName = GetProcAddress(g_theme.module, "GetCurrentThemeName");
  g_theme.closeThemeData = GetProcAddress(g_theme.module, "CloseThemeData");
  return 1;
}

void FreeThemeLibrary() {
  if (g_theme.module) FreeLibrary(g_theme.module);
  g_theme = ThemeLibrary{};
}

const ThemeLibrary& CurrentThemeLibrary() { return g_theme; }
