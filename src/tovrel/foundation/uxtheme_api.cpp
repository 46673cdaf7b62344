#include "tovrel/foundation/uxtheme_api.h"

#include <windows.h>
#include <uxtheme.h>

#include "tovrel/foundation/colour_scheme.h"
#include "tovrel/foundation/system_libraries.h"

namespace tovrel {

UxThemeFunctions UxThemeApi;
int ThemesActive = 0;
HTHEME ThemeHandles[THEME_CLASS_COUNT] = {};
uint32_t ThemeBaseColour = 0;

namespace {

const wchar_t* const kThemeClassNames[THEME_CLASS_COUNT] = {L"scrollbar", L"explorerbar", L"rebar", L"tab",
                                                            L"toolbar",   L"menu",        L"button"};

void FindFunctions(HMODULE library, UxThemeFunctions& api) {
  api.library = library;
  FindToolkitFunction(library, "OpenThemeData", api.openThemeData);
  FindToolkitFunction(library, "IsThemeBackgroundPartiallyTransparent", api.isThemeBackgroundPartiallyTransparent);
  FindToolkitFunction(library, "DrawThemeBackground", api.drawThemeBackground);
  FindToolkitFunction(library, "DrawThemeBackgroundEx", api.drawThemeBackgroundEx);
  FindToolkitFunction(library, "DrawThemeParentBackground", api.drawThemeParentBackground);
  FindToolkitFunction(library, "DrawThemeParentBackgroundEx", api.drawThemeParentBackgroundEx);
  FindToolkitFunction(library, "DrawThemeEdge", api.drawThemeEdge);
  FindToolkitFunction(library, "CloseThemeData", api.closeThemeData);
  FindToolkitFunction(library, "GetThemeSysColorBrush", api.getThemeSysColorBrush);
  FindToolkitFunction(library, "GetThemeSysColor", api.getThemeSysColor);
  FindToolkitFunction(library, "GetThemeColor", api.getThemeColor);
  FindToolkitFunction(library, "GetThemeRect", api.getThemeRect);
  FindToolkitFunction(library, "GetThemeFont", api.getThemeFont);
  FindToolkitFunction(library, "SetWindowTheme", api.setWindowTheme);
}

// A style is active when the library names a theme file; blanks alone name none.
bool StyleActive(HMODULE library) {
  decltype(&::GetCurrentThemeName) currentThemeName = nullptr;
  FindToolkitFunction(library, "GetCurrentThemeName", currentThemeName);
  if (!currentThemeName) return false;
  wchar_t name[MAX_PATH] = {};
  if (FAILED(currentThemeName(name, MAX_PATH, nullptr, 0, nullptr, 0))) return false;
  name[MAX_PATH - 1] = 0;
  for (const wchar_t* c = name; *c; ++c)
    if (*c != L' ') return true;
  return false;
}

}  // namespace

HWND ThemeDataWindow(HWND foreground, DWORD foregroundProcess, DWORD ourProcess) {
  return foreground && foregroundProcess == ourProcess ? foreground : nullptr;
}

HMODULE LoadUxTheme() {
  if (UxThemeApi.library) return UxThemeApi.library;
  HMODULE library = OpenToolkitLibrary("UxTheme.dll");
  if (!library) return nullptr;
  FindFunctions(library, UxThemeApi);
  ThemesActive = StyleActive(library) ? 1 : 0;

  // Opened whether or not a style is active: the library answers 0 itself when there is
  // none, and a class the style lacks answers 0 while the others open.
  HWND foreground = GetForegroundWindow();
  DWORD foregroundProcess = 0;
  if (foreground) GetWindowThreadProcessId(foreground, &foregroundProcess);
  HWND window = ThemeDataWindow(foreground, foregroundProcess, GetCurrentProcessId());
  for (int i = 0; i < THEME_CLASS_COUNT; ++i)
    ThemeHandles[i] = UxThemeApi.openThemeData ? UxThemeApi.openThemeData(window, kThemeClassNames[i]) : nullptr;

  if (ThemeHandles[THEME_SCROLLBAR] && UxThemeApi.getThemeSysColor) {
    ThemeBaseColour = UxThemeApi.getThemeSysColor(ThemeHandles[THEME_SCROLLBAR], COLOR_ACTIVECAPTION);
    SetColourSchemeFromColour(ThemeBaseColour);
  }
  return library;
}

void FreeUxTheme() {
  if (!UxThemeApi.library) return;
  for (HTHEME& theme : ThemeHandles) {
    if (theme && UxThemeApi.closeThemeData) UxThemeApi.closeThemeData(theme);
    theme = nullptr;
  }
  CloseToolkitLibrary(UxThemeApi.library);
  UxThemeApi = UxThemeFunctions{};
  ThemesActive = 0;
  ThemeBaseColour = 0;
}

}  // namespace tovrel
