// The visual-style library the toolkit draws themed parts with, opened by name, and the
// theme state read when it opens. Every address may be 0 (library or function missing);
// callers test it before calling.
#ifndef ZK_TOVREL_FOUNDATION_UXTHEME_API_H
#define ZK_TOVREL_FOUNDATION_UXTHEME_API_H

#include <windows.h>
#include <uxtheme.h>

#include <stdint.h>

namespace tovrel {

struct UxThemeFunctions {
  HMODULE library = nullptr;
  decltype(&::OpenThemeData) openThemeData = nullptr;
  decltype(&::IsThemeBackgroundPartiallyTransparent) isThemeBackgroundPartiallyTransparent = nullptr;
  decltype(&::DrawThemeBackground) drawThemeBackground = nullptr;
  decltype(&::DrawThemeBackgroundEx) drawThemeBackgroundEx = nullptr;
  decltype(&::DrawThemeParentBackground) drawThemeParentBackground = nullptr;
  decltype(&::DrawThemeParentBackgroundEx) drawThemeParentBackgroundEx = nullptr;
  decltype(&::DrawThemeEdge) drawThemeEdge = nullptr;
  decltype(&::CloseThemeData) closeThemeData = nullptr;
  decltype(&::GetThemeSysColorBrush) getThemeSysColorBrush = nullptr;
  decltype(&::GetThemeSysColor) getThemeSysColor = nullptr;
  decltype(&::GetThemeColor) getThemeColor = nullptr;
  decltype(&::GetThemeRect) getThemeRect = nullptr;
  decltype(&::GetThemeFont) getThemeFont = nullptr;
  decltype(&::SetWindowTheme) setWindowTheme = nullptr;
};

// The theme classes whose data is opened at start, in the order of ThemeHandles.
enum ThemeClass {
  THEME_SCROLLBAR,
  THEME_EXPLORERBAR,
  THEME_REBAR,
  THEME_TAB,
  THEME_TOOLBAR,
  THEME_MENU,
  THEME_BUTTON,
  THEME_CLASS_COUNT
};

extern UxThemeFunctions UxThemeApi;
// 1 when a visual style is active, else 0.
extern int ThemesActive;
// 0 where the style lacks the class or no style is active. Each handle stands for its own
// class only: a style may have one class and not another.
extern HTHEME ThemeHandles[THEME_CLASS_COUNT];
// The style's active-caption colour as its scroll-bar part reports it (a GDI colour); 0
// without a scroll-bar theme. It decides the colour column of the UI colour tables.
extern uint32_t ThemeBaseColour;

// Opens the library once and reads the theme state; a second call returns the open
// library without reading again. nullptr when the library cannot be opened.
HMODULE LoadUxTheme();

// Closes every theme handle that is open and the library, and forgets them all, so that
// nothing calls into the closed library.
void FreeUxTheme();

// The window theme data is opened for: opening stores the theme on that window, so only
// one of ours may receive it; any other foreground window means none.
HWND ThemeDataWindow(HWND foreground, DWORD foregroundProcess, DWORD ourProcess);

}  // namespace tovrel

#endif
