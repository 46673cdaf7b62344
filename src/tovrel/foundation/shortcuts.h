// Keyboard shortcuts of menu items: "Save$ctrl+s" binds Ctrl+S to the item's command in
// its top-level window.
#ifndef ZK_TOVREL_FOUNDATION_SHORTCUTS_H
#define ZK_TOVREL_FOUNDATION_SHORTCUTS_H

#include <windows.h>

namespace tovrel {

// What the window tracking reports of tracked top-level windows: the application lost
// the keyboard (no modifier key is held any more), and a window is going (its bindings go).
void ResetShortcutModifiers();
void ForgetWindowShortcuts(HWND window);

}  // namespace tovrel

#endif
