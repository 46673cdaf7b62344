// The keyboard hook of the thread that hosts menu bars and tool bars. It will drive the
// menu bar from the keyboard; until menus track keys it passes every key on.
#ifndef ZK_TOVREL_FRAME_MENU_KEYBOARD_HOOK_H
#define ZK_TOVREL_FRAME_MENU_KEYBOARD_HOOK_H

#include <windows.h>

namespace tovrel {

LRESULT CALLBACK MenuKeyboardHook(int code, WPARAM wParam, LPARAM lParam);

// Installs MenuKeyboardHook for the window's thread unless it is installed already.
void InstallMenuKeyboardHook(HWND window);

}  // namespace tovrel

#endif
