// The theme library the task pane's start-up opens. The pane draws with fixed colours and
// calls none of these entry points; a system without the library changes nothing.
#ifndef ZK_APP_EXBAR_THEME_H
#define ZK_APP_EXBAR_THEME_H

#include <windows.h>

struct ThemeLibrary {
  HMODULE module;         // null while the library is not open
  FARPROC openThemeData;  // each null when the library lacks it
  FARPROC drawThemeBackground;
  FARPROC getCurrentThemeName;
  FARPROC closeThemeData;
};

// Opens "uxtheme.dll" and looks up its four entry points. 1 when the library is open.
int LoadThemeLibrary();
// Closes the library when it is open and forgets the entry points.
void FreeThemeLibrary();
const ThemeLibrary& CurrentThemeLibrary();

#endif
