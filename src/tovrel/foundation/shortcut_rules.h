// What a shortcut text means and what a key message does, decided without windows or
// hooks: the item text's "$" marker, the shortcut grammar, the binding list updates, the
// modifier state and the lookup of a key press.
#ifndef ZK_TOVREL_FOUNDATION_SHORTCUT_RULES_H
#define ZK_TOVREL_FOUNDATION_SHORTCUT_RULES_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/maps.h"

namespace tovrel {

// A parsed shortcut: the key and the accelerator flags (FVIRTKEY, FSHIFT, FCONTROL, FALT).
struct ShortcutKey {
  int32_t keyCode;
  int32_t flags;
};

// The shortcut written after the first "$" of a menu item text that is not doubled ("$$"
// is an escaped dollar) and not the text's last character. False when there is none.
bool FindItemShortcut(const std::string& itemText, std::string* shortcut);

// Reads "ctrl+shift+f10" and its spellings; false for a part that is no modifier, no key
// name and longer than one character. A one-character part binds that character
// (upper-cased) rather than a virtual key; a text of modifiers only gets key code 0.
bool ParseShortcut(const std::string& text, ShortcutKey* key);

// Binds `key` to `commandId` in `list`: an equal key and flags gets the new command, or
// goes for -1; a new one is appended. Answers whether the list changed.
bool UpdateBindings(ToolkitList<ShortcutBinding>& list, const ShortcutKey& key, int16_t commandId);

// The modifier keys as the key messages report them, in accelerator flag values.
struct ShortcutModifierState {
  int32_t ctrl;   // 0 or FCONTROL
  int32_t shift;  // 0 or FSHIFT
  int32_t alt;    // 0 or FALT
};

// A key press that may fire a shortcut: the virtual key and the modifiers held with it.
struct ShortcutPress {
  bool fires;
  int32_t virtualKey;
  int32_t modifiers;
};

// Follows one key message (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP; others do
// nothing) in `state` and says whether it is a press to look up.
ShortcutPress ReadKeyMessage(ShortcutModifierState& state, UINT message, WPARAM virtualKey, LPARAM lParam);

// The command of the first binding that `press` matches; `character` is the press's key
// as a character (MapVirtualKey's MAPVK_VK_TO_CHAR), which character bindings compare.
bool FindShortcutCommand(const ToolkitList<ShortcutBinding>& list, const ShortcutPress& press, int32_t character,
                         int16_t* commandId);

}  // namespace tovrel

#endif
