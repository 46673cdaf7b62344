// Keyboard shortcuts of menu items: "Save$ctrl+s" binds Ctrl+S to the item's command in
// its top-level window. A message hook of the GUI thread sends the command when the key
// is pressed, and the focused control never sees that key.
#ifndef ZK_TOVREL_FOUNDATION_SHORTCUTS_H
#define ZK_TOVREL_FOUNDATION_SHORTCUTS_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "tovrel/foundation/shortcut_rules.h"

namespace tovrel {

// While non-zero, item texts register nothing (the menu code sets it).
extern int ItemShortcutsDisabled;

// The modifier keys as ShortcutHook last saw them; the keyboard itself is never asked.
extern ShortcutModifierState ShortcutModifiers;

// Registers the shortcut after the item text's "$" marker for `window`; -1 removes it.
// 0 without registering when item shortcuts are disabled or the text has no marker.
int RegisterItemShortcut(HWND window, int commandId, const std::string& itemText);

// Binds `shortcut` to `commandId` (-1: removes the binding) in the root window of
// `window`, or for whichever top-level window is active when `window` is 0; an empty
// shortcut removes every binding of the window. 1 when stored, updated or removed; 0 when
// the shortcut names an unknown key or `window` is neither 0 nor a window. The first
// successful call installs ShortcutHook on the calling thread.
int RegisterShortcut(HWND window, int commandId, const std::string& shortcut);

// WH_GETMESSAGE hook procedure. Only messages taken off the queue count: a message that is
// only peeked at comes back later to be removed, and would otherwise fire twice.
LRESULT CALLBACK ShortcutHook(int code, WPARAM wParam, LPARAM lParam);

// What the window tracking reports of tracked top-level windows: the application lost
// the keyboard (no modifier key is held any more), and a window is going (its bindings
// go, so that a later window given the same handle does not inherit them).
void ResetShortcutModifiers();
void ForgetWindowShortcuts(HWND window);

}  // namespace tovrel

#endif
