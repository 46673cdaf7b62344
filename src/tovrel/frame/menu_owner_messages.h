// What the parent window procedure does for the menus of the window it serves: activation
// changes the titles' colour and ends pressed-title shadows, a new system menu font
// refits every title, and a new visual style voids the menus' background caches.
#ifndef ZK_TOVREL_FRAME_MENU_OWNER_MESSAGES_H
#define ZK_TOVREL_FRAME_MENU_OWNER_MESSAGES_H

#include <windows.h>

namespace tovrel {

void OnMenuOwnerActivate(HWND window, WPARAM wParam);
void OnMenuFontSettingChanged();  // WM_SETTINGCHANGE with SPI_SETNONCLIENTMETRICS
void InvalidateMenuCaches();      // takes MenuMutex

}  // namespace tovrel

#endif
