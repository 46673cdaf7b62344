// The keyboard hook of the thread that hosts menu bars and tool bars: Alt and F10 put the
// menu bar of the focused window into keyboard mode and take it out again, Esc leaves it,
// Down and Enter open the hot title, and letters choose items of a scrolling copy.
#ifndef ZK_TOVREL_FRAME_MENU_KEYBOARD_HOOK_H
#define ZK_TOVREL_FRAME_MENU_KEYBOARD_HOOK_H

#include <windows.h>

namespace tovrel {

LRESULT CALLBACK MenuKeyboardHook(int code, WPARAM wParam, LPARAM lParam);

// Installs MenuKeyboardHook for the window's thread unless it is installed already.
void InstallMenuKeyboardHook(HWND window);

}  // namespace tovrel

#endif
